// The print dialog (printer, page range, copies, collation, printing to a file) and the
// printer set-up dialog (printer, paper, orientation), over the printers of platform/sys.
// Execute writes the choice back only when confirmed; the printer chosen is kept by the dialog
// (Printer), starting at the default printer. Confirming the print dialog checks the copies
// (1 .. 9999) and the page range (within MinPage .. MaxPage, From not after To) and says what
// is wrong through the message seam.
#pragma once

#include <vector>

#include "platform/forms/forms/Form.h"
#include "platform/stdctrls/dialogs/CommDlg.h"
#include "platform/sys/WinSpool.h"

class TCheckBox;
class TComboBox;
class TEdit;
class TRadioButton;

PELTO_ENUM(TPrintRange, prAllPages, prSelection, prPageNums)
PELTO_ENUM(TPrintDialogOption, poPrintToFile, poPageNums, poSelection, poWarning, poHelp, poDisablePrintToFile)
PELTO_SET(TPrintDialogOptions, TPrintDialogOption)

// What the print dialog shows and answers.
struct TPrintChoice {
  AnsiString Printer;
  TPrintRange Range = prAllPages;
  int FromPage = 0, ToPage = 0, MinPage = 0, MaxPage = 0;
  int Copies = 1;
  bool Collate = false, PrintToFile = false;
};

class TPrintDialogForm : public TForm {
  PELTO_CLASS(TPrintDialogForm, TForm)
public:
  TPrintDialogForm(TComponent* AOwner, const TPrintChoice& Choice, TPrintDialogOptions Options);
  TComboBox* GetPrinterBox() const { return FPrinters; }
  TRadioButton* GetPagesButton() const { return FPages; }
  TEdit* GetFromEdit() const { return FFrom; }
  TEdit* GetToEdit() const { return FTo; }
  TEdit* GetCopiesEdit() const { return FCopies; }
  // Checks the boxes and closes with mrOk, or says why not (false).
  bool Confirm();
  const TPrintChoice& GetChoice() const { return FChoice; }

private:
  TPrintChoice FChoice;
  TComboBox* FPrinters = nullptr;
  TRadioButton *FAll = nullptr, *FPages = nullptr, *FSelection = nullptr;
  TEdit *FFrom = nullptr, *FTo = nullptr, *FCopies = nullptr;
  TCheckBox *FCollate = nullptr, *FToFile = nullptr;
};

class TPrintDialog : public TCommonDialog {
  PELTO_CLASS(TPrintDialog, TCommonDialog)
public:
  explicit TPrintDialog(TComponent* AOwner);
  bool Execute() override;

  const AnsiString& GetPrinter() const { return FChoice.Printer; }
  void SetPrinter(const AnsiString& Value) { FChoice.Printer = Value; }
  bool GetCollate() const { return FChoice.Collate; }
  void SetCollate(bool Value) { FChoice.Collate = Value; }
  int GetCopies() const { return FChoice.Copies; }
  void SetCopies(int Value) { FChoice.Copies = Value; }
  int GetFromPage() const { return FChoice.FromPage; }
  void SetFromPage(int Value) { FChoice.FromPage = Value; }
  int GetToPage() const { return FChoice.ToPage; }
  void SetToPage(int Value) { FChoice.ToPage = Value; }
  int GetMinPage() const { return FChoice.MinPage; }
  void SetMinPage(int Value) { FChoice.MinPage = Value; }
  int GetMaxPage() const { return FChoice.MaxPage; }
  void SetMaxPage(int Value) { FChoice.MaxPage = Value; }
  TPrintRange GetPrintRange() const { return FChoice.Range; }
  void SetPrintRange(TPrintRange Value) { FChoice.Range = Value; }
  bool GetPrintToFile() const { return FChoice.PrintToFile; }
  void SetPrintToFile(bool Value) { FChoice.PrintToFile = Value; }
  TPrintDialogOptions GetOptions() const { return FOptions; }
  void SetOptions(TPrintDialogOptions Value) { FOptions = Value; }

  PELTO_PUBLISHED(p)
  {
    p.Property("Collate", &ThisClass::GetCollate, &ThisClass::SetCollate).Default(false);
    p.Property("Copies", &ThisClass::GetCopies, &ThisClass::SetCopies).Default(1);
    p.Property("FromPage", &ThisClass::GetFromPage, &ThisClass::SetFromPage).Default(0);
    p.Property("MinPage", &ThisClass::GetMinPage, &ThisClass::SetMinPage).Default(0);
    p.Property("MaxPage", &ThisClass::GetMaxPage, &ThisClass::SetMaxPage).Default(0);
    p.Property("Options", &ThisClass::GetOptions, &ThisClass::SetOptions);
    p.Property("PrintToFile", &ThisClass::GetPrintToFile, &ThisClass::SetPrintToFile).Default(false);
    p.Property("PrintRange", &ThisClass::GetPrintRange, &ThisClass::SetPrintRange).Default(prAllPages);
    p.Property("ToPage", &ThisClass::GetToPage, &ThisClass::SetToPage).Default(0);
  }

private:
  TPrintChoice FChoice;
  TPrintDialogOptions FOptions;
};

class TPrinterSetupForm : public TForm {
  PELTO_CLASS(TPrinterSetupForm, TForm)
public:
  TPrinterSetupForm(TComponent* AOwner, const AnsiString& Printer, const WinSpool::DEVMODE& Settings);
  TComboBox* GetPrinterBox() const { return FPrinters; }
  TComboBox* GetPaperBox() const { return FPapers; }
  TRadioButton* GetLandscapeButton() const { return FLandscape; }
  AnsiString GetPrinter() const;
  // The printer's settings with the paper and orientation chosen.
  WinSpool::DEVMODE GetSettings() const;

private:
  void PrinterChanged(const WinSpool::DEVMODE* Keep);

  TComboBox *FPrinters = nullptr, *FPapers = nullptr;
  TRadioButton *FPortrait = nullptr, *FLandscape = nullptr;
  std::vector<short> FPaperNumbers;  // the paper box's lines
  WinSpool::DEVMODE FSettings;
};

class TPrinterSetupDialog : public TCommonDialog {
  PELTO_CLASS(TPrinterSetupDialog, TCommonDialog)
public:
  explicit TPrinterSetupDialog(TComponent* AOwner);
  bool Execute() override;
  const AnsiString& GetPrinter() const { return FPrinter; }
  void SetPrinter(const AnsiString& Value) { FPrinter = Value; }
  // The chosen printer's settings (paper, orientation) after a confirmed run.
  const WinSpool::DEVMODE& GetSettings() const { return FSettings; }

private:
  AnsiString FPrinter;
  WinSpool::DEVMODE FSettings;
};
