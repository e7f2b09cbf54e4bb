// Converts text with the C library's iconv, the reference that the system's
// own CP932 bytes and conversions are checked against.
#pragma once

#include <string>

// The text in encoding `to`; "<conversion failed>" when iconv cannot do it.
std::string PxIconv(const char* to, const char* from, const std::string& text);

// Whether the locale (LC_ALL, LC_CTYPE, LANG) turns the library's terminal
// texts into UTF-8; on Windows they keep the ANSI code page's bytes.
#if defined(_WIN32)
constexpr bool kPxLocaleChoosesEncoding = false;
#else
constexpr bool kPxLocaleChoosesEncoding = true;
#endif
