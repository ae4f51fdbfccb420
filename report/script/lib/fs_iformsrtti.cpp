#include "report/script/lib/fs_iformsrtti.h"

#include "platform/forms/app/Application.h"
#include "platform/forms/controls/ControlScrollBar.h"
#include "platform/forms/controls/CustomControl.h"
#include "platform/forms/controls/GraphicControl.h"
#include "platform/forms/controls/ScrollingWinControl.h"
#include "platform/forms/forms/DataModule.h"
#include "platform/forms/forms/Form.h"
#include "platform/forms/graphics/Canvas.h"
#include "platform/stdctrls/buttons/Button.h"
#include "platform/stdctrls/buttons/CheckBox.h"
#include "platform/stdctrls/buttons/GroupBox.h"
#include "platform/stdctrls/buttons/RadioButton.h"
#include "platform/stdctrls/edits/CustomEdit.h"
#include "platform/stdctrls/edits/Memo.h"
#include "platform/stdctrls/lists/ComboBox.h"
#include "platform/stdctrls/lists/ListBox.h"
#include "platform/stdctrls/panels/Label.h"
#include "platform/stdctrls/panels/ScrollBox.h"
#include "report/script/host/fs_iclassvar.h"
#include "report/script/host/fs_ievents.h"
#include "report/script/interp/fs_iscript.h"
#include "report/script/lib/fs_iparams.h"

