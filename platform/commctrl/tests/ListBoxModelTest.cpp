#include <gtest/gtest.h>

#include "platform/commctrl/listbox/ListBoxModel.h"
#include "platform/rtl/StringUtils.h"

namespace {

ListBoxModel Filled(std::initializer_list<const char*> texts, ListBoxModel::Options o = ListBoxModel::Options())
{
  ListBoxModel m(o);
  for (const char* t : texts) m.Insert(-1, t);
  return m;
}

}  // namespace

TEST(ListBoxModel, BadIndexesChangeNothing)
{
  ListBoxModel m = Filled({"a", "b"});
  EXPECT_EQ(m.Insert(5, "x"), -1);
  EXPECT_EQ(m.Insert(-2, "x"), -1);
  EXPECT_EQ(m.Delete(2), -1);
  EXPECT_FALSE(m.SetData(-1, 1));
  EXPECT_EQ(m.Text(9), "");
  EXPECT_EQ(m.SetCount(10), -1) << "only a virtual list takes a count";
  EXPECT_FALSE(m.SetSel(true, 0)) << "a single-selection list has no multi-selection";
  EXPECT_EQ(m.Count(), 2);
}

TEST(ListBoxModel, SelectionCaretAndTopFollowInsertsAndDeletes)
{
  ListBoxModel m = Filled({"a", "b", "c", "d"});
  m.SetCurSel(2);
  m.SetTopIndex(2);
  m.Insert(0, "z");
  EXPECT_EQ(m.CurSel(), 3);
  EXPECT_EQ(m.TopIndex(), 3);
  m.Delete(3);
  EXPECT_EQ(m.CurSel(), -1) << "deleting the selected item clears the selection";
  EXPECT_EQ(m.Count(), 4);
  EXPECT_EQ(m.Text(3), "d");
  m.Delete(3);
  EXPECT_LT(m.TopIndex(), m.Count());
  EXPECT_LT(m.Caret(), m.Count());
}

TEST(ListBoxModel, SortedPositionFollowsAnsiCompareText)
{
  ListBoxModel m;
  for (const char* t : {"上海", "apple", "北京", "Banana", "天津", "abc"}) {
    AnsiString text = t;
    m.Insert(m.SortedPosition([&](int i) { return SysUtils::AnsiCompareText(text, m.Text(i)); }), text);
  }
  std::vector<AnsiString> got;
  for (int i = 0; i < m.Count(); ++i) got.push_back(m.Text(i));
  // ASCII first (case folded), then Chinese in pinyin order (the CP936 byte order).
  EXPECT_EQ(got, (std::vector<AnsiString>{"abc", "apple", "Banana", "北京", "上海", "天津"}));
}

struct ClickCase {
  const char* name;
  std::vector<std::tuple<int, bool, bool>> clicks;  // index, shift, ctrl
  std::vector<int> selected;
  int anchor, caret;
};

TEST(ListBoxModel, ExtendedSelectionByClicks)
{
  const ClickCase cases[] = {
      {"plain click selects one", {{1, false, false}, {3, false, false}}, {3}, 3, 3},
      {"shift extends from the anchor", {{1, false, false}, {4, true, false}}, {1, 2, 3, 4}, 1, 4},
      {"shift again replaces the range", {{3, false, false}, {5, true, false}, {1, true, false}}, {1, 2, 3}, 3, 1},
      {"ctrl toggles and moves the anchor", {{1, false, false}, {3, false, true}, {1, false, true}}, {3}, 1, 1},
      {"ctrl+shift adds a range", {{0, false, false}, {3, false, true}, {5, true, true}}, {0, 3, 4, 5}, 3, 5},
  };
  for (const auto& c : cases) {
    ListBoxModel m = Filled({"0", "1", "2", "3", "4", "5"}, {ListBoxModel::SelMode::Extended});
    for (auto [i, shift, ctrl] : c.clicks) m.ClickSelect(i, shift, ctrl);
    EXPECT_EQ(m.SelItems(), c.selected) << c.name;
    EXPECT_EQ(m.Anchor(), c.anchor) << c.name;
    EXPECT_EQ(m.Caret(), c.caret) << c.name;
  }
}

