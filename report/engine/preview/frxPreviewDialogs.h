// The preview's two small dialogs: the find dialog (the last confirmed text is kept for the
// whole process and offered again) and the page settings of one prepared page, in centimetres,
// over the current printer's papers.
#pragma once

#include "platform/forms/forms/Form.h"
#include "platform/rtl/System.h"

class TButton;
class TCheckBox;
class TComboBox;
class TEdit;
class TfrxReportPage;
class TLabel;
class TPanel;
class TRadioButton;
class TShape;

class TfrxSearchDialog : public TForm {
  PELTO_DECLARE_CLASS(TfrxSearchDialog, TForm)
public:
  explicit TfrxSearchDialog(TComponent* AOwner);

  TEdit* GetTextE() const { return FTextE; }
  TCheckBox* GetCaseCB() const { return FCaseCB; }
  TCheckBox* GetTopCB() const { return FTopCB; }
  TButton* GetOkB() const { return FOkB; }
  TPanel* GetReplacePanel() const { return FReplacePanel; }
  // The last confirmed search text of the process.
  static AnsiString& LastText();

protected:
  void DoShow() override;

private:
  TEdit* FTextE;
  TCheckBox *FCaseCB, *FTopCB;
  TButton *FOkB, *FCancelB;
  TPanel* FReplacePanel;
  TEdit* FReplaceE;
};

class TfrxPageSettingsForm : public TForm {
  PELTO_DECLARE_CLASS(TfrxPageSettingsForm, TForm)
public:
  explicit TfrxPageSettingsForm(TComponent* AOwner);

  // The page edited; borrowed, set before showing.
  TfrxReportPage* Page = nullptr;
  bool GetApplyToAll() const;

  TComboBox* GetSizeCB() const { return FSizeCB; }
  TEdit* GetWidthE() const { return FWidthE; }
  TEdit* GetHeightE() const { return FHeightE; }
  TEdit* GetMarginE(int Side) const { return FMarginE[Side]; }  // 0 left, 1 top, 2 right, 3 bottom
  TRadioButton* GetPortraitRB() const { return FPortraitRB; }
  TRadioButton* GetLandscapeRB() const { return FLandscapeRB; }
  TRadioButton* GetApplyToAllRB() const { return FApplyToAllRB; }
  TButton* GetOKB() const { return FOKB; }

  // Fills the boxes from Page (done when shown).
  void LoadPage();
  // A paper or orientation was chosen: the printer's sheet for it.
  void PaperChanged();
  // Writes the boxes into Page (done on OK); a box that is no number raises EConvertError
  // before anything is stored.
  void StorePage();

protected:
  void DoShow() override;

private:
  void SizeTyped();
  void UpdatePictures();

  TComboBox* FSizeCB;
  TEdit *FWidthE, *FHeightE;
  TEdit* FMarginE[4];
  TRadioButton *FPortraitRB, *FLandscapeRB, *FApplyToCurRB, *FApplyToAllRB;
  TShape *FPortraitImg, *FLandscapeImg;
  TButton *FOKB, *FCancelB;
  bool FUpdating = false;
};

namespace frxPreviewDialogs {
// A label at (X, Y) on Parent.
TLabel* AddLabel(TWinControl* Parent, const AnsiString& Name, const AnsiString& Caption, int X, int Y);
// Names Control, puts it on Parent at the given bounds.
void Place(TControl* Control, TWinControl* Parent, const AnsiString& Name, int X, int Y, int W, int H);
// Millimetres as the boxes show centimetres: whole values without decimals, else two.
AnsiString Centimetres(Extended Millimetres);
}  // namespace frxPreviewDialogs
