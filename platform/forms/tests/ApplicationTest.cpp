// The application object: exceptions shown or kept silent, the message loop with timers and
// termination, minimizing; the screen's cursors, geometry and fonts; the mouse object.
#include <functional>
#include <stdexcept>

#include "platform/classes/ClassRegistry.h"
#include "platform/forms/app/Application.h"
#include "platform/forms/app/ApplicationEvents.h"
#include "platform/forms/app/Monitor.h"
#include "platform/forms/app/Mouse.h"
#include "platform/forms/app/Screen.h"
#include "platform/forms/app/Timer.h"
#include "platform/forms/forms/Form.h"
#include "platform/forms/tests/AppTestUtil.h"
#include "platform/gdi/dc/GdiObjects.h"
#include "platform/gdi/image/Bitmaps.h"
#include "platform/gdi/image/Icons.h"
#include "platform/rtl/StringList.h"
#include "platform/win/backend/Headless.h"
#include "platform/win/caret/Cursors.h"
#include "platform/win/input/Focus.h"
#include "platform/win/queue/Messages.h"
#include "platform/win/window/Windows.h"

using Forms::Application;
using Forms::Screen;

namespace {

// Raises what the case names, then lets the application handle it.
void RaiseAndHandle(const std::function<void()>& Raise)
{
  try {
    Raise();
  } catch (...) {
    Application->HandleException(nullptr);
  }
}

HWND PlainWindow(int x)
{
  WNDCLASSEXA wc;
  wc.lpfnWndProc = Windows::DefWindowProc;
  wc.lpszClassName = "AppTestWnd";
  Windows::RegisterClassEx(&wc);
  return Windows::CreateWindowEx(0, "AppTestWnd", "", WS_OVERLAPPEDWINDOW | WS_VISIBLE, x, 10, 100, 80, nullptr,
                                 nullptr, nullptr, nullptr);
}

}  // namespace

TEST_F(AppTest, HandleExceptionShowsAllButAbortThroughTheSeam)
{
  Application->SetTitle("澜岳合同管理系统");
  struct Case {
    const char* Name;
    std::function<void()> Raise;
    const char* Shown;  // null: nothing shown
  };
  const Case cases[] = {
      {"abort is silent", [] { throw EAbort("Operation aborted"); }, nullptr},
      {"a text gets its full stop", [] { throw EConvertError("'x' is not a valid integer value"); },
       "'x' is not a valid integer value."},
      {"an ending stop is kept", [] { throw Exception("Done."); }, "Done."},
      {"Chinese text gets a stop", [] { throw Exception("文件不存在"); }, "文件不存在."},
      {"a standard exception shows its text", [] { throw std::runtime_error("disk full"); }, "disk full."},
      {"an empty message stays empty", [] { throw Exception(""); }, ""},
  };
  for (const Case& c : cases) {
    Shown.clear();
    RaiseAndHandle(c.Raise);
    if (!c.Shown) {
      EXPECT_TRUE(Shown.empty()) << c.Name;
      continue;
    }
    ASSERT_EQ(Shown.size(), 1u) << c.Name;
    EXPECT_EQ(Shown[0].Text, c.Shown) << c.Name;
    EXPECT_EQ(Shown[0].Caption, "澜岳合同管理系统") << c.Name;
    EXPECT_EQ(Shown[0].Flags, MB_OK | MB_ICONSTOP) << c.Name;
  }
}

TEST_F(AppTest, HandlersWithoutTheApplicationObjectUseTheSameRule)
{
  Forms::FinalizeApplication();
  for (auto raise : std::vector<std::function<void()>>{[] { throw EAbort(""); }, [] { throw Exception("无连接"); }}) {
    try {
      raise();
    } catch (...) {
      Forms::HandleException(nullptr);
    }
  }
  ASSERT_EQ(Shown.size(), 1u);
  EXPECT_EQ(Shown[0].Text, "无连接.");
  EXPECT_EQ(Shown[0].Flags, MB_OK | MB_ICONSTOP);
}

