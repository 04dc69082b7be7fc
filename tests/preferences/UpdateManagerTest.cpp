// The update checker against the fake companion server: every outcome, which of them
// reach the user, the throttling of automatic checks and replies that are not answers.
#include "preferences/UpdateManager.h"
#include "platform/Alerts.h"
#include "platform/Defaults.h"
#include "platform/JsonReader.h"
#include "preferences/UpdateResponse.h"
#include "support/FakeClock.h"
#include "support/FakeCompanionServer.h"
#include "support/LogLines.h"
#include "support/Wait.h"

#include <QSignalSpy>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

struct Updates : ::testing::Test
{
    QTemporaryDir dir;
    Defaults defaults { dir.filePath(u"defaults.json"_s) };
    FakeClock clock;
    FakeCompanionServer server;
    QList<QUrl> opened;
    std::unique_ptr<UpdateManager> manager;

    void SetUp() override
    {
        ASSERT_TRUE(server.start());
        Alerts::clearAnsweredAlerts();
        make(u"1.0.0"_s);
    }

    void make(const QString& version, int timeoutMs = UpdateManager::requestTimeoutMs, QString base = {})
    {
        manager = std::make_unique<UpdateManager>(
            defaults, clock, base.isNull() ? server.baseUrl() : base,
            [this](const QUrl& url) {
                opened.append(url);
                return true;
            },
            version, timeoutMs);
    }

    /// Runs one check to its end, answering its alert (if any) with `answer`.
    void check(bool manual, int answer = 0)
    {
        Alerts::setNextAnswers({ answer });
        manual ? manager->checkForUpdatesManually() : manager->checkForUpdatesAutomatically();
        ASSERT_TRUE(waitUntil([&] { return !manager->isChecking(); }, 15000));
        Alerts::setNextAnswers({});
    }

    [[nodiscard]] QStringList alertTitles() const
    {
        QStringList titles;
        for (const Alerts::Record& r : Alerts::answeredAlerts())
            titles.append(r.title);
        return titles;
    }
};

} // namespace

TEST_F(Updates, EachOutcomeReachesTheUserOnlyWhenItShould)
{
    const QString noUpdate = u"已是最新版本 ✅"_s;
    const QString failed = u"检查更新失败"_s;
    const QString offer = u"发现新版本 🎉"_s;
    const struct
    {
        const char* what;
        std::optional<ScriptedReply> reply;
        QString manualAlert;
        QString automaticAlert;
        QString logLine;
    } cases[] = {
        { "no update", std::nullopt, noUpdate, {}, u"✅ 已是最新版本"_s },
        { "not JSON", ScriptedReply { 200, "<html>oops</html>" }, failed, {}, u"❌ 解析更新信息失败: "_s },
        { "empty body", ScriptedReply { 200, "" }, failed, {}, u"❌ 解析更新信息失败: "_s },
        { "no data", ScriptedReply { 200, R"({"success":true})" }, failed, {}, {} },
        { "refused", ScriptedReply { 200, R"({"success":false,"data":null})" }, failed, {}, {} },
        { "data lacks latestVersion",
            ScriptedReply { 200, R"({"success":true,"data":{"hasUpdate":true,"currentVersion":"1.0.0"}})" }, failed, {},
            u"❌ 解析更新信息失败: "_s },
        { "error status, readable body",
            ScriptedReply { 503,
                R"({"success":true,"data":{"hasUpdate":false,"currentVersion":"1.0.0","latestVersion":"1.0.0"}})" },
            noUpdate, {}, u"✅ 已是最新版本"_s },
        { "connection dropped", ScriptedReply { std::nullopt, {}, 0, true }, failed, {}, u"❌ 检查更新失败: "_s },
        // (the network layer resends once on a dropped connection, so the fake drops twice)
        { "offer",
            ScriptedReply {
                200, R"({"success":true,"data":{"hasUpdate":true,"currentVersion":"1.0.0","latestVersion":"2.0.0"}})" },
            offer, offer, u"✅ 发现新版本: 2.0.0"_s },
    };
    for (const auto& c : cases) {
        for (const bool manual : { true, false }) {
            SCOPED_TRACE(std::string(c.what) + (manual ? " (manual)" : " (automatic)"));
            make(u"1.0.0"_s);
            Alerts::clearAnsweredAlerts();
            const qsizetype logged = loggedLines(u"Update"_s).size();
            if (c.reply) {
                server.scriptNext(*c.reply);
                if (c.reply->dropConnection)
                    server.scriptNext(*c.reply);
            }
            check(manual, 1);
            const QString expected = manual ? c.manualAlert : c.automaticAlert;
            EXPECT_EQ(alertTitles(), expected.isEmpty() ? QStringList() : QStringList { expected });
            const QStringList lines = loggedLines(u"Update"_s).mid(logged);
            if (!c.logLine.isEmpty()) {
                EXPECT_TRUE(std::any_of(lines.begin(), lines.end(), [&](const QString& l) {
                    return l.startsWith(c.logLine);
                })) << lines.join(u" | "_s).toStdString();
            }
        }
    }
}

