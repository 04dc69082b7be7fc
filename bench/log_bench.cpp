// What one log call costs its caller: building the entry, the standard-output echo and
// queueing the list update. Measured on the main thread with the file writer idle, on the
// main thread while the writer works through a large batch, and from four threads at once.
//
// Standard output goes to /dev/null during the runs, so the figures include the echo's
// write call but not the speed of a terminal; the results go to the original output.
#include "platform/LogManager.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <thread>
#include <unistd.h>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

FILE* results = stdout;

struct Figures
{
    double medianNs = 0;
    double p99Ns = 0;
    double maxNs = 0;
};

Figures summarise(std::vector<double> samples)
{
    std::sort(samples.begin(), samples.end());
    const auto at = [&](double q) { return samples[static_cast<size_t>(q * static_cast<double>(samples.size() - 1))]; };
    return { at(0.5), at(0.99), samples.back() };
}

void print(const char* label, size_t calls, const Figures& f)
{
    std::fprintf(results, "%-44s %8zu calls  median %7.0f ns  p99 %7.0f ns  max %9.0f ns\n", label, calls, f.medianNs,
        f.p99Ns, f.maxNs);
    std::fflush(results);
}

// Times each call; between blocks of calls the main loop runs (untimed), as it would in
// the program, so queued list updates do not pile up without end.
std::vector<double> timeCalls(LogManager& logger, int calls, bool runEventLoop)
{
    const QString message = u"✅ 好友消息已送达: 你好，今天也要好好喝水哦"_s;
    const QString category = u"Friend"_s;
    std::vector<double> samples;
    samples.reserve(static_cast<size_t>(calls));
    for (int i = 0; i < calls; ++i) {
        const auto start = std::chrono::steady_clock::now();
        logger.record(message, category);
        const auto end = std::chrono::steady_clock::now();
        samples.push_back(std::chrono::duration<double, std::nano>(end - start).count());
        if (runEventLoop && i % 1000 == 999)
            QCoreApplication::processEvents();
    }
    return samples;
}

} // namespace

int main(int argc, char** argv)
{
    std::fflush(stdout);
    const int terminal = dup(STDOUT_FILENO);
    results = fdopen(terminal, "w");
    const int devNull = open("/dev/null", O_WRONLY);
    if (!results || devNull < 0 || dup2(devNull, STDOUT_FILENO) < 0)
        return 1;

    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    LogManager logger(dir.path()); // the program's 3 s batches

    timeCalls(logger, 20000, true); // warm-up
    logger.flushAndWait();

    constexpr int measured = 200000;
    print("main thread, writer idle", measured, summarise(timeCalls(logger, measured, true)));
    logger.flushAndWait();

    // A batch far larger than any the program makes: 400k lines, about 40 MB.
    timeCalls(logger, 400000, true);
    QCoreApplication::sendPostedEvents(&logger, QEvent::MetaCall);
    QElapsedTimer handOver;
    handOver.start();
    logger.flushPendingLogs();
    const qint64 handOverNs = handOver.nsecsElapsed();
    const auto busy = timeCalls(logger, measured, true);
    QElapsedTimer drain;
    drain.start();
    logger.flushAndWait();
    const qint64 stillBusyMs = drain.elapsed();
    print("main thread, writer busy with 400k lines", measured, summarise(busy));
    std::fprintf(results,
        "  handing the 400k-line batch to the writer: %.1f us; writer still busy %lld ms after the run\n",
        static_cast<double>(handOverNs) / 1000.0, static_cast<long long>(stillBusyMs));

    // Four threads log at once while the main loop delivers their lines.
    constexpr int threads = 4;
    std::vector<std::vector<double>> perThread(threads);
    std::vector<std::thread> workers;
    for (int t = 0; t < threads; ++t)
        workers.emplace_back(
            [&, t] { perThread[static_cast<size_t>(t)] = timeCalls(logger, measured / threads, false); });
    // A join that keeps the main loop turning, so the threads' queued updates are taken in.
    std::atomic<bool> joined = false;
    std::thread joiner([&] {
        for (auto& worker : workers)
            worker.join();
        joined = true;
    });
    while (!joined)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    joiner.join();
    std::vector<double> all;
    for (const auto& samples : perThread)
        all.insert(all.end(), samples.begin(), samples.end());
    print("four threads at once", all.size(), summarise(all));
    logger.flushAndWait();

    std::fprintf(results, "target: median under 5000 ns\n");
    std::fclose(results);
    return 0;
}
