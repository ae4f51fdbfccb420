#include "report/engine/controls/frxComboBox.h"

#include <algorithm>

#include "platform/commctrl/CommCtrl.h"
#include "platform/commctrl/combobox/ComboBox.h"
#include "platform/forms/controls/Messages.h"
#include "platform/forms/forms/CustomForm.h"
#include "platform/forms/graphics/Bitmap.h"
#include "platform/forms/graphics/Brush.h"
#include "platform/forms/graphics/Canvas.h"
#include "platform/forms/graphics/Font.h"
#include "platform/forms/graphics/Pen.h"
#include "platform/gdi/draw/Edges.h"
#include "platform/stdctrls/buttons/SpeedButton.h"
#include "platform/stdctrls/panels/Panel.h"
#include "platform/gdi/text/DrawText.h"
#include "platform/win/WinUser.h"
#include "platform/win/paint/Painting.h"
#include "platform/win/queue/Messages.h"
#include "platform/win/window/Windows.h"
#include "platform/win/backend/Backend.h"
#include "platform/win/window/Rects.h"

namespace {
// The window property that keeps the list window's former procedure.
constexpr const char* kListProcProp = "frxComboBoxListProc";
}  // namespace

// ============================================================================================
// TfrxCustomComboBox
// ============================================================================================

TfrxCustomComboBox::TfrxCustomComboBox(TComponent* AOwner) : TCustomComboBox(AOwner)
{
  SetBounds(GetLeft(), GetTop(), 100, 21);
}

int TfrxCustomComboBox::ListHeight(int DropDownCount, int Count, int ItemHeight)
{
  int rows = std::min(DropDownCount, Count);
  if (rows <= 0) rows = 1;
  return rows * ItemHeight + 4;
}

RECT TfrxCustomComboBox::EditRect(int Width, int Height, int EditOffset)
{
  int left = EditOffset + 3;
  return RECT{left, 3, left + std::max(Width - ButtonWidth - EditOffset - 7, 0), 3 + std::max(Height - 6, 0)};
}

void TfrxCustomComboBox::CreateParams(TCreateParams& Params)
{
  TCustomComboBox::CreateParams(Params);
  // Always a drop-down with an edit part, its entries drawn by the control.
  Params.Style &= ~DWORD(CBS_DROPDOWNLIST);
  Params.Style |= CBS_DROPDOWN | CBS_OWNERDRAWFIXED;
}

void TfrxCustomComboBox::CreateWnd()
{
  UpdateItemHeight();
  TCustomComboBox::CreateWnd();
  if (HWND edit = ComboBox::EditOf(GetHandle())) Windows::SendMessage(edit, EM_SETREADONLY, FReadOnly, 0);
  Windows::SendMessage(GetHandle(), CB_SETDROPPEDWIDTH, WPARAM(FListWidth > 0 ? FListWidth : GetWidth() - 1), 0);
  PlaceEdit();
  // The list: a client edge in place of its border, framed raised when its frame is painted.
  HWND list = ComboBox::ListOf(GetHandle());
  if (list && !Windows::GetProp(list, kListProcProp)) {
    Windows::SetWindowLongPtr(list, GWL_STYLE, Windows::GetWindowLongPtr(list, GWL_STYLE) & ~LONG_PTR(WS_BORDER));
    Windows::SetWindowLongPtr(list, GWL_EXSTYLE,
                              Windows::GetWindowLongPtr(list, GWL_EXSTYLE) | LONG_PTR(WS_EX_CLIENTEDGE));
    LONG_PTR former =
        Windows::SetWindowLongPtr(list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TfrxCustomComboBox::ListWindowProc));
    Windows::SetProp(list, kListProcProp, reinterpret_cast<HANDLE>(former));
    Windows::SetWindowPos(list, nullptr, 0, 0, 0, 0,
                          SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  }
}

