// Pictures for people to look at: spin editors in the standard, flat, ultra-flat and themed
// fall-back looks with their three button arrangements, fast buttons, a pressed button, and
// disabled and read-only states; memos with vertical and both bars, word-wrapped Chinese text and
// a scrolled position. A few pixels and bounds are checked as well.
#include <gtest/gtest.h>

#include <string>

#include "controls/editors/EditorsModule.h"
#include "controls/editors/edit/cxEditViewInfo.h"
#include "controls/editors/memo/cxMemo.h"
#include "controls/editors/spinedit/cxSpinEdit.h"
#include "controls/framework/cxLookAndFeels.h"
#include "controls/framework/cxScrollBar.h"
#include "controls/editors/tests/EditTestEditors.h"
#include "controls/editors/tests/EditorWindowTest.h"
#include "platform/commctrl/CommCtrl.h"
#include "platform/forms/forms/Form.h"
#include "platform/rtl/StringList.h"
#include "platform/testsupport/PixelCanvas.h"
#include "platform/testsupport/ScreenPicture.h"
#include "platform/win/window/Windows.h"

namespace {

struct SpinMemoPicturesTest : cxEditorWindowTest {
  void SetUp() override
  {
    cxEditorWindowTest::SetUp();
    Form->SetColor(clBtnFace);
  }
  void SaveForm(const char* Name)
  {
    RECT r;
    Windows::GetWindowRect(Form->GetHandle(), &r);
    TPixelCanvas pic(r.right - r.left, r.bottom - r.top);
    CaptureScreenRect(r, pic);
    WritePng(pic, std::string(PELTO_TEST_OUTPUT) + "/" + Name);
  }
};

}  // namespace

TEST_F(SpinMemoPicturesTest, SpinEditorsInEveryLookAndArrangement)
{
  Form->SetBounds(0, 0, 900, 250);
  // Columns: vertical, right, left and right, vertical with fast buttons, left and right with
  // fast buttons, disabled, read-only.
  struct TColumn {
    TcxSpinEditButtonsPosition Position;
    bool Fast, Disabled, ReadOnly;
  } const columns[] = {
      {sbpVert, false, false, false}, {sbpHorzRight, false, false, false},    {sbpHorzLeftRight, false, false, false},
      {sbpVert, true, false, false},  {sbpHorzLeftRight, true, false, false}, {sbpVert, false, true, false},
      {sbpVert, false, false, true},
  };
  TcxSpinEdit* first = nullptr;
  for (int l = 0; l < 4; ++l)
    for (int c = 0; c < 7; ++c) {
      auto* s = new TcxSpinEdit(Form);
      s->SetParent(Form);
      s->SetBounds(8 + c * 126, 8 + l * 56, 118, 24);
      ApplyPictureLook(s->GetEditStyle(), kEditorPictureLooks[l]);
      TcxSpinEditProperties* p = s->GetActiveProperties();
      p->GetSpinButtons()->SetPosition(columns[c].Position);
      p->GetSpinButtons()->SetShowFastButtons(columns[c].Fast);
      p->SetReadOnly(columns[c].ReadOnly);
      s->SetValue(Variant(Int64(1234567890123LL + c)));
      s->SetEnabled(!columns[c].Disabled);
      if (!first) first = s;
    }
  Pump();
  // One button held down: the first editor's up button.
  const RECT up = first->GetEditViewInfo()->Button(1)->VisibleBounds;
  Press(first, (up.left + up.right) / 2, (up.top + up.bottom) / 2);
  SaveForm("spin_editors.png");
  EXPECT_EQ(first->GetEditViewInfo()->Button(1)->State, cxEditButtonPressed);
  Release(first, (up.left + up.right) / 2, (up.top + up.bottom) / 2);
  // The buttons stay inside the editor and off the text.
  for (int i = 0; i < first->GetEditViewInfo()->ButtonCount(); ++i) {
    const RECT b = first->GetEditViewInfo()->Button(i)->Bounds;
    EXPECT_GE(b.left, first->GetEditViewInfo()->ClientRect.right);
    EXPECT_LE(b.right, first->GetWidth());
  }
}

TEST_F(SpinMemoPicturesTest, MemosWithTheirBars)
{
  Form->SetBounds(0, 0, 820, 500);
  AnsiString text;
  for (int i = 1; i <= 60; ++i)
    text += "第" + std::to_string(i) + "行：甲方应于每月五日前支付上月货款，逾期按日计息。Line " + std::to_string(i) +
            "\r\n";
  const TScrollStyle bars[] = {ssVertical, ssBoth, ssNone, ssVertical};
  TcxMemo* memos[4][4] = {};
  for (int l = 0; l < 4; ++l)
    for (int c = 0; c < 4; ++c) {
      auto* m = new TcxMemo(Form);
      m->SetParent(Form);
      m->SetBounds(8 + c * 200, 8 + l * 112, 192, 104);
      ApplyPictureLook(m->GetEditStyle(), kEditorPictureLooks[l]);
      m->GetActiveProperties()->SetScrollBars(bars[c]);
      m->GetActiveProperties()->SetWordWrap(c != 1);
      m->GetLines()->SetText(text);
      if (c == 3) m->SetEnabled(false);
      memos[l][c] = m;
    }
  Pump();
  // The first column scrolled down by its bar.
  for (int l = 0; l < 4; ++l) {
    TcxScrollBar* bar = memos[l][0]->GetVScrollBar();
    ASSERT_TRUE(bar && bar->GetVisible());
    int pos = 10;
    bar->OnScroll(bar, scTrack, pos);
    pos = 10;
    bar->OnScroll(bar, scPosition, pos);
  }
  Pump();
  SaveForm("memo_editors.png");
  for (int l = 0; l < 4; ++l) {
    TcxMemo* m = memos[l][0];
    EXPECT_EQ(m->GetVScrollBar()->GetPosition(), 10);
    EXPECT_EQ(Windows::SendMessage(m->GetInnerMemo()->GetHandle(), EM_GETFIRSTVISIBLELINE, 0, 0), 10);
    TcxMemo* both = memos[l][1];
    EXPECT_TRUE(both->GetHScrollBar()->GetVisible());
    EXPECT_TRUE(both->GetVScrollBar()->GetVisible());
    EXPECT_FALSE(memos[l][2]->GetVScrollBar() && memos[l][2]->GetVScrollBar()->GetVisible());
  }
}