TEST_F(AppTest, OnExceptionTakesOverAndCaptureIsCancelled)
{
  HWND captor = PlainWindow(10);
  Windows::SetCapture(captor);
  TObject sender;
  std::vector<std::string> seen;
  Application->OnException = [&](TObject* Sender, Exception* E) {
    EXPECT_EQ(Sender, &sender);
    seen.push_back(std::string(E->ClassName()) + ":" + E->Message());
  };
  try {
    throw EConvertError("bad");
  } catch (...) {
    Application->HandleException(&sender);
  }
  RaiseAndHandle([] { throw EAbort(""); });
  EXPECT_EQ(seen, std::vector<std::string>{"EConvertError:bad"});
  EXPECT_TRUE(Shown.empty());
  EXPECT_EQ(Windows::GetCapture(), nullptr) << "a captured mouse is let go before the message";
}

TEST_F(AppTest, TimerTicksFromTheLoopUntilDisabled)
{
  TTimer timer(nullptr);
  timer.SetInterval(100);
  int ticks = 0;
  timer.SetOnTimer([&](TObject* Sender) {
    EXPECT_EQ(Sender, &timer);
    if (++ticks == 3) timer.SetEnabled(false);
  });
  for (int i = 0; i < 10 && ticks < 3; ++i) Application->HandleMessage();
  EXPECT_EQ(ticks, 3);
  Headless::AdvanceTime(1000);
  Application->ProcessMessages();
  EXPECT_EQ(ticks, 3) << "a disabled timer stays quiet";
  timer.SetEnabled(true);
  Headless::AdvanceTime(150);
  Application->ProcessMessages();
  EXPECT_EQ(ticks, 4);
}

TEST_F(AppTest, TimerWithoutEventOrIntervalDoesNotRun)
{
  TTimer timer(nullptr);
  timer.SetInterval(0);
  int ticks = 0;
  timer.SetOnTimer([&](TObject*) { ++ticks; });
  Headless::AdvanceTime(5000);
  Application->ProcessMessages();
  EXPECT_EQ(ticks, 0);
  timer.SetInterval(50);
  timer.SetOnTimer(nullptr);
  Headless::AdvanceTime(5000);
  Application->ProcessMessages();
  EXPECT_EQ(ticks, 0);
}

TEST_F(AppTest, RunEndsOnTerminateAndTimerErrorsAreShownWithoutStoppingIt)
{
  TForm* main = nullptr;
  Application->CreateForm(main);
  TTimer timer(nullptr);
  timer.SetInterval(10);
  int ticks = 0;
  timer.SetOnTimer([&](TObject*) {
    if (++ticks == 2) throw Exception("第二次");
    if (ticks == 4) Application->Terminate();
  });
  Application->Run();
  EXPECT_TRUE(Application->GetTerminated());
  EXPECT_EQ(ticks, 4);
  ASSERT_EQ(Shown.size(), 1u);
  EXPECT_EQ(Shown[0].Text, "第二次.");
}

TEST_F(AppTest, RunEndsWhenNothingCanArrive)
{
  TForm* main = nullptr;
  Application->CreateForm(main);
  int idle = 0;
  Application->OnIdle = [&](TObject*, bool& Done) { ++idle; };
  Application->Run();
  EXPECT_FALSE(Application->GetTerminated());
  EXPECT_GE(idle, 1);
}

TEST_F(AppTest, OnMessageSeesAndMayEatMessages)
{
  HWND wnd = PlainWindow(10);
  std::vector<UINT> seen;
  Application->OnMessage = [&](MSG& Msg, bool& Handled) {
    seen.push_back(Msg.message);
    Handled = Msg.message == WM_USER + 1;
  };
  Windows::PostMessage(wnd, WM_USER + 1, 0, 0);
  Windows::PostMessage(wnd, WM_USER + 2, 0, 0);
  Application->ProcessMessages();
  EXPECT_NE(std::find(seen.begin(), seen.end(), WM_USER + 1), seen.end());
  EXPECT_NE(std::find(seen.begin(), seen.end(), WM_USER + 2), seen.end());
}

