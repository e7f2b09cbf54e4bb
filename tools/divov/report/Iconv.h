// iconv for the viewer: the C library's where it has one, and on Windows a
// stand-in over the system's code-page converters.
#pragma once

#if defined(_WIN32)
#include "report/win32/Iconv.h"
#else
#include <iconv.h>
#endif
