// Sections: the button table · layout · window procedure and painting · the modal loop · the
// seam's box.
#include "platform/stdctrls/dialogs/MessageBox.h"

#include <algorithm>

#include "platform/commctrl/CommCtrl.h"
#include "platform/gdi/dc/DeviceContext.h"
#include "platform/gdi/dc/GdiObjects.h"
#include "platform/gdi/dc/SysColors.h"
#include "platform/gdi/draw/Shapes.h"
#include "platform/gdi/text/DrawText.h"
#include "platform/rtl/Guards.h"
#include "platform/win/backend/Backend.h"
#include "platform/win/input/Focus.h"
#include "platform/win/paint/Painting.h"
#include "platform/win/queue/Messages.h"
#include "platform/win/window/Windows.h"

// ---- The button table ----------------------------------------------------------------------------

namespace MsgBox {

const AnsiString& ButtonText(int Id)
{
  static const AnsiString kTexts[] = {"",       "确定",   "取消",     "中止(&A)", "重试(&R)", "忽略(&I)",
                                      "是(&Y)", "否(&N)", "全部(&A)", "全否(&O)", "全是(&A)", "帮助(&H)"};
  return kTexts[(Id >= 1 && Id <= 11) ? Id : 0];
}

}  // namespace MsgBox

namespace {
const char* const kClass = "PeltoMessageBox";
constexpr int kMargin = 12, kIcon = 32, kButtonW = 75, kButtonH = 23, kButtonGap = 6;

void EnsureClass(WNDPROC Proc)
{
  WNDCLASSEXA probe;
  if (Windows::GetClassInfoEx(nullptr, kClass, &probe)) return;
  CommCtrl::Initialize();
  WNDCLASSEXA wc;
  wc.lpfnWndProc = Proc;
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = kClass;
  Windows::RegisterClassEx(&wc);
}

HFONT BoxFont() { return static_cast<HFONT>(Windows::GetStockObject(DEFAULT_GUI_FONT)); }

// The text's extent as DrawText lays it out: lines at "\r\n", tabs expanded, words wrapped
// beyond MaxWidth.
SIZE MeasureText(const AnsiString& Text, int MaxWidth)
{
  HDC dc = Windows::CreateCompatibleDC(nullptr);
  HGDIOBJ old = Windows::SelectObject(dc, BoxFont());
  RECT r{0, 0, MaxWidth, 0};
  Windows::DrawText(dc, Text.c_str(), int(Text.size()), &r, DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX);
  Windows::SelectObject(dc, old);
  Windows::DeleteDC(dc);
  return SIZE{r.right - r.left, r.bottom - r.top};
}
}  // namespace

// ---- Layout --------------------------------------------------------------------------------------

