// The font dialog: a face from Screen.Fonts, a style, a size, with fdEffects strike-out,
// underline and one of sixteen colours, and a sample of the choice. Execute starts from Font
// and writes the choice back into it only when confirmed.
//
// Confirming checks the choice: an empty face, or with fdForceFontExist a face that is not
// installed, a size that is not a number, or with fdLimitSize one outside MinFontSize ..
// MaxFontSize, are refused with a message through the message seam.
#pragma once

#include <memory>

#include "platform/forms/forms/Form.h"
#include "platform/forms/graphics/Colors.h"
#include "platform/stdctrls/dialogs/CommDlg.h"

class TFont;
class TButton;
class TCheckBox;
class TComboBox;
class TEdit;
class TLabel;
class TListBox;

PELTO_ENUM(TFontDialogOption, fdAnsiOnly, fdTrueTypeOnly, fdEffects, fdFixedPitchOnly, fdForceFontExist, fdNoFaceSel,
           fdNoOEMFonts, fdNoSimulations, fdNoSizeSel, fdNoStyleSel, fdNoVectorFonts, fdShowHelp, fdWysiwyg,
           fdLimitSize, fdScalableOnly, fdApplyButton)
PELTO_SET(TFontDialogOptions, TFontDialogOption)
PELTO_ENUM(TFontDialogDevice, fdScreen, fdPrinter, fdBoth)
PELTO_EVENT_TYPE(TFDApplyEvent, void(TObject* Sender, HWND Wnd))

class TFontDialogForm : public TForm {
  PELTO_CLASS(TFontDialogForm, TForm)
public:
  // Shows Font (not kept) under Options.
  TFontDialogForm(TComponent* AOwner, TFont* Font, TFontDialogOptions Options, int MinSize, int MaxSize);

  TEdit* GetFaceEdit() const { return FFace; }
  TListBox* GetFaceList() const { return FFaces; }
  TListBox* GetStyleList() const { return FStyles; }
  TEdit* GetSizeEdit() const { return FSize; }
  TCheckBox* GetStrikeOut() const { return FStrike; }  // null without fdEffects
  TCheckBox* GetUnderline() const { return FUnderline; }
  TComboBox* GetColorBox() const { return FColors; }
  TButton* GetApplyButton() const { return FApply; }  // null without fdApplyButton
  // Checks the choice and closes with mrOk, or says why not (false).
  bool Confirm();
  // The choice now, into Font.
  void Store(TFont* Font) const;

  TNotifyEvent OnApply;

private:
  void ShowSample();
  void FaceListClick(TObject*);
  void SizeListClick(TObject*);

  TFontDialogOptions FOptions;
  int FMinSize, FMaxSize;
  TEdit *FFace = nullptr, *FSize = nullptr;
  TListBox *FFaces = nullptr, *FStyles = nullptr, *FSizes = nullptr;
  TCheckBox *FStrike = nullptr, *FUnderline = nullptr;
  TComboBox* FColors = nullptr;
  TLabel* FSample = nullptr;
  TButton* FApply = nullptr;
};

class TFontDialog : public TCommonDialog {
  PELTO_CLASS(TFontDialog, TCommonDialog)
public:
  explicit TFontDialog(TComponent* AOwner);
  ~TFontDialog() override;

  bool Execute() override;
  TFont* GetFont() const { return FFont.get(); }
  void SetFont(TFont* Value);
  TFontDialogOptions GetOptions() const { return FOptions; }
  void SetOptions(TFontDialogOptions Value) { FOptions = Value; }
  TFontDialogDevice GetDevice() const { return FDevice; }
  void SetDevice(TFontDialogDevice Value) { FDevice = Value; }
  // 0: no limit (with fdLimitSize, the other bound alone counts).
  int GetMinFontSize() const { return FMinFontSize; }
  void SetMinFontSize(int Value) { FMinFontSize = Value; }
  int GetMaxFontSize() const { return FMaxFontSize; }
  void SetMaxFontSize(int Value) { FMaxFontSize = Value; }

  // The apply button (fdApplyButton) was pressed; Font already holds the choice.
  TFDApplyEvent OnApply;

  PELTO_PUBLISHED(p)
  {
    p.Property("Font", &ThisClass::GetFont, &ThisClass::SetFont);
    p.Property("Device", &ThisClass::GetDevice, &ThisClass::SetDevice).Default(fdScreen);
    p.Property("MinFontSize", &ThisClass::GetMinFontSize, &ThisClass::SetMinFontSize).Default(0);
    p.Property("MaxFontSize", &ThisClass::GetMaxFontSize, &ThisClass::SetMaxFontSize).Default(0);
    p.Property("Options", &ThisClass::GetOptions, &ThisClass::SetOptions);
  }

private:
  std::unique_ptr<TFont> FFont;
  TFontDialogOptions FOptions{fdEffects};
  TFontDialogDevice FDevice = fdScreen;
  int FMinFontSize = 0, FMaxFontSize = 0;
};

namespace FontDialog {
// The sixteen colours of the effects box with their names ("黑色" ...).
struct TNamedColor {
  TColor Color;
  const char* Name;
};
const std::vector<TNamedColor>& EffectColors();
}  // namespace FontDialog
