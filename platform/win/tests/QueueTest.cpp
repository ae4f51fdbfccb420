#include <thread>

#include "platform/rtl/Exceptions.h"
#include "platform/win/backend/Headless.h"
#include "platform/win/queue/Hooks.h"
#include "platform/win/queue/Messages.h"
#include "platform/win/tests/WinTestUtil.h"
#include "platform/win/window/Windows.h"

using namespace Windows;

TEST_F(WinTest, PostedMessagesComeInOrderAndPeekFiltersByWindowAndRange)
{
  HWND a = Make(WS_POPUP, 0, 0, 10, 10);
  HWND b = Make(WS_POPUP, 0, 0, 10, 10);
  PostMessage(a, WM_USER + 1, 1, 0);
  PostMessage(b, WM_USER + 2, 2, 0);
  PostMessage(a, WM_USER + 3, 3, 0);
  PostMessage(nullptr, WM_APP, 4, 0);
  MSG m;
  ASSERT_TRUE(PeekMessage(&m, b, 0, 0, PM_NOREMOVE));
  EXPECT_EQ(m.message, WM_USER + 2);
  ASSERT_TRUE(PeekMessage(&m, nullptr, WM_USER + 3, WM_USER + 3, PM_REMOVE));
  EXPECT_EQ(m.hwnd, a);
  std::vector<UINT> rest;
  while (PeekMessage(&m, nullptr, 0, 0, PM_REMOVE)) rest.push_back(m.message);
  EXPECT_EQ(rest, (std::vector<UINT>{WM_USER + 1, WM_USER + 2, WM_APP}));
  EXPECT_FALSE(PostMessage(reinterpret_cast<HWND>(0x99), WM_USER, 0, 0));
}

TEST_F(WinTest, AHandlerRemovesQueuedDuplicatesSoOneRelayoutRuns)
{
  const UINT kRelayout = WM_USER + 1;  // the deferred relayout a view site posts to itself
  HWND site = Make(WS_POPUP, 0, 0, 10, 10);
  int relayouts = 0;
  On(site, kRelayout, [&](WPARAM, LPARAM) {
    MSG dup;
    while (PeekMessage(&dup, site, kRelayout, kRelayout, PM_REMOVE)) {}
    ++relayouts;
    return LRESULT(0);
  });
  for (int i = 0; i < 3; ++i) PostMessage(site, kRelayout, 0, 0);
  PostMessage(site, WM_USER + 2, 0, 0);
  Pump();
  EXPECT_EQ(relayouts, 1);
  EXPECT_EQ(Count(site, WM_USER + 2), 1) << "other messages stay queued";
}

TEST_F(WinTest, TimersFireWhenDueOnceHoweverLongTheDelayAndStopWhenKilled)
{
  HWND w = Make(WS_POPUP, 0, 0, 10, 10);
  EXPECT_EQ(SetTimer(w, 5, 100, nullptr), 5u);
  EXPECT_EQ(Pump(), 0);
  Headless::AdvanceTime(99);
  EXPECT_EQ(Pump(), 0);
  Headless::AdvanceTime(1);
  EXPECT_EQ(Pump(), 1);
  Headless::AdvanceTime(1000);
  EXPECT_EQ(Pump(), 1) << "missed expirations give one WM_TIMER";
  auto t = Of(WM_TIMER);
  ASSERT_EQ(t.size(), 2u);
  EXPECT_EQ(t[0].wParam, 5u);
  EXPECT_TRUE(KillTimer(w, 5));
  EXPECT_FALSE(KillTimer(w, 5));
  Headless::AdvanceTime(1000);
  EXPECT_EQ(Pump(), 0);
  // A timer of a destroyed window dies with it.
  SetTimer(w, 6, 10, nullptr);
  DestroyWindow(w);
  Headless::AdvanceTime(20);
  EXPECT_EQ(Pump(), 0);
}

namespace {
int gTimerProcCalls = 0;
void CountingTimerProc(HWND, UINT, UINT_PTR, DWORD) { ++gTimerProcCalls; }
}  // namespace

