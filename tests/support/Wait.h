#pragma once

#include <functional>

/// Runs the event loop until the condition holds or the time is up; returns the condition.
bool waitUntil(const std::function<bool()>& condition, int timeoutMs = 5000);

/// Sleeps until the monotonic clock, which Qt's timers run on, stands just past a whole
/// second. A coarse timer started then is rounded down onto that second, up to 5 % of its
/// interval early, so a timer that must not fire early is tested at its weakest moment.
void waitUntilJustPastAWholeSecond();
