#include "report/engine/export/frxExportBitmap.h"

#include <algorithm>

#include "platform/gdi/dc/DeviceContext.h"
#include "platform/gdi/dc/GdiObjects.h"
#include "platform/gdi/draw/Blits.h"
#include "platform/gdi/draw/Shapes.h"
#include "platform/gdi/image/Bitmaps.h"
#include "platform/gdi/image/PictureFiles.h"

TfrxExportBitmap::TfrxExportBitmap(int Width, int Height) { Create(Width, Height); }

TfrxExportBitmap::~TfrxExportBitmap() { Free(); }

void TfrxExportBitmap::Create(int Width, int Height)
{
  FWidth = std::max(Width, 1);
  FHeight = std::max(Height, 1);
  FDC = Windows::CreateCompatibleDC(nullptr);
  FBitmap = Windows::CreateBitmap(FWidth, FHeight, 1, 32, nullptr);
  FOld = Windows::SelectObject(FDC, FBitmap);
  RECT r{0, 0, FWidth, FHeight};
  HBRUSH white = Windows::CreateSolidBrush(RGB(255, 255, 255));
  Windows::FillRect(FDC, &r, white);
  Windows::DeleteObject(white);
}

void TfrxExportBitmap::Free()
{
  if (FDC) {
    Windows::SelectObject(FDC, FOld);
    Windows::DeleteDC(FDC);
  }
  if (FBitmap) Windows::DeleteObject(FBitmap);
  FDC = nullptr;
  FBitmap = nullptr;
}

void TfrxExportBitmap::Crop(int Left, int Top, int Width, int Height)
{
  TfrxExportBitmap part(Width, Height);
  Windows::BitBlt(part.FDC, 0, 0, part.FWidth, part.FHeight, FDC, Left, Top, SRCCOPY);
  Free();
  std::swap(FDC, part.FDC);
  std::swap(FBitmap, part.FBitmap);
  std::swap(FOld, part.FOld);
  FWidth = part.FWidth;
  FHeight = part.FHeight;
}

void TfrxExportBitmap::MakeMonochrome()
{
  BITMAPINFO bmi{};
  bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  bmi.bmiHeader.biWidth = FWidth;
  bmi.bmiHeader.biHeight = FHeight;
  bmi.bmiHeader.biPlanes = 1;
  bmi.bmiHeader.biBitCount = 32;
  bmi.bmiHeader.biCompression = BI_RGB;
  std::vector<std::uint32_t> px(static_cast<size_t>(FWidth) * FHeight);
  // GetDIBits wants the bitmap out of its DC.
  Windows::SelectObject(FDC, FOld);
  Windows::GetDIBits(FDC, FBitmap, 0, FHeight, px.data(), &bmi, DIB_RGB_COLORS);
  for (std::uint32_t& p : px) {
    int lum = (int((p >> 16) & 0xFF) * 299 + int((p >> 8) & 0xFF) * 587 + int(p & 0xFF) * 114) / 1000;
    p = lum >= 128 ? 0xFFFFFFu : 0u;
  }
  Windows::SetDIBits(FDC, FBitmap, 0, FHeight, px.data(), &bmi, DIB_RGB_COLORS);
  Windows::SelectObject(FDC, FBitmap);
}

std::vector<std::uint8_t> TfrxExportBitmap::SaveBmp() const { return BmpFile::SaveBmp(FBitmap, 24); }

std::vector<std::uint8_t> TfrxExportBitmap::SaveJpeg(int Quality) const { return JpegFile::SaveJpeg(FBitmap, Quality); }

std::vector<std::uint8_t> TfrxExportBitmap::SavePng() const { return PngFile::SavePng(FBitmap); }
