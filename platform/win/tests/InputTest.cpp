#include "platform/win/backend/Headless.h"
#include "platform/win/caret/Cursors.h"
#include "platform/win/input/Focus.h"
#include "platform/win/input/InputQueue.h"
#include "platform/win/queue/Hooks.h"
#include "platform/win/queue/Messages.h"
#include "platform/win/tests/WinTestUtil.h"
#include "platform/win/window/Windows.h"

using namespace Windows;
using Pair = std::pair<HWND, UINT>;
using InputQueue::Button;

namespace {
// A top-level pop-up at (100, 100) of 200 x 100 with a child at client (10, 10) of 50 x 30.
struct Scene {
  HWND top, child;
};
}  // namespace

class InputTest : public WinTest {
protected:
  Scene Build()
  {
    Scene s;
    s.top = Make(WS_POPUP | WS_VISIBLE, 100, 100, 200, 100);
    s.child = Make(WS_CHILD | WS_VISIBLE, 10, 10, 50, 30, s.top);
    Pump();
    ClearLog();
    return s;
  }
};

TEST_F(InputTest, FocusAndActivationMessagesComeInOrder)
{
  HWND a = Make(WS_POPUP | WS_VISIBLE, 0, 0, 100, 100);
  HWND b = Make(WS_POPUP, 0, 0, 100, 100);
  HWND bChild = Make(WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, b);
  ShowWindow(b, SW_SHOWNA);
  ClearLog();
  SetFocus(bChild);
  std::vector<Pair> want = {{a, WM_NCACTIVATE}, {a, WM_ACTIVATE}, {b, WM_NCACTIVATE}, {b, WM_ACTIVATE},
                            {a, WM_KILLFOCUS},  {b, WM_SETFOCUS}, {b, WM_KILLFOCUS},  {bChild, WM_SETFOCUS}};
  EXPECT_EQ(Seq({WM_NCACTIVATE, WM_ACTIVATE, WM_SETFOCUS, WM_KILLFOCUS}), want);
  EXPECT_EQ(GetActiveWindow(), b);
  EXPECT_EQ(GetFocus(), bChild);
  EXPECT_EQ(Of(WM_SETFOCUS).back().wParam, WPARAM(b)) << "wParam names the window that lost it";
  // The application's first activation was announced to every top-level window once.
  EXPECT_EQ(Count(a, WM_ACTIVATEAPP) + Count(b, WM_ACTIVATEAPP), 0);
  Focus::DeactivateApp();
  EXPECT_EQ(Of(WM_ACTIVATEAPP).size(), 2u);
  EXPECT_EQ(Of(WM_ACTIVATEAPP)[0].wParam, WPARAM(FALSE));
  EXPECT_EQ(GetFocus(), nullptr);
}

TEST_F(InputTest, AClickHitTestsSetsTheCursorActivatesAndDeliversClientCoordinates)
{
  Scene s = Build();
  HWND other = Make(WS_POPUP | WS_VISIBLE, 400, 400, 50, 50);
  EXPECT_EQ(GetActiveWindow(), other);
  ClearLog();
  InputQueue::MouseDown(Button::Left, 100 + 10 + 5, 100 + 10 + 6);
  Pump();
  EXPECT_EQ(Seq({WM_NCHITTEST, WM_SETCURSOR, WM_MOUSEACTIVATE, WM_LBUTTONDOWN}),
            (std::vector<Pair>{{s.child, WM_NCHITTEST},
                               {s.child, WM_SETCURSOR},
                               {s.top, WM_SETCURSOR},
                               {s.child, WM_MOUSEACTIVATE},
                               {s.top, WM_MOUSEACTIVATE},
                               {s.child, WM_LBUTTONDOWN}}));
  auto down = Of(WM_LBUTTONDOWN);
  ASSERT_EQ(down.size(), 1u);
  EXPECT_EQ(GET_X_LPARAM(down[0].lParam), 5);
  EXPECT_EQ(GET_Y_LPARAM(down[0].lParam), 6);
  EXPECT_EQ(down[0].wParam, MK_LBUTTON);
  EXPECT_EQ(GetActiveWindow(), s.top);
  auto act = Of(WM_ACTIVATE);
  ASSERT_FALSE(act.empty());
  EXPECT_EQ(LOWORD(act.back().wParam), WA_CLICKACTIVE);
}

