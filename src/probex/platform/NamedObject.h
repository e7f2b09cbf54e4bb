// One object of the per-user object namespace: a payload of fixed size that
// every holder shares, alive while any holder keeps it open and gone once the
// last holder closes it or dies. Handles close themselves; they move, never copy.
//
// The namespace is $PROBEX_OBJECT_DIR when set (tests give each run its own),
// else $XDG_RUNTIME_DIR/probex/, else /dev/shm/probex-<uid>/. A default
// folder that another user owns or may enter gives way to
// $HOME/.cache/probex-objects/; a folder that cannot be used, fallback and
// all, refuses every call.
// In a child made by fork the inherited handles read as closed: the holder
// is the parent. Names are bytes, compared exactly, up to kMaxNameLength.
// On Windows the kernel's own named objects serve (win32/NamedObject.inc).
#pragma once

#include <memory>

namespace NPxPlatform {

// Each kind is a namespace of its own: an event and a memory block may share a name.
enum class EPxObjectKind : char { Event = 'e', Memory = 'm' };

// What one handle holds; each platform defines its own.
struct SObjectHolder;

class CNamedObject {
public:
  // Handles of one object at a time, over all processes; one more is refused.
  static constexpr int kMaxHolders = 64;
  // The longest name in bytes, without its terminator: Windows names its
  // kernel objects in at most MAX_PATH characters.
#if defined(_WIN32)
  static constexpr unsigned kMaxNameLength = 259;
#else
  static constexpr unsigned kMaxNameLength = 1023;
#endif
  static constexpr unsigned kMaxPayloadSize = 1u << 24;

  CNamedObject();
  ~CNamedObject();
  CNamedObject(CNamedObject&& other) noexcept;
  CNamedObject& operator=(CNamedObject&& other) noexcept;
  CNamedObject(const CNamedObject&) = delete;
  CNamedObject& operator=(const CNamedObject&) = delete;

  // 1: joined a living object of that name; 0: made a fresh, zero-filled one;
  // -1: refused (no or too long a name, a larger payload than the living
  // object has, too many holders, no namespace). Closes what was open first.
  int Create(EPxObjectKind kind, const char* name, unsigned payloadSize);
  // Joins a living object; creates nothing and fails when none has that name.
  bool Open(EPxObjectKind kind, const char* name, unsigned payloadSize);
  // True when a handle was open. The last holder's close removes the name.
  bool Close();
  bool IsOpen() const;

  // The shared payload, or null when not open.
  void* Payload() const;
  // This handle's holder slot, 0 to kMaxHolders - 1, or -1 when not open.
  int Slot() const;
  // Whether another handle holds the slot; a slot of a dead holder is free.
  bool IsSlotHeld(int slot) const;

private:
  // The Windows event waits on the kernel handle that the holder keeps.
  friend class CNamedEvent;

  int m_Attach(EPxObjectKind kind, const char* name, unsigned payloadSize, bool create);

  std::unique_ptr<SObjectHolder> m_pHolder;
};

} // namespace NPxPlatform
