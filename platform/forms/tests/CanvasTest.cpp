// Drawing on a bitmap's canvas, checked at its pixels: the pen, brush and font as they change,
// text measures, pictures drawn and stretched, copying between canvases.
#include <gtest/gtest.h>

#include "platform/classes/Component.h"
#include "platform/classes/Reader.h"
#include "platform/classes/Writer.h"
#include "platform/forms/graphics/Bitmap.h"
#include "platform/forms/graphics/Brush.h"
#include "platform/forms/graphics/Canvas.h"
#include "platform/forms/graphics/Font.h"
#include "platform/forms/graphics/Pen.h"
#include "platform/gdi/dc/DeviceContext.h"
#include "platform/gdi/dc/GdiObjects.h"
#include "platform/rtl/Streams.h"

namespace {

// A white bitmap of that size.
void White(TBitmap& b, int w, int h)
{
  b.SetSize(w, h);
  TCanvas* c = b.GetCanvas();
  c->GetBrush()->SetColor(clWhite);
  c->FillRect(RECT{0, 0, w, h});
}

// A component publishing a font, a pen and a brush, as a control would.
class TStyled : public TComponent {
  PELTO_CLASS(TStyled, TComponent)
public:
  explicit TStyled(TComponent* AOwner) : TComponent(AOwner) {}
  TFont* GetFont() const { return FFont.get(); }
  void SetFont(TFont* Value) { FFont->Assign(Value); }
  TPen* GetPen() const { return FPen.get(); }
  void SetPen(TPen* Value) { FPen->Assign(Value); }
  TBrush* GetBrush() const { return FBrush.get(); }
  void SetBrush(TBrush* Value) { FBrush->Assign(Value); }
  PELTO_PUBLISHED(p)
  {
    p.Property("Brush", &ThisClass::GetBrush, &ThisClass::SetBrush);
    p.Property("Font", &ThisClass::GetFont, &ThisClass::SetFont);
    p.Property("Pen", &ThisClass::GetPen, &ThisClass::SetPen);
  }

private:
  std::unique_ptr<TFont> FFont = std::make_unique<TFont>();
  std::unique_ptr<TPen> FPen = std::make_unique<TPen>();
  std::unique_ptr<TBrush> FBrush = std::make_unique<TBrush>();
};

}  // namespace

TEST(Canvas, FontPenAndBrushStreamAsNestedProperties)
{
  TStyled out(nullptr);
  out.GetFont()->SetName("宋体");
  out.GetFont()->SetSize(12);
  out.GetFont()->SetStyle(TFontStyles{fsUnderline});
  out.GetFont()->SetColor(clNavy);
  out.GetPen()->SetStyle(psDot);
  out.GetPen()->SetWidth(3);
  out.GetBrush()->SetStyle(bsDiagCross);
  TMemoryStream s;
  Classes::WriteComponent(&s, &out);
  std::string bytes(static_cast<const char*>(s.GetMemory()), std::size_t(s.GetSize()));
  EXPECT_NE(bytes.find("Font.Height"), std::string::npos);
  EXPECT_EQ(bytes.find("Font.Size"), std::string::npos);  // derived, not stored
  EXPECT_EQ(bytes.find("Pen.Color"), std::string::npos);  // at its default

  s.SetPosition(0);
  TStyled in(nullptr);
  Classes::ReadComponent(&s, &in);
  EXPECT_EQ(in.GetFont()->GetName(), "宋体");
  EXPECT_EQ(in.GetFont()->GetSize(), 12);
  EXPECT_EQ(in.GetFont()->GetStyle(), TFontStyles{fsUnderline});
  EXPECT_EQ(in.GetFont()->GetColor(), clNavy);
  EXPECT_EQ(in.GetPen()->GetStyle(), psDot);
  EXPECT_EQ(in.GetPen()->GetWidth(), 3);
  EXPECT_EQ(in.GetBrush()->GetStyle(), bsDiagCross);
}

