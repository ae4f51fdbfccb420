#include "controls/framework/cxContainerViewInfo.h"

#include "controls/framework/dxThemeManager.h"
#include "controls/framework/dxUxTheme.h"
#include "platform/win/window/Rects.h"

namespace cxContainer {

TcxContainerBorderStyle EffectiveBorderStyle(TcxContainerBorderStyle Style, TcxContainerHotState HotState)
{
  if (Style == cbsUltraFlat) return cbsSingle;
  if (HotState != 2) return Style;
  switch (Style) {
    case cbsNone: return cbsFlat;
    case cbsSingle: return cbsThick;
    case cbsFlat: return cbs3D;
    default: return Style;
  }
}

int BorderWidth(TcxContainerBorderStyle Style)
{
  switch (Style) {
    case cbsNone: return 0;
    case cbsSingle:
    case cbsUltraFlat: return 1;
    default: return 2;
  }
}

void DrawContainerShadow(TcxCanvas* Canvas, const RECT& R)
{
  const int w = 3;
  RECT bottom{R.left + w, R.bottom, R.right + w, R.bottom + w};
  RECT right{R.right, R.top + w, R.right + w, R.bottom};
  Canvas->FillRectColor(bottom, clBtnShadow);
  Canvas->FillRectColor(right, clBtnShadow);
  Canvas->ExcludeFromClip(bottom);
  Canvas->ExcludeFromClip(right);
}

void FillFrame(TcxCanvas* Canvas, const RECT& R, const RECT& InnerRect, TColor Color)
{
  if (R.right <= R.left || R.bottom <= R.top || Windows::EqualRect(&R, &InnerRect)) return;
  if (InnerRect.right <= InnerRect.left || InnerRect.bottom <= InnerRect.top) {
    Canvas->FillRectColor(R, Color);
    return;
  }
  Canvas->FillRectColor(RECT{R.left, R.top, R.right, InnerRect.top}, Color);
  Canvas->FillRectColor(RECT{R.left, InnerRect.bottom, R.right, R.bottom}, Color);
  Canvas->FillRectColor(RECT{R.left, InnerRect.top, InnerRect.left, InnerRect.bottom}, Color);
  Canvas->FillRectColor(RECT{InnerRect.right, InnerRect.top, R.right, InnerRect.bottom}, Color);
}

}  // namespace cxContainer

void TcxContainerViewInfo::DrawContainerBorder(TcxCanvas* Canvas, const RECT& R)
{
  switch (BorderStyle) {
    case cbsSingle:
    case cbsThick: Canvas->FrameRect(R, BorderColor, BorderWidth); break;
    case cbsFlat: {
      Canvas->DrawEdge(R, true, true, Edges);
      RECT inner = R;
      Windows::InflateRect(&inner, -1, -1);
      Canvas->FrameRect(inner, clBtnFace);
      break;
    }
    case cbs3D: {
      Canvas->DrawEdge(R, true, true, Edges);
      RECT inner = R;
      Windows::InflateRect(&inner, -1, -1);
      Canvas->DrawTwoColorFrame(inner, cl3DDkShadow, cl3DLight, Edges);
      break;
    }
    default: break;
  }
}

void TcxContainerViewInfo::InternalPaint(TcxCanvas* Canvas)
{
  if (NativeStyle) {
    RECT content = Bounds;
    if (HTHEME theme = dxThemeManager::OpenTheme(ThemedObjectType))
      dxUxTheme::GetThemeBackgroundContentRect(theme, Canvas->GetHandle(), NativePart, NativeState, &Bounds, &content);
    Canvas->FillRectColor(content, BackgroundColor);
    COLORREF border = 0;
    if (HTHEME combo = dxThemeManager::OpenTheme(totComboBox)) dxUxTheme::GetThemeColor(combo, 1, 1, 3801, &border);
    cxContainer::FillFrame(Canvas, Bounds, content, TColor(border));
    return;
  }
  RECT r = BorderRect;
  r.left -= BorderWidth;
  r.top -= BorderWidth;
  if (Edges.Contains(bRight)) r.right += BorderWidth;
  if (Edges.Contains(bBottom)) r.bottom += BorderWidth;
  if (Shadow) cxContainer::DrawContainerShadow(Canvas, r);
  // Missing sides go outside the control.
  if (!Edges.Contains(bLeft)) r.left -= BorderWidth;
  if (!Edges.Contains(bTop)) r.top -= BorderWidth;
  if (!Edges.Contains(bRight)) r.right += BorderWidth;
  if (!Edges.Contains(bBottom)) r.bottom += BorderWidth;
  DrawContainerBorder(Canvas, r);
  Canvas->FillRectColor(BorderRect, BackgroundColor);
}

void TcxContainerViewInfo::Assign(TcxContainerViewInfo* Source)
{
  if (Source) ClientRect = Source->ClientRect;
}

TcxRegion* TcxContainerViewInfo::GetRepaintRegion(TcxContainerViewInfo*) { return TcxRegion::CreateEmpty(); }

void TcxContainerViewInfo::Offset(int DX, int DY)
{
  Windows::OffsetRect(&BorderRect, DX, DY);
  Windows::OffsetRect(&Bounds, DX, DY);
  Windows::OffsetRect(&ClientRect, DX, DY);
}

PELTO_DEFINE_CLASS(TcxContainerViewInfo)
