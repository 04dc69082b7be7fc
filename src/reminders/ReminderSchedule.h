#pragma once

#include "core/Reminder.h"

#include <QDateTime>

#include <optional>

/// The default reminder of a type, created at `now`, enabled, with a fresh id.
[[nodiscard]] Reminder createDefaultReminder(ReminderType type, const QDateTime& now);
