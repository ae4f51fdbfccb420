#include "platform/commctrl/imagelist/ImageList.h"

#include <algorithm>
#include <cstdint>
#include <map>
#include <memory>
#include <vector>

#include "platform/gdi/dc/DeviceContext.h"
#include "platform/gdi/dc/GdiObjects.h"
#include "platform/gdi/dc/SysColors.h"
#include "platform/gdi/draw/Blits.h"
#include "platform/gdi/image/Bitmaps.h"
#include "platform/win/paint/Painting.h"
#include "platform/win/window/Windows.h"

namespace {

// One image: its pixels as COLORREFs, row by row, and which of them are transparent.
struct Image {
  std::vector<COLORREF> Pixels;
  std::vector<std::uint8_t> Clear;
};

struct ImageListData {
  int Cx = 0, Cy = 0;
  bool Masked = false;
  COLORREF Back = CLR_NONE;
  std::vector<Image> Images;
};

// The checked table: ids count up and are never reused, so a destroyed list's handle stays
// unknown for good.
std::map<std::uintptr_t, std::unique_ptr<ImageListData>>& Table()
{
  static std::map<std::uintptr_t, std::unique_ptr<ImageListData>> table;
  return table;
}
std::uintptr_t gNextId = 0x1000;

ImageListData* Find(HIMAGELIST list)
{
  auto it = Table().find(reinterpret_cast<std::uintptr_t>(list));
  return it == Table().end() ? nullptr : it->second.get();
}

// A 32-bit top-down DIB section of w by h; its pixels (0x00RRGGBB) in *bits.
HBITMAP MakeDib(int w, int h, std::uint32_t** bits)
{
  BITMAPINFO bi;
  bi.bmiHeader.biWidth = w;
  bi.bmiHeader.biHeight = -h;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  void* p = nullptr;
  HBITMAP bmp = Windows::CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &p, nullptr, 0);
  *bits = static_cast<std::uint32_t*>(p);
  return bmp;
}

COLORREF FromDib(std::uint32_t p) { return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF); }
std::uint32_t ToDib(COLORREF c) { return (std::uint32_t(GetRValue(c)) << 16) | (GetGValue(c) << 8) | GetBValue(c); }

// A bitmap's pixels as COLORREFs, top row first; empty for a bad bitmap.
std::vector<COLORREF> ReadPixels(HBITMAP bmp, int* w, int* h)
{
  BITMAP bm;
  if (!bmp || !Windows::GetObject(bmp, &bm) || bm.bmWidth <= 0 || bm.bmHeight <= 0) return {};
  *w = bm.bmWidth;
  *h = bm.bmHeight;
  BITMAPINFO bi;
  bi.bmiHeader.biWidth = bm.bmWidth;
  bi.bmiHeader.biHeight = -bm.bmHeight;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  std::vector<std::uint32_t> raw(std::size_t(bm.bmWidth) * bm.bmHeight);
  HDC dc = Windows::CreateCompatibleDC(nullptr);
  int rows = Windows::GetDIBits(dc, bmp, 0, UINT(bm.bmHeight), raw.data(), &bi, DIB_RGB_COLORS);
  Windows::DeleteDC(dc);
  if (rows != bm.bmHeight) return {};
  std::vector<COLORREF> out(raw.size());
  for (std::size_t i = 0; i < raw.size(); ++i) out[i] = FromDib(raw[i]);
  return out;
}