TEST(ListBoxModel, MultipleSelectionTogglesAndRanges)
{
  ListBoxModel m = Filled({"0", "1", "2", "3"}, {ListBoxModel::SelMode::Multiple});
  m.ClickSelect(1, false, false);
  m.ClickSelect(2, false, false);
  m.ClickSelect(1, false, false);
  EXPECT_EQ(m.SelItems(), std::vector<int>{2});
  m.SelRange(true, 3, 0);
  EXPECT_EQ(m.SelCount(), 4);
  m.SetSel(false, -1);
  EXPECT_EQ(m.SelCount(), 0);
}

struct TypeCase {
  const char* name;
  std::vector<std::pair<AnsiString, DWORD>> typed;  // text, time of its first byte
  int caret;                                        // before typing
  AnsiString expect;                                // item found by the last character
};

TEST(ListBoxModel, TypeAheadByCp936Character)
{
  const TypeCase cases[] = {
      {"a Chinese character finds its first item", {{"付", 0}}, -1, "付款"},
      {"two characters make a prefix", {{"合", 0}, {"作", 100}}, -1, "合作方"},
      {"the same character again steps on", {{"合", 0}, {"合", 100}}, -1, "合作方"},
      {"a pause starts a new prefix", {{"合", 0}, {"付", 5000}}, -1, "付款"},
      {"ASCII case is ignored", {{"A", 0}, {"P", 50}, {"R", 90}}, -1, "apricot"},
      {"a prefix still matching keeps the item", {{"合", 0}, {"同", 100}, {"编", 200}}, -1, "合同编号"},
      {"searching starts after the caret", {{"合", 0}}, 0, "合作方"},
  };
  DWORD base = 100000;
  for (const auto& c : cases) {
    base += 100000;
    ListBoxModel m = Filled({"合同", "合作方", "Apple", "apricot", "付款", "合同编号"});
    if (c.caret >= 0) m.SetCurSel(c.caret);
    int found = -1;
    bool any = false;
    for (auto& [text, t] : c.typed) {
      for (char ch : text) found = m.TypeChar(ch, base + t);
      if (found >= 0) m.SetCurSel(found), any = true;
    }
    ASSERT_TRUE(any) << c.name;
    EXPECT_EQ(m.Text(found), c.expect) << c.name;
  }
}

TEST(ListBoxModel, ALeadByteWaitsForItsTrail)
{
  ListBoxModel m = Filled({"a", "合同"});
  const AnsiString he = "合";
  EXPECT_EQ(m.TypeChar(he[0], 10), -1);
  EXPECT_EQ(m.TypeChar(he[1], 20), 1);
  EXPECT_EQ(m.TypedPrefix(), he);
}

TEST(ListBoxModel, VariableHeightsScrollByWholeRows)
{
  ListBoxModel m({ListBoxModel::SelMode::Single, true});
  for (int i = 0; i < 6; ++i) m.Insert(-1, "x");
  for (int i = 0; i < 6; ++i) m.SetHeight(i, 10 + 10 * (i % 2));  // 10 20 10 20 10 20
  EXPECT_EQ(m.RowsFrom(0, 45), 3);
  EXPECT_EQ(m.LastTop(45), 4) << "the last rows that fit: 10 + 20";
  EXPECT_TRUE(m.EnsureVisible(4, 45));
  EXPECT_EQ(m.TopIndex(), 2) << "the least move that shows item 4 whole";
  EXPECT_FALSE(m.EnsureVisible(3, 45));
  EXPECT_TRUE(m.EnsureVisible(0, 45));
  EXPECT_EQ(m.TopIndex(), 0);
}

TEST(ListBoxModel, VirtualListKeepsCountAndSelectionOnly)
{
  ListBoxModel m({ListBoxModel::SelMode::Extended, false, true});
  EXPECT_EQ(m.Insert(-1, "x"), -1);
  EXPECT_EQ(m.SetCount(100000), 0);
  EXPECT_EQ(m.Count(), 100000);
  m.ClickSelect(70000, false, false);
  m.ClickSelect(70002, true, false);
  EXPECT_EQ(m.SelCount(), 3);
  EXPECT_EQ(m.Text(70000), "");
}
