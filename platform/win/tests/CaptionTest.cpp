#include <vector>

#include "platform/win/backend/Headless.h"
#include "platform/win/input/Focus.h"
#include "platform/win/input/InputQueue.h"
#include "platform/win/menu/Menus.h"
#include "platform/win/queue/Hooks.h"
#include "platform/win/queue/Messages.h"
#include "platform/win/tests/WinTestUtil.h"
#include "platform/win/window/CaptionButtons.h"
#include "platform/win/window/Windows.h"

using namespace Windows;
using InputQueue::Button;

namespace {

// What each mouse message found when it was taken: the button held down and the pixel at the
// top-left corner of the watched button (on the screen).
struct Seen {
  LRESULT pressed;
  COLORREF corner;
};
HWND gWatched = nullptr;
POINT gCorner;
std::vector<Seen> gSeen;

LRESULT WatchMouse(int code, WPARAM wp, LPARAM lp)
{
  gSeen.push_back({CaptionButtons::Pressed(gWatched), Headless::ScreenPixel(gCorner.x, gCorner.y)});
  return CallNextHookEx(nullptr, code, wp, lp);
}

POINT Centre(HWND wnd, LRESULT hit)
{
  RECT r = CaptionButtons::Rect(wnd, hit), w;
  GetWindowRect(wnd, &w);
  return {w.left + (r.left + r.right) / 2, w.top + (r.top + r.bottom) / 2};
}

}  // namespace

class CaptionTest : public WinTest {
protected:
  void Click(POINT p)
  {
    InputQueue::MouseDown(Button::Left, p.x, p.y);
    InputQueue::MouseUp(Button::Left, p.x, p.y);
    Pump();
  }
  std::vector<WPARAM> Commands() const
  {
    std::vector<WPARAM> out;
    for (auto& m : Of(WM_SYSCOMMAND)) out.push_back(m.wParam);
    return out;
  }
};

TEST_F(CaptionTest, TheButtonsAShownCaptionHasAndTheirHitTests)
{
  struct Case {
    DWORD style, exStyle;
    bool min, max;
  } cases[] = {
      {WS_OVERLAPPEDWINDOW, 0, true, true},
      {WS_OVERLAPPEDWINDOW, WS_EX_TOOLWINDOW, false, false},
      {WS_CAPTION | WS_SYSMENU, 0, false, false},
      {WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, 0, true, true},  // maximise shown greyed
  };
  for (const Case& c : cases) {
    HWND w = Make(c.style | WS_VISIBLE, 100, 100, 300, 200, nullptr, c.exStyle);
    SCOPED_TRACE(testing::Message() << std::hex << c.style << " " << c.exStyle);
    for (LRESULT hit : {HTCLOSE, HTMAXBUTTON, HTMINBUTTON}) {
      bool shown = hit == HTCLOSE || (hit == HTMAXBUTTON ? c.max : c.min);
      RECT r = CaptionButtons::Rect(w, hit);
      EXPECT_EQ(r.right > r.left, shown) << hit;
      if (!shown) continue;
      POINT p = Centre(w, hit);
      EXPECT_EQ(SendMessage(w, WM_NCHITTEST, 0, MAKELPARAM(p.x, p.y)), hit);
    }
    RECT minR = CaptionButtons::Rect(w, HTMINBUTTON), maxR = CaptionButtons::Rect(w, HTMAXBUTTON),
         closeR = CaptionButtons::Rect(w, HTCLOSE);
    if (c.min) {
      EXPECT_LE(minR.right, maxR.left);
      EXPECT_LT(maxR.right, closeR.left);
    }
    EXPECT_EQ(SendMessage(w, WM_NCHITTEST, 0, MAKELPARAM(150, 110)), HTCAPTION);
    DestroyWindow(w);
  }
  // No caption, no buttons.
  HWND popup = Make(WS_POPUP | WS_SYSMENU | WS_VISIBLE, 0, 0, 100, 100);
  EXPECT_EQ(CaptionButtons::Rect(popup, HTCLOSE).right, 0);
}

