#include "report/engine/preview/frxPreviewDialogs.h"

#include "platform/forms/graphics/Brush.h"
#include "platform/forms/graphics/Font.h"
#include "platform/forms/graphics/Pen.h"
#include "platform/stdctrls/buttons/Button.h"
#include "platform/stdctrls/buttons/CheckBox.h"
#include "platform/stdctrls/buttons/GroupBox.h"
#include "platform/stdctrls/buttons/RadioButton.h"
#include "platform/stdctrls/edits/CustomEdit.h"
#include "platform/stdctrls/lists/ComboBox.h"
#include "platform/stdctrls/panels/Label.h"
#include "platform/stdctrls/panels/Panel.h"
#include "platform/stdctrls/panels/Shape.h"
#include "report/engine/model/frxPage.h"
#include "report/engine/model/frxRes.h"
#include "report/engine/model/frxUtils.h"
#include "report/engine/print/frxPrinter.h"

namespace frxPreviewDialogs {

TLabel* AddLabel(TWinControl* Parent, const AnsiString& Name, const AnsiString& Caption, int X, int Y)
{
  auto* label = new TLabel(Parent->GetOwner() ? Parent->GetOwner() : Parent);
  label->SetName(Name);
  label->SetParent(Parent);
  label->SetCaption(Caption);
  label->SetLeft(X);
  label->SetTop(Y);
  return label;
}

void Place(TControl* Control, TWinControl* Parent, const AnsiString& Name, int X, int Y, int W, int H)
{
  Control->SetName(Name);
  Control->SetParent(Parent);
  Control->SetBounds(X, Y, W, H);
}

AnsiString Centimetres(Extended Millimetres) { return frxUtils::FloatToStrTwoDecimals(Millimetres / 10); }

}  // namespace frxPreviewDialogs

using frxPreviewDialogs::AddLabel;
using frxPreviewDialogs::Place;

namespace {

// Owner of a dialog's controls: the form, so that its texts block reaches them by name.
template <class T>
T* Make(TForm* Form)
{
  return new T(Form);
}

void SetUpDialog(TForm* Form, int Width, int Height)
{
  Form->SetBorderStyle(bsDialog);
  Form->SetPosition(poScreenCenter);
  Form->SetClientSize(Width, Height);
  Form->GetFont()->SetName("Tahoma");
  Form->GetFont()->SetSize(8);
}

TButton* AddButton(TForm* Form, TWinControl* Parent, const AnsiString& Name, int X, int Y, int Result)
{
  TButton* b = Make<TButton>(Form);
  Place(b, Parent, Name, X, Y, 75, 25);
  b->SetModalResult(Result);
  if (Result == mrOk) b->SetDefault(true);
  if (Result == mrCancel) b->SetCancel(true);
  return b;
}

}  // namespace

// ==== TfrxSearchDialog =========================================================================

AnsiString& TfrxSearchDialog::LastText()
{
  static AnsiString text;
  return text;
}

TfrxSearchDialog::TfrxSearchDialog(TComponent* AOwner) : TForm(AOwner)
{
  SetName("frxSearchDialog");
  SetUpDialog(this, 258, 156);
  AddLabel(this, "TextL", "查找内容:", 8, 10);
  FTextE = Make<TEdit>(this);
  Place(FTextE, this, "TextE", 8, 28, 242, 21);
  FReplacePanel = Make<TPanel>(this);
  Place(FReplacePanel, this, "ReplacePanel", 0, 52, 258, 44);
  FReplacePanel->SetBevelOuter(bvNone);
  FReplacePanel->SetVisible(false);
  AddLabel(FReplacePanel, "ReplaceL", "替换为", 8, 2);
  FReplaceE = Make<TEdit>(this);
  Place(FReplaceE, FReplacePanel, "ReplaceE", 8, 18, 242, 21);
  FCaseCB = Make<TCheckBox>(this);
  Place(FCaseCB, this, "CaseCB", 8, 60, 200, 17);
  FCaseCB->SetCaption("区分大小写");
  FTopCB = Make<TCheckBox>(this);
  Place(FTopCB, this, "TopCB", 8, 82, 200, 17);
  FTopCB->SetCaption("从头开始查找");
  FOkB = AddButton(this, this, "OkB", 94, 120, mrNone);
  FOkB->SetDefault(true);
  FOkB->SetCaption("确定");
  // A confirmed text is offered again by the next dialog.
  FOkB->OnClick = [this](TObject*) {
    LastText() = FTextE->GetText();
    SetModalResult(mrOk);
  };
  FCancelB = AddButton(this, this, "CancelB", 175, 120, mrCancel);
  FCancelB->SetCaption("取消");
  SetCaption("查找文本");
  frxRes::frxResources()->ApplyFormTexts(this);
}