TEST(Canvas, ShapesUseThePenAndBrushOfTheMoment)
{
  TBitmap b;
  White(b, 40, 30);
  TCanvas* c = b.GetCanvas();
  c->GetPen()->SetColor(clBlue);
  c->GetBrush()->SetColor(clRed);
  c->Rectangle(5, 5, 20, 15);
  EXPECT_EQ(c->GetPixels(5, 5), clBlue);     // outline
  EXPECT_EQ(c->GetPixels(19, 14), clBlue);   // the right and bottom edges are excluded ...
  EXPECT_EQ(c->GetPixels(20, 15), clWhite);  // ... beyond them nothing
  EXPECT_EQ(c->GetPixels(10, 10), clRed);    // fill

  // A change of the pen or brush takes effect at the next call.
  c->GetPen()->SetStyle(psClear);
  c->GetBrush()->SetColor(clLime);
  c->Rectangle(25, 5, 35, 15);
  EXPECT_EQ(c->GetPixels(25, 5), clLime);
  c->GetBrush()->SetStyle(bsClear);
  c->GetPen()->SetStyle(psSolid);
  c->GetPen()->SetColor(clBlack);
  c->Ellipse(5, 18, 35, 29);
  EXPECT_EQ(c->GetPixels(20, 23), clWhite);  // a clear brush leaves the inside alone

  c->MoveTo(0, 0);
  c->GetPen()->SetColor(clRed);
  c->LineTo(10, 0);
  EXPECT_EQ(c->GetPixels(9, 0), clRed);
  EXPECT_EQ(c->GetPixels(10, 0), clWhite);
  EXPECT_EQ(c->GetPenPos().x, 10);

  c->SetPixels(39, 29, clYellow);
  EXPECT_EQ(c->GetPixels(39, 29), clYellow);
  EXPECT_EQ(c->GetPixels(40, 29), clNone);
  // The pixels a canvas draws are the bitmap's own.
  EXPECT_EQ(b.GetScanLine(29)[39], 0xFFFF00u & 0xFFFFFF);
}

TEST(Canvas, SystemColoursResolve)
{
  TBitmap b;
  White(b, 4, 4);
  b.GetCanvas()->GetBrush()->SetColor(clBtnFace);
  b.GetCanvas()->FillRect(RECT{0, 0, 4, 4});
  EXPECT_EQ(static_cast<COLORREF>(b.GetCanvas()->GetPixels(1, 1)), Graphics::ColorToRGB(clBtnFace));
  EXPECT_NE(Graphics::ColorToRGB(clBtnFace), 0u);
}

TEST(Canvas, TextIsMeasuredAndDrawnInTheFont)
{
  TBitmap b;
  White(b, 200, 60);
  TCanvas* c = b.GetCanvas();
  c->GetFont()->SetName("Arial");
  c->GetFont()->SetSize(10);
  int small = c->TextHeight("Ag");
  int wide = c->TextWidth("WWWW");
  EXPECT_GT(c->TextWidth("WWWW"), c->TextWidth("WW"));
  EXPECT_GT(c->TextWidth("合同"), 0);
  c->GetFont()->SetSize(20);  // a new handle is selected for the next call
  EXPECT_GT(c->TextHeight("Ag"), small);
  EXPECT_GT(c->TextWidth("WWWW"), wide);

  c->GetFont()->SetColor(clRed);
  c->GetBrush()->SetStyle(bsClear);
  c->TextOut(10, 10, "合同管理");
  SIZE ext = c->TextExtent("合同管理");
  int red = 0, outside = 0;
  for (int y = 0; y < 60; ++y)
    for (int x = 0; x < 200; ++x) {
      COLORREF p = static_cast<COLORREF>(c->GetPixels(x, y));
      bool ink = p != 0xFFFFFF;
      bool inside = x >= 10 && x < 10 + ext.cx && y >= 10 && y < 10 + ext.cy;
      if (ink && !inside) ++outside;
      if (ink && (p & 0xFF) > 0x80 && ((p >> 16) & 0xFF) < 0x80) ++red;
    }
  EXPECT_GT(red, 20);
  EXPECT_EQ(outside, 0);
  EXPECT_EQ(c->GetPenPos().x, 10 + ext.cx);
}

TEST(Canvas, TextRectFillsAndClipsToItsRectangle)
{
  TBitmap b;
  White(b, 100, 40);
  TCanvas* c = b.GetCanvas();
  c->GetBrush()->SetColor(clYellow);
  c->GetFont()->SetSize(14);
  c->TextRect(RECT{10, 10, 30, 30}, 12, 12, "WWWWWWWW");
  EXPECT_EQ(c->GetPixels(29, 29), clYellow);  // filled where no glyph is
  for (int x = 30; x < 100; ++x) ASSERT_EQ(c->GetPixels(x, 15), clWhite) << x;
}

