#include "probex/platform/OwnFile.h"

namespace NPxPlatform {

CInputFile::~CInputFile() {
  Close();
}

} // namespace NPxPlatform

#if defined(_WIN32)
#include "win32/OwnFile.inc"
#else
#include "posix/OwnFile.inc"
#endif
