// What one change costs an open management page with 1,000 rows: the manager's change,
// the rows rebuilt from its list, the row-by-row diff and the view's bookkeeping (the
// repaint itself comes later, from the event loop, and only for rows on screen).
// Measured for a switch flipped from the page (the most frequent change), a row deleted
// in the middle, and a row added at the end.
#include "BenchServices.h"
#include "platform/Clock.h"
#include "platform/Defaults.h"
#include "platform/Screens.h"
#include "reminders/AlarmManager.h"
#include "reminders/AlarmWindowManager.h"
#include "reminders/MinuteTicker.h"
#include "reminders/pages/AlarmManagementView.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

struct Figures
{
    double median = 0;
    double p99 = 0;
};

Figures measure(int runs, const std::function<void(int)>& step)
{
    std::vector<double> ms;
    QElapsedTimer timer;
    for (int i = 0; i < runs; ++i) {
        timer.start();
        step(i);
        ms.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(ms.begin(), ms.end());
    return { ms[ms.size() / 2], ms[static_cast<size_t>(0.99 * static_cast<double>(ms.size() - 1))] };
}

void print(const char* what, const Figures& f)
{
    std::printf("%-40s median %7.3f ms   p99 %7.3f ms\n", what, f.median, f.p99);
}

} // namespace

int main(int argc, char** argv)
{
    QTemporaryDir home;
    qputenv("XDG_DATA_HOME", home.filePath(u"data"_s).toUtf8());
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    BenchServices services(home.filePath(u"log"_s));
    Defaults defaults(home.filePath(u"defaults.json"_s));
    Clock& clock = Clock::system();
    MinuteTicker ticker(clock);
    Screens screens(QList<ScreenGeometry> { { QRect(0, 0, 1440, 900), QRect(0, 30, 1440, 870) } });
    AlarmWindowManager windows(screens);
    AlarmManager alarms(clock, defaults, ticker, windows);

    const auto make = [&](int i) {
        Alarm alarm;
        alarm.id = Alarm::newId();
        alarm.title = u"闹钟 "_s + QString::number(i);
        alarm.message = u"该起来活动一下了"_s;
        alarm.type = AlarmType::work;
        alarm.time = QDateTime(QDate(2026, 1, 5), QTime(i % 24, i % 60));
        alarm.repeatType = i % 2 ? AlarmRepeatType::custom : AlarmRepeatType::once;
        alarm.customWeekdays = { 2, 4, 6 };
        alarm.isEnabled = false;
        alarm.createdAt = clock.now();
        return alarm;
    };
    for (int i = 0; i < 999; ++i)
        alarms.addAlarm(make(i));

    std::printf("%lld alarms, no page open\n", static_cast<long long>(alarms.alarms().size()));
    print("switch flipped", measure(200, [&](int i) { alarms.toggleAlarm(alarms.alarms()[i % 500].id); }));

    AlarmManagementView page(alarms, clock);
    page.resize(600, 500);
    page.show();
    QCoreApplication::processEvents();

    std::printf("alarm page with %lld rows (the manager stores the list on every change)\n",
        static_cast<long long>(alarms.alarms().size()));
    print("switch flipped", measure(200, [&](int i) { alarms.toggleAlarm(alarms.alarms()[i % 500].id); }));
    print("row deleted in the middle", measure(100, [&](int) { alarms.removeAlarm(alarms.alarms()[500].id); }));
    print("row added at the end", measure(100, [&](int i) { alarms.addAlarm(make(i)); }));
    return 0;
}
