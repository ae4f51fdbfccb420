#include "report/engine/controls/frxDock.h"

#include <algorithm>
#include <cstdint>

#include "platform/classes/ClassRegistry.h"
#include "platform/forms/controls/DockDrag.h"
#include "platform/forms/controls/DockTree.h"
#include "platform/forms/controls/DragObject.h"
#include "platform/forms/controls/Messages.h"
#include "platform/forms/graphics/Bitmap.h"
#include "platform/forms/graphics/Brush.h"
#include "platform/forms/graphics/Canvas.h"
#include "platform/forms/graphics/Font.h"
#include "platform/forms/graphics/Pen.h"
#include "platform/gdi/draw/Edges.h"
#include "platform/rtl/IniFiles.h"
#include "platform/rtl/Streams.h"
#include "platform/stdctrls/buttons/SpeedButton.h"
#include "platform/win/input/Focus.h"

namespace {

POINT CursorPos()
{
  POINT p{};
  Windows::GetCursorPos(&p);
  return p;
}

// The bars a dock holds, in child order.
std::vector<TfrxToolBar*> BarsOf(TfrxDock* Dock)
{
  std::vector<TfrxToolBar*> out;
  for (int i = 0; i < Dock->GetControlCount(); ++i)
    if (auto* bar = dynamic_cast<TfrxToolBar*>(Dock->GetControl(i))) out.push_back(bar);
  return out;
}

std::vector<frxDockLayout::TBar> LayoutOf(const std::vector<TfrxToolBar*>& Bars)
{
  std::vector<frxDockLayout::TBar> out;
  for (TfrxToolBar* b : Bars) out.push_back(frxDockLayout::TBar{b->GetBoundsRect(), b->GetVisible()});
  return out;
}

void ApplyLayout(const std::vector<TfrxToolBar*>& Bars, const std::vector<frxDockLayout::TBar>& Layout)
{
  for (size_t i = 0; i < Bars.size(); ++i) {
    RECT want = Layout[i].Bounds, have = Bars[i]->GetBoundsRect();
    if (want.left != have.left || want.top != have.top || want.right != have.right || want.bottom != have.bottom)
      Bars[i]->SetBoundsRect(want);
  }
}

// The size of a bar across its dock's rows: its shorter side.
int Thickness(TControl* Bar) { return std::min(Bar->GetWidth(), Bar->GetHeight()); }

}  // namespace

// ============================================================================================
// TfrxDock
// ============================================================================================

TfrxDock::TfrxDock(TComponent* AOwner) : TCustomPanel(AOwner)
{
  SetBevelOuter(bvNone);
  SetCaption("");
  SetAlign(alTop);
  SetHeight(1);
}

frxDockLayout::TSide TfrxDock::GetSide() const
{
  switch (GetAlign()) {
    case alBottom: return frxDockLayout::sdBottom;
    case alLeft: return frxDockLayout::sdLeft;
    case alRight: return frxDockLayout::sdRight;
    default: return frxDockLayout::sdTop;
  }
}

bool TfrxDock::IsVertical() const
{
  frxDockLayout::TSide s = GetSide();
  return s == frxDockLayout::sdLeft || s == frxDockLayout::sdRight;
}

void TfrxDock::AdjustBounds()
{
  std::vector<TfrxToolBar*> bars = BarsOf(this);
  std::vector<frxDockLayout::TBar> layout = LayoutOf(bars);
  int extent = frxDockLayout::Arrange(GetSide(), IsVertical() ? GetWidth() : GetHeight(), FRowSize, layout);
  ApplyLayout(bars, layout);
  // A bottom or right dock keeps its outer edge; alignment would keep it there too.
  switch (GetSide()) {
    case frxDockLayout::sdTop: SetHeight(extent); break;
    case frxDockLayout::sdLeft: SetWidth(extent); break;
    case frxDockLayout::sdBottom: SetBounds(GetLeft(), GetTop() + GetHeight() - extent, GetWidth(), extent); break;
    case frxDockLayout::sdRight: SetBounds(GetLeft() + GetWidth() - extent, GetTop(), extent, GetHeight()); break;
  }
}

void TfrxDock::Loaded()
{
  TCustomPanel::Loaded();
  AdjustBounds();
}

