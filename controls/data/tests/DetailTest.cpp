// Detail clones: created on demand per master record, kept in step with record inserts and
// deletes, walked by ForEachDetail, and gone with their record or master.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>

#include "controls/data/controller/cxDataRelations.h"
#include "controls/data/tests/ControllerFixture.h"

namespace {

struct TDetailLink : public TObject {
  std::unique_ptr<TcxCustomDataController> Controller = std::make_unique<TcxCustomDataController>();
  bool* Freed = nullptr;
  ~TDetailLink() override
  {
    if (Freed) *Freed = true;
  }
};

class TMaster : public TcxCustomDataController {
public:
  int Created = 0;
  // Runs inside creation; answering false makes the creation answer nothing.
  std::function<bool(int ARecordIndex)> DuringCreate;
  bool* FreedFlag = nullptr;

  TObject* CreateDetailLinkObject(TcxCustomDataRelation* ARelation, int ARecordIndex) override
  {
    ++Created;
    if (DuringCreate && !DuringCreate(ARecordIndex)) return nullptr;
    auto link = std::make_unique<TDetailLink>();
    link->Freed = FreedFlag;
    link->Controller->SetMasterRelation(ARelation, ARecordIndex);
    return link.release();
  }
  TcxCustomDataController* GetDetailDataControllerByLinkObject(TObject* ALink) override
  {
    return static_cast<TDetailLink*>(ALink)->Controller.get();
  }
};

class DetailTest : public ControllerTest {
protected:
  DetailTest()
  {
    C = std::make_unique<TMaster>();
    MakeItems({TcxIntegerValueType::Class()});
    Fill({{0}, {1}, {2}, {3}});
    Relation = C->GetRelations()->Add(&Level);
    Pattern->SetMasterRelation(Relation, -1);
  }
  ~DetailTest() override { Pattern.reset(); }
  TMaster* M() { return static_cast<TMaster*>(C.get()); }

