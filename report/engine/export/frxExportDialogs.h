// The settings dialogs of the Excel, image, RTF and PDF exports. Each is a form whose controls
// carry the names its texts are registered under ("GroupPageRange", "AllRB", ...): the
// constructor applies the block registered for the class name over the stored captions. The
// filters' ShowSettingsDialog fill a dialog from their settings, show it modally and, after OK,
// take the settings back and ask for the file with SaveDialog1.
#pragma once

#include "platform/forms/forms/Form.h"

class TButton;
class TCheckBox;
class TEdit;
class TGroupBox;
class TLabel;
class TRadioButton;
class TSaveDialog;
class TfrxCustomExportFilter;

// The page range every export dialog has: all pages, the current one, or a list.
class TfrxExportDialogBase : public TForm {
  PELTO_DECLARE_CLASS(TfrxExportDialogBase, TForm)
public:
  explicit TfrxExportDialogBase(TComponent* AOwner);

  // Clears the filter's current-page flag and page list, then sets the flag for CurPageRB or
  // takes the text of PageNumbersE for PageNumbersRB.
  void StorePageRange(TfrxCustomExportFilter* Filter) const;
  // Runs the save dialog starting at FileName; true with FileName set when a file was chosen.
  bool AskFileName(AnsiString& FileName);
  // The confirming and the cancelling button, whatever their names.
  TButton* GetOkButton() const { return FOkButton; }
  TButton* GetCancelButton() const { return FCancelButton; }

  TGroupBox* GroupPageRange;
  TRadioButton *AllRB, *CurPageRB, *PageNumbersRB;
  TEdit* PageNumbersE;
  TLabel* DescrL;
  TSaveDialog* SaveDialog1;

protected:
  // Layout below the page range: the top of the next row, and helpers that place controls.
  int NextTop() const { return FNextTop; }
  TGroupBox* AddGroup(const AnsiString& Name, const AnsiString& Caption, int Rows);
  // A check box on the next row of the group Parent, or below the groups when Parent is the form.
  TCheckBox* AddCheck(TWinControl* Parent, const AnsiString& Name, const AnsiString& Caption);
  void SkipGroupRow() { ++FGroupRow; }
  // The OK and Cancel buttons at the bottom; the form's height follows. Then the registered texts.
  void Finish(const AnsiString& OkName, const AnsiString& CancelName);

  TButton *FOkButton = nullptr, *FCancelButton = nullptr;

private:
  int FNextTop = 0;
  int FGroupRow = 0;  // the next check box's row in the group being filled
};

class TfrxXLSExportDialog : public TfrxExportDialogBase {
  PELTO_DECLARE_CLASS(TfrxXLSExportDialog, TfrxExportDialogBase)
public:
  explicit TfrxXLSExportDialog(TComponent* AOwner);
  TGroupBox* GroupQuality;
  TCheckBox *StylesCB, *PicturesCB, *MergeCB, *WCB, *OpenExcelCB;
  TButton *OkB, *CancelB;
};

class TfrxIMGExportDialog : public TfrxExportDialogBase {
  PELTO_DECLARE_CLASS(TfrxIMGExportDialog, TfrxExportDialogBase)
public:
  explicit TfrxIMGExportDialog(TComponent* AOwner);
  TGroupBox* GroupBox1;
  TLabel* Label2;
  TEdit* Quality;
  TCheckBox *CropPage, *Mono;
  TButton *OK, *Cancel;
};

class TfrxRTFExportDialog : public TfrxExportDialogBase {
  PELTO_DECLARE_CLASS(TfrxRTFExportDialog, TfrxExportDialogBase)
public:
  explicit TfrxRTFExportDialog(TComponent* AOwner);
  TGroupBox* GroupQuality;
  TCheckBox *WCB, *PageBreaksCB, *PicturesCB, *OpenCB;
  TButton *OkB, *CancelB;
};

class TfrxPDFExportDialog : public TfrxExportDialogBase {
  PELTO_DECLARE_CLASS(TfrxPDFExportDialog, TfrxExportDialogBase)
public:
  explicit TfrxPDFExportDialog(TComponent* AOwner);
  TGroupBox* GroupQuality;
  TCheckBox *CompressedCB, *EmbeddedCB, *OpenCB;
  TButton *OkB, *CancelB;
};
