#include "ui/Artwork.h"

#include <memory>

#include "platform/forms/controls/ImgList.h"
#include "platform/forms/graphics/Bitmap.h"
#include "platform/forms/graphics/Brush.h"
#include "platform/forms/graphics/Canvas.h"
#include "platform/forms/graphics/Pen.h"

namespace Artwork {
namespace {

TColor Rgb(int R, int G, int B) { return TColor(R | (G << 8) | (B << 16)); }

// Coordinates on a 32-unit grid scaled to the icon.
struct TGrid {
  int X, Y, S;
  int px(int v) const { return X + v * S / 32; }
  int py(int v) const { return Y + v * S / 32; }
  RECT r(int l, int t, int rr, int b) const { return RECT{px(l), py(t), px(rr), py(b)}; }
};

void Shape(TCanvas* c, TColor Fill, TColor Line)
{
  c->GetBrush()->SetStyle(bsSolid);
  c->GetBrush()->SetColor(Fill);
  c->GetPen()->SetColor(Line);
  c->GetPen()->SetWidth(1);
}

void Folder(TCanvas* c, const TGrid& g, bool Open)
{
  Shape(c, Rgb(230, 180, 60), Rgb(150, 100, 20));
  c->Polygon({{g.px(3), g.py(8)},
              {g.px(12), g.py(8)},
              {g.px(15), g.py(11)},
              {g.px(29), g.py(11)},
              {g.px(29), g.py(27)},
              {g.px(3), g.py(27)}});
  Shape(c, Rgb(250, 210, 100), Rgb(150, 100, 20));
  if (Open)
    c->Polygon({{g.px(7), g.py(15)}, {g.px(31), g.py(15)}, {g.px(27), g.py(27)}, {g.px(3), g.py(27)}});
  else
    c->Rectangle(g.r(3, 14, 29, 27));
}

void Document(TCanvas* c, const TGrid& g, TColor Accent)
{
  Shape(c, clWhite, Rgb(90, 90, 90));
  c->Polygon({{g.px(7), g.py(3)}, {g.px(20), g.py(3)}, {g.px(26), g.py(9)}, {g.px(26), g.py(29)}, {g.px(7), g.py(29)}});
  Shape(c, Accent, Accent);
  for (int y = 12; y <= 24; y += 4) c->Rectangle(g.r(10, y, 23, y + 2));
}

void Coin(TCanvas* c, const TGrid& g, TColor Arrow, bool In)
{
  Shape(c, Rgb(245, 200, 40), Rgb(160, 120, 0));
  c->Ellipse(g.r(3, 8, 23, 28));
  Shape(c, Rgb(160, 120, 0), Rgb(160, 120, 0));
  c->Rectangle(g.r(12, 12, 14, 24));
  Shape(c, Arrow, Arrow);
  if (In)
    c->Polygon({{g.px(24), g.py(4)},
                {g.px(30), g.py(4)},
                {g.px(30), g.py(12)},
                {g.px(31), g.py(12)},
                {g.px(27), g.py(17)},
                {g.px(23), g.py(12)},
                {g.px(24), g.py(12)}});
  else
    c->Polygon({{g.px(27), g.py(3)},
                {g.px(31), g.py(8)},
                {g.px(30), g.py(8)},
                {g.px(30), g.py(16)},
                {g.px(24), g.py(16)},
                {g.px(24), g.py(8)},
                {g.px(23), g.py(8)}});
}

void Person(TCanvas* c, const TGrid& g, int Dx, TColor Colour)
{
  Shape(c, Colour, Rgb(40, 40, 40));
  c->Ellipse(g.r(Dx + 5, 5, Dx + 15, 15));
  c->Pie(g.px(Dx + 1), g.py(16), g.px(Dx + 19), g.py(36), g.px(Dx + 19), g.py(26), g.px(Dx + 1), g.py(26));
}

}  // namespace

void DrawIcon(TCanvas* c, int Index, int X, int Y, int Size)
{
  TGrid g{X, Y, Size};
  switch (Index) {
    case 11:  // exit: a door with an arrow
      Shape(c, Rgb(150, 90, 40), Rgb(80, 40, 10));
      c->Rectangle(g.r(6, 3, 20, 29));
      Shape(c, Rgb(200, 40, 40), Rgb(140, 20, 20));
      c->Polygon({{g.px(14), g.py(13)},
                  {g.px(23), g.py(13)},
                  {g.px(23), g.py(9)},
                  {g.px(30), g.py(16)},
                  {g.px(23), g.py(23)},
                  {g.px(23), g.py(19)},
                  {g.px(14), g.py(19)}});
      break;
    case 13: Folder(c, g, false); break;
    case 15: Folder(c, g, true); break;
    case 21:  // desktop: a monitor
      Shape(c, Rgb(70, 70, 80), Rgb(30, 30, 30));
      c->Rectangle(g.r(2, 4, 30, 23));
      Shape(c, Rgb(70, 140, 220), Rgb(70, 140, 220));
      c->Rectangle(g.r(4, 6, 28, 21));
      Shape(c, Rgb(110, 110, 120), Rgb(30, 30, 30));
      c->Rectangle(g.r(12, 23, 20, 27));
      c->Rectangle(g.r(7, 27, 25, 30));
      break;
    case 23: Coin(c, g, Rgb(30, 150, 50), true); break;
    case 24: Coin(c, g, Rgb(200, 50, 40), false); break;
    case 25:
      Person(c, g, 10, Rgb(90, 130, 200));
      Person(c, g, 2, Rgb(230, 150, 60));
      break;
    case 26:  // progress: a bar chart
      Shape(c, clWhite, Rgb(90, 90, 90));
      c->Rectangle(g.r(3, 3, 29, 29));
      Shape(c, Rgb(40, 160, 80), Rgb(20, 100, 40));
      c->Rectangle(g.r(7, 18, 12, 26));
      Shape(c, Rgb(240, 170, 30), Rgb(150, 100, 0));
      c->Rectangle(g.r(14, 12, 19, 26));
      Shape(c, Rgb(60, 120, 210), Rgb(20, 60, 140));
      c->Rectangle(g.r(21, 6, 26, 26));
      break;
    default: {
      static const TColor Accents[] = {Rgb(60, 120, 210), Rgb(40, 160, 80), Rgb(200, 60, 50), Rgb(150, 80, 190),
                                       Rgb(230, 140, 30)};
      Document(c, g, Accents[Index % 5]);
      break;
    }
  }
}

void FillImageList(TImageList* List, int Size, int Count)
{
  List->SetWidth(Size);
  List->SetHeight(Size);
  for (int i = 0; i < Count; ++i) {
    auto bmp = std::make_unique<TBitmap>();
    bmp->SetSize(Size, Size);
    TCanvas* c = bmp->GetCanvas();
    c->GetBrush()->SetColor(TColor(MaskColor));
    c->FillRect(RECT{0, 0, Size, Size});
    DrawIcon(c, i, 0, 0, Size);
    List->AddMasked(bmp.get(), TColor(MaskColor));
  }
}

}  // namespace Artwork
