// The base painted control on the headless desktop: its own bars and their visibility, the wheel,
// the system bar size, self references, focus on click, wanted keys and middle-button panning.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "controls/framework/cxControls.h"
#include "controls/framework/cxSettingsController.h"
#include "controls/framework/tests/ControlTestUtil.h"
#include "platform/forms/app/Application.h"
#include "platform/forms/app/Mouse.h"
#include "platform/forms/app/Screen.h"
#include "platform/forms/controls/Controls.h"
#include "platform/forms/forms/Form.h"
#include "platform/win/caret/Cursors.h"
#include "platform/win/input/Focus.h"
#include "platform/win/queue/Messages.h"
#include "platform/win/window/Windows.h"

namespace {

using Btn = InputQueue::Button;

struct TScrollCall {
  TScrollBarKind Kind;
  TScrollCode Code;
  DWORD Time;
};

// A control whose content has a fixed size (or fixed bar parameters) and that records scrolling.
class TContentControl : public TcxControl {
public:
  using TcxControl::TcxControl;
  SIZE Content{0, 0};
  bool PixelBars = false, AllowHide = true, FocusOnClick = true;
  // Fixed parameters instead of the content: {Max, Page} for each bar.
  bool Fixed = false;
  int HMax = 0, HPage = 0, VMax = 0, VPage = 0;
  std::vector<TScrollCall> Scrolls;
  std::function<void()> OnScrolled;

