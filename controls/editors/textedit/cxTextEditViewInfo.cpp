#include "controls/editors/textedit/cxTextEditViewInfo.h"

#include <algorithm>

#include "controls/editors/edit/cxEdit.h"
#include "controls/editors/edit/cxEditStyle.h"
#include "controls/editors/paint/cxEditTextUtils.h"
#include "controls/editors/paint/cxEditUtils.h"
#include "controls/editors/textedit/cxTextEdit.h"
#include "controls/editors/textedit/cxTextEditProperties.h"
#include "controls/framework/cxGraphics.h"
#include "platform/rtl/StringUtils.h"
#include "platform/win/window/Rects.h"

namespace {

RECT TextRectFromOffsets(const RECT& Client, const RECT& Offsets)
{
  RECT r{Client.left + Offsets.left, Client.top + Offsets.top, Client.right - Offsets.right,
         Client.bottom - Offsets.bottom};
  if (r.right < r.left) r.right = r.left;
  if (r.bottom < r.top) r.bottom = r.top;
  return r;
}

}  // namespace

// ---- View info

void TcxCustomTextEditViewInfo::SetText(const AnsiString& Value)
{
  if (Value == TextInfo.Text && TextInfo.TextOutData.Initialized) return;
  TextInfo.Text = Value;
  TextInfo.TextOutData = cxEditTextUtils::TcxTextOutData();
}

void TcxCustomTextEditViewInfo::InternalPaint(TcxCanvas* ACanvas)
{
  TextInfo.Font = Font;
  TextInfo.InnerEditVisible = InnerEditVisible;
  TextInfo.PrepareCanvasFont = [this](TcxCanvas* C) { PrepareCanvasFont(C); };
  cxEditUtils::PaintTextEditViewInfo(ACanvas, *this, TextInfo);
}

void TcxCustomTextEditViewInfo::DrawText(TcxCanvas* ACanvas)
{
  TextInfo.Font = Font;
  cxEditUtils::PaintTextEditText(ACanvas, *this, TextInfo);
}

void TcxCustomTextEditViewInfo::Offset(int DX, int DY)
{
  TcxCustomEditViewInfo::Offset(DX, DY);
  Windows::OffsetRect(&TextInfo.TextRect, DX, DY);
  auto& data = TextInfo.TextOutData;
  if (!data.Initialized) return;
  Windows::OffsetRect(&data.TextRect, DX, DY);
  for (auto& row : data.TextRows) {
    row.TextOriginX += DX;
    row.TextOriginY += DY;
  }
}

void TcxCustomTextEditViewInfo::CopyTextFrom(const TcxCustomTextEditViewInfo& S)
{
  const AnsiString text = S.TextInfo.Text;
  TextInfo = S.TextInfo;
  // The copied rows would point into the other view info's text.
  TextInfo.Text = text;
  TextInfo.TextOutData = cxEditTextUtils::TcxTextOutData();
  TextInfo.PrepareCanvasFont = nullptr;
  ReversedSelection = S.ReversedSelection;
  MaxLineCount = S.MaxLineCount;
}

TcxCustomEditViewInfo* TcxCustomTextEditViewInfo::Clone() const
{
  auto* r = static_cast<TcxCustomTextEditViewInfo*>(TcxCustomEditViewInfo::Clone());
  r->CopyTextFrom(*this);
  return r;
}

void TcxCustomTextEditViewInfo::Assign(TcxContainerViewInfo* Source)
{
  TcxCustomEditViewInfo::Assign(Source);
  if (auto* s = dynamic_cast<TcxCustomTextEditViewInfo*>(Source)) CopyTextFrom(*s);
}

