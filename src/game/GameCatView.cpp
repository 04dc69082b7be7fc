#include "game/GameCatView.h"

#include "game/GameCatWindow.h"
#include "game/WhackAMoleGameManager.h"
#include "platform/LogManager.h"
#include "platform/LottiePlayer.h"

#include <QImage>
#include <QMouseEvent>
#include <QPixmap>

using namespace Qt::StringLiterals;

GameCatView::GameCatView(GameCatWindow* catWindow, const QString& animationPath, const QCursor& cursor)
    : QWidget(catWindow)
    , m_catWindow(catWindow)
{
    setAttribute(Qt::WA_TranslucentBackground);
    resize(viewSize, viewSize);
    setCursor(cursor);
    if (animationPath.isEmpty())
        return;
    auto* player = new LottiePlayer(this);
    player->setGeometry(rect());
    // The player must not take the clicks meant for the cat.
    player->setAttribute(Qt::WA_TransparentForMouseEvents);
    if (!player->setAnimation(animationPath)) {
        LogManager::log(u"❌ 游戏猫猫无法加载动画: "_s + animationPath, u"WhackAMole"_s);
        delete player;
        return;
    }
    player->setLoopMode(true);
    player->setSpeed(1.0);
    m_animationView = player;
}

LottiePlayer* GameCatView::player() const
{
    return m_animationView;
}

void GameCatView::setPlaying(bool playing)
{
    if (!m_animationView)
        return;
    if (playing)
        m_animationView->play();
    else
        m_animationView->pause();
}

void GameCatView::mousePressEvent(QMouseEvent* event)
{
    m_pressed = event->button() == Qt::LeftButton;
    event->accept();
}

void GameCatView::mouseReleaseEvent(QMouseEvent* event)
{
    const bool tapped = m_pressed && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    m_pressed = false;
    event->accept();
    if (tapped)
        tap();
}

void GameCatView::tap()
{
    WhackAMoleGameManager* game = m_catWindow ? m_catWindow->gameManager() : nullptr;
    if (!game)
        return;
    // Every tap sets off a firework, also one just after the game has ended; the game decides
    // whether it scores.
    game->showFireworkAt(m_catWindow->modelFrame().topLeft());
    game->catClicked(m_catWindow);
}

void GameCatView::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    if (m_animationView)
        m_animationView->setGeometry(rect());
}

QCursor loadHammerCursor(const QString& imagePath)
{
    const QImage image = imagePath.isEmpty() ? QImage() : QImage(imagePath);
    if (image.isNull())
        return QCursor(Qt::PointingHandCursor);
    const QPixmap pixmap = QPixmap::fromImage(image.scaled(32, 32, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    return QCursor(pixmap, 16, 28);
}