  void Refresh() { UpdateScrollBars(); }
  using TcxControl::StartPanning;

protected:
  bool IsPixelScrollBar(TScrollBarKind) override { return PixelBars; }
  bool GetFocusOnClick() override { return FocusOnClick; }
  void UpdateScrollBarsParameters() override
  {
    RECT r = GetClientBounds();
    if (Fixed) {
      SetScrollBarInfo(sbHorizontal, 0, HMax, 1, HPage, 0, true, AllowHide);
      SetScrollBarInfo(sbVertical, 0, VMax, 1, VPage, 0, true, AllowHide);
      return;
    }
    SetScrollBarInfo(sbHorizontal, 0, Content.cx - 1, 1, r.right - r.left, 0, true, AllowHide);
    SetScrollBarInfo(sbVertical, 0, Content.cy - 1, 1, r.bottom - r.top, 0, true, AllowHide);
  }
  void Scroll(TScrollBarKind Kind, TScrollCode Code, int& Pos) override
  {
    Scrolls.push_back({Kind, Code, Windows::GetMessageTime()});
    if (OnScrolled) OnScrolled();
  }
};

class TNoBarsControl : public TcxControl {
public:
  using TcxControl::TcxControl;

protected:
  bool HasOwnScrollBars() override { return false; }
};

struct ControlTest : cxWindowTest {
  TContentControl* Control = nullptr;
  void SetUp() override
  {
    cxWindowTest::SetUp();
    Control = Make();
  }
  TContentControl* Make(int Left = 20, int Top = 20)
  {
    auto* c = new TContentControl(Form);
    c->SetParent(Form);
    c->SetBounds(Left, Top, 200, 150);
    Pump();
    return c;
  }
  struct TBarsSeen {
    bool H, V, Grip;
    bool operator==(const TBarsSeen&) const = default;
  };
  TBarsSeen Bars(TContentControl* C)
  {
    return {C->IsHScrollBarVisible(), C->IsVScrollBarVisible(), C->GetSizeGrip()->GetVisible()};
  }
};

TEST_F(ControlTest, OwnBarsFollowTheContentAndPlaceThemselvesWithTheGrip)
{
  struct Case {
    const char* What;
    SIZE Content;
    TScrollStyle Style;
    TBarsSeen Expected;
  } cases[] = {
      {"fits", {200, 150}, ssBoth, {false, false, false}},
      {"too tall: the vertical bar narrows the width, no more", {150, 400}, ssBoth, {false, true, false}},
      {"too tall, and the bar makes it too wide", {190, 400}, ssBoth, {true, true, true}},
      {"too wide", {400, 100}, ssBoth, {true, false, false}},
      {"both", {400, 400}, ssBoth, {true, true, true}},
      {"no bars allowed", {400, 400}, ssNone, {false, false, false}},
      {"only the horizontal one", {400, 400}, ssHorizontal, {true, false, false}},
      {"only the vertical one", {400, 400}, ssVertical, {false, true, false}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.What);
    Control->Content = c.Content;
    Control->SetScrollBars(c.Style);
    Control->Refresh();
    EXPECT_EQ(Bars(Control), c.Expected);
    RECT client = Control->GetClientBounds();
    EXPECT_EQ(client.right, c.Expected.V ? 200 - 17 : 200);
    EXPECT_EQ(client.bottom, c.Expected.H ? 150 - 17 : 150);
    if (c.Expected.H) {
      EXPECT_EQ(Control->GetHScrollBar()->GetBoundsRect(), (RECT{0, client.bottom, client.right, 150}));
      EXPECT_EQ(Control->GetHScrollBar()->GetMax(), c.Content.cx - 1);
      EXPECT_EQ(Control->GetHScrollBar()->GetPageSize(), client.right);
    }
    if (c.Expected.V) {
      EXPECT_EQ(Control->GetVScrollBar()->GetBoundsRect(), (RECT{client.right, 0, 200, client.bottom}));
    }
    if (c.Expected.Grip) {
      EXPECT_EQ(Control->GetSizeGrip()->GetBoundsRect(), (RECT{183, 133, 200, 150}));
    }
  }
}

TEST_F(ControlTest, TwoBarsHoldingEachOtherUpVanishTogetherOnlyForPixelBars)
{
  // Each range is just beyond its page, but within the page plus the other bar's thickness.
  Control->Fixed = true;
  Control->HMax = 199;
  Control->HPage = 190;
  Control->VMax = 149;
  Control->VPage = 140;
  Control->Refresh();
  EXPECT_EQ(Bars(Control), (TBarsSeen{true, true, true}));
  Control->PixelBars = true;
  Control->Refresh();
  EXPECT_EQ(Bars(Control), (TBarsSeen{false, false, false}));

  // A range that fits shows the bar disabled when it may not hide.
  Control->PixelBars = false;
  Control->HMax = 100;
  Control->HPage = 150;
  Control->VMax = 100;
  Control->VPage = 150;
  Control->AllowHide = false;
  Control->Refresh();
  EXPECT_EQ(Bars(Control), (TBarsSeen{true, true, true}));
  EXPECT_FALSE(Control->GetHScrollBar()->GetEnabled());
  EXPECT_FALSE(Control->GetVScrollBar()->GetEnabled());
}

TEST_F(ControlTest, AWheelNotchOfAnySizeScrollsTheSystemsLines)
{
  Control->Content = SIZE{100, 1000};
  Control->Refresh();
  const int lines = Controls::Mouse->GetWheelScrollLines();
  ASSERT_GT(lines, 0);
  struct Case {
    int Delta;
    TScrollCode Code;
  } cases[] = {{120, scLineUp}, {1, scLineUp}, {-360, scLineDown}, {-7, scLineDown}};
  POINT p = Screen(Control, 50, 50);
  Control->SetFocus();  // the wheel goes to the focused window
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Delta);
    Control->Scrolls.clear();
    InputQueue::MouseMove(p.x, p.y);
    InputQueue::MouseWheel(c.Delta, p.x, p.y);
    Pump();
    ASSERT_EQ(int(Control->Scrolls.size()), lines);
    for (const TScrollCall& s : Control->Scrolls) {
      EXPECT_EQ(s.Kind, sbVertical);
      EXPECT_EQ(s.Code, c.Code);
    }
  }
  // Without a vertical bar the wheel is not the control's.
  Control->Content = SIZE{100, 100};
  Control->Refresh();
  Control->Scrolls.clear();
  InputQueue::MouseWheel(120, p.x, p.y);
  Pump();
  EXPECT_TRUE(Control->Scrolls.empty());
}

