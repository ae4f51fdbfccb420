// The print dialog: printer, pages, copies and collation before the prepared pages print. It
// makes the chosen printer current at once and puts the former one back when cancelled. Print
// to file asks for a name and gives it the extension ".prn". The printer's properties are a
// small dialog of the project over its paper bins.
#pragma once

#include "platform/forms/forms/Form.h"
#include "report/engine/print/frxPrintDialog.h"

class TButton;
class TCheckBox;
class TComboBox;
class TEdit;
class TfrxCustomPrinter;
class TLabel;
class TPaintBox;
class TRadioButton;
class TUpDown;

class TfrxPrintDialog : public TForm {
  PELTO_DECLARE_CLASS(TfrxPrintDialog, TForm)
public:
  explicit TfrxPrintDialog(TComponent* AOwner);

  TComboBox* PrintersCB;
  TComboBox* PrintPagesCB;
  TLabel *PrintL, *TypeL1, *WhereL1, *DescrL, *CollateL;
  TButton *PropButton, *OkB, *CancelB;
  TCheckBox *FileCB, *ReverseCB, *CollateCB;
  TRadioButton *AllRB, *CurPageRB, *PageNumbersRB;
  TEdit *PageNumbersE, *CopiesE;
  TUpDown* UpDown1;
  TControl* CopiesPB;

  // The printer index current when the dialog showed.
  Integer GetRememberedPrinter() const { return FRemembered; }
  // A printer was chosen in PrintersCB.
  void PrinterChosen();

protected:
  void DoShow() override;
  void DoClose(TCloseAction& Action) override;

private:
  void ShowPrinter();
  void OkClick();
  Integer FRemembered = -1;
};

// The properties of a printer: its paper bin for the next job.
class TfrxPrinterPropertiesForm : public TForm {
  PELTO_DECLARE_CLASS(TfrxPrinterPropertiesForm, TForm)
public:
  TfrxPrinterPropertiesForm(TComponent* AOwner, TfrxCustomPrinter* APrinter);
  TComboBox* BinCB;
  // The chosen bin becomes the printer's Bin (remembered until the job ends).
  void Apply();

private:
  TfrxCustomPrinter* FPrinter;
};

namespace frxPrintDialogForm {
// Shows the dialog over Settings (as the print seam asks); False when cancelled.
bool Execute(TfrxReport* Report, TfrxPrintSettings& Settings);
// The printer's properties dialog; answers whether it was confirmed.
bool ShowProperties(TfrxCustomPrinter* Printer);
}  // namespace frxPrintDialogForm
