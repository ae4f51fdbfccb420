#include "controls/framework/tests/PaintFixture.h"

TPaintFixture::TPaintFixture(int AW, int AH, COLORREF Fill) : TPixelCanvas(AW, AH, Fill)
{
  Surface = std::make_unique<TCanvas>();
  Surface->SetHandle(DC);
  Canvas = std::make_unique<TcxCanvas>(Surface.get());
}

TPaintFixture::~TPaintFixture()
{
  Canvas.reset();
  Surface.reset();
}

COLORREF Sys(TColor Color) { return Graphics::ColorToRGB(Color); }
