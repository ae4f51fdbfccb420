#include "controls/editors/memo/cxMemo.h"

#include <algorithm>

#include "controls/editors/cxEditConsts.h"
#include "controls/editors/cxResourceStrings.h"
#include "controls/editors/paint/cxEditTextUtils.h"
#include "controls/editors/paint/cxEditUtils.h"
#include "controls/framework/cxScrollBar.h"
#include "platform/commctrl/CommCtrl.h"
#include "platform/forms/controls/Messages.h"
#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/Guards.h"
#include "platform/rtl/Variants.h"
#include "platform/stdctrls/edits/Memo.h"
#include "platform/win/WinUser.h"
#include "platform/win/input/Focus.h"
#include "platform/win/queue/Messages.h"
#include "platform/win/scroll/ScrollBars.h"
#include "platform/win/window/Rects.h"
#include "platform/win/window/Windows.h"

// Sections: cell text -> properties -> view -> inner memo -> memo -> published lists.

// ---- Cell text ---------------------------------------------------------------------------------

AnsiString cxMemo::FirstLine(const AnsiString& AText, int AMaxBytes)
{
  int end = 0;
  const int n = int(AText.size());
  while (end < n && AText[size_t(end)] != '\r' && AText[size_t(end)] != '\n') {
    const int next = System::NextCharIndex(AText, end + 1) - 1;
    if (next > AMaxBytes) break;
    end = next;
  }
  return AText.substr(0, size_t(end));
}

void cxMemo::Initialize()
{
  cxEdit::GetRegisteredEditProperties()->Register(TcxMemoProperties::StaticClass(),
                                                  cxResourceStrings::GetResourceString(cxEditConsts::sEditorMemo));
}

// ---- Properties --------------------------------------------------------------------------------

TcxCustomMemoProperties::TcxCustomMemoProperties(TPersistent* AOwner) : TcxCustomTextEditProperties(AOwner)
{
  GetAlignment()->SetVert(taTopJustify);
  SetAutoSelect(false);
}

void TcxCustomMemoProperties::Assign(TPersistent* Source)
{
  auto* s = dynamic_cast<TcxCustomMemoProperties*>(Source);
  if (!s) {
    TcxCustomTextEditProperties::Assign(Source);
    return;
  }
  BeginUpdate();
  TScopeExit end([this] { EndUpdate(); });
  TcxCustomTextEditProperties::Assign(Source);
  SetScrollBars(s->GetScrollBars());
  SetWantReturns(s->GetWantReturns());
  SetWantTabs(s->GetWantTabs());
  SetWordWrap(s->GetWordWrap());
}

void TcxCustomMemoProperties::SetScrollBars(TScrollStyle Value)
{
  if (FScrollBars == Value) return;
  FScrollBars = Value;
  Changed();
}

void TcxCustomMemoProperties::SetWantReturns(bool Value)
{
  if (FWantReturns == Value) return;
  FWantReturns = Value;
  Changed();
}

void TcxCustomMemoProperties::SetWantTabs(bool Value)
{
  if (FWantTabs == Value) return;
  FWantTabs = Value;
  Changed();
}

void TcxCustomMemoProperties::SetWordWrap(bool Value)
{
  if (FWordWrap == Value) return;
  FWordWrap = Value;
  Changed();
}

TClass TcxCustomMemoProperties::GetViewDataClass() const { return TcxCustomMemoViewData::StaticClass(); }
TClass TcxCustomMemoProperties::GetContainerClass() const { return TcxMemo::StaticClass(); }
TClass TcxCustomMemoProperties::GetViewInfoClass() const { return TcxCustomMemoViewInfo::StaticClass(); }

TcxCustomEditViewData* TcxCustomMemoProperties::CreateViewData(TcxCustomEditStyle* AStyle, bool AIsInplace)
{
  return new TcxCustomMemoViewData(this, AStyle, AIsInplace);
}

