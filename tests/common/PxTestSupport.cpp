#include "common/PxDebuggerStandIn.h"
#include "common/PxIconv.h"
#include "common/PxRecordingSink.h"
#include "probex/base/PxRecordCodec.h"

#include <atomic>
#include <mutex>
#include <ostream>

namespace {

std::mutex g_lock;
std::vector<std::string> g_events;
std::atomic<bool> g_attached{true};

bool IsPresent() {
  return g_attached.load();
}

void Output(const char* text) {
  std::lock_guard<std::mutex> guard(g_lock);
  g_events.emplace_back(text);
}

void Pause(unsigned milliseconds) {
  std::lock_guard<std::mutex> guard(g_lock);
  g_events.push_back("<pause " + std::to_string(milliseconds) + ">");
}

const NPxPlatform::SDebuggerHooks g_hooks{IsPresent, Output, Pause};

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

std::vector<std::string> CPxDebuggerStandIn::Events() const {
  std::lock_guard<std::mutex> guard(g_lock);
  return g_events;
}

std::string CPxDebuggerStandIn::Output() const {
  std::string all;
  for (const std::string& event : Events())
    if (event.rfind("<pause", 0) != 0)
      all += event;
  return all;
}

std::string PxKindText(EPxMsgType kind) {
  const NPxLogFormat::SKindCode code = NPxLogFormat::KindCode(kind);
  return std::string(code.text, code.length);
}

void PrintTo(const SPxMessage& message, std::ostream* os) {
  *os << PxKindText(message.kind) << NPxLogFormat::kKindSeparator << message.text;
}

#include "common/PxChildProcess.h"
#include "common/PxTestFiles.h"
#include "common/PxViewerStandIn.h"

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

#if defined(_WIN32)
// A copy of a small recording program, named DiVov.exe.
CPxViewerStandIn::CPxViewerStandIn() : m_directory(PxMakeTempDir("viewer")) {
  std::error_code ignored;
  std::filesystem::copy_file(PxScenarioPath("px_viewer_standin.exe"), m_directory + "/DiVov.exe",
                             ignored);
}

std::string CPxViewerStandIn::Path() const {
  const char* path = std::getenv("PATH");
  return m_directory + ";" + (path ? path : "");
}
#else
#include <sys/stat.h>

CPxViewerStandIn::CPxViewerStandIn() : m_directory(PxMakeTempDir("viewer")) {
  const std::string script = m_directory + "/DiVov.exe";
  std::ofstream out(script);
  out << "#!/bin/sh\n"
      << "{ for a in \"$@\"; do printf '%s\\n' \"$a\"; done; echo ---; } >> '" << m_directory
      << "/starts'\n";
  out.close();
  ::chmod(script.c_str(), 0755);
}

std::string CPxViewerStandIn::Path() const {
  const char* path = std::getenv("PATH");
  return m_directory + ":" + (path ? path : "/usr/bin:/bin");
}
#endif

std::vector<std::string> CPxViewerStandIn::Starts() const {
  // The detached script may still be writing: wait for it a little.
  std::vector<std::string> starts;
  for (int attempt = 0; attempt < 50; ++attempt) {
    const std::string all = PxReadFile(m_directory + "/starts");
    starts.clear();
    size_t begin = 0;
    for (size_t end; (end = all.find("---\n", begin)) != std::string::npos; begin = end + 4)
      starts.push_back(all.substr(begin, end - begin));
    if (begin == all.size() && !starts.empty())
      break;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return starts;
}

std::string PxTranscript(const std::vector<SPxMessage>& messages) {
  std::string all;
  for (const SPxMessage& message : messages) {
    const std::string utf8 = PxIconv("UTF-8", "CP932", message.text);
    all += PxKindText(message.kind) + "|" + (utf8 == "<conversion failed>" ? message.text : utf8) +
           "\n";
  }
  return PxStable(all);
}
