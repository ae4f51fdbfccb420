#include <cstring>

#include "platform/win/input/Focus.h"
#include "platform/win/queue/Messages.h"
#include "platform/win/tests/WinTestUtil.h"
#include "platform/win/window/Windows.h"

using namespace Windows;
using Pair = std::pair<HWND, UINT>;

TEST_F(WinTest, CreationSendsItsMessagesInOrderAndNotifiesTheParent)
{
  HWND top = Make(WS_OVERLAPPEDWINDOW, 10, 10, 300, 200);
  ClearLog();
  HWND child = Make(WS_CHILD | WS_VISIBLE, 5, 5, 50, 20, top, 0, 7);
  ASSERT_NE(child, nullptr);
  std::vector<Pair> want = {{child, WM_NCCREATE},
                            {child, WM_NCCALCSIZE},
                            {child, WM_CREATE},
                            {child, WM_SIZE},
                            {child, WM_MOVE},
                            {top, WM_PARENTNOTIFY},
                            {child, WM_SHOWWINDOW},
                            {child, WM_WINDOWPOSCHANGING},
                            {child, WM_WINDOWPOSCHANGED}};
  EXPECT_EQ(Seq({WM_NCCREATE, WM_NCCALCSIZE, WM_CREATE, WM_SIZE, WM_MOVE, WM_PARENTNOTIFY, WM_SHOWWINDOW,
                 WM_WINDOWPOSCHANGING, WM_WINDOWPOSCHANGED}),
            want);
  EXPECT_EQ(GetDlgItem(top, 7), child);
  EXPECT_EQ(GetParent(child), top);
  EXPECT_TRUE(IsChild(top, child));
}

