#include "core/timing.h"
