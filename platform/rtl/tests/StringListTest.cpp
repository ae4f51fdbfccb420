#include "platform/rtl/StringList.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Streams.h"
#include "platform/rtl/tests/RtlTestUtil.h"

namespace {

using RtlTest::Lines;

// 亅 is 81 7C: its trail byte looks like '|'.
const AnsiString kPipeTrail = "亅";

void Fill(TStrings& list, const std::vector<AnsiString>& lines)
{
  list.Clear();
  for (const AnsiString& s : lines) list.Add(s);
}

TEST(TStringListTest, BadIndexesAndSortedEditsRaiseWithoutChangingTheList)
{
  TStringList list;
  Fill(list, {"b", "a"});
  try {
    list.Delete(2);
    FAIL();
  } catch (const EStringListError& e) {
    EXPECT_STREQ(e.what(), "List index out of bounds (2)");
  }
  EXPECT_THROW(list.GetStrings(-1), EStringListError);
  EXPECT_THROW(list.Insert(3, "x"), EStringListError);
  EXPECT_THROW(list.GetObjects(5), EStringListError);

  list.SetSorted(true);
  EXPECT_EQ(Lines(list), (std::vector<AnsiString>{"a", "b"}));
  for (auto edit : {+[](TStringList& l) { l.Insert(0, "c"); }, +[](TStringList& l) { l.SetStrings(0, "z"); },
                    +[](TStringList& l) { l.Move(0, 1); }}) {
    try {
      edit(list);
      FAIL();
    } catch (const EStringListError& e) {
      EXPECT_STREQ(e.what(), "Operation not allowed on sorted list");
    }
    EXPECT_EQ(Lines(list), (std::vector<AnsiString>{"a", "b"}));  // a refused move loses no line
  }
}

TEST(TStringListTest, SortedListWithDuplicatesAndFind)
{
  TStringList list;
  list.SetSorted(true);
  for (const char* s : {"pear", "Apple", "fig", "apple"}) list.Add(s);
  // dupIgnore: "apple" matched "Apple" without regard to case and was not added.
  EXPECT_EQ(Lines(list), (std::vector<AnsiString>{"Apple", "fig", "pear"}));
  EXPECT_EQ(list.Add("FIG"), 1);
  EXPECT_EQ(list.GetCount(), 3);

  list.SetDuplicates(dupError);
  try {
    list.Add("PEAR");
    FAIL();
  } catch (const EStringListError& e) {
    EXPECT_STREQ(e.what(), "String list does not allow duplicates");
  }

  list.SetDuplicates(dupAccept);
  list.Add("fig");
  list.Add("Fig");
  EXPECT_EQ(list.GetCount(), 5);
  Integer index = -1;
  EXPECT_TRUE(list.Find("FIG", index));
  EXPECT_EQ(index, 1);  // the first of the equal lines
  EXPECT_FALSE(list.Find("grape", index));
  EXPECT_EQ(index, 4);  // where it would go
  EXPECT_FALSE(list.Find("zzz", index));
  EXPECT_EQ(index, 5);
  EXPECT_EQ(list.IndexOf("PEAR"), 4);
  EXPECT_EQ(list.IndexOf("kiwi"), -1);

  // Case-sensitive: upper case sorts before lower case (byte order), and "FIG" is now absent.
  list.SetCaseSensitive(true);
  EXPECT_EQ(list.GetStrings(0), "Apple");
  EXPECT_EQ(list.GetStrings(1), "Fig");
  EXPECT_EQ(list.IndexOf("FIG"), -1);
  EXPECT_EQ(list.IndexOf("fig"), 2);
}

TEST(TStringListTest, ChineseLinesSortByTheirCp936Bytes)
{
  TStringList list;
  Fill(list, {"张三", "李四", "王五", "abc"});
  list.Sort();
  // GB2312 orders its common characters by pinyin: li < wang < zhang; ASCII comes first.
  EXPECT_EQ(Lines(list), (std::vector<AnsiString>{"abc", "李四", "王五", "张三"}));
}

TEST(TStringListTest, CustomSortIsStableAndSortedListsIgnoreIt)
{
  TStringList list;
  Fill(list, {"bb", "a", "cc", "d"});
  list.CustomSort([](TStringList* l, Integer i, Integer j) {
    return static_cast<int>(l->GetStrings(i).size()) - static_cast<int>(l->GetStrings(j).size());
  });
  EXPECT_EQ(Lines(list), (std::vector<AnsiString>{"a", "d", "bb", "cc"}));
}

TEST(TStringsTest, TextSplitsOnEveryLineBreakAndJoinsWithCrLf)
{
  struct Case {
    AnsiString text;
    std::vector<AnsiString> lines;
  } cases[] = {
      {"", {}},
      {"a", {"a"}},
      {"a\r\nb\r\n", {"a", "b"}},
      {"a\nb\rc\r\nd", {"a", "b", "c", "d"}},
      {"a\n\nb", {"a", "", "b"}},
      {"\r\n\r\n", {"", ""}},
      {"a\n\r b", {"a", "", " b"}},  // LF CR is two breaks
      {"合同\r\n金额", {"合同", "金额"}},
  };
  for (const Case& t : cases) {
    TStringList list;
    list.SetText(t.text);
    EXPECT_EQ(Lines(list), t.lines) << t.text;
  }
  TStringList list;
  Fill(list, {"a", "", "b"});
  EXPECT_EQ(list.GetText(), "a\r\n\r\nb\r\n");
}

TEST(TStringsTest, CommaTextQuotesWhatWouldNotReadBack)
{
  struct Case {
    std::vector<AnsiString> lines;
    AnsiString text;
  } cases[] = {
      {{}, ""},
      {{""}, "\"\""},
      {{"a", "b"}, "a,b"},
      {{"a b", "c"}, "\"a b\",c"},
      {{"x,y"}, "\"x,y\""},
      {{"say \"hi\""}, "\"say \"\"hi\"\"\""},
      {{"a", "", "b"}, "a,,b"},
      {{"tab\there"}, "\"tab\there\""},
      {{"合同", "甲方 乙方"}, "合同,\"甲方 乙方\""},
  };
  for (const Case& t : cases) {
    TStringList list;
    Fill(list, t.lines);
    EXPECT_EQ(list.GetCommaText(), t.text);
    TStringList back;
    back.SetCommaText(t.text);
    EXPECT_EQ(Lines(back), t.lines) << t.text;
  }
}

TEST(TStringsTest, DelimitedTextReadsBlanksAsSeparatorsOutsideQuotes)
{
  struct Case {
    AnsiString text;
    std::vector<AnsiString> lines;
  } cases[] = {
      {"a b,c", {"a", "b", "c"}},  {"  a ,  b  ", {"a", "b"}},   {"a,", {"a", ""}},        {",a", {"", "a"}},
      {"\"a,b\" c", {"a,b", "c"}}, {"\"unclosed", {"unclosed"}}, {"\"x\"\"y\"", {"x\"y"}},
  };
  for (const Case& t : cases) {
    TStringList list;
    list.SetCommaText(t.text);
    EXPECT_EQ(Lines(list), t.lines) << t.text;
  }

  // A delimiter that can be a trail byte: the character holding it stays whole.
  TStringList list;
  list.SetDelimiter('|');
  list.SetQuoteChar('\'');
  list.SetDelimitedText("a|" + kPipeTrail + "|'b|c'");
  EXPECT_EQ(Lines(list), (std::vector<AnsiString>{"a", kPipeTrail, "b|c"}));
  EXPECT_EQ(list.GetDelimitedText(), "a|" + kPipeTrail + "|'b|c'");
  EXPECT_EQ(list.GetCommaText(), "a," + kPipeTrail + ",b|c");  // CommaText leaves the settings
  EXPECT_EQ(list.GetDelimiter(), '|');
}

TEST(TStringsTest, NamesAndValues)
{
  TStringList list;
  Fill(list, {"server=db1", "port=1433", "plain", "pw==x="});
  EXPECT_EQ(list.GetNames(0), "server");
  EXPECT_EQ(list.GetNames(2), "");
  EXPECT_EQ(list.GetValues("PORT"), "1433");
  EXPECT_EQ(list.GetValues("pw"), "=x=");
  EXPECT_EQ(list.GetValues("missing"), "");
  EXPECT_EQ(list.GetValueFromIndex(2), "");  // no separator: no value
  EXPECT_EQ(list.IndexOfName("Server"), 0);

  list.SetValues("port", "5432");
  list.SetValues("user", "sa");
  list.SetValues("server", "");
  EXPECT_EQ(Lines(list), (std::vector<AnsiString>{"port=5432", "plain", "pw==x=", "user=sa"}));
  list.SetValueFromIndex(1, "v");
  EXPECT_EQ(list.GetStrings(1), "=v");
  list.SetValueFromIndex(0, "");
  EXPECT_EQ(list.GetCount(), 3);

  list.SetNameValueSeparator(':');
  list.SetValues("合同", "甲:乙");
  EXPECT_EQ(list.GetValues("合同"), "甲:乙");
}

TEST(TStringsTest, ChangeEventsFireOncePerUpdateBlock)
{
  TStringList list;
  int changing = 0, changed = 0;
  list.OnChanging = [&](TObject* sender) {
    EXPECT_EQ(sender, &list);
    ++changing;
  };
  list.OnChange = [&](TObject*) { ++changed; };
  list.Add("a");
  list.Add("b");
  EXPECT_EQ(changing, 2);
  EXPECT_EQ(changed, 2);
  list.BeginUpdate();
  list.BeginUpdate();
  list.Add("c");
  list.Delete(0);
  list.EndUpdate();
  EXPECT_EQ(changed, 2);
  list.EndUpdate();
  EXPECT_EQ(changing, 3);
  EXPECT_EQ(changed, 3);
  list.SetText("x\ny");  // one event for the whole text
  EXPECT_EQ(changed, 4);
}

TEST(TStringsTest, ObjectsAssignEqualsExchangeAndMove)
{
  TObject o1, o2;
  TStringList a;
  a.AddObject("one", &o1);
  a.AddObject("two", &o2);
  a.SetDelimiter(';');
  EXPECT_EQ(a.IndexOfObject(&o2), 1);

  TStringList b;
  b.Add("old");
  b.Assign(&a);
  EXPECT_TRUE(b.Equals(&a));
  EXPECT_EQ(b.GetObjects(1), &o2);
  EXPECT_EQ(b.GetDelimiter(), ';');

  b.Exchange(0, 1);
  EXPECT_EQ(b.GetObjects(0), &o2);
  EXPECT_FALSE(b.Equals(&a));
  b.Move(0, 1);
  EXPECT_EQ(Lines(b), Lines(a));
  EXPECT_EQ(b.GetObjects(1), &o2);

  b.AddStrings(&a);
  EXPECT_EQ(b.GetCount(), 4);
  EXPECT_EQ(b.GetObjects(3), &o2);
}

TEST(TStringsTest, FilesAndStreamsKeepTheBytes)
{
  auto dir = std::filesystem::temp_directory_path() / ("strlist-" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  AnsiString file = dir.string() + "/合同.txt";  // CP936 here, UTF-8 on disk

  TStringList list;
  Fill(list, {"甲方=澜岳", "", "金额 100"});
  list.SaveToFile(file);
  EXPECT_TRUE(std::filesystem::exists(dir / u8"合同.txt"));
  TMemoryStream raw;
  raw.LoadFromFile(file);
  AnsiString bytes(static_cast<const char*>(raw.GetMemory()), static_cast<size_t>(raw.GetSize()));
  EXPECT_EQ(bytes, "甲方=澜岳\r\n\r\n金额 100\r\n");

  TStringList back;
  back.LoadFromFile(file);
  EXPECT_EQ(Lines(back), Lines(list));

  TStringStream stream("skip\nrest1\nrest2");
  stream.SetPosition(5);
  back.LoadFromStream(&stream);  // from the position on
  EXPECT_EQ(Lines(back), (std::vector<AnsiString>{"rest1", "rest2"}));

  EXPECT_THROW(back.LoadFromFile(dir.string() + "/missing.txt"), EFOpenError);
  std::filesystem::remove_all(dir);
}

}  // namespace
