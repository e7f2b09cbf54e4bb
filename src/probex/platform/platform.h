// The only door to the operating system. Everything above this folder calls
// these services; posix/ and win32/ implement them.
#pragma once

#include "probex/platform/Clock.h"
#include "probex/platform/Debugger.h"
#include "probex/platform/FatalEnd.h"
#include "probex/platform/FatalStack.h"
#include "probex/platform/File.h"
#include "probex/platform/ForkHooks.h"
#include "probex/platform/Interlocked.h"
#include "probex/platform/Module.h"
#include "probex/platform/NameMarker.h"
#include "probex/platform/NamedEvent.h"
#include "probex/platform/NamedObject.h"
#include "probex/platform/NamedSharedMemory.h"
#include "probex/platform/OwnFile.h"
#include "probex/platform/Path.h"
#include "probex/platform/Process.h"
#include "probex/platform/Thread.h"
#include "probex/platform/TypeName.h"
