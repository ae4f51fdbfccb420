// Type-ahead search text: typed characters (CP936: a double-byte character comes as its lead and
// then its trail byte) within `kDelayMs` of each other make one prefix to look for.
#pragma once

#include <functional>

#include "platform/rtl/AnsiStrings.h"
#include "platform/win/WinUser.h"

class TypeAhead {
public:
  static constexpr DWORD kDelayMs = 1000;
  // Adds a typed byte at message time `time`; false while a lead byte waits for its trail.
  bool Feed(char c, DWORD time);
  void Clear();
  const AnsiString& Typed() const { return FTyped; }
  // The first character typed (one or two bytes).
  AnsiString First() const;
  // Whether more than one character was typed and all are the first one again: the list then
  // steps through the items that start with it rather than looking for the longer prefix.
  bool Repeated() const;

  // Feeds a typed byte and looks among `count` items for the one the typed text names, after
  // `caret` (-1: from the first) and wrapping; a longer prefix may still match the caret's item.
  // `startsWith(i, prefix)` says whether item i begins with a prefix. Answers the index, -1
  // while a lead byte waits or when nothing matches.
  int Find(char c, DWORD time, int caret, int count, const std::function<bool(int, const AnsiString&)>& startsWith);
  // Whether `text` begins with `prefix` (or, with `exact`, equals it), character by character
  // with ASCII case ignored; half a double-byte character never matches.
  static bool Matches(const AnsiString& text, const AnsiString& prefix, bool exact);

private:
  AnsiString FTyped;
  char FLead = 0;  // a lead byte waiting for its trail
  DWORD FLast = 0;
};