bool TcxCustomTextEditViewInfo::InternalNeedShowHint(TcxCanvas* ACanvas, POINT P, AnsiString& AText, bool& AIsMultiLine,
                                                     RECT& ATextRect)
{
  using namespace cxEditTextUtils;
  P.x -= Bounds.left;
  P.y -= Bounds.top;
  RECT area = TextInfo.TextRect;
  Windows::OffsetRect(&area, -Bounds.left, -Bounds.top);
  if (!Windows::PtInRect(&area, P)) return false;
  if (Font) ACanvas->SetFont(Font);
  const int flags = TextInfo.TextFlags;
  const bool singleLine = (flags & etfSingleLine) != 0;
  RECT r = area;
  r.bottom = 0x3FFFFFFF;
  if (singleLine) r.right = 0x3FFFFFFF;
  TcxTextParams params;
  PrepareTextParamsForCanvas(ACanvas->GetCanvas(), (flags & ~etfEndEllipsis) | etfCalcRect, params);
  TcxTextRows rows;
  int count = 0;
  const AnsiString& text = TextInfo.Text;
  bool fits =
      MakeTextRowsForCanvas(ACanvas->GetCanvas(), text.data(), int(text.size()), r, MaxLineCount, count, rows, params);
  if (MaxLineCount > 0 && count > MaxLineCount) fits = false;
  const int width = area.right - area.left;
  bool need = !fits;
  int y = area.top;
  for (int i = 0; i < count && !need; ++i) {
    const AnsiString row(rows[i].Text, size_t(rows[i].TextLength));
    if (ACanvas->TextWidth(SysUtils::TrimRight(row)) > width) need = true;
    y += params.RowDistance;
    if (y > area.bottom) need = true;
  }
  if (!need) return false;
  AIsMultiLine = !singleLine;
  AText = text;
  ATextRect = TextInfo.TextRect;
  return true;
}

// ---- View data

TcxCustomTextEditViewData::TcxCustomTextEditViewData(TcxCustomEditProperties* AProperties, TcxCustomEditStyle* AStyle,
                                                     bool AIsInplace)
    : TcxCustomEditViewData(AProperties, AStyle, AIsInplace)
{
  // The base constructor ran only its own part of the cache.
  UseProviderFormat = AProperties->UseProviderDisplayFormat();
}

TcxCustomTextEditProperties* TcxCustomTextEditViewData::TextProperties() const
{
  return static_cast<TcxCustomTextEditProperties*>(GetProperties());
}

void TcxCustomTextEditViewData::InitCacheData()
{
  TcxCustomEditViewData::InitCacheData();
  UseProviderFormat = GetProperties()->UseProviderDisplayFormat();
}

AnsiString TcxCustomTextEditViewData::GetDrawText(const Variant& AEditValue)
{
  TcxCustomTextEditProperties* p = TextProperties();
  AnsiString text;
  if (UseProviderFormat) {
    text = Variants::VarToStr(AEditValue);
  } else {
    Variant display;
    try {
      p->EditValueToDisplayValue(AEditValue, IsFocused(), display);
      text = Variants::VarToStr(display);
    } catch (EConvertError&) {
      text = Variants::VarToStr(AEditValue);
    }
  }
  p->DisplayValueToDisplayText(text);
  return text;
}

SIZE TcxCustomTextEditViewData::InternalGetEditContentSize(TcxCanvas* ACanvas, const Variant& AEditValue,
                                                           const TcxEditSizeProperties& AEditSizeProperties)
{
  SIZE base = TcxCustomEditViewData::InternalGetEditContentSize(ACanvas, AEditValue, AEditSizeProperties);
  cxEditUtils::TcxTextContentSizeParams params;
  params.Font = GetStyle()->GetFont();
  params.IsInplace = IsInplace();
  params.NativeEdit = false;
  params.AlignmentAllowance = !IsInplace() && TextProperties()->GetEditingStyle() >= 2;
  params.WidthLimit = AEditSizeProperties.Width;
  params.MaxLineCount = AEditSizeProperties.MaxLineCount;
  SIZE s = cxEditUtils::CalculateTextContentSize(ACanvas, params, GetDrawText(AEditValue), GetDrawTextFlags(), true);
  s.cx = std::max(s.cx, base.cx);
  s.cy = std::max(s.cy, base.cy);
  return s;
}

void TcxCustomTextEditViewData::Calculate(TcxCanvas* ACanvas, const RECT& ABounds, POINT P, int Button,
                                          TShiftState Shift, TcxCustomEditViewInfo* AViewInfo, bool AIsMouseEvent)
{
  TcxCustomEditViewData::Calculate(ACanvas, ABounds, P, Button, Shift, AViewInfo, AIsMouseEvent);
  auto* vi = dynamic_cast<TcxCustomTextEditViewInfo*>(AViewInfo);
  if (!vi) return;
  TcxTextPaintInfo& t = vi->TextInfo;
  vi->ReversedSelection = false;
  t.EditingStyle = TextProperties()->GetEditingStyle();
  t.EditWindowShown = IsInnerEditShown();
  auto* edit = dynamic_cast<TcxCustomTextEdit*>(Edit);
  t.KeepsFocusOnTab = edit && edit->KeepsFocusOnTab();
  vi->MaxLineCount = MaxLineCount;
  t.TextOutData = cxEditTextUtils::TcxTextOutData();
  RECT offsets;
  GetTextOffsets(offsets);
  t.TextRect = TextRectFromOffsets(vi->ClientRect, offsets);
  CalculateTextFlags(ACanvas, vi);
}

