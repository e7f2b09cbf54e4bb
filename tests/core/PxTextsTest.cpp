// The Japanese texts must be exactly the CP932 bytes of their readable form.
#include "ReadableTexts.h"

#include <gtest/gtest.h>

#include <iconv.h>

#include <string>

namespace {

std::string ToCp932(const std::string& utf8) {
  iconv_t cd = ::iconv_open("CP932", "UTF-8");
  if (cd == reinterpret_cast<iconv_t>(-1))
    return "<no CP932 converter>";
  std::string out(utf8.size() * 2 + 4, '\0');
  char* in = const_cast<char*>(utf8.data());
  size_t inLeft = utf8.size();
  char* dst = out.data();
  size_t outLeft = out.size();
  const size_t rc = ::iconv(cd, &in, &inLeft, &dst, &outLeft);
  ::iconv_close(cd);
  if (rc == static_cast<size_t>(-1))
    return "<conversion failed>";
  out.resize(out.size() - outLeft);
  return out;
}

TEST(Texts, EveryTextIsTheCp932FormOfItsReadableText) {
  for (const SPxReadableText& text : kPxReadableTexts)
    EXPECT_EQ(std::string(text.bytes), ToCp932(text.utf8)) << text.utf8;
}

TEST(Texts, SecondBytesThatLookLikeBackslashesSurvive) {
  // In CP932 the second byte of some characters is 0x5C.
  bool found = false;
  for (const SPxReadableText& text : kPxReadableTexts)
    found = found || std::string(text.bytes).find("\x94\x5C") != std::string::npos;
  EXPECT_TRUE(found);
}

} // namespace
