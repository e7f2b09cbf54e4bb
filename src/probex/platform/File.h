// Appending to a file that only its owner may touch.
#pragma once

#include <cstddef>
#include <string>

namespace NPxPlatform {

// Opens the file for appending (created owner-only when missing) without
// following a symbolic link, refuses anything but a regular file owned by
// this user, and writes the bytes in one write. False, with the reason in
// `error` when given, when not all of them could be written: a short write
// (a full disk) is continued until the system refuses.
// Async-signal-safe.
bool AppendToFile(const std::string& path, const char* data, std::size_t size,
                  int* error = nullptr);

// The system's words for an error that AppendToFile gave.
std::string ErrorText(int error);
// The same words in text, cut to its size, without allocating: for the
// writer at a fatal end.
void ErrorText(int error, char* text, std::size_t size);

} // namespace NPxPlatform
