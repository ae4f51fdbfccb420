// Labels, panels, splitters, scroll bars and images on a headless form: a label's automatic size
// and mnemonic, a panel's client area inside its frame, a splitter dragged, a scroll bar's
// moves, an image's placement of its picture; a right click opening a pop-up menu.
#include <gtest/gtest.h>

#include "platform/forms/tests/ControlsTestUtil.h"
#include "platform/stdctrls/StdCtrls.h"
#include "platform/stdctrls/edits/CustomEdit.h"
#include "platform/stdctrls/lists/ListBox.h"
#include "platform/stdctrls/menus/Menus.h"
#include "platform/stdctrls/tests/StdCtrlsTestUtil.h"
#include "platform/stdctrls/panels/Label.h"
#include "platform/stdctrls/panels/Image.h"
#include "platform/stdctrls/panels/Panel.h"
#include "platform/stdctrls/panels/ScrollBar.h"
#include "platform/stdctrls/panels/Splitter.h"
#include "platform/forms/graphics/Bitmap.h"
#include "platform/forms/graphics/Picture.h"
#include "platform/rtl/Exceptions.h"
#include "platform/win/scroll/ScrollBars.h"
#include "platform/win/backend/Headless.h"
#include "platform/win/input/InputQueue.h"

namespace {

class PanelsTest : public FormsTest {
protected:
  void SetUp() override
  {
    FormsTest::SetUp();
    StdCtrls::Initialize();
    Form = MakeForm(400, 300);
    Form->GetFont()->SetName("宋体");
    Form->GetFont()->SetSize(9);
  }
  TLabel* MakeLabel(const char* Caption, int Left = 100, int Top = 10)
  {
    auto* l = new TLabel(Owner.get());
    l->SetParent(Form);
    l->SetLeft(Left);
    l->SetTop(Top);
    l->SetCaption(Caption);
    return l;
  }
  TForm* Form = nullptr;
};

}  // namespace

TEST_F(PanelsTest, ALabelSizesItselfToItsText)
{
  TLabel* two = MakeLabel("合同");
  TLabel* four = MakeLabel("合同管理");
  int line = two->GetHeight();
  ASSERT_GT(line, 8);
  EXPECT_EQ(four->GetWidth(), 2 * two->GetWidth());
  EXPECT_EQ(four->GetHeight(), line);
  EXPECT_EQ(four->GetLeft(), 100);

  // An empty caption still holds one line; "&&" shows a single "&".
  TLabel* empty = MakeLabel("");
  EXPECT_EQ(empty->GetHeight(), line);
  EXPECT_GT(empty->GetWidth(), 0);
  TLabel* amp = MakeLabel("A&&B");
  TLabel* plain = MakeLabel("A&B");
  plain->SetShowAccelChar(false);
  EXPECT_EQ(amp->GetWidth(), plain->GetWidth());

  // A right-aligned label keeps its right edge.
  TLabel* right = MakeLabel("合同", 100);
  right->SetAlignment(taRightJustify);
  right->SetCaption("合同管理");
  EXPECT_EQ(right->GetLeft() + right->GetWidth(), 100 + two->GetWidth());

  // A word-wrapped label keeps its width and grows downwards.
  TLabel* wrapped = MakeLabel("");
  wrapped->SetAutoSize(false);
  wrapped->SetWidth(two->GetWidth() + 2);
  wrapped->SetCaption("合同管理系统");
  wrapped->SetWordWrap(true);
  wrapped->SetAutoSize(true);
  EXPECT_EQ(wrapped->GetWidth(), two->GetWidth());
  EXPECT_EQ(wrapped->GetHeight(), 3 * line);

  // Without AutoSize the bounds stay as set.
  TLabel* fixed = MakeLabel("");
  fixed->SetAutoSize(false);
  fixed->SetBounds(5, 5, 30, 40);
  fixed->SetCaption("很长很长的合同名称");
  EXPECT_EQ(fixed->GetBoundsRect().right, 35);
  EXPECT_EQ(fixed->GetBoundsRect().bottom, 45);
}

