#include "platform/rtl/SaveSeam.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/IniFiles.h"
#include "platform/rtl/Registry.h"
#include "platform/rtl/StringList.h"
#include "platform/rtl/tests/SaveFaultTable.h"

namespace fs = std::filesystem;
using SaveFaultTable::Listing;
using SaveFaultTable::ReadBytes;
using SaveFaultTable::WriteBytes;
using SaveSeam::TSaveStep;

namespace {

class SaveSeamTest : public ::testing::Test {
protected:
  void SetUp() override
  {
    FDir = fs::temp_directory_path() / ("saveseam-" + std::to_string(::getpid()));
    fs::remove_all(FDir);
    fs::create_directories(FDir);
  }
  void TearDown() override
  {
    Registry::SetStoreFile("");
    fs::remove_all(FDir);
  }
  AnsiString Name(const char* file) const { return (FDir / file).string(); }

  fs::path FDir;
};

// Bytes that differ everywhere, so a shifted or partial copy shows.
std::string Pattern(size_t size, unsigned seed)
{
  std::string s(size, '\0');
  for (size_t i = 0; i < size; ++i) s[i] = static_cast<char>((i * 131 + seed * 7 + i / 251) & 0xFF);
  return s;
}

TEST_F(SaveSeamTest, MissingFolderOrAFolderAsTargetRaiseNamingTheFile)
{
  for (AnsiString name : {Name("missing/cfg.ini"), Name("")}) {
    try {
      SaveSeam::SaveFile(name, "x");
      ADD_FAILURE() << "saved to " << name;
    } catch (const EFCreateError& e) {
      EXPECT_EQ(e.Message().rfind("Cannot create file \"" + name + "\". ", 0), 0u) << e.Message();
    }
  }
  EXPECT_THROW(SaveSeam::SaveFile("", "x"), EFCreateError);
  EXPECT_TRUE(fs::is_directory(FDir));
  EXPECT_TRUE(Listing(FDir).empty());
}

TEST_F(SaveSeamTest, ReplacesTheContentKeepingPermissions)
{
  AnsiString file = Name("报表.fr3");  // CP936 here, UTF-8 on disk
  fs::path onDisk = FDir / u8"报表.fr3";
  SaveSeam::SaveFile(file, AnsiString("a\0b", 3));
  EXPECT_EQ(ReadBytes(onDisk), std::string("a\0b", 3));
  mode_t mask = ::umask(0);
  ::umask(mask);
  EXPECT_EQ(fs::status(onDisk).permissions(), static_cast<fs::perms>(0644 & ~mask));

  fs::permissions(onDisk, fs::perms::owner_read | fs::perms::owner_write);
  SaveSeam::SaveFile(file, "second");
  EXPECT_EQ(ReadBytes(onDisk), "second");
  EXPECT_EQ(fs::status(onDisk).permissions(), fs::perms::owner_read | fs::perms::owner_write);
  EXPECT_EQ(Listing(FDir).size(), 1u);
}

TEST_F(SaveSeamTest, ALinkStaysALinkAndTheFileBehindItIsReplaced)
{
  fs::create_directories(FDir / "real");
  WriteBytes(FDir / "real" / "cfg.ini", "old");
  fs::create_symlink("real/cfg.ini", FDir / "cfg.ini");
  SaveSeam::SaveFile(Name("cfg.ini"), "new");
  EXPECT_TRUE(fs::is_symlink(FDir / "cfg.ini"));
  EXPECT_EQ(ReadBytes(FDir / "real" / "cfg.ini"), "new");
  EXPECT_EQ(Listing(FDir / "real"), std::set<std::string>{"cfg.ini"});

  // A link to a file not yet there creates that file.
  fs::create_symlink(FDir / "real" / "later.ini", FDir / "later.ini");
  SaveSeam::SaveFile(Name("later.ini"), "made");
  EXPECT_TRUE(fs::is_symlink(FDir / "later.ini"));
  EXPECT_EQ(ReadBytes(FDir / "real" / "later.ini"), "made");

  WriteBytes(FDir / "real" / "cfg.ini", "old");
  {
    SaveSeam::TScopedSaveFaults faults;
    faults.FailAt(TSaveStep::Rename, 1);
    EXPECT_THROW(SaveSeam::SaveFile(Name("cfg.ini"), "lost"), EFCreateError);
  }
  EXPECT_EQ(ReadBytes(FDir / "real" / "cfg.ini"), "old");
  EXPECT_EQ(Listing(FDir / "real"), (std::set<std::string>{"cfg.ini", "later.ini"}));
}

TEST_F(SaveSeamTest, AWriterThatRaisesOrNeverCommitsChangesNothing)
{
  AnsiString file = Name("vars.fd3");
  WriteBytes(file.c_str(), "old");
  EXPECT_THROW(SaveSeam::SaveStream(file,
                                    [](TStream* s) {
                                      std::string big = Pattern(1 << 20, 1);
                                      s->WriteBuffer(big.data(), static_cast<Int64>(big.size()));
                                      throw EWriteError("Stream write error");
                                    }),
               EWriteError);
  {
    SaveSeam::TSaveStream s(file);
    s.WriteBuffer("abandoned", 9);
  }
  EXPECT_EQ(ReadBytes(file), "old");
  EXPECT_EQ(Listing(FDir).size(), 1u);
}

TEST_F(SaveSeamTest, AStreamCanSeekBackAndReadWhatItWrote)
{
  // Writers that patch a length in front once they know it.
  AnsiString file = Name("prepared.fp3");
  std::string body = Pattern(700000, 2);  // past the stream's buffer
  SaveSeam::TSaveStream s(file);
  s.WriteBuffer("????", 4);
  s.WriteBuffer(body.data(), static_cast<Int64>(body.size()));
  EXPECT_EQ(s.GetPosition(), 4 + static_cast<Int64>(body.size()));
  EXPECT_EQ(s.GetSize(), 4 + static_cast<Int64>(body.size()));
  s.SetPosition(0);
  s.WriteBuffer("LEN:", 4);
  s.SetPosition(4);
  char first[3];
  s.ReadBuffer(first, 3);
  EXPECT_EQ(std::string(first, 3), body.substr(0, 3));
  s.Seek(0, soEnd);
  s.WriteBuffer("end", 3);
  EXPECT_FALSE(fs::exists(file.c_str()));  // nothing shows before the commit
  s.Commit();
  EXPECT_EQ(ReadBytes(file), "LEN:" + body + "end");
  EXPECT_THROW(s.Commit(), EStreamError);
}

TEST_F(SaveSeamTest, ScopedInstallersNestAndPutThePreviousBack)
{
  SaveSeam::TSaveFileSystem* before = &SaveSeam::Current();
  {
    SaveSeam::TScopedSaveFaults outer;
    outer.FailAt(TSaveStep::Rename, 2);
    {
      SaveSeam::TScopedSaveFaults inner;  // passes on to the outer one
      SaveSeam::SaveFile(Name("a"), "1");
      EXPECT_THROW(SaveSeam::SaveFile(Name("a"), "2"), EFCreateError);
      EXPECT_EQ(inner.Calls(TSaveStep::Rename), 2);
    }
    EXPECT_EQ(outer.Calls(TSaveStep::Rename), 2);
    EXPECT_EQ(outer.Calls(TSaveStep::Create), 2);
    EXPECT_EQ(outer.BytesWritten(), 2);
  }
  EXPECT_EQ(&SaveSeam::Current(), before);
  EXPECT_EQ(ReadBytes(Name("a")), "1");
}

TEST_F(SaveSeamTest, AFullDiskKeepsWhatFitsAndFailsTheRest)
{
  SaveSeam::TScopedSaveFaults faults;
  faults.DiskFullAfter(100);
  EXPECT_THROW(SaveSeam::SaveFile(Name("big"), Pattern(1000, 3)), EFCreateError);
  EXPECT_EQ(faults.BytesWritten(), 100);
  faults.Reset();
  SaveSeam::SaveFile(Name("big"), Pattern(1000, 3));
  EXPECT_EQ(ReadBytes(Name("big")), Pattern(1000, 3));
}

// ---- The run-time library's writers under faults --------------------------------------------

TEST_F(SaveSeamTest, RunTimeLibraryWritersLoseNothingUnderFaults)
{
  const std::string old = "[db]\r\nold=1\r\n";
  TStringList lines;
  lines.SetText("第一行\r\n" + Pattern(600000, 4));
  TMemoryStream memory;
  std::string big = Pattern(3 << 20, 5);  // several writes
  memory.WriteBuffer(big.data(), static_cast<Int64>(big.size()));
  TMemIniFile mem(Name("mem.ini"));
  mem.WriteString("db", "ConnStr", "Provider=Microsoft.Jet.OLEDB.4.0");
  const AnsiString store = Name("registry");
  Registry::SetStoreFile(store);
  {
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey("\\Software\\Pelto", true));  // makes the store and its lock file
  }
  const std::string storeText = ReadBytes(store);

