// Pictures of the common-control wrappers in their states; the checks look at a few points.
#include <gtest/gtest.h>

#include <string>

#include "platform/forms/controls/ImgList.h"
#include "platform/forms/graphics/Bitmap.h"
#include "platform/forms/graphics/Brush.h"
#include "platform/forms/graphics/Canvas.h"
#include "platform/forms/graphics/Font.h"
#include "platform/forms/tests/ControlsTestUtil.h"
#include "platform/gdi/dc/SysColors.h"
#include "platform/stdctrls/StdCtrls.h"
#include "platform/stdctrls/comctrls/DateTimePicker.h"
#include "platform/stdctrls/comctrls/ListView.h"
#include "platform/stdctrls/comctrls/MonthCalendar.h"
#include "platform/stdctrls/comctrls/PageControl.h"
#include "platform/stdctrls/comctrls/ProgressBar.h"
#include "platform/stdctrls/comctrls/StatusBar.h"
#include "platform/stdctrls/comctrls/TreeView.h"
#include "platform/stdctrls/comctrls/UpDown.h"
#include "platform/stdctrls/edits/CustomEdit.h"
#include "platform/stdctrls/tests/PictureUtil.h"
#include "platform/win/backend/Headless.h"

namespace {

// Squares of one colour each on a transparent margin, Size pixels wide.
void AddComCtrlsIcons(TImageList* List, int Size, std::initializer_list<TColor> Colors)
{
  List->SetWidth(Size);
  List->SetHeight(Size);
  for (TColor c : Colors) {
    TBitmap bmp;
    bmp.SetSize(Size, Size);
    bmp.GetCanvas()->GetBrush()->SetColor(clFuchsia);
    bmp.GetCanvas()->FillRect(RECT{0, 0, Size, Size});
    bmp.GetCanvas()->GetBrush()->SetColor(c);
    bmp.GetCanvas()->FillRect(RECT{2, 2, Size - 2, Size - 2});
    List->AddMasked(&bmp, clFuchsia);
  }
}

class ComCtrlsPictureTest : public FormsTest {
protected:
  void SetUp() override
  {
    FormsTest::SetUp();
    StdCtrls::Initialize();
  }
  template <class T>
  T* Place(TWinControl* Parent, int X, int Y, int W, int H)
  {
    auto* c = new T(Owner.get());
    c->SetParent(Parent);
    c->SetBounds(X, Y, W, H);
    return c;
  }
};

}  // namespace

TEST_F(ComCtrlsPictureTest, DesktopTreeIconsAndStatusBar)
{
  TForm* form = MakeForm(640, 420);
  form->SetCaption("我的桌面");
  form->GetFont()->SetName("宋体");
  form->GetFont()->SetSize(9);
  auto* small = new TImageList(Owner.get());
  AddComCtrlsIcons(small, 16, {clRed, clGreen, clBlue, clOlive});
  auto* large = new TImageList(Owner.get());
  AddComCtrlsIcons(large, 32, {clRed, clGreen, clBlue, clOlive, clTeal, clPurple});

  auto* tree = Place<TTreeView>(form, 8, 8, 200, 360);
  tree->SetImages(small);
  tree->SetHideSelection(false);
  tree->SetReadOnly(true);
  TTreeNodes* nodes = tree->GetItems();
  TTreeNode* root = nodes->Add(nullptr, "我的桌面");
  const char* entries[] = {"合同管理", "所在部门", "合同提醒", "应收账款", "应付账款", "往来单位", "退出系统"};
  TTreeNode* reminders = nullptr;
  for (int i = 0; i < 7; ++i) {
    TTreeNode* n = nodes->AddChild(root, entries[i]);
    n->SetImageIndex(i % 4);
    n->SetSelectedIndex(i % 4);
    if (i == 2) reminders = n;
  }
  nodes->AddChild(nodes->GetItem(1), "采购合同")->SetImageIndex(1);
  nodes->AddChild(nodes->GetItem(1), "销售合同")->SetImageIndex(1);
  root->Expand(false);
  nodes->GetItem(1)->Expand(false);
  tree->SetSelected(reminders);

  auto* icons = Place<TListView>(form, 216, 8, 416, 250);
  icons->SetLargeImages(large);
  icons->SetBorderStyle(bsNone);
  icons->SetBorderWidth(5);
  for (int i = 0; i < 7; ++i) {
    TListItem* item = icons->GetItems()->Add();
    item->SetCaption(entries[i]);
    item->SetImageIndex(i % 6);
  }
  icons->GetItems()->GetItem(5)->SetCaption("往来单位与供应商名录");

  auto* progress = Place<TProgressBar>(form, 216, 270, 200, 18);
  progress->SetPosition(45);
  auto* smooth = Place<TProgressBar>(form, 216, 296, 200, 18);
  smooth->SetSmooth(true);
  smooth->SetPosition(70);
  auto* edit = Place<TEdit>(form, 432, 270, 80, 21);
  auto* arrows = Place<TUpDown>(form, 512, 270, 17, 21);
  arrows->SetMax(12);
  arrows->SetPosition(6);
  arrows->SetAssociate(edit);

  auto* status = new TStatusBar(Owner.get());
  status->SetParent(form);
  for (auto [text, width] : {std::pair{"D:\\合同\\pelto.mdb", 260}, {"sa", 100}, {"", 80}, {"", 80}}) {
    TStatusPanel* p = status->GetPanels()->Add();
    p->SetText(text);
    p->SetWidth(width);
  }
  form->Show();
  icons->SetFocus();
  icons->SetItemIndex(2);
  Pump();
  SaveFormPicture(form, "comctrls_desktop.png");

  // The focused list's selected caption stands on the highlight colour; the tree keeps its
  // selection shown while unfocused.
  RECT cell = icons->GetItems()->GetItem(2)->DisplayRect();
  COLORREF highlight = Windows::GetSysColor(COLOR_HIGHLIGHT);
  bool found = false;
  for (int y = cell.top + 36; y < cell.bottom && !found; ++y)
    for (int x = cell.left; x < cell.right && !found; ++x) found = PixelOf(icons, x, y) == highlight;
  EXPECT_TRUE(found) << "no highlight under the selected caption";
  RECT second = icons->GetItems()->GetItem(1)->DisplayRect();
  EXPECT_EQ(PixelOf(icons, (second.left + second.right) / 2, second.top + 10), COLORREF(0x008000))
      << "the second icon is the green square";
  EXPECT_EQ(status->GetTop() + status->GetHeight(), form->GetClientRect().bottom);
  EXPECT_EQ(edit->GetText(), "6");
}

