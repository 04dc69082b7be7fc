#include "server/UserManager.h"

#include "platform/Defaults.h"
#include "platform/LogManager.h"
#include "server/APIClient.h"

#include <QJsonDocument>
#include <QPointer>

using namespace Qt::StringLiterals;

const QString UserManager::userModeKey = u"UserMode"_s;
const QString UserManager::currentUserKey = u"CurrentUser"_s;
const QString UserManager::isLoggedInKey = u"IsLoggedIn"_s;

namespace {

const QString category = u"User"_s;

void log(const QString& message)
{
    LogManager::log(message, category);
}

} // namespace

UserManager::UserManager(Defaults& defaults, Lazy<APIClient> client, QObject* parent)
    : QObject(parent)
    , m_userDefaults(defaults)
    , m_client(std::move(client))
{
    loadUserSettings();
    log(u"👤 UserManager 初始化完成"_s);
}

void UserManager::loadUserSettings()
{
    if (auto mode = userModeFromRaw(m_userDefaults.value(userModeKey).toString()))
        m_userMode = *mode;
    m_isLoggedIn = m_userDefaults.boolean(isLoggedInKey);

    const QJsonValue stored = m_userDefaults.value(currentUserKey);
    if (stored.isUndefined() || stored.isNull())
        return;
    try {
        if (!stored.isString())
            JsonReader::throwTypeMismatch(stored, currentUserKey, u"字符串"_s);
        m_currentUser = decodeJson<DriftUser>(stored.toString().toUtf8());
        log(u"✅ 用户信息加载成功: "_s + m_currentUser->nickname);
    } catch (const JsonDecodeError& error) {
        // The unreadable text stays stored until the next save or logout.
        log(u"❌ 用户信息加载失败: "_s + error.description());
    }
}

void UserManager::saveCurrentUser(const DriftUser& user)
{
    const QByteArray text = QJsonDocument(user.toJson()).toJson(QJsonDocument::Compact);
    m_userDefaults.setValue(currentUserKey, QString::fromUtf8(text));
    m_userDefaults.setValue(isLoggedInKey, m_isLoggedIn);
    // A sign-in that never reaches the disk is gone at the next launch: it is written at
    // once, and a write that fails is said here, where it is known what was lost.
    if (!m_userDefaults.flush())
        log(u"❌ 用户信息保存失败: "_s + m_userDefaults.writeError());
}

void UserManager::setCurrentUser(std::optional<DriftUser> user)
{
    m_currentUser = std::move(user);
    Q_EMIT currentUserChanged();
}

void UserManager::setLoggedIn(bool loggedIn)
{
    m_isLoggedIn = loggedIn;
    Q_EMIT isLoggedInChanged(loggedIn);
}

void UserManager::setUserMode(UserMode mode)
{
    m_userMode = mode;
    Q_EMIT userModeChanged(mode);
    m_userDefaults.setValue(userModeKey, rawValue(mode));
    log(u"🔄 用户模式切换: "_s + rawValue(mode));
    if (mode == UserMode::offline) {
        setLoggedIn(false);
        m_userDefaults.setValue(isLoggedInKey, false);
    }
}

QCoro::Task<> UserManager::loginOnline(QString email, QString nickname, QString avatarEmoji, QString password)
{
    log(u"🔑 开始在线登录: email="_s + email + u", nickname="_s + nickname);
    if (m_userMode != UserMode::online) {
        log(u"❌ 用户模式不是在线模式"_s);
        throw APIError(APIError::Kind::offlineMode);
    }
    log(u"📡 准备调用 createOrGetUser API"_s);

    const QPointer<UserManager> self(this);
    DriftUser user;
    try {
        user = co_await m_client->createOrGetUser(email, nickname, avatarEmoji, std::move(password));
    } catch (const std::exception& error) {
        log(u"❌ 用户登录失败: "_s + APIError::describe(error));
        log(u"❌ 错误类型: "_s + APIError::typeName(error));
        log(u"❌ 错误详情: "_s + APIError::debugDescribe(error));
        throw;
    }
    log(u"✅ API 返回成功: userId="_s + QString::number(user.id) + u", email="_s + user.email);
    if (!self)
        co_return;

    setCurrentUser(user);
    setLoggedIn(true);
    saveCurrentUser(user);
    log(u"✅ 用户登录成功: "_s + user.email);
    Q_EMIT accountChanged();
    Q_EMIT signedIn();
}

void UserManager::logout()
{
    setCurrentUser(std::nullopt);
    setLoggedIn(false);
    m_userDefaults.remove(currentUserKey);
    m_userDefaults.setValue(isLoggedInKey, false);
    log(u"🚪 用户已登出"_s);
    Q_EMIT signedOut();
    Q_EMIT accountChanged();
}

QCoro::Task<> UserManager::updateUserInfo(
    std::optional<QString> nickname, std::optional<QString> avatarEmoji, std::optional<QString> bio)
{
    if (!isOnlineMode() || !m_currentUser)
        throw APIError(APIError::Kind::offlineMode);
    const UpdateUserRequest request { std::move(nickname), std::move(avatarEmoji), std::move(bio) };
    const qint64 userId = m_currentUser->id;

    const QPointer<UserManager> self(this);
    DriftUser user;
    try {
        user = co_await m_client->updateUser(userId, request);
    } catch (const std::exception& error) {
        log(u"❌ 用户信息更新失败: "_s + APIError::describe(error));
        throw;
    }
    // The account may have signed out, or another one in, while the change was on its way:
    // the reply describes the account it was sent for and must not bring that one back.
    if (!self || !m_currentUser || m_currentUser->id != userId)
        co_return;
    setCurrentUser(user);
    saveCurrentUser(user);
    log(u"✅ 用户信息更新成功"_s);
    Q_EMIT accountChanged();
}
