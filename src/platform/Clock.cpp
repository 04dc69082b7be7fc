#include "platform/Clock.h"

namespace {

class SystemClock final : public Clock
{
public:
    [[nodiscard]] QDateTime nowUtc() const override { return QDateTime::currentDateTimeUtc(); }
};

} // namespace

Clock& Clock::system()
{
    static SystemClock clock;
    return clock;
}
