// The coverage mode of the process, count or step log, as the controlling
// tool sets it in the mode block: read once, on the first question, and
// again only when SetStepLogMode asks for it.
#pragma once

#include "probex/base/PxModeBlock.h"

// True in count mode. A block that cannot be made or mapped reads as a word
// of 0, not set, which is count mode here.
bool IsCountMode();
