// A status bar's parts and texts apart from its window: the parts' right edges (-1 runs to the
// bar's right end), each part's text with its drawing flags, and the one text of simple mode.
#pragma once

#include <vector>

#include "platform/rtl/AnsiStrings.h"
#include "platform/win/WinUser.h"

class StatusBarModel {
public:
  static constexpr int MaxParts = 256;
  struct Part {
    AnsiString Text;
    UINT Flags = 0;   // SBT_ drawing flags
    LPARAM Data = 0;  // the owner's value of an owner-drawn part
  };

  StatusBarModel();
  // Sets `count` parts (1 to MaxParts) with the given right edges; texts of parts that stay
  // are kept. False (nothing changed) for a bad count or null edges.
  bool SetParts(int count, const int* rights);
  int PartCount() const { return int(FRights.size()); }
  const std::vector<int>& Rights() const { return FRights; }
  // `part` SB_SIMPLEID (255) is the simple-mode text. False for a part that does not exist.
  bool SetText(int part, const AnsiString& text, UINT flags, LPARAM data = 0);
  const Part* GetPart(int part) const;
  bool Simple() const { return FSimple; }
  void SetSimple(bool simple) { FSimple = simple; }
  // Part `part`'s rectangle in a bar `width` by `height`, below a top border of 2 with 2
  // pixels between parts; simple mode has one part across the bar. False for no such part.
  bool PartRect(int part, int width, int height, RECT* out) const;

private:
  std::vector<int> FRights;
  std::vector<Part> FParts;
  Part FSimpleText;
  bool FSimple = false;
};
