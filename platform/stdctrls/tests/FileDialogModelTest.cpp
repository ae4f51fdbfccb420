// The file dialogs' model, headless: filters and masks, the folder listing, and what happens to
// a typed or picked name (default extension, must-exist, the overwrite prompt, names CP936
// cannot hold).
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>

#include "platform/rtl/AnsiStrings.h"
#include "platform/stdctrls/dialogs/FileDialogModel.h"
#include "platform/testsupport/MessageBoxAnswerer.h"
#include "platform/testsupport/TempFolder.h"

namespace {

// "😀" in UTF-8: a character CP936 has no place for.
const std::string kSmileUtf8 = "\xF0\x9F\x98\x80";

void MakeDiskFile(const TTempFolder& Dir, const std::string& Utf8Name) { std::ofstream(Dir.Path(Utf8Name)) << "x"; }

// A folder with Chinese names, a sub-folder, a hidden file and a name CP936 cannot hold.
struct ModelFolder {
  TTempFolder Dir{"filedlg"};
  ModelFolder()
  {
    for (const char* n : {"合同.ht", "b.HT", "说明.txt", "noext", ".hidden.ht"})
      MakeDiskFile(Dir, System::AnsiToUtf8(n));
    MakeDiskFile(Dir, "x" + kSmileUtf8 + ".ht");
    ::mkdir(Dir.Path(System::AnsiToUtf8("备份")).c_str(), 0755);
  }
  AnsiString Folder() const { return Dir.Dir() + "/"; }
};

std::vector<AnsiString> Names(const TFileDialogModel& M)
{
  std::vector<AnsiString> out;
  for (const TFileEntry& e : M.GetEntries()) out.push_back(e.Name);
  return out;
}

}  // namespace

TEST(FileFiltersTest, ParsesPairsAndStepsOverTrailBytes)
{
  // Malformed first: nothing, a description alone, empty masks.
  EXPECT_TRUE(FileFilters::ParseFilter("").empty());
  EXPECT_TRUE(FileFilters::ParseFilter("只有描述").empty());
  auto f = FileFilters::ParseFilter("合同文件 (*.ht)|*.ht; *.htm ;;|所有文件|*.*|多余");
  ASSERT_EQ(f.size(), 2u);
  EXPECT_EQ(f[0].Description, "合同文件 (*.ht)");
  EXPECT_EQ(f[0].Masks, (std::vector<AnsiString>{"*.ht", "*.htm"}));
  EXPECT_EQ(f[1].Masks, (std::vector<AnsiString>{"*.*"}));
  // "数" is 0xCA 0xFD and "|" can be a trail byte: "\x81|" is one character, not a split.
  auto g = FileFilters::ParseFilter("A\x81|B|*.b");
  ASSERT_EQ(g.size(), 1u);
  EXPECT_EQ(g[0].Description, "A\x81|B");
}

TEST(FileFiltersTest, MatchesMasksByCharacterWithoutCase)
{
  struct Case {
    const char* Name;
    const char* Mask;
    bool Match;
  } cases[] = {
      {"合同.HT", "*.ht", true},  {"合同.ht", "??.ht", true},      {"合同.ht", "?.ht", false}, {"noext", "*.*", true},
      {"noext", "noext.*", true}, {"a.htm", "*.ht", false},        {"abcabd", "*ab?", true},   {"abc", "a*c*", true},
      {"abc", "a*d", false},      {"\x81\x5C.x", "?\x5C*", false},  // a trail byte '\' is no character of its own
  };
  for (const Case& c : cases) EXPECT_EQ(FileFilters::MatchesMask(c.Name, c.Mask), c.Match) << c.Name << " " << c.Mask;
}

TEST(FileDialogModelTest, SplitsNamesAndAddsTheDefaultExtension)
{
  using FileDialogModel::AddDefaultExt;
  using FileDialogModel::SplitNames;
  EXPECT_TRUE(SplitNames("  ").empty());
  EXPECT_EQ(SplitNames("a b.ht"), (std::vector<AnsiString>{"a b.ht"}));
  EXPECT_EQ(SplitNames("\"合同.ht\" \"b c.ht\" \"d"), (std::vector<AnsiString>{"合同.ht", "b c.ht", "d"}));
  struct Case {
    const char* Name;
    const char* Ext;
    const char* Result;
  } cases[] = {{"/t/报告", "bak", "/t/报告.bak"},     {"/t/报告", ".bak", "/t/报告.bak"},
               {"/t/报告.txt", "bak", "/t/报告.txt"}, {"/t/报告.", "bak", "/t/报告"},
               {"/t.d/报告", "bak", "/t.d/报告.bak"}, {"/t/报告", "", "/t/报告"}};
  for (const Case& c : cases) EXPECT_EQ(AddDefaultExt(c.Name, c.Ext), c.Result) << c.Name;
}

