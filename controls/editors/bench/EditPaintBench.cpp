// The editors' drawing beside its peers in the same iteration: 10,000 multi-line cells laid out
// and drawn with cxTextOut and with DrawText (word break) on the same texts; fills with brushes
// from the cache and with a brush created and deleted per fill. The "ratio" counters are ours /
// peer; the goals are a layout ratio within 1.5 and a fill ratio below 1.
#include <benchmark/benchmark.h>

#include <time.h>

#include <string>
#include <vector>

#include "controls/editors/EditorsModule.h"
#include "controls/editors/paint/cxEditPaintUtils.h"
#include "controls/editors/paint/cxEditTextUtils.h"
#include "platform/gdi/dc/DeviceContext.h"
#include "platform/gdi/dc/GdiObjects.h"
#include "platform/gdi/draw/Shapes.h"
#include "platform/gdi/image/Bitmaps.h"
#include "platform/gdi/text/DrawText.h"
#include "platform/rtl/AnsiStrings.h"

namespace {

constexpr int kCells = 10000, kCellW = 120, kCellH = 48;

double Seconds()
{
  timespec t{};
  clock_gettime(CLOCK_MONOTONIC, &t);
  return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

struct TBenchSurface {
  TBenchSurface()
  {
    EditorsModule::Initialize();
    DC = Windows::CreateCompatibleDC(nullptr);
    Bmp = Windows::CreateCompatibleBitmap(nullptr, kCellW * 4, kCellH * 4);
    Windows::SelectObject(DC, Bmp);
    Font = Windows::CreateFont(-12, 0, 0, 0, 400, 0, 0, 0, 0, 0, 0, 0, 0, "SimSun");
    Windows::SelectObject(DC, Font);
    Windows::SetBkMode(DC, TRANSPARENT);
  }
  HDC DC;
  HBITMAP Bmp;
  HFONT Font;
};

TBenchSurface& Surface()
{
  static TBenchSurface s;
  return s;
}

// Cell texts as a contract list shows them: Chinese and Latin words, numbers, some line breaks.
const std::vector<AnsiString>& CellTexts()
{
  static const std::vector<AnsiString> texts = [] {
    const char* words[] = {"合同",     "编号",       "HT-2024", "甲方",     "乙方",  "付款", "金额", "12,500.00",
                           "签订日期", "2024-05-01", "备注",    "delivery", "terms", "按月", "结算"};
    std::vector<AnsiString> out;
    unsigned seed = 17;
    for (int i = 0; i < kCells; ++i) {
      AnsiString t;
      const int n = 3 + int(seed % 9);
      for (int w = 0; w < n; ++w) {
        seed = seed * 1103515245u + 12345u;
        t += words[(seed >> 8) % 15];
        t += (seed >> 4) % 11 == 0 ? "\r\n" : " ";
      }
      out.push_back(t);
    }
    return out;
  }();
  return texts;
}

RECT CellRect(int i)
{
  const int x = (i % 4) * kCellW, y = ((i / 4) % 4) * kCellH;
  return RECT{x, y, x + kCellW, y + kCellH};
}

// Runs ours and the peer in each iteration; the iteration's time is ours.
template <class TOurs, class TPeer>
void TimePair(benchmark::State& state, const char* OursName, const char* PeerName, TOurs Ours, TPeer Peer)
{
  double ours = 0, peer = 0;
  int iterations = 0;
  for (auto _ : state) {
    const double t0 = Seconds();
    Ours();
    const double t1 = Seconds();
    Peer();
    const double t2 = Seconds();
    ours += t1 - t0;
    peer += t2 - t1;
    ++iterations;
    state.SetIterationTime(t1 - t0);
  }
  state.counters[OursName] = ours * 1000 / iterations;
  state.counters[PeerName] = peer * 1000 / iterations;
  state.counters["ratio"] = ours / peer;
}

void BM_CellTextLayout(benchmark::State& state)
{
  TBenchSurface& s = Surface();
  const auto& texts = CellTexts();
  const int flags = cxEditTextUtils::etfWordBreak | cxEditTextUtils::etfWholeRowsOnly;
  TimePair(
      state, "cxTextOut_ms", "DrawText_ms",
      [&] {
        for (int i = 0; i < kCells; ++i) {
          RECT r = CellRect(i);
          benchmark::DoNotOptimize(
              cxTextOut(s.DC, texts[i].data(), int(texts[i].size()), r, flags, 0, 0, clHighlight, clHighlightText));
        }
      },
      [&] {
        for (int i = 0; i < kCells; ++i) {
          RECT r = CellRect(i);
          benchmark::DoNotOptimize(Windows::DrawText(s.DC, texts[i].data(), int(texts[i].size()), &r, DT_WORDBREAK));
        }
      });
}
BENCHMARK(BM_CellTextLayout)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_SolidFills(benchmark::State& state)
{
  TBenchSurface& s = Surface();
  constexpr int kFills = 20000;
  static constexpr TColor kColours[] = {TColor(0xF0E0D0), TColor(0x8080FF), TColor(0x40C040),
                                        TColor(0xFFFFFF), TColor(0x202020), TColor(0xC0C0C0)};
  TimePair(
      state, "cached_ms", "create_delete_ms",
      [&] {
        for (int i = 0; i < kFills; ++i) {
          const RECT r{i % 16, i % 8, i % 16 + 4, i % 8 + 4};
          Windows::FillRect(s.DC, &r, cxEditPaintUtils::GetSolidBrush(kColours[i % 6]));
        }
      },
      [&] {
        for (int i = 0; i < kFills; ++i) {
          const RECT r{i % 16, i % 8, i % 16 + 4, i % 8 + 4};
          HBRUSH b = Windows::CreateSolidBrush(Graphics::ColorToRGB(kColours[i % 6]));
          Windows::FillRect(s.DC, &r, b);
          Windows::DeleteObject(b);
        }
      });
}
BENCHMARK(BM_SolidFills)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
