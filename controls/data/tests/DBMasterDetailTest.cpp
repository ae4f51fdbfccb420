// Master-detail over two tables (clones filled from one shared detail dataset), nested details,
// the filter handed to the dataset, and detail has-children answered by the provider.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "controls/data/DataModule.h"
#include "controls/data/db/cxDBDataController.h"
#include "controls/data/controller/cxDataRelations.h"
#include "platform/db/ADODataSet.h"
#include "platform/db/DBClasses.h"
#include "platform/db/DataSource.h"
#include "platform/db/Fields.h"
#include "platform/db/tests/JetTestSupport.h"

namespace {

class TMasterDetailItem : public TObject {};

// A level's controller: it creates the clones of its relations' pattern controllers, as a grid
// view does for each expanded master record.
class TLevelController : public TcxDBDataController {
public:
  struct TLink : public TObject {
    std::unique_ptr<TLevelController> Controller;
    std::vector<std::unique_ptr<TMasterDetailItem>> Items;
  };
  std::vector<const char*> FieldNames;  // the items of this level

  void Bind(TDataSource* ASource)
  {
    for (const char* name : FieldNames) {
      Items.push_back(std::make_unique<TMasterDetailItem>());
      AddItem(Items.back().get());
      ChangeFieldName(GetItemIndex(Items.back().get()), name);
    }
    SetDataSource(ASource);
  }
  TObject* CreateDetailLinkObject(TcxCustomDataRelation* ARelation, int ARecordIndex) override
  {
    auto* pattern = static_cast<TLevelController*>(ARelation->DetailController);
    auto link = std::make_unique<TLink>();
    link->Controller = std::make_unique<TLevelController>();
    TLevelController* clone = link->Controller.get();
    clone->FieldNames = pattern->FieldNames;
    clone->Assign(pattern);
    clone->SetDataSource(nullptr);
    clone->Bind(pattern->GetDataSource());
    clone->SetMasterRelation(ARelation, ARecordIndex);
    return link.release();
  }
  TcxCustomDataController* GetDetailDataControllerByLinkObject(TObject* ALink) override
  {
    return static_cast<TLink*>(ALink)->Controller.get();
  }
  std::vector<int> Column(int AItemIndex)
  {
    std::vector<int> result;
    for (int row = 0; row < GetRowCount(); ++row)
      result.push_back(GetValue(GetRowInfo(row).RecordIndex, AItemIndex).AsInteger());
    return result;
  }

  std::vector<std::unique_ptr<TMasterDetailItem>> Items;
};

class DBMasterDetailTest : public testing::Test {
protected:
  DBMasterDetailTest()
  {
    DataModule::Initialize();
    DBClasses::Initialize();
    Masters.GetFieldDefs().Add("MID", ftInteger);
    Masters.GetFieldDefs().Add("Title", ftString, 10);
    Masters.CreateDataSet();
    for (int i = 1; i <= 4; ++i) Masters.AppendRecord({i, AnsiString("m" + std::to_string(i))});
    Details.GetFieldDefs().Add("DID", ftInteger);
    Details.GetFieldDefs().Add("MasterID", ftInteger);
    Details.GetFieldDefs().Add("Amount", ftInteger);
    Details.CreateDataSet();
    // Master 4 has no details; the last row of master 1 comes after the others.
    const int rows[][2] = {{1, 1}, {2, 1}, {3, 2}, {4, 3}, {5, 3}, {6, 3}, {7, 1}};
    for (auto& r : rows) Details.AppendRecord({r[0], r[1], r[0] * 10});
    MasterSource.SetDataSet(&Masters);
    DetailSource.SetDataSet(&Details);

    Master.FieldNames = {"MID", "Title"};
    Master.SetKeyFieldNames("MID");
    Master.Bind(&MasterSource);
    Pattern.FieldNames = {"DID", "Amount"};
    Pattern.SetKeyFieldNames("DID");
    Pattern.SetDetailKeyFieldNames("MasterID");
    Pattern.SetMasterKeyFieldNames("MID");
    Pattern.Bind(&DetailSource);
    Relation = Master.GetRelations()->Add(&Level);
    Pattern.SetMasterRelation(Relation, -1);
  }
  ~DBMasterDetailTest() override { Pattern.SetMasterRelation(nullptr, -1); }
  TLevelController* Clone(int AMasterRecord)
  {
    return static_cast<TLevelController*>(Master.GetDetailDataController(AMasterRecord, 0));
  }