TEST_F(InputTest, MouseActivateAndEatSwallowsTheClick)
{
  Scene s = Build();
  Make(WS_POPUP | WS_VISIBLE, 400, 400, 50, 50);
  On(s.top, WM_MOUSEACTIVATE, [](WPARAM, LPARAM) { return MA_NOACTIVATEANDEAT; });
  ClearLog();
  InputQueue::MouseDown(Button::Left, 150, 150);
  Pump();
  EXPECT_EQ(Count(s.top, WM_LBUTTONDOWN), 0);
  EXPECT_NE(GetActiveWindow(), s.top);
}

TEST_F(InputTest, CaptureSteersMovesOutsideAndReleaseReportsTheChange)
{
  Scene s = Build();
  On(s.child, WM_LBUTTONDOWN, [&](WPARAM, LPARAM) {
    SetCapture(s.child);
    return LRESULT(0);
  });
  InputQueue::MouseDown(Button::Left, 115, 115);
  InputQueue::MouseMove(700, 500);  // far outside every window
  InputQueue::MouseUp(Button::Left, 700, 500);
  Pump();
  auto moves = Of(WM_MOUSEMOVE);
  ASSERT_EQ(moves.size(), 1u);
  EXPECT_EQ(moves[0].wnd, s.child);
  EXPECT_EQ(GET_X_LPARAM(moves[0].lParam), 700 - 110);
  EXPECT_EQ(Count(s.child, WM_LBUTTONUP), 1);
  SetCapture(s.top);
  EXPECT_EQ(Of(WM_CAPTURECHANGED).back().wnd, s.child);
  ReleaseCapture();
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_EQ(Of(WM_CAPTURECHANGED).back().wnd, s.top);
}

TEST_F(InputTest, MouseLeaveIsPostedOnceWhenThePointerLeavesATrackedWindow)
{
  Scene s = Build();
  On(s.child, WM_MOUSEMOVE, [&](WPARAM, LPARAM) {
    TRACKMOUSEEVENT t;
    t.dwFlags = TME_LEAVE;
    t.hwndTrack = s.child;
    TrackMouseEvent(&t);
    return LRESULT(0);
  });
  InputQueue::MouseMove(115, 115);
  InputQueue::MouseMove(116, 115);
  Pump();
  EXPECT_EQ(Count(s.child, WM_MOUSELEAVE), 0);
  InputQueue::MouseMove(250, 180);  // onto the parent
  InputQueue::MouseMove(251, 180);
  Pump();
  EXPECT_EQ(Count(s.child, WM_MOUSELEAVE), 1);
  // Tracking a window the pointer is not over reports the leave at once.
  TRACKMOUSEEVENT t;
  t.dwFlags = TME_LEAVE;
  t.hwndTrack = s.child;
  TrackMouseEvent(&t);
  Pump();
  EXPECT_EQ(Count(s.child, WM_MOUSELEAVE), 2);
}

TEST_F(InputTest, DoubleClicksNeedTheClassStyleTheTimeAndTheDistance)
{
  Scene s = Build();
  struct Case {
    const char* name;
    DWORD gap;
    int dx;
    UINT second;
  } cases[] = {{"quick and close", 200, 1, WM_LBUTTONDBLCLK},
               {"too slow", 600, 0, WM_LBUTTONDOWN},
               {"too far", 100, 5, WM_LBUTTONDOWN}};
  for (const Case& c : cases) {
    Headless::AdvanceTime(1000);  // forget the previous click
    ClearLog();
    InputQueue::MouseDown(Button::Left, 115, 115);
    InputQueue::MouseUp(Button::Left, 115, 115);
    Pump();
    Headless::AdvanceTime(c.gap);
    InputQueue::MouseDown(Button::Left, 115 + c.dx, 115);
    Pump();
    auto clicks = Seq({WM_LBUTTONDOWN, WM_LBUTTONDBLCLK});
    ASSERT_EQ(clicks.size(), 2u) << c.name;
    EXPECT_EQ(clicks[1].second, c.second) << c.name;
    InputQueue::MouseUp(Button::Left, 115 + c.dx, 115);
    Pump();
  }
  // A third quick press starts a new click rather than a second double click.
  ClearLog();
  Headless::AdvanceTime(1000);
  for (int i = 0; i < 3; ++i) {
    InputQueue::MouseDown(Button::Left, 115, 115);
    InputQueue::MouseUp(Button::Left, 115, 115);
  }
  Pump();
  EXPECT_EQ(Seq({WM_LBUTTONDOWN, WM_LBUTTONDBLCLK}),
            (std::vector<Pair>{{s.child, WM_LBUTTONDOWN}, {s.child, WM_LBUTTONDBLCLK}, {s.child, WM_LBUTTONDOWN}}));
}

