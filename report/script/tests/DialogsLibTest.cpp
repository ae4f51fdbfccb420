// Dialogs from scripts: MessageDlg with a set of buttons, input boxes cancelled and confirmed, an
// open dialog set up by the script, and ShowMessage through the message-box seam.
#include <gtest/gtest.h>

#include <fstream>

#include "platform/rtl/FileUtils.h"
#include "platform/testsupport/MessageBoxAnswerer.h"
#include "platform/testsupport/TempFolder.h"
#include "platform/win/WinUser.h"
#include "platform/win/input/InputQueue.h"
#include "report/script/interp/fs_iscript.h"
#include "report/script/tests/UiScriptTestUtil.h"

namespace {

class DialogsLibTest : public UiScriptTest {};

TEST_F(DialogsLibTest, MessageDlgShowsExactlyTheButtonsOfTheSetAndAnswersTheOnePressed)
{
  for (int Answer : {IDYES, IDNO}) {
    TMessageBoxAnswerer Boxes(Answer);
    TfsScript* S = Compile("DezodiZidede",
                           "var R: Integer; begin R := MessageDlg('继续？', mtConfirmation, "
                           "mbYes + mbNo, 0) end.");
    S->Execute();
    EXPECT_EQ(ValueOf(S, "R").AsInteger(), Answer) << "6 or 7";
    ASSERT_EQ(Boxes.Boxes().size(), 1u);
    EXPECT_EQ(Boxes.Boxes()[0].Text, "继续？");
    EXPECT_EQ(Boxes.Boxes()[0].Flags & MB_TYPEMASK, MB_YESNO);
  }
}

TEST_F(DialogsLibTest, InputBoxAndInputQueryCancelledKeepTheirValuesConfirmedTakeTheText)
{
  TfsScript* S = Compile("DezodiZidede", R"(
var Got, Value: String; Ok: Boolean;
procedure AskBox; begin Got := InputBox('查找', '合同编号：', '默认') end;
procedure AskQuery; begin Ok := InputQuery('查找', '合同编号：', Value) end;
begin
  Value := '原值';
end.)");
  S->Execute();
  InputQueue::Text("新的");
  InputQueue::KeyDown(VK_ESCAPE);
  S->CallFunction("AskBox", Variant::Null());
  EXPECT_EQ(ValueOf(S, "Got").AsString(), "默认");

  InputQueue::Text("新的");
  InputQueue::KeyDown(VK_ESCAPE);
  S->CallFunction("AskQuery", Variant::Null());
  EXPECT_FALSE(ValueOf(S, "Ok").AsBoolean());
  EXPECT_EQ(ValueOf(S, "Value").AsString(), "原值");

  InputQueue::Text("HT-2009");
  InputQueue::KeyDown(VK_RETURN);
  S->CallFunction("AskQuery", Variant::Null());
  EXPECT_TRUE(ValueOf(S, "Ok").AsBoolean());
  EXPECT_EQ(ValueOf(S, "Value").AsString(), "HT-2009");

  InputQueue::Text("HT-7");
  InputQueue::KeyDown(VK_RETURN);
  S->CallFunction("AskBox", Variant::Null());
  EXPECT_EQ(ValueOf(S, "Got").AsString(), "HT-7");
}

TEST_F(DialogsLibTest, AnOpenDialogSetUpByTheScriptAnswersTheFileChosen)
{
  TTempFolder Folder("script-dialogs");
  for (const char* Name : {"a.ht", "b.ht", "c.txt"}) std::ofstream(Folder.Path(Name)) << "x";
  TfsScript* S = Compile("DezodiZidede", R"(
var D: TOpenDialog; Dir, Chosen, Filter: String; Ok: Boolean;
begin
  D := TOpenDialog.Create(nil);
  D.Filter := '合同文件 (*.ht)|*.ht|所有文件|*.*';
  D.FileName := '旧.ht';
  D.InitialDir := Dir;
  D.Options := D.Options + ofNoChangeDir;
  Ok := D.Execute;
  if Ok then Chosen := D.FileName;
  Filter := D.Filter;
  D.Free;
end.)");
  S->FindItem("Dir")->SetValue(Variant(AnsiString(Folder.Dir())));
  InputQueue::Text("b.ht");
  InputQueue::KeyDown(VK_RETURN);
  ASSERT_NO_THROW(S->Execute());
  EXPECT_TRUE(ValueOf(S, "Ok").AsBoolean());
  EXPECT_EQ(ValueOf(S, "Chosen").AsString(), SysUtils::ExpandFileName(AnsiString(Folder.Path("b.ht"))));
  EXPECT_EQ(ValueOf(S, "Filter").AsString(), "合同文件 (*.ht)|*.ht|所有文件|*.*");
}

TEST_F(DialogsLibTest, ShowMessageShowsTheProgramsBoxThroughTheSeam)
{
  TMessageBoxAnswerer Boxes;
  TfsScript* S = Compile("ZuzezAvorev", "ShowMessage(\"已保存\")");
  S->Execute();
  ASSERT_EQ(Boxes.Boxes().size(), 1u);
  EXPECT_EQ(Boxes.Boxes()[0].Text, "已保存");
  EXPECT_EQ(Boxes.Boxes()[0].Caption, "澜岳合同管理系统");
  EXPECT_EQ(Boxes.Boxes()[0].Flags & MB_TYPEMASK, MB_OK);
}

}  // namespace
