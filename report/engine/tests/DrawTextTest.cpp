// Text layout: tags, word wrap over Latin and Chinese, measures, what fits, and drawing with
// colours, justification and rotation on a bitmap.
#include <gtest/gtest.h>

#include <algorithm>

#include "platform/rtl/AnsiStrings.h"
#include "platform/gdi/dc/DeviceContext.h"
#include "platform/gdi/dc/GdiObjects.h"
#include "platform/gdi/draw/Shapes.h"
#include "platform/gdi/image/Bitmaps.h"
#include "platform/testsupport/PixelCanvas.h"
#include "report/engine/text/frxGraphicUtils.h"

namespace {

class DrawText : public testing::Test {
protected:
  void SetUp() override
  {
    Font.SetName("Arial");
    Font.SetSize(10);
    Font.SetColor(0);
    T.SetFont(&Font);
    T.SetOptions(true, true, 0, false, false);
    T.SetGaps(0, 0, 0);
  }
  void Layout(const AnsiString& Text, int Width, int Height = 1000)
  {
    RECT r{0, 0, Width, Height};
    T.SetDimensions(1, 1, r, r);
    TStringList lines;
    lines.SetText(Text);
    T.SetText(&lines);
  }
  // The width that just holds Text on one line.
  int WidthOf(const AnsiString& Text)
  {
    Layout(Text, 10000);
    return static_cast<int>(T.CalcWidth()) + 1;
  }
  std::vector<AnsiString> Lines() const
  {
    std::vector<AnsiString> out;
    for (Integer i = 0; i < T.GetLineCount(); ++i) out.push_back(T.GetLine(i));
    return out;
  }

  TFont Font;
  TfrxDrawText T;
};

// Every laid-out line must consist of whole CP936 characters.
bool WholeCharacters(const AnsiString& s)
{
  size_t i = 0;
  while (i < s.size()) i = System::IsLeadByte(s[i]) ? i + 2 : i + 1;
  return i == s.size();
}

}  // namespace

TEST_F(DrawText, BreaksLines)
{
  // Width: the text that just fits a line, or a number of pixels.
  struct Case {
    const char* Text;
    const char* WidthOf;
    int Width;
    std::vector<AnsiString> Expected;
  } cases[] = {
      {"short line", nullptr, 300, {"short line"}},
      {"aaa bbb ccc", "aaa bbb", 0, {"aaa bbb", "ccc"}},  // the blank at the break goes
      {"aaa bbb ccc", "aaa bb", 0, {"aaa", "bbb", "ccc"}},
      {"aaaaaaaaaaaaaaaaaaaa", "aaaaaaa", 0, {"aaaaaaa", "aaaaaaa", "aaaaaa"}},  // cut per character
      {"first\nsecond", nullptr, 300, {"first", "second"}},
      {"<b>bold</b> <i>x</i>", nullptr, 300, {"bold x"}},
      {"xx <b>bbbb</b>", "xx bbbb", 0, {"xx", "bbbb"}},  // bold letters are wider
      {"W", nullptr, 2, {"W"}},                          // one character wider than the line
  };
  for (auto& c : cases) {
    Layout(c.Text, c.WidthOf ? WidthOf(c.WidthOf) : c.Width);
    EXPECT_EQ(Lines(), c.Expected) << c.Text;
  }
}

TEST_F(DrawText, ChineseAndMixedTextBreakBetweenWholeCharacters)
{
  for (int width : {15, 20, 27, 40, 53}) {
    Layout("合同管理系统报表，金额 1234.56 元，contract 合同号 HT-2026-001", width);
    ASSERT_GT(T.GetLineCount(), 1) << width;
    AnsiString joined;
    for (auto& l : Lines()) {
      EXPECT_TRUE(WholeCharacters(l)) << width;
      joined += l;
    }
    // Nothing but the blanks at the breaks is lost.
    AnsiString noBlanks;
    for (char c : AnsiString("合同管理系统报表，金额 1234.56 元，contract 合同号 HT-2026-001"))
      if (c != ' ') noBlanks += c;
    joined.erase(std::remove(joined.begin(), joined.end(), ' '), joined.end());
    EXPECT_EQ(joined, noBlanks) << width;
  }
  Layout("合同管理系统", 30);  // two 10-point ideographs fit 30 pixels, three do not
  EXPECT_EQ(Lines(), (std::vector<AnsiString>{"合同", "管理", "系统"}));
}

