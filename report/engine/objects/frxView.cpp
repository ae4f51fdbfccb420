#include "report/engine/objects/frxView.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "platform/classes/ClassRegistry.h"
#include "platform/gdi/dc/DeviceContext.h"
#include "platform/gdi/dc/GdiObjects.h"
#include "platform/gdi/draw/Shapes.h"
#include "platform/gdi/text/TextOutput.h"
#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/FormatText.h"
#include "platform/rtl/Variants.h"
#include "report/engine/xml/frxXML.h"
#include "report/engine/data/frxDataSet.h"
#include "report/engine/model/frxPage.h"
#include "report/engine/model/frxReport.h"
#include "report/engine/model/frxRes.h"
#include "report/engine/model/frxUtils.h"

using namespace Windows;

namespace {

int Round(Extended v) { return static_cast<int>(std::lround(v)); }

// Selects a new pen or brush for the life of the object and frees it afterwards.
class TSelected {
public:
  TSelected(HDC dc, HGDIOBJ obj) : FDC(dc), FObj(obj), FOld(SelectObject(dc, obj)) {}
  ~TSelected()
  {
    SelectObject(FDC, FOld);
    DeleteObject(FObj);
  }
  TSelected(const TSelected&) = delete;
  TSelected& operator=(const TSelected&) = delete;

private:
  HDC FDC;
  HGDIOBJ FObj, FOld;
};

int HatchOf(TBrushStyle s)
{
  switch (s) {
    case bsHorizontal: return HS_HORIZONTAL;
    case bsVertical: return HS_VERTICAL;
    case bsFDiagonal: return HS_FDIAGONAL;
    case bsBDiagonal: return HS_BDIAGONAL;
    case bsCross: return HS_CROSS;
    default: return HS_DIAGCROSS;
  }
}

HBRUSH MakeBrush(TBrushStyle s, TColor c)
{
  if (s == bsClear) return static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
  if (s == bsSolid) return CreateSolidBrush(static_cast<COLORREF>(c));
  return CreateHatchBrush(HatchOf(s), static_cast<COLORREF>(c));
}

}  // namespace

void TfrxFrame::Assign(TPersistent* Source)
{
  if (auto* f = dynamic_cast<TfrxFrame*>(Source)) {
    Color = f->Color;
    DropShadow = f->DropShadow;
    ShadowColor = f->ShadowColor;
    ShadowWidth = f->ShadowWidth;
    Style = f->Style;
    Typ = f->Typ;
    Width = f->Width;
    return;
  }
  TPersistent::Assign(Source);
}

TfrxView::TfrxView(TComponent* AOwner) : TfrxReportComponent(AOwner), FFrame(std::make_unique<TfrxFrame>()) {}

void TfrxView::SetDataSet(TfrxDataSet* Value)
{
  FDataSet = Value;
  FDataSetName = Value ? Value->GetUserName() : AnsiString();
  if (Value) Value->FreeNotification(this);
}

AnsiString TfrxView::GetDataSetName() const { return FDataSet ? FDataSet->GetUserName() : FDataSetName; }

void TfrxView::SetDataSetName(const AnsiString& Value)
{
  FDataSetName = Value;
  FDataSet = frxClass::FindDataSetByName(nullptr, Value, GetReport());
  if (FDataSet) FDataSet->FreeNotification(this);
}

void TfrxView::Notification(TComponent* AComponent, TOperation Operation)
{
  TfrxReportComponent::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FDataSet) FDataSet = nullptr;
}

