// The class library's edit mask: "mask;save literals;blank". The mask part has one character
// per position of the edited text; a position is either a literal or a place for one character
// of a class. A CP936 double-byte character fills one position, as a literal or as input.
//
//   L l   letter (ASCII or a double-byte character), required / optional
//   A a   letter or digit, required / optional
//   C c   any character, required / optional
//   0 9   digit, required / optional
//   #     digit, "+" or "-", optional
//   > <   following input upper-case / lower-case (ASCII); "<>" leaves the case alone
//   !     unfilled optional places lead (text right-aligned) rather than trail
//   \     the next character is a literal
//   : /   the locale's time / date separator, taken when the mask is parsed
//   _     a literal space
// The part after the first unescaped ";" starts with "0" when literals are left out of the
// stored value (anything else keeps them), and after a second ";" comes the character shown in
// unfilled places ("_" when missing).
//
// Three forms of a text: the edit text (one character per position, blanks in unfilled
// places), the stored value (unfilled places as spaces, literals only when saved), and
// FormatMaskText's form (the edit text with spaces for blanks).
#pragma once

#include <vector>

#include "platform/rtl/System.h"

namespace MaskUtils {

enum class TMaskCase { Unchanged, Upper, Lower };

struct TMaskItem {
  bool Literal = false;
  AnsiString Char;  // the literal's character (one or two bytes)
  char Kind = 0;    // the input class: 'L', 'A', 'C', '0', '9' or '#'
  bool Required = false;
  TMaskCase Case = TMaskCase::Unchanged;
};

class TEditMask {
public:
  TEditMask() = default;
  // Any text parses; characters the syntax does not know are literals.
  explicit TEditMask(const AnsiString& EditMask);

  // Whether the mask has any position (a mask of directives only masks nothing).
  bool IsMasked() const { return !FItems.empty(); }
  int Count() const { return int(FItems.size()); }
  const TMaskItem& Item(int Index) const { return FItems[std::size_t(Index)]; }
  bool SaveLiterals() const { return FSaveLiterals; }
  char Blank() const { return FBlank; }
  bool Reverse() const { return FReverse; }
  // The first position at or after Index that takes input; Count() when none.
  int NextInput(int Index) const;
  // The last position before Index that takes input; -1 when none.
  int PrevInput(int Index) const;

  // Whether input position Index takes Ch (one character); Ch gets the position's case rule.
  // Literal positions and blanks take nothing.
  bool Accepts(int Index, AnsiString& Ch) const;
  // The edit text with nothing entered.
  AnsiString EmptyText() const { return Format(AnsiString(), FBlank); }
  // Value (the stored form) laid out as an edit text, Blank in unfilled places. Characters are
  // placed as they are: validation judges them.
  AnsiString Format(const AnsiString& Value, char ABlank) const;
  // The stored value of an edit text.
  AnsiString Value(const AnsiString& EditText) const;
  // The first position the edit text fails (a required place unfilled, a character its place
  // refuses, a literal changed, a character too many); -1 when the text is valid.
  int FirstInvalid(const AnsiString& EditText) const;

private:
  std::vector<TMaskItem> FItems;
  bool FSaveLiterals = true;
  char FBlank = '_';
  bool FReverse = false;
};

// The characters of a CP936 text, each one or two bytes.
std::vector<AnsiString> SplitChars(const AnsiString& Text);
// Value (the stored form) laid out through EditMask, unfilled places as spaces.
AnsiString FormatMaskText(const AnsiString& EditMask, const AnsiString& Value);

}  // namespace MaskUtils
