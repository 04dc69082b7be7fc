// The account against the fake companion server: modes, sign-in, sign-out, profile
// changes, and what survives a restart.
#include "ServerTestSupport.h"

#include "platform/Defaults.h"
#include "server/UserManager.h"

#include <QFile>
#include <QJsonDocument>
#include <QSignalSpy>
#include <QTemporaryDir>

using namespace Qt::StringLiterals;

namespace {

const QString user = u"User"_s;

class Account : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(server.start());
        client = std::make_unique<APIClient>(server.baseUrl(), [this]() -> std::optional<qint64> {
            if (manager && manager->currentUser())
                return manager->currentUser()->id;
            return std::nullopt;
        });
        defaults = std::make_unique<Defaults>(path());
    }

    [[nodiscard]] QString path() const { return dir.filePath(u"defaults.json"_s); }

    /// A fresh manager on the stored defaults, as at the next launch.
    void launch()
    {
        manager.reset();
        if (defaults)
            defaults->flush();
        defaults = std::make_unique<Defaults>(path());
        manager = std::make_unique<UserManager>(*defaults, *client);
    }

    void signIn()
    {
        manager->setUserMode(UserMode::online);
        ASSERT_TRUE(await(manager->loginOnline(u"alice@x.io"_s, u"爱丽丝"_s, u"🐱"_s, u"secret-pw"_s)).ok());
    }

    QTemporaryDir dir;
    FakeCompanionServer server;
    std::unique_ptr<APIClient> client;
    std::unique_ptr<Defaults> defaults;
    std::unique_ptr<UserManager> manager;
};

} // namespace

TEST_F(Account, FirstLaunchIsStandAloneWithoutUser)
{
    LogCapture logs;
    launch();
    EXPECT_EQ(manager->userMode(), UserMode::offline);
    EXPECT_FALSE(manager->currentUser());
    EXPECT_FALSE(manager->isLoggedIn());
    EXPECT_FALSE(manager->isOnlineMode());
    EXPECT_EQ(logs.lines(user), QStringList { u"👤 UserManager 初始化完成"_s });
}

TEST_F(Account, StoredModeMustBeExactlyARawValue)
{
    defaults->setValue(UserManager::userModeKey, u"Online"_s);
    launch();
    EXPECT_EQ(manager->userMode(), UserMode::offline);
    defaults->setValue(UserManager::userModeKey, u"online"_s);
    launch();
    EXPECT_EQ(manager->userMode(), UserMode::online);
}

TEST_F(Account, SignInIsStoredAndSurvivesARestart)
{
    launch();
    QSignalSpy account(manager.get(), &UserManager::accountChanged);
    QSignalSpy signedIn(manager.get(), &UserManager::signedIn);
    QList<QString> order;
    QObject::connect(manager.get(), &UserManager::accountChanged, [&] { order.append(u"account"_s); });
    QObject::connect(manager.get(), &UserManager::signedIn, [&] { order.append(u"signedIn"_s); });
    LogCapture logs;
    signIn();

    EXPECT_EQ(order, (QList<QString> { u"account"_s, u"signedIn"_s }))
        << "the menu rebuilds before the friend features start";
    ASSERT_TRUE(manager->currentUser());
    const DriftUser signedInUser = *manager->currentUser();
    EXPECT_EQ(signedInUser.email, u"alice@x.io"_s);
    EXPECT_TRUE(manager->isOnlineMode());
    EXPECT_TRUE(defaults->boolean(UserManager::isLoggedInKey));
    EXPECT_EQ(logs.lines(user),
        (QStringList { u"🔄 用户模式切换: online"_s, u"🔑 开始在线登录: email=alice@x.io, nickname=爱丽丝"_s,
            u"📡 准备调用 createOrGetUser API"_s, u"✅ API 返回成功: userId=1, email=alice@x.io"_s,
            u"✅ 用户登录成功: alice@x.io"_s }));
    EXPECT_FALSE(logs.anyContains(u"secret-pw"_s)) << "the password never reaches the log";

    // Stored as the record's JSON text, dates to the whole second.
    const QJsonValue stored = defaults->value(UserManager::currentUserKey);
    ASSERT_TRUE(stored.isString());
    const QJsonObject storedUser = QJsonDocument::fromJson(stored.toString().toUtf8()).object();
    EXPECT_EQ(storedUser.value(u"created_at"_s).toString(), u"2024-05-01T08:30:01Z"_s);

    LogCapture relaunch;
    launch();
    ASSERT_TRUE(manager->currentUser());
    EXPECT_EQ(manager->currentUser()->toJson(), signedInUser.toJson());
    EXPECT_EQ(manager->userMode(), UserMode::online);
    EXPECT_TRUE(manager->isOnlineMode());
    EXPECT_TRUE(relaunch.has(u"✅ 用户信息加载成功: 爱丽丝"_s, user));
    EXPECT_EQ(server.requests().size(), 1) << "a stored user is signed in again without a server call";

    ASSERT_TRUE(await(client->getConversations(1)).ok());
    EXPECT_EQ(server.lastRequest().header("X-User-Id"), "1");
}