TEST_F(DrawText, ParagraphFlagsHeightAndWidth)
{
  Layout("aaa bbb ccc\n\nx", WidthOf("aaa bbb"));
  ASSERT_EQ(T.GetLineCount(), 4);
  EXPECT_EQ(T.GetLineFlags(0), 1);
  EXPECT_EQ(T.GetLineFlags(1), 2);
  EXPECT_EQ(T.GetLineFlags(2), 3);  // an empty line is a paragraph of its own
  EXPECT_EQ(T.GetLineFlags(3), 3);
  EXPECT_DOUBLE_EQ(T.LineHeight(), 83 / 6.25);  // 10 points at 600 dpi, in screen pixels
  EXPECT_DOUBLE_EQ(T.CalcHeight(), 4 * T.LineHeight());
  EXPECT_LE(T.CalcWidth(), WidthOf("aaa bbb"));
  T.SetGaps(0, 0, 2);
  EXPECT_DOUBLE_EQ(T.LineHeight(), 83 / 6.25 + 2);
}

TEST_F(DrawText, LongLinesGrowInsteadOfOverflowing)
{
  AnsiString longLine;
  for (int i = 0; i < 3000; ++i) longLine += "合同 ";  // 15000 bytes
  Layout(longLine, 200);
  EXPECT_GT(T.GetLineCount(), 100);
  for (auto& l : Lines()) ASSERT_TRUE(WholeCharacters(l));
  T.SetOptions(false, false, 0, false, false);
  Layout(longLine, 200);
  EXPECT_EQ(T.GetLineCount(), 1);
}

TEST(TextTags, StylesColoursAndRemoval)
{
  TfrxHTMLTagsList list;
  list.SetDefaults(0, 12, 0);
  TfrxHTMLTags tags;
  EXPECT_EQ(list.ExpandLine("a<b>bold</b>c", tags), "aboldc");
  ASSERT_EQ(tags.size(), 6u);
  EXPECT_EQ(tags[0].StyleBits, 0);
  EXPECT_EQ(tags[1].StyleBits, 1);
  EXPECT_FALSE(tags[1].SameAsPrevious);
  EXPECT_TRUE(tags[2].SameAsPrevious);
  EXPECT_EQ(tags[5].StyleBits, 0);
  EXPECT_EQ(tags[5].CharPos, 12);

  struct Case {
    const char* Line;
    const char* Visible;
    TColor Color;
  } colours[] = {
      {"<font color=\"#FF0000\">x</font>", "x", 0x0000FF},
      {"<FONT COLOR=Blue>x", "x", 0xFF0000},
      {"<font color= green>x", "x", 0x008000},
      {"<font color=Nope>x", "<font color=Nope>x", 0},  // no such colour: stays text
      {"a < b", "a < b", 0},
  };
  for (auto& c : colours) {
    list.Reset();
    EXPECT_EQ(list.ExpandLine(c.Line, tags), c.Visible) << c.Line;
    EXPECT_EQ(tags.back().TextColor, c.Color) << c.Line;
  }
  list.Reset();
  EXPECT_EQ(list.ExpandLine("H<sub>2</sub>O<sup>3</sup><strike>s</strike>", tags), "H2O3s");
  EXPECT_EQ(tags[1].Lowered, 1);
  EXPECT_EQ(tags[1].PointSize, 8);
  EXPECT_TRUE(tags[1].Reduced);
  EXPECT_EQ(tags[3].Lowered, 0);
  EXPECT_EQ(tags[3].PointSize, 8);
  EXPECT_EQ(tags[4].StyleBits, 8);

  TfrxDrawText t;
  EXPECT_EQ(t.RemoveTags("<b>合同</b> <u>金额</u>\r\n<i>x</i>"), "合同 金额\r\nx");
}

