#include "probex/platform/Clock.h"

#if defined(_WIN32)
#include "win32/Clock.inc"
#else
#include "posix/Clock.inc"
#endif