TEST_F(Account, SignInNeedsOnlineModeAndSendsNothingOtherwise)
{
    launch();
    LogCapture logs;
    const auto error = await(manager->loginOnline(u"a@x.io"_s, u"a"_s, u"🐱"_s, u"pw"_s)).apiError();
    ASSERT_TRUE(error);
    EXPECT_EQ(error->kind(), APIError::Kind::offlineMode);
    EXPECT_EQ(error->errorDescription(), u"当前为单机模式，无法使用在线功能"_s);
    EXPECT_TRUE(logs.has(u"❌ 用户模式不是在线模式"_s, user));
    EXPECT_TRUE(server.requests().isEmpty());
    EXPECT_FALSE(manager->currentUser());
    EXPECT_FALSE(defaults->contains(UserManager::currentUserKey));
}

TEST_F(Account, FailedSignInLogsThreeLinesAndRethrowsTheClientsError)
{
    launch();
    manager->setUserMode(UserMode::online);
    server.scriptNext(ScriptedReply { 503, R"({"message":"维护中"})", 0, false });
    LogCapture logs;
    const auto error = await(manager->loginOnline(u"a@x.io"_s, u"a"_s, u"🐱"_s, u"pw"_s)).apiError();
    ASSERT_TRUE(error);
    EXPECT_EQ(error->kind(), APIError::Kind::serverError);
    EXPECT_EQ(error->detail(), u"{\"message\":\"维护中\"}"_s);
    const QStringList lines = logs.lines(user);
    ASSERT_GE(lines.size(), 3);
    EXPECT_EQ(lines.mid(lines.size() - 3),
        (QStringList { u"❌ 用户登录失败: 服务器错误: {\"message\":\"维护中\"}"_s, u"❌ 错误类型: APIError"_s,
            u"❌ 错误详情: serverError(\"{\"message\":\"维护中\"}\")"_s }));
    EXPECT_FALSE(manager->currentUser());
    EXPECT_FALSE(manager->isLoggedIn());
    EXPECT_FALSE(defaults->contains(UserManager::isLoggedInKey));
}

TEST_F(Account, OfflineModeKeepsTheUserButEndsTheSignIn)
{
    launch();
    signIn();
    manager->setUserMode(UserMode::offline);
    EXPECT_TRUE(manager->currentUser());
    EXPECT_FALSE(manager->isLoggedIn());
    EXPECT_TRUE(defaults->contains(UserManager::currentUserKey));

    launch();
    EXPECT_TRUE(manager->currentUser());
    EXPECT_FALSE(manager->isLoggedIn());
    EXPECT_FALSE(manager->isOnlineMode());
    manager->setUserMode(UserMode::online);
    EXPECT_FALSE(manager->isOnlineMode()) << "online mode alone does not sign in again";

    const auto error = await(manager->updateUserInfo(u"x"_s, {}, {})).apiError();
    ASSERT_TRUE(error);
    EXPECT_EQ(error->kind(), APIError::Kind::offlineMode);
    EXPECT_EQ(server.requests().size(), 1) << "only the sign-in reached the server";
}

TEST_F(Account, LogoutForgetsTheUserAndKeepsTheMode)
{
    launch();
    signIn();
    QList<QString> order;
    QObject::connect(manager.get(), &UserManager::signedOut, [&] { order.append(u"signedOut"_s); });
    QObject::connect(manager.get(), &UserManager::accountChanged, [&] { order.append(u"account"_s); });
    LogCapture logs;
    manager->logout();
    EXPECT_EQ(order, (QList<QString> { u"signedOut"_s, u"account"_s }));
    EXPECT_FALSE(manager->currentUser());
    EXPECT_FALSE(manager->isLoggedIn());
    EXPECT_EQ(manager->userMode(), UserMode::online);
    EXPECT_FALSE(defaults->contains(UserManager::currentUserKey));
    EXPECT_FALSE(defaults->boolean(UserManager::isLoggedInKey));
    EXPECT_EQ(logs.lines(user), QStringList { u"🚪 用户已登出"_s });

    launch();
    EXPECT_FALSE(manager->currentUser());
    ASSERT_TRUE(await(manager->loginOnline(u"alice@x.io"_s, u"爱丽丝"_s, u"🐱"_s, u"secret-pw"_s)).ok())
        << "no mode switch needed after logging out";
}

