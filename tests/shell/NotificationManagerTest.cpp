#include "shell/NotificationManager.h"
#include "core/EventCenter.h"
#include "platform/Defaults.h"

#include "FakeNotificationBackend.h"
#include "StdoutCapture.h"
#include "support/FakeClock.h"

#include <QJsonObject>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

struct Rig
{
    QTemporaryDir dir;
    Defaults defaults { dir.filePath(u"defaults.json"_s) };
    FakeNotificationBackend backend;
    FakeClock clock;

    std::unique_ptr<NotificationManager> make()
    {
        return std::make_unique<NotificationManager>(backend, defaults, &clock);
    }
};

AppNotification general(const QString& title)
{
    return AppNotification::make(
        title, u"body"_s, NotificationType::general, NotificationPriority::normal, QDateTime::currentDateTime());
}

SystemHealth health(double cpu, double memory, double disk)
{
    return SystemHealth::fromFigures(cpu, memory, disk, QDateTime::currentDateTime());
}

} // namespace

TEST(NotificationManager, DeliversToServiceHistoryAndEventCentre)
{
    Rig rig;
    auto manager = rig.make();
    QSignalSpy received(&EventCenter::shared(), &EventCenter::appNotificationReceived);
    StdoutCapture out;

    const AppNotification welcome
        = AppNotification::make(u"🐱 Tamsel"_s, u"欢迎回来！你的桌面宠物已经准备好陪伴你了～"_s,
            NotificationType::general, NotificationPriority::normal, rig.clock.now());
    manager->sendNotification(welcome);

    ASSERT_EQ(rig.backend.requests.size(), 1);
    const auto& request = rig.backend.requests.first();
    EXPECT_EQ(request.identifier, u"general_"_s + welcome.id);
    EXPECT_EQ(request.title, u"🐱 Tamsel"_s);
    EXPECT_EQ(request.body, welcome.body);
    EXPECT_EQ(request.urgency, SystemNotifications::Urgency::normal);
    EXPECT_EQ(request.sound, SystemNotifications::Sound::standard);
    ASSERT_EQ(received.size(), 1);
    EXPECT_EQ(received.at(0).at(0).value<AppNotification>().id, welcome.id);
    EXPECT_EQ(manager->notificationHistory().size(), 1);
    EXPECT_TRUE(out.text().contains(u"📢 发送通知: [一般通知] 🐱 Tamsel"_s)) << out.text().toStdString();
}

TEST(NotificationManager, HistoryKeepsFiftyNewestFirst)
{
    Rig rig;
    auto manager = rig.make();
    for (int i = 1; i <= 51; ++i)
        manager->sendNotification(general(QString::number(i)));
    const auto& history = manager->notificationHistory();
    ASSERT_EQ(history.size(), 50);
    EXPECT_EQ(history.first().title, u"51"_s);
    EXPECT_EQ(history.last().title, u"2"_s);
}

TEST(NotificationManager, StoredSwitchesFilterByType)
{
    {
        Rig rig;
        rig.defaults.setValue(NotificationManager::settingsKey, QJsonObject { { u"timeSegment"_s, false } });
        auto manager = rig.make();
        manager->sendTimeSegmentNotification(TimeSegment::morning, TimeSegment::afternoon);
        manager->sendNotification(general(u"still on"_s));
        ASSERT_EQ(manager->notificationHistory().size(), 1) << "a switched-off type skips the history too";
        EXPECT_EQ(rig.backend.requests.size(), 1);
    }
    {
        Rig rig;
        rig.defaults.setValue(
            NotificationManager::settingsKey, QJsonObject { { u"general"_s, true }, { u"unknownKind"_s, false } });
        auto manager = rig.make();
        manager->sendTimeSegmentNotification(TimeSegment::morning, TimeSegment::afternoon);
        EXPECT_EQ(manager->notificationHistory().size(), 1) << "a type without an entry counts as on";
        EXPECT_EQ(manager->notificationSettings().size(), 1) << "unknown keys are skipped";
    }
    {
        Rig rig;
        rig.defaults.setValue(
            NotificationManager::settingsKey, QJsonObject { { u"timeSegment"_s, false }, { u"general"_s, u"no"_s } });
        auto manager = rig.make();
        manager->sendTimeSegmentNotification(TimeSegment::morning, TimeSegment::afternoon);
        EXPECT_EQ(manager->notificationHistory().size(), 1) << "a value of the wrong form is ignored whole";
    }
}

