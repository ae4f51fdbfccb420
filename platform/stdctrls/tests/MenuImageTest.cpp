// Menu items with images: a pop-up menu whose items draw themselves (images in their column, a
// checked item's image sunken, a disabled one greyed), written as PNG into the build folder,
// and the measuring of a main menu's items through its form.
#include "platform/forms/app/Application.h"
#include "platform/forms/controls/ImgList.h"
#include "platform/forms/graphics/Bitmap.h"
#include "platform/forms/graphics/Brush.h"
#include "platform/forms/graphics/Canvas.h"
#include "platform/gdi/dc/SysColors.h"
#include "platform/stdctrls/menus/Menus.h"
#include "platform/stdctrls/tests/StdCtrlsTestUtil.h"
#include "platform/win/input/InputQueue.h"
#include "platform/win/menu/Menus.h"
#include "platform/win/paint/Painting.h"
#include "platform/win/window/Windows.h"

namespace {

// Three 16x16 images: a red, a blue and a green square on white, each with a dark border.
void FillMenuImages(TImageList* List)
{
  for (TColor colour : {clRed, clBlue, clGreen}) {
    TBitmap b;
    b.SetSize(16, 16);
    TCanvas* c = b.GetCanvas();
    c->GetBrush()->SetColor(clFuchsia);
    c->FillRect(RECT{0, 0, 16, 16});
    c->GetBrush()->SetColor(colour);
    c->Rectangle(2, 2, 14, 14);
    List->AddMasked(&b, clFuchsia);
  }
}

// Whether the entry at Position is owner-drawn. GetMenuState cannot tell for an entry with a
// sub-menu: its item count sits in the same bits.
bool MenuEntryOwnerDrawn(HMENU Menu, UINT Position)
{
  MENUITEMINFOA info{};
  info.fMask = MIIM_FTYPE;
  Windows::GetMenuItemInfo(Menu, Position, TRUE, &info);
  return (info.fType & MFT_OWNERDRAW) != 0;
}

class MenuImageTest : public AppFormsFixture {
protected:
  TMenuItem* Item(TMenuItem* Parent, const char* Caption, int Image = -1, TShortCut Key = 0)
  {
    auto* i = new TMenuItem(Owner.get());
    i->SetCaption(Caption);
    i->SetImageIndex(Image);
    i->SetShortCut(Key);
    Parent->Add(i);
    return i;
  }
};

}  // namespace

TEST_F(MenuImageTest, APopUpMenuDrawsItsImagesInTheClassicLook)
{
  TForm* form = MakeForm(420, 320);
  form->SetCaption("合同管理");
  form->Show();
  Pump();
  auto* images = new TImageList(Owner.get());
  FillMenuImages(images);
  auto* popup = new TPopupMenu(form);
  TMenuItem* root = popup->GetItems();
  Item(root, "新建合同(&N)", 0, scCtrl | 'N')->SetHint("新建一份合同");
  Item(root, "打开(&O)...", 1, scCtrl | 'O')->SetDefault(true);
  Item(root, "保存(&S)", 2, scCtrl | 'S')->SetEnabled(false);
  Item(root, "-");
  Item(root, "显示工具栏", 1)->SetChecked(true);
  Item(root, "显示状态栏")->SetChecked(true);
  Item(Item(root, "导出", 0), "Excel 文件");
  EXPECT_FALSE(root->GetItem(0)->IsOwnerDrawn()) << "no image list yet";
  popup->SetImages(images);
  EXPECT_TRUE(root->GetItem(0)->IsOwnerDrawn());
  EXPECT_FALSE(root->GetItem(3)->IsOwnerDrawn()) << "a line stays the system's";

  TPixelCanvas picture(420, 320);
  ASSERT_TRUE(SavePopupMenuPng(popup, form, 120, 60, "stdctrls_menu_images.png", picture));

  // The images stand in their column: red on the lit first item, blue on the second and on
  // the checked one, no colour on the disabled one (greyed).
  RECT column{122, 62, 150, 300};
  EXPECT_GT(picture.Count(column, RGB(255, 0, 0), 40), 40) << "the red images";
  EXPECT_GT(picture.Count(column, RGB(0, 0, 255), 40), 80) << "two blue images";
  EXPECT_EQ(picture.Count(column, RGB(0, 128, 0), 40), 0) << "the disabled item's image is greyed";
  RECT texts{150, 62, 320, 300};
  EXPECT_GT(picture.Count(texts, Windows::GetSysColor(COLOR_HIGHLIGHT), 10), 200) << "the lit first item";
  EXPECT_GT(picture.Count(texts, RGB(0, 0, 0), 80), 200) << "the captions";
  // The checked item with an image sits on the lighter ground of its sunken frame.
  EXPECT_GT(picture.Count(column, Windows::GetSysColor(COLOR_3DHILIGHT), 10), 60);
}

