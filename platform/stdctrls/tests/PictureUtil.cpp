#include "platform/stdctrls/tests/PictureUtil.h"

#include <fstream>
#include <string>
#include <vector>

#include "platform/forms/forms/Form.h"
#include "platform/gdi/dc/DeviceContext.h"
#include "platform/gdi/dc/GdiObjects.h"
#include "platform/gdi/draw/Blits.h"
#include "platform/gdi/image/PictureFiles.h"
#include "platform/testsupport/PixelCanvas.h"
#include "platform/win/backend/Headless.h"
#include "platform/win/window/Windows.h"

void SaveFormPicture(TForm* Form, const char* Name)
{
  RECT r;
  Windows::GetWindowRect(Form->GetHandle(), &r);
  TPixelCanvas picture(r.right - r.left, r.bottom - r.top);
  HBITMAP screen = Headless::CaptureScreen();
  HDC dc = Windows::CreateCompatibleDC(nullptr);
  HGDIOBJ old = Windows::SelectObject(dc, screen);
  Windows::BitBlt(picture.DC, 0, 0, picture.W, picture.H, dc, r.left, r.top, SRCCOPY);
  Windows::SelectObject(dc, old);
  Windows::DeleteDC(dc);
  Windows::DeleteObject(screen);
  std::vector<std::uint8_t> png = PngFile::SavePng(picture.Bmp);
  std::ofstream(std::string(PELTO_TEST_OUTPUT) + "/" + Name, std::ios::binary)
      .write(reinterpret_cast<const char*>(png.data()), std::streamsize(png.size()));
}

COLORREF PixelOf(TControl* C, int X, int Y)
{
  POINT p = C->ClientToScreen(POINT{X, Y});
  return Headless::ScreenPixel(p.x, p.y);
}