TEST_F(PanelsTest, ALabelsMnemonicFocusesItsControl)
{
  auto* first = new TEdit(Owner.get());
  first->SetParent(Form);
  auto* target = new TEdit(Owner.get());
  target->SetParent(Form);
  target->SetTop(40);
  TLabel* label = MakeLabel("合同名称(&N):");
  label->SetFocusControl(target);
  Form->Show();
  first->SetFocus();
  auto altKey = [&](int key) {
    InputQueue::KeyDown(VK_MENU);
    InputQueue::KeyDown(key);
    InputQueue::KeyUp(key);
    InputQueue::KeyUp(VK_MENU);
    Pump();
  };
  struct Case {
    const char* What;
    bool ShowAccelChar;
    bool Enabled;
    int Key;
    bool Focuses;
  };
  const Case cases[] = {
      {"its letter", true, true, 'N', true},
      {"another letter", true, true, 'M', false},
      {"ampersands shown as text", false, true, 'N', false},
      {"a disabled label", true, false, 'N', false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.What);
    first->SetFocus();
    label->SetShowAccelChar(c.ShowAccelChar);
    label->SetEnabled(c.Enabled);
    altKey(c.Key);
    EXPECT_EQ(target->Focused(), c.Focuses);
  }
  // The label forgets a control that is freed.
  delete target;
  EXPECT_EQ(label->GetFocusControl(), nullptr);
  label->SetShowAccelChar(true);
  label->SetEnabled(true);
  altKey('N');
  EXPECT_TRUE(first->Focused());
}

TEST_F(PanelsTest, APanelsChildrenFillTheAreaInsideItsFrame)
{
  struct Case {
    TBevelCut Outer, Inner;
    int BevelWidth, BorderWidth;
    int Inset;
  };
  const Case cases[] = {
      {bvRaised, bvNone, 1, 0, 1},    {bvNone, bvNone, 1, 0, 0},  {bvRaised, bvLowered, 1, 0, 2},
      {bvRaised, bvLowered, 3, 2, 8}, {bvSpace, bvNone, 2, 0, 2}, {bvNone, bvNone, 5, 4, 4},
  };
  auto* panel = new TPanel(Owner.get());
  panel->SetParent(Form);
  panel->SetBounds(10, 10, 200, 100);
  auto* child = new TPanel(Owner.get());
  child->SetParent(panel);
  child->SetAlign(alClient);
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.Outer << "/" << c.Inner << " bevel " << c.BevelWidth << " border "
                                    << c.BorderWidth);
    panel->SetBevelOuter(c.Outer);
    panel->SetBevelInner(c.Inner);
    panel->SetBevelWidth(c.BevelWidth);
    panel->SetBorderWidth(c.BorderWidth);
    RECT r = child->GetBoundsRect();
    EXPECT_EQ(r.left, c.Inset);
    EXPECT_EQ(r.top, c.Inset);
    EXPECT_EQ(r.right, 200 - c.Inset);
    EXPECT_EQ(r.bottom, 100 - c.Inset);
  }
  // A bevel is at least one pixel wide; a border never negative.
  panel->SetBevelWidth(0);
  panel->SetBorderWidth(-3);
  EXPECT_EQ(panel->GetBevelWidth(), 1);
  EXPECT_EQ(panel->GetBorderWidth(), 0);
}

TEST_F(PanelsTest, ASplitterResizesTheControlBesideIt)
{
  Form->SetClientWidth(400);
  Form->SetClientHeight(300);
  struct Case {
    const char* What;
    TAlign Align;
    TResizeStyle Style;
    int Drag;  // towards the right or down
    int Size;  // of the resized control after the release
  };
  const Case cases[] = {
      {"left, grows", alLeft, rsPattern, 40, 140},
      {"left, shrinks", alLeft, rsUpdate, -50, 50},
      {"left, below MinSize: held at it", alLeft, rsLine, -75, 30},
      {"left, far below: snaps shut", alLeft, rsNone, -95, 0},
      {"left, past the room: the rest keeps MinSize", alLeft, rsPattern, 400, 400 - 3 - 30},
      {"right, dragged left grows", alRight, rsPattern, -40, 140},
      {"top, grows", alTop, rsUpdate, 25, 125},
      {"bottom, dragged up grows", alBottom, rsPattern, -25, 125},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.What);
    auto* side = new TPanel(Owner.get());
    side->SetParent(Form);
    side->SetAlign(c.Align);
    bool across = c.Align == alLeft || c.Align == alRight;
    if (across)
      side->SetWidth(100);
    else
      side->SetHeight(100);
    auto* splitter = new TSplitter(Owner.get());
    splitter->SetParent(Form);
    splitter->SetAlign(c.Align);
    if (!across) splitter->SetHeight(3);
    // Placed after the panel, on the side away from the edge.
    if (c.Align == alLeft) splitter->SetLeft(side->GetWidth() + 1);
    if (c.Align == alRight) splitter->SetLeft(side->GetLeft() - 4);
    if (c.Align == alTop) splitter->SetTop(side->GetHeight() + 1);
    if (c.Align == alBottom) splitter->SetTop(side->GetTop() - 4);
    splitter->SetResizeStyle(c.Style);
    auto* rest = new TPanel(Owner.get());
    rest->SetParent(Form);
    rest->SetAlign(alClient);
    Form->Show();
    ASSERT_EQ(splitter->FindControl(), side);
    int moved = 0;
    splitter->OnMoved = [&](TObject*) { ++moved; };
    Headless::AdvanceTime(1000);  // a press of its own, never a double click
    POINT from = splitter->ClientToScreen(POINT{1, 1});
    POINT to{from.x + (across ? c.Drag : 0), from.y + (across ? 0 : c.Drag)};
    InputQueue::MouseMove(from.x, from.y);
    InputQueue::MouseDown(InputQueue::Button::Left, from.x, from.y);
    InputQueue::MouseMove((from.x + to.x) / 2, (from.y + to.y) / 2);
    InputQueue::MouseMove(to.x, to.y);
    Pump();
    int during = across ? side->GetWidth() : side->GetHeight();
    EXPECT_EQ(during, c.Style == rsUpdate ? c.Size : 100) << "while dragging";
    InputQueue::MouseUp(InputQueue::Button::Left, to.x, to.y);
    Pump();
    EXPECT_EQ(across ? side->GetWidth() : side->GetHeight(), c.Size);
    EXPECT_GE(moved, 1);
    // The splitter stays against the control.
    if (c.Align == alLeft) EXPECT_EQ(splitter->GetLeft(), side->GetLeft() + side->GetWidth());
    if (c.Align == alBottom) EXPECT_EQ(splitter->GetTop() + splitter->GetHeight(), side->GetTop());
    delete splitter;
    delete side;
    delete rest;
  }
}

