// The bottle manager against the fake companion server: the requests of every operation,
// the content rules, the local store of bottles thrown offline, and failures.
#include "DriftBottleRig.h"

#include "driftbottle/InputError.h"

#include <QFile>
#include <QJsonArray>
#include <QRegularExpression>
#include <QSignalSpy>

using namespace Qt::StringLiterals;

namespace {

const QString driftBottle = u"DriftBottle"_s;

QJsonArray storedArray(const Defaults& defaults)
{
    return defaults.value(DriftBottleManager::offlineSentBottlesKey).toArray();
}

QStringList ids(const QList<DriftBottle>& bottles)
{
    QStringList out;
    for (const DriftBottle& b : bottles)
        out.append(b.id);
    return out;
}

} // namespace

TEST_F(DriftBottleRig, OnlineThrowSendsTheRequestAndKeepsNothingLocally)
{
    const qint64 alice = signIn();
    for (const bool anonymous : { false, true }) {
        SCOPED_TRACE(anonymous);
        LogCapture logs;
        const auto thrown = await(bottles->throwBottle(u"晚安"_s, { u"夜"_s }, BottleType::wish, anonymous));
        ASSERT_TRUE(thrown.ok()) << errorText(thrown).toStdString();
        // The real id and emoji go along even for an anonymous bottle; only the name hides.
        const QJsonObject body { { u"senderId"_s, alice }, { u"senderName"_s, anonymous ? u"匿名"_s : u"爱丽丝"_s },
            { u"senderEmoji"_s, u"🐱"_s }, { u"content"_s, u"晚安"_s }, { u"theme"_s, QJsonArray { u"夜"_s } },
            { u"bottleType"_s, u"wish"_s }, { u"isAnonymous"_s, anonymous } };
        expectRequest(server.lastRequest(), "POST", "/api/bottles/throw", body, QByteArray::number(alice));
        EXPECT_EQ(bottles->sentBottles().first().id, thrown.value->id);
        EXPECT_TRUE(logs.has(u"✅ 瓶子已丢出（在线）: "_s + thrown.value->id, driftBottle));
    }
    EXPECT_EQ(bottles->sentBottles().size(), 2);
    EXPECT_FALSE(defaults->contains(DriftBottleManager::offlineSentBottlesKey));
}

TEST_F(DriftBottleRig, ContentIsCountedAsPeopleSeeItAndRefusedBeforeAnythingHappens)
{
    const QString family = u"👨‍👩‍👧‍👦"_s; // one character of seven code points
    const struct
    {
        QString content;
        QString refusal;
    } cases[] = {
        { QString(), u"瓶子内容不能为空"_s }, { QString(1000, u'a'), {} },
        { QString(1001, u'a'), u"瓶子内容不能超过 1000 字符"_s }, { family.repeated(1000), {} },
        { family.repeated(1001), u"瓶子内容不能超过 1000 字符"_s }, { u"e\u0301"_s.repeated(1000), {} },
        { u" \n "_s, {} }, // nothing is trimmed: blanks are content
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.content.left(12).toStdString());
        QSignalSpy loading(bottles.get(), &DriftBottleManager::isLoadingChanged);
        const auto thrown = await(bottles->throwBottle(c.content, {}, BottleType::normal, false));
        settle();
        if (c.refusal.isEmpty()) {
            EXPECT_TRUE(thrown.ok());
            continue;
        }
        ASSERT_FALSE(thrown.ok());
        try {
            std::rethrow_exception(thrown.error);
        } catch (const InputError& e) {
            EXPECT_EQ(e.domain(), driftBottle);
            EXPECT_EQ(e.message(), c.refusal);
            EXPECT_EQ(InputError::code, 400);
        }
        EXPECT_EQ(loading.count(), 0);
    }
    EXPECT_EQ(requestCount(), 0);
}

