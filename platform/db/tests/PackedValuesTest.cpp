// Packed records: every value a dataset keeps reads back exactly, Variant type included, and
// texts CP936 cannot hold keep their UTF-16 form.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/db/PackedValues.h"
#include "platform/rtl/AnsiStrings.h"

namespace {

struct TPackedCase {
  const char* Name;
  Variant Value;
};

}  // namespace

TEST(PackedValues, EveryKindReadsBackWithItsType)
{
  const TPackedCase cases[] = {
      {"empty", Variant()},
      {"null", Variant::Null()},
      {"false", Variant(false)},
      {"true", Variant(true)},
      {"integer", Variant(-2147483647 - 1)},
      {"int64", Variant(static_cast<long long>(-1234567890123LL))},
      {"double", Variant(-0.125)},
      {"date", Variant(TDateTime(45000.75))},
      {"currency", Variant(Currency::FromRaw(-123456789))},
      {"bytes with NUL", Variant(AnsiString("a\0b\xff", 4))},
      {"CP936 text", Variant(AnsiString("合同"))},
      {"empty text", Variant(AnsiString())},
      {"wide in CP936", Variant(WideString(u"合同 \u20AC x"))},
      {"wide beyond CP936", Variant(WideString(u"a\U0001F600b\u0E01"))},
      {"unpaired surrogate", Variant(WideString(u"x\xD800y"))},
      {"empty wide", Variant(WideString())},
  };
  std::vector<Variant> values;
  for (const TPackedCase& c : cases) values.push_back(c.Value);
  TPackedValues packed;
  ASSERT_TRUE(TPackedValues::Pack(values, packed));
  ASSERT_EQ(packed.GetCount(), values.size());
  for (std::size_t i = 0; i < values.size(); ++i) {
    SCOPED_TRACE(cases[i].Name);
    Variant back = packed.Get(i);
    ASSERT_EQ(back.VarType(), values[i].VarType());
    if (values[i].VarType() == varOleStr)
      EXPECT_EQ(back.AsWideString(), values[i].AsWideString());
    else if (values[i].VarType() == varCurrency)
      EXPECT_EQ(back.AsCurrency().Raw, values[i].AsCurrency().Raw);
    else if (!values[i].IsEmpty() && !values[i].IsNull())
      EXPECT_TRUE(back == values[i]);
  }
  EXPECT_EQ(packed.GetKind(11), TPackedValues::pkAnsi);
  EXPECT_EQ(packed.GetKind(12), TPackedValues::pkWideAnsi);
  EXPECT_EQ(packed.GetBytes(12), System::WideToAnsi(u"合同 \u20AC x"));
  EXPECT_EQ(packed.GetKind(13), TPackedValues::pkWide);
  EXPECT_EQ(packed.GetKind(14), TPackedValues::pkWide);
  EXPECT_EQ(packed.GetKind(values.size()), TPackedValues::pkEmpty);

  // A copy owns its own block; reading into a Variant that holds a text reuses it.
  TPackedValues copy = packed;
  packed = TPackedValues();
  Variant reused(AnsiString("previous, longer text"));
  copy.Get(10, reused);
  EXPECT_EQ(reused.AsString(), "合同");
  EXPECT_EQ(copy.Unpack().size(), values.size());
}

TEST(PackedValues, ValuesWithoutAPackedKindAreRefused)
{
  TPackedValues packed;
  TPackedValuesBuilder builder;
  builder.Begin(1);
  builder.SetInteger(0, 7);
  packed = builder.Finish();
  for (const Variant& odd :
       {Variant(static_cast<short>(3)), Variant(1.5f), Variants::VarArrayOf({Variant(1), Variant(2)})}) {
    EXPECT_FALSE(TPackedValues::Pack({Variant(1), odd}, packed));
    ASSERT_EQ(packed.GetCount(), 1u);  // left as it was
    EXPECT_EQ(packed.Get(0).AsInteger(), 7);
  }
}

TEST(PackedValues, EngineTextIsConvertedOnceAndExactly)
{
  struct {
    const char* Name;
    std::string Utf8;
    TPackedValues::TKind Kind;
  } const cases[] = {
      {"ASCII", "HT-1000001", TPackedValues::pkWideAnsi},
      {"Chinese", System::AnsiToUtf8("备注：第 1 份合同"), TPackedValues::pkWideAnsi},
      {"euro", "\xE2\x82\xAC", TPackedValues::pkWideAnsi},
      {"emoji", "a\xF0\x9F\x98\x80", TPackedValues::pkWide},
      {"Thai", "\xE0\xB8\x81", TPackedValues::pkWide},
      {"question mark", "?", TPackedValues::pkWideAnsi},
      // Either form reads back as Utf8ToWide gives it; pkEmpty leaves the kind open.
      {"malformed", "a\xC3", TPackedValues::pkEmpty},
      {"replacement character", "\xEF\xBF\xBD", TPackedValues::pkEmpty},
  };
  TPackedValuesBuilder builder;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    builder.Begin(2);
    builder.SetUtf8Text(1, c.Utf8.data(), c.Utf8.size());
    TPackedValues packed = builder.Finish();
    EXPECT_EQ(packed.GetKind(0), TPackedValues::pkEmpty);
    if (c.Kind != TPackedValues::pkEmpty) EXPECT_EQ(packed.GetKind(1), c.Kind);
    Variant v = packed.Get(1);
    ASSERT_EQ(v.VarType(), varOleStr);
    EXPECT_EQ(v.AsWideString(), System::Utf8ToWide(c.Utf8));
    if (packed.GetKind(1) == TPackedValues::pkWideAnsi) EXPECT_EQ(packed.GetBytes(1), System::Utf8ToAnsi(c.Utf8));
  }
}