namespace {
int gMouseHookCalls = 0;
LRESULT EatLeftDown(int code, WPARAM msg, LPARAM l)
{
  ++gMouseHookCalls;
  if (code == HC_ACTION && msg == WM_LBUTTONDOWN) return 1;
  return CallNextHookEx(nullptr, code, msg, l);
}
}  // namespace

TEST_F(InputTest, MouseHookSeesEveryMouseMessageAndMayDiscardIt)
{
  Scene s = Build();
  gMouseHookCalls = 0;
  HHOOK h = SetWindowsHookEx(WH_MOUSE, &EatLeftDown, nullptr, 0);
  InputQueue::MouseMove(115, 115);
  InputQueue::MouseDown(Button::Left, 115, 115);
  InputQueue::MouseUp(Button::Left, 115, 115);
  Pump();
  EXPECT_EQ(gMouseHookCalls, 3);
  EXPECT_EQ(Count(s.child, WM_LBUTTONDOWN), 0);
  EXPECT_EQ(Count(s.child, WM_LBUTTONUP), 1);
  UnhookWindowsHookEx(h);
}

TEST_F(InputTest, NonClientClicksAndTheWheel)
{
  HWND top = Make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 200, 150);
  HWND child = Make(WS_CHILD | WS_VISIBLE, 0, 0, 20, 20, top);
  SetFocus(child);
  Pump();
  ClearLog();
  InputQueue::MouseDown(Button::Left, 150, 110);  // on the caption
  InputQueue::MouseUp(Button::Left, 150, 110);
  InputQueue::MouseWheel(-120, 150, 200);
  Pump();
  auto nc = Of(WM_NCLBUTTONDOWN);
  ASSERT_EQ(nc.size(), 1u);
  EXPECT_EQ(nc[0].wParam, WPARAM(HTCAPTION));
  EXPECT_EQ(GET_X_LPARAM(nc[0].lParam), 150) << "non-client messages carry screen points";
  auto wheel = Of(WM_MOUSEWHEEL);
  ASSERT_EQ(wheel.size(), 2u) << "the focus window first, then its parent by default";
  EXPECT_EQ(wheel[0].wnd, child);
  EXPECT_EQ(GET_WHEEL_DELTA_WPARAM(wheel[0].wParam), -120);
}

TEST_F(InputTest, KeysGoToTheFocusAndTranslateIntoCharacters)
{
  Scene s = Build();
  SetFocus(s.child);
  ClearLog();
  InputQueue::KeyDown(VK_SHIFT);
  InputQueue::KeyDown('A');
  InputQueue::KeyUp('A');
  InputQueue::KeyUp(VK_SHIFT);
  InputQueue::KeyDown('B');
  EXPECT_TRUE(GetAsyncKeyState('B') < 0);
  EXPECT_FALSE(GetKeyState('B') < 0) << "the key state follows the messages handled";
  bool shiftSeen = false;
  On(s.child, WM_KEYDOWN, [&](WPARAM vk, LPARAM) {
    if (vk == 'A') shiftSeen = GetKeyState(VK_SHIFT) < 0;
    return LRESULT(0);
  });
  Pump();
  EXPECT_TRUE(shiftSeen);
  std::vector<WPARAM> chars;
  for (auto& m : Of(WM_CHAR)) chars.push_back(m.wParam);
  EXPECT_EQ(chars, (std::vector<WPARAM>{'A', 'b'}));
  EXPECT_TRUE(GetKeyState('B') < 0);
  // With Alt held the keys are system keys.
  ClearLog();
  InputQueue::KeyDown(VK_MENU);
  InputQueue::KeyDown('F');
  Pump();
  EXPECT_EQ(Count(s.child, WM_SYSKEYDOWN), 2);
  EXPECT_EQ(Count(s.child, WM_SYSCHAR), 1);
}