void TcxCustomTextEditViewData::GetClientExtent(TcxCustomEditViewInfo* AViewInfo, RECT& Extent)
{
  TcxCustomEditViewData::GetClientExtent(AViewInfo, Extent);
  if (!IsInplace() && DrawsAsComboBox() && NativeStyle) ++Extent.right;
}

void TcxCustomTextEditViewData::PrepareDrawValue(const Variant& AEditValue, TcxCustomEditViewInfo* AViewInfo)
{
  auto* vi = dynamic_cast<TcxCustomTextEditViewInfo*>(AViewInfo);
  if (!vi) return;
  vi->SetText(GetDrawText(AEditValue));
  TcxTextPaintInfo& t = vi->TextInfo;
  t.SelStart = SelStart;
  t.SelLength = SelLength;
  if (SelLength > 0) {
    t.SelTextColor = SelTextColor == clDefault ? clHighlightText : SelTextColor;
    t.SelBkColor = SelBackgroundColor == clDefault ? clHighlight : SelBackgroundColor;
  }
}

bool TcxCustomTextEditViewData::IsInnerEditShown()
{
  auto* edit = dynamic_cast<TcxCustomTextEdit*>(Edit);
  return edit && edit->HasInnerEditRect();
}

void TcxCustomTextEditViewData::CalculateTextFlags(TcxCanvas* ACanvas, TcxCustomEditViewInfo* AViewInfo)
{
  auto* vi = dynamic_cast<TcxCustomTextEditViewInfo*>(AViewInfo);
  if (!vi) return;
  TcxTextPaintInfo& t = vi->TextInfo;
  TcxCustomTextEditProperties* p = TextProperties();
  const bool autoHeight = (p->GetSupportedOperations() & (1u << esoAutoHeight)) != 0;
  if (!p->UsesOwnDrawTextFlags() && autoHeight && (PaintOptions & (1u << epoAutoHeight))) {
    RECT offsets;
    GetTextOffsets(offsets);
    const SIZE extra = cxEditUtils::GetTextExtraSize(IsInplace(), false);
    t.TextFlags = cxEditUtils::CalculateMultiLineTextFlags(ACanvas, GetStyle()->GetFont(), t.Text, GetDrawTextFlags(),
                                                           t.TextRect, offsets, extra, Margins, HorzAlignment);
  } else {
    t.TextFlags = GetDrawTextFlags();
  }
  if (vi->PaintOptions & (1u << epoShowEndEllipsis)) t.TextFlags |= cxEditTextUtils::etfEndEllipsis;
  t.ComboBoxStyle = DrawsAsComboBox();
}

void TcxCustomTextEditViewData::SetDrawText(const Variant& AEditValue, TcxCustomEditViewInfo* AViewInfo)
{
  auto* vi = dynamic_cast<TcxCustomTextEditViewInfo*>(AViewInfo);
  if (!vi) return;
  AnsiString text = Variants::VarToStr(AEditValue);
  TextProperties()->DisplayValueToDisplayText(text);
  vi->SetText(text);
}

int TcxCustomTextEditViewData::GetDrawTextFlags()
{
  using namespace cxEditTextUtils;
  int r = 0;
  switch (HorzAlignment) {
    case taRightJustify: r = etfAlignRight; break;
    case taCenter: r = etfAlignCenter; break;
    default: r = etfAlignLeft; break;
  }
  switch (VertAlignment) {
    case taBottomJustify: r |= etfAlignBottom; break;
    case taVCenter: r |= etfAlignVCenter; break;
    default: break;
  }
  return r | etfSingleLine | etfKeepLeft | etfKeepTop;
}

void TcxCustomTextEditViewData::GetTextOffsets(RECT& R) { R = cxEditUtils::GetTextOffsets(HorzAlignment, IsInplace()); }

PELTO_DEFINE_CLASS(TcxCustomTextEditViewInfo)

PELTO_DEFINE_CLASS(TcxCustomTextEditViewData)
