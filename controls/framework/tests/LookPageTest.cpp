// Paints every painter part in every look onto one page and writes it as a PNG
// (look-and-feel-page.png in the test's working folder), for people to look at.
#include <gtest/gtest.h>

#include <fstream>

#include "controls/framework/cxLookAndFeelPainters.h"
#include "controls/framework/cxStyles.h"
#include "controls/framework/cxUltraFlatLookAndFeelPainter.h"
#include "controls/framework/cxWinXPLookAndFeelPainter.h"
#include "controls/framework/tests/PaintFixture.h"
#include "platform/gdi/dc/GdiObjects.h"
#include "platform/gdi/image/PictureFiles.h"

namespace {

constexpr int CellW = 56, CellH = 30, LabelW = 90, Columns = 14;

struct TPart {
  const char* Name;
  std::function<void(TcxCustomLookAndFeelPainterClass, TcxCanvas*, const RECT&)> Paint;
};

std::vector<TPart> Parts()
{
  std::vector<TPart> parts;
  const char* stateNames[] = {"default", "normal", "hot", "pressed", "disabled"};
  for (int s = cxbsDefault; s <= cxbsDisabled; ++s)
    parts.push_back({stateNames[s], [s](auto p, TcxCanvas* c, const RECT& r) {
                       p->DrawButtonWithText(c, r, "&Ok", TcxButtonState(s));
                     }});
  for (int s = cxbsNormal; s <= cxbsDisabled; ++s)
    for (bool checked : {false, true})
      parts.push_back(
          {"check", [s, checked](auto p, TcxCanvas* c, const RECT& r) {
             p->DrawCheckBox(c, {r.left + 4, r.top + 4, r.left + 17, r.top + 17}, TcxButtonState(s), checked);
             p->DrawRadioButton(c, r.left + 24, r.top + 4, TcxButtonState(s), checked, false, clDefault);
           }});
  parts.push_back({"header", [](auto p, TcxCanvas* c, const RECT& r) {
                     p->DrawHeader(c, r, cxGraphics::InflatedRect(r, -2, -1), {}, cxBordersAll, cxbsNormal,
                                   taLeftJustify, vaCenter, false, true, "Name", nullptr, clBtnText, clBtnFace);
                     p->PaintSortingMark(c, {r.right - 14, r.top, r.right - 2, r.bottom}, true);
                   }});
  parts.push_back({"section", [](auto p, TcxCanvas* c, const RECT& r) {
                     p->DrawHeaderSection(c, r, r, TcxNeighbors{bLeft}, p->GetHeaderBorders(TcxNeighbors{bLeft}),
                                          cxbsNormal, taCenter, vaCenter, false, false, "Sum", nullptr, clBtnText,
                                          clBtnFace);
                   }});
  parts.push_back({"footer", [](auto p, TcxCanvas* c, const RECT& r) {
                     p->FillPanel(c, r);
                     p->DrawPanel(c, cxGraphics::InflatedRect(r, -3, -3), "12.5", taRightJustify, vaCenter, false,
                                  nullptr, clBtnText, clBtnFace);
                   }});
  for (int k = iikArrow; k <= iikMultiArrow; ++k)
    parts.push_back(
        {"indicator", [k](auto p, TcxCanvas* c, const RECT& r) {
           p->DrawIndicatorItem(c, {r.left, r.top, r.left + 14, r.bottom}, TcxIndicatorImageKind(k), clBtnFace);
           p->DrawIndicatorItemSection(c, {r.left + 20, r.top, r.left + 34, r.bottom}, TcxIndicatorImageKind(k),
                                       clBtnFace);
         }});
  for (int part = cxsbpLineUp; part <= cxsbpPageDown; ++part)
    for (int s : {cxbsNormal, cxbsHot, cxbsPressed})
      parts.push_back(
          {"scroll", [part, s](auto p, TcxCanvas* c, const RECT& r) {
             p->DrawScrollBarPart(c, false, {r.left + 4, r.top + 2, r.left + 20, r.bottom - 2}, part,
                                  TcxButtonState(s));
             p->DrawScrollBarPart(c, true, {r.left + 24, r.top + 7, r.right - 4, r.top + 23}, part, TcxButtonState(s));
           }});
  parts.push_back({"tab", [](auto p, TcxCanvas* c, const RECT& r) {
                     RECT tab{r.left + 4, r.top + 4, r.right - 4, r.bottom - 1};
                     c->FillRectColor(tab, clBtnFace);
                     for (TcxBorder side : {bLeft, bTop, bRight}) {
                       RECT s = tab;
                       if (side == bLeft) s.right = s.left + 1;
                       if (side == bRight) s.left = s.right - 1;
                       if (side == bTop) s.bottom = s.top + 1;
                       p->DrawTabSide(c, s, side, cxBordersAll, false);
                     }
                     p->DrawTab(c, tab, cxBordersAll, "Tab", cxbsPressed, false, nullptr, clBtnText, clBtnFace);
                     p->DrawTabStrip(c, {r.left, r.bottom - 1, r.right, r.bottom}, false, TcxBorders{bTop});
                   }});
  parts.push_back({"expand", [](auto p, TcxCanvas* c, const RECT& r) {
                     int saved = c->SaveState();
                     p->DrawExpandGlyph(c, {r.left + 4, r.top + 4, r.left + 15, r.top + 15}, clDefault, false);
                     p->DrawExpandGlyph(c, {r.left + 18, r.top + 4, r.left + 29, r.top + 15}, clDefault, true);
                     c->RestoreState(saved);
                     p->DrawGroupExpandGlyph(c, {r.left + 34, r.top + 4, r.left + 49, r.top + 19}, true, cxbsNormal);
                   }});
  parts.push_back({"buttons", [](auto p, TcxCanvas* c, const RECT& r) {
                     p->DrawCloseButton(c, {r.left + 2, r.top + 2, r.left + 18, r.top + 16}, cxbsNormal);
                     p->DrawDropDownButton(c, {r.left + 20, r.top + 2, r.left + 35, r.top + 20}, cxbsNormal, false);
                     p->DrawButtonWithMark(c, {r.left + 38, r.top + 2, r.left + 51, r.top + 15}, cxbsNormal);
                   }});
  parts.push_back(
      {"pins", [](auto p, TcxCanvas* c, const RECT& r) {
         p->DrawGlyphButton(c, {r.left + 2, r.top + 2, r.left + 20, r.top + 18}, clBtnFace, true, 0, cxbsNormal);
         p->DrawGlyphButton(c, {r.left + 24, r.top + 2, r.left + 42, r.top + 18}, clBtnFace, true, 1, cxbsPressed);
       }});
  parts.push_back({"frame", [](auto p, TcxCanvas* c, const RECT& r) {
                     TcxStyleViewParams vp;
                     vp.Color = clBtnFace;
                     vp.TextColor = clBtnText;
                     p->DrawFlatHeaderWithFrame(c, r, "A", {}, vp, cxArrowLeft | cxArrowRight, 4);
                   }});
  parts.push_back({"border", [](auto p, TcxCanvas* c, const RECT& r) {
                     p->DrawBorderRect(c, cxGraphics::InflatedRect(r, -3, -3));
                     p->DrawSunkenEdge(c, cxGraphics::InflatedRect(r, -8, -8));
                   }});
  return parts;
}

TEST(LookPage, AllPartsInAllLooksAsPng)
{
  const std::pair<const char*, TcxCustomLookAndFeelPainterClass> looks[] = {
      {"flat", TcxFlatLookAndFeelPainter::Class()},
      {"standard", TcxStandardLookAndFeelPainter::Class()},
      {"ultra-flat", TcxUltraFlatLookAndFeelPainter::Class()},
      {"themed (fallback)", TcxWinXPLookAndFeelPainter::Class()},
  };
  auto parts = Parts();
  int rowsPerLook = int((parts.size() + Columns - 1) / Columns);
  int w = LabelW + Columns * CellW, h = int(std::size(looks)) * rowsPerLook * CellH;
  TPaintFixture page(w, h, Graphics::ColorToRGB(clWindow));
  TcxCanvas* c = page.Canvas.get();
  TFont plain;
  for (size_t l = 0; l < std::size(looks); ++l) {
    int top = int(l) * rowsPerLook * CellH;
    c->SetFont(&plain);
    c->SetBrushStyle(bsClear);
    c->DrawText(looks[l].first, {4, top + 4, LabelW, top + CellH}, tfSingleLine);
    c->SetBrushStyle(bsSolid);
    for (size_t i = 0; i < parts.size(); ++i) {
      int col = int(i) % Columns, row = int(i) / Columns;
      RECT cell{LabelW + col * CellW + 2, top + row * CellH + 2, LabelW + (col + 1) * CellW - 2,
                top + (row + 1) * CellH - 2};
      int saved = c->SaveState();
      c->IntersectClip(cell);
      c->SetFont(&plain);
      parts[i].Paint(looks[l].second, c, cell);
      c->RestoreState(saved);
    }
  }
  auto png = PngFile::SavePng(page.Bmp);
  ASSERT_FALSE(png.empty());
  std::ofstream("look-and-feel-page.png", std::ios::binary)
      .write(reinterpret_cast<const char*>(png.data()), std::streamsize(png.size()));
  HBITMAP back = PngFile::LoadPng(png);
  ASSERT_NE(back, nullptr);
  BITMAP info{};
  Windows::GetObject(back, &info);
  EXPECT_EQ(info.bmWidth, w);
  EXPECT_EQ(info.bmHeight, h);
  Windows::DeleteObject(back);
  // Every look painted something in every cell.
  for (size_t l = 0; l < std::size(looks); ++l)
    for (size_t i = 0; i < parts.size(); ++i) {
      int col = int(i) % Columns, row = int(i) / Columns;
      int x0 = LabelW + col * CellW + 2, y0 = int(l) * rowsPerLook * CellH + row * CellH + 2;
      bool painted = false;
      for (int y = y0; y < y0 + CellH - 4 && !painted; ++y)
        for (int x = x0; x < x0 + CellW - 4 && !painted; ++x) painted = page.At(x, y) != Graphics::ColorToRGB(clWindow);
      EXPECT_TRUE(painted) << looks[l].first << " " << parts[i].Name << " " << i;
    }
}

}  // namespace
