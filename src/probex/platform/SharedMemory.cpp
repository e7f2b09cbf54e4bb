#include "probex/platform/SharedMemory.h"

#include <climits>

int CSharedMemory::Open(const char* name, unsigned long size) {
  Close();
  if (size > UINT_MAX)
    return -1;
  const int result = m_mapping.Open(name, static_cast<unsigned>(size));
  if (result >= 0)
    m_pView = m_mapping.View();
  return result;
}

bool CSharedMemory::Close() {
  m_mapping.Close();
  m_pView = nullptr;
  return true;
}
