#include "platform/forms/forms/HintWindow.h"

#include <algorithm>

#include "platform/forms/app/Screen.h"
#include "platform/forms/graphics/Brush.h"
#include "platform/forms/graphics/Canvas.h"
#include "platform/forms/graphics/Font.h"
#include "platform/gdi/dc/DeviceContext.h"
#include "platform/gdi/dc/GdiObjects.h"
#include "platform/gdi/text/DrawText.h"
#include "platform/win/backend/Backend.h"
#include "platform/win/window/Windows.h"

namespace {
constexpr UINT kHintText = DT_LEFT | DT_NOPREFIX | DT_WORDBREAK;
}

THintWindow::THintWindow(TComponent* AOwner) : TCustomControl(AOwner)
{
  SetVisible(false);
  SetParentColor(false);
  SetColor(clInfoBk);
  if (Forms::Screen && Forms::Screen->GetHintFont())
    GetCanvas()->GetFont()->Assign(Forms::Screen->GetHintFont());
  else {
    GetCanvas()->GetFont()->SetName("宋体");
    GetCanvas()->GetFont()->SetSize(9);
  }
  GetCanvas()->GetFont()->SetColor(clInfoText);
  GetFont()->Assign(GetCanvas()->GetFont());
}

void THintWindow::CreateParams(TCreateParams& Params)
{
  TCustomControl::CreateParams(Params);
  Params.Style = WS_POPUP | WS_BORDER;
  Params.ExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE;
  Params.WndParent = nullptr;
  Params.WindowClass.style |= CS_SAVEBITS;
}

void THintWindow::WndProc(TMessage& Message)
{
  if (Message.Msg == WM_NCHITTEST) {
    // The mouse goes through to the control under the hint.
    Message.Result = HTTRANSPARENT;
    return;
  }
  TCustomControl::WndProc(Message);
}

RECT THintWindow::CalcHintRect(int MaxWidth, const AnsiString& AHint, void* AData)
{
  // Measured on a memory DC: the window may not exist (nor have a size) yet.
  RECT r{0, 0, MaxWidth, 0};
  HDC dc = Windows::CreateCompatibleDC(nullptr);
  HGDIOBJ old = Windows::SelectObject(dc, GetCanvas()->GetFont()->GetHandle());
  Windows::DrawText(dc, AHint.c_str(), -1, &r, kHintText | DT_CALCRECT);
  Windows::SelectObject(dc, old);
  Windows::DeleteDC(dc);
  r.right += 6;
  r.bottom += 2;
  return r;
}

void THintWindow::ActivateHint(RECT Rect, const AnsiString& AHint)
{
  SetCaption(AHint);
  RECT work = Backend::Current().WorkArea();
  int w = Rect.right - Rect.left, h = Rect.bottom - Rect.top;
  // Kept on the work area: pushed left or up where it would leave it.
  int x = std::max<int>(work.left, std::min<int>(Rect.left, work.right - w));
  int y = std::max<int>(work.top, std::min<int>(Rect.top, work.bottom - h));
  HandleNeeded();
  SetBounds(x, y, w, h);
  Windows::SetWindowPos(GetHandle(), HWND_TOPMOST, x, y, w, h, SWP_SHOWWINDOW | SWP_NOACTIVATE);
  SetVisible(true);
  Invalidate();
  Update();
}

void THintWindow::ActivateHintData(RECT Rect, const AnsiString& AHint, void* AData) { ActivateHint(Rect, AHint); }

void THintWindow::ReleaseHandle()
{
  SetVisible(false);
  if (HandleAllocated()) Windows::ShowWindow(GetHandle(), SW_HIDE);
}

bool THintWindow::IsHintMsg(const MSG& Msg) const
{
  switch (Msg.message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_NCLBUTTONDOWN:
    case WM_NCRBUTTONDOWN:
    case WM_ACTIVATEAPP: return true;
    default: return false;
  }
}

void THintWindow::Paint()
{
  TCanvas* canvas = GetCanvas();
  RECT r = GetClientRect();
  canvas->GetBrush()->SetColor(GetColor());
  canvas->FillRect(r);
  r.left += 2;
  r.top += 2;
  canvas->GetBrush()->SetStyle(bsClear);
  canvas->TextExtent("");  // selects the font
  Windows::SetBkMode(canvas->GetHandle(), TRANSPARENT);
  Windows::DrawText(canvas->GetHandle(), GetCaption().c_str(), -1, &r, kHintText);
}
