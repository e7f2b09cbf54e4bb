// Holds an object that must outlive every destructor of the process: it is
// built in place when the holder is, and never destroyed, so code that runs
// late at exit (a detached worker, another module's destructor) still finds
// it whole. The memory goes back with the process.
#pragma once

#include <new>
#include <utility>

template <class T> class CPxLasting {
public:
  template <class... TArgs> explicit CPxLasting(TArgs&&... args) {
    new (m_storage) T(std::forward<TArgs>(args)...);
  }
  CPxLasting(const CPxLasting&) = delete;
  CPxLasting& operator=(const CPxLasting&) = delete;

  T& operator*() { return *std::launder(reinterpret_cast<T*>(m_storage)); }
  T* operator->() { return &**this; }

private:
  alignas(T) unsigned char m_storage[sizeof(T)];
};
