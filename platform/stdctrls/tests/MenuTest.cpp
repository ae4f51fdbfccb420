// Menus on the headless desktop: the item tree in the window layer's menus, commands, pop-ups
// opening, key short cuts before the focused control, merging by group index, pop-up menus
// and their hints.
#include <string>

#include "platform/forms/app/Application.h"
#include "platform/forms/controls/Controls.h"
#include "platform/stdctrls/menus/Menus.h"
#include "platform/stdctrls/tests/StdCtrlsTestUtil.h"
#include "platform/win/input/InputQueue.h"
#include "platform/win/menu/Menus.h"
#include "platform/win/queue/Messages.h"
#include "platform/win/window/Windows.h"

namespace {
class MenuTest : public AppFormsFixture {
protected:
  // An item owned by the fixture, appended to Parent; clicks are logged as "Caption".
  TMenuItem* Item(TMenuItem* Parent, const char* Caption, TShortCut Key = 0)
  {
    auto* i = new TMenuItem(Owner.get());
    i->SetCaption(Caption);
    i->SetShortCut(Key);
    i->OnClick = [this](TObject* Sender) { Clicks.push_back(static_cast<TMenuItem*>(Sender)->GetCaption()); };
    Parent->Add(i);
    return i;
  }
  static std::string Text(HMENU Menu, int Position)
  {
    char buf[128] = {};
    Windows::GetMenuString(Menu, UINT(Position), buf, sizeof buf, MF_BYPOSITION);
    return buf;
  }
  // The captions of a menu handle's entries ("-" for a separator).
  static std::vector<std::string> Entries(HMENU Menu)
  {
    std::vector<std::string> r;
    for (int i = 0; i < Windows::GetMenuItemCount(Menu); ++i)
      r.push_back((Windows::GetMenuState(Menu, UINT(i), MF_BYPOSITION) & MF_SEPARATOR) ? "-" : Text(Menu, i));
    return r;
  }
  std::vector<AnsiString> Clicks;
};

using Strings = std::vector<std::string>;
}  // namespace

TEST_F(MenuTest, TheItemTreeFillsTheMenuHandleAndChangesRefillItInPlace)
{
  auto* menu = new TPopupMenu(Owner.get());
  TMenuItem* root = menu->GetItems();
  TMenuItem* add = Item(root, "新建(&N)", scCtrl | 'N');
  Item(root, "-");
  TMenuItem* save = Item(root, "保存(&S)");
  save->SetEnabled(false);
  TMenuItem* view = Item(root, "视图(&V)");
  TMenuItem* big = Item(view, "大图标");
  TMenuItem* small = Item(view, "小图标");
  TMenuItem* hidden = Item(root, "隐藏");
  hidden->SetVisible(false);

  HMENU h = menu->GetHandle();
  EXPECT_EQ(Entries(h), (Strings{"新建(&N)\tCtrl+N", "-", "保存(&S)", "视图(&V)"}));
  EXPECT_EQ(Windows::GetMenuState(h, 2, MF_BYPOSITION) & MF_GRAYED, MF_GRAYED);
  HMENU sub = Windows::GetSubMenu(h, 3);
  ASSERT_NE(sub, nullptr);
  EXPECT_EQ(sub, view->GetHandle());
  EXPECT_EQ(Entries(sub), (Strings{"大图标", "小图标"}));

  // Radio items: one checked per group under a parent.
  big->SetRadioItem(true);
  small->SetRadioItem(true);
  big->SetChecked(true);
  small->SetChecked(true);
  EXPECT_FALSE(big->GetChecked());
  EXPECT_EQ(Windows::GetMenuState(sub, 1, MF_BYPOSITION) & MF_CHECKED, MF_CHECKED);
  EXPECT_EQ(Windows::GetMenuState(sub, 0, MF_BYPOSITION) & MF_CHECKED, 0u);
  big->SetGroupIndex(1);
  big->SetChecked(true);
  EXPECT_TRUE(small->GetChecked()) << "another group is left alone";

  // Changes reach the same handles.
  hidden->SetVisible(true);
  add->SetCaption("新建合同");
  save->SetEnabled(true);
  delete small;
  EXPECT_EQ(menu->GetHandle(), h);
  EXPECT_EQ(view->GetHandle(), sub);
  EXPECT_EQ(Entries(h), (Strings{"新建合同\tCtrl+N", "-", "保存(&S)", "视图(&V)", "隐藏"}));
  EXPECT_EQ(Entries(sub), (Strings{"大图标"}));
  EXPECT_EQ(root->IndexOf(hidden), 4);
  EXPECT_THROW(root->GetItem(5), EMenuError);
  EXPECT_THROW(view->Add(add), EMenuError) << "an item has one parent";
  root->Clear();
  EXPECT_EQ(Windows::GetMenuItemCount(h), 0);
  EXPECT_FALSE(Windows::IsMenu(sub)) << "the freed item's pop-up went with it";
}

