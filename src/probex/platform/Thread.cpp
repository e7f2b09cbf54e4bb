#include "probex/platform/Thread.h"

#if defined(_WIN32)
#include "win32/Thread.inc"
#else
#include "posix/Thread.inc"
#endif
