#include "friends/MenuBarFriendActions.h"

#include "friends/FriendManager.h"
#include "friends/FriendMessageBubbleWindowManager.h"
#include "friends/FriendVerificationView.h"
#include "platform/LogManager.h"
#include "platform/WindowFront.h"

#include <QAction>
#include <QGuiApplication>
#include <QMenu>
#include <QScreen>
#include <QVBoxLayout>
#include <QWidget>

using namespace Qt::StringLiterals;

namespace {

const QString category = u"Friend"_s;

} // namespace

MenuBarFriendActions::MenuBarFriendActions(
    FriendManager& friends, TimerSource& timers, FriendMessageBubbleWindowManager& bubbles, QObject* parent)
    : QObject(parent)
    , m_friends(friends)
    , m_timers(timers)
    , m_bubbles(bubbles)
{
}

MenuBarFriendActions::~MenuBarFriendActions()
{
    delete m_verificationWindow.data();
}

QString MenuBarFriendActions::menuLabel(const Friend& friendRecord)
{
    QString text = friendRecord.avatarEmoji + u" "_s + friendRecord.nickname;
    return text.replace(u"&"_s, u"&&"_s);
}

void MenuBarFriendActions::setFriendSubmenu(QMenu* menu)
{
    if (m_friendSubmenu)
        disconnect(m_friendSubmenu, &QMenu::aboutToShow, this, nullptr);
    m_friendSubmenu = menu;
    if (menu)
        connect(menu, &QMenu::aboutToShow, this, [this, menu] { menuNeedsUpdate(menu); });
}

void MenuBarFriendActions::menuNeedsUpdate(QMenu* menu)
{
    LogManager::log(u"🔄 刷新好友列表菜单"_s, category);
    loadFriendSubmenu(menu);
}

void MenuBarFriendActions::loadFriendSubmenu(QMenu* menu)
{
    menu->clear();
    for (const Friend& f : m_friends.friends()) {
        QAction* item = menu->addAction(menuLabel(f));
        item->setData(QVariant::fromValue(f));
        connect(item, &QAction::triggered, this, [this, item] { sendMessageToFriend(item); });
    }
    if (m_friends.friends().isEmpty())
        menu->addAction(u"暂无好友"_s)->setEnabled(false);
}

void MenuBarFriendActions::sendMessageToFriend(const QAction* item)
{
    const QVariant data = item ? item->data() : QVariant();
    if (data.metaType() != QMetaType::fromType<Friend>()) {
        LogManager::log(u"❌ 无法获取好友信息"_s, category);
        return;
    }
    const Friend f = data.value<Friend>();
    LogManager::log(u"💬 打开给好友 "_s + f.nickname + u" 的消息弹框"_s, category);
    m_bubbles.showSendMessageBubble(f);
}

void MenuBarFriendActions::showVerificationWindow()
{
    LogManager::log(u"🔑 打开好友验证码窗口"_s, category);
    if (m_verificationWindow) {
        WindowFront::bringForward(*m_verificationWindow);
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
    // As large as the page, which keeps its size unless its content needs more.
    layout->setSizeConstraint(QLayout::SetFixedSize);
    auto* page = new FriendVerificationView(m_friends, m_timers, window);
    layout->addWidget(page);
    connect(page, &FriendVerificationView::dismissRequested, window, &QWidget::close);
    layout->activate(); // the window takes its size now, to be centred by it
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
