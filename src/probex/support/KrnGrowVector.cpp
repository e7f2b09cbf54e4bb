#include "probex/support/KrnGrowVector.h"

namespace KRN {

template class PX_INSTANTIATION_API CKrnGrowVector<std::uint32_t>;

} // namespace KRN
