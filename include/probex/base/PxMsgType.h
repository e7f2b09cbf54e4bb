// The kind of a message: four ASCII characters read as a big-endian 32-bit
// number, so that 'TtOk' is 0x54744F6B. docs/LOG-FORMAT.md shows how kinds
// are written to the log.
#pragma once

#define PX_MSG_CODE(a, b, c, d)                                                                    \
  ((static_cast<unsigned>(a) << 24) | (static_cast<unsigned>(b) << 16) |                           \
   (static_cast<unsigned>(c) << 8) | static_cast<unsigned>(d))

// Every kind, once: name and its four characters.
#define PX_MSG_KINDS(X)                                                                            \
  /* Free text: blank lines, banner, warnings, dumps, suite results. */                            \
  X(PX_MSG_ETC, 'E', 't', 'c', '.')                                                                \
  /* Class level. */                                                                               \
  X(PX_MSG_CLASS_CAPTION, 'C', 'l', 'C', 'p')                                                      \
  X(PX_MSG_CLASS_NAME, 'C', 'l', 'N', 'm')                                                         \
  X(PX_MSG_CLASS_RESULT, 'C', 'l', 'R', 'e')                                                       \
  /* Case (test method) level. */                                                                  \
  X(PX_MSG_CASE_LINE, 'C', 'a', 'L', 'n')                                                          \
  X(PX_MSG_CASE_CAPTION, 'C', 'a', 'C', 'p')                                                       \
  X(PX_MSG_CASE_TIME, 'C', 'a', 'T', 'm')                                                          \
  /* Test (one check) level. */                                                                    \
  X(PX_MSG_TEST_CAPTION, 'T', 't', 'C', 'p')                                                       \
  X(PX_MSG_TEST_LINE, 'T', 't', 'L', 'n')                                                          \
  X(PX_MSG_TEST_EXPECT_LINE, 'T', 't', 'E', 'L')                                                   \
  X(PX_MSG_TEST_EXPRESSION, 'T', 't', 'E', 'x')                                                    \
  X(PX_MSG_TEST_OK, 'T', 't', 'O', 'k')                                                            \
  X(PX_MSG_TEST_NG, 'T', 't', 'N', 'g')                                                            \
  /* Coverage records. */                                                                          \
  X(PX_MSG_COVERAGE_LINE, 'P', 'x', 'L', 'n')                                                      \
  X(PX_MSG_COVERAGE_FUNC_IN, 'P', 'x', 'F', 'n')                                                   \
  X(PX_MSG_COVERAGE_FUNC_OUT, 'P', 'x', 'F', 'o')                                                  \
  X(PX_MSG_COVERAGE_PASSABLE, 'P', 'x', 'P', 's')                                                  \
  X(PX_MSG_COVERAGE_COUNT, 'P', 'x', 'C', 't')

#define PX_MSG_ENUMERATOR(name, a, b, c, d) name = PX_MSG_CODE(a, b, c, d),
enum EPxMsgType : unsigned { PX_MSG_KINDS(PX_MSG_ENUMERATOR) };
#undef PX_MSG_ENUMERATOR

// True for the five coverage kinds, which the debugger path never shows.
constexpr bool PxIsCoverageKind(EPxMsgType kind) {
  return kind == PX_MSG_COVERAGE_LINE || kind == PX_MSG_COVERAGE_FUNC_IN ||
         kind == PX_MSG_COVERAGE_FUNC_OUT || kind == PX_MSG_COVERAGE_PASSABLE ||
         kind == PX_MSG_COVERAGE_COUNT;
}