void TfrxDock::Paint()
{
  TCanvas* c = GetCanvas();
  c->GetBrush()->SetColor(clBtnFace);
  c->GetBrush()->SetStyle(bsSolid);
  c->FillRect(GetClientRect());
  if (GetComponentState().Contains(csDesigning)) {
    c->GetBrush()->SetColor(clBtnShadow);
    c->FrameRect(GetClientRect());
  }
}

// ============================================================================================
// TfrxDragBox
// ============================================================================================

TfrxDragBox::TfrxDragBox(TComponent* AOwner) : TGraphicControl(AOwner) { SetBounds(0, 0, 8, 8); }

void TfrxDragBox::Paint()
{
  TCanvas* c = GetCanvas();
  c->GetBrush()->SetColor(clBtnFace);
  c->GetBrush()->SetStyle(bsSolid);
  c->FillRect(RECT{0, 0, GetWidth(), GetHeight()});
  c->GetPen()->SetColor(clBtnShadow);
  auto* bar = dynamic_cast<TfrxToolBar*>(GetParent());
  bool vertical = bar && bar->GetDockOrientation() == 3;
  if (!vertical)
    for (int y = 1; y < GetHeight() - 1; y += 2) {
      c->MoveTo(2, y);
      c->LineTo(6, y);
    }
  else
    for (int x = 1; x < GetWidth() - 1; x += 2) {
      c->MoveTo(x, 2);
      c->LineTo(x, 6);
    }
}

void TfrxDragBox::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
  if (auto* bar = dynamic_cast<TfrxToolBar*>(GetParent())) bar->MouseDown(Button, Shift, X + GetLeft(), Y + GetTop());
}

void TfrxDragBox::MouseMove(TShiftState Shift, int X, int Y)
{
  if (auto* bar = dynamic_cast<TfrxToolBar*>(GetParent())) bar->MouseMove(Shift, X + GetLeft(), Y + GetTop());
}

void TfrxDragBox::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
  if (auto* bar = dynamic_cast<TfrxToolBar*>(GetParent())) bar->MouseUp(Button, Shift, X + GetLeft(), Y + GetTop());
}

// ============================================================================================
// TfrxTBPanel
// ============================================================================================

TfrxTBPanel::TfrxTBPanel(TComponent* AOwner) : TCustomPanel(AOwner)
{
  SetBevelOuter(bvNone);
  SetCaption("");
  SetBounds(0, 0, 8, 8);
}

void TfrxTBPanel::SetParent(TWinControl* AParent)
{
  TCustomPanel::SetParent(AParent);
  if (auto* bar = dynamic_cast<TfrxToolBar*>(AParent)) {
    if (bar->GetDockOrientation() == 1) SetAlign(alLeft);
    if (bar->GetDockOrientation() == 3) SetAlign(alTop);
  }
}

void TfrxTBPanel::Paint()
{
  TCanvas* c = GetCanvas();
  c->GetBrush()->SetColor(clBtnFace);
  c->GetBrush()->SetStyle(bsSolid);
  c->FillRect(GetClientRect());
  if (GetComponentState().Contains(csDesigning)) c->DrawFocusRect(GetClientRect());
}

// ============================================================================================
// TfrxFloatWindow
// ============================================================================================

namespace {

// A small black cross on white (the transparent colour), for the close button.
std::unique_ptr<TBitmap> MakeCloseGlyph()
{
  auto bmp = std::make_unique<TBitmap>();
  bmp->SetSize(9, 9);
  TCanvas* c = bmp->GetCanvas();
  c->GetBrush()->SetColor(clWhite);
  c->FillRect(RECT{0, 0, 9, 9});
  for (int i = 1; i < 8; ++i) {
    c->SetPixels(i, i, clBlack);
    c->SetPixels(8 - i, i, clBlack);
  }
  return bmp;
}

}  // namespace

TfrxFloatWindow::TfrxFloatWindow(TComponent* AOwner) : TCustomForm(AOwner)
{
  SetBorderStyle(bsNone);
  CloseBtn = new TSpeedButton(this);
  CloseBtn->SetParent(this);
  CloseBtn->SetFlat(true);
  std::unique_ptr<TBitmap> glyph = MakeCloseGlyph();
  CloseBtn->SetGlyph(glyph.get());
  CloseBtn->OnClick = [this](TObject*) { Close(); };
  Resize();
}

