#include "preferences/GeneralPreferencesView.h"

#include "pet/PetState.h"
#include "platform/NumberFormat.h"
#include "preferences/FormParts.h"
#include "preferences/SystemResourceView.h"
#include "widgets/PlainLabel.h"

#include <QHBoxLayout>
#include <QSignalBlocker>
#include <QSlider>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

using namespace Qt::StringLiterals;

GeneralPreferencesView::GeneralPreferencesView(PetState& petState, SystemInfo& systemInfo, QWidget* parent)
    : QWidget(parent)
    , m_petState(petState)
    , m_slider(FormParts::slider(minimumTenths, maximumTenths))
    , m_speedLabel(FormParts::valueLabel(60, { speedLabel(0.5), speedLabel(1.0), speedLabel(2.0) }))
{
    m_slider->setObjectName(u"speedSlider"_s);
    m_speedLabel->setObjectName(u"speedLabel"_s);

    auto* page = new QVBoxLayout(this);
    page->setContentsMargins(20, 20, 20, 20);
    QVBoxLayout* speed = FormParts::section(u"移动速度"_s, page);
    auto* row = new QHBoxLayout;
    row->addWidget(new PlainLabel(u"移动速度："_s, this));
    row->addWidget(m_slider, 1);
    row->addWidget(m_speedLabel);
    speed->addLayout(row);
    speed->addWidget(
        FormParts::caption(u"调整宠物在所有动作时的移动速度（0.5x = 慢速，1.0x = 中速，2.0x = 快速）"_s, this));

    page->addSpacing(8);
    auto* resources = new SystemResourceView(systemInfo, this);
    resources->setObjectName(u"systemResourceView"_s);
    page->addWidget(resources);
    page->addStretch();

    // Tenths give exact slider values (12 / 10.0 is the double 1.2), so the label's range
    // words never miss a value the slider can set.
    connect(m_slider, &QSlider::valueChanged, this,
        [this](int tenths) { m_petState.updateMoveSpeed(static_cast<double>(tenths) / 10.0); });
    connect(&m_petState, &PetState::dataChanged, this, &GeneralPreferencesView::showSpeed);
    showSpeed();
}

QString GeneralPreferencesView::speedLabel(double v)
{
    const QString number = NumberFormat::fixed(v, 1) + u"x"_s;
    if (v >= 0.5 && v <= 0.7)
        return u"慢速 "_s + number;
    if (v >= 0.8 && v <= 1.2)
        return u"中速 "_s + number;
    if (v >= 1.3 && v <= 2.0)
        return u"快速 "_s + number;
    return number;
}

void GeneralPreferencesView::showSpeed()
{
    const double speed = m_petState.data().moveSpeedMultiplier;
    m_speedLabel->setText(speedLabel(speed));
    // A value stored outside the range (edited by hand) shows at the nearer end of the
    // slider and stays stored as it is until the user moves the slider.
    if (m_slider->isSliderDown() || !std::isfinite(speed))
        return;
    const double bounded = std::clamp(speed * 10.0, 1.0 * minimumTenths, 1.0 * maximumTenths);
    const int tenths = static_cast<int>(std::lround(bounded));
    const QSignalBlocker blocker(m_slider);
    m_slider->setValue(tenths);
}
