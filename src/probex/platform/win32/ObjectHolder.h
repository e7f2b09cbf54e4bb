// What a handle of the Windows object namespace holds: the kernel object
// (an event or a file mapping) and, for a mapping, its view.
#pragma once

#include "probex/platform/NamedObject.h"
#include "probex/platform/win32/Win32.h"

namespace NPxPlatform {

struct SObjectHolder {
  HANDLE handle = nullptr;
  void* view = nullptr;
};

} // namespace NPxPlatform
