// Tool bars and their buttons on a headless form: check groups, drop-down menus, hints, images
// of disabled and hot buttons, actions and menu items, the layout, and a picture of every state.
#include <gtest/gtest.h>

#include "platform/commctrl/toolbar/ToolBar.h"
#include "platform/forms/app/Application.h"
#include "platform/forms/forms/HintWindow.h"
#include "platform/forms/graphics/Bitmap.h"
#include "platform/forms/graphics/Brush.h"
#include "platform/forms/graphics/Canvas.h"
#include "platform/forms/graphics/Font.h"
#include "platform/stdctrls/actions/ActnList.h"
#include "platform/stdctrls/menus/Menus.h"
#include "platform/stdctrls/tests/PictureUtil.h"
#include "platform/stdctrls/tests/StdCtrlsTestUtil.h"
#include "platform/stdctrls/toolbars/ToolBar.h"
#include "platform/stdctrls/toolbars/ToolButton.h"
#include "platform/win/backend/Headless.h"
#include "platform/win/input/InputQueue.h"
#include "platform/win/paint/Painting.h"
#include "platform/win/queue/Messages.h"
#include "platform/win/window/Windows.h"

namespace {

// Images of one colour each: a square on a transparent margin.
void AddSquares(TImageList* List, std::initializer_list<TColor> Colors)
{
  for (TColor c : Colors) {
    TBitmap bmp;
    bmp.SetSize(16, 16);
    bmp.GetCanvas()->GetBrush()->SetColor(clFuchsia);
    bmp.GetCanvas()->FillRect(RECT{0, 0, 16, 16});
    bmp.GetCanvas()->GetBrush()->SetColor(c);
    bmp.GetCanvas()->FillRect(RECT{2, 2, 14, 14});
    List->AddMasked(&bmp, clFuchsia);
  }
}

class ToolBarTest : public AppFormsFixture {
protected:
  void SetUp() override
  {
    AppFormsFixture::SetUp();
    ToolBars::Initialize();
    Form = MakeForm(420, 200);
    Form->GetFont()->SetName("宋体");
    Form->GetFont()->SetSize(9);
    Bar = new TToolBar(Owner.get());
    Bar->SetParent(Form);
  }
  TToolButton* Add(const char* Caption, TToolButtonStyle Style = tbsButton, int Image = -1)
  {
    auto* b = new TToolButton(Owner.get());
    b->SetCaption(Caption);
    b->SetStyle(Style);
    b->SetImageIndex(Image);
    b->SetParent(Bar);
    return b;
  }
  // A click at a point of the button (the middle by default).
  void ClickOn(TToolButton* B, int X = -1)
  {
    Headless::AdvanceTime(1000);
    POINT p = B->ClientToScreen(POINT{X < 0 ? B->GetWidth() / 2 : X, B->GetHeight() / 2});
    InputQueue::MouseMove(p.x, p.y);
    InputQueue::MouseDown(InputQueue::Button::Left, p.x, p.y);
    InputQueue::MouseUp(InputQueue::Button::Left, p.x, p.y);
    Pump();
  }
  TForm* Form = nullptr;
  TToolBar* Bar = nullptr;
};

}  // namespace

TEST_F(ToolBarTest, ACheckGroupKeepsOneButtonDown)
{
  Form->Show();
  TToolButton* left = Add("左", tbsCheck);
  TToolButton* centre = Add("中", tbsCheck);
  TToolButton* right = Add("右", tbsCheck);
  Add("", tbsSeparator);
  TToolButton* bold = Add("粗", tbsCheck);
  for (TToolButton* b : {left, centre, right}) b->SetGrouped(true);
  bold->SetGrouped(true);  // beyond the separator: a group of its own
  int clicks = 0;
  for (TToolButton* b : {left, centre, right, bold}) b->OnClick = [&](TObject*) { ++clicks; };

  auto downs = [&] { return std::vector<bool>{left->GetDown(), centre->GetDown(), right->GetDown(), bold->GetDown()}; };
  struct Step {
    const char* What;
    std::function<void()> Do;
    std::vector<bool> Downs;
  } steps[] = {
      {"a click puts one down", [&] { ClickOn(centre); }, {false, true, false, false}},
      {"another lets it up", [&] { ClickOn(left); }, {true, false, false, false}},
      {"the down one stays down", [&] { ClickOn(left); }, {true, false, false, false}},
      {"another group is apart", [&] { ClickOn(bold); }, {true, false, false, true}},
      {"by code too", [&] { right->SetDown(true); }, {false, false, true, true}},
      {"code cannot let the last up", [&] { right->SetDown(false); }, {false, false, true, true}},
      {"AllowAllUp lets it up by a click",
       [&] { right->SetAllowAllUp(true), ClickOn(right); },
       {false, false, false, true}},
      {"and puts one down again", [&] { ClickOn(centre); }, {false, true, false, true}},
  };
  for (const Step& s : steps) {
    s.Do();
    EXPECT_EQ(downs(), s.Downs) << s.What;
  }
  EXPECT_EQ(clicks, 6);
  EXPECT_TRUE(left->GetAllowAllUp()) << "the group shares AllowAllUp";
  EXPECT_FALSE(bold->GetAllowAllUp());
}