WideString TcxCustomMemoProperties::GetDisplayText(const Variant& AEditValue, bool AFullText)
{
  WideString text = TcxCustomTextEditProperties::GetDisplayText(AEditValue, AFullText);
  if (AFullText) return text;
  return System::AnsiToWide(cxMemo::FirstLine(System::WideToAnsi(text)));
}

bool TcxCustomMemoProperties::UsesDataDisplayText(bool)
{
  IcxEditDefaultValuesProvider* p = GetDefaultValuesProvider();
  return !(p && p->IsOnGetTextAssigned());
}

// ---- View --------------------------------------------------------------------------------------

int TcxCustomMemoViewData::GetDrawTextFlags()
{
  using namespace cxEditTextUtils;
  int r = etfWholeRowsOnly | etfKeepLeft;
  switch (HorzAlignment) {
    case taRightJustify: r |= etfAlignRight; break;
    case taCenter: r |= etfAlignCenter; break;
    default: r |= etfAlignLeft; break;
  }
  auto* p = static_cast<TcxCustomMemoProperties*>(TextProperties());
  const TScrollStyle bars = p->GetScrollBars();
  if (bars != ssHorizontal && bars != ssBoth && p->GetWordWrap()) r |= etfWordBreak | etfCharBreak;
  return r;
}

void TcxCustomMemoViewData::GetTextOffsets(RECT& R)
{
  R = HorzAlignment == taRightJustify ? RECT{0, 1, 2, 1} : RECT{1, 1, 1, 1};
}

TcxCustomEditViewInfo* TcxCustomMemoViewInfo::Clone() const
{
  auto* r = new TcxCustomMemoViewInfo();
  r->Assign(const_cast<TcxCustomMemoViewInfo*>(this));
  return r;
}

void TcxCustomMemoViewInfo::DrawText(TcxCanvas* ACanvas)
{
  TextInfo.Font = Font;
  cxEditUtils::PaintMemoText(ACanvas, *this, TextInfo);
}

// ---- Inner memo --------------------------------------------------------------------------------

TcxCustomInnerMemo::TcxCustomInnerMemo(TComponent* AOwner)
    : TcxCustomInnerTextEdit(AOwner), FLines(std::make_unique<TMemoStrings>(this))
{
  SetCursor(crIBeam);
}

TcxCustomInnerMemo::~TcxCustomInnerMemo() = default;

TcxCustomMemo* TcxCustomInnerMemo::GetMemo() const { return dynamic_cast<TcxCustomMemo*>(GetContainer()); }

TStrings* TcxCustomInnerMemo::GetLines() const { return FLines.get(); }

void TcxCustomInnerMemo::SetScrollBars(TScrollStyle Value)
{
  if (FScrollBars == Value) return;
  FScrollBars = Value;
  if (HandleAllocated()) RecreateWnd();
}

void TcxCustomInnerMemo::SetWantReturns(bool Value)
{
  if (FWantReturns == Value) return;
  FWantReturns = Value;
  if (HandleAllocated()) RecreateWnd();
}

void TcxCustomInnerMemo::SetWordWrap(bool Value)
{
  if (FWordWrap == Value) return;
  FWordWrap = Value;
  if (HandleAllocated()) RecreateWnd();
}

void TcxCustomInnerMemo::AdjustMargins()
{
  // In a cell the text starts at the cell's text offsets.
  TcxCustomMemo* m = GetMemo();
  if (HandleAllocated() && m && m->IsInplace())
    Windows::SendMessage(GetHandle(), EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, 0);
}

void TcxCustomInnerMemo::CreateParams(TCreateParams& Params)
{
  TcxCustomInnerTextEdit::CreateParams(Params);
  Params.Style |= ES_MULTILINE | WS_CLIPCHILDREN;
  Params.Style &= ~DWORD(ES_AUTOHSCROLL | WS_HSCROLL | WS_VSCROLL | ES_WANTRETURN);
  const bool horz = FScrollBars == ssHorizontal || FScrollBars == ssBoth;
  if (horz || !FWordWrap) Params.Style |= ES_AUTOHSCROLL;
  if (FWantReturns) Params.Style |= ES_WANTRETURN;
  if (horz) Params.Style |= WS_HSCROLL;
  if (FScrollBars == ssVertical || FScrollBars == ssBoth) Params.Style |= WS_VSCROLL;
  Params.Style |= ES_AUTOVSCROLL;
}

