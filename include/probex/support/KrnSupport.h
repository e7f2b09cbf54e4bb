// The support library (namespace KRN) in one include: exceptions, the shared
// handle, locks and the copy-on-write collections.
#pragma once

#include "probex/support/KrnCollection.h"
#include "probex/support/KrnException.h"
#include "probex/support/KrnExclusiveGuard.h"
#include "probex/support/KrnGrowVector.h"
#include "probex/support/KrnHandle.h"
#include "probex/support/KrnLockable.h"
#include "probex/support/KrnMap.h"
#include "probex/support/KrnMapEntry.h"
#include "probex/support/KrnSectionLock.h"
#include "probex/support/KrnVector.h"
#include "probex/support/KrnVectorStorage.h"
