#include "platform/commctrl/tooltips/ToolTipsModel.h"

#include "platform/commctrl/tooltips/ToolTips.h"
#include "platform/win/window/Rects.h"

using namespace Windows;

HWND ToolTipsModel::Tool::Target() const { return (Flags & TTF_IDISHWND) ? reinterpret_cast<HWND>(Id) : Wnd; }

ToolTipsModel::Tool* ToolTipsModel::At(int index)
{
  return index >= 0 && index < Count() ? &FTools[std::size_t(index)] : nullptr;
}

const ToolTipsModel::Tool* ToolTipsModel::At(int index) const
{
  return index >= 0 && index < Count() ? &FTools[std::size_t(index)] : nullptr;
}

int ToolTipsModel::Find(HWND wnd, UINT_PTR id) const
{
  for (int i = 0; i < Count(); ++i)
    if (FTools[std::size_t(i)].Wnd == wnd && FTools[std::size_t(i)].Id == id) return i;
  return -1;
}

int ToolTipsModel::Add(Tool tool)
{
  int at = Find(tool.Wnd, tool.Id);
  if (at >= 0) {
    FTools[std::size_t(at)] = std::move(tool);
    return at;
  }
  FTools.push_back(std::move(tool));
  return Count() - 1;
}

bool ToolTipsModel::Delete(HWND wnd, UINT_PTR id)
{
  int at = Find(wnd, id);
  if (at < 0) return false;
  FTools.erase(FTools.begin() + at);
  return true;
}

bool ToolTipsModel::Uses(HWND target) const
{
  for (const Tool& t : FTools)
    if (t.Target() == target) return true;
  return false;
}

int ToolTipsModel::HitTest(HWND wnd, POINT pt) const
{
  if (!wnd) return -1;
  for (int i = 0; i < Count(); ++i) {
    const Tool& t = FTools[std::size_t(i)];
    if ((t.Flags & TTF_IDISHWND) ? t.Target() == wnd : t.Wnd == wnd && PtInRect(&t.Rect, pt)) return i;
  }
  return -1;
}

int ToolTipsModel::Delay(WPARAM which, int doubleClick) const
{
  int initial = FInitial >= 0 ? FInitial : doubleClick;
  switch (which) {
    case TTDT_INITIAL: return initial;
    case TTDT_AUTOPOP: return FAutoPop >= 0 ? FAutoPop : initial * 10;
    case TTDT_RESHOW: return FReshow >= 0 ? FReshow : initial / 5;
    default: return -1;
  }
}

bool ToolTipsModel::SetDelay(WPARAM which, int ms)
{
  int v = ms < 0 ? -1 : ms;
  switch (which) {
    case TTDT_AUTOMATIC:
      FInitial = v;
      FAutoPop = FReshow = -1;
      return true;
    case TTDT_INITIAL: FInitial = v; return true;
    case TTDT_AUTOPOP: FAutoPop = v; return true;
    case TTDT_RESHOW: FReshow = v; return true;
    default: return false;
  }
}