LRESULT TfrxCustomComboBox::ListWindowProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam)
{
  auto former = reinterpret_cast<WNDPROC>(Windows::GetProp(Wnd, kListProcProp));
  if (!former) return Windows::DefWindowProc(Wnd, Msg, WParam, LParam);
  if (Msg == WM_NCDESTROY) Windows::RemoveProp(Wnd, kListProcProp);
  LRESULT result = Windows::CallWindowProc(former, Wnd, Msg, WParam, LParam);
  if (Msg == WM_NCPAINT) {
    RECT r;
    Windows::GetWindowRect(Wnd, &r);
    Windows::OffsetRect(&r, -r.left, -r.top);
    if (HDC dc = Windows::GetWindowDC(Wnd)) {
      Windows::DrawEdge(dc, &r, EDGE_RAISED, BF_RECT);
      Windows::ReleaseDC(Wnd, dc);
    }
  }
  return result;
}

void TfrxCustomComboBox::UpdateItemHeight()
{
  TBitmap measure;
  measure.SetSize(1, 1);
  measure.GetCanvas()->GetFont()->Assign(GetFont());
  SetItemHeight(measure.GetCanvas()->TextHeight("Wg"));
}

void TfrxCustomComboBox::PlaceEdit()
{
  if (!HandleAllocated()) return;
  HWND edit = ComboBox::EditOf(GetHandle());
  if (!edit) return;
  RECT r = EditRect(GetWidth(), GetHeight(), FEditOffset);
  Windows::MoveWindow(edit, r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
}

void TfrxCustomComboBox::SetListWidth(int Value)
{
  FListWidth = Value;
  if (HandleAllocated())
    Windows::SendMessage(GetHandle(), CB_SETDROPPEDWIDTH, WPARAM(FListWidth > 0 ? FListWidth : GetWidth() - 1), 0);
}

void TfrxCustomComboBox::SetReadOnly(bool Value)
{
  FReadOnly = Value;
  if (HandleAllocated())
    if (HWND edit = ComboBox::EditOf(GetHandle())) Windows::SendMessage(edit, EM_SETREADONLY, Value, 0);
}

bool TfrxCustomComboBox::IsHighlighted()
{
  return GetComponentState().Contains(csDesigning) || FDropped || FEditFocused || FMouseInControl;
}

void TfrxCustomComboBox::DropDown()
{
  FDropped = true;
  // The list opens upwards when it would pass the bottom of the screen.
  RECT wr{};
  if (HandleAllocated()) Windows::GetWindowRect(GetHandle(), &wr);
  int height = ListHeight(GetDropDownCount(), GetItems()->GetCount(), GetItemHeight());
  FDroppedUp = wr.bottom + height > Backend::Current().WorkArea().bottom;
  Invalidate();
  TCustomComboBox::DropDown();
}

void TfrxCustomComboBox::CloseUp()
{
  FDropped = false;
  Invalidate();
  TCustomComboBox::CloseUp();
}

void TfrxCustomComboBox::DrawItem(int Index, RECT Rect, TOwnerDrawState State)
{
  if (OnDrawItem) return OnDrawItem(this, Index, Rect, State);
  TCanvas* canvas = GetCanvas();
  canvas->FillRect(Rect);
  RECT text = Rect;
  text.left += 2;
  Windows::DrawText(canvas->GetHandle(), GetItems()->GetStrings(Index).c_str(), -1, &text,
                    DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
}

void TfrxCustomComboBox::CMFontChanged(TMessage& Message)
{
  TCustomComboBox::CMFontChanged(Message);
  UpdateItemHeight();
  if (HandleAllocated()) RecreateWnd();
}

void TfrxCustomComboBox::CMEnabledChanged(TMessage& Message)
{
  TCustomComboBox::CMEnabledChanged(Message);
  Invalidate();
}

void TfrxCustomComboBox::CMMouseEnter(TMessage& Message)
{
  TCustomComboBox::CMMouseEnter(Message);
  if (!FMouseInControl) {
    FMouseInControl = true;
    Invalidate();
  }
}

void TfrxCustomComboBox::CMMouseLeave(TMessage& Message)
{
  TCustomComboBox::CMMouseLeave(Message);
  if (FMouseInControl) {
    FMouseInControl = false;
    Invalidate();
  }
}

void TfrxCustomComboBox::Dispatch(TMessage& Message)
{
  switch (Message.Msg) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = Message.WParam ? reinterpret_cast<HDC>(Message.WParam) : Windows::BeginPaint(GetHandle(), &ps);
      TCanvas canvas;
      canvas.SetHandle(dc);
      PaintField(&canvas);
      canvas.SetHandle(nullptr);
      if (!Message.WParam) Windows::EndPaint(GetHandle(), &ps);
      Message.Result = 0;
      return;
    }
    case WM_ERASEBKGND: Message.Result = 1; return;
    case CN_COMMAND:
      switch (HIWORD(Message.WParam)) {
        case CBN_SETFOCUS:
          FEditFocused = true;
          Invalidate();
          break;
        case CBN_KILLFOCUS:
          FEditFocused = false;
          Invalidate();
          break;
        case CBN_EDITCHANGE: Invalidate(); break;
        default: break;
      }
      break;
    default: break;
  }
  TCustomComboBox::Dispatch(Message);
  // The window class lays its edit out anew; the flat frame wants it elsewhere.
  if (Message.Msg == WM_SIZE || Message.Msg == WM_SETFONT || Message.Msg == WM_WINDOWPOSCHANGED) PlaceEdit();
}

