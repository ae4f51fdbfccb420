// Pictures of the labels, panels, bevels, shapes, images, splitters, scroll boxes and scroll bars
// in their states; the checks look at the points that tell the states apart.
#include <gtest/gtest.h>

#include "platform/forms/graphics/Font.h"
#include "platform/forms/tests/ControlsTestUtil.h"
#include "platform/forms/graphics/Bitmap.h"
#include "platform/forms/graphics/Canvas.h"
#include "platform/stdctrls/panels/Bevel.h"
#include "platform/stdctrls/panels/Image.h"
#include "platform/stdctrls/panels/Label.h"
#include "platform/stdctrls/panels/Panel.h"
#include "platform/stdctrls/panels/ScrollBar.h"
#include "platform/stdctrls/panels/ScrollBox.h"
#include "platform/stdctrls/panels/Shape.h"
#include "platform/stdctrls/panels/Splitter.h"
#include "platform/stdctrls/tests/PictureUtil.h"

namespace {

COLORREF PanelsRgb(TColor C) { return Graphics::ColorToRGB(C); }

// Text is smoothed: a dark pixel is one near black.
bool PanelsDark(COLORREF C) { return GetRValue(C) + GetGValue(C) + GetBValue(C) < 200; }
bool PanelsInk(COLORREF C) { return C != RGB(255, 255, 255); }

// The first and last rows of the control that hold a pixel Is answers true for (-1 when none).
struct InkSpan {
  int first, last;
};
InkSpan InkRows(TControl* C, bool (*Is)(COLORREF))
{
  int first = -1, last = -1;
  for (int y = 0; y < C->GetHeight(); ++y)
    for (int x = 0; x < C->GetWidth(); ++x)
      if (Is(PixelOf(C, x, y))) {
        if (first < 0) first = y;
        last = y;
        break;
      }
  return {first, last};
}

}  // namespace

TEST_F(FormsTest, PictureOfTheLabels)
{
  TForm* form = MakeForm(420, 260);
  form->SetCaption("标签");
  form->GetFont()->SetName("宋体");
  form->GetFont()->SetSize(9);
  auto label = [&](const char* caption, int x, int y, int w, int h) {
    auto* l = new TLabel(Owner.get());
    l->SetParent(form);
    l->SetAutoSize(false);
    l->SetBounds(x, y, w, h);
    l->SetCaption(caption);
    l->SetColor(clWhite);
    return l;
  };
  TLabel* layouts[3];
  int x = 10;
  for (TTextLayout layout : {tlTop, tlCenter, tlBottom}) {
    layouts[layout] = label("版面", x, 10, 60, 60);
    layouts[layout]->SetLayout(layout);
    x += 70;
  }
  x = 10;
  for (TAlignment alignment : {taLeftJustify, taCenter, taRightJustify}) {
    label("对齐", x, 80, 60, 20)->SetAlignment(alignment);
    x += 70;
  }
  TLabel* wrapped = label("自动换行的长标签文字", 220, 10, 70, 60);
  wrapped->SetWordWrap(true);
  TLabel* disabled = label("不可用(&D)", 300, 10, 100, 20);
  disabled->SetEnabled(false);
  label("显示 && 号", 300, 40, 100, 20)->SetShowAccelChar(false);

  auto* back = new TPanel(Owner.get());
  back->SetParent(form);
  back->SetBounds(10, 120, 300, 60);
  back->SetColor(clYellow);
  back->SetCaption("");
  auto* see = new TLabel(Owner.get());
  see->SetParent(back);
  see->SetBounds(10, 10, 0, 0);
  see->SetCaption("透明标签");
  see->SetTransparent(true);
  see->SetColor(clWhite);
  auto* opaque = new TLabel(Owner.get());
  opaque->SetParent(back);
  opaque->SetBounds(150, 10, 0, 0);
  opaque->SetCaption("不透明标签");
  opaque->SetColor(clWhite);

  form->Show();
  form->Update();
  SaveFormPicture(form, "stdctrls_labels.png");

  auto top = InkRows(layouts[tlTop], PanelsDark);
  auto centre = InkRows(layouts[tlCenter], PanelsDark);
  auto bottom = InkRows(layouts[tlBottom], PanelsDark);
  ASSERT_GE(top.first, 0);
  EXPECT_LT(top.first, 4);
  EXPECT_NEAR((centre.first + centre.last) / 2, 30, 3);
  EXPECT_GT(bottom.last, 52);
  // Disabled text is engraved in grey: ink, but none of it dark.
  EXPECT_EQ(InkRows(disabled, PanelsDark).first, -1);
  EXPECT_GE(InkRows(disabled, PanelsInk).first, 0);
  // The wrapped label runs over several lines.
  auto lines = InkRows(wrapped, PanelsDark);
  EXPECT_GT(lines.last - lines.first, 24);
  // The panel shows through a transparent label, not through an opaque one.
  EXPECT_EQ(PixelOf(see, 0, 0), PanelsRgb(clYellow));
  EXPECT_EQ(PixelOf(opaque, 0, 0), PanelsRgb(clWhite));
}

