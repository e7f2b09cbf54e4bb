// Path services: qualifying a source file name, the executable, the
// directory for temporary files and a file's title.
#pragma once

#include <cstddef>
#include <string>

namespace NPxPlatform {

// The longest path a location names, with its terminator.
constexpr std::size_t kMaxPath = 260;

// The name must not be null. Absolute names stay as they are; relative ones are joined to the
// current directory with "." and ".." folded, into the buffer. Gives the buffer, or the name itself
// where it stays unchanged: an absolute name, a result that would not fit in 259 characters, a name
// that cannot be qualified. Nothing is allocated, since every expectation names its file.
const char* QualifyPath(const char* path, char (&buffer)[kMaxPath]);

} // namespace NPxPlatform

namespace NPxPlatform {

// Full path of the running executable; empty when it cannot be read.
std::string GetExecutablePath();
// The directory for temporary files, always ending in a separator.
std::string GetTempDirectory();
// The name without its directory.
std::string GetFileTitle(const std::string& path);

} // namespace NPxPlatform
