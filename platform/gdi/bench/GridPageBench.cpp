// A 1,000-line grid page painted into a bitmap: cell fills, grid lines and cell texts, through
// the drawing layer and, for comparison, through Cairo's own calls for the same work.
#include <benchmark/benchmark.h>
#include <cairo-ft.h>
#include <cairo.h>

#include <cstdio>
#include <string>
#include <vector>

#include "platform/gdi/image/Bitmaps.h"
#include "platform/gdi/dc/DeviceContext.h"
#include "platform/gdi/text/DrawText.h"
#include "platform/gdi/dc/GdiObjects.h"
#include "platform/gdi/draw/Shapes.h"
#include "platform/gdi/text/TextOutput.h"

using namespace Windows;

namespace {

constexpr int kRows = 1000, kCols = 6, kRowH = 18, kColW = 110;
constexpr int kWidth = kCols * kColW, kHeight = kRows * kRowH;

std::vector<std::string> CellTexts()
{
  std::vector<std::string> t;
  for (int r = 0; r < kRows; ++r)
    for (int c = 0; c < kCols; ++c) {
      char buf[64];
      std::snprintf(buf, sizeof buf, c % 2 ? "%d.%02d" : "Contract %d-%d", r * 7 + c, (r * 13) % 100);
      t.push_back(buf);
    }
  return t;
}

void BM_GdiGridPage(benchmark::State& state)
{
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP bmp = CreateCompatibleBitmap(nullptr, kWidth, kHeight);
  HGDIOBJ oldBmp = SelectObject(dc, bmp);
  HFONT font = CreateFont(-12, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, "Arial");
  HGDIOBJ oldFont = SelectObject(dc, font);
  HBRUSH even = CreateSolidBrush(RGB(255, 255, 255)), odd = CreateSolidBrush(RGB(240, 240, 250));
  HPEN grid = CreatePen(PS_SOLID, 1, RGB(192, 192, 192));
  HGDIOBJ oldPen = SelectObject(dc, grid);
  SetBkMode(dc, TRANSPARENT);
  std::vector<std::string> texts = CellTexts();
  for (auto _ : state) {
    for (int r = 0; r < kRows; ++r) {
      RECT row{0, r * kRowH, kWidth, (r + 1) * kRowH};
      FillRect(dc, &row, r % 2 ? odd : even);
      for (int c = 0; c < kCols; ++c) {
        RECT cell{c * kColW + 2, r * kRowH, (c + 1) * kColW - 2, (r + 1) * kRowH};
        const std::string& s = texts[std::size_t(r * kCols + c)];
        DrawText(dc, s.c_str(), int(s.size()), &cell, DT_SINGLELINE | DT_VCENTER | (c % 2 ? DT_RIGHT : DT_LEFT));
      }
      MoveToEx(dc, 0, (r + 1) * kRowH - 1, nullptr);
      LineTo(dc, kWidth, (r + 1) * kRowH - 1);
    }
    for (int c = 1; c < kCols; ++c) {
      MoveToEx(dc, c * kColW, 0, nullptr);
      LineTo(dc, c * kColW, kHeight);
    }
    benchmark::DoNotOptimize(GetPixel(dc, 5, 5));
  }
  SelectObject(dc, oldPen);
  SelectObject(dc, oldFont);
  SelectObject(dc, oldBmp);
  DeleteObject(grid);
  DeleteObject(even);
  DeleteObject(odd);
  DeleteObject(font);
  DeleteObject(bmp);
  DeleteDC(dc);
}
BENCHMARK(BM_GdiGridPage)->Unit(benchmark::kMillisecond);

void BM_CairoGridPage(benchmark::State& state)
{
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, kWidth, kHeight);
  cairo_t* cr = cairo_create(surface);
  cairo_select_font_face(cr, "Liberation Sans", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
  cairo_set_font_size(cr, 12);
  cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
  cairo_set_line_width(cr, 1);
  std::vector<std::string> texts = CellTexts();
  cairo_font_extents_t fe;
  cairo_font_extents(cr, &fe);
  for (auto _ : state) {
    for (int r = 0; r < kRows; ++r) {
      cairo_rectangle(cr, 0, r * kRowH, kWidth, kRowH);
      if (r % 2)
        cairo_set_source_rgb(cr, 240 / 255.0, 240 / 255.0, 250 / 255.0);
      else
        cairo_set_source_rgb(cr, 1, 1, 1);
      cairo_fill(cr);
      cairo_set_source_rgb(cr, 0, 0, 0);
      for (int c = 0; c < kCols; ++c) {
        const std::string& s = texts[std::size_t(r * kCols + c)];
        cairo_save(cr);
        cairo_rectangle(cr, c * kColW + 2, r * kRowH, kColW - 4, kRowH);
        cairo_clip(cr);
        cairo_text_extents_t te;
        cairo_text_extents(cr, s.c_str(), &te);
        double x = c % 2 ? (c + 1) * kColW - 2 - te.x_advance : c * kColW + 2;
        double y = r * kRowH + (kRowH - (fe.ascent + fe.descent)) / 2 + fe.ascent;
        cairo_move_to(cr, x, y);
        cairo_show_text(cr, s.c_str());
        cairo_restore(cr);
      }
      cairo_set_source_rgb(cr, 192 / 255.0, 192 / 255.0, 192 / 255.0);
      cairo_move_to(cr, 0, (r + 1) * kRowH - 0.5);
      cairo_line_to(cr, kWidth, (r + 1) * kRowH - 0.5);
      cairo_stroke(cr);
    }
    for (int c = 1; c < kCols; ++c) {
      cairo_move_to(cr, c * kColW + 0.5, 0);
      cairo_line_to(cr, c * kColW + 0.5, kHeight);
    }
    cairo_stroke(cr);
    cairo_surface_flush(surface);
    benchmark::DoNotOptimize(cairo_image_surface_get_data(surface)[0]);
  }
  cairo_destroy(cr);
  cairo_surface_destroy(surface);
}
BENCHMARK(BM_CairoGridPage)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
