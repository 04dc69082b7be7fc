#include "game/GameScoreBoardView.h"

#include "game/WhackAMoleGameManager.h"
#include "platform/SecondaryColour.h"
#include "widgets/ReadableColour.h"
#include "widgets/TextStyle.h"

#include <QEvent>
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

/// The board's red and blue, before they are made readable on it.
const QColor red(255, 59, 48);
const QColor blue(0, 122, 255);

QLabel* valueLabel(QWidget* parent)
{
    QLabel* label = plainLabel({}, parent);
    label->setFont(TextStyle::systemFont(16, QFont::Bold));
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

GameScoreBoardView::GameScoreBoardView(WhackAMoleGameManager& gameManager, QWidget* parent)
    : QWidget(parent)
    , m_gameManager(&gameManager)
{
    setAttribute(Qt::WA_TranslucentBackground);
    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(16, 16, 16, 16);
    layout->setVerticalSpacing(8);
    layout->addWidget(plainLabel(u"⏱️ 时间"_s, this), 0, 0);
    layout->addWidget(plainLabel(u"🎯 得分"_s, this), 1, 0);
    m_time = valueLabel(this);
    m_time->setObjectName(u"timeRemaining"_s);
    m_score = valueLabel(this);
    m_score->setObjectName(u"score"_s);
    layout->addWidget(m_time, 0, 1);
    layout->addWidget(m_score, 1, 1);
    layout->setColumnStretch(0, 1);

    showTime(gameManager.timeRemaining());
    showScore(gameManager.score());
    connect(&gameManager, &WhackAMoleGameManager::timeRemainingChanged, this, &GameScoreBoardView::showTime);
    connect(&gameManager, &WhackAMoleGameManager::scoreChanged, this, &GameScoreBoardView::showScore);
}

void GameScoreBoardView::showTime(int seconds)
{
    m_seconds = seconds;
    m_time->setText(QString::number(seconds) + u"秒"_s);
    showColours();
}

QColor GameScoreBoardView::boardColour() const
{
    QColor board = palette().color(QPalette::Window);
    board.setAlphaF(boardOpacity);
    return board;
}

QColor GameScoreBoardView::readableOnBoard(const QColor& wanted) const
{
    // The board lets a little of the desktop through: the colour must read on it over the
    // lightest desktop and over the darkest alike.
    const QColor board = boardColour();
    const QColor overWhite = SecondaryColour::opaqueOver(board, Qt::white);
    const QColor overBlack = SecondaryColour::opaqueOver(board, Qt::black);
    return ReadableColour::on(ReadableColour::on(wanted, overWhite), overBlack);
}

void GameScoreBoardView::showColours()
{
    setTextColor(m_time,
        m_seconds <= hurryThreshold ? readableOnBoard(red) : readableOnBoard(palette().color(QPalette::WindowText)));
    setTextColor(m_score, readableOnBoard(blue));
}

void GameScoreBoardView::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange)
        showColours();
}

void GameScoreBoardView::showScore(int score)
{
    m_score->setText(QString::number(score));
}

void GameScoreBoardView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath path;
    path.addRoundedRect(QRectF(rect()), 12.0, 12.0);
    painter.fillPath(path, boardColour());
}
