#pragma once

#include <QString>

/// The system's own log (syslog, which the journal collects where one runs), for messages
/// about the program that do not belong in its own log. The program's name tags each line.
namespace SystemLog {

/// Writes the line at the information level; without a system log it is lost.
void info(const QString& line);

} // namespace SystemLog
