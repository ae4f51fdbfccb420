#include "platform/forms/graphics/Bitmap.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/gdi/dc/DeviceContext.h"
#include "platform/gdi/dc/GdiObjects.h"
#include "platform/gdi/draw/Blits.h"
#include "platform/gdi/image/Bitmaps.h"
#include "platform/gdi/image/PictureFiles.h"
#include "platform/rtl/Streams.h"

using namespace Windows;

// The bitmap's canvas: a memory context holding the bitmap, made when first drawn on.
class TBitmap::TBitmapCanvas : public TCanvas {
public:
  explicit TBitmapCanvas(TBitmap* ABitmap) : FBitmap(ABitmap) {}
  ~TBitmapCanvas() override { FreeContext(); }

  void FreeContext()
  {
    HDC dc = HandleAllocated() ? GetHandle() : nullptr;
    if (!dc) return;
    SetHandle(nullptr);
    SelectObject(dc, FOldBitmap);
    DeleteDC(dc);
    FOldBitmap = nullptr;
  }

protected:
  void CreateHandle() override
  {
    HDC dc = CreateCompatibleDC(nullptr);
    // An empty bitmap leaves the context's own 1x1 bitmap in place: drawing goes nowhere.
    if (FBitmap->FHandle) FOldBitmap = SelectObject(dc, FBitmap->FHandle);
    SetHandle(dc);
  }

private:
  TBitmap* FBitmap;
  HGDIOBJ FOldBitmap = nullptr;
};

namespace {

TPixelFormat FormatOfBits(int Bits)
{
  switch (Bits) {
    case 1: return pf1bit;
    case 4: return pf4bit;
    case 8: return pf8bit;
    case 16: return pf16bit;
    case 24: return pf24bit;
    case 32: return pf32bit;
    default: return pfCustom;
  }
}

std::uint32_t ReadU32(const std::uint8_t* p) { return p[0] | (p[1] << 8) | (p[2] << 16) | (std::uint32_t(p[3]) << 24); }

}  // namespace

TBitmap::TBitmap() : FCanvas(std::make_unique<TBitmapCanvas>(this)) {}

TBitmap::~TBitmap()
{
  FCanvas.reset();
  FreeImage();
}

void TBitmap::FreeContext()
{
  if (FCanvas) FCanvas->FreeContext();
}

void TBitmap::FreeImage()
{
  FreeContext();
  if (FHandle) DeleteObject(FHandle);
  FHandle = nullptr;
  FBits = nullptr;
  FWidth = FHeight = 0;
}

void TBitmap::NewImage(int AWidth, int AHeight)
{
  FreeImage();
  if (AWidth <= 0 || AHeight <= 0) {
    // No pixels, but the size set so far stays: Width and Height may be set one at a time.
    FWidth = std::max(AWidth, 0);
    FHeight = std::max(AHeight, 0);
    return;
  }
  BITMAPINFO bmi;
  bmi.bmiHeader.biWidth = AWidth;
  bmi.bmiHeader.biHeight = -AHeight;
  bmi.bmiHeader.biPlanes = 1;
  bmi.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HBITMAP h = CreateDIBSection(nullptr, &bmi, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!h || !bits) throw EOutOfMemory("Out of system resources");
  std::memset(bits, 0, std::size_t(AWidth) * std::size_t(AHeight) * 4);
  FHandle = h;
  FBits = static_cast<std::uint32_t*>(bits);
  FWidth = AWidth;
  FHeight = AHeight;
}

void TBitmap::Assign(TPersistent* Source)
{
  if (!Source) {
    FreeImage();
    Changed();
    return;
  }
  if (auto* b = dynamic_cast<TBitmap*>(Source)) {
    if (b == this) return;
    NewImage(b->FWidth, b->FHeight);
    if (FBits) std::memcpy(FBits, b->FBits, std::size_t(FWidth) * std::size_t(FHeight) * 4);
    FPixelFormat = b->FPixelFormat;
    FTransparentMode = b->FTransparentMode;
    FTransparentColor = b->FTransparentColor;
    SetTransparent(b->GetTransparent());
    Changed();
    return;
  }
  TGraphic::Assign(Source);
}

void TBitmap::SetSize(int AWidth, int AHeight)
{
  AWidth = std::max(AWidth, 0);
  AHeight = std::max(AHeight, 0);
  if (AWidth == FWidth && AHeight == FHeight) return;
  std::vector<std::uint32_t> old;
  int oldW = FWidth, oldH = FHeight;
  if (FBits) old.assign(FBits, FBits + std::size_t(oldW) * std::size_t(oldH));
  NewImage(AWidth, AHeight);
  int w = std::min(oldW, FWidth), h = std::min(oldH, FHeight);
  if (!FBits || old.empty()) h = 0;
  for (int y = 0; y < h; ++y)
    std::memcpy(FBits + std::size_t(y) * FWidth, old.data() + std::size_t(y) * oldW, std::size_t(w) * 4);
  Changed();
}