// Cuts a bitmap (and its mask, or a mask colour) into images of the list's size.
std::vector<Image> Cut(const ImageListData& l, HBITMAP image, HBITMAP mask, COLORREF maskColor, bool byColor)
{
  int w = 0, h = 0, mw = 0, mh = 0;
  std::vector<COLORREF> px = ReadPixels(image, &w, &h);
  if (px.empty()) return {};
  std::vector<COLORREF> mk;
  if (l.Masked && mask && !byColor) mk = ReadPixels(mask, &mw, &mh);
  int n = std::max(1, w / l.Cx);
  std::vector<Image> out{std::size_t(n)};
  for (int k = 0; k < n; ++k) {
    Image& im = out[std::size_t(k)];
    im.Pixels.assign(std::size_t(l.Cx) * l.Cy, RGB(0, 0, 0));
    im.Clear.assign(im.Pixels.size(), 0);
    for (int y = 0; y < l.Cy && y < h; ++y)
      for (int x = 0; x < l.Cx && k * l.Cx + x < w; ++x) {
        int sx = k * l.Cx + x;
        COLORREF c = px[std::size_t(y) * w + sx];
        std::size_t d = std::size_t(y) * l.Cx + x;
        im.Pixels[d] = c;
        if (!l.Masked) continue;
        if (byColor)
          im.Clear[d] = c == maskColor;
        else if (!mk.empty() && sx < mw && y < mh)
          im.Clear[d] = mk[std::size_t(y) * mw + sx] == RGB(255, 255, 255);
      }
  }
  return out;
}

COLORREF Blend(COLORREF a, COLORREF b, int percentB)
{
  auto mix = [&](int x, int y) { return (x * (100 - percentB) + y * percentB) / 100; };
  return RGB(mix(GetRValue(a), GetRValue(b)), mix(GetGValue(a), GetGValue(b)), mix(GetBValue(a), GetBValue(b)));
}

// Composes an image over what the DC already shows at (x, y), dx by dy of it.
bool DrawImage(const ImageListData& l, const Image& im, HDC dc, int x, int y, int dx, int dy, COLORREF back,
               COLORREF fore, UINT style)
{
  if (dx <= 0 || dx > l.Cx) dx = l.Cx;
  if (dy <= 0 || dy > l.Cy) dy = l.Cy;
  std::uint32_t* bits = nullptr;
  HBITMAP dib = MakeDib(dx, dy, &bits);
  if (!dib) return false;
  HDC mem = Windows::CreateCompatibleDC(dc);
  HGDIOBJ old = Windows::SelectObject(mem, dib);
  Windows::BitBlt(mem, 0, 0, dx, dy, dc, x, y, SRCCOPY);
  if (back == CLR_DEFAULT) back = l.Back;
  if (fore == CLR_DEFAULT || fore == CLR_NONE) fore = Windows::GetSysColor(COLOR_HIGHLIGHT);
  int blend = (style & ILD_BLEND50) ? 50 : (style & ILD_BLEND25) ? 25 : 0;
  bool fillBack = !(style & ILD_TRANSPARENT) && back != CLR_NONE;
  for (int row = 0; row < dy; ++row)
    for (int col = 0; col < dx; ++col) {
      std::size_t s = std::size_t(row) * l.Cx + col;
      std::uint32_t& d = bits[std::size_t(row) * dx + col];
      bool clear = l.Masked && im.Clear[s];
      if (style & ILD_MASK) {
        d = clear ? 0xFFFFFF : 0;
      } else if (clear) {
        if (fillBack) d = ToDib(back);
      } else {
        COLORREF c = im.Pixels[s];
        d = ToDib(blend ? Blend(c, fore, blend) : c);
      }
    }
  Windows::BitBlt(dc, x, y, dx, dy, mem, 0, 0, SRCCOPY);
  Windows::SelectObject(mem, old);
  Windows::DeleteDC(mem);
  Windows::DeleteObject(dib);
  return true;
}

// ---- The drag image ------------------------------------------------------------------------------
struct DragState {
  HIMAGELIST List = nullptr;  // owned by the drag: one image
  POINT Hot{0, 0};
  HWND Lock = nullptr;
  bool Shown = false;
  POINT Pos{0, 0};          // the hot spot's place in the locked window
  HBITMAP Under = nullptr;  // what the image covers while shown
};
DragState gDrag;

void HideDrag()
{
  if (!gDrag.Shown) return;
  gDrag.Shown = false;
  HDC dc = Windows::GetWindowDC(gDrag.Lock);
  if (!dc || !gDrag.Under) {
    if (dc) Windows::ReleaseDC(gDrag.Lock, dc);
    return;
  }
  ImageListData* l = Find(gDrag.List);
  HDC mem = Windows::CreateCompatibleDC(dc);
  HGDIOBJ old = Windows::SelectObject(mem, gDrag.Under);
  Windows::BitBlt(dc, gDrag.Pos.x - gDrag.Hot.x, gDrag.Pos.y - gDrag.Hot.y, l->Cx, l->Cy, mem, 0, 0, SRCCOPY);
  Windows::SelectObject(mem, old);
  Windows::DeleteDC(mem);
  Windows::ReleaseDC(gDrag.Lock, dc);
}

