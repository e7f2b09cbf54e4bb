#include "probex/platform/NamedSharedMemory.h"

namespace NPxPlatform {

int CNamedSharedMemory::Open(const char* name, unsigned size) {
  if (size == 0) {
    Close();
    return -1;
  }
  return m_object.Create(EPxObjectKind::Memory, name, size);
}

void* CNamedSharedMemory::View() const {
  return m_object.Payload();
}

bool CNamedSharedMemory::Close() {
  return m_object.Close();
}

} // namespace NPxPlatform
