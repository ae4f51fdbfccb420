// TControl. Sections: construction, messages, bounds and alignment, state, looks, hints, menu
// and action, mouse, drag, painting.
#include "platform/forms/controls/Control.h"

#include <algorithm>

#include "platform/forms/controls/BasicAction.h"
#include "platform/forms/controls/ControlActionLink.h"
#include "platform/forms/controls/Controls.h"
#include "platform/forms/controls/DockDrag.h"
#include "platform/forms/controls/DragObject.h"
#include "platform/forms/controls/PopupMenuBase.h"
#include "platform/forms/controls/SizeConstraints.h"
#include "platform/forms/controls/WinControl.h"
#include "platform/forms/forms/CustomForm.h"
#include "platform/forms/forms/DockForm.h"
#include "platform/forms/graphics/Font.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FormatText.h"
#include "platform/rtl/Guards.h"
#include "platform/rtl/MathUtils.h"
#include "platform/win/input/Focus.h"
#include "platform/win/paint/Painting.h"
#include "platform/win/queue/Messages.h"
#include "platform/win/window/Windows.h"

TShiftState KeysToShiftState(WPARAM Keys)
{
  TShiftState s;
  if (Keys & MK_SHIFT) s.Include(ssShift);
  if (Keys & MK_CONTROL) s.Include(ssCtrl);
  if (Keys & MK_LBUTTON) s.Include(ssLeft);
  if (Keys & MK_RBUTTON) s.Include(ssRight);
  if (Keys & MK_MBUTTON) s.Include(ssMiddle);
  if (Windows::GetKeyState(VK_MENU) < 0) s.Include(ssAlt);
  return s;
}

TShiftState KeyDataToShiftState(LPARAM KeyData)
{
  TShiftState s;
  if (Windows::GetKeyState(VK_SHIFT) < 0) s.Include(ssShift);
  if (Windows::GetKeyState(VK_CONTROL) < 0) s.Include(ssCtrl);
  if (KeyData & AltMask) s.Include(ssAlt);
  return s;
}

// ---- Construction ----------------------------------------------------------------------------

