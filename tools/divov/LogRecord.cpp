#include "LogRecord.h"

bool PxIsKnownKind(unsigned kind) {
  switch (kind) {
  case PX_MSG_ETC:
  case PX_MSG_CLASS_CAPTION:
  case PX_MSG_CLASS_NAME:
  case PX_MSG_CLASS_RESULT:
  case PX_MSG_CASE_LINE:
  case PX_MSG_CASE_CAPTION:
  case PX_MSG_CASE_TIME:
  case PX_MSG_TEST_CAPTION:
  case PX_MSG_TEST_LINE:
  case PX_MSG_TEST_EXPECT_LINE:
  case PX_MSG_TEST_EXPRESSION:
  case PX_MSG_TEST_OK:
  case PX_MSG_TEST_NG:
  case PX_MSG_COVERAGE_LINE:
  case PX_MSG_COVERAGE_FUNC_IN:
  case PX_MSG_COVERAGE_FUNC_OUT:
  case PX_MSG_COVERAGE_PASSABLE:
  case PX_MSG_COVERAGE_COUNT:
    return true;
  default:
    return false;
  }
}
