#include "platform/stdctrls/dialogs/FontDialog.h"

#include "platform/classes/ClassRegistry.h"
#include "platform/forms/app/Screen.h"
#include "platform/forms/graphics/Font.h"
#include "platform/rtl/Conversions.h"
#include "platform/rtl/FormatText.h"
#include "platform/rtl/MessageSeam.h"
#include "platform/rtl/StringList.h"
#include "platform/rtl/StringUtils.h"
#include "platform/stdctrls/buttons/CheckBox.h"
#include "platform/stdctrls/buttons/GroupBox.h"
#include "platform/stdctrls/dialogs/DialogControls.h"
#include "platform/stdctrls/edits/CustomEdit.h"
#include "platform/stdctrls/lists/ComboBox.h"
#include "platform/stdctrls/lists/ListBox.h"

using namespace DialogControls;

namespace FontDialog {

const std::vector<TNamedColor>& EffectColors()
{
  static const std::vector<TNamedColor> colours{
      {clBlack, "黑色"},  {clMaroon, "褐红色"},  {clGreen, "绿色"},  {clOlive, "橄榄色"},
      {clNavy, "深蓝色"}, {clPurple, "紫色"},    {clTeal, "深青色"}, {clGray, "灰色"},
      {clSilver, "银色"}, {clRed, "红色"},       {clLime, "酸橙色"}, {clYellow, "黄色"},
      {clBlue, "蓝色"},   {clFuchsia, "紫红色"}, {clAqua, "水绿色"}, {clWhite, "白色"}};
  return colours;
}

}  // namespace FontDialog

namespace {

const char* const kStyles[] = {"常规", "斜体", "粗体", "粗斜体"};
const int kSizes[] = {8, 9, 10, 11, 12, 14, 16, 18, 20, 22, 24, 26, 28, 36, 48, 72};
const char* const kCaption = "字体";

int StyleIndex(TFontStyles S) { return (S.Contains(fsItalic) ? 1 : 0) + (S.Contains(fsBold) ? 2 : 0); }

}  // namespace

TFontDialogForm::TFontDialogForm(TComponent* AOwner, TFont* Font, TFontDialogOptions Options, int MinSize, int MaxSize)
    : TForm(AOwner), FOptions(Options), FMinSize(MinSize), FMaxSize(MaxSize)
{
  SetCaption(kCaption);
  SetBorderStyle(bsDialog);
  SetPosition(poScreenCenter);
  bool effects = Options.Contains(fdEffects);
  SetClientSize(430, effects ? 300 : 250);

  FFace = Place<TEdit>(this, this, 10, 26, 170, 21);
  Caption(this, this, "字体(&F):", 10, 8, FFace);
  FFaces = Place<TListBox>(this, this, 10, 48, 170, 110);
  FFaces->SetSorted(false);
  if (Forms::Screen) FFaces->GetItems()->Assign(Forms::Screen->GetFonts());
  FFaces->OnClick = [this](TObject* S) { FaceListClick(S); };

  FStyles = Place<TListBox>(this, this, 190, 48, 110, 110);
  Caption(this, this, "字形(&Y):", 190, 8, FStyles);
  for (const char* s : kStyles) FStyles->GetItems()->Add(s);
  FStyles->OnClick = [this](TObject*) { ShowSample(); };

  FSize = Place<TEdit>(this, this, 310, 26, 60, 21);
  Caption(this, this, "大小(&S):", 310, 8, FSize);
  FSizes = Place<TListBox>(this, this, 310, 48, 60, 110);
  for (int s : kSizes)
    if ((!Options.Contains(fdLimitSize) || ((MinSize <= 0 || s >= MinSize) && (MaxSize <= 0 || s <= MaxSize))))
      FSizes->GetItems()->Add(SysUtils::IntToStr(s));
  FSizes->OnClick = [this](TObject* S) { SizeListClick(S); };
  FSize->OnChange = [this](TObject*) { ShowSample(); };

  int y = 168;
  if (effects) {
    auto* box = Place<TGroupBox>(this, this, 10, y, 170, 110);
    box->SetCaption("效果");
    FStrike = Place<TCheckBox>(this, box, 10, 20, 140, 20);
    FStrike->SetCaption("删除线(&K)");
    FUnderline = Place<TCheckBox>(this, box, 10, 42, 140, 20);
    FUnderline->SetCaption("下划线(&U)");
    FColors = Place<TComboBox>(this, box, 10, 80, 150, 21);
    Caption(this, box, "颜色(&C):", 10, 64, FColors);
    FColors->SetStyle(csDropDownList);
    for (const auto& c : FontDialog::EffectColors()) FColors->GetItems()->Add(c.Name);
    for (auto* c : {FStrike, FUnderline}) c->OnClick = [this](TObject*) { ShowSample(); };
    FColors->OnSelect = [this](TObject*) { ShowSample(); };
  }
  auto* sampleBox = Place<TGroupBox>(this, this, 190, y, 180, 70);
  sampleBox->SetCaption("示例");
  FSample = Place<TLabel>(this, sampleBox, 8, 18, 164, 44);
  FSample->SetAutoSize(false);
  FSample->SetAlignment(taCenter);
  FSample->SetLayout(tlCenter);
  FSample->SetCaption("AaBbYyZz 合同");

  OkCancel(this, this, 190, effects ? 265 : 215, [this](TObject*) { Confirm(); });
  if (Options.Contains(fdApplyButton)) {
    FApply = Place<TButton>(this, this, 352, effects ? 265 : 215, 70, 23);
    FApply->SetCaption("应用(&A)");
    FApply->OnClick = [this](TObject* S) {
      if (OnApply) OnApply(S);
    };
  }

  // The font to start from.
  FFace->SetText(Font->GetName());
  FFaces->SetItemIndex(FFaces->GetItems()->IndexOf(Font->GetName()));
  FStyles->SetItemIndex(StyleIndex(Font->GetStyle()));
  FSize->SetText(SysUtils::IntToStr(Font->GetSize()));
  FSizes->SetItemIndex(FSizes->GetItems()->IndexOf(FSize->GetText()));
  if (effects) {
    FStrike->SetChecked(Font->GetStyle().Contains(fsStrikeOut));
    FUnderline->SetChecked(Font->GetStyle().Contains(fsUnderline));
    const auto& colours = FontDialog::EffectColors();
    for (size_t i = 0; i < colours.size(); ++i)
      if (colours[i].Color == Font->GetColor()) FColors->SetItemIndex(int(i));
  }
  ShowSample();
  SetActiveControl(FFace);
}

