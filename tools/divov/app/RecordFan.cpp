#include "app/RecordFan.h"

#include "model/EnglishTexts.h"

void CRecordFan::Add(const SLogRecord& record) {
  const SLogRecord* shown = &record;
  // Copied only when its text changes: most records stay as they are.
  if (m_english && PxEnglishOf(record.kind, record.text, m_inEnglish.text)) {
    m_inEnglish.kind = record.kind;
    m_inEnglish.offset = record.offset;
    shown = &m_inEnglish;
  }
  m_model.Add(*shown);
  for (CReporter* reporter : m_reporters)
    reporter->OnRecord(*shown);
}
