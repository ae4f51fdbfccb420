// Message dialogs through the seam and on the headless desktop, input queries, and pictures of
// each box type written as PNG into the build folder.
#include <gtest/gtest.h>

#include "platform/forms/app/Application.h"
#include "platform/forms/controls/Controls.h"
#include "platform/stdctrls/dialogs/Dialogs.h"
#include "platform/stdctrls/dialogs/MessageBox.h"
#include "platform/stdctrls/tests/StdCtrlsTestUtil.h"
#include "platform/win/backend/Headless.h"
#include "platform/win/input/InputQueue.h"
#include "platform/win/paint/Painting.h"
#include "platform/win/window/Windows.h"

namespace {
class DialogTest : public ::testing::Test {
protected:
  void SetUp() override
  {
    Headless::Start(1024, 768);
    Forms::FinalizeApplication();
    Controls::Initialize();
    Forms::InitializeApplication();
    Forms::Application->SetTitle("澜岳合同管理系统");
  }
  void TearDown() override
  {
    Dialogs::Finalize();
    Forms::FinalizeApplication();
    Headless::Start(1024, 768);
  }
};

struct Shown {
  AnsiString Text, Caption;
  unsigned Flags;
};

// Answers every box with Answer and records it.
class TRecorder {
public:
  explicit TRecorder(int AAnswer)
      : Answer(AAnswer), FBox([this](const AnsiString& T, const AnsiString& C, unsigned F) {
          Boxes.push_back({T, C, F});
          return Answer;
        })
  {}
  int Answer;
  std::vector<Shown> Boxes;

private:
  MessageSeam::TScopedMessageBox FBox;
};

void SavePng(HWND Wnd, const char* Name, TPixelCanvas& Into)
{
  RECT r;
  Windows::GetWindowRect(Wnd, &r);
  SaveScreenPng(r, Name, Into);
}
}  // namespace

TEST_F(DialogTest, MessageDlgAsksTheSeamWithTheTypesCaptionAndAnswersItsModalResult)
{
  struct Case {
    TMsgDlgType Type;
    TMsgDlgButtons Buttons;
    int Answer;
    const char* Caption;
    unsigned Flags;
  } cases[] = {
      {mtConfirmation, {mbYes, mbNo}, IDYES, "确认", MB_YESNO | MB_ICONQUESTION},
      {mtConfirmation, {mbYes, mbNo}, IDNO, "确认", MB_YESNO | MB_ICONQUESTION},
      {mtWarning, {mbOK, mbCancel}, IDCANCEL, "警告", MB_OKCANCEL | MB_ICONWARNING},
      {mtError, {mbAbort, mbRetry, mbIgnore}, IDRETRY, "错误", MB_ABORTRETRYIGNORE | MB_ICONERROR},
      {mtInformation, {mbYes, mbNo, mbAll}, IDALL, "信息", MB_YESNOALL | MB_ICONINFORMATION},
      {mtCustom, {}, IDOK, "澜岳合同管理系统", MB_OK},
  };
  for (const Case& c : cases) {
    TRecorder seam(c.Answer);
    EXPECT_EQ(Dialogs::MessageDlg("合同已过期。\r\n\t是否续签？", c.Type, c.Buttons, 0), c.Answer);
    ASSERT_EQ(seam.Boxes.size(), 1u);
    EXPECT_EQ(seam.Boxes[0].Caption, c.Caption);
    EXPECT_EQ(seam.Boxes[0].Flags, c.Flags);
  }
  EXPECT_EQ(mrYes, 6);
  EXPECT_EQ(mrNo, 7);
}

