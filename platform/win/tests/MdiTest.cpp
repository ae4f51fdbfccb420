#include "platform/win/input/Focus.h"
#include "platform/win/input/InputQueue.h"
#include "platform/win/mdi/MdiClient.h"
#include "platform/gdi/dc/SysColors.h"
#include "platform/win/backend/Headless.h"
#include "platform/win/menu/MenuData.h"
#include "platform/win/menu/Menus.h"
#include "platform/win/queue/Messages.h"
#include "platform/win/tests/WinTestUtil.h"
#include "platform/win/window/Metrics.h"
#include "platform/win/window/Windows.h"

using namespace Windows;

namespace {
HWND gClient = nullptr;

LRESULT ChildProc(HWND w, UINT m, WPARAM wp, LPARAM lp)
{
  if (m == WM_MDIACTIVATE || m == WM_SETFOCUS || m == WM_CLOSE || m == WM_DESTROY || m == WM_MOUSEACTIVATE ||
      m == WM_SYSCOMMAND || m == WM_SETTEXT) {
    LogMessage(w, m, wp, lp);
    return DefMDIChildProc(w, m, wp, lp);
  }
  return TestWndProc(w, m, wp, lp);  // logs, and answers what a test asked for
}

LRESULT FrameProc(HWND w, UINT m, WPARAM wp, LPARAM lp)
{
  if (m == WM_SETTEXT) {
    LogMessage(w, m, wp, lp);
    return DefFrameProc(w, gClient, m, wp, lp);
  }
  return TestWndProc(w, m, wp, lp);
}
}  // namespace

class MdiTest : public WinTest {
protected:
  HWND frame = nullptr;
  void SetUp() override
  {
    WinTest::SetUp();
    WNDCLASSEXA wc;
    wc.lpfnWndProc = ChildProc;
    wc.lpszClassName = "MdiDoc";
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    ASSERT_NE(RegisterClassEx(&wc), 0);
    wc.lpfnWndProc = FrameProc;
    wc.lpszClassName = "MdiFrame";
    ASSERT_NE(RegisterClassEx(&wc), 0);
    gClient = nullptr;
    frame = CreateWindowEx(0, "MdiFrame", "Frame", WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 600, 400,
                           nullptr, nullptr, nullptr, nullptr);
    CLIENTCREATESTRUCT ccs;
    ccs.idFirstChild = 5000;
    gClient = CreateWindowEx(WS_EX_CLIENTEDGE, "MDIClient", "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 400, 300,
                             frame, nullptr, nullptr, &ccs);
    ASSERT_NE(gClient, nullptr);
  }
  HWND Doc(const char* title, DWORD style = 0)
  {
    MDICREATESTRUCTA mc;
    mc.szClass = "MdiDoc";
    mc.szTitle = title;
    mc.style = style;
    return reinterpret_cast<HWND>(SendMessage(gClient, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&mc)));
  }
  HWND Active(BOOL* maximized = nullptr)
  {
    return reinterpret_cast<HWND>(SendMessage(gClient, WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(maximized)));
  }
};

TEST_F(MdiTest, CreatingAndActivatingChildrenTellsTheOneLeavingAndTheOneComing)
{
  HWND a = Doc("A");
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(Active(), a);
  EXPECT_EQ(GetFocus(), a);
  EXPECT_EQ(GetDlgCtrlID(a), 5000);
  HWND b = Doc("B");
  EXPECT_EQ(Active(), b);
  ClearLog();
  SendMessage(gClient, WM_MDIACTIVATE, WPARAM(a), 0);
  auto acts = Of(WM_MDIACTIVATE);
  ASSERT_EQ(acts.size(), 2u);
  EXPECT_EQ(acts[0].wnd, b);
  EXPECT_EQ(acts[1].wnd, a);
  EXPECT_EQ(acts[1].wParam, WPARAM(b));
  EXPECT_EQ(acts[1].lParam, LPARAM(a));
  EXPECT_EQ(GetWindow(gClient, GW_CHILD), a) << "the active child is on top";
  EXPECT_EQ(GetFocus(), a);
  // Closing the active child activates the next one.
  SendMessage(a, WM_CLOSE, 0, 0);
  EXPECT_FALSE(IsWindow(a));
  EXPECT_EQ(Active(), b);
}

TEST_F(MdiTest, AMaximisedChildFillsTheClientAndPassesMaximisingOn)
{
  HWND a = Doc("A");
  HWND b = Doc("B", WS_MAXIMIZE);
  BOOL max = FALSE;
  EXPECT_EQ(Active(&max), b);
  EXPECT_TRUE(max);
  EXPECT_TRUE(IsZoomed(b));
  RECT client, inner;
  GetClientRect(gClient, &client);
  GetClientRect(b, &inner);
  EXPECT_EQ(inner.right, client.right);
  EXPECT_EQ(inner.bottom, client.bottom);
  SendMessage(gClient, WM_MDIACTIVATE, WPARAM(a), 0);
  EXPECT_TRUE(IsZoomed(a));
  EXPECT_FALSE(IsZoomed(b));
  // The client's new size carries the maximised child along.
  MoveWindow(gClient, 0, 0, 500, 350, TRUE);
  GetClientRect(gClient, &client);
  GetClientRect(a, &inner);
  EXPECT_EQ(inner.right, client.right);
  SendMessage(gClient, WM_MDIRESTORE, WPARAM(a), 0);
  EXPECT_FALSE(IsZoomed(a));
  Active(&max);
  EXPECT_FALSE(max);
}