AnsiString TfrxView::WriteDiff(TfrxComponent* Reference)
{
  AnsiString s = TfrxReportComponent::WriteDiff(Reference);
  auto* r = dynamic_cast<TfrxView*>(Reference);
  if (!r) return s;
  auto add = [&](const char* name, const AnsiString& value) { s += AnsiString(" ") + name + "=\"" + value + "\""; };
  auto num = [](Extended v) { return SysUtils::FloatToStr(static_cast<double>(v)); };
  auto boolean = [](bool b) { return AnsiString(b ? "True" : "False"); };
  if (BrushStyle != r->BrushStyle) add("BrushStyle", SysUtils::IntToStr(BrushStyle));
  if (Align != r->Align) add("Align", SysUtils::IntToStr(Align));
  if (Color != r->Color) add("Color", SysUtils::IntToStr(Color));
  const TfrxFrame &f = *GetFrame(), &rf = *r->GetFrame();
  if (f.Color != rf.Color) add("Frame.Color", SysUtils::IntToStr(f.Color));
  if (f.DropShadow != rf.DropShadow) add("Frame.DropShadow", boolean(f.DropShadow));
  if (f.ShadowColor != rf.ShadowColor) add("Frame.ShadowColor", SysUtils::IntToStr(f.ShadowColor));
  if (frxClass::Differs(f.ShadowWidth, rf.ShadowWidth)) add("Frame.ShadowWidth", num(f.ShadowWidth));
  if (f.Style != rf.Style) add("Frame.Style", SysUtils::IntToStr(f.Style));
  if (f.Typ != rf.Typ) add("Frame.Typ", SysUtils::IntToStr(static_cast<Int64>(f.Typ.Mask())));
  if (frxClass::Differs(f.Width, rf.Width)) add("Frame.Width", num(f.Width));
  if (Cursor != r->Cursor) add("Cursor", SysUtils::IntToStr(Cursor));
  if (Printable != r->Printable) add("Printable", boolean(Printable));
  if (TagStr != r->TagStr) add("TagStr", frxXML::EscapeText(TagStr));
  if (URL != r->URL) add("URL", frxXML::EscapeText(URL));
  return s;
}

void TfrxView::FetchData()
{
  TfrxReport* report = GetReport();
  if (!report) return;
  auto calc = [report](const AnsiString& E) { return Variants::VarToStr(report->Calc(E)); };
  if (TagStr.find('[') != AnsiString::npos) TagStr = frxView::ExpandBrackets(TagStr, "[", "]", calc);
  if (URL.find('[') != AnsiString::npos) URL = frxView::ExpandBrackets(URL, "[", "]", calc);
}

void TfrxView::SaveBounds()
{
  TfrxReportComponent::SaveBounds();
  FSavedTagStr = TagStr;
  FSavedURL = URL;
}

void TfrxView::RestoreBounds()
{
  TfrxReportComponent::RestoreBounds();
  TagStr = FSavedTagStr;
  URL = FSavedURL;
}

void TfrxView::BeginDraw(HDC Canvas, Extended ScaleX, Extended ScaleY, Extended OffsetX, Extended OffsetY)
{
  FCanvas = Canvas;
  FScaleX = ScaleX;
  FScaleY = ScaleY;
  FOffsetX = OffsetX;
  FOffsetY = OffsetY;
  Extended l = GetAbsLeft(), t = GetAbsTop();
  FX = Round(OffsetX + ScaleX * l);
  FY = Round(OffsetY + ScaleY * t);
  FX1 = Round(OffsetX + ScaleX * (l + GetWidth()));
  FY1 = Round(OffsetY + ScaleY * (t + GetHeight()));
  if (FFrame->DropShadow) {
    FX1 -= Round(ScaleX * FFrame->ShadowWidth);
    FY1 -= Round(ScaleY * FFrame->ShadowWidth);
  }
  FDX = FX1 - FX;
  FDY = FY1 - FY;
  FrameWidthPx = Round(ScaleX * FFrame->Width);
}

void TfrxView::Draw(HDC Canvas, Extended ScaleX, Extended ScaleY, Extended OffsetX, Extended OffsetY)
{
  BeginDraw(Canvas, ScaleX, ScaleY, OffsetX, OffsetY);
  DrawBackground();
  DrawFrame();
}

void TfrxView::DrawBackground()
{
  if (Color != clNone) {
    HBRUSH b = CreateSolidBrush(static_cast<COLORREF>(Color));
    RECT r{FX, FY, FX1, FY1};
    FillRect(FCanvas, &r, b);
    DeleteObject(b);
  }
  if (BrushStyle != bsSolid) {
    TSelected brush(FCanvas, MakeBrush(BrushStyle, FFrame->Color));
    TSelected pen(FCanvas, CreatePen(PS_SOLID, 1, static_cast<COLORREF>(Color == clNone ? 0xFFFFFF : Color)));
    Rectangle(FCanvas, FX, FY, FX1 + 1, FY1 + 1);
  }
}