TControl::TControl(TComponent* AOwner) : TComponent(AOwner)
{
  Controls::Initialize();
  WindowProc = [this](TMessage& m) { WndProc(m); };
  ControlStyle = TControlStyle{csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
  FFont = std::make_unique<TFont>();
  FFont->OnChange = [this](TObject* s) { FontChangedHandler(s); };
  FConstraints = std::make_unique<TSizeConstraints>(this);
  FConstraints->OnChange = [this](TObject*) { ConstraintsChanged(); };
}

TControl::~TControl()
{
  Destroying();
  Controls::ControlDestroying(this);
  if (DragManager::DragControl() == this) DragManager::CancelDrag();
  if (FHostDockSite) TWinControlAccess::ForgetDockClient(FHostDockSite, this);
  if (FParent) FParent->RemoveControl(this);
  if (FPopupMenu) FPopupMenu->RemoveFreeNotification(this);
  FActionLink.reset();
}

// ---- Messages --------------------------------------------------------------------------------

LRESULT TControl::Perform(UINT Msg, WPARAM WParam, LPARAM LParam)
{
  TMessage m{Msg, WParam, LParam, 0};
  WindowProc(m);
  return m.Result;
}

void TControl::WndProc(TMessage& Message)
{
  UINT msg = Message.Msg;
  if (msg >= WM_MOUSEFIRST && msg <= WM_MOUSELAST && msg != WM_MOUSEWHEEL) {
    // A press may start an automatic drag; the hint logic sees every mouse message.
    Controls::AppLink().HintMouseMessage(this, Message);
    if (msg == WM_LBUTTONDOWN || msg == WM_LBUTTONDBLCLK) {
      if (FDragMode == dmAutomatic) {
        BeginDrag(false);
        Dispatch(Message);
        return;
      }
    }
    if (DragManager::DragControl() == this && (msg == WM_MOUSEMOVE || msg == WM_LBUTTONUP || msg == WM_RBUTTONDOWN)) {
      // The source's window holds the capture while a drag is pending or running.
      POINT p = ClientToScreen(POINT{Message.XPos(), Message.YPos()});
      if (msg == WM_MOUSEMOVE) {
        DragManager::DragTo(p);
        if (DragManager::Source()) return;
      } else if (msg == WM_LBUTTONUP) {
        bool running = DragManager::Source() != nullptr;
        DragManager::Finish(true, p);
        if (running) return;  // a release before the threshold is a click
      } else {
        DragManager::CancelDrag();
        return;
      }
    }
  } else if (msg == WM_KEYDOWN && DragManager::Dragging() && Message.WParam == VK_ESCAPE) {
    DragManager::CancelDrag();
    return;
  }
  Dispatch(Message);
}

void TControl::Dispatch(TMessage& Message)
{
  switch (Message.Msg) {
    case WM_LBUTTONDOWN: WMLButtonDown(Message); break;
    case WM_LBUTTONUP: WMLButtonUp(Message); break;
    case WM_LBUTTONDBLCLK: WMLButtonDblClk(Message); break;
    case WM_RBUTTONDOWN: WMRButtonDown(Message); break;
    case WM_RBUTTONUP: WMRButtonUp(Message); break;
    case WM_RBUTTONDBLCLK: WMRButtonDblClk(Message); break;
    case WM_MBUTTONDOWN: WMMButtonDown(Message); break;
    case WM_MBUTTONUP: WMMButtonUp(Message); break;
    case WM_MOUSEMOVE: WMMouseMove(Message); break;
    case WM_CANCELMODE: WMCancelMode(Message); break;
    case WM_CONTEXTMENU: WMContextMenu(Message); break;
    case CM_VISIBLECHANGED: CMVisibleChanged(Message); break;
    case CM_ENABLEDCHANGED: CMEnabledChanged(Message); break;
    case CM_FONTCHANGED: CMFontChanged(Message); break;
    case CM_COLORCHANGED: CMColorChanged(Message); break;
    case CM_PARENTFONTCHANGED: CMParentFontChanged(Message); break;
    case CM_PARENTCOLORCHANGED: CMParentColorChanged(Message); break;
    case CM_PARENTSHOWHINTCHANGED: CMParentShowHintChanged(Message); break;
    case CM_SHOWHINTCHANGED: CMShowHintChanged(Message); break;
    case CM_TEXTCHANGED: CMTextChanged(Message); break;
    case CM_CURSORCHANGED: CMCursorChanged(Message); break;
    case CM_MOUSEENTER: CMMouseEnter(Message); break;
    case CM_MOUSELEAVE: CMMouseLeave(Message); break;
    case CM_MOUSEWHEEL: CMMouseWheel(Message); break;
    case CM_HITTEST: CMHitTest(Message); break;
    case CM_HINTSHOW: CMHintShow(Message); break;
    case CM_SYSCOLORCHANGE: CMSysColorChange(Message); break;
    case CM_DRAG: CMDrag(Message); break;
    default: DefaultHandler(Message); break;
  }
}

void TControl::DefaultHandler(TMessage& Message)
{
  switch (Message.Msg) {
    case WM_GETTEXT: {
      auto* buffer = reinterpret_cast<char*>(Message.LParam);
      int max = int(Message.WParam);
      if (!buffer || max <= 0) {
        Message.Result = 0;
        return;
      }
      int n = std::min<int>(int(FText.size()), max - 1);
      std::copy_n(FText.data(), n, buffer);
      buffer[n] = '\0';
      Message.Result = n;
      return;
    }
    case WM_GETTEXTLENGTH: Message.Result = LRESULT(FText.size()); return;
    case WM_SETTEXT: {
      const char* text = reinterpret_cast<const char*>(Message.LParam);
      FText = text ? AnsiString(text) : AnsiString();
      Message.Result = 1;
      return;
    }
    default: Message.Result = 0; return;
  }
}

void TControl::WMLButtonDown(TMessage& Message)
{
  DefaultHandler(Message);  // a system class under the control sees the mouse too
  if (ControlStyle.Contains(csCaptureMouse)) Controls::SetCaptureControl(this);
  if (ControlStyle.Contains(csClickEvents)) ControlState.Include(csClicked);
  ControlState.Include(csLButtonDown);
  MouseDown(mbLeft, KeysToShiftState(Message.WParam), Message.XPos(), Message.YPos());
}

void TControl::WMLButtonDblClk(TMessage& Message)
{
  DefaultHandler(Message);  // a system class under the control sees the mouse too
  if (ControlStyle.Contains(csCaptureMouse)) Controls::SetCaptureControl(this);
  if (ControlStyle.Contains(csClickEvents)) DblClick();
  ControlState.Include(csLButtonDown);
  TShiftState shift = KeysToShiftState(Message.WParam);
  shift.Include(ssDouble);
  MouseDown(mbLeft, shift, Message.XPos(), Message.YPos());
}

void TControl::WMLButtonUp(TMessage& Message)
{
  DefaultHandler(Message);  // a system class under the control sees the mouse too
  if (ControlStyle.Contains(csCaptureMouse)) Controls::SetCaptureControl(nullptr);
  bool clicked = ControlState.Contains(csClicked);
  ControlState.Exclude(csClicked);
  ControlState.Exclude(csLButtonDown);
  int x = Message.XPos(), y = Message.YPos();
  if (clicked) {
    RECT r = GetClientRect();
    if (x >= r.left && x < r.right && y >= r.top && y < r.bottom) Click();
  }
  MouseUp(mbLeft, KeysToShiftState(Message.WParam), x, y);
}

void TControl::WMRButtonDown(TMessage& Message)
{
  DefaultHandler(Message);  // a system class under the control sees the mouse too
  MouseDown(mbRight, KeysToShiftState(Message.WParam), Message.XPos(), Message.YPos());
}

void TControl::WMRButtonDblClk(TMessage& Message)
{
  DefaultHandler(Message);  // a system class under the control sees the mouse too
  TShiftState shift = KeysToShiftState(Message.WParam);
  shift.Include(ssDouble);
  MouseDown(mbRight, shift, Message.XPos(), Message.YPos());
}

void TControl::WMRButtonUp(TMessage& Message)
{
  DefaultHandler(Message);  // a system class under the control sees the mouse too
  MouseUp(mbRight, KeysToShiftState(Message.WParam), Message.XPos(), Message.YPos());
  // A windowless control has no window to get WM_CONTEXTMENU: it asks for its menu here.
  if (!dynamic_cast<TWinControl*>(this)) {
    POINT p = ClientToScreen(POINT{Message.XPos(), Message.YPos()});
    Perform(WM_CONTEXTMENU, 0, MAKELPARAM(p.x, p.y));
  }
}

void TControl::WMMButtonDown(TMessage& Message)
{
  DefaultHandler(Message);  // a system class under the control sees the mouse too
  MouseDown(mbMiddle, KeysToShiftState(Message.WParam), Message.XPos(), Message.YPos());
}

void TControl::WMMButtonUp(TMessage& Message)
{
  DefaultHandler(Message);  // a system class under the control sees the mouse too
  MouseUp(mbMiddle, KeysToShiftState(Message.WParam), Message.XPos(), Message.YPos());
}

void TControl::WMMouseMove(TMessage& Message)
{
  DefaultHandler(Message);  // a system class under the control sees the mouse too
  MouseMove(KeysToShiftState(Message.WParam), Message.XPos(), Message.YPos());
}

void TControl::WMCancelMode(TMessage& Message)
{
  if (Controls::GetCaptureControl() == this) Controls::SetCaptureControl(nullptr);
  ControlState.Exclude(csLButtonDown);
  ControlState.Exclude(csClicked);
  DefaultHandler(Message);
}

void TControl::WMContextMenu(TMessage& Message)
{
  if (Message.Result != 0) return;
  POINT p{GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam)};
  bool handled = false;
  DoContextPopup(p, handled);
  Message.Result = handled ? 1 : 0;
  if (!handled) DefaultHandler(Message);
}

