#include "report/engine/objects/frxDMPClass.h"

#include <cmath>

#include "platform/classes/ClassRegistry.h"
#include "platform/rtl/FormatText.h"
#include "platform/rtl/MathUtils.h"
#include "report/engine/design/frxDsgnIntf.h"
#include "report/engine/model/frxRes.h"

using frxPage::fr01cm;
using frxPage::fr1CharX;
using frxPage::fr1CharY;

namespace {

constexpr std::uint64_t kAllFlags = (1u << (fsx15cpi + 1)) - 1;

// Whole cells, halves to the even one.
Extended RoundTo(Extended Value, Extended Cell) { return std::nearbyint(Value / Cell) * Cell; }
// Whole cells towards zero; a value within the measuring tolerance below a cell boundary counts
// as on it, so a stored position read back does not fall into the cell before.
Extended TruncTo(Extended Value, Extended Cell)
{
  Extended cells = Value / Cell;
  Extended nearest = std::nearbyint(cells);
  if (!frxClass::Differs(nearest * Cell, Value)) return nearest * Cell;
  return std::trunc(cells) * Cell;
}

TfrxDMPFontStyles OnlyFlags(TfrxDMPFontStyles Value) { return TfrxDMPFontStyles::FromMask(Value.Mask() & kAllFlags); }

// The page font of Style on Font, without telling the font's owner (its ParentFont stays).
void ApplyStyleToFont(TFont* Font, TfrxDMPFontStyles Style)
{
  auto notify = std::move(Font->OnChange);
  Font->OnChange = nullptr;
  Font->SetName("Courier New");
  Font->SetSize(12);
  TFontStyles styles;
  if (Style.Contains(fsxBold)) styles << fsBold;
  if (Style.Contains(fsxItalic)) styles << fsItalic;
  if (Style.Contains(fsxUnderline)) styles << fsUnderline;
  Font->SetStyle(styles);
  Font->OnChange = std::move(notify);
}

TfrxDMPPage* DotMatrixPageOf(TfrxComponent* Object) { return dynamic_cast<TfrxDMPPage*>(Object->GetPage()); }

AnsiString FontStyleDiff(TfrxDMPFontStyles Own, TfrxDMPFontStyles Reference)
{
  if (Own == Reference) return AnsiString();
  return " FontStyle=\"" + SysUtils::IntToStr(static_cast<Int64>(Own.Mask())) + "\"";
}

}  // namespace

// ---- Page ------------------------------------------------------------------------------------

TfrxDMPPage::TfrxDMPPage(TComponent* AOwner) : TfrxReportPage(AOwner)
{
  // The base constructor chose the paper before this class could snap it.
  SetPaperSize(GetPaperSize());
  ApplyFontStyle();
}

void TfrxDMPPage::SetPaperWidth(Extended Value)
{
  TfrxReportPage::SetPaperWidth(Value);
  SetPaperDimensions(RoundTo(GetPaperWidth() * fr01cm, fr1CharX) / fr01cm, GetPaperHeight());
}

void TfrxDMPPage::SetPaperHeight(Extended Value)
{
  TfrxReportPage::SetPaperHeight(Value);
  SetPaperDimensions(GetPaperWidth(), RoundTo(GetPaperHeight() * fr01cm, fr1CharY) / fr01cm);
}

void TfrxDMPPage::SetPaperSize(Integer Value)
{
  TfrxReportPage::SetPaperSize(Value);
  SetPaperDimensions(RoundTo(GetPaperWidth() * fr01cm, fr1CharX) / fr01cm,
                     RoundTo(GetPaperHeight() * fr01cm, fr1CharY) / fr01cm);
}

void TfrxDMPPage::SetDefaults()
{
  TfrxReportPage::SetDefaults();
  LeftMargin = RightMargin = fr1CharX / fr01cm;
  TopMargin = BottomMargin = fr1CharY / fr01cm;
  SetPaperDimensions(std::trunc(GetPaperWidth() * fr01cm / fr1CharX) * fr1CharX / fr01cm,
                     std::trunc(GetPaperHeight() * fr01cm / fr1CharY) * fr1CharY / fr01cm);
}

void TfrxDMPPage::ApplyFontStyle() { ApplyStyleToFont(GetFont(), FFontStyle); }

