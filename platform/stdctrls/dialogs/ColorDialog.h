// The colour dialog: forty-eight basic colours, sixteen custom ones, and (opened with
// "规定自定义颜色(&D) >>", or from the start with cdFullOpen) the spectrum (hue across,
// saturation up) with the luminosity bar beside it, red, green and blue boxes with a swatch and
// "添加到自定义颜色(&A)". Hue, saturation and luminosity run 0..240 as the classic dialog's do;
// a click on the spectrum keeps the luminosity, a click on the bar keeps hue and saturation. Execute starts from Color and writes the choice back only
// when confirmed. The custom colours live in CustomColors as "ColorA=" .. "ColorP=" lines of six
// hexadecimal digits (a TColor, $BBGGRR); a missing or unreadable line is white.
#pragma once

#include <array>
#include <memory>

#include "platform/forms/forms/Form.h"
#include "platform/forms/graphics/Colors.h"
#include "platform/stdctrls/dialogs/CommDlg.h"

class TButton;
class TEdit;
class TPaintBox;

PELTO_ENUM(TColorDialogOption, cdFullOpen, cdPreventFullOpen, cdShowHelp, cdSolidColor, cdAnyColor)
PELTO_SET(TColorDialogOptions, TColorDialogOption)

class TColorDialogForm : public TForm {
  PELTO_CLASS(TColorDialogForm, TForm)
public:
  TColorDialogForm(TComponent* AOwner, TColor Color, const std::array<TColor, 16>& Custom, TColorDialogOptions Options);

  TColor GetColor() const { return FColor; }
  // Picks a colour as a click on a swatch does (the boxes follow).
  void Pick(TColor Value);
  const std::array<TColor, 16>& GetCustom() const { return FCustom; }
  // Opens the red, green and blue part (not with cdPreventFullOpen).
  void OpenFull();
  bool IsFull() const { return FFull; }
  // The colour of the boxes goes into the next custom swatch (round the sixteen).
  void AddCustom();
  TEdit* GetRedEdit() const { return FRGB[0]; }
  // The swatch cells in client coordinates: 0..47 basic, 48..63 custom.
  RECT CellRect(int Index) const;
  // The spectrum and the luminosity bar in client coordinates (shown when full).
  static RECT SpectrumRect();
  static RECT LuminosityRect();
  // Hue, luminosity and saturation (0..240 each) to a colour and back.
  static TColor HLSToColor(int H, int L, int S);
  static void ColorToHLS(TColor Color, int& H, int& L, int& S);

  static const std::array<TColor, 48>& BasicColors();

protected:
  void Paint() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;

private:
  void BoxesChanged();
  void ShowInBoxes();
  void PaintSpectrum(TCanvas* C);

  // The hue, saturation and luminosity shown, kept apart from the colour: a grey or black
  // colour does not lose the hue the user had chosen.
  int FHue = 0, FSat = 0, FLum = 0;

  TColor FColor;
  std::array<TColor, 16> FCustom;
  TColorDialogOptions FOptions;
  int FNextCustom = 0;
  bool FFull = false, FFilling = false;
  TButton *FDefine = nullptr, *FAdd = nullptr;
  std::array<TEdit*, 3> FRGB{};
};

class TColorDialog : public TCommonDialog {
  PELTO_CLASS(TColorDialog, TCommonDialog)
public:
  explicit TColorDialog(TComponent* AOwner);
  ~TColorDialog() override;

  bool Execute() override;
  TColor GetColor() const { return FColor; }
  void SetColor(TColor Value) { FColor = Value; }
  TStrings* GetCustomColors() const;
  void SetCustomColors(TStrings* Value);
  TColorDialogOptions GetOptions() const { return FOptions; }
  void SetOptions(TColorDialogOptions Value) { FOptions = Value; }

  PELTO_PUBLISHED(p)
  {
    p.Property("Color", TypeInfo_TColor(), &ThisClass::GetColor, &ThisClass::SetColor).Default(clBlack);
    p.Property("CustomColors", &ThisClass::GetCustomColors, &ThisClass::SetCustomColors);
    p.Property("Options", &ThisClass::GetOptions, &ThisClass::SetOptions);
  }

private:
  TColor FColor = clBlack;
  std::unique_ptr<TStringList> FCustomColors;
  TColorDialogOptions FOptions;
};
