#include "menus/MenuBarAboutActions.h"

#include "core/AppNotification.h"
#include "platform/Alerts.h"
#include "platform/ApplicationQuit.h"
#include "platform/Clock.h"
#include "platform/LogManager.h"
#include "shell/NotificationManager.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QKeySequence>
#include <QMenu>
#include <QShortcut>

using namespace Qt::StringLiterals;

MenuBarAboutActions::MenuBarAboutActions(NotificationManager& notifications, Clock* clock, QObject* parent)
    : MenuBarAboutActions(clock, parent)
{
    setNotificationManager(notifications);
}

MenuBarAboutActions::MenuBarAboutActions(Clock* clock, QObject* parent)
    : QObject(parent)
    , m_clock(clock ? *clock : Clock::system())
{
}

void MenuBarAboutActions::setNotificationManager(NotificationManager& notifications)
{
    m_notifications = &notifications;
}

void MenuBarAboutActions::addAboutItems(QMenu* menu)
{
    if (!menu)
        return;
    QAction* update = menu->addAction(u"🔄 检查更新"_s, this, &MenuBarAboutActions::checkForUpdates);
    update->setObjectName(u"checkForUpdatesItem"_s);
    addMenuShortcut(menu, update, QKeySequence(Qt::CTRL | Qt::Key_U));
    menu->addSeparator();
    QAction* quit = menu->addAction(u"🚪 退出"_s, this, &MenuBarAboutActions::quitApp);
    quit->setObjectName(u"quitItem"_s);
    addMenuShortcut(menu, quit, QKeySequence(Qt::CTRL | Qt::Key_Q));
}

void MenuBarAboutActions::addMenuShortcut(QMenu* menu, QAction* action, const QKeySequence& keys)
{
    action->setShortcut(keys);
    // An action's shortcut only fires through the window its menu belongs to, and the
    // status menu belongs to none; a shortcut on the open menu itself makes the keys work
    // while it is shown. It goes with the item when the menu is refilled.
    auto* shortcut = new QShortcut(keys, menu);
    connect(shortcut, &QShortcut::activated, action, &QAction::trigger);
    // At once, not later: a refill adds the next one straight away, and two alike would be ambiguous.
    connect(action, &QObject::destroyed, shortcut, [shortcut] { delete shortcut; });
}

void MenuBarAboutActions::checkForUpdates()
{
    LogManager::log(u"🔄 用户手动检查更新"_s, u"Update"_s);
    Q_EMIT updateCheckRequested();
}

void MenuBarAboutActions::quitApp()
{
    LogManager::log(u"🚪 用户退出应用"_s, u"App"_s);
    ApplicationQuit::quitNow();
}

QString MenuBarAboutActions::aboutText()
{
    const QStringList lines {
        u"Tamsel v1.0"_s,
        u"Linux 桌面宠物应用"_s,
        QString(),
        u"让可爱的宠物陪伴你的工作和生活！"_s,
        QString(),
        u"开发者联系方式："_s,
        u"邮箱："_s + contactIdentifier,
        QString(),
        u"有建议或发现问题，欢迎来信告诉我们。"_s,
        u"祝你和你的小猫每天都开心！"_s,
    };
    return lines.join(u'\n');
}

void MenuBarAboutActions::showAbout()
{
    const int answer
        = Alerts::show(Alerts::Style::Informational, u"关于Tamsel"_s, aboutText(), { u"确定"_s, u"复制邮箱"_s });
    if (answer == 1)
        copyContact();
    LogManager::log(u"❓ 显示关于信息"_s, u"UI"_s);
}

void MenuBarAboutActions::copyContact()
{
    if (QClipboard* clipboard = QGuiApplication::clipboard()) {
        clipboard->clear();
        clipboard->setText(contactIdentifier);
    }
    LogManager::log(u"✅ 已复制开发者邮箱: "_s + contactIdentifier, u"UI"_s);
    if (!m_notifications)
        return;
    m_notifications->sendNotification(
        AppNotification::make(u"已复制"_s, u"开发者邮箱 "_s + contactIdentifier + u" 已复制到剪贴板"_s,
            NotificationType::general, NotificationPriority::normal, m_clock.now()));
}
