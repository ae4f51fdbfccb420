// The grid's clipboard actions on the headless desktop: what copy places, what paste prefers,
// the questions before deleting or clearing, and cut as copy then delete.
#include <gtest/gtest.h>

#include <cstring>

#include "gridkit/impexp/DBGridEhClipboard.h"
#include "gridkit/impexp/DBGridEhExportText.h"
#include "gridkit/impexp/VCLDBIFEh.h"
#include "gridkit/tests/GridTestDb.h"
#include "gridkit/tests/ImpExpGridStandIn.h"
#include "gridkit/tests/MessageAnswers.h"
#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/Streams.h"
#include "platform/win/backend/Headless.h"
#include "platform/win/clipboard/Clipboard.h"
#include "platform/win/clipboard/GlobalMemory.h"

using namespace DBGridEhImpExp;

namespace {

class GridClipboard : public testing::Test {
protected:
  void SetUp() override
  {
    Headless::Start(800, 600);
    Clipboard::Reset();
    Initialize();
    Db.Exec("create table 货物 (名称 TEXT(20), 数量 INTEGER)");
    for (const char* v : {"('甲', 1)", "('乙', 2)", "('丙', 3)", "('丁', 4)"})
      Db.Exec(AnsiString("insert into 货物 values ") + v);
    Open();
  }
  void TearDown() override { Clipboard::Reset(); }
  void Open()
  {
    Q = Db.Query("select * from 货物");
    Grid = std::make_unique<TImpExpGridStandIn>(Q.get());
    Grid->Add("名称");
    Grid->Add("数量");
  }
  void SelectRecords(std::initializer_list<int> RecNos)
  {
    Grid->Kind = gstRecordBookmarks;
    Grid->Bookmarks.clear();
    for (int r : RecNos) Grid->Bookmarks.push_back(Grid->BookmarkOf(r));
  }
  // The whole block held under Format; "<none>" when there is none.
  static std::string Block(UINT Format)
  {
    if (!Windows::OpenClipboard(nullptr)) return "<busy>";
    std::string s = "<none>";
    if (HANDLE h = Windows::GetClipboardData(Format)) {
      const char* p = static_cast<const char*>(Windows::GlobalLock(h));
      s.assign(p, Windows::GlobalSize(h));
      Windows::GlobalUnlock(h);
    }
    Windows::CloseClipboard();
    return s;
  }
  static void Place(UINT Format, const std::string& Bytes)
  {
    HGLOBAL h = Windows::GlobalAlloc(GMEM_MOVEABLE, Bytes.size());
    std::memcpy(Windows::GlobalLock(h), Bytes.data(), Bytes.size());
    Windows::GlobalUnlock(h);
    Windows::SetClipboardData(Format, h);
  }
  AnsiString Table()
  {
    if (Q->GetState() != dsBrowse) Q->Post();
    AnsiString t;
    auto q = Db.Query("select * from 货物 order by rowid");
    for (; !q->GetEof(); q->Next())
      t += q->GetFields().GetField(0)->GetAsString() + "|" + q->GetFields().GetField(1)->GetAsString() + ";";
    return t;
  }

