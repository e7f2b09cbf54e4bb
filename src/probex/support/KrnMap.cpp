#include "probex/support/KrnMap.h"

namespace KRN {

template class CKrnVector<CKrnMapEntry<std::uint32_t, CKrnGrowVector<std::uint32_t>>>;
template class CKrnMap<std::uint32_t, CKrnGrowVector<std::uint32_t>>;

} // namespace KRN
