// Random records through sort, filter, group and summary, checked against plain loops.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <map>
#include <optional>
#include <random>

#include "controls/data/filter/cxDataFilter.h"
#include "controls/data/filter/cxDataFilterFast.h"
#include "controls/data/controller/cxDataSummary.h"
#include "controls/data/tests/ControllerFixture.h"

namespace {

struct TRefRecord {
  std::optional<int> Number;
  std::optional<std::string> Text;
  double Amount;
};

// Null first, then the value.
template <class T>
int Compare(const std::optional<T>& a, const std::optional<T>& b)
{
  if (!a || !b) return (a ? 1 : 0) - (b ? 1 : 0);
  return *a < *b ? -1 : *b < *a ? 1 : 0;
}

TEST_F(ControllerTest, RandomRecordsMatchAPlainReference)
{
  MakeItems({TcxIntegerValueType::Class(), TcxStringValueType::Class(), TcxFloatValueType::Class()});
  std::mt19937 rng(20261210);
  auto* footer = C->GetSummary()->GetFooterSummaryItems()->Add(Items[2].get(), spFooter, skSum);
  (void)footer;
  C->GetSummary()->GetDefaultGroupSummaryItems()->Add(Items[2].get(), spGroup, skSum);
  C->GetSummary()->GetDefaultGroupSummaryItems()->Add(Items[2].get(), spGroup, skCount);

  for (int round = 0; round < 30; ++round) {
    const int n = std::uniform_int_distribution<int>(0, 60)(rng);
    std::vector<TRefRecord> ref(static_cast<size_t>(n));
    C->BeginUpdate();
    C->ClearSorting(false);
    for (int i = 0; i < C->GetItemCount(); ++i) C->ChangeGroupIndex(i, -1);
    C->GetFilter()->Clear();
    C->SetRecordCount(n);
    for (int r = 0; r < n; ++r) {
      auto& rec = ref[static_cast<size_t>(r)];
      if (rng() % 5) rec.Number = static_cast<int>(rng() % 6);
      if (rng() % 4) rec.Text = std::string(1, static_cast<char>('a' + rng() % 4));
      rec.Amount = static_cast<double>(rng() % 100) / 4;
      C->SetValue(r, 0, rec.Number ? Variant(*rec.Number) : Variant::Null());
      C->SetValue(r, 1, rec.Text ? Variant(AnsiString(*rec.Text)) : Variant::Null());
      C->SetValue(r, 2, rec.Amount);
    }
    // Random definitions: a threshold filter, a grouping item, sort orders.
    const int threshold = static_cast<int>(rng() % 6);
    const bool filtered = rng() % 2;
    if (filtered) C->GetFilter()->AddItem(nullptr, Items[0].get(), fokGreaterEqual, threshold, "");
    C->GetFilter()->SetActive(filtered);
    const int groupItem = static_cast<int>(rng() % 3) - 1;  // -1: none, 0 number, 1 text
    const bool textDesc = rng() % 2;
    const bool numberDesc = rng() % 2;
    if (groupItem >= 0) C->ChangeGroupIndex(groupItem, 0);
    C->SetItemSortOrder(1, textDesc ? soDescending : soAscending);
    C->SetItemSortOrder(0, numberDesc ? soDescending : soAscending);
    C->EndUpdate();

    // The reference: filter, then a stable sort by group item, text, number (grouped first).
    std::vector<int> expected;
    for (int r = 0; r < n; ++r)
      if (!filtered || (ref[static_cast<size_t>(r)].Number && *ref[static_cast<size_t>(r)].Number >= threshold))
        expected.push_back(r);
    auto byText = [&](int a, int b) {
      int c = Compare(ref[static_cast<size_t>(a)].Text, ref[static_cast<size_t>(b)].Text);
      return textDesc ? -c : c;
    };
    auto byNumber = [&](int a, int b) {
      int c = Compare(ref[static_cast<size_t>(a)].Number, ref[static_cast<size_t>(b)].Number);
      return numberDesc ? -c : c;
    };
    std::stable_sort(expected.begin(), expected.end(), [&](int a, int b) {
      int c = groupItem == 0 ? byNumber(a, b) : groupItem == 1 ? byText(a, b) : 0;
      if (c == 0) c = byText(a, b);
      if (c == 0) c = byNumber(a, b);
      return c < 0;
    });
    ASSERT_EQ(C->GetInfo()->GetRecordList(), expected) << "round " << round;

    double total = 0;
    for (int r : expected) total += ref[static_cast<size_t>(r)].Amount;
    if (expected.empty())
      EXPECT_TRUE(C->GetSummary()->GetFooterSummaryValue(0).IsNull());
    else
      EXPECT_DOUBLE_EQ(C->GetSummary()->GetFooterSummaryValue(0).AsDouble(), total);

    // Groups: runs of equal grouping values in the sorted list, with their sums and counts.
    auto& groups = C->GetInfo()->GetDataGroups();
    if (groupItem < 0 || expected.empty()) {
      EXPECT_EQ(groups.GetCount(), 0);
      continue;
    }
    std::vector<std::pair<double, int>> runs;
    for (size_t i = 0; i < expected.size(); ++i) {
      const auto& a = ref[static_cast<size_t>(expected[i])];
      bool same = i > 0;
      if (same) {
        const auto& b = ref[static_cast<size_t>(expected[i - 1])];
        same = groupItem == 0 ? Compare(a.Number, b.Number) == 0 : Compare(a.Text, b.Text) == 0;
      }
      if (!same) runs.push_back({0.0, 0});
      runs.back().first += a.Amount;
      runs.back().second += 1;
    }
    ASSERT_EQ(groups.GetCount(), static_cast<int>(runs.size()));
    EXPECT_EQ(C->GetRowCount(), static_cast<int>(runs.size()));
    for (int g = 0; g < groups.GetCount(); ++g) {
      Variant values = C->GetSummary()->GetGroupSummaryValues(g);
      EXPECT_DOUBLE_EQ(Variants::VarArrayGet(values, {0}).AsDouble(), runs[static_cast<size_t>(g)].first);
      EXPECT_EQ(Variants::VarArrayGet(values, {1}).AsInteger(), runs[static_cast<size_t>(g)].second);
    }
  }
}

}  // namespace

