#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FileUtils.h"
#include "platform/sys/AppPaths.h"
#include "platform/sys/Processes.h"
#include "platform/sys/ShellApi.h"

namespace {

// A scratch folder (with a Chinese name, so the UTF-8 boundary is crossed) removed afterwards.
class ShellTest : public ::testing::Test {
protected:
  void SetUp() override
  {
    Dir = AppPaths::TempDir() + "壳测试" + std::to_string(getpid());
    ASSERT_TRUE(SysUtils::ForceDirectories(Dir));
    Log = Dir + "/args.txt";
    // Writes each argument on its own line to the log; the recorder stands in for xdg-open.
    Recorder = Dir + "/recorder.sh";
    WriteFile(Recorder,
              "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > \"$0.log.tmp\" && mv \"$0.log.tmp\" \"" +
                  System::AnsiToUtf8(Log) + "\"\n");
    chmod(System::AnsiToUtf8(Recorder).c_str(), 0755);
    ShellApi::SetOpener(Recorder);
  }
  void TearDown() override
  {
    ShellApi::SetOpener("");
    Processes::RunProgram("rm", {"-rf", Dir});
  }
  static void WriteFile(const AnsiString& name, const std::string& bytes)
  {
    std::unique_ptr<FILE, int (*)(FILE*)> f(fopen(System::AnsiToUtf8(name).c_str(), "wb"), fclose);
    fwrite(bytes.data(), 1, bytes.size(), f.get());
  }
  // The recorder runs in the background; its log appears in one rename.
  AnsiString WaitForLog()
  {
    AnsiString data;
    for (int i = 0; i < 500 && !SysUtils::LoadFileBytes(Log, data); ++i) usleep(20000);
    return System::Utf8ToAnsi(data);
  }
  AnsiString Dir, Log, Recorder;
};

TEST_F(ShellTest, ProgramPathAndFolderAreThoseOfTheRunningExecutable)
{
  AnsiString exe = AppPaths::ExeName();
  EXPECT_EQ(SysUtils::ExtractFileName(exe), "platform_sys_tests");
  EXPECT_EQ(AppPaths::ExeDir() + "/platform_sys_tests", exe);
  EXPECT_TRUE(SysUtils::DirectoryExists(AppPaths::ExeDir()));
}

TEST_F(ShellTest, TemporaryFilesAreNewAndDistinct)
{
  AnsiString a = AppPaths::CreateTempFile("合同", Dir, ".xls");
  AnsiString b = AppPaths::CreateTempFile("合同", Dir, ".xls");
  EXPECT_NE(a, b);
  for (const auto& n : {a, b}) {
    EXPECT_TRUE(SysUtils::FileExists(n));
    EXPECT_EQ(SysUtils::ExtractFileName(n).substr(0, 4), "合同");
    EXPECT_EQ(SysUtils::ExtractFileExt(n), ".xls");
  }
  EXPECT_EQ(AppPaths::TempDir().back(), '/');
  EXPECT_THROW(AppPaths::CreateTempFile("x", Dir + "/missing"), EInOutError);
}

TEST_F(ShellTest, RunProgramPassesArgumentsWithoutAShell)
{
  // A shell would expand these; the program must receive them as they stand.
  AnsiString out = Dir + "/out.txt";
  int rc = Processes::RunProgram("sh", {"-c", "printf '%s|' \"$@\" > \"$0\"", out, "$HOME", "a b", "*", "合同;rm"});
  EXPECT_EQ(rc, 0);
  AnsiString data;
  ASSERT_TRUE(SysUtils::LoadFileBytes(out, data));
  EXPECT_EQ(System::Utf8ToAnsi(data), "$HOME|a b|*|合同;rm|");
  EXPECT_EQ(Processes::RunProgram("sh", {"-c", "exit 3"}), 3);
  EXPECT_EQ(Processes::RunProgram("sh", {"-c", "test \"$(pwd)\" = \"$0\"", Dir}, Dir), 0);
}

TEST_F(ShellTest, StartingAMissingProgramRaises)
{
  EXPECT_THROW(Processes::StartProgram("/nonexistent/program", {}), EOSError);
  EXPECT_THROW(Processes::RunProgram("no-such-program-h13", {}), EOSError);
  EXPECT_THROW(Processes::RunProgram("sh", {"-c", "true"}, Dir + "/missing"), EOSError);
}

TEST_F(ShellTest, ShellOpenHandsFoldersAndLinksToTheOpenerUnchanged)
{
  struct Case {
    AnsiString Target;
    bool Expected;
  };
  const Case cases[] = {
      {"mailto:support@example.com?subject=关于技术问题", true},
      {"http://www.example.com/a b", true},
      {"", false},
  };
  for (const auto& c : cases) {
    SysUtils::DeleteFile(Log);
    EXPECT_EQ(ShellApi::ShellOpen(c.Target), c.Expected) << c.Target;
    if (c.Expected) {
      EXPECT_EQ(WaitForLog(), c.Target + "\n");
    }
  }
  SysUtils::DeleteFile(Log);
  EXPECT_TRUE(ShellApi::ShellOpen(Dir));
  EXPECT_EQ(WaitForLog(), Dir + "\n");
  // A local name that does not exist is refused without starting anything.
  EXPECT_FALSE(ShellApi::ShellOpen(Dir + "/missing.htm"));
}

TEST_F(ShellTest, ShellExecuteMapsTheWindowsProgramsAndReportsMissingFiles)
{
  WriteFile(Dir + "/pelto.chm", "help");
  EXPECT_EQ(ShellApi::ShellExecute("open", "hh.exe", "pelto.chm", Dir), ShellApi::SE_OK);
  EXPECT_EQ(WaitForLog(), Dir + "/pelto.chm\n");
  SysUtils::DeleteFile(Log);
  EXPECT_EQ(ShellApi::ShellExecute("Open", Dir + "/pelto.chm"), ShellApi::SE_OK);
  EXPECT_EQ(WaitForLog(), Dir + "/pelto.chm\n");
  EXPECT_EQ(ShellApi::ShellExecute("open", Dir + "/none.htm"), ShellApi::SE_ERR_FNF);
  EXPECT_EQ(ShellApi::ShellExecute("print", Dir + "/pelto.chm"), ShellApi::SE_ERR_NOASSOC);
  // An executable is started itself, with its parameters split at blanks.
  SysUtils::DeleteFile(Log);
  EXPECT_EQ(ShellApi::ShellExecute("", Recorder, "one \"two three\""), ShellApi::SE_OK);
  EXPECT_EQ(WaitForLog(), "one\ntwo three\n");
}

TEST_F(ShellTest, HelpAddressesOpenThePageOfTheHelpFolder)
{
  struct Case {
    AnsiString Address, Page;
  } cases[] = {
      {"mk:@MSITStore:/opt/pelto/pelto.chm::UserEditor.htm", "/opt/pelto/help/UserEditor.htm"},
      {"mk:@MSITStore:/opt/合同 系统/pelto.chm::/faq.htm", "/opt/合同 系统/help/faq.htm"},
      {"mk:@MSITStore:/opt/pelto/pelto.chm", "mk:@MSITStore:/opt/pelto/pelto.chm"},
      {"pelto.chm", "pelto.chm"},
  };
  for (const Case& c : cases) EXPECT_EQ(ShellApi::HelpPage(c.Address), c.Page) << c.Address;

  // The program-start call with a folder holding a blank: the page is opened whole.
  AnsiString folder = Dir + "/程序 目录";
  ASSERT_TRUE(SysUtils::ForceDirectories(folder + "/help"));
  WriteFile(folder + "/help/main.htm", "<html></html>");
  EXPECT_EQ(ShellApi::WinExec("hh.exe mk:@MSITStore:" + folder + "/pelto.chm::main.htm"), ShellApi::SE_OK);
  EXPECT_EQ(WaitForLog(), folder + "/help/main.htm\n");
  EXPECT_EQ(ShellApi::WinExec("hh.exe mk:@MSITStore:" + folder + "/pelto.chm::none.htm"), ShellApi::SE_ERR_FNF);
  EXPECT_EQ(ShellApi::WinExec("   "), ShellApi::SE_ERR_FNF);
}

}  // namespace
