// The grid's export walk and its text and CSV writers over a real table: what each selection
// kind exports, footers, quoting, and that the view and the dataset's controls come back.
#include <gtest/gtest.h>
#include <unistd.h>

#include "gridkit/impexp/DBGridEhExportText.h"
#include "gridkit/impexp/VCLDBIFEh.h"
#include "gridkit/tests/GridTestDb.h"
#include "gridkit/tests/ImpExpGridStandIn.h"
#include "platform/rtl/FileUtils.h"
#include "platform/rtl/SaveSeam.h"
#include "platform/rtl/Streams.h"

namespace {

class Export : public testing::Test {
protected:
  void SetUp() override
  {
    Db.Exec("create table 货物 (名称 TEXT(20), 数量 INTEGER)");
    Db.Exec("insert into 货物 values ('甲', 1)");
    Db.Exec("insert into 货物 values ('say \"hi\"', NULL)");
    Db.Exec("insert into 货物 values ('', 2)");
    Db.Exec("insert into 货物 values ('丁', 4)");
    Q = Db.Query("select * from 货物");
    Grid = std::make_unique<TImpExpGridStandIn>(Q.get());
    Name = Grid->Add("名称");
    Count = Grid->Add("数量");
  }
  template <class T>
  AnsiString Run(bool All = false)
  {
    TStringStream s;
    DBGridEhImpExp::ExportGridToStream<T>(Grid.get(), &s, All);
    return s.GetDataString();
  }
  AnsiString Text(bool All = false) { return Run<TDBGridEhExportAsText>(All); }

  GridTestDb Db;
  std::unique_ptr<TADOQuery> Q;
  std::unique_ptr<TImpExpGridStandIn> Grid;
  TColumnEh *Name = nullptr, *Count = nullptr;
};

TEST_F(Export, NoSelectionWritesNothingInAnyFormat)
{
  EXPECT_EQ(Run<TDBGridEhExportAsText>(), "");
  EXPECT_EQ(Run<TDBGridEhExportAsCSV>(), "");
  EXPECT_EQ(Run<TDBGridEhExportAsVCLDBIF>(), "");
  EXPECT_EQ(Grid->Saves, 0);
}

TEST_F(Export, WholeGridAsTextIsTabbedLinesWithoutFinalLineEndOrEscaping)
{
  EXPECT_EQ(Text(true), "名称\t数量\r\n甲\t1\r\nsay \"hi\"\t\r\n\t2\r\n丁\t4");
  Grid->Titles = false;
  Grid->Kind = gstRecordBookmarks;
  Grid->Bookmarks = {Grid->BookmarkOf(1)};
  EXPECT_EQ(Text(), "甲\t1");
}

TEST_F(Export, CsvQuotesEveryTextWithTheUnitSeparator)
{
  EXPECT_EQ(Run<TDBGridEhExportAsCSV>(true),
            "\"名称\";\"数量\"\r\n\"甲\";\"1\"\r\n\"say \"\"hi\"\"\";\"\"\r\n\"\";\"2\"\r\n\"丁\";\"4\"");
  char saved = DBGridEhImpExp::CsvSeparatorChar;
  DBGridEhImpExp::CsvSeparatorChar = ',';
  Grid->Titles = false;
  Grid->Kind = gstRecordBookmarks;
  Grid->Bookmarks = {Grid->BookmarkOf(4)};
  EXPECT_EQ(Run<TDBGridEhExportAsCSV>(), "\"丁\",\"4\"");
  DBGridEhImpExp::CsvSeparatorChar = saved;
}

TEST_F(Export, EachSelectionKindExportsItsCellsAndKeepsTheView)
{
  Q->SetRecNo(2);
  Grid->Kind = gstRecordBookmarks;
  Grid->Bookmarks = {Grid->BookmarkOf(3), Grid->BookmarkOf(1)};
  EXPECT_EQ(Text(), "名称\t数量\r\n\t2\r\n甲\t1");

  Grid->Kind = gstColumns;
  Grid->Columns = {Count};
  EXPECT_EQ(Text(), "数量\r\n1\r\n\r\n2\r\n4");

  // The rectangle stops at its bottom record although the table goes on.
  Grid->Kind = gstRectangle;
  Grid->Top = Grid->BookmarkOf(2);
  Grid->Bottom = Grid->BookmarkOf(3);
  Grid->Left = Grid->Right = 0;
  EXPECT_EQ(Text(), "名称\r\nsay \"hi\"\r\n");

  // Hidden columns inside the rectangle are left out.
  Grid->Add("名称", false);
  Grid->Right = 2;
  EXPECT_EQ(Text(), "名称\t数量\r\nsay \"hi\"\t\r\n\t2");

  EXPECT_EQ(Q->GetRecNo(), 2);
  EXPECT_FALSE(Q->ControlsDisabled());
  EXPECT_EQ(Grid->Saves, 4);
  EXPECT_EQ(Grid->Restores, 4);
}

TEST_F(Export, FooterRowsFollowTheRecordsWithSumsOfWhatIsExported)
{
  Grid->Titles = false;
  Grid->FooterRows = 2;
  Count->GetFooters()->Add()->SetValueType(fvtCount);
  Count->GetFooters()->Add()->SetValueType(fvtSum);
  TColumnFooterEh* fixed = Name->GetFooters()->Add();
  fixed->SetValueType(fvtStaticText);
  fixed->SetValue("合计");
  Name->GetFooters()->Add()->SetValueType(fvtSum);  // a text field sums to nothing
  Grid->Kind = gstRectangle;
  Grid->Top = Grid->BookmarkOf(1);
  Grid->Bottom = Grid->BookmarkOf(3);
  Grid->Left = 0;
  Grid->Right = 1;
  EXPECT_EQ(Text(), "甲\t1\r\nsay \"hi\"\t\r\n\t2\r\n合计\t3\r\n\t3");
  EXPECT_EQ(Text(true), "甲\t1\r\nsay \"hi\"\t\r\n\t2\r\n丁\t4\r\n合计\t4\r\n\t7");
}

TEST_F(Export, AnErrorInTheWalkStillRestoresTheViewAndControls)
{
  Q->SetRecNo(4);
  int cells = 0;
  Grid->OnGetCellParams = [&](TColumnEh*, TFont*, TColor&) {
    if (++cells == 3) throw Exception("boom");
  };
  EXPECT_THROW(Text(true), Exception);
  EXPECT_EQ(Q->GetRecNo(), 4);
  EXPECT_FALSE(Q->ControlsDisabled());
  EXPECT_EQ(Grid->Restores, 1);
}

TEST_F(Export, OutputToFileGoesThroughTheSaveSeam)
{
  AnsiString file = testing::TempDir() + "export_" + std::to_string(::getpid()) + ".txt";
  TDBGridEhExportAsText e;
  e.Grid = Grid.get();
  e.OutputToFile(file, true);
  TMemoryStream m;
  m.LoadFromFile(file);
  AnsiString written(static_cast<const char*>(m.GetMemory()), static_cast<std::size_t>(m.GetSize()));
  EXPECT_EQ(written, "名称\t数量\r\n甲\t1\r\nsay \"hi\"\t\r\n\t2\r\n丁\t4");
  {
    SaveSeam::TScopedSaveFaults faults;
    faults.DiskFullAfter(5);
    Grid->Titles = false;
    EXPECT_THROW(e.OutputToFile(file, true), EFCreateError);
  }
  m.LoadFromFile(file);
  EXPECT_EQ(AnsiString(static_cast<const char*>(m.GetMemory()), static_cast<std::size_t>(m.GetSize())), written);
  ::unlink(file.c_str());
}

}  // namespace
