// Dragging in the control family: the control's own drag-and-drop object, the automatic
// class-library drag after DragDetect, the copy cursor, and mouse-leave tracking.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "controls/framework/FrameworkModule.h"
#include "controls/framework/cxDragAndDrop.h"
#include "controls/framework/tests/ControlTestUtil.h"
#include "platform/forms/app/Mouse.h"
#include "platform/forms/app/Screen.h"
#include "platform/forms/controls/Controls.h"
#include "platform/forms/forms/Form.h"
#include "platform/win/input/Focus.h"

namespace {

using Btn = InputQueue::Button;

std::vector<std::string>* DragLog = nullptr;

class TLoggingDragObject : public TcxDragAndDropObject {
public:
  using TcxDragAndDropObject::TcxDragAndDropObject;
  bool Immediate = false;
  bool AcceptMoves = true;

protected:
  bool GetImmediateStart() override { return Immediate; }
  void BeginDragAndDrop() override
  {
    DragLog->push_back("begin");
    TcxDragAndDropObject::BeginDragAndDrop();
  }
  void DragAndDrop(POINT P, bool& Accepted) override
  {
    Accepted = AcceptMoves;
    DragLog->push_back("move " + std::to_string(P.x));
    TcxDragAndDropObject::DragAndDrop(P, Accepted);
  }
  void EndDragAndDrop(bool Accepted) override { DragLog->push_back(Accepted ? "end accepted" : "end refused"); }
};

class TDraggingControl : public TcxControl {
public:
  using TcxControl::TcxControl;
  bool Immediate = false;
  TCursor CursorDuringDrag = crDefault;

protected:
  bool StartDragAndDrop(POINT P) override { return P.x < 100; }
  TcxDragAndDropObjectClass GetDragAndDropObjectClass() override
  {
    return [this](TcxControl* C) {
      auto* o = new TLoggingDragObject(C);
      o->Immediate = Immediate;
      return o;
    };
  }
};

struct DragAndDropTest : cxWindowTest {
  std::vector<std::string> Log;
  TDraggingControl* Control = nullptr;
  void SetUp() override
  {
    cxWindowTest::SetUp();
    DragLog = &Log;
    Control = new TDraggingControl(Form);
    Control->SetParent(Form);
    Control->SetBounds(10, 10, 200, 120);
    Pump();
  }
  void TearDown() override
  {
    DragLog = nullptr;
    cxWindowTest::TearDown();
  }
};

TEST_F(DragAndDropTest, TheOwnGestureBeginsOnlyBeyondTheThresholdAndEndsAsReleasedOrCancelled)
{
  struct Case {
    const char* What;
    bool Immediate;
    int MoveTo;  // -1: no move
    int EndKey;  // 0: release the button
    std::vector<std::string> Expected;
  } cases[] = {
      {"press and release in place", false, -1, 0, {}},
      {"a move within the threshold", false, 23, 0, {}},
      {"a move beyond it", false, 40, 0, {"begin", "move 40", "end accepted"}},
      {"Escape cancels", false, 40, VK_ESCAPE, {"begin", "move 40", "end refused"}},
      {"an immediate start", true, -1, 0, {"begin", "end accepted"}},
  };
  const TCursor before = Forms::Screen->GetCursor();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.What);
    Log.clear();
    Control->Immediate = c.Immediate;
    Wait(1000);
    Press(Control, 20, 20);
    EXPECT_EQ(Control->GetDragAndDropState(), c.Immediate ? ddsDragging : ddsPending);
    if (c.MoveTo >= 0) MoveTo(Control, c.MoveTo, 20);
    if (c.EndKey) {
      EXPECT_EQ(Forms::Screen->GetCursor(), crDrag);
      Control->SetFocus();
      Key(c.EndKey);
      Release(Control, c.MoveTo, 20);
    } else {
      Release(Control, c.MoveTo >= 0 ? c.MoveTo : 20, 20);
    }
    EXPECT_EQ(Log, c.Expected);
    EXPECT_EQ(Control->GetDragAndDropState(), ddsNone);
    EXPECT_EQ(Forms::Screen->GetCursor(), before);
    EXPECT_EQ(Windows::GetCapture(), nullptr);
  }
  // A press where StartDragAndDrop refuses sets nothing up.
  Log.clear();
  Press(Control, 150, 20);
  EXPECT_EQ(Control->GetDragAndDropState(), ddsNone);
  MoveTo(Control, 190, 20);
  Release(Control, 190, 20);
  EXPECT_TRUE(Log.empty());
}

class TTargetControl : public TcxControl {
public:
  using TcxControl::TcxControl;
  int Drops = 0;

protected:
  void DragOver(TObject* Source, int X, int Y, TDragState State, bool& Accept) override { Accept = true; }
  void DragDrop(TObject* Source, int X, int Y) override { ++Drops; }
};

