#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <limits>
#include <random>

#include "controls/data/storage/cxVariants.h"
#include "controls/data/tests/Bytes.h"
#include "platform/rtl/Streams.h"

using namespace cxVariants;

namespace {

std::string Written(const Variant& v)
{
  TStringStream s;
  WriteVariantToStream(&s, v);
  return s.GetDataString();
}

Variant ReadBack(const std::string& bytes)
{
  TStringStream s(bytes);
  Variant v = ReadVariantFromStream(&s);
  EXPECT_EQ(s.GetPosition(), static_cast<Int64>(bytes.size()));
  return v;
}

TEST(VariantStream, MalformedInputRaisesReadError)
{
  const std::vector<std::string> bad = {
      "",  // nothing at all
      Bytes({7}),
      Bytes({10}),
      Bytes({11}),
      Bytes({14}),
      Bytes({19}),
      Bytes({255}),                                   // unknown tags
      Bytes({4, 1, 2}),                               // truncated integer
      Bytes({6, 5, 'a'}),                             // short string shorter than its length
      Bytes({12}) + Int32LE(-1),                      // negative length
      Bytes({12}) + Int32LE(0x7FFFFFFF),              // a length no stream here holds
      Bytes({18}) + Int32LE(3) + "ab",                // too few units
      Bytes({1, 5, 0}),                               // list count of the wrong tag
      Bytes({1, 2, -1 & 0xFF}),                       // negative count
      Bytes({1, 4}) + Int32LE(1000000) + Bytes({0}),  // count beyond the data
  };
  for (const auto& bytes : bad) {
    TStringStream s(bytes);
    EXPECT_THROW(ReadVariantFromStream(&s), EReadError) << testing::PrintToString(bytes);
  }
  // Deep nesting is refused instead of exhausting the stack.
  std::string deep;
  for (int i = 0; i < 100000; ++i) deep += Bytes({1, 2, 1});
  TStringStream s(deep);
  EXPECT_THROW(ReadVariantFromStream(&s), EReadError);
}

TEST(VariantStream, UnknownTagLeavesPositionPastIt)
{
  TStringStream s(Bytes({7, 9}));
  try {
    ReadVariantFromStream(&s);
    FAIL();
  } catch (const EReadError& e) {
    EXPECT_EQ(e.Message(), "Stream read error");
  }
  EXPECT_EQ(s.GetPosition(), 1);
}

TEST(VariantStream, WritesTheFixedLayouts)
{
  struct Case {
    Variant v;
    std::string bytes;
    TVarType readAs;
  };
  const std::vector<Case> cases = {
      {Variant::Null(), Bytes({0}), varNull},
      {Variant(), Bytes({13}), varEmpty},
      {Variant(127), Bytes({2, 127}), varShortInt},
      {Variant(128), Bytes({3, 128, 0}), varSmallint},
      {Variant(-32768), Bytes({3, 0, 0x80}), varSmallint},
      {Variant(-32769), Bytes({4}) + Int32LE(-32769), varInteger},
      {Variant(static_cast<unsigned char>(200)), Bytes({3, 200, 0}), varSmallint},
      {Variant(true), Bytes({9}), varBoolean},
      {Variant(false), Bytes({8}), varBoolean},
      {Variant(static_cast<unsigned short>(7)), Bytes({6, 1, '7'}), varString},
      {Variant("ab"), Bytes({6, 2, 'a', 'b'}), varString},
      {Variant(u"a\u20AC"), Bytes({18}) + Int32LE(2) + Bytes({'a', 0, 0xAC, 0x20}), varOleStr},
      {Variant(Currency::FromRaw(-2)), Bytes({16, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}), varCurrency},
      {Variant(1.0f), Bytes({15, 0, 0, 0x80, 0x3F}), varSingle},
      {Variant(1.0), Bytes({5, 0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x3F}), varDouble},
      {Variant(TDateTime(1.0)), Bytes({17, 0, 0, 0, 0, 0, 0, 0xF0, 0x3F}), varDate},
      {Variants::VarArrayOf({}), Bytes({1, 2, 0}), varArray | varVariant},
      {Variants::VarArrayOf({1, 10}), Bytes({1, 2, 2, 2, 1, 2, 10}), varArray | varVariant},
  };
  for (const auto& c : cases) {
    const std::string bytes = Written(c.v);
    EXPECT_EQ(bytes, c.bytes) << Variants::VarTypeAsText(c.v.VarType());
    const Variant back = ReadBack(bytes);
    EXPECT_EQ(back.VarType(), c.readAs) << Variants::VarTypeAsText(c.v.VarType());
    if (c.v.VarType() != varWord) {
      EXPECT_EQ(VarCompareValues(back, c.v), 0);
    }
  }
  EXPECT_EQ(Variants::VarArrayHighBound(ReadBack(Bytes({1, 2, 0})), 1), -1);
}

TEST(VariantStream, StringLengthForms)
{
  const AnsiString s255(255, 'x'), s300(300, 'y');
  EXPECT_EQ(Written(Variant(s255)), Bytes({6, 255}) + s255);
  EXPECT_EQ(Written(Variant(s300)), Bytes({12}) + Int32LE(300) + s300);
  EXPECT_EQ(ReadBack(Bytes({12}) + Int32LE(300) + s300).AsString(), s300);
  EXPECT_EQ(ReadBack(Bytes({6, 255}) + s255).AsString(), s255);
}

TEST(VariantStream, WriteErrors)
{
  TStringStream s;
  EXPECT_THROW(WriteVariantToStream(&s, Variants::VarArrayCreate({0, 1, 0, 1}, varVariant)), EWriteError);
  try {
    WriteVariantToStream(&s, Variants::VarArrayOf({1, Variants::VarArrayCreate({0, 0, 0, 0}, varVariant)}));
    FAIL();
  } catch (const EWriteError& e) {
    EXPECT_EQ(e.Message(), "Stream write error");
  }
  // What was written before the failing element stays.
  EXPECT_EQ(s.GetDataString(), Bytes({1, 2, 2, 2, 1}));
}

TEST(VariantStream, DoublesPassThroughExtendedBitIdentical)
{
  std::vector<double> values = {0.0,
                                -0.0,
                                1.0,
                                -1.5,
                                0.1,
                                1e308,
                                -1e-308,
                                4.9e-324,
                                2.2250738585072009e-308,
                                std::numeric_limits<double>::max(),
                                std::numeric_limits<double>::infinity(),
                                -std::numeric_limits<double>::infinity()};
  std::mt19937_64 rng(42);
  for (int i = 0; i < 2000; ++i) values.push_back(std::bit_cast<double>(rng()));
  for (double d : values) {
    if (std::isnan(d)) continue;
    const Variant back = ReadBack(Written(Variant(d)));
    ASSERT_EQ(back.VarType(), varDouble);
    ASSERT_EQ(std::bit_cast<std::uint64_t>(back.AsDouble()), std::bit_cast<std::uint64_t>(d)) << d;
  }
  EXPECT_TRUE(std::isnan(ReadBack(Written(Variant(std::nan("")))).AsDouble()));
}

// Extended values a double cannot hold exactly round to the nearest double.
TEST(VariantStream, ExtendedNarrowsToNearest)
{
  auto ext = [](std::uint64_t mant, int se) {
    Byte e[10];
    for (int i = 0; i < 8; ++i) e[i] = static_cast<Byte>(mant >> (8 * i));
    e[8] = static_cast<Byte>(se);
    e[9] = static_cast<Byte>(se >> 8);
    return ExtendedToDouble(e);
  };
  EXPECT_EQ(ext(0x8000000000000400ull, 0x3FFF), 1.0);                // half-way, even stays
  EXPECT_EQ(ext(0x8000000000000C00ull, 0x3FFF), 1.0 + 2 * 0x1p-52);  // half-way, odd rounds up
  EXPECT_EQ(ext(0x8000000000000401ull, 0x3FFF), 1.0 + 0x1p-52);      // above half
  EXPECT_EQ(ext(0xFFFFFFFFFFFFFFFFull, 0x3FFF), 2.0);                // carries into the exponent
  EXPECT_EQ(ext(0x8000000000000000ull, 0x3FFF + 2000), std::numeric_limits<double>::infinity());
  EXPECT_EQ(ext(0x8000000000000000ull, 0x3FFF - 1100), 0.0);  // below the subnormals
  EXPECT_EQ(ext(0x8000000000000000ull, 0x3FFF - 1074), 4.9406564584124654e-324);
  EXPECT_EQ(ext(0x8000000000000000ull, 0x8000 | 0x3FFF), -1.0);
}

TEST(VariantStream, FixedWidthProcedures)
{
  TStringStream s;
  WriteStringToStream(&s, "合同");
  WriteWideStringToStream(&s, u"\U0001F600");
  WriteBooleanToStream(&s, true);
  WriteSmallIntToStream(&s, -2);
  WriteWordToStream(&s, 65535);
  WriteIntegerToStream(&s, -7);
  WriteLargeIntToStream(&s, INT64_MIN);
  WriteCurrencyToStream(&s, Currency::FromRaw(12345));
  WriteDateTimeToStream(&s, TDateTime(45000.25));
  WriteByteToStream(&s, 2);  // a non-zero byte other than 1 still reads as true
  EXPECT_EQ(s.GetDataString().substr(0, 8), Int32LE(4) + "合同");
  s.SetPosition(0);
  EXPECT_EQ(ReadStringFromStream(&s), "合同");
  EXPECT_EQ(ReadWideStringFromStream(&s), u"\U0001F600");
  EXPECT_TRUE(ReadBooleanFromStream(&s));
  EXPECT_EQ(ReadSmallIntFromStream(&s), -2);
  EXPECT_EQ(ReadWordFromStream(&s), 65535);
  EXPECT_EQ(ReadIntegerFromStream(&s), -7);
  EXPECT_EQ(ReadLargeIntFromStream(&s), INT64_MIN);
  EXPECT_EQ(ReadCurrencyFromStream(&s).Raw, 12345);
  EXPECT_EQ(ReadDateTimeFromStream(&s).Value, 45000.25);
  EXPECT_TRUE(ReadBooleanFromStream(&s));
  EXPECT_THROW(ReadByteFromStream(&s), EReadError);
}

}  // namespace