TEST_F(WinTest, AThreadTimerCallsItsProcedureAndGetMessageWaitsForIt)
{
  gTimerProcCalls = 0;
  UINT_PTR id = SetTimer(nullptr, 0, 50, &CountingTimerProc);
  EXPECT_NE(id, 0u);
  DWORD before = GetTickCount();
  MSG m;
  ASSERT_TRUE(GetMessage(&m, nullptr, 0, 0));  // the headless clock skips to the timer
  EXPECT_EQ(m.message, WM_TIMER);
  EXPECT_EQ(GetTickCount() - before, 50u);
  DispatchMessage(&m);
  EXPECT_EQ(gTimerProcCalls, 1);
  KillTimer(nullptr, id);
  EXPECT_THROW(GetMessage(&m, nullptr, 0, 0), EInvalidOperation) << "an empty headless queue would wait forever";
}

TEST_F(WinTest, QuitEndsTheLoopAfterWhatIsAlreadyQueued)
{
  HWND w = Make(WS_POPUP, 0, 0, 10, 10);
  PostMessage(w, WM_USER, 0, 0);
  PostQuitMessage(3);
  PostMessage(w, WM_USER + 1, 0, 0);
  MSG m;
  int handled = 0;
  while (GetMessage(&m, nullptr, 0, 0)) {
    DispatchMessage(&m);
    ++handled;
  }
  EXPECT_EQ(handled, 2);
  EXPECT_EQ(m.message, WM_QUIT);
  EXPECT_EQ(m.wParam, 3u);
}

TEST_F(WinTest, AModalLoopEndedFromInsideReturnsToTheOuterLoop)
{
  HWND owner = Make(WS_POPUP | WS_VISIBLE, 0, 0, 100, 100);
  HWND dialog = Make(WS_POPUP, 10, 10, 50, 50, owner);
  bool done = false;
  int modalResult = 0;
  std::vector<std::string> trace;
  On(owner, WM_USER, [&](WPARAM, LPARAM) {
    trace.push_back("modal start");
    EnableWindow(owner, FALSE);
    ShowWindow(dialog, SW_SHOW);
    SetTimer(dialog, 1, 200, nullptr);
    MSG m;
    while (!done && GetMessage(&m, nullptr, 0, 0)) {
      TranslateMessage(&m);
      DispatchMessage(&m);
    }
    EnableWindow(owner, TRUE);
    DestroyWindow(dialog);
    trace.push_back("modal end");
    return LRESULT(0);
  });
  On(dialog, WM_TIMER, [&](WPARAM, LPARAM) {
    trace.push_back("timer");
    modalResult = 1;
    done = true;  // ends the nested loop from inside it
    PostMessage(owner, WM_USER + 1, 0, 0);
    return LRESULT(0);
  });
  On(owner, WM_USER + 1, [&](WPARAM, LPARAM) {
    trace.push_back("after");
    PostQuitMessage(0);
    return LRESULT(0);
  });
  PostMessage(owner, WM_USER, 0, 0);
  MSG m;
  while (GetMessage(&m, nullptr, 0, 0)) DispatchMessage(&m);
  EXPECT_EQ(trace, (std::vector<std::string>{"modal start", "timer", "modal end", "after"}));
  EXPECT_EQ(modalResult, 1);
  EXPECT_FALSE(IsWindow(dialog));
  EXPECT_TRUE(IsWindowEnabled(owner));
}

TEST_F(WinTest, PostMessageFromAnotherThreadReachesTheQueue)
{
  HWND w = Make(WS_POPUP, 0, 0, 10, 10);
  std::thread t([w] { PostMessage(w, WM_USER + 7, 1, 2); });
  t.join();
  EXPECT_EQ(Pump(), 1);
  EXPECT_EQ(Count(w, WM_USER + 7), 1);
}

// ---- Hooks ------------------------------------------------------------------------------------

namespace {
std::vector<std::string> gHookTrace;
HHOOK gFirst = nullptr, gSecond = nullptr;
LRESULT FirstHook(int code, WPARAM w, LPARAM l)
{
  auto* cwp = reinterpret_cast<CWPSTRUCT*>(l);
  if (cwp->message == WM_USER + 5) gHookTrace.push_back("first");
  return CallNextHookEx(gFirst, code, w, l);
}
LRESULT SecondHook(int code, WPARAM w, LPARAM l)
{
  auto* cwp = reinterpret_cast<CWPSTRUCT*>(l);
  if (cwp->message == WM_USER + 5) {
    gHookTrace.push_back("second");
    UnhookWindowsHookEx(gSecond);  // unhooking while running is safe
  }
  return CallNextHookEx(gSecond, code, w, l);
}
LRESULT SysKeyToNull(int code, WPARAM removed, LPARAM l)
{
  auto* m = reinterpret_cast<MSG*>(l);
  if (code == HC_ACTION && removed == PM_REMOVE && m->message == WM_SYSKEYDOWN) m->message = WM_NULL;
  return CallNextHookEx(nullptr, code, removed, l);
}
}  // namespace

