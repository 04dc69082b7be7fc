#include "menus/MenuBarCoordinator.h"

#include "menus/MenuBarAboutActions.h"
#include "menus/MenuBarSettingsActions.h"
#include "menus/MenuFitting.h"
#include "pet/DoNotDisturbManager.h"
#include "platform/EmojiStyle.h"
#include "platform/LogManager.h"
#include "platform/Resources.h"
#include "platform/SecondaryColour.h"
#include "server/UserManager.h"
#include "widgets/TextStyle.h"

#include <QCoreApplication>
#include <QCursor>
#include <QEvent>
#include <QFont>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QIcon>
#include <QMenu>
#include <QPainter>
#include <QPalette>
#include <QSystemTrayIcon>

using namespace Qt::StringLiterals;

namespace {

constexpr int trayIconSide = 18;
constexpr int headerIconSide = 16;

/// `image` shown `side` × `side`, sharp on high-density screens too.
QIcon iconAt(const QPixmap& image, int side)
{
    QIcon icon;
    for (const int ratio : { 1, 2 }) {
        QPixmap pixmap = image.scaled(side * ratio, side * ratio, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        pixmap.setDevicePixelRatio(ratio);
        icon.addPixmap(pixmap);
    }
    return icon;
}

/// The tray's stand-in when the icon file is missing: the cat emoji as the item's title, in
/// the system font of size 16, tinted with the accent colour (seen where the emoji font has
/// no colours of its own).
QIcon emojiIcon()
{
    const QString cat = u"🐱"_s;
    const QFont font = TextStyle::systemFont(16);
    const int side = QFontMetrics(font).height();
    QIcon icon;
    for (const int ratio : { 1, 2 }) {
        QPixmap pixmap(side * ratio, side * ratio);
        pixmap.setDevicePixelRatio(ratio);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setFont(font);
        painter.setPen(QGuiApplication::palette().color(QPalette::Highlight));
        EmojiStyle::drawText(painter, QRect(0, 0, side, side), Qt::AlignCenter, cat);
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

} // namespace

MenuBarCoordinator::MenuBarCoordinator(UserManager& users, DoNotDisturbManager& doNotDisturb,
    MenuBarSettingsActions& settings, MenuBarAboutActions& about, Resources& resources, QObject* parent)
    : MenuBarCoordinator(users, settings, about, resources, parent)
{
    connect(&doNotDisturb, &DoNotDisturbManager::menuRebuildRequested, this, &MenuBarCoordinator::rebuildMenu);
}

MenuBarCoordinator::MenuBarCoordinator(UserManager& users, MenuBarSettingsActions& settings, MenuBarAboutActions& about,
    Resources& resources, QObject* parent)
    : QObject(parent)
    , m_users(users)
    , m_settings(settings)
    , m_about(about)
    , m_resources(resources)
{
    connect(&m_users, &UserManager::accountChanged, this, &MenuBarCoordinator::rebuildMenu);
    // Tray windows must go while the window system is still there, not when the
    // application object deletes its children.
    connect(qApp, &QCoreApplication::aboutToQuit, this, &MenuBarCoordinator::removeMenuBar);
    setupMenuBar();
}

MenuBarCoordinator::~MenuBarCoordinator()
{
    removeMenuBar();
}

void MenuBarCoordinator::setMenuBarVisible(bool visible)
{
    m_isMenuBarVisible = visible;
    Q_EMIT isMenuBarVisibleChanged(visible);
}

QPixmap MenuBarCoordinator::loadIcon() const
{
    const QString path = m_resources.find(u"menubar_icon"_s, u"png"_s);
    return path.isEmpty() ? QPixmap() : QPixmap(path);
}

void MenuBarCoordinator::setupMenuBar()
{
    if (m_statusItem)
        return;
    m_statusItem = new QSystemTrayIcon(this);
    // A status item opens its menu on a plain click too, not only on a right click as
    // tray icons do by themselves.
    connect(m_statusItem, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        if (reason == QSystemTrayIcon::Trigger && m_menu && !m_menu->isVisible())
            m_menu->popup(QCursor::pos());
    });
    updateMenuBarIcon();
    createMenu();
    m_statusItem->show();
    if (!QSystemTrayIcon::isSystemTrayAvailable() && !m_reportedNoTray) {
        m_reportedNoTray = true;
        LogManager::log(
            u"⚠️ 系统托盘不可用，状态栏菜单无法显示；可用 SIGTERM 或 Ctrl+C 退出"_s,
            u"UI"_s);
    }
}

void MenuBarCoordinator::removeMenuBar()
{
    if (m_statusItem) {
        m_statusItem->hide();
        delete m_statusItem;
    }
    delete m_menu;
}

void MenuBarCoordinator::updateMenuBarIcon()
{
    if (!m_statusItem)
        return;
    const QPixmap icon = loadIcon();
    m_statusItem->setIcon(icon.isNull() ? emojiIcon() : iconAt(icon, trayIconSide));
    m_statusItem->setToolTip(u"Tamsel"_s);
}

QString MenuBarCoordinator::headerTitle(const std::optional<QString>& nickname)
{
    if (!nickname)
        return u"Tamsel"_s;
    // A menu reads a single "&" as a mnemonic marker; doubled, it shows as itself.
    QString shown = *nickname;
    shown.replace(u"&"_s, u"&&"_s);
    return u"Tamsel（"_s + shown + u"）"_s;
}

void MenuBarCoordinator::createMenu()
{
    QMenu* old = m_menu;
    auto* menu = new QMenu;
    menu->setObjectName(u"statusMenu"_s);
    menu->installEventFilter(this);
    // Refilled each time it opens, so what it shows is current even without a rebuild.
    connect(menu, &QMenu::aboutToShow, this, [this, menu] { fillMenu(menu); });
    fillMenu(menu);
    m_menu = menu;
    if (m_statusItem)
        m_statusItem->setContextMenu(menu);
    if (old)
        old->deleteLater();
}

void MenuBarCoordinator::rebuildMenu()
{
    createMenu();
    updateMenuBarIcon();
}

void MenuBarCoordinator::showQuietHeaderInk(QMenu* menu)
{
    // The header is off so that it does nothing, yet it names the signed-in user: its ink
    // reads as quiet text, not as the style's faint disabled grey. Only the disabled text
    // roles are set, so every other colour of the menu keeps following the application's.
    const QPalette current = menu->palette();
    const QColor quiet = SecondaryColour::dimmed(current.color(QPalette::Active, QPalette::Text),
        { current.color(QPalette::Base), current.color(QPalette::Window) });
    if (current.color(QPalette::Disabled, QPalette::Text) == quiet)
        return;
    QPalette ink;
    for (QPalette::ColorRole role : { QPalette::Text, QPalette::WindowText, QPalette::ButtonText })
        ink.setColor(QPalette::Disabled, role, quiet);
    menu->setPalette(ink);
}

bool MenuBarCoordinator::eventFilter(QObject* watched, QEvent* event)
{
    // A palette switched while the menu is open: the quiet ink is worked out again for it.
    if (event->type() == QEvent::PaletteChange && watched == m_menu)
        showQuietHeaderInk(m_menu);
    return QObject::eventFilter(watched, event);
}

void MenuBarCoordinator::fillMenu(QMenu* menu)
{
    menu->clear();
    const std::optional<DriftUser>& user = m_users.currentUser();
    QAction* header = menu->addAction(headerTitle(user ? std::optional(user->nickname) : std::nullopt));
    header->setObjectName(u"headerItem"_s);
    header->setEnabled(false);
    showQuietHeaderInk(menu);
    const QPixmap icon = loadIcon();
    if (!icon.isNull())
        header->setIcon(iconAt(icon, headerIconSide));
    menu->addSeparator();
    QAction* preferences = menu->addAction(u"⚙️ 设置"_s, &m_settings, &MenuBarSettingsActions::showPreferences);
    preferences->setObjectName(u"preferencesItem"_s);
    menu->addSeparator();
    m_about.addAboutItems(menu);
    // The header carries the user's nickname.
    MenuFitting::fit(menu);
}
