#include "report/engine/objects/frxMemoView.h"

#include <cmath>
#include <utility>

#include "platform/classes/ClassRegistry.h"
#include "platform/gdi/dc/DeviceContext.h"
#include "platform/gdi/dc/GdiObjects.h"
#include "platform/gdi/draw/Shapes.h"
#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/Conversions.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/FormatText.h"
#include "platform/rtl/StringList.h"
#include "platform/rtl/StringUtils.h"
#include "report/engine/data/frxDataSet.h"
#include "report/engine/model/frxExpression.h"
#include "report/engine/model/frxPlugins.h"
#include "report/engine/model/frxReport.h"
#include "report/engine/model/frxRes.h"
#include "report/engine/model/frxStyles.h"
#include "report/engine/model/frxUtils.h"
#include "report/engine/xml/frxXML.h"
#include "report/script/interp/fs_iitems.h"
#include "platform/rtl/Guards.h"

using namespace Windows;

namespace {

int Round(Extended v) { return static_cast<int>(std::lround(v)); }

// Byte position of the first Pattern in Text (ASCII case ignored), stepping over double-byte
// characters so that a trail byte never starts a match; npos when none.
size_t FindNoCase(const AnsiString& Text, const AnsiString& Pattern)
{
  auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
  for (size_t i = 0; i + Pattern.size() <= Text.size();) {
    size_t k = 0;
    while (k < Pattern.size() && lower(Text[i + k]) == lower(Pattern[k])) ++k;
    if (k == Pattern.size()) return i;
    i += System::IsLeadByte(Text[i]) ? 2 : 1;
  }
  return AnsiString::npos;
}

AnsiString ReplaceFirstNoCase(const AnsiString& Text, const AnsiString& Pattern, const AnsiString& By)
{
  size_t p = FindNoCase(Text, Pattern);
  if (p == AnsiString::npos) return Text;
  return Text.substr(0, p) + By + Text.substr(p + Pattern.size());
}

// A value that is no text and equals 0 (what HideZeros hides).
bool IsZero(const Variant& Value)
{
  if (Value.IsNull() || Value.IsEmpty() || Variants::VarIsStr(Value)) return false;
  try {
    return Value == Variant(0);
  } catch (const Exception&) {
    return false;
  }
}

}  // namespace

// ---- TfrxFormat

void TfrxFormat::Assign(TPersistent* Source)
{
  if (auto* f = dynamic_cast<TfrxFormat*>(Source)) {
    DecimalSeparator = f->DecimalSeparator;
    FormatStr = f->FormatStr;
    Kind = f->Kind;
    return;
  }
  TPersistent::Assign(Source);
}

// ---- TfrxHighlight

TfrxHighlight::TfrxHighlight() : FFont(std::make_unique<TFont>())
{
  frxUtils::SetDefaultFont(FFont.get());
  FFont->SetColor(clRed);
}

TfrxHighlight::~TfrxHighlight() = default;

void TfrxHighlight::SetFont(TFont* Value) { FFont->Assign(Value); }

void TfrxHighlight::Assign(TPersistent* Source)
{
  if (auto* h = dynamic_cast<TfrxHighlight*>(Source)) {
    FFont->Assign(h->FFont.get());
    Color = h->Color;
    Condition = h->Condition;
    return;
  }
  TPersistent::Assign(Source);
}

// ---- TfrxCustomMemoView

TfrxCustomMemoView::TfrxCustomMemoView(TComponent* AOwner)
    : TfrxStretcheable(AOwner), FMemo(std::make_unique<TStringList>()), FDisplayFormat(std::make_unique<TfrxFormat>()),
      FHighlight(std::make_unique<TfrxHighlight>())
{}

TfrxCustomMemoView::~TfrxCustomMemoView() = default;

AnsiString TfrxCustomMemoView::GetClassCaption() { return frxRes::Get("obText"); }
AnsiString TfrxSysMemoView::GetClassCaption() { return frxRes::Get("obSysText"); }

bool TfrxCustomMemoView::HighlightStored(const TObject* o)
{
  return !SysUtils::Trim(static_cast<const TfrxCustomMemoView*>(o)->FHighlight->Condition).empty();
}

