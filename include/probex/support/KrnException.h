// The exceptions of the support library, thrown by value. Each carries an
// immutable text; copies share it (no characters are copied), and the last
// holder frees it, whatever thread that holder is on.
#pragma once

#include "probex/base/PxApi.h"
#include "probex/support/KrnHandle.h"

namespace KRN {

class PX_API CKrnException {
public:
  // Copies message with its terminating zero; a null message gives "".
  explicit CKrnException(const char* message = nullptr);
  CKrnException(const CKrnException& other) noexcept = default;
  CKrnException& operator=(const CKrnException& other) noexcept = default;

  // Never null; the same pointer for every copy of one exception.
  virtual const char* GetMessageText() const;
  virtual ~CKrnException();

private:
  CKrnHandle<char[]> m_hMessage;
};

// An operation was given a null object (a collection, a lock, a buffer).
class PX_API CNullPointerException : public CKrnException {
public:
  CNullPointerException();
};

// An element was asked for at an index not below the number of elements.
class PX_API CIndexOutOfBoundsException : public CKrnException {
public:
  CIndexOutOfBoundsException();
};

// An argument or input the operation cannot accept.
class PX_API CInvalidParamException : public CKrnException {
public:
  CInvalidParamException();
};

// An operation the object does not offer.
class PX_API CNotSupportException : public CKrnException {
public:
  CNotSupportException();
};

} // namespace KRN