TMessageBoxWindow::TMessageBoxWindow(const AnsiString& Text, const AnsiString& Caption, TBoxIcon Icon,
                                     std::vector<TBoxButton> Buttons, int DefaultIndex, int CancelId)
    : FText(Text), FCaption(Caption), FIcon(Icon), FButtons(std::move(Buttons)), FDefault(DefaultIndex),
      FCancel(CancelId)
{
  if (FButtons.empty()) throw EMessageBoxError("A message box needs a button");
  if (FDefault < 0 || FDefault >= int(FButtons.size())) FDefault = 0;
  if (!FCancel && FButtons.size() == 1) FCancel = FButtons[0].Id;
  EnsureClass(&TMessageBoxWindow::WndProc);

  RECT work = Backend::Current().WorkArea();
  SIZE text = MeasureText(FText, (work.right - work.left) * 2 / 3);
  int textLeft = kMargin + (FIcon != TBoxIcon::None ? kIcon + kMargin : 0);
  int textTop = kMargin + (FIcon != TBoxIcon::None && text.cy < kIcon ? (kIcon - text.cy) / 2 : 0);
  FTextRect = RECT{textLeft, textTop, textLeft + text.cx, textTop + text.cy};
  int top = std::max<int>(FTextRect.bottom, FIcon != TBoxIcon::None ? kMargin + kIcon : 0) + kMargin + 4;
  int buttonsWidth = int(FButtons.size()) * kButtonW + int(FButtons.size() - 1) * kButtonGap;
  // Wide enough for the caption beside the close box too.
  int caption = MeasureText(FCaption, 10000).cx + 60;
  FClient.cx = std::max<int>({int(FTextRect.right) + kMargin, buttonsWidth + 2 * kMargin, caption, 160});
  FClient.cy = top + kButtonH + kMargin;

  FWnd = Windows::CreateWindowEx(WS_EX_DLGMODALFRAME | WS_EX_TOPMOST, kClass, FCaption.c_str(),
                                 WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN, 0, 0, FClient.cx, FClient.cy,
                                 Windows::GetActiveWindow(), nullptr, nullptr, nullptr);
  if (!FWnd) throw EMessageBoxError("The message box cannot be created");
  Windows::SetWindowLongPtr(FWnd, GWL_USERDATA, reinterpret_cast<LONG_PTR>(this));
  // The frame around the client area the layout asked for.
  RECT wr, cr;
  Windows::GetWindowRect(FWnd, &wr);
  Windows::GetClientRect(FWnd, &cr);
  Windows::SetWindowPos(FWnd, nullptr, 0, 0, FClient.cx + (wr.right - wr.left - cr.right),
                        FClient.cy + (wr.bottom - wr.top - cr.bottom), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  int x = (FClient.cx - buttonsWidth) / 2;
  for (size_t i = 0; i < FButtons.size(); ++i) {
    DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | (int(i) == FDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
    HWND b = Windows::CreateWindowEx(0, "BUTTON", FButtons[i].Text.c_str(), style, x, top, kButtonW, kButtonH, FWnd,
                                     reinterpret_cast<HMENU>(UINT_PTR(FButtons[i].Id)), nullptr, nullptr);
    Windows::SendMessage(b, WM_SETFONT, reinterpret_cast<WPARAM>(BoxFont()), 0);
    FButtonWnds.push_back(b);
    x += kButtonW + kButtonGap;
  }
}

void TMessageBoxWindow::AddInput(const AnsiString& Initial)
{
  if (FEdit) return;
  constexpr int kEditH = 21;
  int top = std::max<int>(FTextRect.bottom, kMargin) + 6;
  FEdit = Windows::CreateWindowEx(
      WS_EX_CLIENTEDGE, "EDIT", Initial.c_str(), WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL, kMargin, top,
      std::max<int>(FClient.cx, 280) - 2 * kMargin, kEditH, FWnd, nullptr, nullptr, nullptr);
  Windows::SendMessage(FEdit, WM_SETFONT, reinterpret_cast<WPARAM>(BoxFont()), 0);
  int shift = kEditH + 6;
  int grow = std::max<int>(FClient.cx, 280) - FClient.cx;
  FClient.cx += grow;
  FClient.cy += shift;
  for (HWND b : FButtonWnds) {
    RECT r;
    Windows::GetWindowRect(b, &r);
    POINT p{r.left, r.top};
    Windows::ScreenToClient(FWnd, &p);
    Windows::SetWindowPos(b, nullptr, p.x + grow / 2, p.y + shift, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  }
  RECT wr;
  Windows::GetWindowRect(FWnd, &wr);
  Windows::SetWindowPos(FWnd, nullptr, 0, 0, wr.right - wr.left + grow, wr.bottom - wr.top + shift,
                        SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

AnsiString TMessageBoxWindow::InputText() const
{
  if (!FEdit) return AnsiString();
  char buf[4096] = {};
  Windows::GetWindowText(FEdit, buf, sizeof buf);
  return buf;
}

TMessageBoxWindow::~TMessageBoxWindow()
{
  if (FWnd && Windows::IsWindow(FWnd)) {
    Windows::SetWindowLongPtr(FWnd, GWL_USERDATA, 0);
    Windows::DestroyWindow(FWnd);
  }
}

void TMessageBoxWindow::Show(int X, int Y)
{
  RECT wr;
  Windows::GetWindowRect(FWnd, &wr);
  int w = wr.right - wr.left, h = wr.bottom - wr.top;
  if (X < 0 || Y < 0) {
    RECT work = Backend::Current().WorkArea();
    X = work.left + (work.right - work.left - w) / 2;
    Y = work.top + (work.bottom - work.top - h) / 2;
  }
  Windows::SetWindowPos(FWnd, nullptr, X, Y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  Windows::ShowWindow(FWnd, SW_SHOW);
  Windows::SetActiveWindow(FWnd);
  if (FEdit) {
    Windows::SetFocus(FEdit);
    Windows::SendMessage(FEdit, EM_SETSEL, 0, -1);
  } else {
    Windows::SetFocus(FButtonWnds[size_t(FDefault)]);
  }
  Windows::UpdateWindow(FWnd);
}

// ---- Window procedure and painting ---------------------------------------------------------------

LRESULT TMessageBoxWindow::WndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam)
{
  auto* box = reinterpret_cast<TMessageBoxWindow*>(Windows::GetWindowLongPtr(Wnd, GWL_USERDATA));
  if (box) switch (Msg) {
      case WM_COMMAND:
        if (HIWORD(WParam) == BN_CLICKED && LParam) box->Answer(LOWORD(WParam));
        return 0;
      case WM_CLOSE:
        if (box->FCancel) box->Answer(box->FCancel);
        return 0;
      case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = Windows::BeginPaint(Wnd, &ps);
        box->Paint(dc);
        Windows::EndPaint(Wnd, &ps);
        return 0;
      }
      default: break;
    }
  return Windows::DefWindowProc(Wnd, Msg, WParam, LParam);
}

void TMessageBoxWindow::Paint(HDC DC)
{
  HGDIOBJ oldFont = Windows::SelectObject(DC, BoxFont());
  Windows::SetBkMode(DC, TRANSPARENT);
  Windows::SetTextColor(DC, Windows::GetSysColor(COLOR_WINDOWTEXT));
  RECT r = FTextRect;
  Windows::DrawText(DC, FText.c_str(), int(FText.size()), &r, DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX);
  if (FIcon != TBoxIcon::None) {
    // The classic icons: a red disc with a cross, a white bubble with "?", a yellow sign with
    // "!", a white bubble with "i".
    struct Look {
      COLORREF Fill, Ink;
      const char* Mark;
    };
    static const Look kLooks[] = {{RGB(255, 0, 0), RGB(255, 255, 255), "×"},
                                  {RGB(255, 255, 255), RGB(0, 0, 255), "?"},
                                  {RGB(255, 255, 0), RGB(0, 0, 0), "!"},
                                  {RGB(255, 255, 255), RGB(0, 0, 255), "i"}};
    const Look& look = kLooks[int(FIcon) - 1];
    RECT ir{kMargin, kMargin, kMargin + kIcon, kMargin + kIcon};
    HBRUSH fill = Windows::CreateSolidBrush(look.Fill);
    HGDIOBJ oldBrush = Windows::SelectObject(DC, fill);
    HGDIOBJ oldPen = Windows::SelectObject(DC, Windows::GetStockObject(BLACK_PEN));
    if (FIcon == TBoxIcon::Warning) {
      POINT tri[] = {{ir.left + kIcon / 2, ir.top}, {ir.right - 1, ir.bottom - 2}, {ir.left, ir.bottom - 2}};
      Windows::Polygon(DC, tri, 3);
    } else {
      Windows::Ellipse(DC, ir.left, ir.top, ir.right, ir.bottom);
    }
    Windows::SelectObject(DC, oldPen);
    Windows::SelectObject(DC, oldBrush);
    Windows::DeleteObject(fill);
    LOGFONTA lf{};
    Windows::GetObject(BoxFont(), &lf);
    lf.lfHeight = -20;
    lf.lfWeight = FW_BOLD;
    HFONT big = Windows::CreateFontIndirect(lf);
    Windows::SelectObject(DC, big);
    Windows::SetTextColor(DC, look.Ink);
    if (FIcon == TBoxIcon::Warning) ir.top += 6;
    Windows::DrawText(DC, look.Mark, -1, &ir, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    Windows::SelectObject(DC, BoxFont());
    Windows::DeleteObject(big);
  }
  Windows::SelectObject(DC, oldFont);
}

// ---- The modal loop ------------------------------------------------------------------------------

bool TMessageBoxWindow::Key(const MSG& Msg)
{
  HWND focus = Windows::GetFocus();
  bool inEdit = FEdit && focus == FEdit;
  if (Msg.message == WM_KEYDOWN || Msg.message == WM_SYSKEYDOWN) {
    if (inEdit && Msg.wParam != VK_ESCAPE && Msg.wParam != VK_RETURN && Msg.wParam != VK_TAB) return false;
    auto at = std::find(FButtonWnds.begin(), FButtonWnds.end(), focus);
    int index = at == FButtonWnds.end() ? FDefault : int(at - FButtonWnds.begin());
    int n = int(FButtonWnds.size());
    switch (int(Msg.wParam)) {
      case VK_ESCAPE:
        if (FCancel) Answer(FCancel);
        return true;
      case VK_RETURN: Answer(FButtons[size_t(index)].Id); return true;
      case VK_TAB:
      case VK_RIGHT:
      case VK_DOWN:
      case VK_LEFT:
      case VK_UP: {
        bool back = Msg.wParam == VK_LEFT || Msg.wParam == VK_UP ||
                    (Msg.wParam == VK_TAB && (Windows::GetKeyState(VK_SHIFT) & 0x8000));
        Windows::SetFocus(FButtonWnds[size_t((index + (back ? n - 1 : 1)) % n)]);
        return true;
      }
      default: break;
    }
  }
  if (inEdit && Msg.message == WM_CHAR) return false;
  if (Msg.message == WM_CHAR || Msg.message == WM_SYSCHAR) {
    // A button's "&" letter presses it.
    char c = char(std::toupper(int(Msg.wParam) & 0xFF));
    for (const TBoxButton& b : FButtons) {
      size_t amp = b.Text.find('&');
      if (amp != AnsiString::npos && amp + 1 < b.Text.size() && std::toupper(b.Text[amp + 1]) == c) {
        Answer(b.Id);
        return true;
      }
    }
    return Msg.message == WM_SYSCHAR;
  }
  return false;
}

int TMessageBoxWindow::Run(int X, int Y)
{
  if (!Windows::IsWindowVisible(FWnd)) Show(X, Y);
  HWND owner = Windows::GetParent(FWnd);
  bool reenable = owner && Windows::IsWindowEnabled(owner);
  if (reenable) Windows::EnableWindow(owner, FALSE);
  TScopeExit restore([owner, reenable] {
    if (reenable && Windows::IsWindow(owner)) Windows::EnableWindow(owner, TRUE);
  });
  FResult = 0;
  MSG msg;
  while (!FResult && Windows::IsWindow(FWnd)) {
    BOOL got;
    try {
      got = Windows::GetMessage(&msg, nullptr, 0, 0);
    } catch (const EInvalidOperation&) {
      throw EMessageBoxError("The message box \"" + FCaption + "\" has nobody to answer it");
    }
    if (!got) {
      // The application ends: hand the quit on and answer as Escape would.
      Windows::PostQuitMessage(int(msg.wParam));
      return FCancel ? FCancel : FButtons[size_t(FDefault)].Id;
    }
    if ((msg.hwnd == FWnd || Windows::IsChild(FWnd, msg.hwnd)) && Key(msg)) continue;
    Windows::TranslateMessage(&msg);
    Windows::DispatchMessage(&msg);
  }
  Windows::ShowWindow(FWnd, SW_HIDE);
  return FResult ? FResult : (FCancel ? FCancel : FButtons[size_t(FDefault)].Id);
}

// ---- The seam's box ------------------------------------------------------------------------------

namespace MsgBox {

int ShowFlags(const AnsiString& Text, const AnsiString& Caption, unsigned Flags)
{
  std::vector<int> ids;
  int cancel = 0;
  switch (Flags & MB_TYPEMASK) {
    case MB_OKCANCEL: ids = {IDOK, IDCANCEL}, cancel = IDCANCEL; break;
    case MB_ABORTRETRYIGNORE: ids = {IDABORT, IDRETRY, IDIGNORE}; break;
    case MB_YESNOCANCEL: ids = {IDYES, IDNO, IDCANCEL}, cancel = IDCANCEL; break;
    case MB_YESNO: ids = {IDYES, IDNO}; break;
    case MB_RETRYCANCEL: ids = {IDRETRY, IDCANCEL}, cancel = IDCANCEL; break;
    case MB_YESNOALL: ids = {IDYES, IDNO, IDALL}; break;
    default: ids = {IDOK}; break;
  }
  std::vector<TBoxButton> buttons;
  for (int id : ids) buttons.push_back({id, ButtonText(id)});
  TBoxIcon icon = TBoxIcon::None;
  switch (Flags & MB_ICONMASK) {
    case MB_ICONHAND: icon = TBoxIcon::Error; break;
    case MB_ICONQUESTION: icon = TBoxIcon::Question; break;
    case MB_ICONEXCLAMATION: icon = TBoxIcon::Warning; break;
    case MB_ICONASTERISK: icon = TBoxIcon::Information; break;
    default: break;
  }
  TMessageBoxWindow box(Text, Caption, icon, std::move(buttons), int((Flags & MB_DEFMASK) >> 8), cancel);
  return box.Run();
}

}  // namespace MsgBox
