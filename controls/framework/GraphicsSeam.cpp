#include "controls/framework/GraphicsSeam.h"

#include "platform/gdi/dc/DeviceContext.h"
#include "platform/gdi/dc/GdiObjects.h"
#include "platform/gdi/dc/SysColors.h"
#include "platform/gdi/draw/Blits.h"
#include "platform/gdi/image/Bitmaps.h"

using namespace Windows;

COLORREF GraphicsSeam::ColorToRGB(TColor Color)
{
  if (Color == clNone || Color == clDefault) return 0;
  if ((Color & clSystemColor) == clSystemColor) return GetSysColor(Color & 0xFF);
  return COLORREF(Color) & 0xFFFFFF;
}

TcxBitmap::TcxBitmap(int Width, int Height) { SetSize(Width, Height); }

TcxBitmap::~TcxBitmap() { Release(); }

TcxBitmap::TcxBitmap(const TcxBitmap& Other) { *this = Other; }

TcxBitmap& TcxBitmap::operator=(const TcxBitmap& Other)
{
  if (this == &Other) return *this;
  auto keep = OnChange;
  OnChange = nullptr;
  SetSize(Other.FWidth, Other.FHeight);
  if (!Other.Empty())
    BitBlt(GetDC(), 0, 0, FWidth, FHeight, const_cast<TcxBitmap&>(Other).GetDC(), 0, 0, SRCCOPY);
  OnChange = keep;
  if (OnChange) OnChange();
  return *this;
}

void TcxBitmap::Release()
{
  if (FDC) {
    SelectObject(FDC, FOldBitmap);
    DeleteDC(FDC);
    FDC = nullptr;
  }
  if (FHandle) DeleteObject(FHandle);
  FHandle = nullptr;
  FWidth = FHeight = 0;
}

void TcxBitmap::SetSize(int Width, int Height)
{
  Release();
  if (Width > 0 && Height > 0) {
    FHandle = CreateCompatibleBitmap(nullptr, Width, Height);
    FWidth = Width;
    FHeight = Height;
  }
  if (OnChange) OnChange();
}

HDC TcxBitmap::GetDC()
{
  if (!FHandle) return nullptr;
  if (!FDC) {
    FDC = CreateCompatibleDC(nullptr);
    FOldBitmap = SelectObject(FDC, FHandle);
  }
  return FDC;
}
