// String routines of StrUtils: parts of a text, searching from an offset, repeating, and the
// Ansi* predicates that compare whole characters (see StringUtils.h for what "Ansi" means).
// Nothing here raises.
#pragma once

#include <initializer_list>
#include <vector>

#include "platform/rtl/System.h"

namespace StrUtils {

// ---- Parts of a text ------------------------------------------------------------------------
// By bytes, clipped to the text (count <= 0 gives ""; MidStr's start < 1 counts as 1).
AnsiString LeftStr(const AnsiString& s, int count);
AnsiString RightStr(const AnsiString& s, int count);
AnsiString MidStr(const AnsiString& s, int start, int count);
// By characters: a double-byte character counts as one and is never cut.
AnsiString AnsiLeftStr(const AnsiString& s, int count);
AnsiString AnsiRightStr(const AnsiString& s, int count);
AnsiString AnsiMidStr(const AnsiString& s, int start, int count);

// The 1-based position of `sub` in `s` at or after byte `offset`; 0 when missing, when `sub`
// is empty or when offset is outside 1..Length(s).
int PosEx(const AnsiString& sub, const AnsiString& s, int offset = 1);
// `s` repeated `count` times ("" for count <= 0).
AnsiString DupeString(const AnsiString& s, int count);
// The characters of `s` in reverse order; a double-byte character stays whole.
AnsiString ReverseString(const AnsiString& s);
AnsiString AnsiReverseString(const AnsiString& s);

// ---- Replacing ----------------------------------------------------------------------------
// Every `from` (on a character boundary) replaced by `to`; the *Text form ignores ASCII case.
AnsiString AnsiReplaceStr(const AnsiString& text, const AnsiString& from, const AnsiString& to);
AnsiString AnsiReplaceText(const AnsiString& text, const AnsiString& from, const AnsiString& to);

// ---- Predicates -------------------------------------------------------------------------------
// The *Text forms fold ASCII letters (never trail bytes). A match always starts and ends on
// character boundaries of `text`.
// False for an empty `sub` (as AnsiPos answers 0 for it).
bool AnsiContainsStr(const AnsiString& text, const AnsiString& sub);
bool AnsiContainsText(const AnsiString& text, const AnsiString& sub);
// True for an empty `sub`.
bool AnsiStartsStr(const AnsiString& sub, const AnsiString& text);
bool AnsiStartsText(const AnsiString& sub, const AnsiString& text);
bool AnsiEndsStr(const AnsiString& sub, const AnsiString& text);
bool AnsiEndsText(const AnsiString& sub, const AnsiString& text);
// The 0-based index of the first value equal to `text`; -1 when none is.
int AnsiIndexStr(const AnsiString& text, std::initializer_list<AnsiString> values);
int AnsiIndexStr(const AnsiString& text, const std::vector<AnsiString>& values);
int AnsiIndexText(const AnsiString& text, std::initializer_list<AnsiString> values);
int AnsiIndexText(const AnsiString& text, const std::vector<AnsiString>& values);
bool AnsiMatchStr(const AnsiString& text, std::initializer_list<AnsiString> values);
bool AnsiMatchStr(const AnsiString& text, const std::vector<AnsiString>& values);
bool AnsiMatchText(const AnsiString& text, std::initializer_list<AnsiString> values);
bool AnsiMatchText(const AnsiString& text, const std::vector<AnsiString>& values);

// `whenTrue` when condition holds, else `whenFalse`.
AnsiString IfThen(bool condition, const AnsiString& whenTrue, const AnsiString& whenFalse = AnsiString());

}  // namespace StrUtils
