#include <gtest/gtest.h>

#include "controls/data/storage/cxVariants.h"
#include "controls/data/tests/Bytes.h"
#include "controls/data/tests/FilterFixture.h"
#include "platform/rtl/Streams.h"

namespace {

class FilterCriteria : public ::testing::Test {
protected:
  void SetUp() override
  {
    C.OnChanged = [this](TObject* sender) {
      EXPECT_EQ(sender, &C);
      ++Notifications;
    };
  }
  std::string Data(TcxFilterCriteria& criteria)
  {
    TStringStream s;
    criteria.WriteData(&s);
    return s.GetDataString();
  }

  TTestCriteria C;
  int Notifications = 0;
};

TEST_F(FilterCriteria, EmptyAndNegatedRoots)
{
  TTestRecord record;
  EXPECT_TRUE(C.IsEmpty());
  EXPECT_FALSE(C.HasContent());
  EXPECT_TRUE(C.RecordMatches(&record));
  EXPECT_EQ(C.GetFilterText(), "");
  EXPECT_EQ(Data(C), Int32LE(-1) + Bytes({0}) + Int32LE(0));

  C.GetRoot()->SetBoolOperatorKind(fbkNotAnd);
  EXPECT_TRUE(C.HasContent());
  EXPECT_TRUE(C.IsEmpty());
  EXPECT_EQ(C.GetFilterText(), "NOT ()");
  EXPECT_EQ(C.GetFilterCaption(), "not ()");
}

// Every combination of two conditions under each group kind.
TEST_F(FilterCriteria, GroupKindsCombineTheirChildren)
{
  C.AddItem(nullptr, C.A(), fokEqual, 1, "1");
  C.AddItem(nullptr, C.B(), fokEqual, 1, "1");
  struct Case {
    TcxFilterBoolOperatorKind kind;
    bool expect[4];
  };  // (a, b) = 00, 01, 10, 11
  const Case cases[] = {
      {fbkAnd, {false, false, false, true}},
      {fbkOr, {false, true, true, true}},
      {fbkNotAnd, {true, true, true, false}},
      {fbkNotOr, {true, false, false, false}},
  };
  for (const auto& c : cases) {
    C.GetRoot()->SetBoolOperatorKind(c.kind);
    for (int bits = 0; bits < 4; ++bits) {
      TTestRecord r{{C.A(), (bits >> 1) & 1}, {C.B(), bits & 1}};
      EXPECT_EQ(C.RecordMatches(&r), c.expect[bits]) << int(c.kind) << " " << bits;
    }
  }
}

TEST_F(FilterCriteria, NestedTexts)
{
  C.SetOptions({fcoShowOperatorDescription});
  C.AddItem(nullptr, C.A(), fokEqual, 5, "5");
  auto* group = C.GetRoot()->AddItemList(fbkOr);
  group->AddItem(C.B(), fokLike, "x%", "x%");
  group->AddItem(C.C(), fokGreater, 1, "1");
  auto* negated = C.GetRoot()->AddItemList(fbkNotOr);
  negated->AddItem(C.D(), fokLess, 0, "0");
  EXPECT_EQ(C.GetFilterText(), "(A = 5) AND ((B LIKE 'x%') OR (C > 1)) AND (NOT ((D < 0)))");
  EXPECT_EQ(C.GetFilterCaption(),
            "(A caption equals 5) and ((B caption begins with x) or (C caption is greater than 1)) and "
            "(not ((D caption is less than 0)))");
  EXPECT_EQ(C.FindItemByItemLink(C.C()), group->GetItem(1));
  EXPECT_EQ(C.FindItemByItemLink(nullptr), nullptr);
  EXPECT_EQ(C.GetRoot()->GetItem(3), nullptr);
  EXPECT_EQ(C.GetRoot()->GetItem(-1), nullptr);
}

TEST_F(FilterCriteria, RemoveItemByItemLinkTidiesGroups)
{
  C.AddItem(nullptr, C.A(), fokEqual, 1, "");
  auto* lone = C.GetRoot()->AddItemList(fbkOr);
  lone->AddItem(C.B(), fokEqual, 2, "");
  auto* pair = C.GetRoot()->AddItemList(fbkNotOr);
  pair->AddItem(C.B(), fokEqual, 3, "");
  pair->AddItem(C.C(), fokEqual, 4, "");
  C.AddItem(nullptr, C.D(), fokEqual, 5, "");
  Notifications = 0;

  C.RemoveItemByItemLink(C.B());
  EXPECT_EQ(Notifications, 1);
  // The lone group went with its condition; the pair's survivor moved to the end of the root.
  EXPECT_EQ(C.GetFilterText(), "(A = 1) AND (D = 5) AND (C = 4)");

  C.RemoveItemByItemLink(C.B());
  EXPECT_EQ(Notifications, 1);
}

TEST_F(FilterCriteria, UpdateLockBatchesNotifications)
{
  C.BeginUpdate();
  C.AddItem(nullptr, C.A(), fokEqual, 1, "");
  C.SetPercentWildcard('*');
  C.SetOptions({fcoSoftNull});
  EXPECT_EQ(Notifications, 0);
  C.EndUpdate();
  EXPECT_EQ(Notifications, 1);

  C.SetPercentWildcard('*');  // unchanged: no notification
  EXPECT_EQ(Notifications, 1);

  C.BeginUpdate();
  C.SetUnderscoreWildcard('?');
  C.CancelUpdate();
  EXPECT_EQ(Notifications, 1);

  C.RestoreDefaults();
  EXPECT_EQ(Notifications, 2);
  EXPECT_EQ(C.GetPercentWildcard(), '%');
  EXPECT_TRUE(C.GetOptions().Empty());
  EXPECT_EQ(C.GetRoot()->GetCount(), 1);
}

TEST_F(FilterCriteria, WritesTheDataLayout)
{
  TTestCriteria criteria({7, 8, 9, 10});
  criteria.AddItem(nullptr, criteria.A(), fokEqual, 5, "abc");
  auto* group = criteria.GetRoot()->AddItemList(fbkOr);
  group->AddItem(criteria.B(), fokBetween, Arr({1, 10}), "1;10");
  criteria.AddItem(nullptr, nullptr, fokNotEqual, "x", "");
  const std::string expected = Int32LE(-1) + Bytes({0}) + Int32LE(3) + Bytes({0, 0}) + Int32LE(3) + "abc" + Int32LE(7) +
                               Bytes({2, 5}) + Bytes({1, 1}) + Int32LE(1) + Bytes({0, 8}) + Int32LE(4) + "1;10" +
                               Int32LE(8) + Bytes({1, 2, 2, 2, 1, 2, 10}) + Bytes({0, 1}) + Int32LE(0) + Int32LE(-1) +
                               Bytes({6, 1, 'x'});
  EXPECT_EQ(Data(criteria), expected);

  TStringStream s(expected);
  C.ReadData(&s);
  EXPECT_EQ(Notifications, 1);
  EXPECT_EQ(C.GetLockCount(), 0);
  // Ids 7 and 8 name no field of C; -1 neither: the conditions stay, without links.
  EXPECT_EQ(C.GetRoot()->GetCount(), 3);
  EXPECT_EQ(Data(C), Int32LE(-1) + Bytes({0}) + Int32LE(3) + Bytes({0, 0}) + Int32LE(3) + "abc" + Int32LE(-1) +
                         Bytes({2, 5}) + Bytes({1, 1}) + Int32LE(1) + Bytes({0, 8}) + Int32LE(4) + "1;10" +
                         Int32LE(-1) + Bytes({1, 2, 2, 2, 1, 2, 10}) + Bytes({0, 1}) + Int32LE(0) + Int32LE(-1) +
                         Bytes({6, 1, 'x'}));
}

TEST_F(FilterCriteria, ReadsOlderDataAndRejectsMalformedData)
{
  // Older data: no marker, the root count first, an AND root.
  const std::string older = Int32LE(2) + Bytes({0, 0}) + Int32LE(0) + Int32LE(1) + Bytes({2, 5}) + Bytes({0, 4}) +
                            Int32LE(0) + Int32LE(2) + Bytes({2, 9});
  TStringStream s(older);
  C.GetRoot()->SetBoolOperatorKind(fbkOr);
  C.ReadData(&s);
  EXPECT_EQ(C.GetFilterText(), "(A = 5) AND (B > 9)");

  const std::string header = Int32LE(-1) + Bytes({1}) + Int32LE(1);
  const std::vector<std::string> bad = {
      header + Bytes({0, 0}) + Int32LE(0) + Int32LE(1),                 // value missing
      header + Bytes({0, 24}) + Int32LE(0) + Int32LE(1) + Bytes({13}),  // no such operator
      header + Bytes({1, 4}) + Int32LE(0),                              // no such group kind
      header + Bytes({0, 0}) + Int32LE(0) + Int32LE(1) + Bytes({7}),    // no such tag
      header + Bytes({1, 0}) + Int32LE(-5),                             // negative count
      Int32LE(-1) + Bytes({9}) + Int32LE(0),                            // no such root kind
      Int32LE(-3),
  };
  for (const auto& bytes : bad) {
    TStringStream in(bytes);
    Notifications = 0;
    EXPECT_THROW(C.ReadData(&in), EReadError) << testing::PrintToString(bytes);
    EXPECT_EQ(C.GetLockCount(), 0);
    EXPECT_LE(Notifications, 1);
  }
  // What was read before the fault stays.
  TStringStream partial(Int32LE(-1) + Bytes({1}) + Int32LE(2) + Bytes({0, 0}) + Int32LE(0) + Int32LE(1) +
                        Bytes({2, 5}) + Bytes({0}));
  EXPECT_THROW(C.ReadData(&partial), EReadError);
  EXPECT_EQ(C.GetFilterText(), "(A = 5)");
  EXPECT_EQ(C.GetRoot()->GetBoolOperatorKind(), fbkOr);

  std::string deep = Int32LE(-1) + Bytes({0}) + Int32LE(1);
  for (int i = 0; i < 5000; ++i) deep += Bytes({1, 0}) + Int32LE(1);
  TStringStream nested(deep);
  EXPECT_THROW(C.ReadData(&nested), EReadError);
}

// Assign copies through the data form, so links map by id between the two owners.
TEST_F(FilterCriteria, AssignMapsLinksThroughIds)
{
  TTestCriteria source({4, 3, 2, 1});
  source.SetOptions({fcoCaseInsensitive});
  source.SetPercentWildcard('*');
  source.SetTranslateIn(true);
  source.SetDateTimeFormat("yyyy");
  source.GetRoot()->SetBoolOperatorKind(fbkOr);
  source.AddItem(nullptr, source.A(), fokEqual, 1, "1");               // id 4 = D in C
  source.AddItem(nullptr, source.D(), fokInList, Arr({1, 2}), "1;2");  // id 1 = A in C
  int sourceNotifications = 0;
  source.OnChanged = [&](TObject*) { ++sourceNotifications; };

  C.AddItem(nullptr, C.B(), fokEqual, 0, "");
  Notifications = 0;
  C.Assign(&source);
  EXPECT_EQ(Notifications, 0);  // the copied OnChanged is the one that fired
  EXPECT_EQ(sourceNotifications, 1);
  EXPECT_EQ(C.GetFilterText(), "(D = 1) OR ((A = 1) OR (A = 2))");
  EXPECT_EQ(C.GetPercentWildcard(), '*');
  EXPECT_TRUE(C.GetOptions().Contains(fcoCaseInsensitive));
  EXPECT_EQ(C.GetDateTimeFormat(), "yyyy");
}

}  // namespace
