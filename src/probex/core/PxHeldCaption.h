// A test caption waits for the next message of its thread and goes out in
// that message's group, so that it stays with the check it names: no other
// thread's message comes between a caption and its check. One thread's
// messages keep the order in which it sent them.
#pragma once

#include <string>

class CProbex;

class CPxHeldCaption {
public:
  // Holds the caption for the calling thread; one held before goes out first.
  static void Hold(CProbex& owner, const char* caption);
  // Sends the calling thread's held caption, if any, through via.
  static void Release(CProbex& via) {
    if (m_sbHeld)
      m_sRelease(via);
  }
  // Forgets the calling thread's held caption.
  static void Drop() { m_sbHeld = false; }
  // Whether the calling thread holds a caption that its next message sends.
  static bool IsHeld() { return m_sbHeld; }
  // The caption the calling thread sent last, kept for a check's resend.
  static const std::string& Last();

private:
  static void m_sRelease(CProbex& via);

  static inline thread_local bool m_sbHeld = false;
};
