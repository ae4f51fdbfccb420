#include <gtest/gtest.h>

#include "controls/data/tests/FilterFixture.h"

namespace {

class FilterValueList : public ::testing::Test {
protected:
  std::vector<std::pair<int, AnsiString>> Entries()
  {
    std::vector<std::pair<int, AnsiString>> entries;
    for (int i = 0; i < L->GetCount(); ++i) entries.emplace_back(L->GetItem(i).Kind, L->GetItem(i).DisplayText);
    return entries;
  }
  void AddSpecials()
  {
    L->Add(fvkAll, Variant::Null(), "(All)", false);
    L->Add(fvkCustom, Variant::Null(), "(Custom...)", false);
    L->Add(fvkBlanks, Variant::Null(), "(Blanks)", false);
    L->Add(fvkNonBlanks, Variant::Null(), "(NonBlanks)", false);
  }

  TTestCriteria C;
  std::unique_ptr<TcxFilterValueList> L = C.CreateValueList();
};

TEST_F(FilterValueList, KeepsPinnedSpecialAndSortedValues)
{
  L->Add(fvkValue, 3, "3", false);
  L->Add(fvkValue, 1, "1", false);
  L->Add(fvkAll, Variant::Null(), "(All)", false);
  L->Add(fvkValue, 2, "2", false);
  L->Add(fvkValue, 1, "one again", false);  // a duplicate is dropped
  L->Add(fvkBlanks, Variant::Null(), "(Blanks)", false);
  L->Add(fvkPinned, 9, "p1", false);
  L->Add(fvkPinned, 8, "p2", false);
  L->Add(fvkValue, 0, "appended", true);
  const std::vector<std::pair<int, AnsiString>> expected = {
      {fvkPinned, "p1"}, {fvkPinned, "p2"}, {fvkPinnedSeparator, ""}, {fvkAll, "(All)"},      {fvkBlanks, "(Blanks)"},
      {fvkValue, "1"},   {fvkValue, "2"},   {fvkValue, "3"},          {fvkValue, "appended"},
  };
  EXPECT_EQ(Entries(), expected);
  int index = -1;
  EXPECT_TRUE(L->Find(8, "", index));  // pinned entries are searched first
  EXPECT_EQ(index, 1);
}

TEST_F(FilterValueList, MaxValueListCountCountsEveryEntry)
{
  C.SetMaxValueListCount(10);
  AddSpecials();
  for (int i = 0; i < 20; ++i) L->Add(fvkValue, i, "", false);
  EXPECT_EQ(L->GetCount(), 10);
  EXPECT_EQ(L->GetItem(9).Value.AsInteger(), 5);
}

TEST_F(FilterValueList, FindByValueOrDisplayText)
{
  for (int v : {10, 20, 30}) L->Add(fvkValue, v, "t" + std::to_string(v), false);
  int index = -1;
  EXPECT_FALSE(L->Find(25, "", index));
  EXPECT_EQ(index, 2);
  EXPECT_TRUE(L->Find(Currency::FromRaw(200000), "", index));  // Currency is compared as Double
  EXPECT_EQ(index, 1);

  L->SetCompareByDisplayText(true);
  EXPECT_FALSE(L->Find(Variant(), "T20", index));
  C.SetOptions({fcoCaseInsensitive});
  EXPECT_TRUE(L->Find(Variant(), "T20", index));
  EXPECT_EQ(index, 1);
}

TEST_F(FilterValueList, IndexByCriteriaItem)
{
  AddSpecials();
  L->Add(fvkValue, 5, "5", false);
  L->Add(fvkValue, 7, "7", false);
  auto* equal = C.AddItem(nullptr, C.A(), fokEqual, 7, "7");
  auto* missing = C.AddItem(nullptr, C.A(), fokEqual, 6, "6");
  auto* blank = C.AddItem(nullptr, C.A(), fokEqual, Variant::Null(), "");
  auto* nonBlank = C.AddItem(nullptr, C.A(), fokNotEqual, Variant::Null(), "");
  auto* greater = C.AddItem(nullptr, C.A(), fokGreater, 7, "7");
  auto* nested = C.GetRoot()->AddItemList(fbkOr)->AddItem(C.A(), fokEqual, 7, "7");
  EXPECT_EQ(L->GetIndexByCriteriaItem(nullptr), -1);
  EXPECT_EQ(L->GetIndexByCriteriaItem(equal), 5);
  EXPECT_EQ(L->GetIndexByCriteriaItem(missing), 0);
  EXPECT_EQ(L->GetIndexByCriteriaItem(blank), 2);
  EXPECT_EQ(L->GetIndexByCriteriaItem(nonBlank), 3);
  EXPECT_EQ(L->GetIndexByCriteriaItem(greater), 1);
  EXPECT_EQ(L->GetIndexByCriteriaItem(nested), 1);
  L->Clear();
  EXPECT_EQ(L->GetIndexByCriteriaItem(equal), -1);
}

}  // namespace
