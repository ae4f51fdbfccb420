// Pictures for people to look at: text and mask editors in the standard, flat, ultra-flat and
// themed fall-back looks, each normal, hot, focused (with a completion selected), disabled,
// read-only, with password stars, right-aligned and masked. A few pixels are checked as well.
#include <gtest/gtest.h>

#include <string>

#include "controls/editors/EditorsModule.h"
#include "controls/editors/maskedit/cxMaskEdit.h"
#include "controls/editors/tests/EditTestEditors.h"
#include "controls/editors/textedit/cxTextEdit.h"
#include "controls/framework/cxLookAndFeels.h"
#include "controls/framework/tests/ControlTestUtil.h"
#include "platform/forms/forms/Form.h"
#include "platform/rtl/StringList.h"
#include "platform/testsupport/PixelCanvas.h"
#include "platform/testsupport/ScreenPicture.h"
#include "platform/win/window/Windows.h"

namespace {

struct TextEditPicturesTest : cxWindowTest {
  void SetUp() override
  {
    cxWindowTest::SetUp();
    EditorsModule::Initialize();
    Form->SetColor(clBtnFace);
  }
  void TearDown() override
  {
    Owner.reset();
    EditorsModule::Finalize();
    cxWindowTest::TearDown();
  }
  // The ink (dark pixels) in a band of an editor's client area, in screen pixels.
  int InkIn(TControl* C, int Left, int Right)
  {
    POINT a = C->ClientToScreen(POINT{Left, 4});
    TPixelCanvas pic(Right - Left, C->GetHeight() - 8);
    CaptureScreenRect(RECT{a.x, a.y, a.x + pic.W, a.y + pic.H}, pic);
    return pic.Count(RECT{0, 0, pic.W, pic.H}, kBlack, 120);
  }
};

}  // namespace

TEST_F(TextEditPicturesTest, TextAndMaskEditorsInEveryLookAndState)
{
  Form->SetBounds(0, 0, 8 + 8 * 112 + 16, 4 * 34 + 50);
  const char* states[] = {"普通", "热点", "焦点", "禁用", "只读", "密码", "右对齐", "掩码"};
  TcxCustomTextEdit* edits[4][8] = {};
  for (int l = 0; l < 4; ++l)
    for (int s = 0; s < 8; ++s) {
      TcxCustomTextEdit* e = s == 7 ? static_cast<TcxCustomTextEdit*>(new TcxMaskEdit(Form)) : new TcxTextEdit(Form);
      e->SetParent(Form);
      e->SetBounds(8 + s * 112, 8 + l * 34, 106, 21);
      ApplyPictureLook(e->GetEditStyle(), kEditorPictureLooks[l]);
      e->GetEditStyle()->SetHotTrack(true);
      TcxCustomTextEditProperties* p = e->GetTextProperties();
      switch (s) {
        case 2: p->GetLookupItems()->Add("合同管理系统"); break;
        case 3: e->SetEnabled(false); break;
        case 4: p->SetReadOnly(true); break;
        case 5: p->SetEchoMode(eemPassword); break;
        case 6: p->GetAlignment()->SetHorz(taRightJustify); break;
        case 7: static_cast<TcxMaskEdit*>(e)->GetMaskProperties()->SetEditMask("!(999) 000-0000;1;_"); break;
        default: break;
      }
      e->SetText(s == 7 ? "5551234" : AnsiString(kEditorPictureLooks[l].Name) + states[s]);
      edits[l][s] = e;
    }
  Pump();
  // The ultra-flat row's focused editor completes from its lookup item; another row is hot.
  edits[2][2]->SetFocus();
  Pump();
  edits[2][2]->SelectAll();
  InputQueue::Text("合同");
  Pump();
  MoveTo(edits[0][1], 30, 10);
  {
    RECT r;
    Windows::GetWindowRect(Form->GetHandle(), &r);
    TPixelCanvas pic(r.right - r.left, r.bottom - r.top);
    CaptureScreenRect(r, pic);
    WritePng(pic, std::string(PELTO_TEST_OUTPUT) + "/cx-editors-textedit.png");
  }
  EXPECT_EQ(edits[2][2]->GetText(), AnsiString("合同管理系统"));
  EXPECT_EQ(edits[2][2]->GetSelText(), AnsiString("管理系统"));
  // A right-aligned unfocused editor draws its text at the right, nothing at the left.
  TcxCustomTextEdit* right = edits[0][6];
  EXPECT_EQ(InkIn(right, 4, 30), 0);
  EXPECT_GT(InkIn(right, 60, 100), 10);
}
