// The friend endpoints of APIClient. Their replies have records of their own, not the envelope.
#include "server/APIClient.h"

using namespace Qt::StringLiterals;

namespace {

const QString category = u"Friend"_s;

void log(const QString& message)
{
    LogManager::log(message, category);
}

} // namespace

QCoro::Task<QString> APIClient::generateFriendCode()
{
    log(u"🔑 生成好友验证码"_s);
    const auto response = co_await request<GenerateCodeResponse>(u"/friends/generate-code"_s, "POST", QJsonObject());
    if (!response.success || !response.code) {
        log(u"❌ 验证码生成失败"_s);
        throw APIError(APIError::Kind::invalidResponse);
    }
    log(u"✅ 验证码生成成功: "_s + *response.code);
    co_return *response.code;
}

QCoro::Task<std::optional<QString>> APIClient::getMyCode()
{
    log(u"🔍 获取当前验证码"_s);
    const auto response = co_await request<GenerateCodeResponse>(u"/friends/my-code"_s, "GET");
    if (!response.success)
        co_return std::nullopt;
    log(u"✅ 获取验证码成功: "_s + response.code.value_or(u"无"_s));
    co_return response.code;
}

QCoro::Task<Friend> APIClient::addFriendByCode(QString code)
{
    log(u"➕ 添加好友，验证码: "_s + code);
    QJsonObject body;
    body.insert(u"code"_s, code);
    const auto response = co_await request<AddFriendResponse>(u"/friends/add"_s, "POST", std::move(body));
    if (!response.success || !response.friendRecord) {
        log(u"❌ 添加好友失败: "_s + response.message);
        throw APIError::server(response.message);
    }
    log(u"✅ 添加好友成功: "_s + response.friendRecord->nickname);
    co_return *response.friendRecord;
}

QCoro::Task<QList<Friend>> APIClient::getFriendList()
{
    log(u"📋 获取好友列表"_s);
    auto response = co_await request<FriendListResponse>(u"/friends/list"_s, "GET");
    if (!response.success) {
        // The server's refusal comes with the list it wants shown, which is empty.
        log(u"❌ 获取好友列表失败"_s);
        co_return QList<Friend>();
    }
    log(u"✅ 获取好友列表成功，共 "_s + QString::number(response.friends.size()) + u" 人"_s);
    co_return std::move(response.friends);
}

QCoro::Task<> APIClient::deleteFriend(qint64 friendId)
{
    log(u"🗑️ 删除好友: "_s + QString::number(friendId));
    const auto response = co_await request<FriendAPIResponse>(u"/friends/"_s + QString::number(friendId), "DELETE");
    if (!response.success) {
        log(u"❌ 删除好友失败: "_s + response.message);
        throw APIError::server(response.message);
    }
    log(u"✅ 删除好友成功"_s);
}

QCoro::Task<> APIClient::sendFriendMessage(qint64 receiverId, QString content)
{
    log(u"💬 发送消息给好友: "_s + QString::number(receiverId));
    const SendMessageRequest body { receiverId, content };
    const auto response = co_await request<SendMessageResponse>(u"/friends/messages/send"_s, "POST", body.toJson());
    if (!response.success) {
        log(u"❌ 消息发送失败: "_s + response.message);
        throw APIError::server(response.message);
    }
    log(u"✅ 消息发送成功"_s);
}