void TControl::DoContextPopup(POINT MousePos, bool& Handled)
{
  POINT client = (MousePos.x == -1 && MousePos.y == -1) ? POINT{-1, -1} : ScreenToClient(MousePos);
  if (OnContextPopup) OnContextPopup(this, client, Handled);
  if (Handled) return;
  if (FPopupMenu && FPopupMenu->GetAutoPopup()) {
    POINT at = MousePos;
    if (at.x == -1 && at.y == -1) at = ClientToScreen(POINT{0, 0});  // from the keyboard
    FPopupMenu->SetPopupComponent(this);
    FPopupMenu->Popup(at.x, at.y);
    Handled = true;
  }
}

void TControl::CMVisibleChanged(TMessage&) { InvalidateControl(true, FVisible && ControlStyle.Contains(csOpaque)); }

void TControl::CMEnabledChanged(TMessage&) { Invalidate(); }

void TControl::CMFontChanged(TMessage&) { Invalidate(); }

void TControl::CMColorChanged(TMessage&) { Invalidate(); }

void TControl::CMParentFontChanged(TMessage& Message)
{
  if (!FParentFont) return;
  TFont* source = Message.WParam ? reinterpret_cast<TFont*>(Message.LParam) : (FParent ? FParent->GetFont() : nullptr);
  if (!source) return;
  TValueGuard busy(FInFontChange, true);
  FFont->Assign(source);
  FParentFont = true;
  ParentFontChanged();
  Perform(CM_FONTCHANGED, 0, 0);
}

void TControl::CMParentColorChanged(TMessage& Message)
{
  if (!FParentColor) return;
  TColor c = Message.WParam ? TColor(Message.LParam) : (FParent ? FParent->GetColor() : FColor);
  if (c == FColor) return;
  FColor = c;
  Perform(CM_COLORCHANGED, 0, 0);
}

void TControl::CMParentShowHintChanged(TMessage&)
{
  if (FParentShowHint && FParent && FParent->GetShowHint() != FShowHint) {
    FShowHint = FParent->GetShowHint();
    Perform(CM_SHOWHINTCHANGED, 0, 0);
  }
}

void TControl::CMShowHintChanged(TMessage&) {}

void TControl::CMTextChanged(TMessage&) {}

void TControl::CMCursorChanged(TMessage&) {}

void TControl::CMMouseEnter(TMessage& Message)
{
  // The parents hear of it with the control in LParam.
  if (FParent) FParent->Perform(CM_MOUSEENTER, 0, Message.LParam ? Message.LParam : reinterpret_cast<LPARAM>(this));
}

