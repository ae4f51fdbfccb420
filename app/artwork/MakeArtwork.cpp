// Draws the program's splash picture ("splash.jpg", 386 x 271) into the file named by the first
// argument: a blue sky over layered hills and a lake, the product's name and a rule for the
// status line the splash window writes at (5, 207).
#include <cstdio>
#include <fstream>
#include <vector>

#include "platform/forms/graphics/Bitmap.h"
#include "platform/forms/graphics/Brush.h"
#include "platform/forms/graphics/Canvas.h"
#include "platform/forms/graphics/Font.h"
#include "platform/forms/graphics/Pen.h"
#include "platform/gdi/image/PictureFiles.h"

namespace {

TColor Rgb(int R, int G, int B) { return TColor(R | (G << 8) | (B << 16)); }

int Mix(int A, int B, int I, int N) { return A + (B - A) * I / N; }

}  // namespace

int main(int argc, char** argv)
{
  if (argc < 2) {
    std::fprintf(stderr, "usage: pelto_artwork <splash.jpg>\n");
    return 2;
  }
  const int W = 386, H = 271;
  TBitmap bmp;
  bmp.SetSize(W, H);
  TCanvas* c = bmp.GetCanvas();
  // Sky: deep blue at the top to pale at the horizon.
  for (int y = 0; y < 150; ++y) {
    c->GetBrush()->SetColor(Rgb(Mix(20, 170, y, 150), Mix(60, 205, y, 150), Mix(130, 235, y, 150)));
    c->FillRect(RECT{0, y, W, y + 1});
  }
  // Lake below the hills.
  for (int y = 150; y < H; ++y) {
    c->GetBrush()->SetColor(
        Rgb(Mix(60, 15, y - 150, H - 150), Mix(110, 40, y - 150, H - 150), Mix(160, 80, y - 150, H - 150)));
    c->FillRect(RECT{0, y, W, y + 1});
  }
  // Three ranges of hills, far to near.
  struct Range {
    TColor Colour;
    std::vector<POINT> Ridge;
  } ranges[] = {
      {Rgb(120, 150, 190), {{0, 120}, {60, 92}, {120, 110}, {190, 80}, {260, 104}, {330, 86}, {386, 108}}},
      {Rgb(70, 110, 150), {{0, 135}, {50, 118}, {110, 132}, {170, 108}, {240, 130}, {300, 114}, {386, 134}}},
      {Rgb(35, 75, 105), {{0, 150}, {80, 136}, {150, 148}, {220, 132}, {300, 146}, {386, 140}}},
  };
  for (Range& r : ranges) {
    std::vector<POINT> pts = r.Ridge;
    pts.push_back({W, 151});
    pts.push_back({0, 151});
    c->GetBrush()->SetColor(r.Colour);
    c->GetPen()->SetColor(r.Colour);
    c->Polygon(pts);
  }
  // A pale sun.
  c->GetBrush()->SetColor(Rgb(255, 244, 214));
  c->GetPen()->SetColor(Rgb(255, 244, 214));
  c->Ellipse(300, 30, 336, 66);
  // The name and the edition.
  c->GetBrush()->SetStyle(bsClear);
  c->GetFont()->SetName("宋体");
  c->GetFont()->SetHeight(-30);
  c->GetFont()->SetStyle(TFontStyles{fsBold});
  c->GetFont()->SetColor(Rgb(20, 40, 70));
  c->TextOut(26, 22, "澜岳合同管理系统");
  c->GetFont()->SetColor(clWhite);
  c->TextOut(24, 20, "澜岳合同管理系统");
  c->GetFont()->SetHeight(-12);
  c->GetFont()->SetStyle(TFontStyles{});
  c->TextOut(28, 60, "单机版 1.21.111231");
  // The rule above the status line.
  c->GetPen()->SetColor(Rgb(150, 180, 210));
  c->MoveTo(5, 200);
  c->LineTo(W - 5, 200);
  std::vector<std::uint8_t> jpeg = JpegFile::SaveJpeg(bmp.GetHandle(), 90);
  std::ofstream out(argv[1], std::ios::binary);
  out.write(reinterpret_cast<const char*>(jpeg.data()), std::streamsize(jpeg.size()));
  return out ? 0 : 1;
}