TEST_F(AppTest, MinimizeAndRestoreTheVisibleWindows)
{
  HWND a = PlainWindow(10), b = PlainWindow(200);
  Windows::ShowWindow(b, SW_HIDE);
  int minimized = 0, restored = 0;
  Application->OnMinimize = [&](TObject*) { ++minimized; };
  Application->OnRestore = [&](TObject*) { ++restored; };
  Application->Minimize();
  Application->Minimize();
  EXPECT_TRUE(Windows::IsIconic(a));
  EXPECT_FALSE(Windows::IsWindowVisible(b) && Windows::IsIconic(b)) << "a hidden window stays as it was";
  Application->Restore();
  EXPECT_FALSE(Windows::IsIconic(a));
  EXPECT_TRUE(Windows::IsWindowVisible(a));
  EXPECT_FALSE(Windows::IsWindowVisible(b));
  EXPECT_EQ(minimized, 1);
  EXPECT_EQ(restored, 1);
}

TEST_F(AppTest, TitleDefaultsToTheProgramName)
{
  AnsiString exe = Application->GetExeName();
  ASSERT_FALSE(exe.empty());
  EXPECT_NE(exe.find(Application->GetTitle()), AnsiString::npos);
  EXPECT_EQ(Application->GetTitle().find('.'), AnsiString::npos);
  Application->SetTitle("合同");
  EXPECT_EQ(Windows::GetWindowText(Application->GetHandle()), "合同");
  Application->SetHelpFile("pelto.chm");
  EXPECT_EQ(Application->GetHelpFile(), "pelto.chm");
}

TEST_F(AppTest, ScreenCursorsAreOwnedAndShown)
{
  EXPECT_EQ(Windows::StandardCursorId(Screen->GetCursors(crDefault)), 32512);
  EXPECT_EQ(Windows::StandardCursorId(Screen->GetCursors(crIBeam)), 32513);
  EXPECT_EQ(Windows::StandardCursorId(Screen->GetCursors(crHourGlass)), 32514);
  EXPECT_EQ(Screen->GetCursors(crNone), nullptr);
  EXPECT_EQ(Screen->GetCursors(4711), Screen->GetCursors(crDefault)) << "an unknown number shows the arrow";

  HCURSOR own = Windows::LoadCursor(nullptr, IDC_HAND);
  Screen->SetCursors(2100, own);
  EXPECT_EQ(Screen->GetCursors(2100), own);
  Screen->SetCursor(2100);
  EXPECT_EQ(Windows::GetCursor(), own);
  Screen->SetCursor(crHourGlass);
  EXPECT_EQ(Windows::GetCursor(), Screen->GetCursors(crHourGlass));
  Screen->SetCursors(2100, nullptr);
  EXPECT_EQ(Screen->GetCursors(2100), Screen->GetCursors(crDefault));

  // The program's own cursors belong to the screen: one replaced by another is destroyed.
  auto makeCursor = [] {
    ICONINFO info;
    info.fIcon = FALSE;
    info.hbmMask = Windows::CreateBitmap(16, 32, 1, 1, nullptr);
    HICON icon = Windows::CreateIconIndirect(&info);
    Windows::DeleteObject(info.hbmMask);
    return icon;
  };
  HCURSOR first = makeCursor(), second = makeCursor();
  Screen->SetCursors(2101, first);
  Screen->SetCursors(2101, second);
  ICONINFO probe;
  EXPECT_FALSE(Windows::GetIconInfo(first, &probe)) << "the replaced cursor is destroyed";
  EXPECT_TRUE(Windows::GetIconInfo(second, &probe));
  Windows::DeleteObject(probe.hbmMask);
  Windows::DeleteObject(probe.hbmColor);
}

