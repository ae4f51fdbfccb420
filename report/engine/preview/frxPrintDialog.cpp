#include "report/engine/preview/frxPrintDialog.h"

#include "platform/forms/graphics/Bitmap.h"
#include "platform/forms/graphics/Brush.h"
#include "platform/forms/graphics/Canvas.h"
#include "platform/forms/graphics/Font.h"
#include "platform/forms/graphics/Pen.h"
#include "platform/forms/graphics/Picture.h"
#include "platform/rtl/Conversions.h"
#include "platform/rtl/FileUtils.h"
#include "platform/rtl/FormatText.h"
#include "platform/rtl/StringUtils.h"
#include "platform/stdctrls/buttons/Button.h"
#include "platform/stdctrls/buttons/CheckBox.h"
#include "platform/stdctrls/buttons/GroupBox.h"
#include "platform/stdctrls/buttons/RadioButton.h"
#include "platform/stdctrls/comctrls/UpDown.h"
#include "platform/stdctrls/dialogs/CommDlg.h"
#include "platform/stdctrls/edits/CustomEdit.h"
#include "platform/stdctrls/lists/ComboBox.h"
#include "platform/stdctrls/panels/Image.h"
#include "platform/stdctrls/panels/Label.h"
#include "report/engine/model/frxReport.h"
#include "report/engine/model/frxRes.h"
#include "report/engine/prepared/frxPreviewPages.h"
#include "report/engine/preview/frxPreviewDialogs.h"
#include "report/engine/print/frxPrinter.h"

using frxPreviewDialogs::AddLabel;
using frxPreviewDialogs::Place;

namespace {

TButton* DialogButton(TForm* Form, TWinControl* Parent, const AnsiString& Name, const AnsiString& Caption, int X, int Y,
                      int W = 75)
{
  auto* b = new TButton(Form);
  Place(b, Parent, Name, X, Y, W, 25);
  b->SetCaption(Caption);
  return b;
}

// Three sheets, numbered 1 2 3 twice: collated in runs, uncollated in pairs.
void DrawCollation(TImage* Image, bool Collated, TColor Background)
{
  TBitmap* b = Image->GetPicture()->GetBitmap();
  b->SetWidth(Image->GetWidth());
  b->SetHeight(Image->GetHeight());
  TCanvas* c = b->GetCanvas();
  c->GetBrush()->SetColor(Background);
  c->FillRect(RECT{0, 0, b->GetWidth(), b->GetHeight()});
  c->GetFont()->SetName("Tahoma");
  c->GetFont()->SetHeight(-9);
  static const int kCollated[6] = {1, 2, 3, 1, 2, 3}, kPlain[6] = {1, 1, 2, 2, 3, 3};
  const int* order = Collated ? kCollated : kPlain;
  for (int i = 0; i < 6; ++i) {
    int x = (i / 3) * 64 + (i % 3) * 8, y = 4 + (i % 3) * 4;
    c->GetPen()->SetColor(clBlack);
    c->GetBrush()->SetColor(clWhite);
    c->Rectangle(x, y, x + 18, y + 24);
    c->GetBrush()->SetStyle(bsClear);
    c->TextOut(x + 6, y + 12, SysUtils::IntToStr(order[i]));
    c->GetBrush()->SetStyle(bsSolid);
  }
  Image->Invalidate();
}

}  // namespace

// ==== TfrxPrintDialog ==========================================================================