void TfrxSearchDialog::DoShow()
{
  FTextE->SetText(LastText());
  FTextE->SelectAll();
  TForm::DoShow();
  if (FTextE->CanFocus()) SetActiveControl(FTextE);
}

// ==== TfrxPageSettingsForm =====================================================================

TfrxPageSettingsForm::TfrxPageSettingsForm(TComponent* AOwner) : TForm(AOwner)
{
  SetName("frxPageSettingsForm");
  SetUpDialog(this, 360, 300);
  SetCaption("页面设置");

  auto* paper = Make<TGroupBox>(this);
  Place(paper, this, "PaperGB", 8, 6, 344, 80);
  paper->SetCaption("纸张");
  FSizeCB = Make<TComboBox>(this);
  Place(FSizeCB, paper, "SizeCB", 10, 18, 322, 21);
  FSizeCB->SetStyle(csDropDownList);
  FSizeCB->SetDropDownCount(12);
  FSizeCB->OnChange = [this](TObject*) { PaperChanged(); };
  AddLabel(paper, "WidthL", "宽度 (厘米)", 10, 50);
  FWidthE = Make<TEdit>(this);
  Place(FWidthE, paper, "WidthE", 84, 46, 70, 21);
  FWidthE->OnChange = [this](TObject*) { SizeTyped(); };
  AddLabel(paper, "HeightL", "高度 (厘米)", 176, 50);
  FHeightE = Make<TEdit>(this);
  Place(FHeightE, paper, "HeightE", 250, 46, 70, 21);
  FHeightE->OnChange = [this](TObject*) { SizeTyped(); };

  auto* orientation = Make<TGroupBox>(this);
  Place(orientation, this, "OrientationGB", 8, 92, 168, 100);
  orientation->SetCaption("方向");
  FPortraitRB = Make<TRadioButton>(this);
  Place(FPortraitRB, orientation, "PortraitRB", 10, 22, 100, 17);
  FPortraitRB->SetCaption("纵向打印");
  FPortraitRB->SetChecked(true);
  FPortraitRB->OnClick = [this](TObject*) { PaperChanged(); };
  FLandscapeRB = Make<TRadioButton>(this);
  Place(FLandscapeRB, orientation, "LandscapeRB", 10, 48, 100, 17);
  FLandscapeRB->SetCaption("橫向打印");
  FLandscapeRB->OnClick = [this](TObject*) { PaperChanged(); };
  // Pictures of a sheet upright and turned; only the chosen one shows.
  FPortraitImg = Make<TShape>(this);
  Place(FPortraitImg, orientation, "PortraitImg", 124, 26, 26, 36);
  FLandscapeImg = Make<TShape>(this);
  Place(FLandscapeImg, orientation, "LandscapeImg", 118, 32, 38, 26);

  auto* margins = Make<TGroupBox>(this);
  Place(margins, this, "MarginsGB", 184, 92, 168, 100);
  margins->SetCaption("页边距 (厘米)");
  static const char* const kSides[4][2] = {
      {"MarginLeftE", "左"}, {"MarginTopE", "上"}, {"MarginRightE", "右"}, {"MarginBottomE", "下"}};
  for (int i = 0; i < 4; ++i) {
    int x = i % 2 == 0 ? 10 : 90, y = i < 2 ? 24 : 60;
    AddLabel(margins, AnsiString(kSides[i][0]) + "L", kSides[i][1], x, y + 4);
    FMarginE[i] = Make<TEdit>(this);
    Place(FMarginE[i], margins, kSides[i][0], x + 20, y, 48, 21);
  }

  auto* apply = Make<TGroupBox>(this);
  Place(apply, this, "ApplyGB", 8, 198, 344, 60);
  apply->SetCaption("应用");
  FApplyToCurRB = Make<TRadioButton>(this);
  Place(FApplyToCurRB, apply, "ApplyToCurRB", 10, 18, 200, 17);
  FApplyToCurRB->SetCaption("应用到当前页面");
  FApplyToCurRB->SetChecked(true);
  FApplyToAllRB = Make<TRadioButton>(this);
  Place(FApplyToAllRB, apply, "ApplyToAllRB", 10, 38, 200, 17);
  FApplyToAllRB->SetCaption("应用到所有页面");

  FOKB = AddButton(this, this, "OKB", 196, 268, mrNone);
  FOKB->SetDefault(true);
  FOKB->SetCaption("确定");
  // A box that is no number raises before anything is stored, and the dialog stays.
  FOKB->OnClick = [this](TObject*) {
    StorePage();
    SetModalResult(mrOk);
  };
  FCancelB = AddButton(this, this, "CancelB", 277, 268, mrCancel);
  FCancelB->SetCaption("取消");
  frxRes::frxResources()->ApplyFormTexts(this);
}

