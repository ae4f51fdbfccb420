#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "platform/gdi/draw/Blits.h"
#include "platform/gdi/dc/DeviceContext.h"
#include "platform/gdi/text/Fonts.h"
#include "platform/gdi/dc/GdiObjects.h"
#include "platform/gdi/draw/Shapes.h"
#include "platform/gdi/text/TextOutput.h"
#include "platform/gdi/dc/VectorDC.h"
#include "platform/testsupport/PixelCanvas.h"
#include "platform/testsupport/TempFolder.h"
#include "platform/rtl/AnsiStrings.h"

using namespace Windows;

namespace {
std::string RunCommand(const std::string& cmd)
{
  std::string out;
  FILE* p = popen(cmd.c_str(), "r");
  if (!p) return out;
  char buf[4096];
  std::size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
  pclose(p);
  return out;
}
}  // namespace

TEST(GdiVectorDC, PdfPagesHoldTextShapesAndPictures)
{
  TTempFolder dir("gdi_pdf");
  std::string file = dir.Path("out.pdf");
  // A4 at 600 dpi.
  HDC dc = CreateVectorDC(file.c_str(), TVectorFormat::Pdf, 4961, 7016, 600);
  ASSERT_NE(dc, nullptr);
  EXPECT_EQ(GetDeviceCaps(dc, LOGPIXELSX), 600);
  EXPECT_EQ(GetDeviceCaps(dc, HORZRES), 4961);
  EXPECT_EQ(GetDeviceCaps(dc, TECHNOLOGY), DT_RASPRINTER);
  DOCINFOA di;
  EXPECT_GT(StartDoc(dc, &di), 0);
  EXPECT_GT(StartPage(dc), 0);
  HFONT f = CreateFont(-100, 0, 0, 0, FW_NORMAL, 0, 0, 0, GB2312_CHARSET, 0, 0, 0, 0, "宋体");
  HGDIOBJ old = SelectObject(dc, f);
  TEXTMETRICA tm;
  ASSERT_TRUE(GetTextMetrics(dc, &tm));
  EXPECT_EQ(tm.tmHeight - tm.tmInternalLeading, 100);
  SetBkMode(dc, TRANSPARENT);
  EXPECT_TRUE(TextOut(dc, 300, 300, "Contract 合同 page one", -1));
  SelectObject(dc, GetStockObject(GRAY_BRUSH));
  Rectangle(dc, 300, 600, 1200, 900);
  TPixelCanvas pic(20, 20, RGB(255, 0, 0));
  EXPECT_TRUE(StretchBlt(dc, 1500, 600, 400, 400, pic.DC, 0, 0, 20, 20, SRCCOPY));
  EXPECT_EQ(GetPixel(dc, 310, 610), CLR_INVALID);
  EXPECT_GT(EndPage(dc), 0);
  StartPage(dc);
  TextOut(dc, 300, 300, "Second page", -1);
  EndPage(dc);
  EXPECT_GT(EndDoc(dc), 0);
  SelectObject(dc, old);
  DeleteObject(f);
  DeleteDC(dc);

  std::string info = RunCommand("pdfinfo '" + file + "' 2>&1");
  std::size_t at = info.find("Pages:");
  ASSERT_NE(at, std::string::npos) << info;
  EXPECT_EQ(std::atoi(info.c_str() + at + 6), 2) << info;
  std::string text = RunCommand("pdftotext '" + file + "' - 2>&1");
  EXPECT_NE(text.find("Contract"), std::string::npos) << text;
  EXPECT_NE(text.find(System::AnsiToUtf8("合同")), std::string::npos) << text;
  EXPECT_NE(text.find("Second page"), std::string::npos) << text;
  std::string check = RunCommand("qpdf --check '" + file + "' 2>&1");
  EXPECT_NE(check.find("No syntax or stream encoding errors"), std::string::npos) << check;
  // The same calls on a PostScript page.
  std::string ps = dir.Path("out.ps");
  HDC pdc = CreateVectorDC(ps.c_str(), TVectorFormat::PostScript, 850, 1100, 100);
  ASSERT_NE(pdc, nullptr);
  StartDoc(pdc, &di);
  StartPage(pdc);
  Rectangle(pdc, 10, 10, 200, 100);
  TextOut(pdc, 20, 20, "PostScript", -1);
  EndPage(pdc);
  EndDoc(pdc);
  DeleteDC(pdc);
  std::ifstream in(ps, std::ios::binary);
  std::string head(4, ' ');
  in.read(head.data(), 4);
  EXPECT_EQ(head, "%!PS");

  EXPECT_EQ(CreateVectorDC("/nonexistent-dir/x.pdf", TVectorFormat::Pdf, 100, 100, 72), nullptr);
}

