// Pictures of the buttons, check boxes, radio buttons, group boxes and radio groups in their
// states; the checks look at a few points that tell the states apart.
#include <gtest/gtest.h>

#include "platform/forms/graphics/Font.h"
#include "platform/forms/tests/ControlsTestUtil.h"
#include "platform/stdctrls/buttons/Button.h"
#include "platform/stdctrls/buttons/CheckBox.h"
#include "platform/stdctrls/buttons/RadioButton.h"
#include "platform/stdctrls/buttons/RadioGroup.h"
#include "platform/stdctrls/tests/PictureUtil.h"
#include "platform/win/backend/Headless.h"

TEST_F(FormsTest, PictureOfTheButtonsInTheirStates)
{
  TForm* form = MakeForm(560, 400);
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
  radios->SetBounds(180, 190, 360, 100);
  radios->SetCaption("付款方式");
  radios->SetColumns(2);
  radios->GetItems()->SetText("现金\r\n支票\r\n汇款\r\n承兑汇票\r\n其他");
  radios->SetItemIndex(3);
  auto* off = new TRadioGroup(Owner.get());
  off->SetParent(form);
  off->SetBounds(10, 300, 300, 60);
  off->SetCaption("不可用的组");
  off->SetColumns(3);
  off->GetItems()->SetText("甲\r\n乙\r\n丙");
  off->SetItemIndex(0);
  off->SetEnabled(false);

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
}
