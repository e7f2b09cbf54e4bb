// The one place that includes <windows.h>, trimmed of what would clash with
// the standard library (min, max) and of what no service here needs.
#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