TfrxFloatWindow::~TfrxFloatWindow()
{
  if (FToolBar) {
    FToolBar->FFloatWindow = nullptr;
    FToolBar->SetParent(nullptr);
  }
}

void TfrxFloatWindow::CreateParams(TCreateParams& Params)
{
  TCustomForm::CreateParams(Params);
  // Shown above the window it belongs to.
  if (auto* owner = dynamic_cast<TWinControl*>(GetOwner()))
    if (owner->HandleAllocated()) Params.WndParent = owner->GetHandle();
}

void TfrxFloatWindow::Resize()
{
  TCustomForm::Resize();
  if (CloseBtn) CloseBtn->SetBounds(GetWidth() - 14, 4, 11, 11);
}

void TfrxFloatWindow::Paint()
{
  TCanvas* c = GetCanvas();
  int w = GetWidth(), h = GetHeight();
  c->GetBrush()->SetStyle(bsSolid);
  c->GetBrush()->SetColor(TColor(0x808080));
  c->FillRect(RECT{0, 0, w, h});
  c->GetBrush()->SetColor(clBtnFace);
  c->FillRect(RECT{3, 18, w - 3, h - 3});
  c->GetPen()->SetColor(clBtnFace);
  c->MoveTo(3, 17);
  c->LineTo(w - 3, 17);
  c->GetFont()->Assign(GetFont());
  c->GetFont()->SetStyle(TFontStyles{fsBold});
  c->GetFont()->SetColor(clCaptionText);
  c->GetBrush()->SetStyle(bsClear);
  c->TextOut(6, 3, FToolBar ? FToolBar->GetCaption() : GetCaption());
}

void TfrxFloatWindow::BeginMove(POINT Start)
{
  FMoving = true;
  FLastPoint = Start;
  Windows::SetCapture(GetHandle());
}

void TfrxFloatWindow::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
  TCustomForm::MouseDown(Button, Shift, X, Y);
  if (Button == mbLeft) BeginMove(CursorPos());
}

void TfrxFloatWindow::MouseMove(TShiftState Shift, int X, int Y)
{
  TCustomForm::MouseMove(Shift, X, Y);
  if (!FMoving || !Shift.Contains(ssLeft)) return;
  POINT p = CursorPos();
  SetBounds(GetLeft() + p.x - FLastPoint.x, GetTop() + p.y - FLastPoint.y, GetWidth(), GetHeight());
  FLastPoint = p;
  auto* form = dynamic_cast<TWinControl*>(GetOwner());
  if (!FToolBar || !form) return;
  TfrxToolBar* bar = FToolBar;
  if (bar->TryDock(form, form->ScreenToClient(p))) bar->BeginGripDrag(p);  // this window is gone now
}

void TfrxFloatWindow::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
  TCustomForm::MouseUp(Button, Shift, X, Y);
  if (FMoving && Windows::GetCapture() == GetHandle()) Windows::ReleaseCapture();
  FMoving = false;
}

void TfrxFloatWindow::DoClose(TCloseAction& Action)
{
  TCustomForm::DoClose(Action);
  Action = caHide;  // the bar is hidden with its window and comes back with it
}

// ============================================================================================
// TfrxToolBar
// ============================================================================================

TfrxToolBar::TfrxToolBar(TComponent* AOwner) : TCustomPanel(AOwner)
{
  SetBevelOuter(bvNone);
  SetCaption("");
  SetBounds(0, 0, 100, 26);
  FDragBox = new TfrxDragBox(this);
  FDragBox->SetParent(this);
  FDragBox->SetAlign(alLeft);
}

TfrxToolBar::~TfrxToolBar()
{
  if (FFloatWindow) {
    TfrxFloatWindow* window = FFloatWindow;
    window->FToolBar = nullptr;
    FFloatWindow = nullptr;
    SetParent(nullptr);
    delete window;
  }
}

TfrxDock* TfrxToolBar::GetDock() const { return dynamic_cast<TfrxDock*>(GetParent()); }

int TfrxToolBar::GetDockOrientation() const
{
  TfrxDock* dock = GetDock();
  if (!dock) return 0;
  return dock->IsVertical() ? 3 : 1;
}

