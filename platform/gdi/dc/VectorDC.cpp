#include "platform/gdi/dc/VectorDC.h"

#include <cairo-ft.h>
#include <cairo-pdf.h>
#include <cairo-ps.h>
#include <cairo.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <cmath>
#include <map>
#include <mutex>

#include "platform/gdi/text/FontEngine.h"
#include "platform/gdi/dc/GdiObjects.h"
#include "platform/gdi/dc/Raster.h"
#include "platform/gdi/dc/VectorTarget.h"
#include "platform/rtl/AnsiStrings.h"

namespace GdiInternal {
namespace {

// Cairo font faces over FreeType faces of their own: Cairo sets sizes on the faces it uses,
// which must not disturb the measuring faces. They live to the end of the process.
cairo_font_face_t* CairoFace(const std::string& file, int index, unsigned synthesize)
{
  struct TCache {
    std::mutex Lock;
    FT_Library Lib = nullptr;
    std::map<std::string, cairo_font_face_t*> Faces;
  };
  static auto* cache = new TCache;
  std::lock_guard<std::mutex> g(cache->Lock);
  std::string key = file + "#" + std::to_string(index) + "/" + std::to_string(synthesize);
  auto it = cache->Faces.find(key);
  if (it != cache->Faces.end()) return it->second;
  if (!cache->Lib && FT_Init_FreeType(&cache->Lib) != 0) return nullptr;
  FT_Face face = nullptr;
  cairo_font_face_t* cf = nullptr;
  if (FT_New_Face(cache->Lib, file.c_str(), index, &face) == 0) {
    cf = cairo_ft_font_face_create_for_ft_face(face, FT_LOAD_NO_HINTING);
    if (synthesize) cairo_ft_font_face_set_synthesize(cf, synthesize);
  }
  cache->Faces[key] = cf;
  return cf;
}

bool Inverting(int rop2, DWORD rop3)
{
  if (rop3) return rop3 != PATCOPY && rop3 != BLACKNESS && rop3 != WHITENESS && rop3 != SRCCOPY;
  return rop2 != R2_COPYPEN && rop2 != R2_BLACK && rop2 != R2_WHITE && rop2 != R2_NOTCOPYPEN;
}

class TCairoTarget : public TVectorTarget {
public:
  TCairoTarget(cairo_surface_t* s, int w, int h, int dpi) : FSurface(s), FW(w), FH(h), FPrintW(w), FPrintH(h)
  {
    FCr = cairo_create(s);
    FScale = 72.0 / dpi;
  }
  ~TCairoTarget() override { Finish(); }

  void Finish()
  {
    if (FCr) {
      cairo_destroy(FCr);
      FCr = nullptr;
    }
    if (FSurface) {
      cairo_surface_finish(FSurface);
      cairo_surface_destroy(FSurface);
      FSurface = nullptr;
    }
  }
  void ShowPage()
  {
    if (FCr) cairo_show_page(FCr);
  }
  int Width() const override { return FPrintW; }
  int Height() const override { return FPrintH; }
  int PhysicalWidth() const override { return FW; }
  int PhysicalHeight() const override { return FH; }
  int OffsetX() const override { return FOx; }
  int OffsetY() const override { return FOy; }
  bool SetPrintable(int left, int top, int width, int height)
  {
    if (left < 0 || top < 0 || width <= 0 || height <= 0 || left + width > FW || top + height > FH) return false;
    FOx = left;
    FOy = top;
    FPrintW = width;
    FPrintH = height;
    return true;
  }

