#include "platform/rtl/Registry.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FileUtils.h"
#include "platform/rtl/SaveSeam.h"
#include "platform/rtl/StringList.h"
#include "platform/rtl/tests/RtlTestUtil.h"

namespace {

using RtlTest::Lines;

const char* const kConnectTo = "\\SOFTWARE\\Microsoft\\MSSQLServer\\Client\\ConnectTo";

class RegistryTest : public ::testing::Test {
protected:
  void SetUp() override
  {
    FDir = std::filesystem::temp_directory_path() / ("registry-" + std::to_string(::getpid()));
    std::filesystem::create_directories(FDir);
    FStore = (FDir / "sub" / "registry").string();
    Registry::SetStoreFile(FStore);
  }
  void TearDown() override
  {
    Registry::SetStoreFile("");
    std::filesystem::remove_all(FDir);
  }
  AnsiString StoreText() const
  {
    AnsiString text;
    SysUtils::LoadFileBytes(FStore, text);
    return text;
  }

  std::filesystem::path FDir;
  AnsiString FStore;
};

TEST_F(RegistryTest, MissingAndMistypedValuesRaiseExceptStrings)
{
  TRegistry reg;
  ASSERT_TRUE(reg.OpenKey("\\Software\\Pelto", true));
  EXPECT_FALSE(reg.ValueExists("none"));
  EXPECT_EQ(reg.ReadString("none"), "");  // a missing string reads as empty
  EXPECT_EQ(reg.GetDataSize("none"), -1);
  EXPECT_EQ(reg.GetDataType("none"), rdUnknown);
  try {
    reg.ReadInteger("none");
    FAIL();
  } catch (const ERegistryException& e) {
    EXPECT_STREQ(e.what(), "Failed to get data for 'none'");
  }
  reg.WriteString("text", "abc");
  reg.WriteInteger("number", 5);
  try {
    reg.ReadInteger("text");
    FAIL();
  } catch (const ERegistryException& e) {
    EXPECT_STREQ(e.what(), "Invalid data type for 'text'");
  }
  EXPECT_THROW(reg.ReadString("number"), ERegistryException);
  EXPECT_THROW(reg.ReadFloat("number"), ERegistryException);
  char small[2];
  reg.WriteBinaryData("blob", "12345", 5);
  EXPECT_THROW(reg.ReadBinaryData("blob", small, 2), ERegistryException);
}

TEST_F(RegistryTest, ValuesOfEveryTypeSurviveAFreshObjectAndAReloadFromTheFile)
{
  const AnsiString awkward = AnsiString(" \"合同\"=[x]\\%41\r\n#\tend \0", 23);
  {
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey("Software\\Lanyue Reports\\Form.TfrxDesignerForm", true));
    reg.WriteString("ScriptFontName", "Courier New");
    reg.WriteString("", "default value");
    reg.WriteString("名称", awkward);
    reg.WriteExpandString("Path", "%HOME%/x");
    reg.WriteInteger("Units", -2);
    reg.WriteBool("ShowGrid", true);
    reg.WriteFloat("Scale", 0.75);
    reg.WriteDateTime("When", TDateTime(46000.25));
    reg.WriteBinaryData("Data", "\x00\x01\xFF", 3);
    reg.WriteString(AnsiString("\xFF\x80", 2), "bytes CP936 can't decode");
  }
  auto check = [&](TRegistry& reg) {
    ASSERT_TRUE(reg.OpenKeyReadOnly("\\software\\LANYUE REPORTS\\form.tfrxdesignerform"));
    EXPECT_EQ(reg.ReadString("scriptfontname"), "Courier New");
    EXPECT_EQ(reg.ReadString(""), "default value");
    EXPECT_EQ(reg.ReadString("名称"), awkward);
    EXPECT_EQ(reg.ReadString("path"), "%HOME%/x");
    EXPECT_EQ(reg.GetDataType("Path"), rdExpandString);
    EXPECT_EQ(reg.ReadInteger("Units"), -2);
    EXPECT_TRUE(reg.ReadBool("ShowGrid"));
    EXPECT_DOUBLE_EQ(reg.ReadFloat("Scale"), 0.75);
    EXPECT_DOUBLE_EQ(reg.ReadDateTime("When"), 46000.25);
    char buf[8] = {};
    EXPECT_EQ(reg.ReadBinaryData("Data", buf, sizeof buf), 3);
    EXPECT_EQ(AnsiString(buf, 3), AnsiString("\x00\x01\xFF", 3));
    EXPECT_EQ(reg.ReadString(AnsiString("\xFF\x80", 2)), "bytes CP936 can't decode");
    EXPECT_EQ(reg.GetDataSize("ScriptFontName"), 12);  // with its terminating NUL
    EXPECT_EQ(reg.GetDataSize("Units"), 4);
  };
  TRegistry fresh;
  check(fresh);
  // A second process writes the file: simulated by rewriting it byte for byte, which the
  // store notices and reloads.
  AnsiString text = StoreText();
  std::filesystem::remove(FStore);
  SaveSeam::SaveFile(FStore, text);
  TRegistry reloaded;
  check(reloaded);
}

