#pragma once

#include <functional>

/// Runs the event loop until the condition holds or the time is up; returns the condition.
bool waitUntil(const std::function<bool()>& condition, int timeoutMs = 5000);
