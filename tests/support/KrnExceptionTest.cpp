// The exception family: fixed CP932 messages, and one shared text per
// exception however often it is copied.
#include "probex/support/KrnException.h"

#include <gtest/gtest.h>

#include <iconv.h>

#include <cstring>
#include <string>

using namespace KRN;

namespace {

// The CP932 bytes of a readable UTF-8 text, by the C library's converter.
std::string ToCp932(const std::string& utf8) {
  iconv_t converter = iconv_open("CP932", "UTF-8");
  if (converter == reinterpret_cast<iconv_t>(-1)) {
    ADD_FAILURE() << "iconv has no CP932";
    return {};
  }
  std::string in = utf8;
  std::string out(in.size() * 2 + 1, '\0');
  char* pIn = in.data();
  char* pOut = out.data();
  std::size_t inLeft = in.size();
  std::size_t outLeft = out.size();
  const std::size_t rc = iconv(converter, &pIn, &inLeft, &pOut, &outLeft);
  iconv_close(converter);
  EXPECT_NE(rc, static_cast<std::size_t>(-1)) << utf8;
  out.resize(out.size() - outLeft);
  return out;
}

} // namespace

TEST(KrnException, EachKindCarriesItsFixedCp932Message) {
  EXPECT_EQ(std::string(CNullPointerException().GetMessageText()), ToCp932("NULLポインタです。"));
  EXPECT_EQ(std::string(CIndexOutOfBoundsException().GetMessageText()),
            ToCp932("INDEXが範囲外です。"));
  EXPECT_EQ(std::string(CInvalidParamException().GetMessageText()),
            ToCp932("パラメータが不正です。"));
  EXPECT_EQ(std::string(CNotSupportException().GetMessageText()),
            ToCp932("サポートされていません。"));
}

TEST(KrnException, RootKeepsACopyOfItsMessageAndNullGivesEmptyText) {
  char buffer[] = "changeable";
  const CKrnException fromBuffer(buffer);
  buffer[0] = 'X';
  EXPECT_STREQ(fromBuffer.GetMessageText(), "changeable");

  const CKrnException fromNull(nullptr);
  ASSERT_NE(fromNull.GetMessageText(), nullptr);
  EXPECT_STREQ(fromNull.GetMessageText(), "");
  EXPECT_STREQ(CKrnException().GetMessageText(), "");
}

TEST(KrnException, CopiesShareOneTextThatOutlivesTheOriginal) {
  auto* pOriginal = new CIndexOutOfBoundsException();
  const char* text = pOriginal->GetMessageText();
  const std::string expected = text;

  CIndexOutOfBoundsException copy(*pOriginal);
  EXPECT_EQ(copy.GetMessageText(), text);
  CKrnException assigned("something else");
  assigned = copy;
  EXPECT_EQ(assigned.GetMessageText(), text);

  delete pOriginal;
  EXPECT_EQ(std::string(copy.GetMessageText()), expected);
  EXPECT_EQ(std::string(assigned.GetMessageText()), expected);
}

// Handlers may take the exceptions by value; that is what is tested here.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wcatch-value"
#endif
TEST(KrnException, ThrownByValueAndCaughtByAnyFormKeepsTheText) {
  const CNullPointerException original;
  try {
    throw original;
  } catch (const CKrnException& caught) {
    EXPECT_EQ(caught.GetMessageText(), original.GetMessageText());
  }
  try {
    throw original;
  } catch (CNullPointerException caught) {
    EXPECT_EQ(caught.GetMessageText(), original.GetMessageText());
  }
  try {
    throw CIndexOutOfBoundsException();
  } catch (CKrnException caught) {
    // Caught by value as the root: the text is the kind's, not sliced away.
    EXPECT_EQ(std::string(caught.GetMessageText()),
              std::string(CIndexOutOfBoundsException().GetMessageText()));
  }
}
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic pop
#endif