TEST_F(RegistryTest, StoreFileIsReadableText)
{
  TRegistry reg(KEY_WRITE);
  reg.SetRootKey(HKEY_LOCAL_MACHINE);
  ASSERT_TRUE(reg.OpenKey(kConnectTo, true));
  reg.WriteString("dbhost", "DBMSSOCN,dbhost,1433");
  reg.WriteInteger("count", 3);
  AnsiString text = StoreText();
  EXPECT_NE(text.find("[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\MSSQLServer\\Client\\ConnectTo]\n"
                      "\"dbhost\"=sz:\"DBMSSOCN,dbhost,1433\"\n"
                      "\"count\"=dword:3\n"),
            AnsiString::npos)
      << text;
}

TEST_F(RegistryTest, WritesOfOneObjectShowInAnotherAtOnce)
{
  TRegistry writer, reader;
  writer.SetRootKey(HKEY_LOCAL_MACHINE);
  reader.SetRootKey(HKEY_LOCAL_MACHINE);
  ASSERT_TRUE(writer.OpenKey(kConnectTo, true));
  ASSERT_TRUE(reader.OpenKey(kConnectTo, false));
  writer.WriteString("srv", "DBMSSOCN,srv,1433");
  EXPECT_EQ(reader.ReadString("SRV"), "DBMSSOCN,srv,1433");
  EXPECT_TRUE(writer.DeleteValue("srv"));
  EXPECT_FALSE(reader.ValueExists("srv"));
  EXPECT_FALSE(reader.DeleteValue("srv"));
}

TEST_F(RegistryTest, KeyPathsRelativeAbsoluteAndTheirListing)
{
  TRegistry reg;
  EXPECT_EQ(reg.GetCurrentKey(), 0u);
  EXPECT_FALSE(reg.OpenKey("\\Software\\A", false));
  ASSERT_TRUE(reg.OpenKey("\\Software\\A", true));
  EXPECT_EQ(reg.GetCurrentPath(), "Software\\A");
  ASSERT_TRUE(reg.OpenKey("B\\C", true));  // relative to the open key
  EXPECT_EQ(reg.GetCurrentPath(), "Software\\A\\B\\C");
  EXPECT_TRUE(reg.CreateKey("D"));
  EXPECT_EQ(reg.GetCurrentPath(), "Software\\A\\B\\C");  // CreateKey doesn't open
  EXPECT_TRUE(reg.KeyExists("\\software\\a\\b\\c\\d"));
  EXPECT_TRUE(reg.HasSubKeys());

  ASSERT_TRUE(reg.OpenKey("\\Software\\A", false));
  reg.CreateKey("合同");
  reg.CreateKey("乗");  // a trail byte that looks like '\' is no separator
  TStringList names;
  reg.GetKeyNames(&names);
  EXPECT_EQ(Lines(names), (std::vector<AnsiString>{"B", "合同", "乗"}));
  reg.WriteString("v2", "");
  reg.WriteString("v1", "");
  reg.GetValueNames(&names);
  EXPECT_EQ(Lines(names), (std::vector<AnsiString>{"v2", "v1"}));
  // The same after the store reloads the file.
  AnsiString text = StoreText();
  std::filesystem::remove(FStore);
  SaveSeam::SaveFile(FStore, text);
  reg.GetKeyNames(&names);
  EXPECT_EQ(Lines(names), (std::vector<AnsiString>{"B", "合同", "乗"}));
  reg.GetValueNames(&names);
  EXPECT_EQ(Lines(names), (std::vector<AnsiString>{"v2", "v1"}));

  EXPECT_TRUE(reg.DeleteKey("B"));  // with its subkeys
  EXPECT_FALSE(reg.KeyExists("B\\C\\D"));
  EXPECT_FALSE(reg.DeleteKey("B"));
  reg.CloseKey();
  EXPECT_EQ(reg.GetCurrentPath(), "");
  EXPECT_TRUE(reg.KeyExists("Software\\A\\乗"));

  reg.SetRootKey(HKEY_USERS);  // keys are per root
  EXPECT_FALSE(reg.KeyExists("Software\\A"));
}

TEST_F(RegistryTest, ReadOnlyKeysAndDeletedKeysRefuseWrites)
{
  TRegistry reg;
  ASSERT_TRUE(reg.OpenKey("\\Software\\RO", true));
  reg.WriteInteger("x", 1);
  ASSERT_TRUE(reg.OpenKeyReadOnly("\\Software\\RO"));
  try {
    reg.WriteInteger("x", 2);
    FAIL();
  } catch (const ERegistryException& e) {
    EXPECT_STREQ(e.what(), "Failed to set data for 'x'");
  }
  EXPECT_EQ(reg.ReadInteger("x"), 1);
  EXPECT_FALSE(reg.OpenKeyReadOnly("\\Software\\Missing"));

  TRegistry other;
  ASSERT_TRUE(other.OpenKey("\\Software\\RO", false));
  TRegistry deleter;
  ASSERT_TRUE(deleter.DeleteKey("\\Software\\RO"));
  EXPECT_THROW(other.WriteInteger("x", 3), ERegistryException);
  EXPECT_FALSE(deleter.KeyExists("\\Software\\RO"));  // not brought back by the failed write
}

