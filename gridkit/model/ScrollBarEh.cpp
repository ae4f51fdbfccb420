#include "gridkit/model/ScrollBarEh.h"

#include <unordered_map>

#include "gridkit/model/GridHostEh.h"
#include "platform/win/queue/Messages.h"
#include "platform/win/scroll/ScrollBars.h"
#include "platform/win/window/Windows.h"

namespace {
struct Attachment {
  TDBGridEhScrollBar* Settings;
  IDBGridEhHost* Grid;
  TScrollBarKind Kind;
  WNDPROC Own;
};
// External bars whose procedure the grid family has taken over, by window.
std::unordered_map<HWND, Attachment>& Attached()
{
  static std::unordered_map<HWND, Attachment> map;
  return map;
}
}  // namespace

TDBGridEhScrollBar::TDBGridEhScrollBar(IDBGridEhHost* Grid, TScrollBarKind Kind) : FGrid(Grid), FKind(Kind) {}

TDBGridEhScrollBar::~TDBGridEhScrollBar()
{
  if (FExtScrollBar) Release(FExtScrollBar);
}

void TDBGridEhScrollBar::Assign(TPersistent* Source)
{
  auto* src = dynamic_cast<TDBGridEhScrollBar*>(Source);
  if (!src) {
    TPersistent::Assign(Source);
    return;
  }
  SetVisible(src->GetVisible());
  FTracking = src->FTracking;
  SetExtScrollBar(src->FExtScrollBar);
}

void TDBGridEhScrollBar::SetVisible(bool Value)
{
  FVisibleMode = Value ? sbAutoShowEh : sbNeverShowEh;
  if (FExtScrollBar) FExtScrollBar->SetVisible(GetVisible());
}

void TDBGridEhScrollBar::SetVisibleMode(TScrollBarVisibleModeEh Value)
{
  if (Value == FVisibleMode) return;
  FVisibleMode = Value;
  if (!FGrid) return;
  if (FKind == sbVertical) FGrid->SyncVertScrollBar();
  FGrid->LayoutChanged(false);
}

LRESULT TDBGridEhScrollBar::ForwardProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam)
{
  auto it = Attached().find(Wnd);
  if (it == Attached().end()) return Windows::DefWindowProc(Wnd, Msg, WParam, LParam);
  Attachment a = it->second;
  if ((Msg == CN_HSCROLL || Msg == CN_VSCROLL) && a.Grid)
    if (HWND grid = a.Grid->GetGridHandle())
      Windows::SendMessage(grid, a.Kind == sbHorizontal ? WM_HSCROLL : WM_VSCROLL, WParam, LParam);
  return Windows::CallWindowProc(a.Own, Wnd, Msg, WParam, LParam);
}

void TDBGridEhScrollBar::Release(IExtScrollBarEh* Bar)
{
  HWND wnd = Bar->GetHandle();
  auto it = wnd ? Attached().find(wnd) : Attached().end();
  if (it == Attached().end() || it->second.Settings != this) return;
  Windows::SetWindowLongPtr(wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(it->second.Own));
  Attached().erase(it);
}

void TDBGridEhScrollBar::SetExtScrollBar(IExtScrollBarEh* Bar)
{
  if (Bar == FExtScrollBar) return;
  bool designing = FGrid && FGrid->IsDesigning();
  HWND wnd = Bar ? Bar->GetHandle() : nullptr;
  if (!designing && wnd) {
    auto current = Windows::GetWindowLongPtr(wnd, GWLP_WNDPROC);
    if (current != Windows::GetClassLongPtr(wnd, GCLP_WNDPROC))
      throw Exception("Possible " + Bar->GetName() + " already attached to the other control.");
  }
  if (!designing && FExtScrollBar) Release(FExtScrollBar);
  FExtScrollBar = Bar;
  if (!designing && wnd) {
    auto own = reinterpret_cast<WNDPROC>(Windows::GetWindowLongPtr(wnd, GWLP_WNDPROC));
    Attached()[wnd] = Attachment{this, FGrid, FKind, own};
    Windows::SetWindowLongPtr(wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ForwardProc));
  }
  if (Bar) Bar->SetVisible(GetVisible());
  if (FGrid && !FGrid->IsDestroying() && FGrid->GetGridHandle()) {
    if (FKind == sbVertical) FGrid->SyncVertScrollBar();
    FGrid->LayoutChanged(false);
  }
}

bool TDBGridEhScrollBar::ShowsScrollBar()
{
  if (FExtScrollBar) return FExtScrollBar->GetVisible();
  HWND grid = FGrid ? FGrid->GetGridHandle() : nullptr;
  if (!GetVisible() || !grid) return false;
  auto style = static_cast<DWORD>(Windows::GetWindowLongPtr(grid, GWL_STYLE));
  return (style & (FKind == sbVertical ? WS_VSCROLL : WS_HSCROLL)) != 0;
}

bool TDBGridEhScrollBar::GetScrollInfo(SCROLLINFO& Info)
{
  if (FExtScrollBar && FExtScrollBar->GetHandle())
    return Windows::GetScrollInfo(FExtScrollBar->GetHandle(), SB_CTL, &Info) != 0;
  HWND grid = FGrid ? FGrid->GetGridHandle() : nullptr;
  return grid && Windows::GetScrollInfo(grid, FKind == sbVertical ? SB_VERT : SB_HORZ, &Info) != 0;
}

PELTO_DEFINE_CLASS(TDBGridEhScrollBar)

PELTO_DEFINE_CLASS(TVertDBGridEhScrollBar)
