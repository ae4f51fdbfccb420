#include "platform/forms/controls/DockDrag.h"

#include <algorithm>

#include "platform/forms/controls/Controls.h"
#include "platform/forms/controls/DockTree.h"
#include "platform/forms/controls/WinControl.h"
#include "platform/forms/forms/CustomForm.h"
#include "platform/gdi/dc/SysColors.h"
#include "platform/gdi/draw/Shapes.h"
#include "platform/win/paint/Painting.h"
#include "platform/win/window/Windows.h"

struct TDockDragAccess {
  static void SetTarget(TDragDockObject* o, TWinControl* t) { o->FDockTarget = t; }
};

TDragDockObject::TDragDockObject(TControl* AControl) : TDragControlObject(AControl) {}

namespace {

std::vector<TWinControl*>& Sites()
{
  static std::vector<TWinControl*> sites;
  return sites;
}

// ---- The frame: four thin top-most windows, so that it shows over any window of the program.

const char* const kFrameClass = "TPDockFrame";
HWND gFrame[4] = {};
RECT gFrameRect{};

LRESULT FrameWndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
  if (msg == WM_PAINT) {
    PAINTSTRUCT ps;
    HDC dc = Windows::BeginPaint(wnd, &ps);
    RECT r;
    Windows::GetClientRect(wnd, &r);
    Windows::FillRect(dc, &r, Windows::GetSysColorBrush(COLOR_HIGHLIGHT));
    Windows::EndPaint(wnd, &ps);
    return 0;
  }
  if (msg == WM_ERASEBKGND) return 1;
  if (msg == WM_NCHITTEST) return HTTRANSPARENT;
  return Windows::DefWindowProc(wnd, msg, wParam, lParam);
}

bool FrameAlive(HWND wnd) { return wnd && Windows::IsWindow(wnd); }

