#include "platform/commctrl/statusbar/StatusBarModel.h"

#include <algorithm>

#include "platform/commctrl/statusbar/StatusBar.h"

StatusBarModel::StatusBarModel() : FRights{-1}, FParts(1) {}

bool StatusBarModel::SetParts(int count, const int* rights)
{
  if (count < 1 || count > MaxParts || !rights) return false;
  FRights.assign(rights, rights + count);
  FParts.resize(std::size_t(count));
  return true;
}

bool StatusBarModel::SetText(int part, const AnsiString& text, UINT flags, LPARAM data)
{
  Part* p = part == SB_SIMPLEID                 ? &FSimpleText
            : (part >= 0 && part < PartCount()) ? &FParts[std::size_t(part)]
                                                : nullptr;
  if (!p) return false;
  p->Text = text;
  p->Flags = flags;
  p->Data = data;
  return true;
}

const StatusBarModel::Part* StatusBarModel::GetPart(int part) const
{
  if (part == SB_SIMPLEID) return &FSimpleText;
  return part >= 0 && part < PartCount() ? &FParts[std::size_t(part)] : nullptr;
}

bool StatusBarModel::PartRect(int part, int width, int height, RECT* out) const
{
  const int border = 2, gap = 2;
  if (FSimple) {
    if (part != 0 && part != SB_SIMPLEID) return false;
    *out = RECT{0, border, width, height};
    return true;
  }
  if (part < 0 || part >= PartCount()) return false;
  auto right = [&](int i) {
    int r = FRights[std::size_t(i)];
    return r < 0 ? width : std::min(r, width);
  };
  int left = part == 0 ? 0 : std::min(right(part - 1) + gap, width);
  *out = RECT{left, border, std::max(left, right(part)), height};
  return true;
}