void TfrxView::DrawFrame()
{
  const TfrxFrame& f = *FFrame;
  if (f.DropShadow) {
    TSelected pen(FCanvas, CreatePen(PS_SOLID, 1, static_cast<COLORREF>(f.ShadowColor)));
    int s = Round(f.ShadowWidth * FScaleX);
    frxView::DrawThickLine(FCanvas, FX1 + s / 2, FY + s, FX1 + s / 2, FY1, s);
    s = Round(f.ShadowWidth * FScaleY);
    frxView::DrawThickLine(FCanvas, FX + s, FY1 + s / 2, FX1 + s, FY1 + s / 2, s);
  }
  if (f.Typ.Empty() || f.Color == clNone || f.Width == 0) return;

  bool wide = f.Style == fsSolid || f.Style == fsDouble;
  TSelected pen(FCanvas, CreatePen(wide ? PS_SOLID : static_cast<int>(f.Style), wide ? FrameWidthPx : 1,
                                   static_cast<COLORREF>(f.Color)));
  HBRUSH brush = f.Style == fsSolid || Color == clNone ? static_cast<HBRUSH>(GetStockObject(NULL_BRUSH))
                                                       : CreateSolidBrush(static_cast<COLORREF>(Color));
  TSelected brushSel(FCanvas, brush);
  // The gaps of dashed lines take the object's colour, or stay clear without one.
  int oldBk = SetBkMode(FCanvas, Color == clNone ? TRANSPARENT : OPAQUE);
  COLORREF oldBkColor = SetBkColor(FCanvas, static_cast<COLORREF>(Color == clNone ? 0xFFFFFF : Color));
  int w = FrameWidthPx;

  auto side = [&](TfrxFrameType t, int x1, int y1, int x2, int y2) {
    if (!f.Typ.Contains(t)) return;
    if (f.Style == fsSolid) {
      MoveToEx(FCanvas, x1, y1, nullptr);
      LineTo(FCanvas, x2, y2);
    } else if (f.Style == fsDouble) {
      bool vertical = x1 == x2;
      // Outer line out by w, lengthened by w where the adjacent side is framed; inner shortened.
      bool startJoined = f.Typ.Contains(vertical ? ftTop : ftLeft);
      bool endJoined = f.Typ.Contains(vertical ? ftBottom : ftRight);
      int out = (t == ftLeft || t == ftTop) ? -w : w;
      auto line = [&](int offset, int grow) {
        int a = startJoined ? grow : 0, b = endJoined ? grow : 0;
        if (vertical) {
          MoveToEx(FCanvas, x1 + offset, y1 - a, nullptr);
          LineTo(FCanvas, x2 + offset, y2 + b);
        } else {
          MoveToEx(FCanvas, x1 - a, y1 + offset, nullptr);
          LineTo(FCanvas, x2 + b, y2 + offset);
        }
      };
      line(out, w);
      if (Color != clNone) {
        TSelected mid(FCanvas, CreatePen(PS_SOLID, w, static_cast<COLORREF>(Color)));
        line(0, 0);
      }
      line(-out, -w);
    } else {
      frxView::DrawThickLine(FCanvas, x1, y1, x2, y2, w);
    }
  };
  side(ftLeft, FX, FY, FX, FY1);
  side(ftRight, FX1, FY, FX1, FY1);
  side(ftTop, FX, FY, FX1, FY);
  side(ftBottom, FX, FY1, FX1 + (w == 1 ? 1 : 0), FY1);
  SetBkColor(FCanvas, oldBkColor);
  SetBkMode(FCanvas, oldBk);
}

AnsiString TfrxShapeView::GetClassCaption() { return frxRes::Get("obShape"); }

AnsiString TfrxShapeView::WriteDiff(TfrxComponent* Reference)
{
  AnsiString s = TfrxView::WriteDiff(Reference);
  auto* r = dynamic_cast<TfrxShapeView*>(Reference);
  if (r && Shape != r->Shape) s += " Shape=\"" + SysUtils::IntToStr(Shape) + "\"";
  return s;
}