TEST_F(PanelsTest, ASplittersOnCanResizeChangesOrRefusesTheSize)
{
  auto* side = new TPanel(Owner.get());
  side->SetParent(Form);
  side->SetAlign(alLeft);
  side->SetWidth(100);
  auto* splitter = new TSplitter(Owner.get());
  splitter->SetParent(Form);
  splitter->SetLeft(200);
  splitter->SetResizeStyle(rsUpdate);
  Form->Show();
  auto drag = [&](int dx) {
    Headless::AdvanceTime(1000);
    POINT p = splitter->ClientToScreen(POINT{1, 5});
    InputQueue::MouseMove(p.x, p.y);
    InputQueue::MouseDown(InputQueue::Button::Left, p.x, p.y);
    InputQueue::MouseMove(p.x + dx, p.y);
    InputQueue::MouseUp(InputQueue::Button::Left, p.x + dx, p.y);
    Pump();
  };
  splitter->OnCanResize = [](TObject*, int& NewSize, bool& Accept) { NewSize = NewSize / 10 * 10; };
  drag(37);
  EXPECT_EQ(side->GetWidth(), 130);
  splitter->OnCanResize = [](TObject*, int&, bool& Accept) { Accept = false; };
  drag(20);
  EXPECT_EQ(side->GetWidth(), 130);
  // Nothing beside it: nothing to resize.
  splitter->OnCanResize = nullptr;
  side->SetAlign(alRight);
  EXPECT_EQ(splitter->FindControl(), nullptr);
  drag(20);
}

TEST_F(PanelsTest, AScrollBarMovesByItsChangesAndTellsOfIt)
{
  auto* bar = new TScrollBar(Owner.get());
  bar->SetParent(Form);
  bar->SetBounds(10, 10, 200, 17);
  EXPECT_THROW(bar->SetParams(0, 10, 5), EInvalidOperation);
  EXPECT_THROW(bar->SetPageSize(200), EInvalidOperation);
  bar->SetParams(0, 0, 100);
  bar->SetPageSize(10);
  bar->SetSmallChange(2);
  bar->SetLargeChange(25);
  Form->Show();
  int changes = 0;
  bar->OnChange = [&](TObject*) { ++changes; };
  struct Case {
    int Code;
    int From, To;
  };
  const Case cases[] = {
      {SB_LINEDOWN, 0, 2}, {SB_LINEUP, 0, 0},  {SB_PAGEDOWN, 50, 75}, {SB_PAGEDOWN, 80, 91},
      {SB_PAGEUP, 10, 0},  {SB_BOTTOM, 0, 91}, {SB_TOP, 40, 0},       {SB_ENDSCROLL, 33, 33},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "code " << c.Code << " from " << c.From);
    bar->SetPosition(c.From);
    changes = 0;
    bar->Perform(CN_HSCROLL, WPARAM(c.Code), 0);
    EXPECT_EQ(bar->GetPosition(), c.To);
    EXPECT_EQ(changes, c.From != c.To ? 1 : 0);
  }
  // OnScroll sees the code and may change the new position.
  bar->OnScroll = [](TObject*, TScrollCode Code, int& Pos) {
    if (Code == scLineDown) Pos = 60;
  };
  bar->SetPosition(0);
  bar->Perform(CN_HSCROLL, WPARAM(SB_LINEDOWN), 0);
  EXPECT_EQ(bar->GetPosition(), 60);
  // A click on the right arrow comes through the window.
  bar->OnScroll = nullptr;
  bar->SetPosition(10);
  POINT arrow = bar->ClientToScreen(POINT{bar->GetWidth() - 5, 8});
  InputQueue::MouseMove(arrow.x, arrow.y);
  InputQueue::MouseDown(InputQueue::Button::Left, arrow.x, arrow.y);
  InputQueue::MouseUp(InputQueue::Button::Left, arrow.x, arrow.y);
  Pump();
  EXPECT_EQ(bar->GetPosition(), 12);
  // The kind turns the bar.
  bar->SetKind(sbVertical);
  EXPECT_EQ(bar->GetWidth(), 17);
  EXPECT_EQ(bar->GetHeight(), 200);
  EXPECT_EQ(bar->GetPosition(), 12);
}