TEST_F(ComCtrlsPictureTest, PagesDatesAndCalendar)
{
  TForm* form = MakeForm(640, 420);
  form->SetCaption("合同");
  form->GetFont()->SetName("宋体");
  form->GetFont()->SetSize(9);
  auto* pages = Place<TPageControl>(form, 8, 8, 380, 240);
  const char* captions[] = {"基本信息", "付款计划", "发票", "投标"};
  TTabSheet* sheets[4];
  for (int i = 0; i < 4; ++i) {
    sheets[i] = new TTabSheet(Owner.get());
    sheets[i]->SetPageControl(pages);
    sheets[i]->SetCaption(captions[i]);
  }
  sheets[3]->SetTabVisible(false);
  auto* date = Place<TDateTimePicker>(sheets[1], 10, 10, 150, 21);
  date->SetDateTime(TDateTime(46090.5));  // 2026-03-09 12:00
  auto* longDate = Place<TDateTimePicker>(sheets[1], 10, 40, 150, 21);
  longDate->SetDateFormat(dfLong);
  longDate->SetDateTime(TDateTime(46090.5));
  auto* time = Place<TDateTimePicker>(sheets[1], 10, 70, 150, 21);
  time->SetKind(dtkTime);
  time->SetDateTime(TDateTime(46090.5));
  auto* unticked = Place<TDateTimePicker>(sheets[1], 10, 100, 150, 21);
  unticked->SetShowCheckbox(true);
  unticked->SetChecked(false);
  unticked->SetDateTime(TDateTime(46090.5));
  auto* off = Place<TDateTimePicker>(sheets[1], 10, 130, 150, 21);
  off->SetDateTime(TDateTime(46090.5));
  off->SetEnabled(false);
  auto* calendar = new TMonthCalendar(Owner.get());
  calendar->SetParent(form);
  calendar->SetLeft(400);
  calendar->SetTop(8);
  calendar->SetDate(TDateTime(46090.0));
  auto* tabs = Place<TTabControl>(form, 8, 260, 380, 80);
  for (const char* s : {"全部", "未执行", "执行中", "已完成"}) tabs->GetTabs()->Add(s);
  tabs->SetTabIndex(2);
  auto* buttons = Place<TTabControl>(form, 400, 260, 230, 80);
  buttons->SetStyle(tsButtons);
  for (const char* s : {"收款", "付款"}) buttons->GetTabs()->Add(s);
  buttons->SetTabIndex(0);
  form->Show();
  pages->SetActivePage(sheets[1]);
  Pump();
  SaveFormPicture(form, "comctrls_pages.png");

  EXPECT_TRUE(sheets[1]->GetVisible());
  EXPECT_FALSE(sheets[0]->GetVisible());
  EXPECT_GT(calendar->GetWidth(), 150) << "sized from the month's needs";
  EXPECT_LE(calendar->GetLeft() + calendar->GetWidth(), form->GetClientRect().right) << "nothing cut off";
}
