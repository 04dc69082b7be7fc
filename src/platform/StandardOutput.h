#pragma once

#include <QString>

/// Diagnostic lines that go to standard output only, never to the program log
/// (start-up progress, the monitors, notifications, launch at login).
namespace StandardOutput {

/// Writes the line as UTF-8 with a line feed and flushes at once.
void printLine(const QString& line);

} // namespace StandardOutput