TEST_F(CaptionTest, AButtonIsPushedWhileHeldAndActsOnlyWhenReleasedOverIt)
{
  HWND w = Make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 300, 200);
  Pump();
  POINT max = Centre(w, HTMAXBUTTON);
  RECT r = CaptionButtons::Rect(w, HTMAXBUTTON);
  gWatched = w;
  gCorner = {100 + r.left, 100 + r.top};
  gSeen.clear();
  HHOOK hook = SetWindowsHookEx(WH_MOUSE, WatchMouse, nullptr, 0);
  COLORREF up = Headless::ScreenPixel(gCorner.x, gCorner.y);
  // Down, off the button, back on, off again, released off it: nothing happens.
  InputQueue::MouseDown(Button::Left, max.x, max.y);
  InputQueue::MouseMove(max.x, max.y + 40);
  InputQueue::MouseMove(max.x, max.y);
  InputQueue::MouseMove(max.x - 60, max.y);
  InputQueue::MouseUp(Button::Left, max.x - 60, max.y);
  Pump();
  ASSERT_EQ(gSeen.size(), 5u);
  // Each entry shows the state the message before it left.
  EXPECT_EQ(gSeen[1].pressed, HTMAXBUTTON);
  EXPECT_EQ(gSeen[2].pressed, HTNOWHERE);
  EXPECT_EQ(gSeen[3].pressed, HTMAXBUTTON);
  EXPECT_EQ(gSeen[4].pressed, HTNOWHERE);
  EXPECT_NE(gSeen[1].corner, up) << "drawn pushed";
  EXPECT_EQ(gSeen[2].corner, up) << "drawn up again";
  EXPECT_EQ(Count(w, WM_SYSCOMMAND), 0);
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_EQ(CaptionButtons::Pressed(w), HTNOWHERE);
  UnhookWindowsHookEx(hook);
  // Released over it: maximise; the same button then restores; minimise; a greyed button does
  // nothing.
  Click(max);
  EXPECT_TRUE(IsZoomed(w));
  Click(Centre(w, HTMAXBUTTON));
  EXPECT_FALSE(IsZoomed(w));
  Click(Centre(w, HTMINBUTTON));
  EXPECT_TRUE(IsIconic(w));
  EXPECT_EQ(Commands(), (std::vector<WPARAM>{SC_MAXIMIZE, SC_RESTORE, SC_MINIMIZE}));
  HWND noMax = Make(WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_VISIBLE, 400, 100, 200, 100);
  Pump();
  ClearLog();
  Click(Centre(noMax, HTMAXBUTTON));
  EXPECT_EQ(Count(noMax, WM_SYSCOMMAND), 0);
  EXPECT_FALSE(IsZoomed(noMax));
  Click(Centre(noMax, HTCLOSE));
  EXPECT_FALSE(IsWindow(noMax));
}

TEST_F(CaptionTest, EscapeOrALostCaptureLetsTheButtonGo)
{
  HWND w = Make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 300, 200);
  Pump();
  POINT close = Centre(w, HTCLOSE);
  InputQueue::MouseDown(Button::Left, close.x, close.y);
  InputQueue::KeyDown(VK_ESCAPE);
  InputQueue::MouseUp(Button::Left, close.x, close.y);
  Pump();
  EXPECT_TRUE(IsWindow(w));
  EXPECT_EQ(Count(w, WM_SYSCOMMAND), 0);
  // A timer that takes the mouse away while the button is held.
  HWND other = Make(WS_POPUP | WS_VISIBLE, 500, 400, 50, 50);
  SetTimer(other, 1, 10, nullptr);
  On(other, WM_TIMER, [other](WPARAM, LPARAM) {
    KillTimer(other, 1);
    SetCapture(other);
    return LRESULT(0);
  });
  InputQueue::MouseDown(Button::Left, close.x, close.y);
  MSG m;
  // The press loop runs inside the dispatch of the press and ends with the timer.
  ASSERT_TRUE(GetMessage(&m, nullptr, 0, 0));
  DispatchMessage(&m);
  EXPECT_EQ(GetCapture(), other);
  EXPECT_TRUE(IsWindow(w));
  EXPECT_EQ(CaptionButtons::Pressed(w), HTNOWHERE);
  ReleaseCapture();
}

class MenuBarTest : public WinTest {
protected:
  HWND wnd = nullptr;
  HMENU bar = nullptr;
  void SetUp() override
  {
    WinTest::SetUp();
    wnd = Make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50, 400, 300);
    bar = CreateMenu();
    HMENU file = CreatePopupMenu(), edit = CreatePopupMenu(), view = CreatePopupMenu();
    AppendMenu(file, MF_STRING, 101, "&Open");
    AppendMenu(edit, MF_STRING, 201, "&Copy");
    AppendMenu(edit, MF_STRING, 202, "&Paste");
    AppendMenu(view, MF_STRING, 301, "&Zoom");
    AppendMenu(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), "&File");
    AppendMenu(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(edit), "&Edit");
    AppendMenu(bar, MF_STRING, 401, "&Run");
    AppendMenu(bar, MF_POPUP | MF_GRAYED, reinterpret_cast<UINT_PTR>(view), "&View");
    SetMenu(wnd, bar);
    Pump();
    ClearLog();
  }
  POINT Item(int pos)
  {
    RECT r;
    GetMenuItemRect(wnd, bar, UINT(pos), &r);
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  }
  std::vector<HMENU> Opened() const
  {
    std::vector<HMENU> out;
    for (auto& m : Of(WM_INITMENUPOPUP)) out.push_back(reinterpret_cast<HMENU>(m.wParam));
    return out;
  }
};

