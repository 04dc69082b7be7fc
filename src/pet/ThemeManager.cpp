#include "pet/ThemeManager.h"

#include "core/EnumFromRaw.h"
#include "platform/Defaults.h"
#include "platform/StandardOutput.h"
#include "platform/SystemColours.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QGuiApplication>
#include <QPalette>

using namespace Qt::StringLiterals;

QString rawValue(AppTheme theme)
{
    switch (theme) {
    case AppTheme::light:
        return u"light"_s;
    case AppTheme::dark:
        return u"dark"_s;
    case AppTheme::automatic:
        return u"auto"_s;
    }
    return {};
}

std::optional<AppTheme> appThemeFromRaw(const QString& raw)
{
    return enumFromRaw(allAppThemes, raw);
}

namespace {

// The desktop's standard named colours; the surface is the palette's control background.
QColor controlBackground(bool dark)
{
    if (qGuiApp)
        return QGuiApplication::palette().color(QPalette::Base);
    return dark ? QColor(0x1e, 0x1e, 0x1e) : QColor(Qt::white);
}

ThemeColors makePalette(bool dark)
{
    return ThemeColors {
        .primary = SystemColours::blue(),
        .secondary = SystemColours::gray(),
        .background = dark ? QColor(Qt::black) : QColor(Qt::white),
        .surface = controlBackground(dark),
        .text = dark ? QColor(Qt::white) : QColor(Qt::black),
        .textSecondary = SystemColours::gray(),
        .accent = SystemColours::orange(),
        .warning = SystemColours::yellow(),
        .error = SystemColours::red(),
        .success = SystemColours::green(),
    };
}

// The portal answers 1 for "prefer dark", 2 for "prefer light", 0 for no preference.
std::optional<bool> portalPrefersDark()
{
    // Without a session bus address, connecting could start a bus of its own: not for this.
    if (qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS"))
        return std::nullopt;
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return std::nullopt;
    QDBusMessage call = QDBusMessage::createMethodCall(u"org.freedesktop.portal.Desktop"_s,
        u"/org/freedesktop/portal/desktop"_s, u"org.freedesktop.portal.Settings"_s, u"Read"_s);
    call << u"org.freedesktop.appearance"_s << u"color-scheme"_s;
    // Start-up waits for this, so a portal that does not answer at once is not waited for.
    call.setAutoStartService(false);
    const QDBusMessage reply = bus.call(call, QDBus::Block, 150);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return std::nullopt;
    QVariant value = reply.arguments().first();
    // The value comes wrapped in one or two variants, depending on the portal's version.
    while (value.canConvert<QDBusVariant>() && value.userType() == qMetaTypeId<QDBusVariant>())
        value = value.value<QDBusVariant>().variant();
    bool ok = false;
    const uint scheme = value.toUInt(&ok);
    if (!ok || scheme == 0)
        return std::nullopt;
    return scheme == 1;
}

} // namespace

const ThemeColors& ThemeColors::light()
{
    static const ThemeColors palette = makePalette(false);
    return palette;
}

const ThemeColors& ThemeColors::dark()
{
    static const ThemeColors palette = makePalette(true);
    return palette;
}

bool ThemeManager::systemPrefersDark()
{
    if (const auto portal = portalPrefersDark())
        return *portal;
    if (!qGuiApp)
        return false;
    const QPalette palette = QGuiApplication::palette();
    return palette.color(QPalette::WindowText).lightness() > palette.color(QPalette::Window).lightness();
}

ThemeManager::ThemeManager(Defaults& defaults, DarkProbe systemIsDark, QObject* parent)
    : QObject(parent)
    , m_userDefaults(defaults)
    , m_systemIsDark(systemIsDark ? std::move(systemIsDark) : DarkProbe(&ThemeManager::systemPrefersDark))
{
    loadTheme();
    updateColors();
    startThemeMonitoring();
}

// The manager lives as long as the program, so freeing it at quit is no stop of the monitoring
// worth announcing; nothing is left running that needs undoing.
ThemeManager::~ThemeManager() = default;

void ThemeManager::startThemeMonitoring()
{
    if (m_isThemeMonitoringActive)
        return;
    m_isThemeMonitoringActive = true;
    Q_EMIT isThemeMonitoringActiveChanged(true);
    StandardOutput::printLine(u"⚠️ 系统外观监控暂时禁用"_s);
    StandardOutput::printLine(u"🎨 主题监控已启动"_s);
}

void ThemeManager::stopThemeMonitoring()
{
    if (!m_isThemeMonitoringActive)
        return;
    m_isThemeMonitoringActive = false;
    Q_EMIT isThemeMonitoringActiveChanged(false);
    StandardOutput::printLine(u"⚠️ 系统外观监控清理暂时禁用"_s);
    StandardOutput::printLine(u"🎨 主题监控已停止"_s);
}

AppTheme ThemeManager::getCurrentActualTheme() const
{
    if (m_currentTheme != AppTheme::automatic)
        return m_currentTheme;
    return m_systemIsDark() ? AppTheme::dark : AppTheme::light;
}

void ThemeManager::updateColors()
{
    m_colors = getCurrentActualTheme() == AppTheme::dark ? ThemeColors::dark() : ThemeColors::light();
    Q_EMIT colorsChanged();
}

void ThemeManager::loadTheme()
{
    if (const auto theme = appThemeFromRaw(m_userDefaults.string(themeKey))) {
        m_currentTheme = *theme;
        Q_EMIT currentThemeChanged(*theme);
    }
}