void TfrxCustomMemoView::Notification(TComponent* AComponent, TOperation Operation)
{
  TfrxStretcheable::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FFlowTo) FFlowTo = nullptr;
}

void TfrxCustomMemoView::SetMemo(TStringList* Value) { FMemo->Assign(Value); }

AnsiString TfrxCustomMemoView::GetText() const
{
  AnsiString s;
  for (Integer i = 0; i < FMemo->GetCount(); ++i) {
    if (i > 0) s += "\r\n";
    s += (*FMemo)[i];
  }
  return s;
}

void TfrxCustomMemoView::SetText(const AnsiString& Value) { FMemo->SetText(Value); }

void TfrxCustomMemoView::SetDisplayFormat(TfrxFormat* Value) { FDisplayFormat->Assign(Value); }
void TfrxCustomMemoView::SetHighlight(TfrxHighlight* Value) { FHighlight->Assign(Value); }

void TfrxCustomMemoView::SetRotation(Integer Value)
{
  FRotation = Value % 360;
  if (FRotation < 0) FRotation += 360;
}

void TfrxCustomMemoView::SetFlowTo(TfrxCustomMemoView* Value)
{
  if (Value == this) Value = nullptr;  // an object flowing into itself would never end
  FFlowTo = Value;
  if (Value) Value->FreeNotification(this);
}

void TfrxCustomMemoView::SetStyle(const AnsiString& Value)
{
  FStyle = Value;
  if (TfrxReport* r = GetReport()) ApplyStyle(r->GetStyles()->Find(Value));
}

void TfrxCustomMemoView::ApplyStyle(TfrxStyleItem* Item)
{
  if (!Item) return;
  Color = Item->Color;
  SetFont(Item->GetFont());
  GetFrame()->Assign(Item->GetFrame());
}

// ---- Layout

TfrxDrawText* TfrxCustomMemoView::Layout()
{
  if (TfrxReport* r = GetReport()) return r->GetDrawText();
  return frxGraphicUtils::frxDrawText();
}

Extended TfrxCustomMemoView::HorizontalExtra() const
{
  const TfrxFrame& f = *GetFrame();
  Extended e = 2 * GapX;
  if (f.Typ.Contains(ftLeft)) e += (f.Width - 1) / 2;
  if (f.Typ.Contains(ftRight)) e += f.Width / 2;
  if (f.DropShadow) e += f.ShadowWidth;
  return e;
}

Extended TfrxCustomMemoView::VerticalExtra() const
{
  const TfrxFrame& f = *GetFrame();
  Extended e = 2 * GapY;
  if (f.Typ.Contains(ftTop)) e += (f.Width - 1) / 2;
  if (f.Typ.Contains(ftBottom)) e += f.Width / 2;
  if (f.DropShadow) e += f.ShadowWidth;
  return e;
}

void TfrxCustomMemoView::BeginDraw(HDC Canvas, Extended ScaleX, Extended ScaleY, Extended OffsetX, Extended OffsetY)
{
  TfrxView::BeginDraw(Canvas, ScaleX, ScaleY, OffsetX, OffsetY);
  const TfrxFrame& f = *GetFrame();
  int gx = Round(ScaleX * GapX), gy = Round(ScaleY * GapY);
  TextRect = RECT{FX + gx, FY + gy, FX1 - gx, FY1 - gy};
  if (f.Typ.Contains(ftLeft)) TextRect.left += Round((ScaleX * f.Width - 1) / 2);
  if (f.Typ.Contains(ftTop)) TextRect.top += Round((ScaleY * f.Width - 1) / 2);
  if (f.Typ.Contains(ftRight)) TextRect.right -= Round(ScaleX * f.Width / 2);
  if (f.Typ.Contains(ftBottom)) TextRect.bottom -= Round(ScaleY * f.Width / 2);
  TextRect.right += 1;
  TextRect.bottom += 1;
}

