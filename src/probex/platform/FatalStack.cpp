#include "probex/platform/FatalStack.h"

#if defined(_WIN32)
#include "win32/FatalStack.inc"
#else
#include "posix/FatalStack.inc"
#endif
