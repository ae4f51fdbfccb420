// String routines of SysUtils: trimming, case, comparison, quoting, searching and replacing.
//
// AnsiString routines whose names start with "Ansi" are character-aware: they step over
// double-byte CP936 characters, so a trail byte that looks like a letter, '\' or a delimiter is
// never folded, matched or split. Case folding of 8-bit text touches ASCII letters only (CP936
// has no other cased single bytes), so it never changes a text's length or byte positions.
// Comparisons answer < 0, 0 or > 0 and order by unsigned CP936 bytes (GB2312's common characters
// come out in pinyin order). Nothing here raises.
#pragma once

#include <cstddef>

#include "platform/rtl/System.h"

namespace SysUtils {

// ---- Trimming (bytes <= ' ' at either end; a trail byte is never <= ' ') -------------------
AnsiString Trim(const AnsiString& s);
AnsiString TrimLeft(const AnsiString& s);
AnsiString TrimRight(const AnsiString& s);
WideString Trim(const WideString& s);
WideString TrimLeft(const WideString& s);
WideString TrimRight(const WideString& s);

// ---- Case ---------------------------------------------------------------------------------
// Every byte 'a'..'z' (resp. 'A'..'Z'), trail bytes included: for ASCII identifiers and keys.
AnsiString UpperCase(const AnsiString& s);
AnsiString LowerCase(const AnsiString& s);
// ASCII letters that are characters of their own; trail bytes stay as they are.
AnsiString AnsiUpperCase(const AnsiString& s);
AnsiString AnsiLowerCase(const AnsiString& s);
// Unicode simple case mapping of each UTF-16 unit (surrogates unchanged).
WideString WideUpperCase(const WideString& s);
WideString WideLowerCase(const WideString& s);

// ---- Comparison ---------------------------------------------------------------------------
// By unsigned bytes; the *Text forms fold ASCII letters to upper case first.
int CompareStr(const AnsiString& a, const AnsiString& b);
int CompareText(const AnsiString& a, const AnsiString& b);
bool SameStr(const AnsiString& a, const AnsiString& b);
bool SameText(const AnsiString& a, const AnsiString& b);
// By unsigned CP936 bytes; the *Text forms fold ASCII letters to upper case but never trail
// bytes.
int AnsiCompareStr(const AnsiString& a, const AnsiString& b);
int AnsiCompareText(const AnsiString& a, const AnsiString& b);
bool AnsiSameStr(const AnsiString& a, const AnsiString& b);
bool AnsiSameText(const AnsiString& a, const AnsiString& b);
// By UTF-16 code units; WideCompareText compares the upper-cased texts.
int WideCompareStr(const WideString& a, const WideString& b);
int WideCompareText(const WideString& a, const WideString& b);
bool WideSameStr(const WideString& a, const WideString& b);
bool WideSameText(const WideString& a, const WideString& b);

// ---- Quoting ------------------------------------------------------------------------------
// s between single quotes, each quote inside doubled: O'Brien -> 'O''Brien'.
AnsiString QuotedStr(const AnsiString& s);
// s between `quote`s, each `quote` character inside doubled (a trail byte equal to it is not).
AnsiString AnsiQuotedStr(const AnsiString& s, char quote);
// Reads a quoted text starting at `src` (up to `end`): when *src is `quote`, answers the text
// up to the closing quote with doubled quotes undoubled and leaves src after the closing quote
// (at end when it is missing: the rest is taken). Otherwise answers "" and leaves src alone.
AnsiString AnsiExtractQuotedStr(const char*& src, const char* end, char quote);
// The same on a NUL-terminated text (src may be null: answers "").
AnsiString AnsiExtractQuotedStr(const char*& src, char quote);
// The text inside the quotes when s starts with `quote` (what follows the closing quote is
// dropped; "''" gives ""); s itself when it does not.
AnsiString AnsiDequotedStr(const AnsiString& s, char quote);

// ---- Searching ----------------------------------------------------------------------------
// The 1-based position of the first `sub` in `s` that starts on a character boundary; 0 when
// missing or `sub` is empty.
int AnsiPos(const AnsiString& sub, const AnsiString& s);
// NUL-terminated forms: pointers into `str`, or null when missing (also for a null argument).
// AnsiStrPos finds `sub` starting on a character boundary; AnsiStrScan/AnsiStrRScan find the
// first/last byte `c` that is not a trail byte.
const char* AnsiStrPos(const char* str, const char* sub);
const char* AnsiStrScan(const char* str, char c);
const char* AnsiStrRScan(const char* str, char c);
// True when the byte at 1-based `index` is one of `delimiters` and is not part of a
// double-byte character; false for an index outside the text.
bool IsDelimiter(const AnsiString& delimiters, const AnsiString& s, int index);
// The 1-based index of the last byte of `s` that is one of `delimiters` and not a trail byte;
// 0 when there is none.
int LastDelimiter(const AnsiString& delimiters, const AnsiString& s);

// ---- Replacing ----------------------------------------------------------------------------
enum TReplaceFlag { rfReplaceAll = 1, rfIgnoreCase = 2 };
// A set of TReplaceFlag bits: rfReplaceAll | rfIgnoreCase.
using TReplaceFlags = int;
// Replaces the first (with rfReplaceAll: every, left to right, never rescanning replaced
// text) occurrence of `oldPattern` that starts on a character boundary. With rfIgnoreCase ASCII
// letters match either case. An empty oldPattern replaces nothing.
AnsiString StringReplace(const AnsiString& s, const AnsiString& oldPattern, const AnsiString& newPattern,
                         TReplaceFlags flags);

// ---- Line breaks and identifiers ----------------------------------------------------------
enum TTextLineBreakStyle { tlbsLF, tlbsCRLF };
// Each CR LF, LF CR, lone CR and lone LF becomes one line break of the given style.
AnsiString AdjustLineBreaks(const AnsiString& s, TTextLineBreakStyle style = tlbsCRLF);
// A letter or '_', then letters, digits and '_' (ASCII); with allowDots, dot-separated
// identifiers ("Form1.Edit1"; no empty part).
bool IsValidIdent(const AnsiString& ident, bool allowDots = false);

}  // namespace SysUtils