TEST_F(DriftBottleRig, OfflineThrowBuildsTheBottleFromWhatTheAccountHolds)
{
    const struct
    {
        bool signedInBefore;
        bool onlineMode;
        bool anonymous;
        qint64 senderId;
        QString name;
        QString emoji;
    } cases[] = {
        { false, false, false, -1, u"无名氏"_s, u"🐱"_s },
        { false, false, true, -1, u"匿名"_s, u"🐱"_s },
        { false, true, false, -1, u"无名氏"_s, u"🐱"_s }, // online mode without a user is still local
        { true, false, false, 1, u"鲍勃"_s, u"🐶"_s }, // switched to stand-alone: the user stays
        { true, false, true, 1, u"匿名"_s, u"🐶"_s },
    };
    const QRegularExpression upperUuid(u"^[0-9A-F]{8}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{12}$"_s);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name.toStdString());
        if (c.signedInBefore && !users->currentUser())
            signIn(u"bob@x.io"_s, u"鲍勃"_s, u"🐶"_s);
        users->setUserMode(c.onlineMode ? UserMode::online : UserMode::offline);
        const qsizetype before = requestCount();
        LogCapture logs;
        const auto thrown = await(bottles->throwBottle(u"你好"_s, { u"t"_s }, BottleType::lucky, c.anonymous));
        ASSERT_TRUE(thrown.ok());
        const DriftBottle& b = *thrown.value;
        EXPECT_EQ(requestCount(), before);
        EXPECT_TRUE(upperUuid.match(b.id).hasMatch()) << b.id.toStdString();
        EXPECT_EQ(b.senderId, c.senderId);
        EXPECT_EQ(b.senderName, c.name);
        EXPECT_EQ(b.senderEmoji, c.emoji);
        EXPECT_EQ(b.status, BottleStatus::floating);
        EXPECT_EQ(b.bottleType, BottleType::lucky);
        EXPECT_EQ(b.isAnonymous, c.anonymous);
        EXPECT_EQ(b.createdAt, clock.now());
        EXPECT_EQ(bottles->sentBottles().first().id, b.id);
        EXPECT_EQ(storedArray(*defaults).first().toObject().value(u"id"_s).toString(), b.id);
        EXPECT_TRUE(logs.has(u"✅ 瓶子已保存到本地（离线）: "_s + b.id, driftBottle));
    }
}

TEST_F(DriftBottleRig, BottlesThrownOfflineSurviveARestartAndAnOnlineFetch)
{
    const auto first = await(bottles->throwBottle(u"一"_s, {}, BottleType::normal, false));
    const auto second = await(bottles->throwBottle(u"二"_s, {}, BottleType::normal, false));
    launch();
    EXPECT_EQ(ids(bottles->sentBottles()), (QStringList { second.value->id, first.value->id }));
    EXPECT_EQ(bottles->sentBottles().first().createdAt, clock.now());

    // Online, the sent list is the server's, which knows nothing of the local bottles ...
    const qint64 alice = signIn();
    const QString onServer = server.state().addBottle(alice, u"服务器上的"_s);
    ASSERT_TRUE(await(bottles->fetchMySentBottles()).ok());
    expectRequest(server.lastRequest(), "GET", "/api/bottles/sent?userId=1", std::nullopt, "1");
    EXPECT_EQ(ids(bottles->sentBottles()), QStringList { onServer });

    // ... and the next offline throw must not wipe them from the store.
    users->setUserMode(UserMode::offline);
    const auto third = await(bottles->throwBottle(u"三"_s, {}, BottleType::normal, false));
    launch();
    EXPECT_EQ(
        ids(bottles->sentBottles()), (QStringList { third.value->id, onServer, second.value->id, first.value->id }));

    // Offline, fetching re-reads the store.
    ASSERT_TRUE(await(bottles->fetchMySentBottles()).ok());
    EXPECT_EQ(bottles->sentBottles().size(), 4);
}

TEST_F(DriftBottleRig, StoredBottlesThatCannotBeReadAreSetAsideAndTheRestKept)
{
    const QJsonObject good { { u"id"_s, u"B1"_s }, { u"content"_s, u"旧瓶子"_s }, { u"sender_id"_s, -1 },
        { u"sender_name"_s, u"无名氏"_s }, { u"sender_emoji"_s, u"🐱"_s }, { u"status"_s, u"floating"_s },
        { u"theme"_s, QJsonArray() }, { u"bottle_type"_s, u"normal"_s }, { u"is_anonymous"_s, false },
        { u"view_count"_s, 0 }, { u"passed_count"_s, 0 }, { u"virtual_distance"_s, 0 },
        { u"virtual_path"_s, QJsonArray() }, { u"created_at"_s, u"2024-05-01T08:30:00Z"_s },
        { u"updated_at"_s, u"2024-05-01T08:30:00Z"_s } };
    QJsonObject broken = good;
    broken.remove(u"view_count"_s);
    const struct
    {
        const char* name;
        QJsonValue stored;
        QStringList readable;
        QJsonArray aside;
    } cases[] = {
        { "a stored list", QJsonArray { good }, { u"B1"_s }, {} },
        { "one bad element", QJsonArray { good, broken }, { u"B1"_s }, { broken } },
        { "not a list", u"[]"_s, {}, { u"[]"_s } },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        defaults->remove(DriftBottleManager::unreadableKey);
        defaults->setValue(DriftBottleManager::offlineSentBottlesKey, c.stored);
        LogCapture logs;
        launch();
        ASSERT_EQ(ids(bottles->sentBottles()), c.readable);
        if (!c.readable.isEmpty()) {
            EXPECT_EQ(bottles->sentBottles().first().createdAt, QDateTime(QDate(2024, 5, 1), QTime(8, 30), Qt::UTC));
        }
        const auto thrown = await(bottles->throwBottle(u"新"_s, {}, BottleType::normal, false));
        ASSERT_TRUE(thrown.ok());
        // The new bottle and every readable one are stored; the rest waits aside.
        EXPECT_EQ(ids(bottles->sentBottles()), QStringList { thrown.value->id } + c.readable);
        QStringList stored;
        for (const QJsonValue& bottle : storedArray(*defaults))
            stored.append(bottle.toObject().value(u"id"_s).toString());
        EXPECT_EQ(stored, ids(bottles->sentBottles()));
        EXPECT_EQ(defaults->value(DriftBottleManager::unreadableKey).toArray(), c.aside);
        EXPECT_EQ(
            logs.lines(driftBottle).filter(u"❌ 加载离线瓶子失败: "_s).size(), c.stored.isArray() ? c.aside.size() : 0);
    }
}

