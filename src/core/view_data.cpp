#include "core/view_data.h"
