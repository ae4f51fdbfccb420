#include "controls/editors/paint/cxEditPaintUtils.h"

#include <array>

#include "controls/framework/cxSystemPaletteNotifier.h"
#include "platform/gdi/dc/GdiObjects.h"
#include "platform/gdi/dc/SysColors.h"

namespace {

constexpr int kSystemBrushCount = 31;
constexpr std::uint32_t kSystemColorFirst = 0xFF000000u, kSystemColorLast = 0xFF00001Eu;

bool SystemBrushesReady = false;
std::array<HBRUSH, kSystemBrushCount> SystemBrushes{};
// Freed by Finalize, never by a static destructor (the palette listener may be gone by then).
TcxSolidBrushCache* GlobalCache = nullptr;

}  // namespace

TcxSolidBrushCache::TcxSolidBrushCache(int AMaxDepth)
    : FMaxDepth(AMaxDepth > 0 ? AMaxDepth : 1), FColors(FMaxDepth), FBrushes(FMaxDepth), FUseCounts(FMaxDepth),
      FNotifier(std::make_unique<TcxSystemPaletteChangedNotifier>(true))
{
  FNotifier->OnSystemPaletteChanged = [this] { SystemPaletteChanged(); };
}

TcxSolidBrushCache::~TcxSolidBrushCache()
{
  FNotifier.reset();
  Clear();
}

bool TcxSolidBrushCache::Find(std::uint32_t Color, int& Index) const
{
  int lo = 0, hi = FDepth - 1;
  while (lo <= hi) {
    int mid = (lo + hi) / 2;
    std::uint32_t c = std::uint32_t(FColors[mid]);
    if (c == Color) {
      Index = mid;
      return true;
    }
    if (c < Color)
      lo = mid + 1;
    else
      hi = mid - 1;
  }
  Index = lo;
  return false;
}

HBRUSH TcxSolidBrushCache::GetBrush(TColor Color)
{
  const std::uint32_t c = std::uint32_t(Color);
  if (SystemBrushesReady && c >= kSystemColorFirst && c <= kSystemColorLast)
    return SystemBrushes[c & ~kSystemColorFirst];
  int index;
  if (Find(c, index)) {
    ++FUseCounts[index];
    return FBrushes[index];
  }
  if (FDepth == FMaxDepth) {
    int victim = 0;
    for (int i = 1; i < FDepth; ++i)
      if (FUseCounts[i] < FUseCounts[victim]) victim = i;
    Windows::DeleteObject(FBrushes[victim]);
    for (int i = victim; i < FDepth - 1; ++i) {
      FColors[i] = FColors[i + 1];
      FBrushes[i] = FBrushes[i + 1];
      FUseCounts[i] = FUseCounts[i + 1];
    }
    --FDepth;
    if (victim < index) --index;
  }
  for (int i = FDepth; i > index; --i) {
    FColors[i] = FColors[i - 1];
    FBrushes[i] = FBrushes[i - 1];
    FUseCounts[i] = FUseCounts[i - 1];
  }
  ++FDepth;
  FColors[index] = Color;
  FBrushes[index] = Windows::CreateSolidBrush(Graphics::ColorToRGB(Color));
  FUseCounts[index] = 0;
  return FBrushes[index];
}

void TcxSolidBrushCache::Clear()
{
  for (int i = 0; i < FDepth; ++i) Windows::DeleteObject(FBrushes[i]);
  FDepth = 0;
}

namespace cxEditPaintUtils {

HBRUSH GetSolidBrush(TColor Color)
{
  // Before start-up (or after shut-down) a caller still gets a working brush from the system
  // table or a lazily made cache.
  if (!GlobalCache) Initialize();
  return GlobalCache->GetBrush(Color);
}

HBRUSH GetSolidBrush(TCanvas*, TColor Color) { return GetSolidBrush(Color); }
HBRUSH GetSolidBrush(TcxCanvas*, TColor Color) { return GetSolidBrush(Color); }

TcxSolidBrushCache* SolidBrushCache() { return GlobalCache; }

void Initialize()
{
  if (!SystemBrushesReady) {
    for (int i = 0; i < kSystemBrushCount; ++i) SystemBrushes[i] = Windows::GetSysColorBrush(i);
    SystemBrushesReady = true;
  }
  if (!GlobalCache) GlobalCache = new TcxSolidBrushCache;
}

void Finalize()
{
  delete GlobalCache;
  GlobalCache = nullptr;
  SystemBrushes.fill(nullptr);
  SystemBrushesReady = false;
}

}  // namespace cxEditPaintUtils
