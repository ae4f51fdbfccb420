// The text of an EDIT window without the window: CP936 bytes with their character boundaries,
// the selection and caret, one-level undo, the text limit, and the line index with word wrap.
// The window procedure (edit/Edit.cpp) turns messages into calls here and paints what this
// holds; tests and the fuzz target drive it directly.
//
// Positions are byte indexes into the text, as the EDIT messages count them. The model keeps
// these promises whatever it is given:
//   - the text is valid CP936: every lead byte (0x81..0xFE) is followed by a trail byte
//     (0x40..0x7E, 0x80..0xFE); a lone lead byte and NUL are never stored;
//   - the caret and both selection ends lie on character boundaries;
//   - the limit counts characters (a double-byte character once) and applies to what the user
//     adds (typing, pasting, replacing the selection), never to SetText or Undo.
//
// Lines: a multi-line model breaks at "\r\n", "\n" or "\r", and, with word wrap, wherever a
// line is wider than the wrap width (after the blanks that end a word; inside a word that
// alone is too wide; between any two double-byte characters). The line index is updated
// around each change, so typing into a large text costs what its neighbourhood costs.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Widths for wrapping and placing the caret: the window's font, or a fixed width in tests.
class EditMeasurer {
public:
  virtual ~EditMeasurer() = default;
  // The advance of one character: a single byte, or (lead << 8) | trail. Never negative.
  virtual int CharWidth(unsigned ch) = 0;
  // The distance between tab stops (a tab advances to the next multiple of it from the line's
  // left edge).
  virtual int TabWidth() = 0;
};

class EditModel {
public:
  enum class Case { Normal, Upper, Lower };
  enum class Align { Left, Center, Right };
  struct Line {
    int start = 0;  // first byte
    int end = 0;    // end of the visible text (before a line break)
    int next = 0;   // where the next line starts (after the line break)
    int width = 0;  // pixels
  };

  explicit EditModel(bool multiLine = false);

  // ---- Settings -------------------------------------------------------------------------------
  bool MultiLine() const { return FMultiLine; }
  // The measurer is borrowed; null measures every character as 1 and a tab as 8. Re-lays out.
  void SetMeasurer(EditMeasurer* m);
  // Word wrap at `width` pixels (multi-line only); 0 turns wrapping off. Re-lays out.
  void SetWrapWidth(int width);
  int WrapWidth() const { return FWrapWidth; }
  // Password mode: every character shows (and measures) as `ch`; 0 turns it off.
  void SetPasswordChar(char ch);
  char PasswordChar() const { return FPasswordChar; }
  void SetCase(Case c) { FCase = c; }
  void SetNumberOnly(bool on) { FNumberOnly = on; }
  void SetAlign(Align a) { FAlign = a; }
  Align Alignment() const { return FAlign; }
  // Characters; values <= 0 mean no limit (0x7FFFFFFE characters).
  void SetLimit(int chars);
  int Limit() const { return FLimit; }

  // ---- Text ---------------------------------------------------------------------------------
  const std::string& Text() const { return FText; }
  int Length() const { return int(FText.size()); }
  int CharCount() const { return FChars; }
  // Replaces the whole text (no limit), puts the caret at the start, forgets undo. Answers
  // whether the text changed. A single-line model keeps line breaks as they come.
  bool SetText(const std::string& text);
  // Copies at most `maxBytes` bytes from the start without splitting a character.
  std::string Prefix(int maxBytes) const;
  bool Modified() const { return FModified; }
  void SetModified(bool on) { FModified = on; }

  // ---- Selection and caret ----------------------------------------------------------------------
  int SelStart() const { return FAnchor < FCaret ? FAnchor : FCaret; }
  int SelEnd() const { return FAnchor < FCaret ? FCaret : FAnchor; }
  int Caret() const { return FCaret; }
  int Anchor() const { return FAnchor; }
  bool HasSelection() const { return FAnchor != FCaret; }
  std::string SelectedText() const { return FText.substr(size_t(SelStart()), size_t(SelEnd() - SelStart())); }
  // The classic EM_SETSEL: start -1 removes the selection (the caret stays); an end below 0 or
  // past the text means the end; positions inside a character move to its start. The caret
  // goes to `end`.
  void SetSel(int start, int end);
  // Moves the caret; with `extend` the anchor stays, else the selection collapses there.
  void MoveCaret(int pos, bool extend);
  void SelectAll() { SetSel(0, -1); }

