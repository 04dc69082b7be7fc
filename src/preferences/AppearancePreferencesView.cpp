#include "preferences/AppearancePreferencesView.h"

#include "core/PetType.h"
#include "pet/DoNotDisturbManager.h"
#include "pet/MultiPetManager.h"
#include "pet/OpacityManager.h"
#include "pet/PetAppearanceManager.h"
#include "platform/InkWideLabel.h"
#include "preferences/FormParts.h"
#include "widgets/EmojiLabel.h"
#include "widgets/PlainLabel.h"
#include "widgets/SegmentedPicker.h"
#include "widgets/Spacing.h"
#include "widgets/Symbols.h"
#include "widgets/TextStyle.h"

#include <QHBoxLayout>
#include <QSignalBlocker>
#include <QSlider>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

using namespace Qt::StringLiterals;

namespace {

/// The whole part of a figure. A hair is added first so that a value like 0.57 × 100,
/// which the machine holds as 56.999999999999993, still reads 57.
QString wholePart(double value)
{
    if (!std::isfinite(value))
        return u"0"_s;
    const double whole = std::trunc(value + (value < 0 ? -1e-9 : 1e-9));
    return QString::number(std::clamp(whole, -1e15, 1e15), 'f', 0);
}

/// Puts a slider on a value without announcing it, unless the user is dragging it. A
/// value outside the slider's range shows at the nearer end.
void placeSlider(QSlider* slider, double steps)
{
    if (slider->isSliderDown() || !std::isfinite(steps))
        return;
    const double bounded = std::clamp(steps, 1.0 * slider->minimum(), 1.0 * slider->maximum());
    const QSignalBlocker blocker(slider);
    slider->setValue(static_cast<int>(std::lround(bounded)));
}

QHBoxLayout* sliderRow(const QString& title, QSlider* slider, PlainLabel* value)
{
    auto* row = new QHBoxLayout;
    row->addWidget(new PlainLabel(title));
    row->addWidget(slider, 1);
    row->addWidget(value);
    return row;
}

} // namespace

AppearancePreferencesView::AppearancePreferencesView(OpacityManager& opacityManager, MultiPetManager& multiPetManager,
    DoNotDisturbManager& doNotDisturbManager, PetAppearanceManager& petAppearanceManager, QWidget* parent)
    : QWidget(parent)
    , m_opacityManager(opacityManager)
    , m_multiPetManager(multiPetManager)
    , m_doNotDisturbManager(doNotDisturbManager)
    , m_petAppearanceManager(petAppearanceManager)
{
    auto* page = new QVBoxLayout(this);
    page->setContentsMargins(
        Spacing::standardPadding, Spacing::standardPadding, Spacing::standardPadding, Spacing::standardPadding);
    buildPetTypeSection(page);

    m_opacitySlider = FormParts::slider(3, 10, this);
    m_opacitySlider->setObjectName(u"opacitySlider"_s);
    m_opacityValue = FormParts::valueLabel(45, { u"100%"_s }, this);
    m_opacityValue->setObjectName(u"opacityValue"_s);
    QVBoxLayout* opacitySection = FormParts::section(u"透明度设置"_s, page);
    opacitySection->addLayout(sliderRow(u"默认透明度："_s, m_opacitySlider, m_opacityValue));
    opacitySection->addWidget(FormParts::caption(u"鼠标移入宠物时会自动显示100%不透明"_s, this));

    m_cloneSlider = FormParts::slider(1, 10, this);
    m_cloneSlider->setObjectName(u"cloneSlider"_s);
    m_cloneValue = FormParts::valueLabel(45, { u"10秒"_s }, this);
    m_cloneValue->setObjectName(u"cloneValue"_s);
    QVBoxLayout* cloneSection = FormParts::section(u"撒豆成兵设置"_s, page);
    cloneSection->addLayout(sliderRow(u"消失时间："_s, m_cloneSlider, m_cloneValue));
    cloneSection->addWidget(FormParts::caption(u"设置撒豆成兵克隆宠物的消失时间"_s, this));

    m_offsetSlider = FormParts::slider(-60, 50, this);
    m_offsetSlider->setObjectName(u"bottomOffsetSlider"_s);
    m_offsetValue = FormParts::valueLabel(50, { u"-60px"_s }, this);
    m_offsetValue->setObjectName(u"bottomOffsetValue"_s);
    QVBoxLayout* offsetSection = FormParts::section(u"勿扰模式设置"_s, page);
    offsetSection->addLayout(sliderRow(u"底部距离："_s, m_offsetSlider, m_offsetValue));
    offsetSection->addWidget(FormParts::caption(u"勿扰模式下宠物距离屏幕底部的距离（负值可进入任务栏区域）"_s, this));
    page->addStretch();

    // Every step of a drag goes to the manager at once, so the pet shows the effect while
    // the user drags; the defaults store gathers the writes into one.
    connect(m_opacitySlider, &QSlider::valueChanged, this,
        [this](int tenths) { m_opacityManager.setDefaultOpacity(static_cast<double>(tenths) / 10.0); });
    connect(m_cloneSlider, &QSlider::valueChanged, this,
        [this](int seconds) { m_multiPetManager.setCloneDismissTime(static_cast<double>(seconds)); });
    connect(m_offsetSlider, &QSlider::valueChanged, this,
        [this](int offset) { m_doNotDisturbManager.setBottomOffset(static_cast<double>(offset)); });

    connect(&m_opacityManager, &OpacityManager::defaultOpacityChanged, this, &AppearancePreferencesView::showValues);
    connect(
        &m_multiPetManager, &MultiPetManager::cloneDismissTimeChanged, this, &AppearancePreferencesView::showValues);
    connect(&m_doNotDisturbManager, &DoNotDisturbManager::bottomOffsetChanged, this,
        &AppearancePreferencesView::showValues);
    connect(&m_petAppearanceManager, &PetAppearanceManager::currentPetTypeChanged, this,
        &AppearancePreferencesView::showPetType);
    showValues();
    showPetType();
}