TEST(GdiVectorDC, PrintableAreaMovesTheOriginAndClipsTheMargins)
{
  TTempFolder dir("gdi_pdf_margins");
  std::string file = dir.Path("margins.pdf");
  // 1000 x 2000 pixels at 100 dpi (720 x 1440 pt); printable from (50, 100), 900 x 1700.
  HDC dc = CreateVectorDC(file.c_str(), TVectorFormat::Pdf, 1000, 2000, 100);
  ASSERT_NE(dc, nullptr);
  for (RECT bad : {RECT{-1, 0, 10, 10}, RECT{0, 0, 0, 10}, RECT{500, 0, 501, 10}, RECT{0, 1500, 10, 501}})
    EXPECT_FALSE(SetPrintableArea(dc, bad.left, bad.top, bad.right, bad.bottom));
  EXPECT_EQ(GetDeviceCaps(dc, PHYSICALOFFSETX), 0);
  ASSERT_TRUE(SetPrintableArea(dc, 50, 100, 900, 1700));
  struct TCap {
    int Index, Value;
  };
  for (TCap c : {TCap{HORZRES, 900}, TCap{VERTRES, 1700}, TCap{PHYSICALWIDTH, 1000}, TCap{PHYSICALHEIGHT, 2000},
                 TCap{PHYSICALOFFSETX, 50}, TCap{PHYSICALOFFSETY, 100}, TCap{HORZSIZE, 229}})
    EXPECT_EQ(GetDeviceCaps(dc, c.Index), c.Value) << c.Index;
  TPixelCanvas bitmap(10, 10);
  EXPECT_FALSE(SetPrintableArea(bitmap.DC, 0, 0, 5, 5));

  DOCINFOA di;
  StartDoc(dc, &di);
  StartPage(dc);
  TextOut(dc, 0, 0, "Corner", -1);  // at the printable corner: (36, 72) pt on paper
  SelectObject(dc, GetStockObject(BLACK_BRUSH));
  Rectangle(dc, -50, 200, 100, 300);  // reaches into the left margin, which stays white
  EndPage(dc);
  EndDoc(dc);
  DeleteDC(dc);
  std::string pgm = RunCommand("pdftoppm -r 100 -gray '" + file + "' 2>/dev/null");
  int pw = 0, ph = 0, maxv = 0, used = 0;
  ASSERT_EQ(std::sscanf(pgm.c_str(), "P5 %d %d %d%n", &pw, &ph, &maxv, &used), 3);
  ASSERT_EQ(pw, 1000);
  auto grey = [&](int x, int y) { return static_cast<unsigned char>(pgm[used + 1 + y * pw + x]); };
  EXPECT_GT(grey(20, 350), 200);  // margin
  EXPECT_LT(grey(100, 350), 50);  // printable part of the rectangle
  std::string text = RunCommand("pdftotext -bbox '" + file + "' - 2>&1");
  std::size_t at = text.find(">Corner<");
  ASSERT_NE(at, std::string::npos) << text;
  std::size_t word = text.rfind("<word", at);
  double xMin = 0, yMin = 0;
  std::sscanf(text.c_str() + word, "<word xMin=\"%lf\" yMin=\"%lf\"", &xMin, &yMin);
  EXPECT_NEAR(xMin, 36, 2);
  EXPECT_NEAR(yMin, 72, 3);
}