TfrxPrintDialog::TfrxPrintDialog(TComponent* AOwner) : TForm(AOwner)
{
  SetName("frxPrintDialog");
  SetBorderStyle(bsDialog);
  SetPosition(poScreenCenter);
  SetClientSize(424, 318);
  GetFont()->SetName("Tahoma");
  GetFont()->SetSize(8);
  SetCaption("打印");

  auto* printer = new TGroupBox(this);
  Place(printer, this, "Label12", 8, 4, 408, 112);
  printer->SetCaption("打印机   ");
  PrintersCB = new TComboBox(this);
  Place(PrintersCB, printer, "PrintersCB", 12, 20, 280, 22);
  PrintersCB->SetStyle(csOwnerDrawFixed);
  PrintersCB->SetItemHeight(18);
  PrintersCB->OnChange = [this](TObject*) { PrinterChosen(); };
  PrintersCB->OnDrawItem = [this](TObject*, int Index, RECT R, TOwnerDrawState) {
    TCanvas* c = PrintersCB->GetCanvas();
    c->FillRect(R);
    // The printer picture: a sheet over a box.
    c->GetPen()->SetColor(clBlack);
    TColor text = c->GetFont()->GetColor();
    c->GetBrush()->SetColor(clWhite);
    c->Rectangle(R.left + 6, R.top + 1, R.left + 14, R.top + 7);
    c->GetBrush()->SetColor(clGray);
    c->Rectangle(R.left + 2, R.top + 7, R.left + 18, R.top + 14);
    c->GetBrush()->SetStyle(bsClear);
    c->GetFont()->SetColor(text);
    if (Index >= 0 && Index < PrintersCB->GetItems()->GetCount())
      c->TextOut(R.left + 24, R.top + 1, (*PrintersCB->GetItems())[Index]);
    c->GetBrush()->SetStyle(bsSolid);
  };
  PropButton = DialogButton(this, printer, "PropButton", "属性(&P)", 308, 18, 88);
  PropButton->OnClick = [](TObject*) {
    if (TfrxCustomPrinter* p = frxPrinter::GetPrinters()->GetCurrentPrinter()) frxPrintDialogForm::ShowProperties(p);
  };
  AddLabel(printer, "TypeL", "类型:", 12, 52);
  TypeL1 = AddLabel(printer, "TypeL1", "", 64, 52);
  AddLabel(printer, "WhereL", "位置:", 12, 70);
  WhereL1 = AddLabel(printer, "WhereL1", "", 64, 70);
  FileCB = new TCheckBox(this);
  Place(FileCB, printer, "FileCB", 12, 88, 180, 17);
  FileCB->SetCaption("打印到文件");
  ReverseCB = new TCheckBox(this);
  Place(ReverseCB, printer, "ReverseCB", 200, 88, 190, 17);
  ReverseCB->SetCaption("逆页序打印(&V)");

  auto* pages = new TGroupBox(this);
  Place(pages, this, "Label1", 8, 122, 224, 150);
  pages->SetCaption("页面   ");
  AllRB = new TRadioButton(this);
  Place(AllRB, pages, "AllRB", 12, 20, 120, 17);
  AllRB->SetCaption("全部(&A)");
  AllRB->SetChecked(true);
  CurPageRB = new TRadioButton(this);
  Place(CurPageRB, pages, "CurPageRB", 12, 42, 120, 17);
  CurPageRB->SetCaption("当前页(&E)");
  PageNumbersRB = new TRadioButton(this);
  Place(PageNumbersRB, pages, "PageNumbersRB", 12, 64, 80, 17);
  PageNumbersRB->SetCaption("页数(&G):");
  PageNumbersRB->OnClick = [this](TObject*) {
    if (PageNumbersE->CanFocus()) PageNumbersE->SetFocus();
  };
  PageNumbersE = new TEdit(this);
  Place(PageNumbersE, pages, "PageNumbersE", 96, 62, 116, 21);
  PageNumbersE->OnEnter = [this](TObject*) { PageNumbersRB->SetChecked(true); };
  DescrL = AddLabel(pages, "DescrL", "请键入页码或用逗号分隔的页码范围(例如:1,3,5-12)", 12, 90);
  DescrL->SetAutoSize(false);
  DescrL->SetWordWrap(true);
  DescrL->SetBounds(12, 90, 200, 32);
  PrintL = AddLabel(pages, "PrintL", "打印", 12, 126);
  PrintPagesCB = new TComboBox(this);
  Place(PrintPagesCB, pages, "PrintPagesCB", 60, 122, 120, 21);
  PrintPagesCB->SetStyle(csDropDownList);
  PrintPagesCB->GetItems()->Add(frxRes::Get("ppAll"));
  PrintPagesCB->GetItems()->Add(frxRes::Get("ppOdd"));
  PrintPagesCB->GetItems()->Add(frxRes::Get("ppEven"));
  PrintPagesCB->SetItemIndex(0);

  auto* copies = new TGroupBox(this);
  Place(copies, this, "Label2", 240, 122, 176, 150);
  copies->SetCaption("份数(&C)   ");
  AddLabel(copies, "CopiesL", "打印份数", 12, 24);
  CopiesE = new TEdit(this);
  Place(CopiesE, copies, "CopiesE", 80, 20, 56, 21);
  UpDown1 = new TUpDown(this);
  UpDown1->SetName("UpDown1");
  UpDown1->SetParent(copies);
  UpDown1->SetMin(1);
  UpDown1->SetMax(9999);
  UpDown1->SetAssociate(CopiesE);
  UpDown1->SetPosition(1);
  auto* picture = new TImage(this);
  Place(picture, copies, "CopiesPB", 12, 52, 150, 44);
  CopiesPB = picture;
  CollateCB = new TCheckBox(this);
  Place(CollateCB, copies, "CollateCB", 12, 110, 17, 17);
  CollateCB->SetChecked(true);
  CollateCB->OnClick = [this, picture](TObject*) { DrawCollation(picture, CollateCB->GetChecked(), GetColor()); };
  CollateL = AddLabel(copies, "CollateL", "逐份打印(&T)", 32, 112);
  CollateL->OnClick = [this](TObject*) { CollateCB->SetChecked(!CollateCB->GetChecked()); };
  CollateL->OnDblClick = CollateL->OnClick;

  OkB = DialogButton(this, this, "OkB", "确定", 260, 284);
  OkB->SetDefault(true);
  OkB->OnClick = [this](TObject*) { OkClick(); };
  CancelB = DialogButton(this, this, "CancelB", "取消", 341, 284);
  CancelB->SetCancel(true);
  CancelB->SetModalResult(mrCancel);
  frxRes::frxResources()->ApplyFormTexts(this);
}