TEST_F(PanelsTest, AnImagePlacesItsPicture)
{
  auto* image = new TImage(Owner.get());
  image->SetParent(Form);
  image->SetBounds(0, 0, 100, 50);
  struct Case {
    int W, H;
    bool Stretch, Center, Proportional;
    RECT Dest;
  };
  const Case cases[] = {
      {40, 20, false, false, false, {0, 0, 40, 20}},     {40, 20, false, true, false, {30, 15, 70, 35}},
      {40, 20, true, false, false, {0, 0, 100, 50}},     {40, 10, true, false, true, {0, 0, 100, 25}},
      {40, 10, true, true, true, {0, 12, 100, 37}},      {40, 20, false, false, true, {0, 0, 40, 20}},
      {400, 100, false, false, true, {0, 0, 100, 25}},   {100, 400, false, true, true, {44, 0, 56, 50}},
      {300, 300, false, false, false, {0, 0, 300, 300}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.W << "x" << c.H << " stretch " << c.Stretch << " center " << c.Center
                                    << " proportional " << c.Proportional);
    image->GetPicture()->GetBitmap()->SetSize(c.W, c.H);
    image->SetStretch(c.Stretch);
    image->SetCenter(c.Center);
    image->SetProportional(c.Proportional);
    RECT r = image->DestRect();
    EXPECT_EQ(r.left, c.Dest.left);
    EXPECT_EQ(r.top, c.Dest.top);
    EXPECT_EQ(r.right, c.Dest.right);
    EXPECT_EQ(r.bottom, c.Dest.bottom);
  }
  // AutoSize takes the picture's size; an empty picture leaves the bounds.
  image->SetAutoSize(true);
  EXPECT_EQ(image->GetWidth(), 300);
  image->GetPicture()->GetBitmap()->SetSize(64, 32);
  EXPECT_EQ(image->GetHeight(), 32);
  image->GetPicture()->SetGraphic(nullptr);
  EXPECT_EQ(image->GetWidth(), 64);
}

TEST_F(AppFormsFixture, ARightClickOpensTheMenuOfTheControlOrOfItsParent)
{
  TForm* form = MakeForm(300, 200);
  auto* list = new TListBox(Owner.get());
  list->SetParent(form);
  list->SetBounds(10, 10, 100, 100);
  auto* panel = new TPanel(Owner.get());
  panel->SetParent(form);
  panel->SetBounds(150, 10, 100, 100);
  std::vector<std::string> opened;
  auto menuFor = [&](const char* Name) {
    auto* m = new TPopupMenu(Owner.get());
    auto* item = new TMenuItem(Owner.get());
    item->SetCaption("刷新");
    m->GetItems()->Add(item);
    m->OnPopup = [&opened, Name, m](TObject*) {
      opened.push_back(std::string(Name) + " for " + m->GetPopupComponent()->ClassName());
    };
    return m;
  };
  list->SetPopupMenu(menuFor("list menu"));
  form->SetPopupMenu(menuFor("form menu"));
  form->Show();
  auto rightClick = [&](TControl* C) {
    POINT p = C->ClientToScreen(POINT{20, 20});
    InputQueue::MouseMove(p.x, p.y);
    InputQueue::MouseDown(InputQueue::Button::Right, p.x, p.y);
    InputQueue::MouseUp(InputQueue::Button::Right, p.x, p.y);
    InputQueue::KeyDown(VK_ESCAPE);  // closes the menu once it is up
    InputQueue::KeyUp(VK_ESCAPE);
    Pump();
  };
  rightClick(list);
  rightClick(panel);
  EXPECT_EQ(opened, (std::vector<std::string>{"list menu for TListBox", "form menu for TForm"}));
}
