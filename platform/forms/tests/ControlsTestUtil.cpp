#include "platform/forms/tests/ControlsTestUtil.h"

#include <fstream>

#include "platform/forms/controls/Controls.h"
#include "platform/gdi/dc/DeviceContext.h"
#include "platform/gdi/dc/GdiObjects.h"
#include "platform/gdi/draw/Blits.h"
#include "platform/gdi/image/PictureFiles.h"
#include "platform/testsupport/PixelCanvas.h"
#include "platform/win/backend/Headless.h"
#include "platform/win/window/Windows.h"

namespace {
std::vector<std::string> gLog;

const char* WatchedName(UINT msg)
{
  switch (msg) {
    case CM_ENTER: return "CM_ENTER";
    case CM_EXIT: return "CM_EXIT";
    case CM_MOUSEENTER: return "CM_MOUSEENTER";
    case CM_MOUSELEAVE: return "CM_MOUSELEAVE";
    case WM_CREATE: return "WM_CREATE";
    case WM_DESTROY: return "WM_DESTROY";
    case WM_SETFOCUS: return "WM_SETFOCUS";
    case WM_KILLFOCUS: return "WM_KILLFOCUS";
    default: return nullptr;
  }
}

void LogMessageOf(TComponent* c, const TMessage& m)
{
  if (const char* name = WatchedName(m.Msg)) {
    std::string entry = c->GetName() + ":" + name;
    // Enter and leave tell the parents which child they came from.
    if ((m.Msg == CM_MOUSEENTER || m.Msg == CM_MOUSELEAVE) && m.LParam)
      entry += "(" + reinterpret_cast<TComponent*>(m.LParam)->GetName() + ")";
    gLog.push_back(entry);
  }
}
}  // namespace

std::vector<std::string>& ControlLog() { return gLog; }

TLogControl::TLogControl(TComponent* AOwner, const char* AName) : TCustomControl(AOwner)
{
  ControlStyle.Include(csAcceptsControls);
  SetName(AName);
  SetBounds(0, 0, 50, 20);
}

void TLogControl::WndProc(TMessage& Message)
{
  LogMessageOf(this, Message);
  if (Message.Msg == WM_GETDLGCODE && DlgCode) {
    Message.Result = DlgCode;
    return;
  }
  TCustomControl::WndProc(Message);
}

TLogGraphic::TLogGraphic(TComponent* AOwner, const char* AName) : TGraphicControl(AOwner)
{
  SetName(AName);
  SetBounds(0, 0, 40, 20);
}

void TLogGraphic::WndProc(TMessage& Message)
{
  LogMessageOf(this, Message);
  TGraphicControl::WndProc(Message);
}

TTestButton::TTestButton(TComponent* AOwner) : TCustomControl(AOwner)
{
  SetTabStop(true);
  SetBounds(0, 0, 75, 25);
}

void TTestButton::Click()
{
  TCustomControl::Click();
  if (TCustomForm* form = GetParentForm(); form && ModalResult != mrNone) form->SetModalResult(ModalResult);
}

void TTestButton::Dispatch(TMessage& Message)
{
  if (Message.Msg == CM_DIALOGKEY &&
      ((Message.WParam == VK_RETURN && Default) || (Message.WParam == VK_ESCAPE && Cancel)) && CanFocus()) {
    Click();
    Message.Result = 1;
    return;
  }
  if (Message.Msg == CM_DIALOGCHAR && Controls::IsAccel(Word(Message.WParam), GetCaption()) && CanFocus()) {
    Click();
    Message.Result = 1;
    return;
  }
  TCustomControl::Dispatch(Message);
}

void FormsTest::SetUp()
{
  Headless::Start(1024, 768);
  Controls::Initialize();
  gLog.clear();
  Owner = std::make_unique<TComponent>(nullptr);
}

void FormsTest::TearDown()
{
  Owner.reset();
  Headless::Start(1024, 768);
}

TForm* FormsTest::MakeForm(int W, int H)
{
  auto* f = new TForm(Owner.get());
  f->SetBounds(100, 100, W, H);
  return f;
}

int FormsTest::Pump() { return Controls::ProcessMessages(); }

void CopyScreen(TPixelCanvas& Into, RECT From, int X, int Y)
{
  HBITMAP screen = Headless::CaptureScreen();
  HDC dc = Windows::CreateCompatibleDC(nullptr);
  HGDIOBJ old = Windows::SelectObject(dc, screen);
  Windows::BitBlt(Into.DC, X, Y, From.right - From.left, From.bottom - From.top, dc, From.left, From.top, SRCCOPY);
  Windows::SelectObject(dc, old);
  Windows::DeleteDC(dc);
  Windows::DeleteObject(screen);
}

void SavePng(HBITMAP Bitmap, const char* Name)
{
  std::vector<std::uint8_t> png = PngFile::SavePng(Bitmap);
  std::ofstream(std::string(PELTO_TEST_OUTPUT) + "/" + Name, std::ios::binary)
      .write(reinterpret_cast<const char*>(png.data()), std::streamsize(png.size()));
}