TEST_F(MenuBarTest, MovingOntoAnotherBarItemClosesThePopUpAndOpensThatOne)
{
  POINT file = Item(0), edit = Item(1), run = Item(2), view = Item(3);
  RECT er;
  GetMenuItemRect(wnd, bar, 1, &er);
  InputQueue::MouseDown(Button::Left, file.x, file.y);
  InputQueue::MouseUp(Button::Left, file.x, file.y);
  InputQueue::MouseMove(file.x + 1, file.y);  // the same item: stays open
  InputQueue::MouseMove(run.x, run.y);        // a command item: stays open
  InputQueue::MouseMove(view.x, view.y);      // greyed: stays open
  InputQueue::MouseMove(edit.x, edit.y);      // Edit opens
  // Edit's second item, "Paste": rows of 20 pixels below a 2-pixel border.
  InputQueue::MouseDown(Button::Left, er.left + 20, er.bottom + 2 + 20 + 10);
  InputQueue::MouseUp(Button::Left, er.left + 20, er.bottom + 2 + 20 + 10);
  Pump();
  EXPECT_EQ(Opened(), (std::vector<HMENU>{GetSubMenu(bar, 0), GetSubMenu(bar, 1)}));
  auto cmds = Of(WM_COMMAND);
  ASSERT_EQ(cmds.size(), 1u);
  EXPECT_EQ(LOWORD(cmds[0].wParam), 202);
  EXPECT_EQ(Count(wnd, WM_INITMENU), 1) << "one menu session";
  EXPECT_EQ(GetCapture(), nullptr);
  // After the session the bar opens a pop-up only when clicked.
  ClearLog();
  InputQueue::MouseMove(file.x, file.y);
  Pump();
  EXPECT_TRUE(Opened().empty());
}

TEST_F(MenuBarTest, HotTrackingAlsoLeavesAnOpenSubMenu)
{
  HMENU more = CreatePopupMenu();
  AppendMenu(more, MF_STRING, 111, "&Recent");
  AppendMenu(GetSubMenu(bar, 0), MF_POPUP, reinterpret_cast<UINT_PTR>(more), "&More");
  POINT file = Item(0), edit = Item(1);
  RECT fr;
  GetMenuItemRect(wnd, bar, 0, &fr);
  InputQueue::MouseDown(Button::Left, file.x, file.y);
  InputQueue::MouseUp(Button::Left, file.x, file.y);
  // "More" (second row) opens its sub-menu; then the mouse goes to Edit; Escape closes it.
  InputQueue::MouseDown(Button::Left, fr.left + 20, fr.bottom + 2 + 20 + 10);
  InputQueue::MouseUp(Button::Left, fr.left + 20, fr.bottom + 2 + 20 + 10);
  InputQueue::MouseMove(edit.x, edit.y);
  InputQueue::KeyDown(VK_ESCAPE);
  Pump();
  EXPECT_EQ(Opened(), (std::vector<HMENU>{GetSubMenu(bar, 0), more, GetSubMenu(bar, 1)}));
  EXPECT_TRUE(Of(WM_COMMAND).empty());
}

TEST_F(MenuBarTest, LeftAndRightMoveToTheNeighbouringBarPopUps)
{
  POINT file = Item(0);
  InputQueue::MouseDown(Button::Left, file.x, file.y);
  InputQueue::MouseUp(Button::Left, file.x, file.y);
  InputQueue::KeyDown(VK_RIGHT);  // Edit
  InputQueue::KeyDown(VK_RIGHT);  // past Run (a command) and View (greyed), round to File
  InputQueue::KeyDown(VK_LEFT);   // round back to Edit
  InputQueue::KeyDown(VK_DOWN);
  InputQueue::KeyDown(VK_RETURN);  // Copy
  Pump();
  HMENU f = GetSubMenu(bar, 0), e = GetSubMenu(bar, 1);
  EXPECT_EQ(Opened(), (std::vector<HMENU>{f, e, f, e}));
  auto cmds = Of(WM_COMMAND);
  ASSERT_EQ(cmds.size(), 1u);
  EXPECT_EQ(LOWORD(cmds[0].wParam), 201);
}
