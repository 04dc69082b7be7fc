#include "game/GameScoreBoardView.h"

#include "game/WhackAMoleGameManager.h"

#include <QGridLayout>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>

using namespace Qt::StringLiterals;

namespace {
QLabel* plainLabel(const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setTextFormat(Qt::PlainText);
    return label;
}

QLabel* valueLabel(QWidget* parent)
{
    QLabel* label = plainLabel({}, parent);
    QFont font = label->font();
    font.setPixelSize(16);
    font.setBold(true);
    label->setFont(font);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return label;
}

void setTextColor(QLabel* label, const QColor& color)
{
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, color);
    label->setPalette(palette);
}
} // namespace

GameScoreBoardView::GameScoreBoardView(WhackAMoleGameManager& game, QWidget* parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_TranslucentBackground);
    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(16, 8, 16, 8);
    layout->setVerticalSpacing(8);
    layout->addWidget(plainLabel(u"⏱️ 时间"_s, this), 0, 0);
    layout->addWidget(plainLabel(u"🎯 得分"_s, this), 1, 0);
    m_time = valueLabel(this);
    m_time->setObjectName(u"timeRemaining"_s);
    m_score = valueLabel(this);
    m_score->setObjectName(u"score"_s);
    setTextColor(m_score, QColor(0, 122, 255));
    layout->addWidget(m_time, 0, 1);
    layout->addWidget(m_score, 1, 1);
    layout->setColumnStretch(0, 1);

    showTime(game.timeRemaining());
    showScore(game.score());
    connect(&game, &WhackAMoleGameManager::timeRemainingChanged, this, &GameScoreBoardView::showTime);
    connect(&game, &WhackAMoleGameManager::scoreChanged, this, &GameScoreBoardView::showScore);
}

void GameScoreBoardView::showTime(int seconds)
{
    m_time->setText(QString::number(seconds) + u"秒"_s);
    setTextColor(m_time, seconds <= hurryThreshold ? QColor(Qt::red) : palette().color(QPalette::WindowText));
}

void GameScoreBoardView::showScore(int score)
{
    m_score->setText(QString::number(score));
}

void GameScoreBoardView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QColor background = palette().color(QPalette::Window);
    background.setAlphaF(0.95F);
    QPainterPath path;
    path.addRoundedRect(QRectF(rect()), 12.0, 12.0);
    painter.fillPath(path, background);
}
