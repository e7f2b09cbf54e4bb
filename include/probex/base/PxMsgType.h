// The kind of a message: four ASCII characters read as a big-endian 32-bit
// number, so that 'TtOk' is 0x54744F6B and the text of a kind reads like it.
#pragma once

#define PX_MSG_CODE(a, b, c, d)                                                                    \
  ((static_cast<unsigned>(a) << 24) | (static_cast<unsigned>(b) << 16) |                           \
   (static_cast<unsigned>(c) << 8) | static_cast<unsigned>(d))

enum EPxMsgType : unsigned {
  // Free text: blank lines, banner, warnings, dumps, suite results.
  PX_MSG_ETC = PX_MSG_CODE('E', 't', 'c', '.'),
  // Class level.
  PX_MSG_CLASS_CAPTION = PX_MSG_CODE('C', 'l', 'C', 'p'),
  PX_MSG_CLASS_NAME = PX_MSG_CODE('C', 'l', 'N', 'm'),
  PX_MSG_CLASS_RESULT = PX_MSG_CODE('C', 'l', 'R', 'e'),
  // Case (test method) level.
  PX_MSG_CASE_LINE = PX_MSG_CODE('C', 'a', 'L', 'n'),
  PX_MSG_CASE_CAPTION = PX_MSG_CODE('C', 'a', 'C', 'p'),
  PX_MSG_CASE_TIME = PX_MSG_CODE('C', 'a', 'T', 'm'),
  // Test (one check) level.
  PX_MSG_TEST_CAPTION = PX_MSG_CODE('T', 't', 'C', 'p'),
  PX_MSG_TEST_LINE = PX_MSG_CODE('T', 't', 'L', 'n'),
  PX_MSG_TEST_EXPECT_LINE = PX_MSG_CODE('T', 't', 'E', 'L'),
  PX_MSG_TEST_EXPRESSION = PX_MSG_CODE('T', 't', 'E', 'x'),
  PX_MSG_TEST_OK = PX_MSG_CODE('T', 't', 'O', 'k'),
  PX_MSG_TEST_NG = PX_MSG_CODE('T', 't', 'N', 'g'),
  // Coverage records.
  PX_MSG_COVERAGE_LINE = PX_MSG_CODE('P', 'x', 'L', 'n'),
  PX_MSG_COVERAGE_FUNC_IN = PX_MSG_CODE('P', 'x', 'F', 'n'),
  PX_MSG_COVERAGE_FUNC_OUT = PX_MSG_CODE('P', 'x', 'F', 'o'),
  PX_MSG_COVERAGE_PASSABLE = PX_MSG_CODE('P', 'x', 'P', 's'),
  PX_MSG_COVERAGE_COUNT = PX_MSG_CODE('P', 'x', 'C', 't'),
};

// True for the five coverage kinds, which the debugger path never shows.
constexpr bool PxIsCoverageKind(EPxMsgType kind) {
  return kind == PX_MSG_COVERAGE_LINE || kind == PX_MSG_COVERAGE_FUNC_IN ||
         kind == PX_MSG_COVERAGE_FUNC_OUT || kind == PX_MSG_COVERAGE_PASSABLE ||
         kind == PX_MSG_COVERAGE_COUNT;
}
