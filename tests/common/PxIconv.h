// Converts text with the C library's iconv, the reference that the system's
// own CP932 bytes and conversions are checked against.
#pragma once

#include <string>

// The text in encoding `to`; "<conversion failed>" when iconv cannot do it.
std::string PxIconv(const char* to, const char* from, const std::string& text);
