// A named block of shared memory of the per-user namespace: zero-filled
// when made, shared by every process of the user that opens the name, and
// gone when the last holder closes it or dies. Lifetime as CNamedObject.
#pragma once

#include "probex/platform/NamedObject.h"

namespace NPxPlatform {

class CNamedSharedMemory {
public:
  // 1: the block existed and is now shared; 0: made now, zero-filled;
  // -1: failure, also for a size of 0 or one larger than the living block's.
  int Open(const char* name, unsigned size);
  // The block, or null when not open.
  void* View() const;
  // True when a block was open.
  bool Close();

private:
  CNamedObject m_object;
};

} // namespace NPxPlatform