TEST_F(MdiTest, TileAndCascadeArrangeTheVisibleChildren)
{
  HWND a = Doc("A"), b = Doc("B"), c = Doc("C");
  RECT client;
  GetClientRect(gClient, &client);
  SendMessage(gClient, WM_MDITILE, MDITILE_HORIZONTAL, 0);
  RECT ra, rb, rc;
  GetWindowRect(a, &ra);
  GetWindowRect(b, &rb);
  GetWindowRect(c, &rc);
  EXPECT_EQ(ra.right - ra.left, client.right);
  EXPECT_EQ(ra.bottom - ra.top, client.bottom / 3);
  EXPECT_EQ(rb.top - ra.top, client.bottom / 3) << "rows in creation order";
  SendMessage(gClient, WM_MDITILE, MDITILE_VERTICAL, 0);
  GetWindowRect(a, &ra);
  GetWindowRect(c, &rc);
  EXPECT_EQ(ra.bottom - ra.top, client.bottom);
  EXPECT_EQ(rc.left - ra.left, 2 * (client.right / 3));
  ShowWindow(b, SW_HIDE);
  SendMessage(gClient, WM_MDICASCADE, 0, 0);
  GetWindowRect(a, &ra);
  GetWindowRect(c, &rc);
  EXPECT_EQ(rc.left - ra.left, GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CYFRAME));
  EXPECT_EQ(rc.top - ra.top, rc.left - ra.left);
}

TEST_F(MdiTest, AClickOnAnInactiveChildActivatesIt)
{
  HWND a = Doc("A");
  HWND b = Doc("B");
  SendMessage(gClient, WM_MDITILE, MDITILE_VERTICAL, 0);
  RECT ra;
  GetWindowRect(a, &ra);
  Pump();
  InputQueue::MouseDown(InputQueue::Button::Left, (ra.left + ra.right) / 2, (ra.top + ra.bottom) / 2);
  InputQueue::MouseUp(InputQueue::Button::Left, (ra.left + ra.right) / 2, (ra.top + ra.bottom) / 2);
  Pump();
  EXPECT_EQ(Active(), a);
  EXPECT_NE(Active(), b);
}

class MdiFrameTest : public MdiTest {
protected:
  HMENU bar = nullptr;
  void SetUp() override
  {
    MdiTest::SetUp();
    bar = CreateMenu();
    HMENU file = CreatePopupMenu();
    AppendMenu(file, MF_STRING, 101, "&Open");
    AppendMenu(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), "&File");
    SetMenu(frame, bar);
    Pump();
  }
  POINT Part(LRESULT part)
  {
    RECT r;
    GetWindowRect(frame, &r);
    RECT p = Menus::MdiDecorRect(frame, part);
    return {r.left + (p.left + p.right) / 2, r.top + (p.top + p.bottom) / 2};
  }
  void Click(POINT p)
  {
    InputQueue::MouseDown(InputQueue::Button::Left, p.x, p.y);
    InputQueue::MouseUp(InputQueue::Button::Left, p.x, p.y);
    Pump();
  }
};

