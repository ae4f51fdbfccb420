#include <gtest/gtest.h>
#include <zlib.h>

#include <random>

#include "platform/rtl/Streams.h"
#include "report/engine/zlib/frxGZip.h"

namespace {

// zlib's own inflate, as a reader of the stream would use it.
AnsiString Inflate(const AnsiString& packed, size_t expected)
{
  AnsiString out(expected + 1, '\0');
  uLongf size = out.size();
  int rc = uncompress(reinterpret_cast<Bytef*>(out.data()), &size, reinterpret_cast<const Bytef*>(packed.data()),
                      packed.size());
  EXPECT_EQ(rc, Z_OK);
  out.resize(size);
  return out;
}

}  // namespace

TEST(DeflateStream, RefusesReadingAndSeeking)
{
  TStringStream dest;
  TZCompressionStream z(&dest, zcDefault);
  char buf[4];
  EXPECT_THROW(z.Read(buf, 4), EZCompressionError);
  EXPECT_THROW(z.Seek(1, soCurrent), EZCompressionError);
  EXPECT_THROW(z.Seek(0, soBeginning), EZCompressionError);
  AnsiString data(1000, 'x');
  EXPECT_EQ(z.Write(data.data(), 1000), 1000);
  EXPECT_EQ(z.Seek(0, soCurrent), 1000);
  z.Finish();
  EXPECT_THROW(z.Write(data.data(), 1), EZCompressionError);
  try {
    z.Read(buf, 1);
  } catch (const EZCompressionError& e) {
    EXPECT_STREQ(e.what(), "Invalid ZStream operation!");
  }
}

TEST(DeflateStream, EmptySourceGivesACompleteStream)
{
  TMemoryStream source;
  TStringStream dest;
  frxGZip::CompressStream(&source, &dest, zcMax);
  // Header of the strongest level, an empty final block and the Adler-32 of nothing.
  EXPECT_EQ(dest.GetDataString(), AnsiString("\x78\xDA\x03\x00\x00\x00\x00\x01", 8));
  EXPECT_EQ(Inflate(dest.GetDataString(), 0), "");
}

TEST(DeflateStream, LargeOutputArrivesInBlocksAndInflatesBack)
{
  std::mt19937 random(7);
  AnsiString data(300000, '\0');
  for (char& c : data) c = static_cast<char>(random());  // incompressible

  TStringStream dest("head");
  dest.Seek(0, soEnd);
  int progress = 0;
  {
    TZCompressionStream z(&dest, zcNone);
    z.OnProgress = [&](TObject* sender) {
      EXPECT_EQ(sender, &z);
      ++progress;
    };
    z.Write(data.data(), 10);
    EXPECT_EQ(dest.GetSize(), 4);  // nothing leaves before a block is full
    dest.Seek(0, soBeginning);     // someone else moved the target: writing goes on at the end
    z.Write(data.data() + 10, static_cast<Int64>(data.size()) - 10);
    EXPECT_EQ(dest.GetSize() % 65536, 4);
  }  // destruction finishes the data
  EXPECT_EQ(progress, 4);
  AnsiString packed = dest.GetDataString();
  EXPECT_EQ(packed.substr(0, 4), "head");
  EXPECT_EQ(Inflate(packed.substr(4), data.size()), data);
}