void TfrxCustomMemoView::SetLayoutFont(TfrxDrawText* Text)
{
  if (FHighlight->Active) {
    Text->SetFont(FHighlight->GetFont());
    Color = FHighlight->Color;
  } else {
    Text->SetFont(GetFont());
  }
  Text->SetOptions(WordWrap, AllowHTMLTags, FRotation, WordBreak, RTLReading);
  Text->SetGaps(ParagraphGap, CharSpacing, LineSpacing);
}

void TfrxCustomMemoView::PrepareLayout(TfrxDrawText* Text, HDC Canvas, Extended ScaleX, Extended ScaleY,
                                       Extended OffsetX, Extended OffsetY)
{
  SetLayoutFont(Text);
  if (!GetIsDesigning() && AutoWidth) {
    RECT box{0, 0, 10000, 10000};
    Text->SetDimensions(1, 1, box, box);
    Text->SetText(FMemo.get());
    Extended oldWidth = GetWidth(), width = Text->CalcWidth() + HorizontalExtra();
    Extended left = GetLeft();
    if (HAlign == haRight)
      left += oldWidth - width;
    else if (HAlign == haCenter)
      left += (oldWidth - width) / 2;
    SetLeft(left);
    SetWidth(width);
    if (TfrxComponent* p = GetParent()) p->AlignChildren();
  }
  BeginDraw(Canvas, ScaleX, ScaleY, OffsetX, OffsetY);
  RECT device = TextRect;
  BeginDraw(Canvas, 1, 1, 0, 0);
  Text->SetDimensions(ScaleX, ScaleY, TextRect, device);
  Text->SetText(FMemo.get());
}

void TfrxCustomMemoView::Draw(HDC Canvas, Extended ScaleX, Extended ScaleY, Extended OffsetX, Extended OffsetY)
{
  if (!GetIsDesigning()) {
    if (AllowExpressions) {
      AnsiString text = GetText();
      AnsiString replaced = ReplaceFirstNoCase(text, "[TOTALPAGES#]", SysUtils::IntToStr(TotalPages));
      if (replaced != text) SetText(replaced);
    }
  } else if (IsDataField()) {
    SetText("[" + GetDataSet()->GetUserName() + ".\"" + DataField + "\"]");
  }

  TfrxDrawText* text = Layout();
  TLockGuard lock(*text);
  TValueGuard keep(Color);
  PrepareLayout(text, Canvas, ScaleX, ScaleY, OffsetX, OffsetY);
  TfrxView::Draw(Canvas, ScaleX, ScaleY, OffsetX, OffsetY);

  if (Underlines && FRotation == 0) {
    HPEN pen = CreatePen(PS_SOLID, FrameWidthPx, static_cast<COLORREF>(GetFrame()->Color));
    HGDIOBJ old = SelectObject(Canvas, pen);
    Extended step = text->LineHeight() * ScaleY;
    if (step > 0)
      for (Extended y = FY + step; Round(y) < FY1; y += step) {
        MoveToEx(Canvas, FX, Round(y), nullptr);
        LineTo(Canvas, FX1, Round(y));
      }
    SelectObject(Canvas, old);
    DeleteObject(pen);
  }
  text->DrawText(Canvas, HAlign, VAlign);
}

Extended TfrxCustomMemoView::CalcHeight()
{
  TfrxDrawText* text = Layout();
  TLockGuard lock(*text);
  TValueGuard keep(Color);
  SetLayoutFont(text);
  if (AutoWidth) {
    RECT box{0, 0, 10000, 10000};
    text->SetDimensions(1, 1, box, box);
  } else {
    BeginDraw(nullptr, 1, 1, 0, 0);
    text->SetDimensions(1, 1, TextRect, TextRect);
  }
  text->SetText(FMemo.get());
  return Round(text->CalcHeight() + VerticalExtra());
}

Extended TfrxCustomMemoView::CalcWidth()
{
  TfrxDrawText* text = Layout();
  TLockGuard lock(*text);
  TValueGuard keep(Color);
  SetLayoutFont(text);
  RECT box{0, 0, 10000, 10000};
  text->SetDimensions(1, 1, box, box);
  text->SetText(FMemo.get());
  return Round(text->CalcWidth() + HorizontalExtra());
}

void TfrxCustomMemoView::BeginParts() { PartText = GetText(); }