TEST_F(DriftBottleRig, PickListAndReplyRequests)
{
    const qint64 bob = server.state().addUser(u"bob@x.io"_s, u"鲍勃"_s, u"🐶"_s, u"pw"_s);
    const QString floating = server.state().addBottle(bob, u"有人吗"_s);
    const qint64 alice = signIn();
    const QByteArray id = QByteArray::number(alice);
    LogCapture logs;

    const auto picked = await(bottles->pickRandomBottle());
    ASSERT_TRUE(picked.ok());
    expectRequest(server.lastRequest(), "GET", "/api/bottles/pick?userId=" + id, std::nullopt, id);
    EXPECT_EQ(ids(bottles->receivedBottles()), QStringList { floating });
    EXPECT_TRUE(logs.has(u"✅ 捡到瓶子（在线）: "_s + floating, driftBottle));

    ASSERT_TRUE(await(bottles->fetchMyReceivedBottles()).ok());
    expectRequest(server.lastRequest(), "GET", "/api/bottles/received?userId=" + id, std::nullopt, id);
    EXPECT_EQ(ids(bottles->receivedBottles()), QStringList { floating });
    EXPECT_TRUE(logs.has(u"✅ 获取到 1 个已接收瓶子（在线）"_s, driftBottle));

    const auto reply = await(bottles->replyToBottle(floating, bob, u" "_s));
    ASSERT_TRUE(reply.ok());
    expectRequest(server.lastRequest(), "POST", "/api/bottles/reply",
        QJsonObject {
            { u"bottleId"_s, floating }, { u"senderId"_s, alice }, { u"receiverId"_s, bob }, { u"content"_s, u" "_s } },
        id);
    EXPECT_TRUE(logs.has(u"✅ 回复已发送: "_s + reply.value->id, driftBottle));

    const auto empty = await(bottles->replyToBottle(floating, bob, QString()));
    EXPECT_EQ(errorText(empty), u"回复内容不能为空"_s);
}

TEST_F(DriftBottleRig, OfflineOperationsSendNothing)
{
    // A picked bottle from an earlier online session is not kept once offline.
    const qint64 bob = server.state().addUser(u"bob@x.io"_s, u"鲍勃"_s, u"🐶"_s, u"pw"_s);
    server.state().addBottle(bob, u"有人吗"_s);
    signIn();
    ASSERT_TRUE(await(bottles->pickRandomBottle()).ok());
    users->setUserMode(UserMode::offline);
    const qsizetype before = requestCount();
    settle();

    QSignalSpy loading(bottles.get(), &DriftBottleManager::isLoadingChanged);
    EXPECT_EQ(await(bottles->pickRandomBottle()).apiError()->kind(), APIError::Kind::offlineMode);
    settle();
    EXPECT_EQ(loading.count(), 2); // on, then off again
    // Offline wins over the empty text.
    EXPECT_EQ(await(bottles->replyToBottle(u"x"_s, 2, QString())).apiError()->kind(), APIError::Kind::offlineMode);
    ASSERT_TRUE(await(bottles->fetchMyReceivedBottles()).ok());
    EXPECT_TRUE(bottles->receivedBottles().isEmpty());
    EXPECT_FALSE(bottles->lastError());
    EXPECT_EQ(requestCount(), before);
}