TEST_F(MenuTest, TheFormRunsItemsByCommandOpensPopUpsAndTakesShortCutsBeforeTheFocusedControl)
{
  TForm* form = MakeForm();
  auto* menu = new TMainMenu(form);
  TMenuItem* file = Item(menu->GetItems(), "文件(&F)");
  Item(file, "打开(&O)", scCtrl | 'O');
  TMenuItem* window = Item(menu->GetItems(), "窗口(&W)");
  Item(window, "层叠(&C)");
  TMenuItem* greyed = Item(file, "保存", scCtrl | 'S');
  greyed->SetEnabled(false);
  // Opening the window menu refreshes its list, as the main window does.
  window->OnClick = [&](TObject*) {
    Clicks.push_back("open window menu");
    if (window->GetCount() == 1) Item(window, "合同列表");
  };
  form->SetMenu(menu);
  auto* edit = new TLogControl(form, "Edit");
  edit->SetParent(form);
  edit->SetTabStop(true);
  form->Show();
  edit->SetFocus();
  Pump();
  EXPECT_EQ(Windows::GetMenu(form->GetHandle()), menu->GetHandle());

  // The bar's second item opens; its refreshed list is there to choose from.
  InputQueue::KeyDown(VK_DOWN);
  InputQueue::KeyDown(VK_DOWN);
  InputQueue::KeyDown(VK_RETURN);
  Menus::ActivateBarItem(form->GetHandle(), 1);
  Pump();
  EXPECT_EQ(Clicks, (std::vector<AnsiString>{"open window menu", "合同列表"}));

  Clicks.clear();
  ControlLog().clear();
  for (TShortCut key : {TShortCut(scCtrl | 'O'), TShortCut(scCtrl | 'S')}) {
    InputQueue::KeyDown(VK_CONTROL);
    InputQueue::KeyDown(key & 0xFF);
    InputQueue::KeyUp(key & 0xFF);
    InputQueue::KeyUp(VK_CONTROL);
    Pump();
  }
  EXPECT_EQ(Clicks, (std::vector<AnsiString>{"打开(&O)"})) << "a disabled item's key is not taken";

  Windows::SendMessage(form->GetHandle(), WM_COMMAND, file->GetItem(0)->GetCommand(), 0);
  EXPECT_EQ(Clicks.size(), 2u);
  EXPECT_EQ(menu->FindItem(0xFEFE), nullptr);
}

TEST_F(MenuTest, AChildsMenuMergesIntoTheFramesBarByGroupIndex)
{
  auto* frame = new TMainMenu(Owner.get());
  for (auto [caption, group] : {std::pair{"文件(&F)", 0}, {"工具(&T)", 2}, {"窗口(&W)", 2}, {"帮助(&H)", 2}})
    Item(frame->GetItems(), caption)->SetGroupIndex(Byte(group));
  HMENU bar = frame->GetHandle();

  struct Case {
    std::vector<std::pair<const char*, int>> Child;
    Strings Bar;
  } cases[] = {
      {{{"编辑(&E)", 1}}, {"文件(&F)", "编辑(&E)", "工具(&T)", "窗口(&W)", "帮助(&H)"}},
      {{{"合同", 0}, {"其它", 5}}, {"合同", "工具(&T)", "窗口(&W)", "帮助(&H)", "其它"}},
      {{{"查看", 2}}, {"文件(&F)", "查看"}},
      {{}, {"文件(&F)", "工具(&T)", "窗口(&W)", "帮助(&H)"}},
  };
  for (const Case& c : cases) {
    auto* child = new TMainMenu(Owner.get());
    for (auto [caption, group] : c.Child) Item(child->GetItems(), caption)->SetGroupIndex(Byte(group));
    frame->Merge(child);
    EXPECT_EQ(Entries(bar), c.Bar);
    frame->Unmerge(child);
    EXPECT_EQ(Entries(bar), (Strings{"文件(&F)", "工具(&T)", "窗口(&W)", "帮助(&H)"}));
    delete child;
  }

  // While merged, the child's items run through the frame and follow their changes; freeing
  // the child's menu takes its items off the bar.
  auto* child = new TMainMenu(Owner.get());
  TMenuItem* edit = Item(child->GetItems(), "编辑(&E)");
  edit->SetGroupIndex(1);
  TMenuItem* copy = Item(edit, "复制", scCtrl | 'C');
  frame->Merge(child);
  EXPECT_TRUE(frame->DispatchCommand(WORD(copy->GetCommand())));
  EXPECT_EQ(frame->FindShortCut(scCtrl | 'C'), copy);
  edit->SetCaption("编辑");
  EXPECT_EQ(Text(bar, 1), "编辑");
  delete child;
  EXPECT_EQ(frame->GetMerged(), nullptr);
  EXPECT_EQ(Windows::GetMenuItemCount(bar), 4);
  EXPECT_EQ(Clicks, (std::vector<AnsiString>{"复制"}));
}

