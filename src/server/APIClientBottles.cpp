// The user, bottle and conversation endpoints of APIClient.
#include "server/APIClient.h"

using namespace Qt::StringLiterals;

namespace {

const QString category = u"API"_s;

void log(const QString& message)
{
    LogManager::log(message, category);
}

/// The envelope's data, or the failure the endpoint reports for a reply without it.
template<typename T>
T requireData(APIResponse<T>&& response)
{
    if (!response.data)
        throw APIError::server(response.message);
    return std::move(*response.data);
}

} // namespace

QCoro::Task<APIClient::CheckEmailResult> APIClient::checkEmail(QString email)
{
    log(u"🔍 检查邮箱: "_s + email);
    try {
        auto response
            = co_await request<APIResponse<DriftUser>>(u"/users/check-email?email="_s + queryValue(email), "GET");
        if (response.success && response.data) {
            log(u"✅ 邮箱已存在"_s);
            co_return CheckEmailResult { true, std::move(response.data) };
        }
        log(u"📝 邮箱不存在（新用户）"_s);
        co_return CheckEmailResult {};
    } catch (const APIError& error) {
        // The server's ordinary answer for an address it has no account for.
        if (error.kind() == APIError::Kind::notFound) {
            log(u"📝 邮箱不存在（新用户）"_s);
            co_return CheckEmailResult {};
        }
        log(u"❌ 检查邮箱失败: "_s + error.debugDescription());
        throw;
    }
}

QCoro::Task<DriftUser> APIClient::createOrGetUser(
    QString email, QString nickname, QString avatarEmoji, QString password)
{
    log(u"📡 APIClient.createOrGetUser 开始"_s);
    log(u"   email: "_s + email);
    log(u"   nickname: "_s + nickname);
    log(u"   avatarEmoji: "_s + avatarEmoji);
    log(u"📤 准备发送 POST /users/auth"_s);
    const CreateUserRequest body { email, nickname, avatarEmoji, password };
    try {
        auto response = co_await request<APIResponse<DriftUser>>(u"/users/auth"_s, "POST", body.toJson(), password);
        const QString message = Redaction::inText(response.message, password);
        log(u"📥 收到响应: success="_s + (response.success ? u"true"_s : u"false"_s) + u", message="_s + message);
        if (!response.data) {
            log(u"❌ 响应中没有用户数据"_s);
            throw APIError::server(message);
        }
        log(u"✅ 用户创建/获取成功: "_s + response.data->email);
        co_return std::move(*response.data);
    } catch (const APIError& error) {
        log(u"❌ createOrGetUser 失败: "_s + error.errorDescription());
        log(u"❌ 错误详情: "_s + error.debugDescription());
        throw;
    }
}

QCoro::Task<DriftUser> APIClient::updateUser(qint64 userId, UpdateUserRequest body)
{
    auto response
        = co_await request<APIResponse<DriftUser>>(u"/users/"_s + QString::number(userId), "PUT", body.toJson());
    DriftUser user = requireData(std::move(response));
    log(u"✅ 用户信息更新成功"_s);
    co_return user;
}

QCoro::Task<DriftBottle> APIClient::throwBottle(ThrowBottleRequest body)
{
    auto response = co_await request<APIResponse<DriftBottle>>(u"/bottles/throw"_s, "POST", body.toJson());
    DriftBottle bottle = requireData(std::move(response));
    log(u"✅ 瓶子已丢出: "_s + bottle.id);
    co_return bottle;
}

QCoro::Task<DriftBottle> APIClient::pickRandomBottle(qint64 userId)
{
    auto response
        = co_await request<APIResponse<DriftBottle>>(u"/bottles/pick?userId="_s + QString::number(userId), "GET");
    // No bottle to pick is the same answer as the server's 404.
    if (!response.data)
        throw APIError(APIError::Kind::notFound);
    log(u"✅ 捡到瓶子: "_s + response.data->id);
    co_return std::move(*response.data);
}

QCoro::Task<QList<DriftBottle>> APIClient::getMySentBottles(qint64 userId)
{
    auto response = co_await request<APIResponse<QList<DriftBottle>>>(
        u"/bottles/sent?userId="_s + QString::number(userId), "GET");
    QList<DriftBottle> bottles = requireData(std::move(response));
    log(u"✅ 获取到 "_s + QString::number(bottles.size()) + u" 个已发送瓶子"_s);
    co_return bottles;
}

QCoro::Task<QList<DriftBottle>> APIClient::getMyReceivedBottles(qint64 userId)
{
    auto response = co_await request<APIResponse<QList<DriftBottle>>>(
        u"/bottles/received?userId="_s + QString::number(userId), "GET");
    QList<DriftBottle> bottles = requireData(std::move(response));
    log(u"✅ 获取到 "_s + QString::number(bottles.size()) + u" 个已接收瓶子"_s);
    co_return bottles;
}

QCoro::Task<BottleReply> APIClient::replyToBottle(ReplyBottleRequest body)
{
    auto response = co_await request<APIResponse<BottleReply>>(u"/bottles/reply"_s, "POST", body.toJson());
    BottleReply reply = requireData(std::move(response));
    log(u"✅ 回复已发送: "_s + reply.id);
    co_return reply;
}

QCoro::Task<QList<Conversation>> APIClient::getConversations(qint64 userId)
{
    auto response = co_await request<APIResponse<QList<Conversation>>>(
        u"/bottles/conversations?userId="_s + QString::number(userId), "GET");
    QList<Conversation> conversations = requireData(std::move(response));
    log(u"✅ 获取到 "_s + QString::number(conversations.size()) + u" 个对话"_s);
    co_return conversations;
}

QCoro::Task<ConversationHistoryResponse> APIClient::getConversationHistory(QString bottleId, qint64 userId)
{
    auto response = co_await request<APIResponse<ConversationHistoryResponse>>(
        u"/bottles/conversation-history?bottleId="_s + queryValue(bottleId) + u"&userId="_s + QString::number(userId),
        "GET");
    ConversationHistoryResponse history = requireData(std::move(response));
    log(u"✅ 获取对话历史: "_s + QString::number(history.replies.size()) + u" 条回复"_s);
    co_return history;
}

QCoro::Task<> APIClient::deleteConversation(qint64 userId, QString bottleId)
{
    const DeleteRequest body { userId, bottleId };
    auto response
        = co_await request<APIResponse<EmptyResponse>>(u"/bottles/delete-conversation"_s, "POST", body.toJson());
    if (!response.success)
        throw APIError::server(response.message);
    log(u"✅ 对话已删除: "_s + bottleId);
}
