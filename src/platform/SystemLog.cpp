#include "platform/SystemLog.h"

#include <syslog.h>

namespace SystemLog {

void info(const QString& line)
{
    syslog(LOG_USER | LOG_INFO, "%s", line.toUtf8().constData());
}

} // namespace SystemLog
