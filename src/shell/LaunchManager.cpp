#include "shell/LaunchManager.h"

#include "platform/Alerts.h"
#include "platform/LoginItem.h"
#include "platform/StandardOutput.h"

#include <QCoreApplication>
#include <QMetaObject>

using namespace Qt::StringLiterals;

LaunchManager::LaunchManager(LoginItem& loginItem, QObject* parent)
    : QObject(parent)
    , m_loginItem(loginItem)
{
    m_isAutoLaunchEnabled = m_loginItem.isEnabled();
}

void LaunchManager::refreshStatus()
{
    const bool enabled = m_loginItem.isEnabled();
    if (enabled == m_isAutoLaunchEnabled)
        return;
    m_isAutoLaunchEnabled = enabled;
    Q_EMIT isAutoLaunchEnabledChanged(enabled);
}

void LaunchManager::enableAutoLaunch()
{
    if (m_isAutoLaunchEnabled)
        return;
    enableAutoLaunchModern();
    refreshStatus();
}

void LaunchManager::disableAutoLaunch()
{
    if (!m_isAutoLaunchEnabled)
        return;
    disableAutoLaunchModern();
    refreshStatus();
}

void LaunchManager::enableAutoLaunchModern()
{
    QString error;
    if (m_loginItem.registerItem(&error)) {
        StandardOutput::printLine(u"✅ 自动启动已启用 (现代API)"_s);
        return;
    }
    StandardOutput::printLine(u"❌ 启用自动启动失败: "_s + error);
    handleAutoLaunchError(error);
}

void LaunchManager::disableAutoLaunchModern()
{
    QString error;
    if (m_loginItem.unregisterItem(&error)) {
        StandardOutput::printLine(u"✅ 自动启动已禁用 (现代API)"_s);
        return;
    }
    StandardOutput::printLine(u"❌ 禁用自动启动失败: "_s + error);
    handleAutoLaunchError(error);
}

QString LaunchManager::failureText(const QString& errorDescription)
{
    return u"无法修改自动启动设置。可能的原因：\n\n1. 需要管理员权限\n2. 系统安全设置限制\n3. 应用程序签名问题\n\n错误详情："_s
        + errorDescription + u"\n\n您可以手动在\"系统偏好设置 > 用户与群组 > 登录项\"中添加Tamsel。"_s;
}

void LaunchManager::handleAutoLaunchError(const QString& errorDescription)
{
    // Shown after the calling operation has returned, never inside it.
    QMetaObject::invokeMethod(
        this,
        [this, errorDescription] {
            const int answer = Alerts::show(Alerts::Style::Warning, u"自动启动设置失败"_s,
                failureText(errorDescription), { u"确定"_s, u"打开系统偏好设置"_s });
            if (answer == 1)
                m_loginItem.openAutostartFolder();
        },
        Qt::QueuedConnection);
}
