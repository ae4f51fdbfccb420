// The graphics, forms and dialogs libraries as registered: constants and value lists, the colour
// table, unregistering, and hostile scripts that must end in run-time errors.
#include <gtest/gtest.h>

#include <map>

#include "platform/forms/graphics/ColorNames.h"
#include "platform/rtl/StringUtils.h"
#include "report/script/interp/fs_iinterpreter.h"
#include "report/script/interp/fs_iscript.h"
#include "report/script/lib/fs_idialogsrtti.h"
#include "report/script/lib/fs_iformsrtti.h"
#include "report/script/lib/fs_igraphicsrtti.h"
#include "report/script/tests/UiScriptTestUtil.h"

namespace {

class UiLibrariesTest : public UiScriptTest {
protected:
  static Variant GlobalValue(const char* Name)
  {
    TfsCustomVariable* V = fs_iinterpreter::GetGlobalScript()->FindItem(Name);
    if (!V) throw Exception(AnsiString("not registered: ") + Name);
    return V->GetValue();
  }
  // Name and type of every item of the global script, in its order.
  static std::vector<std::string> GlobalItems()
  {
    TfsScript* G = fs_iinterpreter::GetGlobalScript();
    std::vector<std::string> R;
    for (Integer I = 0; I < G->ItemCount(); ++I) R.push_back(G->ItemAt(I)->Name + ":" + G->ItemAt(I)->TypeName);
    return R;
  }
};

TEST_F(UiLibrariesTest, ConstantsAndValueListsHaveTheirValues)
{
  struct Case {
    const char* Name;
    Int64 Value;
  } Cases[] = {
      {"VK_F1", 112},
      {"VK_F2", 113},
      {"VK_F12", 123},
      {"VK_NUMPAD0", 96},
      {"VK_NUMPAD9", 105},
      {"VK_RETURN", 13},
      {"VK_SCROLL", 145},
      {"crHourGlass", -11},
      {"crSize", -22},
      {"crSizeAll", -22},
      {"crHandPoint", -21},
      {"mrNone", 0},
      {"mrYesToAll", 10},
      {"bsSizeToolWin", 5},
      {"akLeft", 1},
      {"akTop", 2},
      {"akRight", 4},
      {"akBottom", 8},
      {"mbYes", 1},
      {"mbNo", 2},
      {"mbOK", 4},
      {"mbYesToAll", 512},
      {"mbHelp", 1024},
      {"ssShift", 1},
      {"ssDouble", 64},
      {"mbLeft", 0},
      {"mbMiddle", 2},
      {"caFree", 2},
      {"fsBold", 1},
      {"fsItalic", 2},
      {"fsStrikeout", 8},
      {"pmNotXor", 15},
      {"bsDiagCross", 7},
      {"poDesktopCenter", 5},
      {"ofEnableSizing", 1 << 19},
      {"fdApplyButton", 1 << 15},
      {"mtCustom", 4},
      {"prPageNums", 2},
      {"clRed", 255},
      {"clLime", 65280},
      {"clBlue", 16711680},
      {"clWhite", 16777215},
      {"clMoneyGreen", 12639424},
      {"clSkyBlue", 15780518},
      {"clCream", 15793151},
      {"clMedGray", 10789024},
      {"clScrollBar", static_cast<Integer>(0xFF000000u)},
      {"clBtnFace", static_cast<Integer>(0xFF00000Fu)},
      {"clWindow", static_cast<Integer>(0xFF000005u)},
      {"clMenuBar", static_cast<Integer>(0xFF00001Eu)},
      {"clNone", 0x1FFFFFFF},
      {"clDefault", 0x20000000},
  };
  for (const Case& C : Cases) EXPECT_EQ(GlobalValue(C.Name).AsInt64(), C.Value) << C.Name;
  // Every name of the colour table, in the table's order, with its value.
  const auto& Colors = Graphics::ColorIdents();
  ASSERT_EQ(Colors.size(), 52u);
  EXPECT_STREQ(Colors.front().Name, "clBlack");
  EXPECT_STREQ(Colors.back().Name, "clWindowText");
  for (const auto& C : Colors) EXPECT_EQ(GlobalValue(C.Name).AsInt64(), C.Value) << C.Name;
  TColor Color = 0;
  EXPECT_TRUE(Graphics::IdentToColor("CLHOTLIGHT", Color));
  EXPECT_EQ(Color, clHotLight);
  EXPECT_EQ(Graphics::ColorToString(clSkyBlue), "clSkyBlue");
  EXPECT_EQ(Graphics::ColorToString(0x123456), "$00123456");
  EXPECT_EQ(Graphics::StringToColor("$FF"), clRed);
  // The types the scripts name.
  for (const char* T : {"TFormBorderStyle", "TBorderStyle", "TShiftState", "TAnchors", "TCloseAction", "TMsgDlgButtons",
                        "TFontStyles", "TOpenOptions", "TForm", "TBitmap", "TOpenDialog", "TApplication"})
    EXPECT_TRUE(fs_iinterpreter::GetGlobalScript()->FindItem(T)) << T;
}

TEST_F(UiLibrariesTest, UnregisteringLeavesTheGlobalScriptAsItWasAndRegisteringAgainWorks)
{
  TfsScript* G = fs_iinterpreter::GetGlobalScript();
  fs_idialogsrtti::Unregister(G);
  fs_iformsrtti::Unregister(G);
  fs_igraphicsrtti::Unregister(G);
  std::vector<std::string> Before = GlobalItems();
  EXPECT_FALSE(G->FindItem("TForm"));
  EXPECT_FALSE(G->FindItem("clRed"));
  EXPECT_TRUE(G->FindItem("TComponent")) << "the classes library stays";
  for (int Round = 0; Round < 2; ++Round) {
    fs_igraphicsrtti::Register(G);
    fs_iformsrtti::Register(G);
    // The cursors are listed twice: the second registration of each changes nothing.
    fs_iformsrtti::Register(G);
    fs_idialogsrtti::Register(G);
    EXPECT_EQ(GlobalValue("crSize").AsInteger(), -22);
    EXPECT_GT(GlobalItems().size(), Before.size() + 300);
    fs_idialogsrtti::Unregister(G);
    fs_iformsrtti::Unregister(G);
    fs_igraphicsrtti::Unregister(G);
    EXPECT_EQ(GlobalItems(), Before) << "round " << Round;
  }
  fs_igraphicsrtti::Register(G);
  fs_iformsrtti::Register(G);
  fs_idialogsrtti::Register(G);
  EXPECT_EQ(RunError("DezodiZidede", "var B: TBitmap; begin B := TBitmap.Create; B.Width := 5; B.Free end."), "");
}

TEST_F(UiLibrariesTest, HostileScriptsEndInRunTimeErrors)
{
  struct Case {
    const char* What;
    const char* Text;
    const char* Error;  // a part of the message
  } Cases[] = {
      {"a form used after Free", "var F: TForm; begin F := TForm.Create(Application); F.Free; F.Caption := 'x' end.",
       "freed"},
      {"a form used after a caFree close", R"(
var F: TForm;
procedure FC(Sender: TObject; var Action: TCloseAction); begin Action := caFree end;
begin
  F := TForm.Create(Application);
  F.OnClose := 'FC';
  F.Show;
  F.Close;
  Application.ProcessMessages;
  F.Show;
end.)",
       "freed"},
      {"a control of a form freed by its owner", R"(
var F: TForm; E: TEdit;
begin
  F := TForm.Create(Application);
  E := TEdit.Create(F);
  E.Parent := F;
  F.Free;
  E.Text := 'x';
end.)",
       "freed"},
      {"a form's canvas after the form is freed",
       "var F: TForm; C: TCanvas; begin F := TForm.Create(Application); C := F.Canvas; F.Free; C.MoveTo(1, 1) end.",
       "freed"},
      {"a control's font after the control is freed", R"(
var F: TForm; Fn: TFont;
begin
  F := TForm.Create(Application);
  Fn := F.Font;
  F.Free;
  Fn.Size := 20;
end.)",
       "freed"},
      {"a bitmap's canvas after the bitmap is freed",
       "var B: TBitmap; C: TCanvas; begin B := TBitmap.Create; B.Width := 10; C := B.Canvas; B.Free; C.LineTo(5, 5) "
       "end.",
       "freed"},
      {"a metafile freed under its canvas", R"(
var MF: TMetafile; MC: TMetafileCanvas;
begin
  MF := TMetafile.Create;
  MC := TMetafileCanvas.Create(MF, 0);
  MC.Rectangle(0, 0, 10, 10);
  MF.Free;
  MC.LineTo(5, 5);
end.)",
       "freed"},
      {"the canvas of a freed metafile freed again", R"(
var MF: TMetafile; MC: TMetafileCanvas;
begin
  MF := TMetafile.Create;
  MC := TMetafileCanvas.Create(MF, 0);
  MF.Free;
  MC.Free;
end.)",
       "freed"},
      {"an invented device number",
       "var MF: TMetafile; MC: TMetafileCanvas; begin MF := TMetafile.Create; try MC := TMetafileCanvas.Create(MF, "
       "4660) finally MF.Free end end.",
       "device context"},
      {"Application.Free", "begin Application.Free end.", "program owns"},
      {"TGraphic.Create", "var G: TGraphic; begin G := TGraphic.Create end.", "TGraphic"},
      {"TCommonDialog.Create", "var D: TCommonDialog; begin D := TCommonDialog.Create(nil) end.", "TCommonDialog"},
      {"SetFocus on a label", R"(
var F: TForm; L: TLabel;
begin
  F := TForm.Create(Application);
  L := TLabel.Create(F);
  L.Parent := F;
  F.Show;
  L.SetFocus;
end.)",
       "TLabel"},
      {"a key event on a label", R"(
var F: TForm; L: TLabel;
procedure K(Sender: TObject; var Key: Char); begin end;
begin
  F := TForm.Create(Application);
  L := TLabel.Create(F);
  L.OnKeyPress := 'K';
end.)",
       "TLabel"},
      {"SetFocus on a hidden control", R"(
var F: TForm; E: TEdit;
begin
  F := TForm.Create(Application);
  E := TEdit.Create(F);
  E.Parent := F;
  F.Show;
  E.Visible := False;
  E.SetFocus;
end.)",
       "invisible"},
      {"a form shown modally while visible",
       "var F: TForm; begin F := TForm.Create(Application); F.Show; F.ShowModal end.", "modal"},
      {"a selected index beyond the list", R"(
var F: TForm; L: TListBox;
begin
  F := TForm.Create(Application);
  L := TListBox.Create(F);
  L.Parent := F;
  L.Selected[3] := True;
end.)",
       "out of bounds"},
  };
  for (const Case& C : Cases) {
    AnsiString Error = RunError("DezodiZidede", C.Text);
    EXPECT_NE(Error.find(C.Error), AnsiString::npos) << C.What << ": " << Error;
  }
}

}  // namespace
