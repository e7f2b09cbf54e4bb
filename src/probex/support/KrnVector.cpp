#include "probex/support/KrnVector.h"

namespace KRN {

template class PX_INSTANTIATION_API CKrnVector<std::uint32_t>;

} // namespace KRN
