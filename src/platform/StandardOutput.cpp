#include "platform/StandardOutput.h"

#include <cstdio>

namespace StandardOutput {

void printLine(const QString& line)
{
    const QByteArray bytes = line.toUtf8() + '\n';
    // One fwrite holds the stdio lock, so lines from different threads never interleave.
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stdout);
    std::fflush(stdout);
}

} // namespace StandardOutput