TEST_F(WinTest, CallWndProcHooksSeeSentMessagesNewestFirst)
{
  HWND w = Make(WS_POPUP, 0, 0, 10, 10);
  gHookTrace.clear();
  gFirst = SetWindowsHookEx(WH_CALLWNDPROC, &FirstHook, nullptr, GetCurrentThreadId());
  gSecond = SetWindowsHookEx(WH_CALLWNDPROC, &SecondHook, nullptr, 0);
  ASSERT_NE(gFirst, nullptr);
  SendMessage(w, WM_USER + 5, 0, 0);
  SendMessage(w, WM_USER + 5, 0, 0);
  EXPECT_EQ(gHookTrace, (std::vector<std::string>{"second", "first", "first"}));
  PostMessage(w, WM_USER + 5, 0, 0);
  Pump();
  EXPECT_EQ(gHookTrace.size(), 3u) << "posted messages do not pass the call-window hook";
  EXPECT_TRUE(UnhookWindowsHookEx(gFirst));
  EXPECT_FALSE(UnhookWindowsHookEx(gFirst));
  EXPECT_EQ(SetWindowsHookEx(99, &FirstHook, nullptr, 0), nullptr);
}

TEST_F(WinTest, GetMessageHookMayRewriteTheMessageBeingRemoved)
{
  HWND w = Make(WS_POPUP, 0, 0, 10, 10);
  HHOOK h = SetWindowsHookEx(WH_GETMESSAGE, &SysKeyToNull, nullptr, 0);
  PostMessage(w, WM_SYSKEYDOWN, 'F', 0);
  MSG m;
  ASSERT_TRUE(PeekMessage(&m, nullptr, 0, 0, PM_NOREMOVE));
  EXPECT_EQ(m.message, WM_SYSKEYDOWN) << "a peek without removal is not rewritten";
  ASSERT_TRUE(PeekMessage(&m, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(m.message, WM_NULL);
  UnhookWindowsHookEx(h);
}

namespace {
std::vector<LRESULT> gReturns;
LRESULT RecordReturn(int code, WPARAM w, LPARAM l)
{
  auto* r = reinterpret_cast<CWPRETSTRUCT*>(l);
  if (r->message == WM_USER + 9) gReturns.push_back(r->lResult);
  return CallNextHookEx(nullptr, code, w, l);
}
}  // namespace

TEST_F(WinTest, CallWndProcRetHookSeesTheAnswer)
{
  HWND w = Make(WS_POPUP, 0, 0, 10, 10);
  On(w, WM_USER + 9, [](WPARAM wp, LPARAM) { return LRESULT(wp * 2); });
  gReturns.clear();
  HHOOK h = SetWindowsHookEx(WH_CALLWNDPROCRET, &RecordReturn, nullptr, 0);
  EXPECT_EQ(SendMessage(w, WM_USER + 9, 21, 0), 42);
  UnhookWindowsHookEx(h);
  SendMessage(w, WM_USER + 9, 1, 0);
  EXPECT_EQ(gReturns, (std::vector<LRESULT>{42}));
}

TEST_F(WinTest, BroadcastReachesEveryTopLevelWindowSentOrPosted)
{
  HWND a = Make(WS_POPUP, 0, 0, 10, 10);
  HWND b = Make(WS_POPUP, 0, 0, 10, 10);
  HWND child = Make(WS_CHILD, 0, 0, 5, 5, a);
  // A receiver that destroys the next one must not break the walk.
  On(a, WM_SETTINGCHANGE, [&](WPARAM, LPARAM) {
    DestroyWindow(b);
    return LRESULT(0);
  });
  SendMessage(HWND_BROADCAST, WM_SETTINGCHANGE, 0, 0);
  EXPECT_EQ(Count(a, WM_SETTINGCHANGE), 1);
  EXPECT_EQ(Count(child, WM_SETTINGCHANGE), 0) << "children are not told";
  PostMessage(HWND_BROADCAST, WM_SYSCOLORCHANGE, 0, 0);
  Pump();
  EXPECT_EQ(Count(a, WM_SYSCOLORCHANGE), 1);
}
