// Files of this user alone in folders that others may write to, such as the
// temporary directory: nothing is written through a planted link or over
// another user's file, and nothing is read through another user's link.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace NPxPlatform {

enum class EPxNewFile { Created, Taken, Failed };

// Creates an empty owner-only file where nothing stands yet; Taken when
// anything, a dangling link included, is there already. A file made so is
// in use by this process until released or until the process ends, killed
// or not; another process can tell without any named object.
EPxNewFile CreateNewFile(const std::string& path);
void ReleaseNewFile(const std::string& path);
// Whether a living process made the file with CreateNewFile and holds it.
bool IsFileInUse(const std::string& path);

// Gives the path a whole new owner-only content: the bytes go to a fresh
// file in the same folder, which then takes the name. A link, anything but
// a regular file, or another user's file at the path is left alone and the
// answer is false, with the reason in why.
bool WriteOwnFile(const std::string& path, const std::string& bytes, std::string& why);

// A regular file of this user, and not a link.
bool IsOwnFile(const std::string& path);

// A file opened for reading. A link in a shared folder whose sticky bit
// guards each user's names is followed only when this user or the folder's
// owner made it, as careful kernels do.
class CInputFile {
public:
  CInputFile() = default;
  ~CInputFile();
  CInputFile(const CInputFile&) = delete;
  CInputFile& operator=(const CInputFile&) = delete;

  // False with the reason in why when the file cannot or must not be read.
  bool Open(const std::string& path, std::string& why);
  bool IsOpen() const { return m_handle != kClosed; }
  // Bytes read, 0 at the end for now, -1 on an error.
  long long Read(char* buffer, std::size_t size);
  void Close();

private:
  static constexpr std::intptr_t kClosed = -1;
  std::intptr_t m_handle = kClosed;
};

} // namespace NPxPlatform
