#include "support/FakeCompanionState.h"

#include <QJsonArray>
#include <QJsonDocument>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

QJsonObject envelope(const QString& message, const QJsonValue& data)
{
    QJsonObject o { { u"success"_s, true }, { u"message"_s, message } };
    if (!data.isUndefined())
        o.insert(u"data"_s, data);
    return o;
}

QJsonValue orNull(const std::optional<QString>& s)
{
    return s ? QJsonValue(*s) : QJsonValue(QJsonValue::Null);
}

} // namespace

bool RecordedRequest::hasHeader(const QByteArray& name) const
{
    return std::any_of(
        headers.begin(), headers.end(), [&](const auto& h) { return h.first.compare(name, Qt::CaseInsensitive) == 0; });
}

QByteArray RecordedRequest::header(const QByteArray& name) const
{
    for (const auto& [key, value] : headers) {
        if (key.compare(name, Qt::CaseInsensitive) == 0)
            return value;
    }
    return {};
}

std::optional<QString> RecordedRequest::queryValue(const QString& key) const
{
    for (const auto& [k, v] : query) {
        if (k == key)
            return v;
    }
    return std::nullopt;
}

QJsonObject RecordedRequest::jsonBody() const
{
    return QJsonDocument::fromJson(body).object();
}

FakeAnswer FakeCompanionState::ok(QJsonObject body)
{
    return { 200, std::move(body) };
}

FakeAnswer FakeCompanionState::refuse(int status, const QString& message)
{
    return { status, QJsonObject { { u"success"_s, false }, { u"message"_s, message } } };
}

FakeCompanionState::FakeCompanionState()
    : m_now(QDate(2024, 5, 1), QTime(8, 30), Qt::UTC)
{
}

QDateTime FakeCompanionState::tick()
{
    m_now = m_now.addSecs(1);
    return m_now;
}

QString FakeCompanionState::date(const QDateTime& t)
{
    return t.toUTC().toString(u"yyyy-MM-dd'T'HH:mm:ss.zzz'Z'"_s);
}

FakeCompanionState::User* FakeCompanionState::findUser(qint64 id)
{
    auto it = std::find_if(m_users.begin(), m_users.end(), [&](const User& u) { return u.id == id; });
    return it == m_users.end() ? nullptr : &*it;
}

FakeCompanionState::User* FakeCompanionState::findUser(const QString& email)
{
    auto it = std::find_if(m_users.begin(), m_users.end(), [&](const User& u) { return u.email == email; });
    return it == m_users.end() ? nullptr : &*it;
}

FakeCompanionState::Bottle* FakeCompanionState::findBottle(const QString& id)
{
    auto it = std::find_if(m_bottles.begin(), m_bottles.end(), [&](const Bottle& b) { return b.id == id; });
    return it == m_bottles.end() ? nullptr : &*it;
}

bool FakeCompanionState::isSensitive(const QString& text) const
{
    return std::any_of(
        sensitiveWords.begin(), sensitiveWords.end(), [&](const QString& w) { return text.contains(w); });
}

qint64 FakeCompanionState::addUser(
    const QString& email, const QString& nickname, const QString& avatarEmoji, const QString& password)
{
    const QDateTime now = tick();
    m_users.append(User { m_nextUserId, email, nickname, avatarEmoji, password, std::nullopt, now, now });
    return m_nextUserId++;
}

QString FakeCompanionState::addBottle(qint64 senderId, const QString& content)
{
    const User* sender = findUser(senderId);
    Bottle b;
    b.id = u"bottle-"_s + QString::number(m_nextBottle++);
    b.content = content;
    b.senderId = senderId;
    b.senderName = sender ? sender->nickname : u"匿名"_s;
    b.senderEmoji = sender ? sender->avatarEmoji : u"🐱"_s;
    b.createdAt = b.updatedAt = tick();
    m_bottles.append(b);
    return b.id;
}

void FakeCompanionState::pickBottle(const QString& bottleId, qint64 userId)
{
    if (Bottle* b = findBottle(bottleId)) {
        b->status = u"picked"_s;
        b->pickedBy = userId;
        b->pickedAt = b->updatedAt = tick();
        ++b->viewCount;
    }
}

