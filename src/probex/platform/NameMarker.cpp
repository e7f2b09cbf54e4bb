#include "probex/platform/NameMarker.h"
// SCAFFOLD - replaced when the named objects land
namespace NPxPlatform {
int CreateNameMarker(const char*) {
  return 0;
}
} // namespace NPxPlatform