TEST_F(MenuTest, TheActiveMdiChildsMenuShowsInTheFramesBarAndItsKeysSwitchChildren)
{
  // The main form, so that the message loop gives its children their keys.
  TForm* frameForm = nullptr;
  Forms::Application->CreateForm(frameForm);
  frameForm->SetBounds(0, 0, 800, 600);
  frameForm->SetFormStyle(fsMDIForm);
  auto* frame = new TMainMenu(Owner.get());
  Item(frame->GetItems(), "文件(&F)")->SetGroupIndex(0);
  Item(frame->GetItems(), "窗口(&W)")->SetGroupIndex(9);
  frameForm->SetMenu(frame);
  frameForm->Show();
  HMENU bar = frame->GetHandle();
  auto child = [&](const char* name, const char* menuCaption) {
    auto* f = new TForm(Owner.get());
    f->SetName(name);
    f->SetBounds(0, 0, 200, 150);
    auto* menu = new TMainMenu(f);
    Item(menu->GetItems(), menuCaption)->SetGroupIndex(1);
    f->SetMenu(menu);
    f->SetFormStyle(fsMDIChild);
    return f;
  };
  TForm* a = child("A", "合同(&C)");
  EXPECT_EQ(Entries(bar), (Strings{"文件(&F)", "合同(&C)", "窗口(&W)"}));
  TForm* b = child("B", "客户(&K)");
  EXPECT_EQ(Entries(bar), (Strings{"文件(&F)", "客户(&K)", "窗口(&W)"})) << "the newly active child's";
  a->SetFocus();
  EXPECT_EQ(Entries(bar), (Strings{"文件(&F)", "合同(&C)", "窗口(&W)"}));

  // Ctrl+F6 and Ctrl+Tab go to the next child, with Shift back; Ctrl+F4 closes the active one.
  auto press = [&](std::initializer_list<int> keys) {
    for (int k : keys) InputQueue::KeyDown(k);
    for (auto k = std::rbegin(keys); k != std::rend(keys); ++k) InputQueue::KeyUp(*k);
    Forms::Application->ProcessMessages();
  };
  struct Step {
    std::initializer_list<int> Keys;
    TCustomForm* Active;
  };
  const Step steps[] = {
      {{VK_CONTROL, VK_F6}, b},
      {{VK_CONTROL, VK_TAB}, a},
      {{VK_CONTROL, VK_SHIFT, VK_F6}, b},
  };
  for (const Step& s : steps) {
    press(s.Keys);
    EXPECT_EQ(frameForm->GetActiveMDIChild(), s.Active);
  }
  EXPECT_EQ(Entries(bar), (Strings{"文件(&F)", "客户(&K)", "窗口(&W)"}));
  b->OnClose = [](TObject*, TCloseAction& action) { action = caFree; };
  press({VK_CONTROL, VK_F4});
  Pump();
  EXPECT_EQ(frameForm->GetMDIChildCount(), 1);
  EXPECT_EQ(frameForm->GetActiveMDIChild(), a);
  EXPECT_EQ(Entries(bar), (Strings{"文件(&F)", "合同(&C)", "窗口(&W)"}));
  delete a;
  EXPECT_EQ(Entries(bar), (Strings{"文件(&F)", "窗口(&W)"})) << "no child: the frame's own";
}

TEST_F(MenuTest, APopUpMenuRunsOnRightClickTellsOnPopupAndShowsHints)
{
  TForm* form = MakeForm();
  auto* popup = new TPopupMenu(form);
  TMenuItem* edit = Item(popup->GetItems(), "修改");
  edit->SetHint("修改|修改选中的合同");
  Item(popup->GetItems(), "删除");
  int popups = 0;
  popup->OnPopup = [&](TObject* Sender) { ++popups; };
  std::vector<AnsiString> hints;
  Forms::Application->OnHint = [&](TObject*) { hints.push_back(Forms::Application->GetHint()); };
  auto* box = new TLogControl(form, "Box");
  box->SetParent(form);
  box->SetBounds(10, 10, 100, 50);
  box->SetPopupMenu(popup);
  form->Show();
  Pump();

  POINT p{20, 20};
  Windows::ClientToScreen(box->GetHandle(), &p);
  InputQueue::KeyDown(VK_DOWN);
  InputQueue::KeyDown(VK_DOWN);
  InputQueue::KeyDown(VK_RETURN);
  // What a right click on the control's window asks for.
  Windows::SendMessage(box->GetHandle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(box->GetHandle()),
                       MAKELPARAM(p.x, p.y));
  Pump();
  EXPECT_EQ(popups, 1);
  EXPECT_EQ(popup->GetPopupComponent(), box);
  EXPECT_EQ(Clicks, (std::vector<AnsiString>{"删除"}));
  ASSERT_GE(hints.size(), 2u);
  EXPECT_EQ(hints[0], "修改选中的合同") << "the long part of the hint";
  EXPECT_EQ(hints.back(), "") << "closing the menu clears it";

  // Escape closes it with nothing run.
  InputQueue::KeyDown(VK_ESCAPE);
  popup->Popup(300, 300);
  Pump();
  EXPECT_EQ(Clicks.size(), 1u);
  EXPECT_EQ(popups, 2);
}