Extended TfrxCustomMemoView::FitPart()
{
  SetText(PartText);
  TfrxDrawText* text = Layout();
  TLockGuard lock(*text);
  TValueGuard keep(Color);
  PrepareLayout(text, nullptr, 1, 1, 0, 0);
  PartText = text->GetRemainingText();
  SetText(text->GetText());
  Extended unused = text->UnusedSpace();
  return unused == 0 ? GetHeight() : unused;
}

// ---- Values and formats

AnsiString TfrxCustomMemoView::FormatData(const Variant& Value, TfrxFormat* Format)
{
  if (!Format) Format = FDisplayFormat.get();
  if (Value.IsNull()) return AnsiString();
  if (Format->Kind == fkText) return Variants::VarToStr(Value);
  try {
    switch (Format->Kind) {
      case fkNumeric: {
        TValueGuard saved(SysUtils::DecimalSeparator);
        if (Format->DecimalSeparator.size() == 1) SysUtils::DecimalSeparator = Format->DecimalSeparator[0];
        double v = Value.AsDouble();
        if (!Format->FormatStr.empty() && Format->FormatStr[0] == '#')
          return SysUtils::FormatFloat(Format->FormatStr, v);
        return SysUtils::Format(Format->FormatStr, {v});
      }
      case fkDateTime: return SysUtils::FormatDateTime(Format->FormatStr, Value.AsDateTime());
      case fkBoolean: {
        size_t comma = Format->FormatStr.find(',');
        AnsiString yes = Format->FormatStr.substr(0, comma);
        AnsiString no = comma == AnsiString::npos ? AnsiString() : Format->FormatStr.substr(comma + 1);
        return Value == Variant(true) ? yes : no;
      }
      default: break;
    }
  } catch (const Exception&) {}
  return Variants::VarToStr(Value);
}

AnsiString TfrxCustomMemoView::CalcAndFormat(const AnsiString& Expression)
{
  AnsiString expr = Expression;
  TfrxFormat own;
  TfrxFormat* format = nullptr;
  size_t mark = expr.find(" #");
  if (mark != AnsiString::npos) {
    AnsiString f = expr.substr(mark + 2);
    expr.erase(mark);
    format = &own;
    if (!f.empty()) {
      switch (f[0]) {
        case 'B':
        case 'b': own.Kind = fkBoolean; break;
        case 'D':
        case 'd':
        case 'T':
        case 't': own.Kind = fkDateTime; break;
        case 'N':
        case 'n': own.Kind = fkNumeric; break;
        default: break;
      }
      own.FormatStr = f.substr(1, 255);
      if (own.Kind == fkNumeric)
        for (char& c : own.FormatStr)
          if (c == ',' || c == '-' || c == '.') {
            own.DecimalSeparator = AnsiString(1, c);
            c = '.';
          }
    }
  }
  if (SysUtils::SameText(expr, "TOTALPAGES#")) {
    // The final pass of a double pass knows the count: written into the page, it reaches the
    // exports too, which copy the text as it stands. Otherwise the prepared pages fill it in.
    TfrxReport* r = GetReport();
    TfrxCustomEngine* e = r ? r->GetEngine() : nullptr;
    if (e && e->GetDoublePass() && e->FinalPass)
      Value = Variant(e->TotalPages);
    else
      Value = Variant(AnsiString("[TotalPages#]"));
  } else {
    TfrxReport* r = GetReport();
    Value = r ? r->Calc(expr) : Variant::Null();
  }
  if (HideZeros && IsZero(Value)) return AnsiString();
  return FormatData(Value, format);
}

AnsiString TfrxCustomMemoView::ExpandExpressions(const AnsiString& Text)
{
  size_t comma = ExpressionDelimiters.find(',');
  if (comma == AnsiString::npos) return Text;
  AnsiString open = ExpressionDelimiters.substr(0, comma), close = ExpressionDelimiters.substr(comma + 1);
  return frxView::ExpandBrackets(Text, open, close, [this](const AnsiString& E) { return CalcAndFormat(E); });
}

