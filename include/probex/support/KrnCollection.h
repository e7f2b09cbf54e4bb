// The interface of every support collection: lockable, indexed by unsigned
// 32-bit positions, with its operations declared in their fixed slot order.
// A failed operation that answers an index or a count answers kKrnInvalidIndex.
#pragma once

#include "probex/support/KrnLockable.h"

#include <cstdint>

namespace KRN {

inline constexpr std::uint32_t kKrnInvalidIndex = 0xFFFFFFFFu;
// The most elements a collection holds, so that no size is mistaken for
// the invalid index.
inline constexpr std::uint32_t kKrnMaxSize = kKrnInvalidIndex - 1;

// Asked about each element by RemoveSelected.
template <class T> class CKrnElementChecker {
public:
  virtual ~CKrnElementChecker() = default;
  virtual bool Check(const T& element) = 0;
};

template <class T> class CKrnCollection : public CKrnLockable {
public:
  ~CKrnCollection() override = default;
  bool Lock(unsigned long timeout) override = 0;
  void Unlock() override = 0;
  virtual std::uint32_t GetSize() const = 0;
  virtual const T* ElementPtr(std::uint32_t index) const = 0;
  virtual T At(std::uint32_t index) const = 0;
  virtual std::uint32_t CopyOut(std::uint32_t count, T* dest, std::uint32_t start) = 0;
  virtual T* WritableElement(std::uint32_t index) = 0;
  virtual bool Set(std::uint32_t index, const T& value) = 0;
  virtual std::uint32_t Add(const T& value) = 0;
  virtual bool Insert(std::uint32_t index, const T& value) = 0;
  virtual bool InsertLocked(std::uint32_t index, const T& value) = 0;
  virtual bool Remove(std::uint32_t index) = 0;
  virtual std::uint32_t RemoveRange(std::uint32_t index, std::uint32_t count) = 0;
  virtual bool RemoveAll() = 0;
  virtual void Swap(std::uint32_t index1, std::uint32_t index2) = 0;
  virtual std::uint32_t AddRange(std::uint32_t count, const T* data) = 0;
  virtual std::uint32_t Append(CKrnCollection* pOther) = 0;
  // The signed form of the next slot; a negative count is refused.
  virtual std::uint32_t AssignRange(int count, const T* data) = 0;
  virtual std::uint32_t AssignRange(std::uint32_t count, const T* data) = 0;
  virtual std::uint32_t Copy(CKrnCollection* pOther) = 0;
  virtual std::uint32_t RemoveSelected(CKrnElementChecker<T>& checker, bool flag) = 0;
  virtual bool SetSize(std::uint32_t size) = 0;
};

} // namespace KRN
