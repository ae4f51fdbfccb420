// The grid's text and VCLDBIF imports over real tables: how lines and cells land in records and
// columns, appending and inserting, the lists a cell is written through, the error question,
// and a copy pasted into another table.
#include <gtest/gtest.h>

#include "gridkit/impexp/DBGridEhImportText.h"
#include "gridkit/impexp/VCLDBIFEh.h"
#include "gridkit/tests/GridTestDb.h"
#include "gridkit/tests/ImpExpGridStandIn.h"
#include "gridkit/tests/MessageAnswers.h"
#include "platform/db/Fields.h"
#include "platform/rtl/MessageSeam.h"
#include "platform/rtl/Streams.h"

using namespace std::string_literals;

namespace {

class Import : public testing::Test {
protected:
  void SetUp() override
  {
    Db.Exec("create table 货物 (甲 TEXT(20), 乙 TEXT(20), 数 INTEGER)");
    Db.Exec("insert into 货物 values ('x', 'y', 1)");
    Db.Exec("insert into 货物 values ('u', 'v', 2)");
    Open();
  }
  void Open()
  {
    Q = Db.Query("select * from 货物");
    Grid = std::make_unique<TImpExpGridStandIn>(Q.get());
    for (const char* f : {"甲", "乙", "数"}) Grid->Add(f);
  }
  void Paste(const AnsiString& Text, bool All = false)
  {
    TStringStream s(Text);
    DBGridEhImpExp::ImportGridFromStream<TDBGridEhImportAsText>(Grid.get(), &s, All);
  }
  // The table as it is stored: records by "|"-joined cells, one per line.
  AnsiString Table()
  {
    if (Q->GetState() != dsBrowse) Q->Post();
    auto q = Db.Query("select * from 货物 order by rowid");
    AnsiString t;
    for (; !q->GetEof(); q->Next())
      t += q->GetFields().GetField(0)->GetAsString() + "|" + q->GetFields().GetField(1)->GetAsString() + "|" +
           q->GetFields().GetField(2)->GetAsString() + "\n";
    return t;
  }

  GridTestDb Db;
  std::unique_ptr<TADOQuery> Q;
  std::unique_ptr<TImpExpGridStandIn> Grid;
};

TEST_F(Import, TextCellsLandInTheColumnsFromTheCurrentOne)
{
  struct Case {
    AnsiString Text;
    Integer Column;
    const char* Expected;
  } cases[] = {
      {"a\t\tb", 0, "a||1\n"},  // b is no number: asked, and the field keeps its value
      {"a\t\t5", 0, "a||5\n"},      {"\tb", 0, "|b|1\n"},
      {"a\t\r\n", 0, "a|y|1\n"},    {"a\tb\t3\td\te", 0, "a|b|3\n"},
      {"a", 0, "a|y|1\n"},          {"a\nb\tc", 0, "a\nb|c|1\n"},
      {"合同\t7", 1, "x|合同|7\n"}, {"a\0b\tc\r\nq"s, 0, "a|y|1\n"},
  };
  for (const Case& c : cases) {
    Db.Exec("delete from 货物");
    Db.Exec("insert into 货物 values ('x', 'y', 1)");
    Db.Exec("insert into 货物 values ('u', 'v', 2)");
    Open();
    Grid->Model.AllowedOperations = {alopUpdateEh};
    Grid->SelectedIndex = c.Column;
    TAnswers yes({IDYES});
    Paste(c.Text);
    EXPECT_EQ(Table(), AnsiString(c.Expected) + "u|v|2\n") << c.Text;
    EXPECT_EQ(Q->GetRecNo(), 1);
    EXPECT_FALSE(Q->ControlsDisabled());
  }
}

TEST_F(Import, ExtraLinesAreAppendedOnlyWhenAllowed)
{
  Q->Last();
  Grid->Model.AllowedOperations = {alopUpdateEh};
  Paste("a\r\nb\r\nc\r\n");
  EXPECT_EQ(Table(), "x|y|1\na|v|2\n");
  Open();
  Q->Last();
  Paste("p\tq\r\nr\ts\t8\r\nt\r\n");
  EXPECT_EQ(Table(), "x|y|1\np|q|2\nr|s|8\nt||\n");
}

TEST_F(Import, PastingInInsertStateInsertsOneRecordPerLine)
{
  Q->Insert();
  Paste("a\tb\t5\r\nc\td\t6");
  EXPECT_EQ(Table(), "x|y|1\nu|v|2\na|b|5\nc|d|6\n");
}

TEST_F(Import, ALoneCrIsAFormatErrorAfterTheCellsBeforeIt)
{
  try {
    Paste("a\tb\rc");
    ADD_FAILURE();
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), "TDBGridEhImportAsText.CheckState: Invalid text format");
  }
  EXPECT_EQ(Q->FieldByName("甲")->GetAsString(), "a");
  EXPECT_FALSE(Q->ControlsDisabled());
}

TEST_F(Import, CellErrorsAskYesNoOrAll)
{
  const AnsiString lines = "a\tb\tno\r\nc\td\tbad\r\ne\tf\tworse";
  {
    TAnswers answers({IDALL});
    Paste(lines, true);
    ASSERT_EQ(answers.Asked.size(), 1u);
    EXPECT_EQ(answers.Asked[0], "Error during insert value:\n'no' is not a valid integer value\n\nIgnore error?");
  }
  EXPECT_EQ(Table(), "a|b|1\nc|d|2\ne|f|\n");
  Open();
  {
    TAnswers answers({IDYES, IDNO});
    EXPECT_THROW(Paste("g\th\tno\r\ni\tj\tbad\r\nk", true), EAbort);
    EXPECT_EQ(answers.Asked.size(), 2u);
  }
  EXPECT_EQ(Table(), "g|h|1\ni|j|2\ne|f|\n");
}