TCanvas* TBitmap::GetCanvas() { return FCanvas.get(); }

std::uint32_t* TBitmap::GetScanLine(int Row)
{
  if (!FBits || Row < 0 || Row >= FHeight) throw ERangeError("Scan line index out of range");
  return FBits + std::size_t(Row) * FWidth;
}

void TBitmap::SetPixelFormat(TPixelFormat Value)
{
  if (Value == FPixelFormat) return;
  FPixelFormat = Value;
  Changed();
}

TColor TBitmap::GetTransparentColor() const
{
  if (FTransparentMode == tmFixed) return FTransparentColor;
  if (!FBits) return clDefault;
  std::uint32_t p = FBits[std::size_t(FHeight - 1) * FWidth];
  // Rows hold 0x00RRGGBB; colours are 0x00BBGGRR.
  return TColor(((p & 0xFF) << 16) | (p & 0xFF00) | ((p >> 16) & 0xFF));
}

void TBitmap::SetTransparentColor(TColor Value)
{
  FTransparentColor = Value;
  FTransparentMode = tmFixed;
  Changed();
}

void TBitmap::SetTransparentMode(TTransparentMode Value)
{
  if (Value == FTransparentMode) return;
  FTransparentMode = Value;
  Changed();
}

void TBitmap::LoadFromStream(TStream* Stream)
{
  Int64 remaining = Stream->GetSize() - Stream->GetPosition();
  std::vector<std::uint8_t> data(14 + 40);
  if (remaining < Int64(data.size())) throw EInvalidGraphic("Bitmap image is not valid");
  Stream->ReadBuffer(data.data(), Int64(data.size()));
  if (data[0] != 'B' || data[1] != 'M') throw EInvalidGraphic("Bitmap image is not valid");
  Int64 fileSize = ReadU32(&data[2]);
  Int64 size = fileSize >= Int64(data.size()) && fileSize <= remaining ? fileSize : remaining;
  data.resize(static_cast<std::size_t>(size));
  Stream->ReadBuffer(data.data() + 54, size - 54);
  int bits = data[28] | (data[29] << 8);

  HBITMAP loaded;
  try {
    loaded = BmpFile::LoadBmp(data);
  } catch (const EInvalidImage&) {
    throw EInvalidGraphic("Bitmap image is not valid");
  }
  BITMAP info{};
  GetObject(loaded, &info);
  NewImage(info.bmWidth, info.bmHeight);
  if (FBits) {
    HDC dc = CreateCompatibleDC(nullptr);
    BITMAPINFO bmi;
    bmi.bmiHeader.biWidth = FWidth;
    bmi.bmiHeader.biHeight = -FHeight;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    GetDIBits(dc, loaded, 0, UINT(FHeight), FBits, &bmi, DIB_RGB_COLORS);
    DeleteDC(dc);
  }
  DeleteObject(loaded);
  FPixelFormat = FormatOfBits(bits);
  Changed();
}

void TBitmap::SaveToStream(TStream* Stream)
{
  if (GetEmpty()) return;
  std::vector<std::uint8_t> data = BmpFile::SaveBmp(FHandle, FPixelFormat == pf32bit ? 32 : 24);
  Stream->WriteBuffer(data.data(), Int64(data.size()));
}

void TBitmap::ReadData(TStream* Stream) { ReadSizedData(Stream); }

void TBitmap::WriteData(TStream* Stream) { WriteSizedData(Stream); }

void TBitmap::Clear()
{
  FreeImage();
  Changed();
}

void TBitmap::Draw(TCanvas* ACanvas, const RECT& Rect)
{
  if (GetEmpty()) return;
  HDC src = FCanvas->GetHandle();
  HDC dest = ACanvas->GetHandle();
  int w = Rect.right - Rect.left, h = Rect.bottom - Rect.top;
  if (GetTransparent()) {
    TransparentBlt(dest, Rect.left, Rect.top, w, h, src, 0, 0, FWidth, FHeight,
                   Graphics::ColorToRGB(GetTransparentColor()));
  } else {
    StretchBlt(dest, Rect.left, Rect.top, w, h, src, 0, 0, FWidth, FHeight, ACanvas->GetCopyMode());
  }
}
