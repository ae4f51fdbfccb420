// Forms built by scripts in each language, driven through synthetic input: published properties,
// the events of the real controls with their senders and arguments, var arguments written back,
// a refused close, and the modal result a handler set.
#include <gtest/gtest.h>

#include <string>

#include "platform/forms/app/Application.h"
#include "platform/forms/forms/Form.h"
#include "platform/stdctrls/buttons/Button.h"
#include "platform/stdctrls/buttons/CheckBox.h"
#include "platform/stdctrls/buttons/RadioButton.h"
#include "platform/stdctrls/edits/CustomEdit.h"
#include "platform/stdctrls/edits/Memo.h"
#include "platform/stdctrls/lists/ComboBox.h"
#include "platform/stdctrls/lists/ListBox.h"
#include "platform/stdctrls/panels/Label.h"
#include "platform/rtl/StringList.h"
#include "platform/win/input/InputQueue.h"
#include "report/script/host/fs_ihandles.h"
#include "report/script/interp/fs_iscript.h"
#include "report/script/tests/UiScriptTestUtil.h"

namespace {

const char* const kPascalForm = R"(
var F: TForm; G: TGroupBox; L: TLabel; E: TEdit; M: TMemo; B: TButton; C: TCheckBox;
    R: TRadioButton; LB: TListBox; CB: TComboBox;
    Clicks, Presses, Downs, Closes, Queries: Integer;
    ClickSender, PressSender, DownSender, CloseSender, QuerySender: TObject;
    DownButton, DownShift, DownX, DownY, CloseAction: Integer;
    AllowClose: Boolean;

procedure ButtonClick(Sender: TObject);
begin
  Clicks := Clicks + 1;
  ClickSender := Sender;
  F.ModalResult := mrRetry;
end;

procedure EditKeyPress(Sender: TObject; var Key: Char);
begin
  Presses := Presses + 1;
  PressSender := Sender;
  if Key = 'a' then Key := 'b';
end;

procedure FormMouseDown(Sender: TObject; Button: TMouseButton; Shift: TShiftState; X, Y: Integer);
begin
  Downs := Downs + 1;
  DownSender := Sender;
  DownButton := Button;
  DownShift := Shift;
  DownX := X;
  DownY := Y;
end;

procedure FormClose(Sender: TObject; var Action: TCloseAction);
begin
  Closes := Closes + 1;
  CloseSender := Sender;
  CloseAction := Action;
  Action := caHide;
end;

procedure FormCloseQuery(Sender: TObject; var CanClose: Boolean);
begin
  Queries := Queries + 1;
  QuerySender := Sender;
  CanClose := AllowClose;
end;

procedure TryClose;
begin
  F.Close;
end;

function RunModal: Integer;
begin
  F.Hide;
  AllowClose := True;
  Result := F.ShowModal;
end;

begin
  F := TForm.Create(Application);
  F.Caption := '脚本窗体';
  F.SetBounds(100, 80, 420, 320);
  G := TGroupBox.Create(F);
  G.Parent := F;
  G.Caption := '合同';
  G.SetBounds(8, 8, 200, 120);
  L := TLabel.Create(F);
  L.Parent := G;
  L.Caption := '编号：';
  L.Left := 10;
  L.Top := 24;
  E := TEdit.Create(F);
  E.Parent := G;
  E.SetBounds(60, 20, 120, 24);
  C := TCheckBox.Create(F);
  C.Parent := G;
  C.Caption := '已签';
  C.SetBounds(10, 56, 80, 20);
  C.Checked := True;
  R := TRadioButton.Create(F);
  R.Parent := G;
  R.Caption := '草稿';
  R.SetBounds(100, 56, 80, 20);
  R.Checked := True;
  M := TMemo.Create(F);
  M.Parent := F;
  M.SetBounds(220, 8, 180, 120);
  M.Lines.Add('第一行');
  M.Lines.Add('第二行');
  LB := TListBox.Create(F);
  LB.Parent := F;
  LB.SetBounds(8, 140, 200, 80);
  LB.Items.Add('甲');
  LB.Items.Add('乙');
  LB.ItemIndex := 1;
  CB := TComboBox.Create(F);
  CB.Parent := F;
  CB.SetBounds(220, 140, 180, 24);
  CB.Items.Add('一');
  CB.Items.Add('二');
  CB.ItemIndex := 0;
  B := TButton.Create(F);
  B.Parent := F;
  B.Caption := '确定';
  B.SetBounds(320, 250, 80, 28);
  B.OnClick := 'ButtonClick';
  E.OnKeyPress := 'EditKeyPress';
  F.OnMouseDown := 'FormMouseDown';
  F.OnClose := 'FormClose';
  F.OnCloseQuery := 'FormCloseQuery';
  F.Show;
  E.SetFocus;
end.
)";

