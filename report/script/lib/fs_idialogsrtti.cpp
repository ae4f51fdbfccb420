#include "report/script/lib/fs_idialogsrtti.h"

#include "platform/stdctrls/dialogs/ColorDialog.h"
#include "platform/stdctrls/dialogs/CommDlg.h"
#include "platform/stdctrls/dialogs/Dialogs.h"
#include "platform/stdctrls/dialogs/FontDialog.h"
#include "platform/stdctrls/dialogs/PrintDialogs.h"
#include "report/script/host/fs_iclassvar.h"
#include "report/script/interp/fs_iscript.h"
#include "report/script/lib/fs_iparams.h"

namespace fs_idialogsrtti {

namespace {

using namespace fs_iparams;

int RegistrarTag;  // the library's registrar stamp

Variant Call(const AnsiString& Name, Variant& Pr)
{
  if (Name == "MESSAGEDLG") {
    Integer Type = Int(Pr, 1);
    if (Type < mtWarning || Type > mtCustom) throw ERangeError("Invalid message dialog type");
    auto Buttons = TMsgDlgButtons::FromMask(static_cast<std::uint64_t>(P(Pr, 2).AsInt64()) & 0x7FF);
    return Variant(Dialogs::MessageDlg(Str(Pr, 0), static_cast<TMsgDlgType>(Type), Buttons, Int(Pr, 3)));
  }
  if (Name == "INPUTBOX") return Variant(Dialogs::InputBox(Str(Pr, 0), Str(Pr, 1), Str(Pr, 2)));
  if (Name == "INPUTQUERY") {
    AnsiString Value = Str(Pr, 2);
    bool Ok = Dialogs::InputQuery(Str(Pr, 0), Str(Pr, 1), Value);
    if (Ok) Variants::VarArrayPut(Pr, Variant(Value), {2});
    return Variant(Ok);
  }
  return Variant(0);
}

}  // namespace

void Register(TfsScript* S)
{
  S->Registrar = &RegistrarTag;
  S->AddEnumSet("TOpenOptions",
                "ofReadOnly, ofOverwritePrompt, ofHideReadOnly, ofNoChangeDir, ofShowHelp, ofNoValidate, "
                "ofAllowMultiSelect, ofExtensionDifferent, ofPathMustExist, ofFileMustExist, ofCreatePrompt, "
                "ofShareAware, ofNoReadOnlyReturn, ofNoTestFileCreate, ofNoNetworkButton, ofNoLongNames, "
                "ofOldStyleDialog, ofNoDereferenceLinks, ofEnableIncludeNotify, ofEnableSizing");
  S->AddEnum("TFileEditStyle", "fsEdit, fsComboBox");
  S->AddEnumSet("TColorDialogOptions", "cdFullOpen, cdPreventFullOpen, cdShowHelp, cdSolidColor, cdAnyColor");
  S->AddEnumSet("TFontDialogOptions",
                "fdAnsiOnly, fdTrueTypeOnly, fdEffects, fdFixedPitchOnly, fdForceFontExist, fdNoFaceSel, "
                "fdNoOEMFonts, fdNoSimulations, fdNoSizeSel, fdNoStyleSel, fdNoVectorFonts, fdShowHelp, "
                "fdWysiwyg, fdLimitSize, fdScalableOnly, fdApplyButton");
  S->AddEnum("TFontDialogDevice", "fdScreen, fdPrinter, fdBoth");
  S->AddEnum("TPrintRange", "prAllPages, prSelection, prPageNums");
  S->AddEnumSet("TPrintDialogOptions",
                "poPrintToFile, poPageNums, poSelection, poWarning, poHelp, poDisablePrintToFile");
  S->AddEnum("TMsgDlgType", "mtWarning, mtError, mtInformation, mtConfirmation, mtCustom");
  S->AddEnumSet("TMsgDlgButtons",
                "mbYes, mbNo, mbOK, mbCancel, mbAbort, mbRetry, mbIgnore, mbAll, mbNoToAll, mbYesToAll, mbHelp");

  if (TfsClassVariable* C = S->AddClass(TCommonDialog::StaticClass(), "TComponent")) {
    C->AddConstructor("constructor Create(AOwner: TComponent)",
                      [](TObject*, const void* Class, const AnsiString&, Variant& Pr) {
                        auto* K = static_cast<const TMetaClass*>(Class);
                        // The base class shows nothing: only the dialogs themselves are made.
                        if (K == TCommonDialog::StaticClass() || !K->CanCreate())
                          throw EInvalidOperation("Cannot create an instance of " + K->ClassName());
                        return fs_ihandles::Adopt(K->Create(Count(Pr) > 0 ? Obj<TComponent>(Pr, 0) : nullptr));
                      });
    C->AddMethod("function Execute: Boolean", [](TObject* I, const void*, const AnsiString&, Variant&) {
      return Variant(Self<TCommonDialog>(I)->Execute());
    });
  }
  S->AddClass(TOpenDialog::StaticClass(), "TCommonDialog");
  S->AddClass(TSaveDialog::StaticClass(), "TCommonDialog");
  S->AddClass(TColorDialog::StaticClass(), "TCommonDialog");
  S->AddClass(TFontDialog::StaticClass(), "TCommonDialog");
  S->AddClass(TPrintDialog::StaticClass(), "TCommonDialog");
  S->AddClass(TPrinterSetupDialog::StaticClass(), "TCommonDialog");

  auto Fn = [](TObject*, const void*, const AnsiString& Name, Variant& Pr) { return Call(Name, Pr); };
  S->AddMethod(
      "function MessageDlg(Msg: string; DlgType: TMsgDlgType; Buttons: TMsgDlgButtons; HelpCtx: Longint): "
      "Integer",
      Fn, "ctOther");
  S->AddMethod("function InputBox(ACaption, APrompt, ADefault: string): string", Fn, "ctOther");
  S->AddMethod("function InputQuery(ACaption, APrompt: string; var Value: string): Boolean", Fn, "ctOther");
  S->Registrar = nullptr;
}

void Unregister(TfsScript* S) { S->RemoveItems(&RegistrarTag); }

}  // namespace fs_idialogsrtti
