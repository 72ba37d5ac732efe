#include "core/verdict.h"
