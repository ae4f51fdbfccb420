#include "platform/stdctrls/dialogs/PrintDialogs.h"

#include <cstring>

#include "platform/rtl/Conversions.h"
#include "platform/rtl/FormatText.h"
#include "platform/rtl/MessageSeam.h"
#include "platform/rtl/StringList.h"
#include "platform/rtl/StringUtils.h"
#include "platform/stdctrls/buttons/CheckBox.h"
#include "platform/stdctrls/buttons/GroupBox.h"
#include "platform/stdctrls/buttons/RadioButton.h"
#include "platform/stdctrls/dialogs/DialogControls.h"
#include "platform/stdctrls/edits/CustomEdit.h"
#include "platform/stdctrls/lists/ComboBox.h"

using namespace DialogControls;

namespace {

// The printers in a drop-down box, Selected (else the default printer) chosen.
TComboBox* PrinterBox(TComponent* Owner, TWinControl* Parent, const AnsiString& Selected)
{
  auto* box = Place<TComboBox>(Owner, Parent, 80, 20, 260, 21);
  Caption(Owner, Parent, "名称(&N):", 10, 23, box);
  box->SetStyle(csDropDownList);
  for (const AnsiString& p : WinSpool::EnumPrinters()) box->GetItems()->Add(p);
  int i = box->GetItems()->IndexOf(Selected);
  if (i < 0) i = box->GetItems()->IndexOf(WinSpool::GetDefaultPrinter());
  box->SetItemIndex(i < 0 ? 0 : i);
  return box;
}

AnsiString Chosen(TComboBox* Box)
{
  int i = Box->GetItemIndex();
  return i >= 0 ? Box->GetItems()->GetStrings(i) : AnsiString();
}

}  // namespace

// ---- The print dialog ----------------------------------------------------------------------------

TPrintDialogForm::TPrintDialogForm(TComponent* AOwner, const TPrintChoice& Choice, TPrintDialogOptions Options)
    : TForm(AOwner), FChoice(Choice)
{
  SetCaption("打印");
  SetBorderStyle(bsDialog);
  SetPosition(poScreenCenter);
  SetClientSize(370, 270);

  auto* printer = Place<TGroupBox>(this, this, 8, 6, 354, 80);
  printer->SetCaption("打印机");
  FPrinters = PrinterBox(this, printer, Choice.Printer);
  FToFile = Place<TCheckBox>(this, printer, 80, 50, 160, 20);
  FToFile->SetCaption("打印到文件(&L)");
  FToFile->SetVisible(Options.Contains(poPrintToFile));
  FToFile->SetEnabled(!Options.Contains(poDisablePrintToFile));
  FToFile->SetChecked(Choice.PrintToFile);

  auto* range = Place<TGroupBox>(this, this, 8, 92, 200, 135);
  range->SetCaption("打印范围");
  FAll = Place<TRadioButton>(this, range, 10, 20, 180, 20);
  FAll->SetCaption("全部(&A)");
  FPages = Place<TRadioButton>(this, range, 10, 46, 180, 20);
  FPages->SetCaption("页码范围(&G)");
  FPages->SetEnabled(Options.Contains(poPageNums));
  FFrom = Place<TEdit>(this, range, 60, 72, 40, 21);
  Caption(this, range, "从(&F):", 28, 75, FFrom);
  FTo = Place<TEdit>(this, range, 140, 72, 40, 21);
  Caption(this, range, "到(&T):", 108, 75, FTo);
  FFrom->SetText(SysUtils::IntToStr(Choice.FromPage));
  FTo->SetText(SysUtils::IntToStr(Choice.ToPage));
  FSelection = Place<TRadioButton>(this, range, 10, 104, 180, 20);
  FSelection->SetCaption("选定范围(&S)");
  FSelection->SetEnabled(Options.Contains(poSelection));
  (Choice.Range == prPageNums ? FPages : Choice.Range == prSelection ? FSelection : FAll)->SetChecked(true);
  // Typing a page number chooses the page range.
  for (TEdit* e : {FFrom, FTo})
    e->OnChange = [this](TObject*) {
      if (FPages->GetEnabled() && (FFrom->Focused() || FTo->Focused())) FPages->SetChecked(true);
    };

  auto* copies = Place<TGroupBox>(this, this, 216, 92, 146, 135);
  copies->SetCaption("份数");
  FCopies = Place<TEdit>(this, copies, 80, 24, 50, 21);
  Caption(this, copies, "份数(&C):", 10, 27, FCopies);
  FCopies->SetText(SysUtils::IntToStr(Choice.Copies < 1 ? 1 : Choice.Copies));
  FCollate = Place<TCheckBox>(this, copies, 10, 60, 130, 20);
  FCollate->SetCaption("逐份打印(&O)");
  FCollate->SetChecked(Choice.Collate);

  OkCancel(this, this, 204, 238, [this](TObject*) { Confirm(); });
  SetActiveControl(FPrinters);
}

