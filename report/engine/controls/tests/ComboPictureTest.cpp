// Pictures of the library controls: the flat combo box plain, lit and disabled, the font
// picker, the edit with a button and the scroll window. The checks look at the frame, the
// button and the fills that tell the states apart.
#include <gtest/gtest.h>

#include "platform/forms/graphics/Colors.h"
#include "platform/forms/graphics/Font.h"
#include "platform/commctrl/CommCtrl.h"
#include "platform/commctrl/combobox/ComboBox.h"
#include "platform/gdi/dc/DeviceContext.h"
#include "platform/win/paint/Painting.h"
#include "platform/win/window/Windows.h"
#include "platform/forms/tests/ControlsTestUtil.h"
#include "platform/stdctrls/StdCtrls.h"
#include "platform/stdctrls/buttons/SpeedButton.h"
#include "platform/stdctrls/tests/PictureUtil.h"
#include "platform/rtl/Registry.h"
#include "platform/testsupport/TempFolder.h"
#include "report/engine/controls/frxComboBox.h"
#include "report/engine/controls/frxFontComboBox.h"
#include "report/engine/controls/frxScrollWin.h"
#include "report/engine/controls/tests/ReportControlsTestUtil.h"

namespace {

COLORREF CtlRgb(TColor C) { return Graphics::ColorToRGB(C); }

class ControlPictureTest : public ReportControlsTest {};

}  // namespace

TEST_F(ControlPictureTest, FlatCombosEditAndScrollWindow)
{
  TForm* form = MakeForm(360, 240);
  form->SetCaption("报表控件");
  form->GetFont()->SetName("宋体");
  form->GetFont()->SetSize(9);
  auto combo = [&](int y) {
    auto* c = new TfrxComboBox(Owner.get());
    c->SetParent(form);
    c->SetBounds(10, y, 120, 21);
    for (const char* s : {"100%", "75%", "整页", "页宽"}) c->GetItems()->Add(s);
    c->SetItemIndex(2);
    return c;
  };
  TfrxComboBox* plain = combo(10);
  TfrxComboBox* lit = combo(40);
  TfrxComboBox* disabled = combo(70);
  disabled->SetEnabled(false);
  auto* fonts = new TfrxFontComboBox(Owner.get());
  fonts->SetParent(form);
  fonts->SetBounds(10, 100, 160, 21);
  auto* edit = new TfrxComboEdit(Owner.get());
  edit->SetParent(form);
  edit->SetBounds(10, 130, 160, 21);
  edit->SetText("文件名.fr3");
  edit->GetButton()->SetCaption("...");
  auto* scroll = new TfrxScrollWin(Owner.get());
  scroll->SetParent(form);
  scroll->SetBounds(190, 10, 150, 140);
  scroll->SetColor(clGray);
  scroll->SetVertRange(100);
  scroll->SetVertPage(30);
  scroll->SetHorzRange(300);
  scroll->SetHorzPage(100);
  form->Show();
  // The mouse over a combo lights it.
  lit->Perform(CM_MOUSEENTER, 0, 0);
  fonts->SetItemIndex(fonts->GetItems()->IndexOf("宋体"));
  Pump();
  form->Repaint();
  SaveFormPicture(form, "report-controls.png");

  int w = plain->GetWidth(), h = plain->GetHeight();
  // Plain: a button-face frame, the window colour inside it, the button in button face with
  // the black arrow in its middle.
  EXPECT_EQ(PixelOf(plain, 0, 0), CtlRgb(clBtnFace));
  EXPECT_EQ(PixelOf(plain, 1, h / 2), CtlRgb(clWindow));
  int arrowX = w - TfrxCustomComboBox::ButtonWidth - 2 + TfrxCustomComboBox::ButtonWidth / 2;
  EXPECT_EQ(PixelOf(plain, arrowX, h / 2 - 1), RGB(0, 0, 0));
  EXPECT_EQ(PixelOf(plain, w - 4, 3), CtlRgb(clBtnFace));
  // Lit: the edit area sunken (its outer edge shadowed at the top-left).
  EXPECT_TRUE(lit->IsHighlighted());
  EXPECT_EQ(PixelOf(lit, 0, h / 2), CtlRgb(clBtnShadow));
  EXPECT_EQ(PixelOf(plain, 0, h / 2), CtlRgb(clBtnFace));
  // Disabled: all button face, a window-coloured frame two pixels inside, the arrow still there.
  EXPECT_EQ(PixelOf(disabled, 5, 1), CtlRgb(clBtnFace));
  EXPECT_EQ(PixelOf(disabled, 2, h / 2), CtlRgb(clWindow));
  EXPECT_EQ(PixelOf(disabled, arrowX, h / 2 - 1), RGB(0, 0, 0));
  // The edit part sits inside the flat frame, left of the button.
  RECT er = TfrxCustomComboBox::EditRect(w, h, 0);
  EXPECT_EQ(er.left, 3);
  EXPECT_EQ(er.right - er.left, w - TfrxCustomComboBox::ButtonWidth - 7);
  // The font picker's TrueType marker in the band left of its text (black letter strokes).
  bool marker = false;
  for (int x = 3; x < 19 && !marker; ++x)
    for (int y = 3; y < h - 3 && !marker; ++y) marker = PixelOf(fonts, x, y) == RGB(0, 0, 0);
  EXPECT_TRUE(marker);
  // The edit's button stands at its right end, (Height - 4) square.
  TSpeedButton* button = edit->GetButton();
  EXPECT_EQ(button->GetWidth(), 17);
  EXPECT_EQ(button->GetHeight(), 17);
  // The scroll window paints its colour.
  EXPECT_EQ(PixelOf(scroll, 20, 20), CtlRgb(clGray));
}