void TcxCustomInnerMemo::CreateWnd()
{
  TcxCustomInnerTextEdit::CreateWnd();
  if (TcxCustomMemo* m = GetMemo()) m->PostSyncScrollBars();
}

void TcxCustomInnerMemo::KeyPress(char& Key)
{
  const bool ctrl = Windows::GetKeyState(VK_CONTROL) < 0;
  if (Key == '\t' && !FWantTabs) Key = 0;
  if (Key == '\r' && !FWantReturns && !ctrl) Key = 0;
  // Ctrl+Alt+A is no select-all (the memo's Ctrl+A is a key of its own).
  if (Key == 0x01 && Windows::GetKeyState(VK_MENU) < 0) Key = 0;
  if (Key == '\t' || Key == '\r') {
    // The single-line window drops these; a memo types them.
    if (TcxCustomMemo* m = GetMemo()) m->KeyPress(Key);
    if (Key) TCustomEdit::KeyPress(Key);
    return;
  }
  if (Key) TcxCustomInnerTextEdit::KeyPress(Key);
}

void TcxCustomInnerMemo::KeyUp(Word& Key, TShiftState Shift)
{
  if (Key == VK_TAB && !FWantTabs) Key = 0;
  if (Key) TcxCustomInnerTextEdit::KeyUp(Key, Shift);
}

void TcxCustomInnerMemo::WndProc(TMessage& Message)
{
  TcxCustomMemo* m = GetMemo();
  switch (Message.Msg) {
    case WM_GETDLGCODE:
      TcxCustomInnerTextEdit::WndProc(Message);
      if (Windows::GetKeyState(VK_CONTROL) >= 0) Message.Result |= DLGC_WANTTAB;
      if (FWantReturns || Windows::GetKeyState(VK_CONTROL) < 0) Message.Result |= DLGC_WANTALLKEYS;
      return;
    case WM_CLEAR:
      if (m && m->FInternalAction) {
        TCustomEdit::WndProc(Message);
        return;
      }
      [[fallthrough]];
    case WM_PASTE: {
      if (!m) break;
      TValueGuard clearing(m->FClearPasting, true);
      TcxCustomInnerTextEdit::WndProc(Message);
      m->PostSyncScrollBars();
      return;
    }
    case WM_SETTEXT:
      TcxCustomInnerTextEdit::WndProc(Message);
      // Lines set on the window become the editor's value.
      if (m && !FSettingText) {
        TValueGuard setting(FSettingText, true);
        m->SetEditValueChecked(Variant(GetText()));
      }
      return;
    case EM_REPLACESEL: {
      // A line feed followed by a carriage return makes an empty line between two breaks.
      const char* p = reinterpret_cast<const char*>(Message.LParam);
      AnsiString text = p ? AnsiString(p) : AnsiString();
      AnsiString fixed;
      fixed.reserve(text.size());
      for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' && i + 1 < text.size() && text[i + 1] == '\r') {
          fixed += "\r\n\r\n";
          ++i;
        } else {
          fixed += text[i];
        }
      }
      Message.LParam = reinterpret_cast<LPARAM>(fixed.c_str());
      TcxCustomInnerTextEdit::WndProc(Message);
      Message.LParam = reinterpret_cast<LPARAM>(p);
      if (m) m->PostSyncScrollBars();
      return;
    }
    case WM_KEYDOWN:
    case WM_CHAR:
    case EM_LINESCROLL:
    case EM_SCROLL:
    case EM_SCROLLCARET:
    case EM_SETSEL:
    case WM_VSCROLL:
    case WM_HSCROLL:
    case WM_MOUSEWHEEL:
    case WM_SIZE:
    case WM_WINDOWPOSCHANGED:
      TcxCustomInnerTextEdit::WndProc(Message);
      if (m) m->PostSyncScrollBars();
      return;
    default: break;
  }
  TcxCustomInnerTextEdit::WndProc(Message);
}

