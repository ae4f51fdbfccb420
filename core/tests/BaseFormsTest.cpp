// The base forms: placement near the cursor, the edges of a borderless form, the help key, the
// dialog buttons, and the message boxes of the application core.
#include <gtest/gtest.h>

#include "core/forms/aDlg.h"
#include "core/qxLib.h"
#include "core/tests/FormsTestSupport.h"
#include "platform/forms/app/Mouse.h"
#include "platform/rtl/Service.h"
#include "platform/stdctrls/buttons/Button.h"
#include "platform/sys/ShellApi.h"
#include "platform/testsupport/MessageBoxAnswerer.h"

namespace {

using BaseForms = CoreFormsFixture;

// A form of the program's own, named as the windows name theirs.
class TUserEditorFrm : public TaFrm {
public:
  explicit TUserEditorFrm(TComponent* AOwner) : TaFrm(AOwner) { SetName("UserEditorFrm"); }
};

}  // namespace

TEST_F(BaseForms, FormsArePlacedOnTheCursorAndKeptOnTheScreen)
{
  struct Case {
    POINT Cursor;
    int W, H;
    POINT Place;
  } cases[] = {
      {{100, 500}, 300, 200, {20, 400}},    // too far left: 20 from the edge
      {{1000, 750}, 300, 200, {704, 518}},  // too far right and down: 20 and 50 from the edges
      {{512, 384}, 300, 200, {362, 284}},   // centred on the cursor
      {{150, 100}, 300, 200, {0, 0}},       // exactly at the corner: stays
      {{5, 5}, 301, 201, {20, 20}},         // halves toward zero
  };
  for (const Case& c : cases) {
    POINT p = TaFrm::NearCursor(c.Cursor, c.W, c.H, 1024, 768);
    EXPECT_EQ(p.x, c.Place.x) << c.Cursor.x << "," << c.Cursor.y;
    EXPECT_EQ(p.y, c.Place.y) << c.Cursor.x << "," << c.Cursor.y;
  }
  // A form made with the cursor there is placed so at once; an MDI child is not placed.
  Controls::Mouse->SetCursorPos(POINT{1000, 750});
  TaFrm form(nullptr);
  form.SetBounds(0, 0, 300, 200);
  form.PlaceNearCursor();
  EXPECT_EQ(form.GetLeft(), 704);
  EXPECT_EQ(form.GetTop(), 518);
}

TEST_F(BaseForms, BorderlessFormsAreSizedByTheirEdges)
{
  struct Case {
    POINT P;
    LRESULT Hit;
  } cases[] = {
      {{3, 3}, HTTOPLEFT},      {{395, 3}, HTTOPRIGHT}, {{395, 295}, HTBOTTOMRIGHT},
      {{3, 295}, HTBOTTOMLEFT}, {{4, 100}, HTLEFT},     {{5, 100}, 0},
      {{200, 4}, HTTOP},        {{397, 100}, HTRIGHT},  {{395, 100}, 0},
      {{200, 296}, HTBOTTOM},   {{200, 150}, 0},
  };
  for (const Case& c : cases) EXPECT_EQ(TaFrm::EdgeHitTest(c.P, 400, 300), c.Hit) << c.P.x << "," << c.P.y;

  // Through the window: only a borderless form answers so.
  TaFrm form(nullptr);
  form.SetBounds(100, 100, 400, 300);
  form.SetBorderStyle(bsNone);
  form.Show();
  LPARAM at = MAKELPARAM(100 + 395, 100 + 3);
  EXPECT_EQ(form.Perform(WM_NCHITTEST, 0, at), HTTOPRIGHT);
  EXPECT_EQ(form.Perform(WM_NCHITTEST, 0, MAKELPARAM(100 + 397, 200)), HTRIGHT);
  form.SetBorderStyle(bsSizeable);
  EXPECT_NE(form.Perform(WM_NCHITTEST, 0, MAKELPARAM(100 + 200, 100 + 150)), HTRIGHT);
}