bool TPrintDialogForm::Confirm()
{
  auto refuse = [this](const AnsiString& Text, TEdit* Focus) {
    MessageSeam::Show(Text, "打印", MB_OK | MB_ICONWARNING);
    if (GetVisible() && Focus->CanFocus()) Focus->SetFocus();
    return false;
  };
  int copies = SysUtils::StrToIntDef(SysUtils::Trim(FCopies->GetText()), 0);
  if (copies < 1 || copies > 9999) return refuse("份数必须是 1 到 9999 之间的数。", FCopies);
  TPrintChoice c = FChoice;
  c.Range = FPages->GetChecked() ? prPageNums : FSelection->GetChecked() ? prSelection : prAllPages;
  if (c.Range == prPageNums) {
    int from = SysUtils::StrToIntDef(SysUtils::Trim(FFrom->GetText()), -1);
    int to = SysUtils::StrToIntDef(SysUtils::Trim(FTo->GetText()), -1);
    int low = std::max(c.MinPage, 1), high = c.MaxPage > 0 ? c.MaxPage : 0x7FFF;
    if (from < low || from > high)
      return refuse(SysUtils::Format("页码超出范围。\r\n请输入 %d 到 %d 之间的数。", {low, high}), FFrom);
    if (to < from || to > high)
      return refuse(SysUtils::Format("页码超出范围。\r\n请输入 %d 到 %d 之间的数。", {from, high}), FTo);
    c.FromPage = from;
    c.ToPage = to;
  }
  c.Printer = Chosen(FPrinters);
  c.Copies = copies;
  c.Collate = FCollate->GetChecked();
  c.PrintToFile = FToFile->GetVisible() && FToFile->GetChecked();
  FChoice = c;
  SetModalResult(mrOk);
  return true;
}

TPrintDialog::TPrintDialog(TComponent* AOwner) : TCommonDialog(AOwner) {}

bool TPrintDialog::Execute()
{
  TPrintDialogForm form(nullptr, FChoice, FOptions);
  form.OnShow = [this](TObject*) { DoShow(); };
  bool ok = form.ShowModal() == mrOk;
  DoClose();
  if (ok) FChoice = form.GetChoice();
  return ok;
}

// ---- The printer set-up dialog -------------------------------------------------------------------

TPrinterSetupForm::TPrinterSetupForm(TComponent* AOwner, const AnsiString& Printer, const WinSpool::DEVMODE& Settings)
    : TForm(AOwner), FSettings(Settings)
{
  SetCaption("打印设置");
  SetBorderStyle(bsDialog);
  SetPosition(poScreenCenter);
  SetClientSize(370, 200);
  auto* printer = Place<TGroupBox>(this, this, 8, 6, 354, 56);
  printer->SetCaption("打印机");
  FPrinters = PrinterBox(this, printer, Printer);
  FPrinters->OnSelect = [this](TObject*) { PrinterChanged(nullptr); };

  auto* paper = Place<TGroupBox>(this, this, 8, 68, 220, 90);
  paper->SetCaption("纸张");
  FPapers = Place<TComboBox>(this, paper, 70, 24, 140, 21);
  Caption(this, paper, "大小(&Z):", 10, 27, FPapers);
  FPapers->SetStyle(csDropDownList);

  auto* turn = Place<TGroupBox>(this, this, 236, 68, 126, 90);
  turn->SetCaption("方向");
  FPortrait = Place<TRadioButton>(this, turn, 10, 24, 100, 20);
  FPortrait->SetCaption("纵向(&O)");
  FLandscape = Place<TRadioButton>(this, turn, 10, 52, 100, 20);
  FLandscape->SetCaption("横向(&A)");
  OkCancel(this, this, 204, 168, [this](TObject*) { SetModalResult(mrOk); });
  PrinterChanged(&Settings);
}

