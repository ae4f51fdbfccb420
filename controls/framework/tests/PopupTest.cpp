// Pop-up windows: placement in the work area, and the hooks that close shown pop-ups on clicks
// elsewhere, a hidden owner or the application's deactivation, and that keep Alt keys from the
// form behind.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "controls/framework/cxCustomPopupWindow.h"
#include "controls/framework/tests/ControlTestUtil.h"
#include "platform/forms/controls/Controls.h"
#include "platform/forms/forms/Form.h"
#include "platform/win/input/Focus.h"
#include "platform/win/queue/Messages.h"
#include "platform/win/window/Metrics.h"
#include "platform/win/backend/Headless.h"
#include "platform/win/window/Windows.h"

namespace {

TEST(PopupPlacement, FlipsToTheRoomierSideAndClampsToTheWorkArea)
{
  struct PlacementCase {
    const char* What;
    int Axis, Horz, Vert;
    RECT Anchor;  // screen
    SIZE Size;
    POINT Expected;
  } cases[] = {
      {"below, as asked", 1, 0, 2, {100, 100, 200, 120}, {150, 100}, {100, 120}},
      {"no room below: above", 1, 0, 2, {100, 700, 200, 720}, {150, 100}, {100, 600}},
      {"no room below, less above: stays", 1, 0, 2, {100, 330, 200, 350}, {150, 500}, {100, 350}},
      {"no room above, more below: below", 1, 0, 0, {100, 50, 200, 70}, {150, 100}, {100, 70}},
      {"right edge: clamped along the other axis", 1, 0, 2, {950, 50, 1000, 70}, {150, 100}, {874, 70}},
      {"right-aligned", 1, 2, 2, {300, 50, 400, 70}, {150, 100}, {250, 70}},
      {"beside, no room right: left", 0, 2, 0, {900, 100, 1000, 120}, {150, 100}, {750, 100}},
      {"beside, clamped above the task bar", 0, 2, 0, {100, 700, 200, 720}, {150, 100}, {200, 638}},
      {"centred and clamped", 1, 1, 2, {0, 100, 40, 120}, {150, 100}, {0, 120}},
  };
  Headless::Start(1024, 768);
  Controls::Initialize();
  for (const PlacementCase& c : cases) {
    SCOPED_TRACE(c.What);
    TcxPopupWindow popup;
    popup.SetPopupAxis(c.Axis);
    popup.SetHorzPlacement(c.Horz);
    popup.SetVertPlacement(c.Vert);
    popup.SetAnchorBounds(c.Anchor);
    popup.SetBounds(0, 0, c.Size.cx, c.Size.cy);
    EXPECT_EQ(popup.CalculatePosition(), c.Expected);
  }
}

class TClickCounter : public TcxControl {
public:
  using TcxControl::TcxControl;
  int Downs = 0;
  std::vector<int> AltKeys;  // keys that arrived with Alt held

protected:
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override
  {
    ++Downs;
    TcxControl::MouseDown(Button, Shift, X, Y);
  }
  void KeyDown(Word& Key, TShiftState Shift) override
  {
    if (Shift.Contains(ssAlt) && Key != VK_MENU) AltKeys.push_back(Key);
    TcxControl::KeyDown(Key, Shift);
  }
};

struct PopupTest : cxWindowTest {
  TClickCounter* Editor = nullptr;
  TClickCounter* Other = nullptr;
  TcxCustomPopupWindow* DropDown = nullptr;
  TClickCounter* Panel = nullptr;  // inside the drop-down
  int Closed = 0;