  void FillRegion(TDCObj* dc, const TRegionData& shape, const TBrushPaint& brush, int rop2, DWORD rop3) override
  {
    if (!FCr || Inverting(rop2, rop3) || rop2 == R2_NOP) return;
    Begin(dc);
    for (const auto& bd : shape.Bands())
      for (const auto& sp : bd.spans) cairo_rectangle(FCr, sp.first, bd.top, sp.second - sp.first, bd.bottom - bd.top);
    std::uint32_t c = 0;
    if (rop2 == R2_BLACK || rop3 == BLACKNESS)
      c = 0;
    else if (rop2 == R2_WHITE || rop3 == WHITENESS)
      c = 0xFFFFFF;
    else if (!brush.IsSolid()) {
      // Patterns and hatches: an 8x8 tile sampled from the brush, repeated.
      cairo_surface_t* tile = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 8, 8);
      auto* px = reinterpret_cast<std::uint32_t*>(cairo_image_surface_get_data(tile));
      int stride = cairo_image_surface_get_stride(tile) / 4;
      for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) {
          std::uint32_t p;
          px[y * stride + x] = brush.At(x, y, p) ? (0xFF000000u | p) : 0;
        }
      cairo_surface_mark_dirty(tile);
      cairo_pattern_t* pat = cairo_pattern_create_for_surface(tile);
      cairo_pattern_set_extend(pat, CAIRO_EXTEND_REPEAT);
      cairo_pattern_set_filter(pat, CAIRO_FILTER_NEAREST);
      cairo_set_source(FCr, pat);
      cairo_fill(FCr);
      cairo_pattern_destroy(pat);
      cairo_surface_destroy(tile);
      End();
      return;
    } else {
      c = brush.Solid();
      if (rop2 == R2_NOTCOPYPEN) c = ~c & 0xFFFFFF;
    }
    SetColor(c);
    cairo_fill(FCr);
    End();
  }

  void DrawGlyphs(TDCObj* dc, const TFontInstance& font, bool fallback, const std::vector<TPlacedGlyph>& glyphs,
                  std::uint32_t color, double angle) override
  {
    if (!FCr) return;
    std::string file;
    int index = 0;
    if (!font.FaceSource(fallback, file, index)) return;
    unsigned synth = font.SyntheticBold() ? CAIRO_FT_SYNTHESIZE_BOLD : 0;
    cairo_font_face_t* face = CairoFace(file, index, synth);
    if (!face) return;
    Begin(dc);
    cairo_set_font_face(FCr, face);
    // Font space (y down) to the page: a slant for a made-up italic (the 12 degrees the raster
    // side uses), then the escapement's turn.
    double em = font.EmPixels(), c = std::cos(angle), sn = std::sin(angle);
    double k = font.SyntheticItalic() ? 0.2126 : 0;
    cairo_matrix_t m;
    m.xx = em * c;
    m.xy = em * (sn - k * c);
    m.yx = -em * sn;
    m.yy = em * (c + k * sn);
    m.x0 = m.y0 = 0;
    cairo_set_font_matrix(FCr, &m);
    std::vector<cairo_glyph_t> gs;
    gs.reserve(glyphs.size());
    for (const TPlacedGlyph& g : glyphs) gs.push_back(cairo_glyph_t{g.GlyphIndex, g.X, g.Y});
    SetColor(color);
    cairo_show_glyphs(FCr, gs.data(), int(gs.size()));
    End();
  }

  void DrawImage(TDCObj* dc, const std::uint32_t* pixels, int w, int h, std::ptrdiff_t stride,
                 const RECT& dest) override
  {
    if (!FCr || w <= 0 || h <= 0) return;
    cairo_surface_t* img = cairo_image_surface_create(CAIRO_FORMAT_RGB24, w, h);
    auto* dst = reinterpret_cast<std::uint32_t*>(cairo_image_surface_get_data(img));
    int ds = cairo_image_surface_get_stride(img) / 4;
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) dst[y * ds + x] = pixels[y * stride + x] & 0xFFFFFF;
    cairo_surface_mark_dirty(img);
    Begin(dc);
    cairo_translate(FCr, dest.left, dest.top);
    cairo_scale(FCr, double(dest.right - dest.left) / w, double(dest.bottom - dest.top) / h);
    cairo_set_source_surface(FCr, img, 0, 0);
    cairo_pattern_set_filter(cairo_get_source(FCr), CAIRO_FILTER_NEAREST);
    cairo_paint(FCr);
    End();
    cairo_surface_destroy(img);
  }

