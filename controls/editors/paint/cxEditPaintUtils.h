// Solid brushes for the editors' many small fills: system colours answer the system's own
// brushes, every other colour a brush from one process-wide cache that keeps the most used ones.
//
// A brush handed out stays owned by the cache (or the system): never delete it. It lives until
// the cache evicts it or a system palette change clears the cache; a routine that holds one past
// that finds a dead handle, which the drawing layer refuses harmlessly (the call answers 0).
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/forms/graphics/Colors.h"
#include "platform/gdi/WinTypes.h"
#include "platform/rtl/System.h"

class TCanvas;
class TcxCanvas;
class TcxSystemPaletteChangedNotifier;

class TcxSolidBrushCache : public TObject {
public:
  explicit TcxSolidBrushCache(int AMaxDepth = 128);
  ~TcxSolidBrushCache() override;
  TcxSolidBrushCache(const TcxSolidBrushCache&) = delete;
  TcxSolidBrushCache& operator=(const TcxSolidBrushCache&) = delete;

  // The brush of Color, owned by the cache or the system. When the cache is full the least used
  // brush (the first of equal counts) is deleted to make room.
  HBRUSH GetBrush(TColor Color);
  // Deletes every cached brush.
  void Clear();
  virtual void SystemPaletteChanged() { Clear(); }

  int GetDepth() const { return FDepth; }
  int GetMaxDepth() const { return FMaxDepth; }
  // The cached colours in their (unsigned ascending) order, and their use counts.
  TColor GetColor(int Index) const { return FColors[Index]; }
  std::uint32_t GetUseCount(int Index) const { return FUseCounts[Index]; }

private:
  // The insertion position that keeps the order; true when Color is at it.
  bool Find(std::uint32_t Color, int& Index) const;
  int FMaxDepth;
  int FDepth = 0;
  std::vector<TColor> FColors;
  std::vector<HBRUSH> FBrushes;
  std::vector<std::uint32_t> FUseCounts;
  std::unique_ptr<TcxSystemPaletteChangedNotifier> FNotifier;
};

namespace cxEditPaintUtils {

// The global cache's brush for Color (system colours: the system's brush). Never delete it.
HBRUSH GetSolidBrush(TColor Color);
HBRUSH GetSolidBrush(TCanvas* Canvas, TColor Color);
HBRUSH GetSolidBrush(TcxCanvas* Canvas, TColor Color);
// The global cache; null outside Initialize .. Finalize.
TcxSolidBrushCache* SolidBrushCache();

// The system brush table, then the cache. Idempotent.
void Initialize();
// Frees the cache (deleting its brushes), then clears the system table.
void Finalize();

}  // namespace cxEditPaintUtils
