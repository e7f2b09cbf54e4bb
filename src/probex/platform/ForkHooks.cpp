#include "probex/platform/ForkHooks.h"

#if defined(_WIN32)
#include "win32/ForkHooks.inc"
#else
#include "posix/ForkHooks.inc"
#endif
