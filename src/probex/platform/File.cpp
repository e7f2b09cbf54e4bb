#include "probex/platform/File.h"

#if defined(_WIN32)
#include "win32/File.inc"
#else
#include "posix/File.inc"
#endif
