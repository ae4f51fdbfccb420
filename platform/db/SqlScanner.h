// One lexical scanner for the SQL the datasets hand to the providers, shared by the parameter
// markers of TParameters and the two dialect rewrites, so that all three agree on where a
// quoted text, a [bracketed] name, a #date# literal, a comment and a ":Name" marker begin and end.
// It works on UTF-16 (the datasets' text) and on UTF-8 alike: every character from 0x80 up,
// and so every byte of a multi-byte sequence, is an identifier character.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace SqlScanner {

enum class TTokenKind {
  Space,         // blanks, tabs and line ends
  Comment,       // "-- to the end of the line" (without the line end) or "/* ... */"
  Word,          // a bare identifier or key word; '$' may follow its first character
  Bracketed,     // [name]: no escapes, up to the first ']'
  DoubleQuoted,  // "text": "" stands for one '"'
  String,        // 'text': '' stands for one '\''
  DateLiteral,   // #...#: digits, separators, spaces and AM/PM, as the Access dialect writes dates
  Number,        // 12, 1.5, .5, 1e5
  Param,         // :Name, not after an identifier character
  Punct,         // any other character; "::", "<=", ">=", "<>", "!=" and "||" are one token
};

struct TToken {
  TTokenKind Kind;
  std::size_t Pos;  // in the scanned text
  std::size_t Len;  // the whole token, quotes and markers included; an unclosed one runs to the end
};

std::vector<TToken> Scan(std::u16string_view Sql);
std::vector<TToken> Scan(std::string_view Sql);

// The text between the quotes of a Bracketed, DoubleQuoted or String token, with doubled quotes
// made single; the name of a Param token; the token itself for the other kinds.
std::u16string Inner(std::u16string_view Sql, const TToken& Token);
std::string Inner(std::string_view Sql, const TToken& Token);

}  // namespace SqlScanner