// The statements that build the test form, the same in the C-like and the JavaScript-like language.
const std::string kFormsLibBuildForm = R"(
F = new TForm(Application);
F.Caption = "脚本窗体";
F.SetBounds(100, 80, 420, 320);
G = new TGroupBox(F);
G.Parent = F;
G.Caption = "合同";
G.SetBounds(8, 8, 200, 120);
L = new TLabel(F);
L.Parent = G;
L.Caption = "编号：";
L.Left = 10;
L.Top = 24;
E = new TEdit(F);
E.Parent = G;
E.SetBounds(60, 20, 120, 24);
C = new TCheckBox(F);
C.Parent = G;
C.Caption = "已签";
C.SetBounds(10, 56, 80, 20);
C.Checked = true;
R = new TRadioButton(F);
R.Parent = G;
R.Caption = "草稿";
R.SetBounds(100, 56, 80, 20);
R.Checked = true;
M = new TMemo(F);
M.Parent = F;
M.SetBounds(220, 8, 180, 120);
M.Lines.Add("第一行");
M.Lines.Add("第二行");
LB = new TListBox(F);
LB.Parent = F;
LB.SetBounds(8, 140, 200, 80);
LB.Items.Add("甲");
LB.Items.Add("乙");
LB.ItemIndex = 1;
CB = new TComboBox(F);
CB.Parent = F;
CB.SetBounds(220, 140, 180, 24);
CB.Items.Add("一");
CB.Items.Add("二");
CB.ItemIndex = 0;
B = new TButton(F);
B.Parent = F;
B.Caption = "确定";
B.SetBounds(320, 250, 80, 28);
B.OnClick = "ButtonClick";
E.OnKeyPress = "EditKeyPress";
F.OnMouseDown = "FormMouseDown";
F.OnClose = "FormClose";
F.OnCloseQuery = "FormCloseQuery";
)";

const std::string kCppForm = R"(
TForm F; TGroupBox G; TLabel L; TEdit E; TMemo M; TButton B; TCheckBox C;
TRadioButton R; TListBox LB; TComboBox CB;
int Clicks = 0, Presses = 0, Downs = 0, Closes = 0, Queries = 0;
TObject ClickSender, PressSender, DownSender, CloseSender, QuerySender;
int DownButton = 0, DownShift = 0, DownX = 0, DownY = 0, CloseAction = 0;
bool AllowClose = false;

void ButtonClick(TObject Sender) { Clicks++; ClickSender = Sender; F.ModalResult = mrRetry; }

void EditKeyPress(TObject Sender, string &Key)
{
  Presses++;
  PressSender = Sender;
  if (Key == "a") Key = "b";
}

void FormMouseDown(TObject Sender, int Button, int Shift, int X, int Y)
{
  Downs++;
  DownSender = Sender;
  DownButton = Button;
  DownShift = Shift;
  DownX = X;
  DownY = Y;
}

void FormClose(TObject Sender, int &Action)
{
  Closes++;
  CloseSender = Sender;
  CloseAction = Action;
  Action = caHide;
}

void FormCloseQuery(TObject Sender, bool &CanClose)
{
  Queries++;
  QuerySender = Sender;
  CanClose = AllowClose;
}

void TryClose() { F.Close; }

int RunModal()
{
  F.Hide;
  AllowClose = true;
  return F.ShowModal;
}

{
)" + kFormsLibBuildForm + R"(
  F.Show;
  E.SetFocus;
}
)";

const char* const kBasicForm = R"(
Dim F, G, L, E, M, B, C, R, LB, CB
Dim Clicks = 0, Presses = 0, Downs = 0, Closes = 0, Queries = 0
Dim ClickSender, PressSender, DownSender, CloseSender, QuerySender
Dim DownButton = 0, DownShift = 0, DownX = 0, DownY = 0, CloseAction = 0
Dim AllowClose = False

