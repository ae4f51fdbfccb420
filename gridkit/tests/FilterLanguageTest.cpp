// The filter row's language: typed texts with their operators, operands and exact error texts,
// and the dataset adapter registry.
#include <gtest/gtest.h>

#include <variant>
#include <vector>

#include "gridkit/filter/DbUtilsEh.h"
#include "platform/db/ADODataSet.h"
#include "platform/db/DataSet.h"
#include "platform/rtl/FormatSettings.h"

namespace {

// The decimal separator for one test, put back afterwards.
class DecimalSeparatorScope {
public:
  explicit DecimalSeparatorScope(char Value) : FSaved(SysUtils::DecimalSeparator)
  {
    SysUtils::DecimalSeparator = Value;
  }
  ~DecimalSeparatorScope() { SysUtils::DecimalSeparator = FSaved; }

private:
  char FSaved;
};

using Operand = std::vector<Variant>;  // one element: a single value; more: a list
Operand One(Variant V) { return {V}; }

struct Case {
  const char* Text;
  TSTValueKindEh Kind;
  TSTFilterOpEh First;
  Operand FirstOperand;
  TSTFilterOpEh Conjunction = sfoNone;
  TSTFilterOpEh Second = sfoNone;
  Operand SecondOperand = {};
  const char* Error = nullptr;  // expected message instead of a result
  char Decimal = '.';
};

void ExpectOperand(const Variant& Actual, const Operand& Expected, const char* Text)
{
  if (Expected.empty()) {
    EXPECT_TRUE(Actual.IsNull()) << Text;
  } else if (Expected.size() == 1) {
    ASSERT_FALSE(Actual.IsArray()) << Text;
    EXPECT_EQ(Variants::VarType(Actual), Variants::VarType(Expected[0])) << Text;
    EXPECT_TRUE(Variants::VarSameValue(Actual, Expected[0])) << Text << ": " << Variants::VarToStr(Actual);
  } else {
    ASSERT_TRUE(Actual.IsArray()) << Text;
    ASSERT_EQ(Variants::VarArrayHighBound(Actual, 1) + 1, static_cast<int>(Expected.size())) << Text;
    for (int i = 0; i < static_cast<int>(Expected.size()); ++i)
      EXPECT_TRUE(Variants::VarSameValue(Variants::VarArrayGet(Actual, {i}), Expected[i])) << Text << " [" << i << "]";
  }
}

TEST(FilterLanguage, TypedTexts)
{
  const Case cases[] = {
      // malformed input first
      {"'abc", svkString, sfoNone, {}, sfoNone, sfoNone, {}, "Quote is absent: 'abc"},
      {"(", svkString, sfoNone, {}, sfoNone, sfoNone, {}, "Error in expression: ("},
      {"not", svkString, sfoNone, {}, sfoNone, sfoNone, {}, "Error in expression: not"},
      {"Null", svkString, sfoNone, {}, sfoNone, sfoNone, {}, "Unexpected expression after operator: Null"},
      {"not null", svkString, sfoNone, {}, sfoNone, sfoNone, {}, "Unexpected expression after operator: not null"},
      {"> null", svkNumber, sfoNone, {}, sfoNone, sfoNone, {}, "Unexpected expression before Null: > null"},
      {">5 = 3", svkNumber, sfoNone, {}, sfoNone, sfoNone, {}, "Unexpected AND or OR: >5 = 3"},
      {"Berlin in town", svkString, sfoNone, {}, sfoNone, sfoNone, {}, "'(' expected: Berlin in town"},
      {"in (1,2", svkNumber, sfoNone, {}, sfoNone, sfoNone, {}, "')' expected: in (1,2"},
      {">5 ( x", svkNumber, sfoNone, {}, sfoNone, sfoNone, {}, "Incorrect expression: >5 ( x"},
      {"=1 or =2 or =3", svkNumber, sfoNone, {}, sfoNone, sfoNone, {}, "Incorrect expression: =1 or =2 or =3"},
      {"'张''三'", svkString, sfoNone, {}, sfoNone, sfoNone, {}, "Unexpected AND or OR: '张''三'"},
      // accepted texts
      {"   ", svkString, sfoNone, {}},
      {"abc", svkString, sfoLike, One("abc")},
      {"12", svkNumber, sfoEqual, One(12.0)},
      {"a,b,c", svkString, sfoIn, {"a", "b", "c"}},
      {"1,5", svkNumber, sfoEqual, One(1.5), sfoNone, sfoNone, {}, nullptr, ','},
      {"in (1,5)", svkNumber, sfoIn, {1.0, 5.0}, sfoNone, sfoNone, {}, nullptr, ','},
      {"in (1)", svkNumber, sfoIn, One(1.0)},
      {"'a', 'b'", svkString, sfoIn, {"a", " 'b'"}},
      {"'a','b'", svkString, sfoIn, {"a", "b"}},
      {"= null", svkString, sfoIsNull, {}},
      {"<> NULL", svkNumber, sfoIsNotNull, {}},
      {"!= Null", svkNumber, sfoIsNotNull, {}},
      {"!~ 'x'", svkString, sfoNotLike, One("x")},
      {"not like 'x'", svkString, sfoNotLike, One("x")},
      {"not in ('a')", svkString, sfoNotIn, One("a")},
      {">5 and", svkNumber, sfoGreater, One(5.0), sfoAnd},
      {">= 10 and < 20", svkNumber, sfoGreaterOrEqual, One(10.0), sfoAnd, sfoLess, One(20.0)},
      {"=1 | =2", svkNumber, sfoEqual, One(1.0), sfoOr, sfoEqual, One(2.0)},
      {"~ 'a' or in (x,y)", svkString, sfoLike, One("a"), sfoOr, sfoIn, {"x", "y"}},
      {"New York", svkString, sfoLike, One("New York")},
      {"上海 or 北京|", svkString, sfoLike, One("上海"), sfoOr, sfoLike, One("北京|")},
  };
  for (const Case& c : cases) {
    DecimalSeparatorScope decimal(c.Decimal);
    TSTFilterExpressionEh e;
    e.ValueKind = c.Kind;
    if (c.Error) {
      try {
        DbUtilsEh::ParseFilterText(c.Text, e);
        ADD_FAILURE() << c.Text << " was accepted";
      } catch (const Exception& ex) {
        EXPECT_EQ(ex.Message(), c.Error);
      }
      continue;
    }
    DbUtilsEh::ParseFilterText(c.Text, e);
    EXPECT_EQ(e.ValueKind, c.Kind) << c.Text;
    EXPECT_EQ(e.FirstOperator, c.First) << c.Text;
    ExpectOperand(e.FirstOperand, c.FirstOperand, c.Text);
    EXPECT_EQ(e.Conjunction, c.Conjunction) << c.Text;
    EXPECT_EQ(e.SecondOperator, c.Second) << c.Text;
    ExpectOperand(e.SecondOperand, c.SecondOperand, c.Text);
  }
}

TEST(FilterLanguage, ConversionErrorsAreTheSystemsOwn)
{
  TSTFilterExpressionEh e;
  e.ValueKind = svkNumber;
  EXPECT_THROW(DbUtilsEh::ParseFilterText(">= abc", e), EConvertError);
  EXPECT_THROW(DbUtilsEh::ParseFilterText(">5 xyz", e), EConvertError);
  e.ValueKind = svkDateTime;
  DbUtilsEh::ParseFilterText(">2025-03-01", e);
  EXPECT_EQ(Variants::VarType(e.FirstOperand), varDate);
}

TEST(FilterLanguage, TablesAndWords)
{
  EXPECT_STREQ(DbUtilsEh::FilterOperatorDisplayText[sfoNotIn], "!In");
  EXPECT_STREQ(DbUtilsEh::FilterOperatorSqlText[sfoIsNotNull], "IS NOT NULL");
  EXPECT_STREQ(DbUtilsEh::FilterOperatorSqlText[sfoValue], "");
  EXPECT_EQ(DbUtilsEh::FieldTypeToValueKind(ftWideString), svkString);
  EXPECT_EQ(DbUtilsEh::FieldTypeToValueKind(ftAutoInc), svkNumber);
  EXPECT_EQ(DbUtilsEh::FieldTypeToValueKind(ftTimeStamp), svkDateTime);
  EXPECT_EQ(DbUtilsEh::FieldTypeToValueKind(ftBlob), svkUnknown);
  EXPECT_EQ(DbUtilsEh::WordToOperator("like"), 7);
  EXPECT_EQ(DbUtilsEh::WordToOperator("Null"), 17);
  EXPECT_EQ(DbUtilsEh::WordToOperator("nothing"), 0);
}

class TRecordingAdapter : public TDataSetFilterSortAdapterEh {
public:
  TRecordingAdapter(TClass Served, int* Calls) : TDataSetFilterSortAdapterEh(Served), FCalls(Calls) {}
  void ApplySorting(TObject*, TDataSet*, bool) override { ++*FCalls; }
  void ApplyFilter(TObject*, TDataSet*, bool) override { ++*FCalls; }

private:
  int* FCalls;
};

TEST(AdapterRegistry, MostSpecificRegisteredAncestorWins)
{
  int calls = 0;
  EXPECT_EQ(DbUtilsEh::AdapterForDataSetClass(TADOQuery::StaticClass()), nullptr);
  auto base = std::make_unique<TRecordingAdapter>(TDataSet::StaticClass(), &calls);
  auto custom = std::make_unique<TRecordingAdapter>(TCustomADODataSet::StaticClass(), &calls);
  auto* baseP = base.get();
  auto* customP = custom.get();
  DbUtilsEh::RegisterDataSetAdapter(std::move(base));
  DbUtilsEh::RegisterDataSetAdapter(std::move(custom));
  EXPECT_EQ(DbUtilsEh::AdapterForDataSetClass(TADOQuery::StaticClass()), customP);
  EXPECT_EQ(DbUtilsEh::AdapterForDataSetClass(TCustomADODataSet::StaticClass()), customP);
  EXPECT_EQ(DbUtilsEh::AdapterForDataSetClass(TDataSet::StaticClass()), baseP);
  EXPECT_EQ(DbUtilsEh::AdapterForDataSetClass(TComponent::StaticClass()), nullptr);
  EXPECT_EQ(DbUtilsEh::ClassNameDistance(TADOQuery::StaticClass(), "tdataset"), 2);
  DbUtilsEh::ClearAdapterRegistry();
  EXPECT_EQ(DbUtilsEh::AdapterForDataSetClass(TADOQuery::StaticClass()), nullptr);
}

}  // namespace