bool TfrxToolBar::GetIsVisible() const { return FFloating && FFloatWindow ? FFloatWindow->GetVisible() : GetVisible(); }

void TfrxToolBar::SetIsVisible(bool Value)
{
  if (FFloating && FFloatWindow)
    FFloatWindow->SetVisible(Value);
  else {
    SetVisible(Value);
    if (TfrxDock* dock = GetDock()) dock->AdjustBounds();
  }
}

void TfrxToolBar::Paint()
{
  TCanvas* c = GetCanvas();
  RECT r{0, 0, GetWidth(), GetHeight()};
  c->GetBrush()->SetColor(clBtnFace);
  c->GetBrush()->SetStyle(bsSolid);
  c->FillRect(r);
  if (!FFloating) Windows::DrawEdge(c->GetHandle(), &r, BDR_RAISEDINNER, BF_RECT);
}

void TfrxToolBar::AdjustClientRect(RECT& Rect)
{
  TCustomPanel::AdjustClientRect(Rect);
  Rect.left += 1;
  Rect.top += 1;
  Rect.right -= 1;
  Rect.bottom -= 1;
}

void TfrxToolBar::ArrangeControls()
{
  bool horizontal = GetDockOrientation() < 3;
  DisableAlign();
  {
    FDragBox->SetBounds(0, 0, 8, 8);
    FDragBox->SetAlign(horizontal ? alLeft : alTop);
    // A bar turned from the other orientation swaps its sides.
    if (horizontal ? GetWidth() < GetHeight() : GetWidth() > GetHeight())
      SetBounds(GetLeft(), GetTop(), GetHeight(), GetWidth());
    std::vector<TControl*> children;
    for (int i = 0; i < GetControlCount(); ++i)
      if (GetControl(i) != FDragBox) children.push_back(GetControl(i));
    std::stable_sort(children.begin(), children.end(), [horizontal](TControl* a, TControl* b) {
      return horizontal ? a->GetLeft() < b->GetLeft() : a->GetTop() < b->GetTop();
    });
    for (TControl* c : children) {
      if (!c->GetVisible()) continue;
      TAlign a = c->GetAlign();
      if (horizontal && a != alLeft && a != alRight) {
        c->SetLeft(c->GetTop());
        c->SetAlign(a == alBottom ? alRight : alLeft);
      } else if (!horizontal && a != alTop && a != alBottom) {
        c->SetTop(c->GetLeft());
        c->SetAlign(a == alRight ? alBottom : alTop);
      }
    }
  }
  EnableAlign();
}

void TfrxToolBar::AdjustBounds()
{
  ArrangeControls();
  bool horizontal = GetDockOrientation() < 3;
  int length = 4;
  for (int i = 0; i < GetControlCount(); ++i) {
    TControl* c = GetControl(i);
    if (c->GetVisible()) length += horizontal ? c->GetWidth() : c->GetHeight();
  }
  if (horizontal)
    SetWidth(length);
  else
    SetHeight(length);
}

void TfrxToolBar::DockTo(TfrxDock* Dock, int Left, int Top)
{
  SetVisible(false);
  TfrxDock* former = GetDock();
  SetParent(Dock);
  if (TfrxFloatWindow* window = FFloatWindow) {
    // Freed once the message that brought us here is done (it may be the window's own).
    window->FToolBar = nullptr;
    FFloatWindow = nullptr;
    window->Hide();
    window->Release();
  }
  if (former && former != Dock) former->AdjustBounds();
  FFloating = false;
  FDragBox->SetVisible(true);
  ArrangeControls();
  SetBounds(Left, Top, GetWidth(), GetHeight());
  SetVisible(true);
  AdjustBounds();
  Dock->AdjustBounds();
}

void TfrxToolBar::AddToDock(TfrxDock* Dock)
{
  int x = 0, y = 0;
  switch (Dock->GetSide()) {
    case frxDockLayout::sdTop: y = Dock->GetHeight() - 1; break;
    case frxDockLayout::sdBottom: y = 1 - Thickness(this); break;
    case frxDockLayout::sdLeft: x = Dock->GetWidth() - 1; break;
    case frxDockLayout::sdRight: x = 1 - Thickness(this); break;
  }
  DockTo(Dock, x, y);
}