namespace {

// Random criteria trees: the typed program must answer as the general evaluation does.
TEST_F(ControllerTest, CompiledFilterAgreesWithTheCriteriaOnRandomTrees)
{
  MakeItems({TcxFloatValueType::Class(), TcxIntegerValueType::Class(), TcxStringValueType::Class()});
  std::mt19937 rng(7);
  const double values[] = {-1.5, 0.0, 2.0, 2.5, std::nan(""), 7.0};
  const char* texts[] = {"ab", "abc", "b_c", "", "a%", "xyz"};
  C->BeginUpdate();
  C->SetRecordCount(120);
  for (int r = 0; r < 120; ++r) {
    if (rng() % 6) C->SetValue(r, 0, values[rng() % 6]);
    if (rng() % 6) C->SetValue(r, 1, static_cast<int>(rng() % 5) - 1);
    if (rng() % 6) C->SetValue(r, 2, texts[rng() % 6]);
  }
  C->EndUpdate();
  const TcxFilterOperatorKind numberOps[] = {fokEqual, fokNotEqual, fokLess, fokLessEqual, fokGreater, fokGreaterEqual};
  const Variant conditions[] = {Variant(2), Variant(2.5), Variant(0.0), Variant(std::nan("")),
                                Variant(static_cast<short>(-1))};
  const char* patterns[] = {"a%", "%c", "_b%", "abc", "%"};
  TcxDataFilterCriteria* f = C->GetFilter();
  int compiled = 0;
  for (int round = 0; round < 200; ++round) {
    f->BeginUpdate();
    f->Clear();
    std::function<void(TcxFilterCriteriaItemList*, int)> fill = [&](TcxFilterCriteriaItemList* list, int depth) {
      list->SetBoolOperatorKind(static_cast<TcxFilterBoolOperatorKind>(rng() % 4));
      const int n = 1 + static_cast<int>(rng() % 3);
      for (int i = 0; i < n; ++i) {
        const int what = static_cast<int>(rng() % (depth < 2 ? 4 : 3));
        if (what == 3)
          fill(list->AddItemList(fbkAnd), depth + 1);
        else if (what == 2)
          f->AddItem(list, Items[2].get(), rng() % 2 ? fokLike : fokNotLike, patterns[rng() % 5], "");
        else
          f->AddItem(list, Items[what].get(), numberOps[rng() % 6], conditions[rng() % 5], "");
      }
    };
    fill(f->GetRoot(), 0);
    f->EndUpdate();
    auto program = cxDataFilterFast::Compile(f);
    if (!program) continue;
    ++compiled;
    std::vector<int> records(120);
    for (int r = 0; r < 120; ++r) records[static_cast<size_t>(r)] = r;
    std::vector<unsigned char> batch(120);
    program->MatchRecords(records.data(), records.size(), batch.data());
    for (int r = 0; r < 120; ++r) {
      ASSERT_EQ(program->Matches(r), f->FilterRecord(r)) << "round " << round << " record " << r;
      ASSERT_EQ(batch[static_cast<size_t>(r)] != 0, f->FilterRecord(r)) << "round " << round << " record " << r;
    }
  }
  EXPECT_GT(compiled, 150);
  f->Clear();
}

}  // namespace