  TADODataSet Masters{nullptr};
  TADODataSet Details{nullptr};
  TDataSource MasterSource{nullptr};
  TDataSource DetailSource{nullptr};
  TLevelController Master;
  TLevelController Pattern;
  TMasterDetailItem Level;
  TcxCustomDataRelation* Relation;
};

TEST_F(DBMasterDetailTest, ClonesShowTheRunOfTheirMasterKey)
{
  ASSERT_EQ(Master.GetRecordCount(), 4);
  EXPECT_EQ(Pattern.GetRecordCount(), 0);  // the pattern shows no master's records
  auto* relation = dynamic_cast<TcxDBDataRelation*>(Relation);
  ASSERT_NE(relation, nullptr);
  EXPECT_TRUE(relation->HasMasterLink());
  EXPECT_EQ(relation->GetMasterKeyValues(2).AsInteger(), 3);

  TLevelController* third = Clone(2);
  ASSERT_NE(third, nullptr);
  EXPECT_EQ(third->Column(0), (std::vector<int>{4, 5, 6}));
  // An unsorted detail shows the first consecutive run only.
  TLevelController* first = Clone(0);
  EXPECT_EQ(first->Column(0), (std::vector<int>{1, 2}));
  // The shared dataset is positioned for one clone at a time.
  EXPECT_TRUE(first->GetDBProvider()->GetDetailPositioned());
  EXPECT_FALSE(third->GetDBProvider()->GetDetailPositioned());
  EXPECT_EQ(Clone(3)->GetRecordCount(), 0);

  // Sorted by the detail key, every row of a master is there.
  Details.SetSort("MasterID, DID");
  first->ReloadData(1);
  EXPECT_EQ(first->Column(0), (std::vector<int>{1, 2, 7}));
}

TEST_F(DBMasterDetailTest, HasChildrenIsAskedOfTheDetailDataSetAndCached)
{
  EXPECT_TRUE(Master.GetDetailHasChildren(0, 0));
  EXPECT_FALSE(Master.GetDetailHasChildren(3, 0));
  // The answer is kept with the record until the details change.
  Details.AppendRecord({8, 4, 80});
  EXPECT_FALSE(Master.GetDetailHasChildren(3, 0));
  Details.MoveBy(-3);
  const int position = Details.GetRecNo();
  Master.CheckDetails();
  EXPECT_TRUE(Master.GetDetailHasChildren(3, 0));
  EXPECT_EQ(Details.GetRecNo(), position);  // asking leaves the detail's cursor where it was

  int asked = 0;
  Master.OnDetailHasChildren = [&](TcxDBDataController*, int ARecordIndex, int, const AnsiString& ANames,
                                   const Variant& AKeys, bool& HasChildren) {
    ++asked;
    EXPECT_EQ(ANames, "MasterID");
    EXPECT_EQ(AKeys.AsInteger(), ARecordIndex + 1);
    HasChildren = false;
  };
  Master.CheckDetails();
  EXPECT_FALSE(Master.GetDetailHasChildren(0, 0));
  EXPECT_EQ(asked, 1);
}

TEST_F(DBMasterDetailTest, MasterFollowsAMoveInTheDetailDataSet)
{
  Details.SetSort("MasterID, DID");
  Masters.First();
  ASSERT_EQ(Master.GetFocusedRecordIndex(), 0);
  ASSERT_TRUE(Details.Locate("DID", 5));  // master 3's second detail
  TcxCustomDataController* shown = Pattern.SyncMasterPos();
  EXPECT_EQ(Masters.FieldByName("MID")->GetAsInteger(), 3);
  EXPECT_EQ(Master.GetFocusedRecordIndex(), 2);
  EXPECT_TRUE(Master.GetDetailExpanded(2));
  EXPECT_EQ(Master.GetDetailActiveRelationIndex(2), 0);
  TLevelController* third = Clone(2);
  ASSERT_NE(third, nullptr);
  EXPECT_EQ(shown, third);
  EXPECT_EQ(third->Column(0), (std::vector<int>{4, 5, 6}));
  EXPECT_EQ(Pattern.SyncMasterPos(), third);  // already there: answers the clone only

  // A master that does not follow its dataset stays where it is.
  Master.GetDataModeController()->SetSyncMode(false);
  ASSERT_TRUE(Details.Locate("DID", 3));
  EXPECT_EQ(Pattern.SyncMasterPos(), nullptr);
  EXPECT_EQ(Masters.FieldByName("MID")->GetAsInteger(), 3);
  EXPECT_FALSE(Master.GetDetailExpanded(1));
}

TEST_F(DBMasterDetailTest, MovingInACloneFirstPostsTheMastersPendingEdit)
{
  Details.SetSort("MasterID, DID");
  TLevelController* third = Clone(2);
  ASSERT_EQ(third->Column(0), (std::vector<int>{4, 5, 6}));
  Masters.Edit();
  Masters.FieldByName("Title")->SetAsString("changed");
  // Posting the master's edit reloads the master, and its clones go: the move is refused, and
  // nothing touches the freed clone.
  TcxDataListenerLink alive(third);
  EXPECT_FALSE(third->ChangeFocusedRowIndex(1));
  EXPECT_EQ(alive.DataController, nullptr);
  EXPECT_EQ(Masters.FieldByName("Title")->GetAsString(), "changed");
  EXPECT_EQ(Masters.GetState(), dsBrowse);
}

TEST_F(DBMasterDetailTest, GridModeFocusesARecordBeforeExpandingIt)
{
  Master.GetDataModeController()->SetGridMode(true);
  ASSERT_EQ(Master.GetRecordCount(), 4);
  ASSERT_TRUE(Master.ChangeDetailExpanding(2, true));
  EXPECT_EQ(Master.GetFocusedRecordIndex(), 2);
  EXPECT_EQ(Masters.FieldByName("MID")->GetAsInteger(), 3);
  // A handler's refusal still counts.
  Master.OnDetailExpanding = [](TcxCustomDataController*, int, bool& AAllow) { AAllow = false; };
  EXPECT_FALSE(Master.ChangeDetailExpanding(1, true));
  EXPECT_FALSE(Master.GetDetailExpanded(1));
}

TEST_F(DBMasterDetailTest, DetailFirstHandlerPositionsTheDetailDataSet)
{
  std::vector<std::pair<AnsiString, int>> calls;
  // Copied to the clones with the pattern's settings.
  Pattern.GetDataModeController()->OnDetailFirst = [&](TObject*, TDataSet* ADataSet, const AnsiString& ANames,
                                                       const Variant& AKeys, bool& AReopened) {
    EXPECT_EQ(ADataSet, &Details);
    calls.emplace_back(ANames, AKeys.AsInteger());
    // Starts one record into the master's run.
    ASSERT_TRUE(ADataSet->Locate(ANames, AKeys));
    ADataSet->Next();
  };
  EXPECT_EQ(Clone(2)->Column(0), (std::vector<int>{5, 6}));
  EXPECT_EQ(calls, (std::vector<std::pair<AnsiString, int>>{{"MasterID", 3}}));
  EXPECT_EQ(Clone(1)->GetRecordCount(), 0);  // the handler moved past master 2's only record
}

TEST_F(DBMasterDetailTest, RecordsInsertedInACloneTakeTheMasterKey)
{
  Details.SetSort("MasterID, DID");
  TLevelController* second = Clone(1);
  ASSERT_EQ(second->Column(0), (std::vector<int>{3}));
  second->Append();
  ASSERT_TRUE(second->StoreEditValue(0, 30, 0));
  second->Post();
  EXPECT_EQ(Details.GetRecordCount(), 8);
  ASSERT_TRUE(Details.Locate("DID", 30));
  EXPECT_EQ(Details.FieldByName("MasterID")->GetAsInteger(), 2);
  // The posted row stands at the end of the view until the dataset sorts again.
  Details.SetSort("");
  Details.SetSort("MasterID, DID");
  second->ReloadData(1);
  EXPECT_EQ(second->Column(0), (std::vector<int>{3, 30}));
}

TEST_F(DBMasterDetailTest, NestedDetailsReadTheirPatternsRelations)
{
  // A third level under the details: notes keyed by the detail's DID.
  TADODataSet notes(nullptr);
  notes.GetFieldDefs().Add("NID", ftInteger);
  notes.GetFieldDefs().Add("DetailID", ftInteger);
  notes.CreateDataSet();
  for (auto& r : std::vector<std::vector<int>>{{1, 5}, {2, 5}, {3, 6}}) notes.AppendRecord({r[0], r[1]});
  TDataSource notesSource(nullptr);
  notesSource.SetDataSet(&notes);
  TLevelController notesPattern;
  notesPattern.FieldNames = {"NID"};
  notesPattern.SetDetailKeyFieldNames("DetailID");
  notesPattern.SetMasterKeyFieldNames("DID");
  notesPattern.Bind(&notesSource);
  TMasterDetailItem notesLevel;
  TcxCustomDataRelation* inner = Pattern.GetRelations()->Add(&notesLevel);
  notesPattern.SetMasterRelation(inner, -1);

  TLevelController* third = Clone(2);  // details 4, 5, 6
  ASSERT_EQ(third->Column(0), (std::vector<int>{4, 5, 6}));
  EXPECT_FALSE(third->GetDetailHasChildren(0, 0));
  EXPECT_TRUE(third->GetDetailHasChildren(1, 0));
  auto* notesOf5 = static_cast<TLevelController*>(third->GetDetailDataController(1, 0));
  ASSERT_NE(notesOf5, nullptr);
  EXPECT_EQ(notesOf5->Column(0), (std::vector<int>{1, 2}));
  auto* notesOf6 = static_cast<TLevelController*>(third->GetDetailDataController(2, 0));
  ASSERT_NE(notesOf6, nullptr);
  EXPECT_EQ(notesOf6->Column(0), (std::vector<int>{3}));
  notesPattern.SetMasterRelation(nullptr, -1);
}

TEST_F(DBMasterDetailTest, SqlModeReopensTheQueryWithTheMastersKey)
{
  TempJetDatabase db;
  TADOConnection conn(nullptr);
  conn.SetConnectionString(db.ConnectionString());
  conn.SetLoginPrompt(false);
  conn.Open();
  TADOQuery exec(nullptr);
  exec.SetConnection(&conn);
  exec.GetSQL()->SetText("create table items (DID INTEGER, MasterID INTEGER, Amount INTEGER)");
  exec.ExecSQL();
  exec.GetSQL()->SetText("insert into items values (1, 1, 10), (2, 1, 20), (3, 2, 30), (4, 3, 40), (5, 3, 50)");
  exec.ExecSQL();
  TADOQuery query(nullptr);
  query.SetConnection(&conn);
  query.GetSQL()->SetText("select * from items where MasterID = :MasterID order by DID");
  query.GetParameters().ParamByName("MasterID")->SetValue(1);
  query.Open();
  int opens = 0;
  query.AfterOpen = [&](TDataSet*) { ++opens; };
  TDataSource querySource(nullptr);
  querySource.SetDataSet(&query);
  Pattern.GetDataModeController()->DetailInSQLMode = true;
  Pattern.SetDataSource(&querySource);

  // Without a handler every master may have children: the query is not run to find out.
  EXPECT_TRUE(Master.GetDetailHasChildren(3, 0));
  EXPECT_EQ(opens, 0);
  // The query already holds master 1's key: no re-open.
  EXPECT_EQ(Clone(0)->Column(0), (std::vector<int>{1, 2}));
  EXPECT_EQ(opens, 0);
  EXPECT_EQ(Clone(2)->Column(0), (std::vector<int>{4, 5}));
  EXPECT_EQ(opens, 1);
  EXPECT_EQ(query.GetParameters().ParamByName("MasterID")->GetValue().AsInteger(), 3);

  // Focusing a row of master 1's clone asks whether the query still holds that key; only a
  // "no" re-opens it.
  TLevelController* first = Clone(0);
  std::vector<int> asked;
  bool current = true;
  first->GetDataModeController()->OnDetailIsCurrentQuery = [&](TObject*, TDataSet* ADataSet, const AnsiString& ANames,
                                                               const Variant& AKeys) {
    EXPECT_EQ(ADataSet, &query);
    EXPECT_EQ(ANames, "MasterID");
    asked.push_back(AKeys.AsInteger());
    return current;
  };
  first->SetFocusedRowIndex(1);
  EXPECT_EQ(asked, (std::vector<int>{1}));
  EXPECT_EQ(opens, 1);
  current = false;
  first->SetFocusedRowIndex(0);
  EXPECT_EQ(asked, (std::vector<int>{1, 1}));
  EXPECT_EQ(opens, 2);
  EXPECT_EQ(query.GetParameters().ParamByName("MasterID")->GetValue().AsInteger(), 1);
  EXPECT_EQ(query.FieldByName("DID")->GetAsInteger(), 1);
  Master.CollapseDetails();
  Master.ReloadData(1);  // the clones go with the master's records
  Pattern.SetDataSource(nullptr);
}

// ---- the filter handed to the dataset ----

class DBFilterTest : public testing::Test {
protected:
  DBFilterTest()
  {
    DataModule::Initialize();
    DBClasses::Initialize();
    Table.GetFieldDefs().Add("ID", ftInteger);
    Table.GetFieldDefs().Add("Full Name", ftString, 10);
    Table.CreateDataSet();
    for (int i = 1; i <= 5; ++i) Table.AppendRecord({i, AnsiString("p" + std::to_string(i))});
    Source.SetDataSet(&Table);
    C.FieldNames = {"ID", "Full Name"};
    C.Bind(&Source);
  }
  TADODataSet Table{nullptr};
  TDataSource Source{nullptr};
  TLevelController C;
};

TEST_F(DBFilterTest, AutoDataSetFilterHandsTheTextToTheDataSet)
{
  TcxDBDataFilterCriteria* filter = C.GetDBFilter();
  AnsiString seen;
  filter->OnBeforeChange = [&](TObject*, TDataSet* ADataSet, const AnsiString& AText) {
    EXPECT_EQ(ADataSet, &Table);
    seen = AText;
  };
  filter->SetAutoDataSetFilter(true);
  filter->BeginUpdate();
  filter->AddItem(filter->GetRoot(), C.Items[0].get(), fokGreater, 2, "2");
  filter->AddItem(filter->GetRoot(), C.Items[1].get(), fokNotEqual, AnsiString("p4"), "p4");
  filter->SetActive(true);
  filter->EndUpdate();
  EXPECT_TRUE(Table.GetFiltered());
  EXPECT_NE(Table.GetFilter().find("[Full Name]"), AnsiString::npos) << Table.GetFilter();
  EXPECT_EQ(seen, Table.GetFilter());
  EXPECT_EQ(Table.GetRecordCount(), 2);
  EXPECT_EQ(C.Column(0), (std::vector<int>{3, 5}));
  EXPECT_FALSE(C.IsFiltering());  // the dataset did it

  // An empty criteria switches the dataset's filter off even while active.
  filter->Clear();
  EXPECT_TRUE(filter->GetActive());
  EXPECT_FALSE(Table.GetFiltered());
  EXPECT_EQ(C.GetRecordCount(), 5);
}

TEST_F(DBFilterTest, SmartRefreshKeepsTheFilterInTheController)
{
  C.SetKeyFieldNames("ID");
  C.GetDataModeController()->SetSmartRefresh(true);
  TcxDBDataFilterCriteria* filter = C.GetDBFilter();
  filter->SetAutoDataSetFilter(true);
  filter->BeginUpdate();
  filter->AddItem(filter->GetRoot(), C.Items[0].get(), fokLess, 3, "3");
  filter->SetActive(true);
  filter->EndUpdate();
  EXPECT_FALSE(Table.GetFiltered());
  EXPECT_TRUE(Table.GetFilter().empty());
  EXPECT_TRUE(C.IsFiltering());
  EXPECT_EQ(C.Column(0), (std::vector<int>{1, 2}));

  // A post re-reads the edited record only; the controller's filter drops it when it fails.
  C.SetFocusedRowIndex(1);
  ASSERT_TRUE(C.StoreEditValue(0, 9, 0));
  C.Post();
  EXPECT_EQ(C.GetRecordCount(), 5);
  EXPECT_EQ(C.Column(0), (std::vector<int>{1}));
  EXPECT_TRUE(Table.Locate("ID", 9));
}

}  // namespace