TEST(NotificationManager, RefusedPermissionDropsEverything)
{
    Rig rig;
    rig.backend.grant = false;
    rig.backend.authorizationError = u"org.freedesktop.DBus.Error.ServiceUnknown"_s;
    StdoutCapture out;
    auto manager = rig.make();
    EXPECT_FALSE(manager->isNotificationEnabled());
    EXPECT_TRUE(out.text().contains(u"📢 通知权限被拒绝"_s));
    EXPECT_TRUE(out.text().contains(u"📢 通知权限请求错误: org.freedesktop.DBus.Error.ServiceUnknown"_s));

    manager->sendNotification(general(u"x"_s));
    EXPECT_TRUE(manager->notificationHistory().isEmpty());
    EXPECT_TRUE(rig.backend.requests.isEmpty());
}

TEST(NotificationManager, HealthNotificationTextAndPriority)
{
    EXPECT_EQ(NotificationManager::systemHealthBody(health(0.85, 0.95, 0.95)),
        u"CPU: 85.0%, 内存: 95.0%\n⚠️ CPU使用率过高"_s);
    EXPECT_EQ(NotificationManager::systemHealthBody(health(0.5, 0.81, 0.2)),
        u"CPU: 50.0%, 内存: 81.0%\n⚠️ 内存使用率过高"_s);
    EXPECT_EQ(NotificationManager::systemHealthBody(health(0.123, 0.0, 0.91)),
        u"CPU: 12.3%, 内存: 0.0%\n⚠️ 磁盘空间不足"_s);
    EXPECT_EQ(NotificationManager::systemHealthBody(health(0.8, 0.8, 0.9)), u"CPU: 80.0%, 内存: 80.0%"_s)
        << "the warnings start above their limits";

    Rig rig;
    auto manager = rig.make();
    manager->sendSystemHealthNotification(health(0.95, 0.2, 0.3));
    manager->sendSystemHealthNotification(health(0.75, 0.2, 0.3));
    ASSERT_EQ(manager->notificationHistory().size(), 2);
    const AppNotification& critical = manager->notificationHistory().at(1);
    EXPECT_EQ(critical.title, u"系统状态: ❤️ 严重"_s);
    EXPECT_EQ(critical.priority, NotificationPriority::critical);
    EXPECT_EQ(critical.type, NotificationType::systemHealth);
    ASSERT_TRUE(critical.data.has_value());
    EXPECT_EQ(critical.data->value(u"healthLevel"_s).toString(), u"critical"_s);
    EXPECT_DOUBLE_EQ(critical.data->value(u"cpuUsage"_s).toDouble(), 0.95);
    EXPECT_EQ(rig.backend.requests.at(0).urgency, SystemNotifications::Urgency::critical);
    EXPECT_EQ(rig.backend.requests.at(0).sound, SystemNotifications::Sound::critical);

    const AppNotification& warning = manager->notificationHistory().at(0);
    EXPECT_EQ(warning.title, u"系统状态: 🧡 警告"_s);
    EXPECT_EQ(warning.priority, NotificationPriority::high);
    EXPECT_EQ(rig.backend.requests.at(1).sound, SystemNotifications::Sound::standard);
}

TEST(NotificationManager, TurnsLoadDaySegmentAndMoodEventsIntoNotifications)
{
    Rig rig;
    auto manager = rig.make();
    EventCenter& events = EventCenter::shared();

    Q_EMIT events.systemHealthCritical(health(0.2, 0.97, 0.1));
    Q_EMIT events.timeSegmentDidChange(TimeSegment::afternoon, TimeSegment::evening);
    Q_EMIT events.systemHealthDidChange(health(0.1, 0.1, 0.1), health(0.6, 0.1, 0.1));

    const auto& history = manager->notificationHistory();
    ASSERT_EQ(history.size(), 2) << "a plain level change is not a notification";
    const AppNotification& segment = history.at(0);
    EXPECT_EQ(segment.title, u"时间变化 🌆"_s);
    EXPECT_EQ(segment.body, u"现在是傍晚时间，宠物行为将相应调整"_s);
    EXPECT_EQ(segment.priority, NotificationPriority::low);
    EXPECT_EQ(segment.data->value(u"oldSegment"_s).toString(), u"afternoon"_s);
    EXPECT_EQ(segment.data->value(u"newSegment"_s).toString(), u"evening"_s);
    EXPECT_EQ(rig.backend.requests.at(1).sound, SystemNotifications::Sound::none);
    EXPECT_EQ(rig.backend.requests.at(1).urgency, SystemNotifications::Urgency::low);
    EXPECT_EQ(history.at(1).body, u"CPU: 20.0%, 内存: 97.0%\n⚠️ 内存使用率过高"_s);

    Q_EMIT events.petEmotionChanged();
    ASSERT_EQ(history.size(), 3);
    EXPECT_EQ(history.at(0).title, u"🐱 情绪变化"_s);
    EXPECT_EQ(history.at(0).body, u"宠物情绪发生了变化"_s);
    EXPECT_EQ(history.at(0).priority, NotificationPriority::low);
    EXPECT_EQ(history.at(0).type, NotificationType::petStatus);
}
