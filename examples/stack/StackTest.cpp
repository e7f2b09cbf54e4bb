// A first test class: build it, run it, and read what it reports.
#include <probex/probex.h>

#include <stdexcept>
#include <vector>

// The code under test: a small stack that checks its own use.
class CStack {
public:
  void Push(int value) { m_items.push_back(value); }
  int Pop() {
    PX_CODE_VERIFY(!m_items.empty());
    if (m_items.empty())
      throw std::out_of_range("empty stack");
    const int top = m_items.back();
    m_items.pop_back();
    return top;
  }
  int Depth() const { return static_cast<int>(m_items.size()); }

private:
  std::vector<int> m_items;
};

class CStackTest : public CProbex {
public:
  CStackTest() { PX_CAPTION_CLASS("CStack: last in, first out"); }

  PX_CASE(PushThenPop) {
    PX_CASE_CAPTION("a pushed value comes back");
    CStack stack;
    stack.Push(7);
    PX_ASSERT_EQUAL(stack.Depth(), 1);
    PX_ASSERT_EQUAL(stack.Pop(), 7);
  }

  PX_CASE(PopEmpty) {
    PX_CASE_CAPTION("popping an empty stack");
    CStack stack;
    PX_ASSERT_EXCEPTION(stack.Pop(), std::out_of_range);
    PX_ASSERT_COUNT(1);
  }

  PX_CASE(Order) {
    PX_CASE_CAPTION("values come back in reverse order");
    CStack stack;
    for (int i = 1; i <= 3; ++i)
      stack.Push(i);
    const int first = stack.Pop();
    PX_ASSERT(first == 3);
    PX_DUMP(&first, static_cast<int>(sizeof first));
    // Wrong on purpose, so that the run shows what a failure looks like in
    // the transcript, in the report and in the exit status: 2 comes next.
    PX_ASSERT_EQUAL(stack.Pop(), 1);
  }

  PX_DECLARATION_END();
};

int main() {
  CProbexSuite suite;
  PX_ADD(suite, CStackTest);
  suite.Suite();
  return PxExitStatus(); // 1 here: one check above fails
}
