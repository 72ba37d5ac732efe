#include "core/link.h"
