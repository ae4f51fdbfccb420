#include <gtest/gtest.h>

#include <ft2build.h>
#include FT_FREETYPE_H

#include <cstring>
#include <string>

#include "platform/gdi/dc/DeviceContext.h"
#include "platform/gdi/text/DrawText.h"
#include "platform/gdi/text/Fonts.h"
#include "platform/gdi/dc/GdiObjects.h"
#include "platform/gdi/text/TextOutput.h"
#include "platform/testsupport/PixelCanvas.h"

using namespace Windows;

namespace {

struct TFontSel {
  HDC DC;
  HFONT F;
  HGDIOBJ Old;
  TFontSel(HDC dc, const char* face, int height, int weight = FW_NORMAL, int escapement = 0,
           BYTE charset = GB2312_CHARSET)
      : DC(dc)
  {
    F = CreateFont(height, 0, escapement, escapement, weight, 0, 0, 0, charset, 0, 0, 0, 0, face);
    Old = SelectObject(dc, F);
  }
  ~TFontSel()
  {
    SelectObject(DC, Old);
    DeleteObject(F);
  }
};

SIZE Extent(HDC dc, const char* s)
{
  SIZE sz{};
  GetTextExtentPoint32(dc, s, -1, &sz);
  return sz;
}
}  // namespace

TEST(GdiFonts, MetricsOfAChineseAndALatinFace)
{
  TPixelCanvas c(10, 10);
  for (const char* face : {"宋体", "Arial", "Times New Roman", "Courier New", "Tahoma", "MS Sans Serif"}) {
    for (int h : {-12, -16, -40}) {
      TFontSel f(c.DC, face, h);
      TEXTMETRICA tm;
      ASSERT_TRUE(GetTextMetrics(c.DC, &tm)) << face;
      EXPECT_EQ(tm.tmAscent + tm.tmDescent, tm.tmHeight) << face;
      // A negative height is the character height: the cell is that plus internal leading.
      EXPECT_EQ(tm.tmHeight - tm.tmInternalLeading, -h) << face << h;
      EXPECT_GE(tm.tmHeight, -h) << face;
      EXPECT_LE(tm.tmHeight, -h * 3 / 2 + 1) << face;
      EXPECT_GT(tm.tmAveCharWidth, 0) << face;
      SIZE zero = Extent(c.DC, "0");
      EXPECT_EQ(Extent(c.DC, "00000").cx, 5 * zero.cx) << face;
      EXPECT_EQ(zero.cy, tm.tmHeight);
    }
  }
  // The Chinese face: a Chinese character is one em wide, about two digits, and as wide as the
  // widest glyph.
  TFontSel f(c.DC, "宋体", -16);
  TEXTMETRICA tm;
  GetTextMetrics(c.DC, &tm);
  SIZE han = Extent(c.DC, "合"), digit = Extent(c.DC, "0");
  EXPECT_NEAR(han.cx, 16, 1);
  EXPECT_GE(2 * digit.cx, han.cx * 3 / 4);
  EXPECT_LE(2 * digit.cx, han.cx * 5 / 4 + 1);
  EXPECT_GE(tm.tmMaxCharWidth, han.cx);
  EXPECT_LE(tm.tmMaxCharWidth, 2 * han.cx);
  EXPECT_EQ(tm.tmCharSet, GB2312_CHARSET);
  // A positive height is the cell height.
  TFontSel cell(c.DC, "Arial", 20);
  GetTextMetrics(c.DC, &tm);
  EXPECT_NEAR(tm.tmHeight, 20, 1);
  // Bold is wider than regular; a Chinese character in a Latin face comes from the fallback.
  int regular = 0, bold = 0;
  {
    TFontSel r(c.DC, "Arial", -16);
    regular = Extent(c.DC, "bold text").cx;
    EXPECT_GT(Extent(c.DC, "合同").cx, Extent(c.DC, "00").cx);
  }
  {
    TFontSel b(c.DC, "Arial", -16, FW_BOLD);
    bold = Extent(c.DC, "bold text").cx;
  }
  EXPECT_GT(bold, regular);
}