// ---- Memo --------------------------------------------------------------------------------------

namespace {

// Puts Bar (a child of AHost) over the window bar AObject of AWindow with its range, page and
// position; an empty rectangle when the window shows no such bar or it lies outside AHost.
void FollowWindowBar(TcxScrollBar* Bar, TWinControl* AWindow, TWinControl* AHost, LONG AObject)
{
  SCROLLBARINFO info;
  info.cbSize = sizeof(info);
  bool visible = Windows::GetScrollBarInfo(AWindow->GetHandle(), AObject, &info) &&
                 !(info.rgstate[0] & (STATE_SYSTEM_INVISIBLE | STATE_SYSTEM_OFFSCREEN));
  RECT bounds{};
  if (visible) {
    Bar->SetEnabled(!(info.rgstate[0] & STATE_SYSTEM_UNAVAILABLE));
    const POINT tl = AHost->ScreenToClient(POINT{info.rcScrollBar.left, info.rcScrollBar.top});
    bounds = RECT{tl.x, tl.y, tl.x + (info.rcScrollBar.right - info.rcScrollBar.left),
                  tl.y + (info.rcScrollBar.bottom - info.rcScrollBar.top)};
    visible = bounds.left >= 0 && bounds.top >= 0 && bounds.right - bounds.left <= AHost->GetWidth() &&
              bounds.bottom - bounds.top <= AHost->GetHeight();
  }
  if (!visible) {
    Bar->TControl::SetBoundsRect(RECT{0, 0, 0, 0});
    Bar->SetVisible(false);
    return;
  }
  const RECT now = Bar->GetBoundsRect();
  if (!Bar->GetVisible() || now.left != bounds.left || now.top != bounds.top || now.right != bounds.right ||
      now.bottom != bounds.bottom) {
    Bar->TControl::SetBoundsRect(bounds);
    Bar->SetCtl3D(false);
    Bar->SetVisible(true);
    Bar->BringToFront();
  }
  SCROLLINFO si;
  si.cbSize = sizeof(si);
  si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_TRACKPOS;
  if (!Windows::GetScrollInfo(AWindow->GetHandle(), AObject == OBJID_HSCROLL ? SB_HORZ : SB_VERT, &si)) return;
  Bar->SetScrollParams(si.nMin, si.nMax, si.nPos, std::max(std::min<int>(int(si.nPage), si.nMax), 0), true);
}

}  // namespace

TcxCustomMemo::TcxCustomMemo(TComponent* AOwner) : TcxCustomTextEdit(AOwner)
{
  SetAutoSize(false);
  SetBounds(GetLeft(), GetTop(), 185, 89);
}

TcxCustomMemo::~TcxCustomMemo() = default;

TClass TcxCustomMemo::GetPropertiesClass() const { return TcxMemoProperties::StaticClass(); }
TClass TcxCustomMemo::GetInnerEditClass() const { return TcxCustomInnerMemo::StaticClass(); }

TcxCustomInnerMemo* TcxCustomMemo::GetInnerMemo()
{
  return dynamic_cast<TcxCustomInnerMemo*>(GetInnerTextEditControl());
}

void TcxCustomMemo::ReadState(TReader* Reader)
{
  TcxCustomTextEdit::ReadState(Reader);
  TcxCustomInnerMemo* inner = GetInnerMemo();
  if (inner && inner->GetLines()->GetCount() > 0) SetEditValueChecked(Variant(inner->GetText()));
}

void TcxCustomMemo::CreateParams(TCreateParams& Params)
{
  TcxCustomTextEdit::CreateParams(Params);
  Params.WindowClass.style &= ~UINT(CS_VREDRAW);
  TcxCustomMemoProperties* p = GetMemoProperties();
  if (p->GetScrollBars() == ssHorizontal || p->GetScrollBars() == ssBoth || !p->GetWordWrap())
    Params.WindowClass.style &= ~UINT(CS_HREDRAW);
}