TEST_F(FormsTest, PictureOfThePanelsAndBevels)
{
  TForm* form = MakeForm(480, 330);
  form->SetCaption("面板与斜面");
  form->GetFont()->SetName("宋体");
  form->GetFont()->SetSize(9);
  auto panel = [&](const char* caption, int x, int y, TBevelCut outer, TBevelCut inner) {
    auto* p = new TPanel(Owner.get());
    p->SetParent(form);
    p->SetBounds(x, y, 140, 40);
    p->SetCaption(caption);
    p->SetBevelOuter(outer);
    p->SetBevelInner(inner);
    return p;
  };
  TPanel* raised = panel("凸起", 10, 10, bvRaised, bvNone);
  TPanel* lowered = panel("凹下", 160, 10, bvLowered, bvNone);
  TPanel* both = panel("双层边框", 310, 10, bvRaised, bvLowered);
  both->SetBorderWidth(3);
  both->SetBevelWidth(2);
  panel("靠左", 10, 60, bvRaised, bvNone)->SetAlignment(taLeftJustify);
  panel("靠右", 160, 60, bvRaised, bvNone)->SetAlignment(taRightJustify);
  TPanel* single = panel("单线边框", 310, 60, bvNone, bvNone);
  single->SetBorderStyle(bsSingle);
  panel("不可用", 10, 110, bvLowered, bvRaised)->SetEnabled(false);

  TBevel* bevels[2][7];
  int y = 160;
  for (TBevelStyle style : {bsLowered, bsRaised}) {
    int x = 10;
    for (int shape = bsBox; shape <= bsSpacer; ++shape) {
      auto* b = new TBevel(Owner.get());
      b->SetParent(form);
      b->SetBounds(x, y, 50, 50);
      b->SetShape(TBevelShape(shape));
      b->SetStyle(style);
      bevels[style][shape] = b;
      x += 65;
    }
    y += 70;
  }
  form->Show();
  form->Update();
  SaveFormPicture(form, "stdctrls_panels.png");

  COLORREF shadow = PanelsRgb(clBtnShadow), light = PanelsRgb(clBtnHighlight), face = PanelsRgb(clBtnFace);
  // Raised: light above, shadow below; lowered the other way.
  EXPECT_EQ(PixelOf(raised, 20, 0), light);
  EXPECT_EQ(PixelOf(raised, 20, 39), shadow);
  EXPECT_EQ(PixelOf(lowered, 20, 0), shadow);
  EXPECT_EQ(PixelOf(lowered, 20, 39), light);
  // Two bevels of two pixels around a border of three.
  EXPECT_EQ(PixelOf(both, 20, 1), light);
  EXPECT_EQ(PixelOf(both, 20, 2), face);
  EXPECT_EQ(PixelOf(both, 20, 5), shadow);
  EXPECT_EQ(PixelOf(both, 20, 7), face);

  struct Expect {
    TBevelShape Shape;
    int X, Y;
    bool Dark;  // the style's dark colour (shadow when lowered)
  };
  const Expect points[] = {
      {bsBox, 20, 0, true},         {bsBox, 20, 49, false},       {bsFrame, 20, 0, true},
      {bsFrame, 20, 1, false},      {bsFrame, 20, 48, true},      {bsTopLine, 20, 0, true},
      {bsTopLine, 20, 1, false},    {bsBottomLine, 20, 48, true}, {bsBottomLine, 20, 49, false},
      {bsLeftLine, 0, 20, true},    {bsLeftLine, 1, 20, false},   {bsRightLine, 48, 20, true},
      {bsRightLine, 49, 20, false},
  };
  for (TBevelStyle style : {bsLowered, bsRaised}) {
    COLORREF dark = style == bsLowered ? shadow : light, bright = style == bsLowered ? light : shadow;
    for (const Expect& e : points) {
      SCOPED_TRACE(testing::Message() << "style " << style << " shape " << e.Shape << " at " << e.X << "," << e.Y);
      EXPECT_EQ(PixelOf(bevels[style][e.Shape], e.X, e.Y), e.Dark ? dark : bright);
    }
    // The lines leave the rest alone; the spacer draws nothing.
    EXPECT_EQ(PixelOf(bevels[style][bsTopLine], 20, 20), face);
    EXPECT_EQ(PixelOf(bevels[style][bsSpacer], 0, 0), face);
  }
}

