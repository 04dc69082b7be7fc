// The friend endpoints of the fake companion server: codes, friendships and messages.
#include "support/FakeCompanionState.h"

#include <QJsonArray>

#include <algorithm>

using namespace Qt::StringLiterals;

FakeAnswer FakeCompanionState::friends(const RecordedRequest& r, const QStringList& parts)
{
    const User* me = findUser(r.header("X-User-Id").toLongLong());
    if (!me)
        return refuse(401, u"未登录"_s);
    const qint64 myId = me->id;
    const QJsonObject body = r.jsonBody();
    const auto isFriend = [&](qint64 other) {
        return std::any_of(m_friendships.begin(), m_friendships.end(), [&](const Friendship& f) {
            return (f.userA == myId && f.userB == other) || (f.userA == other && f.userB == myId);
        });
    };
    const QString first = parts.value(0);
    if (r.method == "POST" && parts == QStringList { u"generate-code"_s }) {
        const QString code = QString::number(m_nextCode++);
        m_codeByUser.insert(myId, code);
        return ok(QJsonObject { { u"success"_s, true }, { u"code"_s, code }, { u"message"_s, u"验证码生成成功"_s } });
    }
    if (r.method == "GET" && parts == QStringList { u"my-code"_s }) {
        const auto it = m_codeByUser.constFind(myId);
        return ok(QJsonObject { { u"success"_s, true },
            { u"code"_s, it != m_codeByUser.constEnd() ? QJsonValue(*it) : QJsonValue(QJsonValue::Null) } });
    }
    if (r.method == "POST" && parts == QStringList { u"add"_s }) {
        const qint64 owner = m_codeByUser.key(body.value(u"code"_s).toString(), 0);
        if (owner == 0)
            return ok(QJsonObject { { u"success"_s, false }, { u"message"_s, u"验证码无效或已过期"_s } });
        if (owner == myId)
            return ok(QJsonObject { { u"success"_s, false }, { u"message"_s, u"不能添加自己为好友"_s } });
        if (isFriend(owner))
            return ok(QJsonObject { { u"success"_s, false }, { u"message"_s, u"你们已经是好友了"_s } });
        m_codeByUser.remove(owner);
        befriend(myId, owner);
        return ok(QJsonObject { { u"success"_s, true }, { u"message"_s, u"添加好友成功"_s },
            { u"friend"_s, friendJson(m_friendships.last(), myId) } });
    }
    if (r.method == "GET" && parts == QStringList { u"list"_s }) {
        QJsonArray list;
        for (const Friendship& f : m_friendships) {
            if (f.userA == myId || f.userB == myId)
                list.append(friendJson(f, myId));
        }
        return ok(QJsonObject { { u"success"_s, true }, { u"friends"_s, list } });
    }
    if (r.method == "DELETE" && parts.size() == 1) {
        const qint64 id = first.toLongLong();
        const auto removed = m_friendships.removeIf(
            [&](const Friendship& f) { return f.id == id && (f.userA == myId || f.userB == myId); });
        if (removed == 0)
            return ok(QJsonObject { { u"success"_s, false }, { u"message"_s, u"好友关系不存在"_s } });
        return ok(QJsonObject { { u"success"_s, true }, { u"message"_s, u"删除成功"_s } });
    }
    if (r.method == "POST" && parts == QStringList { u"messages"_s, u"send"_s }) {
        const qint64 receiver = body.value(u"receiverId"_s).toInteger();
        if (!isFriend(receiver))
            return ok(QJsonObject { { u"success"_s, false }, { u"message"_s, u"对方不是你的好友"_s } });
        m_messages.append(Message { m_nextMessage, myId, receiver, body.value(u"content"_s).toString(), tick() });
        return ok(QJsonObject { { u"success"_s, true }, { u"message"_s, u"消息已发送"_s },
            { u"messageId"_s, m_nextMessage++ }, { u"delivered"_s, false } });
    }
    return refuse(404, u"接口不存在"_s);
}

QJsonObject FakeCompanionState::messageJson(const Message& message, bool offline) const
{
    const auto sender
        = std::find_if(m_users.begin(), m_users.end(), [&](const User& u) { return u.id == message.senderId; });
    return QJsonObject {
        { u"messageId"_s, message.id },
        { u"senderId"_s, message.senderId },
        { u"senderNickname"_s, sender != m_users.end() ? sender->nickname : QString() },
        { u"senderAvatar"_s, sender != m_users.end() ? sender->avatarEmoji : QString() },
        { u"receiverId"_s, message.receiverId },
        { u"content"_s, message.content },
        { u"timestamp"_s, date(message.sentAt) },
        { u"isOffline"_s, offline },
    };
}

void FakeCompanionState::markDelivered(qint64 messageId)
{
    for (Message& m : m_messages) {
        if (m.id == messageId)
            m.delivered = true;
    }
}