TEST(ComboListHeight, RowsOfTheDroppedList)
{
  struct Case {
    int dropDownCount, count, itemHeight, expected;
  } cases[] = {{8, 3, 14, 46}, {8, 20, 14, 116}, {8, 0, 14, 18}, {0, 5, 14, 18}};
  for (const Case& c : cases)
    EXPECT_EQ(TfrxCustomComboBox::ListHeight(c.dropDownCount, c.count, c.itemHeight), c.expected)
        << c.dropDownCount << "/" << c.count;
}

TEST_F(ControlPictureTest, TheDroppedListHasARaisedFrameInPlaceOfItsBorder)
{
  TForm* form = MakeForm(200, 200);
  auto* c = new TfrxComboBox(Owner.get());
  c->SetParent(form);
  c->SetBounds(10, 10, 120, 21);
  for (const char* s : {"100%", "75%", "整页"}) c->GetItems()->Add(s);
  form->Show();
  Windows::SendMessage(c->GetHandle(), CB_SHOWDROPDOWN, TRUE, 0);
  Pump();
  HWND list = ComboBox::ListOf(c->GetHandle());
  ASSERT_NE(list, nullptr);
  ASSERT_TRUE(Windows::IsWindowVisible(list));
  EXPECT_FALSE(Windows::GetWindowLongPtr(list, GWL_STYLE) & WS_BORDER);
  EXPECT_TRUE(Windows::GetWindowLongPtr(list, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
  RECT r;
  Windows::GetWindowRect(list, &r);
  HDC dc = Windows::GetWindowDC(list);
  // Raised: light at the top-left, dark at the bottom-right (a client edge alone is sunken).
  EXPECT_EQ(Windows::GetPixel(dc, 1, 1), CtlRgb(clBtnHighlight));
  EXPECT_EQ(Windows::GetPixel(dc, r.right - r.left - 1, r.bottom - r.top - 1), CtlRgb(cl3DDkShadow));
  EXPECT_EQ(Windows::GetPixel(dc, r.right - r.left - 2, r.bottom - r.top - 2), CtlRgb(clBtnShadow));
  Windows::ReleaseDC(list, dc);
  Windows::SendMessage(c->GetHandle(), CB_SHOWDROPDOWN, FALSE, 0);
}
