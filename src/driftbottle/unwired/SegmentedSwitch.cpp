#include "driftbottle/unwired/SegmentedSwitch.h"

#include "widgets/SegmentedPicker.h"
#include "widgets/TextStyle.h"

#include <QAbstractButton>
#include <QEvent>
#include <QHBoxLayout>

using namespace Qt::StringLiterals;

SegmentedSwitch::SegmentedSwitch(const QList<Segment>& segments, QWidget* parent)
    : QWidget(parent)
    , m_segments(segments)
    , m_picker(new SegmentedPicker({}, this))
{
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_picker);
    for (qsizetype i = 0; i < segments.size(); ++i) {
        QAbstractButton* segment = m_picker->addSegment(segments[i].title, int(i));
        segment->setObjectName(u"segment%1"_s.arg(i));
    }
    if (!segments.isEmpty())
        m_picker->setCurrentId(0);
    paintSymbols();
    connect(m_picker, &SegmentedPicker::segmentClicked, this, [this](int id) {
        // A click on the segment already chosen changes nothing.
        if (id != m_lastIndex) {
            m_lastIndex = id;
            Q_EMIT currentIndexChanged(id);
        }
    });
}

int SegmentedSwitch::currentIndex() const
{
    return m_picker->currentId();
}

void SegmentedSwitch::setCurrentIndex(int index)
{
    if (!m_picker->segment(index))
        return;
    m_picker->setCurrentId(index);
    if (index != m_lastIndex) {
        m_lastIndex = index;
        Q_EMIT currentIndexChanged(index);
    }
}

int SegmentedSwitch::count() const
{
    return int(m_segments.size());
}

QString SegmentedSwitch::segmentText(int index) const
{
    const QAbstractButton* segment = m_picker->segment(index);
    return segment ? segment->text() : QString();
}

Symbols::Symbol SegmentedSwitch::segmentSymbol(int index) const
{
    return m_segments.at(index).symbol;
}

void SegmentedSwitch::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange || event->type() == QEvent::FontChange)
        paintSymbols();
}

void SegmentedSwitch::paintSymbols()
{
    // Each symbol in its title's colour: the button text, or the selection's text on the
    // chosen segment.
    const QColor off = palette().color(QPalette::ButtonText);
    const QColor on = palette().color(QPalette::HighlightedText);
    for (qsizetype i = 0; i < m_segments.size(); ++i) {
        QAbstractButton* segment = m_picker->segment(int(i));
        const int side = qRound(TextStyle::pixelSizeOf(segment->font()));
        const QSize size(side, side);
        QIcon icon;
        for (const auto& [state, colour] : { std::pair { QIcon::Off, off }, std::pair { QIcon::On, on } }) {
            const QIcon drawn = Symbols::icon(m_segments[i].symbol, side, colour);
            for (const qreal ratio : { 1.0, 2.0 })
                icon.addPixmap(drawn.pixmap(size, ratio), QIcon::Normal, state);
        }
        segment->setIconSize(size);
        segment->setIcon(icon);
    }
}