TEST_F(DrawText, RemainingTextCarriesItsTags)
{
  // Three lines ("aaa bbb", then the wider bold words one by one), room for one.
  int width = WidthOf("aaa bbb");
  Layout("aaa bbb <font color=\"#00FF00\"><b>ccc ddd</b>\nnext", width, static_cast<int>(83 / 6.25));
  ASSERT_EQ(T.GetLineCount(), 4);
  EXPECT_EQ(T.GetRemainingText(), "<font color=\"#00FF00\"><b>ccc ddd</b>\r\nnext");
  EXPECT_EQ(T.GetLineCount(), 1);
  EXPECT_EQ(T.GetRemainingText(), "");
  EXPECT_GT(T.UnusedSpace(), 0);
}

TEST_F(DrawText, SplitTextKeepsItsTagsOnBothSides)
{
  struct Case {
    const char* Text;
    const char* WidthOf;  // the layout width: what just fits one line
    bool WordBreak;
    int Keep;          // lines that fit
    const char* Kept;  // GetText after the split
    const char* Rest;  // GetRemainingText
  } cases[] = {
      // The blank at each break is dropped; tags before the next line's first character stay behind.
      {"<b>aaa bbb</b> <font color=\"#FF0000\">ccc</font>", "<b>bbb</b>", false, 2,
       "<b>aaa\r\nbbb</b><font color=\"#FF0000\">\r\n", "<font color=\"#FF0000\">ccc</font>"},
      {"<b>合同</b>\r\n<i>管理</i>\r\nx", "<b>合同管理</b>", false, 1, "<b>合同</b>\r\n",
       "<font color=\"#000000\"><i>管理</i>\r\nx"},
      {"<strike>aaa <sub>bbb</sub></strike>", "<strike>aaa</strike>", false, 1, "<strike>aaa<sub>\r\n",
       "<font color=\"#000000\"><strike><sub>bbb</sub></strike>"},
      {"<u>ПРОГРАММА</u>", "<u>ПРОГРАМ-</u>", true, 1, "<u>ПРОГРАМ-\r\n", "<font color=\"#000000\"><u>МА</u>"},
  };
  const int oneLine = static_cast<int>(83 / 6.25);
  for (auto& c : cases) {
    T.SetOptions(true, true, 0, false, false);
    int width = WidthOf(c.WidthOf);
    T.SetOptions(true, true, 0, c.WordBreak, false);
    Layout(c.Text, width, c.Keep * oneLine);
    AnsiString rest = T.GetRemainingText();
    std::vector<AnsiString> kept = Lines();
    EXPECT_EQ(T.GetText(), c.Kept) << c.Text;
    EXPECT_EQ(rest, c.Rest) << c.Text;
    // Laid out again at the same width, the kept text gives the same lines.
    AnsiString again = T.GetText();
    Layout(again, width);
    EXPECT_EQ(Lines(), kept) << c.Text;
  }
}

TEST_F(DrawText, DrawsColoursAndBoldOnABitmap)
{
  TPixelCanvas c(200, 40);
  RECT r{10, 10, 190, 35};
  T.SetDimensions(1, 1, RECT{0, 0, 180, 25}, r);
  TStringList lines;
  lines.SetText("<font color=\"#FF0000\">RED</font> <b>BOLD</b> thin");
  T.SetText(&lines);
  T.DrawText(c.DC, haLeft, vaTop);
  RECT ink = c.Ink({0, 0, 200, 40});
  EXPECT_GE(ink.left, 10);
  EXPECT_GE(ink.top, 10);
  EXPECT_LE(ink.right, 190);
  EXPECT_GT(c.Count({10, 10, 40, 35}, RGB(255, 0, 0)), 5);  // the red word
  EXPECT_EQ(c.Count({60, 10, 190, 35}, RGB(255, 0, 0)), 0);
  // Bold strokes are wider: more ink per letter than the same word unbolded.
  TPixelCanvas plain(200, 40);
  lines.SetText("BOLD");
  T.SetText(&lines);
  T.DrawText(plain.DC, haLeft, vaTop);
  TPixelCanvas bold(200, 40);
  lines.SetText("<b>BOLD</b>");
  T.SetText(&lines);
  T.DrawText(bold.DC, haLeft, vaTop);
  EXPECT_GT(bold.Count({0, 0, 200, 40}, 0), plain.Count({0, 0, 200, 40}, 0));
}

