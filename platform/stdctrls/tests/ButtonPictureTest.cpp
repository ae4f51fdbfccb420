// Pictures of the buttons, check boxes, radio buttons, group boxes and radio groups in their
// states; the checks look at a few points that tell the states apart.
#include <gtest/gtest.h>

#include "platform/forms/graphics/Font.h"
#include "platform/forms/tests/ControlsTestUtil.h"
#include "platform/forms/graphics/Brush.h"
#include "platform/forms/graphics/Canvas.h"
#include "platform/forms/graphics/Pen.h"
#include "platform/stdctrls/buttons/BitBtn.h"
#include "platform/stdctrls/buttons/Button.h"
#include "platform/stdctrls/buttons/CheckBox.h"
#include "platform/stdctrls/buttons/RadioButton.h"
#include "platform/stdctrls/buttons/RadioGroup.h"
#include "platform/stdctrls/buttons/SpeedButton.h"
#include "platform/stdctrls/tests/PictureUtil.h"
#include "platform/win/backend/Headless.h"

namespace {

// A 16x16 glyph: a green tick on an olive background (the transparent colour).
void MakeTick(TBitmap* Bitmap)
{
  Bitmap->SetSize(16, 16);
  TCanvas* c = Bitmap->GetCanvas();
  c->GetBrush()->SetColor(clOlive);
  c->FillRect(RECT{0, 0, 16, 16});
  c->GetPen()->SetColor(clGreen);
  c->GetPen()->SetWidth(3);
  c->Polyline({{2, 8}, {6, 12}, {13, 3}});
}

}  // namespace

