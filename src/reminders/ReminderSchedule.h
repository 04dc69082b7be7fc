#pragma once

#include "core/Reminder.h"

#include <QDateTime>

#include <optional>

/// When an enabled reminder fires next: its interval after the last firing (or after its
/// creation, before the first), rounded up to the whole minute, since the checks run on
/// whole minutes. A reminder whose interval is not a positive, representable number of
/// seconds never fires.
[[nodiscard]] std::optional<QDateTime> getNextTriggerTime(const Reminder& reminder);

/// The default reminder of a type, created at `now`, enabled, with a fresh id.
[[nodiscard]] Reminder createDefaultReminder(ReminderType type, const QDateTime& now);
