#include "preferences/SystemResourceView.h"

#include "platform/NumberFormat.h"
#include "platform/SystemColours.h"
#include "preferences/FormParts.h"
#include "widgets/Divider.h"
#include "widgets/PlainLabel.h"
#include "widgets/ReadableColour.h"
#include "widgets/SecondaryText.h"
#include "widgets/Symbols.h"
#include "widgets/TextStyle.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QPainter>
#include <QVBoxLayout>

#include <algorithm>

using namespace Qt::StringLiterals;

/// Five bars side by side; as many light up as the processor figure reaches.
class CpuIndicator final : public QWidget
{
public:
    static constexpr int barWidth = 8;
    static constexpr int barHeight = 16;
    static constexpr int gap = 2;

    explicit CpuIndicator(QWidget* parent)
        : QWidget(parent)
    {
        setObjectName(u"cpuIndicator"_s);
        setFixedSize(5 * barWidth + 4 * gap, barHeight);
    }

    void setPercent(double percent)
    {
        m_percent = percent;
        update();
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        const int lit = ResourceFigures::litBars(m_percent);
        // A lit bar tells the load, so it stands out from the page as a glyph does: the
        // band's hue, lighter or darker as the background needs, like the figure beside it.
        const QColor on = ReadableColour::on(SystemResourceView::bandColour(ResourceFigures::cpuBand(m_percent)),
            SecondaryText::backdrop(this), Symbols::minimumContrast);
        QColor off(Qt::gray);
        off.setAlphaF(0.3f);
        for (int i = 0; i < 5; ++i)
            painter.fillRect(i * (barWidth + gap), 0, barWidth, barHeight, i < lit ? on : off);
    }

private:
    double m_percent = 0.0;
};

namespace {

/// Gives `label` its band's colour, made readable on `background`.
void setColour(PlainLabel* label, const QColor& colour, const QColor& background)
{
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, ReadableColour::on(colour, background));
    label->setPalette(palette);
}

const QString cpuTitle = QStringLiteral("CPU 使用率：");
const QString memoryTitle = QStringLiteral("内存使用：");

QWidget* row(Symbols::Symbol symbol, Symbols::Tint tint, const QString& title, PlainLabel* value, QWidget* extra,
    QWidget* parent)
{
    auto* line = new QWidget(parent);
    auto* layout = new QHBoxLayout(line);
    layout->setContentsMargins(0, 0, 0, 0);
    // The symbol at the size of the text beside it, centred in a column 24 wide.
    auto* column = new QWidget(line);
    column->setObjectName(title == cpuTitle ? u"cpuSymbolColumn"_s : u"memorySymbolColumn"_s);
    column->setFixedWidth(24);
    auto* centred = new QHBoxLayout(column);
    centred->setContentsMargins(0, 0, 0, 0);
    auto* glyph
        = new SymbolView(symbol, qRound(TextStyle::pixelSizeOf(TextStyle::font(TextStyle::Style::body))), tint, column);
    glyph->setObjectName(title == cpuTitle ? u"cpuSymbol"_s : u"memorySymbol"_s);
    centred->addWidget(glyph, 0, Qt::AlignCenter);
    layout->addWidget(column);
    auto* label = new PlainLabel(title, line);
    // 100 wide, or as wide as the longer title needs at a larger font, so the values of
    // both rows still line up.
    const QFontMetrics metrics(label->font());
    label->setFixedWidth(
        std::max({ 100, metrics.horizontalAdvance(cpuTitle) + 2, metrics.horizontalAdvance(memoryTitle) + 2 }));
    layout->addWidget(label);
    layout->addWidget(value);
    layout->addStretch();
    if (extra)
        layout->addWidget(extra);
    return line;
}

} // namespace

SystemResourceView::SystemResourceView(SystemInfo& info, QWidget* parent)
    : QWidget(parent)
    , m_sampler(info)
    , m_cpuValue(FormParts::valueLabel(80))
    , m_memoryValue(FormParts::valueLabel(90))
    , m_cpuIndicator(new CpuIndicator(this))
{
    m_cpuValue->setObjectName(u"cpuValue"_s);
    m_memoryValue->setObjectName(u"memoryValue"_s);
    m_cpuValue->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_memoryValue->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    auto* page = new QVBoxLayout(this);
    page->setContentsMargins(0, 0, 0, 0);
    QVBoxLayout* content = FormParts::section(u"系统资源占用"_s, page);
    content->setContentsMargins(10, 4, 10, 4);
    content->addWidget(row(Symbols::Symbol::cpu, Symbols::Tint::blue, cpuTitle, m_cpuValue, m_cpuIndicator, this));
    content->addWidget(
        row(Symbols::Symbol::memoryChip, Symbols::Tint::green, memoryTitle, m_memoryValue, nullptr, this));
    content->addWidget(Divider::create(this));
    content->addWidget(FormParts::caption(u"提示：数值持续偏高可能影响系统性能"_s, this));

    m_timer.setTimerType(Qt::PreciseTimer);
    m_timer.setInterval(refreshIntervalMs);
    connect(&m_timer, &QTimer::timeout, this, &SystemResourceView::updateResourceUsage);
}

QColor SystemResourceView::bandColour(UsageBand band)
{
    // The desktop's named colours, as the symbols beside the figures and every other screen
    // draw them; each is made lighter or darker where it is drawn, its hue kept.
    switch (band) {
    case UsageBand::green:
        return SystemColours::green();
    case UsageBand::blue:
        return SystemColours::blue();
    case UsageBand::orange:
        return SystemColours::orange();
    case UsageBand::red:
        break;
    }
    return SystemColours::red();
}

void SystemResourceView::updateResourceUsage()
{
    const ResourceUsage usage = m_sampler.getAppResourceUsage();
    m_cpuUsage = usage.cpu;
    m_memoryUsage = usage.memory;
    m_memoryMB = usage.memoryMB;
    m_cpuValue->setText(NumberFormat::fixed(m_cpuUsage, 1) + u"%"_s);
    m_cpuIndicator->setPercent(m_cpuUsage);
    m_memoryValue->setText(NumberFormat::fixed(m_memoryMB, 1) + u" MB"_s);
    showColours();
}

void SystemResourceView::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    // The band colours are kept readable on the new background.
    if (event->type() == QEvent::PaletteChange)
        showColours();
}

void SystemResourceView::showColours()
{
    const QColor background = palette().color(QPalette::Window);
    setColour(m_cpuValue, bandColour(ResourceFigures::cpuBand(m_cpuUsage)), background);
    setColour(m_memoryValue, bandColour(ResourceFigures::memoryBand(m_memoryMB)), background);
}

void SystemResourceView::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (m_timer.isActive())
        return;
    // Each appearance starts afresh: the first figure is not a load measured across the
    // time the view was hidden.
    m_sampler.reset();
    updateResourceUsage();
    m_timer.start();
}

void SystemResourceView::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    m_timer.stop();
}