QString FakeCompanionState::addReply(
    const QString& bottleId, qint64 senderId, qint64 receiverId, const QString& content)
{
    const qint64 index
        = std::count_if(m_replies.begin(), m_replies.end(), [&](const Reply& x) { return x.bottleId == bottleId; });
    const Reply reply { u"reply-"_s + QString::number(m_nextReply++), bottleId, content, senderId, receiverId,
        index + 1, false, tick() };
    m_replies.append(reply);
    if (Bottle* b = findBottle(bottleId)) {
        b->status = u"replied"_s;
        b->updatedAt = reply.createdAt;
    }
    return reply.id;
}

qint64 FakeCompanionState::befriend(qint64 a, qint64 b)
{
    m_friendships.append(Friendship { m_nextFriendship, a, b, tick() });
    return m_nextFriendship++;
}

QJsonObject FakeCompanionState::userJson(const User& u) const
{
    return QJsonObject {
        { u"id"_s, u.id },
        { u"email"_s, u.email },
        { u"nickname"_s, u.nickname },
        { u"avatar_emoji"_s, u.avatarEmoji },
        { u"bio"_s, orNull(u.bio) },
        { u"level"_s, 1 },
        { u"exp"_s, 0 },
        { u"shells"_s, 10 },
        { u"badges"_s, QJsonArray() },
        { u"stats"_s,
            QJsonObject { { u"sent_count"_s,
                              std::count_if(m_bottles.begin(), m_bottles.end(),
                                  [&](const Bottle& b) { return b.senderId == u.id; }) },
                { u"received_count"_s, 0 }, { u"replied_count"_s, 0 }, { u"pen_pal_count"_s, 0 } } },
        { u"preferences"_s,
            QJsonObject { { u"themes"_s, QJsonArray() }, { u"auto_reply"_s, false }, { u"allow_anonymous"_s, true },
                { u"notification_enabled"_s, true } } },
        { u"created_at"_s, date(u.createdAt) },
        { u"last_active_at"_s, date(u.updatedAt) },
        { u"updated_at"_s, date(u.updatedAt) },
        { u"report_count"_s, 0 },
        { u"is_banned"_s, false },
        { u"ban_reason"_s, QJsonValue::Null },
        { u"ban_until"_s, QJsonValue::Null },
    };
}

QJsonObject FakeCompanionState::bottleJson(const Bottle& b) const
{
    return QJsonObject {
        { u"id"_s, b.id },
        { u"content"_s, b.content },
        { u"sender_id"_s, b.senderId },
        { u"sender_name"_s, b.senderName },
        { u"sender_emoji"_s, b.senderEmoji },
        { u"status"_s, b.status },
        { u"theme"_s, QJsonArray::fromStringList(b.theme) },
        { u"bottle_type"_s, b.bottleType },
        { u"is_anonymous"_s, b.isAnonymous },
        { u"picked_by"_s, b.pickedBy ? QJsonValue(*b.pickedBy) : QJsonValue(QJsonValue::Null) },
        { u"picked_at"_s, b.pickedAt ? QJsonValue(date(*b.pickedAt)) : QJsonValue(QJsonValue::Null) },
        { u"view_count"_s, b.viewCount },
        { u"passed_count"_s, 0 },
        { u"virtual_distance"_s, 0 },
        { u"virtual_path"_s, QJsonArray() },
        { u"created_at"_s, date(b.createdAt) },
        { u"updated_at"_s, date(b.updatedAt) },
    };
}

QJsonObject FakeCompanionState::replyJson(const Reply& r) const
{
    return QJsonObject {
        { u"id"_s, r.id },
        { u"original_bottle_id"_s, r.bottleId },
        { u"sender_id"_s, r.senderId },
        { u"receiver_id"_s, r.receiverId },
        { u"content"_s, r.content },
        { u"is_read"_s, r.isRead },
        { u"created_at"_s, date(r.createdAt) },
        { u"conversation_index"_s, r.index },
    };
}

QJsonObject FakeCompanionState::friendJson(const Friendship& f, qint64 viewer) const
{
    const qint64 other = f.userA == viewer ? f.userB : f.userA;
    const auto it = std::find_if(m_users.begin(), m_users.end(), [&](const User& u) { return u.id == other; });
    return QJsonObject {
        { u"id"_s, f.id },
        { u"friend_id"_s, other },
        { u"nickname"_s, it != m_users.end() ? it->nickname : QString() },
        { u"avatar_emoji"_s, it != m_users.end() ? it->avatarEmoji : QString() },
        { u"friend_since"_s, date(f.since) },
    };
}

