// Path services: qualifying a source file name, the executable, the
// directory for temporary files and a file's title.
#pragma once

#include <string>

namespace NPxPlatform {

// Absolute names stay as they are; relative ones are joined to the current
// directory with "." and ".." folded. A result that would not fit in 259
// characters, or a name that cannot be qualified, gives the name unchanged.
std::string QualifyPath(const char* path);
// True when QualifyPath would give the name back unchanged whatever the
// current directory: an absolute name.
bool IsAbsolutePath(const char* path);

} // namespace NPxPlatform

namespace NPxPlatform {

// Full path of the running executable; empty when it cannot be read.
std::string GetExecutablePath();
// The directory for temporary files, always ending in a separator.
std::string GetTempDirectory();
// The name without its directory.
std::string GetFileTitle(const std::string& path);

} // namespace NPxPlatform