TEST_F(DriftBottleRig, FailedServerCallsRecordTheErrorAndChangeNoList)
{
    makeClient(300);
    launch();
    const qint64 bob = server.state().addUser(u"bob@x.io"_s, u"鲍勃"_s, u"🐶"_s, u"pw"_s);
    server.state().addBottle(bob, u"有人吗"_s);
    signIn();
    ASSERT_TRUE(await(bottles->throwBottle(u"第一个"_s, {}, BottleType::normal, false)).ok());

    const struct
    {
        const char* name;
        ScriptedReply reply;
        APIError::Kind kind;
    } failures[] = {
        { "html 502", { 502, "<html><body>Bad Gateway</body></html>", 0, false }, APIError::Kind::serverError },
        { "undecodable 200", { 200, R"({"success":true,"message":"ok","data":{"id":7}})", 0, false },
            APIError::Kind::decodingError },
        { "no answer", { std::nullopt, {}, 2000, false }, APIError::Kind::networkError },
        { "not found", { 404, R"({"success":false,"message":"没有"})", 0, false }, APIError::Kind::notFound },
    };
    using Operation = std::function<std::optional<APIError>()>;
    const std::pair<QString, Operation> operations[] = {
        { u"❌ 丢瓶子失败: "_s,
            [&] { return await(bottles->throwBottle(u"又一个"_s, {}, BottleType::normal, false)).apiError(); } },
        { u"❌ 捡瓶子失败: "_s, [&] { return await(bottles->pickRandomBottle()).apiError(); } },
        { u"❌ 获取已发送瓶子失败: "_s, [&] { return await(bottles->fetchMySentBottles()).apiError(); } },
        { u"❌ 获取已接收瓶子失败: "_s, [&] { return await(bottles->fetchMyReceivedBottles()).apiError(); } },
        { u"❌ 回复失败: "_s, [&] { return await(bottles->replyToBottle(u"bottle-1"_s, bob, u"嗨"_s)).apiError(); } },
    };
    for (const auto& [prefix, operation] : operations) {
        for (const auto& f : failures) {
            SCOPED_TRACE(prefix.toStdString() + f.name);
            const QStringList sentBefore = ids(bottles->sentBottles());
            const QStringList receivedBefore = ids(bottles->receivedBottles());
            LogCapture logs;
            server.scriptNext(f.reply);
            const std::optional<APIError> error = operation();
            ASSERT_TRUE(error);
            EXPECT_EQ(error->kind(), f.kind);
            ASSERT_TRUE(bottles->lastError());
            EXPECT_EQ(bottles->lastError()->errorDescription(), error->errorDescription());
            EXPECT_TRUE(logs.has(prefix + error->errorDescription(), driftBottle));
            EXPECT_EQ(ids(bottles->sentBottles()), sentBefore);
            EXPECT_EQ(ids(bottles->receivedBottles()), receivedBefore);
            settle();
            EXPECT_FALSE(bottles->isLoading());
        }
    }
    // A later success leaves the last error in place.
    ASSERT_TRUE(await(bottles->fetchMySentBottles()).ok());
    EXPECT_TRUE(bottles->lastError());
}

TEST_F(DriftBottleRig, BusyFlagIsResetJustAfterTheOperationEnds)
{
    signIn();
    QList<bool> seen;
    QObject::connect(
        bottles.get(), &DriftBottleManager::isLoadingChanged, bottles.get(), [&](bool on) { seen.append(on); });
    const auto sent = await(bottles->fetchMySentBottles());
    ASSERT_TRUE(sent.ok());
    EXPECT_EQ(seen, QList<bool> { true });
    settle();
    EXPECT_EQ(seen, (QList<bool> { true, false }));
    EXPECT_FALSE(bottles->isLoading());
}

// A bottle thrown offline is on disk at once; a store that cannot be written says the bottle
// was not saved, and the throw itself still succeeds.
TEST_F(DriftBottleRig, AnOfflineBottleIsWrittenAtOnceAndAFailedWriteIsSaid)
{
    const auto kept = await(bottles->throwBottle(u"一"_s, {}, BottleType::normal, false));
    QFile written(dir.filePath(u"defaults.json"_s));
    ASSERT_TRUE(kept.ok() && written.open(QIODevice::ReadOnly));
    EXPECT_TRUE(written.readAll().contains(kept.value->id.toUtf8())) << "written without waiting for the store's delay";

    QFile blocker(dir.filePath(u"blocked"_s));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly)); // a file where the store's folder should be
    conversations.reset();
    bottles.reset();
    users.reset();
    defaults = std::make_unique<Defaults>(dir.filePath(u"blocked/defaults.json"_s));
    users = std::make_unique<UserManager>(*defaults, *client);
    bottles = std::make_unique<DriftBottleManager>(*client, *users, *defaults, clock);
    LogCapture logs;
    const auto lost = await(bottles->throwBottle(u"二"_s, {}, BottleType::normal, false));
    ASSERT_TRUE(lost.ok());
    EXPECT_EQ(logs.lines(driftBottle),
        (QStringList {
            u"❌ 保存离线瓶子失败: "_s + defaults->writeError(), u"✅ 瓶子已保存到本地（离线）: "_s + lost.value->id }));
    EXPECT_FALSE(defaults->writeError().isEmpty());
}