TEST(Canvas, PicturesAreDrawnAndStretched)
{
  TBitmap src;
  White(src, 4, 2);
  src.GetCanvas()->SetPixels(0, 0, clRed);
  src.GetCanvas()->SetPixels(3, 1, clBlue);

  TBitmap dest;
  White(dest, 20, 20);
  TCanvas* c = dest.GetCanvas();
  c->Draw(1, 1, &src);
  EXPECT_EQ(c->GetPixels(1, 1), clRed);
  EXPECT_EQ(c->GetPixels(4, 2), clBlue);
  EXPECT_EQ(c->GetPixels(5, 3), clWhite);

  c->StretchDraw(RECT{8, 8, 16, 12}, &src);  // twice the size
  EXPECT_EQ(c->GetPixels(8, 8), clRed);
  EXPECT_EQ(c->GetPixels(9, 9), clRed);
  EXPECT_EQ(c->GetPixels(15, 11), clBlue);
  EXPECT_EQ(c->GetPixels(14, 10), clBlue);
  EXPECT_EQ(c->GetPixels(10, 8), clWhite);

  // A transparent bitmap leaves out its bottom-left colour (white here).
  White(dest, 20, 20);
  c->GetBrush()->SetColor(clLime);
  c->FillRect(RECT{0, 0, 20, 20});
  src.SetTransparent(true);
  c->Draw(0, 0, &src);
  EXPECT_EQ(c->GetPixels(0, 0), clRed);
  EXPECT_EQ(c->GetPixels(1, 0), clLime);
  src.SetTransparentColor(clRed);
  c->Draw(10, 0, &src);
  EXPECT_EQ(c->GetPixels(10, 0), clLime);
  EXPECT_EQ(c->GetPixels(11, 0), clWhite);

  c->Draw(0, 0, nullptr);  // nothing to draw is not an error
}

TEST(Canvas, CopyRectCopiesBetweenCanvases)
{
  TBitmap a, b;
  White(a, 10, 10);
  White(b, 10, 10);
  a.GetCanvas()->GetBrush()->SetColor(clNavy);
  a.GetCanvas()->FillRect(RECT{0, 0, 2, 2});
  b.GetCanvas()->CopyRect(RECT{4, 4, 8, 8}, a.GetCanvas(), RECT{0, 0, 4, 4});
  EXPECT_EQ(b.GetCanvas()->GetPixels(4, 4), clNavy);
  EXPECT_EQ(b.GetCanvas()->GetPixels(7, 7), clWhite);
  b.GetCanvas()->SetCopyMode(cmNotSrcCopy);
  b.GetCanvas()->CopyRect(RECT{0, 0, 1, 1}, a.GetCanvas(), RECT{0, 0, 1, 1});
  EXPECT_EQ(static_cast<COLORREF>(b.GetCanvas()->GetPixels(0, 0)), 0xFFFFFFu ^ 0x800000u);
}

TEST(Canvas, ACanvasOnAForeignContextPutsBackWhatWasSelected)
{
  TBitmap b;
  White(b, 10, 10);
  HDC dc = b.GetCanvas()->GetHandle();
  HGDIOBJ pen = Windows::GetCurrentObject(dc, OBJ_PEN);
  {
    TCanvas c;
    c.SetHandle(dc);
    c.GetPen()->SetColor(clRed);
    c.MoveTo(0, 0);
    c.LineTo(5, 0);
    EXPECT_NE(Windows::GetCurrentObject(dc, OBJ_PEN), pen);
  }
  EXPECT_EQ(Windows::GetCurrentObject(dc, OBJ_PEN), pen);
  TCanvas none;
  EXPECT_THROW(none.Rectangle(0, 0, 1, 1), EInvalidOperation);
}

TEST(Canvas, LockNestsInOneThread)
{
  TCanvas c;
  c.Lock();
  EXPECT_TRUE(c.TryLock());
  EXPECT_EQ(c.GetLockCount(), 2);
  c.Unlock();
  c.Unlock();
  EXPECT_EQ(c.GetLockCount(), 0);
}

TEST(Font, SizeFollowsHeightAndTheResolution)
{
  TFont f;
  EXPECT_EQ(f.GetName(), "MS Sans Serif");
  EXPECT_EQ(f.GetSize(), 8);
  f.SetSize(9);
  EXPECT_EQ(f.GetHeight(), -12);
  f.SetPixelsPerInch(144);
  EXPECT_EQ(f.GetSize(), 9);
  EXPECT_EQ(f.GetHeight(), -18);
  int changes = 0;
  f.OnChange = [&](TObject*) { ++changes; };
  f.SetName("");  // ignored
  f.SetStyle(TFontStyles{fsBold, fsItalic});
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(f.GetStyle().Mask(), 3u);

  TFont g;
  g.Assign(&f);
  EXPECT_EQ(g.GetHeight(), -18);
  EXPECT_TRUE(g.GetStyle().Contains(fsItalic));
  LOGFONTA lf;
  ASSERT_GT(Windows::GetObject(g.GetHandle(), &lf), 0);
  EXPECT_EQ(lf.lfWeight, FW_BOLD);
  EXPECT_EQ(lf.lfHeight, -18);
}