TEST_F(InputTest, ADoubleByteCharacterArrivesAsLeadThenTrailByte)
{
  Scene s = Build();
  SetFocus(s.child);
  ClearLog();
  InputQueue::Text("a合");
  Pump();
  std::vector<WPARAM> chars;
  for (auto& m : Of(WM_CHAR)) chars.push_back(m.wParam);
  const std::string he = "合";
  EXPECT_EQ(chars, (std::vector<WPARAM>{'a', BYTE(he[0]), BYTE(he[1])}));
  auto ime = Of(WM_IME_CHAR);
  ASSERT_EQ(ime.size(), 1u);
  EXPECT_EQ(ime[0].wParam, WPARAM((BYTE(he[0]) << 8) | BYTE(he[1])));
}

TEST_F(InputTest, SetCursorDefaultTakesTheClassCursorAndAParentMayDecide)
{
  Scene s = Build();
  SetClassLongPtr(s.child, GCLP_HCURSOR, reinterpret_cast<LONG_PTR>(LoadCursor(nullptr, IDC_IBEAM)));
  InputQueue::MouseMove(115, 115);
  Pump();
  EXPECT_EQ(StandardCursorId(GetCursor()), 32513);
  On(s.top, WM_SETCURSOR, [](WPARAM, LPARAM) {
    SetCursor(LoadCursor(nullptr, IDC_HAND));
    return LRESULT(TRUE);
  });
  InputQueue::MouseMove(116, 115);
  Pump();
  EXPECT_EQ(GetCursor(), LoadCursor(nullptr, IDC_HAND));
  // A sizing border shows the sizing cursor of its direction.
  HWND frame = Make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 400, 300, 100, 100);
  InputQueue::MouseMove(401, 350);
  Pump();
  EXPECT_EQ(GetCursor(), LoadCursor(nullptr, IDC_SIZEWE));
  InputQueue::MouseMove(499, 399);
  Pump();
  EXPECT_EQ(GetCursor(), LoadCursor(nullptr, IDC_SIZENWSE));
  DestroyWindow(frame);
  EXPECT_EQ(LoadCursor(nullptr, reinterpret_cast<const char*>(std::uintptr_t(1))), nullptr);
}

TEST_F(InputTest, DraggingTheCaptionMovesABorderSizesAndTheCloseBoxCloses)
{
  HWND top = Make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 200, 150);
  Pump();
  InputQueue::MouseDown(Button::Left, 150, 110);  // the caption
  InputQueue::MouseMove(170, 130);
  InputQueue::MouseUp(Button::Left, 180, 140);
  Pump();
  RECT r;
  GetWindowRect(top, &r);
  EXPECT_EQ(r, (RECT{130, 130, 330, 280}));
  EXPECT_EQ(Count(top, WM_ENTERSIZEMOVE), 1);
  EXPECT_EQ(Count(top, WM_EXITSIZEMOVE), 1);
  EXPECT_EQ(GetCapture(), nullptr);
  InputQueue::MouseDown(Button::Left, 329, 279);  // the bottom-right corner
  InputQueue::MouseUp(Button::Left, 349, 289);
  Pump();
  GetWindowRect(top, &r);
  EXPECT_EQ(r, (RECT{130, 130, 350, 290}));
  // Escape puts a moved window back.
  InputQueue::MouseDown(Button::Left, 180, 140);
  InputQueue::MouseMove(300, 300);
  InputQueue::KeyDown(VK_ESCAPE);
  Pump();
  GetWindowRect(top, &r);
  EXPECT_EQ(r, (RECT{130, 130, 350, 290}));
  InputQueue::MouseUp(Button::Left, 300, 300);
  // The close box: WM_SYSCOMMAND(SC_CLOSE), then WM_CLOSE, whose default destroys.
  ClearLog();
  POINT close{350 - 4 - 2 - 3, 130 + 4 + 5};
  EXPECT_EQ(SendMessage(top, WM_NCHITTEST, 0, MAKELPARAM(close.x, close.y)), HTCLOSE);
  InputQueue::MouseDown(Button::Left, close.x, close.y);
  InputQueue::MouseUp(Button::Left, close.x, close.y);
  Pump();
  EXPECT_EQ(Count(top, WM_SYSCOMMAND), 1);
  EXPECT_FALSE(IsWindow(top));
}
