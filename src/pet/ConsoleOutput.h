#pragma once

#include <QString>

/// Writes one line to standard output only, for the diagnostic messages that do not belong
/// in the program log.
void printConsoleLine(const QString& line);