Sub ButtonClick(Sender)
  Clicks = Clicks + 1
  ClickSender = Sender
  F.ModalResult = mrRetry
End Sub

Sub EditKeyPress(Sender, ByRef Key)
  Presses = Presses + 1
  PressSender = Sender
  If Key = "a" Then Key = "b"
End Sub

Sub FormMouseDown(Sender, Button, Shift, X, Y)
  Downs = Downs + 1
  DownSender = Sender
  DownButton = Button
  DownShift = Shift
  DownX = X
  DownY = Y
End Sub

Sub FormClose(Sender, ByRef Action)
  Closes = Closes + 1
  CloseSender = Sender
  CloseAction = Action
  Action = caHide
End Sub

Sub FormCloseQuery(Sender, ByRef CanClose)
  Queries = Queries + 1
  QuerySender = Sender
  CanClose = AllowClose
End Sub

Sub TryClose
  F.Close
End Sub

Function RunModal As Integer
  F.Hide
  AllowClose = True
  Return F.ShowModal
End Function

F = new TForm(Application)
F.Caption = "脚本窗体"
F.SetBounds(100, 80, 420, 320)
G = new TGroupBox(F)
G.Parent = F
G.Caption = "合同"
G.SetBounds(8, 8, 200, 120)
L = new TLabel(F)
L.Parent = G
L.Caption = "编号："
L.Left = 10
L.Top = 24
E = new TEdit(F)
E.Parent = G
E.SetBounds(60, 20, 120, 24)
C = new TCheckBox(F)
C.Parent = G
C.Caption = "已签"
C.SetBounds(10, 56, 80, 20)
C.Checked = True
R = new TRadioButton(F)
R.Parent = G
R.Caption = "草稿"
R.SetBounds(100, 56, 80, 20)
R.Checked = True
M = new TMemo(F)
M.Parent = F
M.SetBounds(220, 8, 180, 120)
M.Lines.Add("第一行")
M.Lines.Add("第二行")
LB = new TListBox(F)
LB.Parent = F
LB.SetBounds(8, 140, 200, 80)
LB.Items.Add("甲")
LB.Items.Add("乙")
LB.ItemIndex = 1
CB = new TComboBox(F)
CB.Parent = F
CB.SetBounds(220, 140, 180, 24)
CB.Items.Add("一")
CB.Items.Add("二")
CB.ItemIndex = 0
B = new TButton(F)
B.Parent = F
B.Caption = "确定"
B.SetBounds(320, 250, 80, 28)
B.OnClick = "ButtonClick"
E.OnKeyPress = "EditKeyPress"
F.OnMouseDown = "FormMouseDown"
F.OnClose = "FormClose"
F.OnCloseQuery = "FormCloseQuery"
F.Show
E.SetFocus
)";

const std::string kJsForm = R"(
var F, G, L, E, M, B, C, R, LB, CB;
var Clicks = 0, Presses = 0, Downs = 0, Closes = 0, Queries = 0;
var ClickSender, PressSender, DownSender, CloseSender, QuerySender;
var DownButton = 0, DownShift = 0, DownX = 0, DownY = 0, CloseAction = 0;
var AllowClose = false;

function ButtonClick(Sender) { Clicks++; ClickSender = Sender; F.ModalResult = mrRetry; }

function EditKeyPress(Sender, &Key)
{
  Presses++;
  PressSender = Sender;
  if (Key == "a") Key = "b";
}

function FormMouseDown(Sender, Button, Shift, X, Y)
{
  Downs++;
  DownSender = Sender;
  DownButton = Button;
  DownShift = Shift;
  DownX = X;
  DownY = Y;
}

function FormClose(Sender, &Action)
{
  Closes++;
  CloseSender = Sender;
  CloseAction = Action;
  Action = caHide;
}

function FormCloseQuery(Sender, &CanClose)
{
  Queries++;
  QuerySender = Sender;
  CanClose = AllowClose;
}

function TryClose() { F.Close(); }

function RunModal()
{
  F.Hide();
  AllowClose = true;
  return F.ShowModal();
}

)" + kFormsLibBuildForm + R"(
F.Show();
E.SetFocus();
)";

