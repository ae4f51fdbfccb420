// The drop-down editor base through the pop-up edit on a headless desktop: the pop-up settings,
// opening and closing by keys and button, the control lent to the pop-up and given back, the
// circular case, and a user's size kept for the next opening.
#include <gtest/gtest.h>

#include "controls/editors/tests/EditorWindowTest.h"
#include "controls/editors/dropdown/cxPopupEdit.h"
#include "controls/editors/edit/cxEditViewInfo.h"
#include "controls/editors/listbox/cxListBox.h"
#include "controls/editors/tests/EditTestEditors.h"
#include "platform/forms/forms/Form.h"
#include "platform/win/WinUser.h"
#include "platform/win/queue/Messages.h"
#include "platform/win/window/Windows.h"

namespace {

struct PopupEditTest : cxEditorWindowTest {
  TcxPopupEdit* Edit = nullptr;
  TcxListBox* Panel = nullptr;
  void SetUp() override
  {
    cxEditorWindowTest::SetUp();
    Edit = new TcxPopupEdit(Form);
    Edit->SetParent(Form);
    Edit->SetBounds(20, 20, 160, 21);
    Panel = new TcxListBox(Form);
    Panel->SetParent(Form);
    Panel->SetBounds(250, 150, 140, 90);
    for (const char* s : {"北京", "上海", "广州"}) Panel->GetItems()->Add(s);
    Pump();
  }
  // Keys go to the editor's EDIT window, wherever the focus is.
  void EditKey(Word VKey)
  {
    Windows::SendMessage(Edit->GetInnerEdit()->GetControl()->GetHandle(), WM_KEYDOWN, VKey, 0);
    Pump();
  }
  void OpenByF4()
  {
    Edit->SetFocus();
    Pump();
    EditKey(VK_F4);
  }
};

}  // namespace

TEST_F(PopupEditTest, PopupSizesKeepTheirMinimums)
{
  TcxPopupEditProperties p(nullptr);
  EXPECT_TRUE(p.GetImmediateDropDown());
  EXPECT_TRUE(p.GetImmediatePopup());
  EXPECT_EQ(p.GetPopupWidth(), 250);
  EXPECT_EQ(p.GetButtons()->GetCount(), 1);
  struct {
    int MinWidth, Width, Stored;
  } const cases[] = {{100, 50, 100}, {100, -5, 0}, {100, 0, 0}, {0, 70, 70}};
  for (const auto& k : cases) {
    p.SetPopupMinWidth(k.MinWidth);
    p.SetPopupWidth(k.Width);
    EXPECT_EQ(p.GetPopupWidth(), k.Stored) << k.MinWidth << " " << k.Width;
  }
  p.SetPopupMinHeight(120);
  EXPECT_EQ(p.GetPopupHeight(), 200);
  p.SetPopupHeight(30);
  EXPECT_EQ(p.GetPopupHeight(), 120);
}

TEST_F(PopupEditTest, WithoutAControlOnlyOnInitPopupFires)
{
  int init = 0, popped = 0;
  Edit->Properties()->OnInitPopup = [&init](TObject*) { ++init; };
  Edit->Properties()->OnPopup = [&popped](TObject*) { ++popped; };
  Edit->SetFocus();
  Pump();
  InputQueue::KeyDown(VK_MENU);
  InputQueue::KeyDown(VK_DOWN);
  InputQueue::KeyUp(VK_DOWN);
  InputQueue::KeyUp(VK_MENU);
  Pump();
  EXPECT_EQ(init, 1);
  EXPECT_EQ(popped, 0);
  EXPECT_FALSE(Edit->GetDroppedDown());
}

TEST_F(PopupEditTest, TheControlMovesIntoThePopupAndComesBack)
{
  Edit->Properties()->SetPopupControl(Panel);
  int popped = 0, closed = 0;
  Edit->Properties()->OnPopup = [&popped](TObject*) { ++popped; };
  Edit->Properties()->OnCloseUp = [&closed](TObject*) { ++closed; };
  const RECT bounds = Panel->GetBoundsRect();
  OpenByF4();
  ASSERT_TRUE(Edit->GetDroppedDown());
  EXPECT_EQ(popped, 1);
  EXPECT_EQ(Panel->GetParent(), Edit->GetPopupWindow());
  EXPECT_EQ(Panel->GetAlign(), alClient);
  EXPECT_TRUE(Panel->Focused());
  const RECT c = Edit->GetPopupWindow()->GetPopupViewInfo()->ClientRect;
  EXPECT_EQ(Panel->GetWidth(), c.right - c.left);
  EditKey(VK_ESCAPE);
  EXPECT_FALSE(Edit->GetDroppedDown());
  EXPECT_EQ(closed, 1);
  EXPECT_EQ(Panel->GetParent(), Form);
  EXPECT_EQ(Panel->GetAlign(), alNone);
  EXPECT_TRUE(Panel->GetVisible());
  const RECT back = Panel->GetBoundsRect();
  EXPECT_EQ(back.left, bounds.left);
  EXPECT_EQ(back.top, bounds.top);
  EXPECT_EQ(back.right, bounds.right);
  EXPECT_EQ(back.bottom, bounds.bottom);
  // The drop-down button opens it too; Enter closes it.
  const RECT b = Edit->GetEditViewInfo()->Button(0)->VisibleBounds;
  Click(Edit, (b.left + b.right) / 2, (b.top + b.bottom) / 2);
  Pump();
  EXPECT_TRUE(Edit->GetDroppedDown());
  EditKey(VK_RETURN);
  EXPECT_FALSE(Edit->GetDroppedDown());
}