TEST_F(BaseForms, F1OpensTheFormsTopicOfTheHelpFile)
{
  std::vector<AnsiString> commands;
  TScopedFunction<void(const AnsiString&)> starter(a::ProgramStarter(),
                                                   [&](const AnsiString& Cmd) { commands.push_back(Cmd); });
  Forms::Application->SetHelpFile("pelto.chm");
  TUserEditorFrm form(nullptr);
  form.Show();
  form.Perform(WM_KEYDOWN, VK_F1, 0);
  form.ShowHelp("faq");
  ASSERT_EQ(commands.size(), 2u);
  AnsiString folder = TProject::GetProgramDir();
  EXPECT_EQ(commands[0], "hh.exe mk:@MSITStore:" + folder + "/pelto.chm::UserEditor.htm");
  EXPECT_EQ(commands[1], "hh.exe mk:@MSITStore:" + folder + "/pelto.chm::faq.htm");
  // The shell opens the page of the help folder for it.
  EXPECT_EQ(ShellApi::HelpPage(commands[0].substr(7)), folder + "/help/UserEditor.htm");
}

TEST_F(BaseForms, DialogsCarryTheirButtonsAndAnswerWithThem)
{
  TADlgFrm dialog(nullptr);
  EXPECT_EQ(dialog.GetClientWidth(), 469);
  EXPECT_EQ(dialog.GetClientHeight(), 270);
  EXPECT_EQ(dialog.OkBtn1->GetCaption(), "确定(&O)");
  EXPECT_EQ(dialog.CancelBtn1->GetCaption(), "取消");
  EXPECT_EQ(dialog.HelpBtn1->GetCaption(), "帮助");
  // Bottom right, 75 x 25, in the order OK, Cancel, Help.
  EXPECT_LT(dialog.OkBtn1->GetLeft(), dialog.CancelBtn1->GetLeft());
  EXPECT_LT(dialog.CancelBtn1->GetLeft(), dialog.HelpBtn1->GetLeft());
  EXPECT_LE(dialog.HelpBtn1->GetLeft() + 75, dialog.GetClientWidth());
  EXPECT_EQ(dialog.OkBtn1->GetWidth(), 75);
  EXPECT_EQ(dialog.OkBtn1->GetHeight(), 25);
  for (auto [button, result] : {std::pair{dialog.OkBtn1, mrOk}, std::pair{dialog.CancelBtn1, mrCancel}}) {
    OnModal([button](TCustomForm*) { button->Click(); });
    EXPECT_EQ(dialog.ShowModal(), result);
  }
  EXPECT_EQ(StepsLeft(), 0u);
}

TEST_F(BaseForms, MessageBoxesFrameTheirTexts)
{
  Box.reset();
  TMessageBoxAnswerer answers(std::vector<int>{IDOK, IDOK, IDCANCEL});
  qxLib::ShowInfo("保存成功");
  EXPECT_TRUE(qxLib::ConfirmDelete(""));
  EXPECT_FALSE(qxLib::ConfirmDelete("合同 HT-001"));
  ASSERT_EQ(answers.Boxes().size(), 3u);
  EXPECT_EQ(answers.Boxes()[0].Text, "\r\n保存成功\t");
  EXPECT_EQ(answers.Boxes()[0].Flags & MB_ICONMASK, MB_ICONINFORMATION);
  EXPECT_EQ(answers.Boxes()[1].Text, "\r您确定要删除 当前记录 吗?\t\t");
  EXPECT_EQ(answers.Boxes()[1].Flags & (MB_TYPEMASK | MB_ICONMASK), MB_OKCANCEL | MB_ICONWARNING);
  EXPECT_EQ(answers.Boxes()[2].Text, "\r您确定要删除 合同 HT-001 吗?\t\t");

  std::unique_ptr<AnsiString> cell(qxLib::NewStringPtr("0102"));
  EXPECT_EQ(*cell, "0102");
  EXPECT_EQ(qxLib::GetTempDir().back(), '/');
}
