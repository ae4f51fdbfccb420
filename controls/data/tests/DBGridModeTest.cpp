// Grid mode over a 100,000-row table: the controller's records are the data link's buffer, the
// dataset scrolls, and the selection is kept as bookmarks.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "controls/data/DataModule.h"
#include "controls/data/db/cxDBDataController.h"
#include "platform/db/ADODataSet.h"
#include "platform/db/DBClasses.h"
#include "platform/db/DataSource.h"
#include "platform/db/Fields.h"

namespace {

class TGridModeItem : public TObject {};

constexpr int RowCount = 100000;

class DBGridModeTest : public testing::Test {
protected:
  static void SetUpTestSuite()
  {
    DataModule::Initialize();
    DBClasses::Initialize();
  }
  DBGridModeTest()
  {
    Table.GetFieldDefs().Add("ID", ftInteger);
    Table.GetFieldDefs().Add("Name", ftString, 12);
    Table.GetFieldDefs().Add("Kind", ftInteger);
    Table.CreateDataSet();
    Table.DisableControls();
    for (int i = 1; i <= RowCount; ++i) Table.AppendRecord({i, AnsiString("n" + std::to_string(i)), i % 3});
    Table.EnableControls();
    Table.First();
    Source.SetDataSet(&Table);
    const char* names[] = {"ID", "Name", "Kind"};
    for (int i = 0; i < 3; ++i) {
      C.AddItem(&Items[i]);
      C.ChangeFieldName(i, names[i]);
    }
    C.GetDataModeController()->SetGridMode(true);
    C.SetDataSource(&Source);
  }
  int IdAt(int ARecordIndex) { return C.GetValue(ARecordIndex, 0).AsInteger(); }
  int FocusedId() { return IdAt(C.GetFocusedRecordIndex()); }

