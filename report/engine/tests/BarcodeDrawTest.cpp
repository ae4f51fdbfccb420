// The barcode painted on a bitmap: bars where the module codes put them, the text band, the
// rotation, the unpainted parts of the picture left transparent, and a scanner reading it back.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "platform/gdi/dc/DeviceContext.h"
#include "platform/gdi/dc/GdiObjects.h"
#include "platform/gdi/draw/Shapes.h"
#include "platform/gdi/image/Bitmaps.h"
#include "platform/rtl/Exceptions.h"
#include "report/engine/barcode/frxBarcod.h"
#include "platform/testsupport/PixelCanvas.h"

using namespace Windows;

namespace {

// Pixels of the rectangle that are neither of the two colours.
int CountOther(const TPixelCanvas& c, RECT r, COLORREF a, COLORREF b)
{
  int n = 0;
  for (int y = r.top; y < r.bottom; ++y)
    for (int x = r.left; x < r.right; ++x)
      if (c.At(x, y) != a && c.At(x, y) != b) ++n;
  return n;
}

TfrxBarcode EAN13()
{
  TfrxBarcode b;
  b.SetTyp(bcCodeEAN13);
  b.SetText("590123412345");
  b.SetChecksum(true);
  return b;
}

}  // namespace

TEST(BarcodeDraw, HorizontalSymbolHasItsBarsGuardsAndTextBand)
{
  TfrxBarcode b = EAN13();
  const int w = b.GetWidth();
  ASSERT_EQ(w, 95);
  TPixelCanvas c(w, 60, kGreen);
  b.DrawInRect(c.DC, RECT{0, 0, w, 60}, true);
  EXPECT_EQ(b.GetHeight(), 53);  // picture height less the 7 of the long-bar types
  // Start guard "505": bar, space, bar; the guards reach down into the text band.
  EXPECT_EQ(c.At(0, 10), kBlack);
  EXPECT_EQ(c.At(1, 10), kWhite);
  EXPECT_EQ(c.At(2, 10), kBlack);
  EXPECT_EQ(c.At(0, 52), kBlack);
  EXPECT_EQ(c.At(46, 52), kBlack);  // centre guard "05050"
  EXPECT_EQ(c.At(47, 52), kWhite);
  // Below the bars nothing is painted outside the text pieces: the canvas shows through.
  EXPECT_EQ(c.At(0, 58), kGreen);
  EXPECT_EQ(c.At(93, 58), kGreen);
  // The two digit bands are filled with the background and carry text.
  EXPECT_EQ(c.At(4, 45), kWhite);
  EXPECT_GT(CountOther(c, RECT{3, 44, 45, 60}, kWhite, kGreen), 20);
  int ink = 0;
  for (int y = 44; y < 60; ++y)
    for (int x = 49; x < 92; ++x) ink += c.At(x, y) != kWhite;
  EXPECT_GT(ink, 20);
  // Without the text the bars run over the band.
  TPixelCanvas bare(w, 60, kGreen);
  TfrxBarcode b2 = EAN13();
  b2.DrawInRect(bare.DC, RECT{0, 0, w, 60}, false);
  EXPECT_EQ(bare.At(4, 52), c.At(4, 10));
}

TEST(BarcodeDraw, ColoursAndOffsetRectangle)
{
  TfrxBarcode b = EAN13();
  b.SetColor(RGB(255, 255, 0));
  b.SetColorBar(RGB(0, 0, 255));
  TPixelCanvas c(120, 80, kGreen);
  b.DrawInRect(c.DC, RECT{10, 5, 10 + 95, 5 + 60}, false);
  EXPECT_EQ(c.At(9, 20), kGreen);
  EXPECT_EQ(c.At(10, 20), RGB(0, 0, 255));
  EXPECT_EQ(c.At(11, 20), RGB(255, 255, 0));
  EXPECT_EQ(c.At(10, 4), kGreen);
}

TEST(BarcodeDraw, TurnedBy90HasHorizontalBarsAndTextOnTheRight)
{
  TfrxBarcode b;
  b.SetTyp(bcCode39);
  b.SetText("AB");
  b.SetAngle(90);
  const int w = b.GetWidth();
  TPixelCanvas c(60, w, kGreen);
  b.DrawInRect(c.DC, RECT{0, 0, 60, w}, true);
  EXPECT_EQ(b.GetHeight(), 60 - 16);
  // Each row is one module: the same colour all along the bar length.
  int uniformRows = 0, blackRows = 0;
  for (int y = 0; y < w; ++y) {
    COLORREF first = c.At(0, y);
    bool uniform = true;
    for (int x = 1; x < 40; ++x) uniform = uniform && c.At(x, y) == first;
    uniformRows += uniform;
    blackRows += uniform && first == kBlack;
  }
  EXPECT_GE(uniformRows, w - 1);
  EXPECT_GT(blackRows, w / 4);
  // The text band lies on the right, the bars stop short of it.
  EXPECT_GT(CountOther(c, RECT{46, 0, 60, w}, kWhite, kGreen), 10);
  EXPECT_EQ(CountOther(c, RECT{0, 1, 44, w}, kWhite, kBlack), 0);
}

TEST(BarcodeDraw, ScannerReadsThePaintedSymbol)
{
  TfrxBarcode b = EAN13();
  const int w = b.GetWidth();
  // Three pixels per module, drawn into the middle of a white page with quiet zones.
  TPixelCanvas c(3 * w + 60, 120, kWhite);
  b.DrawInRect(c.DC, RECT{30, 0, 30 + 3 * w, 120}, true);
  auto path = std::filesystem::temp_directory_path() /
              ("barcode-draw-" + std::to_string(reinterpret_cast<uintptr_t>(&c)) + ".pgm");
  {
    std::ofstream out(path, std::ios::binary);
    out << "P5\n" << c.W << " " << c.H << "\n255\n";
    for (int y = 0; y < c.H; ++y)
      for (int x = 0; x < c.W; ++x) out.put(c.At(x, y) == kBlack ? '\0' : '\xFF');
  }
  AnsiString read;
  if (FILE* p = popen(("zbarimg --raw -q '" + path.string() + "' 2>/dev/null").c_str(), "r")) {
    char buf[256];
    while (fgets(buf, sizeof buf, p)) read += buf;
    pclose(p);
  }
  std::filesystem::remove(path);
  EXPECT_EQ(read, "5901234123457\n");
}

TEST(BarcodeDraw, EncodingErrorsPaintNothing)
{
  TfrxBarcode b;
  b.SetTyp(bcCodeEAN8);
  b.SetText("12");
  b.SetCheckSumMethod(csmNone);
  b.SetChecksum(true);
  TPixelCanvas c(50, 50, kGreen);
  EXPECT_THROW(b.DrawInRect(c.DC, RECT{0, 0, 50, 50}, true), Exception);
  EXPECT_EQ(CountOther(c, RECT{0, 0, 50, 50}, kGreen, kGreen), 0);
}
