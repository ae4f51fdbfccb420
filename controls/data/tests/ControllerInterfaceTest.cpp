// Assigning one controller to another, the notifier, and navigation through a grid-mode provider.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "controls/data/controller/cxDataSearch.h"
#include "controls/data/controller/cxDataSummary.h"
#include "controls/data/tests/ControllerFixture.h"

namespace {

struct TIdItem : public TObject {
  explicit TIdItem(int AID) : ID(AID) {}
  int ID;
};

// Items are matched across controllers by their ID.
class TIdController : public TcxCustomDataController {
public:
  int GetItemID(TObject* AItem) const override
  {
    auto* i = dynamic_cast<TIdItem*>(AItem);
    return i ? i->ID : -1;
  }
  std::vector<TComponent*> Removed;
  void ComponentRemoved(TComponent* AComponent) override
  {
    Removed.push_back(AComponent);
    TcxCustomDataController::ComponentRemoved(AComponent);
  }
};

TEST(ControllerInterfaceTest, AssignCopiesSummaryByItemIdAndEvents)
{
  TIdItem a1(1), a2(2), b2(2), b1(1);
  TIdController source, dest;
  source.AddItem(&a1);
  source.AddItem(&a2);
  dest.AddItem(&b2);  // other order: IDs, not positions, match
  dest.AddItem(&b1);
  source.GetSummary()->GetFooterSummaryItems()->Add(&a2, spFooter, skSum, "0");
  int inserts = 0;
  source.OnBeforeInsert = [&](TcxCustomDataController*) { ++inserts; };
  source.OnSortingChanged = [](TObject*) {};
  dest.Assign(&source);
  ASSERT_EQ(dest.GetSummary()->GetFooterSummaryItems()->GetCount(), 1);
  TcxDataSummaryItem* item = dest.GetSummary()->GetFooterSummaryItems()->GetItem(0);
  EXPECT_EQ(item->GetItemLink(), &b2);
  EXPECT_EQ(item->GetKind(), skSum);
  EXPECT_EQ(item->GetFormat(), "0");
  ASSERT_TRUE(dest.OnBeforeInsert);
  ASSERT_TRUE(dest.OnSortingChanged);
  dest.OnBeforeInsert(&dest);
  EXPECT_EQ(inserts, 1);
  EXPECT_FALSE(dest.OnAfterPost);
}

TEST(ControllerInterfaceTest, NotifierPassesRemovedComponents)
{
  auto controller = std::make_unique<TIdController>();
  auto gone = std::make_unique<TComponent>(nullptr);
  auto kept = std::make_unique<TComponent>(nullptr);
  gone->FreeNotification(controller->GetNotifier());
  kept->FreeNotification(controller->GetNotifier());
  TComponent* goneAddress = gone.get();
  gone.reset();
  EXPECT_EQ(controller->Removed, (std::vector<TComponent*>{goneAddress}));
  // The controller goes first: the component must not reach the freed notifier.
  controller.reset();
  kept.reset();
}

class TGridProvider : public TcxCustomDataProvider {
public:
  using TcxCustomDataProvider::TcxCustomDataProvider;
  bool IsGridMode() const override { return true; }
  void First() override { Log += "first "; }
  void Prior() override { Log += "prior "; }
  void Next() override { Log += "next "; }
  void Last() override { Log += "last "; }
  void MoveBy(int D) override { Log += "by" + std::to_string(D) + " "; }
  void Scroll(int D) override { Log += "scroll" + std::to_string(D) + " "; }
  bool IsBOF() const override { return Bof; }
  bool IsEOF() const override { return Eof; }
  std::string Log;
  bool Bof = false, Eof = false;
};

class TGridController : public TcxCustomDataController {
public:
  TGridController()
  {
    auto p = std::make_unique<TGridProvider>(this);
    Provider = p.get();
    SetDataProvider(std::move(p));
  }
  bool SearchInGridMode(const AnsiString& AText, bool AForward, bool ANext) override
  {
    Provider->Log += "search " + AText + (AForward ? " fwd" : " back") + (ANext ? " next " : " ");
    return true;
  }
  TGridProvider* Provider;
};

TEST(ControllerInterfaceTest, GridModeNavigatesThroughTheProvider)
{
  TGridController c;
  ASSERT_TRUE(c.IsGridMode());
  c.GotoFirst();
  c.GotoNext();
  c.GotoPrev();
  c.GotoLast();
  c.MoveBy(-3);
  c.Scroll(2);
  EXPECT_EQ(c.Provider->Log, "first next prior last by-3 scroll2 ");
  EXPECT_FALSE(c.IsBOF());  // the provider's answers, not the (empty) rows'
  EXPECT_FALSE(c.IsEOF());
  c.Provider->Bof = c.Provider->Eof = true;
  EXPECT_TRUE(c.IsBOF());
  EXPECT_TRUE(c.IsEOF());
}

TEST(ControllerInterfaceTest, GridModeSearchIsTheControllers)
{
  TGridController c;
  TTestViewItem item;
  c.AddItem(&item);
  c.ChangeValueTypeClass(0, TcxStringValueType::Class());
  c.GetStorage()->SetRecordCount(1);  // the buffered window holds a record
  c.Refresh();
  ASSERT_EQ(c.GetInfo()->GetFilteredRecordCount(), 1);
  TcxDataControllerSearch* search = c.GetSearch();
  EXPECT_TRUE(search->Locate(0, "ab"));
  EXPECT_TRUE(search->LocateNext(false));
  EXPECT_EQ(c.Provider->Log, "search ab fwd search ab back next ");
  EXPECT_TRUE(search->GetSearching());
  EXPECT_EQ(search->GetSearchText(), "ab");
}

TEST_F(ControllerTest, SearchObjectLocatesAndKeepsItsStateUntilCancelled)
{
  MakeItems({TcxStringValueType::Class(), TcxStringValueType::Class()});
  Fill({{"beta"}, {"alpha"}, {"abc"}, {"alps"}});
  C->SetMultiSelect(true);
  TcxDataControllerSearch* search = C->GetSearch();
  EXPECT_THROW(search->SetItemIndex(2), EcxInvalidDataControllerOperation);
  search->SetItemIndex(1);
  EXPECT_EQ(search->GetItemIndex(), 1);
  C->ChangeRowSelection(0, true);
  C->ChangeRowSelection(3, true);
  ASSERT_TRUE(search->Locate(0, "al"));
  EXPECT_EQ(search->GetItemIndex(), 0);
  EXPECT_EQ(C->GetFocusedRecordIndex(), 1);
  // The selection becomes the found row alone.
  EXPECT_EQ(C->GetSelectedCount(), 1);
  EXPECT_TRUE(C->IsRowSelected(1));
  ASSERT_TRUE(search->LocateNext(true));
  EXPECT_EQ(C->GetFocusedRecordIndex(), 3);
  EXPECT_FALSE(search->LocateNext(true));  // no wrap
  search->Lock();
  search->Cancel();
  EXPECT_TRUE(search->GetSearching());
  search->Unlock();
  C->SetFocusedRecordIndex(0);  // a focus change of the user's ends the search
  EXPECT_FALSE(search->GetSearching());
  EXPECT_EQ(search->GetSearchText(), "");
}

TEST_F(ControllerTest, OutsideGridModeNavigationMovesTheFocusedRow)
{
  MakeItems({TcxIntegerValueType::Class()});
  Fill({{1}, {2}, {3}});
  C->GotoLast();
  EXPECT_TRUE(C->IsEOF());
  C->Scroll(-2);  // nothing outside grid mode
  EXPECT_EQ(C->GetFocusedRowIndex(), 2);
  C->MoveBy(-5);
  EXPECT_EQ(C->GetFocusedRowIndex(), 0);
  EXPECT_TRUE(C->IsBOF());
}

}  // namespace
