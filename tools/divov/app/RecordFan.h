// Hands each record read to the model and to every reporter, said in
// English first when the viewer speaks English (the log itself never
// changes). The one way records reach them, in the program and wherever
// else a log is viewed.
#pragma once

#include "model/LogRecord.h"
#include "model/RunModel.h"
#include "report/Reporter.h"

#include <utility>
#include <vector>

class CRecordFan {
public:
  CRecordFan(CRunModel& model, std::vector<CReporter*> reporters, bool english)
      : m_model(model), m_reporters(std::move(reporters)), m_english(english) {}

  void Add(const SLogRecord& record);
  const std::vector<CReporter*>& Reporters() const { return m_reporters; }

private:
  CRunModel& m_model;
  std::vector<CReporter*> m_reporters;
  bool m_english;
  SLogRecord m_inEnglish; // reused, so that its text keeps its storage
};