  struct Case {
    const char* File;
    std::function<void()> Save;
    std::string Expected;
    bool NamesTheFile = true;
  } cases[] = {
      {"lines.txt", [&] { lines.SaveToFile(Name("lines.txt")); }, lines.GetText()},
      {"memory.bin", [&] { memory.SaveToFile(Name("memory.bin")); }, big},
      {"whole.bin", [&] { SaveSeam::SaveFile(Name("whole.bin"), big); }, big},
      {"mem.ini", [&] { mem.UpdateFile(); }, "[db]\r\nConnStr=Provider=Microsoft.Jet.OLEDB.4.0\r\n"},
      {"cfg.ini", [&] { TIniFile(Name("cfg.ini")).WriteString("db", "new", "2"); }, old + "new=2\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.File);
    SaveFaultTable::Run({FDir / c.File, old, c.Save, c.Expected, Name(c.File), c.NamesTheFile});
  }
  // The settings store keeps the registry's own error texts.
  auto writeFont = [] {
    TRegistry reg;
    reg.OpenKey("\\Software\\Pelto", true);
    reg.WriteString("Font", "宋体");
  };
  writeFont();
  const std::string storeAfter = ReadBytes(store);
  ASSERT_NE(storeAfter, storeText);
  int writes = SaveFaultTable::Run({fs::path(store.c_str()), storeText, writeFont, storeAfter, "", false});
  EXPECT_EQ(writes, 1);
}

}  // namespace