class FormsLibTest : public UiScriptTest {
protected:
  // The script variable Name holds the handle of Obj.
  static bool Holds(TfsScript* S, const char* Name, TObject* Obj) { return ObjectOf(S, Name) == Obj; }
  static Integer IntOf(TfsScript* S, const char* Name) { return ValueOf(S, Name).AsInteger(); }
};

TEST_F(FormsLibTest, AFormBuiltByAScriptAnswersClicksKeysAndClosingInEachLanguage)
{
  struct Case {
    const char* Lang;
    const char* Text;
    const char* Png;
  } Cases[] = {{"DezodiZidede", kPascalForm, "script_form_pascal.png"},
               {"Z++Ivover", kCppForm.c_str(), "script_form_cpp.png"},
               {"ZuzezAvorev", kBasicForm, "script_form_basic.png"},
               {"JScript", kJsForm.c_str(), "script_form_js.png"}};
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Lang);
    TfsScript* S = Compile(C.Lang, C.Text);
    ASSERT_NO_THROW(S->Execute());
    auto* F = dynamic_cast<TForm*>(ObjectOf(S, "F"));
    auto* E = dynamic_cast<TEdit*>(ObjectOf(S, "E"));
    auto* B = dynamic_cast<TButton*>(ObjectOf(S, "B"));
    ASSERT_TRUE(F && E && B);
    Pump();

    // Published properties set by the script.
    EXPECT_EQ(F->GetCaption(), "脚本窗体");
    EXPECT_EQ(F->GetOwner(), static_cast<TComponent*>(Forms::Application));
    EXPECT_TRUE(dynamic_cast<TCheckBox*>(ObjectOf(S, "C"))->GetChecked());
    EXPECT_TRUE(dynamic_cast<TRadioButton*>(ObjectOf(S, "R"))->GetChecked());
    EXPECT_EQ(dynamic_cast<TMemo*>(ObjectOf(S, "M"))->GetLines()->GetCount(), 2);
    EXPECT_EQ(dynamic_cast<TListBox*>(ObjectOf(S, "LB"))->GetItemIndex(), 1);
    EXPECT_EQ(dynamic_cast<TComboBox*>(ObjectOf(S, "CB"))->GetText(), "一");
    EXPECT_EQ(dynamic_cast<TLabel*>(ObjectOf(S, "L"))->GetParent(), ObjectOf(S, "G"));

    // A typed "a" reaches the edit as the "b" the handler put in Key.
    InputQueue::Text("a");
    Pump();
    EXPECT_EQ(E->GetText(), "b");
    EXPECT_EQ(IntOf(S, "Presses"), 1);
    EXPECT_TRUE(Holds(S, "PressSender", E));

    QueueClick(F, POINT{20, 250});
    Pump();
    EXPECT_EQ(IntOf(S, "Downs"), 1);
    EXPECT_TRUE(Holds(S, "DownSender", F));
    EXPECT_EQ(IntOf(S, "DownButton"), 0) << "mbLeft";
    EXPECT_EQ(IntOf(S, "DownShift") & 8, 8) << "ssLeft in the mask";
    EXPECT_EQ(IntOf(S, "DownX"), 20);
    EXPECT_EQ(IntOf(S, "DownY"), 250);
    SaveWindowPng(F, C.Png);

    // CanClose False keeps the form open; OnClose does not come.
    S->CallFunction("TryClose", Variant::Null());
    EXPECT_TRUE(F->GetVisible());
    EXPECT_EQ(IntOf(S, "Queries"), 1);
    EXPECT_TRUE(Holds(S, "QuerySender", F));
    EXPECT_EQ(IntOf(S, "Closes"), 0);

    // Modal: the click's handler sets ModalResult, which ShowModal answers.
    QueueClick(B, POINT{40, 14});
    EXPECT_EQ(S->CallFunction("RunModal", Variant::Null()).AsInteger(), 4) << "mrRetry";
    EXPECT_EQ(IntOf(S, "Clicks"), 1);
    EXPECT_TRUE(Holds(S, "ClickSender", B));
    EXPECT_EQ(IntOf(S, "Queries"), 2);
    EXPECT_EQ(IntOf(S, "Closes"), 1);
    EXPECT_TRUE(Holds(S, "CloseSender", F));
    EXPECT_EQ(IntOf(S, "CloseAction"), 1) << "caHide";
    EXPECT_FALSE(F->GetVisible());
    delete F;
  }
}

}  // namespace
