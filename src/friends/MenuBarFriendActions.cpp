#include "friends/MenuBarFriendActions.h"

#include "friends/FriendVerificationView.h"
#include "platform/LogManager.h"

#include <QGuiApplication>
#include <QScreen>
#include <QVBoxLayout>
#include <QWidget>

using namespace Qt::StringLiterals;

MenuBarFriendActions::MenuBarFriendActions(FriendManager& friends, TimerSource& timers, QObject* parent)
    : QObject(parent)
    , m_friends(friends)
    , m_timers(timers)
{
}

MenuBarFriendActions::~MenuBarFriendActions()
{
    delete m_verificationWindow.data();
}

void MenuBarFriendActions::showVerificationWindow()
{
    LogManager::log(u"🔑 打开好友验证码窗口"_s, u"Friend"_s);
    if (m_verificationWindow) {
        m_verificationWindow->raise();
        m_verificationWindow->activateWindow();
        return;
    }
    // A dialog of fixed size: window managers offer it neither maximise nor minimise.
    auto* window = new QWidget(nullptr,
        Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint
            | Qt::MSWindowsFixedSizeDialogHint);
    window->setObjectName(u"friendCodeWindow"_s);
    window->setWindowTitle(u"好友验证码"_s);
    // Closing frees the window (and the page with its requests' owner); the next request
    // builds a fresh one in the generate mode with empty fields.
    window->setAttribute(Qt::WA_DeleteOnClose);
    auto* layout = new QVBoxLayout(window);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* page = new FriendVerificationView(m_friends, m_timers, window);
    layout->addWidget(page);
    window->setFixedSize(FriendVerificationView::pageWidth, FriendVerificationView::pageHeight);
    connect(page, &FriendVerificationView::dismissRequested, window, &QWidget::close);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame = window->frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        window->move(frame.topLeft());
    }
    m_verificationWindow = window;
    window->show();
    window->raise();
    window->activateWindow();
}
