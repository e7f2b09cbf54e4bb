// Lays records out as the debugger shows them, one formatted piece per
// record, each with a style that a reporter may colour. An expression is
// held until its outcome arrives, so it can take the outcome's style.
#pragma once

#include "LogRecord.h"

#include <functional>
#include <string>
#include <string_view>

enum ETextStyle {
  TEXT_STYLE_PLAIN,
  TEXT_STYLE_PASS,
  TEXT_STYLE_FAIL,
  TEXT_STYLE_HEADING, // class captions and names, suite results heading
  TEXT_STYLE_CASE,    // case captions, time lines and class result lines
  TEXT_STYLE_WARNING,
};

class CTranscriptFormatter {
public:
  // Receives the CP932 text of a styled piece and the line feeds after it,
  // apart so that colour never spans a line end.
  using FPiece =
      std::function<void(std::string_view text, ETextStyle style, std::string_view tail)>;

  explicit CTranscriptFormatter(FPiece piece) : m_piece(std::move(piece)) {}

  void Add(const SLogRecord& record);
  // Emits a held expression; call when no further record is coming soon.
  void Flush();

private:
  void m_Emit(std::string_view head, std::string_view text, std::string_view suffix,
              ETextStyle style, std::string_view tail);

  FPiece m_piece;
  bool m_holding = false;
  std::string m_heldExpression;
  std::string m_scratch;
};
