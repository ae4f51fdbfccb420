#include "platform/commctrl/updown/UpDownModel.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "platform/rtl/FormatSettings.h"

UpDownModel::UpDownModel() : Accels{{0, 1}, {2, 5}, {5, 20}} {}

void UpDownModel::SetRange(int min, int max)
{
  FMin = min;
  FMax = max;
  SetPos(FPos);
}

bool UpDownModel::SetPos(int pos)
{
  int c = std::clamp(pos, std::min(FMin, FMax), std::max(FMin, FMax));
  FPos = c;
  return c != pos;
}

int UpDownModel::Delta(bool up, unsigned heldMs) const
{
  unsigned inc = 1;
  for (const UDACCEL& a : Accels)
    if (heldMs >= a.nSec * 1000u) inc = a.nInc;
  int d = int(inc);
  if (FMax < FMin) d = -d;  // "up" always heads for the second end
  return up ? d : -d;
}

int UpDownModel::Target(int delta) const
{
  long long lo = std::min(FMin, FMax), hi = std::max(FMin, FMax), v = (long long)FPos + delta;
  if (Wrap) {
    if (v > hi) return int(lo);
    if (v < lo) return int(hi);
  }
  return int(std::clamp(v, lo, hi));
}

AnsiString UpDownModel::Text() const
{
  char buf[32];
  if (Base == 16) {
    std::snprintf(buf, sizeof buf, "0x%04X", unsigned(FPos));
    return buf;
  }
  std::snprintf(buf, sizeof buf, "%lld", (long long)FPos);
  AnsiString digits = buf;
  if (!Thousands || !SysUtils::ThousandSeparator) return digits;
  std::size_t start = digits[0] == '-' ? 1 : 0;
  for (std::size_t i = digits.size(); i > start + 3; i -= 3) digits.insert(i - 3, 1, SysUtils::ThousandSeparator);
  return digits;
}

bool UpDownModel::Parse(const AnsiString& text, int* out) const
{
  AnsiString clean;
  for (char c : text)
    if (c != SysUtils::ThousandSeparator && c != ' ') clean += c;
  if (clean.empty()) return false;
  char* end = nullptr;
  long long v = std::strtoll(clean.c_str(), &end, Base == 16 ? 16 : 10);
  if (*end || v < INT32_MIN || v > INT32_MAX) return false;
  *out = int(v);
  return true;
}
