#include "platform/testsupport/ScreenPicture.h"

#include <fstream>
#include <vector>

#include "platform/gdi/dc/DeviceContext.h"
#include "platform/gdi/dc/GdiObjects.h"
#include "platform/gdi/draw/Blits.h"
#include "platform/gdi/image/PictureFiles.h"
#include "platform/testsupport/PixelCanvas.h"
#include "platform/win/backend/Headless.h"

void CaptureScreenRect(RECT From, TPixelCanvas& Into)
{
  HBITMAP screen = Headless::CaptureScreen();
  HDC dc = Windows::CreateCompatibleDC(nullptr);
  HGDIOBJ old = Windows::SelectObject(dc, screen);
  Windows::BitBlt(Into.DC, 0, 0, From.right - From.left, From.bottom - From.top, dc, From.left, From.top, SRCCOPY);
  Windows::SelectObject(dc, old);
  Windows::DeleteDC(dc);
  Windows::DeleteObject(screen);
}

void WritePng(const TPixelCanvas& Canvas, const std::string& Path)
{
  std::vector<std::uint8_t> png = PngFile::SavePng(Canvas.Bmp);
  std::ofstream(Path, std::ios::binary).write(reinterpret_cast<const char*>(png.data()), std::streamsize(png.size()));
}