void TControl::CMMouseLeave(TMessage& Message)
{
  if (FParent) FParent->Perform(CM_MOUSELEAVE, 0, Message.LParam ? Message.LParam : reinterpret_cast<LPARAM>(this));
}

void TControl::CMMouseWheel(TMessage& Message)
{
  TShiftState shift = KeysToShiftState(LOWORD(Message.WParam));
  POINT p{GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam)};
  if (DoMouseWheel(shift, GET_WHEEL_DELTA_WPARAM(Message.WParam), p)) {
    Message.Result = 1;
    return;
  }
  // Not handled: the parent may scroll.
  if (FParent) Message.Result = FParent->Perform(CM_MOUSEWHEEL, Message.WParam, Message.LParam);
}

bool TControl::DoMouseWheel(TShiftState Shift, int WheelDelta, POINT MousePos)
{
  bool handled = false;
  if (OnMouseWheel) OnMouseWheel(this, Shift, WheelDelta, MousePos, handled);
  if (!handled) {
    if (WheelDelta < 0)
      handled = DoMouseWheelDown(Shift, MousePos);
    else if (WheelDelta > 0)
      handled = DoMouseWheelUp(Shift, MousePos);
  }
  return handled;
}

bool TControl::DoMouseWheelDown(TShiftState Shift, POINT MousePos)
{
  bool handled = false;
  if (OnMouseWheelDown) OnMouseWheelDown(this, Shift, MousePos, handled);
  return handled;
}

bool TControl::DoMouseWheelUp(TShiftState Shift, POINT MousePos)
{
  bool handled = false;
  if (OnMouseWheelUp) OnMouseWheelUp(this, Shift, MousePos, handled);
  return handled;
}

void TControl::CMHitTest(TMessage& Message)
{
  Message.Result = HitTest(GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam)) ? HTCLIENT : HTNOWHERE;
}

void TControl::CMHintShow(TMessage& Message)
{
  // Result stays 0: the hint shows with what the application put into THintInfo.
  (void)Message;
}

void TControl::CMSysColorChange(TMessage&) {}

void TControl::CMDrag(TMessage& Message) { DoDragMsg(Message); }

// ---- Bounds and alignment -----------------------------------------------------------------------

void TControl::SetParent(TWinControl* AParent)
{
  if (AParent == FParent) return;
  if (AParent == this)
    throw EInvalidOperation(SysUtils::Format("Control '%s' can't have itself as a parent", {GetName()}));
  // Moved away from its dock site other than by docking: the site forgets it.
  if (FHostDockSite && AParent != FHostDockSite && !ControlState.Contains(csDocking))
    TWinControlAccess::ForgetDockClient(FHostDockSite, this);
  if (FParent) FParent->RemoveControl(this);
  if (AParent) {
    AParent->InsertControl(this);
    UpdateAnchorRules();
  }
}

TComponent* TControl::GetParentComponent() { return FParent; }

void TControl::SetParentComponent(TComponent* Value)
{
  if (auto* p = dynamic_cast<TWinControl*>(Value)) SetParent(p);
}

void TControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
  if (CanResize(AWidth, AHeight)) {
    if (ALeft == FLeft && ATop == FTop && AWidth == FWidth && AHeight == FHeight) {
      if (!FAnchorMove) UpdateAnchorRules();
      return;
    }
    bool resized = AWidth != FWidth || AHeight != FHeight;
    FLeft = ALeft;
    FTop = ATop;
    FWidth = AWidth;
    FHeight = AHeight;
    if (!FAnchorMove) UpdateAnchorRules();
    InvalidateControl(FVisible, false);
    if (FParent) FParent->Invalidate();
    if (FParent && !FParent->FInAlign) RequestAlign();
    if (resized) Resize();
    Perform(CM_WINDOWSHAPECHANGED, 0, 0);
  }
}

bool TControl::CanResize(int& NewWidth, int& NewHeight)
{
  bool ok = true;
  if (OnCanResize) OnCanResize(this, NewWidth, NewHeight, ok);
  if (ok) DoConstrainedResize(NewWidth, NewHeight);
  return ok;
}

void TControl::ConstrainedResize(int& MinWidth, int& MinHeight, int& MaxWidth, int& MaxHeight)
{
  if (OnConstrainedResize) OnConstrainedResize(this, MinWidth, MinHeight, MaxWidth, MaxHeight);
}

void TControl::DoConstrainedResize(int& NewWidth, int& NewHeight)
{
  int minW = FConstraints->GetMinWidth(), minH = FConstraints->GetMinHeight();
  int maxW = FConstraints->GetMaxWidth(), maxH = FConstraints->GetMaxHeight();
  ConstrainedResize(minW, minH, maxW, maxH);
  if (maxW > 0 && NewWidth > maxW) NewWidth = maxW;
  if (minW > 0 && NewWidth < minW) NewWidth = minW;
  if (maxH > 0 && NewHeight > maxH) NewHeight = maxH;
  if (minH > 0 && NewHeight < minH) NewHeight = minH;
}