void TcxCustomMemo::CreateWnd()
{
  FSyncPosted = false;  // a message posted to the old window went with it
  TcxCustomTextEdit::CreateWnd();
  PostSyncScrollBars();
}

void TcxCustomMemo::WndProc(TMessage& Message)
{
  if (Message.Msg == CM_SYNCSCROLLBARS) {
    FSyncPosted = false;
    SyncScrollBars();
    return;
  }
  TcxCustomTextEdit::WndProc(Message);
  switch (Message.Msg) {
    case WM_WINDOWPOSCHANGED:
    case WM_NCCALCSIZE:
    case CM_SHOWINGCHANGED: PostSyncScrollBars(); break;
    case WM_COMMAND:
      // Sent before the window moves: the bars follow once it has.
      if (HIWORD(Message.WParam) == EN_VSCROLL || HIWORD(Message.WParam) == EN_HSCROLL) PostSyncScrollBars();
      break;
    default: break;
  }
}

void TcxCustomMemo::PostSyncScrollBars()
{
  if (FSyncPosted || !HandleAllocated() || IsContainerDestroying()) return;
  FSyncPosted = Windows::PostMessage(GetHandle(), CM_SYNCSCROLLBARS, 0, 0) != 0;
}

void TcxCustomMemo::UpdateScrollBars()
{
  if (!GetHScrollBar()) TcxCustomTextEdit::UpdateScrollBars();  // makes the bars
  SyncScrollBars();
}

void TcxCustomMemo::SyncScrollBars()
{
  if (FSyncing) return;
  TValueGuard syncing(FSyncing, true);
  TcxCustomInnerMemo* inner = GetInnerMemo();
  const bool alive = !IsContainerDestroying() && GetParent() && HandleAllocated() && inner && inner->HandleAllocated();
  if (alive && !GetHScrollBar()) TcxCustomTextEdit::UpdateScrollBars();  // makes the bars
  for (TScrollBarKind kind : {sbHorizontal, sbVertical}) {
    TcxScrollBar* bar = kind == sbHorizontal ? static_cast<TcxScrollBar*>(GetHScrollBar()) : GetVScrollBar();
    if (!bar) continue;
    if (!alive) {
      bar->SetVisible(false);
      continue;
    }
    FollowWindowBar(bar, inner, this, kind == sbHorizontal ? OBJID_HSCROLL : OBJID_VSCROLL);
  }
}

void TcxCustomMemo::Scroll(TScrollBarKind Kind, TScrollCode ScrollCode, int& ScrollPos)
{
  TcxCustomTextEdit::Scroll(Kind, ScrollCode, ScrollPos);
  TcxCustomInnerMemo* inner = GetInnerMemo();
  if (!inner || !inner->HandleAllocated()) return;
  HWND h = inner->GetHandle();
  const int bar = Kind == sbHorizontal ? SB_HORZ : SB_VERT;
  if (Kind == sbVertical && ScrollCode == scLineUp)
    Windows::SendMessage(h, EM_LINESCROLL, 0, LPARAM(-1));
  else if (Kind == sbVertical && ScrollCode == scLineDown)
    Windows::SendMessage(h, EM_LINESCROLL, 0, 1);
  else {
    if (ScrollCode == scTrack || ScrollCode == scPosition) {
      // The message's high word holds 16 bits only: the window reads the full position from
      // its own bar's track position.
      SCROLLINFO si;
      si.cbSize = sizeof(si);
      si.fMask = SIF_TRACKPOS;
      si.nTrackPos = ScrollPos;
      Windows::SetScrollInfo(h, bar, &si, FALSE);
    }
    TMessage m;
    m.Msg = Kind == sbHorizontal ? WM_HSCROLL : WM_VSCROLL;
    m.WParam = MAKEWPARAM(WORD(ScrollCode), WORD(ScrollPos));
    m.LParam = 0;
    m.Result = 0;
    inner->Perform(m.Msg, m.WParam, m.LParam);
  }
  ScrollPos = Windows::GetScrollPos(h, bar);
  SyncScrollBars();
}

