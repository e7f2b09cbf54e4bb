// The Japanese texts must be exactly the CP932 bytes of their readable form.
#include "ReadableTexts.h"

#include "common/PxIconv.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(Texts, EveryTextIsTheCp932FormOfItsReadableText) {
  for (const SPxReadableText& text : kPxReadableTexts)
    EXPECT_EQ(std::string(text.bytes), PxIconv("CP932", "UTF-8", text.utf8)) << text.utf8;
}

} // namespace
