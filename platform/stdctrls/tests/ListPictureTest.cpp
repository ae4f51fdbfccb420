// Pictures of the list and combo boxes in their states; the checks look at a few points.
#include <gtest/gtest.h>

#include "platform/forms/graphics/Brush.h"
#include "platform/forms/graphics/Canvas.h"
#include "platform/forms/graphics/Font.h"
#include "platform/forms/tests/ControlsTestUtil.h"
#include "platform/stdctrls/lists/ComboBox.h"
#include "platform/stdctrls/lists/ListBox.h"
#include "platform/stdctrls/tests/PictureUtil.h"
#include "platform/win/backend/Headless.h"

TEST_F(FormsTest, PictureOfTheListsInTheirStates)
{
  TForm* form = MakeForm(640, 330);
  form->SetCaption("列表");
  form->GetFont()->SetName("宋体");
  form->GetFont()->SetSize(9);
  auto list = [&](int x) {
    auto* l = new TListBox(Owner.get());
    l->SetParent(form);
    l->SetBounds(x, 10, 140, 150);
    return l;
  };
  auto* plain = list(10);
  for (const char* s : {"采购合同", "销售合同", "服务合同", "租赁合同"}) plain->GetItems()->Add(s);
  plain->SetItemIndex(1);
  auto* multi = list(160);
  multi->SetMultiSelect(true);
  for (int i = 1; i <= 12; ++i) multi->GetItems()->Add("第" + std::to_string(i) + "期付款");
  auto* virt = list(310);
  virt->SetStyle(lbVirtual);
  virt->OnData = [](TObject*, int Index, AnsiString& Data) { Data = "合同 HT-" + std::to_string(1000 + Index); };
  virt->SetCount(100000);
  auto* drawn = list(460);
  drawn->SetStyle(lbOwnerDrawFixed);
  drawn->SetItemHeight(20);
  const TColor colours[] = {clRed, clGreen, clBlue, clYellow};
  for (const char* s : {"红", "绿", "蓝", "黄"}) drawn->GetItems()->Add(s);
  drawn->OnDrawItem = [&](TObject*, int Index, RECT R, TOwnerDrawState State) {
    TCanvas* c = drawn->GetCanvas();
    c->FillRect(R);
    c->GetBrush()->SetColor(colours[Index]);
    c->FillRect(RECT{R.left + 2, R.top + 2, R.left + 18, R.bottom - 2});
    c->GetBrush()->SetStyle(bsClear);
    c->TextOut(R.left + 24, R.top + 3, drawn->GetItems()->GetStrings(Index));
  };
  auto* off = list(10);
  off->SetTop(170);
  off->SetHeight(60);
  off->GetItems()->Add("不可用的列表");
  off->SetEnabled(false);

  int x = 160;
  auto combo = [&](TComboBoxStyle style, const char* text) {
    auto* c = new TComboBox(Owner.get());
    c->SetParent(form);
    c->SetBounds(x, 180, 140, c->GetHeight());
    c->SetStyle(style);
    for (const char* s : {"现金", "支票", "汇款"}) c->GetItems()->Add(s);
    if (style == csSimple) c->SetHeight(100);
    c->SetText(text);
    x += 150;
    return c;
  };
  combo(csDropDown, "现金");
  auto* pickList = combo(csDropDownList, "");
  pickList->SetItemIndex(2);
  combo(csSimple, "支票");
  auto* offCombo = new TComboBox(Owner.get());
  offCombo->SetParent(form);
  offCombo->SetBounds(160, 220, 140, offCombo->GetHeight());
  offCombo->SetText("不可用");
  offCombo->SetEnabled(false);

  form->Show();
  multi->SetSelected(1, true);
  multi->SetSelected(3, true);
  multi->SetSelected(4, true);
  virt->SetItemIndex(99998);
  plain->SetFocus();
  form->Update();
  SaveFormPicture(form, "stdctrls_lists.png");

  RECT sel = plain->ItemRect(1);
  EXPECT_EQ(PixelOf(plain, sel.right - 3, (sel.top + sel.bottom) / 2), Graphics::ColorToRGB(clHighlight));
  RECT red = drawn->ItemRect(0);
  EXPECT_EQ(PixelOf(drawn, red.left + 8, red.top + 8), Graphics::ColorToRGB(clRed));
  EXPECT_EQ(virt->GetTopIndex() + 20 > 99998, true);
}