void AppearancePreferencesView::buildPetTypeSection(QVBoxLayout* page)
{
    QVBoxLayout* section = FormParts::section(u"宠物类型"_s, page);
    m_petTypes = new SegmentedPicker(u"选择宠物："_s, this);
    m_petTypes->setObjectName(u"petTypePicker"_s);
    const QList<PetType> types = m_petAppearanceManager.availablePetTypes();
    for (qsizetype i = 0; i < types.size(); ++i)
        m_petTypes->addSegment(displayName(types[i]), static_cast<int>(i))
            ->setObjectName(u"petType_"_s + rawValue(types[i]));
    section->addWidget(m_petTypes);
    // Choosing the type already chosen changes nothing; another one becomes the pet.
    connect(m_petTypes, &SegmentedPicker::segmentClicked, this, [this](int id) {
        const QList<PetType> available = m_petAppearanceManager.availablePetTypes();
        if (id < 0 || id >= available.size() || available[id] == m_petAppearanceManager.currentPetType())
            return;
        m_petAppearanceManager.changePetType(available[id]);
    });

    if (types.size() == 1) {
        auto* infoRow = new QHBoxLayout;
        auto* info = new SymbolView(Symbols::Symbol::infoCircle,
            qRound(TextStyle::pixelSizeOf(TextStyle::font(TextStyle::Style::body))), Symbols::Tint::blue, this);
        info->setObjectName(u"infoSymbol"_s);
        infoRow->addWidget(info);
        infoRow->addWidget(FormParts::caption(u"当前只有小猫实现了完整动画，更多宠物开发中..."_s, this), 1);
        section->addLayout(infoRow);
    }
    // The emoji is as wide as its glyph: the colour font leaves room on either side of it,
    // and the one blank before the name would show as three.
    const QFont bold = TextStyle::font(TextStyle::Style::subheadline, QFont::Bold);
    m_currentPet = new QWidget(this);
    m_currentPet->setObjectName(u"currentPet"_s);
    auto* currentRow = new QHBoxLayout(m_currentPet);
    currentRow->setContentsMargins(0, 0, 0, 0);
    currentRow->setSpacing(0);
    auto* prefix = new PlainLabel(u"当前宠物："_s, m_currentPet);
    prefix->setObjectName(u"currentPetPrefix"_s);
    prefix->setFont(bold);
    m_currentPetEmoji = new InkWideLabel({}, EmojiLabel::emojiFont(bold), m_currentPet);
    m_currentPetEmoji->setObjectName(u"currentPetEmoji"_s);
    m_currentPetName = new PlainLabel({}, m_currentPet);
    m_currentPetName->setObjectName(u"currentPetName"_s);
    m_currentPetName->setFont(bold);
    currentRow->addWidget(prefix);
    currentRow->addWidget(m_currentPetEmoji);
    currentRow->addWidget(m_currentPetName);
    currentRow->addStretch();
    section->addWidget(m_currentPet);
}

QString AppearancePreferencesView::opacityText(double opacity)
{
    return wholePart(opacity * 100.0) + u"%"_s;
}

QString AppearancePreferencesView::cloneTimeText(double seconds)
{
    return wholePart(seconds) + u"秒"_s;
}

QString AppearancePreferencesView::bottomOffsetText(double offset)
{
    return wholePart(offset) + u"px"_s;
}

void AppearancePreferencesView::showValues()
{
    m_opacityValue->setText(opacityText(m_opacityManager.defaultOpacity()));
    placeSlider(m_opacitySlider, m_opacityManager.defaultOpacity() * 10.0);
    m_cloneValue->setText(cloneTimeText(m_multiPetManager.cloneDismissTime()));
    placeSlider(m_cloneSlider, m_multiPetManager.cloneDismissTime());
    m_offsetValue->setText(bottomOffsetText(m_doNotDisturbManager.bottomOffset()));
    placeSlider(m_offsetSlider, m_doNotDisturbManager.bottomOffset());
}

void AppearancePreferencesView::showPetType()
{
    const PetType current = m_petAppearanceManager.currentPetType();
    m_currentPetEmoji->setEmoji(emoji(current));
    m_currentPetName->setText(u" "_s + displayName(current));
    // Read as one line, as it is seen.
    m_currentPet->setAccessibleName(u"当前宠物："_s + emoji(current) + u" "_s + displayName(current));
    const QList<PetType> types = m_petAppearanceManager.availablePetTypes();
    m_petTypes->setCurrentId(static_cast<int>(types.indexOf(current)));
}