  TADODataSet Table{nullptr};
  TDataSource Source{nullptr};
  TGridModeItem Items[3];
  TcxDBDataController C;
};

TEST_F(DBGridModeTest, RecordsAreTheBufferedWindow)
{
  ASSERT_TRUE(C.IsGridMode());
  EXPECT_EQ(C.GetRecordCount(), 100);  // the plain controller's default buffer
  EXPECT_EQ(IdAt(0), 1);
  EXPECT_EQ(IdAt(99), 100);
  EXPECT_EQ(C.GetDisplayText(42, 1), "n43");
  C.GetDataModeController()->SetGridModeBufferCount(-5);
  EXPECT_EQ(C.GetDataModeController()->GetGridModeBufferCount(), 0);
  EXPECT_EQ(C.GetRecordCount(), 100);
  C.GetDataModeController()->SetGridModeBufferCount(20);
  EXPECT_EQ(C.GetRecordCount(), 20);

  // The dataset scrolls under the window; the focus follows its cursor.
  C.GotoLast();
  EXPECT_EQ(Table.FieldByName("ID")->GetAsInteger(), RowCount);
  EXPECT_EQ(IdAt(19), RowCount);
  EXPECT_EQ(FocusedId(), RowCount);
  C.SetFocusedRowIndex(15);
  EXPECT_EQ(Table.FieldByName("ID")->GetAsInteger(), RowCount - 4);
  C.GotoFirst();
  EXPECT_EQ(IdAt(0), 1);
  EXPECT_EQ(FocusedId(), 1);
  C.Scroll(1);  // one past the window's last row
  EXPECT_EQ(Table.FieldByName("ID")->GetAsInteger(), 21);
  EXPECT_EQ(IdAt(19), 21);

  // Grouping needs every record: the controller leaves grid mode, and comes back without it.
  C.ChangeGroupIndex(2, 0);
  EXPECT_FALSE(C.IsGridMode());
  EXPECT_EQ(C.GetRecordCount(), RowCount);
  EXPECT_THROW(C.GetSelectedBookmark(0), EcxInvalidDataControllerOperation);
  C.ChangeGroupIndex(2, -1);
  EXPECT_TRUE(C.IsGridMode());
  EXPECT_EQ(C.GetRecordCount(), 20);
}

TEST_F(DBGridModeTest, RestorePosBringsTheRecordBackToItsRow)
{
  C.GetDataModeController()->SetGridModeBufferCount(10);
  auto* p = C.GetDBProvider();
  Table.MoveBy(3);
  ASSERT_EQ(p->GetDataLink()->GetActiveRecord(), 3);
  p->SavePos();
  Table.MoveBy(30);
  Table.MoveBy(-30);  // the same record, now on the window's first row
  ASSERT_EQ(p->GetDataLink()->GetActiveRecord(), 0);
  p->RestorePos();
  EXPECT_EQ(Table.FieldByName("ID")->GetAsInteger(), 4);
  EXPECT_EQ(p->GetDataLink()->GetActiveRecord(), 3);
}

TEST_F(DBGridModeTest, SelectionIsKeptAsBookmarks)
{
  C.SetMultiSelect(true);
  C.SelectAll();
  ASSERT_EQ(C.GetSelectedCount(), RowCount);
  EXPECT_EQ(C.GetSelectedRowIndex(0), 0);
  EXPECT_EQ(C.GetSelectedRowIndex(RowCount - 1), -1);  // outside the buffered window
  EXPECT_EQ(FocusedId(), 1);                           // the position came back

  C.ClearSelection();
  EXPECT_EQ(C.GetSelectedCount(), 0);
  C.SetSelectionAnchor(2);
  EXPECT_TRUE(C.IsSelectionAnchorExist());
  C.SelectFromAnchor(5, false);
  EXPECT_EQ(C.GetSelectedCount(), 4);
  C.SelectFromAnchor(6, false);  // one further: appended
  EXPECT_EQ(C.GetSelectedCount(), 5);
  EXPECT_TRUE(C.IsRowSelected(6));
  C.SelectFromAnchor(5, false);  // one back: dropped again
  EXPECT_EQ(C.GetSelectedCount(), 4);
  EXPECT_FALSE(C.IsRowSelected(6));
  C.SelectFromAnchor(0, false);  // backwards from the anchor
  EXPECT_EQ(C.GetSelectedCount(), 3);
  EXPECT_TRUE(C.IsRowSelected(0));
  EXPECT_FALSE(C.IsRowSelected(3));

  // Kept selection: the new range is merged in order, without duplicates.
  C.SetSelectionAnchor(1);
  C.SelectFromAnchor(8, true);
  EXPECT_EQ(C.GetSelectedCount(), 9);
  for (int i = 0; i + 1 < C.GetSelectedCount(); ++i)
    EXPECT_LT(C.GetDBProvider()->CompareBookmarks(C.GetSelectedBookmark(i), C.GetSelectedBookmark(i + 1)), 0);
  EXPECT_THROW(C.SelectFromAnchor(100, false), EcxInvalidDataControllerOperation);
}

TEST_F(DBGridModeTest, DeletingSelectedRowsDeletesThoseRecordsOnly)
{
  C.SetMultiSelect(true);
  for (int row : {2, 5, 9}) C.ChangeRowSelectionByBookmark(row, true);
  ASSERT_EQ(C.GetSelectedCount(), 3);
  C.DeleteSelection();
  EXPECT_EQ(Table.GetRecordCount(), RowCount - 3);
  for (int id : {3, 6, 10}) EXPECT_FALSE(Table.Locate("ID", id)) << id;
  for (int id : {1, 2, 4, 5, 7, 8, 9, 11}) EXPECT_TRUE(Table.Locate("ID", id)) << id;
  EXPECT_EQ(C.GetSelectedCount(), 0);

  // A selected record deleted by someone else leaves the selection at the next change.
  Table.First();
  C.ChangeRowSelectionByBookmark(1, true);
  C.ChangeRowSelectionByBookmark(3, true);
  Table.Locate("ID", 2);
  Table.Delete();
  EXPECT_EQ(C.GetSelectedCount(), 1);
}

TEST_F(DBGridModeTest, SelectedRowsAndTheSavedFocusAreFoundByBookmark)
{
  C.SetMultiSelect(true);
  C.SetFocusedRowIndex(3);
  C.SaveFocusByBookmark();
  for (int row : {1, 4, 7}) C.ChangeRowSelectionByBookmark(row, true);
  std::vector<int> visited;
  C.ForEachRowInDataSet(true, [&](int ARowIndex) { visited.push_back(FocusedId()); });
  EXPECT_EQ(visited, (std::vector<int>{2, 5, 8}));
  ASSERT_TRUE(C.RestoreFocusByBookmark());
  EXPECT_EQ(FocusedId(), 4);
  EXPECT_FALSE(C.IsFocusBookmarkGone());
  Table.Delete();  // the saved record goes, and with it the saved focus
  EXPECT_FALSE(C.IsFocusBookmarkGone());
  EXPECT_FALSE(C.RestoreFocusByBookmark());
}

TEST_F(DBGridModeTest, DeletingBufferRowsDeletesTheirRecords)
{
  C.GetDataModeController()->SetGridModeBufferCount(10);
  Table.MoveBy(20);  // the window no longer starts at the first record
  const int first = IdAt(0);
  C.GetDBProvider()->DeleteRecords({2, 5, 9});
  EXPECT_EQ(Table.GetRecordCount(), RowCount - 3);
  for (int offset : {2, 5, 9}) EXPECT_FALSE(Table.Locate("ID", first + offset)) << offset;
  for (int offset : {0, 1, 3, 4, 6, 7, 8, 10}) EXPECT_TRUE(Table.Locate("ID", first + offset)) << offset;
}

TEST_F(DBGridModeTest, EditingAndAppendingWorkOnTheDataSet)
{
  C.GetDataModeController()->SetGridModeBufferCount(10);
  C.SetFocusedRowIndex(4);
  ASSERT_TRUE(C.StoreEditValue(1, AnsiString("改"), 0));
  C.Post();
  EXPECT_EQ(Table.FieldByName("Name")->GetAsString(), "改");
  EXPECT_EQ(C.GetDisplayText(4, 1), "改");

  C.Append();
  ASSERT_EQ(Table.GetState(), dsInsert);
  ASSERT_TRUE(C.StoreEditValue(0, RowCount + 1, 0));
  C.Post();
  EXPECT_EQ(Table.GetRecordCount(), RowCount + 1);
  EXPECT_EQ(Table.FieldByName("ID")->GetAsInteger(), RowCount + 1);
  EXPECT_EQ(C.GetRecordCount(), 10);
  EXPECT_EQ(FocusedId(), RowCount + 1);
}

TEST_F(DBGridModeTest, LocateAndSearchMoveTheDataSet)
{
  C.SetKeyFieldNames("ID");
  EXPECT_FALSE(C.IsKeyNavigation());  // grid mode works by position
  ASSERT_TRUE(C.LocateByKey(54321));
  EXPECT_EQ(Table.FieldByName("ID")->GetAsInteger(), 54321);
  EXPECT_EQ(FocusedId(), 54321);
  EXPECT_FALSE(C.LocateByKey(RowCount + 1));

  C.GotoFirst();
  ASSERT_TRUE(C.Search(1, "N777"));  // any letter case, from the start of the text
  EXPECT_EQ(Table.FieldByName("ID")->GetAsInteger(), 777);
  ASSERT_TRUE(C.SearchNext(true));
  EXPECT_EQ(Table.FieldByName("ID")->GetAsInteger(), 7770);
  EXPECT_FALSE(C.Search(1, "x"));
  EXPECT_EQ(Table.FieldByName("ID")->GetAsInteger(), 7770);  // a failed search leaves the cursor
}

}  // namespace