TEST_F(ToolBarTest, TheDropDownArrowOpensItsMenuAndTheButtonRunsItsAction)
{
  auto* menu = new TPopupMenu(Owner.get());
  std::vector<AnsiString> picked;
  for (const char* caption : {"新建", "复制当前记录"}) {
    auto* item = new TMenuItem(Owner.get());
    item->SetCaption(caption);
    item->OnClick = [&picked, item](TObject*) { picked.push_back(item->GetCaption()); };
    menu->GetItems()->Add(item);
  }
  TToolButton* add = Add("新建", tbsDropDown);
  add->SetDropdownMenu(menu);
  int clicks = 0;
  add->OnClick = [&](TObject*) { ++clicks; };
  Form->Show();
  Pump();

  // The arrow: the menu drops under the button and the second item is chosen by keys.
  POINT arrow = add->ClientToScreen(POINT{add->GetWidth() - 4, add->GetHeight() / 2});
  InputQueue::MouseMove(arrow.x, arrow.y);
  InputQueue::MouseDown(InputQueue::Button::Left, arrow.x, arrow.y);
  InputQueue::KeyDown(VK_DOWN);
  InputQueue::KeyDown(VK_DOWN);
  InputQueue::KeyDown(VK_RETURN);
  InputQueue::MouseUp(InputQueue::Button::Left, arrow.x, arrow.y);
  Pump();
  EXPECT_EQ(picked, std::vector<AnsiString>{"复制当前记录"});
  EXPECT_EQ(menu->GetPopupComponent(), add);
  EXPECT_EQ(clicks, 0) << "the arrow is no click of the button";

  // The button part clicks the button.
  ClickOn(add, 4);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(picked.size(), 1u);

  // A freed menu is forgotten: the arrow then drops nothing.
  delete menu;
  EXPECT_EQ(add->GetDropdownMenu(), nullptr);
  EXPECT_FALSE(add->CheckMenuDropdown());
}

TEST_F(ToolBarTest, TheButtonUnderThePointerGivesTheHint)
{
  Bar->SetShowHint(true);
  Add("新建")->SetHint("新建|新建一个合同");
  TToolButton* edit = Add("修改");
  edit->SetHint("修改|修改选中的合同");
  Form->Show();
  Pump();
  POINT p = edit->ClientToScreen(POINT{5, 5});
  InputQueue::MouseMove(p.x, p.y);
  Forms::Application->ProcessMessages();
  Forms::Application->HandleMessage();  // idle time passes the long part on
  EXPECT_EQ(Forms::Application->GetHint(), "修改选中的合同");
  Headless::AdvanceTime(DWORD(Forms::Application->GetHintPause() + 50));
  Forms::Application->ProcessMessages();
  THintWindow* hint = Forms::Application->GetHintWindow();
  ASSERT_NE(hint, nullptr);
  EXPECT_TRUE(hint->GetVisible() || Windows::IsWindowVisible(hint->GetHandle()));
  EXPECT_EQ(hint->GetCaption(), "修改");
}

