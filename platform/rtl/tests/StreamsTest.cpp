#include "platform/rtl/Streams.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <string>

#include "platform/rtl/Exceptions.h"

namespace {

class StreamsTest : public ::testing::Test {
protected:
  void SetUp() override
  {
    FDir = std::filesystem::temp_directory_path() / ("streams-" + std::to_string(::getpid()));
    std::filesystem::create_directories(FDir);
  }
  void TearDown() override { std::filesystem::remove_all(FDir); }
  AnsiString Path(const char* name) const { return (FDir / name).string(); }

  std::filesystem::path FDir;
};

AnsiString Bytes(TMemoryStream& s)
{
  return AnsiString(static_cast<const char*>(s.GetMemory()), static_cast<size_t>(s.GetSize()));
}

TEST_F(StreamsTest, ShortReadsAndFailedWritesRaise)
{
  TStringStream s("abc");
  char buf[8] = {};
  EXPECT_EQ(s.Read(buf, 8), 3);  // Read itself answers what it got
  s.SetPosition(1);
  try {
    s.ReadBuffer(buf, 3);
    FAIL();
  } catch (const EReadError& e) {
    EXPECT_STREQ(e.what(), "Stream read error");
  }
  s.ReadBuffer(buf, 0);  // nothing asked, nothing missing
  EXPECT_THROW(s.Seek(-1, soBeginning), EStreamError);

  TFileStream ro(Path("ro"), fmCreate);
  ro.WriteBuffer("xy", 2);
  TFileStream reader(Path("ro"), fmOpenRead | fmShareDenyNone);
  try {
    reader.WriteBuffer("z", 1);
    FAIL();
  } catch (const EWriteError& e) {
    EXPECT_STREQ(e.what(), "Stream write error");
  }
}

TEST_F(StreamsTest, FileOpenErrorsNameTheFileAndTheCause)
{
  try {
    TFileStream s(Path("missing"), fmOpenRead);
    FAIL();
  } catch (const EFOpenError& e) {
    EXPECT_EQ(e.Message(), "Cannot open file \"" + Path("missing") + "\". No such file or directory");
  }
  try {
    TFileStream s(Path("no/such/dir/f"), fmCreate);
    FAIL();
  } catch (const EFCreateError& e) {
    EXPECT_EQ(e.Message().rfind("Cannot create file \"" + Path("no/such/dir/f") + "\". ", 0), 0u);
  }
  EXPECT_THROW(TFileStream(FDir.string(), fmOpenRead), EFOpenError);  // a folder is no file
}

TEST_F(StreamsTest, FileStreamWritesSeeksAndTruncates)
{
  AnsiString name = Path("合同.dat");
  {
    TFileStream s(name, fmCreate | fmShareExclusive);
    s.WriteBuffer("hello world", 11);
    EXPECT_EQ(s.GetSize(), 11);
    s.Seek(-5, soEnd);
    s.WriteBuffer("WORLD", 5);
    EXPECT_EQ(s.GetPosition(), 11);
  }
  EXPECT_TRUE(std::filesystem::exists(FDir / u8"合同.dat"));
  {
    TFileStream s(name, fmOpenReadWrite);
    char buf[12] = {};
    s.ReadBuffer(buf, 11);
    EXPECT_STREQ(buf, "hello WORLD");
    s.SetSize(5);
    EXPECT_EQ(s.GetPosition(), 5);
    s.Seek(2, soFromBeginning);
    s.Seek(1, soCurrent);
    EXPECT_EQ(s.GetPosition(), 3);
  }
  TMemoryStream m;
  m.LoadFromFile(name);
  EXPECT_EQ(Bytes(m), "hello");
  {
    TFileStream s(name, fmCreate);  // fmCreate empties an existing file
  }
  EXPECT_EQ(std::filesystem::file_size(FDir / u8"合同.dat"), 0u);
}

TEST_F(StreamsTest, MemoryStreamGrowsInBlocksAndZeroFillsGaps)
{
  TMemoryStream m;
  m.WriteBuffer("abc", 3);
  EXPECT_EQ(m.GetCapacity(), 8192);
  m.Seek(6, soBeginning);  // past the end: the gap reads as zeros
  m.WriteBuffer("z", 1);
  EXPECT_EQ(Bytes(m), AnsiString("abc\0\0\0z", 7));
  m.SetSize(2);
  EXPECT_EQ(m.GetPosition(), 2);
  m.SetSize(4);  // bytes cut off earlier don't come back
  EXPECT_EQ(Bytes(m), AnsiString("ab\0\0", 4));
  std::string big(20000, 'x');
  m.SetPosition(0);
  m.WriteBuffer(big.data(), static_cast<Int64>(big.size()));
  EXPECT_EQ(m.GetCapacity(), 24576);
  m.Clear();
  EXPECT_EQ(m.GetSize(), 0);
  EXPECT_EQ(m.GetMemory(), nullptr);
  char c;
  EXPECT_EQ(m.Read(&c, 1), 0);
}

TEST_F(StreamsTest, CopyFromWithZeroCopiesTheWholeSource)
{
  TStringStream source("0123456789");
  source.SetPosition(7);
  TMemoryStream dest;
  EXPECT_EQ(dest.CopyFrom(&source, 0), 10);
  EXPECT_EQ(Bytes(dest), "0123456789");

  source.SetPosition(2);
  TMemoryStream part;
  EXPECT_EQ(part.CopyFrom(&source, 3), 3);
  EXPECT_EQ(Bytes(part), "234");
  EXPECT_THROW(part.CopyFrom(&source, 50), EReadError);

  std::string big(200000, 'q');  // more than one buffer
  TStringStream large(big);
  TMemoryStream all;
  all.CopyFrom(&large, 0);
  EXPECT_EQ(Bytes(all), big);

  all.SaveToFile(Path("copy"));
  TMemoryStream reread;
  reread.LoadFromFile(Path("copy"));
  EXPECT_EQ(reread.GetSize(), 200000);
}

TEST_F(StreamsTest, StringStreamOverwritesAndExtends)
{
  TStringStream s("合同金额");
  EXPECT_EQ(s.GetSize(), 8);
  EXPECT_EQ(s.ReadString(4), "合同");
  s.WriteString("XY");  // overwrites one character's bytes, keeps the rest
  EXPECT_EQ(s.GetDataString(), "合同XY额");
  s.Seek(0, soEnd);
  s.WriteString("!");
  EXPECT_EQ(s.GetDataString(), "合同XY额!");
  EXPECT_EQ(s.ReadString(5), "");
  s.SetSize(4);
  EXPECT_EQ(s.GetDataString(), "合同");
  EXPECT_EQ(s.GetPosition(), 4);
}

}  // namespace