TEST(GdiFonts, CharWidthsAndExtentPointsAgree)
{
  TPixelCanvas c(10, 10);
  TFontSel f(c.DC, "Arial", -14);
  int w[3];
  ASSERT_TRUE(GetCharWidth32(c.DC, 'A', 'C', w));
  EXPECT_EQ(Extent(c.DC, "ABC").cx, w[0] + w[1] + w[2]);
  ABC abc;
  ASSERT_TRUE(GetCharABCWidths(c.DC, 'A', 'A', &abc));
  EXPECT_EQ(abc.abcA + int(abc.abcB) + abc.abcC, w[0]);
  // Fit counts bytes and never splits a double-byte character.
  const char* text = "ab合同";
  int fit = -1, dx[6] = {};
  SIZE sz;
  int ab = Extent(c.DC, "ab").cx, abHe = Extent(c.DC, "ab合").cx;
  ASSERT_TRUE(GetTextExtentExPoint(c.DC, text, 6, abHe + 1, &fit, dx, &sz));
  EXPECT_EQ(fit, 4);
  EXPECT_EQ(dx[1], ab);
  EXPECT_EQ(dx[3], abHe);
  EXPECT_EQ(sz.cx, Extent(c.DC, text).cx);
  ASSERT_TRUE(GetTextExtentExPoint(c.DC, text, 6, abHe - 1, &fit, nullptr, &sz));
  EXPECT_EQ(fit, 2);
  // The wide form measures the same text the same.
  SIZE wsz;
  GetTextExtentPoint32W(c.DC, u"ab合同", -1, &wsz);
  EXPECT_EQ(wsz.cx, sz.cx);
  // Character extra widens every character.
  SetTextCharacterExtra(c.DC, 2);
  EXPECT_EQ(Extent(c.DC, "ABC").cx, w[0] + w[1] + w[2] + 6);
}

TEST(GdiText, TextOutAlignmentBackgroundAndClipping)
{
  TPixelCanvas c(200, 60);
  TFontSel f(c.DC, "Arial", -20);
  TEXTMETRICA tm;
  GetTextMetrics(c.DC, &tm);
  SIZE sz = Extent(c.DC, "Hello");
  SetBkMode(c.DC, TRANSPARENT);
  ASSERT_TRUE(TextOut(c.DC, 10, 5, "Hello", 5));
  RECT ink = c.BoundsNot(kWhite);
  EXPECT_GE(ink.left, 10);
  EXPECT_LE(ink.right, 10 + sz.cx + 1);
  EXPECT_GE(ink.top, 5);
  EXPECT_LE(ink.bottom, 5 + tm.tmHeight);
  EXPECT_GT(ink.right - ink.left, sz.cx / 2);

  // Right-aligned on the baseline: the ink ends at x and sits above y.
  TPixelCanvas r(200, 60);
  TFontSel f2(r.DC, "Arial", -20);
  SetBkMode(r.DC, TRANSPARENT);
  SetTextAlign(r.DC, TA_RIGHT | TA_BASELINE);
  TextOut(r.DC, 150, 40, "Hello", 5);
  ink = r.BoundsNot(kWhite);
  EXPECT_LE(ink.right, 151);
  EXPECT_GE(ink.right, 145);
  EXPECT_LE(ink.bottom, 41);
  EXPECT_GE(ink.top, 40 - tm.tmAscent);

  // Opaque background fills the text cell; ETO_CLIPPED keeps all within the rectangle.
  TPixelCanvas o(200, 60);
  TFontSel f3(o.DC, "Arial", -20);
  SetBkColor(o.DC, RGB(0, 0, 255));
  TextOut(o.DC, 10, 5, "Hi", 2);
  SIZE hi = Extent(o.DC, "Hi");
  EXPECT_EQ(o.BoundsNot(kWhite), (RECT{10, 5, 10 + hi.cx, 5 + tm.tmHeight}));
  TPixelCanvas k(200, 60);
  TFontSel f4(k.DC, "Arial", -20);
  RECT clip{10, 5, 30, 15};
  SetBkColor(k.DC, RGB(0, 0, 255));
  ExtTextOut(k.DC, 10, 5, ETO_CLIPPED | ETO_OPAQUE, &clip, "Hello", 5, nullptr);
  EXPECT_EQ(k.BoundsNot(kWhite), clip);
  // Per-character advances: a 30-pixel step puts the second glyph well to the right.
  TPixelCanvas d(200, 60);
  TFontSel f5(d.DC, "Arial", -20);
  SetBkMode(d.DC, TRANSPARENT);
  const int dx[2] = {60, 10};
  ExtTextOut(d.DC, 0, 0, 0, nullptr, "ll", 2, dx);
  ink = d.BoundsNot(kWhite);
  EXPECT_GE(ink.right, 60);
}