void TfrxCustomMemoView::FetchData()
{
  TfrxView::FetchData();
  TfrxReport* report = GetReport();
  if (IsDataField()) {
    TfrxDataSet* ds = GetDataSet();
    if (ds->IsBlobField(DataField)) {
      ds->AssignBlobTo(DataField, FMemo.get());
    } else {
      Value = ds->GetValue(DataField);
      if (FDisplayFormat->Kind != fkText)
        SetText(FormatData(Value));
      else
        SetText(ds->GetDisplayText(DataField));
      if (HideZeros && IsZero(Value)) SetText(AnsiString());
    }
  } else if (AllowExpressions) {
    AnsiString text = GetText();
    AnsiString expanded = ExpandExpressions(text);
    if (expanded != text) SetText(expanded);
  }

  if (report && report->GetValueVariable()) report->GetValueVariable()->SetValue(Value);

  FHighlight->Active = false;
  if (report && !SysUtils::Trim(FHighlight->Condition).empty()) {
    // A condition that comes out Null (an empty field) is simply not met.
    Variant v = report->Calc(FHighlight->Condition);
    FHighlight->Active = !v.IsNull() && !v.IsEmpty() && v.AsBoolean();
  }

  if (SuppressRepeated) {
    AnsiString text = GetText();
    if (LastValue.IsNull() || Variants::VarToStr(LastValue) != text)
      LastValue = Variant(text);
    else
      SetText(AnsiString());
  }

  if (FFlowTo) {
    BeginParts();
    FitPart();
    FFlowTo->SetText(PartText);
    // The moved text was evaluated here already.
    FFlowTo->AllowExpressions = false;
  }
}

void TfrxCustomMemoView::SaveBounds()
{
  TfrxView::SaveBounds();
  if (!IsDataField()) SavedText = GetText();
}

void TfrxCustomMemoView::RestoreBounds()
{
  TfrxView::RestoreBounds();
  if (!IsDataField()) SetText(SavedText);
}

AnsiString TfrxCustomMemoView::GetPrintedText()
{
  AnsiString text = GetText();
  if (AllowExpressions) text = ReplaceFirstNoCase(text, "[TOTALPAGES]", SysUtils::IntToStr(TotalPages));
  return text;
}

AnsiString TfrxCustomMemoView::WriteDiff(TfrxComponent* Reference)
{
  AnsiString s = TfrxView::WriteDiff(Reference);
  auto* r = dynamic_cast<TfrxCustomMemoView*>(Reference);
  if (!r) return s;
  auto add = [&](const char* name, const AnsiString& value) { s += AnsiString(" ") + name + "=\"" + value + "\""; };
  auto num = [](Extended v) { return SysUtils::FloatToStr(static_cast<double>(v)); };
  auto boolean = [](bool b) { return AnsiString(b ? "True" : "False"); };
  if (AutoWidth != r->AutoWidth) add("AutoWidth", boolean(AutoWidth));
  if (frxClass::Differs(CharSpacing, r->CharSpacing)) add("CharSpacing", num(CharSpacing));
  if (frxClass::Differs(GapX, r->GapX)) add("GapX", num(GapX));
  if (frxClass::Differs(GapY, r->GapY)) add("GapY", num(GapY));
  if (HAlign != r->HAlign) add("HAlign", SysUtils::IntToStr(HAlign));
  if (FHighlight->Active != r->FHighlight->Active) add("Highlight.Active", boolean(FHighlight->Active));
  if (frxClass::Differs(LineSpacing, r->LineSpacing)) add("LineSpacing", num(LineSpacing));
  add("x", frxXML::EscapeText(GetText()));
  if (frxClass::Differs(ParagraphGap, r->ParagraphGap)) add("ParagraphGap", num(ParagraphGap));
  if (FRotation != r->FRotation) add("Rotation", SysUtils::IntToStr(FRotation));
  if (RTLReading != r->RTLReading) add("RTLReading", boolean(RTLReading));
  if (Underlines != r->Underlines) add("Underlines", boolean(Underlines));
  if (VAlign != r->VAlign) add("VAlign", SysUtils::IntToStr(VAlign));
  if (WordWrap != r->WordWrap) add("WordWrap", boolean(WordWrap));
  return s;
}

