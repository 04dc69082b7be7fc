#include "pet/WindowManager.h"

#include "pet/AutoBehaviorManager.h"
#include "pet/DoNotDisturbManager.h"
#include "pet/LottiePetView.h"
#include "pet/OpacityTrackingView.h"
#include "pet/PetState.h"
#include "platform/FloatingWindow.h"
#include "platform/Screens.h"

#include <QCoreApplication>
#include <QEvent>

using namespace Qt::StringLiterals;

namespace {

/// Clears the manager's reference the moment its window closes, as the window goes away.
class CloseWatcher final : public QObject
{
public:
    CloseWatcher(QObject* parent, std::function<void()> onClose)
        : QObject(parent)
        , m_onClose(std::move(onClose))
    {
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Close && event->isAccepted())
            m_onClose();
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> m_onClose;
};

} // namespace

WindowManager::WindowManager(PetState& petState, Screens& screens, LottieAnimationManager& animations,
    InteractionHandler& interaction, QObject* parent)
    : WindowManager(petState, screens, interaction, parent)
{
    setAnimationManager(animations);
}

WindowManager::WindowManager(PetState& petState, Screens& screens, InteractionHandler& interaction, QObject* parent)
    : QObject(parent)
    , m_petState(petState)
    , m_screens(screens)
    , m_interaction(interaction)
{
}

void WindowManager::setAnimationManager(LottieAnimationManager& animations)
{
    m_animations = &animations;
}

void WindowManager::setPetViewObservedObjects(AutoBehaviorManager& autoBehaviorManager,
    DoNotDisturbManager& doNotDisturbManager, QObject& friendManager, QObject& userManager)
{
    m_autoBehaviorManager = &autoBehaviorManager;
    m_doNotDisturbManager = &doNotDisturbManager;
    m_friendManager = &friendManager;
    m_userManager = &userManager;
}

WindowManager::~WindowManager()
{
    delete m_petWindow.data();
}

void WindowManager::setPlacementRule(PlacementRule rule)
{
    m_placementRule = std::move(rule);
}

FloatingWindow* WindowManager::petWindow() const
{
    return m_petWindow;
}

LottiePetView* WindowManager::petView() const
{
    return m_petView;
}

void WindowManager::createPetWindow()
{
    if (!m_animations)
        qFatal("WindowManager::createPetWindow() before the animation manager was handed in");
    if (m_petWindow) {
        FloatingWindow* old = m_petWindow;
        m_petWindow = nullptr;
        m_petView = nullptr;
        old->close();
        old->deleteLater();
    }

    auto* window = new FloatingWindow(FloatingWindow::Focus::Refuse, m_screens);
    window->setObjectName(u"petWindow"_s);
    window->setAttribute(Qt::WA_DeleteOnClose);
    // The window system never moves the pet: dragging is the program's own.
    const QPointF origin = m_screens.petOriginFromStored(m_petState.data().position);
    window->setModelFrame(QRectF(origin, windowSize));
    window->setFixedSize(windowSize.toSize());

    // The view sits in a pane that tells when the pointer enters and leaves the pet.
    auto* tracking = new OpacityTrackingView(window);
    tracking->setGeometry(0, 0, int(windowSize.width()), int(windowSize.height()));
    auto* view = new LottiePetView(PetViewObjects { .lottieManager = *m_animations,
                                       .autoBehaviorManager = m_autoBehaviorManager,
                                       .interactionHandler = m_interaction,
                                       .petState = m_petState,
                                       .doNotDisturbManager = m_doNotDisturbManager,
                                       .friendManager = m_friendManager,
                                       .userManager = m_userManager },
        tracking);
    view->setGeometry(tracking->rect());

    m_petWindow = window;
    m_petView = view;
    window->show();
    window->raise();

    setupWindowObservers();
    Q_EMIT petWindowCreated(window);
}

void WindowManager::setupWindowObservers()
{
    FloatingWindow* window = m_petWindow;
    window->installEventFilter(new CloseWatcher(window, [this, window] {
        if (m_petWindow == window) {
            m_petWindow = nullptr;
            m_petView = nullptr;
        }
    }));
}

void WindowManager::updateWindowPosition(QPointF position)
{
    if (!m_petWindow)
        return;
    placeWindowAt(m_screens.petOriginFromStored(position));
}

void WindowManager::placeWindowAt(QPointF origin)
{
    if (!m_petWindow)
        return;
    if (m_placementRule)
        origin = m_placementRule(origin);
    m_petWindow->setModelOrigin(origin);
    Q_EMIT petWindowDidMove(m_petWindow);
}

QPointF WindowManager::getCurrentWindowPosition() const
{
    if (!m_petWindow)
        return m_petState.data().position;
    return m_screens.storedFromPetOrigin(m_petWindow->modelFrame().topLeft());
}
