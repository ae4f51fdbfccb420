#include "platform/rtl/IniFiles.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FileUtils.h"
#include "platform/rtl/SaveSeam.h"
#include "platform/rtl/StringList.h"
#include "platform/rtl/tests/RtlTestUtil.h"

namespace {

using RtlTest::Lines;

class IniFilesTest : public ::testing::Test {
protected:
  void SetUp() override
  {
    FDir = std::filesystem::temp_directory_path() / ("inifiles-" + std::to_string(::getpid()));
    std::filesystem::create_directories(FDir);
    FFile = (FDir / "cfg.ini").string();
  }
  void TearDown() override { std::filesystem::remove_all(FDir); }

  AnsiString FileText() const
  {
    AnsiString text;
    SysUtils::LoadFileBytes(FFile, text);
    return text;
  }
  void SetFileText(const AnsiString& text) const { SaveSeam::SaveFile(FFile, text); }

  std::filesystem::path FDir;
  AnsiString FFile;
};

// The scrambled settings hold blanks, quotes and '=' anywhere; every value must come back.
const AnsiString kValues[] = {
    "",
    " leading",
    "trailing ",
    "  both  ",
    "\"quoted\"",
    "\"",
    "'single'",
    " \" mixed \" ",
    "a=b=c",
    "[not a section]",
    ";not a comment",
    "张三 ",
    " 合同\"金额\"",
    "tab\tinside",
    AnsiString("nul\0inside", 10),
};

TEST_F(IniFilesTest, ValuesComeBackByteForByteThroughTheFile)
{
  {
    TIniFile ini(FFile);
    for (size_t i = 0; i < std::size(kValues); ++i) ini.WriteString("db", "k" + std::to_string(i), kValues[i]);
  }
  TIniFile fresh(FFile);
  TMemIniFile mem(FFile);
  for (size_t i = 0; i < std::size(kValues); ++i) {
    EXPECT_EQ(fresh.ReadString("db", "k" + std::to_string(i), "default"), kValues[i]) << i;
    EXPECT_EQ(mem.ReadString("db", "k" + std::to_string(i), "default"), kValues[i]) << i;
  }
  EXPECT_TRUE(fresh.ValueExists("db", "k0"));  // an empty value is still there
  EXPECT_EQ(fresh.ReadString("db", "missing", "dflt"), "dflt");
  EXPECT_EQ(fresh.ReadString("nosection", "k1", "dflt"), "dflt");
}

TEST_F(IniFilesTest, UnwritableValuesAndNamesAreRefusedBeforeAnythingChanges)
{
  TIniFile ini(FFile);
  ini.WriteString("db", "user", "sa");
  const AnsiString before = FileText();
  struct Case {
    AnsiString section, key, value;
  } cases[] = {
      {"db", "pw", "line\r\nbreak"},
      {"db", "pw", "lf\n"},
      {"db", "pw", "\rcr"},
      {"db", "", "x"},
      {"db", "a=b", "x"},
      {"db", "[k]", "x"},
      {"", "k", "x"},
      {"a]b", "k", "x"},
      {"a\nb", "k", "x"},
  };
  for (const Case& t : cases) {
    EXPECT_THROW(ini.WriteString(t.section, t.key, t.value), EIniFileException) << t.key << "|" << t.value;
    TMemIniFile mem("");
    EXPECT_THROW(mem.WriteString(t.section, t.key, t.value), EIniFileException);
  }
  EXPECT_EQ(FileText(), before);
}

TEST_F(IniFilesTest, NamesIgnoreCaseAndBlanksAndTheRestOfTheFileIsKept)
{
  SetFileText(
      "; written by hand\r\n"
      "[DB]\r\n"
      "ProviderIdx = 1\r\n"
      "mssqlServer=host\r\n"
      "\r\n"
      "; the login dialog's\r\n"
      "[Login]\r\n"
      "LastLoginId=张三\r\n");
  TIniFile ini(FFile);
  EXPECT_EQ(ini.ReadInteger("db", "providerIdx", 0), 1);
  EXPECT_EQ(ini.ReadString(" db ", "MSSQLSERVER", ""), "host");
  EXPECT_EQ(ini.ReadString("login", "lastloginid", ""), "张三");

  ini.WriteString("db", "mssqlDb", "contracts");  // a new key goes after the section's keys
  ini.WriteString("DB", "MSSQLSERVER", "other");  // the existing line is replaced in place
  ini.WriteString("新节", "键", "值");
  EXPECT_EQ(FileText(),
            "; written by hand\r\n"
            "[DB]\r\n"
            "ProviderIdx = 1\r\n"
            "mssqlServer=other\r\n"
            "mssqlDb=contracts\r\n"
            "\r\n"
            "; the login dialog's\r\n"
            "[Login]\r\n"
            "LastLoginId=张三\r\n"
            "[新节]\r\n"
            "键=值\r\n");

  TStringList list;
  ini.ReadSections(&list);
  EXPECT_EQ(Lines(list), (std::vector<AnsiString>{"DB", "Login", "新节"}));
  ini.ReadSection("db", &list);
  EXPECT_EQ(Lines(list), (std::vector<AnsiString>{"ProviderIdx", "mssqlServer", "mssqlDb"}));
  ini.ReadSectionValues("DB", &list);
  EXPECT_EQ(Lines(list), (std::vector<AnsiString>{"ProviderIdx= 1", "mssqlServer=other", "mssqlDb=contracts"}));

  ini.DeleteKey("db", "PROVIDERIDX");
  ini.DeleteKey("db", "nothing");  // not an error
  EXPECT_FALSE(ini.ValueExists("db", "providerIdx"));
  ini.EraseSection("login");
  EXPECT_FALSE(ini.SectionExists("Login"));
  EXPECT_TRUE(ini.SectionExists("db"));
  EXPECT_EQ(FileText().find("张三"), AnsiString::npos);
}

TEST_F(IniFilesTest, SectionHeadersAreFoundOutsideDoubleByteCharacters)
{
  // 乕 is 81 5B and 乚 is 81 5D: trail bytes that look like '[' and ']'.
  TIniFile ini(FFile);
  ini.WriteString("乕乚", "键", "v");
  TIniFile again(FFile);
  EXPECT_EQ(again.ReadString("乕乚", "键", ""), "v");
}

TEST_F(IniFilesTest, TypedValues)
{
  TIniFile ini(FFile);
  ini.WriteInteger("db", "port", 1433);
  ini.WriteBool("db", "defaultCon", true);
  ini.WriteBool("db", "other", false);
  ini.WriteFloat("Form", "Scale", 0.75);
  ini.WriteDateTime("t", "when", TDateTime(46000.5));
  ini.WriteDate("t", "day", TDateTime(46000.0));
  EXPECT_EQ(ini.ReadString("db", "defaultCon", ""), "1");
  EXPECT_EQ(ini.ReadInteger("db", "port", 0), 1433);
  EXPECT_TRUE(ini.ReadBool("db", "defaultCon", false));
  EXPECT_FALSE(ini.ReadBool("db", "other", true));
  EXPECT_TRUE(ini.ReadBool("db", "missing", true));
  EXPECT_DOUBLE_EQ(ini.ReadFloat("Form", "Scale", 1), 0.75);
  EXPECT_DOUBLE_EQ(ini.ReadDateTime("t", "when", 0), 46000.5);
  EXPECT_DOUBLE_EQ(ini.ReadDate("t", "day", 0), 46000.0);

  ini.WriteString("db", "hex", "0x1F");
  ini.WriteString("db", "junk", "12abc");
  EXPECT_EQ(ini.ReadInteger("db", "hex", 0), 31);
  EXPECT_EQ(ini.ReadInteger("db", "junk", -7), -7);
  EXPECT_DOUBLE_EQ(ini.ReadFloat("db", "junk", 2.5), 2.5);
  EXPECT_DOUBLE_EQ(ini.ReadDateTime("db", "junk", 3), 3.0);
}

TEST_F(IniFilesTest, TwoObjectsOnOneFileSeeEachOthersWrites)
{
  TIniFile a(FFile), b(FFile);
  a.WriteString("db", "x", "1");
  b.WriteString("Login", "LastLoginId", "sa");
  EXPECT_EQ(b.ReadString("db", "x", ""), "1");
  EXPECT_EQ(a.ReadString("login", "lastloginid", ""), "sa");
}

TEST_F(IniFilesTest, AFileThatCannotBeWrittenRaisesAndAMissingOneReadsEmpty)
{
  TIniFile ini((FDir / "no" / "such" / "cfg.ini").string());
  EXPECT_EQ(ini.ReadInteger("db", "mssqlPort", 1433), 1433);
  EXPECT_FALSE(ini.SectionExists("db"));
  try {
    ini.WriteString("db", "x", "1");
    FAIL();
  } catch (const EIniFileException& e) {
    EXPECT_EQ(e.Message(), "Unable to write to " + ini.GetFileName());
  }
}

TEST_F(IniFilesTest, MemIniFileChangesReachTheFileOnlyOnUpdate)
{
  SetFileText("[a]\nx=1\n");  // LF line ends stay LF
  TMemIniFile mem(FFile);
  mem.WriteString("a", "y", " 2 ");
  EXPECT_EQ(FileText(), "[a]\nx=1\n");
  mem.UpdateFile();
  EXPECT_EQ(FileText(), "[a]\nx=1\ny= 2 \n");

  // The designer's default layout: a memory file built from lines.
  TStringList lines;
  lines.SetText("[Form.TfrxObjectInspector]\nWidth=159\n[ToolBar.AlignTB]\nVisible=0");
  TMemIniFile layout("");
  layout.SetStrings(&lines);
  EXPECT_EQ(layout.ReadInteger("form.tfrxobjectinspector", "width", 0), 159);
  EXPECT_FALSE(layout.ReadBool("ToolBar.AlignTB", "Visible", true));
  TStringList out;
  layout.GetStrings(&out);
  EXPECT_EQ(out.GetText(), lines.GetText());
  EXPECT_THROW(layout.UpdateFile(), EIniFileException);  // no file name

  layout.Rename(FFile, true);
  EXPECT_EQ(layout.ReadString("a", "y", ""), " 2 ");
  layout.Clear();
  EXPECT_FALSE(layout.SectionExists("a"));
}

}  // namespace
