#include "platform/win/input/Focus.h"
#include "platform/win/input/InputQueue.h"
#include "platform/win/mdi/MdiClient.h"
#include "platform/win/queue/Messages.h"
#include "platform/win/tests/WinTestUtil.h"
#include "platform/win/window/Metrics.h"
#include "platform/win/window/Windows.h"

using namespace Windows;

namespace {
HWND gClient = nullptr;

LRESULT ChildProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  LRESULT r = TestWndProc(w, m, wp, lp);  // logs, and answers what a test asked for
  if (m == WM_MDIACTIVATE || m == WM_SETFOCUS || m == WM_CLOSE || m == WM_DESTROY ||
      m == WM_MOUSEACTIVATE)
    return DefMDIChildProc(w, m, wp, lp);
  return r;
}
}  // namespace

class MdiTest : public WinTest {
protected:
  HWND frame = nullptr;
  void SetUp() override {
    WinTest::SetUp();
    WNDCLASSEXA wc;
    wc.lpfnWndProc = ChildProc;
    wc.lpszClassName = "MdiDoc";
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    ASSERT_NE(RegisterClassEx(&wc), 0);
    frame = Make(WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 600, 400);
    CLIENTCREATESTRUCT ccs;
    ccs.idFirstChild = 5000;
    gClient = CreateWindowEx(WS_EX_CLIENTEDGE, "MDIClient", "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN,
                             0, 0, 400, 300, frame, nullptr, nullptr, &ccs);
    ASSERT_NE(gClient, nullptr);
  }
  HWND Doc(const char* title, DWORD style = 0) {
    MDICREATESTRUCTA mc;
    mc.szClass = "MdiDoc";
    mc.szTitle = title;
    mc.style = style;
    return reinterpret_cast<HWND>(SendMessage(gClient, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&mc)));
  }
  HWND Active(BOOL* maximized = nullptr) {
    return reinterpret_cast<HWND>(SendMessage(gClient, WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(maximized)));
  }
};

TEST_F(MdiTest, CreatingAndActivatingChildrenTellsTheOneLeavingAndTheOneComing) {
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

TEST_F(MdiTest, AMaximisedChildFillsTheClientAndPassesMaximisingOn) {
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

TEST_F(MdiTest, TileAndCascadeArrangeTheVisibleChildren) {
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

TEST_F(MdiTest, AClickOnAnInactiveChildActivatesIt) {
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