QList<QJsonObject> FakeCompanionState::conversationsOf(qint64 userId) const
{
    QList<std::pair<QDateTime, QJsonObject>> rows;
    for (const Bottle& b : m_bottles) {
        const bool sent = b.senderId == userId;
        if ((!sent && b.pickedBy != userId) || m_deletedConversations.contains({ userId, b.id }))
            continue;
        const std::optional<qint64> other = sent ? b.pickedBy : std::optional<qint64>(b.senderId);
        QString last = b.content;
        QDateTime lastTime = b.createdAt;
        qint64 unread = 0;
        for (const Reply& r : m_replies) {
            if (r.bottleId != b.id)
                continue;
            last = r.content;
            lastTime = r.createdAt;
            unread += (r.receiverId == userId && !r.isRead) ? 1 : 0;
        }
        QJsonObject row {
            { u"bottle_id"_s, b.id },
            { u"last_message"_s, last },
            { u"final_time"_s, date(lastTime) },
            { u"conversation_type"_s, sent ? u"sent"_s : u"received"_s },
            { u"status"_s, b.status },
            { u"has_reply"_s, b.pickedBy ? 1 : 0 },
            { u"unread_count"_s, unread },
        };
        const auto it
            = std::find_if(m_users.begin(), m_users.end(), [&](const User& u) { return other && u.id == *other; });
        row.insert(u"other_user_id"_s, other ? QJsonValue(*other) : QJsonValue(QJsonValue::Null));
        row.insert(u"other_user_name"_s, it != m_users.end() ? QJsonValue(it->nickname) : QJsonValue(QJsonValue::Null));
        row.insert(
            u"other_user_emoji"_s, it != m_users.end() ? QJsonValue(it->avatarEmoji) : QJsonValue(QJsonValue::Null));
        rows.append({ lastTime, row });
    }
    std::stable_sort(rows.begin(), rows.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
    QList<QJsonObject> out;
    for (const auto& row : rows)
        out.append(row.second);
    return out;
}

FakeAnswer FakeCompanionState::handle(const RecordedRequest& r)
{
    if (!r.body.isEmpty() && !QJsonDocument::fromJson(r.body).isObject())
        return refuse(400, u"请求体不是有效的 JSON"_s);
    const QStringList parts = r.path.split(u'/', Qt::SkipEmptyParts);
    if (parts.size() >= 2 && parts[0] == u"api"_s) {
        if (parts[1] == u"users"_s)
            return users(r, parts.mid(2));
        if (parts[1] == u"bottles"_s && parts.size() == 3)
            return bottles(r, parts[2]);
        if (parts[1] == u"friends"_s)
            return friends(r, parts.mid(2));
        if (parts[1] == u"version"_s)
            return version(r, parts.mid(2));
    }
    return refuse(404, u"接口不存在"_s);
}

FakeAnswer FakeCompanionState::users(const RecordedRequest& r, const QStringList& parts)
{
    const QJsonObject body = r.jsonBody();
    if (r.method == "GET" && parts == QStringList { u"check-email"_s }) {
        const User* user = findUser(r.queryValue(u"email"_s).value_or(QString()));
        if (!user)
            return refuse(404, u"用户不存在"_s);
        return ok(envelope(u"用户已存在"_s, userJson(*user)));
    }
    if (r.method == "POST" && parts == QStringList { u"auth"_s }) {
        const QString email = body.value(u"email"_s).toString();
        if (email.isEmpty())
            return refuse(400, u"缺少邮箱"_s);
        if (User* user = findUser(email)) {
            if (user->password != body.value(u"password"_s).toString())
                return refuse(401, u"密码错误"_s);
            QJsonObject o = envelope(u"登录成功"_s, userJson(*user));
            o.insert(u"isNew"_s, false);
            return ok(o);
        }
        const qint64 id = addUser(email, body.value(u"nickname"_s).toString(), body.value(u"avatarEmoji"_s).toString(),
            body.value(u"password"_s).toString());
        QJsonObject o = envelope(u"注册成功"_s, userJson(*findUser(id)));
        o.insert(u"isNew"_s, true);
        return ok(o);
    }
    if (r.method == "PUT" && parts.size() == 1) {
        User* user = findUser(parts[0].toLongLong());
        if (!user)
            return refuse(404, u"用户不存在"_s);
        if (body.contains(u"nickname"_s))
            user->nickname = body.value(u"nickname"_s).toString();
        if (body.contains(u"avatarEmoji"_s))
            user->avatarEmoji = body.value(u"avatarEmoji"_s).toString();
        if (body.contains(u"bio"_s))
            user->bio = body.value(u"bio"_s).toString();
        user->updatedAt = tick();
        return ok(envelope(u"更新成功"_s, userJson(*user)));
    }
    return refuse(404, u"接口不存在"_s);
}

FakeAnswer FakeCompanionState::bottles(const RecordedRequest& r, const QString& action)
{
    const QJsonObject body = r.jsonBody();
    const qint64 userId = r.queryValue(u"userId"_s).value_or(QString()).toLongLong();
    if (r.method == "POST" && action == u"throw"_s) {
        const QString content = body.value(u"content"_s).toString();
        if (!findUser(body.value(u"senderId"_s).toInteger()))
            return refuse(400, u"用户不存在"_s);
        if (content.isEmpty())
            return refuse(400, u"内容不能为空"_s);
        if (isSensitive(content))
            return refuse(400, u"内容包含敏感词，请修改后再发送"_s);
        const QString id = addBottle(body.value(u"senderId"_s).toInteger(), content);
        Bottle* b = findBottle(id);
        b->senderName = body.value(u"senderName"_s).toString();
        b->senderEmoji = body.value(u"senderEmoji"_s).toString();
        for (const QJsonValue& t : body.value(u"theme"_s).toArray())
            b->theme.append(t.toString());
        b->bottleType = body.value(u"bottleType"_s).toString(u"normal"_s);
        b->isAnonymous = body.value(u"isAnonymous"_s).toBool();
        return ok(envelope(u"瓶子已丢出"_s, bottleJson(*b)));
    }
    if (r.method == "GET" && action == u"pick"_s) {
        for (const Bottle& b : m_bottles) {
            if (b.status == u"floating"_s && b.senderId != userId) {
                pickBottle(b.id, userId);
                return ok(envelope(u"捡到一个瓶子"_s, bottleJson(*findBottle(b.id))));
            }
        }
        return refuse(404, u"暂时没有可以捡的瓶子"_s);
    }
    if (r.method == "GET" && (action == u"sent"_s || action == u"received"_s)) {
        QJsonArray list;
        for (auto it = m_bottles.crbegin(); it != m_bottles.crend(); ++it) {
            if (action == u"sent"_s ? it->senderId == userId : it->pickedBy == userId)
                list.append(bottleJson(*it));
        }
        return ok(envelope(u"获取成功"_s, list));
    }
    if (r.method == "POST" && action == u"reply"_s) {
        Bottle* b = findBottle(body.value(u"bottleId"_s).toString());
        if (!b)
            return refuse(404, u"瓶子不存在"_s);
        const QString content = body.value(u"content"_s).toString();
        if (isSensitive(content))
            return refuse(400, u"内容包含敏感词，请修改后再发送"_s);
        const qint64 index
            = std::count_if(m_replies.begin(), m_replies.end(), [&](const Reply& x) { return x.bottleId == b->id; });
        Reply reply { u"reply-"_s + QString::number(m_nextReply++), b->id, content,
            body.value(u"senderId"_s).toInteger(), body.value(u"receiverId"_s).toInteger(), index + 1, false, tick() };
        m_replies.append(reply);
        b->status = u"replied"_s;
        b->updatedAt = reply.createdAt;
        return ok(envelope(u"回复成功"_s, replyJson(reply)));
    }
    if (r.method == "GET" && action == u"conversations"_s) {
        QJsonArray list;
        for (const QJsonObject& row : conversationsOf(userId))
            list.append(row);
        return ok(envelope(u"获取成功"_s, list));
    }
    if (r.method == "GET" && action == u"conversation-history"_s) {
        const Bottle* b = findBottle(r.queryValue(u"bottleId"_s).value_or(QString()));
        if (!b || (b->senderId != userId && b->pickedBy != userId))
            return refuse(404, u"对话不存在"_s);
        QJsonArray list;
        for (Reply& reply : m_replies) {
            if (reply.bottleId != b->id)
                continue;
            list.append(replyJson(reply));
            if (reply.receiverId == userId)
                reply.isRead = true;
        }
        return ok(envelope(u"获取成功"_s, QJsonObject { { u"bottle"_s, bottleJson(*b) }, { u"replies"_s, list } }));
    }
    if (r.method == "POST" && action == u"delete-conversation"_s) {
        const QString bottleId = body.value(u"bottleId"_s).toString();
        if (!findBottle(bottleId))
            return refuse(404, u"对话不存在"_s);
        m_deletedConversations.insert({ body.value(u"userId"_s).toInteger(), bottleId });
        return ok(envelope(u"对话已删除"_s, QJsonValue::Undefined));
    }
    return refuse(404, u"接口不存在"_s);
}
