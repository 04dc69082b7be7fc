#pragma once

#include "core/EventCenter.h"
#include "platform/Defaults.h"
#include "reminders/MinuteTicker.h"
#include "reminders/ReminderManager.h"

#include "FakeNotificationBackend.h"
#include "support/FakeClock.h"

#include <QJsonArray>
#include <QTemporaryDir>

#include <memory>

/// A reminder manager over a fake clock, a fake notification service and a defaults file
/// of the test's own, with the firings it announced.
struct ReminderRig
{
    QTemporaryDir dir;
    FakeClock clock { QDateTime(QDate(2026, 1, 5), QTime(9, 0, 10)) };
    Defaults defaults { dir.filePath(QStringLiteral("defaults.json")) };
    FakeNotificationBackend notifications;
    MinuteTicker ticker { clock };
    std::unique_ptr<ReminderManager> manager;
    QList<Reminder> announced;
    QList<QDateTime> announcedAt;

    ReminderRig()
    {
        QObject::connect(&EventCenter::shared(), &EventCenter::reminderTriggered, &ticker, [this](const Reminder& r) {
            announced.append(r);
            announcedAt.append(clock.now());
        });
    }

    ReminderManager& create()
    {
        manager.reset();
        manager = std::make_unique<ReminderManager>(clock, defaults, notifications, ticker);
        return *manager;
    }

    /// Moves the clock to `time` and lets the ticker beat, as its timer would.
    void beatAt(const QDateTime& time)
    {
        clock.set(time);
        ticker.tick();
    }

    [[nodiscard]] QJsonArray stored() const { return defaults.value(ReminderManager::remindersKey).toArray(); }
};