TEST_F(RegistryTest, TheStoreFileComesFromTheOverrideTheEnvironmentOrTheConfigFolder)
{
  // Puts the variable back as it was when the test ends.
  struct SavedEnv {
    const char* Name;
    bool Had;
    std::string Value;
    explicit SavedEnv(const char* name)
        : Name(name), Had(std::getenv(name) != nullptr), Value(Had ? std::getenv(name) : "")
    {}
    ~SavedEnv() { Had ? ::setenv(Name, Value.c_str(), 1) : ::unsetenv(Name); }
  } savedFile("PELTO_REGISTRY_FILE"), savedConfig("XDG_CONFIG_HOME"), savedHome("HOME");

  EXPECT_EQ(Registry::GetStoreFile(), FStore);
  Registry::SetStoreFile("");
  ::setenv("PELTO_REGISTRY_FILE", "/tmp/elsewhere", 1);
  EXPECT_EQ(Registry::GetStoreFile(), "/tmp/elsewhere");
  ::unsetenv("PELTO_REGISTRY_FILE");
  ::setenv("XDG_CONFIG_HOME", FDir.c_str(), 1);
  EXPECT_EQ(Registry::GetStoreFile(), FDir.string() + "/pelto/registry");
  ::unsetenv("XDG_CONFIG_HOME");
  ::setenv("HOME", "/home/someone", 1);
  EXPECT_EQ(Registry::GetStoreFile(), "/home/someone/.config/pelto/registry");
  Registry::SetStoreFile(FStore);
}

}  // namespace

namespace {

TEST_F(RegistryTest, RegistryIniFileKeepsSectionsAsSubkeys)
{
  {
    TRegistryIniFile ini("\\Software\\Lanyue Reports");
    ini.WriteFloat("Form.TfrxDesignerForm", "Scale", 0.75);
    ini.WriteBool("Form.TfrxDesignerForm", "ShowGrid", false);
    ini.WriteString("Form.TfrxDesignerForm", "RecentFiles", "\"a b.fr3\",c.fr3");
    ini.WriteInteger("Form.TfrxObjectInspector", "SplitPos", 75);
  }
  TRegistryIniFile ini("\\software\\lanyue reports");
  EXPECT_DOUBLE_EQ(ini.ReadFloat("form.tfrxdesignerform", "scale", 1), 0.75);
  EXPECT_FALSE(ini.ReadBool("Form.TfrxDesignerForm", "ShowGrid", true));
  EXPECT_TRUE(ini.ReadBool("Form.TfrxDesignerForm", "GridAlign", true));  // missing: the default
  EXPECT_EQ(ini.ReadString("Form.TfrxDesignerForm", "RecentFiles", ""), "\"a b.fr3\",c.fr3");
  EXPECT_EQ(ini.ReadInteger("Form.TfrxObjectInspector", "SplitPos", 0), 75);
  EXPECT_EQ(ini.ReadString("Form.TfrxObjectInspector", "SplitPos", ""), "75");  // an integer as text

  TStringList list;
  ini.ReadSections(&list);
  EXPECT_EQ(Lines(list), (std::vector<AnsiString>{"Form.TfrxDesignerForm", "Form.TfrxObjectInspector"}));
  ini.ReadSectionValues("Form.TfrxObjectInspector", &list);
  EXPECT_EQ(Lines(list), (std::vector<AnsiString>{"SplitPos=75"}));

  TRegistry reg;
  ASSERT_TRUE(reg.OpenKey("\\Software\\Lanyue Reports\\Form.TfrxObjectInspector", false));
  EXPECT_EQ(reg.ReadInteger("SplitPos"), 75);

  ini.DeleteKey("Form.TfrxObjectInspector", "SplitPos");
  EXPECT_FALSE(ini.ValueExists("Form.TfrxObjectInspector", "SplitPos"));
  ini.EraseSection("Form.TfrxDesignerForm");
  EXPECT_FALSE(ini.SectionExists("Form.TfrxDesignerForm"));
  EXPECT_TRUE(ini.SectionExists("Form.TfrxObjectInspector"));

  TRegistryIniFile readOnly("\\Software\\Nothing", KEY_READ);
  EXPECT_EQ(readOnly.ReadString("s", "k", "d"), "d");
  EXPECT_THROW(readOnly.WriteString("s", "k", "v"), ERegistryException);
  EXPECT_FALSE(reg.KeyExists("\\Software\\Nothing"));
}

}  // namespace
