// CProbex: the base of every test class. Declare cases with PX_CASE, close
// the class with PX_DECLARATION_END(), give it a caption with
// PX_CAPTION_CLASS() in the constructor, and call Run. Every event of the
// run leaves through OutputMessage, to the attached sink or the default one.
#pragma once

#include "probex/base/PxApi.h"
#include "probex/view/ProbexView.h"

#include <cstdint>
#include <string>

class CProbexData;
class CProbexRecordSink;
namespace NPxValue {
struct SKept;
}

class PX_API CProbex : public CProbexView {
public:
  // A test method or framework operation as the run loop calls it.
  using PxMethod = void (CProbex::*)();
  using PxRunStartHook = void (*)(CProbex* testCase);

  CProbex();
  CProbex(const CProbex&) = delete;
  CProbex& operator=(const CProbex&) = delete;

  // The framework's own operations, in the order of their positions.
  ~CProbex() override;
  void OutputMessage(const char* text, EPxMsgType kind) override;
  virtual void Run();
  virtual void RunMain();

protected:
  virtual void x_SetDecClass_QCoverageDisable();
  virtual void SetUp();
  virtual void TearDown();
  // The first position of the test methods in the method table.
  virtual int GetVirtualMethodCount();

public:
  // The sink is not owned and must outlive every run; null detaches.
  void SetViewClass(CProbexView* view);
  // Counts one false ASSERT/VERIFY of the code under test.
  void x_AssertFailedLine(const char* file, int line);

protected:
  // Captions, locations and dumps. A null caption is sent as an empty text.
  void x_SetClassCaption(const char* caption);
  void x_SetCaseCaption(const char* caption, const char* file, int line);
  void x_SetTestCaption(const char* caption);
  void x_SetTestLine(const char* file, int line);
  // Hex rows of 16 bytes; nothing for a size of 0 or less or null data.
  void Dump(const void* data, int size);

  // Expectations: announce the location, then check. A negative line keeps
  // the pending ASSERT/VERIFY count for x_IsAssertCount.
  void x_SetTestExpectLine(const char* file, int line);
  void x_Assert(bool result, const char* expression);
  void x_AssertCompare(bool result, const char* left, const char* right);
  // Exact comparison up to the terminator; two nulls are equal, a null and
  // a string are not.
  void x_AssertCompareStr(const char* s1, const char* s2, const char* left, const char* right);
  void x_AssertCompareStr(const unsigned short* s1, const unsigned short* s2, const char* left,
                          const char* right);
  void x_AssertException(bool result, const char* tryText, const char* exceptionText);
  void x_IsAssertCount(int expected);
  // The comparison macros keep their values here right before the check;
  // the check that follows shows them if it fails, and forgets them.
  void x_KeepValues(const NPxValue::SKept& kept);

  // Only the end marker calls this: the loop stops after the current method.
  void x_SetEndMethodFlag();

  // Called by RunMain once the counters are reset, before the first case: a
  // class whose threads start earlier lets their expectations count from here.
  void x_SetRunStartHook(PxRunStartHook hook);
  // Called by RunMain when the last case's method has returned, before the
  // case's time: what the class's threads still send belongs to that case.
  void x_SetLastCaseEndHook(PxRunStartHook hook);

  // The method table, filled in declaration order by the constructors of
  // the framework classes and by the PX_CASE members of test classes. A
  // method with a case name is a case that a filter may leave out; the end
  // marker and the framework's own slots have none and always run.
  void x_AddMethod(PxMethod method, const char* caseName = nullptr);
  void x_AddFrameworkSlot();
  struct CPxCaseSlot {
    CPxCaseSlot(CProbex* owner, PxMethod method, const char* caseName) {
      owner->x_AddMethod(method, caseName);
    }
  };

private:
  PX_INTERNAL void m_RunSub(int position);
  PX_INTERNAL bool m_HasMethodAt(int position) const;
  PX_INTERNAL bool m_IsSelected(int position, const std::string& className) const;
  PX_INTERNAL void m_AssertCommon(bool result, const char* expression, const char* okText,
                                  const char* ngText);
  PX_INTERNAL void m_CheckAssertCounter();
  PX_INTERNAL void m_SendLocation(const char* file, long long line, EPxMsgType kind);
  PX_INTERNAL void m_FrameworkSlot();
  // The sink of side records on the attached view, else this object; null
  // for none. Found once for many records.
  PX_INTERNAL CProbexRecordSink* m_RecordSink();
  // Sends a record beside the messages: to that sink, else to the log where
  // the messages go there. Inside the caller's group.
  PX_INTERNAL void m_SendSideRecord(CProbexRecordSink* sink, const char* text, unsigned kind);
  PX_INTERNAL void m_EndCase(std::uint32_t milliseconds);

  const PxMethod* m_pMethodTable;
  CProbexData* m_pData;
};
