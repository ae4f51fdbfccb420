#include "platform/gdi/dc/SysColors.h"

#include <cstdint>
#include <mutex>

#include "platform/gdi/dc/GdiInternal.h"

namespace {

constexpr int kCount = 31;

constexpr COLORREF kClassic[kCount] = {
    RGB(212, 208, 200),  // scroll bar
    RGB(58, 110, 165),   // desktop
    RGB(10, 36, 106),    // active caption
    RGB(128, 128, 128),  // inactive caption
    RGB(212, 208, 200),  // menu
    RGB(255, 255, 255),  // window
    RGB(0, 0, 0),        // window frame
    RGB(0, 0, 0),        // menu text
    RGB(0, 0, 0),        // window text
    RGB(255, 255, 255),  // caption text
    RGB(212, 208, 200),  // active border
    RGB(212, 208, 200),  // inactive border
    RGB(128, 128, 128),  // application workspace
    RGB(10, 36, 106),    // highlight
    RGB(255, 255, 255),  // highlight text
    RGB(212, 208, 200),  // button face
    RGB(128, 128, 128),  // button shadow
    RGB(128, 128, 128),  // grey text
    RGB(0, 0, 0),        // button text
    RGB(212, 208, 200),  // inactive caption text
    RGB(255, 255, 255),  // button highlight
    RGB(64, 64, 64),     // 3-D dark shadow
    RGB(212, 208, 200),  // 3-D light
    RGB(0, 0, 0),        // info text
    RGB(255, 255, 225),  // info background
    RGB(181, 181, 181),  // (unused slot)
    RGB(0, 0, 128),      // hot light
    RGB(166, 202, 240),  // gradient active caption
    RGB(192, 192, 192),  // gradient inactive caption
    RGB(10, 36, 106),    // menu highlight
    RGB(212, 208, 200),  // menu bar
};

struct TSysColors {
  std::mutex Lock;
  COLORREF Colors[kCount];
  HBRUSH Brushes[kCount] = {};
  TSysColors()
  {
    for (int i = 0; i < kCount; ++i) Colors[i] = kClassic[i];
  }
};

TSysColors& Sys()
{
  static TSysColors* s = new TSysColors;
  return *s;
}

}  // namespace

namespace Windows {

COLORREF GetSysColor(int index)
{
  if (index < 0 || index >= kCount) return 0;
  TSysColors& s = Sys();
  std::lock_guard<std::mutex> g(s.Lock);
  return s.Colors[index];
}

HBRUSH GetSysColorBrush(int index)
{
  if (index < 0 || index >= kCount) return nullptr;
  TSysColors& s = Sys();
  std::lock_guard<std::mutex> g(s.Lock);
  if (!s.Brushes[index]) {
    auto b = std::make_unique<GdiInternal::TBrushObj>();
    b->Color = s.Colors[index];
    b->Stock = true;
    s.Brushes[index] = static_cast<HBRUSH>(GdiInternal::AddObject(std::move(b)));
  }
  return s.Brushes[index];
}

BOOL SetSysColors(int count, const int* indexes, const COLORREF* colors)
{
  if (count < 0 || (count > 0 && (!indexes || !colors))) return FALSE;
  for (int i = 0; i < count; ++i)
    if (indexes[i] < 0 || indexes[i] >= kCount) return FALSE;
  TSysColors& s = Sys();
  std::lock_guard<std::mutex> g(s.Lock);
  for (int i = 0; i < count; ++i) {
    s.Colors[indexes[i]] = colors[i] & 0xFFFFFF;
    if (auto* b = GdiInternal::Brush(s.Brushes[indexes[i]])) b->Color = colors[i] & 0xFFFFFF;
  }
  return TRUE;
}

void ResetSysColors()
{
  int idx[kCount];
  for (int i = 0; i < kCount; ++i) idx[i] = i;
  SetSysColors(kCount, idx, kClassic);
}

}  // namespace Windows

namespace GdiInternal {
HBRUSH ResolveBrushArg(HBRUSH brush)
{
  auto v = reinterpret_cast<std::uintptr_t>(brush);
  if (v >= 1 && v <= std::uintptr_t(kCount)) return Windows::GetSysColorBrush(int(v - 1));
  return brush;
}
}  // namespace GdiInternal