void TfrxShapeView::Draw(HDC Canvas, Extended ScaleX, Extended ScaleY, Extended OffsetX, Extended OffsetY)
{
  BeginDraw(Canvas, ScaleX, ScaleY, OffsetX, OffsetY);
  TfrxFrame* f = GetFrame();
  // The pen style has the frame style's number: a double frame gives the clear pen.
  TSelected pen(Canvas, CreatePen(static_cast<int>(f->Style), FrameWidthPx, static_cast<COLORREF>(f->Color)));
  int oldBk = SetBkMode(Canvas, OPAQUE);
  auto shape = [&] {
    switch (Shape) {
      case skRectangle: Rectangle(Canvas, FX, FY, FX1 + 1, FY1 + 1); break;
      case skRoundRectangle: {
        int r = std::min(FDX, FDY) / 4;
        RoundRect(Canvas, FX, FY, FX1 + 1, FY1 + 1, r, r);
        break;
      }
      case skEllipse: Ellipse(Canvas, FX, FY, FX1 + 1, FY1 + 1); break;
      case skTriangle: {
        POINT p[] = {{FX1, FY1}, {FX, FY1}, {FX + FDX / 2, FY}, {FX1, FY1}};
        Polygon(Canvas, p, 4);
        break;
      }
      case skDiamond: {
        POINT p[] = {
            {FX + FDX / 2, FY}, {FX1, FY + FDY / 2}, {FX + FDX / 2, FY1}, {FX, FY + FDY / 2}, {FX + FDX / 2, FY}};
        Polygon(Canvas, p, 5);
        break;
      }
      case skDiagonal1: frxView::DrawThickLine(Canvas, FX, FY1, FX1, FY, FrameWidthPx); break;
      case skDiagonal2: frxView::DrawThickLine(Canvas, FX, FY, FX1, FY1, FrameWidthPx); break;
    }
  };
  if (BrushStyle != bsSolid) {
    if (Color != clNone) {
      TSelected b(Canvas, CreateSolidBrush(static_cast<COLORREF>(Color)));
      shape();
    }
    // The hatch goes over the fill, so its gaps stay see-through.
    SetBkMode(Canvas, TRANSPARENT);
    TSelected b(Canvas, MakeBrush(BrushStyle, f->Color));
    shape();
  } else {
    TSelected b(Canvas, MakeBrush(Color == clNone ? bsClear : bsSolid, Color));
    shape();
  }
  SetBkMode(Canvas, oldBk);
}

TfrxCustomLineView::TfrxCustomLineView(TComponent* AOwner) : TfrxStretcheable(AOwner) {}

void TfrxCustomLineView::Draw(HDC Canvas, Extended ScaleX, Extended ScaleY, Extended OffsetX, Extended OffsetY)
{
  TfrxFrame* f = GetFrame();
  if (!Diagonal) {
    if (GetWidth() <= GetHeight()) {
      SetWidth(0);
      f->Typ = TfrxFrameTypes() << ftLeft;
    } else {
      SetHeight(0);
      f->Typ = TfrxFrameTypes() << ftTop;
    }
  }
  BeginDraw(Canvas, ScaleX, ScaleY, OffsetX, OffsetY);
  if (!Diagonal) {
    DrawFrame();
    return;
  }
  if (f->Color == clNone || f->Width == 0) return;
  TSelected brush(Canvas, MakeBrush(Color == clNone ? bsClear : bsSolid, Color));
  int style = f->Style == fsDouble ? PS_SOLID : static_cast<int>(f->Style);
  TSelected pen(Canvas, CreatePen(style, 1, static_cast<COLORREF>(f->Color)));
  frxView::DrawThickLine(Canvas, FX, FY, FX1, FY1, FrameWidthPx);
}

AnsiString TfrxLineView::GetClassCaption() { return frxRes::Get("obLine"); }

TfrxSubreport::TfrxSubreport(TComponent* AOwner) : TfrxView(AOwner)
{
  GetFrame()->Typ = TfrxFrameTypes() << ftLeft << ftRight << ftTop << ftBottom;
  GetFont()->SetName("Tahoma");
  GetFont()->SetSize(8);
  Color = 0xC0C0C0;
}

TfrxSubreport::~TfrxSubreport()
{
  if (FPage && FPage->Subreport == this) FPage->Subreport = nullptr;
}

