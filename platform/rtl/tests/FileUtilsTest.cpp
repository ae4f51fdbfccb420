#include "platform/rtl/FileUtils.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "platform/rtl/Exceptions.h"

using namespace SysUtils;

namespace {

// 乗 is 81 5C: its trail byte looks like '\'.
const AnsiString kBackslashTrail = "乗";

TEST(FileNameTest, PartsOfNamesWithBothDelimitersAndDoubleByteCharacters)
{
  struct Case {
    AnsiString name, path, dir, file, ext;
  } cases[] = {
      {"/opt/pelto/cfg.ini", "/opt/pelto/", "/opt/pelto", "cfg.ini", ".ini"},
      {"C:\\合同\\报表.fr3", "C:\\合同\\", "C:\\合同", "报表.fr3", ".fr3"},
      {"data\\" + kBackslashTrail + ".txt", "data\\", "data", kBackslashTrail + ".txt", ".txt"},
      {"a/" + kBackslashTrail, "a/", "a", kBackslashTrail, ""},
      {"/root.txt", "/", "/", "root.txt", ".txt"},
      {"plain", "", "", "plain", ""},
      {"dir.d/file", "dir.d/", "dir.d", "file", ""},
      {"a.tar.gz", "", "", "a.tar.gz", ".gz"},
      {"x//y", "x//", "x//", "y", ""},
  };
  for (const Case& t : cases) {
    EXPECT_EQ(ExtractFilePath(t.name), t.path) << t.name;
    EXPECT_EQ(ExtractFileDir(t.name), t.dir) << t.name;
    EXPECT_EQ(ExtractFileName(t.name), t.file) << t.name;
    EXPECT_EQ(ExtractFileExt(t.name), t.ext) << t.name;
  }
}

TEST(FileNameTest, ChangingExtensionsAndTrailingDelimiters)
{
  EXPECT_EQ(ChangeFileExt("/opt/pelto/pelto", ".mdb"), "/opt/pelto/pelto.mdb");
  EXPECT_EQ(ChangeFileExt("report.fr3", ".prn"), "report.prn");
  EXPECT_EQ(ChangeFileExt("dir.d/report", ".fr3"), "dir.d/report.fr3");
  EXPECT_EQ(ChangeFileExt("a.b.c", ""), "a.b");

  EXPECT_EQ(IncludeTrailingPathDelimiter("/tmp"), "/tmp/");
  EXPECT_EQ(IncludeTrailingPathDelimiter("/tmp/"), "/tmp/");
  EXPECT_EQ(IncludeTrailingBackslash("C:\\data\\"), "C:\\data\\");
  EXPECT_EQ(IncludeTrailingPathDelimiter(kBackslashTrail), kBackslashTrail + "/");  // not a delimiter
  EXPECT_EQ(ExcludeTrailingPathDelimiter("/tmp/"), "/tmp");
  EXPECT_EQ(ExcludeTrailingBackslash("C:\\data\\"), "C:\\data");
  EXPECT_EQ(ExcludeTrailingPathDelimiter(kBackslashTrail), kBackslashTrail);
  EXPECT_EQ(ExcludeTrailingPathDelimiter("/"), "/");
}

TEST(FileNameTest, ExpandFileNameResolvesDotsAgainstTheCurrentFolder)
{
  EXPECT_EQ(ExpandFileName("/a/./b/../c//d"), "/a/c/d");
  EXPECT_EQ(ExpandFileName("/a/b/.."), "/a/");
  EXPECT_EQ(ExpandFileName("/../x"), "/x");
  EXPECT_EQ(ExpandFileName("/a/b/"), "/a/b/");
  AnsiString cwd = GetCurrentDir();
  EXPECT_EQ(ExpandFileName("x/../y.txt"), IncludeTrailingPathDelimiter(cwd) + "y.txt");
}

class FileSystemTest : public ::testing::Test {
protected:
  void SetUp() override
  {
    FDir = std::filesystem::temp_directory_path() / ("fileutils-" + std::to_string(::getpid()));
    std::filesystem::create_directories(FDir);
    FRoot = FDir.string();
  }
  void TearDown() override { std::filesystem::remove_all(FDir); }

  std::filesystem::path FDir;
  AnsiString FRoot;
};

TEST_F(FileSystemTest, FoldersAndFilesWithChineseNames)
{
  AnsiString deep = FRoot + "/合同/2026/报表";
  EXPECT_TRUE(ForceDirectories(deep + "/"));
  EXPECT_TRUE(std::filesystem::is_directory(FDir / u8"合同/2026/报表"));  // UTF-8 on disk
  EXPECT_TRUE(DirectoryExists(deep));
  EXPECT_TRUE(ForceDirectories(deep));  // already there
  EXPECT_FALSE(FileExists(deep));       // a folder is not a file
  EXPECT_THROW(ForceDirectories(""), EInOutError);

  AnsiString file = deep + "/甲方.txt";
  std::ofstream(FDir / u8"合同/2026/报表/甲方.txt") << "x";
  EXPECT_TRUE(FileExists(file));
  EXPECT_FALSE(DirectoryExists(file));
  EXPECT_FALSE(RemoveDir(deep));  // not empty

  std::ofstream(FDir / "other.txt") << "y";
  EXPECT_FALSE(RenameFile(file, FRoot + "/other.txt"));  // never overwrites
  EXPECT_TRUE(RenameFile(file, FRoot + "/乙方.txt"));
  EXPECT_FALSE(FileExists(file));
  EXPECT_TRUE(FileExists(FRoot + "/乙方.txt"));

  EXPECT_FALSE(DeleteFile(deep));  // not a file
  EXPECT_TRUE(DeleteFile(FRoot + "/乙方.txt"));
  EXPECT_FALSE(DeleteFile(FRoot + "/乙方.txt"));
  EXPECT_TRUE(RemoveDir(deep));
  EXPECT_FALSE(CreateDir(FRoot + "/no/parent"));
  EXPECT_TRUE(CreateDir(FRoot + "/one"));
}

TEST_F(FileSystemTest, LoadingRefusesMissingFilesAndFolders)
{
  AnsiString data = "kept";
  EXPECT_FALSE(LoadFileBytes(FRoot + "/missing/cfg.ini", data));
  EXPECT_FALSE(LoadFileBytes(FRoot, data));  // a folder
  EXPECT_EQ(data, "kept");
  std::ofstream(FDir / "cfg.ini", std::ios::binary) << std::string("a\0b", 3);
  ASSERT_TRUE(LoadFileBytes(FRoot + "/cfg.ini", data));
  EXPECT_EQ(data, AnsiString("a\0b", 3));
}

TEST_F(FileSystemTest, CurrentFolderFollowsSetCurrentDir)
{
  AnsiString before = GetCurrentDir();
  ASSERT_TRUE(SetCurrentDir(FRoot));
  EXPECT_EQ(GetCurrentDir(), std::filesystem::canonical(FDir).string());
  EXPECT_FALSE(SetCurrentDir(FRoot + "/nowhere"));
  ASSERT_TRUE(SetCurrentDir(before));
}

}  // namespace
