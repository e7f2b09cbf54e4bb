// A lock-protected vector whose copies share one element storage until one
// of them is written to (copy-on-write): copying costs one atomic increment.
//
// Outcomes of bad input, each leaving the vector as it was:
//  - ElementPtr, At, WritableElement at an index not below the size, and Swap
//    of two different indexes of which one is out of range, throw
//    CIndexOutOfBoundsException;
//  - Set, Insert, Remove answer false, RemoveRange answers kKrnInvalidIndex;
//  - AddRange, AssignRange and Append answer kKrnInvalidIndex when the size
//    would pass kKrnMaxSize, AssignRange also for a negative count;
//  - SetSize(kKrnInvalidIndex) answers false;
//  - a null pOther of Append or Copy, and a null dest of CopyOut with
//    something to copy, throw CNullPointerException;
//  - a null data of AddRange or AssignRange gives zero elements;
//  - Copy of a vector onto itself leaves it alone.
// Running out of memory lets the allocator's std::bad_alloc pass through.
//
// Threads: the operations that take the vector's lock are CopyOut, Add,
// AddRange, Insert, InsertLocked, Remove, RemoveRange, Swap, Append,
// AssignRange, Copy, RemoveSelected and SetSize; the others do not. Vectors
// sharing a storage may be written on different threads, but one vector that
// other threads read, copy or write must be held locked (Lock or
// CKrnExclusiveGuard) around every access. A pointer from ElementPtr or
// WritableElement is valid until the next operation that changes the vector;
// a write through it after the vector was copied reaches the copy as well.
// Append and Copy lock their argument first and this vector second, so two
// threads running a.Append(&b) and b.Copy(&a) at once can deadlock: callers
// that combine two collections both ways keep one order between them.
#pragma once

#include "probex/support/KrnCollection.h"
#include "probex/support/KrnException.h"
#include "probex/support/KrnExclusiveGuard.h"
#include "probex/support/KrnHandle.h"
#include "probex/support/KrnSectionLock.h"
#include "probex/support/KrnVectorStorage.h"

#include <algorithm>
#include <cstdint>
#include <new>
#include <utility>

