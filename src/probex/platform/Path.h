// Path services: qualifying a source file name, the executable, the
// directory for temporary files and a file's title.
#pragma once

#include <string>

namespace NPxPlatform {

// Absolute names stay as they are; relative ones are joined to the current
// directory with "." and ".." folded. A result that would not fit in 259
// characters, or a name that cannot be qualified, gives the name unchanged.
std::string QualifyPath(const char* path);

} // namespace NPxPlatform
