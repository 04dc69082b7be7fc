#include "core/EventCenter.h"