TEST_F(ToolBarTest, ActionsAndMenuItemsDriveTheirButtons)
{
  auto* images = new TImageList(Owner.get());
  AddSquares(images, {clGreen, clBlue, clRed});
  Bar->SetImages(images);
  auto* list = new TActionList(Owner.get());
  auto* refresh = new TAction(Owner.get());
  refresh->SetActionList(list);
  refresh->SetCaption("刷新");
  refresh->SetHint("刷新|重新查询");
  refresh->SetImageIndex(2);
  int runs = 0;
  refresh->OnExecute = [&](TObject*) { ++runs; };
  TToolButton* button = Add("");
  button->SetAction(refresh);
  EXPECT_EQ(button->GetCaption(), "刷新");
  EXPECT_EQ(button->GetHint(), "刷新|重新查询");
  EXPECT_EQ(button->GetImageIndex(), 2);
  Form->Show();
  ClickOn(button);
  EXPECT_EQ(runs, 1);
  refresh->SetEnabled(false);
  EXPECT_FALSE(button->GetEnabled());
  ClickOn(button);
  EXPECT_EQ(runs, 1) << "a disabled button takes no click";

  // A menu item's button shows the item and runs it.
  auto* item = new TMenuItem(Owner.get());
  item->SetCaption("打印");
  item->SetImageIndex(1);
  item->SetHint("打印列表");
  int printed = 0;
  item->OnClick = [&](TObject*) { ++printed; };
  TToolButton* print = Add("");
  print->SetMenuItem(item);
  EXPECT_EQ(print->GetCaption(), "打印");
  EXPECT_EQ(print->GetImageIndex(), 1);
  EXPECT_EQ(print->GetHint(), "打印列表");
  Pump();
  ClickOn(print);
  EXPECT_EQ(printed, 1);
  delete item;
  EXPECT_EQ(print->GetMenuItem(), nullptr);
}

TEST_F(ToolBarTest, ButtonsFollowTheBarsSizesRowsAndCaptions)
{
  Bar->SetAlign(alNone);
  Bar->SetBounds(0, 0, 120, 29);
  std::vector<TToolButton*> buttons;
  for (const char* c : {"一", "二", "三", "四", "五", "六"}) buttons.push_back(Add(c));
  Form->Show();
  struct Case {
    const char* What;
    std::function<void()> Do;
    int Rows;
    int ButtonWidth, ButtonHeight;  // of the first button (width 0: wider than its caption)
  } cases[] = {
      {"the smallest buttons wrap at 120 pixels", [] {}, 2, 24, 22},
      {"wider buttons wrap into more rows", [&] { Bar->SetButtonWidth(50); }, 3, 50, 22},
      {"no wrapping: one row", [&] { Bar->SetWrapable(false); }, 1, 50, 22},
      {"captions below the images make the buttons taller", [&] { Bar->SetShowCaptions(true); }, 1, 50, 40},
      {"a wrap after the first button starts a row", [&] { buttons[0]->SetWrap(true); }, 2, 50, 40},
      {"an auto-sized button fits its caption",
       [&] { buttons[0]->SetWrap(false), buttons[0]->SetCaption("很长的按钮文字"), buttons[0]->SetAutoSize(true); }, 1,
       0, 40},
  };
  for (const Case& c : cases) {
    c.Do();
    Pump();
    EXPECT_EQ(Bar->GetRowCount(), c.Rows) << c.What;
    if (c.ButtonWidth)
      EXPECT_EQ(buttons[0]->GetWidth(), c.ButtonWidth) << c.What;
    else
      EXPECT_GT(buttons[0]->GetWidth(), 12 * 7) << c.What << ": seven characters of 12 pixels";
    EXPECT_EQ(buttons[0]->GetHeight(), c.ButtonHeight) << c.What;
    // Each control stands over its button: right of the one before, or on a row below.
    EXPECT_TRUE(buttons[1]->GetLeft() >= buttons[0]->GetLeft() + buttons[0]->GetWidth() ||
                buttons[1]->GetTop() >= buttons[0]->GetTop() + buttons[0]->GetHeight())
        << c.What;
  }
  // AutoSize: the bar's height follows its rows.
  Bar->SetShowCaptions(false);
  Bar->SetWrapable(true);
  Bar->SetAutoSize(true);
  Pump();
  EXPECT_EQ(Bar->GetRowCount(), 3);
  EXPECT_GE(Bar->GetClientHeight(), 3 * 22);
  EXPECT_LT(Bar->GetClientHeight(), 4 * 22);

  // A freed button leaves the bar.
  delete buttons[0];
  EXPECT_EQ(Bar->GetButtonCount(), 5);
  EXPECT_EQ(Bar->GetButton(0), buttons[1]);
  EXPECT_EQ(buttons[1]->GetIndex(), 0);
}