  TTestViewItem Level;
  TcxCustomDataRelation* Relation;
  std::unique_ptr<TcxCustomDataController> Pattern = std::make_unique<TcxCustomDataController>();
};

TEST_F(DetailTest, CloneIsCreatedOnceOnDemand)
{
  EXPECT_FALSE(C->HasDetailDataController(2, 0));
  EXPECT_EQ(C->FindDetailDataController(2, 0), nullptr);
  TcxCustomDataController* d = C->GetDetailDataController(2, 0);
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(C->GetDetailDataController(2, 0), d);
  EXPECT_EQ(M()->Created, 1);
  EXPECT_TRUE(C->HasDetailDataController(2, 0));
  EXPECT_TRUE(C->HasDetailDataController(2, -1));
  EXPECT_EQ(d->GetDetailMode(), 2);
  EXPECT_EQ(d->GetMasterRecordIndex(), 2);
  EXPECT_EQ(d->GetRootDataController(), C.get());
  // Has-children follows the detail's own records.
  EXPECT_FALSE(C->GetDetailHasChildren(2, 0));
  d->AppendRecord();
  EXPECT_TRUE(C->GetDetailHasChildren(2, 0));
  EXPECT_EQ(C->GetDetailDataController(2, 1), nullptr);  // no such relation
}

TEST_F(DetailTest, MasterIndexesFollowInsertsAndDeletes)
{
  TcxCustomDataController* d1 = C->GetDetailDataController(1, 0);
  TcxCustomDataController* d3 = C->GetDetailDataController(3, 0);
  bool freed = false;
  M()->FreedFlag = &freed;
  TcxCustomDataController* d2 = C->GetDetailDataController(2, 0);

  C->InsertRecord(2);  // before d2 and d3, after d1
  EXPECT_EQ(d1->GetMasterRecordIndex(), 1);
  EXPECT_EQ(d2->GetMasterRecordIndex(), 3);
  EXPECT_EQ(d3->GetMasterRecordIndex(), 4);
  EXPECT_EQ(C->FindDetailDataController(4, 0), d3);

  C->DeleteRecord(0);
  EXPECT_EQ(d1->GetMasterRecordIndex(), 0);
  EXPECT_EQ(d3->GetMasterRecordIndex(), 3);

  C->DeleteRecord(2);  // d2's record: its detail goes with it
  EXPECT_TRUE(freed);
  EXPECT_EQ(d3->GetMasterRecordIndex(), 2);
  EXPECT_EQ(C->FindDetailDataController(2, 0), d3);
}

TEST_F(DetailTest, ForEachDetailVisitsExistingClonesOnly)
{
  C->GetDetailDataController(0, 0);
  C->GetDetailDataController(3, 0);
  std::vector<int> masters;
  C->ForEachDetail(Relation, [&](TcxCustomDataController* D) { masters.push_back(D->GetMasterRecordIndex()); });
  std::sort(masters.begin(), masters.end());
  EXPECT_EQ(masters, (std::vector<int>{0, 3}));
}

TEST_F(DetailTest, CreationGuards)
{
  // A request made while creating answers nothing.
  TcxCustomDataController* inner = reinterpret_cast<TcxCustomDataController*>(1);
  M()->DuringCreate = [&](int R) {
    inner = C->GetDetailDataController(R, 0);
    return true;
  };
  EXPECT_NE(C->GetDetailDataController(1, 0), nullptr);
  EXPECT_EQ(inner, nullptr);

  // A creation that answers nothing is tried once more.
  int calls = 0;
  M()->DuringCreate = [&](int) { return ++calls > 1; };
  EXPECT_NE(C->GetDetailDataController(2, 0), nullptr);
  EXPECT_EQ(calls, 2);
  calls = -10;
  EXPECT_EQ(C->GetDetailDataController(3, 0), nullptr);
  EXPECT_EQ(calls, -8);

  // The record's details rebuilt while creating: the new link is dropped.
  M()->DuringCreate = [&](int R) {
    C->GetRelations()->ClearDetailInfo(R, -1);
    C->GetStorage()->SetFieldValue(R, C->GetRelations()->GetDetailField()->GetValueDef(), Variant::Null());
    return true;
  };
  EXPECT_EQ(C->GetDetailDataController(0, 0), nullptr);
  EXPECT_FALSE(C->HasDetailDataController(0, 0));
}

TEST_F(DetailTest, ClonesGoBeforeTheirMasterAndRelation)
{
  bool freed = false;
  M()->FreedFlag = &freed;
  C->GetDetailDataController(1, 0);
  C->GetRelations()->Clear();
  EXPECT_TRUE(freed);
  // A master freed with live clones: the clones must not reach the freed relations.
  Relation = C->GetRelations()->Add(&Level);
  Pattern->SetMasterRelation(Relation, -1);
  freed = false;
  C->GetDetailDataController(1, 0);
  C.reset();
  EXPECT_TRUE(freed);
}

// Marks every record's has-children answer for relation 0 cached, or counts the cached ones.
void CacheHasChildren(TcxCustomDataController* AController)
{
  for (int r = 0; r < AController->GetRecordCount(); ++r)
    AController->GetRelations()->GetDetailObject(r)->GetOrCreateInfoObject(0)->HasChildrenKnown = true;
}

int CachedHasChildren(TcxCustomDataController* AController)
{
  int n = 0;
  for (int r = 0; r < AController->GetRecordCount(); ++r)
    if (TcxDetailInfoObject* info = AController->GetRelations()->GetDetailObject(r)->GetInfoObject(0))
      n += info->HasChildrenKnown ? 1 : 0;
  return n;
}

TEST_F(DetailTest, ResetDetailHasChildrenFindsTheLevelOfTheItem)
{
  // A second level under the clone of master record 1.
  TcxCustomDataController* d = C->GetDetailDataController(1, 0);
  d->AppendRecord();
  d->AppendRecord();
  TTestViewItem level2, unknown;
  // The clone keeps its own relation list; the pattern's relation holds the level's pattern.
  d->GetRelations()->Add(&level2);
  TcxCustomDataController pattern2;
  pattern2.SetMasterRelation(Pattern->GetRelations()->Add(&level2), -1);

  struct Case {
    TcxCustomDataController* Caller;
    TObject* Item;
    int MasterLeft, DetailLeft;
  };
  for (const Case& c : {Case{d, &Level, 0, 2},  // asked from below: still reset from the root
                        Case{C.get(), &level2, 4, 0}, Case{C.get(), &unknown, 4, 2}}) {
    CacheHasChildren(C.get());
    CacheHasChildren(d);
    c.Caller->ResetDetailHasChildren(c.Item);
    EXPECT_EQ(CachedHasChildren(C.get()), c.MasterLeft);
    EXPECT_EQ(CachedHasChildren(d), c.DetailLeft);
  }
  pattern2.SetMasterRelation(nullptr, -1);
}

TEST_F(DetailTest, CheckDetailsDropsCachedAnswersAndReportsOnce)
{
  CacheHasChildren(C.get());
  Record();
  C->CheckDetails();
  EXPECT_EQ(CachedHasChildren(C.get()), 0);
  EXPECT_EQ(Log, (std::vector<std::string>{"layout"}));
  Log.clear();
  C->CheckDetails();  // nothing cached: nothing to report
  EXPECT_TRUE(Log.empty());
}

}  // namespace
