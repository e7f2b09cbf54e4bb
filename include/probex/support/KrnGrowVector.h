// A vector that grows on demand: Set past the end first grows it with zero
// elements to index + 1, Insert past the end first grows it to index.
// Everything else, including its outcomes for bad input, is the vector's;
// Set and Insert at kKrnInvalidIndex answer false and change nothing.
#pragma once

#include "probex/support/KrnVector.h"

#include <cstdint>

namespace KRN {

template <class T> class CKrnGrowVector : public CKrnVector<T> {
public:
  // Growing takes the lock through SetSize; writing in range does not.
  bool Set(std::uint32_t index, const T& value) override {
    if (index < this->GetSize()) {
      return CKrnVector<T>::Set(index, value);
    }
    // index + 1 would wrap to an empty vector.
    if (index == kKrnInvalidIndex) {
      return false;
    }
    const T kept(value); // value may live in the buffer that growing moves
    return this->SetSize(index + 1) && CKrnVector<T>::Set(index, kept);
  }

  bool Insert(std::uint32_t index, const T& value) override {
    CKrnExclusiveGuard guard(this);
    if (index <= this->GetSize()) {
      return CKrnVector<T>::Insert(index, value);
    }
    const T kept(value);
    return this->SetSize(index) && CKrnVector<T>::Insert(index, kept);
  }
};

} // namespace KRN