TEST_F(MenuImageTest, AMainMenusItemsAreMeasuredThroughTheirForm)
{
  TForm* form = MakeForm(420, 300);
  auto* images = new TImageList(Owner.get());
  images->SetWidth(24);
  images->SetHeight(24);
  auto* bar = new TMainMenu(form);
  TMenuItem* file = Item(bar->GetItems(), "文件(&F)");
  TMenuItem* open = Item(file, "打开(&O)...", 0, scCtrl | 'O');
  form->SetMenu(bar);
  form->Show();
  Pump();
  MEASUREITEMSTRUCT mi;
  mi.CtlType = ODT_MENU;
  mi.itemData = open->GetCommand();
  EXPECT_EQ(Windows::SendMessage(form->GetHandle(), WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&mi)), 0)
      << "no images: not owner-drawn, nobody answers";
  bar->SetImages(images);
  EXPECT_FALSE(file->IsOwnerDrawn()) << "the bar's own items stay the system's";
  EXPECT_EQ(Windows::GetMenuState(file->GetHandle(), 0, MF_BYPOSITION) & MF_OWNERDRAW, MF_OWNERDRAW);
  EXPECT_EQ(Windows::SendMessage(form->GetHandle(), WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&mi)), TRUE);
  EXPECT_EQ(mi.itemHeight, 28u) << "the image's height and a margin";
  EXPECT_GT(mi.itemWidth, 24u + 60u) << "the image column, the caption and the short cut";
  delete images;
  EXPECT_EQ(bar->GetImages(), nullptr) << "a freed image list is forgotten";
  EXPECT_EQ(Windows::GetMenuState(file->GetHandle(), 0, MF_BYPOSITION) & MF_OWNERDRAW, 0u);
}

TEST_F(MenuImageTest, ABarItemWithAnImageShowsItBesideItsCaption)
{
  TForm* form = MakeForm(420, 200);
  form->SetCaption("合同管理");
  auto* images = new TImageList(Owner.get());
  FillMenuImages(images);
  auto* bar = new TMainMenu(form);
  TMenuItem* file = Item(bar->GetItems(), "文件(&F)", 0);
  Item(file, "打开(&O)...", 1);
  TMenuItem* edit = Item(bar->GetItems(), "编辑(&E)");
  Item(edit, "复制", 2);
  TMenuItem* tools = Item(bar->GetItems(), "工具(&T)", 1);
  Item(tools, "选项");
  tools->SetEnabled(false);
  bar->SetImages(images);
  form->SetMenu(bar);
  form->Show();
  Pump();
  EXPECT_TRUE(file->IsOwnerDrawn());
  EXPECT_FALSE(edit->IsOwnerDrawn()) << "a bar item without an image stays the system's";
  HMENU h = bar->GetHandle();
  EXPECT_TRUE(MenuEntryOwnerDrawn(h, 0));
  EXPECT_FALSE(MenuEntryOwnerDrawn(h, 1));

  RECT screen = form->GetBoundsRect();
  TPixelCanvas picture(420, 200);
  SaveScreenPng(screen, "stdctrls_menu_bar_images.png", picture);
  // The bar lies under the caption; the first item's red image and the greyed third item's.
  RECT barArea{0, 20, 420, 50};
  EXPECT_GT(picture.Count(barArea, RGB(255, 0, 0), 40), 40) << "the red image of 文件";
  EXPECT_EQ(picture.Count(barArea, RGB(0, 0, 255), 40), 0) << "the disabled item's blue image is greyed";
  EXPECT_GT(picture.Count(barArea, RGB(0, 0, 0), 80), 60) << "the captions";

  // The items keep their places side by side, the one with an image wider.
  RECT second;
  ASSERT_TRUE(Windows::GetMenuItemRect(form->GetHandle(), h, 1, &second));
  RECT first;
  ASSERT_TRUE(Windows::GetMenuItemRect(form->GetHandle(), h, 0, &first));
  EXPECT_GT(first.right - first.left, second.right - second.left) << "the image widens the item";
  EXPECT_EQ(second.left, first.right);
}