private:
  cairo_surface_t* FSurface = nullptr;
  cairo_t* FCr = nullptr;
  int FW, FH;
  int FOx = 0, FOy = 0, FPrintW, FPrintH;  // the printable area on the page
  double FScale = 1;

  // Device pixels to points, and the DC's clip region.
  void Begin(TDCObj* dc)
  {
    cairo_save(FCr);
    cairo_scale(FCr, FScale, FScale);
    cairo_translate(FCr, FOx, FOy);
    if (FPrintW != FW || FPrintH != FH) {  // the printer cannot reach the margins
      cairo_rectangle(FCr, 0, 0, FPrintW, FPrintH);
      cairo_clip(FCr);
    }
    if (dc->State.Clip) {
      for (const auto& bd : dc->State.Clip->Bands())
        for (const auto& sp : bd.spans)
          cairo_rectangle(FCr, sp.first, bd.top, sp.second - sp.first, bd.bottom - bd.top);
      cairo_clip(FCr);
    }
    cairo_new_path(FCr);
  }
  void End() { cairo_restore(FCr); }
  void SetColor(std::uint32_t c)
  {
    cairo_set_source_rgb(FCr, ((c >> 16) & 0xFF) / 255.0, ((c >> 8) & 0xFF) / 255.0, (c & 0xFF) / 255.0);
  }
};

TCairoTarget* TargetOf(HDC hdc)
{
  TDCObj* dc = DC(hdc);
  return dc && dc->Surface == TSurfaceKind::Vector ? static_cast<TCairoTarget*>(dc->Vector.get()) : nullptr;
}

}  // namespace
}  // namespace GdiInternal

namespace Windows {

using namespace GdiInternal;

HDC CreateVectorDC(const char* fileName, TVectorFormat format, int widthPx, int heightPx, int dpi)
{
  if (!fileName || widthPx <= 0 || heightPx <= 0 || dpi <= 0) return nullptr;
  std::string path = System::AnsiToUtf8(fileName);
  double wPt = widthPx * 72.0 / dpi, hPt = heightPx * 72.0 / dpi;
  cairo_surface_t* s = format == TVectorFormat::Pdf ? cairo_pdf_surface_create(path.c_str(), wPt, hPt)
                                                    : cairo_ps_surface_create(path.c_str(), wPt, hPt);
  if (cairo_surface_status(s) != CAIRO_STATUS_SUCCESS) {
    cairo_surface_destroy(s);
    return nullptr;
  }
  auto obj = std::make_unique<TDCObj>();
  obj->Surface = TSurfaceKind::Vector;
  obj->LogPixels = dpi;
  obj->Vector = std::make_unique<TCairoTarget>(s, widthPx, heightPx, dpi);
  obj->State.Pen = static_cast<HPEN>(Stock(BLACK_PEN));
  obj->State.Brush = static_cast<HBRUSH>(Stock(WHITE_BRUSH));
  obj->State.Font = static_cast<HFONT>(Stock(SYSTEM_FONT));
  return static_cast<HDC>(AddObject(std::move(obj)));
}

BOOL SetPrintableArea(HDC dc, int left, int top, int width, int height)
{
  TCairoTarget* t = TargetOf(dc);
  return t && t->SetPrintable(left, top, width, height) ? TRUE : FALSE;
}

int StartDoc(HDC dc, const DOCINFOA*) { return TargetOf(dc) ? 1 : 0; }
int StartPage(HDC dc) { return TargetOf(dc) ? 1 : 0; }

int EndPage(HDC dc)
{
  TCairoTarget* t = TargetOf(dc);
  if (!t) return 0;
  t->ShowPage();
  return 1;
}

int EndDoc(HDC dc)
{
  TCairoTarget* t = TargetOf(dc);
  if (!t) return 0;
  t->Finish();
  return 1;
}

int AbortDoc(HDC dc) { return EndDoc(dc); }

}  // namespace Windows
