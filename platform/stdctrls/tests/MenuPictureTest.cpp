// A picture of a form with its menu bar and an open pop-up menu (short cuts, a check mark, a
// default, a greyed item, a separator and a sub-menu), written as PNG into the build folder.
#include "platform/forms/app/Application.h"
#include "platform/gdi/dc/SysColors.h"
#include "platform/stdctrls/menus/Menus.h"
#include "platform/stdctrls/tests/StdCtrlsTestUtil.h"
#include "platform/win/input/InputQueue.h"
#include "platform/win/paint/Painting.h"
#include "platform/win/window/Windows.h"

namespace {
class MenuPictureTest : public AppFormsFixture {
protected:
  TMenuItem* Item(TMenuItem* Parent, const char* Caption, TShortCut Key = 0)
  {
    auto* i = new TMenuItem(Owner.get());
    i->SetCaption(Caption);
    i->SetShortCut(Key);
    Parent->Add(i);
    return i;
  }
};
}  // namespace

TEST_F(MenuPictureTest, AFormsBarAndAnOpenPopUpMenu)
{
  TForm* form = MakeForm(420, 300);
  form->SetCaption("合同管理");
  auto* bar = new TMainMenu(form);
  for (const char* c : {"文件(&F)", "编辑(&E)", "窗口(&W)", "帮助(&H)"}) Item(Item(bar->GetItems(), c), "关于");
  form->SetMenu(bar);
  form->Show();
  Pump();

  auto* popup = new TPopupMenu(form);
  TMenuItem* root = popup->GetItems();
  Item(root, "新建合同(&N)", scCtrl | 'N')->SetHint("新建一份合同");
  Item(root, "打开(&O)...", scCtrl | 'O')->SetDefault(true);
  Item(root, "保存(&S)", scCtrl | 'S')->SetEnabled(false);
  Item(root, "-");
  Item(root, "显示工具栏")->SetChecked(true);
  Item(Item(root, "导出"), "Excel 文件");
  Item(root, "删除", scShift | VK_DELETE);

  TPixelCanvas picture(420, 300);
  ASSERT_TRUE(SavePopupMenuPng(popup, form, 120, 80, "stdctrls_menus.png", picture));

  // The bar's text and the menu's texts are dark ink on light grounds.
  RECT barText{4, 24, 200, 44};
  EXPECT_GT(picture.Count(barText, RGB(0, 0, 0), 80), 20);
  RECT menuArea{120, 80, 300, 250};
  EXPECT_GT(picture.Count(menuArea, RGB(0, 0, 0), 80), 200) << "the items' texts";
  EXPECT_GT(picture.Count(menuArea, Windows::GetSysColor(COLOR_HIGHLIGHT), 10), 200) << "the lit first item";
}