void TfrxDMPPage::SetFontStyle(TfrxDMPFontStyles Value)
{
  FFontStyle = OnlyFlags(Value);
  ApplyFontStyle();
  // Parents come before their children, so each takes the font its parent has just taken.
  for (TfrxComponent* c : GetAllObjects())
    if (c->GetParentFont()) c->SetParentFont(true);
}

// ---- Text object -----------------------------------------------------------------------------

TfrxDMPMemoView::TfrxDMPMemoView(TComponent* AOwner) : TfrxCustomMemoView(AOwner)
{
  // The base constructor linked the parent before this class could take the page's flags.
  if (GetParentFont()) SetParentFont(true);
  ApplyDefaults();
}

AnsiString TfrxDMPMemoView::GetClassCaption() { return frxRes::Get("obDMPText"); }

AnsiString TfrxDMPMemoView::WriteDiff(TfrxComponent* Reference)
{
  AnsiString s = TfrxCustomMemoView::WriteDiff(Reference);
  if (auto* r = dynamic_cast<TfrxDMPMemoView*>(Reference)) s += FontStyleDiff(FFontStyle, r->FFontStyle);
  return s;
}

void TfrxDMPMemoView::SetLeft(Extended Value)
{
  TfrxCustomMemoView::SetLeft(Align == baRight ? TruncTo(Value, fr1CharX) : RoundTo(Value, fr1CharX));
}

void TfrxDMPMemoView::SetTop(Extended Value) { TfrxCustomMemoView::SetTop(RoundTo(Value, fr1CharY)); }
void TfrxDMPMemoView::SetWidth(Extended Value) { TfrxCustomMemoView::SetWidth(RoundTo(Value, fr1CharX)); }
void TfrxDMPMemoView::SetHeight(Extended Value) { TfrxCustomMemoView::SetHeight(RoundTo(Value, fr1CharY)); }
Extended TfrxDMPMemoView::CalcHeight() { return RoundTo(TfrxCustomMemoView::CalcHeight(), fr1CharY); }
Extended TfrxDMPMemoView::CalcWidth() { return RoundTo(TfrxCustomMemoView::CalcWidth(), fr1CharX); }

void TfrxDMPMemoView::DrawFrame()
{
  Extended l = GetAbsLeft(), t = GetAbsTop();
  FX = Math::Round((l - fr1CharX / 2) * FScaleX + FOffsetX);
  FY = Math::Round((t - fr1CharY / 2) * FScaleY + FOffsetY);
  FX1 = Math::Round((l + GetWidth() + fr1CharX / 2) * FScaleX + FOffsetX);
  FY1 = Math::Round((t + GetHeight() + fr1CharY / 2) * FScaleY + FOffsetY);
  TfrxCustomMemoView::DrawFrame();
}

void TfrxDMPMemoView::SetParentFont(bool Value)
{
  TfrxCustomMemoView::SetParentFont(Value);
  if (!Value) return;
  if (TfrxDMPPage* page = DotMatrixPageOf(this)) FFontStyle = page->GetFontStyle();
}

void TfrxDMPMemoView::SetFontStyle(TfrxDMPFontStyles Value)
{
  FFontStyle = OnlyFlags(Value);
  TfrxCustomMemoView::SetParentFont(false);
  ApplyDefaults();
}

void TfrxDMPMemoView::ApplyDefaults()
{
  ApplyStyleToFont(GetFont(), FFontStyle);
  CharSpacing = 0;
  GapX = 0;
  GapY = 0;
  LineSpacing = 1;
}

// ---- Line ------------------------------------------------------------------------------------

TfrxDMPLineView::TfrxDMPLineView(TComponent* AOwner) : TfrxCustomLineView(AOwner)
{
  if (GetParentFont()) SetParentFont(true);
}

AnsiString TfrxDMPLineView::GetClassCaption() { return frxRes::Get("obDMPLine"); }

AnsiString TfrxDMPLineView::WriteDiff(TfrxComponent* Reference)
{
  AnsiString s = TfrxCustomLineView::WriteDiff(Reference);
  if (auto* r = dynamic_cast<TfrxDMPLineView*>(Reference)) s += FontStyleDiff(FFontStyle, r->FFontStyle);
  return s;
}

