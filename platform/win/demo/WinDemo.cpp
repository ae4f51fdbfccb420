// A small program on the desktop back end: a frame with a menu bar and a child pad that takes
// clicks and typed text. It reports what it gets on standard output, one line each, so that a
// script can drive it (the Xvfb test does) and wait on each step. F12 saves a screenshot taken through the back end
// to the path given as the first argument and ends the program.
#include <cstdio>
#include <string>

#include "platform/gdi/dc/DeviceContext.h"
#include "platform/gdi/dc/GdiObjects.h"
#include "platform/gdi/draw/Shapes.h"
#include "platform/gdi/text/TextOutput.h"
#include "platform/win/backend/DemoSupport.h"
#include "platform/win/backend/SdlBackend.h"
#include "platform/win/input/Focus.h"
#include "platform/win/menu/Menus.h"
#include "platform/win/paint/Painting.h"
#include "platform/win/queue/Messages.h"
#include "platform/win/window/Windows.h"

using namespace Windows;

namespace {

constexpr UINT kOpen = 101, kExit = 102;
constexpr COLORREF kPadColour = RGB(255, 255, 192);
std::string gShotPath;
std::string gTyped;  // CP936
HWND gPad = nullptr;

using Demo::Say;

void TakeShot()
{
  HBITMAP shot = SdlBackend::ScreenshotToPng(gShotPath);
  if (!shot) {
    Say("shot failed");
    return;
  }
  // The pad's centre as the screenshot shows it.
  RECT r;
  GetWindowRect(gPad, &r);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, shot);
  COLORREF c = GetPixel(dc, (r.left + r.right) / 2, r.bottom - 5);
  SelectObject(dc, old);
  DeleteDC(dc);
  DeleteObject(shot);
  char buf[64];
  std::snprintf(buf, sizeof buf, "shot %d %d %d", GetRValue(c), GetGValue(c), GetBValue(c));
  Say(buf);
}

LRESULT PadProc(HWND w, UINT msg, WPARAM wp, LPARAM lp)
{
  switch (msg) {
    case WM_LBUTTONDOWN: {
      SetFocus(w);
      Say("click " + std::to_string(GET_X_LPARAM(lp)) + " " + std::to_string(GET_Y_LPARAM(lp)));
      return 0;
    }
    case WM_CHAR: {
      char buf[32];
      std::snprintf(buf, sizeof buf, "char 0x%02X", unsigned(wp & 0xFF));
      Say(buf);
      gTyped += char(wp & 0xFF);
      InvalidateRect(w, nullptr, TRUE);
      return 0;
    }
    case WM_KEYDOWN:
      if (wp == VK_F12) {
        TakeShot();
        PostQuitMessage(0);
      }
      return 0;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(w, &ps);
      RECT c;
      GetClientRect(w, &c);
      HBRUSH b = CreateSolidBrush(kPadColour);
      FillRect(dc, &c, b);
      DeleteObject(b);
      SetBkMode(dc, TRANSPARENT);
      SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
      TextOut(dc, 4, 4, gTyped.c_str(), int(gTyped.size()));
      EndPaint(w, &ps);
      return 0;
    }
    default: return DefWindowProc(w, msg, wp, lp);
  }
}

LRESULT FrameProc(HWND w, UINT msg, WPARAM wp, LPARAM lp)
{
  switch (msg) {
    case WM_INITMENUPOPUP: Say("menu open"); return 0;
    case WM_COMMAND:
      Say("command " + std::to_string(LOWORD(wp)));
      if (LOWORD(wp) == kExit) DestroyWindow(w);
      return 0;
    case WM_DESTROY: PostQuitMessage(0); return 0;
    default: return DefWindowProc(w, msg, wp, lp);
  }
}

}  // namespace

int main(int argc, char** argv)
{
  gShotPath = argc > 1 ? argv[1] : "win_demo.png";
  if (!Demo::StartDesktop()) return 2;
  WNDCLASSEXA wc;
  wc.lpfnWndProc = FrameProc;
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = "DemoFrame";
  RegisterClassEx(&wc);
  wc.lpfnWndProc = PadProc;
  wc.hbrBackground = nullptr;
  wc.lpszClassName = "DemoPad";
  RegisterClassEx(&wc);

  HMENU bar = CreateMenu();
  HMENU file = CreatePopupMenu();
  AppendMenu(file, MF_STRING, kOpen, "&Open");
  AppendMenu(file, MF_SEPARATOR, 0, nullptr);
  AppendMenu(file, MF_STRING, kExit, "E&xit");
  AppendMenu(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), "&File");
  HWND frame = CreateWindowEx(0, "DemoFrame", "合同管理", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 100, 100, 400, 300,
                              nullptr, bar, nullptr, nullptr);
  gPad = CreateWindowEx(WS_EX_CLIENTEDGE, "DemoPad", "", WS_CHILD | WS_VISIBLE, 20, 20, 200, 100, frame, nullptr,
                        nullptr, nullptr);
  ShowWindow(frame, SW_SHOW);
  UpdateWindow(frame);

  RECT pad, fileItem;
  GetWindowRect(gPad, &pad);
  GetMenuItemRect(frame, bar, 0, &fileItem);
  Say("ready pad " + std::to_string((pad.left + pad.right) / 2) + " " + std::to_string((pad.top + pad.bottom) / 2) +
      " menu " + std::to_string((fileItem.left + fileItem.right) / 2) + " " +
      std::to_string((fileItem.top + fileItem.bottom) / 2));

  MSG m;
  while (GetMessage(&m, nullptr, 0, 0)) {
    TranslateMessage(&m);
    DispatchMessage(&m);
  }
  if (IsWindow(frame)) DestroyWindow(frame);
  SdlBackend::Stop();
  return 0;
}
