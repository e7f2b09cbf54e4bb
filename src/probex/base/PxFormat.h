// printf-style formatting into a string of any length; nothing is cut.
#pragma once

#include <string>

#if defined(__GNUC__)
#define PX_PRINTF_LIKE(fmt, args) __attribute__((format(printf, fmt, args)))
#else
#define PX_PRINTF_LIKE(fmt, args)
#endif

std::string PxFormat(const char* format, ...) PX_PRINTF_LIKE(1, 2);
