// One named mapping of the per-user object namespace and its view: opened,
// and made when missing, by name and size; released by Close or on
// destruction. The name lives while any process keeps a mapping of it open.
#pragma once

#include "probex/platform/NamedSharedMemory.h"

class CSharedMemory {
public:
  CSharedMemory() = default;
  ~CSharedMemory() { Close(); }
  CSharedMemory(const CSharedMemory&) = delete;
  CSharedMemory& operator=(const CSharedMemory&) = delete;

  // 1: the mapping already existed; 0: it was created now, zero-filled;
  // -1: failure (no name, a size of 0 or above the platform's limit, no
  // namespace), with nothing left open. Releases what was open first.
  int Open(const char* name, unsigned long size);
  // Releases the view and the mapping. True when that succeeded or there was
  // nothing to release.
  bool Close();
  // The mapped view, or null when nothing is open.
  void* View() const { return m_pView; }

private:
  NPxPlatform::CNamedSharedMemory m_mapping;
  void* m_pView = nullptr;
};
