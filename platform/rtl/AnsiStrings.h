// 8-bit text in code page 936: the one conversion pair to and from UTF-16 and UTF-8, the
// lead-byte helpers every byte loop uses, and the classic 1-based string routines.
//
// A CP936 character is one byte (0x00..0x80) or a lead byte (0x81..0xFE) followed by a trail
// byte. Trail bytes can look like '\', '|', '[' or letters, so code that walks an AnsiString
// byte by byte steps over double-byte characters with these helpers.
#pragma once

#include <cstddef>
#include <string>

#include "platform/rtl/System.h"

namespace System {

// ---- Conversions ---------------------------------------------------------------------------
// None of these raises; they never read past the end of their input.
//
// Decoding CP936 (AnsiToWide, AnsiToUtf8): 0x80 is the euro sign; a lead byte with a trail in
// 0x40..0xFE that names no character becomes one U+FFFD for both bytes; a lead byte followed by
// anything else (or by nothing: the end of the text) becomes U+FFFD on its own and the following
// byte is read afresh, so an ASCII byte is never swallowed. 0xFF becomes U+FFFD.
//
// Encoding to CP936 (WideToAnsi, Utf8ToAnsi): a character CP936 cannot hold becomes one "?"
// (a surrogate pair is one character and one "?"; an unpaired surrogate is one "?").
//
// UTF-8 (Utf8ToWide, Utf8ToAnsi): each malformed sequence (stray continuation byte, truncated
// sequence, overlong form, encoded surrogate, value above U+10FFFF) becomes one U+FFFD.
// WideToUtf8 writes an unpaired surrogate as U+FFFD. Embedded NULs pass through everywhere.
WideString AnsiToWide(const AnsiString& s);
AnsiString WideToAnsi(const WideString& s);
std::string AnsiToUtf8(const AnsiString& s);
AnsiString Utf8ToAnsi(const std::string& s);
std::string WideToUtf8(const WideString& s);
WideString Utf8ToWide(const std::string& s);
// The same conversions on a run of bytes or units. The appending pair adds the CP936 form to
// `out` and answers whether it is exact: false when a character became "?" (or the input was
// malformed), so that decoding the bytes would not give the input back.
WideString AnsiToWide(const char* s, std::size_t n);
bool AppendUtf8AsAnsi(const char* s, std::size_t n, std::string& out);
bool AppendWideAsAnsi(const char16_t* s, std::size_t n, std::string& out);

// ---- Lead bytes and character boundaries ---------------------------------------------------
// A lead byte is followed by its trail byte whatever that byte is (the classic rule); a lead
// byte at the very end of a text is a character of one byte. Judging a byte looks back over the
// run of bytes in 0x81..0xFE before it (Chinese text is such a run), so a loop over a long text
// should step forward with NextCharIndex rather than ask ByteType of every byte.

// 0x81..0xFE.
bool IsLeadByte(char c);

enum TMbcsByteType { mbSingleByte, mbLeadByte, mbTrailByte };

// The kind of the byte at 1-based `index`, judged from the start of the text, so a trail byte
// that looks like ASCII is a trail byte. An index outside 1..Length is mbSingleByte.
TMbcsByteType ByteType(const AnsiString& s, int index);
// The same for a 0-based index into a buffer the caller guarantees holds index0 + 1 bytes.
TMbcsByteType StrByteType(const char* s, std::size_t index0);

// Bytes of the character that starts at 1-based `index`: 2 for a lead byte with a byte after
// it, else 1 (also for an index outside the text).
int CharLength(const AnsiString& s, int index);
// The index of the character after the one at `index` (index + CharLength).
int NextCharIndex(const AnsiString& s, int index);
// The start of the character before the one at 1-based `index` (stepping backwards); 0 when
// index <= 1. An index inside a character is taken as that character's start. An index past
// the end (Length + 1) gives the last character.
int PrevCharIndex(const AnsiString& s, int index);
// The start of the character that holds the byte at 1-based `index` (index itself, or index - 1
// for a trail byte).
int CharStartIndex(const AnsiString& s, int index);

// ---- Classic 1-based routines --------------------------------------------------------------
// Bytes for AnsiString (not character-aware: see SysUtils::AnsiPos), code units for WideString.

// At most `count` items from `index`; index < 1 counts as 1, count is clipped to the text;
// empty when index is past the end or count <= 0.
AnsiString Copy(const AnsiString& s, int index, int count);
WideString Copy(const WideString& s, int index, int count);
// The 1-based position of the first `sub` in `s`; 0 when missing or `sub` is empty.
int Pos(const AnsiString& sub, const AnsiString& s);
int Pos(const WideString& sub, const WideString& s);
// Removes up to `count` items from `index`; nothing happens when index is outside 1..Length or
// count <= 0.
void Delete(AnsiString& s, int index, int count);
void Delete(WideString& s, int index, int count);
// Inserts `sub` so that it starts at `index`; index < 1 counts as 1, past the end appends.
void Insert(const AnsiString& sub, AnsiString& s, int index);
void Insert(const WideString& sub, WideString& s, int index);
// `n` copies of `ch`; empty for n <= 0.
AnsiString StringOfChar(char ch, int n);
WideString StringOfChar(WideChar ch, int n);
// 'a'..'z' to upper case; every other byte unchanged.
char UpCase(char c);
WideChar UpCase(WideChar c);

}  // namespace System