void TfrxPrintDialog::ShowPrinter()
{
  TfrxCustomPrinter* p = frxPrinter::GetPrinters()->GetCurrentPrinter();
  TypeL1->SetCaption(p ? p->Name : AnsiString());
  WhereL1->SetCaption(p ? p->Port : AnsiString());
}

void TfrxPrintDialog::DoShow()
{
  TfrxPrinters* printers = frxPrinter::GetPrinters();
  PrintersCB->GetItems()->Assign(const_cast<TStringList*>(&printers->GetPrinters()));
  PrintersCB->SetItemIndex(printers->GetPrinterIndex());
  FRemembered = printers->GetPrinterIndex();
  ShowPrinter();
  DrawCollation(static_cast<TImage*>(CopiesPB), CollateCB->GetChecked(), GetColor());
  PrintPagesCB->SetLeft(PrintL->GetLeft() + PrintL->GetWidth() + 11);
  TForm::DoShow();
}

void TfrxPrintDialog::PrinterChosen()
{
  int i = PrintersCB->GetItemIndex();
  if (i >= 0) frxPrinter::GetPrinters()->SetPrinterIndex(i);
  ShowPrinter();
}

void TfrxPrintDialog::OkClick()
{
  TfrxCustomPrinter* p = frxPrinter::GetPrinters()->GetCurrentPrinter();
  if (p) p->FileName.clear();
  if (FileCB->GetChecked()) {
    TSaveDialog save(nullptr);
    save.SetTitle("Print To File");
    save.SetFilter("Printer files (*.prn)|*.prn");
    if (!save.Execute()) {
      SetModalResult(mrCancel);
      return;
    }
    if (p) p->FileName = SysUtils::ChangeFileExt(save.GetFileName(), ".prn");
  }
  SetModalResult(mrOk);
}