void TFontDialogForm::FaceListClick(TObject*)
{
  if (FFaces->GetItemIndex() >= 0) FFace->SetText(FFaces->GetItems()->GetStrings(FFaces->GetItemIndex()));
  ShowSample();
}

void TFontDialogForm::SizeListClick(TObject*)
{
  if (FSizes->GetItemIndex() >= 0) FSize->SetText(FSizes->GetItems()->GetStrings(FSizes->GetItemIndex()));
}

void TFontDialogForm::Store(TFont* Font) const
{
  Font->SetName(SysUtils::Trim(FFace->GetText()));
  int size = SysUtils::StrToIntDef(SysUtils::Trim(FSize->GetText()), 0);
  if (size > 0) Font->SetSize(size);
  TFontStyles style;
  int s = FStyles->GetItemIndex();
  if (s == 1 || s == 3) style.Include(fsItalic);
  if (s == 2 || s == 3) style.Include(fsBold);
  if (FStrike) {
    if (FStrike->GetChecked()) style.Include(fsStrikeOut);
    if (FUnderline->GetChecked()) style.Include(fsUnderline);
    int c = FColors->GetItemIndex();
    if (c >= 0) Font->SetColor(FontDialog::EffectColors()[size_t(c)].Color);
  } else {
    // Without the effects box the font keeps what it had of them.
    TFontStyles kept = Font->GetStyle();
    if (kept.Contains(fsStrikeOut)) style.Include(fsStrikeOut);
    if (kept.Contains(fsUnderline)) style.Include(fsUnderline);
  }
  Font->SetStyle(style);
}

void TFontDialogForm::ShowSample()
{
  TFont sample;
  sample.Assign(FSample->GetFont());
  Store(&sample);
  FSample->GetFont()->Assign(&sample);
}

bool TFontDialogForm::Confirm()
{
  AnsiString face = SysUtils::Trim(FFace->GetText());
  auto refuse = [this](const AnsiString& Text, TWinControl* Focus) {
    MessageSeam::Show(Text, kCaption, MB_OK | MB_ICONWARNING);
    if (GetVisible() && Focus->CanFocus()) Focus->SetFocus();
    return false;
  };
  if (face.empty() || (FOptions.Contains(fdForceFontExist) && FFaces->GetItems()->IndexOf(face) < 0))
    return refuse("没有该名称的字体。\r\n请从字体列表中选择一种字体。", FFace);
  int size = SysUtils::StrToIntDef(SysUtils::Trim(FSize->GetText()), 0);
  if (size <= 0) return refuse("大小必须是数字。", FSize);
  if (FOptions.Contains(fdLimitSize) && ((FMinSize > 0 && size < FMinSize) || (FMaxSize > 0 && size > FMaxSize)))
    return refuse(SysUtils::Format("大小必须介于 %d 和 %d 磅之间。", {FMinSize, FMaxSize}), FSize);
  SetModalResult(mrOk);
  return true;
}

TFontDialog::TFontDialog(TComponent* AOwner) : TCommonDialog(AOwner), FFont(std::make_unique<TFont>()) {}

TFontDialog::~TFontDialog() = default;

void TFontDialog::SetFont(TFont* Value) { FFont->Assign(Value); }

bool TFontDialog::Execute()
{
  TFontDialogForm form(nullptr, FFont.get(), FOptions, FMinFontSize, FMaxFontSize);
  form.OnShow = [this](TObject*) { DoShow(); };
  form.OnApply = [this, &form](TObject*) {
    form.Store(FFont.get());
    if (OnApply) OnApply(this, form.GetHandle());
  };
  bool ok = form.ShowModal() == mrOk;
  DoClose();
  if (ok) form.Store(FFont.get());
  return ok;
}