TEST_F(Updates, AsksWithItsVersionAndNothingElse)
{
    make(u"1.9.9"_s);
    server.state().latestVersion = u"1.10.0"_s;
    server.state().releaseNotes = u"<b>修复</b>\n更快"_s;
    check(true, 1);
    const RecordedRequest& request = server.lastRequest();
    EXPECT_EQ(request.method, "GET");
    EXPECT_EQ(request.target, "/api/version/check?currentVersion=1.9.9");
    EXPECT_FALSE(request.hasHeader("X-User-Id"));
    EXPECT_FALSE(request.hasHeader("Content-Type"));

    // The fake compares versions number by number, so 1.10.0 is an offer for 1.9.9.
    ASSERT_EQ(Alerts::answeredAlerts().size(), 1);
    const Alerts::Record alert = Alerts::answeredAlerts().constFirst();
    EXPECT_EQ(alert.text, u"当前版本：1.9.9\n最新版本：1.10.0\n\n更新内容：\n<b>修复</b>\n更快\n\n是否立即下载？"_s);
    EXPECT_EQ(alert.buttons, (QStringList { u"立即下载"_s, u"稍后提醒"_s, u"忽略此版本"_s }));
    EXPECT_TRUE(manager->hasUpdate());
    EXPECT_EQ(manager->latestVersion(), u"1.10.0"_s);
    EXPECT_EQ(manager->downloadURL(), server.state().downloadUrl);
}

TEST_F(Updates, AnOfferAnnouncesEachFieldItChanges)
{
    QSignalSpy hasUpdate(manager.get(), &UpdateManager::hasUpdateChanged);
    QSignalSpy latest(manager.get(), &UpdateManager::latestVersionChanged);
    QSignalSpy download(manager.get(), &UpdateManager::downloadURLChanged);
    QSignalSpy notes(manager.get(), &UpdateManager::releaseNotesChanged);
    const auto counts = [&] {
        return QList<qsizetype> { hasUpdate.size(), latest.size(), download.size(), notes.size() };
    };

    server.state().latestVersion = u"1.2.0"_s;
    server.state().releaseNotes = u"修复"_s;
    check(false, 1);
    EXPECT_EQ(counts(), (QList<qsizetype> { 1, 1, 1, 1 }));
    EXPECT_EQ(manager->releaseNotes(), u"修复"_s);

    // The same offer again changes nothing, and a refused reply leaves the fields alone.
    check(true, 1);
    server.scriptNext({ 200, R"({"success":false})" });
    check(true);
    EXPECT_EQ(counts(), (QList<qsizetype> { 1, 1, 1, 1 }));

    // A newer offer without notes: its version and the notes' going are announced.
    server.state().latestVersion = u"1.3.0"_s;
    server.state().releaseNotes.reset();
    check(true, 1);
    EXPECT_EQ(counts(), (QList<qsizetype> { 1, 2, 1, 2 }));
    EXPECT_EQ(manager->latestVersion(), u"1.3.0"_s);
    EXPECT_FALSE(manager->releaseNotes().has_value());
}

TEST_F(Updates, TheOffersAnswersOpenTheSiteOrStoreTheIgnoredVersion)
{
    server.state().latestVersion = u"1.2.0"_s;
    check(true, 0);
    EXPECT_EQ(opened, (QList<QUrl> { QUrl(ProductInfo::websiteAddress) })) << "the website, not the download address";
    EXPECT_TRUE(loggedLines(u"Update"_s).contains(u"🔗 打开官网: "_s + ProductInfo::websiteAddress));

    check(true, 2);
    EXPECT_EQ(defaults.string(UpdateManager::ignoredVersionKey), u"1.2.0"_s);
    // Ignoring is only noted: the same offer comes again.
    Alerts::clearAnsweredAlerts();
    check(true, 1);
    EXPECT_EQ(alertTitles(), QStringList { u"发现新版本 🎉"_s });
    EXPECT_EQ(opened.size(), 1);
    EXPECT_EQ(loggedLines(u"Update"_s).count(u"⏰ 用户选择稍后提醒"_s), 1);

    // Closed without a button (the program quits): no choice is recorded.
    check(true, -1);
    EXPECT_EQ(loggedLines(u"Update"_s).count(u"⏰ 用户选择稍后提醒"_s), 1);
    EXPECT_EQ(opened.size(), 1);
    EXPECT_EQ(defaults.string(UpdateManager::ignoredVersionKey), u"1.2.0"_s);
}

