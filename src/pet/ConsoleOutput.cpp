#include "pet/ConsoleOutput.h"

#include "shell/StandardOutput.h"

void printConsoleLine(const QString& line)
{
    StandardOutput::printLine(line);
}
