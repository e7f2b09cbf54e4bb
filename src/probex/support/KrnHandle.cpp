#include "probex/support/KrnHandle.h"

namespace KRN {

CKrnHandleBlock g_krnEmptyBlock{{0}, nullptr};

} // namespace KRN