namespace frxMemoView {

void GetWrappedText(TfrxCustomMemoView* View, bool Wrapped, TStrings* Text)
{
  Text->Clear();
  TfrxDrawText* layout = View->Layout();
  TLockGuard lock(*layout);
  TValueGuard keep(View->Color);
  View->PrepareLayout(layout, nullptr, 1, 1, 0, 0);
  if (Wrapped)
    for (Integer i = 0; i < layout->GetLineCount(); ++i) Text->Add(layout->GetLine(i));
  else
    Text->SetText(layout->RemoveTags(View->GetText()));
}

void Initialize()
{
  frxExpression::Initialize();
  Classes::RegisterClasses({TfrxCustomMemoView::StaticClass(), TfrxMemoView::StaticClass(),
                            TfrxSysMemoView::StaticClass(), TfrxHighlight::StaticClass(), TfrxFormat::StaticClass()});
}

}  // namespace frxMemoView

PELTO_DEFINE_CLASS(TfrxFormat)
PELTO_PUBLISH(TfrxFormat, p)
{
  p.Property("DecimalSeparator", &ThisClass::DecimalSeparator, &ThisClass::DecimalSeparator);
  p.Property("FormatStr", &ThisClass::FormatStr, &ThisClass::FormatStr);
  p.Property("Kind", &ThisClass::Kind, &ThisClass::Kind).Default(fkText);
}

PELTO_DEFINE_CLASS(TfrxHighlight)
PELTO_PUBLISH(TfrxHighlight, p)
{
  p.Property("Active", &ThisClass::Active, &ThisClass::Active).Default(false);
  p.Property("Font", &ThisClass::GetFont, &ThisClass::SetFont);
  p.Property("Color", TypeInfo_TColor(), &ThisClass::Color, &ThisClass::Color).Default(clNone);
  p.Property("Condition", &ThisClass::Condition, &ThisClass::Condition);
}

PELTO_DEFINE_CLASS(TfrxCustomMemoView)

PELTO_DEFINE_CLASS(TfrxMemoView)
PELTO_PUBLISH(TfrxMemoView, p)
{
  p.Property("AutoWidth", &ThisClass::AutoWidth, &ThisClass::AutoWidth).Default(false);
  p.Property("AllowExpressions", &ThisClass::AllowExpressions, &ThisClass::AllowExpressions).Default(true);
  p.Property("AllowHTMLTags", &ThisClass::AllowHTMLTags, &ThisClass::AllowHTMLTags).Default(false);
  p.Property("BrushStyle", &ThisClass::BrushStyle, &ThisClass::BrushStyle).Default(bsSolid);
  p.Property("CharSpacing", &ThisClass::CharSpacing, &ThisClass::CharSpacing).StoredWhen(&CharSpacingStored);
  p.Property("Color", TypeInfo_TColor(), &ThisClass::Color, &ThisClass::Color).Default(clNone);
  p.Property("DataField", &ThisClass::DataField, &ThisClass::DataField);
  p.Property("DataSet", &ThisClass::GetDataSet, &ThisClass::SetDataSet);
  p.Property("DataSetName", &ThisClass::GetDataSetName, &ThisClass::SetDataSetName);
  p.Property("DisplayFormat", &ThisClass::GetDisplayFormat, &ThisClass::SetDisplayFormat);
  p.Property("ExpressionDelimiters", &ThisClass::ExpressionDelimiters, &ThisClass::ExpressionDelimiters)
      .StoredWhen(&DelimitersStored);
  p.Property("FlowTo", &ThisClass::GetFlowTo, &ThisClass::SetFlowTo);
  p.Property("Font", &ThisClass::GetFont, &ThisClass::SetFont).StoredWhen(&FontStored);
  p.Property("Frame", &ThisClass::GetFrame, &ThisClass::SetFrame);
  p.Property("GapX", &ThisClass::GapX, &ThisClass::GapX).StoredWhen(&GapXStored);
  p.Property("GapY", &ThisClass::GapY, &ThisClass::GapY).StoredWhen(&GapYStored);
  p.Property("HAlign", &ThisClass::HAlign, &ThisClass::HAlign).Default(haLeft);
  p.Property("HideZeros", &ThisClass::HideZeros, &ThisClass::HideZeros).Default(false);
  p.Property("Highlight", &ThisClass::GetHighlight, &ThisClass::SetHighlight).StoredWhen(&HighlightStored);
  p.Property("LineSpacing", &ThisClass::LineSpacing, &ThisClass::LineSpacing).StoredWhen(&LineSpacingStored);
  p.Property("Memo", &ThisClass::GetMemo, &ThisClass::SetMemo);
  p.Property("ParagraphGap", &ThisClass::ParagraphGap, &ThisClass::ParagraphGap).StoredWhen(&ParagraphGapStored);
  p.Property("ParentFont", &ThisClass::GetParentFont, &ThisClass::SetParentFont).Default(true);
  p.Property("Rotation", &ThisClass::GetRotation, &ThisClass::SetRotation).Default(0);
  p.Property("RTLReading", &ThisClass::RTLReading, &ThisClass::RTLReading).Default(false);
  p.Property("Style", &ThisClass::GetStyle, &ThisClass::SetStyle);
  p.Property("SuppressRepeated", &ThisClass::SuppressRepeated, &ThisClass::SuppressRepeated).Default(false);
  p.Property("Underlines", &ThisClass::Underlines, &ThisClass::Underlines).Default(false);
  p.Property("WordBreak", &ThisClass::WordBreak, &ThisClass::WordBreak).Default(false);
  p.Property("WordWrap", &ThisClass::WordWrap, &ThisClass::WordWrap).Default(true);
  p.Property("VAlign", &ThisClass::VAlign, &ThisClass::VAlign).Default(vaTop);
}

