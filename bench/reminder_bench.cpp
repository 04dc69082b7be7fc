// One minute's check with 1,000 alarms and 1,000 reminders, none of them due: the alarm
// rules, the reminders' next times and the check's log lines (a line per enabled reminder,
// echoed to standard output and taken into the in-memory log). Target: under 2 ms for the
// check itself; the log lines' share is measured on its own, since it is the log's cost.
// Also one check in which all 1,000 reminders fire at once (after a long sleep), with the
// notifications handed to a service that records them and one store of the list.
//
// Standard output goes to /dev/null during the runs, so the figures include the echo's
// write call but not the speed of a terminal; the results go to the original output.
#include "BenchServices.h"
#include "core/EventCenter.h"
#include "platform/Clock.h"
#include "platform/Defaults.h"
#include "platform/LogManager.h"
#include "platform/Screens.h"
#include "platform/SystemNotifications.h"
#include "reminders/AlarmManager.h"
#include "reminders/AlarmWindowManager.h"
#include "reminders/MinuteTicker.h"
#include "reminders/ReminderManager.h"
#include "reminders/ReminderSchedule.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <fcntl.h>
#include <functional>
#include <unistd.h>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

class SteppedClock final : public Clock
{
public:
    QDateTime time { QDate(2026, 1, 5), QTime(9, 0, 10) };
    [[nodiscard]] QDateTime now() const override { return time; }
};

class CountingNotifications final : public SystemNotifications
{
public:
    int count = 0;
    CountingNotifications()
        : SystemNotifications(QDBusConnection(u"none"_s))
    {
    }
    void add(const Request&, CompletionHandler) override { ++count; }
};

struct Figures
{
    double median = 0;
    double p99 = 0;
    double max = 0;
};

Figures summarise(std::vector<double> ms)
{
    std::sort(ms.begin(), ms.end());
    const auto at = [&](double q) { return ms[static_cast<size_t>(q * static_cast<double>(ms.size() - 1))]; };
    return { at(0.5), at(0.99), ms.back() };
}

/// What the event loop does with the log lines a check queued, counted with the check.
void drainLog()
{
    QCoreApplication::sendPostedEvents(&LogManager::shared(), QEvent::MetaCall);
}

} // namespace

int main(int argc, char** argv)
{
    QTemporaryDir home;
    qputenv("XDG_DATA_HOME", home.filePath(u"data"_s).toUtf8());
    qputenv("XDG_CONFIG_HOME", home.filePath(u"config"_s).toUtf8());
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    BenchServices services(home.filePath(u"log"_s));

    const int terminal = dup(STDOUT_FILENO);
    FILE* results = fdopen(terminal, "w");
    const int devNull = open("/dev/null", O_WRONLY);
    if (!results || devNull < 0 || dup2(devNull, STDOUT_FILENO) < 0)
        return 2;

    SteppedClock clock;
    Defaults defaults(home.filePath(u"defaults.json"_s));
    CountingNotifications notifications;
    MinuteTicker ticker(clock);
    Screens screens(QList<ScreenGeometry> { { QRect(0, 0, 1440, 900), QRect(0, 30, 1440, 870) } });
    AlarmWindowManager windows(screens);
    ReminderManager reminders(clock, defaults, notifications, ticker);
    AlarmManager alarms(clock, defaults, ticker, windows);
    for (int i = 0; i < 1000; ++i) {
        Alarm alarm;
        alarm.id = Alarm::newId();
        alarm.title = u"闹钟 "_s + QString::number(i);
        alarm.message = u"时间到了"_s;
        alarm.type = AlarmType::work;
        // Every one at 07:xx, so none rings during the measured 09:xx minutes.
        alarm.time = QDateTime(QDate(2026, 1, 1), QTime(7, i % 60));
        alarm.repeatType = allAlarmRepeatTypes[static_cast<size_t>(i % 5)];
        alarm.customWeekdays = { 2, 4, 6 };
        alarm.createdAt = clock.time;
        alarms.addAlarm(alarm);
        Reminder reminder = createDefaultReminder(allReminderTypes[static_cast<size_t>(i % 5)], clock.time);
        reminder.interval = 24 * 3600; // not due today
        reminders.addReminder(reminder);
    }
    for (const Reminder& r : reminders.reminders().mid(0, 3))
        reminders.toggleReminder(r.id); // the seeded defaults would fire within the hour
    reminders.startReminderSystem();
    alarms.startMonitoring();
    drainLog();

    constexpr int runs = 200;
    // Each part alone, then both as the ticker runs them.
    const auto measure = [&](const std::function<void(const QDateTime&)>& check) {
        std::vector<double> ms;
        ms.reserve(runs);
        for (int i = 0; i < runs + 10; ++i) {
            clock.time = QDateTime(QDate(2026, 1, 5), QTime(9, 1)).addSecs(60 * i);
            QElapsedTimer timer;
            timer.start();
            check(clock.time);
            drainLog();
            const double elapsed = static_cast<double>(timer.nsecsElapsed()) / 1e6;
            if (i >= 10) // the first runs warm the caches and the allocator
                ms.push_back(elapsed);
        }
        return summarise(std::move(ms));
    };
    const Figures alarmsOnly = measure([&](const QDateTime& minute) { alarms.checkAlarms(minute); });
    const Figures remindersOnly = measure([&](const QDateTime& minute) { reminders.checkPendingReminders(minute); });
    const Figures quiet = measure([&](const QDateTime&) { ticker.tick(); });
    // The share of the log: the same number of lines of the same shape, on their own.
    const int lines = static_cast<int>(reminders.getEnabledReminders().size()) + 1;
    const Figures logOnly = measure([&](const QDateTime&) {
        for (int i = 0; i < lines; ++i)
            LogManager::log(u"   [喝水提醒] 下次: 09:31:00, 应触发: false"_s, u"Reminder"_s);
    });
    const int rung = static_cast<int>(windows.openCount());

    // A day later every reminder is overdue and fires, once.
    clock.time = QDateTime(QDate(2026, 1, 6), QTime(9, 30));
    QElapsedTimer burst;
    burst.start();
    ticker.tick();
    drainLog();
    const double burstMs = static_cast<double>(burst.nsecsElapsed()) / 1e6;

    std::fprintf(results, "minute check, 1000 alarms + 1000 enabled reminders, none due (%d runs):\n", runs);
    std::fprintf(results, "  alarms alone:      median %.3f ms, p99 %.3f ms\n", alarmsOnly.median, alarmsOnly.p99);
    std::fprintf(results, "  reminders alone:   median %.3f ms, p99 %.3f ms, with %d log lines\n", remindersOnly.median,
        remindersOnly.p99, lines);
    std::fprintf(results, "  both, as ticked:   median %.3f ms, p99 %.3f ms, max %.3f ms; cards opened: %d\n",
        quiet.median, quiet.p99, quiet.max, rung);
    std::fprintf(results, "  %d log lines alone: median %.3f ms, p99 %.3f ms\n", lines, logOnly.median, logOnly.p99);
    std::fprintf(results, "  check without its log lines: about %.3f ms (target < 2 ms)\n",
        std::max(0.0, quiet.median - logOnly.median));
    std::fprintf(results, "minute check in which all 1000 reminders fire: %.1f ms, %d notifications\n", burstMs,
        notifications.count);
    std::fflush(results);
    return std::max(0.0, quiet.median - logOnly.median) < 2.0 ? 0 : 1;
}
