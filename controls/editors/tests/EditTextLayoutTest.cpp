// The editors' text layout on a bitmap with a fixed-pitch font: where rows break in mixed Chinese
// and Latin text, line breaks, justification, vertical distribution, whole rows, the end
// ellipsis, measuring, and a selection beyond the text.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "controls/editors/EditorsModule.h"
#include "controls/editors/paint/cxEditTextUtils.h"
#include "controls/editors/paint/cxEditUtils.h"
#include "controls/framework/FrameworkModule.h"
#include "controls/framework/tests/PaintFixture.h"
#include "platform/gdi/dc/DeviceContext.h"
#include "platform/gdi/text/TextOutput.h"
#include "platform/testsupport/ScreenPicture.h"

namespace EditTextLayoutTests {

using namespace cxEditTextUtils;

struct TLayoutBitmap : TPaintFixture {
  TLayoutBitmap(int W, int H) : TPaintFixture(W, H)
  {
    Canvas->GetFont()->SetName("Courier New");
    Canvas->GetFont()->SetHeight(-13);
    Canvas->GetFont()->SetColor(clBlack);
    Font = Windows::SelectObject(DC, Canvas->GetFont()->GetHandle());
  }
  ~TLayoutBitmap() { Windows::SelectObject(DC, Font); }
  int Extent(const char* Text)
  {
    SIZE s{};
    Windows::GetTextExtentPoint32(DC, Text, int(std::strlen(Text)), &s);
    return s.cx;
  }
  // The texts of the rows made for a rectangle W wide and H high.
  std::vector<std::string> Rows(const char* Text, int Flags, int W, int H = 1000, int MaxLineCount = 0)
  {
    TcxTextParams p;
    PrepareTextParams(DC, Flags, p);
    int count = 0;
    MakeTextRows(DC, Text, int(std::strlen(Text)), RECT{0, 0, W, H}, MaxLineCount, count, Made, p);
    std::vector<std::string> out;
    for (int i = 0; i < count; ++i) out.emplace_back(Made[i].Text, std::size_t(Made[i].TextLength));
    return out;
  }
  HGDIOBJ Font = nullptr;
  TcxTextRows Made;
};

struct EditTextLayout : ::testing::Test {
  void SetUp() override
  {
    FrameworkModule::Initialize();
    EditorsModule::Initialize();
  }
};

TEST_F(EditTextLayout, NothingToLayOut)
{
  TLayoutBitmap b(60, 40);
  RECT r{0, 0, 60, 40};
  EXPECT_EQ(cxTextOut(b.Canvas.get(), "", r, etfWordBreak), 0);
  RECT flat{0, 0, 60, 0};
  EXPECT_EQ(cxTextOut(b.Canvas.get(), "abc", flat, etfWordBreak), 0) << "no height to draw in";
  RECT narrow{10, 0, 10, 40};
  EXPECT_EQ(cxTextOut(b.Canvas.get(), "abc", narrow, etfCalcRect | etfWordBreak), 0) << "no width to measure in";
  EXPECT_EQ(b.CountNot(kWhite), 0);
}

TEST_F(EditTextLayout, RowBreaks)
{
  TLayoutBitmap b(10, 10);
  const int c = b.Extent("a"), h = b.Extent("合");
  ASSERT_GT(c, 0);
  ASSERT_GT(h, c);
  struct {
    const char* Text;
    int Flags;
    int W;
    std::vector<std::string> Want;
  } cases[] = {
      {"hello world foo", etfWordBreak, 11 * c, {"hello world ", "foo"}},
      {"abcdefghij", etfWordBreak, 4 * c, {"abcd", "efgh", "ij"}},
      {"abcdefghij", etfAlignLeft, 4 * c, {"abcdefghij"}},
      {"甲乙丙丁", etfWordBreak, 3 * h - 1, {"甲乙", "丙丁"}},
      {"ab合同cd", etfWordBreak, 2 * c + h, {"ab合", "同cd"}},
      {"甲乙", etfWordBreak, h - 1, {"甲", "乙"}},
      {"合同 abc", etfWordBreak, 2 * h + 2 * c, {"合同 ", "abc"}},
      {"a\r\nb", 0, 50 * c, {"a", "b"}},
      {"a\r\n\r\nb", etfWordBreak, 50 * c, {"a", "", "b"}},
      {"a\nb\rc", 0, 50 * c, {"a", "b", "c"}},
      {"a\r\nb", etfSingleLine, 50 * c, {"a\r\nb"}},
      {"aa bb cc dd", etfAlignJustify, 7 * c, {"aa bb", "cc dd"}},
  };
  for (auto& k : cases) EXPECT_EQ(b.Rows(k.Text, k.Flags, k.W), k.Want) << k.Text << " / " << k.W;
}

TEST_F(EditTextLayout, JustifyStretchesAllButAParagraphsLastRowDistributeStretchesAll)
{
  TLayoutBitmap b(10, 10);
  const int c = b.Extent("a");
  b.Rows("aa bb cc dd\r\nee ff gg hh", etfAlignJustify, 7 * c);
  ASSERT_EQ(b.Made.size(), 4u);
  EXPECT_EQ(b.Made[0].BreakCount, 1);
  EXPECT_EQ(b.Made[1].BreakCount, 0) << "ends its paragraph";
  EXPECT_EQ(b.Made[3].BreakCount, 0) << "ends the text";
  b.Rows("aa bb cc dd", etfAlignDistribute, 7 * c);
  ASSERT_EQ(b.Made.size(), 2u);
  EXPECT_EQ(b.Made[1].BreakCount, 1);

  // On the bitmap: a stretched row reaches the right edge, the paragraph's last does not.
  const int w = 10 * c;
  TLayoutBitmap d(w, 60);
  RECT r{0, 0, w, 60};
  cxTextOut(d.Canvas.get(), "aa bbb cc dd", r, etfAlignJustify);
  TcxTextParams p;
  PrepareTextParams(d.DC, 0, p);
  const RECT first = d.Ink(RECT{0, 0, w, p.RowHeight});
  const RECT last = d.Ink(RECT{0, p.RowHeight, w, 2 * p.RowHeight});
  EXPECT_GE(first.right, w - c / 2 - 1);
  EXPECT_LT(last.right, w - 2 * c);
}

TEST_F(EditTextLayout, VerticalDistribution)
{
  TcxTextParams p;
  p.RowHeight = p.RowDistance = 14;
  p.VertAlign = etfAlignVDistribute >> 4;
  TcxTextRows rows(3);
  SetRowPositions(nullptr, RECT{0, 0, 200, 100}, p, 3, rows);
  EXPECT_EQ(rows[0].TextOriginY, 0);
  EXPECT_EQ(rows[1].TextOriginY, 43);
  EXPECT_EQ(rows[2].TextOriginY, 86);
  // A remainder is spread one pixel a row from the top: G = 87, 2 rows of spacing 43 and 1 over.
  SetRowPositions(nullptr, RECT{0, 0, 200, 101}, p, 3, rows);
  EXPECT_EQ(rows[1].TextOriginY, 44);
  EXPECT_EQ(rows[2].TextOriginY, 87);

  TLayoutBitmap b(60, 100);
  RECT r{0, 0, 60, 100};
  cxTextOut(b.Canvas.get(), "a\nb\nc", r, etfAlignVDistribute | etfWordBreak);
  PrepareTextParams(b.DC, 0, p);
  const int g = (100 - p.RowHeight) / 2;
  for (int row = 0; row < 3; ++row)
    EXPECT_GT(b.Count(RECT{0, row * g, 60, row * g + p.RowHeight}, kBlack, 100), 0) << row;
  EXPECT_EQ(b.Count(RECT{0, p.RowHeight, 60, g}, kBlack, 100), 0) << "nothing between the rows";
}

TEST_F(EditTextLayout, WholeRowsOnlyDropsAPartlyVisibleRow)
{
  TLayoutBitmap b(10, 10);
  TcxTextParams p;
  PrepareTextParams(b.DC, 0, p);
  const int h = p.RowHeight * 5 / 2;
  EXPECT_EQ(b.Rows("a\nb\nc\nd", etfWordBreak, 100, h).size(), 3u);
  EXPECT_EQ(b.Rows("a\nb\nc\nd", etfWordBreak | etfWholeRowsOnly, 100, h).size(), 2u);
  EXPECT_EQ(b.Rows("a\nb\nc\nd", etfWordBreak | etfWholeRowsOnly | etfNoClip, 100, h).size(), 3u);

  TLayoutBitmap d(60, h);
  RECT r{0, 0, 60, h};
  EXPECT_EQ(cxTextOut(d.Canvas.get(), "a\nb\nc\nd", r, etfWordBreak | etfWholeRowsOnly | etfReturnRowCount), 2);
  EXPECT_EQ(d.Count(RECT{0, 2 * p.RowHeight, 60, h}, kBlack, 100), 0);
}

TEST_F(EditTextLayout, EndEllipsisCutsTheLastRow)
{
  TLayoutBitmap b(10, 10);
  const int c = b.Extent("a"), dots = b.Extent("...");
  const int w = 8 * c;
  TLayoutBitmap cut(w + 20, 30), plain(w + 20, 30);
  RECT r{0, 0, w, 30};
  cxTextOut(cut.Canvas.get(), "abcdefghijkl", r, etfSingleLine | etfEndEllipsis);
  RECT r2{0, 0, w, 30};
  cxTextOut(plain.Canvas.get(), "abcdefghijkl", r2, etfSingleLine);
  const RECT ink = cut.BoundsNot(kWhite);
  EXPECT_LE(ink.right, w) << "the dots stay inside";
  EXPECT_GT(ink.right, w - c - dots / 3) << "the dots follow the characters that fit";
  EXPECT_NE(cut.CountNot(kWhite), plain.CountNot(kWhite));
  EXPECT_EQ(plain.BoundsNot(kWhite).right <= w, true) << "clipped to the rectangle";

  // A row limit on a multi-line text forces the ellipsis on the last row kept.
  TLayoutBitmap m(w + 20, 60);
  RECT r3{0, 0, w, 60};
  EXPECT_EQ(cxTextOut(m.Canvas.get(), "ab\ncd\nef", r3,
                      etfWordBreak | etfEndEllipsis | etfWholeRowsOnly | etfReturnRowCount, 2),
            2);
  TcxTextParams p;
  PrepareTextParams(m.DC, 0, p);
  EXPECT_GT(m.Ink(RECT{0, p.RowHeight, w + 20, 2 * p.RowHeight}).right, 2 * c + dots / 2) << "ab / cd...";
}

TEST_F(EditTextLayout, AnEllipsisFollowsItsTextWhateverTheAlignment)
{
  TLayoutBitmap probe(10, 10);
  const int c = probe.Extent("a"), dots = probe.Extent("...");
  const int w = 10 * c;
  TcxTextParams p;
  PrepareTextParams(probe.DC, 0, p);
  struct {
    int Align;
    int WantLeft;  // of the cut row's ink, text and dots together
  } cases[] = {
      {etfAlignLeft, 0},
      {etfAlignCenter, (w - 2 * c - dots) / 2},
      {etfAlignRight, w - 2 * c - dots},
  };
  for (auto& k : cases) {
    TLayoutBitmap b(w, 60);
    RECT r{0, 0, w, 60};
    cxTextOut(b.Canvas.get(), "ab\ncd\nef", r, k.Align | etfWordBreak | etfEndEllipsis | etfWholeRowsOnly, 2);
    const RECT ink = b.Ink(RECT{0, p.RowHeight, w, 2 * p.RowHeight});
    EXPECT_NEAR(ink.left, k.WantLeft, 2) << k.Align;
    EXPECT_NEAR(ink.right, k.WantLeft + 2 * c + dots, 3) << "the dots right after the text, " << k.Align;
  }
}

TEST_F(EditTextLayout, MeasuringASingleLineNeverWraps)
{
  TLayoutBitmap b(100, 40);
  const int w = b.Extent("合同 abc def");
  RECT r{5, 7, 25, 9};
  const int height = cxTextOut(b.Canvas.get(), "合同 abc def", r, etfCalcRect | etfSingleLine | etfWordBreak, 0, 2, 3);
  EXPECT_EQ(r.left, 5);
  EXPECT_EQ(r.right, 5 + 2 + w + 3);
  TcxTextParams p;
  PrepareTextParams(b.DC, 0, p);
  EXPECT_EQ(r.bottom - r.top, p.RowHeight);
  EXPECT_EQ(height, p.RowHeight);
  EXPECT_EQ(b.CountNot(kWhite), 0) << "measuring draws nothing";

  RECT m{0, 0, b.Extent("abc") + 1, 0};
  EXPECT_EQ(cxTextOut(b.Canvas.get(), "abc abc abc", m, etfCalcRect | etfWordBreak | etfReturnRowCount), 3);
  EXPECT_EQ(m.bottom, 3 * p.RowHeight);
}

TEST_F(EditTextLayout, SelectionBeyondTheTextIsIgnored)
{
  const COLORREF sel = Sys(clHighlight);
  struct {
    int Start, Length;
    bool Painted;
  } cases[] = {{20, 3, false}, {-1, 3, false}, {6, 3, false}, {1, 2, true}, {4, 50, true}};
  for (auto& k : cases) {
    TLayoutBitmap b(120, 20);
    RECT r{0, 0, 120, 20};
    cxTextOut(b.Canvas.get(), "合同ab", r, etfSingleLine, k.Start, k.Length, clHighlight, clHighlightText);
    EXPECT_EQ(b.Count(RECT{0, 0, 120, 20}, sel, 1) > 0, k.Painted) << k.Start << "," << k.Length;
    if (k.Painted) {
      EXPECT_LE(b.Ink(RECT{0, 0, 120, 20}).right, b.Extent("合同ab") + 1) << "never past the text";
    }
  }
  // A selection starting inside a double-byte character covers the whole character.
  TLayoutBitmap half(120, 20);
  RECT r{0, 0, 120, 20};
  cxTextOut(half.Canvas.get(), "合同", r, etfSingleLine, 1, 1, clHighlight, clHighlightText);
  const RECT painted = half.Ink(RECT{0, 0, 120, 20});
  EXPECT_EQ(painted.left, 0);
  EXPECT_GE(painted.right, half.Extent("合") - 1);
}

TEST_F(EditTextLayout, TextContentSize)
{
  TLayoutBitmap b(10, 10);
  const int c = b.Extent("a"), h = b.Canvas->TextHeight("Zg");
  struct {
    const char* Text;
    int Flags;
    int Limit, MaxLines;
    bool Inplace, EmptyNoHeight, AddExtra;
    SIZE Want;
  } cases[] = {
      {"abc", etfSingleLine, -1, 0, false, false, false, {3 * c, h + 4}},
      {"abc", etfSingleLine, -1, 0, false, false, true, {3 * c + 3, h + 4}},
      {"", etfSingleLine, -1, 0, true, false, false, {0, h + 2}},
      {"ab\nabcd", etfWordBreak, -1, 0, false, false, false, {4 * c, h + 4}},
      {"ab\nabcd", etfWordBreak, -1, 1, false, false, false, {2 * c, h + 4}},
      {"abcd abcd", etfSingleLine, 4 * c + 2, 0, true, false, false, {4 * c + 2, 2 * h + 2}},
      {"abcd abcd abcd", etfSingleLine, 4 * c + 2, 2, true, false, false, {4 * c + 2, 2 * h + 2}},
      {"", etfSingleLine, 50, 0, false, true, false, {50, 0}},
      {"", etfSingleLine, 50, 0, false, false, false, {50, h + 4}},
      {"abc", etfSingleLine, 2, 0, true, true, false, {0, h + 2}},
      {"", etfSingleLine, 2, 0, true, true, false, {0, 0}},
  };
  for (auto& k : cases) {
    cxEditUtils::TcxTextContentSizeParams p;
    p.IsInplace = k.Inplace;
    p.EmptyTextNoHeight = k.EmptyNoHeight;
    p.WidthLimit = k.Limit;
    p.MaxLineCount = k.MaxLines;
    const SIZE s = cxEditUtils::CalculateTextContentSize(b.Canvas.get(), p, k.Text, k.Flags, k.AddExtra);
    EXPECT_EQ(s.cx, k.Want.cx) << k.Text << " / " << k.Limit;
    EXPECT_EQ(s.cy, k.Want.cy) << k.Text << " / " << k.Limit;
  }
}

TEST_F(EditTextLayout, SingleLineTextThatWrapsIsDrawnMultiLine)
{
  TLayoutBitmap b(10, 10);
  const int c = b.Extent("a"), h = b.Canvas->TextHeight("Zg");
  const int single = etfSingleLine | etfAlignVCenter;
  const RECT none{};
  struct {
    const char* Text;
    int Height;
    int Want;
  } cases[] = {
      {"abc", 3 * h, single},
      {"abcd abcd", 3 * h, etfAlignVCenter | etfWordBreak | etfWholeRowsOnly},
      {"abcd abcd", h, etfWordBreak | etfWholeRowsOnly},
  };
  for (auto& k : cases)
    EXPECT_EQ(cxEditUtils::CalculateMultiLineTextFlags(b.Canvas.get(), b.Canvas->GetFont(), k.Text, single,
                                                       RECT{0, 0, 4 * c + 3, k.Height}, none, SIZE{3, 4}, none,
                                                       taLeftJustify),
              k.Want)
        << k.Text << " in " << k.Height;
}

// A picture for people to look at: each case drawn in its framed rectangle.
TEST_F(EditTextLayout, PictureOfTheLayouts)
{
  struct {
    const char* Text;
    int Flags;
    int MaxLines, SelStart, SelLength;
  } cases[] = {
      {"合同编号 HT-2024 甲方乙方签订的付款条件 monthly settlement", etfWordBreak, 0, 0, 0},
      {"合同编号 HT-2024 甲方乙方签订的付款条件 monthly settlement", etfWordBreak | etfAlignCenter, 0, 5, 9},
      {"aa bb cc dd ee ff gg\r\n合同 付款 结算 备注", etfAlignJustify, 0, 0, 0},
      {"aa bb cc dd ee ff gg\r\n合同 付款 结算 备注", etfAlignDistribute, 0, 0, 0},
      {"第一行\r\n第二行\r\n第三行", etfAlignVDistribute | etfWordBreak | etfAlignRight, 0, 0, 0},
      {"很长的一段文字 that does not fit in one row at all", etfSingleLine | etfEndEllipsis, 0, 0, 0},
      {"甲乙丙丁戊己庚辛壬癸子丑寅卯辰巳午未申酉", etfWordBreak | etfEndEllipsis | etfWholeRowsOnly, 2, 0, 0},
      {"tab\tstops\tand\tmore\r\n合同\t金额", etfExpandTabs | etfWordBreak, 0, 0, 0},
  };
  constexpr int w = 150, h = 70;
  TLayoutBitmap page(8 + 4 * (w + 8), 8 + 2 * (h + 8));
  page.Canvas->GetFont()->SetName("宋体");
  page.Canvas->GetFont()->SetHeight(-12);
  for (int i = 0; i < 8; ++i) {
    const int x = 8 + (i % 4) * (w + 8), y = 8 + (i / 4) * (h + 8);
    page.Canvas->FrameRect(RECT{x - 1, y - 1, x + w + 1, y + h + 1}, clBtnShadow);
    RECT r{x, y, x + w, y + h};
    cxTextOut(page.Canvas.get(), cases[i].Text, r, cases[i].Flags, cases[i].SelStart, cases[i].SelLength, clHighlight,
              clHighlightText, cases[i].MaxLines);
    EXPECT_FALSE(cxGraphics::IsRectEmpty(page.Ink(RECT{x, y, x + w, y + h}))) << i;
    EXPECT_TRUE(cxGraphics::IsRectEmpty(page.Ink(RECT{x + w + 1, y, x + w + 7, y + h}))) << "nothing spills " << i;
  }
  WritePng(page, std::string(PELTO_TEST_OUTPUT) + "/cx-edit-text-layout.png");
}

}  // namespace EditTextLayoutTests
