#include "probex/platform/Process.h"

#if defined(_WIN32)
#include "win32/Process.inc"
#else
#include "posix/Process.inc"
#endif
