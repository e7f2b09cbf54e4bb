#include "probex/platform/Interlocked.h"

#if defined(_WIN32)
#include "win32/Interlocked.inc"
#else
#include "posix/Interlocked.inc"
#endif