void TfrxCustomComboBox::PaintArrow(TCanvas* Canvas, int X, int Y)
{
  Canvas->GetPen()->SetColor(clBlack);
  Canvas->GetPen()->SetWidth(1);
  for (int i = 0; i < 3; ++i) {
    Canvas->MoveTo(X - 2 + i, Y + i);
    Canvas->LineTo(X + 3 - i, Y + i);
  }
}

void TfrxCustomComboBox::PaintField(TCanvas* Canvas)
{
  int w = GetWidth(), h = GetHeight();
  RECT all{0, 0, w, h};
  RECT button{w - ButtonWidth - 2, 2, w - 2, h - 2};
  int arrowX = button.left + ButtonWidth / 2, arrowY = h / 2 - 1;
  Canvas->GetBrush()->SetStyle(bsSolid);
  if (!GetEnabled()) {
    Canvas->GetBrush()->SetColor(clBtnFace);
    Canvas->FillRect(all);
    Canvas->GetBrush()->SetColor(clWindow);
    Canvas->FrameRect(RECT{2, 2, w - 2, h - 2});
    PaintArrow(Canvas, arrowX, arrowY);
    return;
  }
  Canvas->GetBrush()->SetColor(clBtnFace);
  Canvas->FrameRect(all);
  Canvas->GetBrush()->SetColor(clWindow);
  Canvas->FillRect(RECT{1, 1, w - 1, h - 1});
  PaintEditOffset(Canvas, RECT{3, 3, 3 + FEditOffset, h - 3});
  Canvas->GetBrush()->SetColor(clBtnFace);
  Canvas->FillRect(button);
  if (IsHighlighted()) {
    RECT edit{0, 0, button.left + 1, h};
    Windows::DrawEdge(Canvas->GetHandle(), &edit, BDR_SUNKENOUTER, BF_RECT);
    RECT b = button;
    if (FDropped) {
      Windows::DrawEdge(Canvas->GetHandle(), &b, BDR_SUNKENOUTER, BF_RECT);
      ++arrowX;
      ++arrowY;
    } else
      Windows::DrawEdge(Canvas->GetHandle(), &b, BDR_RAISEDINNER, BF_RECT);
  }
  PaintArrow(Canvas, arrowX, arrowY);
}

// ============================================================================================
// TfrxComboEdit
// ============================================================================================

TfrxComboEdit::TfrxComboEdit(TComponent* AOwner) : TCustomComboBox(AOwner)
{
  SetStyle(csSimple);
  SetBounds(GetLeft(), GetTop(), 121, 21);
  FPanel = new TPanel(this);
  FPanel->SetParent(this);
  FPanel->SetBevelOuter(bvNone);
  FPanel->SetCaption("");
  FButton = new TSpeedButton(this);
  FButton->SetParent(FPanel);
  FButton->SetAlign(alClient);
  FButton->OnClick = [this](TObject* Sender) { ButtonClick(Sender); };
  PlaceParts();
}

