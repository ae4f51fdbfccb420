// Sorting, grouping and filtering by one stored field read its values as compact keys (a
// text's first eight bytes and size): texts that share their first eight bytes, texts changed
// in place and NaN among numbers must come out as the values say.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <optional>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "controls/data/filter/cxDataFilter.h"
#include "controls/data/controller/cxDataSummary.h"
#include "controls/data/tests/ControllerFixture.h"

namespace {

// Groups as runs of the sorted list, each value equal to its run's first (as the engine's
// grouping compares), with the records' counts.
template <class T, class Eq>
std::vector<int> Runs(const std::vector<int>& AList, const std::vector<T>& AValues, Eq AEqual)
{
  std::vector<int> runs;
  size_t first = 0;
  for (size_t i = 0; i < AList.size(); ++i) {
    if (i == 0 || !AEqual(AValues[static_cast<size_t>(AList[first])], AValues[static_cast<size_t>(AList[i])])) {
      runs.push_back(0);
      first = i;
    }
    ++runs.back();
  }
  return runs;
}

std::vector<int> GroupSizes(TcxCustomDataController* C)
{
  std::vector<int> sizes;
  auto& groups = C->GetInfo()->GetDataGroups();
  for (int g = 0; g < groups.GetCount(); ++g)
    sizes.push_back(groups.GetItem(g).LastIndex - groups.GetItem(g).FirstIndex + 1);
  return sizes;
}

TEST_F(ControllerTest, TextsSharingTheirHeadSortAndGroupByTheirBytes)
{
  MakeItems({TcxStringValueType::Class()});
  const char* pool[] = {"contract", "contracts", "contract-2026-01", "contract-2026-02",
                        "contrac",  "",          "contract\x01",     "\xba\xcf\xcd\xac",
                        "a",        "contractor"};
  std::mt19937 rng(31);
  const int n = 200;
  std::vector<std::optional<std::string>> texts(n);
  C->BeginUpdate();
  C->SetRecordCount(n);
  for (int r = 0; r < n; ++r) {
    if (rng() % 8) texts[static_cast<size_t>(r)] = pool[rng() % 10];
    C->SetValue(r, 0,
                texts[static_cast<size_t>(r)] ? Variant(AnsiString(*texts[static_cast<size_t>(r)])) : Variant::Null());
  }
  C->EndUpdate();
  auto less = [&](int a, int b) {
    const auto& x = texts[static_cast<size_t>(a)];
    const auto& y = texts[static_cast<size_t>(b)];
    if (!x || !y) return !x && y;
    return *x < *y;  // byte order: char_traits<char> compares as unsigned char
  };
  for (bool descending : {false, true}) {
    std::vector<int> expected(n);
    for (int r = 0; r < n; ++r) expected[static_cast<size_t>(r)] = r;
    std::stable_sort(expected.begin(), expected.end(),
                     [&](int a, int b) { return descending ? less(b, a) : less(a, b); });
    C->BeginUpdate();
    C->ChangeGroupIndex(0, 0);
    C->SetItemSortOrder(0, descending ? soDescending : soAscending);
    C->EndUpdate();
    ASSERT_EQ(C->GetInfo()->GetRecordList(), expected) << descending;
    EXPECT_EQ(GroupSizes(C.get()), Runs(expected, texts, [](const auto& a, const auto& b) { return a == b; }))
        << descending;
    C->ChangeGroupIndex(0, -1);
  }
}

TEST_F(ControllerTest, WideTextsSortAndGroupByTheirCodeUnits)
{
  MakeItems({TcxWideStringValueType::Class()});
  // Shared heads of up to eight units, a zero unit, units above 0x7FFF (compared unsigned) and prefixes.
  const std::u16string pool[] = {u"合同编号",
                                 u"合同编号2",
                                 u"合同编",
                                 u"合同",
                                 u"",
                                 std::u16string(u"合同\0", 3),
                                 u"\xFFFF",
                                 u"\xD800\xDC00",
                                 u"a",
                                 u"合同编号-01",
                                 u"合同编号甲乙丙丁2",
                                 u"合同编号甲乙丙丁1"};
  std::mt19937 rng(37);
  const int n = 200;
  std::vector<std::optional<std::u16string>> texts(n);
  C->BeginUpdate();
  C->SetRecordCount(n);
  for (int r = 0; r < n; ++r) {
    if (rng() % 8) texts[static_cast<size_t>(r)] = pool[rng() % std::size(pool)];
    C->SetValue(r, 0,
                texts[static_cast<size_t>(r)] ? Variant(WideString(*texts[static_cast<size_t>(r)])) : Variant::Null());
  }
  C->EndUpdate();
  auto less = [&](int a, int b) {
    const auto& x = texts[static_cast<size_t>(a)];
    const auto& y = texts[static_cast<size_t>(b)];
    if (!x || !y) return !x && y;
    return *x < *y;
  };
  for (bool descending : {false, true}) {
    std::vector<int> expected(n);
    for (int r = 0; r < n; ++r) expected[static_cast<size_t>(r)] = r;
    std::stable_sort(expected.begin(), expected.end(),
                     [&](int a, int b) { return descending ? less(b, a) : less(a, b); });
    C->BeginUpdate();
    C->ChangeGroupIndex(0, 0);
    C->SetItemSortOrder(0, descending ? soDescending : soAscending);
    C->EndUpdate();
    ASSERT_EQ(C->GetInfo()->GetRecordList(), expected) << descending;
    EXPECT_EQ(GroupSizes(C.get()), Runs(expected, texts, [](const auto& a, const auto& b) { return a == b; }))
        << descending;
    C->ChangeGroupIndex(0, -1);
  }
}

// LIKE 'prefix%' as a plain prefix test on the texts (Null as the empty text), also after
// texts were overwritten.
TEST_F(ControllerTest, PrefixFiltersSeeEveryByteOfTheTexts)
{
  MakeItems({TcxStringValueType::Class()});
  std::vector<std::optional<std::string>> texts = {
      "contract-2026", "contract", "contrac",          "contracts",        "",
      std::nullopt,    "CONTRACT", "\xba\xcf\xcd\xac", "contract-2026-01", "c"};
  auto load = [&] {
    C->BeginUpdate();
    C->SetRecordCount(static_cast<int>(texts.size()));
    for (size_t r = 0; r < texts.size(); ++r)
      C->SetValue(static_cast<int>(r), 0, texts[r] ? Variant(AnsiString(*texts[r])) : Variant::Null());
    C->EndUpdate();
  };
  load();
  const char* prefixes[] = {"contract", "contrac", "contract-", "c", "", "contract-2026", "contract-2026-01", "x"};
  TcxDataFilterCriteria* f = C->GetFilter();
  for (int pass = 0; pass < 2; ++pass) {
    for (const char* prefix : prefixes)
      for (bool negate : {false, true}) {
        f->BeginUpdate();
        f->Clear();
        f->AddItem(nullptr, Items[0].get(), negate ? fokNotLike : fokLike, AnsiString(prefix) + "%", "");
        f->SetActive(true);
        f->EndUpdate();
        std::vector<int> expected;
        for (size_t r = 0; r < texts.size(); ++r) {
          const std::string t = texts[r].value_or("");
          if ((t.compare(0, std::strlen(prefix), prefix) == 0 && t.size() >= std::strlen(prefix)) != negate)
            expected.push_back(static_cast<int>(r));
        }
        EXPECT_EQ(C->GetInfo()->GetRecordList(), expected) << pass << " " << prefix << " " << negate;
      }
    f->SetActive(false);
    // Overwritten in place: the same records now hold other texts.
    std::reverse(texts.begin(), texts.end());
    texts[0] = "contract-2027";
    texts[3] = std::nullopt;
    load();
  }
  f->Clear();
}

// A NaN compares equal to every number, so a group takes records as long as they equal the
// group's first one, not merely their neighbour.
TEST_F(ControllerTest, NumberGroupsFollowTheirFirstRecordAlsoAroundNaN)
{
  MakeItems({TcxFloatValueType::Class()});
  const double nan = std::nan("");
  const std::vector<std::vector<double>> cases = {
      {1, nan, 2}, {2, nan, 2, 1}, {nan, 1, 1, 2}, {3, 3, nan, nan, 4, 4}, {0.0, -0.0, 1}};
  for (const auto& values : cases) {
    C->BeginUpdate();
    C->ChangeGroupIndex(0, -1);
    C->SetRecordCount(0);
    C->SetRecordCount(static_cast<int>(values.size()));
    for (size_t r = 0; r < values.size(); ++r) C->SetValue(static_cast<int>(r), 0, values[r]);
    C->ChangeGroupIndex(0, 0);
    C->EndUpdate();
    const auto& list = C->GetInfo()->GetRecordList();
    ASSERT_EQ(list.size(), values.size());
    auto equal = [](double a, double b) { return !(a < b) && !(b < a); };
    EXPECT_EQ(GroupSizes(C.get()), Runs(list, values, equal)) << values.size();
  }
}

}  // namespace