AnsiString TfrxSubreport::GetClassCaption() { return frxRes::Get("obSubRep"); }

void TfrxSubreport::SetPage(TfrxReportPage* Value)
{
  if (FPage && FPage->Subreport == this) FPage->Subreport = nullptr;
  FPage = Value;
  if (FPage) {
    FPage->Subreport = this;
    FPage->FreeNotification(this);
  }
}

void TfrxSubreport::Notification(TComponent* AComponent, TOperation Operation)
{
  TfrxView::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FPage) FPage = nullptr;
}

void TfrxSubreport::Draw(HDC Canvas, Extended ScaleX, Extended ScaleY, Extended OffsetX, Extended OffsetY)
{
  TfrxView::Draw(Canvas, ScaleX, ScaleY, OffsetX, OffsetY);
  const TFont* f = GetFont();
  LOGFONTA lf;
  lf.lfHeight = -Round(f->GetSize() * ScaleY * 96 / 72);
  lf.lfWeight = f->GetStyle().Contains(fsBold) ? FW_BOLD : FW_NORMAL;
  lf.lfCharSet = static_cast<BYTE>(f->GetCharset());
  std::snprintf(lf.lfFaceName, LF_FACESIZE, "%s", f->GetName().c_str());
  TSelected font(Canvas, CreateFontIndirect(lf));
  COLORREF oldColor = SetTextColor(Canvas, static_cast<COLORREF>(f->GetColor()));
  int oldBk = SetBkMode(Canvas, TRANSPARENT);
  const AnsiString& name = GetName();
  TextOut(Canvas, FX + 2, FY + 2, name.c_str(), static_cast<int>(name.size()));
  SetBkMode(Canvas, oldBk);
  SetTextColor(Canvas, oldColor);
}

namespace frxView {

void DrawThickLine(HDC Canvas, int X1, int Y1, int X2, int Y2, int Width)
{
  if (Width <= 0) Width = 1;
  bool horizontal = std::abs(Y2 - Y1) < std::abs(X2 - X1);
  int from = Width % 2 ? -(Width - 1) / 2 : -Width / 2;
  int to = Width % 2 ? (Width - 1) / 2 : Width / 2 - 1;
  for (int d = from; d <= to; ++d) {
    int dx = horizontal ? 0 : d, dy = horizontal ? d : 0;
    MoveToEx(Canvas, X1 + dx, Y1 + dy, nullptr);
    LineTo(Canvas, X2 + dx, Y2 + dy);
  }
}

AnsiString ExpandBrackets(const AnsiString& Text, const AnsiString& Open, const AnsiString& Close,
                          const std::function<AnsiString(const AnsiString&)>& Eval)
{
  if (Open.empty() || Close.empty()) return Text;
  AnsiString s = Text;
  size_t i = 0;
  while (i < s.size()) {
    if (s.compare(i, Open.size(), Open) == 0) {
      int start = static_cast<int>(i) + 1, stop = 0;
      AnsiString inner = frxUtils::FindBracketed(s, Open, Close, start, stop);
      if (stop == start) break;  // no matching Close: the rest stays as it is
      AnsiString value = Eval(inner);
      s = s.substr(0, static_cast<size_t>(start - 1)) + value + s.substr(static_cast<size_t>(stop));
      i = static_cast<size_t>(start - 1) + value.size();
      continue;
    }
    i += System::IsLeadByte(s[i]) && i + 1 < s.size() ? 2 : 1;
  }
  return s;
}

void Initialize()
{
  Classes::RegisterClasses({TfrxShapeView::StaticClass(), TfrxLineView::StaticClass(), TfrxSubreport::StaticClass()});
}

}  // namespace frxView

