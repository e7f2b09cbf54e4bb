#include "probex/support/KrnGrowVector.h"

namespace KRN {

template class CKrnGrowVector<std::uint32_t>;

} // namespace KRN
