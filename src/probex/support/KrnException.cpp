#include "probex/support/KrnException.h"

#include "probex/base/PxTexts.h"

#include <cstring>

namespace KRN {

CKrnException::CKrnException(const char* message) {
  const char* text = message ? message : "";
  const std::size_t size = std::strlen(text) + 1;
  char* pBuffer = new char[size];
  std::memcpy(pBuffer, text, size);
  m_hMessage.Take(pBuffer);
}

const char* CKrnException::GetMessageText() const {
  return m_hMessage.Get();
}

CKrnException::~CKrnException() = default;

CNullPointerException::CNullPointerException() : CKrnException(NPxText::kNullPointer) {}

CIndexOutOfBoundsException::CIndexOutOfBoundsException()
    : CKrnException(NPxText::kIndexOutOfBounds) {}

CInvalidParamException::CInvalidParamException() : CKrnException(NPxText::kInvalidParam) {}

CNotSupportException::CNotSupportException() : CKrnException(NPxText::kNotSupport) {}

} // namespace KRN
