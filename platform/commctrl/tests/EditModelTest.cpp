#include <gtest/gtest.h>

#include <random>

#include "platform/commctrl/edit/EditModel.h"

namespace {

// A font where ASCII is 7 pixels, a double-byte character 12 and a tab stop 28.
class FixedMeasurer : public EditMeasurer {
public:
  int CharWidth(unsigned ch) override { return ch > 0xFF ? 12 : 7; }
  int TabWidth() override { return 28; }
};

// The lines the model keeps after its edits must be those a fresh layout of the same text gives.
void ExpectSameLinesAsFresh(const EditModel& m, EditMeasurer* measurer, const std::string& context)
{
  EditModel fresh(m.MultiLine());
  fresh.SetMeasurer(measurer);
  fresh.SetWrapWidth(m.WrapWidth());
  fresh.SetText(m.Text());
  ASSERT_EQ(m.LineCount(), fresh.LineCount()) << context;
  for (int i = 0; i < m.LineCount(); ++i) {
    const auto &a = m.LineAt(i), &b = fresh.LineAt(i);
    ASSERT_TRUE(a.start == b.start && a.end == b.end && a.next == b.next && a.width == b.width)
        << context << " line " << i << ": " << a.start << "," << a.end << "," << a.next << "," << a.width << " vs "
        << b.start << "," << b.end << "," << b.next << "," << b.width;
  }
}

}  // namespace

TEST(EditModel, StoresNeitherLoneLeadBytesNorNul)
{
  struct Case {
    std::string in, stored;
  } cases[] = {
      {std::string("ab\0c", 4), "abc"},
      {"\xB0", ""},  // a lead byte alone at the end
      {"a\xB0"
       "b",
       "a\xB0"
       "b"},  // 'b' is a trail byte: one character
      {"a\xB0\x0D"
       "b",
       "a\rb"},  // CR is no trail: the lead goes
      {"\xBA\xCF\xCD\xAC", "\xBA\xCF\xCD\xAC"},
      {"\x80\xFF", "\x80\xFF"},  // single bytes
  };
  for (auto& c : cases) {
    EditModel m(true);
    m.SetText(c.in);
    EXPECT_EQ(m.Text(), c.stored);
    m.SetText("");
    m.ReplaceSel(c.in);
    EXPECT_EQ(m.Text(), c.stored);
  }
}

TEST(EditModel, LimitCountsCharactersAndCutsAtABoundary)
{
  EditModel m;
  m.SetLimit(3);
  auto r = m.ReplaceSel(
      "\xBA\xCF"
      "a\xCD\xAC"
      "b");  // 合a同b
  EXPECT_TRUE(r.truncated);
  EXPECT_EQ(m.Text(),
            "\xBA\xCF"
            "a\xCD\xAC");
  EXPECT_EQ(m.CharCount(), 3);
  bool refused = false;
  r = m.TypeByte(0xBA, &refused);
  EXPECT_FALSE(r.changed);
  r = m.TypeByte(0xCF, &refused);
  EXPECT_TRUE(r.truncated);
  EXPECT_FALSE(r.changed);
  // Replacing a double-byte character by one letter stays within the limit.
  m.SetSel(0, 2);
  r = m.ReplaceSel("x");
  EXPECT_FALSE(r.truncated);
  EXPECT_EQ(m.Text(), "xa\xCD\xAC");
  // SetText is not limited.
  m.SetText("abcdef");
  EXPECT_EQ(m.Length(), 6);
}

TEST(EditModel, CaretAndSelectionStayOnCharacterBoundaries)
{
  EditModel m;
  m.SetText(
      "a\xBA\xCF\xCD\xAC"
      "b");        // a合同b
  m.SetSel(2, 4);  // inside 合 and inside 同
  EXPECT_EQ(m.SelStart(), 1);
  EXPECT_EQ(m.SelEnd(), 3);
  m.SetSel(0x7FFFFFFF, -1);
  EXPECT_EQ(m.SelStart(), 6);
  EXPECT_FALSE(m.HasSelection());
  EXPECT_EQ(m.PrevChar(6), 5);
  EXPECT_EQ(m.PrevChar(5), 3);
  EXPECT_EQ(m.PrevChar(3), 1);
  EXPECT_EQ(m.NextChar(1), 3);
  EXPECT_EQ(m.Prefix(4), "a\xBA\xCF");
  // A trail byte that looks like ASCII is no boundary.
  m.SetText(
      "\xB0"
      "a\xB0"
      "b");
  EXPECT_EQ(m.Boundary(1), 0);
  EXPECT_EQ(m.Boundary(3), 2);
}