void ShowDrag()
{
  if (gDrag.Shown || !gDrag.Lock) return;
  HDC dc = Windows::GetWindowDC(gDrag.Lock);
  if (!dc) return;
  ImageListData* l = Find(gDrag.List);
  int x = gDrag.Pos.x - gDrag.Hot.x, y = gDrag.Pos.y - gDrag.Hot.y;
  if (!gDrag.Under) {
    std::uint32_t* bits = nullptr;
    gDrag.Under = MakeDib(l->Cx, l->Cy, &bits);
  }
  HDC mem = Windows::CreateCompatibleDC(dc);
  HGDIOBJ old = Windows::SelectObject(mem, gDrag.Under);
  Windows::BitBlt(mem, 0, 0, l->Cx, l->Cy, dc, x, y, SRCCOPY);
  Windows::SelectObject(mem, old);
  Windows::DeleteDC(mem);
  DrawImage(*l, l->Images[0], dc, x, y, 0, 0, CLR_NONE, CLR_DEFAULT, ILD_TRANSPARENT);
  Windows::ReleaseDC(gDrag.Lock, dc);
  gDrag.Shown = true;
}

}  // namespace

namespace Windows {

HIMAGELIST ImageList_Create(int cx, int cy, UINT flags, int initial, int grow)
{
  (void)grow;
  if (cx <= 0 || cy <= 0) return nullptr;
  auto l = std::make_unique<ImageListData>();
  l->Cx = cx;
  l->Cy = cy;
  l->Masked = flags & ILC_MASK;
  if (initial > 0) l->Images.reserve(std::size_t(initial));
  std::uintptr_t id = gNextId;
  gNextId += 4;
  Table()[id] = std::move(l);
  return reinterpret_cast<HIMAGELIST>(id);
}

BOOL ImageList_Destroy(HIMAGELIST list)
{
  if (!Find(list)) return FALSE;
  if (list == gDrag.List) ImageList_EndDrag();
  Table().erase(reinterpret_cast<std::uintptr_t>(list));
  return TRUE;
}

int ImageList_Add(HIMAGELIST list, HBITMAP image, HBITMAP mask)
{
  ImageListData* l = Find(list);
  if (!l) return -1;
  std::vector<Image> add = Cut(*l, image, mask, 0, false);
  if (add.empty()) return -1;
  int first = int(l->Images.size());
  for (Image& im : add) l->Images.push_back(std::move(im));
  return first;
}

int ImageList_AddMasked(HIMAGELIST list, HBITMAP image, COLORREF maskColor)
{
  ImageListData* l = Find(list);
  if (!l) return -1;
  std::vector<Image> add = Cut(*l, image, nullptr, maskColor, true);
  if (add.empty()) return -1;
  int first = int(l->Images.size());
  for (Image& im : add) l->Images.push_back(std::move(im));
  return first;
}

BOOL ImageList_Replace(HIMAGELIST list, int index, HBITMAP image, HBITMAP mask)
{
  ImageListData* l = Find(list);
  if (!l || index < 0 || index >= int(l->Images.size())) return FALSE;
  std::vector<Image> add = Cut(*l, image, mask, 0, false);
  if (add.empty()) return FALSE;
  l->Images[std::size_t(index)] = std::move(add[0]);
  return TRUE;
}

BOOL ImageList_Remove(HIMAGELIST list, int index)
{
  ImageListData* l = Find(list);
  if (!l) return FALSE;
  if (index == -1) {
    l->Images.clear();
    return TRUE;
  }
  if (index < 0 || index >= int(l->Images.size())) return FALSE;
  l->Images.erase(l->Images.begin() + index);
  return TRUE;
}

int ImageList_GetImageCount(HIMAGELIST list)
{
  ImageListData* l = Find(list);
  return l ? int(l->Images.size()) : 0;
}

BOOL ImageList_GetIconSize(HIMAGELIST list, int* cx, int* cy)
{
  ImageListData* l = Find(list);
  if (!l || !cx || !cy) return FALSE;
  *cx = l->Cx;
  *cy = l->Cy;
  return TRUE;
}

BOOL ImageList_SetIconSize(HIMAGELIST list, int cx, int cy)
{
  ImageListData* l = Find(list);
  if (!l || cx <= 0 || cy <= 0) return FALSE;
  l->Cx = cx;
  l->Cy = cy;
  l->Images.clear();
  return TRUE;
}

COLORREF ImageList_SetBkColor(HIMAGELIST list, COLORREF color)
{
  ImageListData* l = Find(list);
  if (!l) return CLR_NONE;
  COLORREF old = l->Back;
  l->Back = color;
  return old;
}

COLORREF ImageList_GetBkColor(HIMAGELIST list)
{
  ImageListData* l = Find(list);
  return l ? l->Back : CLR_NONE;
}

BOOL ImageList_Draw(HIMAGELIST list, int index, HDC dc, int x, int y, UINT style)
{
  return ImageList_DrawEx(list, index, dc, x, y, 0, 0, CLR_DEFAULT, CLR_DEFAULT, style);
}

BOOL ImageList_DrawEx(HIMAGELIST list, int index, HDC dc, int x, int y, int dx, int dy, COLORREF back, COLORREF fore,
                      UINT style)
{
  ImageListData* l = Find(list);
  if (!l || !dc || index < 0 || index >= int(l->Images.size())) return FALSE;
  return DrawImage(*l, l->Images[std::size_t(index)], dc, x, y, dx, dy, back, fore, style);
}

BOOL ImageList_BeginDrag(HIMAGELIST list, int index, int dxHotspot, int dyHotspot)
{
  ImageListData* l = Find(list);
  if (!l || index < 0 || index >= int(l->Images.size())) return FALSE;
  ImageList_EndDrag();
  HIMAGELIST drag = ImageList_Create(l->Cx, l->Cy, ILC_MASK, 1, 0);
  ImageListData* d = Find(drag);
  d->Images.push_back(l->Images[std::size_t(index)]);
  if (!l->Masked) d->Images[0].Clear.assign(d->Images[0].Pixels.size(), 0);
  gDrag.List = drag;
  gDrag.Hot = POINT{dxHotspot, dyHotspot};
  return TRUE;
}

BOOL ImageList_DragEnter(HWND lock, int x, int y)
{
  if (!gDrag.List || !IsWindow(lock)) return FALSE;
  if (gDrag.Lock && gDrag.Lock != lock) ImageList_DragLeave(gDrag.Lock);
  gDrag.Lock = lock;
  gDrag.Pos = POINT{x, y};
  ShowDrag();
  return TRUE;
}

BOOL ImageList_DragMove(int x, int y)
{
  if (!gDrag.List) return FALSE;
  bool shown = gDrag.Shown;
  HideDrag();
  gDrag.Pos = POINT{x, y};
  if (shown) ShowDrag();
  return TRUE;
}

BOOL ImageList_DragShowNolock(BOOL show)
{
  if (!gDrag.List || !gDrag.Lock) return FALSE;
  if (show)
    ShowDrag();
  else
    HideDrag();
  return TRUE;
}

BOOL ImageList_DragLeave(HWND lock)
{
  if (!gDrag.List || !gDrag.Lock || (lock && lock != gDrag.Lock)) return FALSE;
  HideDrag();
  gDrag.Lock = nullptr;
  return TRUE;
}

void ImageList_EndDrag()
{
  if (!gDrag.List) return;
  HideDrag();
  HIMAGELIST list = gDrag.List;
  if (gDrag.Under) DeleteObject(gDrag.Under);
  gDrag = DragState{};
  Table().erase(reinterpret_cast<std::uintptr_t>(list));
}

HIMAGELIST ImageList_GetDragImage(POINT* position, POINT* hotspot)
{
  if (!gDrag.List) return nullptr;
  if (position) *position = gDrag.Pos;
  if (hotspot) *hotspot = gDrag.Hot;
  return gDrag.List;
}

}  // namespace Windows
