#include "driftbottle/DriftBottleWindowManager.h"

#include "account/UserRegistrationView.h"
#include "driftbottle/BottleChatView.h"
#include "platform/Alerts.h"
#include "platform/LogManager.h"
#include "platform/WindowFront.h"
#include "server/UserManager.h"

#include <QGuiApplication>
#include <QScreen>

using namespace Qt::StringLiterals;

const QString DriftBottleWindowManager::windowTitle = u"漂流瓶"_s;

namespace {

void log(const QString& message)
{
    LogManager::log(message, u"DriftBottle"_s);
}

} // namespace

DriftBottleWindowManager::DriftBottleWindowManager(UserManager& users, Lazy<APIClient> client,
    Lazy<ConversationManager> conversations, const Clock& clock, QObject* parent)
    : QObject(parent)
    , m_users(users)
    , m_client(std::move(client))
    , m_conversations(std::move(conversations))
    , m_clock(clock)
{
}

DriftBottleWindowManager::~DriftBottleWindowManager()
{
    delete m_window.data();
}

BottleChatView* DriftBottleWindowManager::driftBottleWindow() const
{
    return m_window;
}

void DriftBottleWindowManager::showDriftBottleWindow()
{
    if (!m_users.isLoggedIn()) {
        showLoginRequiredAlert();
        return;
    }
    if (m_window && m_window->isVisible()) {
        log(u"🍾 漂流瓶窗口已存在，置于最前"_s);
        WindowFront::bringForward(*m_window);
        return;
    }

    log(u"🍾 创建新的漂流瓶窗口"_s);
    // A window that is held but hidden goes for good, with its observers and its refresh,
    // before the new one exists: two windows must never drive the same manager.
    if (BottleChatView* old = m_window.data()) {
        m_window = nullptr;
        delete old;
    }
    auto* window = new BottleChatView(m_conversations.get(), m_clock);
    window->setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint
        | Qt::WindowMaximizeButtonHint);
    window->setWindowTitle(windowTitle);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->resize(BottleChatView::windowWidth, BottleChatView::windowHeight);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        window->move(screen->availableGeometry().center() - window->rect().center());
    connect(window, &BottleChatView::closing, this, [this, window] { windowWillClose(window); });
    m_window = window;
    window->show();
    window->raise();
    window->activateWindow();
}

void DriftBottleWindowManager::windowWillClose(BottleChatView* window)
{
    if (window != m_window)
        return;
    log(u"🚪 漂流瓶窗口关闭，清除引用"_s);
    m_window = nullptr;
}

void DriftBottleWindowManager::showLoginRequiredAlert()
{
    const int answer = Alerts::show(Alerts::Style::Informational, u"需要登录"_s,
        u"漂流瓶功能需要登录后才能使用。\n是否现在登录？"_s, { u"去登录"_s, u"取消"_s });
    if (answer != 0)
        return;
    UserRegistrationView::openWindow(m_users, m_client);
    log(u"🔑 打开登录窗口（从漂流瓶）"_s);
}