TEST_F(AppTest, ScreenGeometryAndFonts)
{
  EXPECT_EQ(Screen->GetPixelsPerInch(), 96);
  EXPECT_EQ(Screen->GetWidth(), 800);
  EXPECT_EQ(Screen->GetHeight(), 600);
  EXPECT_EQ(Screen->GetWorkAreaHeight(), 570) << "the task bar is left out";
  EXPECT_EQ(Screen->GetWorkAreaWidth(), 800);
  ASSERT_EQ(Screen->GetMonitorCount(), 1);
  TMonitor* m = Screen->GetMonitors(0);
  EXPECT_TRUE(m->GetPrimary());
  EXPECT_EQ(m->GetWidth(), 800);
  EXPECT_EQ(m->GetWorkareaRect().bottom, 570);
  EXPECT_EQ(Screen->MonitorFromPoint(POINT{5000, 5000}), m);
  EXPECT_THROW(Screen->GetMonitors(1), EListError);

  TStrings* fonts = Screen->GetFonts();
  EXPECT_GE(fonts->IndexOf("宋体"), 0);
  EXPECT_GE(fonts->IndexOf("Arial"), 0);
  for (int i = 1; i < fonts->GetCount(); ++i)
    EXPECT_NE(fonts->GetStrings(i - 1), fonts->GetStrings(i)) << "each family once";
}

TEST_F(AppTest, MouseReportsAndMovesThePointer)
{
  TMouse* mouse = Controls::Mouse;
  EXPECT_EQ(mouse->GetDragThreshold(), 5);
  EXPECT_EQ(mouse->GetWheelScrollLines(), 3);
  EXPECT_TRUE(mouse->GetWheelPresent());
  mouse->SetCursorPos(POINT{120, 45});
  EXPECT_EQ(mouse->GetCursorPos().x, 120);
  EXPECT_EQ(mouse->GetCursorPos().y, 45);
  HWND wnd = PlainWindow(10);
  mouse->SetCapture(wnd);
  EXPECT_EQ(mouse->GetCapture(), wnd);
  mouse->SetCapture(nullptr);
  EXPECT_EQ(Windows::GetCapture(), nullptr);
}

TEST_F(AppTest, ApplicationEventsComponentsShareTheEvents)
{
  TComponent owner(nullptr);
  auto* first = new TApplicationEvents(&owner);
  auto* second = new TApplicationEvents(&owner);
  std::vector<std::string> log;
  first->OnException = [&](TObject*, Exception* E) { log.push_back("first:" + E->Message()); };
  second->OnException = [&](TObject*, Exception* E) { log.push_back("second:" + E->Message()); };
  first->OnHint = [&](TObject*) { log.push_back("first:hint"); };

  RaiseAndHandle([] { throw Exception("a"); });
  EXPECT_EQ(log, (std::vector<std::string>{"second:a", "first:a"})) << "the newest first";
  EXPECT_TRUE(Shown.empty()) << "a component with OnException takes the message";

  log.clear();
  first->Activate();
  second->OnException = [&](TObject*, Exception*) {
    log.push_back("second");
    second->CancelDispatch();
  };
  first->OnException = [&](TObject*, Exception*) {
    log.push_back("first");
    first->CancelDispatch();
  };
  RaiseAndHandle([] { throw Exception("b"); });
  EXPECT_EQ(log, std::vector<std::string>{"first"}) << "activated first, and it cancels the rest";

  log.clear();
  Application->SetHint("x");
  EXPECT_EQ(log, std::vector<std::string>{"first:hint"});

  delete first;
  delete second;
  RaiseAndHandle([] { throw Exception("c"); });
  ASSERT_EQ(Shown.size(), 1u) << "with none left the box shows again";
  EXPECT_EQ(Classes::FindClass("TApplicationEvents"), TApplicationEvents::StaticClass());
  EXPECT_EQ(Classes::FindClass("TTimer"), TTimer::StaticClass());
}

TEST_F(AppTest, ActivationOfTheProgramIsReported)
{
  Application->Initialize();
  std::vector<std::string> seen;
  Application->OnActivate = [&](TObject*) { seen.push_back("activate"); };
  Application->OnDeactivate = [&](TObject*) { seen.push_back("deactivate"); };
  HWND wnd = PlainWindow(10);
  Windows::SetActiveWindow(wnd);
  EXPECT_TRUE(Application->GetActive());
  Focus::DeactivateApp();
  EXPECT_FALSE(Application->GetActive());
  EXPECT_EQ(seen, (std::vector<std::string>{"activate", "deactivate"}));
}
