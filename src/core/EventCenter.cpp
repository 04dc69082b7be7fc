#include "core/EventCenter.h"

EventCenter& EventCenter::shared()
{
    static EventCenter* instance = new EventCenter;
    return *instance;
}
