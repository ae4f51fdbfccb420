// Pictures of the edit boxes, masked edits and memos in their states, written into the build
// folder; the checks look at a few points that tell the states apart.
#include <gtest/gtest.h>

#include "platform/forms/graphics/Font.h"
#include "platform/forms/tests/ControlsTestUtil.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/Guards.h"
#include "platform/stdctrls/edits/MaskEdit.h"
#include "platform/stdctrls/edits/Memo.h"
#include "platform/stdctrls/tests/PictureUtil.h"
#include "platform/win/backend/Headless.h"

TEST_F(FormsTest, PictureOfTheEditsInTheirStates)
{
  TValueGuard<char> date(SysUtils::DateSeparator, '-');
  TForm* form = MakeForm(560, 420);
  form->SetCaption("编辑框");
  form->GetFont()->SetName("宋体");
  form->GetFont()->SetSize(9);
  int top = 10;
  auto place = [&](TCustomEdit* e, const AnsiString& text) {
    e->SetParent(form);
    e->SetBounds(10, top, 200, e->GetHeight());
    e->SetText(text);
    top += e->GetHeight() + 8;
    return e;
  };
  auto* plain = place(new TEdit(Owner.get()), "合同编号 HT-2009-001");
  auto* selected = place(new TEdit(Owner.get()), "客户名称: 澜岳公司");
  auto* readOnly = place(new TEdit(Owner.get()), "只读的文字");
  static_cast<TEdit*>(readOnly)->SetReadOnly(true);
  readOnly->SetColor(clBtnFace);
  auto* disabled = place(new TEdit(Owner.get()), "不可用");
  disabled->SetEnabled(false);
  auto* password = place(new TEdit(Owner.get()), "secret");
  password->SetPasswordChar('*');
  auto* flat = place(new TEdit(Owner.get()), "无边框");
  flat->SetBorderStyle(bsNone);
  auto* maskEmpty = new TMaskEdit(Owner.get());
  maskEmpty->SetEditMask("0000年99月99日;1;_");
  place(maskEmpty, "");
  auto* maskFilled = new TMaskEdit(Owner.get());
  maskFilled->SetEditMask("!99/99/9999;1; ");
  place(maskFilled, "05-03-2009");

  auto* memo = new TMemo(Owner.get());
  memo->SetParent(form);
  memo->SetBounds(230, 10, 300, 110);
  memo->GetLines()->SetText("合同条款:\r\n一、甲方按期付款。\r\n二、乙方按期交货，质量符合标准的要求并附带说明书。");
  auto* scrolled = new TMemo(Owner.get());
  scrolled->SetParent(form);
  scrolled->SetBounds(230, 130, 300, 110);
  scrolled->SetScrollBars(ssBoth);
  scrolled->SetWordWrap(false);
  for (int i = 1; i <= 12; ++i)
    scrolled->GetLines()->Add("第" + std::to_string(i) + "行 一段很长很长的文字不换行地写下去");
  auto* right = new TMemo(Owner.get());
  right->SetParent(form);
  right->SetBounds(230, 250, 300, 60);
  right->SetAlignment(taRightJustify);
  right->GetLines()->SetText("右对齐\r\n金额: ￥1,000.00");

  form->Show();
  selected->SetFocus();
  selected->SetSelStart(0);
  selected->SetSelLength(8);
  form->Update();
  SaveFormPicture(form, "stdctrls_edits.png");

  // The selection shows in the highlight colour, the others in their backgrounds.
  EXPECT_EQ(PixelOf(plain, plain->GetClientWidth() - 4, 4), Graphics::ColorToRGB(clWindow));
  EXPECT_EQ(PixelOf(readOnly, readOnly->GetClientWidth() - 4, 4), Graphics::ColorToRGB(clBtnFace));
  // A disabled box keeps its colour and greys its text: ink, none of it black.
  int ink = 0, black = 0;
  for (int y = 0; y < disabled->GetClientHeight(); ++y)
    for (int x = 0; x < 50; ++x) {
      COLORREF c = PixelOf(disabled, x, y);
      ink += c != Graphics::ColorToRGB(clWindow);
      black += c == RGB(0, 0, 0);
    }
  EXPECT_GT(ink, 20);
  EXPECT_EQ(black, 0);
  int highlight = 0;
  for (int x = 0; x < 40; ++x)
    if (PixelOf(selected, x + 2, selected->GetClientHeight() / 2) == Graphics::ColorToRGB(clHighlight)) ++highlight;
  EXPECT_GT(highlight, 10);
  EXPECT_EQ(maskEmpty->GetEditText(), "____年__月__日");
}
