#include "probex/platform/FatalEnd.h"

#if defined(_WIN32)
#include "win32/FatalEnd.inc"
#else
#include "posix/FatalEnd.inc"
#endif
