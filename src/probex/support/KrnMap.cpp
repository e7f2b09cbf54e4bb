#include "probex/support/KrnMap.h"

namespace KRN {

template class PX_INSTANTIATION_API
    CKrnVector<CKrnMapEntry<std::uint32_t, CKrnGrowVector<std::uint32_t>>>;
template class PX_INSTANTIATION_API CKrnMap<std::uint32_t, CKrnGrowVector<std::uint32_t>>;

} // namespace KRN
