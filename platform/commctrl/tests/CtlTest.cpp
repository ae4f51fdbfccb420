#include "platform/commctrl/tests/CtlTest.h"

#include <fstream>

#include "platform/commctrl/CommCtrl.h"
#include "platform/gdi/dc/GdiObjects.h"
#include "platform/gdi/image/PictureFiles.h"
#include "platform/win/backend/Headless.h"
#include "platform/win/input/Focus.h"
#include "platform/win/input/InputQueue.h"
#include "platform/win/queue/Messages.h"
#include "platform/win/window/Windows.h"

using namespace Windows;

namespace {
CtlTest* gTest = nullptr;
std::vector<Notification> gLog;

LRESULT ParentProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);
}  // namespace

struct CtlTestAccess {
  static LRESULT Handle(CtlTest* t, HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam)
  {
    switch (msg) {
      case WM_COMMAND: gLog.push_back({reinterpret_cast<HWND>(lParam), HIWORD(wParam)}); return 0;
      case WM_HSCROLL:
      case WM_VSCROLL: {
        CtlTest::Scrolled sc{msg, wParam, reinterpret_cast<HWND>(lParam), GetMessageTime()};
        t->Scrolls.push_back(sc);
        if (t->OnScroll) t->OnScroll(sc);
        return 0;
      }
      case WM_LBUTTONDOWN: ++t->ParentClicks; return 0;
      case WM_DRAWITEM: {
        auto* di = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
        t->Drawn.push_back(*di);
        if (t->OnDrawItem) t->OnDrawItem(*di);
        return TRUE;
      }
      case WM_MEASUREITEM:
        if (t->OnMeasureItem) t->OnMeasureItem(*reinterpret_cast<MEASUREITEMSTRUCT*>(lParam));
        return TRUE;
      case WM_CTLCOLOREDIT:
      case WM_CTLCOLORLISTBOX:
      case WM_CTLCOLORBTN:
      case WM_CTLCOLORSTATIC:
      case WM_CTLCOLORSCROLLBAR:
        if (t->OnCtlColor)
          return reinterpret_cast<LRESULT>(
              t->OnCtlColor(msg, reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam)));
        return 0;
      default: return DefWindowProc(wnd, msg, wParam, lParam);
    }
  }
};

namespace {
LRESULT ParentProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
  return gTest ? CtlTestAccess::Handle(gTest, wnd, msg, wParam, lParam) : DefWindowProc(wnd, msg, wParam, lParam);
}
}  // namespace

void CtlTest::SetUp()
{
  Headless::Start(800, 600);
  CommCtrl::Initialize();
  gTest = this;
  gLog.clear();
  WNDCLASSEXA wc;
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = ParentProc;
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = "CtlParent";
  RegisterClassEx(&wc);
  Parent = CreateWindowEx(0, "CtlParent", "", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 640, 480, nullptr, nullptr,
                          nullptr, nullptr);
  SetActiveWindow(Parent);
  Pump();
}

void CtlTest::TearDown()
{
  Headless::Start(800, 600);
  gTest = nullptr;
  gLog.clear();
}

HWND CtlTest::Make(const char* cls, const char* text, DWORD style, int x, int y, int w, int h, int id, DWORD exStyle)
{
  HWND c = CreateWindowEx(exStyle, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, Parent,
                          reinterpret_cast<HMENU>(std::intptr_t(id)), nullptr, nullptr);
  Pump();
  return c;
}

std::vector<WORD> CtlTest::Codes(HWND from) const
{
  std::vector<WORD> out;
  for (auto& n : gLog)
    if (!from || n.from == from) out.push_back(n.code);
  return out;
}

void CtlTest::ClearLog() { gLog.clear(); }

void CtlTest::Pump()
{
  MSG m;
  while (PeekMessage(&m, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&m);
    DispatchMessage(&m);
  }
}

void CtlTest::Click(HWND wnd, int x, int y)
{
  POINT p{x, y};
  ClientToScreen(wnd, &p);
  InputQueue::MouseMove(p.x, p.y);
  InputQueue::MouseDown(InputQueue::Button::Left, p.x, p.y);
  InputQueue::MouseUp(InputQueue::Button::Left, p.x, p.y);
  Pump();
}

void CtlTest::Key(int vk)
{
  InputQueue::KeyDown(vk);
  InputQueue::KeyUp(vk);
  Pump();
}

void CtlTest::AltKey(int vk)
{
  InputQueue::KeyDown(VK_MENU);
  InputQueue::KeyDown(vk);
  InputQueue::KeyUp(vk);
  InputQueue::KeyUp(VK_MENU);
  Pump();
}

void CtlTest::SavePng(const std::string& name)
{
  Pump();
  HBITMAP shot = Headless::CaptureScreen();
  auto png = PngFile::SavePng(shot);
  DeleteObject(shot);
  std::ofstream(std::string(PELTO_TEST_OUTPUT) + "/" + name + ".png", std::ios::binary)
      .write(reinterpret_cast<const char*>(png.data()), std::streamsize(png.size()));
}