TEST(GdiText, RotatedTextBoundingBox)
{
  TPixelCanvas c(100, 200);
  TFontSel f(c.DC, "Arial", -20, FW_NORMAL, 900);
  SetBkMode(c.DC, TRANSPARENT);
  SIZE sz = Extent(c.DC, "Rotated");
  TEXTMETRICA tm;
  GetTextMetrics(c.DC, &tm);
  // Turned by 90 degrees with the reference point at the top-left of the cell: the text runs
  // upward from (x, y) and its cell lies to the right of x.
  TextOut(c.DC, 30, 180, "Rotated", 7);
  RECT ink = c.BoundsNot(kWhite);
  EXPECT_GE(ink.left, 30 - 1);
  EXPECT_LE(ink.right, 30 + tm.tmHeight + 1);
  EXPECT_LE(ink.bottom, 181);
  EXPECT_GE(ink.top, 180 - sz.cx - 1);
  EXPECT_GT(ink.bottom - ink.top, sz.cx * 3 / 4);  // tall, not wide
  EXPECT_LT(ink.right - ink.left, tm.tmHeight + 2);
}

TEST(GdiDrawText, CalcRectCases)
{
  TPixelCanvas c(300, 300);
  TFontSel f(c.DC, "Arial", -16);
  TEXTMETRICA tm;
  GetTextMetrics(c.DC, &tm);
  int lh = tm.tmHeight;
  int word = Extent(c.DC, "word").cx, space = Extent(c.DC, " ").cx;
  struct TCase {
    const char* Text;
    int Width;
    UINT Flags;
    int Lines;     // expected height in lines
    int MaxRight;  // -1: exactly the text width of Text
  };
  const TCase cases[] = {
      {"word word word", 1000, DT_SINGLELINE, 1, -1},
      {"word word word", 2 * word + space + 2, DT_WORDBREAK, 2, 2 * word + space},
      {"word word word", word + 1, DT_WORDBREAK, 3, word},
      {"one\r\ntwo\nthree", 1000, 0, 3, -2},
      {"one\r\ntwo\nthree", 1000, DT_SINGLELINE, 1, -2},
      {"", 100, DT_WORDBREAK, 1, 0},
      {"合同管理系统", Extent(c.DC, "合同管").cx + 1, DT_WORDBREAK, 2, Extent(c.DC, "合同管").cx},
      {"abcdefghijklmnopqrstuvwxyz", Extent(c.DC, "abcdefghij").cx, DT_WORDBREAK, 3, -2},
      // A long word is not broken when an ellipsis is asked for; it is cut instead.
      {"abcdefghijklmnopqrstuvwxyz", Extent(c.DC, "abcdefghij").cx, DT_WORDBREAK | DT_END_ELLIPSIS, 1, -2},
      {"系统 合同管理", Extent(c.DC, "系统 合同").cx + 1, DT_WORDBREAK, 2, Extent(c.DC, "系统 合同").cx},
      {"系统 合同管理", Extent(c.DC, "系统 合同").cx + 1, DT_WORDBREAK | DT_NOFULLWIDTHCHARBREAK, 2,
       Extent(c.DC, "合同管理").cx},
  };
  for (const TCase& t : cases) {
    RECT r{10, 20, 10 + t.Width, 20};
    int h = DrawText(c.DC, t.Text, -1, &r, t.Flags | DT_CALCRECT);
    EXPECT_EQ(h, t.Lines * lh) << t.Text;
    EXPECT_EQ(r.bottom - r.top, t.Lines * lh) << t.Text;
    EXPECT_EQ(r.left, 10);
    if (t.MaxRight == -1)
      EXPECT_EQ(r.right - r.left, Extent(c.DC, t.Text).cx) << t.Text;
    else if (t.MaxRight >= 0)
      EXPECT_EQ(r.right - r.left, t.MaxRight) << t.Text;
    else
      EXPECT_LE(r.right - r.left, t.Width) << t.Text;
  }
  EXPECT_EQ(c.CountNot(kWhite), 0);  // measuring draws nothing
  // External leading and prefixes.
  RECT r{0, 0, 1000, 0};
  DrawText(c.DC, "a\nb", -1, &r, DT_CALCRECT | DT_EXTERNALLEADING);
  EXPECT_EQ(r.bottom, 2 * (lh + tm.tmExternalLeading));
  r = RECT{0, 0, 1000, 0};
  DrawText(c.DC, "&Save", -1, &r, DT_CALCRECT | DT_SINGLELINE);
  EXPECT_EQ(r.right, Extent(c.DC, "Save").cx);
  r = RECT{0, 0, 1000, 0};
  DrawText(c.DC, "&Save", -1, &r, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
  EXPECT_EQ(r.right, Extent(c.DC, "&Save").cx);
  r = RECT{0, 0, 1000, 0};
  DrawText(c.DC, "a\tb", -1, &r, DT_CALCRECT | DT_SINGLELINE | DT_EXPANDTABS);
  EXPECT_EQ(r.right, 8 * tm.tmAveCharWidth + Extent(c.DC, "b").cx);
  // A tab length of DrawTextEx (DT_TABSTOP's byte would overlap DT_CALCRECT, as it does in GDI).
  r = RECT{0, 0, 1000, 0};
  DRAWTEXTPARAMS tabs;
  tabs.iTabLength = 4;
  char tabbed[] = "a\tb";
  DrawTextEx(c.DC, tabbed, -1, &r, DT_CALCRECT | DT_SINGLELINE | DT_EXPANDTABS, &tabs);
  EXPECT_EQ(r.right, 4 * tm.tmAveCharWidth + Extent(c.DC, "b").cx);
  // Margins of DrawTextEx narrow the line and widen the measured rectangle; the length drawn
  // counts bytes.
  DRAWTEXTPARAMS dp;
  dp.iLeftMargin = 5;
  dp.iRightMargin = 7;
  char text[] = "word word";
  r = RECT{0, 0, word + 12 + 1, 0};
  DrawTextEx(c.DC, text, -1, &r, DT_CALCRECT | DT_WORDBREAK, &dp);
  EXPECT_EQ(r.bottom, 2 * lh);
  EXPECT_EQ(r.right, word + 12);
  EXPECT_EQ(dp.uiLengthDrawn, 9u);
}

TEST(GdiDrawText, EllipsisAlignmentAndClipping)
{
  TPixelCanvas c(300, 100);
  TFontSel f(c.DC, "Arial", -16);
  TEXTMETRICA tm;
  GetTextMetrics(c.DC, &tm);
  const char* longText = "A rather long caption for a narrow cell";
  int w = Extent(c.DC, "A rather long").cx;
  char buf[64];
  std::strcpy(buf, longText);
  RECT r{0, 0, w, tm.tmHeight};
  DrawTextEx(c.DC, buf, -1, &r, DT_SINGLELINE | DT_END_ELLIPSIS | DT_MODIFYSTRING | DT_CALCRECT, nullptr);
  std::string shown = buf;
  ASSERT_GE(shown.size(), 4u);
  EXPECT_EQ(shown.substr(shown.size() - 3), "...");
  EXPECT_EQ(shown.compare(0, 8, "A rather"), 0);
  EXPECT_LE(Extent(c.DC, buf).cx, w);
  EXPECT_LE(r.right, w);

  std::strcpy(buf, longText);
  r = RECT{0, 0, w, tm.tmHeight};
  DrawTextEx(c.DC, buf, -1, &r, DT_SINGLELINE | DT_WORD_ELLIPSIS | DT_MODIFYSTRING, nullptr);
  EXPECT_EQ(std::string(buf).substr(0, 11), "A rather...");  // cut after a whole word

  std::strcpy(buf, "C:\\Program Files\\Pelto\\report.fr3");
  int pw = Extent(c.DC, "C:\\Prog...\\report.fr3").cx;
  r = RECT{0, 0, pw, tm.tmHeight};
  DrawTextEx(c.DC, buf, -1, &r, DT_SINGLELINE | DT_PATH_ELLIPSIS | DT_MODIFYSTRING, nullptr);
  shown = buf;
  EXPECT_NE(shown.find("..."), std::string::npos);
  EXPECT_EQ(shown.substr(shown.size() - 11), "\\report.fr3");
  EXPECT_EQ(shown.compare(0, 3, "C:\\"), 0);

  // Right alignment, vertical centring and clipping to the rectangle.
  TPixelCanvas d(300, 100);
  TFontSel f2(d.DC, "Arial", -16);
  SetBkMode(d.DC, TRANSPARENT);
  RECT cell{50, 10, 250, 90};
  int h = DrawText(d.DC, "Right", -1, &cell, DT_SINGLELINE | DT_RIGHT | DT_VCENTER);
  RECT ink = d.BoundsNot(kWhite);
  EXPECT_LE(ink.right, 250);
  EXPECT_GE(ink.right, 245);
  int top = 10 + (80 - tm.tmHeight) / 2;
  EXPECT_EQ(h, top - 10 + tm.tmHeight);
  EXPECT_GE(ink.top, top);
  EXPECT_LE(ink.bottom, top + tm.tmHeight);
  TPixelCanvas e(300, 100);
  TFontSel f3(e.DC, "Arial", -16);
  SetBkMode(e.DC, TRANSPARENT);
  RECT narrow{20, 10, 40, 20};
  DrawText(e.DC, "Clipped text", -1, &narrow, DT_SINGLELINE);
  ink = e.BoundsNot(kWhite);
  EXPECT_GE(ink.left, 20);
  EXPECT_LE(ink.right, 40);
  EXPECT_LE(ink.bottom, 20);
  DrawText(e.DC, "Clipped text", -1, &narrow, DT_SINGLELINE | DT_NOCLIP);
  EXPECT_GT(e.BoundsNot(kWhite).right, 40);
  // DT_EDITCONTROL hides a partly visible last line.
  TPixelCanvas g(300, 100);
  TFontSel f4(g.DC, "Arial", -16);
  SetBkMode(g.DC, TRANSPARENT);
  RECT two{0, 0, 300, tm.tmHeight + tm.tmHeight / 2};
  DrawText(g.DC, "one\ntwo", -1, &two, DT_EDITCONTROL);
  EXPECT_LE(g.BoundsNot(kWhite).bottom, tm.tmHeight);
  // Prefix underline: "&x" draws a line under x, below the baseline.
  TPixelCanvas u(100, 40);
  TFontSel f5(u.DC, "Arial", -16);
  SetBkMode(u.DC, TRANSPARENT);
  RECT ur{0, 0, 100, 40};
  DrawText(u.DC, "&_", -1, &ur, DT_SINGLELINE | DT_PREFIXONLY);
  RECT line = u.BoundsNot(kWhite);
  EXPECT_GT(line.top, tm.tmAscent - 1);
  EXPECT_LE(line.right - line.left, Extent(u.DC, "_").cx);
}

TEST(GdiFonts, FontDataGivesAParsableFontProgram)
{
  TPixelCanvas c(10, 10);
  for (const char* face : {"宋体", "Arial"}) {
    TFontSel f(c.DC, face, -750 * 96 / 72);
    DWORD size = GetFontData(c.DC, 0, 0, nullptr, 0);
    ASSERT_NE(size, GDI_ERROR) << face;
    ASSERT_GT(size, 1000u);
    std::vector<unsigned char> data(size);
    ASSERT_EQ(GetFontData(c.DC, 0, 0, data.data(), size), size);
    auto be32 = [&](std::size_t at) {
      return (std::uint32_t(data[at]) << 24) | (std::uint32_t(data[at + 1]) << 16) |
             (std::uint32_t(data[at + 2]) << 8) | data[at + 3];
    };
    auto be16 = [&](std::size_t at) { return unsigned(data[at] << 8 | data[at + 1]); };
    EXPECT_EQ(be32(0), 0x00010000u) << face;  // a TrueType font, not a collection ('ttcf')
    unsigned n = be16(4);
    ASSERT_GT(n, 5u);
    ASSERT_LE(12 + 16 * std::size_t(n), data.size());
    bool glyf = false, head = false, cmap = false;
    std::uint32_t prevTag = 0;
    for (unsigned i = 0; i < n; ++i) {
      std::size_t e = 12 + 16 * std::size_t(i);
      std::uint32_t tag = be32(e), off = be32(e + 8), len = be32(e + 12);
      EXPECT_GT(tag, prevTag);  // sorted
      prevTag = tag;
      EXPECT_LE(std::size_t(off) + len, data.size()) << face;
      glyf |= tag == 0x676C7966;
      head |= tag == 0x68656164;
      cmap |= tag == 0x636D6170;
    }
    EXPECT_TRUE(glyf && head && cmap) << face;
    // The whole file sums to the magic number that the head table's adjustment makes it.
    std::uint32_t sum = 0;
    for (std::size_t i = 0; i + 4 <= data.size(); i += 4) sum += be32(i);
    EXPECT_EQ(sum, 0xB1B0AFBAu) << face;
    // A font engine opens the program on its own and finds the glyphs.
    FT_Library lib;
    ASSERT_EQ(FT_Init_FreeType(&lib), 0);
    FT_Face ft = nullptr;
    EXPECT_EQ(FT_New_Memory_Face(lib, data.data(), FT_Long(data.size()), 0, &ft), 0) << face;
    if (ft) {
      EXPECT_EQ(ft->num_faces, 1);
      EXPECT_GT(ft->num_glyphs, 200);
      EXPECT_NE(FT_Get_Char_Index(ft, 'A'), 0u);
      if (std::string(face) != "Arial") {
        EXPECT_NE(FT_Get_Char_Index(ft, 0x5408), 0u);  // 合
      }
      FT_Done_Face(ft);
    }
    FT_Done_FreeType(lib);
    // One table on its own, and a missing one.
    DWORD headSize = GetFontData(c.DC, MakeTableTag('h', 'e', 'a', 'd'), 0, nullptr, 0);
    EXPECT_EQ(headSize, 54u);
    EXPECT_EQ(GetFontData(c.DC, MakeTableTag('z', 'z', 'z', 'z'), 0, nullptr, 0), GDI_ERROR);

    UINT need = GetOutlineTextMetrics(c.DC, 0, nullptr);
    ASSERT_GT(need, sizeof(OUTLINETEXTMETRICA));
    std::vector<unsigned char> buf(need);
    auto* otm = reinterpret_cast<OUTLINETEXTMETRICA*>(buf.data());
    ASSERT_EQ(GetOutlineTextMetrics(c.DC, need, otm), need);
    EXPECT_GT(otm->otmEMSquare, 0u);
    EXPECT_GT(otm->otmAscent, 0);
    EXPECT_LT(otm->otmDescent, 0);
    EXPECT_LT(otm->otmrcFontBox.left, otm->otmrcFontBox.right);
    EXPECT_GT(otm->otmrcFontBox.top, otm->otmrcFontBox.bottom);
    EXPECT_STREQ(reinterpret_cast<const char*>(buf.data()) + otm->otmpFaceName, face);
  }
}

TEST(GdiText, TabsJustificationAndWideForms)
{
  TPixelCanvas c(400, 40);
  TFontSel f(c.DC, "Arial", -14);
  TEXTMETRICA tm;
  GetTextMetrics(c.DC, &tm);
  int b = Extent(c.DC, "b").cx, a = Extent(c.DC, "a").cx;
  // Default stops every eight average widths; one entry is a step; several are positions.
  DWORD ext = GetTabbedTextExtent(c.DC, "a\tb", 3, 0, nullptr);
  EXPECT_EQ(int(ext & 0xFFFF), 8 * tm.tmAveCharWidth + b);
  EXPECT_EQ(int(ext >> 16), tm.tmHeight);
  const int step[1] = {50};
  EXPECT_EQ(int(GetTabbedTextExtent(c.DC, "a\tb\tb", 5, 1, step) & 0xFFFF), 100 + b);
  const int stops[2] = {30, 120};
  EXPECT_EQ(int(GetTabbedTextExtent(c.DC, "a\tb\tb", 5, 2, stops) & 0xFFFF), 120 + b);
  SetBkMode(c.DC, TRANSPARENT);
  LONG drawn = TabbedTextOut(c.DC, 10, 5, "a\tb", 3, 1, step, 10);
  EXPECT_EQ(int(drawn & 0xFFFF), 50 + b);
  EXPECT_GE(c.BoundsNot(RGB(255, 255, 255)).right, 60);
  (void)a;
  // Justification spreads the extra pixels over the break characters.
  SIZE plain, wide;
  GetTextExtentPoint32(c.DC, "a b c", 5, &plain);
  SetTextJustification(c.DC, 7, 2);
  GetTextExtentPoint32(c.DC, "a b c", 5, &wide);
  EXPECT_EQ(wide.cx, plain.cx + 7);
  SetTextJustification(c.DC, 0, 0);
  // The W forms lay out the same text the same.
  RECT ra{0, 0, 60, 0}, rw{0, 0, 60, 0};
  DrawText(c.DC, "合同 contract text", -1, &ra, DT_CALCRECT | DT_WORDBREAK);
  DrawTextW(c.DC, u"合同 contract text", -1, &rw, DT_CALCRECT | DT_WORDBREAK);
  EXPECT_EQ(ra, rw);
  EXPECT_GT(ra.bottom, tm.tmHeight);
}

TEST(GdiText, UnderlineAndStrikeOut)
{
  TPixelCanvas plain(200, 40), under(200, 40), strike(200, 40);
  HFONT fp = CreateFont(-20, 0, 0, 0, FW_NORMAL, 0, 0, 0, 0, 0, 0, 0, 0, "Arial");
  HFONT fu = CreateFont(-20, 0, 0, 0, FW_NORMAL, 0, 1, 0, 0, 0, 0, 0, 0, "Arial");
  HFONT fs = CreateFont(-20, 0, 0, 0, FW_NORMAL, 0, 0, 1, 0, 0, 0, 0, 0, "Arial");
  SelectObject(plain.DC, fp);
  SelectObject(under.DC, fu);
  SelectObject(strike.DC, fs);
  TEXTMETRICA tm;
  GetTextMetrics(plain.DC, &tm);
  SIZE sz = Extent(plain.DC, "ooo");
  for (TPixelCanvas* c : {&plain, &under, &strike}) {
    SetBkMode(c->DC, TRANSPARENT);
    TextOut(c->DC, 10, 5, "ooo", 3);
  }
  auto rowInk = [&](const TPixelCanvas& c, int y) {
    int n = 0;
    for (int x = 0; x < 200; ++x) n += c.At(x, y) == RGB(0, 0, 0);
    return n;
  };
  // The underline is a full row below the baseline; the strike-out one through the middle.
  int base = 5 + tm.tmAscent;
  bool underline = false, strikeLine = false;
  for (int y = base; y < 5 + tm.tmHeight; ++y) underline |= rowInk(under, y) >= sz.cx - 1 && rowInk(plain, y) == 0;
  for (int y = 5; y < base; ++y) strikeLine |= rowInk(strike, y) >= sz.cx - 1;
  EXPECT_TRUE(underline);
  EXPECT_TRUE(strikeLine);
  for (TPixelCanvas* c : {&plain, &under, &strike}) SelectObject(c->DC, GetStockObject(SYSTEM_FONT));
  DeleteObject(fp);
  DeleteObject(fu);
  DeleteObject(fs);
}

TEST(GdiFonts, ManySizesComeAndGo)
{
  // More realised sizes than the font cache keeps: dropped ones are realised again unchanged.
  TPixelCanvas c(10, 10);
  auto heightAt = [&](int h) {
    TFontSel f(c.DC, "Arial", -h);
    TEXTMETRICA tm;
    GetTextMetrics(c.DC, &tm);
    return tm.tmHeight - tm.tmInternalLeading;
  };
  for (int h = 6; h < 406; ++h) EXPECT_EQ(heightAt(h), h);
  EXPECT_EQ(heightAt(7), 7);
  EXPECT_EQ(heightAt(12), 12);
}