TEST_F(ControlTest, ASystemBarSizeChangeResizesTheBarsOfEveryRegisteredControl)
{
  TContentControl* other = Make(250, 20);
  auto* plain = new TNoBarsControl(Form);
  plain->SetParent(Form);
  Pump();
  EXPECT_EQ(plain->GetHScrollBar(), nullptr);
  EXPECT_EQ(plain->GetClientBounds(), (RECT{0, 0, plain->GetWidth(), plain->GetHeight()}));
  TcxSettingsController* controller = TcxSettingsController::Instance();
  EXPECT_EQ(controller->GetControlCount(), 2);
  ASSERT_NE(controller->GetWindow(), nullptr);

  // As if the bars were made under the old metrics.
  for (TContentControl* c : {Control, other}) {
    c->Content = SIZE{400, 400};
    c->GetHScrollBar()->SetHeight(12);
    c->GetVScrollBar()->SetWidth(12);
    c->Refresh();
    EXPECT_EQ(c->GetClientBounds(), (RECT{0, 0, 188, 138}));
  }
  Windows::SendMessage(controller->GetWindow(), WM_SETTINGCHANGE, 42, 0);
  Pump();
  for (TContentControl* c : {Control, other}) {
    EXPECT_EQ(c->GetHScrollBar()->GetHeight(), 17);
    EXPECT_EQ(c->GetVScrollBar()->GetWidth(), 17);
    EXPECT_EQ(c->GetClientBounds(), (RECT{0, 0, 183, 133}));
  }
  delete other;
  EXPECT_EQ(controller->GetControlCount(), 1);
}

TEST_F(ControlTest, AControlFreedInItsOwnMouseDownLeavesNoDanglingReference)
{
  TcxControl* watcher = Control;
  Control->AddSelfReference(&watcher);
  int downs = 0;
  Control->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) {
    ++downs;
    delete Control;
  };
  Click(Control, 30, 30);
  EXPECT_EQ(downs, 1);
  EXPECT_EQ(watcher, nullptr);
  // The form goes on working.
  TContentControl* next = Make();
  Click(next, 30, 30);
  EXPECT_TRUE(next->Focused());
}

TEST_F(ControlTest, AClickFocusesOnlyAControlThatWantsIt)
{
  TContentControl* shy = Make(250, 20);
  shy->FocusOnClick = false;
  Click(Control, 10, 10);
  EXPECT_TRUE(Control->Focused());
  int downs = 0;
  shy->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) { ++downs; };
  Click(shy, 10, 10);
  EXPECT_TRUE(Control->Focused());
  EXPECT_EQ(downs, 1);
  EXPECT_EQ(shy->GetMouseDownPos(), (POINT{10, 10}));
}

TEST_F(ControlTest, TheDialogCodeIsTheSumOfTheWantedKeys)
{
  struct Case {
    TcxControlKeys Keys;
    LRESULT Code;
  } cases[] = {{{}, 0},
               {{kArrows}, DLGC_WANTARROWS},
               {{kArrows, kChars}, DLGC_WANTARROWS | DLGC_WANTCHARS},
               {{kAll, kArrows, kChars, kTab}, DLGC_WANTALLKEYS | DLGC_WANTARROWS | DLGC_WANTCHARS | DLGC_WANTTAB}};
  for (const Case& c : cases) {
    Control->SetWantedKeys(c.Keys);
    EXPECT_EQ(Windows::SendMessage(Control->GetHandle(), WM_GETDLGCODE, 0, 0), c.Code);
  }
}

// ---- Middle-button panning

