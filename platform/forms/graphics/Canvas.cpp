#include "platform/forms/graphics/Canvas.h"

#include "platform/forms/graphics/Brush.h"
#include "platform/forms/graphics/Font.h"
#include "platform/forms/graphics/Graphic.h"
#include "platform/forms/graphics/Pen.h"
#include "platform/gdi/dc/DeviceContext.h"
#include "platform/gdi/dc/GdiObjects.h"
#include "platform/gdi/draw/Blits.h"
#include "platform/gdi/draw/Edges.h"
#include "platform/gdi/draw/Shapes.h"
#include "platform/gdi/text/TextOutput.h"

using namespace Windows;

void TCanvas::Published(TPublisher<TCanvas>& p)
{
  p.Property("Brush", &ThisClass::GetBrush, &ThisClass::SetBrush);
  p.Property("Font", &ThisClass::GetFont, &ThisClass::SetFont);
  p.Property("Pen", &ThisClass::GetPen, &ThisClass::SetPen);
}

TCanvas::TCanvas()
    : FFont(std::make_unique<TFont>()), FPen(std::make_unique<TPen>()), FBrush(std::make_unique<TBrush>())
{
  // A changed object leaves the context before its handle is freed.
  FFont->OnChange = [this](TObject*) { DeselectFont(); };
  FPen->OnChange = [this](TObject*) { DeselectPen(); };
  FBrush->OnChange = [this](TObject*) { DeselectBrush(); };
}

TCanvas::~TCanvas() { SetHandle(nullptr); }

HDC TCanvas::GetHandle()
{
  if (!FHandle) CreateHandle();
  return FHandle;
}

void TCanvas::SetHandle(HDC Value)
{
  if (Value == FHandle) return;
  DeselectFont();
  DeselectPen();
  DeselectBrush();
  FHandle = Value;
  FState = Value ? csHandleValid : 0;
}

void TCanvas::SetFont(TFont* Value) { FFont->Assign(Value); }
void TCanvas::SetPen(TPen* Value) { FPen->Assign(Value); }
void TCanvas::SetBrush(TBrush* Value) { FBrush->Assign(Value); }

void TCanvas::DeselectFont()
{
  if (FState & csFontValid) SelectObject(FHandle, FOldFont);
  FState &= ~csFontValid;
}

void TCanvas::DeselectPen()
{
  if (FState & csPenValid) SelectObject(FHandle, FOldPen);
  FState &= ~csPenValid;
}

void TCanvas::DeselectBrush()
{
  if (FState & csBrushValid) SelectObject(FHandle, FOldBrush);
  FState &= ~csBrushValid;
}

void TCanvas::RequiredState(int State)
{
  if (!FHandle) CreateHandle();
  if (!FHandle) throw EInvalidOperation("Canvas does not allow drawing");
  FState |= csHandleValid;
  if ((State & csFontValid) && !(FState & csFontValid)) {
    FOldFont = SelectObject(FHandle, FFont->GetHandle());
    SetTextColor(FHandle, Graphics::ColorToRGB(FFont->GetColor()));
    FState |= csFontValid;
  }
  if ((State & csPenValid) && !(FState & csPenValid)) {
    FOldPen = SelectObject(FHandle, FPen->GetHandle());
    SetROP2(FHandle, Graphics::PenModeToROP2(FPen->GetMode()));
    FState |= csPenValid;
  }
  if ((State & csBrushValid) && !(FState & csBrushValid)) {
    FOldBrush = SelectObject(FHandle, FBrush->GetHandle());
    SetBkColor(FHandle, Graphics::ColorToRGB(FBrush->GetColor()));
    SetBkMode(FHandle, FBrush->GetStyle() == bsSolid ? OPAQUE : TRANSPARENT);
    FState |= csBrushValid;
  }
}

POINT TCanvas::GetPenPos()
{
  RequiredState(csHandleValid);
  POINT p{0, 0};
  GetCurrentPositionEx(FHandle, &p);
  return p;
}

RECT TCanvas::GetClipRect()
{
  RequiredState(csHandleValid);
  RECT r{0, 0, 0, 0};
  GetClipBox(FHandle, &r);
  return r;
}

TColor TCanvas::GetPixels(int X, int Y)
{
  RequiredState(csHandleValid);
  COLORREF c = Windows::GetPixel(FHandle, X, Y);
  return c == CLR_INVALID ? clNone : static_cast<TColor>(c);
}

void TCanvas::SetPixels(int X, int Y, TColor Value)
{
  Changing();
  RequiredState(csHandleValid | csPenValid);
  Windows::SetPixel(FHandle, X, Y, Graphics::ColorToRGB(Value));
  Changed();
}

void TCanvas::MoveTo(int X, int Y)
{
  RequiredState(csHandleValid);
  MoveToEx(FHandle, X, Y, nullptr);
}

void TCanvas::LineTo(int X, int Y)
{
  Changing();
  RequiredState(csHandleValid | csPenValid | csBrushValid);
  Windows::LineTo(FHandle, X, Y);
  Changed();
}

void TCanvas::Rectangle(int X1, int Y1, int X2, int Y2)
{
  Changing();
  RequiredState(csHandleValid | csPenValid | csBrushValid);
  Windows::Rectangle(FHandle, X1, Y1, X2, Y2);
  Changed();
}