  void SetUp() override
  {
    cxWindowTest::SetUp();
    Editor = MakeCounter(Form, 20, 20, 150, 22);
    Other = MakeCounter(Form, 250, 20, 100, 22);
    DropDown = MakePopup(Editor);
    Panel = MakeCounter(DropDown, 0, 0, 150, 100);
    DropDown->OnClosed = [this](TObject*) { ++Closed; };
  }
  TClickCounter* MakeCounter(TWinControl* Parent, int L, int T, int W, int H)
  {
    auto* c = new TClickCounter(Parent);
    c->SetParent(Parent);
    c->SetBounds(L, T, W, H);
    return c;
  }
  TcxCustomPopupWindow* MakePopup(TControl* OwnerControl)
  {
    auto* p = new TcxCustomPopupWindow(OwnerControl);
    Owner->InsertComponent(p);
    p->SetTakeFocus(false);
    p->SetAnchorControl(OwnerControl);
    p->SetAnchorBounds(RECT{0, 0, OwnerControl->GetWidth(), OwnerControl->GetHeight()});
    p->SetFrameStyle(1);
    return p;
  }
  void Open()
  {
    Editor->SetFocus();
    DropDown->Popup(Editor);
    Pump();
    ASSERT_TRUE(DropDown->IsShown());
  }
};

TEST_F(PopupTest, OpensBelowItsAnchorSizedAroundItsChildren)
{
  Open();
  POINT anchor = Editor->ClientToScreen(POINT{0, 22});
  EXPECT_EQ(DropDown->GetBoundsRect(), (RECT{anchor.x, anchor.y, anchor.x + 152, anchor.y + 102}));
  EXPECT_EQ(Panel->GetBoundsRect(), (RECT{1, 1, 151, 101}));
  EXPECT_EQ(Windows::GetFocus(), Editor->GetHandle());  // a drop-down takes no focus
  EXPECT_EQ(cxContainer::ShownPopupCount(), 1);
}

TEST_F(PopupTest, AClickOnAnotherControlClosesTheDropDownAndReachesThatControl)
{
  Open();
  Click(Other, 10, 10);
  EXPECT_FALSE(DropDown->IsShown());
  EXPECT_EQ(Closed, 1);
  EXPECT_EQ(Other->Downs, 1);
}

TEST_F(PopupTest, AClickOnTheAnchorIsSwallowedOnlyWhenClosingHidOrFreedTheOwner)
{
  Open();
  Click(Editor, 10, 10);
  EXPECT_FALSE(DropDown->IsShown());
  EXPECT_EQ(Editor->Downs, 1);

  DropDown->OnClosed = [this](TObject*) { Editor->Hide(); };
  Open();
  Click(Editor, 10, 10);
  EXPECT_FALSE(DropDown->IsShown());
  EXPECT_EQ(Editor->Downs, 1);
}

TEST_F(PopupTest, ClicksIntoThePopupOrANestedOneCloseNothing)
{
  Open();
  Click(Panel, 10, 10);
  EXPECT_TRUE(DropDown->IsShown());
  EXPECT_EQ(Panel->Downs, 1);

  TcxCustomPopupWindow* nested = MakePopup(Panel);
  auto* nestedPanel = MakeCounter(nested, 0, 0, 80, 40);
  nested->Popup(nullptr);
  Pump();
  ASSERT_TRUE(nested->IsShown());
  Click(nestedPanel, 5, 5);
  EXPECT_TRUE(nested->IsShown());
  EXPECT_TRUE(DropDown->IsShown());
  EXPECT_EQ(nestedPanel->Downs, 1);

  Click(Other, 5, 5);
  EXPECT_FALSE(nested->IsShown());
  EXPECT_FALSE(DropDown->IsShown());
  EXPECT_EQ(Other->Downs, 1);
}

TEST_F(PopupTest, HidingTheOwnerOrDeactivatingTheApplicationCloses)
{
  Open();
  Editor->Hide();
  Pump();
  EXPECT_FALSE(DropDown->IsShown());

  Editor->Show();
  Open();
  Focus::DeactivateApp();
  Pump();
  EXPECT_FALSE(DropDown->IsShown());
  EXPECT_EQ(cxContainer::ShownPopupCount(), 0);
}

TEST_F(PopupTest, AltLettersAreSwallowedWhileNavigationKeysPass)
{
  Open();
  Editor->AltKeys.clear();
  for (int key : {int('A'), VK_DOWN, VK_F4, int('X'), VK_HOME}) {
    InputQueue::KeyDown(VK_MENU);
    InputQueue::KeyDown(key);
    InputQueue::KeyUp(key);
    InputQueue::KeyUp(VK_MENU);
    Pump();
  }
  EXPECT_EQ(Editor->AltKeys, (std::vector<int>{VK_DOWN, VK_F4, VK_HOME}));
  DropDown->ClosePopup(false);
  Editor->AltKeys.clear();
  InputQueue::KeyDown(VK_MENU);
  InputQueue::KeyDown('A');
  InputQueue::KeyUp('A');
  InputQueue::KeyUp(VK_MENU);
  Pump();
  EXPECT_EQ(Editor->AltKeys, (std::vector<int>{'A'}));
}

TEST_F(PopupTest, AModalPopupKeepsSystemKeysFromTheFormAndEndsOnAClickOutside)
{
  auto* modal = new TcxCustomPopupWindow(Editor);
  Owner->InsertComponent(modal);
  modal->SetAnchorControl(Editor);
  modal->SetAnchorBounds(RECT{0, 0, 150, 22});
  auto* inside = MakeCounter(modal, 0, 0, 100, 50);
  inside->SetTabStop(true);
  std::vector<int> seen;
  modal->OnKeyDown = [&](TObject*, Word& Key, TShiftState Shift) {
    if (Shift.Contains(ssAlt) || Key == VK_MENU) seen.push_back(Key);
  };
  modal->OnShowed = [&](TObject*) {
    for (int key : {VK_MENU, VK_SPACE, VK_RETURN}) {
      InputQueue::KeyDown(VK_MENU);
      if (key != VK_MENU) InputQueue::KeyDown(key);
      if (key != VK_MENU) InputQueue::KeyUp(key);
      InputQueue::KeyUp(VK_MENU);
    }
    POINT p = Screen(Other, 5, 5);
    InputQueue::MouseMove(p.x, p.y);
    InputQueue::MouseDown(InputQueue::Button::Left, p.x, p.y);
    InputQueue::MouseUp(InputQueue::Button::Left, p.x, p.y);
  };
  modal->Popup(inside);  // returns when the loop ends
  EXPECT_FALSE(modal->IsShown());
  EXPECT_TRUE(seen.empty());
  Pump();
  EXPECT_EQ(Other->Downs, 1);
}

TEST_F(PopupTest, TheOwnerFormKeepsItsActiveCaptionWhileADropDownIsShown)
{
  // Whether WM_NCACTIVATE(False) reached each window's own procedure.
  auto deactivationReaches = [&](TWinControl* Target) {
    int seen = 0;
    TWndMethod previous = Target->WindowProc;
    Target->WindowProc = [&](TMessage& M) {
      if (M.Msg == WM_NCACTIVATE && !M.WParam) ++seen;
      previous(M);
    };
    LONG_PTR procBefore = Windows::GetWindowLongPtr(Target->GetHandle(), GWL_WNDPROC);
    LRESULT result = Windows::SendMessage(Target->GetHandle(), WM_NCACTIVATE, FALSE, 0);
    EXPECT_EQ(Windows::GetWindowLongPtr(Target->GetHandle(), GWL_WNDPROC), procBefore)
        << "the swapped procedure is put back";
    Target->WindowProc = previous;
    return std::pair{seen > 0, result};
  };
  TForm* otherForm = new TForm(Owner.get());
  otherForm->SetBounds(500, 400, 200, 100);
  otherForm->Show();
  Pump();

  EXPECT_TRUE(deactivationReaches(Form).first) << "no drop-down: the form handles it";
  Open();
  auto [reached, result] = deactivationReaches(Form);
  EXPECT_FALSE(reached) << "the owner's form is answered without painting an inactive caption";
  EXPECT_EQ(result, TRUE);
  EXPECT_TRUE(deactivationReaches(Form).first == false) << "every deactivation, not just the first";
  EXPECT_TRUE(deactivationReaches(otherForm).first) << "another form is not the owner's";
  EXPECT_TRUE(DropDown->IsShown());
}

TEST_F(PopupTest, CloseAndDestroyOfThePopupOrItsOwnerFormClosePopups)
{
  struct Case {
    const char* What;
    std::function<void(PopupTest&)> Do;
    bool StillShown;
  };
  const Case cases[] = {
      {"WM_CLOSE of the drop-down's own window",
       [](PopupTest& t) { Windows::SendMessage(t.DropDown->GetHandle(), WM_CLOSE, 0, 0); }, false},
      {"WM_CLOSE of the owner's form",
       [](PopupTest& t) {
         // The form refuses to close; the drop-down goes all the same.
         t.Form->OnCloseQuery = [](TObject*, bool& CanClose) { CanClose = false; };
         Windows::SendMessage(t.Form->GetHandle(), WM_CLOSE, 0, 0);
         t.Form->OnCloseQuery = nullptr;
       },
       false},
      {"WM_CLOSE of some other window",
       [](PopupTest& t) {
         TForm* other = new TForm(t.Owner.get());
         other->Show();
         other->OnCloseQuery = [](TObject*, bool& CanClose) { CanClose = false; };
         Windows::SendMessage(other->GetHandle(), WM_CLOSE, 0, 0);
       },
       true},
      {"WM_DESTROY of the drop-down's window", [](PopupTest& t) { Windows::DestroyWindow(t.DropDown->GetHandle()); },
       false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.What);
    Closed = 0;
    Open();
    c.Do(*this);
    Pump();
    EXPECT_EQ(DropDown->IsShown(), c.StillShown);
    EXPECT_EQ(Closed, c.StillShown ? 0 : 1);
    if (c.StillShown) DropDown->ClosePopup(false);
    EXPECT_TRUE(Form->GetVisible()) << "the owner's form stays";
  }
}

}  // namespace
