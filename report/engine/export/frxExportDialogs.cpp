#include "report/engine/export/frxExportDialogs.h"

#include "platform/stdctrls/buttons/Button.h"
#include "platform/stdctrls/buttons/CheckBox.h"
#include "platform/stdctrls/buttons/GroupBox.h"
#include "platform/stdctrls/buttons/RadioButton.h"
#include "platform/stdctrls/dialogs/CommDlg.h"
#include "platform/stdctrls/edits/CustomEdit.h"
#include "platform/stdctrls/panels/Label.h"
#include "report/engine/model/frxPlugins.h"
#include "report/engine/model/frxRes.h"

namespace {

constexpr int kClientWidth = 300, kMargin = 8, kRow = 22, kButtonWidth = 75, kButtonHeight = 25;

template <class T>
T* Place(TComponent* Owner, TWinControl* Parent, const AnsiString& Name, int Left, int Top, int Width, int Height)
{
  T* c = new T(Owner);
  c->SetName(Name);
  c->SetParent(Parent);
  c->SetBounds(Left, Top, Width, Height);
  return c;
}

}  // namespace

// ---- The page range ---------------------------------------------------------------------------

TfrxExportDialogBase::TfrxExportDialogBase(TComponent* AOwner) : TForm(AOwner)
{
  SetBorderStyle(bsDialog);
  SetPosition(poScreenCenter);
  SetClientSize(kClientWidth, 200);
  int groupWidth = kClientWidth - 2 * kMargin, inner = groupWidth - 2 * 12;
  GroupPageRange = Place<TGroupBox>(this, this, "GroupPageRange", kMargin, kMargin, groupWidth, 132);
  GroupPageRange->SetCaption(" Page range  ");
  AllRB = Place<TRadioButton>(this, GroupPageRange, "AllRB", 12, 20, inner, 20);
  AllRB->SetCaption("All");
  AllRB->SetChecked(true);
  CurPageRB = Place<TRadioButton>(this, GroupPageRange, "CurPageRB", 12, 20 + kRow, inner, 20);
  CurPageRB->SetCaption("Current page");
  PageNumbersRB = Place<TRadioButton>(this, GroupPageRange, "PageNumbersRB", 12, 20 + 2 * kRow, 64, 20);
  PageNumbersRB->SetCaption("Pages:");
  PageNumbersE = Place<TEdit>(this, GroupPageRange, "PageNumbersE", 80, 19 + 2 * kRow, inner - 68, 21);
  DescrL = Place<TLabel>(this, GroupPageRange, "DescrL", 12, 22 + 3 * kRow, inner, 40);
  DescrL->SetAutoSize(false);
  DescrL->SetWordWrap(true);
  DescrL->SetCaption("Enter page numbers and/or page ranges, separated by commas. For example, 1,3,5-12");
  SaveDialog1 = new TSaveDialog(this);
  SaveDialog1->SetName("SaveDialog1");
  SaveDialog1->SetOptions(TOpenOptions{ofHideReadOnly, ofOverwritePrompt, ofEnableSizing, ofNoChangeDir});
  FNextTop = kMargin + 132 + kMargin;
}

void TfrxExportDialogBase::StorePageRange(TfrxCustomExportFilter* Filter) const
{
  Filter->CurPage = false;
  Filter->PageNumbers.clear();
  if (CurPageRB->GetChecked())
    Filter->CurPage = true;
  else if (PageNumbersRB->GetChecked())
    Filter->PageNumbers = PageNumbersE->GetText();
}

bool TfrxExportDialogBase::AskFileName(AnsiString& FileName)
{
  SaveDialog1->SetFileName(FileName);
  if (!SaveDialog1->Execute()) return false;
  FileName = SaveDialog1->GetFileName();
  return true;
}

TGroupBox* TfrxExportDialogBase::AddGroup(const AnsiString& Name, const AnsiString& Caption, int Rows)
{
  int height = 20 + Rows * kRow + 6;
  auto* g = Place<TGroupBox>(this, this, Name, kMargin, FNextTop, kClientWidth - 2 * kMargin, height);
  g->SetCaption(Caption);
  FNextTop += height + kMargin;
  FGroupRow = 0;
  return g;
}

TCheckBox* TfrxExportDialogBase::AddCheck(TWinControl* Parent, const AnsiString& Name, const AnsiString& Caption)
{
  TCheckBox* c;
  if (Parent == this) {
    c = Place<TCheckBox>(this, this, Name, kMargin + 4, FNextTop, kClientWidth - 2 * kMargin - 4, 20);
    FNextTop += kRow + 4;
  } else {
    c = Place<TCheckBox>(this, Parent, Name, 12, 20 + FGroupRow++ * kRow, Parent->GetWidth() - 24, 20);
  }
  c->SetCaption(Caption);
  return c;
}