  // ---- Editing ------------------------------------------------------------------------------
  struct Result {
    bool changed = false;    // the text is different
    bool truncated = false;  // the limit cut what was to be inserted
  };
  // Replaces the selection with `text`: invalid bytes dropped, the case applied, a single-line
  // model keeps only what comes before the first line break, and the limit cuts it at a
  // character boundary. `undoable` false forgets the undo step instead of recording it.
  Result ReplaceSel(const std::string& text, bool undoable = true);
  // A typed byte (WM_CHAR). A lead byte waits for its trail byte and answers no change; the
  // pair is then typed as one character (a byte that is no trail drops the waiting lead and is
  // typed alone). Control characters and, in number-only mode, anything but digits are
  // refused (`refused` set, for a beep). Consecutive typing is one undo step.
  Result TypeByte(unsigned char byte, bool* refused = nullptr);
  bool PendingLead() const { return FPendingLead != 0; }
  void DropPendingLead() { FPendingLead = 0; }
  // Backspace / Delete: the selection when there is one, else the character before / after
  // the caret.
  Result DeleteBack();
  Result DeleteForward();
  Result Clear() { return HasSelection() ? ReplaceSel(std::string()) : Result{}; }
  bool CanUndo() const { return FUndo.valid; }
  // Puts back the text of the last undo step (and makes undoing that the next step). Answers
  // whether the text changed.
  bool Undo();
  void EmptyUndo() { FUndo = {}; }
  // Grows by one each time a new undo step starts (tests and the fuzz target follow it).
  std::uint64_t UndoSerial() const { return FUndoSerial; }

  // ---- Characters and words ---------------------------------------------------------------
  // The start of the character before `pos` (0 at 0) and after it (Length at the end).
  int PrevChar(int pos) const;
  int NextChar(int pos) const;
  // The character boundary at or before `pos`.
  int Boundary(int pos) const;
  // Word moves (Ctrl+Left / Ctrl+Right) and the word under a position (double click).
  int PrevWord(int pos) const;
  int NextWord(int pos) const;
  void WordAt(int pos, int* start, int* end) const;

  // ---- Lines --------------------------------------------------------------------------------
  int LineCount() const { return int(FLines.size()); }
  Line LineAt(int line) const { return Get(size_t(line)); }
  // The line holding `pos` (a position where a wrapped line ends belongs to the next one).
  int LineFromChar(int pos) const;
  // The pixel offset of the line's text from the left of the wrap area (alignment); `area` is
  // the width alignment works in.
  int LineLeft(int line, int area) const;
  // The x of a position inside its line, from the line's start (no alignment).
  int XInLine(int line, int pos) const;
  // The boundary in `line` nearest to x (from the line's start, no alignment).
  int CharAtX(int line, int x) const;
  // The widest line (pixels).
  int MaxLineWidth() const;
  // The visible form of a span (password characters in password mode).
  std::string Visible(int start, int end) const;
  // The width of the character starting at `pos` at x offset `x` within its line.
  int WidthAt(int pos, int x) const;

private:
  struct UndoStep {
    bool valid = false;
    int pos = 0;          // where the step changed the text
    std::string removed;  // what it took out
    int insertedLen = 0;  // how many bytes it put in at pos
    bool typing = false;  // a typing run that the next typed character joins
  };

  // Drops NUL and lone lead bytes and applies the case; `insert` also cuts a single-line
  // model's text at its first line break.
  std::string Sanitize(const std::string& in, bool insert) const;
  Result Replace(const std::string& text, bool undoable, bool typing);
  bool IsBoundary(int pos) const;
  int ClassAt(int pos) const;
  int CountChars(const char* p, int n) const;
  // Replaces [from, to) with `text` (already valid) and updates the lines and the count.
  void Splice(int from, int to, const std::string& text);
  void LayoutAll();
  // After [from, from + removed) became `inserted` bytes: lays out again from a line or two
  // before the change until a line starts where an old line (shifted) started, and shifts
  // the rest.
  void Relayout(int from, int removed, int inserted);
  // One line from `start`: its end, next start and width.
  Line LayoutLine(int start) const;
  int Width(unsigned ch, int x) const;
  unsigned CharAt(int pos, int* len) const;

  bool FMultiLine;
  std::string FText;
  int FChars = 0;
  int FAnchor = 0, FCaret = 0;
  int FLimit = 30000;
  int FWrapWidth = 0;
  char FPasswordChar = 0;
  Case FCase = Case::Normal;
  Align FAlign = Align::Left;
  bool FNumberOnly = false, FModified = false;
  unsigned char FPendingLead = 0;
  UndoStep FUndo;
  std::uint64_t FUndoSerial = 0;
  EditMeasurer* FMeasurer = nullptr;
  // Lines from FShiftFrom on still owe FShift bytes to their positions: typing shifts every
  // later line, and settling that lazily keeps a keystroke's cost off the lines after it.
  std::vector<Line> FLines;
  size_t FShiftFrom = 0;
  int FShift = 0;
  Line Get(size_t i) const
  {
    Line l = FLines[i];
    if (i >= FShiftFrom) {
      l.start += FShift;
      l.end += FShift;
      l.next += FShift;
    }
    return l;
  }
  void AddShift(size_t from, size_t to, int delta);
};
