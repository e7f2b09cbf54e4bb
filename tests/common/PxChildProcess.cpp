#include "common/PxChildProcess.h"

#include <cstring>
#include <fstream>
#include <sstream>

std::string PxReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

#if defined(_WIN32)
#include "common/win32/PxChildProcess.inc"
#else
#include "common/posix/PxChildProcess.inc"
#endif