void TfrxDMPLineView::SetLeft(Extended Value) { TfrxCustomLineView::SetLeft(TruncTo(Value, fr1CharX) + fr1CharX / 2); }

void TfrxDMPLineView::SetTop(Extended Value) { TfrxCustomLineView::SetTop(TruncTo(Value, fr1CharY) + fr1CharY / 2); }

void TfrxDMPLineView::SetParentFont(bool Value)
{
  TfrxCustomLineView::SetParentFont(Value);
  if (!Value) return;
  if (TfrxDMPPage* page = DotMatrixPageOf(this)) FFontStyle = page->GetFontStyle();
}

void TfrxDMPLineView::SetFontStyle(TfrxDMPFontStyles Value)
{
  FFontStyle = OnlyFlags(Value);
  TfrxCustomLineView::SetParentFont(false);
}

// ---- Registration ----------------------------------------------------------------------------

namespace frxDMPClass {

void Initialize()
{
  Classes::RegisterClass(TfrxDMPPage::StaticClass());
  TfrxObjectCollection* objects = frxDsgnIntf::ObjectRegistry();
  objects->Register(TfrxDMPMemoView::StaticClass(), nullptr, AnsiString(), AnsiString(), 0, 2);
  objects->Register(TfrxDMPLineView::StaticClass(), nullptr, AnsiString(), AnsiString(), 0, 5);
}

}  // namespace frxDMPClass

PELTO_DEFINE_CLASS(TfrxDMPPage)
PELTO_PUBLISH(TfrxDMPPage, p) { p.Property("FontStyle", &ThisClass::GetFontStyle, &ThisClass::SetFontStyle); }

PELTO_DEFINE_CLASS(TfrxDMPMemoView)
PELTO_PUBLISH(TfrxDMPMemoView, p)
{
  p.Property("AutoWidth", &ThisClass::AutoWidth, &ThisClass::AutoWidth).Default(false);
  p.Property("AllowExpressions", &ThisClass::AllowExpressions, &ThisClass::AllowExpressions).Default(true);
  p.Property("DataField", &ThisClass::DataField, &ThisClass::DataField);
  p.Property("DataSet", &ThisClass::GetDataSet, &ThisClass::SetDataSet);
  p.Property("DataSetName", &ThisClass::GetDataSetName, &ThisClass::SetDataSetName);
  p.Property("DisplayFormat", &ThisClass::GetDisplayFormat, &ThisClass::SetDisplayFormat);
  p.Property("ExpressionDelimiters", &ThisClass::ExpressionDelimiters, &ThisClass::ExpressionDelimiters)
      .StoredWhen(&DelimitersStored);
  p.Property("FontStyle", &ThisClass::GetFontStyle, &ThisClass::SetFontStyle).StoredWhen(&FontStored);
  p.Property("Frame", &ThisClass::GetFrame, &ThisClass::SetFrame);
  p.Property("HAlign", &ThisClass::HAlign, &ThisClass::HAlign).Default(haLeft);
  p.Property("HideZeros", &ThisClass::HideZeros, &ThisClass::HideZeros).Default(false);
  p.Property("Memo", &ThisClass::GetMemo, &ThisClass::SetMemo);
  p.Property("ParentFont", &ThisClass::GetParentFont, &ThisClass::SetParentFont).Default(true);
  p.Property("RTLReading", &ThisClass::RTLReading, &ThisClass::RTLReading).Default(false);
  p.Property("SuppressRepeated", &ThisClass::SuppressRepeated, &ThisClass::SuppressRepeated).Default(false);
  p.Property("WordWrap", &ThisClass::WordWrap, &ThisClass::WordWrap).Default(true);
  p.Property("VAlign", &ThisClass::VAlign, &ThisClass::VAlign).Default(vaTop);
}

PELTO_DEFINE_CLASS(TfrxDMPLineView)
PELTO_PUBLISH(TfrxDMPLineView, p)
{
  p.Property("FontStyle", &ThisClass::GetFontStyle, &ThisClass::SetFontStyle)
      .StoredWhen(TPublisher<ThisClass>::When([](const ThisClass* o) { return !o->GetParentFont(); }));
  p.Property("ParentFont", &ThisClass::GetParentFont, &ThisClass::SetParentFont).Default(true);
}