void TcxCustomMemo::AdjustInnerEditPosition()
{
  TcxCustomInnerMemo* inner = GetInnerMemo();
  if (!inner || FAdjusting) return;
  TValueGuard adjusting(FAdjusting, true);
  RECT r = GetEditViewInfo()->ClientRect;
  Windows::InflateRect(&r, -1, -1);
  if (inner->GetLeft() != r.left || inner->GetTop() != r.top || inner->GetWidth() != r.right - r.left ||
      inner->GetHeight() != r.bottom - r.top)
    inner->SetBounds(r.left, r.top, r.right - r.left, r.bottom - r.top);
  Realign();
}

bool TcxCustomMemo::CanKeyDownModifyEdit(Word Key, TShiftState Shift)
{
  TcxCustomMemoProperties* p = GetMemoProperties();
  return TcxCustomTextEdit::CanKeyDownModifyEdit(Key, Shift) ||
         (Key == VK_RETURN && (p->GetWantReturns() || Shift.Contains(ssCtrl))) || (Key == VK_TAB && p->GetWantTabs());
}

void TcxCustomMemo::ChangeHandler(TObject* Sender)
{
  TcxCustomTextEdit::ChangeHandler(Sender);
  PostSyncScrollBars();
}

void TcxCustomMemo::DoEditKeyDown(Word& Key, TShiftState Shift)
{
  TcxCustomTextEdit::DoEditKeyDown(Key, Shift);
  if (Key == 'A' && Shift.Contains(ssCtrl) && !Shift.Contains(ssAlt)) {
    TcxCustomInnerMemo* inner = GetInnerMemo();
    if (inner && inner->GetLines()->GetCount() > 0) {
      SelectAll();
      if (OnKeyDown) OnKeyDown(this, Key, Shift);
      Key = 0;
    }
  }
}

void TcxCustomMemo::KeyDown(Word& Key, TShiftState Shift)
{
  TcxCustomMemoProperties* p = GetMemoProperties();
  const bool ctrl = Shift.Contains(ssCtrl);
  // In a cell the line break is typed into the text instead of being taken by the grid.
  if (IsInplace() && Key == VK_RETURN && p->GetWantReturns() != ctrl) {
    DoEditKeyDown(Key, Shift);
    return;
  }
  TcxCustomTextEdit::KeyDown(Key, Shift);
}

bool TcxCustomMemo::IsCaretMoveKey(Word AKey, TShiftState AShift)
{
  if (AKey >= VK_PRIOR && AKey <= VK_HOME) return true;
  const bool shifted = AShift.Contains(ssShift) || AShift.Contains(ssCtrl) || AShift.Contains(ssAlt);
  return AKey >= VK_LEFT && AKey <= VK_DOWN && !shifted;
}

void TcxCustomMemo::InitializeViewData(TcxCustomEditViewData* AViewData)
{
  TcxCustomTextEdit::InitializeViewData(AViewData);
  // The painted bars stand over the inner window's own: they take no room of their own.
  AViewData->HScrollBarVisible = AViewData->VScrollBarVisible = false;
}

void TcxCustomMemo::PropertiesChanged(TObject* Sender)
{
  TcxCustomMemoProperties* p = GetMemoProperties();
  if (p->GetUpdateCount() > 0) return;
  if (TcxCustomInnerMemo* inner = GetInnerMemo()) {
    if (inner->GetScrollBars() != p->GetScrollBars()) {
      inner->SetScrollBars(p->GetScrollBars());
      if (HandleAllocated()) RecreateWnd();
    }
    inner->SetWantReturns(p->GetWantReturns());
    inner->SetWantTabs(p->GetWantTabs());
    inner->SetWordWrap(p->GetWordWrap());
  }
  TcxCustomTextEdit::PropertiesChanged(Sender);
}

