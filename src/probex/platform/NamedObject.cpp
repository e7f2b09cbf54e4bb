#include "probex/platform/NamedObject.h"

#include <cstring>

namespace NPxPlatform {

bool CNamedObject::IsOpen() const {
  return Slot() >= 0;
}

int CNamedObject::Create(EPxObjectKind kind, const char* name, unsigned payloadSize) {
  return m_Attach(kind, name, payloadSize, true);
}

bool CNamedObject::Open(EPxObjectKind kind, const char* name, unsigned payloadSize) {
  return m_Attach(kind, name, payloadSize, false) == 1;
}

} // namespace NPxPlatform

#if defined(_WIN32)
#include "win32/NamedObject.inc"
#else
#include "posix/NamedObject.inc"
#endif
