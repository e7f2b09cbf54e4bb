// The element storage that vectors share: its own lock, the capacity, the
// size and a buffer of capacity places of which the first size are built.
// Callers decide when it is shared; this class only keeps the buffer sound.
#pragma once

#include "probex/support/KrnCollection.h"
#include "probex/support/KrnSectionLock.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <type_traits>

namespace KRN {

template <class T> class CKrnVectorStorage {
public:
  explicit CKrnVectorStorage(std::uint32_t capacity = 0)
      : m_capacity(capacity), m_size(0), m_pBuffer(m_sAllocate(capacity)) {}
  CKrnVectorStorage(const CKrnVectorStorage&) = delete;
  CKrnVectorStorage& operator=(const CKrnVectorStorage&) = delete;
  ~CKrnVectorStorage() {
    std::destroy_n(m_pBuffer, m_size);
    m_sFree(m_pBuffer, m_capacity);
  }

  // Places for size elements: size plus size / 8 spare, the spare kept
  // within 4 and 1024, so most appends find room.
  static std::uint32_t CapacityFor(std::uint32_t size) {
    const std::uint64_t spare = std::clamp<std::uint64_t>(size / 8, 4, 1024);
    return static_cast<std::uint32_t>(std::min<std::uint64_t>(size + spare, kKrnInvalidIndex));
  }

  CKrnSectionLock& GetLock() { return m_lock; }
  std::uint32_t GetCapacity() const { return m_capacity; }
  std::uint32_t GetSize() const { return m_size; }
  T* GetData() const { return m_pBuffer; }

  // Builds count elements after the last one; element i is built by
  // fill(place, i). The room must be there. All or nothing.
  template <class FFill> void AppendFill(std::uint32_t count, FFill& fill) {
    m_sBuild(m_pBuffer + m_size, count, fill);
    m_size += count;
  }

  // Appends copies of all of source's elements.
  void AppendCopyOf(const CKrnVectorStorage& source) {
    std::uninitialized_copy_n(source.m_pBuffer, source.m_size, m_pBuffer + m_size);
    m_size += source.m_size;
  }

  // Moves everything to a new buffer of capacity places, appending count
  // elements as AppendFill does. The new elements are built before the old
  // buffer is touched, so fill may read from it. All or nothing.
  template <class FFill> void Regrow(std::uint32_t capacity, std::uint32_t count, FFill& fill) {
    T* pNew = m_sAllocate(capacity);
    try {
      m_sBuild(pNew + m_size, count, fill);
      try {
        if constexpr (std::is_nothrow_move_constructible_v<T>) {
          std::uninitialized_move_n(m_pBuffer, m_size, pNew);
        } else {
          std::uninitialized_copy_n(m_pBuffer, m_size, pNew);
        }
      } catch (...) {
        std::destroy_n(pNew + m_size, count);
        throw;
      }
    } catch (...) {
      m_sFree(pNew, capacity);
      throw;
    }
    std::destroy_n(m_pBuffer, m_size);
    m_sFree(m_pBuffer, m_capacity);
    m_pBuffer = pNew;
    m_capacity = capacity;
    m_size += count;
  }

  // Closes the gap of count elements at index; the places freed at the end
  // are destroyed.
  void Erase(std::uint32_t index, std::uint32_t count) {
    std::move(m_pBuffer + index + count, m_pBuffer + m_size, m_pBuffer + index);
    std::destroy_n(m_pBuffer + m_size - count, count);
    m_size -= count;
  }

private:
  static T* m_sAllocate(std::uint32_t capacity) {
    return capacity ? std::allocator<T>().allocate(capacity) : nullptr;
  }
  static void m_sFree(T* pBuffer, std::uint32_t capacity) {
    if (pBuffer) {
      std::allocator<T>().deallocate(pBuffer, capacity);
    }
  }
  template <class FFill> static void m_sBuild(T* pFirst, std::uint32_t count, FFill& fill) {
    std::uint32_t built = 0;
    try {
      for (; built < count; ++built) {
        fill(pFirst + built, built);
      }
    } catch (...) {
      std::destroy_n(pFirst, built);
      throw;
    }
  }

  CKrnSectionLock m_lock;
  std::uint32_t m_capacity;
  std::uint32_t m_size;
  T* m_pBuffer;
};

} // namespace KRN