void TcxCustomMemo::UpdateInnerEditAppearance()
{
  TcxCustomTextEdit::UpdateInnerEditAppearance();
  PostSyncScrollBars();
}

void TcxCustomMemo::CutToClipboard()
{
  TcxCustomInnerMemo* inner = GetInnerMemo();
  if (!inner || !CanModify()) return;
  inner->CopyToClipboard();
  ClearSelection();
}

void TcxCustomMemo::ClearSelection()
{
  TcxCustomInnerMemo* inner = GetInnerMemo();
  if (!inner || !CanModify()) return;
  if (FClearPasting && !DoEditing()) return;
  {
    TValueGuard internal(FInternalAction, true);
    TValueGuard notPasting(FClearPasting, false);
    if (inner->HandleAllocated()) Windows::SendMessage(inner->GetHandle(), WM_CLEAR, 0, 0);
  }
  ResyncAfterChange();
}

void TcxCustomMemo::SetSelText(const AnsiString& Value)
{
  TcxCustomInnerMemo* inner = GetInnerMemo();
  if (!inner) return;
  AnsiString text = Value;
  const int maxLength = GetMemoProperties()->GetMaxLength();
  if (FClearPasting && maxLength > 0) {
    // Characters, a double-byte character once: what is left of the limit after the text that stays.
    const AnsiString all = inner->GetText();
    const int start = inner->GetSelStart(), len = inner->GetSelLength();
    const int kept = cxTextEdit::CharCount(all.substr(0, size_t(start))) +
                     cxTextEdit::CharCount(all.substr(size_t(std::min<int>(start + len, int(all.size())))));
    text = cxTextEdit::LeftChars(text, std::max(maxLength - kept, 0));
  }
  if (text.empty() || (FClearPasting && !DoEditing())) return;
  inner->SetSelText(text);
  ResyncAfterChange();
}

void TcxCustomMemo::ResyncAfterChange()
{
  if (FClearPasting) return;
  ResetLookupSelection();
  SyncEditValueFromText();
  SetModifiedSinceEnter(false);
}

// ---- TcxMemo -----------------------------------------------------------------------------------

TClass TcxMemo::GetPropertiesClass() const { return TcxMemoProperties::StaticClass(); }

TStrings* TcxMemo::GetLines()
{
  TcxCustomInnerMemo* inner = GetInnerMemo();
  return inner ? inner->GetLines() : nullptr;
}

void TcxMemo::SetLines(TStrings* Value)
{
  if (TStrings* lines = GetLines()) lines->Assign(Value);
}

// ---- Published lists ---------------------------------------------------------------------------

void TcxMemoProperties::Published(TPublisher<ThisClass>& p)
{
  p.Property("CharCase", &ThisClass::GetCharCase, &ThisClass::SetCharCase).Default(ecNormal);
  p.Property("HideSelection", &ThisClass::GetHideSelection, &ThisClass::SetHideSelection).Default(true);
  p.Property("MaxLength", &ThisClass::GetMaxLength, &ThisClass::SetMaxLength).StoredWhen(p.When([](const ThisClass* s) {
    return s->IsMaxLengthStored();
  }));
  p.Property("OEMConvert", &ThisClass::GetOEMConvert, &ThisClass::SetOEMConvert).Default(false);
  p.Property("ScrollBars", &ThisClass::GetScrollBars, &ThisClass::SetScrollBars).Default(ssNone);
  p.Property("WantReturns", &ThisClass::GetWantReturns, &ThisClass::SetWantReturns).Default(true);
  p.Property("WantTabs", &ThisClass::GetWantTabs, &ThisClass::SetWantTabs).Default(false);
  p.Property("WordWrap", &ThisClass::GetWordWrap, &ThisClass::SetWordWrap).Default(true);
}

void TcxMemo::Published(TPublisher<ThisClass>& p)
{
  p.Property("Lines", &ThisClass::GetLines, &ThisClass::SetLines);
  p.Property("Properties", &ThisClass::GetActiveProperties, &ThisClass::SetProperties);
}