namespace KRN {

template <class T> class CKrnVector : public CKrnCollection<T> {
public:
  CKrnVector() : m_hStorage(new CKrnVectorStorage<T>()) {}
  // Shares other's storage; takes neither lock.
  CKrnVector(const CKrnVector& other) : CKrnCollection<T>(), m_hStorage(other.m_hStorage) {}
  CKrnVector& operator=(const CKrnVector& other) {
    m_hStorage = other.m_hStorage;
    return *this;
  }
  ~CKrnVector() override = default;

  bool Lock(unsigned long timeout) override { return m_lock.Lock(timeout); }
  void Unlock() override { m_lock.Unlock(); }
  std::uint32_t GetSize() const override { return m_hStorage->GetSize(); }
  const T* ElementPtr(std::uint32_t index) const override {
    m_CheckIndex(index);
    return m_hStorage->GetData() + index;
  }
  T At(std::uint32_t index) const override { return *ElementPtr(index); }

  // Copies up to count elements from start on; 0 when start is not below the size.
  std::uint32_t CopyOut(std::uint32_t count, T* dest, std::uint32_t start) override {
    CKrnExclusiveGuard guard(this);
    const std::uint32_t size = GetSize();
    if (start >= size) {
      return 0;
    }
    const std::uint32_t copied = std::min(count, size - start);
    if (copied && !dest) {
      throw CNullPointerException();
    }
    std::copy_n(m_hStorage->GetData() + start, copied, dest);
    return copied;
  }

  T* WritableElement(std::uint32_t index) override {
    m_CheckIndex(index);
    m_MakePrivate();
    return m_hStorage->GetData() + index;
  }

  bool Set(std::uint32_t index, const T& value) override {
    if (index >= GetSize()) {
      return false;
    }
    m_MakePrivate();
    m_hStorage->GetData()[index] = value;
    return true;
  }

  // The new element's index.
  std::uint32_t Add(const T& value) override { return m_AddWith(1, m_sFiller(&value)); }

  // An index equal to the size appends.
  bool Insert(std::uint32_t index, const T& value) override {
    CKrnExclusiveGuard guard(this);
    const std::uint32_t size = GetSize();
    if (index > size || AddRange(1, &value) != 1) {
      return false;
    }
    // AddRange left the storage private.
    T* data = m_hStorage->GetData();
    std::rotate(data + index, data + size, data + size + 1);
    return true;
  }

  bool InsertLocked(std::uint32_t index, const T& value) override {
    CKrnExclusiveGuard guard(this);
    return Insert(index, value);
  }

  bool Remove(std::uint32_t index) override { return RemoveRange(index, 1) == 1; }

  // Removes up to count elements from index on; a count of 0 means up to the
  // end. The number removed.
  std::uint32_t RemoveRange(std::uint32_t index, std::uint32_t count) override {
    CKrnExclusiveGuard guard(this);
    const std::uint32_t size = GetSize();
    if (index >= size) {
      return kKrnInvalidIndex;
    }
    const std::uint32_t removed = (count == 0 || count > size - index) ? size - index : count;
    if (removed == size) {
      RemoveAll();
    } else {
      m_MakePrivate();
      m_hStorage->Erase(index, removed);
    }
    return removed;
  }

  // Starts over on a fresh, empty storage (capacity 0).
  bool RemoveAll() override {
    m_hStorage.Take(new CKrnVectorStorage<T>());
    return true;
  }

  void Swap(std::uint32_t index1, std::uint32_t index2) override {
    CKrnExclusiveGuard guard(this);
    if (index1 == index2) {
      return;
    }
    m_CheckIndex(index1);
    m_CheckIndex(index2);
    m_MakePrivate();
    T* data = m_hStorage->GetData();
    std::swap(data[index1], data[index2]);
  }

  // Appends count elements copied from data, or zero elements when data is
  // null. data may point into this vector.
  std::uint32_t AddRange(std::uint32_t count, const T* data) override {
    return m_AddWith(count, m_sFiller(data)) == kKrnInvalidIndex ? kKrnInvalidIndex : count;
  }

  // Appends every element of pOther, which is locked first; pOther may be this.
  std::uint32_t Append(CKrnCollection<T>* pOther) override {
    CKrnExclusiveGuard otherGuard(pOther);
    CKrnExclusiveGuard guard(this);
    const std::uint32_t count = pOther->GetSize();
    return m_AddWith(count, m_sCopier(pOther)) == kKrnInvalidIndex ? kKrnInvalidIndex : count;
  }

  std::uint32_t AssignRange(int count, const T* data) override {
    return count < 0 ? kKrnInvalidIndex : AssignRange(static_cast<std::uint32_t>(count), data);
  }

  // data may point into this vector.
  std::uint32_t AssignRange(std::uint32_t count, const T* data) override {
    CKrnExclusiveGuard guard(this);
    if (count > kKrnMaxSize) {
      return kKrnInvalidIndex;
    }
    const CKrnHandle<CKrnVectorStorage<T>> hKeep(m_hStorage);
    if (!RemoveAll()) {
      return kKrnInvalidIndex;
    }
    return AddRange(count, data);
  }

  // Element-wise copy of pOther, which is locked first; the new size.
  std::uint32_t Copy(CKrnCollection<T>* pOther) override {
    CKrnExclusiveGuard otherGuard(pOther);
    CKrnExclusiveGuard guard(this);
    if (pOther != this) {
      RemoveAll();
      m_AddWith(pOther->GetSize(), m_sCopier(pOther));
    }
    return GetSize();
  }

  // From the last element to the first, removes those for which the checker
  // answers flag. The number removed.
  std::uint32_t RemoveSelected(CKrnElementChecker<T>& checker, bool flag) override {
    CKrnExclusiveGuard guard(this);
    std::uint32_t removed = 0;
    for (std::uint32_t index = GetSize(); index-- > 0;) {
      if (checker.Check(*ElementPtr(index)) == flag) {
        if (!Remove(index)) {
          return kKrnInvalidIndex;
        }
        ++removed;
      }
    }
    return removed;
  }

  // Shrinks from the end or grows with zero elements.
  bool SetSize(std::uint32_t size) override {
    CKrnExclusiveGuard guard(this);
    if (size == kKrnInvalidIndex) {
      return false;
    }
    const std::uint32_t current = GetSize();
    if (size < current) {
      RemoveRange(size, current - size);
    } else if (size > current) {
      AddRange(size - current, nullptr);
    }
    return true;
  }

  std::uint32_t GetCapacity() const { return m_hStorage->GetCapacity(); }
  bool SharesStorageWith(const CKrnVector& other) const {
    return m_hStorage.Get() == other.m_hStorage.Get();
  }

private:
  using CStorage = CKrnVectorStorage<T>;

  void m_CheckIndex(std::uint32_t index) const {
    if (index >= GetSize()) {
      throw CIndexOutOfBoundsException();
    }
  }

  static auto m_sFiller(const T* data) {
    return [data](T* place, std::uint32_t i) {
      if (data) {
        ::new (static_cast<void*>(place)) T(data[i]);
      } else {
        ::new (static_cast<void*>(place)) T();
      }
    };
  }

  static auto m_sCopier(const CKrnCollection<T>* pSource) {
    return [pSource](T* place, std::uint32_t i) {
      ::new (static_cast<void*>(place)) T(*pSource->ElementPtr(i));
    };
  }

  // Copy-on-write: a storage shared with other vectors is replaced by a copy
  // of our own. The storage's lock serialises the sharers; it is released
  // before our share is dropped, since that may free the storage and its lock.
  void m_MakePrivate() {
    CStorage& shared = *m_hStorage;
    CKrnHandle<CStorage> hOwn;
    {
      CKrnExclusiveGuard guard(&shared.GetLock());
      if (m_hStorage.GetCount() < 2) {
        return;
      }
      hOwn.Take(new CStorage(CStorage::CapacityFor(shared.GetSize())));
      hOwn->AppendCopyOf(shared);
    }
    m_hStorage = std::move(hOwn);
  }

  // The append algorithm. A shared storage is replaced by one new storage
  // holding the old and the new elements; a private one grows by
  // CapacityFor only when full. fill may read this vector's elements.
  // Answers the index of the first new element.
  template <class FFill> std::uint32_t m_AddWith(std::uint32_t count, FFill&& fill) {
    CKrnExclusiveGuard guard(this);
    CStorage& storage = *m_hStorage;
    const std::uint32_t size = storage.GetSize();
    if (count > kKrnMaxSize - size) {
      return kKrnInvalidIndex;
    }
    if (count == 0) {
      return size;
    }
    const std::uint32_t capacity = CStorage::CapacityFor(size + count);
    if (m_hStorage.GetCount() >= 2) {
      CKrnHandle<CStorage> hOwn(new CStorage(capacity));
      hOwn->AppendCopyOf(storage);
      hOwn->AppendFill(count, fill);
      m_hStorage = std::move(hOwn);
    } else if (storage.GetCapacity() < size + count) {
      storage.Regrow(capacity, count, fill);
    } else {
      storage.AppendFill(count, fill);
    }
    return size;
  }

  CKrnSectionLock m_lock;
  CKrnHandle<CStorage> m_hStorage;
};

} // namespace KRN
