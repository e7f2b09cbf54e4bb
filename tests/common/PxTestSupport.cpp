#include "common/PxDebuggerStandIn.h"
#include "common/PxRecordingSink.h"

#include <atomic>
#include <mutex>
#include <ostream>

namespace {

std::mutex g_lock;
std::vector<std::string> g_events;
std::atomic<bool> g_attached{true};

bool m_sIsPresent() {
  return g_attached.load();
}

void m_sOutput(const char* text) {
  std::lock_guard<std::mutex> guard(g_lock);
  g_events.emplace_back(text);
}

void m_sPause(unsigned milliseconds) {
  std::lock_guard<std::mutex> guard(g_lock);
  g_events.push_back("<pause " + std::to_string(milliseconds) + ">");
}

const NPxPlatform::SDebuggerHooks g_hooks{m_sIsPresent, m_sOutput, m_sPause};

} // namespace

CPxDebuggerStandIn::CPxDebuggerStandIn(bool attached) {
  g_attached = attached;
  {
    std::lock_guard<std::mutex> guard(g_lock);
    g_events.clear();
  }
  NPxPlatform::SetDebuggerHooks(&g_hooks);
}

CPxDebuggerStandIn::~CPxDebuggerStandIn() {
  NPxPlatform::SetDebuggerHooks(nullptr);
}

void CPxDebuggerStandIn::SetAttached(bool attached) {
  g_attached = attached;
}

std::vector<std::string> CPxDebuggerStandIn::Events() const {
  std::lock_guard<std::mutex> guard(g_lock);
  return g_events;
}

std::string CPxDebuggerStandIn::Output() const {
  std::string all;
  for (const std::string& event : Events()) {
    if (event.rfind("<pause", 0) != 0)
      all += event;
  }
  return all;
}

std::string PxKindText(EPxMsgType kind) {
  std::string code;
  for (int shift = 24; shift >= 0; shift -= 8)
    code += static_cast<char>((static_cast<unsigned>(kind) >> shift) & 0xFF);
  return code;
}

void PrintTo(const SPxMessage& message, std::ostream* os) {
  *os << PxKindText(message.kind) << "|" << message.text;
}
