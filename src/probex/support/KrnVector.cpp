#include "probex/support/KrnVector.h"

namespace KRN {

template class CKrnVector<std::uint32_t>;

} // namespace KRN