void ShowFrame(const RECT& R, int Width)
{
  WNDCLASSEXA existing;
  if (!Windows::GetClassInfoEx(nullptr, kFrameClass, &existing)) {
    WNDCLASSEXA wc;
    wc.lpfnWndProc = FrameWndProc;
    wc.lpszClassName = kFrameClass;
    Windows::RegisterClassEx(&wc);
  }
  int w = R.right - R.left, h = R.bottom - R.top;
  RECT parts[4] = {{R.left, R.top, R.right, R.top + Width},
                   {R.left, R.bottom - Width, R.right, R.bottom},
                   {R.left, R.top + Width, R.left + Width, R.bottom - Width},
                   {R.right - Width, R.top + Width, R.right, R.bottom - Width}};
  for (int i = 0; i < 4; ++i) {
    if (!FrameAlive(gFrame[i]))
      gFrame[i] = Windows::CreateWindowEx(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, kFrameClass, "", WS_POPUP, 0, 0, 0, 0,
                                          nullptr, nullptr, nullptr, nullptr);
    const RECT& p = parts[i];
    int pw = std::max(0, int(p.right - p.left)), ph = std::max(0, int(p.bottom - p.top));
    Windows::SetWindowPos(gFrame[i], HWND_TOPMOST, p.left, p.top, pw, ph,
                          SWP_NOACTIVATE | (pw > 0 && ph > 0 ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
    Windows::UpdateWindow(gFrame[i]);
  }
  gFrameRect = w > 0 && h > 0 ? R : RECT{};
}

void HideFrame()
{
  for (HWND& wnd : gFrame) {
    if (FrameAlive(wnd)) Windows::DestroyWindow(wnd);
    wnd = nullptr;
  }
  gFrameRect = RECT{};
}

TWinControl* gOver = nullptr;  // the site the last move was over
bool gOverAccepted = false;    // and whether it took the control

bool Contains(const RECT& R, POINT P) { return P.x >= R.left && P.x < R.right && P.y >= R.top && P.y < R.bottom; }

bool IsWithin(TControl* Inner, TControl* Outer)
{
  for (TControl* c = Inner; c; c = c->GetParent())
    if (c == Outer) return true;
  return false;
}

// The rectangle the control takes when it floats, with the mouse where it holds it (above
// the control when it holds a caption).
RECT FloatRect(TDragDockObject* Source, POINT Pos)
{
  TControl* c = Source->GetControl();
  POINT g = Source->GetGrabOffset();
  // A window floating on its own keeps its client size; a docked one takes its undocked size.
  bool own = !c->GetParent() && dynamic_cast<TWinControl*>(c);
  int w = own ? c->GetClientWidth() : c->GetUndockWidth(), h = own ? c->GetClientHeight() : c->GetUndockHeight();
  g.x = std::clamp(int(g.x), 0, std::max(0, w - 1));
  g.y = std::min(int(g.y), std::max(0, h - 1));
  return RECT{Pos.x - g.x, Pos.y - g.y, Pos.x - g.x + w, Pos.y - g.y + h};
}

void Leave(TDragDockObject* Source, POINT Pos)
{
  if (!gOver) return;
  TWinControl* site = gOver;
  gOver = nullptr;
  gOverAccepted = false;
  POINT p = site->ScreenToClient(Pos);
  bool accept = false;
  site->DockOver(Source, p.x, p.y, dsDragLeave, accept);
}

}  // namespace

namespace DockDrag {

void RegisterSite(TWinControl* Site)
{
  if (std::find(Sites().begin(), Sites().end(), Site) == Sites().end()) Sites().push_back(Site);
}

void UnregisterSite(TWinControl* Site)
{
  Sites().erase(std::remove(Sites().begin(), Sites().end(), Site), Sites().end());
  ControlGone(Site);
}

TWinControl* FindDockSite(TControl* Control, POINT Pos)
{
  TWinControl* host = Control->GetHostDockSite();
  std::vector<TWinControl*> candidates;
  for (TWinControl* site : Sites()) {
    if (!site->GetDockSite() || !site->IsShowing() || !site->HandleAllocated() || IsWithin(site, Control)) continue;
    // A floating host holding only this control is where it already is.
    if (site == host && Control->Floating() && site->GetDockClientCount() <= 1) continue;
    RECT influence;
    Windows::GetWindowRect(site->GetHandle(), &influence);
    influence = RECT{influence.left - 10, influence.top - 10, influence.right + 10, influence.bottom + 10};
    bool canDock = true;
    site->GetSiteInfo(Control, influence, Pos, canDock);
    if (canDock && Contains(influence, Pos)) candidates.push_back(site);
  }
  if (candidates.empty()) return nullptr;
  // The site whose window is under the mouse comes first, then the innermost one.
  HWND wnd = Windows::WindowFromPoint(Pos);
  TWinControl* under = nullptr;
  while (wnd && !(under = Controls::FindControl(wnd))) wnd = Windows::GetParent(wnd);
  for (TControl* c = under; c; c = c->GetParent())
    if (std::find(candidates.begin(), candidates.end(), c) != candidates.end()) return static_cast<TWinControl*>(c);
  auto area = [](TWinControl* s) { return Int64(s->GetWidth()) * s->GetHeight(); };
  return *std::min_element(candidates.begin(), candidates.end(),
                           [&](TWinControl* a, TWinControl* b) { return area(a) < area(b); });
}

void Started(TDragDockObject* Source, POINT Pos)
{
  TControl* c = Source->GetControl();
  gOver = nullptr;
  gOverAccepted = false;
  POINT origin = c->ClientToScreen(POINT{0, 0});
  Source->SetGrabOffset(POINT{Pos.x - origin.x, Pos.y - origin.y});
  Source->SetDockRect(FloatRect(Source, Pos));
}

void DragTo(TDragDockObject* Source, POINT Pos)
{
  TControl* control = Source->GetControl();
  TWinControl* site = FindDockSite(control, Pos);
  if (site != gOver) Leave(Source, Pos);
  bool accepted = false;
  if (site) {
    TDragState state = site == gOver ? dsDragMove : dsDragEnter;
    gOver = site;
    POINT p = site->ScreenToClient(Pos);
    Source->SetDropOnControl(nullptr);
    Source->SetDropAlign(alNone);
    accepted = true;
    site->DockOver(Source, p.x, p.y, state, accepted);
    gOverAccepted = accepted;
  }
  TDockDragAccess::SetTarget(Source, accepted ? site : nullptr);
  Source->SetFloating(!accepted);
  if (!accepted) {
    Source->SetDropOnControl(nullptr);
    Source->SetDropAlign(alNone);
    Source->SetDockRect(FloatRect(Source, Pos));
  }
  ShowFrame(Source->GetDockRect(), Source->GetFrameWidth());
}

void Finish(TDragDockObject* Source, bool Drop)
{
  HideFrame();
  TControl* control = Source->GetControl();
  TWinControl* site = gOverAccepted ? gOver : nullptr;
  gOver = nullptr;
  gOverAccepted = false;
  TObject* target = nullptr;
  POINT at = Source->GetDragPos();
  if (Drop && site) {
    TWinControl* host = control->GetHostDockSite();
    if (!host || host->DoUnDock(site, control)) {
      POINT p = site->ScreenToClient(at);
      site->DockDrop(Source, p.x, p.y);
      target = site;
    }
  } else if (Drop) {
    TWinControl* host = control->GetHostDockSite();
    if (control->Floating() && host && host->GetDockClientCount() == 1) {
      PlaceClientArea(host, Source->GetDockRect());  // the floating window moves
      target = host;
    } else if (control->Floating() && !host && dynamic_cast<TCustomForm*>(control)) {
      PlaceClientArea(static_cast<TWinControl*>(control), Source->GetDockRect());
    } else if (control->ManualFloat(Source->GetDockRect())) {
      target = control->GetHostDockSite();
    }
  }
  POINT local = target ? static_cast<TControl*>(target)->ScreenToClient(at) : at;
  TControlAccess::DoEndDock(control, target, local.x, local.y);
}

void ControlGone(TControl* Control)
{
  if (gOver == Control) {
    gOver = nullptr;
    gOverAccepted = false;
  }
}

RECT FrameRect() { return gFrameRect; }

void PlaceClientArea(TWinControl* Window, const RECT& R)
{
  int w = R.right - R.left, h = R.bottom - R.top;
  if (!Window->GetParent()) Window->HandleNeeded();
  Window->SetClientSize(w, h);
  if (!Window->GetParent() && Window->HandleAllocated()) {
    POINT o = Window->ClientToScreen(POINT{0, 0});
    Window->SetBounds(Window->GetLeft() + (R.left - o.x), Window->GetTop() + (R.top - o.y), Window->GetWidth(),
                      Window->GetHeight());
  } else {
    Window->SetBounds(R.left, R.top, Window->GetWidth(), Window->GetHeight());
  }
}

}  // namespace DockDrag