void TControl::ConstraintsChanged()
{
  // Re-applies the limits to the present size.
  SetBounds(FLeft, FTop, FWidth, FHeight);
}

void TControl::SetConstraints(TSizeConstraints* Value) { FConstraints->Assign(Value); }

void TControl::SetAutoSize(bool Value)
{
  if (Value == FAutoSize) return;
  FAutoSize = Value;
  if (Value) AdjustSize();
}

void TControl::AdjustSize()
{
  if (!FAutoSize) return;
  int w = FWidth, h = FHeight;
  if (CanAutoSize(w, h)) SetBounds(FLeft, FTop, w, h);
}

void TControl::Resize()
{
  if (OnResize) OnResize(this);
}

RECT TControl::GetClientRect() { return RECT{0, 0, FWidth, FHeight}; }

void TControl::SetClientSize(int AWidth, int AHeight)
{
  RECT client = GetClientRect();
  SetBounds(FLeft, FTop, FWidth - client.right + AWidth, FHeight - client.bottom + AHeight);
}

POINT TControl::GetClientOrigin()
{
  if (!FParent) return POINT{FLeft, FTop};
  POINT p = FParent->GetClientOrigin();
  return POINT{p.x + FLeft, p.y + FTop};
}

POINT TControl::ClientToScreen(POINT P)
{
  POINT o = GetClientOrigin();
  return POINT{P.x + o.x, P.y + o.y};
}

POINT TControl::ScreenToClient(POINT P)
{
  POINT o = GetClientOrigin();
  return POINT{P.x - o.x, P.y - o.y};
}

void TControl::SetAlign(TAlign Value)
{
  if (Value == FAlign) return;
  TAlign old = FAlign;
  FAlign = Value;
  FAnchors = Value == alNone     ? TAnchors{akLeft, akTop}
             : Value == alTop    ? TAnchors{akLeft, akTop, akRight}
             : Value == alBottom ? TAnchors{akLeft, akRight, akBottom}
             : Value == alLeft   ? TAnchors{akLeft, akTop, akBottom}
             : Value == alRight  ? TAnchors{akRight, akTop, akBottom}
                                 : TAnchors{akLeft, akTop, akRight, akBottom};
  if (old != alNone || Value != alNone) RequestAlign();
  if (Value == alNone) UpdateAnchorRules();
}

void TControl::SetAnchors(TAnchors Value)
{
  if (Value == FAnchors) return;
  FAnchors = Value;
  UpdateAnchorRules();
}

void TControl::RequestAlign()
{
  if (FParent) FParent->AlignControl(this);
}

void TControl::UpdateAnchorRules()
{
  if (!FParent) {
    FAnchorRulesValid = false;
    return;
  }
  RECT client = FParent->GetClientRect();
  FAnchorBounds = GetBoundsRect();
  FAnchorParentSize = SIZE{client.right - client.left, client.bottom - client.top};
  FAnchorRulesValid = true;
}

void TControl::UpdateBoundsRect(const RECT& R)
{
  FLeft = R.left;
  FTop = R.top;
  FWidth = R.right - R.left;
  FHeight = R.bottom - R.top;
}

void TControl::AnchorToParent()
{
  if (!FParent || !FAnchorRulesValid || FAlign != alNone) return;
  if (FAnchors == TAnchors{akLeft, akTop}) return;
  RECT client = FParent->GetClientRect();
  int dw = (client.right - client.left) - FAnchorParentSize.cx;
  int dh = (client.bottom - client.top) - FAnchorParentSize.cy;
  RECT b = FAnchorBounds;
  int left = b.left, top = b.top, width = b.right - b.left, height = b.bottom - b.top;
  if (FAnchors.Contains(akRight)) {
    if (FAnchors.Contains(akLeft))
      width += dw;
    else
      left += dw;
  } else if (!FAnchors.Contains(akLeft)) {
    left += dw / 2;
  }
  if (FAnchors.Contains(akBottom)) {
    if (FAnchors.Contains(akTop))
      height += dh;
    else
      top += dh;
  } else if (!FAnchors.Contains(akTop)) {
    top += dh / 2;
  }
  TValueGuard moving(FAnchorMove, true);
  SetBounds(left, top, std::max(width, 0), std::max(height, 0));
}

// ---- State ----------------------------------------------------------------------------------------

void TControl::SetVisible(bool Value)
{
  if (Value == FVisible) return;
  VisibleChanging();
  FVisible = Value;
  Perform(CM_VISIBLECHANGED, Value ? 1 : 0, 0);
  RequestAlign();
  Perform(CM_WINDOWSHAPECHANGED, 0, 0);
}

void TControl::Show()
{
  if (FParent) FParent->ShowControl(this);
  SetVisible(true);
}

void TControl::Hide() { SetVisible(false); }