bool TfrxPageSettingsForm::GetApplyToAll() const { return FApplyToAllRB->GetChecked(); }

void TfrxPageSettingsForm::UpdatePictures()
{
  bool landscape = FLandscapeRB->GetChecked();
  FPortraitImg->SetVisible(!landscape);
  FLandscapeImg->SetVisible(landscape);
}

void TfrxPageSettingsForm::LoadPage()
{
  if (!Page) return;
  FUpdating = true;
  FSizeCB->GetItems()->Clear();
  TfrxCustomPrinter* printer = frxPrinter::GetPrinters()->GetCurrentPrinter();
  if (printer) {
    // A printer nothing has used yet reads its papers from the spooler first.
    printer->Init();
    FSizeCB->GetItems()->Assign(&printer->Papers);
    Integer i = printer->PaperIndex(Page->GetPaperSize());
    FSizeCB->SetItemIndex(i >= 0 ? i : 0);
  }
  FWidthE->SetText(frxPreviewDialogs::Centimetres(Page->GetPaperWidth()));
  FHeightE->SetText(frxPreviewDialogs::Centimetres(Page->GetPaperHeight()));
  FMarginE[0]->SetText(frxPreviewDialogs::Centimetres(Page->LeftMargin));
  FMarginE[1]->SetText(frxPreviewDialogs::Centimetres(Page->TopMargin));
  FMarginE[2]->SetText(frxPreviewDialogs::Centimetres(Page->RightMargin));
  FMarginE[3]->SetText(frxPreviewDialogs::Centimetres(Page->BottomMargin));
  FPortraitRB->SetChecked(Page->GetOrientation() == poPortrait);
  FLandscapeRB->SetChecked(Page->GetOrientation() == poLandscape);
  UpdatePictures();
  FUpdating = false;
}

void TfrxPageSettingsForm::PaperChanged()
{
  if (FUpdating) return;
  UpdatePictures();
  TfrxCustomPrinter* printer = frxPrinter::GetPrinters()->GetCurrentPrinter();
  if (!printer) return;
  Integer number = printer->PaperNameToNumber(FSizeCB->GetText());
  bool landscape = FLandscapeRB->GetChecked();
  Extended w = frxUtils::StrToFloatAnySep(FWidthE->GetText()) * 10;
  Extended h = frxUtils::StrToFloatAnySep(FHeightE->GetText()) * 10;
  // A custom sheet turns with the orientation.
  if (number == 256)
    printer->SetViewParams(number, landscape, h, w);
  else
    printer->SetViewParams(number, landscape, w, h);
  FUpdating = true;
  FWidthE->SetText(frxPreviewDialogs::Centimetres(printer->PaperWidth));
  FHeightE->SetText(frxPreviewDialogs::Centimetres(printer->PaperHeight));
  FUpdating = false;
}

void TfrxPageSettingsForm::SizeTyped()
{
  if (FUpdating) return;
  FUpdating = true;
  FSizeCB->SetItemIndex(0);
  FUpdating = false;
}

void TfrxPageSettingsForm::StorePage()
{
  if (!Page) return;
  Extended w = frxUtils::StrToFloatAnySep(FWidthE->GetText()) * 10;
  Extended h = frxUtils::StrToFloatAnySep(FHeightE->GetText()) * 10;
  Extended m[4];
  for (int i = 0; i < 4; ++i) m[i] = frxUtils::StrToFloatAnySep(FMarginE[i]->GetText()) * 10;
  Page->SetOrientation(FLandscapeRB->GetChecked() ? poLandscape : poPortrait);
  Page->SetPaperWidth(w);
  Page->SetPaperHeight(h);
  if (TfrxCustomPrinter* printer = frxPrinter::GetPrinters()->GetCurrentPrinter())
    Page->SetPaperSize(printer->PaperNameToNumber(FSizeCB->GetText()));
  Page->LeftMargin = m[0];
  Page->TopMargin = m[1];
  Page->RightMargin = m[2];
  Page->BottomMargin = m[3];
  Page->AlignChildren();
}

void TfrxPageSettingsForm::DoShow()
{
  LoadPage();
  TForm::DoShow();
}

PELTO_DEFINE_CLASS(TfrxSearchDialog)

PELTO_DEFINE_CLASS(TfrxPageSettingsForm)