void TfrxExportDialogBase::Finish(const AnsiString& OkName, const AnsiString& CancelName)
{
  int top = FNextTop + 4;
  FOkButton =
      Place<TButton>(this, this, OkName, kClientWidth - 2 * (kButtonWidth + kMargin), top, kButtonWidth, kButtonHeight);
  FOkButton->SetCaption("OK");
  FOkButton->SetDefault(true);
  FOkButton->SetModalResult(mrOk);
  FCancelButton =
      Place<TButton>(this, this, CancelName, kClientWidth - kButtonWidth - kMargin, top, kButtonWidth, kButtonHeight);
  FCancelButton->SetCaption("Cancel");
  FCancelButton->SetCancel(true);
  FCancelButton->SetModalResult(mrCancel);
  SetClientSize(kClientWidth, top + kButtonHeight + kMargin);
  frxRes::frxResources()->ApplyFormTexts(this);
}

// ---- The four dialogs -------------------------------------------------------------------------

TfrxXLSExportDialog::TfrxXLSExportDialog(TComponent* AOwner) : TfrxExportDialogBase(AOwner)
{
  SetCaption("Export to Excel");
  GroupQuality = AddGroup("GroupQuality", " Quality properties ", 4);
  StylesCB = AddCheck(GroupQuality, "StylesCB", "Styles");
  PicturesCB = AddCheck(GroupQuality, "PicturesCB", "Pictures");
  MergeCB = AddCheck(GroupQuality, "MergeCB", "Merge cells");
  WCB = AddCheck(GroupQuality, "WCB", "WYSIWYG");
  OpenExcelCB = AddCheck(this, "OpenExcelCB", "Open Excel after export");
  Finish("OkB", "CancelB");
  OkB = FOkButton;
  CancelB = FCancelButton;
}

TfrxIMGExportDialog::TfrxIMGExportDialog(TComponent* AOwner) : TfrxExportDialogBase(AOwner)
{
  SetCaption("Export settings");
  GroupBox1 = AddGroup("GroupBox1", "Image settings", 3);
  Label2 = Place<TLabel>(this, GroupBox1, "Label2", 12, 23, 120, 16);
  Label2->SetCaption("JPEG Quality");
  Quality = Place<TEdit>(this, GroupBox1, "Quality", 140, 20, 60, 21);
  Label2->SetFocusControl(Quality);
  SkipGroupRow();  // the quality's row
  CropPage = AddCheck(GroupBox1, "CropPage", "Crop pages");
  Mono = AddCheck(GroupBox1, "Mono", "Monochrome");
  Finish("OK", "Cancel");
  OK = FOkButton;
  Cancel = FCancelButton;
}

TfrxRTFExportDialog::TfrxRTFExportDialog(TComponent* AOwner) : TfrxExportDialogBase(AOwner)
{
  SetCaption("Export to RTF");
  GroupQuality = AddGroup("GroupQuality", " Quality properties ", 3);
  WCB = AddCheck(GroupQuality, "WCB", "WYSIWYG");
  PageBreaksCB = AddCheck(GroupQuality, "PageBreaksCB", "Page breaks");
  PicturesCB = AddCheck(GroupQuality, "PicturesCB", "Pictures");
  OpenCB = AddCheck(this, "OpenCB", "Open after export");
  Finish("OkB", "CancelB");
  OkB = FOkButton;
  CancelB = FCancelButton;
}

TfrxPDFExportDialog::TfrxPDFExportDialog(TComponent* AOwner) : TfrxExportDialogBase(AOwner)
{
  SetCaption("Export to PDF");
  GroupQuality = AddGroup("GroupQuality", " Export settings ", 2);
  CompressedCB = AddCheck(GroupQuality, "CompressedCB", "Compressed");
  EmbeddedCB = AddCheck(GroupQuality, "EmbeddedCB", "Embedded fonts");
  OpenCB = AddCheck(this, "OpenCB", "Open after export");
  Finish("OkB", "CancelB");
  OkB = FOkButton;
  CancelB = FCancelButton;
}

PELTO_DEFINE_CLASS(TfrxExportDialogBase)

PELTO_DEFINE_CLASS(TfrxXLSExportDialog)

PELTO_DEFINE_CLASS(TfrxIMGExportDialog)

PELTO_DEFINE_CLASS(TfrxRTFExportDialog)

PELTO_DEFINE_CLASS(TfrxPDFExportDialog)
