// A sink that keeps every message it receives, kind and bytes, in order.
#pragma once

#include "probex/view/ProbexView.h"

#include <mutex>
#include <string>
#include <vector>

struct SPxMessage {
  EPxMsgType kind;
  std::string text;
  bool operator==(const SPxMessage& other) const {
    return kind == other.kind && text == other.text;
  }
};

class CPxRecordingSink : public CProbexView {
public:
  void OutputMessage(const char* text, EPxMsgType kind) override {
    std::lock_guard<std::mutex> guard(m_lock);
    m_messages.push_back({kind, text ? text : "<null>"});
  }
  std::vector<SPxMessage> Messages() const {
    std::lock_guard<std::mutex> guard(m_lock);
    return m_messages;
  }
  void Clear() {
    std::lock_guard<std::mutex> guard(m_lock);
    m_messages.clear();
  }

private:
  mutable std::mutex m_lock;
  std::vector<SPxMessage> m_messages;
};

// The four characters of a kind, for readable failure output.
std::string PxKindText(EPxMsgType kind);
// The messages as "kind|text" lines, texts in UTF-8 and times made fixed.
std::string PxTranscript(const std::vector<SPxMessage>& messages);
void PrintTo(const SPxMessage& message, std::ostream* os);
