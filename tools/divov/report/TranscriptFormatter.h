// Lays records out as the debugger shows them, one formatted piece per
// record, each with a style that a reporter may colour. An expression is
// held until its outcome arrives, so it can take the outcome's style; a
// failure's values show right under it, before its blank line.
#pragma once

#include "model/LogRecord.h"

#include <functional>
#include <string>
#include <string_view>

enum class ETextStyle {
  Plain,
  Pass,
  Fail,
  Heading, // class captions and names, suite results heading
  Case,    // case captions, time lines and class result lines
  Warning,
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
  // Lays the text out as its kind shows.
  void m_Show(unsigned kind, std::string_view text, ETextStyle style);
  void m_EmitGap();

  FPiece m_piece;
  bool m_holding = false;
  std::string m_heldExpression;
  std::string m_heldGap; // the line ends still owed after a failure
  std::string m_scratch;
};