TEST(EditModel, WordsOfLettersAndOfDoubleByteCharacters)
{
  EditModel m(true);
  m.SetText("ab cd\xBA\xCF\xCD\xAC  ef\r\ngh");  // "ab cd合同  ef\r\ngh"
  struct Case {
    int pos, start, end;
  } words[] = {{0, 0, 2}, {1, 0, 2}, {2, 0, 2}, {3, 3, 5}, {5, 5, 9}, {6, 5, 9}, {13, 11, 13}, {15, 15, 17}};
  for (auto& w : words) {
    int s, e;
    m.WordAt(w.pos, &s, &e);
    EXPECT_EQ(s, w.start) << w.pos;
    EXPECT_EQ(e, w.end) << w.pos;
  }
  EXPECT_EQ(m.NextWord(0), 3);
  EXPECT_EQ(m.NextWord(3), 5);
  EXPECT_EQ(m.NextWord(5), 11);
  EXPECT_EQ(m.NextWord(13), 15);
  EXPECT_EQ(m.PrevWord(15), 13);
  EXPECT_EQ(m.PrevWord(11), 5);
  EXPECT_EQ(m.PrevWord(5), 3);
  // Backspace over CR LF takes both.
  m.SetSel(15, 15);
  m.DeleteBack();
  EXPECT_EQ(m.Text(), "ab cd\xBA\xCF\xCD\xAC  efgh");
}

TEST(EditModel, TypingIsOneUndoStepAndUndoingTwiceRedoes)
{
  EditModel m;
  m.SetText("xy");
  m.SetSel(1, 1);
  for (unsigned char c : std::string("ab\xBA\xCF")) m.TypeByte(c);
  EXPECT_EQ(m.Text(), "xab\xBA\xCFy");
  ASSERT_TRUE(m.CanUndo());
  EXPECT_TRUE(m.Undo());
  EXPECT_EQ(m.Text(), "xy");
  EXPECT_TRUE(m.Undo());
  EXPECT_EQ(m.Text(), "xab\xBA\xCFy");
  m.SetSel(0, 3);
  m.ReplaceSel("Q");
  EXPECT_TRUE(m.Undo());
  EXPECT_EQ(m.Text(), "xab\xBA\xCFy");
  EXPECT_EQ(m.SelStart(), 0);
  EXPECT_EQ(m.SelEnd(), 3);
  m.ReplaceSel("Z", false);
  EXPECT_FALSE(m.CanUndo());
}

TEST(EditModel, WrapsAfterBlanksAndBetweenDoubleByteCharacters)
{
  FixedMeasurer fm;
  EditModel m(true);
  m.SetMeasurer(&fm);
  m.SetWrapWidth(50);  // 7 letters, or 4 double-byte characters
  m.SetText("abc defgh ijklmnopqrs\r\n\xBA\xCF\xCD\xAC\xBA\xCF\xCD\xAC\xBA\xCF");
  std::vector<std::string> lines;
  for (int i = 0; i < m.LineCount(); ++i) {
    auto l = m.LineAt(i);
    lines.push_back(m.Text().substr(size_t(l.start), size_t(l.end - l.start)));
  }
  std::vector<std::string> want = {"abc ", "defgh ", "ijklmno", "pqrs", "\xBA\xCF\xCD\xAC\xBA\xCF\xCD\xAC", "\xBA\xCF"};
  EXPECT_EQ(lines, want);
}

TEST(EditModel, LineIndexAfterEditsEqualsAFreshLayout)
{
  FixedMeasurer fm;
  for (int wrap : {0, 60}) {
    EditModel m(true);
    m.SetMeasurer(&fm);
    m.SetWrapWidth(wrap);
    m.SetText("one two three\r\nfour\rfive\nsix \xBA\xCF\xCD\xAC\xBA\xCF seven eight nine ten\r\n");
    std::mt19937 rng(wrap + 7);
    const char* pieces[] = {"a", " ", "\r\n", "\r", "\n", "\xBA\xCF", "word ", "\t", "xxxxxxxxxxxxxxxxxxxx"};
    for (int step = 0; step < 1500; ++step) {
      int n = m.Length();
      int a = int(rng() % unsigned(n + 1)), b = int(rng() % unsigned(n + 1));
      if (rng() % 3) a = b = m.Caret();  // mostly go on where the last edit was
      m.SetSel(a, b);
      switch (rng() % 5) {
        case 4:
          for (unsigned char c : std::string(pieces[rng() % std::size(pieces)])) m.TypeByte(c);
          break;
        case 0: m.ReplaceSel(pieces[rng() % std::size(pieces)]); break;
        case 1: m.DeleteBack(); break;
        case 2: m.DeleteForward(); break;
        default: m.Undo(); break;
      }
      ExpectSameLinesAsFresh(m, &fm, "wrap " + std::to_string(wrap) + " step " + std::to_string(step));
      if (HasFatalFailure()) return;
    }
  }
}
