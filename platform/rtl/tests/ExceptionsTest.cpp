#include <gtest/gtest.h>

#include "platform/rtl/Exceptions.h"

TEST(Exceptions, AbortIsSilentAndCatchableAsException)
{
  try {
    SysUtils::Abort();
    FAIL() << "Abort returned";
  } catch (const Exception& e) {
    EXPECT_NE(dynamic_cast<const EAbort*>(&e), nullptr);
    EXPECT_STREQ(e.ClassName(), "EAbort");
  }
}

TEST(Exceptions, DerivedClassesKeepTheirNameAndMessage)
{
  try {
    throw EReadError("Property Foo does not exist");
  } catch (const EStreamError& e) {
    EXPECT_STREQ(e.ClassName(), "EReadError");
    EXPECT_EQ(e.Message(), "Property Foo does not exist");
    EXPECT_STREQ(e.what(), "Property Foo does not exist");
  }
}

TEST(Exceptions, NarrowLiteralsAreCodePage936)
{
  // The build compiles narrow literals to CP936: a Chinese character is two bytes.
  const AnsiString text = "合同";
  ASSERT_EQ(text.size(), 4u);
  EXPECT_EQ(static_cast<unsigned char>(text[0]), 0xBAu);
  EXPECT_EQ(static_cast<unsigned char>(text[1]), 0xCFu);
}
