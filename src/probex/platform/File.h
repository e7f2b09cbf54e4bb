// Appending to a file that only its owner may touch.
#pragma once

#include <cstddef>
#include <string>

namespace NPxPlatform {

// Opens the file for appending (created owner-only when missing) without
// following a symbolic link, refuses anything but a regular file owned by
// this user, and writes the bytes in one write. False when nothing could be
// written; a short write still counts as done.
bool AppendToFile(const std::string& path, const char* data, std::size_t size);

} // namespace NPxPlatform
