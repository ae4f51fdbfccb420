#include "platform/commctrl/progress/Progress.h"

#include <algorithm>
#include <memory>
#include <utility>

#include "platform/commctrl/common/ControlUtil.h"
#include "platform/commctrl/init/InitCommonControls.h"
#include "platform/commctrl/progress/ProgressModel.h"
#include "platform/gdi/dc/GdiObjects.h"
#include "platform/gdi/dc/SysColors.h"
#include "platform/gdi/draw/Edges.h"
#include "platform/gdi/draw/Shapes.h"
#include "platform/win/caret/Cursors.h"
#include "platform/win/paint/Painting.h"
#include "platform/win/window/Rects.h"
#include "platform/win/window/Windows.h"

using namespace Windows;

namespace {

struct ProgressState {
  ProgressModel Model;
  COLORREF Bar = CLR_DEFAULT, Back = CLR_DEFAULT;
};

ProgressState* StateOf(HWND wnd) { return ControlUtil::StateOf<ProgressState>(wnd); }

void Paint(HWND wnd, ProgressState* s, HDC dc)
{
  RECT c;
  GetClientRect(wnd, &c);
  DWORD style = DWORD(GetWindowLongPtr(wnd, GWL_STYLE));
  DrawEdge(dc, &c, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
  CommonControls::FillSolid(dc, c, s->Back == CLR_DEFAULT ? GetSysColor(COLOR_BTNFACE) : s->Back);
  COLORREF bar = s->Bar == CLR_DEFAULT ? GetSysColor(COLOR_HIGHLIGHT) : s->Bar;
  InflateRect(&c, -1, -1);
  bool vertical = style & PBS_VERTICAL;
  int length = vertical ? c.bottom - c.top : c.right - c.left;
  int filled = s->Model.Filled(length);
  if (filled <= 0) return;
  if (style & PBS_SMOOTH) {
    RECT f = c;
    if (vertical)
      f.top = c.bottom - filled;
    else
      f.right = c.left + filled;
    CommonControls::FillSolid(dc, f, bar);
    return;
  }
  // Blocks two thirds as long as the bar is thick, two pixels apart; the last one may be cut.
  int thick = vertical ? c.right - c.left : c.bottom - c.top;
  int block = std::max(2, thick * 2 / 3);
  for (int at = 0; at < filled; at += block + 2) {
    int end = std::min(at + block, length);
    RECT f = c;
    if (vertical) {
      f.bottom = c.bottom - at;
      f.top = c.bottom - end;
    } else {
      f.left = c.left + at;
      f.right = c.left + end;
    }
    CommonControls::FillSolid(dc, f, bar);
  }
}

LRESULT Changed(HWND wnd, LRESULT answer)
{
  InvalidateRect(wnd, nullptr, FALSE);
  return answer;
}

}  // namespace

namespace Progress {

LRESULT WndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
  if (msg == WM_CREATE) {
    ControlUtil::AttachState(wnd, std::make_unique<ProgressState>());
    return 0;
  }
  ProgressState* s = StateOf(wnd);
  if (!s) return DefWindowProc(wnd, msg, wParam, lParam);
  ProgressModel& m = s->Model;
  switch (msg) {
    case WM_NCDESTROY: {
      auto gone = ControlUtil::DetachState<ProgressState>(wnd);
      return DefWindowProc(wnd, msg, wParam, lParam);
    }
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: CommonControls::Paint(wnd, wParam, [&](HDC dc) { Paint(wnd, s, dc); }); return 0;
    case PBM_SETRANGE: {
      LRESULT old = MAKELPARAM(m.Low(), m.High());
      m.SetRange(LOWORD(lParam), HIWORD(lParam));
      return Changed(wnd, old);
    }
    case PBM_SETRANGE32: {
      LRESULT old = MAKELPARAM(m.Low(), m.High());
      m.SetRange(int(wParam), int(lParam));
      return Changed(wnd, old);
    }
    case PBM_GETRANGE:
      if (lParam) *reinterpret_cast<PBRANGE*>(lParam) = PBRANGE{m.Low(), m.High()};
      return wParam ? m.Low() : m.High();
    case PBM_SETPOS: return Changed(wnd, m.SetPos(int(wParam)));
    case PBM_DELTAPOS: return Changed(wnd, m.DeltaPos(int(wParam)));
    case PBM_SETSTEP: return m.SetStep(int(wParam));
    case PBM_STEPIT: return Changed(wnd, m.StepIt());
    case PBM_GETPOS: return m.Pos();
    case PBM_SETBARCOLOR: return Changed(wnd, std::exchange(s->Bar, COLORREF(lParam)));
    case PBM_SETBKCOLOR: return Changed(wnd, std::exchange(s->Back, COLORREF(lParam)));
    default: return DefWindowProc(wnd, msg, wParam, lParam);
  }
}

void Register() { CommonControls::RegisterControlClass(PROGRESS_CLASS, WndProc); }

}  // namespace Progress