TEST(FileDialogModelTest, ListsFoldersFirstThenTheFilesTheFilterTakes)
{
  ModelFolder f;
  TFileDialogModel m(false);
  EXPECT_FALSE(m.SetFolder(f.Folder() + "没有"));
  ASSERT_TRUE(m.SetFolder(f.Folder()));
  m.SetFilter("合同文件|*.ht|文本|*.txt|所有文件|*.*");
  AnsiString odd = System::Utf8ToAnsi("x" + kSmileUtf8 + ".ht");
  EXPECT_EQ(odd, "x?.ht");
  EXPECT_EQ(Names(m), (std::vector<AnsiString>{"..", "备份", "b.HT", "x?.ht", "合同.ht"}));
  EXPECT_FALSE(m.GetEntries()[3].Representable);
  EXPECT_EQ(m.GetEntries()[3].DiskName, "x" + kSmileUtf8 + ".ht");
  m.SetFilterIndex(2);
  EXPECT_EQ(Names(m), (std::vector<AnsiString>{"..", "备份", "说明.txt"}));
  m.SetFilterIndex(9);
  EXPECT_EQ(m.GetFilterIndex(), 3);
  EXPECT_EQ(Names(m).size(), 7u) << "all but the hidden file";
  // A typed mask replaces the filter; a folder typed or picked is entered.
  EXPECT_EQ(m.Accept("*.txt"), TFileDialogModel::TResult::Masked);
  EXPECT_EQ(Names(m), (std::vector<AnsiString>{"..", "备份", "说明.txt"}));
  EXPECT_EQ(m.Accept("备份"), TFileDialogModel::TResult::Entered);
  EXPECT_EQ(m.GetFolder(), f.Folder() + "备份/");
  EXPECT_EQ(m.AcceptEntry(0), TFileDialogModel::TResult::Entered);
  EXPECT_EQ(m.GetFolder(), f.Folder());
}

TEST(FileDialogModelTest, ChoosingChecksTheNameAsTheOptionsSay)
{
  ModelFolder f;
  using R = TFileDialogModel::TResult;
  struct Case {
    bool Save;
    TOpenOptions Options;
    const char* DefaultExt;
    const char* Typed;
    std::vector<int> Answers;  // to the prompts, in order
    R Result;
    std::vector<AnsiString> Files;  // relative to the folder
    const char* Message;            // part of the one message shown, "" for none
  } cases[] = {
      {false, {ofFileMustExist}, "", "合同.ht", {}, R::Chosen, {"合同.ht"}, ""},
      {false, {ofFileMustExist}, "ht", "合同", {}, R::Chosen, {"合同.ht"}, ""},
      {false, {ofFileMustExist}, "", "没有.ht", {}, R::Refused, {}, "找不到文件"},
      {false, {ofPathMustExist}, "", "没有/a.ht", {}, R::Refused, {}, "路径不存在"},
      {false, {}, "", "没有.ht", {}, R::Chosen, {"没有.ht"}, ""},
      {false, {ofCreatePrompt}, "", "新.ht", {IDNO}, R::Refused, {}, "要创建该文件吗"},
      {true, {ofOverwritePrompt}, "ht", "合同", {IDNO}, R::Refused, {}, "已存在"},
      {true, {ofOverwritePrompt}, "ht", "合同", {IDYES}, R::Chosen, {"合同.ht"}, "已存在"},
      {true, {ofOverwritePrompt}, ".bak", "新", {}, R::Chosen, {"新.bak"}, ""},
      {true, {}, "", "x?.ht", {}, R::Refused, {}, "无法显示的字符"},
      {false,
       {ofAllowMultiSelect, ofFileMustExist},
       "",
       "\"合同.ht\" \"b.HT\"",
       {},
       R::Chosen,
       {"合同.ht", "b.HT"},
       ""},
      {false, {ofAllowMultiSelect, ofFileMustExist}, "", "\"合同.ht\" \"无.ht\"", {}, R::Refused, {}, "找不到文件"},
      {false, {ofAllowMultiSelect}, "", "\"合同.ht\" \"x?.ht\"", {}, R::Refused, {}, "无法显示的字符"},
  };
  for (const Case& c : cases) {
    TMessageBoxAnswerer answers(c.Answers);
    TFileDialogModel m(c.Save);
    m.Options = c.Options;
    m.DefaultExt = c.DefaultExt;
    m.Title = "打开";
    ASSERT_TRUE(m.SetFolder(f.Folder()));
    m.SetFilter("所有文件|*.*");
    EXPECT_EQ(m.Accept(c.Typed), c.Result) << c.Typed;
    if (c.Result == R::Chosen) {
      std::vector<AnsiString> want;
      for (const AnsiString& n : c.Files) want.push_back(f.Folder() + n);
      EXPECT_EQ(m.GetFiles(), want) << c.Typed;
    }
    if (*c.Message) {
      ASSERT_EQ(answers.Boxes().size(), 1u) << c.Typed;
      EXPECT_NE(answers.Boxes()[0].Text.find(c.Message), AnsiString::npos) << answers.Boxes()[0].Text;
      EXPECT_EQ(answers.Boxes()[0].Caption, "打开");
    } else {
      EXPECT_TRUE(answers.Boxes().empty()) << c.Typed;
    }
  }
}

TEST(FileDialogModelTest, APickedNameCp936CannotHoldIsRefusedNeverOpenedAsQuestionMark)
{
  ModelFolder f;
  TMessageBoxAnswerer answers;
  TFileDialogModel m(false);
  m.Title = "打开";
  ASSERT_TRUE(m.SetFolder(f.Folder()));
  int odd = -1;
  for (size_t i = 0; i < m.GetEntries().size(); ++i)
    if (!m.GetEntries()[i].Representable) odd = int(i);
  ASSERT_GE(odd, 0);
  EXPECT_EQ(m.AcceptEntry(odd), TFileDialogModel::TResult::Refused);
  EXPECT_TRUE(m.GetFiles().empty());
  ASSERT_EQ(answers.Boxes().size(), 1u);
  EXPECT_EQ(answers.Boxes()[0].Text, TFileDialogModel::NotRepresentableText("x?.ht"));
  EXPECT_EQ(answers.Boxes()[0].Flags, unsigned(MB_OK | MB_ICONWARNING));
  // A file really named "x?.ht" beside it is not opened in its place: the name stays refused.
  MakeDiskFile(f.Dir, "x?.ht");
  m.Refresh();
  EXPECT_EQ(m.Accept("x?.ht"), TFileDialogModel::TResult::Refused);
}
