#include "probex/platform/NamedEvent.h"

namespace NPxPlatform {

bool CNamedEvent::Wait() {
  return m_Wait(false, 0);
}
bool CNamedEvent::Wait(unsigned milliseconds) {
  return m_Wait(true, milliseconds);
}
void CNamedEvent::Close() {
  m_object.Close();
}
bool CNamedEvent::IsOpen() const {
  return m_object.IsOpen();
}

} // namespace NPxPlatform

#if defined(_WIN32)
#include "win32/NamedEvent.inc"
#else
#include "posix/NamedEvent.inc"
#endif