void TfrxPrintDialog::DoClose(TCloseAction& Action)
{
  if (GetModalResult() != mrOk) {
    frxPrinter::GetPrinters()->SetPrinterIndex(FRemembered);
    if (TfrxCustomPrinter* p = frxPrinter::GetPrinters()->GetCurrentPrinter()) p->FileName.clear();
  }
  TForm::DoClose(Action);
}

// ==== TfrxPrinterPropertiesForm ================================================================

TfrxPrinterPropertiesForm::TfrxPrinterPropertiesForm(TComponent* AOwner, TfrxCustomPrinter* APrinter)
    : TForm(AOwner), FPrinter(APrinter)
{
  SetName("frxPrinterPropertiesForm");
  SetBorderStyle(bsDialog);
  SetPosition(poScreenCenter);
  SetClientSize(300, 96);
  GetFont()->SetName("Tahoma");
  GetFont()->SetSize(8);
  SetCaption(APrinter->Name);
  AddLabel(this, "BinL", "纸张来源:", 12, 18);
  BinCB = new TComboBox(this);
  Place(BinCB, this, "BinCB", 80, 14, 208, 21);
  BinCB->SetStyle(csDropDownList);
  BinCB->GetItems()->Assign(&APrinter->Bins);
  Integer current = APrinter->Bin >= 0 ? APrinter->BinIndex(APrinter->Bin) : 0;
  BinCB->SetItemIndex(current >= 0 ? current : 0);
  TButton* ok = DialogButton(this, this, "OkB", "确定", 132, 60);
  ok->SetDefault(true);
  ok->SetModalResult(mrOk);
  TButton* cancel = DialogButton(this, this, "CancelB", "取消", 213, 60);
  cancel->SetCancel(true);
  cancel->SetModalResult(mrCancel);
}

void TfrxPrinterPropertiesForm::Apply()
{
  int i = BinCB->GetItemIndex();
  if (i >= 0) FPrinter->Bin = FPrinter->BinNameToNumber((*BinCB->GetItems())[i]);
}

// ==== The print seam ===========================================================================

namespace frxPrintDialogForm {

bool ShowProperties(TfrxCustomPrinter* Printer)
{
  if (!Printer) return false;
  TfrxPrinterPropertiesForm form(nullptr, Printer);
  if (form.ShowModal() != mrOk) return false;
  form.Apply();
  return true;
}

bool Execute(TfrxReport* Report, TfrxPrintSettings& Settings)
{
  TfrxPrintDialog dialog(nullptr);
  dialog.UpDown1->SetPosition(Settings.Copies);
  dialog.CollateCB->SetChecked(Settings.Collate);
  dialog.PageNumbersE->SetText(Settings.PageNumbers);
  if (!Settings.PageNumbers.empty()) dialog.PageNumbersRB->SetChecked(true);
  dialog.PrintPagesCB->SetItemIndex(Settings.PrintPages);
  if (dialog.ShowModal() != mrOk) return false;
  Settings.Copies = SysUtils::StrToInt(dialog.CopiesE->GetText());
  Settings.Collate = dialog.CollateCB->GetChecked();
  if (dialog.AllRB->GetChecked()) {
    Settings.PageNumbers.clear();
  } else if (dialog.CurPageRB->GetChecked()) {
    auto* pages = Report ? dynamic_cast<TfrxPreviewPages*>(Report->GetPreviewPages()) : nullptr;
    Settings.PageNumbers = SysUtils::IntToStr(pages ? pages->CurPreviewPage + 1 : 1);
  } else {
    Settings.PageNumbers = dialog.PageNumbersE->GetText();
  }
  Settings.PrintPages = dialog.PrintPagesCB->GetItemIndex();
  Settings.Reverse = dialog.ReverseCB->GetChecked();
  return true;
}

}  // namespace frxPrintDialogForm

PELTO_DEFINE_CLASS(TfrxPrintDialog)

PELTO_DEFINE_CLASS(TfrxPrinterPropertiesForm)