void TfrxToolBar::Float(int Left, int Top)
{
  if (FFloatWindow) {
    FFloatWindow->SetBounds(Left, Top, FFloatWindow->GetWidth(), FFloatWindow->GetHeight());
    return;
  }
  SetVisible(false);
  FDragBox->SetVisible(false);
  TfrxDock* former = GetDock();
  TComponent* owner = GetParentForm() ? static_cast<TComponent*>(GetParentForm()) : GetOwner();
  FFloatWindow = new TfrxFloatWindow(owner);
  FFloatWindow->FToolBar = this;
  FFloatWindow->SetCaption(GetCaption());
  FFloatWindow->SetBounds(Left, Top, FFloatWindow->GetWidth(), FFloatWindow->GetHeight());
  SetParent(FFloatWindow);
  FFloating = true;
  AdjustBounds();
  if (former) former->AdjustBounds();
  FFloatWindow->SetClientSize(GetWidth() + 6, GetHeight() + 21);
  SetBounds(3, 18, GetWidth(), GetHeight());
  SetVisible(true);
  FFloatWindow->Show();
}

void TfrxToolBar::FloatAtCursor()
{
  POINT p = CursorPos();
  Float(p.x - 10, p.y - 8);
  if (FFloatWindow) FFloatWindow->BeginMove(p);
}

bool TfrxToolBar::MoveTo(int X, int Y)
{
  if (FFloating) return true;
  TfrxDock* dock = GetDock();
  if (!dock) return false;
  std::vector<TfrxToolBar*> bars = BarsOf(dock);
  std::vector<frxDockLayout::TBar> layout = LayoutOf(bars);
  size_t index = size_t(std::find(bars.begin(), bars.end(), this) - bars.begin());
  int extent = dock->IsVertical() ? dock->GetWidth() : dock->GetHeight();
  int length = dock->IsVertical() ? dock->GetHeight() : dock->GetWidth();
  switch (frxDockLayout::MoveTo(dock->GetSide(), extent, length, dock->GetRowSize(), layout, index, X, Y, FCanFloat)) {
    case frxDockLayout::mvRefused: return false;
    case frxDockLayout::mvTornOff:
      FDragging = false;
      FloatAtCursor();
      return true;
    case frxDockLayout::mvMoved: break;
  }
  ApplyLayout(bars, layout);
  dock->AdjustBounds();
  return true;
}

bool TfrxToolBar::TryDock(TWinControl* Form, POINT Point)
{
  if (!Form) return false;
  for (int i = 0; i < Form->GetControlCount(); ++i) {
    auto* dock = dynamic_cast<TfrxDock*>(Form->GetControl(i));
    if (!dock || !dock->GetVisible()) continue;
    RECT r = dock->GetBoundsRect();
    if (Point.x < r.left || Point.x > r.right || Point.y < r.top || Point.y > r.bottom) continue;
    if (dock->IsVertical() ? FOrientation == toHorzOnly : FOrientation == toVertOnly) return false;
    int thick = Thickness(this), len = std::max(GetWidth(), GetHeight());
    int x = 0, y = 0;
    if (!dock->IsVertical()) {
      x = std::max(0, std::min(Point.x - r.left, dock->GetWidth() - len));
      y = dock->GetSide() == frxDockLayout::sdTop ? dock->GetHeight() - 1 : 1 - thick;
    } else {
      y = std::max(0, std::min(Point.y - r.top, dock->GetHeight() - len));
      x = dock->GetSide() == frxDockLayout::sdLeft ? dock->GetWidth() - 1 : 1 - thick;
    }
    DockTo(dock, x, y);
    return true;
  }
  return false;
}

void TfrxToolBar::BeginGripDrag(POINT Screen)
{
  FDragging = true;
  FLastPoint = Screen;
  if (HandleAllocated()) Windows::SetCapture(GetHandle());
}

void TfrxToolBar::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
  TCustomPanel::MouseDown(Button, Shift, X, Y);
  if (Button == mbLeft && !FFloating) {
    FDragging = true;
    FLastPoint = CursorPos();
  }
}

