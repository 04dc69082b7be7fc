#include "game/GamePreferencesView.h"

#include "game/WhackAMoleGameManager.h"
#include "platform/NumberFormat.h"
#include "widgets/EmojiLabel.h"
#include "widgets/SecondaryText.h"
#include "widgets/SegmentedPicker.h"
#include "widgets/TextStyle.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QSlider>
#include <QVBoxLayout>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

using TextStyle::Style;

/// The platform's gap between a label and the value it names.
constexpr int factGap = 8;

/// A label in `style`, bold or in the secondary colour when asked.
enum class Ink { primary, bold, secondary };

QLabel* label(const QString& text, Style style, Ink ink, QWidget* parent)
{
    auto* result = new QLabel(text, parent);
    result->setTextFormat(Qt::PlainText);
    if (ink == Ink::bold)
        TextStyle::apply(result, style, QFont::Bold);
    else
        TextStyle::apply(result, style);
    if (ink == Ink::secondary)
        SecondaryText::apply(result);
    return result;
}

} // namespace

GamePreferencesView::GamePreferencesView(WhackAMoleGameManager& gameManager, QWidget* parent)
    : QWidget(parent)
    , m_gameManager(gameManager)
{
    auto* outer = new QVBoxLayout(this);
    // One section: a headline over a framed panel, as the other preference pages look.
    auto* headline = label(u"打猫猫游戏"_s, Style::headline, Ink::primary, this);
    headline->setObjectName(u"gameHeadline"_s);
    outer->addWidget(headline);
    auto* body = new QFrame(this);
    body->setFrameShape(QFrame::StyledPanel);
    outer->addWidget(body);
    outer->addStretch(1);
    auto* column = new QVBoxLayout(body);
    column->setSpacing(12);

    QLabel* note = label(u"在桌面上随机出现多只猫猫，快速点击它们得分！"_s, Style::subheadline, Ink::secondary, body);
    note->setObjectName(u"gameNote"_s);
    column->addWidget(note);

    // Difficulty: a segmented picker and what the chosen level means.
    QLabel* difficultyTitle = label(u"游戏难度："_s, Style::subheadline, Ink::primary, body);
    difficultyTitle->setObjectName(u"difficultyTitle"_s);
    column->addWidget(difficultyTitle);
    m_difficulties = new SegmentedPicker(u"难度"_s, body);
    m_difficulties->setObjectName(u"difficultyPicker"_s);
    for (const GameDifficulty difficulty : allGameDifficulties)
        m_difficulties->addSegment(rawValue(difficulty), static_cast<int>(difficulty));
    column->addWidget(m_difficulties);
    connect(m_difficulties, &SegmentedPicker::segmentClicked, this,
        [this](int id) { m_gameManager.setDifficulty(static_cast<GameDifficulty>(id)); });

    // Two facts 20 apart; each keeps its value close to its label, so that a value reads as
    // belonging to the label before it and not to the one after it.
    auto* facts = new QHBoxLayout;
    facts->setSpacing(20);
    const auto addFact = [&](const QString& title, QLabel* value) {
        auto* fact = new QHBoxLayout;
        fact->setSpacing(factGap);
        fact->addWidget(label(title, Style::caption, Ink::secondary, body));
        fact->addWidget(value);
        facts->addLayout(fact);
    };
    m_catCount = label({}, Style::body, Ink::bold, body);
    m_catCount->setObjectName(u"catCount"_s);
    addFact(u"猫猫数量："_s, m_catCount);
    m_visibleDuration = label({}, Style::body, Ink::bold, body);
    m_visibleDuration->setObjectName(u"visibleDuration"_s);
    addFact(u"出现时长："_s, m_visibleDuration);
    facts->addStretch(1);
    column->addLayout(facts);

    // Length: whole tens of seconds from 10 to 60; the slider counts in tens.
    QLabel* lengthTitle = label(u"游戏时长："_s, Style::subheadline, Ink::primary, body);
    lengthTitle->setObjectName(u"lengthTitle"_s);
    column->addWidget(lengthTitle);
    auto* lengthRow = new QHBoxLayout;
    m_slider = new QSlider(Qt::Horizontal, body);
    m_slider->setObjectName(u"durationSlider"_s);
    m_slider->setRange(minimumDuration / sliderStep, maximumDuration / sliderStep);
    m_slider->setSingleStep(1);
    m_slider->setPageStep(1);
    m_slider->setTickPosition(QSlider::TicksBelow);
    m_slider->setTickInterval(1);
    lengthRow->addWidget(m_slider, 1);
    m_duration = label({}, Style::body, Ink::bold, body);
    m_duration->setObjectName(u"durationLabel"_s);
    m_duration->setFixedWidth(60);
    lengthRow->addWidget(m_duration);
    column->addLayout(lengthRow);
    column->addWidget(label(u"设置游戏持续时间（10-60秒）"_s, Style::caption, Ink::secondary, body));
    connect(
        m_slider, &QSlider::valueChanged, this, [this](int tens) { m_gameManager.setGameDuration(tens * sliderStep); });

    QLabel* rulesTitle = label(u"游戏规则："_s, Style::subheadline, Ink::primary, body);
    rulesTitle->setObjectName(u"rulesTitle"_s);
    column->addWidget(rulesTitle);
    const std::pair<const char16_t*, const char16_t*> rules[] = {
        { u"⏱️", u"时间到后自动结束" },
        { u"🎯", u"点击出现的猫猫得 1 分" },
        { u"🐱", u"猫猫会在不同位置随机出现和消失" },
        { u"🔨", u"鼠标会变成小锤子，瞄准猫猫点击吧！" },
    };
    for (const auto& [emoji, text] : rules) {
        auto* row = new QHBoxLayout;
        row->addWidget(new EmojiLabel(QString::fromUtf16(emoji), body), 0, Qt::AlignTop);
        QLabel* ruleText = label(QString::fromUtf16(text), Style::caption, Ink::secondary, body);
        ruleText->setWordWrap(true);
        row->addWidget(ruleText, 1, Qt::AlignTop);
        column->addLayout(row);
    }

    showDifficulty();
    showDuration();
    connect(&m_gameManager, &WhackAMoleGameManager::difficultyChanged, this, &GamePreferencesView::showDifficulty);
    connect(&m_gameManager, &WhackAMoleGameManager::gameDurationChanged, this, &GamePreferencesView::showDuration);
}

QAbstractButton* GamePreferencesView::difficultyButton(const QString& title) const
{
    for (QAbstractButton* button : m_difficulties->segments()) {
        if (button->text() == title)
            return button;
    }
    return nullptr;
}

void GamePreferencesView::showDifficulty()
{
    const GameDifficulty difficulty = m_gameManager.difficulty();
    m_difficulties->setCurrentId(static_cast<int>(difficulty));
    m_catCount->setText(QString::number(catCount(difficulty)) + u" 只"_s);
    m_visibleDuration->setText(NumberFormat::fixed(visibleDuration(difficulty), 1) + u" 秒"_s);
}

void GamePreferencesView::showDuration()
{
    const int seconds = m_gameManager.gameDuration();
    m_duration->setText(QString::number(seconds) + u" 秒"_s);
    // Showing a stored length must not write one: a length outside the slider's range
    // stays as it is until the user moves the slider.
    const QSignalBlocker blocker(m_slider);
    m_slider->setValue(std::clamp(seconds / sliderStep, m_slider->minimum(), m_slider->maximum()));
}