void TCanvas::RoundRect(int X1, int Y1, int X2, int Y2, int X3, int Y3)
{
  Changing();
  RequiredState(csHandleValid | csPenValid | csBrushValid);
  Windows::RoundRect(FHandle, X1, Y1, X2, Y2, X3, Y3);
  Changed();
}

void TCanvas::Ellipse(int X1, int Y1, int X2, int Y2)
{
  Changing();
  RequiredState(csHandleValid | csPenValid | csBrushValid);
  Windows::Ellipse(FHandle, X1, Y1, X2, Y2);
  Changed();
}

void TCanvas::Arc(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4)
{
  Changing();
  RequiredState(csHandleValid | csPenValid | csBrushValid);
  Windows::Arc(FHandle, X1, Y1, X2, Y2, X3, Y3, X4, Y4);
  Changed();
}

void TCanvas::Pie(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4)
{
  Changing();
  RequiredState(csHandleValid | csPenValid | csBrushValid);
  Windows::Pie(FHandle, X1, Y1, X2, Y2, X3, Y3, X4, Y4);
  Changed();
}

void TCanvas::Chord(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4)
{
  Changing();
  RequiredState(csHandleValid | csPenValid | csBrushValid);
  Windows::Chord(FHandle, X1, Y1, X2, Y2, X3, Y3, X4, Y4);
  Changed();
}

void TCanvas::Polygon(const std::vector<POINT>& Points)
{
  if (Points.empty()) return;
  Changing();
  RequiredState(csHandleValid | csPenValid | csBrushValid);
  Windows::Polygon(FHandle, Points.data(), static_cast<int>(Points.size()));
  Changed();
}

void TCanvas::Polyline(const std::vector<POINT>& Points)
{
  if (Points.empty()) return;
  Changing();
  RequiredState(csHandleValid | csPenValid | csBrushValid);
  Windows::Polyline(FHandle, Points.data(), static_cast<int>(Points.size()));
  Changed();
}

void TCanvas::FillRect(const RECT& Rect)
{
  Changing();
  RequiredState(csHandleValid | csBrushValid);
  Windows::FillRect(FHandle, &Rect, FBrush->GetHandle());
  Changed();
}

void TCanvas::FrameRect(const RECT& Rect)
{
  Changing();
  RequiredState(csHandleValid | csBrushValid);
  Windows::FrameRect(FHandle, &Rect, FBrush->GetHandle());
  Changed();
}

void TCanvas::DrawFocusRect(const RECT& Rect)
{
  Changing();
  RequiredState(csHandleValid | csBrushValid);
  Windows::DrawFocusRect(FHandle, &Rect);
  Changed();
}

void TCanvas::TextOut(int X, int Y, const AnsiString& Text)
{
  Changing();
  RequiredState(csHandleValid | csFontValid | csBrushValid);
  int n = static_cast<int>(Text.size());
  Windows::TextOut(FHandle, X, Y, Text.data(), n);
  SIZE size{0, 0};
  GetTextExtentPoint32(FHandle, Text.data(), n, &size);
  MoveToEx(FHandle, X + size.cx, Y, nullptr);
  Changed();
}

void TCanvas::TextRect(const RECT& Rect, int X, int Y, const AnsiString& Text)
{
  Changing();
  RequiredState(csHandleValid | csFontValid | csBrushValid);
  UINT options = ETO_CLIPPED;
  if (FBrush->GetStyle() != bsClear) options |= ETO_OPAQUE;
  ExtTextOut(FHandle, X, Y, options, &Rect, Text.data(), static_cast<int>(Text.size()), nullptr);
  Changed();
}

SIZE TCanvas::TextExtent(const AnsiString& Text)
{
  RequiredState(csHandleValid | csFontValid);
  SIZE size{0, 0};
  GetTextExtentPoint32(FHandle, Text.data(), static_cast<int>(Text.size()), &size);
  return size;
}

void TCanvas::Draw(int X, int Y, TGraphic* Graphic)
{
  if (!Graphic || Graphic->GetEmpty()) return;
  StretchDraw(RECT{X, Y, X + Graphic->GetWidth(), Y + Graphic->GetHeight()}, Graphic);
}

void TCanvas::StretchDraw(const RECT& Rect, TGraphic* Graphic)
{
  if (!Graphic || Graphic->GetEmpty()) return;
  Changing();
  RequiredState(csHandleValid);
  Graphic->Draw(this, Rect);
  Changed();
}

void TCanvas::CopyRect(const RECT& Dest, TCanvas* Canvas, const RECT& Source)
{
  Changing();
  RequiredState(csHandleValid | csBrushValid);
  Canvas->RequiredState(csHandleValid | csBrushValid);
  StretchBlt(FHandle, Dest.left, Dest.top, Dest.right - Dest.left, Dest.bottom - Dest.top, Canvas->FHandle, Source.left,
             Source.top, Source.right - Source.left, Source.bottom - Source.top, FCopyMode);
  Changed();
}

void TCanvas::Lock()
{
  FLock.lock();
  ++FLockCount;
}

void TCanvas::Unlock()
{
  --FLockCount;
  FLock.unlock();
}

bool TCanvas::TryLock()
{
  if (!FLock.try_lock()) return false;
  ++FLockCount;
  return true;
}

void TCanvas::Changing()
{
  if (OnChanging) OnChanging(this);
}

void TCanvas::Changed()
{
  if (OnChange) OnChange(this);
}
