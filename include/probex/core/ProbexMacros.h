// The macros a test class is written with. Each expectation announces its
// source location, then makes its check, as one statement.
#pragma once

#include "probex/core/PxValueText.h"
#include "probex/coverage/PxCoverage.h"

#include <type_traits>

// In the test class's constructor.
#define PX_CAPTION_CLASS(caption) x_SetClassCaption(caption)

// Declares a test method and adds it to the method table in declaration
// order: PX_CASE(Push); with the body elsewhere, or PX_CASE(Push) { ... }.
#define PX_CASE(name) PX_METHOD_SLOT(name, #name)

// The last declaration of every test class: the run loop stops here. It has
// no case name, so no filter leaves it out.
#define PX_DECLARATION_END()                                                                       \
  PX_METHOD_SLOT(PxDeclarationEnd, nullptr) {                                                      \
    x_SetEndMethodFlag();                                                                          \
  }                                                                                                \
  static_assert(true, "")

#define PX_METHOD_SLOT(name, caseName)                                                             \
  CPxCaseSlot px_slot_##name{                                                                      \
      this, static_cast<::CProbex::PxMethod>(&std::remove_pointer_t<decltype(this)>::name),        \
      caseName};                                                                                   \
  virtual void name()

#define PX_CASE_CAPTION(caption) x_SetCaseCaption(caption, __FILE__, __LINE__)
#define PX_TEST_CAPTION(caption) x_SetTestCaption(caption)
#define PX_TEST_LINE() x_SetTestLine(__FILE__, __LINE__)

#define PX_ASSERT(expr)                                                                            \
  do {                                                                                             \
    x_SetTestExpectLine(__FILE__, __LINE__);                                                       \
    x_Assert((expr) ? true : false, #expr);                                                        \
  } while (0)

// NULL, kept as the integer it is, is no mistake here: compared with a
// pointer it still means the null pointer (see NPxValue::Equal).
#if defined(__clang__)
#define PX_KEEP_NULL_BEGIN                                                                         \
  _Pragma("clang diagnostic push") _Pragma("clang diagnostic ignored \"-Wnull-conversion\"")
#define PX_KEEP_NULL_END _Pragma("clang diagnostic pop")
#elif defined(__GNUC__)
#define PX_KEEP_NULL_BEGIN                                                                         \
  _Pragma("GCC diagnostic push") _Pragma("GCC diagnostic ignored \"-Wconversion-null\"")
#define PX_KEEP_NULL_END _Pragma("GCC diagnostic pop")
#else
#define PX_KEEP_NULL_BEGIN
#define PX_KEEP_NULL_END
#endif

// Each side is evaluated once. A failed comparison keeps where its values
// are, and the library shows them beside the failure.
#define PX_ASSERT_EQUAL(left, right)                                                               \
  do {                                                                                             \
    x_SetTestExpectLine(__FILE__, __LINE__);                                                       \
    PX_KEEP_NULL_BEGIN                                                                             \
    const auto& px_left = (left);                                                                  \
    const auto& px_right = (right);                                                                \
    PX_KEEP_NULL_END                                                                               \
    const bool px_equal = ::NPxValue::Equal(px_left, px_right);                                    \
    x_KeepValues(::NPxValue::Keep(px_left, px_right));                                             \
    x_AssertCompare(px_equal, #left, #right);                                                      \
  } while (0)

// Terminated strings (char or 16-bit) compare up to their terminator; a
// std::string or std::string_view on either side compares whole.
#define PX_ASSERT_STR(s1, s2)                                                                      \
  do {                                                                                             \
    x_SetTestExpectLine(__FILE__, __LINE__);                                                       \
    const auto& px_s1 = (s1);                                                                      \
    const auto& px_s2 = (s2);                                                                      \
    const ::NPxValue::SText px_t1 = ::NPxValue::TextOf(px_s1);                                     \
    const ::NPxValue::SText px_t2 = ::NPxValue::TextOf(px_s2);                                     \
    x_KeepValues(::NPxValue::KeepTexts(px_t1, px_t2));                                             \
    if (px_t1.counted || px_t2.counted)                                                            \
      x_AssertCompare(::NPxValue::SameText(px_t1, px_t2), #s1, #s2);                               \
    else                                                                                           \
      x_AssertCompareStr(::NPxValue::Terminated(px_s1), ::NPxValue::Terminated(px_s2), #s1, #s2);  \
  } while (0)

// Passes when the statement throws `type`; any other exception leaves the
// test method like every exception the framework does not expect.
#define PX_ASSERT_EXCEPTION(statement, type)                                                       \
  do {                                                                                             \
    x_SetTestExpectLine(__FILE__, __LINE__);                                                       \
    bool px_raised = false;                                                                        \
    try {                                                                                          \
      statement;                                                                                   \
    } catch (const type&) {                                                                        \
      px_raised = true;                                                                            \
    }                                                                                              \
    x_AssertException(px_raised, #statement, #type);                                               \
  } while (0)

// The line goes negated, so the pending ASSERT/VERIFY count survives until
// x_IsAssertCount reads it.
#define PX_ASSERT_COUNT(n)                                                                         \
  do {                                                                                             \
    x_SetTestExpectLine(__FILE__, -(__LINE__));                                                    \
    x_IsAssertCount(n);                                                                            \
  } while (0)

#define PX_DUMP(data, size) Dump(data, size)

// Adds a new Class to a suite, under its own name.
#define PX_ADD(suite, Class) (suite).x_AddProbex(#Class, new Class)

// In code under test: a false check is charged to the running test case.
// PX_CODE_ASSERT is evaluated only without NDEBUG; PX_CODE_VERIFY always.
#if defined(NDEBUG)
#define PX_CODE_ASSERT(expr) ((void)0)
#else
#define PX_CODE_ASSERT(expr)                                                                       \
  ((expr) ? (void)0 : (void)::NPxCoverage::OnAssertFailedLine(__FILE__, __LINE__))
#endif
#define PX_CODE_VERIFY(expr)                                                                       \
  ((expr) ? (void)0 : (void)::NPxCoverage::OnAssertFailedLine(__FILE__, __LINE__))