PELTO_DEFINE_CLASS(TfrxSysMemoView)
PELTO_PUBLISH(TfrxSysMemoView, p)
{
  p.Property("AutoWidth", &ThisClass::AutoWidth, &ThisClass::AutoWidth).Default(false);
  p.Property("BrushStyle", &ThisClass::BrushStyle, &ThisClass::BrushStyle).Default(bsSolid);
  p.Property("CharSpacing", &ThisClass::CharSpacing, &ThisClass::CharSpacing).StoredWhen(&CharSpacingStored);
  p.Property("Color", TypeInfo_TColor(), &ThisClass::Color, &ThisClass::Color).Default(clNone);
  p.Property("DisplayFormat", &ThisClass::GetDisplayFormat, &ThisClass::SetDisplayFormat);
  p.Property("Font", &ThisClass::GetFont, &ThisClass::SetFont).StoredWhen(&FontStored);
  p.Property("Frame", &ThisClass::GetFrame, &ThisClass::SetFrame);
  p.Property("GapX", &ThisClass::GapX, &ThisClass::GapX).StoredWhen(&GapXStored);
  p.Property("GapY", &ThisClass::GapY, &ThisClass::GapY).StoredWhen(&GapYStored);
  p.Property("HAlign", &ThisClass::HAlign, &ThisClass::HAlign).Default(haLeft);
  p.Property("HideZeros", &ThisClass::HideZeros, &ThisClass::HideZeros).Default(false);
  p.Property("Highlight", &ThisClass::GetHighlight, &ThisClass::SetHighlight).StoredWhen(&HighlightStored);
  p.Property("Memo", &ThisClass::GetMemo, &ThisClass::SetMemo);
  p.Property("ParentFont", &ThisClass::GetParentFont, &ThisClass::SetParentFont).Default(true);
  p.Property("Rotation", &ThisClass::GetRotation, &ThisClass::SetRotation).Default(0);
  p.Property("RTLReading", &ThisClass::RTLReading, &ThisClass::RTLReading).Default(false);
  p.Property("Style", &ThisClass::GetStyle, &ThisClass::SetStyle);
  p.Property("SuppressRepeated", &ThisClass::SuppressRepeated, &ThisClass::SuppressRepeated).Default(false);
  p.Property("VAlign", &ThisClass::VAlign, &ThisClass::VAlign).Default(vaTop);
}