TEST_F(MdiFrameTest, AMaximisedChildIsMergedIntoTheFrameUntilRestored)
{
  HWND a = Doc("Doc A");
  RECT item;
  GetMenuItemRect(frame, bar, 0, &item);
  const int plainLeft = item.left;
  EXPECT_EQ(Menus::MdiChild(frame), nullptr);
  SendMessage(a, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
  EXPECT_TRUE(IsZoomed(a));
  EXPECT_EQ(GetWindowText(frame), "Frame - [Doc A]");
  EXPECT_EQ(Menus::MdiChild(frame), a);
  GetMenuItemRect(frame, bar, 0, &item);
  EXPECT_GT(item.left, plainLeft) << "the system-menu box comes first";
  // The decoration lies in the bar: the frame's hit test answers HTMENU there.
  POINT close = Part(HTCLOSE);
  EXPECT_EQ(SendMessage(frame, WM_NCHITTEST, 0, MAKELPARAM(close.x, close.y)), HTMENU);
  EXPECT_EQ(Menus::MdiDecorAt(frame, close), HTCLOSE);
  // New titles of either window are carried into the merged one.
  SetWindowText(a, "合同");
  EXPECT_EQ(GetWindowText(frame), "Frame - [合同]");
  SetWindowText(frame, "主窗口");
  EXPECT_EQ(GetWindowText(frame), "主窗口 - [合同]");
  // A new child is maximised in its place; activating the first merges it again.
  HWND b = Doc("B");
  EXPECT_TRUE(IsZoomed(b));
  EXPECT_EQ(GetWindowText(frame), "主窗口 - [B]");
  EXPECT_EQ(Menus::MdiChild(frame), b);
  SendMessage(gClient, WM_MDIACTIVATE, WPARAM(a), 0);
  EXPECT_EQ(GetWindowText(frame), "主窗口 - [合同]");
  // The restore button in the bar gives the frame its own title and bar back.
  ClearLog();
  Click(Part(HTMAXBUTTON));
  EXPECT_EQ(Count(a, WM_SYSCOMMAND), 1);
  EXPECT_FALSE(IsZoomed(a));
  BOOL max = TRUE;
  Active(&max);
  EXPECT_FALSE(max);
  EXPECT_EQ(GetWindowText(frame), "主窗口");
  EXPECT_EQ(Menus::MdiChild(frame), nullptr);
  GetMenuItemRect(frame, bar, 0, &item);
  EXPECT_EQ(item.left, plainLeft);
}

TEST_F(MdiFrameTest, TheBarButtonsAndSystemMenuActOnTheMaximisedChild)
{
  HWND a = Doc("A", WS_MAXIMIZE | WS_MINIMIZEBOX | WS_MAXIMIZEBOX);
  EXPECT_EQ(GetWindowText(frame), "Frame - [A]");
  Click(Part(HTMINBUTTON));
  EXPECT_TRUE(IsIconic(a));
  EXPECT_EQ(GetWindowText(frame), "Frame");
  EXPECT_EQ(Menus::MdiChild(frame), nullptr);
  SendMessage(a, WM_SYSCOMMAND, SC_RESTORE, 0);
  EXPECT_FALSE(IsIconic(a));
  EXPECT_FALSE(IsZoomed(a));
  RECT normal;
  GetWindowRect(a, &normal);
  // Pressed again at once (a double click): it acts again. An iconic child maximised and
  // restored comes back to its normal place.
  SendMessage(a, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
  Click(Part(HTMINBUTTON));
  EXPECT_TRUE(IsIconic(a));
  SendMessage(a, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
  EXPECT_FALSE(IsIconic(a));
  EXPECT_EQ(GetWindowText(frame), "Frame - [A]");
  SendMessage(a, WM_SYSCOMMAND, SC_RESTORE, 0);
  RECT back;
  GetWindowRect(a, &back);
  EXPECT_EQ(back, normal);
  // The system menu: "Restore" by its mnemonic.
  SendMessage(gClient, WM_MDIMAXIMIZE, WPARAM(a), 0);
  EXPECT_EQ(Menus::MdiChild(frame), a);
  POINT box = Part(HTSYSMENU);
  InputQueue::MouseDown(InputQueue::Button::Left, box.x, box.y);
  InputQueue::MouseUp(InputQueue::Button::Left, box.x, box.y);
  InputQueue::KeyDown('R');
  Pump();
  EXPECT_FALSE(IsZoomed(a));
  EXPECT_EQ(Menus::MdiChild(frame), nullptr);
  // Closing the maximised child through the bar.
  SendMessage(gClient, WM_MDIMAXIMIZE, WPARAM(a), 0);
  Click(Part(HTCLOSE));
  EXPECT_FALSE(IsWindow(a));
  EXPECT_EQ(GetWindowText(frame), "Frame");
  EXPECT_EQ(Menus::MdiChild(frame), nullptr);
  // The frame goes with a maximised child in it.
  HWND b = Doc("B", WS_MAXIMIZE);
  EXPECT_EQ(Menus::MdiChild(frame), b);
  EXPECT_TRUE(DestroyWindow(frame));
  EXPECT_FALSE(IsWindow(b));
}

TEST_F(MdiTest, AFrameWithoutAMenuBarMergesOnlyTheTitle)
{
  HWND a = Doc("A", WS_MAXIMIZE);
  EXPECT_EQ(GetWindowText(frame), "Frame - [A]");
  EXPECT_EQ(Menus::MdiDecorAt(frame, {10, 10}), HTNOWHERE);
  RECT r = Menus::MdiDecorRect(frame, HTCLOSE);
  EXPECT_EQ(r.right, r.left);
  SendMessage(gClient, WM_MDIRESTORE, WPARAM(a), 0);
  EXPECT_EQ(GetWindowText(frame), "Frame");
}

TEST_F(MdiTest, TheActiveChildsCaptionIsDrawnActive)
{
  HWND a = Doc("A"), b = Doc("B");
  SendMessage(gClient, WM_MDITILE, MDITILE_VERTICAL, 0);
  SetActiveWindow(frame);
  Pump();
  auto caption = [](HWND c) {
    POINT p{60, -5};
    ClientToScreen(c, &p);
    return Headless::ScreenPixel(p.x, p.y);
  };
  EXPECT_EQ(caption(b), GetSysColor(COLOR_ACTIVECAPTION));
  EXPECT_EQ(caption(a), GetSysColor(COLOR_INACTIVECAPTION));
  SendMessage(gClient, WM_MDIACTIVATE, WPARAM(a), 0);
  Pump();
  EXPECT_EQ(caption(a), GetSysColor(COLOR_ACTIVECAPTION));
  EXPECT_EQ(caption(b), GetSysColor(COLOR_INACTIVECAPTION));
}