TEST_F(Account, ProfileChangeTakesTheServersRecordAsAWhole)
{
    launch();
    signIn();
    QSignalSpy account(manager.get(), &UserManager::accountChanged);
    LogCapture logs;
    ASSERT_TRUE(await(manager->updateUserInfo(std::nullopt, std::nullopt, std::nullopt)).ok());
    EXPECT_EQ(server.lastRequest().method, "PUT");
    EXPECT_EQ(server.lastRequest().target, "/api/users/1");
    EXPECT_EQ(server.lastRequest().body, "{}");
    EXPECT_TRUE(logs.has(u"✅ 用户信息更新成功"_s, user));
    EXPECT_EQ(account.count(), 1);

    ASSERT_TRUE(await(manager->updateUserInfo(u"艾丽"_s, u"🦊"_s, u"你好"_s)).ok());
    EXPECT_EQ(manager->currentUser()->nickname, u"艾丽"_s);
    EXPECT_EQ(manager->currentUser()->bio, u"你好"_s);
    launch();
    EXPECT_EQ(manager->currentUser()->avatarEmoji, u"🦊"_s) << "the new record is stored";

    server.scriptNext(ScriptedReply { 500, "oops", 0, false });
    LogCapture failure;
    const auto error = await(manager->updateUserInfo(u"再改"_s, {}, {})).apiError();
    ASSERT_TRUE(error);
    EXPECT_TRUE(failure.has(u"❌ 用户信息更新失败: 服务器错误: oops"_s, user));
    EXPECT_EQ(manager->currentUser()->nickname, u"艾丽"_s);
}

TEST_F(Account, ProfileReplyAfterSignOutDoesNotBringTheUserBack)
{
    launch();
    signIn();
    QSignalSpy account(manager.get(), &UserManager::accountChanged);
    // The request is on its way when the user signs out.
    QCoro::Task<> change = manager->updateUserInfo(u"艾丽"_s, {}, {});
    manager->logout();
    ASSERT_TRUE(await(std::move(change)).ok());
    EXPECT_EQ(server.lastRequest().method, "PUT");
    EXPECT_FALSE(manager->currentUser());
    EXPECT_FALSE(manager->isLoggedIn());
    EXPECT_EQ(account.count(), 1) << "only the sign-out rebuilds the menu";
    launch();
    EXPECT_FALSE(manager->currentUser()) << "nothing was stored again";
}

TEST_F(Account, UnreadableStoredUserLeavesNoUserButKeepsTheData)
{
    defaults->setValue(UserManager::userModeKey, u"online"_s);
    defaults->setValue(UserManager::isLoggedInKey, true);
    defaults->setValue(UserManager::currentUserKey, u"{\"id\":\"not a number\"}"_s);
    LogCapture logs;
    launch();
    EXPECT_FALSE(manager->currentUser());
    EXPECT_TRUE(manager->isLoggedIn());
    EXPECT_TRUE(manager->isOnlineMode());
    const QStringList lines = logs.lines(user);
    ASSERT_FALSE(lines.isEmpty());
    EXPECT_TRUE(lines.first().startsWith(u"❌ 用户信息加载失败: "_s)) << lines.first().toStdString();
    EXPECT_EQ(defaults->value(UserManager::currentUserKey).toString(), u"{\"id\":\"not a number\"}"_s);

    const auto error = await(manager->updateUserInfo(u"x"_s, {}, {})).apiError();
    ASSERT_TRUE(error);
    EXPECT_EQ(error->kind(), APIError::Kind::offlineMode) << "no user, no profile change";
}

// The sign-in is on disk as soon as it happens; a store that cannot be written says what was lost.
TEST_F(Account, ASignInIsWrittenAtOnceAndAFailedWriteIsSaid)
{
    launch();
    signIn();
    QFile written(path());
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_TRUE(written.readAll().contains("alice@x.io")) << "written without waiting for the store's delay";

    QFile blocker(dir.filePath(u"blocked"_s));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly)); // a file where the store's folder should be
    manager.reset();
    defaults = std::make_unique<Defaults>(dir.filePath(u"blocked/defaults.json"_s));
    manager = std::make_unique<UserManager>(*defaults, *client);
    LogCapture logs;
    signIn();
    const QStringList lines = logs.lines(user);
    ASSERT_GE(lines.size(), 2);
    EXPECT_TRUE(lines.at(lines.size() - 2).startsWith(u"❌ 用户信息保存失败: "_s + defaults->writeError()));
    EXPECT_FALSE(defaults->writeError().isEmpty());
    EXPECT_EQ(lines.last(), u"✅ 用户登录成功: alice@x.io"_s) << "the sign-in holds for this run";
}