void TPrinterSetupForm::PrinterChanged(const WinSpool::DEVMODE* Keep)
{
  AnsiString name = Chosen(FPrinters);
  WinSpool::DEVMODE own;
  if (WinSpool::GetPrinterSettings(name, own)) FSettings = own;
  if (Keep) {
    FSettings.dmPaperSize = Keep->dmPaperSize;
    FSettings.dmOrientation = Keep->dmOrientation;
  }
  int n = WinSpool::DeviceCapabilities(name, "", WinSpool::DC_PAPERS, nullptr, nullptr);
  FPaperNumbers.clear();
  FPapers->GetItems()->Clear();
  if (n > 0) {
    std::vector<WORD> numbers(static_cast<size_t>(n));
    std::vector<char> names(static_cast<size_t>(n) * 64);
    WinSpool::DeviceCapabilities(name, "", WinSpool::DC_PAPERS, numbers.data(), nullptr);
    WinSpool::DeviceCapabilities(name, "", WinSpool::DC_PAPERNAMES, names.data(), nullptr);
    for (int i = 0; i < n; ++i) {
      const char* p = &names[size_t(i) * 64];
      FPaperNumbers.push_back(short(numbers[size_t(i)]));
      FPapers->GetItems()->Add(AnsiString(p, strnlen(p, 64)));
    }
  }
  int at = 0;
  for (size_t i = 0; i < FPaperNumbers.size(); ++i)
    if (FPaperNumbers[i] == FSettings.dmPaperSize) at = int(i);
  FPapers->SetItemIndex(FPaperNumbers.empty() ? -1 : at);
  (FSettings.dmOrientation == WinSpool::DMORIENT_LANDSCAPE ? FLandscape : FPortrait)->SetChecked(true);
}

AnsiString TPrinterSetupForm::GetPrinter() const { return Chosen(FPrinters); }

WinSpool::DEVMODE TPrinterSetupForm::GetSettings() const
{
  WinSpool::DEVMODE s = FSettings;
  int i = FPapers->GetItemIndex();
  if (i >= 0 && i < int(FPaperNumbers.size())) s.dmPaperSize = FPaperNumbers[size_t(i)];
  s.dmOrientation = FLandscape->GetChecked() ? WinSpool::DMORIENT_LANDSCAPE : WinSpool::DMORIENT_PORTRAIT;
  s.dmFields |= WinSpool::DM_PAPERSIZE | WinSpool::DM_ORIENTATION;
  return s;
}

TPrinterSetupDialog::TPrinterSetupDialog(TComponent* AOwner) : TCommonDialog(AOwner) {}

bool TPrinterSetupDialog::Execute()
{
  AnsiString printer = FPrinter.empty() ? WinSpool::GetDefaultPrinter() : FPrinter;
  WinSpool::DEVMODE start = FSettings;
  if (FPrinter.empty()) WinSpool::GetPrinterSettings(printer, start);
  TPrinterSetupForm form(nullptr, printer, start);
  form.OnShow = [this](TObject*) { DoShow(); };
  bool ok = form.ShowModal() == mrOk;
  DoClose();
  if (!ok) return false;
  FPrinter = form.GetPrinter();
  FSettings = form.GetSettings();
  return true;
}
