// Pictures for people to look at: check boxes in the standard, flat, ultra-flat and themed
// fall-back looks in each state (unchecked, checked, grayed, hot, focused, disabled, read-only),
// list boxes in the same looks, and a drop-down pop-up open with its system panel. A few pixels
// are checked as well.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "controls/editors/tests/EditorWindowTest.h"
#include "controls/editors/checkbox/cxCheckBox.h"
#include "controls/editors/dropdown/cxEditPopupWindow.h"
#include "controls/editors/listbox/cxListBox.h"
#include "controls/editors/tests/EditTestEditors.h"
#include "controls/framework/cxLookAndFeels.h"
#include "platform/forms/forms/Form.h"
#include "platform/testsupport/PixelCanvas.h"
#include "platform/testsupport/ScreenPicture.h"
#include "platform/win/window/Windows.h"

namespace {

struct ChoicePicturesTest : cxEditorWindowTest {
  void SetUp() override
  {
    cxEditorWindowTest::SetUp();
    Form->SetColor(clBtnFace);
  }
  void Look(TcxCustomEditStyle* S, const TEditorPictureLook& L) { ApplyPictureLook(S, L); }
  void Save(TControl* C, const char* Name)
  {
    RECT r;
    Windows::GetWindowRect(static_cast<TWinControl*>(C)->GetHandle(), &r);
    TPixelCanvas pic(r.right - r.left, r.bottom - r.top);
    CaptureScreenRect(r, pic);
    WritePng(pic, std::string(PELTO_TEST_OUTPUT) + "/" + Name);
  }
};

}  // namespace

TEST_F(ChoicePicturesTest, CheckBoxesInEveryLookAndState)
{
  Form->SetBounds(0, 0, 770, 260);
  const char* states[] = {"未选", "选中", "灰色", "热点", "焦点", "禁用", "只读"};
  TcxCheckBox* boxes[4][7] = {};
  for (int l = 0; l < 4; ++l)
    for (int s = 0; s < 7; ++s) {
      auto* c = new TcxCheckBox(Form);
      c->SetParent(Form);
      c->SetBounds(8 + s * 106, 8 + l * 52, 100, 21);
      Look(c->GetEditStyle(), kEditorPictureLooks[l]);
      c->Properties()->SetCaption(AnsiString(kEditorPictureLooks[l].Name) + states[s]);
      c->Properties()->SetAllowGrayed(true);
      if (s == 1 || s == 3 || s == 4) c->SetChecked(true);
      if (s == 2) c->SetState(cbsGrayed);
      if (s == 5) c->SetEnabled(false);
      if (s == 6) {
        c->SetChecked(true);
        c->Properties()->SetReadOnly(true);
      }
      // Below each box its grayed state drawn unchecked.
      auto* n = new TcxCheckBox(Form);
      n->SetParent(Form);
      n->SetBounds(8 + s * 106, 30 + l * 52, 100, 21);
      Look(n->GetEditStyle(), kEditorPictureLooks[l]);
      n->Properties()->SetCaption("空值");
      n->Properties()->SetNullStyle(s % 2 ? nssUnchecked : nssInactive);
      n->SetEditValue(Variant::Null());
      boxes[l][s] = c;
    }
  Pump();
  boxes[2][4]->SetFocus();
  Pump();
  MoveTo(boxes[2][3], 8, 10);
  Pump();
  EXPECT_EQ(boxes[2][3]->GetCheckViewInfo()->Check.MarkState, cmsHot);
  EXPECT_EQ(boxes[0][5]->GetCheckViewInfo()->Check.MarkState, cmsDisabled);
  Save(Form, "cx-editors-checkbox.png");
  // The ultra-flat unchecked mark is white inside, the checked one has dark ink.
  auto inkOf = [](TcxCheckBox* C) {
    const RECT r = C->GetCheckViewInfo()->Check.CheckRect;
    POINT a = C->ClientToScreen(POINT{r.left + 3, r.top + 3});
    TPixelCanvas pic(r.right - r.left - 6, r.bottom - r.top - 6);
    CaptureScreenRect(RECT{a.x, a.y, a.x + pic.W, a.y + pic.H}, pic);
    return pic.Count(RECT{0, 0, pic.W, pic.H}, kBlack, 90);
  };
  EXPECT_EQ(inkOf(boxes[2][0]), 0);
  EXPECT_GT(inkOf(boxes[2][1]), 3);
  EXPECT_GT(inkOf(boxes[0][1]), 3);
}

TEST_F(ChoicePicturesTest, ListBoxesInEveryLookAndAnOpenPopupWithItsSystemPanel)
{
  Form->SetBounds(0, 0, 640, 400);
  for (int l = 0; l < 4; ++l) {
    auto* list = new TcxListBox(Form);
    list->SetParent(Form);
    list->SetBounds(8 + l * 150, 8, 140, 100);
    list->GetStyle()->GetLookAndFeel()->SetKind(kEditorPictureLooks[l].Kind);
    list->GetStyle()->GetLookAndFeel()->SetNativeStyle(kEditorPictureLooks[l].Native);
    list->GetStyle()->SetBorderStyle(TcxContainerBorderStyle(kEditorPictureLooks[l].Border));
    for (int i = 0; i < (l == 3 ? 12 : 5); ++i)
      list->GetItems()->Add(AnsiString(kEditorPictureLooks[l].Name) + " 第" + AnsiString(std::to_string(i + 1)) + "项");
    list->SetItemIndex(1);
    if (l == 2) list->SetEnabled(false);
  }
  auto* edit = new TcxTestButtonEdit(Form);
  edit->SetParent(Form);
  edit->SetAutoSize(false);
  edit->SetBounds(8, 130, 200, 21);
  edit->GetProperties()->GetButtons()->Add()->SetKind(bkDown);
  edit->SetEditValue(Variant(AnsiString("财务部")));
  Pump();
  std::unique_ptr<TcxCustomEditPopupWindow> popup(cxEditTest::MakeDepartmentPopup(edit, 220, 160));
  popup->Popup(nullptr);
  popup->RecalculateLayout();
  Pump();
  RECT fr, pr;
  Windows::GetWindowRect(Form->GetHandle(), &fr);
  Windows::GetWindowRect(popup->GetHandle(), &pr);
  RECT all{fr.left, fr.top, std::max(fr.right, pr.right), std::max(fr.bottom, pr.bottom)};
  TPixelCanvas pic(all.right - all.left, all.bottom - all.top);
  CaptureScreenRect(all, pic);
  WritePng(pic, std::string(PELTO_TEST_OUTPUT) + "/cx-editors-listbox-popup.png");
  // The system panel is button-face coloured under the list, and the shadow is darker.
  const RECT c = popup->GetPopupViewInfo()->ClientRect;
  const POINT panel = popup->ClientToScreen(POINT{(c.left + c.right) / 2, c.bottom + 4});
  EXPECT_EQ(pic.At(panel.x - all.left, panel.y - all.top), Graphics::ColorToRGB(clBtnFace));
  popup->ClosePopup(false);
}