void TfrxToolBar::MouseMove(TShiftState Shift, int X, int Y)
{
  TCustomPanel::MouseMove(Shift, X, Y);
  TfrxDock* dock = GetDock();
  if (!FDragging || FFloating || !dock) return;
  POINT p = CursorPos();
  int dx = p.x - FLastPoint.x, dy = p.y - FLastPoint.y;
  int row = dock->GetRowSize();
  // Across the dock in whole rows, along it in pixels.
  if (dock->IsVertical())
    dx = dx / row * row;
  else
    dy = dy / row * row;
  if (dx == 0 && dy == 0) return;
  if (!MoveTo(GetLeft() + dx, GetTop() + dy)) return;
  if (FFloating) return;  // torn off: the float window follows the mouse now
  if (dx != 0) FLastPoint.x = p.x;
  if (dy != 0) FLastPoint.y = p.y;
}

void TfrxToolBar::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
  TCustomPanel::MouseUp(Button, Shift, X, Y);
  if (FDragging && HandleAllocated() && Windows::GetCapture() == GetHandle()) Windows::ReleaseCapture();
  FDragging = false;
}

// ============================================================================================
// TfrxDockSite
// ============================================================================================

namespace {

// The bar beside a dock site; dragging it sizes the site.
class TfrxDockSizer : public TCustomControl {
public:
  TfrxDockSizer(TComponent* AOwner, TfrxDockSite* ASite) : TCustomControl(AOwner), FSite(ASite)
  {
    SetBounds(0, 0, 3, 3);
    SetCursor(crHSplit);
    SetVisible(false);
  }

protected:
  void Paint() override
  {
    GetCanvas()->GetBrush()->SetColor(clBtnFace);
    GetCanvas()->FillRect(GetClientRect());
  }
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override
  {
    TCustomControl::MouseDown(Button, Shift, X, Y);
    FLastX = CursorPos().x;
  }
  void MouseMove(TShiftState Shift, int X, int Y) override
  {
    TCustomControl::MouseMove(Shift, X, Y);
    if (!Shift.Contains(ssLeft)) return;
    int x = CursorPos().x;
    FSite->SizeBy(x - FLastX);
    FLastX = x;
  }

private:
  TfrxDockSite* FSite;
  int FLastX = 0;
};

}  // namespace

TfrxDockSite::TfrxDockSite(TComponent* AOwner) : TCustomPanel(AOwner)
{
  SetBevelOuter(bvNone);
  SetBevelInner(bvNone);
  SetCaption(" ");
  SetAlign(alLeft);
  SetWidth(10);
  SetAutoSize(true);
  SetDockSite(true);
  SetUseDockManager(true);
  FSizer = new TfrxDockSizer(this, this);
}

void TfrxDockSite::SetParent(TWinControl* AParent)
{
  TCustomPanel::SetParent(AParent);
  FSizer->SetParent(AParent);
  PlaceSizer();
}

void TfrxDockSite::PlaceSizer()
{
  if (!FSizer->GetParent()) return;
  // Right of a left-aligned site, left of it otherwise, with the same alignment.
  FSizer->SetAlign(GetAlign());
  if (GetAlign() == alLeft)
    FSizer->SetBounds(GetLeft() + GetWidth(), GetTop(), 3, GetHeight());
  else
    FSizer->SetBounds(GetLeft() - 3, GetTop(), 3, GetHeight());
}

void TfrxDockSite::SizeBy(int Delta)
{
  bool autoSize = GetAutoSize();
  SetAutoSize(false);
  SetWidth(std::max(0, GetWidth() + (GetAlign() == alLeft ? Delta : -Delta)));
  SetAutoSize(autoSize);
  PlaceSizer();
}

void TfrxDockSite::DockOver(TDragDockObject* Source, int X, int Y, TDragState State, bool& Accept)
{
  if (TControl* c = Source->GetControl()) FDockWidth = c->GetWidth();
  TCustomPanel::DockOver(Source, X, Y, State, Accept);
}

void TfrxDockSite::DockDrop(TDragDockObject* Source, int X, int Y)
{
  TControl* c = Source->GetControl();
  int width = FDockWidth > 0 ? FDockWidth : c ? c->GetWidth() : 0;
  TCustomPanel::DockDrop(Source, X, Y);
  if (GetWidth() < width) {
    bool autoSize = GetAutoSize();
    SetAutoSize(false);
    SetWidth(width);
    SetAutoSize(autoSize);
  }
  FDockWidth = 0;
  FSizer->SetVisible(true);
  PlaceSizer();
}

