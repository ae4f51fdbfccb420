#include "platform/gdi/image/Icons.h"

#include <vector>

#include "platform/gdi/image/Bitmaps.h"
#include "platform/gdi/image/ImageData.h"
#include "platform/gdi/dc/GdiObjects.h"
#include "platform/gdi/dc/Raster.h"
#include "platform/gdi/dc/VectorTarget.h"

namespace GdiInternal {
HICON MakeIcon(int w, int h, std::vector<std::uint32_t> color, std::vector<std::uint8_t> mask, bool hasAlpha,
               bool isIcon, int hotX, int hotY)
{
  if (w <= 0 || h <= 0 || w > 1024 || h > 1024) return nullptr;
  auto ic = std::make_unique<TIconObj>();
  ic->Width = w;
  ic->Height = h;
  ic->Color = std::move(color);
  ic->Mask = std::move(mask);
  ic->Color.resize(std::size_t(w) * std::size_t(h), 0);
  ic->Mask.resize(std::size_t(w) * std::size_t(h), 0);
  ic->HasAlpha = hasAlpha;
  ic->IsIcon = isIcon;
  ic->HotX = hotX;
  ic->HotY = hotY;
  return static_cast<HICON>(AddObject(std::move(ic)));
}
}  // namespace GdiInternal

namespace Windows {

using namespace GdiInternal;

HICON CreateIconIndirect(const ICONINFO* info)
{
  if (!info) return nullptr;
  TBitmapObj* mask = GdiInternal::Bitmap(info->hbmMask);
  TBitmapObj* color = GdiInternal::Bitmap(info->hbmColor);
  if (!mask || (info->hbmColor && !color)) return nullptr;
  int w = mask->Width, h = color ? color->Height : mask->Height / 2;
  if (color && color->Width != w) return nullptr;
  if (h <= 0 || mask->Height < h) return nullptr;
  std::vector<std::uint32_t> px(std::size_t(w) * std::size_t(h));
  std::vector<std::uint8_t> m(px.size());
  bool alpha = false;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      std::size_t i = std::size_t(y) * std::size_t(w) + std::size_t(x);
      m[i] = (mask->Row(y)[x] & 0xFFFFFF) ? 1 : 0;
      px[i] = color ? color->Row(y)[x] : (mask->Row(y + h)[x] & 0xFFFFFF);
      if (px[i] >> 24) alpha = true;
    }
  if (!alpha)
    for (auto& p : px) p &= 0xFFFFFF;
  return MakeIcon(w, h, std::move(px), std::move(m), alpha, info->fIcon != 0, int(info->xHotspot), int(info->yHotspot));
}

BOOL DestroyIcon(HICON icon)
{
  if (!GdiInternal::Icon(icon)) return FALSE;
  return RemoveObject(icon) ? TRUE : FALSE;
}

BOOL GetIconInfo(HICON icon, ICONINFO* out)
{
  TIconObj* ic = GdiInternal::Icon(icon);
  if (!ic || !out) return FALSE;
  std::vector<std::uint32_t> mask(ic->Mask.size()), color(ic->Color);
  for (std::size_t i = 0; i < mask.size(); ++i) mask[i] = ic->Mask[i] ? 0xFFFFFF : 0;
  out->fIcon = ic->IsIcon ? TRUE : FALSE;
  out->xHotspot = DWORD(ic->HotX);
  out->yHotspot = DWORD(ic->HotY);
  out->hbmMask = MakeBitmap(ic->Width, ic->Height, std::move(mask), true);
  out->hbmColor = MakeBitmap(ic->Width, ic->Height, std::move(color));
  return TRUE;
}

BOOL DrawIconEx(HDC hdc, int x, int y, HICON icon, int cx, int cy, UINT step, HBRUSH flicker, UINT flags)
{
  TDCObj* dc = GdiInternal::DC(hdc);
  TIconObj* ic = GdiInternal::Icon(icon);
  if (!dc || !ic) return FALSE;
  if (!(flags & DI_NORMAL)) flags |= DI_NORMAL;
  if (cx <= 0) cx = (flags & DI_DEFAULTSIZE) ? 32 : ic->Width;
  if (cy <= 0) cy = (flags & DI_DEFAULTSIZE) ? 32 : ic->Height;
  POINT a = ToDevice(dc, x, y), b = ToDevice(dc, x + cx, y + cy);
  RECT d{std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
  int dw = d.right - d.left, dh = d.bottom - d.top;
  if (dw <= 0 || dh <= 0) return TRUE;
  auto at = [&](int px, int py, std::uint32_t& c, std::uint8_t& m) {
    int sx = int(std::int64_t(px - d.left) * ic->Width / dw), sy = int(std::int64_t(py - d.top) * ic->Height / dh);
    std::size_t i = std::size_t(sy) * std::size_t(ic->Width) + std::size_t(sx);
    c = ic->Color[i];
    m = ic->Mask[i];
  };
  if (dc->Vector) {
    // Composite over white: vector pages have no destination pixels to read.
    std::vector<std::uint32_t> img(std::size_t(dw) * std::size_t(dh));
    for (int py = 0; py < dh; ++py)
      for (int px = 0; px < dw; ++px) {
        std::uint32_t c;
        std::uint8_t m;
        at(d.left + px, d.top + py, c, m);
        std::uint32_t out = 0xFFFFFF;
        if (ic->HasAlpha) {
          unsigned al = c >> 24;
          auto mix = [&](int sh) { return ((((c >> sh) & 0xFF) * al + 255 * (255 - al)) / 255) << sh; };
          out = mix(16) | mix(8) | mix(0);
        } else if (!m) {
          out = c & 0xFFFFFF;
        }
        img[std::size_t(py) * std::size_t(dw) + std::size_t(px)] = out;
      }
    dc->Vector->DrawImage(dc, img.data(), dw, dh, dw, d);
    return TRUE;
  }
  TSurface s;
  if (!GetSurface(dc, s)) return FALSE;
  TRegionData area =
      TRegionData::Combine(TRegionData::FromRect(d.left, d.top, d.right, d.bottom), DrawableArea(dc, s), RGN_AND);
  for (const auto& bd : area.Bands())
    for (int py = bd.top; py < bd.bottom; ++py) {
      std::uint32_t* row = s.Row(py);
      for (const auto& sp : bd.spans)
        for (int px = sp.first; px < sp.second; ++px) {
          std::uint32_t c;
          std::uint8_t m;
          at(px, py, c, m);
          std::uint32_t dst = row[px] & 0xFFFFFF;
          if (ic->HasAlpha && (flags & DI_IMAGE) && (flags & DI_MASK)) {
            unsigned al = c >> 24;
            auto mix = [&](int sh) {
              return ((((c >> sh) & 0xFF) * al + ((dst >> sh) & 0xFF) * (255 - al) + 127) / 255) << sh;
            };
            row[px] = mix(16) | mix(8) | mix(0);
            continue;
          }
          if (flags & DI_MASK) dst &= m ? 0xFFFFFF : 0;
          if (flags & DI_IMAGE) dst ^= (c & 0xFFFFFF);
          row[px] = s.Mono ? MonoOf(dst) : dst;
        }
    }
  return TRUE;
}

BOOL DrawIcon(HDC dc, int x, int y, HICON icon) { return DrawIconEx(dc, x, y, icon, 0, 0, 0, nullptr, DI_NORMAL); }

}  // namespace Windows
