#include "platform/Defaults.h"
#include "platform/SystemNotifications.h"
#include "shell/NotificationManager.h"

#include "FakeNotificationService.h"
#include "PrivateBus.h"
#include "support/Wait.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

/// Each test talks to a fake daemon on a bus of its own.
class SystemNotificationsOverDBus : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (!bus.isRunning())
            GTEST_SKIP() << "dbus-daemon could not be started for a private bus";
    }

    PrivateBus bus;
};

bool authorize(SystemNotifications& notifications, QString* error = nullptr)
{
    std::optional<bool> answer;
    notifications.requestAuthorization([&](bool granted, const QString& e) {
        answer = granted;
        if (error)
            *error = e;
    });
    EXPECT_FALSE(answer.has_value()) << "the answer must come later, not inside the call";
    waitUntil([&] { return answer.has_value(); });
    return answer.value_or(false);
}

} // namespace

TEST_F(SystemNotificationsOverDBus, PermissionIsTheServiceAnswering)
{
    FakeNotificationService service(bus.connect(u"daemon"_s));
    ASSERT_TRUE(service.isRegistered());
    SystemNotifications notifications(bus.connect(u"client"_s));
    EXPECT_TRUE(authorize(notifications));

    SystemNotifications noBus { QDBusConnection(u"not-connected"_s) };
    QString error;
    EXPECT_FALSE(authorize(noBus, &error));
    EXPECT_FALSE(error.isEmpty());
}

TEST_F(SystemNotificationsOverDBus, NotifyCarriesUrgencySoundAndEscapedBody)
{
    FakeNotificationService service(bus.connect(u"daemon"_s));
    ASSERT_TRUE(service.isRegistered());
    SystemNotifications notifications(bus.connect(u"client"_s));
    ASSERT_TRUE(authorize(notifications));

    int done = 0;
    notifications.add({ u"systemHealth_1"_s, u"系统状态: ❤️ 严重"_s, u"<b>CPU</b> & more"_s,
                          SystemNotifications::Urgency::critical, SystemNotifications::Sound::critical },
        [&](const QString& error) {
            EXPECT_TRUE(error.isEmpty()) << error.toStdString();
            ++done;
        });
    notifications.add({ u"timeSegment_2"_s, u"时间变化 🌙"_s, u"现在是夜晚时间"_s, SystemNotifications::Urgency::low,
                          SystemNotifications::Sound::none },
        [&](const QString&) { ++done; });
    ASSERT_TRUE(waitUntil([&] { return done == 2; }));

    ASSERT_EQ(service.calls().size(), 2);
    const auto& critical = service.calls().at(0);
    EXPECT_EQ(critical.appName, u"Tamsel"_s);
    EXPECT_EQ(critical.summary, u"系统状态: ❤️ 严重"_s);
    EXPECT_EQ(critical.body, u"&lt;b&gt;CPU&lt;/b&gt; &amp; more"_s);
    EXPECT_EQ(critical.hints.value(u"urgency"_s).toInt(), 2);
    EXPECT_EQ(critical.hints.value(u"urgency"_s).metaType(), QMetaType::fromType<uchar>()) << "urgency is a byte";
    EXPECT_EQ(critical.hints.value(u"sound-name"_s).toString(), u"dialog-warning"_s);
    EXPECT_EQ(critical.expireTimeout, -1);

    const auto& quiet = service.calls().at(1);
    EXPECT_EQ(quiet.hints.value(u"urgency"_s).toInt(), 0);
    EXPECT_TRUE(quiet.hints.value(u"suppress-sound"_s).toBool());
    EXPECT_FALSE(quiet.hints.contains(u"sound-name"_s));
}

TEST_F(SystemNotificationsOverDBus, PlainTextServiceGetsTheBodyUnescaped)
{
    FakeNotificationService service(bus.connect(u"daemon"_s), { u"body"_s });
    ASSERT_TRUE(service.isRegistered());
    SystemNotifications notifications(bus.connect(u"client"_s));
    ASSERT_TRUE(authorize(notifications));
    bool done = false;
    notifications.add({ u"general_1"_s, u"t"_s, u"a < b & c"_s, SystemNotifications::Urgency::normal,
                          SystemNotifications::Sound::standard },
        [&](const QString&) { done = true; });
    ASSERT_TRUE(waitUntil([&] { return done; }));
    ASSERT_EQ(service.calls().size(), 1);
    EXPECT_EQ(service.calls().at(0).body, u"a < b & c"_s);
    EXPECT_EQ(service.calls().at(0).hints.value(u"sound-name"_s).toString(), u"message-new-instant"_s);
}

TEST_F(SystemNotificationsOverDBus, SameIdentifierReplacesUntilClosed)
{
    FakeNotificationService service(bus.connect(u"daemon"_s));
    ASSERT_TRUE(service.isRegistered());
    SystemNotifications notifications(bus.connect(u"client"_s));
    ASSERT_TRUE(authorize(notifications));

    int done = 0;
    auto send = [&](const QString& identifier) {
        notifications.add(
            { identifier, u"t"_s, u"b"_s, SystemNotifications::Urgency::normal, SystemNotifications::Sound::standard },
            [&](const QString&) { ++done; });
    };
    send(u"general_a"_s);
    ASSERT_TRUE(waitUntil([&] { return done == 1; }));
    send(u"general_a"_s);
    send(u"general_b"_s);
    ASSERT_TRUE(waitUntil([&] { return done == 3; }));
    ASSERT_EQ(service.calls().size(), 3);
    EXPECT_EQ(service.calls().at(0).replacesId, 0u);
    EXPECT_EQ(service.calls().at(1).replacesId, 1u) << "a newer notification of the same identifier replaces it";
    EXPECT_EQ(service.calls().at(2).replacesId, 0u);

    // Once the daemon has closed it, the next one is shown afresh.
    // The daemon's signal reaches us before its answer to a later call, so one round trip
    // is enough to know the closing was seen.
    service.closeNotification(1);
    ASSERT_TRUE(authorize(notifications));
    send(u"general_a"_s);
    ASSERT_TRUE(waitUntil([&] { return done == 4; }));
    EXPECT_EQ(service.calls().at(3).replacesId, 0u);
}

TEST_F(SystemNotificationsOverDBus, ManagerDeliversTheWelcomeOverTheBus)
{
    FakeNotificationService service(bus.connect(u"daemon"_s));
    ASSERT_TRUE(service.isRegistered());
    QTemporaryDir dir;
    Defaults defaults(dir.filePath(u"defaults.json"_s));
    SystemNotifications notifications(bus.connect(u"client"_s));
    NotificationManager manager(notifications, defaults);

    manager.sendNotification(AppNotification::make(u"🐱 Tamsel"_s, u"欢迎回来！你的桌面宠物已经准备好陪伴你了～"_s,
        NotificationType::general, NotificationPriority::normal, QDateTime::currentDateTime()));
    ASSERT_TRUE(waitUntil([&] { return service.calls().size() == 1; }));
    EXPECT_EQ(service.calls().at(0).summary, u"🐱 Tamsel"_s);
    EXPECT_EQ(service.calls().at(0).body, u"欢迎回来！你的桌面宠物已经准备好陪伴你了～"_s);
    EXPECT_EQ(service.calls().at(0).hints.value(u"urgency"_s).toInt(), 1);
    EXPECT_TRUE(manager.isNotificationEnabled());
}