TEST_F(Import, AKeyPickListWritesTheKeyOrClears)
{
  TColumnEh* kind = Grid->GetColumns()->GetColumnByIndex(2);
  kind->GetPickList()->SetText("一\r\n二");
  kind->GetKeyList()->SetText("10\r\n20");
  Grid->Model.AllowedOperations = {alopUpdateEh};
  Grid->SelectedIndex = 2;
  Paste("二\r\n三");
  EXPECT_EQ(Table(), "x|y|20\nu|v|\n");
}

TEST_F(Import, ALookupColumnTakesAndCarriesItsKey)
{
  Db.Exec("create table 单位 (编号 INTEGER, 名 TEXT(20))");
  Db.Exec("insert into 单位 values (1, 'Xyz')");
  Db.Exec("insert into 单位 values (2, 'Abcdef')");
  auto list = Db.Query("select * from 单位");
  Q = Db.Query("select * from 货物", false);
  auto* key = new TIntegerField(Q.get());
  key->SetFieldName("数");
  key->SetDataSet(Q.get());
  auto* shown = new TStringField(Q.get());
  shown->SetFieldName("单");
  shown->SetFieldKind(fkLookup);
  shown->SetLookupDataSet(list.get());
  shown->SetKeyFields("数");
  shown->SetLookupKeyFields("编号");
  shown->SetLookupResultField("名");
  shown->SetDataSet(Q.get());
  Q->Open();
  Grid = std::make_unique<TImpExpGridStandIn>(Q.get());
  Grid->Add("单");
  Grid->Model.AllowedOperations = {alopUpdateEh};
  Paste("abc\r\nnothing");  // a case-insensitive prefix; no match changes nothing
  Q->First();
  EXPECT_EQ(Q->FieldByName("数")->GetAsInteger(), 2);
  EXPECT_EQ(Q->FieldByName("单")->GetAsString(), "Abcdef");
  Q->Next();
  EXPECT_EQ(Q->FieldByName("数")->GetAsInteger(), 2);

  Grid->Kind = gstRecordBookmarks;
  Grid->Bookmarks = {Grid->BookmarkOf(1)};
  TStringStream s;
  DBGridEhImpExp::ExportGridToStream<TDBGridEhExportAsVCLDBIF>(Grid.get(), &s, false);
  EXPECT_EQ(s.GetDataString(), AnsiString("VCLDBIF\x01\x01\0\0\0\x01\0\x03\x02\0\0\0\0", 20));
}

TEST_F(Import, ACopyPastedIntoAnotherTableKeepsItsValues)
{
  Db.Exec("create table 源 (整 INTEGER, 浮 FLOAT, 日 DATETIME, 文 TEXT(20), 块 BLOB)");
  Db.Exec("insert into 源 values (-5, 2.75, 45000.5, '合同甲', X'00FF7B41')");
  Db.Exec("insert into 源 values (NULL, NULL, NULL, NULL, NULL)");
  Db.Exec("insert into 源 values (3, -0.5, 1.25, '', X'')");
  Db.Exec("create table 的 (整 INTEGER, 浮 FLOAT, 日 DATETIME, 文 TEXT(20), 块 BLOB)");
  Db.Exec("insert into 的 values (9, 9, 9, '九', X'09')");
  auto from = Db.Query("select * from 源");
  auto to = Db.Query("select * from 的");
  TImpExpGridStandIn source(from.get()), target(to.get());
  for (const char* f : {"整", "浮", "日", "文", "块"}) {
    source.Add(f);
    target.Add(f);
  }
  TStringStream copy;
  DBGridEhImpExp::ExportGridToStream<TDBGridEhExportAsVCLDBIF>(&source, &copy, true);
  copy.SetPosition(0);
  DBGridEhImpExp::ImportGridFromStream<TDBGridEhImportAsVCLDBIF>(&target, &copy, true);
  if (to->GetState() != dsBrowse) to->Post();
  auto check = Db.Query("select * from 的 order by rowid");
  for (from->First(); !from->GetEof(); from->Next(), check->Next()) {
    ASSERT_FALSE(check->GetEof());
    for (int i = 0; i < 5; ++i) {
      TField *a = from->GetFields().GetField(i), *b = check->GetFields().GetField(i);
      EXPECT_EQ(a->IsNull(), b->IsNull()) << a->GetFieldName();
      EXPECT_EQ(a->GetAsString(), b->GetAsString()) << a->GetFieldName();
    }
  }
  EXPECT_TRUE(check->GetEof());

  // A truncated copy raises where bytes are missing; the records before stay.
  AnsiString cut = copy.GetDataString().substr(0, copy.GetDataString().size() - 3);
  Db.Exec("delete from 的");
  Db.Exec("insert into 的 values (9, 9, 9, '九', X'09')");
  to = Db.Query("select * from 的");
  TImpExpGridStandIn again(to.get());
  for (const char* f : {"整", "浮", "日", "文", "块"}) again.Add(f);
  TStringStream in(cut);
  EXPECT_THROW(DBGridEhImpExp::ImportGridFromStream<TDBGridEhImportAsVCLDBIF>(&again, &in, true), Exception);
  if (to->GetState() != dsBrowse) to->Post();
  auto after = Db.Query("select 文 from 的 order by rowid");
  EXPECT_EQ(after->GetFields().GetField(0)->GetAsString(), "合同甲");
  EXPECT_FALSE(to->ControlsDisabled());
}

}  // namespace