  GridTestDb Db;
  std::unique_ptr<TADOQuery> Q;
  std::unique_ptr<TImpExpGridStandIn> Grid;
};

TEST_F(GridClipboard, CopyPlacesUnicodeTextCsvRtfAndVcldbif)
{
  EXPECT_TRUE(VcldbifClipboardFormat < CsvClipboardFormat && CsvClipboardFormat < RtfClipboardFormat);
  Clipboard::SetText("earlier");
  SelectRecords({2, 4});
  CopyToClipboard(Grid.get(), false);

  std::string wide = Block(CF_UNICODETEXT);
  WideString expected = System::AnsiToWide("名称\t数量\r\n乙\t2\r\n丁\t4");
  expected.push_back(u'\0');
  EXPECT_EQ(wide, std::string(reinterpret_cast<const char*>(expected.data()), expected.size() * 2));
  EXPECT_EQ(Clipboard::GetText(), "名称\t数量\r\n乙\t2\r\n丁\t4");
  EXPECT_EQ(Block(CsvClipboardFormat), std::string("\"名称\";\"数量\"\r\n\"乙\";\"2\"\r\n\"丁\";\"4\"") + '\0');
  std::string rtf = Block(RtfClipboardFormat);
  EXPECT_EQ(rtf.rfind("{\\rtf0\\ansi\\ansicpg936", 0), 0u);
  EXPECT_EQ(rtf.substr(rtf.size() - 2), std::string("}\0", 2));
  TStringStream vcldbif;
  ExportGridToStream<TDBGridEhExportAsVCLDBIF>(Grid.get(), &vcldbif, false);
  EXPECT_EQ(Block(VcldbifClipboardFormat), vcldbif.GetDataString());
  EXPECT_FALSE(Q->ControlsDisabled());
}

TEST_F(GridClipboard, CopyWithoutSelectionPlacesEmptyFormatsThatDoNotPaste)
{
  CopyToClipboard(Grid.get(), false);
  EXPECT_EQ(Block(CsvClipboardFormat), std::string(1, '\0'));
  EXPECT_EQ(Block(CF_UNICODETEXT), std::string(2, '\0'));
  EXPECT_EQ(Block(RtfClipboardFormat).find("\\trowd"), std::string::npos);
  // An empty block (the clipboard rounds it up to one zero byte).
  EXPECT_EQ(Block(VcldbifClipboardFormat).find_first_not_of('\0'), std::string::npos);
  EXPECT_THROW(PasteFromClipboard(Grid.get(), false), Exception);
  EXPECT_EQ(Windows::GetOpenClipboardWindow(), nullptr);
  EXPECT_FALSE(Windows::OpenClipboard(nullptr) == FALSE) << "the failed paste closed the clipboard";
  Windows::CloseClipboard();
}

TEST_F(GridClipboard, PastePrefersVcldbifOverTextFromAnotherProgram)
{
  SelectRecords({4});
  TStringStream vcldbif;
  ExportGridToStream<TDBGridEhExportAsVCLDBIF>(Grid.get(), &vcldbif, false);
  ASSERT_TRUE(Windows::OpenClipboard(nullptr));
  Windows::EmptyClipboard();
  Place(CF_TEXT, std::string("文本\t9") + '\0');
  Place(VcldbifClipboardFormat, vcldbif.GetDataString());
  Windows::CloseClipboard();
  Grid->Kind = gstNon;
  Q->First();
  PasteFromClipboard(Grid.get(), false);
  EXPECT_EQ(Table(), "丁|4;乙|2;丙|3;丁|4;");

  // Text alone (from another program) is pasted as text, up to its zero byte.
  Clipboard::SetText("文本\t9");
  Q->First();
  PasteFromClipboard(Grid.get(), false);
  EXPECT_EQ(Table(), "文本|9;乙|2;丙|3;丁|4;");
}

TEST_F(GridClipboard, DeletingAsksAccordingToTheSelection)
{
  struct {
    const char* Name;
    std::function<void()> Select;
    bool All;
    std::vector<AnsiString> Asked;
    AnsiString After;
  } cases[] = {
      {"one record", [&] { SelectRecords({2}); }, false, {"Delete record?"}, "甲|1;丙|3;丁|4;"},
      {"three records",
       [&] {
         SelectRecords({1, 3, 4});
       },
       false,
       {"Delete all selected records?"},
       "乙|2;"},
      {"select-all", [&] { Grid->Kind = gstAll; }, false, {"Delete all selected records?"}, ""},
      {"whole-grid flag", [&] { Grid->Kind = gstNon; }, true, {}, ""},
      {"columns",
       [&] {
         Grid->Kind = gstColumns;
         Grid->Columns = {Grid->GetColumns()->GetColumnByIndex(1)};
       },
       false,
       {"Clear selected cells?"},
       "甲|;乙|;丙|;丁|;"},
      {"rectangle",
       [&] {
         Grid->Kind = gstRectangle;
         Grid->Top = Grid->BookmarkOf(2);
         Grid->Bottom = Grid->BookmarkOf(3);
         Grid->Left = Grid->Right = 0;
       },
       false,
       {"Clear selected cells?"},
       "甲|1;|2;|3;丁|4;"},
  };
  for (auto& c : cases) {
    SCOPED_TRACE(c.Name);
    Db.Exec("delete from 货物");
    for (const char* v : {"('甲', 1)", "('乙', 2)", "('丙', 3)", "('丁', 4)"})
      Db.Exec(AnsiString("insert into 货物 values ") + v);
    Open();
    c.Select();
    {
      TAnswers answers({IDOK}, MB_OKCANCEL);
      DeleteSelection(Grid.get(), c.All);
      EXPECT_EQ(answers.Asked, c.Asked);
    }
    EXPECT_EQ(Table(), c.After);
    EXPECT_FALSE(Q->ControlsDisabled());
  }
}

TEST_F(GridClipboard, CancelOrNoConfirmOptionDecidesTheQuestion)
{
  SelectRecords({1, 2, 3});
  {
    TAnswers cancel({IDCANCEL}, MB_OKCANCEL);
    DeleteSelection(Grid.get(), false);
  }
  EXPECT_EQ(Table(), "甲|1;乙|2;丙|3;丁|4;");
  Grid->ConfirmDelete = false;
  TAnswers none({}, MB_OKCANCEL);
  DeleteSelection(Grid.get(), false);
  EXPECT_TRUE(none.Asked.empty());
  EXPECT_EQ(Table(), "丁|4;");
  EXPECT_EQ(Grid->Kind, gstNon) << "the deleted selection is cleared";
}

TEST_F(GridClipboard, ARectangleClearedStaysInEditStateAtItsLastRecord)
{
  Grid->Kind = gstRectangle;
  Grid->Top = Grid->BookmarkOf(3);
  Grid->Bottom = Grid->BookmarkOf(4);
  Grid->Left = Grid->Right = 1;
  Grid->ConfirmDelete = false;
  Q->SetRecNo(4);
  Grid->SaveViewPosition();
  DeleteSelection(Grid.get(), false);
  EXPECT_EQ(Q->GetState(), dsEdit);
  EXPECT_TRUE(Q->FieldByName("数量")->IsNull());
}

TEST_F(GridClipboard, CutIsCopyThenDelete)
{
  SelectRecords({1, 2});
  Grid->ConfirmDelete = false;
  CutToClipboard(Grid.get(), false);
  EXPECT_EQ(Clipboard::GetText(), "名称\t数量\r\n甲\t1\r\n乙\t2");
  EXPECT_EQ(Table(), "丙|3;丁|4;");
  // Pasting the cut into the empty grid appends it again.
  Db.Exec("delete from 货物");
  Open();
  PasteFromClipboard(Grid.get(), false);
  EXPECT_EQ(Table(), "甲|1;乙|2;");
}

}  // namespace
