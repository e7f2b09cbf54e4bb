// The module-wide objects of the library, defined together in one file so
// that they are built at load, and destroyed at unload, in a fixed order.
#pragma once

#include "probex/core/PxRunningCaseMap.h"
#include "probex/coverage/PxLineCounts.h"
#include "probex/view/PxLogWriter.h"

extern CPxRunningCaseMap g_mapRunningCase;
extern CPxLineCounts g_lineCounts;
extern CPxLogWriter g_logWriter;
