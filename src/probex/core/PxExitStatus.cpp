#include "probex/core/PxExitStatus.h"

#include "probex/core/PxRunNotices.h"
#include "probex/core/PxRunVerdict.h"

int PxExitStatus() {
  // Both are judged, so that a run without cases is said even after a failure.
  const bool noCase = PxNoCaseRan();
  return PxRunVerdict().HasFailed() || noCase ? 1 : 0;
}
