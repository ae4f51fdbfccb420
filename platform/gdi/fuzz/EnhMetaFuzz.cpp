// Feeds arbitrary bytes to the metafile reader: a form it accepts is played (at size and
// stretched), walked, and written back; nothing may read outside the bytes or leave the DC changed.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "platform/gdi/dc/DeviceContext.h"
#include "platform/gdi/dc/GdiObjects.h"
#include "platform/gdi/image/Bitmaps.h"
#include "platform/gdi/meta/EnhMetaFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  using namespace Windows;
  if (size > 0xFFFFFFFFu) return 0;
  HENHMETAFILE mf = SetEnhMetaFileBits(UINT(size), data);
  if (!mf) return 0;
  std::vector<BYTE> bytes = EnhMetaFileBytes(mf);
  HENHMETAFILE again = SetEnhMetaFileBits(UINT(bytes.size()), bytes.data());
  if (!again || EnhMetaFileBytes(again) != bytes) std::abort();
  DeleteEnhMetaFile(again);

  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP bmp = CreateCompatibleBitmap(nullptr, 48, 48);
  HGDIOBJ old = SelectObject(dc, bmp);
  int level = SaveDC(dc);
  for (RECT r : {RECT{0, 0, 48, 48}, RECT{-20, 30, 90, -5}}) PlayEnhMetaFile(dc, mf, &r);
  auto walk = [](HDC d, HANDLETABLE* t, const ENHMETARECORD* rec, int n, LPARAM) -> int {
    PlayEnhMetaFileRecord(d, t, rec, UINT(n));
    return 1;
  };
  RECT r{0, 0, 48, 48};
  EnumEnhMetaFile(dc, mf, walk, 0, &r);
  // The play restores the caller's state: the saved level is where it was.
  if (SaveDC(dc) != level + 1) std::abort();
  RestoreDC(dc, level);
  SelectObject(dc, old);
  DeleteObject(bmp);
  DeleteDC(dc);
  DeleteEnhMetaFile(mf);
  return 0;
}
