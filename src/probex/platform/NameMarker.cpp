#include "probex/platform/NameMarker.h"

#include "probex/base/PxLasting.h"
#include "probex/platform/NamedEvent.h"

#include <mutex>
#include <vector>

namespace NPxPlatform {
namespace {

// Held markers are never closed: a name marks this process until it ends,
// and the kernel frees it then, even when the process is killed.
std::mutex g_markersLock;
CPxLasting<std::vector<CNamedEvent>> g_markers;

} // namespace

int CreateNameMarker(const char* name) {
  CNamedEvent marker;
  const int result = marker.Create(name);
  if (result == 0) {
    std::lock_guard<std::mutex> guard(g_markersLock);
    g_markers->push_back(std::move(marker));
  }
  return result;
}

} // namespace NPxPlatform
