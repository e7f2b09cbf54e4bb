#pragma once

#include "probex/support/KrnGrowVector.h"

#include <cstdint>
#include <vector>

using CElements = std::vector<std::uint32_t>;

// The elements of a collection, read through ElementPtr.
template <class T> std::vector<T> KrnElements(const KRN::CKrnCollection<T>& collection) {
  std::vector<T> elements;
  for (std::uint32_t index = 0; index < collection.GetSize(); ++index)
    elements.push_back(*collection.ElementPtr(index));
  return elements;
}

class CKrnEvenChecker : public KRN::CKrnElementChecker<std::uint32_t> {
public:
  bool Check(const std::uint32_t& element) override { return element % 2 == 0; }
};