void TControl::SetEnabled(bool Value)
{
  if (Value == FEnabled) return;
  FEnabled = Value;
  Perform(CM_ENABLEDCHANGED, 0, 0);
}

bool TControl::IsShowing() const { return FVisible && (!FParent || FParent->IsShowing()); }

// ---- Looks ----------------------------------------------------------------------------------------

void TControl::SetColor(TColor Value)
{
  FParentColor = false;
  if (Value == FColor) return;
  FColor = Value;
  Perform(CM_COLORCHANGED, 0, 0);
}

void TControl::SetParentColor(bool Value)
{
  if (Value == FParentColor) return;
  FParentColor = Value;
  if (Value && FParent) Perform(CM_PARENTCOLORCHANGED, 0, 0);
}

void TControl::SetFont(TFont* Value) { FFont->Assign(Value); }

void TControl::FontChangedHandler(TObject*)
{
  // A font set from outside no longer follows the parent's.
  if (!FInFontChange) FParentFont = false;
  Perform(CM_FONTCHANGED, 0, 0);
}

void TControl::SetParentFont(bool Value)
{
  if (Value == FParentFont) return;
  FParentFont = Value;
  if (Value && FParent) Perform(CM_PARENTFONTCHANGED, 0, 0);
}

void TControl::SetCursor(TCursor Value)
{
  if (Value == FCursor) return;
  FCursor = Value;
  Perform(CM_CURSORCHANGED, 0, 0);
}

AnsiString TControl::GetText() { return GetTextBuf(); }

void TControl::SetText(const AnsiString& Value)
{
  if (GetTextBuf() == Value) return;
  SetTextBuf(Value);
  Perform(CM_TEXTCHANGED, 0, 0);
}

AnsiString TControl::GetTextBuf()
{
  int len = int(Perform(WM_GETTEXTLENGTH, 0, 0));
  AnsiString s(std::size_t(len) + 1, '\0');
  int got = int(Perform(WM_GETTEXT, WPARAM(len + 1), reinterpret_cast<LPARAM>(s.data())));
  s.resize(std::size_t(std::max(got, 0)));
  return s;
}

void TControl::SetTextBuf(const AnsiString& Value) { Perform(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(Value.c_str())); }

// ---- Hints ----------------------------------------------------------------------------------------

void TControl::SetShowHint(bool Value)
{
  FParentShowHint = false;
  if (Value == FShowHint) return;
  FShowHint = Value;
  Perform(CM_SHOWHINTCHANGED, 0, 0);
}

void TControl::SetParentShowHint(bool Value)
{
  if (Value == FParentShowHint) return;
  FParentShowHint = Value;
  if (Value) Perform(CM_PARENTSHOWHINTCHANGED, 0, 0);
}

// ---- Menu and action --------------------------------------------------------------------------------

void TControl::SetPopupMenu(TPopupMenuBase* Value)
{
  if (Value == FPopupMenu) return;
  if (FPopupMenu) FPopupMenu->RemoveFreeNotification(this);
  FPopupMenu = Value;
  if (Value) Value->FreeNotification(this);
}

TBasicAction* TControl::GetAction() const { return FActionLink ? FActionLink->GetAction() : nullptr; }

void TControl::SetAction(TBasicAction* Value)
{
  if (!Value) {
    FActionLink.reset();
    ControlStyle.Exclude(csActionClient);
    return;
  }
  ControlStyle.Include(csActionClient);
  if (!FActionLink) FActionLink = std::make_unique<TControlActionLink>(this);
  FActionLink->SetAction(Value);
  Value->FreeNotification(this);
  ActionChange(Value, GetComponentState().Contains(csLoading));
}

bool TControl::ExecuteAction(TBasicAction* Action)
{
  if (!Action || !Action->HandlesTarget(this)) return false;
  Action->ExecuteTarget(this);
  return true;
}

bool TControl::UpdateAction(TBasicAction* Action)
{
  if (!Action || !Action->HandlesTarget(this)) return false;
  Action->UpdateTarget(this);
  return true;
}

void TControl::ActionChange(TObject* Sender, bool CheckDefaults)
{
  // The standard actions' properties (caption, enabled, hint, visible) are taken over by the
  // controls of platform/stdctrls, which know those actions.
  (void)Sender;
  (void)CheckDefaults;
}

void TControl::InitiateAction()
{
  if (FActionLink) FActionLink->Update();
}

void TControl::Notification(TComponent* AComponent, TOperation Operation)
{
  TComponent::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FPopupMenu) FPopupMenu = nullptr;
  if (FActionLink && AComponent == FActionLink->GetAction()) SetAction(nullptr);
}

void TControl::Loaded()
{
  TComponent::Loaded();
  UpdateAnchorRules();
  if (FAutoSize) AdjustSize();
}

// ---- Mouse ------------------------------------------------------------------------------------------

