// The grid family's binary cell format: the writer's exact bytes, a round trip of every carried
// type through the reader, and the reader's refusal of malformed input.
#include <gtest/gtest.h>

#include "gridkit/impexp/VCLDBIFEh.h"
#include "gridkit/tests/GridTestDb.h"
#include "gridkit/tests/ImpExpGridStandIn.h"
#include "platform/db/Fields.h"
#include "platform/rtl/Streams.h"

namespace {

AnsiString Bytes(std::initializer_list<int> B)
{
  AnsiString s;
  for (int b : B) s += static_cast<char>(b);
  return s;
}

AnsiString Export(TImpExpGridStandIn& Grid)
{
  TStringStream s;
  DBGridEhImpExp::ExportGridToStream<TDBGridEhExportAsVCLDBIF>(&Grid, &s, true);
  return s.GetDataString();
}

// Reads every value of Data; the values read so far stay in Values when it raises.
void ReadAll(const AnsiString& Data, std::vector<Variant>& Values)
{
  TStringStream s(Data);
  TVCLDBIFReaderEh r(&s);
  r.ReadPrefix();
  while (!r.AtEnd) {
    Values.push_back(r.LookAheadValue);
    r.ReadNextValue();
  }
}

const AnsiString Head = AnsiString("VCLDBIF") + Bytes({1});

TEST(VCLDBIFReader, RefusesMalformedInputBeforeUsingItsCounts)
{
  const AnsiString one = Bytes({1, 0, 0, 0, 1, 0});  // one visible column
  const char* cases[] = {"", "VCLDBI", "VCLDBIX", "xxxxxxxxxxxxx"};
  for (const char* c : cases) {
    std::vector<Variant> v;
    EXPECT_THROW(ReadAll(c, v), Exception) << c;
  }
  const AnsiString bad[] = {
      Head,                                                     // no count
      Head + Bytes({1, 0, 0}),                                  // short count
      Head + Bytes({0xFF, 0xFF, 0xFF, 0xFF, 0}),                // negative count
      Head + Bytes({0xFF, 0xFF, 0xFF, 0x7F, 1, 0, 0}),          // more columns than bytes
      Head + Bytes({1, 0, 0, 0, 1, 'a'}),                       // name without its end
      Head + one,                                               // no value at all
      Head + one + Bytes({3, 7, 0}),                            // short integer
      Head + one + Bytes({4, 0, 0, 0, 0}),                      // short double
      Head + one + Bytes({5, 0xFE, 0xFF, 0xFF, 0xFF}),          // negative length
      Head + one + Bytes({6, 0xFF, 0xFF, 0xFF, 0x7F, 'a', 0}),  // length beyond the bytes
      Head + one + Bytes({5, 3, 0, 0, 0, 'a', 'b'}),            // text cut short
      Head + one + Bytes({2}),                                  // no end tag
  };
  for (const AnsiString& b : bad) {
    std::vector<Variant> v;
    try {
      ReadAll(b, v);
      ADD_FAILURE() << "accepted " << b.size() << " bytes";
    } catch (const Exception& e) {
      EXPECT_EQ(e.Message(), "TDBGridEhImportAsVCLDBIF.ReadPrefix: Invalid VCLDBIF format");
    }
  }
}

TEST(VCLDBIFReader, ReadsOtherVersionsNamesAndUnknownTags)
{
  TStringStream s(AnsiString("VCLDBIF") + Bytes({2, 2, 0, 0, 0, 1, 'a', 0, 0, 0, 9, 2, 0}));
  TVCLDBIFReaderEh r(&s);
  r.ReadPrefix();
  ASSERT_EQ(r.StreamColumns.size(), 2u);
  EXPECT_EQ(r.StreamColumns[0], std::make_pair(AnsiString("a"), true));
  EXPECT_EQ(r.StreamColumns[1], std::make_pair(AnsiString(), false));
  EXPECT_TRUE(r.NamesPresent);
  EXPECT_TRUE(r.LookAheadValue.IsEmpty());  // tag 9 is unknown: unassigned, nothing read
  r.ReadNextValue();
  EXPECT_TRUE(r.LookAheadValue.IsNull());
  r.ReadNextValue();
  EXPECT_TRUE(r.AtEnd);
}

class VCLDBIF : public testing::Test {
protected:
  GridTestDb Db;
};

TEST_F(VCLDBIF, TwoRecordsOfIntegerAndTextAreByteExact)
{
  Db.Exec("create table 对 (数 INTEGER, 文 TEXT(10))");
  Db.Exec("insert into 对 values (7, 'ab')");
  Db.Exec("insert into 对 values (7, 'ab')");
  auto q = Db.Query("select * from 对", false);
  auto* n = new TIntegerField(q.get());
  n->SetFieldName("数");
  n->SetDataSet(q.get());
  auto* t = new TStringField(q.get());
  t->SetFieldName("文");
  t->SetDataSet(q.get());
  q->Open();
  TImpExpGridStandIn grid(q.get());
  grid.Add("数");
  grid.Add("文");
  const AnsiString record = Bytes({3, 7, 0, 0, 0, 5, 2, 0, 0, 0, 'a', 'b'});
  EXPECT_EQ(Export(grid), Head + Bytes({2, 0, 0, 0, 1, 0, 1, 0}) + record + record + Bytes({0}));

  // A null cell is tag 2 alone; a column without a field is tag 1; a hidden column is marked.
  TImpExpGridStandIn other(q.get());
  other.Kind = gstColumns;
  other.Columns = {other.Add(""), other.Add("数", false)};
  q->First();
  q->Edit();
  n->Clear();
  q->Post();
  TStringStream s;
  DBGridEhImpExp::ExportGridToStream<TDBGridEhExportAsVCLDBIF>(&other, &s, false);
  EXPECT_EQ(s.GetDataString(), Head + Bytes({2, 0, 0, 0, 1, 0, 0, 0, 1, 2, 1, 3, 7, 0, 0, 0, 0}));
}

TEST_F(VCLDBIF, EveryCarriedTypeComesBackThroughTheReader)
{
  Db.Exec("create table 杂 (整 INTEGER, 浮 FLOAT, 日 DATETIME, 文 TEXT(20), 块 BLOB)");
  Db.Exec("insert into 杂 values (-5, 2.75, 45000.5, '合同甲', X'00FF7B41')");
  Db.Exec("insert into 杂 values (NULL, NULL, NULL, NULL, NULL)");
  auto q = Db.Query("select * from 杂");
  TImpExpGridStandIn grid(q.get());
  for (const char* f : {"整", "浮", "日", "文", "块"}) grid.Add(f);
  std::vector<Variant> v;
  ReadAll(Export(grid), v);
  ASSERT_EQ(v.size(), 10u);
  EXPECT_EQ(v[0].VarType(), varInteger);
  EXPECT_EQ(v[0].AsInteger(), -5);
  EXPECT_EQ(v[1].AsDouble(), 2.75);
  EXPECT_EQ(v[2].AsDouble(), 45000.5);
  EXPECT_EQ(v[3].AsString(), "合同甲");
  EXPECT_EQ(v[4].AsString(), Bytes({0, 0xFF, 0x7B, 0x41}));
  for (std::size_t i = 5; i < 10; ++i) EXPECT_TRUE(v[i].IsNull()) << i;
}

}  // namespace