TEST_F(DialogTest, TheDesktopBoxAnswersByKeysAndEscapeMeansCancel)
{
  Dialogs::Initialize();
  struct Case {
    TMsgDlgButtons Buttons;
    std::vector<int> Keys;
    int Result;
  } cases[] = {
      {{mbYes, mbNo}, {VK_RETURN}, mrYes},
      {{mbYes, mbNo}, {'N'}, mrNo},
      {{mbYes, mbNo}, {VK_TAB, VK_RETURN}, mrNo},
      {{mbYes, mbNo, mbCancel}, {VK_ESCAPE}, mrCancel},
      {{mbOK}, {VK_ESCAPE}, mrOk},
      {{mbYes, mbYesToAll, mbNo, mbNoToAll}, {VK_RIGHT, VK_RETURN}, mrNo},
  };
  for (const Case& c : cases) {
    for (int k : c.Keys) {
      if (k >= 'A' && k <= 'Z')
        InputQueue::Text(AnsiString(1, char(k)));
      else
        InputQueue::KeyDown(k);
    }
    EXPECT_EQ(Dialogs::MessageDlg("继续？", mtConfirmation, c.Buttons, 0), c.Result);
  }
  // With no input to come, the box says so rather than waiting for ever.
  EXPECT_THROW(Dialogs::MessageDlg("无人应答", mtInformation, {mbYes, mbNo}, 0), EMessageBoxError);
}

TEST_F(DialogTest, InputQueryCancelledLeavesTheValueAndConfirmedTakesTheText)
{
  AnsiString value = "原值";
  InputQueue::Text("新的");
  InputQueue::KeyDown(VK_ESCAPE);
  EXPECT_FALSE(Dialogs::InputQuery("查找", "合同编号：", value));
  EXPECT_EQ(value, "原值");

  InputQueue::Text("HT-2009");
  InputQueue::KeyDown(VK_RETURN);
  EXPECT_TRUE(Dialogs::InputQuery("查找", "合同编号：", value));
  EXPECT_EQ(value, "HT-2009") << "the initial text is selected, so typing replaces it";

  InputQueue::KeyDown(VK_ESCAPE);
  EXPECT_EQ(Dialogs::InputBox("查找", "合同编号：", "默认"), "默认");
}

TEST_F(DialogTest, PicturesOfEachBoxSizedToItsText)
{
  struct Case {
    const char* File;
    TBoxIcon Icon;
    const char* Text;
    std::vector<int> Buttons;
  } cases[] = {
      {"stdctrls_msgbox_error.png", TBoxIcon::Error, "数据库连接失败。", {IDOK}},
      {"stdctrls_msgbox_question.png", TBoxIcon::Question, "合同已修改，是否保存？", {IDYES, IDNO, IDCANCEL}},
      {"stdctrls_msgbox_warning.png", TBoxIcon::Warning, "第一行\r\n第二行\r\n\t缩进的第三行", {IDOK, IDCANCEL}},
      {"stdctrls_msgbox_information.png", TBoxIcon::Information, "导入完成。", {IDOK}},
      {"stdctrls_msgbox_yesnoall.png", TBoxIcon::Question, "第 3 行导入失败，是否忽略？", {IDYES, IDNO, IDALL}},
      {"stdctrls_msgbox_retry.png", TBoxIcon::None, "文件正被使用。", {IDABORT, IDRETRY, IDIGNORE}},
  };
  int oneLine = 0;
  for (const Case& c : cases) {
    std::vector<TBoxButton> buttons;
    for (int id : c.Buttons) buttons.push_back({id, MsgBox::ButtonText(id)});
    TMessageBoxWindow box(c.Text, "澜岳合同管理系统", c.Icon, buttons, 0, 0);
    box.Show();
    Controls::ProcessMessages();
    TPixelCanvas picture(box.ClientSize().cx + 10, box.ClientSize().cy + 30);
    SavePng(box.GetHandle(), c.File, picture);
    // Dark text beside the icon, and the buttons' texts.
    EXPECT_GT(picture.Count(RECT{50, 30, picture.W - 10, picture.H - 40}, RGB(0, 0, 0), 60), 30) << c.File;
    if (c.Icon == TBoxIcon::Error) oneLine = box.ClientSize().cy;
    if (c.Icon == TBoxIcon::Warning) EXPECT_GT(box.ClientSize().cy, oneLine + 10) << "three lines take more room";
  }
  TMessageBoxWindow input("合同编号：", "查找", TBoxIcon::None, {{IDOK, "确定"}, {IDCANCEL, "取消"}}, 0, IDCANCEL);
  input.AddInput("HT-2009-001");
  input.Show();
  Controls::ProcessMessages();
  TPixelCanvas picture(input.ClientSize().cx + 10, input.ClientSize().cy + 30);
  SavePng(input.GetHandle(), "stdctrls_inputquery.png", picture);
  EXPECT_EQ(input.InputText(), "HT-2009-001");
}