void TControl::Click()
{
  // An action takes the click when the control's own handler is the action's.
  if (OnClick)
    OnClick(this);
  else if (FActionLink && !GetComponentState().Contains(csDesigning))
    FActionLink->Execute(this);
}

void TControl::DblClick()
{
  if (OnDblClick) OnDblClick(this);
}

void TControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
  if (OnMouseDown) OnMouseDown(this, Button, Shift, X, Y);
}

void TControl::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
  if (OnMouseUp) OnMouseUp(this, Button, Shift, X, Y);
}

void TControl::MouseMove(TShiftState Shift, int X, int Y)
{
  if (OnMouseMove) OnMouseMove(this, Shift, X, Y);
}

void TControl::SendCancelMode(TControl* Sender)
{
  if (TCustomForm* form = GetParentForm()) form->SendCancelMode(Sender);
}

TCustomForm* TControl::GetParentForm() const
{
  const TControl* c = this;
  while (c->FParent) c = c->FParent;
  return dynamic_cast<TCustomForm*>(const_cast<TControl*>(c));
}

// ---- Drag -------------------------------------------------------------------------------------------

void TControl::BeginDrag(bool Immediate, int Threshold)
{
  if (GetComponentState().Contains(csDesigning) || DragManager::Dragging()) return;
  if (Threshold < 0) Threshold = Controls::AppLink().DragThreshold();
  DragManager::BeginDrag(this, Immediate, Threshold);
}

void TControl::EndDrag(bool Drop)
{
  if (Dragging()) DragManager::EndDrag(Drop);
}

bool TControl::Dragging() const { return DragManager::Source() && DragManager::Source()->GetControl() == this; }

void TControl::DragOver(TObject* Source, int X, int Y, TDragState State, bool& Accept)
{
  Accept = false;
  if (OnDragOver) {
    Accept = true;
    OnDragOver(this, Source, X, Y, State, Accept);
  }
}

void TControl::DragDrop(TObject* Source, int X, int Y)
{
  if (OnDragDrop) OnDragDrop(this, Source, X, Y);
}

void TControl::DoStartDrag(TDragObject*& DragObject)
{
  if (OnStartDrag) OnStartDrag(this, DragObject);
}

void TControl::DoEndDrag(TObject* Target, int X, int Y)
{
  if (OnEndDrag) OnEndDrag(this, Target, X, Y);
}

// ---- Docking -----------------------------------------------------------------------------------

void TControl::SetHostDockSite(TWinControl* Value)
{
  if (Value == FHostDockSite) return;
  if (Value)
    ManualDock(Value);
  else
    ManualFloat(FloatingRect());
}

RECT TControl::FloatingRect()
{
  POINT p = FParent ? ClientToScreen(POINT{0, 0}) : POINT{FLeft, FTop};
  return RECT{p.x, p.y, p.x + GetUndockWidth(), p.y + GetUndockHeight()};
}

bool TControl::Floating() const
{
  if (!FHostDockSite) return !FParent && dynamic_cast<const TWinControl*>(this);
  return TypInfo::ClassTypeOf(FHostDockSite) == GetFloatingDockSiteClass();
}

TClass TControl::GetFloatingDockSiteClass() const
{
  return FFloatingDockSiteClass ? FFloatingDockSiteClass : TCustomDockForm::StaticClass();
}

bool TControl::ManualDock(TWinControl* NewDockSite, TControl* DropControl, TAlign ControlSide)
{
  if (!NewDockSite) return ManualFloat(FloatingRect());
  // A site inside the control itself cannot hold it.
  for (TWinControl* p = NewDockSite; p; p = p->GetParent())
    if (p == this) return false;
  if (FHostDockSite && !FHostDockSite->DoUnDock(NewDockSite, this)) return false;
  TDragDockObject source(this);
  RECT r = NewDockSite->GetClientRect();
  POINT o = NewDockSite->ClientToScreen(POINT{0, 0});
  source.SetDockRect(RECT{o.x, o.y, o.x + r.right, o.y + r.bottom});
  source.SetDropOnControl(DropControl);
  source.SetDropAlign(ControlSide);
  source.SetFloating(false);
  NewDockSite->DockDrop(&source, 0, 0);
  return true;
}

bool TControl::ManualFloat(const RECT& ScreenPos)
{
  if (FHostDockSite && !FHostDockSite->DoUnDock(nullptr, this)) return false;
  if (auto* self = dynamic_cast<TCustomForm*>(this)) {
    // A form floats as its own window.
    self->SetParent(nullptr);
    DockDrag::PlaceClientArea(self, ScreenPos);
    // Its window was made again as a top-level one: show it as it was.
    if (GetVisible()) static_cast<TWinControl*>(self)->UpdateShowing();
    return true;
  }
  TWinControl* host = CreateFloatingDockSite(ScreenPos);
  if (!host) return false;
  TDragDockObject source(this);
  source.SetDockRect(ScreenPos);
  source.SetFloating(true);
  host->DockDrop(&source, 0, 0);
  host->SetVisible(true);
  return true;
}

