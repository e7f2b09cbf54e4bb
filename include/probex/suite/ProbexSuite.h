// CProbexSuite runs several test cases in the order they were added and
// sends a results block: each class's name, failures with their locations,
// and its result lines. It owns the cases added with PX_ADD / x_AddProbex.
#pragma once

#include "probex/base/PxApi.h"
#include "probex/view/ProbexView.h"

class CProbex;
class CProbexSuiteData;

class PX_API CProbexSuite : public CProbexView {
public:
  CProbexSuite();
  // Runs testCase at once with view attached; the new suite stays empty.
  CProbexSuite(CProbex& testCase, CProbexView* view);
  CProbexSuite(const CProbexSuite&) = delete;
  CProbexSuite& operator=(const CProbexSuite&) = delete;
  ~CProbexSuite() override;

  // With a sink of its own the suite forwards everything there and sends no
  // results block; null restores collecting and printing.
  void SetViewClass(CProbexView* view);
  // Takes over a heap-allocated case. A null name is stored as empty; a null
  // case is skipped by Suite and by the destructor.
  void x_AddProbex(const char* name, CProbex* testCase);
  void Suite();

private:
  void OutputMessage(const char* text, EPxMsgType kind) override;

  CProbexSuiteData* m_pData;
};
