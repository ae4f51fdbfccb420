// The grid's data link and its selected-record bookmarks over a real SQLite table.
#include <gtest/gtest.h>

#include "gridkit/model/BookmarkListEh.h"
#include "gridkit/tests/GridHostStandIn.h"
#include "gridkit/tests/GridTestDb.h"
#include "platform/db/Fields.h"

namespace {

class GridDataLink : public testing::Test {
protected:
  void SetUp() override
  {
    Db.Exec("create table 合同 (编号 INTEGER, 名称 TEXT(20), 金额 FLOAT)");
    for (int i = 1; i <= 5; ++i)
      Db.Exec("insert into 合同 values (:id, :name, :amount)",
              {{"id", i}, {"name", "合同" + std::to_string(i)}, {"amount", i * 1.5}});
    Q = Db.Query("select * from 合同 order by 编号");
    Source.SetDataSet(Q.get());
    Grid.Link.SetBufferCount(3);
    Grid.Link.SetDataSource(&Source);
  }
  void Go(Integer Id) { ASSERT_TRUE(Q->Locate("编号", Id)); }

  GridTestDb Db;
  std::unique_ptr<TADOQuery> Q;
  TDataSource Source{nullptr};
  TGridHostStandIn Grid;
};

TEST_F(GridDataLink, MapGrowsByDoublingAndAnswersNilOutOfRange)
{
  TGridDataLinkEh& link = Grid.Link;
  EXPECT_THROW(link.MapField("没有"), EDatabaseError);
  EXPECT_EQ(link.GetMappedCount(), 0);
  struct Step {
    int Mapped, Capacity;
  } steps[] = {{1, 8}, {8, 8}, {9, 16}, {16, 16}, {17, 32}};
  int mapped = 0;
  for (const Step& s : steps) {
    while (mapped < s.Mapped) {
      link.MapField(mapped % 2 ? "名称" : "编号");
      ++mapped;
    }
    EXPECT_EQ(link.GetMapCapacity(), s.Capacity) << "after " << s.Mapped;
  }
  EXPECT_EQ(link.FieldOfColumn(1), Q->FieldByName("名称"));
  for (Integer i : {-1, link.GetMappedCount(), 1000}) EXPECT_EQ(link.FieldOfColumn(i), nullptr) << i;
  EXPECT_TRUE(link.UsesDefaultFields());
  EXPECT_EQ(Grid.Watched.size(), 17u);

  link.SetAllowMissingFields(true);
  link.MapField("没有");
  EXPECT_EQ(link.FieldOfColumn(17), nullptr);
  EXPECT_FALSE(link.UsesDefaultFields());
  link.ClearFieldMap();
  EXPECT_EQ(link.GetMapCapacity(), 0);

  TGridHostStandIn unlinked;
  EXPECT_TRUE(unlinked.Link.UsesDefaultFields());
}

TEST_F(GridDataLink, RelaysNotificationsAndGuardsUpdateData)
{
  Q->Next();
  EXPECT_FALSE(Grid.Scrolls.empty());
  Q->Close();
  Q->Open();
  ASSERT_GE(Grid.Active.size(), 2u);
  EXPECT_FALSE(Grid.Active[Grid.Active.size() - 2]);
  EXPECT_TRUE(Grid.Active.back());

  // The grid's write makes the dataset ask for the data again: that nested call does nothing.
  Grid.OnCommit = [&] { Q->UpdateRecord(); };
  Q->Edit();
  Grid.Link.MarkEditorTextChanged();
  Q->UpdateRecord();
  EXPECT_EQ(Grid.Commits, 1);
  EXPECT_FALSE(Grid.Link.GetEditorTextChanged());
  EXPECT_GE(Grid.IndicatorPaints, 1);

  Grid.Link.MarkEditorTextChanged();
  Grid.Link.DiscardEditorChanges();
  EXPECT_EQ(Q->GetState(), dsEdit) << "typed text dropped, the edit stays";
  Grid.Link.DiscardEditorChanges();
  EXPECT_EQ(Q->GetState(), dsBrowse);
}

TEST_F(GridDataLink, FocusRequestSelectsTheLaterColumnOfTheField)
{
  Grid.ColumnFields = {Q->FieldByName("名称"), Q->FieldByName("金额"), Q->FieldByName("名称")};
  Q->FieldByName("名称")->FocusControl();
  EXPECT_EQ(Grid.SelectedColumn, 2);
  EXPECT_EQ(Grid.EditorShown, 1);
}

class BookmarkList : public GridDataLink {
protected:
  void SetUp() override
  {
    GridDataLink::SetUp();
    List.SetDataActive(true);
  }
  TBookmarkListEh List{&Grid};
};

TEST_F(BookmarkList, KeepsDatasetOrderAndRemembersTheLastAnswer)
{
  Integer index = -1;
  EXPECT_FALSE(List.SearchBookmark(Q->GetBookmark(), index));
  EXPECT_EQ(index, 0);
  int paints = Grid.GridPaints;
  List.RemoveAll();
  EXPECT_EQ(Grid.GridPaints, paints) << "an empty list is left alone";

  for (Integer id : {3, 1, 2}) {
    Go(id);
    List.SelectCurrentRecord(true);
  }
  EXPECT_EQ(Grid.Selection, gstRecordBookmarks);
  ASSERT_EQ(List.GetCount(), 3);
  for (Integer i = 0; i < 3; ++i) {
    Q->GotoBookmark(List.GetItem(i));
    EXPECT_EQ(Q->FieldByName("编号")->GetAsInteger(), i + 1);
  }
  Go(2);
  int rowPaints = Grid.RowPaints;
  List.SelectCurrentRecord(true);
  EXPECT_EQ(Grid.RowPaints, rowPaints) << "already selected: nothing changes";

  Go(4);
  EXPECT_FALSE(List.IsCurrentRecordSelected());
  Integer compared = List.ComparisonCount();
  EXPECT_FALSE(List.IsCurrentRecordSelected());
  EXPECT_EQ(List.ComparisonCount(), compared) << "the second question costs no comparison";
  Go(1);
  List.SelectCurrentRecord(false);
  Go(4);
  compared = List.ComparisonCount();
  List.IsCurrentRecordSelected();
  EXPECT_GT(List.ComparisonCount(), compared) << "a change of the list forgets the answer";
}

TEST_F(BookmarkList, ClosedDataRefusesAndReopenStartsEmpty)
{
  List.SelectCurrentRecord(true);
  List.SetDataActive(false);
  EXPECT_EQ(List.GetCount(), 0);
  try {
    List.IsCurrentRecordSelected();
    FAIL();
  } catch (const EInvalidGridOperation& e) {
    EXPECT_EQ(e.Message(), "Cannot perform this operation on a closed dataset");
  }
}

TEST_F(BookmarkList, DeletesSelectedRecordsAndReportsShownRows)
{
  EXPECT_EQ(List.SelectedRowsRect().top, -1);
  for (Integer id : {2, 4}) {
    Go(id);
    List.SelectCurrentRecord(true);
  }
  Q->First();
  RECT r = List.SelectedRowsRect();  // the link's window shows records 1..3
  EXPECT_EQ(r.left, 0);
  EXPECT_EQ(r.top, 2);
  EXPECT_EQ(r.bottom, 2);
  EXPECT_EQ(r.right, 3);
  List.DeleteSelected();
  EXPECT_EQ(List.GetCount(), 0);
  EXPECT_EQ(Q->GetRecordCount(), 3);
  EXPECT_FALSE(Q->ControlsDisabled());
  auto check = Db.Query("select count(*) as n from 合同");
  EXPECT_EQ(check->FieldByName("n")->GetAsInteger(), 3);
}

}  // namespace