TEST_F(DrawText, AlignsJustifiesAndRotates)
{
  auto draw = [&](const char* text, TfrxHAlign h, TfrxVAlign v, int rotation, TPixelCanvas& c, RECT r) {
    T.SetOptions(true, true, rotation, false, false);
    RECT layout{0, 0, r.right - r.left, r.bottom - r.top};
    T.SetDimensions(1, 1, layout, r);
    TStringList lines;
    lines.SetText(text);
    T.SetText(&lines);
    T.DrawText(c.DC, h, v);
  };
  const RECT box{10, 10, 110, 110};
  TPixelCanvas right(120, 120);
  draw("abc", haRight, vaBottom, 0, right, box);
  RECT ink = right.Ink({0, 0, 120, 120});
  EXPECT_GE(ink.right, 105);
  EXPECT_LE(ink.right, 111);
  EXPECT_GE(ink.bottom, 100);

  TPixelCanvas centre(120, 120);
  draw("abc", haCenter, vaCenter, 0, centre, box);
  ink = centre.Ink({0, 0, 120, 120});
  EXPECT_NEAR((ink.left + ink.right) / 2.0, 60, 3);
  EXPECT_NEAR((ink.top + ink.bottom) / 2.0, 60, 6);

  // Justified: the first line reaches the right edge, the last line stays short.
  TPixelCanvas block(120, 120);
  draw("aa bb cc dd ee ff gg hh ii jj", haBlock, vaTop, 0, block, box);
  ASSERT_GE(T.GetLineCount(), 2);
  RECT first = block.Ink({0, 10, 120, 22});
  RECT last = block.Ink({0, 10 + 13 * (T.GetLineCount() - 1), 120, 10 + 13 * T.GetLineCount()});
  EXPECT_GE(first.right, 106);
  EXPECT_LT(last.right, first.right - 10);

  // Rotated by 90 degrees the text runs upward from the bottom-left corner.
  TPixelCanvas up(120, 120);
  draw("abcdef", haLeft, vaTop, 90, up, box);
  ink = up.Ink({0, 0, 120, 120});
  EXPECT_GE(ink.left, 10);
  EXPECT_LE(ink.right, 30);                                     // one line high
  EXPECT_GE(ink.bottom, 100);                                   // starts at the bottom
  EXPECT_GT(ink.bottom - ink.top, 2 * (ink.right - ink.left));  // and is taller than wide
}

TEST_F(DrawText, DrawnWidthFollowsTheMeasuredWidthAtAnyScale)
{
  // The device's own glyph widths do not scale exactly; the layout's ideal width does.
  Layout("Invoice total: 1234.56", 1000, 20);
  int ideal = static_cast<int>(T.CalcWidth());
  for (Extended scale : {1.0, 2.5, 4.0}) {
    int w = static_cast<int>(300 * scale), h = static_cast<int>(30 * scale);
    TPixelCanvas c(w, h);
    T.SetDimensions(scale, scale, RECT{0, 0, 300, 30}, RECT{0, 0, w, h});
    TStringList lines;
    lines.SetText("Invoice total: 1234.56");
    T.SetText(&lines);
    T.DrawText(c.DC, haRight, vaTop);
    RECT ink = c.Ink({0, 0, w, h});
    EXPECT_NEAR(ink.right - ink.left, ideal * scale, 3 * scale) << scale;
    EXPECT_GE(ink.right, w - 2 * scale) << scale;
  }
}

TEST_F(DrawText, WordBreakHyphenatesRussianWordsAtSyllables)
{
  struct Case {
    const char* Text;
    const char* WidthOf;
    std::vector<AnsiString> Expected;
  } cases[] = {
      {"ПРОГРАММА", "ПРОГРАМ-", {"ПРОГРАМ-", "МА"}},  // not between the doubled М before a vowel
      {"ПРОГРАММА", "ПРОГРА-", {"ПРОГ-", "РАММА"}},
      {"в программа", "в прогр-", {"в прог-", "рамма"}},  // the word after the blank, lower case
      {"abcdefgh", "abcd", {"abcd", "efgh"}},             // other words are cut, not hyphenated
  };
  for (auto& c : cases) {
    T.SetOptions(true, false, 0, false, false);
    int width = WidthOf(c.WidthOf);
    T.SetOptions(true, false, 0, true, false);
    Layout(c.Text, width);
    EXPECT_EQ(Lines(), c.Expected) << c.Text;
  }
}