TEST_F(FormsTest, PictureOfTheShapesImagesSplittersAndScrollers)
{
  TForm* form = MakeForm(520, 330);
  form->SetCaption("图形与滚动");
  form->GetFont()->SetName("宋体");
  form->GetFont()->SetSize(9);
  TShape* shapes[6];
  for (int s = stRectangle; s <= stCircle; ++s) {
    auto* shape = new TShape(Owner.get());
    shape->SetParent(form);
    shape->SetBounds(10 + s * 80, 10, 70, 50);
    shape->SetShape(TShapeType(s));
    shape->GetBrush()->SetColor(s % 2 ? clAqua : clYellow);
    shape->GetPen()->SetWidth(s < 2 ? 1 : 3);
    shapes[s] = shape;
  }
  shapes[stEllipse]->GetBrush()->SetStyle(bsClear);

  // A picture in red and blue halves, shown plain, centred, stretched and in proportion.
  TBitmap halves;
  halves.SetSize(40, 20);
  halves.GetCanvas()->GetBrush()->SetColor(clRed);
  halves.GetCanvas()->FillRect(RECT{0, 0, 20, 20});
  halves.GetCanvas()->GetBrush()->SetColor(clBlue);
  halves.GetCanvas()->FillRect(RECT{20, 0, 40, 20});
  TImage* images[4];
  for (int i = 0; i < 4; ++i) {
    auto* image = new TImage(Owner.get());
    image->SetParent(form);
    image->SetBounds(10 + i * 90, 70, 80, 60);
    image->GetPicture()->Assign(&halves);
    images[i] = image;
  }
  images[1]->SetCenter(true);
  images[2]->SetStretch(true);
  images[3]->SetStretch(true);
  images[3]->SetProportional(true);
  images[3]->SetCenter(true);

  auto* host = new TPanel(Owner.get());
  host->SetParent(form);
  host->SetBounds(10, 140, 240, 90);
  host->SetBevelOuter(bvLowered);
  host->SetCaption("");
  auto* left = new TPanel(Owner.get());
  left->SetParent(host);
  left->SetAlign(alLeft);
  left->SetWidth(80);
  left->SetCaption("左侧");
  auto* splitter = new TSplitter(Owner.get());
  splitter->SetParent(host);
  splitter->SetLeft(100);
  splitter->SetWidth(5);
  splitter->SetBeveled(true);
  auto* right = new TPanel(Owner.get());
  right->SetParent(host);
  right->SetAlign(alClient);
  right->SetCaption("右侧");

  auto* box = new TScrollBox(Owner.get());
  box->SetParent(form);
  box->SetBounds(270, 140, 200, 90);
  for (int i = 0; i < 6; ++i) {
    auto* l = new TLabel(Owner.get());
    l->SetParent(box);
    l->SetBounds(8, 8 + i * 24, 0, 0);
    l->SetCaption(AnsiString("滚动框里的第") + char('1' + i) + "行");
  }
  auto* across = new TScrollBar(Owner.get());
  across->SetParent(form);
  across->SetBounds(10, 245, 300, 17);
  across->SetPageSize(20);
  across->SetPosition(30);
  auto* upright = new TScrollBar(Owner.get());
  upright->SetParent(form);
  upright->SetKind(sbVertical);
  upright->SetBounds(480, 140, 17, 150);
  auto* off = new TScrollBar(Owner.get());
  off->SetParent(form);
  off->SetBounds(10, 275, 300, 17);
  off->SetEnabled(false);

  form->Show();
  form->Update();
  SaveFormPicture(form, "stdctrls_graphics.png");

  COLORREF red = PanelsRgb(clRed), blue = PanelsRgb(clBlue);
  // Shapes: filled inside with their brush, the cleared ellipse shows the form.
  EXPECT_EQ(PixelOf(shapes[stRectangle], 35, 25), PanelsRgb(clYellow));
  EXPECT_EQ(PixelOf(shapes[stRectangle], 0, 0), PanelsRgb(clBlack));
  EXPECT_EQ(PixelOf(shapes[stCircle], 35, 25), PanelsRgb(clAqua));
  EXPECT_EQ(PixelOf(shapes[stCircle], 3, 25), PanelsRgb(clBtnFace)) << "a circle takes the shorter side";
  EXPECT_EQ(PixelOf(shapes[stEllipse], 35, 25), PanelsRgb(clBtnFace));
  // Images: plain at the corner, centred, stretched over all, in proportion across the width.
  EXPECT_EQ(PixelOf(images[0], 5, 5), red);
  EXPECT_EQ(PixelOf(images[0], 50, 5), PanelsRgb(clBtnFace));
  EXPECT_EQ(PixelOf(images[1], 25, 25), red);
  EXPECT_EQ(PixelOf(images[1], 55, 35), blue);
  EXPECT_EQ(PixelOf(images[2], 2, 57), red);
  EXPECT_EQ(PixelOf(images[2], 77, 2), blue);
  EXPECT_EQ(PixelOf(images[3], 2, 30), red);
  EXPECT_EQ(PixelOf(images[3], 40, 5), PanelsRgb(clBtnFace));
  // The splitter sits right of the left panel with raised edges.
  EXPECT_EQ(splitter->GetLeft(), left->GetLeft() + left->GetWidth());
  EXPECT_EQ(PixelOf(splitter, 1, 20), PanelsRgb(clBtnHighlight));
  // The scroll box scrolls what it holds.
  EXPECT_TRUE(box->GetVertScrollBar()->IsScrollBarVisible());
}