bool TfrxDockSite::DoUnDock(TWinControl* NewTarget, TControl* Client)
{
  bool allowed = TCustomPanel::DoUnDock(NewTarget, Client);
  // Nothing left to size: the bar goes.
  if (allowed && GetDockClientCount() == 0) FSizer->SetVisible(false);
  return allowed;
}

// ============================================================================================
// Saving and restoring positions
// ============================================================================================

namespace frxDock {

namespace {

AnsiString ToHex(const std::uint8_t* Bytes, size_t Count)
{
  static const char digits[] = "0123456789ABCDEF";
  AnsiString out;
  out.reserve(Count * 2);
  for (size_t i = 0; i < Count; ++i) {
    out += digits[Bytes[i] >> 4];
    out += digits[Bytes[i] & 15];
  }
  return out;
}

// False for text that is not pairs of hexadecimal digits.
bool FromHex(const AnsiString& Text, std::vector<std::uint8_t>& Out)
{
  if (Text.size() % 2) return false;
  auto digit = [](char c) -> int {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
  };
  Out.clear();
  for (size_t i = 0; i < Text.size(); i += 2) {
    int hi = digit(Text[i]), lo = digit(Text[i + 1]);
    if (hi < 0 || lo < 0) return false;
    Out.push_back(std::uint8_t(hi * 16 + lo));
  }
  return true;
}

// A component by the name a settings file keeps: "Name" among Owner's components, or
// "Global.Name" through the global components.
TComponent* FindByStoredName(TComponent* Owner, const AnsiString& Name)
{
  size_t dot = Name.find('.');
  if (dot == AnsiString::npos) return Owner ? Owner->FindComponent(Name) : nullptr;
  TComponent* root = Classes::FindGlobalComponent(Name.substr(0, dot));
  return root ? FindByStoredName(root, Name.substr(dot + 1)) : nullptr;
}

}  // namespace

void SaveToolbarPosition(TCustomIniFile* Settings, TfrxToolBar* ToolBar)
{
  AnsiString section = "ToolBar." + ToolBar->GetName();
  bool floating = ToolBar->IsFloating() && ToolBar->GetFloatWindow();
  Settings->WriteBool(section, "Float", floating);
  Settings->WriteBool(section, "Visible", ToolBar->GetIsVisible());
  TControl* placed = floating ? static_cast<TControl*>(ToolBar->GetFloatWindow()) : ToolBar;
  Settings->WriteInteger(section, "Left", placed->GetLeft());
  Settings->WriteInteger(section, "Top", placed->GetTop());
  Settings->WriteInteger(section, "Width", ToolBar->GetWidth());
  Settings->WriteInteger(section, "Height", ToolBar->GetHeight());
  if (TfrxDock* dock = ToolBar->GetDock()) Settings->WriteString(section, "Dock", dock->GetName());
}

void RestoreToolbarPosition(TCustomIniFile* Settings, TfrxToolBar* ToolBar)
{
  AnsiString section = "ToolBar." + ToolBar->GetName();
  ToolBar->SetIsVisible(false);
  int left = Settings->ReadInteger(section, "Left", ToolBar->GetLeft());
  int top = Settings->ReadInteger(section, "Top", ToolBar->GetTop());
  if (Settings->ReadBool(section, "Float", false))
    ToolBar->Float(left, top);
  else {
    ToolBar->SetBounds(left, top, ToolBar->GetWidth(), ToolBar->GetHeight());
    AnsiString current = ToolBar->GetParent() ? ToolBar->GetParent()->GetName() : AnsiString();
    AnsiString name = Settings->ReadString(section, "Dock", current);
    auto* dock = dynamic_cast<TfrxDock*>(ToolBar->GetOwner() ? ToolBar->GetOwner()->FindComponent(name) : nullptr);
    if (dock && dock != ToolBar->GetParent()) ToolBar->DockTo(dock, left, top);
  }
  int width = Settings->ReadInteger(section, "Width", ToolBar->GetWidth());
  int height = Settings->ReadInteger(section, "Height", ToolBar->GetHeight());
  ToolBar->SetBounds(ToolBar->GetLeft(), ToolBar->GetTop(), width, height);
  ToolBar->AdjustBounds();
  ToolBar->SetIsVisible(Settings->ReadBool(section, "Visible", true));
}

void SaveDockSitePosition(TCustomIniFile* Settings, TfrxDockSite* Site)
{
  TDockTree* manager = Site->GetDockManager();
  if (!manager) return;
  TMemoryStream stream;
  manager->SaveToStream(&stream);
  Settings->WriteString("Dock." + Site->GetName(), "Data",
                        ToHex(static_cast<const std::uint8_t*>(stream.GetMemory()), size_t(stream.GetSize())));
}

void RestoreDockSitePosition(TCustomIniFile* Settings, TfrxDockSite* Site)
{
  AnsiString data = Settings->ReadString("Dock." + Site->GetName(), "Data", "");
  std::vector<std::uint8_t> bytes;
  TDockTree* manager = Site->GetDockManager();
  if (data.empty() || !manager || !FromHex(data, bytes)) return;
  TMemoryStream stream;
  stream.WriteBuffer(bytes.data(), Int64(bytes.size()));
  stream.SetPosition(0);
  manager->LoadFromStream(&stream);
  if (Site->GetDockClientCount() > 0) Site->GetSizer()->SetVisible(true);
}

void SaveFormPosition(TCustomIniFile* Settings, TCustomForm* Form)
{
  AnsiString section = AnsiString("Form.") + Form->ClassName();
  Settings->WriteInteger(section, "Left", Form->GetLeft());
  Settings->WriteInteger(section, "Top", Form->GetTop());
  Settings->WriteInteger(section, "Width", Form->GetWidth());
  Settings->WriteInteger(section, "Height", Form->GetHeight());
  Settings->WriteBool(section, "Maximized", Form->GetWindowState() == wsMaximized);
  Settings->WriteBool(section, "Visible", Form->GetVisible());
  AnsiString dock;
  if (TWinControl* site = Form->GetHostDockSite()) {
    dock = site->GetName();
    TComponent* siteOwner = site->GetOwner();
    if (siteOwner && siteOwner != Form->GetOwner() && !siteOwner->GetName().empty())
      dock = siteOwner->GetName() + "." + dock;
  }
  Settings->WriteString(section, "Dock", dock);
}

void RestoreFormPosition(TCustomIniFile* Settings, TCustomForm* Form)
{
  AnsiString section = AnsiString("Form.") + Form->ClassName();
  if (Settings->ReadBool(section, "Maximized", false))
    Form->SetWindowState(wsMaximized);
  else
    Form->SetBounds(Settings->ReadInteger(section, "Left", Form->GetLeft()),
                    Settings->ReadInteger(section, "Top", Form->GetTop()),
                    Settings->ReadInteger(section, "Width", Form->GetWidth()),
                    Settings->ReadInteger(section, "Height", Form->GetHeight()));
  AnsiString dock = Settings->ReadString(section, "Dock", "");
  if (!dock.empty())
    if (auto* site = dynamic_cast<TWinControl*>(FindByStoredName(Form->GetOwner(), dock))) Form->ManualDock(site);
  Form->SetVisible(Settings->ReadBool(section, "Visible", true));
}

}  // namespace frxDock

PELTO_DEFINE_CLASS(TfrxDock)
PELTO_PUBLISH(TfrxDock, p) { p.Property("RowSize", &ThisClass::GetRowSize, &ThisClass::SetRowSize).Default(26); }

PELTO_DEFINE_CLASS(TfrxDragBox)

PELTO_DEFINE_CLASS(TfrxTBPanel)

PELTO_DEFINE_CLASS(TfrxFloatWindow)

PELTO_DEFINE_CLASS(TfrxToolBar)
PELTO_PUBLISH(TfrxToolBar, p)
{
  p.Property("CanFloat", &ThisClass::GetCanFloat, &ThisClass::SetCanFloat).Default(true);
  p.Property("Orientation", &ThisClass::GetOrientation, &ThisClass::SetOrientation).Default(toAny);
  p.Property("Caption", &ThisClass::GetCaption, &ThisClass::SetCaption);
}

PELTO_DEFINE_CLASS(TfrxDockSite)
