// A program built against the installed package: only public headers.
#include <probex/probex.h>

#include <cstdint>
#include <cstring>

// A sink of its own that counts failures and passes everything on.
class CCountingSink : public CProbexView {
public:
  int failures = 0;
  void OutputMessage(const char* text, EPxMsgType kind) override {
    failures += kind == PX_MSG_TEST_NG;
    CProbexView::OutputMessage(text, kind);
  }
};

class CConsumerTest : public CProbex {
public:
  CConsumerTest() { PX_CAPTION_CLASS("consumer"); }
  PX_CASE(Passes) { PX_ASSERT_STR("abc", "abc"); }
  PX_CASE(Fails) { PX_ASSERT_EQUAL(std::strlen("ab"), 3u); }
  PX_DECLARATION_END();
};

int main() {
  CCountingSink sink;
  CConsumerTest test;
  test.SetViewClass(&sink);
  test.Run();
  KRN::CKrnGrowVector<std::uint32_t> counts;
  counts.Set(2, 7);
  if (counts.GetSize() != 3 || sink.failures != PxExitStatus())
    return 2;
  return PxExitStatus();
}
