#include "app/ViewerOs.h"

#include "probex/platform/NamedEvent.h"

namespace NViewerOs {

bool IsWriterAlive(const std::string& markerName) {
  // Opening joins the marker only for a moment: held open, it would keep
  // the name alive after the writer.
  NPxPlatform::CNamedEvent marker;
  const bool alive = marker.Open(markerName.c_str());
  marker.Close();
  return alive;
}

} // namespace NViewerOs

#if defined(_WIN32)
#include "app/win32/ViewerOs.inc"
#else
#include "app/posix/ViewerOs.inc"
#endif
