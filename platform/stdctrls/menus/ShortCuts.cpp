#include "platform/stdctrls/menus/ShortCuts.h"

#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/StringUtils.h"
#include "platform/win/WinUser.h"

namespace Menus {

namespace {
struct TKeyName {
  Word Key;
  const char* Name;
};

// The keys whose names are not their own character.
constexpr TKeyName kKeyNames[] = {
    {VK_BACK, "BkSp"},
    {VK_TAB, "Tab"},
    {VK_ESCAPE, "Esc"},
    {VK_RETURN, "Enter"},
    {VK_SPACE, "Space"},
    {VK_PRIOR, "PgUp"},
    {VK_NEXT, "PgDn"},
    {VK_END, "End"},
    {VK_HOME, "Home"},
    {VK_LEFT, "Left"},
    {VK_UP, "Up"},
    {VK_RIGHT, "Right"},
    {VK_DOWN, "Down"},
    {VK_INSERT, "Ins"},
    {VK_DELETE, "Del"},
    {VK_MULTIPLY, "Num *"},
    {VK_ADD, "Num +"},
    {VK_SUBTRACT, "Num -"},
    {VK_DECIMAL, "Num Del"},
    {VK_DIVIDE, "Num /"},
    {0xBA, ";"},
    {0xBB, "="},
    {0xBC, ","},
    {0xBD, "-"},
    {0xBE, "."},
    {0xBF, "/"},
    {0xC0, "`"},
    {0xDB, "["},
    {0xDC, "\\"},
    {0xDD, "]"},
    {0xDE, "'"},
};

AnsiString KeyName(Word Key)
{
  if ((Key >= 'A' && Key <= 'Z') || (Key >= '0' && Key <= '9')) return AnsiString(1, char(Key));
  if (Key >= VK_F1 && Key <= VK_F1 + 23) return "F" + std::to_string(Key - VK_F1 + 1);
  if (Key >= VK_NUMPAD0 && Key <= VK_NUMPAD0 + 9) return "Num " + std::to_string(Key - VK_NUMPAD0);
  for (const TKeyName& k : kKeyNames)
    if (k.Key == Key) return k.Name;
  return AnsiString();
}

constexpr struct {
  const char* Text;
  TShortCut Mark;
} kMarks[] = {{"Shift+", scShift}, {"Ctrl+", scCtrl}, {"Alt+", scAlt}};
}  // namespace

TShortCut ShortCut(Word Key, TShiftState Shift)
{
  if (Key & 0xFF00) return scNone;
  TShortCut r = Key;
  if (Shift.Contains(ssShift)) r |= scShift;
  if (Shift.Contains(ssCtrl)) r |= scCtrl;
  if (Shift.Contains(ssAlt)) r |= scAlt;
  return r;
}

void ShortCutToKey(TShortCut ShortCut, Word& Key, TShiftState& Shift)
{
  Key = ShortCut & 0xFF;
  Shift = TShiftState();
  if (ShortCut & scShift) Shift.Include(ssShift);
  if (ShortCut & scCtrl) Shift.Include(ssCtrl);
  if (ShortCut & scAlt) Shift.Include(ssAlt);
}

AnsiString ShortCutToText(TShortCut ShortCut)
{
  AnsiString name = KeyName(ShortCut & 0xFF);
  if (name.empty()) return AnsiString();
  AnsiString r;
  for (const auto& m : kMarks)
    if (ShortCut & m.Mark) r += m.Text;
  return r + name;
}

TShortCut TextToShortCut(const AnsiString& Text)
{
  AnsiString s = SysUtils::Trim(Text);
  TShortCut marks = 0;
  for (bool found = true; found;) {
    found = false;
    for (const auto& m : kMarks) {
      size_t n = std::char_traits<char>::length(m.Text);
      if (s.size() > n && SysUtils::CompareText(s.substr(0, n), m.Text) == 0) {
        marks |= m.Mark;
        s.erase(0, n);
        found = true;
      }
    }
  }
  if (s.empty()) return scNone;
  for (int key = 1; key < 0x100; ++key) {
    AnsiString name = KeyName(Word(key));
    if (!name.empty() && SysUtils::CompareText(name, s) == 0) return TShortCut(key | marks);
  }
  return scNone;
}

AnsiString StripHotkey(const AnsiString& Text)
{
  AnsiString r;
  r.reserve(Text.size());
  for (size_t i = 0; i < Text.size(); ++i) {
    char c = Text[i];
    if (System::IsLeadByte(c) && i + 1 < Text.size()) {
      r += Text[i];
      r += Text[++i];
    } else if (c == '&') {
      if (i + 1 < Text.size() && Text[i + 1] == '&') r += Text[++i];
    } else {
      r += Text[i];
    }
  }
  return r;
}

}  // namespace Menus
