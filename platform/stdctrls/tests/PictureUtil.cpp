#include "platform/stdctrls/tests/PictureUtil.h"

#include <string>

#include "platform/forms/forms/Form.h"
#include "platform/testsupport/PixelCanvas.h"
#include "platform/testsupport/ScreenPicture.h"
#include "platform/win/backend/Headless.h"
#include "platform/win/window/Windows.h"

void SaveFormPicture(TForm* Form, const char* Name)
{
  RECT r;
  Windows::GetWindowRect(Form->GetHandle(), &r);
  TPixelCanvas picture(r.right - r.left, r.bottom - r.top);
  CaptureScreenRect(r, picture);
  WritePng(picture, std::string(PELTO_TEST_OUTPUT) + "/" + Name);
}

COLORREF PixelOf(TControl* C, int X, int Y)
{
  POINT p = C->ClientToScreen(POINT{X, Y});
  return Headless::ScreenPixel(p.x, p.y);
}
