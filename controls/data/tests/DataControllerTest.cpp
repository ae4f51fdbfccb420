#include <gtest/gtest.h>

#include "controls/data/filter/cxDataFilter.h"
#include "controls/data/controller/cxDataLocate.h"
#include "controls/data/controller/cxDataRelations.h"
#include "controls/data/controller/cxDataSummary.h"
#include "controls/data/cxDataUtils.h"
#include "platform/classes/Component.h"
#include "platform/classes/TypInfo.h"
#include "platform/rtl/FormatSettings.h"
#include "controls/data/tests/ControllerFixture.h"

namespace {

using Rows = std::vector<int>;

// ---- Items, records and their errors ---------------------------------------------------------

TEST_F(ControllerTest, IndexesOutOfRangeRaise)
{
  MakeItems({TcxIntegerValueType::Class()});
  Fill({{1}, {2}});
  auto message = [](auto f) {
    try {
      f();
    } catch (const EcxInvalidDataControllerOperation& e) {
      return std::string(e.Message());
    }
    return std::string("no error");
  };
  EXPECT_EQ(message([&] { C->GetValue(2, 0); }), "RecordIndex out of range");
  EXPECT_EQ(message([&] { C->GetValue(0, 1); }), "ItemIndex out of range");
  EXPECT_EQ(message([&] { C->GetRowInfo(2); }), "RowIndex out of range");
  EXPECT_EQ(message([&] { C->InsertRecord(3); }), "RecordIndex out of range");
  EXPECT_EQ(message([&] { C->AddItem(Items[0].get()); }), "Item already exists");
  EXPECT_EQ(message([&] { C->FetchEditValue(0, 0); }), "RecordIndex out of range");  // nothing edited or focused
}

TEST_F(ControllerTest, InsertAtCountAppendsAndNegativeCountEmpties)
{
  MakeItems({TcxIntegerValueType::Class()});
  Fill({{1}, {2}});
  EXPECT_EQ(C->InsertRecord(2), 2);
  EXPECT_EQ(C->GetRecordCount(), 3);
  Record();
  C->SetRecordCount(-5);
  EXPECT_EQ(C->GetRecordCount(), 0);
  EXPECT_EQ(Log, std::vector<std::string>({"data 3 -1 -1"}));
}

TEST_F(ControllerTest, FieldReferencesFollowChainsAndSurviveRemoval)
{
  MakeItems({TcxIntegerValueType::Class(), TcxIntegerValueType::Class(), TcxIntegerValueType::Class()});
  auto* f0 = C->GetItemField(0);
  auto* f1 = C->GetItemField(1);
  auto* f2 = C->GetItemField(2);
  f1->SetReference(f0);
  f2->SetReference(f1);
  EXPECT_EQ(f2->GetReference(), f0);  // the end of the chain
  f0->SetReference(f2);               // would close a cycle
  EXPECT_EQ(f0->GetReference(), nullptr);
  Fill({{7}});
  EXPECT_EQ(C->GetValue(0, 2).AsInteger(), 7);
  C->RemoveItem(Items[0].get());  // f1 takes the data, f2 now shares f1's
  EXPECT_EQ(f2->GetReference(), f1);
  EXPECT_EQ(C->GetValue(0, 1).AsInteger(), 7);
  EXPECT_EQ(C->GetValue(0, 0).AsInteger(), 7);  // item 0 is now f1
}

// ---- Sorting ---------------------------------------------------------------------------------

TEST_F(ControllerTest, SortsOnSeveralItemsWithNullAndMixedTypes)
{
  MakeItems({TcxVariantValueType::Class(), TcxIntegerValueType::Class()});
  Fill({{"b", 1}, {2, 2}, {Variant::Null(), 3}, {"a", 4}, {2, 1}, {true, 6}, {Variant::Null(), 7}});
  C->SetItemSortOrder(0, soAscending);
  C->SetItemSortOrder(1, soDescending);
  // Null < Boolean < numbers < texts; equal values by item 1 descending; full ties by record.
  EXPECT_EQ(RowRecords(), Rows({6, 2, 5, 1, 4, 3, 0}));
  C->SetItemSortOrder(0, soDescending);
  EXPECT_EQ(RowRecords(), Rows({0, 3, 1, 4, 5, 6, 2}));
  C->ClearSorting(false);
  EXPECT_EQ(RowRecords(), Rows({0, 1, 2, 3, 4, 5, 6}));
}

TEST_F(ControllerTest, EqualKeysKeepRecordOrder)
{
  MakeItems({TcxStringValueType::Class(), TcxFloatValueType::Class()});
  Fill({{"x", 1.5}, {"y", 1.5}, {"x", 0.5}, {"x", 1.5}});
  C->SetItemSortOrder(1, soAscending);
  EXPECT_EQ(RowRecords(), Rows({2, 0, 1, 3}));
  C->SetItemSortOrder(1, soNone);
  C->SetItemSortOrder(0, soDescending);
  EXPECT_EQ(RowRecords(), Rows({1, 0, 2, 3}));
}

TEST_F(ControllerTest, LongTextsSortByAllTheirBytes)
{
  MakeItems({TcxStringValueType::Class()});
  const std::vector<AnsiString> texts = {"abcdefghZ", "abcdefgh", "abcdefghA", AnsiString("ab\0", 3),      "ab",
                                         "\xB0\xA1",  "abcdefgh", "b",         AnsiString("abcdefgh\0", 9)};
  std::vector<std::vector<Variant>> rows;
  for (const auto& t : texts) rows.push_back({t});
  Fill(rows);
  C->SetItemSortOrder(0, soAscending);
  Rows expected(texts.size());
  for (size_t i = 0; i < expected.size(); ++i) expected[i] = static_cast<int>(i);
  std::stable_sort(expected.begin(), expected.end(), [&](int a, int b) { return texts[a] < texts[b]; });
  EXPECT_EQ(RowRecords(), expected);
}

TEST_F(ControllerTest, ComparisonThatAnswersLessBothWaysDoesNotBreakTheSort)
{
  MakeItems({TcxIntegerValueType::Class()});
  std::vector<std::vector<Variant>> rows;
  for (int i = 0; i < 200; ++i) rows.push_back({i % 7});
  Fill(rows);
  C->OnCompare = [](TcxCustomDataController*, int, int, int, const Variant&, const Variant&, int& r) { r = -1; };
  C->SetItemSortOrder(0, soAscending);
  Rows rec = RowRecords();
  std::sort(rec.begin(), rec.end());
  for (int i = 0; i < 200; ++i) EXPECT_EQ(rec[static_cast<size_t>(i)], i);  // a permutation: nothing lost
}

TEST_F(ControllerTest, CaseInsensitiveOptionIgnoresCase)
{
  MakeItems({TcxStringValueType::Class()});
  Fill({{"b"}, {"A"}, {"a"}, {"B"}});
  C->SetItemSortOrder(0, soAscending);
  EXPECT_EQ(RowRecords(), Rows({1, 3, 2, 0}));  // byte order: upper case first
  C->SetOptions(C->GetOptions() + TcxDataControllerOptions{dcoCaseInsensitive});
  EXPECT_EQ(RowRecords(), Rows({1, 2, 0, 3}));
}

TEST_F(ControllerTest, SortingChangedEventFollowsTheNotifications)
{
  MakeItems({TcxIntegerValueType::Class()});
  Fill({{2}, {1}});
  Record();
  C->OnSortingChanged = [this](TObject*) { Log.push_back("sorting changed"); };
  C->SetItemSortOrder(0, soAscending);
  EXPECT_EQ(Log, std::vector<std::string>({"layout", "sorting changed"}));
}

// ---- Filtering -------------------------------------------------------------------------------

TEST_F(ControllerTest, FilterAndIncrementalFilterHideRecordsButNotTheEditedOne)
{
  MakeItems({TcxStringValueType::Class(), TcxIntegerValueType::Class()});
  Fill({{"apple", 1}, {"Avocado", 2}, {"banana", 3}, {"apricot", 4}});
  C->GetFilter()->AddItem(nullptr, Items[1].get(), fokGreater, 1, "1");
  EXPECT_EQ(RowRecords(), Rows({0, 1, 2, 3}));  // not active yet
  C->GetFilter()->SetActive(true);
  EXPECT_EQ(RowRecords(), Rows({1, 2, 3}));
  EXPECT_EQ(C->SetIncrementalFilter(0, "a"), 1);
  EXPECT_EQ(RowRecords(), Rows({1, 3}));
  C->ChangeFocusedRecordIndex(3);
  C->Edit();
  C->SetValue(3, 0, "cherry");
  C->Refresh();
  EXPECT_EQ(RowRecords(), Rows({1, 3}));  // still shown while edited
  C->Post();
  EXPECT_EQ(RowRecords(), Rows({1}));
  C->ResetIncrementalFilter();
  EXPECT_EQ(RowRecords(), Rows({1, 2, 3}));
}

TEST_F(ControllerTest, FilterValueListListsEveryRecord)
{
  MakeItems({TcxIntegerValueType::Class()});
  Fill({{3}, {1}, {3}, {Variant::Null()}});
  C->GetFilter()->AddItem(nullptr, Items[0].get(), fokEqual, 1, "1");
  C->GetFilter()->SetActive(true);
  auto list = C->GetFilter()->CreateValueList();
  static_cast<TcxDataFilterValueList*>(list.get())->Load(0);
  std::vector<int> kinds;
  std::vector<Variant> values;
  for (int i = 0; i < list->GetCount(); ++i) {
    kinds.push_back(list->GetItem(i).Kind);
    if (list->GetItem(i).Kind == fvkValue) values.push_back(list->GetItem(i).Value);
  }
  EXPECT_EQ(kinds, std::vector<int>({fvkAll, fvkCustom, fvkBlanks, fvkNonBlanks, fvkValue, fvkValue}));
  ASSERT_EQ(values.size(), 2u);  // 3 is offered although the filter hides it
  EXPECT_EQ(values[0].AsInteger(), 1);
  EXPECT_EQ(values[1].AsInteger(), 3);
}

// ---- Grouping, rows and expansion ------------------------------------------------------------

class GroupingTest : public ControllerTest {
protected:
  void SetUp() override
  {
    MakeItems({TcxStringValueType::Class(), TcxIntegerValueType::Class(), TcxFloatValueType::Class()});
    Fill({{"A", 1, 1.0}, {"B", 2, 2.0}, {"A", 2, 3.0}, {"A", 1, 4.0}});
    C->ChangeGroupIndex(0, 0);
    C->ChangeGroupIndex(1, 1);
  }
  std::vector<std::string> RowsText()
  {
    std::vector<std::string> out;
    for (int row = 0; row < C->GetRowCount(); ++row) {
      TcxRowInfo info = C->GetRowInfo(row);
      out.push_back((info.Level < 2 ? "g" + std::to_string(info.Level) + (info.Expanded ? "+" : "-") : "r") +
                    std::to_string(info.RecordIndex));
    }
    return out;
  }
};

TEST_F(GroupingTest, TwoLevelsStartCollapsed)
{
  auto& groups = C->GetInfo()->GetDataGroups();
  ASSERT_EQ(groups.GetCount(), 5);  // A, A/1, A/2, B, B/2
  EXPECT_EQ(C->GetRowCount(), 2);
  EXPECT_EQ(RowsText(), std::vector<std::string>({"g0-0", "g0-1"}));
  EXPECT_EQ(C->GetChildCount(-1), 2);
  EXPECT_EQ(C->GetChildCount(0), 2);
  EXPECT_EQ(C->GetChildCount(1), 2);  // A/1 holds records 0 and 3
  EXPECT_EQ(C->GetChildRecordIndex(1, 1), 3);
  EXPECT_EQ(groups.GetItem(3).RowIndex, 1);  // B's top-level number
}

TEST_F(GroupingTest, ExpandingAddsRowsAndCollapsingHidesThem)
{
  C->ChangeExpanding(0, true, false);
  EXPECT_EQ(RowsText(), std::vector<std::string>({"g0+0", "g1-0", "g1-2", "g0-1"}));
  C->ChangeExpanding(1, true, false);
  EXPECT_EQ(RowsText(), std::vector<std::string>({"g0+0", "g1+0", "r0", "r3", "g1-2", "g0-1"}));
  C->ChangeExpanding(0, false, false);
  EXPECT_EQ(RowsText(), std::vector<std::string>({"g0-0", "g0-1"}));
  C->ChangeExpanding(0, true, true);
  EXPECT_EQ(RowsText(), std::vector<std::string>({"g0+0", "g1+0", "r0", "r3", "g1+2", "r2", "g0-1"}));
}

TEST_F(GroupingTest, RowOfRecordOpensGroupsOnlyWhenAsked)
{
  EXPECT_EQ(C->GetRowIndexByRecordIndex(1, false), -1);
  EXPECT_EQ(C->GetRowIndexByRecordIndex(1, true), 3);
  EXPECT_EQ(RowsText(), std::vector<std::string>({"g0-0", "g0+1", "g1+1", "r1"}));
}

TEST_F(GroupingTest, CollapsingMovesTheFocusToTheGroupRow)
{
  C->ChangeFocusedRecordIndex(3);
  EXPECT_EQ(C->GetFocusedRowIndex(), 3);
  C->ChangeExpanding(1, false, false);
  EXPECT_EQ(C->GetFocusedRowIndex(), 1);
  C->ChangeExpanding(0, false, false);
  EXPECT_EQ(C->GetFocusedRowIndex(), 0);
  EXPECT_EQ(C->GetFocusedRecordIndex(), 0);  // the group row's first record
}

TEST_F(GroupingTest, ExpandedGroupsSurviveNewRecords)
{
  C->ChangeExpanding(1, true, false);  // B
  C->ChangeExpanding(2, true, false);  // B/2
  Fill({{"A", 3, 5.0}, {"0", 1, 6.0}});
  EXPECT_EQ(RowsText(), std::vector<std::string>({"g0-5", "g0-0", "g0+1", "g1+1", "r1"}));
  C->ChangeGroupIndex(1, -1);  // ungrouping a level drops what was saved for it
  EXPECT_EQ(RowsText(), std::vector<std::string>({"g0-5", "g0-0", "g0-1"}));
}

TEST_F(GroupingTest, SortOrderOfGroupedItemOrdersGroups)
{
  C->SetItemSortOrder(0, soDescending);
  EXPECT_EQ(RowsText(), std::vector<std::string>({"g0-1", "g0-0"}));
  C->SetItemSortOrder(0, soNone);  // still grouped, ascending again
  EXPECT_EQ(RowsText(), std::vector<std::string>({"g0-0", "g0-1"}));
  EXPECT_EQ(C->GetItemGroupIndex(0), 0);
}

TEST_F(GroupingTest, GroupsAlwaysExpandedCannotCollapse)
{
  C->SetOptions(C->GetOptions() + TcxDataControllerOptions{dcoGroupsAlwaysExpanded});
  EXPECT_EQ(C->GetRowCount(), 9);
  C->ChangeExpanding(0, false, false);
  EXPECT_EQ(C->GetRowCount(), 9);
}

TEST_F(GroupingTest, DeleteSelectionOfAGroupAndOneOfItsRecordsDeletesEachOnce)
{
  C->SetMultiSelect(true);
  C->GetGroups()->ChangeExpanding(0, true, true);  // A, A/1, 0, 3, A/2, 2, B
  C->ChangeRowSelection(1, true);                  // group A/1
  C->ChangeRowSelection(2, true);                  // record 0, inside it
  C->ChangeRowSelection(5, true);                  // record 2
  std::vector<int> deleted;
  C->OnBeforeDelete = [&](TcxCustomDataController*, int r) { deleted.push_back(r); };
  C->DeleteSelection();
  EXPECT_EQ(deleted, std::vector<int>({3, 2, 0}));  // highest first, each once
  EXPECT_EQ(C->GetRecordCount(), 1);
  EXPECT_EQ(C->GetSelectedCount(), 0);
}

TEST_F(GroupingTest, DeletingAGroupRowDeletesAllItsRecords)
{
  C->ChangeFocusedRowIndex(0);  // group A
  C->DeleteFocused();
  EXPECT_EQ(C->GetRecordCount(), 1);
  EXPECT_EQ(C->GetValue(0, 0).AsString(), "B");
}

// ---- Focus and selection ---------------------------------------------------------------------

TEST_F(ControllerTest, FocusFollowsItsRecordThroughResortAndFilter)
{
  MakeItems({TcxIntegerValueType::Class()});
  Fill({{3}, {1}, {2}});
  C->ChangeFocusedRowIndex(0);
  C->SetItemSortOrder(0, soAscending);
  EXPECT_EQ(C->GetFocusedRecordIndex(), 0);
  EXPECT_EQ(C->GetFocusedRowIndex(), 2);
  C->GetFilter()->AddItem(nullptr, Items[0].get(), fokLess, 3, "3");
  C->GetFilter()->SetActive(true);
  EXPECT_EQ(C->GetFocusedRowIndex(), -1);
}

TEST_F(ControllerTest, FocusNotificationsComeRowFirstThenRecord)
{
  MakeItems({TcxIntegerValueType::Class()});
  Fill({{1}, {2}});
  Record();
  C->ChangeFocusedRowIndex(1);
  EXPECT_EQ(Log, std::vector<std::string>({"row -1>1", "record -1>1"}));
  Log.clear();
  C->ChangeFocusedRowIndex(-1);
  C->ChangeFocusedRowIndex(-1);
  EXPECT_EQ(Log, std::vector<std::string>({"row 1>-1", "record 1>-1"}));  // the second call changes nothing
}

TEST_F(ControllerTest, SelectionWithAndWithoutMultiSelect)
{
  MakeItems({TcxIntegerValueType::Class()});
  Fill({{1}, {2}, {3}, {4}, {5}, {6}});
  C->ChangeFocusedRowIndex(2);
  C->SelectAll();
  EXPECT_EQ(C->GetSelectedCount(), 1);  // the focused row only
  EXPECT_TRUE(C->IsRowSelected(2));
  C->SetMultiSelect(true);
  C->SelectFromAnchor(4, false);  // no anchor: nothing
  EXPECT_EQ(C->GetSelectedCount(), 0);
  C->SelectRows(5, 2);
  EXPECT_EQ(C->GetSelectedCount(), 4);
  EXPECT_EQ(C->GetSelectedRowIndex(0), 2);
  C->ChangeRowSelection(3, false);
  EXPECT_FALSE(C->IsRowSelected(3));
  C->SetItemSortOrder(0, soDescending);  // entries follow their records
  std::vector<int> rows;
  for (int i = 0; i < C->GetSelectedCount(); ++i) rows.push_back(C->GetSelectedRowIndex(i));
  EXPECT_EQ(rows, std::vector<int>({0, 1, 3}));
}

// ---- Summaries -------------------------------------------------------------------------------

TEST_F(ControllerTest, FooterSummariesOfEachKind)
{
  MakeItems({TcxVariantValueType::Class()});
  Fill({{1}, {Variant::Null()}, {2}});
  auto* items = C->GetSummary()->GetFooterSummaryItems();
  items->Add(Items[0].get(), spFooter, skSum);
  items->Add(Items[0].get(), spFooter, skAverage);
  items->Add(Items[0].get(), spFooter, skCount);
  items->Add(Items[0].get(), spFooter, skMin);
  auto value = [&](int i) { return C->GetSummary()->GetFooterSummaryValue(i); };
  EXPECT_EQ(value(0).AsInteger(), 3);
  EXPECT_DOUBLE_EQ(value(1).AsDouble(), 1.0);
  EXPECT_EQ(value(2).AsInteger(), 3);
  EXPECT_EQ(value(3).AsInteger(), 1);
  C->GetSummary()->SetOptions({soNullIgnore});
  EXPECT_DOUBLE_EQ(value(1).AsDouble(), 1.5);
  EXPECT_EQ(value(2).AsInteger(), 2);
  C->SetValue(0, 0, Variant::Null());
  C->SetValue(2, 0, Variant::Null());
  EXPECT_TRUE(value(3).IsNull());  // only Nulls
}

TEST_F(ControllerTest, SummaryTextsAndFormatChanges)
{
  MakeItems({TcxStringValueType::Class(), TcxFloatValueType::Class()});
  Fill({{"A", 1234.0}, {"A", 0.5}});
  auto* footer = C->GetSummary()->GetFooterSummaryItems()->Add(Items[1].get(), spFooter, skSum);
  EXPECT_EQ(C->GetSummary()->GetFooterSummaryText(0), "1234.50");
  int calculations = 0;
  C->GetSummary()->OnAfterSummary = [&](TcxDataSummary*) { ++calculations; };
  footer->SetFormat("0.0");
  EXPECT_EQ(calculations, 0);  // a format repaints only
  EXPECT_EQ(C->GetSummary()->GetFooterSummaryText(0), "1234.5");
  footer->SetKind(skMax);
  EXPECT_EQ(calculations, 1);
}

TEST_F(ControllerTest, SelectedRecordsSummaryAndDateAverage)
{
  MakeItems({TcxFloatValueType::Class(), TcxDateTimeValueType::Class()});
  Fill({{1.0, TDateTime(10.0)}, {2.0, TDateTime(11.0)}, {4.0, TDateTime(15.0)}});
  auto* items = C->GetSummary()->GetFooterSummaryItems();
  items->Add(Items[0].get(), spFooter, skSum);
  items->Add(Items[1].get(), spFooter, skAverage);
  const Variant average = C->GetSummary()->GetFooterSummaryValue(1);
  EXPECT_EQ(average.VarType(), varDate);  // the average of dates is a date
  EXPECT_DOUBLE_EQ(average.AsDouble(), 12.0);
  C->SetMultiSelect(true);
  C->GetSummary()->SetOptions({soSelectedRecords});
  EXPECT_TRUE(C->GetSummary()->GetFooterSummaryValue(0).IsNull());  // nothing selected
  C->ChangeRowSelection(0, true);
  C->ChangeRowSelection(2, true);  // a selection change recalculates
  EXPECT_DOUBLE_EQ(C->GetSummary()->GetFooterSummaryValue(0).AsDouble(), 5.0);
}

TEST_F(GroupingTest, GroupSummariesCoverTheirRecords)
{
  auto* items = C->GetSummary()->GetDefaultGroupSummaryItems();
  items->Add(Items[2].get(), spGroup, skSum);
  items->Add(Items[2].get(), spGroup, skMax);
  auto& groups = C->GetInfo()->GetDataGroups();
  auto sum = [&](int g) { return Variants::VarArrayGet(C->GetSummary()->GetGroupSummaryValues(g), {0}).AsDouble(); };
  EXPECT_DOUBLE_EQ(sum(0), 8.0);  // A: 1 + 3 + 4
  EXPECT_DOUBLE_EQ(sum(1), 5.0);  // A/1: 1 + 4
  EXPECT_DOUBLE_EQ(sum(2), 3.0);
  EXPECT_DOUBLE_EQ(sum(3), 2.0);
  EXPECT_EQ(groups.GetCount(), 5);
  EXPECT_EQ(C->GetSummary()->GetGroupSummaryText(1), "(SUM=2.00, MAX=2.00)");
  items->SetBeginText("");
  items->SetEndText("");
  EXPECT_EQ(C->GetSummary()->GetGroupSummaryText(0), "SUM=8.00, MAX=4.00");
}

TEST_F(GroupingTest, SummaryGroupGivesItsLevelOwnItems)
{
  TcxDataSummary* summary = C->GetSummary();
  summary->GetDefaultGroupSummaryItems()->Add(Items[2].get(), spGroup, skSum);
  TcxDataSummaryGroup* group = summary->GetSummaryGroups()->Add();
  group->GetLinks()->Add()->SetItemLink(Items[1].get());
  group->GetSummaryItems()->Add(Items[2].get(), spGroup, skMax);
  group->GetSummaryItems()->Add(Items[2].get(), spFooter, skCount);
  C->FullExpand();
  EXPECT_EQ(summary->GetGroupSummaryItems(0), summary->GetDefaultGroupSummaryItems());
  EXPECT_EQ(summary->GetGroupSummaryItems(1), group->GetSummaryItems());
  EXPECT_EQ(summary->GetGroupSummaryItems(2), nullptr);
  // Rows: A, A/1, r0, r3, A/2, r2, B, B/2, r1.
  ASSERT_EQ(RowsText(), (std::vector<std::string>{"g0+0", "g1+0", "r0", "r3", "g1+2", "r2", "g0+1", "g1+1", "r1"}));
  EXPECT_EQ(summary->GetGroupSummaryText(0), "(SUM=8.00)");
  EXPECT_EQ(summary->GetGroupSummaryText(1), "(MAX=4.00)");  // footer items stay off the row
  EXPECT_EQ(summary->GetGroupFooterItemIndex(1, Items[2].get()), 1);
  EXPECT_EQ(summary->GetGroupFooterItemIndex(0, Items[2].get()), -1);
  EXPECT_EQ(summary->GetGroupFooterSummaryText(3, 1, 1), "2");  // a record row of A/1
  EXPECT_EQ(summary->GetGroupFooterSummaryText(5, 1, 1), "1");
  EXPECT_EQ(summary->GetGroupFooterSummaryText(5, 1, 7), "");
  // An item linked in a second group leaves the first.
  TcxDataSummaryGroup* second = summary->GetSummaryGroups()->Add();
  second->GetLinks()->Add()->SetItemLink(Items[1].get());
  EXPECT_EQ(group->GetLinks()->GetItem(0)->GetItemLink(), nullptr);
  EXPECT_EQ(summary->GetGroupSummaryItems(1), second->GetSummaryItems());
  EXPECT_EQ(summary->GetGroupSummaryText(1), "");
  // A removed field leaves every link and item.
  second->GetSummaryItems()->Add(Items[1].get(), spGroup, skSum);
  C->RemoveItem(Items[1].get());
  EXPECT_EQ(second->GetLinks()->GetItem(0)->GetField(), nullptr);
  EXPECT_EQ(second->GetSummaryItems()->GetItem(0)->GetField(), nullptr);
}

TEST_F(ControllerTest, SummaryPropertiesAreStoredOnlyWhenTheyDiffer)
{
  MakeItems({TcxFloatValueType::Class()});
  TcxDataSummary* summary = C->GetSummary();
  TcxDataSummaryItem* footer = summary->GetFooterSummaryItems()->Add(Items[0].get(), spFooter, skSum);
  TcxDataSummaryItem* grouped = summary->GetDefaultGroupSummaryItems()->Add(Items[0].get(), spGroup, skMax);
  auto stored = [](TObject* O, const char* AName) { return TypInfo::IsStoredProp(O, TypInfo::GetPropInfo(O, AName)); };
  EXPECT_FALSE(stored(footer, "Position"));  // a footer item is always in the footer
  EXPECT_FALSE(stored(grouped, "Position"));
  grouped->SetPosition(spFooter);
  EXPECT_TRUE(stored(grouped, "Position"));
  EXPECT_EQ(TypInfo::GetOrdProp(grouped, "Kind"), skMax);
  TcxDataGroupSummaryItems* items = summary->GetDefaultGroupSummaryItems();
  EXPECT_FALSE(stored(items, "BeginText"));
  items->SetBeginText("[");
  EXPECT_TRUE(stored(items, "BeginText"));
  EXPECT_FALSE(stored(items, "Separator"));
  for (const char* name : {"DefaultGroupSummaryItems", "FooterSummaryItems", "SummaryGroups", "Options"})
    EXPECT_NE(TypInfo::GetPropInfo(summary, name), nullptr) << name;
}

// ---- Search and locate -----------------------------------------------------------------------

TEST_F(ControllerTest, IncrementalSearchKeepsAMatchingRowAndWraps)
{
  MakeItems({TcxStringValueType::Class()});
  Fill({{"alpha"}, {"beta"}, {"abc"}, {"Abd"}});
  EXPECT_FALSE(C->Search(0, ""));
  EXPECT_FALSE(C->IsSearching());
  EXPECT_TRUE(C->Search(0, "a"));
  EXPECT_EQ(C->GetFocusedRecordIndex(), 0);
  EXPECT_TRUE(C->Search(0, "ab"));
  EXPECT_EQ(C->GetFocusedRecordIndex(), 2);
  EXPECT_TRUE(C->Search(0, "abc"));
  EXPECT_EQ(C->GetFocusedRecordIndex(), 2);  // still matches: stays
  EXPECT_TRUE(C->Search(0, "ab"));
  EXPECT_TRUE(C->SearchNext(true));
  EXPECT_EQ(C->GetFocusedRecordIndex(), 3);
  EXPECT_FALSE(C->SearchNext(true));
  EXPECT_TRUE(C->Search(0, "al"));  // from the last row, wraps to the first
  EXPECT_EQ(C->GetFocusedRecordIndex(), 0);
  EXPECT_FALSE(C->SearchNext(false));
  EXPECT_EQ(C->GetFocusedRecordIndex(), 0);
  C->ChangeFocusedRowIndex(1);  // moving the focus ends the search
  EXPECT_FALSE(C->IsSearching());
}

TEST_F(ControllerTest, FindRecordByTextAndLocateByKey)
{
  MakeItems({TcxStringValueType::Class(), TcxIntegerValueType::Class()});
  Fill({{"x", 1}, {"y", 2}, {"x", 3}, {"z", 4}, {"y", 5}, {"w", 6}, {"x", 7}, {"q", 8}});
  EXPECT_EQ(C->FindRecordIndexByText(5, 0, "X", false, false, false), 2);
  EXPECT_EQ(C->FindRecordIndexByText(1, 0, "q", false, false, false), -1);
  EXPECT_EQ(C->FindRecordIndexByText(1, 0, "q", false, true, false), 7);  // wraps from the last down
  EXPECT_EQ(C->FindRecordIndexByText(8, 0, "x", false, true, true), -1);  // start outside the list
  EXPECT_EQ(C->LocateByKey(4, {C->GetItemField(0)}), 1);
  EXPECT_EQ(C->LocateByKey(4, {}), -1);
}

TEST_F(GroupingTest, LocateObjectsFindByKeyAndByGroupLevel)
{
  TcxValueDefUnboundReader reader;
  reader.SetValue(C->GetItemField(0)->GetValueDef(), "A");
  reader.SetValue(C->GetItemField(1)->GetValueDef(), 2);
  {
    TcxDataControllerKeyLocateObject key(C.get());
    EXPECT_EQ(key.FindRecordIndex(), -1);  // nothing read yet
    key.ReadData(&reader);
    EXPECT_EQ(key.FindRecordIndex(), -1);  // no key fields
    key.KeyFields = {C->GetItemField(0), C->GetItemField(1)};
    EXPECT_EQ(key.FindRecordIndex(), 2);
  }
  TcxDataControllerGroupLocateObject group(C.get());
  group.ReadData(&reader);
  group.SetLevel(1);
  EXPECT_EQ(group.FindRecordIndex(), 2);  // the A/2 group's only record
  reader.SetValue(C->GetItemField(0)->GetValueDef(), "B");
  reader.SetValue(C->GetItemField(1)->GetValueDef(), 1);
  group.ReadData(&reader);
  EXPECT_EQ(group.FindRecordIndex(), -1);  // there is no B/1
  group.SetLevel(0);
  EXPECT_EQ(group.FindRecordIndex(), 1);
  group.ReleaseRecord();
  EXPECT_EQ(group.FindRecordIndex(), -1);
}

// ---- Editing and the new-item row ------------------------------------------------------------

TEST_F(ControllerTest, EditAnchorsKeepTheRowUntilPost)
{
  MakeItems({TcxIntegerValueType::Class()});
  Fill({{10}, {20}, {30}, {40}});
  C->SetItemSortOrder(0, soAscending);
  C->ChangeFocusedRowIndex(1);
  C->Edit();
  EXPECT_EQ(C->GetProvider()->AnchorAfter, 2);
  EXPECT_TRUE(C->StoreEditValue(0, 50, 0));
  EXPECT_EQ(RowRecords(), Rows({0, 1, 2, 3}));  // stays before the record it was shown before
  C->Post();
  EXPECT_EQ(RowRecords(), Rows({0, 2, 3, 1}));
  EXPECT_EQ(C->GetFocusedRowIndex(), 3);
  C->Edit();
  EXPECT_EQ(C->GetProvider()->AnchorBefore, 3);  // last row: the row before it
}

TEST_F(ControllerTest, FocusingAnotherRowPostsAndKeepsTheClickedRecord)
{
  MakeItems({TcxIntegerValueType::Class()});
  Fill({{10}, {20}, {30}});
  C->SetItemSortOrder(0, soAscending);
  C->ChangeFocusedRowIndex(2);
  C->StoreEditValue(0, 5, 0);   // record 2 will sort first
  C->ChangeFocusedRowIndex(0);  // record 0; the post re-sorts
  EXPECT_FALSE(C->IsEditing());
  EXPECT_EQ(RowRecords(), Rows({2, 0, 1}));
  EXPECT_EQ(C->GetFocusedRecordIndex(), 0);
  EXPECT_EQ(C->GetFocusedRowIndex(), 1);
}

TEST_F(ControllerTest, CancelRestoresTheSavedCopyAndFreesIt)
{
  MakeItems({TcxStringValueType::Class(), TcxIntegerValueType::Class()});
  Fill({{"a", 1}});
  const int internals = C->GetStorage()->InternalRecordCount();
  C->ChangeFocusedRowIndex(0);
  C->StoreEditValue(0, "", 1);  // an empty text becomes Null
  C->StoreEditValue(1, 5, 0);
  EXPECT_TRUE(C->GetValue(0, 0).IsNull());
  C->Cancel();
  EXPECT_EQ(C->GetValue(0, 0).AsString(), "a");
  EXPECT_EQ(C->GetValue(0, 1).AsInteger(), 1);
  EXPECT_EQ(C->GetProvider()->SavedCopy, 0);
  EXPECT_LE(C->GetStorage()->InternalRecordCount(), internals + 1);
}

TEST_F(ControllerTest, InsertPostCancelAndDeleteRaiseEventsInOrder)
{
  MakeItems({TcxIntegerValueType::Class()});
  Fill({{1}, {2}});
  std::vector<std::string> events;
  C->OnBeforeInsert = [&](TcxCustomDataController*) { events.push_back("before insert"); };
  C->OnNewRecord = [&](TcxCustomDataController*, int r) { events.push_back("new " + std::to_string(r)); };
  C->OnAfterInsert = [&](TcxCustomDataController*) { events.push_back("after insert"); };
  C->OnBeforePost = [&](TcxCustomDataController*) { events.push_back("before post"); };
  C->OnAfterPost = [&](TcxCustomDataController*) { events.push_back("after post"); };
  C->OnBeforeDelete = [&](TcxCustomDataController*, int r) { events.push_back("before delete " + std::to_string(r)); };
  C->OnAfterDelete = [&](TcxCustomDataController*) { events.push_back("after delete"); };
  C->ChangeFocusedRowIndex(1);
  C->Insert();
  EXPECT_EQ(C->GetRecordCount(), 3);
  EXPECT_EQ(C->GetFocusedRecordIndex(), 1);
  C->Post();  // never modified: cancelled, no post events
  EXPECT_EQ(C->GetRecordCount(), 2);
  C->Append();
  C->StoreEditValue(0, 9, 0);
  C->Post();
  EXPECT_EQ(C->GetValue(2, 0).AsInteger(), 9);
  C->ChangeFocusedRecordIndex(0);
  C->DeleteFocused();
  EXPECT_EQ(events,
            std::vector<std::string>({"before insert", "new 1", "after insert", "before insert", "new 2",
                                      "after insert", "before post", "after post", "before delete 0", "after delete"}));
  EXPECT_EQ(C->GetRecordCount(), 2);
}

TEST_F(ControllerTest, NewItemRowPostsIntoANewRecord)
{
  MakeItems({TcxIntegerValueType::Class()});
  Fill({{1}});
  C->SetNewItemRowEnabled(true);
  C->SetNewItemRowFocused(true);
  EXPECT_TRUE(C->IsNewItemRowFocused());
  EXPECT_EQ(C->GetFocusedRowIndex(), -1);
  EXPECT_TRUE(C->FetchEditValue(0, 0).IsNull());
  EXPECT_TRUE(C->StoreEditValue(0, 7, 0));
  EXPECT_EQ(C->GetRecordCount(), 1);  // still in the internal record
  C->ChangeFocusedRowIndex(0);        // leaving the new-item row posts it
  EXPECT_EQ(C->GetRecordCount(), 2);
  EXPECT_EQ(C->GetValue(1, 0).AsInteger(), 7);
  EXPECT_FALSE(C->IsNewItemRowFocused());
  EXPECT_FALSE(C->IsEditing());
}

TEST_F(ControllerTest, DeletingTheEditedRecordEndsTheEdit)
{
  MakeItems({TcxIntegerValueType::Class()});
  Fill({{1}, {2}});
  C->ChangeFocusedRowIndex(1);
  C->Edit();
  ASSERT_TRUE(C->IsEditing());
  C->DeleteRecord(1);
  EXPECT_FALSE(C->IsEditing());
}

// ---- Reloading and utilities -----------------------------------------------------------------

class TUpdatingController : public TcxCustomDataController {
public:
  std::vector<TcxCustomDataField*> Updated;
  TcxCustomDataField* FreeOnUpdate = nullptr;
  void UpdateField(TcxCustomDataField* AField) override
  {
    Updated.push_back(AField);
    if (AField == FreeOnUpdate) delete GetItemField(0);  // a field goes while the fields update
  }
};

TEST(ControllerReload, FieldFreedDuringUpdateFieldsDoesNotStopTheOthers)
{
  DataModule::Initialize();
  TUpdatingController c;
  TTestViewItem a, b, d;
  c.AddItem(&a);
  c.AddItem(&b);
  c.AddItem(&d);
  TcxCustomDataField* second = c.GetItemField(1);
  TcxCustomDataField* third = c.GetItemField(2);
  c.FreeOnUpdate = second;
  c.SetRecordCount(3);
  c.ResetData();  // an unbound provider has no records to load back
  EXPECT_EQ(c.GetRecordCount(), 0);
  c.UpdateFields();
  ASSERT_EQ(c.Updated.size(), 3u);
  EXPECT_EQ(c.Updated[1], second);
  EXPECT_EQ(c.Updated[2], third);
  EXPECT_EQ(c.GetItemCount(), 2);
}

TEST(DataUtils, TextMatchesDatePartsAndCurrencyFormat)
{
  EXPECT_TRUE(cxDataUtils::AnsiTextMatches("abc", "AB", true));
  EXPECT_FALSE(cxDataUtils::AnsiTextMatches("abc", "AB", false));
  EXPECT_TRUE(cxDataUtils::AnsiTextMatches("", "", false));
  EXPECT_FALSE(cxDataUtils::AnsiTextMatches("", "a", true));
  EXPECT_DOUBLE_EQ(cxDataUtils::DatePart(TDateTime(-1.25)).Value, -1.0);
  EXPECT_DOUBLE_EQ(cxDataUtils::TimePart(TDateTime(3.75)).Value, 0.75);
  const AnsiString symbol = SysUtils::CurrencyString;
  const Byte format = SysUtils::CurrencyFormat;
  const Byte decimals = SysUtils::CurrencyDecimals;
  SysUtils::CurrencyString = "R.$";
  SysUtils::CurrencyDecimals = 2;
  SysUtils::CurrencyFormat = 3;
  EXPECT_EQ(cxDataUtils::CurrencyDisplayFormat(), ",0.00 R'.'$");
  SysUtils::CurrencyFormat = 0;
  SysUtils::CurrencyDecimals = 0;
  SysUtils::CurrencyString = "";
  EXPECT_EQ(cxDataUtils::CurrencyDisplayFormat(), ",0.");
  SysUtils::CurrencyString = symbol;
  SysUtils::CurrencyFormat = format;
  SysUtils::CurrencyDecimals = decimals;
}

// ---- Master-detail ---------------------------------------------------------------------------

TEST_F(ControllerTest, DetailsExpandOnlyWithAPatternDetailAndAskFirst)
{
  MakeItems({TcxIntegerValueType::Class()});
  Fill({{1}, {2}});
  const int handles = cxDataStorage::LiveHandleCount();
  TTestViewItem level1, level2;
  TcxCustomDataRelation* relation = C->GetRelations()->Add(&level1);
  C->GetRelations()->Add(&level2);
  EXPECT_FALSE(C->ChangeDetailExpanding(0, true));  // no relation has a detail controller yet
  EXPECT_EQ(C->GetDetailActiveRelationIndex(0), -1);
  {
    TcxCustomDataController detail;
    detail.SetPatternRelation(relation, true);
    EXPECT_EQ(detail.GetDetailMode(), 1);
    EXPECT_EQ(detail.GetMasterDataController(), C.get());
    EXPECT_TRUE(C->ChangeDetailExpanding(0, true));
    EXPECT_TRUE(C->GetDetailExpanded(0));
    EXPECT_FALSE(C->ChangeDetailExpanding(0, true));  // unchanged
    EXPECT_EQ(C->GetDetailActiveRelationIndex(0), 0);
    C->ChangeDetailActiveRelationIndex(0, 1);
    EXPECT_EQ(C->GetDetailActiveRelationIndex(0), 1);
    bool asked = false;
    C->OnDetailCollapsing = [&](TcxCustomDataController*, int, bool& allow) {
      asked = true;
      allow = false;
    };
    EXPECT_FALSE(C->ChangeDetailExpanding(0, false));
    EXPECT_TRUE(asked);
    EXPECT_TRUE(C->GetDetailExpanded(0));
    C->OnDetailCollapsing = nullptr;
    C->CollapseDetails();
    EXPECT_FALSE(C->GetDetailExpanded(0));
    EXPECT_FALSE(C->GetDetailHasChildren(0, 0));
    C->DeleteRecord(0);                                        // the record's detail object goes with it
    EXPECT_EQ(cxDataStorage::LiveHandleCount(), handles + 1);  // record 1's object
  }
  EXPECT_EQ(relation->DetailController, nullptr);  // the detail detached itself when freed
  C->GetRelations()->Clear();
  EXPECT_EQ(cxDataStorage::LiveHandleCount(), handles);
  EXPECT_EQ(C->GetItemCount(), 1);  // the internal detail field went with the last relation
}

// ---- Change reports --------------------------------------------------------------------------

TEST_F(ControllerTest, ChangesInsideOneLockCoalesce)
{
  MakeItems({TcxIntegerValueType::Class(), TcxIntegerValueType::Class()});
  Fill({{1, 1}, {2, 2}});
  Record();
  std::vector<std::string> events;
  C->OnRecordChanged = [&](TcxCustomDataController*, int r, int i) {
    events.push_back("record " + std::to_string(r) + " " + std::to_string(i));
  };
  C->OnDataChanged = [&](TObject*) { events.push_back("data"); };
  C->BeginUpdate();
  C->SetValue(1, 0, 5);
  C->SetValue(1, 1, 6);
  C->EndUpdate();
  C->BeginUpdate();
  C->SetValue(0, 0, 5);
  C->SetValue(1, 1, 7);
  C->EndUpdate();
  C->SetValue(0, 1, 8);
  EXPECT_EQ(Log, std::vector<std::string>({"data 1 -1 1", "data 4 1 1", "data 0 1 0"}));
  EXPECT_EQ(events, std::vector<std::string>({"record 1 -1", "data", "data", "record 0 1", "data"}));
}

class TLoadingOwner : public TComponent {
public:
  TLoadingOwner() : TComponent(nullptr) {}
  using TComponent::ExcludeState;
  using TComponent::IncludeState;
};

TEST(ControllerLoading, DataEventsWhileTheOwnerLoadsFireOnceByLoaded)
{
  DataModule::Initialize();
  TLoadingOwner owner;
  TcxCustomDataController c(&owner);
  TTestViewItem item;
  c.AddItem(&item);
  c.ChangeValueTypeClass(0, TcxIntegerValueType::Class());
  int events = 0;
  c.OnDataChanged = [&](TObject*) { ++events; };
  owner.IncludeState(csLoading);
  c.AppendRecord();
  c.SetValue(0, 0, 1);
  EXPECT_EQ(events, 0);
  owner.ExcludeState(csLoading);
  c.Loaded();
  c.Loaded();
  EXPECT_EQ(events, 1);
}

TEST_F(ControllerTest, ListenerThatFreesTheControllerStopsTheDispatch)
{
  MakeItems({TcxIntegerValueType::Class()});
  int calls = 0;
  C->AddDataChangedListener(nullptr, [&](TObject*) {
    ++calls;
    C.reset();
  });
  C->AddDataChangedListener(nullptr, [&](TObject*) { ++calls; });
  C->AppendRecord();
  EXPECT_EQ(calls, 1);
  EXPECT_EQ(C, nullptr);
}

}  // namespace
