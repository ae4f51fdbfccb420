// The JPEG export of the sample: file names by export order, page and cropped sizes, monochrome
// pages, decoded back; PNG copies are kept in the build folder. A failed write keeps the old file.
#include <gtest/gtest.h>

#include <cmath>

#include "platform/gdi/dc/DeviceContext.h"
#include "platform/gdi/dc/GdiObjects.h"
#include "platform/gdi/image/PictureFiles.h"
#include "platform/rtl/tests/SaveFaultTable.h"
#include "report/engine/export/frxExportImage.h"
#include "report/engine/export/tests/ExportFixture.h"

namespace {

struct TDecoded {
  int W = 0, H = 0;
  HBITMAP Bmp = nullptr;
};

TDecoded Decode(const std::filesystem::path& File)
{
  std::string bytes = SaveFaultTable::ReadBytes(File);
  TDecoded d;
  d.Bmp = JpegFile::LoadJpeg(std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
  BITMAP info{};
  Windows::GetObject(d.Bmp, &info);
  d.W = info.bmWidth;
  d.H = info.bmHeight;
  return d;
}

class ImageExportTest : public ExportFixture {
protected:
  void Export(bool Crop, bool Mono, const AnsiString& Pages = AnsiString())
  {
    TfrxJPEGExport jpeg(nullptr);
    jpeg.ShowDialog = false;
    jpeg.CropImages = Crop;
    jpeg.Monochrome = Mono;
    jpeg.PageNumbers = Pages;
    jpeg.FileName = File("report.jpg");
    ASSERT_TRUE(Pages_()->Export(&jpeg));
  }
  TfrxPreviewPages* Pages_() { return Pages(); }
};

TEST_F(ImageExportTest, PagesAreNamedByExportOrderAndSizedByTheCroppingRules)
{
  BuildSample();
  ASSERT_TRUE(Prepare());
  ASSERT_EQ(Pages()->GetCount(), 2);
  TfrxReportPage* p2 = Pages()->GetPage(1);
  int w2 = static_cast<int>(std::nearbyint(p2->GetWidth())), h2 = static_cast<int>(std::nearbyint(p2->GetHeight()));
  Export(false, false, "2");
  EXPECT_TRUE(std::filesystem::exists(Dir / "report.1.jpg"));
  EXPECT_FALSE(std::filesystem::exists(Dir / "report.2.jpg"));
  TDecoded whole = Decode(Dir / "report.1.jpg");
  EXPECT_EQ(whole.W, w2);
  EXPECT_EQ(whole.H, h2);
  Windows::DeleteObject(whole.Bmp);

  Export(true, false);
  for (int page = 1; page <= 2; ++page) {
    TDecoded d = Decode(Dir / ("report." + std::to_string(page) + ".jpg"));
    // The page background covers the printable area: its size plus one pixel.
    TfrxReportPage* p = Pages()->GetPage(page - 1);
    Extended l = p->LeftMargin * frxPage::fr01cm, t = p->TopMargin * frxPage::fr01cm;
    Extended w = p->GetWidth() - (p->LeftMargin + p->RightMargin) * frxPage::fr01cm;
    Extended h = p->GetHeight() - (p->TopMargin + p->BottomMargin) * frxPage::fr01cm;
    EXPECT_EQ(d.W, static_cast<int>(std::nearbyint(l + w)) + 1 - static_cast<int>(std::nearbyint(l))) << page;
    EXPECT_EQ(d.H, static_cast<int>(std::nearbyint(t + h)) + 1 - static_cast<int>(std::nearbyint(t))) << page;
    std::vector<std::uint8_t> png = PngFile::SavePng(d.Bmp);
    SaveFaultTable::WriteBytes(
        std::filesystem::path(PELTO_TEST_OUTPUT) / ("export-sample." + std::to_string(page) + ".png"),
        std::string(png.begin(), png.end()));
    if (page == 1) {
      // The barcode reads back from the page picture.
      auto scan = ExportTests::RunTool(
          "zbarimg -q --raw '" + (std::filesystem::path(PELTO_TEST_OUTPUT) / "export-sample.1.png").string() + "'");
      EXPECT_EQ(scan.Out, "CONTRACT42\n") << "zbarimg";
      // The filled rectangle (220, 70 in its band, 10 mm margins cropped off) shows green.
      HDC dc = Windows::CreateCompatibleDC(nullptr);
      HGDIOBJ old = Windows::SelectObject(dc, d.Bmp);
      COLORREF c = Windows::GetPixel(dc, 270, 90);
      EXPECT_LT(GetRValue(c), 60);
      EXPECT_GT(GetGValue(c), 200);
      Windows::SelectObject(dc, old);
      Windows::DeleteDC(dc);
    }
    Windows::DeleteObject(d.Bmp);
  }
}

TEST_F(ImageExportTest, MonochromePagesHoldOnlyBlackAndWhite)
{
  BuildSample();
  ASSERT_TRUE(Prepare());
  Export(true, true, "1");
  TDecoded d = Decode(Dir / "report.1.jpg");
  HDC dc = Windows::CreateCompatibleDC(nullptr);
  HGDIOBJ old = Windows::SelectObject(dc, d.Bmp);
  int grey = 0, dark = 0;
  for (int y = 0; y < d.H; y += 3)
    for (int x = 0; x < d.W; x += 3) {
      COLORREF c = Windows::GetPixel(dc, x, y);
      int r = GetRValue(c), g = GetGValue(c), b = GetBValue(c);
      if (std::abs(r - g) > 40 || std::abs(g - b) > 40) ++grey;  // a colour
      if (r < 60) ++dark;
    }
  Windows::SelectObject(dc, old);
  Windows::DeleteDC(dc);
  Windows::DeleteObject(d.Bmp);
  EXPECT_EQ(grey, 0);
  EXPECT_GT(dark, 0);
}

TEST_F(ImageExportTest, AFailedWriteKeepsThePreviousPicture)
{
  auto* page = NewPage();
  Memo(Band<TfrxReportTitle>(page, "T", 0), "合同");
  ASSERT_TRUE(Prepare());
  RunSaveFaults<TfrxJPEGExport>(ExportTests::U8("报表.jpg"), ExportTests::U8("报表.1.jpg"), "old picture",
                                [](const std::string& b) { return b.size() > 2 && b[0] == '\xFF' && b[1] == '\xD8'; });
}

}  // namespace