TEST_F(Updates, AutomaticChecksWaitADayButManualOnesNever)
{
    check(false);
    EXPECT_EQ(server.requests().size(), 1);
    clock.advanceSecs(86399);
    check(false);
    EXPECT_EQ(server.requests().size(), 1);
    EXPECT_TRUE(loggedLines(u"Update"_s).contains(u"距离上次检查不足24小时，跳过自动检查"_s));

    check(true);
    EXPECT_EQ(server.requests().size(), 2);
    clock.advanceSecs(86399);
    check(false);
    EXPECT_EQ(server.requests().size(), 2) << "a manual check restarts the day";
    clock.advanceSecs(1);
    check(false);
    EXPECT_EQ(server.requests().size(), 3);
}

TEST_F(Updates, ACheckUnderWayRefusesAnotherAndASilentServerTimesOut)
{
    make(u"1.0.0"_s, 300);
    server.scriptNext({ std::nullopt, {}, 5000 });
    Alerts::setNextAnswers({ 0 });
    QSignalSpy checking(manager.get(), &UpdateManager::isCheckingChanged);
    manager->checkForUpdatesManually();
    manager->checkForUpdatesManually();
    EXPECT_EQ(loggedLines(u"Update"_s).count(u"正在检查更新中，跳过"_s), 1);
    ASSERT_TRUE(waitUntil([&] { return !manager->isChecking(); }));
    EXPECT_EQ(server.requests().size(), 1);
    EXPECT_EQ(alertTitles(), QStringList { u"检查更新失败"_s });
    EXPECT_TRUE(loggedLines(u"Update"_s).contains(u"❌ 检查更新失败: 请求超时"_s));
    EXPECT_EQ(checking.size(), 2);
}

TEST_F(Updates, AnAddressThatIsNoURLFailsAtOnce)
{
    make(u"1.0.0"_s, 1000, u"not a url"_s);
    check(true);
    EXPECT_EQ(alertTitles(), QStringList { u"检查更新失败"_s });
    Alerts::clearAnsweredAlerts();
    check(false);
    EXPECT_TRUE(alertTitles().isEmpty());
    EXPECT_TRUE(server.requests().isEmpty());
}

TEST_F(Updates, VersionDefaultsAndLongNotes)
{
    QCoreApplication::setApplicationVersion({});
    make({});
    EXPECT_EQ(manager->currentVersion(), u"1.0.0"_s);
    check(true);
    EXPECT_EQ(Alerts::answeredAlerts().constLast().text, u"当前版本 1.0.0 已经是最新版本。"_s);

    UpdateData data;
    data.currentVersion = u"1.0.0"_s;
    data.latestVersion = u"2.0.0"_s;
    EXPECT_EQ(
        UpdateManager::updateAlertText(data), u"当前版本：1.0.0\n最新版本：2.0.0\n\n更新内容：\n\n\n是否立即下载？"_s);
    data.releaseNotes = QString(100000, u'字');
    const QString text = UpdateManager::updateAlertText(data);
    EXPECT_LT(text.size(), 1600);
    EXPECT_TRUE(text.endsWith(u"…\n\n是否立即下载？"_s));
    data.releaseNotes = u"行\n"_s.repeated(500);
    EXPECT_LE(UpdateManager::updateAlertText(data).count(u'\n'), UpdateManager::maxShownNoteLines + 8);
}

TEST_F(Updates, ReplyRecordsRoundTrip)
{
    const QByteArray body
        = R"({"success":true,"data":{"hasUpdate":true,"currentVersion":"1","latestVersion":"2","fileSize":"3 MB","extra":1}})";
    const UpdateResponse response = UpdateResponse::decode(body);
    ASSERT_TRUE(response.data);
    EXPECT_EQ(response.data->fileSize, u"3 MB"_s);
    EXPECT_FALSE(response.data->releaseNotes);
    const QJsonObject json = response.toJson();
    EXPECT_FALSE(json.value(u"data"_s).toObject().contains(u"releaseNotes"_s));
    EXPECT_EQ(UpdateResponse::fromJson(JsonReader(json)).toJson(), json);
    EXPECT_THROW((void)UpdateResponse::decode(R"({"success":true,"data":{"hasUpdate":"yes"}})"), JsonDecodeError);
    EXPECT_THROW((void)UpdateResponse::decode("[]"), JsonDecodeError);
}