TEST_F(ToolBarTest, PictureOfTheToolButtonsInEachState)
{
  auto* images = new TImageList(Owner.get());
  AddSquares(images, {clGreen, clBlue, clTeal, clMaroon});
  auto* disabled = new TImageList(Owner.get());
  AddSquares(disabled, {clSilver, clSilver, clSilver, clSilver});
  auto* hot = new TImageList(Owner.get());
  AddSquares(hot, {clLime, clAqua, clLime, clLime});
  auto* menu = new TPopupMenu(Owner.get());
  auto* item = new TMenuItem(Owner.get());
  item->SetCaption("新建");
  menu->GetItems()->Add(item);

  Form->SetCaption("工具栏");
  Bar->SetImages(images);
  Bar->SetShowCaptions(true);
  Bar->SetButtonWidth(60);
  Bar->SetButtonHeight(38);
  Bar->SetAutoSize(true);
  TToolButton* normal = Add("新建", tbsDropDown, 0);
  normal->SetDropdownMenu(menu);
  Add("", tbsSeparator);
  TToolButton* down = Add("按下", tbsCheck, 1);
  down->SetDown(true);
  TToolButton* off = Add("不可用", tbsButton, 2);
  off->SetEnabled(false);
  Add("", tbsDivider);
  TToolButton* mixed = Add("未定", tbsCheck, 3);
  mixed->SetIndeterminate(true);
  TToolButton* held = Add("按住", tbsButton, 0);

  // A flat bar without captions: hot images under the pointer, disabled images when disabled.
  auto* flat = new TToolBar(Owner.get());
  flat->SetParent(Form);
  flat->SetAlign(alNone);
  flat->SetBounds(10, 120, 200, 29);
  flat->SetFlat(true);
  flat->SetImages(images);
  flat->SetHotImages(hot);
  flat->SetDisabledImages(disabled);
  std::vector<TToolButton*> flats;
  for (int i = 0; i < 4; ++i) {
    auto* b = new TToolButton(Owner.get());
    b->SetImageIndex(i);
    b->SetParent(flat);
    flats.push_back(b);
  }
  flats[2]->SetEnabled(false);
  Form->Show();
  Pump();
  POINT over = flats[1]->ClientToScreen(POINT{flats[1]->GetWidth() / 2, flats[1]->GetHeight() / 2});
  InputQueue::MouseMove(over.x, over.y);
  Pump();
  // A button held down by the mouse, as the window shows it.
  TBBUTTON native;
  Windows::SendMessage(Bar->GetHandle(), TB_GETBUTTON, WPARAM(held->GetIndex()), reinterpret_cast<LPARAM>(&native));
  Windows::SendMessage(Bar->GetHandle(), TB_PRESSBUTTON, WPARAM(native.idCommand), TRUE);
  Windows::UpdateWindow(Bar->GetHandle());
  SaveFormPicture(Form, "toolbuttons.png");

  auto centre = [](TToolButton* b) { return PixelOf(b, b->GetWidth() / 2, b->GetHeight() / 2); };
  EXPECT_EQ(centre(flats[0]), COLORREF(clGreen)) << "the image";
  EXPECT_EQ(centre(flats[1]), COLORREF(clAqua)) << "the hot image under the pointer";
  EXPECT_EQ(centre(flats[2]), COLORREF(clSilver)) << "the disabled image";
  // Without a disabled image the image is greyed: no teal left.
  EXPECT_NE(PixelOf(off, off->GetWidth() / 2, 12), COLORREF(clTeal));
  EXPECT_GT(Bar->GetHeight(), 38);
}

TEST_F(ToolBarTest, ABarMovedToAnotherParentKeepsItsButtons)
{
  // As a docked bar moves between its sites: a new window with the same buttons and states.
  TToolButton* check = Add("粗", tbsCheck);
  TToolButton* push = Add("刷新");
  int clicks = 0;
  push->OnClick = [&](TObject*) { ++clicks; };
  Form->Show();
  ClickOn(check);
  TForm* other = MakeForm(300, 100);
  other->Show();
  Bar->SetParent(other);
  Pump();
  ASSERT_EQ(Bar->GetButtonCount(), 2);
  EXPECT_TRUE(check->GetDown());
  TBBUTTON native;
  Windows::SendMessage(Bar->GetHandle(), TB_GETBUTTON, 0, reinterpret_cast<LPARAM>(&native));
  EXPECT_TRUE(native.fsState & TBSTATE_CHECKED) << "the new window shows it down";
  ClickOn(push);
  EXPECT_EQ(clicks, 1);
  ClickOn(check);
  EXPECT_FALSE(check->GetDown());
}
