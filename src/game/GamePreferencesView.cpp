#include "game/GamePreferencesView.h"

#include "game/WhackAMoleGameManager.h"
#include "platform/NumberFormat.h"
#include "widgets/SecondaryText.h"
#include "widgets/SegmentedPicker.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QSlider>
#include <QVBoxLayout>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {
enum class Look { plain, note, caption, bold };

QLabel* label(const QString& text, Look look, QWidget* parent)
{
    auto* result = new QLabel(text, parent);
    result->setTextFormat(Qt::PlainText);
    QFont font = result->font();
    if (look == Look::caption || look == Look::note)
        font.setPointSizeF(font.pointSizeF() * (look == Look::caption ? 0.85 : 0.95));
    if (look == Look::bold)
        font.setBold(true);
    result->setFont(font);
    if (look == Look::caption || look == Look::note)
        SecondaryText::apply(result);
    return result;
}

} // namespace

GamePreferencesView::GamePreferencesView(WhackAMoleGameManager& game, QWidget* parent)
    : QWidget(parent)
    , m_game(game)
{
    auto* outer = new QVBoxLayout(this);
    // One section: a headline over a framed panel, as the other preference pages look.
    auto* headline = label(u"打猫猫游戏"_s, Look::bold, this);
    QFont headlineFont = headline->font();
    headlineFont.setPointSizeF(headlineFont.pointSizeF() * 1.1);
    headline->setFont(headlineFont);
    outer->addWidget(headline);
    auto* body = new QFrame(this);
    body->setFrameShape(QFrame::StyledPanel);
    outer->addWidget(body);
    outer->addStretch(1);
    auto* column = new QVBoxLayout(body);
    column->setSpacing(12);

    column->addWidget(label(u"在桌面上随机出现多只猫猫，快速点击它们得分！"_s, Look::note, body));

    // Difficulty: a segmented picker and what the chosen level means.
    column->addWidget(label(u"游戏难度："_s, Look::plain, body));
    m_difficulties = new SegmentedPicker(u"难度"_s, body);
    m_difficulties->setObjectName(u"difficultyPicker"_s);
    for (const GameDifficulty difficulty : allGameDifficulties)
        m_difficulties->addSegment(rawValue(difficulty), static_cast<int>(difficulty));
    column->addWidget(m_difficulties);
    connect(m_difficulties, &SegmentedPicker::segmentClicked, this,
        [this](int id) { m_game.setDifficulty(static_cast<GameDifficulty>(id)); });

    auto* facts = new QHBoxLayout;
    facts->setSpacing(20);
    facts->addWidget(label(u"猫猫数量："_s, Look::caption, body));
    m_catCount = label({}, Look::bold, body);
    m_catCount->setObjectName(u"catCount"_s);
    facts->addWidget(m_catCount);
    facts->addWidget(label(u"出现时长："_s, Look::caption, body));
    m_visibleDuration = label({}, Look::bold, body);
    m_visibleDuration->setObjectName(u"visibleDuration"_s);
    facts->addWidget(m_visibleDuration);
    facts->addStretch(1);
    column->addLayout(facts);

    // Length: whole tens of seconds from 10 to 60; the slider counts in tens.
    column->addWidget(label(u"游戏时长："_s, Look::plain, body));
    auto* lengthRow = new QHBoxLayout;
    m_slider = new QSlider(Qt::Horizontal, body);
    m_slider->setObjectName(u"durationSlider"_s);
    m_slider->setRange(minimumDuration / sliderStep, maximumDuration / sliderStep);
    m_slider->setSingleStep(1);
    m_slider->setPageStep(1);
    m_slider->setTickPosition(QSlider::TicksBelow);
    m_slider->setTickInterval(1);
    lengthRow->addWidget(m_slider, 1);
    m_duration = label({}, Look::bold, body);
    m_duration->setObjectName(u"durationLabel"_s);
    m_duration->setFixedWidth(60);
    lengthRow->addWidget(m_duration);
    column->addLayout(lengthRow);
    column->addWidget(label(u"设置游戏持续时间（10-60秒）"_s, Look::caption, body));
    connect(m_slider, &QSlider::valueChanged, this, [this](int tens) { m_game.setGameDuration(tens * sliderStep); });

    column->addWidget(label(u"游戏规则："_s, Look::plain, body));
    const std::pair<const char16_t*, const char16_t*> rules[] = {
        { u"⏱️", u"时间到后自动结束" },
        { u"🎯", u"点击出现的猫猫得 1 分" },
        { u"🐱", u"猫猫会在不同位置随机出现和消失" },
        { u"🔨", u"鼠标会变成小锤子，瞄准猫猫点击吧！" },
    };
    for (const auto& [emoji, text] : rules) {
        auto* row = new QHBoxLayout;
        row->addWidget(label(QString::fromUtf16(emoji), Look::plain, body), 0, Qt::AlignTop);
        QLabel* ruleText = label(QString::fromUtf16(text), Look::caption, body);
        ruleText->setWordWrap(true);
        row->addWidget(ruleText, 1, Qt::AlignTop);
        column->addLayout(row);
    }

    showDifficulty();
    showDuration();
    connect(&m_game, &WhackAMoleGameManager::difficultyChanged, this, &GamePreferencesView::showDifficulty);
    connect(&m_game, &WhackAMoleGameManager::gameDurationChanged, this, &GamePreferencesView::showDuration);
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
    const GameDifficulty difficulty = m_game.difficulty();
    m_difficulties->setCurrentId(static_cast<int>(difficulty));
    m_catCount->setText(QString::number(catCount(difficulty)) + u" 只"_s);
    m_visibleDuration->setText(NumberFormat::fixed(visibleDuration(difficulty), 1) + u" 秒"_s);
}

void GamePreferencesView::showDuration()
{
    const int seconds = m_game.gameDuration();
    m_duration->setText(QString::number(seconds) + u" 秒"_s);
    // Showing a stored length must not write one: a length outside the slider's range
    // stays as it is until the user moves the slider.
    const QSignalBlocker blocker(m_slider);
    m_slider->setValue(std::clamp(seconds / sliderStep, m_slider->minimum(), m_slider->maximum()));
}
