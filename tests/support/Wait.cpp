#include "support/Wait.h"

#include <QTest>

#include <chrono>
#include <thread>

bool waitUntil(const std::function<bool()>& condition, int timeoutMs)
{
    return QTest::qWaitFor(condition, timeoutMs);
}

void waitUntilJustPastAWholeSecond()
{
    using namespace std::chrono;
    const auto pastTheSecond = [] { return steady_clock::now().time_since_epoch() % seconds(1); };
    while (pastTheSecond() < milliseconds(300) || pastTheSecond() > milliseconds(310))
        std::this_thread::sleep_for(microseconds(500));
}