TEST_F(FormsTest, PictureOfTheButtonsInTheirStates)
{
  TForm* form = MakeForm(560, 470);
  form->SetCaption("按钮");
  form->GetFont()->SetName("宋体");
  form->GetFont()->SetSize(9);
  auto button = [&](const char* caption, int x, int y) {
    auto* b = new TButton(Owner.get());
    b->SetParent(form);
    b->SetBounds(x, y, 90, 25);
    b->SetCaption(caption);
    return b;
  };
  auto* ok = button("确定(&O)", 10, 10);
  ok->SetDefault(true);
  auto* cancel = button("取消", 110, 10);
  cancel->SetCancel(true);
  auto* disabled = button("不可用", 210, 10);
  disabled->SetEnabled(false);
  auto* wrapped = button("两行的按钮文字", 310, 10);
  wrapped->SetWordWrap(true);
  wrapped->SetHeight(40);

  int y = 60;
  auto check = [&](const char* caption, TCheckBoxState state, bool enabled, TLeftRight side) {
    auto* c = new TCheckBox(Owner.get());
    c->SetParent(form);
    c->SetBounds(10, y, 150, 17);
    c->SetCaption(caption);
    c->SetAllowGrayed(true);
    c->SetState(state);
    c->SetEnabled(enabled);
    c->SetAlignment(side);
    y += 24;
    return c;
  };
  auto* unchecked = check("未选中", cbUnchecked, true, taRightJustify);
  auto* checked = check("已选中", cbChecked, true, taRightJustify);
  check("不确定", cbGrayed, true, taRightJustify);
  check("不可用且选中", cbChecked, false, taRightJustify);
  check("文字在左", cbChecked, true, taLeftJustify);

  auto* group = new TGroupBox(Owner.get());
  group->SetParent(form);
  group->SetBounds(180, 60, 160, 110);
  group->SetCaption("合同类型");
  int ry = 22;
  for (const char* caption : {"采购合同", "销售合同", "服务合同"}) {
    auto* r = new TRadioButton(Owner.get());
    r->SetParent(group);
    r->SetBounds(10, ry, 130, 17);
    r->SetCaption(caption);
    ry += 24;
    if (ry == 46) r->SetChecked(true);
    if (ry == 94) r->SetEnabled(false);
  }
  auto* radios = new TRadioGroup(Owner.get());
  radios->SetParent(form);
  radios->SetBounds(10, 270, 360, 100);
  radios->SetCaption("付款方式");
  radios->SetColumns(2);
  radios->GetItems()->SetText("现金\r\n支票\r\n汇款\r\n承兑汇票\r\n其他");
  radios->SetItemIndex(3);
  auto* off = new TRadioGroup(Owner.get());
  off->SetParent(form);
  off->SetBounds(10, 380, 300, 60);
  off->SetCaption("不可用的组");
  off->SetColumns(3);
  off->GetItems()->SetText("甲\r\n乙\r\n丙");
  off->SetItemIndex(0);
  off->SetEnabled(false);

  TBitmap tick;
  MakeTick(&tick);
  int bx = 360;
  int by = 60;
  for (TButtonLayout layout : {blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom}) {
    auto* b = new TBitBtn(Owner.get());
    b->SetParent(form);
    b->SetBounds(bx, by, 90, layout == blGlyphTop || layout == blGlyphBottom ? 44 : 26);
    b->SetCaption("保存");
    b->SetGlyph(&tick);
    b->SetLayout(layout);
    by += b->GetHeight() + 4;
  }
  auto* offBit = new TBitBtn(Owner.get());
  offBit->SetParent(form);
  offBit->SetBounds(460, 60, 90, 26);
  offBit->SetCaption("不可用");
  offBit->SetGlyph(&tick);
  offBit->SetEnabled(false);
  auto* kindOk = new TBitBtn(Owner.get());
  kindOk->SetParent(form);
  kindOk->SetBounds(460, 90, 90, 26);
  kindOk->SetKind(bkOK);
  TSpeedButton* speed[5];
  for (int i = 0; i < 5; ++i) {
    speed[i] = new TSpeedButton(Owner.get());
    speed[i]->SetParent(form);
    speed[i]->SetBounds(380 + i * 28, 300, 25, 25);
    speed[i]->SetGlyph(&tick);
  }
  speed[1]->SetGroupIndex(1);
  speed[1]->SetDown(true);
  speed[2]->SetFlat(true);
  speed[3]->SetFlat(true);
  speed[3]->SetGroupIndex(2);
  speed[3]->SetDown(true);
  speed[4]->SetEnabled(false);
  auto* captioned = new TSpeedButton(Owner.get());
  captioned->SetParent(form);
  captioned->SetBounds(380, 330, 90, 25);
  captioned->SetCaption("查询");
  captioned->SetGlyph(&tick);

  form->Show();
  cancel->SetFocus();
  form->Update();
  SaveFormPicture(form, "stdctrls_buttons.png");

  // The check box's box: a mark inside the checked one, none in the unchecked one.
  auto inkIn = [](TControl* c) {
    int ink = 0;
    for (int y = 3; y < 14; ++y)
      for (int x = 3; x < 12; ++x) ink += PixelOf(c, x, y) == RGB(0, 0, 0);
    return ink;
  };
  EXPECT_EQ(inkIn(unchecked), 0);
  EXPECT_GT(inkIn(checked), 5);
  EXPECT_TRUE(radios->Buttons(3)->GetChecked());
  EXPECT_TRUE(cancel->IsActive());
  EXPECT_FALSE(ok->IsActive());
  (void)disabled;
  // The glyph shows green on an enabled button, embossed grey on a disabled one, and its
  // olive background nowhere.
  auto countNear = [](TControl* c, COLORREF colour) {
    int n = 0;
    for (int y = 0; y < c->GetHeight(); ++y)
      for (int x = 0; x < c->GetWidth(); ++x) n += PixelOf(c, x, y) == colour;
    return n;
  };
  EXPECT_GT(countNear(speed[0], Graphics::ColorToRGB(clGreen)), 10);
  EXPECT_EQ(countNear(speed[0], Graphics::ColorToRGB(clOlive)), 0);
  EXPECT_EQ(countNear(offBit, Graphics::ColorToRGB(clGreen)), 0);
  EXPECT_GT(countNear(offBit, Graphics::ColorToRGB(clBtnShadow)), 10);
}