TEST_F(WinTest, CreateRefusedByTheWindowLeavesNoWindow)
{
  // A class whose windows refuse WM_CREATE.
  WNDCLASSEXA wc;
  wc.lpfnWndProc = [](HWND w, UINT m, WPARAM wp, LPARAM lp) -> LRESULT {
    if (m == WM_CREATE) return -1;
    return DefWindowProc(w, m, wp, lp);
  };
  wc.lpszClassName = "Refuser";
  ASSERT_NE(RegisterClassEx(&wc), 0);
  HWND probe = CreateWindowEx(0, "refuser", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  EXPECT_EQ(probe, nullptr);
  EXPECT_EQ(GetTopWindow(nullptr), nullptr);
  // Unknown classes, stale parents and children without a parent are refused too.
  EXPECT_EQ(CreateWindowEx(0, "NoSuchClass", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr), nullptr);
  EXPECT_EQ(Make(WS_CHILD, 0, 0, 1, 1, reinterpret_cast<HWND>(0x1234)), nullptr);
  EXPECT_EQ(Make(WS_CHILD, 0, 0, 1, 1, nullptr), nullptr);
  EXPECT_EQ(RegisterClassEx(&wc), 0) << "a class name is registered once";
}

TEST_F(WinTest, DestroySendsDestroyParentFirstAndNcDestroyChildFirst)
{
  HWND top = Make(WS_POPUP | WS_VISIBLE, 0, 0, 100, 100);
  HWND a = Make(WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, top);
  HWND b = Make(WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, a);
  HWND owned = Make(WS_POPUP, 0, 0, 10, 10, top);
  SetFocus(b);
  ClearLog();
  EXPECT_TRUE(DestroyWindow(top));
  std::vector<Pair> want = {{owned, WM_DESTROY}, {owned, WM_NCDESTROY}, {top, WM_DESTROY}, {a, WM_DESTROY},
                            {b, WM_DESTROY},     {b, WM_NCDESTROY},     {a, WM_NCDESTROY}, {top, WM_NCDESTROY}};
  EXPECT_EQ(Seq({WM_DESTROY, WM_NCDESTROY}), want);
  EXPECT_EQ(Count(b, WM_KILLFOCUS), 1);
  for (HWND h : {top, a, b, owned}) EXPECT_FALSE(IsWindow(h));
  EXPECT_EQ(GetFocus(), nullptr);
  EXPECT_FALSE(DestroyWindow(top)) << "a stale handle fails";
  EXPECT_EQ(SendMessage(top, WM_USER, 0, 0), 0);
}

TEST_F(WinTest, DestroyFromInsideItsOwnProcedureIsSafe)
{
  HWND top = Make(WS_POPUP | WS_VISIBLE, 0, 0, 100, 100);
  HWND child = Make(WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, top);
  On(child, WM_USER, [&](WPARAM, LPARAM) {
    DestroyWindow(top);
    return LRESULT(5);
  });
  EXPECT_EQ(SendMessage(child, WM_USER, 0, 0), 5);
  EXPECT_FALSE(IsWindow(child));
  PostMessage(top, WM_USER, 0, 0);
  EXPECT_EQ(Pump(), 0);
}

TEST_F(WinTest, ShowAndHideSendShowWindowAndKeepVisibilityOfTheChain)
{
  HWND top = Make(WS_POPUP, 0, 0, 100, 100);
  HWND child = Make(WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, top);
  EXPECT_FALSE(IsWindowVisible(child)) << "a visible child of a hidden parent is not visible";
  ClearLog();
  EXPECT_FALSE(ShowWindow(top, SW_SHOW));
  EXPECT_TRUE(IsWindowVisible(child));
  EXPECT_EQ(Seq({WM_SHOWWINDOW, WM_NCACTIVATE, WM_ACTIVATE, WM_SETFOCUS}),
            (std::vector<Pair>{{top, WM_SHOWWINDOW}, {top, WM_NCACTIVATE}, {top, WM_ACTIVATE}, {top, WM_SETFOCUS}}));
  EXPECT_TRUE(ShowWindow(top, SW_HIDE));
  EXPECT_FALSE(IsWindowVisible(child));
  EXPECT_EQ(GetFocus(), nullptr);
  EXPECT_EQ(GetActiveWindow(), nullptr);
}

TEST_F(WinTest, ZOrderFollowsSetWindowPosAndTopmostStaysAbove)
{
  HWND a = Make(WS_POPUP | WS_VISIBLE, 0, 0, 10, 10);
  HWND b = Make(WS_POPUP | WS_VISIBLE, 0, 0, 10, 10);
  HWND t = Make(WS_POPUP | WS_VISIBLE, 0, 0, 10, 10, nullptr, WS_EX_TOPMOST);
  EXPECT_EQ(GetTopWindow(nullptr), t);
  SetWindowPos(a, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  EXPECT_EQ(GetWindow(t, GW_HWNDNEXT), a) << "a plain window goes below the topmost ones";
  EXPECT_EQ(GetWindow(a, GW_HWNDNEXT), b);
  SetWindowPos(a, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  EXPECT_EQ(GetWindow(t, GW_HWNDLAST), a);
  SetWindowPos(b, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  EXPECT_EQ(GetTopWindow(nullptr), b);
  EXPECT_TRUE(GetWindowLongPtr(b, GWL_EXSTYLE) & WS_EX_TOPMOST);
  // Children: the latest is on top, and SWP_NOZORDER keeps the order.
  HWND c1 = Make(WS_CHILD | WS_VISIBLE, 0, 0, 5, 5, a);
  HWND c2 = Make(WS_CHILD | WS_VISIBLE, 0, 0, 5, 5, a);
  EXPECT_EQ(GetWindow(a, GW_CHILD), c2);
  SetWindowPos(c1, nullptr, 1, 1, 5, 5, SWP_NOZORDER);
  EXPECT_EQ(GetWindow(a, GW_CHILD), c2);
  BringWindowToTop(c1);
  EXPECT_EQ(GetWindow(a, GW_CHILD), c1);
}

TEST_F(WinTest, SetWindowPosReportsMoveAndSizeAndTheChangingHandlerMayAlterThem)
{
  HWND top = Make(WS_POPUP | WS_VISIBLE | WS_BORDER, 100, 50, 200, 100);
  RECT r;
  GetClientRect(top, &r);
  EXPECT_EQ(r, (RECT{0, 0, 198, 98}));
  On(top, WM_WINDOWPOSCHANGING, [](WPARAM, LPARAM lp) {
    auto* wp = reinterpret_cast<WINDOWPOS*>(lp);
    if (wp->cx > 150) wp->cx = 150;
    return LRESULT(0);
  });
  ClearLog();
  MoveWindow(top, 120, 60, 400, 100, TRUE);
  GetWindowRect(top, &r);
  EXPECT_EQ(r, (RECT{120, 60, 270, 160}));
  auto sizes = Of(WM_SIZE);
  ASSERT_EQ(sizes.size(), 1u);
  EXPECT_EQ(LOWORD(WPARAM(sizes[0].lParam)), 148);
  auto moves = Of(WM_MOVE);
  ASSERT_EQ(moves.size(), 1u);
  EXPECT_EQ(GET_X_LPARAM(moves[0].lParam), 121) << "WM_MOVE gives the client's origin";
  ClearLog();
  MoveWindow(top, 120, 60, 150, 100, TRUE);
  EXPECT_EQ(Of(WM_SIZE).size(), 0u) << "no change, no WM_SIZE";
}

TEST_F(WinTest, CoordinatesMapThroughParentsAndFrames)
{
  HWND top = Make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 300, 200);
  HWND child = Make(WS_CHILD | WS_VISIBLE | WS_BORDER, 10, 20, 50, 50, top);
  POINT p{0, 0};
  ClientToScreen(child, &p);
  // Thick frame 4 + caption 19 on the top-level window, 1-pixel border on the child.
  EXPECT_EQ(p, (POINT{100 + 4 + 10 + 1, 100 + 4 + 19 + 20 + 1}));
  ScreenToClient(top, &p);
  EXPECT_EQ(p, (POINT{11, 21}));
  POINT q{0, 0};
  MapWindowPoints(child, top, &q, 1);
  EXPECT_EQ(q, (POINT{11, 21}));
  EXPECT_EQ(WindowFromPoint({116, 145}), child);
  EXPECT_EQ(WindowFromPoint({108, 130}), top);
  EXPECT_EQ(WindowFromPoint({5, 5}), nullptr);
  ShowWindow(child, SW_HIDE);
  EXPECT_EQ(WindowFromPoint({116, 145}), top);
}

TEST_F(WinTest, TextLongsAndPropertiesRoundTrip)
{
  HWND top = Make(WS_POPUP, 0, 0, 10, 10);
  EXPECT_TRUE(SetWindowText(top, "合同管理"));
  EXPECT_EQ(GetWindowTextLength(top), 8);
  EXPECT_EQ(GetWindowText(top), "合同管理");
  char buf[4];
  // A double-byte character is never cut in two by a short buffer.
  EXPECT_EQ(GetWindowText(top, buf, sizeof buf), 2);
  EXPECT_EQ(std::string(buf), std::string("合"));
  SetWindowLongPtr(top, GWL_USERDATA, 42);
  EXPECT_EQ(GetWindowLongPtr(top, GWL_USERDATA), 42);
  EXPECT_TRUE(SetProp(top, "Owner", reinterpret_cast<HANDLE>(7)));
  EXPECT_EQ(GetProp(top, "OWNER"), reinterpret_cast<HANDLE>(7));
  EXPECT_EQ(RemoveProp(top, "owner"), reinterpret_cast<HANDLE>(7));
  EXPECT_EQ(GetProp(top, "Owner"), nullptr);
  ClearLog();
  SetWindowLongPtr(top, GWL_STYLE, LONG_PTR(WS_POPUP | WS_BORDER | WS_VISIBLE));
  EXPECT_EQ(Seq({WM_STYLECHANGING, WM_STYLECHANGED}),
            (std::vector<Pair>{{top, WM_STYLECHANGING}, {top, WM_STYLECHANGED}}));
  EXPECT_FALSE(IsWindowVisible(top)) << "visibility changes through ShowWindow only";
}

namespace {
WNDPROC gOldProc = nullptr;
int gSubclassed = 0;
LRESULT Subclass(HWND w, UINT m, WPARAM wp, LPARAM lp)
{
  if (m == WM_USER + 1) {
    ++gSubclassed;
    return 99;
  }
  return CallWindowProc(gOldProc, w, m, wp, lp);
}
}  // namespace

TEST_F(WinTest, SubclassingReplacesTheProcedureAndChainsToTheOldOne)
{
  HWND top = Make(WS_POPUP, 0, 0, 10, 10);
  gOldProc = reinterpret_cast<WNDPROC>(SetWindowLongPtr(top, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(&Subclass)));
  EXPECT_EQ(gOldProc, &TestWndProc);
  EXPECT_EQ(SendMessage(top, WM_USER + 1, 0, 0), 99);
  On(top, WM_USER + 2, [](WPARAM, LPARAM) { return LRESULT(3); });
  EXPECT_EQ(SendMessage(top, WM_USER + 2, 0, 0), 3);
  SetWindowLongPtr(top, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(gOldProc));
  EXPECT_EQ(SendMessage(top, WM_USER + 1, 0, 0), 0);
  EXPECT_EQ(gSubclassed, 1);
}

TEST_F(WinTest, DisablingAWindowTakesTheFocusAway)
{
  HWND top = Make(WS_POPUP | WS_VISIBLE, 0, 0, 100, 100);
  HWND child = Make(WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, top);
  SetFocus(child);
  EXPECT_FALSE(EnableWindow(child, FALSE));
  EXPECT_EQ(GetFocus(), nullptr);
  EXPECT_EQ(SetFocus(child), nullptr);
  EXPECT_EQ(GetFocus(), nullptr) << "a disabled window cannot take the focus";
  EXPECT_TRUE(EnableWindow(child, TRUE));
  EXPECT_EQ(Count(child, WM_ENABLE), 2);
}

TEST_F(WinTest, MaximiseFillsTheWorkAreaAndRestoreGoesBack)
{
  HWND top = Make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 60, 200, 100);
  HWND child = Make(WS_CHILD | WS_VISIBLE | WS_CAPTION, 5, 5, 40, 40, top);
  ClearLog();
  ShowWindow(top, SW_MAXIMIZE);
  RECT r;
  GetWindowRect(top, &r);
  EXPECT_EQ(r, (RECT{0, 0, 800, 600 - 30})) << "the headless task bar keeps 30 pixels";
  EXPECT_TRUE(IsZoomed(top));
  ASSERT_FALSE(Of(WM_SIZE).empty());
  EXPECT_EQ(Of(WM_SIZE).back().wParam, SIZE_MAXIMIZED);
  ShowWindow(top, SW_RESTORE);
  GetWindowRect(top, &r);
  EXPECT_EQ(r, (RECT{50, 60, 250, 160}));
  EXPECT_FALSE(IsZoomed(top));
  // A child maximises inside its parent's client area.
  ShowWindow(child, SW_MAXIMIZE);
  RECT pc;
  GetClientRect(top, &pc);
  GetWindowRect(child, &r);
  EXPECT_EQ(r.right - r.left, pc.right);
  ShowWindow(top, SW_MINIMIZE);
  EXPECT_TRUE(IsIconic(top));
  EXPECT_EQ(Of(WM_SIZE).back().wParam, SIZE_MINIMIZED);
}

TEST_F(WinTest, AWindowMadeMaximizedOrMinimizedKeepsItsGivenBoundsAsTheRestoredOnes)
{
  struct Case {
    DWORD style;
    RECT expected;  // the window's bounds right after creation
    bool zoomed, iconic;
  };
  const Case cases[] = {
      {WS_OVERLAPPEDWINDOW | WS_MAXIMIZE | WS_VISIBLE, {0, 0, 800, 570}, true, false},
      {WS_OVERLAPPEDWINDOW | WS_MAXIMIZE, {0, 0, 800, 570}, true, false},  // hidden, yet maximized
      {WS_OVERLAPPEDWINDOW | WS_MINIMIZE | WS_VISIBLE, {0, 0, 160, 570}, false, true},
  };
  for (const Case& c : cases) {
    HWND top = Make(c.style, 50, 60, 200, 100);
    RECT r;
    GetWindowRect(top, &r);
    EXPECT_EQ(IsZoomed(top) != FALSE, c.zoomed);
    EXPECT_EQ(IsIconic(top) != FALSE, c.iconic);
    if (c.zoomed)
      EXPECT_EQ(r, c.expected);
    else
      EXPECT_EQ(r.bottom, c.expected.bottom);
    EXPECT_EQ(IsWindowVisible(top) != FALSE, (c.style & WS_VISIBLE) != 0);
    ShowWindow(top, SW_RESTORE);
    GetWindowRect(top, &r);
    EXPECT_EQ(r, (RECT{50, 60, 250, 160})) << "restore goes to the bounds it was made with";
    EXPECT_FALSE(IsZoomed(top) || IsIconic(top));
    DestroyWindow(top);
  }
}