TWinControl* TControl::CreateFloatingDockSite(const RECT& Bounds)
{
  TClass cls = GetFloatingDockSiteClass();
  if (!cls || !cls->InheritsFrom(TWinControl::StaticClass()) || !cls->CanCreate()) return nullptr;
  auto* host = static_cast<TWinControl*>(cls->Create(GetOwner()));
  host->SetText(GetText());
  DockDrag::PlaceClientArea(host, Bounds);
  return host;
}

void TControl::Dock(TWinControl* NewDockSite, const RECT& ARect)
{
  // Callers let the old host go first; one that did not is left quietly here.
  if (FHostDockSite && FHostDockSite != NewDockSite) TWinControlAccess::ForgetDockClient(FHostDockSite, this);
  bool own = !FParent && dynamic_cast<TWinControl*>(this);
  if (own || !FParent->GetDockSite() || TypInfo::ClassTypeOf(FParent) == GetFloatingDockSiteClass()) {
    // Leaving the free state: floating again brings this size back (a window's client size).
    FFloatSize = SIZE{own ? GetClientWidth() : FWidth, own ? GetClientHeight() : FHeight};
  }
  ControlState.Include(csDocking);
  TScopeExit docking([this] { ControlState.Exclude(csDocking); });
  FHostDockSite = NewDockSite;
  auto& clients = TWinControlAccess::DockClients(NewDockSite);
  if (std::find(clients.begin(), clients.end(), this) == clients.end()) clients.push_back(this);
  if (!NewDockSite->GetDockManager() && ARect.right > ARect.left && ARect.bottom > ARect.top) {
    POINT p = NewDockSite->ScreenToClient(POINT{ARect.left, ARect.top});
    SetBounds(p.x, p.y, ARect.right - ARect.left, ARect.bottom - ARect.top);
  }
  if (FParent != NewDockSite) {
    // A top-level window becomes a child: its window is made again inside the site.
    auto* self = dynamic_cast<TWinControl*>(this);
    if (self && !FParent && self->FHandle) self->DestroyHandle();
    SetParent(NewDockSite);
  }
}

void TControl::DoStartDock(TDragObject*& DragObject)
{
  if (OnStartDock) {
    TDragDockObject* dock = nullptr;
    OnStartDock(this, dock);
    DragObject = dock;
  }
}

void TControl::DoEndDock(TObject* Target, int X, int Y)
{
  if (OnEndDock) OnEndDock(this, Target, X, Y);
}

void TControl::DoDragMsg(TMessage& Message)
{
  auto* rec = reinterpret_cast<TDragRec*>(Message.LParam);
  if (!rec) return;
  POINT p = ScreenToClient(rec->Pos);
  TObject* source = rec->Source ? rec->Source->DragSource() : nullptr;
  switch (TDragMessage(Message.WParam)) {
    case dmDragEnter:
    case dmDragLeave:
    case dmDragMove: {
      TDragState state = Message.WParam == dmDragEnter   ? dsDragEnter
                         : Message.WParam == dmDragLeave ? dsDragLeave
                                                         : dsDragMove;
      bool accept = false;
      DragOver(source, p.x, p.y, state, accept);
      Message.Result = accept ? 1 : 0;
      break;
    }
    case dmDragDrop: DragDrop(source, p.x, p.y); break;
    case dmFindTarget: Message.Result = reinterpret_cast<LRESULT>(this); break;
    default: break;
  }
}

// ---- Painting ---------------------------------------------------------------------------------------

void TControl::InvalidateControl(bool IsVisible, bool IsOpaque)
{
  if ((IsVisible || FVisible) && FParent && FParent->HandleAllocated()) {
    RECT r = GetBoundsRect();
    Windows::InvalidateRect(FParent->GetHandle(), &r, !(IsOpaque || ControlStyle.Contains(csOpaque)));
  }
}

void TControl::Invalidate() { InvalidateControl(FVisible, ControlStyle.Contains(csOpaque)); }

void TControl::Update()
{
  if (FParent) FParent->Update();
}

void TControl::Repaint()
{
  if (!FVisible || !FParent || !FParent->HandleAllocated()) return;
  Invalidate();
  Update();
}

void TControl::BringToFront()
{
  if (FParent) FParent->SetChildOrder(this, FParent->GetControlCount());
}

void TControl::SendToBack()
{
  if (FParent) FParent->SetChildOrder(this, 0);
}

void TControl::ChangeScale(int M, int D)
{
  if (M == D || D == 0) return;
  int l = Math::MulDiv(FLeft, M, D), t = Math::MulDiv(FTop, M, D);
  int w = Math::MulDiv(FLeft + FWidth, M, D) - l, h = Math::MulDiv(FTop + FHeight, M, D) - t;
  SetBounds(l, t, w, h);
  if (!FParentFont) FFont->SetSize(Math::MulDiv(FFont->GetSize(), M, D));
}
