#include "game/GameCatWindow.h"

#include "game/GameCatView.h"
#include "game/WhackAMoleGameManager.h"
#include "platform/RandomSource.h"
#include "platform/Screens.h"

#include <QPointer>
#include <QShowEvent>
#include <QTimer>
#include <QWindow>

using namespace Qt::StringLiterals;

GameCatWindow::GameCatWindow(QPointF position, QSizeF size, WhackAMoleGameManager* gameManager,
    const QString& animationPath, const QCursor& cursor, Screens& screens, RandomSource& random)
    : FloatingWindow(FloatingWindow::Focus::Refuse, screens)
    , m_gameManager(gameManager)
    , m_screens(screens)
    , m_random(random)
{
    setObjectName(u"gameCatWindow"_s);
    setAttribute(Qt::WA_DeleteOnClose);
    setModelFrame(QRectF(position, size));
    setFixedSize(size.toSize());
    m_view = new GameCatView(this, animationPath, cursor);
    m_view->setGeometry(rect());
    setWindowOpacity(0.0);
    setClickThrough(true);
}

WhackAMoleGameManager* GameCatWindow::gameManager() const
{
    return m_gameManager;
}

void GameCatWindow::showEvent(QShowEvent* event)
{
    FloatingWindow::showEvent(event);
    if (!event->spontaneous() && windowHandle())
        windowHandle()->installEventFilter(this);
}

bool GameCatWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == windowHandle() && event->type() == QEvent::Expose && windowHandle()->isExposed()) {
        windowHandle()->removeEventFilter(this);
        // A window manager gives the frame it puts around a window the input shape the window
        // takes on while managed, not the one it was mapped with: until the cat first shows,
        // its frame would take every click at its place. The shape is set again now.
        if (!m_isCatVisible && isClickThrough()) {
            setClickThrough(false);
            setClickThrough(true);
        }
    }
    return FloatingWindow::eventFilter(watched, event);
}

void GameCatWindow::showAtRandomPosition()
{
    const std::optional<QRectF> visible = m_screens.mainVisibleFrame();
    if (!visible)
        return;
    // A visible area smaller than the cat leaves no range: the cat takes its lower-left edge.
    const double x = m_random.uniformReal(visible->left(), visible->right() - width());
    const double y = m_random.uniformReal(visible->top(), visible->bottom() - height());
    setModelOrigin(QPointF(x, y));
    m_isCatVisible = true;
    setClickThrough(false);
    m_view->setPlaying(true);
    fadeTo(1.0, fadeMs);
}

void GameCatWindow::hideTemporarily(std::function<void()> completion)
{
    if (!m_isCatVisible) {
        if (completion)
            completion();
        return;
    }
    m_isCatVisible = false;
    const QPointer<GameCatWindow> self(this);
    fadeTo(0.0, fadeMs, [self, completion = std::move(completion)] {
        // A show that began during the fade has ended it early: then the cat stays live.
        if (self && !self->m_isCatVisible) {
            self->setClickThrough(true);
            self->m_view->setPlaying(false);
        }
        if (completion)
            completion();
    });
}

void GameCatWindow::closeCat()
{
    m_isCatVisible = false;
    const QPointer<GameCatWindow> self(this);
    fadeTo(
        0.0, closeFadeMs,
        [self] {
            if (!self)
                return;
            self->hide();
            QTimer::singleShot(closeDelayMs, Qt::PreciseTimer, self, [self] {
                if (self && !self->isVisible())
                    self->close();
            });
        },
        QEasingCurve::InQuad);
}
