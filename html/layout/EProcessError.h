#pragma once
#include "util/Exception.h"

// A section could not be built or laid out; the cell drops it and goes on.
QUILLON_DECLARE_ERROR(EProcessError);