struct PanningTest : ControlTest {
  // Presses the middle button at the control's centre, moves the pointer by (DX, DY) and lets the
  // panning run for Scrolls steps before Escape ends it.
  void Pan(int DX, int DY, int Steps)
  {
    Control->Scrolls.clear();
    Cursors.clear();
    Control->OnScrolled = [this, Steps] {
      Cursors.push_back(Windows::GetCursor());
      if (int(Control->Scrolls.size()) == Steps) {
        InputQueue::KeyDown(VK_ESCAPE);
        InputQueue::KeyUp(VK_ESCAPE);
      }
    };
    Wait(1000);  // no double click with the last press
    Press(Control, 100, 75, Btn::Middle, false);
    MoveTo(Control, 100 + DX, 75 + DY, false);
    Pump();
    Control->OnScrolled = nullptr;
  }
  std::vector<HCURSOR> Cursors;
};

TEST_F(PanningTest, SpeedDirectionAndCursorFollowTheDistanceFromTheAnchor)
{
  Control->Content = SIZE{1000, 1000};
  Control->Refresh();
  Control->SetFocus();
  struct Case {
    int DX, DY;
    TScrollBarKind Kind;
    TScrollCode Code;
    DWORD Interval;  // (13 - speed) x 20 ms
    TCursor Cursor;
  } cases[] = {
      {0, -15, sbVertical, scLineUp, 240, crcxUpScroll},        // just outside the zone: speed 1
      {0, 40, sbVertical, scLineDown, 140, crcxDownScroll},     // speed (40 - 14) / 5 + 1 = 6
      {-150, 20, sbHorizontal, scLineUp, 20, crcxLeftScroll},   // far: speed 12, the larger distance
      {60, 60, sbVertical, scLineDown, 60, crcxDownScroll},     // a tie goes vertical; speed 10
      {30, 0, sbHorizontal, scLineDown, 180, crcxRightScroll},  // speed (30 - 14) / 5 + 1 = 4
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.DX << "," << c.DY);
    Pan(c.DX, c.DY, 3);
    ASSERT_EQ(Control->Scrolls.size(), 3u);
    for (const TScrollCall& s : Control->Scrolls) {
      EXPECT_EQ(s.Kind, c.Kind);
      EXPECT_EQ(s.Code, c.Code);
    }
    EXPECT_EQ(Control->Scrolls[2].Time - Control->Scrolls[1].Time, c.Interval);
    EXPECT_EQ(Cursors.back(), Forms::Screen->GetCursors(c.Cursor));
    EXPECT_FALSE(Control->IsPanning());
    EXPECT_EQ(Windows::GetCapture(), nullptr);
  }
}

TEST_F(PanningTest, ItNeedsABarAndEndsOnAClickButNotOnTheFirstReleaseInTheZone)
{
  // No bar: the middle button does nothing.
  Press(Control, 100, 75, Btn::Middle);
  EXPECT_FALSE(Control->IsPanning());
  Release(Control, 100, 75, Btn::Middle);

  Control->Content = SIZE{100, 1000};
  Control->Refresh();
  bool sawPanning = false;
  int panningCursorChecks = 0;
  Control->OnScrolled = [&] {
    sawPanning = Control->IsPanning();
    ++panningCursorChecks;
    // A left click ends the panning; it is not handed on.
    POINT p = Screen(Control, 100, 200);
    InputQueue::MouseDown(Btn::Left, p.x, p.y);
  };
  int leftDowns = 0;
  Control->OnMouseDown = [&](TObject*, TMouseButton B, TShiftState, int, int) { leftDowns += B == mbLeft; };
  // Press and release in the zone: panning goes on; moving away then scrolls.
  Wait(1000);
  Press(Control, 100, 75, Btn::Middle, false);
  Release(Control, 100, 75, Btn::Middle, false);
  MoveTo(Control, 100, 200, false);
  Pump();
  EXPECT_TRUE(sawPanning);
  EXPECT_EQ(panningCursorChecks, 1);
  EXPECT_EQ(leftDowns, 0);
  EXPECT_FALSE(Control->IsPanning());
}

}  // namespace