PELTO_DEFINE_CLASS(TfrxFrame)
PELTO_PUBLISH(TfrxFrame, p)
{
  p.Property("Color", TypeInfo_TColor(), &ThisClass::Color, &ThisClass::Color).Default(0);
  p.Property("DropShadow", &ThisClass::DropShadow, &ThisClass::DropShadow).Default(false);
  p.Property("ShadowColor", TypeInfo_TColor(), &ThisClass::ShadowColor, &ThisClass::ShadowColor).Default(0);
  p.Property("ShadowWidth", &ThisClass::ShadowWidth, &ThisClass::ShadowWidth).StoredWhen([](const TObject* o) {
    return static_cast<const TfrxFrame*>(o)->ShadowWidth != 4;
  });
  p.Property("Style", &ThisClass::Style, &ThisClass::Style).Default(fsSolid);
  p.Property("Typ", &ThisClass::Typ, &ThisClass::Typ).StoredWhen([](const TObject* o) {
    return !static_cast<const TfrxFrame*>(o)->Typ.Empty();
  });
  p.Property("Width", &ThisClass::Width, &ThisClass::Width).StoredWhen([](const TObject* o) {
    return static_cast<const TfrxFrame*>(o)->Width != 1;
  });
}

PELTO_DEFINE_CLASS(TfrxView)
PELTO_PUBLISH(TfrxView, p)
{
  p.Property("Align", &ThisClass::Align, &ThisClass::Align).Default(baNone);
  p.Property("Cursor", &ThisClass::Cursor, &ThisClass::Cursor).Default(0);
  p.Property("Printable", &ThisClass::Printable, &ThisClass::Printable).Default(true);
  p.Property("ShiftMode", &ThisClass::ShiftMode, &ThisClass::ShiftMode).Default(smAlways);
  p.Property("TagStr", &ThisClass::TagStr, &ThisClass::TagStr);
  p.Property("URL", &ThisClass::URL, &ThisClass::URL);
  p.Property("Left", &ThisClass::GetLeft, &ThisClass::SetLeft);
  p.Property("Top", &ThisClass::GetTop, &ThisClass::SetTop);
  p.Property("Width", &ThisClass::GetWidth, &ThisClass::SetWidth);
  p.Property("Height", &ThisClass::GetHeight, &ThisClass::SetHeight);
  p.Property("GroupIndex", &ThisClass::GetGroupIndex, &ThisClass::SetGroupIndex).Default(0);
  p.Property("Restrictions", &ThisClass::GetRestrictions, &ThisClass::SetRestrictions).Default(TfrxRestrictions{});
  p.Property("Visible", &ThisClass::GetVisible, &ThisClass::SetVisible).Default(true);
  p.Property("OnAfterData", &ThisClass::OnAfterData, &ThisClass::OnAfterData);
  p.Property("OnAfterPrint", &ThisClass::OnAfterPrint, &ThisClass::OnAfterPrint);
  p.Property("OnBeforePrint", &ThisClass::OnBeforePrint, &ThisClass::OnBeforePrint);
  p.Property("OnPreviewClick", &ThisClass::OnPreviewClick, &ThisClass::OnPreviewClick);
}

PELTO_DEFINE_CLASS(TfrxStretcheable)
PELTO_PUBLISH(TfrxStretcheable, p)
{
  p.Property("StretchMode", &ThisClass::StretchMode, &ThisClass::StretchMode).Default(smDontStretch);
}

PELTO_DEFINE_CLASS(TfrxShapeView)
PELTO_PUBLISH(TfrxShapeView, p)
{
  p.Property("BrushStyle", &ThisClass::BrushStyle, &ThisClass::BrushStyle).Default(bsSolid);
  p.Property("Color", TypeInfo_TColor(), &ThisClass::Color, &ThisClass::Color).Default(clNone);
  p.Property("Frame", &ThisClass::GetFrame, &ThisClass::SetFrame);
  p.Property("Shape", &ThisClass::Shape, &ThisClass::Shape).Default(skRectangle);
}

PELTO_DEFINE_CLASS(TfrxCustomLineView)

PELTO_DEFINE_CLASS(TfrxLineView)
PELTO_PUBLISH(TfrxLineView, p)
{
  p.Property("Diagonal", &ThisClass::Diagonal, &ThisClass::Diagonal).Default(false);
  p.Property("Frame", &ThisClass::GetFrame, &ThisClass::SetFrame);
}

PELTO_DEFINE_CLASS(TfrxSubreport)
PELTO_PUBLISH(TfrxSubreport, p)
{
  p.Property("Page", &ThisClass::GetPage, &ThisClass::SetPage);
  p.Property("PrintOnParent", &ThisClass::PrintOnParent, &ThisClass::PrintOnParent).Default(false);
}
