#include "probex/platform/NameMarker.h"

#include "probex/base/PxLasting.h"
#include "probex/platform/NamedEvent.h"

#include <mutex>
#include <string>
#include <utility>
#include <vector>

namespace NPxPlatform {
namespace {

// Held markers stay open until released: a name marks this process until
// it ends or lets go, and a killed process's names read as free at once.
std::mutex g_markersLock;
CPxLasting<std::vector<std::pair<std::string, CNamedEvent>>> g_markers;

} // namespace

int CreateNameMarker(const char* name) {
  CNamedEvent marker;
  const int result = marker.Create(name);
  if (result == 0) {
    std::lock_guard<std::mutex> guard(g_markersLock);
    g_markers->emplace_back(name, std::move(marker));
  }
  return result;
}

void ReleaseNameMarker(const char* name) {
  std::lock_guard<std::mutex> guard(g_markersLock);
  for (auto it = g_markers->begin(); it != g_markers->end(); ++it) {
    if (it->first == name) {
      g_markers->erase(it);
      return;
    }
  }
}

} // namespace NPxPlatform
