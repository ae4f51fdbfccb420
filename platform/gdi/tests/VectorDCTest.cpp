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