namespace fs_iformsrtti {

namespace {

using namespace fs_iparams;

int RegistrarTag;  // the library's registrar stamp

// "Application": the program's application object as it is now (tests and the program make it
// again), read at each use.
class TApplicationVariable : public TfsVariable {
public:
  TApplicationVariable() : TfsVariable("Application", ikClass, "TApplication") { IsReadOnly = true; }
  Variant GetValue() override { return fs_ihandles::ToVariant(Forms::Application); }
  void SetValue(const Variant&) override {}
};

// The windowed control a member runs on; a label (registered under TWinControl) is refused.
TWinControl* Windowed(TObject* Instance)
{
  auto* W = dynamic_cast<TWinControl*>(Instance);
  if (!W) throw EInvalidCast(AnsiString(Instance ? Instance->ClassName() : "nil") + " is not a windowed control");
  return W;
}

void RegisterConstants(TfsScript* S)
{
  for (auto [Name, Value] : std::initializer_list<std::pair<const char*, Integer>>{{"mrNone", 0},
                                                                                   {"mrOk", 1},
                                                                                   {"mrCancel", 2},
                                                                                   {"mrAbort", 3},
                                                                                   {"mrRetry", 4},
                                                                                   {"mrIgnore", 5},
                                                                                   {"mrYes", 6},
                                                                                   {"mrNo", 7},
                                                                                   {"mrAll", 8},
                                                                                   {"mrNoToAll", 9},
                                                                                   {"mrYesToAll", 10}})
    S->AddConst(Name, "Integer", Variant(Value));
  static const std::pair<const char*, Integer> Cursors[] = {
      {"crDefault", 0},   {"crNone", -1},       {"crArrow", -2},    {"crCross", -3},    {"crIBeam", -4},
      {"crSize", -22},    {"crSizeNESW", -6},   {"crSizeNS", -7},   {"crSizeNWSE", -8}, {"crSizeWE", -9},
      {"crUpArrow", -10}, {"crHourGlass", -11}, {"crDrag", -12},    {"crNoDrop", -13},  {"crHSplit", -14},
      {"crVSplit", -15},  {"crMultiDrag", -16}, {"crSQLWait", -17}, {"crNo", -18},      {"crAppStart", -19},
      {"crHelp", -20},    {"crHandPoint", -21}, {"crSizeAll", -22}};
  // The library's list holds the cursors twice; the second registration of a name does nothing.
  for (int Pass = 0; Pass < 2; ++Pass)
    for (auto [Name, Value] : Cursors) S->AddConst(Name, "Integer", Variant(Value));
  for (auto [Name, Value] : std::initializer_list<std::pair<const char*, Integer>>{{"bsNone", 0},
                                                                                   {"bsSingle", 1},
                                                                                   {"bsSizeable", 2},
                                                                                   {"bsDialog", 3},
                                                                                   {"bsToolWindow", 4},
                                                                                   {"bsSizeToolWin", 5}})
    S->AddConst(Name, "Integer", Variant(Value));
  for (auto [Name, Value] : std::initializer_list<std::pair<const char*, Integer>>{
           {"VK_RBUTTON", 2},  {"VK_CANCEL", 3},  {"VK_MBUTTON", 4},  {"VK_BACK", 8},   {"VK_TAB", 9},
           {"VK_RETURN", 13},  {"VK_SHIFT", 16},  {"VK_CONTROL", 17}, {"VK_MENU", 18},  {"VK_PAUSE", 19},
           {"VK_CAPITAL", 20}, {"VK_ESCAPE", 27}, {"VK_SPACE", 32},   {"VK_PRIOR", 33}, {"VK_NEXT", 34},
           {"VK_END", 35},     {"VK_HOME", 36},   {"VK_LEFT", 37},    {"VK_UP", 38},    {"VK_RIGHT", 39},
           {"VK_DOWN", 40},    {"VK_INSERT", 45}, {"VK_DELETE", 46},  {"VK_HELP", 47},  {"VK_LWIN", 91},
           {"VK_RWIN", 92},    {"VK_APPS", 93}})
    S->AddConst(Name, "Integer", Variant(Value));
  for (int I = 0; I <= 9; ++I) S->AddConst("VK_NUMPAD" + std::to_string(I), "Integer", Variant(96 + I));
  for (auto [Name, Value] : std::initializer_list<std::pair<const char*, Integer>>{{"VK_MULTIPLY", 106},
                                                                                   {"VK_ADD", 107},
                                                                                   {"VK_SEPARATOR", 108},
                                                                                   {"VK_SUBTRACT", 109},
                                                                                   {"VK_DECIMAL", 110},
                                                                                   {"VK_DIVIDE", 111}})
    S->AddConst(Name, "Integer", Variant(Value));
  for (int I = 1; I <= 12; ++I) S->AddConst("VK_F" + std::to_string(I), "Integer", Variant(111 + I));
  S->AddConst("VK_NUMLOCK", "Integer", Variant(144));
  S->AddConst("VK_SCROLL", "Integer", Variant(145));
}

void RegisterTypes(TfsScript* S)
{
  S->AddType("TFormBorderStyle", ikInteger);
  S->AddType("TBorderStyle", ikInteger);
  S->AddEnumSet("TShiftState", "ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble");
  S->AddEnum("TAlignment", "taLeftJustify, taRightJustify, taCenter");
  S->AddEnum("TAlign", "alNone, alTop, alBottom, alLeft, alRight, alClient");
  S->AddEnum("TMouseButton", "mbLeft, mbRight, mbMiddle");
  S->AddEnumSet("TAnchors", "akLeft, akTop, akRight, akBottom");
  S->AddEnum("TBevelCut", "bvNone, bvLowered, bvRaised, bvSpace");
  S->AddEnum("TTextLayout", "tlTop, tlCenter, tlBottom");
  S->AddEnum("TEditCharCase", "ecNormal, ecUpperCase, ecLowerCase");
  S->AddEnum("TScrollStyle", "ssNone, ssHorizontal, ssVertical, ssBoth");
  S->AddEnum("TComboBoxStyle", "csDropDown, csSimple, csDropDownList, csOwnerDrawFixed, csOwnerDrawVariable");
  S->AddEnum("TCheckBoxState", "cbUnchecked, cbChecked, cbGrayed");
  S->AddEnum("TListBoxStyle", "lbStandard, lbOwnerDrawFixed, lbOwnerDrawVariable");
  S->AddEnum("TWindowState", "wsNormal, wsMinimized, wsMaximized");
  S->AddEnum("TFormStyle", "fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop");
  S->AddEnumSet("TBorderIcons", "biSystemMenu, biMinimize, biMaximize, biHelp");
  S->AddEnum("TPosition",
             "poDesigned, poDefault, poDefaultPosOnly, poDefaultSizeOnly, poScreenCenter, poDesktopCenter");
  S->AddEnum("TCloseAction", "caNone, caHide, caFree, caMinimize");
}

void RegisterControl(TfsClassVariable* C)
{
  if (!C) return;  // the name was taken
  auto Ctl = [](TObject* I) { return Self<TControl>(I); };
  C->AddProperty(
      "Parent", "TWinControl",
      [Ctl](TObject* I, const void*, const AnsiString&) { return fs_ihandles::ToVariant(Ctl(I)->GetParent()); },
      [Ctl](TObject* I, const void*, const AnsiString&, const Variant& V) {
        TObject* O = fs_ihandles::ObjectOf(V);
        Ctl(I)->SetParent(O ? Windowed(O) : nullptr);
      });
  C->AddMethod("procedure Hide", [Ctl](TObject* I, const void*, const AnsiString&, Variant&) {
    Ctl(I)->Hide();
    return Variant(0);
  });
  C->AddMethod("procedure Show", [Ctl](TObject* I, const void*, const AnsiString&, Variant&) {
    Ctl(I)->Show();
    return Variant(0);
  });
  C->AddMethod("procedure SetBounds(ALeft, ATop, AWidth, AHeight: Integer)",
               [Ctl](TObject* I, const void*, const AnsiString&, Variant& Pr) {
                 Ctl(I)->SetBounds(Int(Pr, 0), Int(Pr, 1), Int(Pr, 2), Int(Pr, 3));
                 return Variant(0);
               });
  C->AddEvent("OnCanResize", fsMakeEvent<TfsCanResizeEvent>);
  C->AddEvent("OnClick", fsMakeEvent<TfsNotifyEvent>);
  C->AddEvent("OnDblClick", fsMakeEvent<TfsNotifyEvent>);
  C->AddEvent("OnMouseDown", fsMakeEvent<TfsMouseEvent>);
  C->AddEvent("OnMouseMove", fsMakeEvent<TfsMouseMoveEvent>);
  C->AddEvent("OnMouseUp", fsMakeEvent<TfsMouseEvent>);
  C->AddEvent("OnResize", fsMakeEvent<TfsNotifyEvent>);
}

void RegisterWinControl(TfsClassVariable* C)
{
  if (!C) return;  // the name was taken
  C->AddMethod("procedure SetFocus", [](TObject* I, const void*, const AnsiString&, Variant&) {
    Windowed(I)->SetFocus();
    return Variant(0);
  });
  C->AddEvent("OnEnter", fsMakeEvent<TfsNotifyEvent>);
  C->AddEvent("OnExit", fsMakeEvent<TfsNotifyEvent>);
  C->AddEvent("OnKeyDown", fsMakeEvent<TfsKeyEvent>);
  C->AddEvent("OnKeyPress", fsMakeEvent<TfsKeyPressEvent>);
  C->AddEvent("OnKeyUp", fsMakeEvent<TfsKeyEvent>);
}

void RegisterComboBox(TfsClassVariable* C)
{
  if (!C) return;  // the name was taken
  auto Cb = [](TObject* I) { return Self<TCustomComboBox>(I); };
  C->AddProperty(
      "DroppedDown", "Boolean",
      [Cb](TObject* I, const void*, const AnsiString&) { return Variant(Cb(I)->GetDroppedDown()); },
      [Cb](TObject* I, const void*, const AnsiString&, const Variant& V) { Cb(I)->SetDroppedDown(V.AsBoolean()); });
  C->AddProperty(
      "ItemIndex", "Integer",
      [Cb](TObject* I, const void*, const AnsiString&) { return Variant(Cb(I)->GetItemIndex()); },
      [Cb](TObject* I, const void*, const AnsiString&, const Variant& V) { Cb(I)->SetItemIndex(V.AsInteger()); });
  C->AddEvent("OnChange", fsMakeEvent<TfsNotifyEvent>);
  C->AddEvent("OnDropDown", fsMakeEvent<TfsNotifyEvent>);
  C->AddEvent("OnCloseUp", fsMakeEvent<TfsNotifyEvent>);
}

void RegisterListBox(TfsClassVariable* C)
{
  if (!C) return;  // the name was taken
  auto Lb = [](TObject* I) { return Self<TCustomListBox>(I); };
  C->AddProperty(
      "ItemIndex", "Integer",
      [Lb](TObject* I, const void*, const AnsiString&) { return Variant(Lb(I)->GetItemIndex()); },
      [Lb](TObject* I, const void*, const AnsiString&, const Variant& V) { Lb(I)->SetItemIndex(V.AsInteger()); });
  C->AddProperty("SelCount", "Integer",
                 [Lb](TObject* I, const void*, const AnsiString&) { return Variant(Lb(I)->GetSelCount()); });
  C->AddIndexProperty("Selected", "Integer", "Boolean",
                      [Lb](TObject* I, const void*, const AnsiString& Name, Variant& Pr) {
                        TCustomListBox* L = Lb(I);
                        Integer Index = Int(Pr, 0);
                        if (Index < 0 || Index >= L->GetItems()->GetCount())
                          throw EListError("List index out of bounds (" + std::to_string(Index) + ")");
                        if (Name == "SELECTED.GET") return Variant(L->GetSelected(Index));
                        L->SetSelected(Index, P(Pr, 1).AsBoolean());
                        return Variant(0);
                      });
}

void RegisterForm(TfsClassVariable* C)
{
  if (!C) return;  // the name was taken
  auto F = [](TObject* I) { return Self<TCustomForm>(I); };
  C->AddMethod("procedure Close", [F](TObject* I, const void*, const AnsiString&, Variant&) {
    F(I)->Close();
    return Variant(0);
  });
  C->AddMethod("procedure Hide", [F](TObject* I, const void*, const AnsiString&, Variant&) {
    F(I)->Hide();
    return Variant(0);
  });
  C->AddMethod("procedure Show", [F](TObject* I, const void*, const AnsiString&, Variant&) {
    F(I)->Show();
    return Variant(0);
  });
  C->AddMethod("function ShowModal: Integer",
               [F](TObject* I, const void*, const AnsiString&, Variant&) { return Variant(F(I)->ShowModal()); });
  for (const char* E : {"OnActivate", "OnCreate", "OnDestroy", "OnDeactivate", "OnHide", "OnPaint", "OnShow"})
    C->AddEvent(E, fsMakeEvent<TfsNotifyEvent>);
  C->AddEvent("OnClose", fsMakeEvent<TfsCloseEvent>);
  C->AddEvent("OnCloseQuery", fsMakeEvent<TfsCloseQueryEvent>);
  C->AddProperty("Canvas", "TCanvas", [F](TObject* I, const void*, const AnsiString&) {
    return fs_ihandles::ToVariantWithin(F(I)->GetCanvas(), I);
  });
  C->AddProperty(
      "ModalResult", "Integer",
      [F](TObject* I, const void*, const AnsiString&) { return Variant(F(I)->GetModalResult()); },
      [F](TObject* I, const void*, const AnsiString&, const Variant& V) { F(I)->SetModalResult(V.AsInteger()); });
}

void RegisterApplication(TfsClassVariable* C)
{
  if (!C) return;  // the name was taken
  auto A = [](TObject* I) { return Self<TApplication>(I); };
  C->AddMethod("procedure Minimize", [A](TObject* I, const void*, const AnsiString&, Variant&) {
    A(I)->Minimize();
    return Variant(0);
  });
  C->AddMethod("procedure ProcessMessages", [A](TObject* I, const void*, const AnsiString&, Variant&) {
    A(I)->ProcessMessages();
    return Variant(0);
  });
  C->AddMethod("procedure Restore", [A](TObject* I, const void*, const AnsiString&, Variant&) {
    A(I)->Restore();
    return Variant(0);
  });
  C->AddProperty("ExeName", "String",
                 [A](TObject* I, const void*, const AnsiString&) { return Variant(A(I)->GetExeName()); });
}

}  // namespace

void Register(TfsScript* S)
{
  S->Registrar = &RegistrarTag;
  RegisterConstants(S);
  RegisterTypes(S);
  RegisterControl(S->AddClass(TControl::StaticClass(), "TComponent"));
  RegisterWinControl(S->AddClass(TWinControl::StaticClass(), "TControl"));
  S->AddClass(TCustomControl::StaticClass(), "TWinControl");
  S->AddClass(TGraphicControl::StaticClass(), "TControl");
  S->AddClass(TGroupBox::StaticClass(), "TWinControl");
  S->AddClass(TLabel::StaticClass(), "TWinControl");
  S->AddClass(TEdit::StaticClass(), "TWinControl");
  S->AddClass(TMemo::StaticClass(), "TWinControl");
  RegisterComboBox(S->AddClass(TCustomComboBox::StaticClass(), "TWinControl"));
  S->AddClass(TComboBox::StaticClass(), "TCustomComboBox");
  S->AddClass(TButton::StaticClass(), "TWinControl");
  S->AddClass(TCheckBox::StaticClass(), "TWinControl");
  S->AddClass(TRadioButton::StaticClass(), "TWinControl");
  RegisterListBox(S->AddClass(TCustomListBox::StaticClass(), "TWinControl"));
  S->AddClass(TListBox::StaticClass(), "TCustomListBox");
  S->AddClass(TControlScrollBar::StaticClass(), "TPersistent");
  S->AddClass(TScrollingWinControl::StaticClass(), "TWinControl");
  S->AddClass(TScrollBox::StaticClass(), "TScrollingWinControl");
  RegisterForm(S->AddClass(TCustomForm::StaticClass(), "TScrollingWinControl"));
  S->AddClass(TForm::StaticClass(), "TCustomForm");
  S->AddClass(TDataModule::StaticClass(), "TComponent");
  RegisterApplication(S->AddClass(TApplication::StaticClass(), "TComponent"));
  S->RegisterItem("Application", new TApplicationVariable);
  S->Registrar = nullptr;
}

void Unregister(TfsScript* S) { S->RemoveItems(&RegistrarTag); }

}  // namespace fs_iformsrtti
