#include "platform/stdctrls/tests/StdCtrlsTestUtil.h"

#include <fstream>

#include "platform/forms/app/Application.h"
#include "platform/gdi/dc/DeviceContext.h"
#include "platform/gdi/dc/GdiObjects.h"
#include "platform/gdi/draw/Blits.h"
#include "platform/gdi/image/PictureFiles.h"
#include "platform/stdctrls/dialogs/Dialogs.h"
#include "platform/stdctrls/menus/Menus.h"
#include "platform/win/backend/Headless.h"

void AppFormsFixture::SetUp()
{
  FormsTest::SetUp();
  Forms::FinalizeApplication();
  Forms::InitializeApplication();
  Menus::Initialize();
}

void AppFormsFixture::TearDown()
{
  Dialogs::Finalize();
  FormsTest::TearDown();
  Forms::FinalizeApplication();
}

void SaveScreenPng(RECT From, const char* Name, TPixelCanvas& Into)
{
  HBITMAP screen = Headless::CaptureScreen();
  HDC dc = Windows::CreateCompatibleDC(nullptr);
  HGDIOBJ old = Windows::SelectObject(dc, screen);
  Windows::BitBlt(Into.DC, 0, 0, From.right - From.left, From.bottom - From.top, dc, From.left, From.top, SRCCOPY);
  Windows::SelectObject(dc, old);
  Windows::DeleteDC(dc);
  Windows::DeleteObject(screen);
  std::vector<std::uint8_t> png = PngFile::SavePng(Into.Bmp);
  std::ofstream(std::string(PELTO_TEST_OUTPUT) + "/" + Name, std::ios::binary)
      .write(reinterpret_cast<const char*>(png.data()), std::streamsize(png.size()));
}
