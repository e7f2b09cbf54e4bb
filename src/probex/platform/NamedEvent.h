// A named auto-reset event of the per-user namespace, shared by the
// processes of one user: each Set releases exactly one waiter, or leaves the
// event signalled (once) when nobody waits. Lifetime as CNamedObject.
#pragma once

#include "probex/platform/NamedObject.h"

namespace NPxPlatform {

class CNamedEvent {
public:
  // 1: created, and the name already existed (this handle joins it);
  // 0: created fresh, not signalled; -1: failure (see CNamedObject::Create).
  int Create(const char* name);
  // Joins a living event; fails, creating nothing, when no holder has the name.
  bool Open(const char* name);
  bool Set();
  // Waits until signalled, without time-out; false only when not open.
  bool Wait();
  // False on time-out or when not open.
  bool Wait(unsigned milliseconds);
  void Close();
  bool IsOpen() const;

private:
  bool m_Wait(bool timed, unsigned milliseconds);

  CNamedObject m_object;
};

} // namespace NPxPlatform
