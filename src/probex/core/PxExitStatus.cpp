#include "probex/core/PxExitStatus.h"

#include "probex/core/PxRunVerdict.h"

int PxExitStatus() {
  return PxRunVerdict().HasFailed() ? 1 : 0;
}