TEST_F(PopupEditTest, AControlHoldingTheEditorIsRefused)
{
  auto* holder = new TcxListBox(Form);  // any windowed control holding the editor
  holder->SetParent(Form);
  holder->SetBounds(10, 200, 200, 100);
  Edit->SetParent(holder);
  Pump();
  Edit->Properties()->SetPopupControl(holder);
  try {
    Edit->SetDroppedDown(true);
    FAIL() << "no exception";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), "Circular referencing is not allowed");
  }
  Edit->Properties()->SetPopupControl(Edit);
  EXPECT_THROW(Edit->SetDroppedDown(true), Exception);
  EXPECT_FALSE(Edit->GetDroppedDown());
}

TEST_F(PopupEditTest, ClosingGivesBackTheControlItTookEvenAfterChangesOrFreeing)
{
  auto* other = new TcxListBox(Form);
  other->SetParent(Form);
  other->SetBounds(250, 260, 100, 60);
  Edit->Properties()->SetPopupControl(Panel);
  OpenByF4();
  ASSERT_TRUE(Edit->GetDroppedDown());
  // Another control named meanwhile: the one taken goes back, the other stays where it is.
  Edit->Properties()->SetPopupControl(other);
  Edit->SetDroppedDown(false);
  Pump();
  EXPECT_EQ(Panel->GetParent(), Form);
  EXPECT_EQ(other->GetParent(), Form);
  EXPECT_EQ(other->GetLeft(), 250);
  // Freed while shown: nothing to give back, and nothing to open any more.
  OpenByF4();
  ASSERT_EQ(Edit->GetShownControl(), other);
  delete other;
  Pump();
  EXPECT_EQ(Edit->Properties()->GetPopupControl(), nullptr);
  Edit->SetDroppedDown(false);
  Pump();
  EXPECT_FALSE(Edit->GetDroppedDown());
  EXPECT_FALSE(Edit->CanOpenDropDown());
}

TEST_F(PopupEditTest, AFormShowsWithoutItsFrameAndGetsItBack)
{
  auto* lent = new TForm(Owner.get());
  lent->SetBounds(400, 300, 200, 150);
  lent->SetBorderStyle(bsSizeable);
  Edit->Properties()->SetPopupControl(lent);
  OpenByF4();
  ASSERT_TRUE(Edit->GetDroppedDown());
  EXPECT_EQ(lent->GetBorderStyle(), bsNone);
  EXPECT_EQ(lent->GetParent(), Edit->GetPopupWindow());
  Edit->SetDroppedDown(false);
  Pump();
  EXPECT_EQ(lent->GetBorderStyle(), bsSizeable);
  EXPECT_EQ(lent->GetParent(), nullptr);
  EXPECT_FALSE(lent->GetVisible());
}

TEST_F(PopupEditTest, AUserSizeIsKeptForTheNextOpening)
{
  Edit->Properties()->SetPopupControl(Panel);
  Edit->Properties()->SetPopupSysPanelStyle(true);
  OpenByF4();
  TcxCustomEditPopupWindow* w = Edit->GetPopupWindow();
  ASSERT_TRUE(w->IsShown());
  const int width = w->GetWidth(), height = w->GetHeight();
  const RECT g = w->GetPopupViewInfo()->Info.SizeGripSizingRect;
  const POINT grip{(g.left + g.right) / 2, (g.top + g.bottom) / 2};
  Press(w, grip.x, grip.y);
  MoveTo(w, grip.x + 30, grip.y + 20);
  Release(w, grip.x + 30, grip.y + 20);
  EXPECT_TRUE(Edit->IsResizedByUser());
  Edit->SetDroppedDown(false);
  Pump();
  EXPECT_EQ(Edit->Properties()->GetPopupWidth(), width + 30);
  Edit->SetFocus();
  Pump();
  EditKey(VK_F4);
  EXPECT_EQ(w->GetWidth(), width + 30);
  EXPECT_EQ(w->GetHeight(), height + 20);
}

TEST_F(PopupEditTest, InPlaceItOpensAtOnceAndAUserSizeStaysWithTheCell)
{
  TcxPopupEditProperties props(nullptr);
  props.SetPopupControl(Panel);
  props.SetPopupSysPanelStyle(true);
  auto* host = new TcxTestInplaceHost(Form);
  host->SetParent(Form);
  host->SetBounds(10, 60, 300, 40);
  host->CellWidth = 150;
  host->Columns = {&props};
  Pump();
  auto* e = dynamic_cast<TcxPopupEdit*>(host->ShowEditor(0));
  ASSERT_NE(e, nullptr);
  Pump();
  ASSERT_TRUE(e->GetDroppedDown());  // ImmediatePopup
  TcxCustomEditPopupWindow* w = e->GetPopupWindow();
  const int width = w->GetWidth();
  const RECT g = w->GetPopupViewInfo()->Info.SizeGripSizingRect;
  const POINT grip{(g.left + g.right) / 2, (g.top + g.bottom) / 2};
  Press(w, grip.x, grip.y);
  MoveTo(w, grip.x + 25, grip.y);
  Release(w, grip.x + 25, grip.y);
  e->Deactivate();
  Pump();
  EXPECT_FALSE(e->GetDroppedDown());
  EXPECT_EQ(props.GetPopupWidth(), 250);  // the column's properties keep their size
  host->ShowEditor(0);
  Pump();
  ASSERT_TRUE(e->GetDroppedDown());
  EXPECT_EQ(w->GetWidth(), width + 25);
}