TBitmap* TfrxComboEdit::GetGlyph() const { return FButton->GetGlyph(); }
void TfrxComboEdit::SetGlyph(TBitmap* Value) { FButton->SetGlyph(Value); }
AnsiString TfrxComboEdit::GetButtonHint() const { return FButton->GetHint(); }

void TfrxComboEdit::SetButtonHint(const AnsiString& Value)
{
  FButton->SetHint(Value);
  FButton->SetShowHint(!Value.empty());
}

void TfrxComboEdit::SetButtonEnabled(bool Value)
{
  FButtonEnabled = Value;
  FButton->SetEnabled(Value && GetEnabled());
}

void TfrxComboEdit::CMEnabledChanged(TMessage& Message)
{
  TCustomComboBox::CMEnabledChanged(Message);
  FButton->SetEnabled(FButtonEnabled && GetEnabled());
}

void TfrxComboEdit::PlaceParts()
{
  if (!FPanel) return;  // sized while being made
  int h = GetHeight();
  FPanel->SetBounds(GetWidth() - h + 2, 2, std::max(h - 4, 0), std::max(h - 4, 0));
  if (HandleAllocated())
    if (HWND edit = ComboBox::EditOf(GetHandle())) {
      RECT r{};
      Windows::GetWindowRect(edit, &r);
      POINT tl{r.left, r.top};
      Windows::ScreenToClient(GetHandle(), &tl);
      Windows::MoveWindow(edit, tl.x, tl.y, std::max(GetWidth() - h - tl.x, 0), r.bottom - r.top, TRUE);
    }
}

void TfrxComboEdit::CreateWnd()
{
  TCustomComboBox::CreateWnd();
  PlaceParts();
}

void TfrxComboEdit::Resize()
{
  TCustomComboBox::Resize();
  PlaceParts();
}

void TfrxComboEdit::Dispatch(TMessage& Message)
{
  TCustomComboBox::Dispatch(Message);
  if (Message.Msg == WM_SIZE || Message.Msg == WM_SETFONT) PlaceParts();
}

void TfrxComboEdit::ButtonClick(TObject* Sender)
{
  if (CanFocus()) SetFocus();
  if (OnButtonClick) OnButtonClick(this);
}

void TfrxComboEdit::KeyDown(Word& Key, TShiftState Shift)
{
  TCustomComboBox::KeyDown(Key, Shift);
  // The form's default and cancel buttons still answer Enter and Escape typed here.
  if (Key == VK_RETURN || Key == VK_ESCAPE)
    if (TCustomForm* form = GetParentForm()) form->Perform(CM_DIALOGKEY, Key, 0);
}

PELTO_DEFINE_CLASS(TfrxCustomComboBox)

PELTO_DEFINE_CLASS(TfrxComboBox)
PELTO_PUBLISH(TfrxComboBox, p)
{
  p.Property("ListWidth", &ThisClass::GetListWidth, &ThisClass::SetListWidth).Default(0);
  p.Property("ReadOnly", &ThisClass::GetReadOnly, &ThisClass::SetReadOnly).Default(false);
}

PELTO_DEFINE_CLASS(TfrxComboEdit)
PELTO_PUBLISH(TfrxComboEdit, p)
{
  p.Property("Glyph", &ThisClass::GetGlyph, &ThisClass::SetGlyph);
  p.Property("ButtonEnabled", &ThisClass::GetButtonEnabled, &ThisClass::SetButtonEnabled).Default(true);
  p.Property("ButtonHint", &ThisClass::GetButtonHint, &ThisClass::SetButtonHint);
  p.Property("OnButtonClick", TypeInfo_TNotifyEvent(), &ThisClass::OnButtonClick, &ThisClass::OnButtonClick);
}
