// A program built against the installed package: only public headers.
#include <probex/probex.h>

#include <cstdint>
#include <cstdio>
#include <cstring>

class CCountingSink : public CProbexView {
public:
  int results = 0, failures = 0;
  void OutputMessage(const char* text, EPxMsgType kind) override {
    results += kind == PX_MSG_CLASS_RESULT;
    failures += kind == PX_MSG_TEST_NG;
    (void)text;
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
  std::printf("results=%d failures=%d\n", sink.results, sink.failures);
  return sink.results == 3 && sink.failures == 1 && counts.GetSize() == 3 ? 0 : 1;
}