TEST_F(DragAndDropTest, AnAutomaticDragWaitsForTheMouseToLeaveTwiceTheThreshold)
{
  auto* target = new TTargetControl(Form);
  target->SetParent(Form);
  target->SetBounds(10, 200, 200, 100);
  Control->SetDragMode(dmAutomatic);
  int downs = 0, clicks = 0;
  Control->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) { ++downs; };
  Control->OnClick = [&](TObject*) { ++clicks; };
  Pump();
  const int t = Controls::Mouse->GetDragThreshold();

  // A click without moving: the handlers hear it, no drag.
  Wait(1000);
  Press(Control, 150, 50, Btn::Left, false);
  Release(Control, 150, 50);
  EXPECT_EQ(downs, 1);
  EXPECT_EQ(clicks, 1);
  EXPECT_FALSE(DragManager::Dragging());

  // Within the square of twice the threshold: still a click.
  Wait(1000);
  Press(Control, 150, 50, Btn::Left, false);
  MoveTo(Control, 150 + t - 1, 50 - t, false);
  Release(Control, 150 + t - 1, 50 - t);
  EXPECT_EQ(downs, 2);
  EXPECT_FALSE(DragManager::Dragging());

  // Out of it: the class library's drag runs with the family's object and drops on the target.
  Wait(1000);
  Press(Control, 150, 50, Btn::Left, false);
  MoveTo(Control, 150 + t + 1, 50, false);
  Pump();
  ASSERT_TRUE(DragManager::Dragging());
  EXPECT_NE(dynamic_cast<TcxDragControlObject*>(DragManager::Source()), nullptr);
  POINT p = Screen(target, 50, 50);
  InputQueue::MouseMove(p.x, p.y);
  InputQueue::MouseUp(Btn::Left, p.x, p.y);
  Pump();
  EXPECT_FALSE(DragManager::Dragging());
  EXPECT_EQ(target->Drops, 1);
}

TEST_F(DragAndDropTest, CtrlOverAnAcceptingTargetShowsTheCopyCursor)
{
  // The object frees itself when the drag is over; here it is asked only for cursors.
  auto* object = new TcxDragControlObject(Control);
  struct Case {
    bool Ctrl, Accepted;
    TCursor Cursor;
  } cases[] = {{false, true, crDrag}, {true, true, crcxDragCopy}, {true, false, crNoDrop}};
  for (const Case& c : cases) {
    if (c.Ctrl) InputQueue::KeyDown(VK_CONTROL);
    Pump();
    EXPECT_EQ(object->GetDragCursor(c.Accepted, 0, 0), c.Cursor) << c.Ctrl << c.Accepted;
    if (c.Ctrl) InputQueue::KeyUp(VK_CONTROL);
    Pump();
  }
  object->Finished(nullptr, 0, 0, false);
  // The family's cursors stand in the screen's table.
  for (TCursor id = crcxDragCopy; id <= crcxDrag; ++id) EXPECT_NE(Forms::Screen->GetCursors(id), nullptr) << id;
}

// ---- Mouse-leave tracking

struct TLeaveCounter : IcxMouseTrackingCaller2 {
  TControl* Area = nullptr;
  int Leaves = 0;
  void MouseLeave() override { ++Leaves; }
  bool PtInCaller(POINT P) override
  {
    RECT r{0, 0, Area->GetWidth(), Area->GetHeight()};
    return P.x >= r.left && P.y >= r.top && P.x < r.right && P.y < r.bottom;
  }
};

TEST_F(DragAndDropTest, AContainerCoveredByItsInnerWindowHearsExactlyOneLeave)
{
  auto* inner = new TCustomControl(Control);
  inner->SetParent(Control);
  inner->SetBounds(2, 2, 196, 116);
  Pump();
  TLeaveCounter caller;
  caller.Area = Control;
  MoveTo(Control, 100, 60);
  cxControls::BeginMouseTracking(Control, RECT{0, 0, 200, 120}, &caller);
  cxControls::BeginMouseTracking(Control, RECT{0, 0, 200, 120}, &caller);  // ignored
  EXPECT_EQ(cxControls::MouseTrackingCount(), 1);
  // Between the container's border and its inner window: no leave.
  for (POINT p : {POINT{1, 1}, POINT{100, 60}, POINT{199, 119}, POINT{50, 50}}) {
    MoveTo(Control, p.x, p.y);
    Wait(30);
  }
  EXPECT_EQ(caller.Leaves, 0);
  EXPECT_TRUE(cxControls::IsMouseTracking(&caller));
  MoveTo(Control, 250, 60);
  Wait(30);
  Wait(30);
  EXPECT_EQ(caller.Leaves, 1);
  EXPECT_FALSE(cxControls::IsMouseTracking(&caller));
  EXPECT_EQ(cxControls::MouseTrackingCount(), 0);
}

TEST(MouseTrackingShutdown, ClosingWhileAControlIsHotTrackedDoesNotFail)
{
  struct Fixture : cxWindowTest {
    void TestBody() override {}
  } f;
  f.SetUp();
  auto* control = new TcxControl(f.Form);
  control->SetParent(f.Form);
  control->SetBounds(10, 10, 100, 100);
  f.Pump();
  TLeaveCounter caller;
  caller.Area = control;
  f.MoveTo(control, 50, 50);
  cxControls::BeginMouseTracking(control, RECT{0, 0, 100, 100}, &caller);
  EXPECT_EQ(cxControls::MouseTrackingCount(), 1);
  // The program closes: the form and its controls go first, then the units.
  f.Owner.reset();
  EXPECT_EQ(cxControls::MouseTrackingCount(), 0);
  EXPECT_NO_THROW(FrameworkModule::Finalize());
  EXPECT_EQ(caller.Leaves, 0);
  f.TearDown();
}

}  // namespace
