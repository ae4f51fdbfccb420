// The character-level reader under every script language: one source text and a current
// position, with readers for white space and comments, words, numbers, strings, punctuation,
// line ends and report-expression brackets. There is no token stream: callers save Position,
// try a reader and set it back to undo. Its settings come from a language grammar.
//
// Positions are 1-based byte indexes; position texts are "line:column", both 1-based.
// Readers answer an empty text when nothing of their kind starts at the position; the only
// reader that raises is GetString, with EConvertError for a character code out of range.
#pragma once

#include <bitset>
#include <memory>
#include <string>
#include <unordered_set>
#include <vector>

#include "platform/rtl/System.h"

class TStringList;

class TfsParser : public TObject {
public:
  TfsParser();
  ~TfsParser() override;
  TfsParser(const TfsParser&) = delete;
  TfsParser& operator=(const TfsParser&) = delete;

  // Empties the keywords and restores every setting except CommentLine2.
  void SetDefaults();
  // Takes a copy of S; Position and TokenStart go to 1.
  void SetText(const AnsiString& S);
  // The source text, without the terminating NUL the reader keeps behind it.
  AnsiString GetText() const { return FText.substr(0, FSize); }

  Integer GetPosition() const { return FPosition; }
  void SetPosition(Integer P) { FPosition = FTokenStart = P; }
  Integer GetTokenStart() const { return FTokenStart; }
  Integer GetSize() const { return FSize; }

  // Skips white space, continuation marks and comments; then TokenStart := Position.
  void SkipSpaces();
  bool IsKeyword(const AnsiString& W) const;
  // The next word, keywords included; empty when no word starts there.
  AnsiString GetWord();
  // As GetWord, but a keyword answers empty (its characters stay consumed).
  AnsiString GetIdent();
  // The punctuation character at Position, consumed; no white space is skipped.
  AnsiString GetChar();
  // The next number with its hexadecimal prefix written as "$".
  AnsiString GetNumber();
  // The next string constant, decoded and put between single quotes (inner quotes are not
  // doubled). Raises EConvertError for a "#" or "\x" code that is not a valid integer.
  AnsiString GetString();
  // Consumes a run of line ends after white space; False when none is there.
  bool GetEOL();
  // Called just behind a "<": the text up to the matching ">", which is left unread.
  AnsiString GetFRString();
  // The position text of Position.
  AnsiString GetXYPosition() const;
  AnsiString PositionToXY(Integer P) const;
  // Position of column X on line Y; -1 when there is no such line.
  Integer PointToPosition(Integer X, Integer Y) const;

  const AnsiString& GetCommentBlock1() const { return FCommentBlock1; }
  void SetCommentBlock1(const AnsiString& S);
  const AnsiString& GetCommentBlock2() const { return FCommentBlock2; }
  void SetCommentBlock2(const AnsiString& S);
  const AnsiString& GetCommentLine1() const { return FCommentLine1; }
  void SetCommentLine1(const AnsiString& S) { FCommentLine1 = S; }
  const AnsiString& GetCommentLine2() const { return FCommentLine2; }
  void SetCommentLine2(const AnsiString& S) { FCommentLine2 = S; }
  const AnsiString& GetHexSequence() const { return FHexSequence; }
  void SetHexSequence(const AnsiString& S) { FHexSequence = S; }
  // Exactly the characters of S become identifier characters.
  void SetIdentChars(const AnsiString& S);
  bool IsIdentChar(char C) const { return FIdentChars[static_cast<unsigned char>(C)]; }
  // Sorted, case-insensitive; owned by the reader. Keywords are added through AddKeyword.
  const TStringList* GetKeywords() const { return FKeywords.get(); }
  void AddKeyword(const AnsiString& W);
  const AnsiString& GetSkipChar() const { return FSkipChar; }
  void SetSkipChar(const AnsiString& S) { FSkipChar = S; }
  bool GetSkipEOL() const { return FSkipEOL; }
  void SetSkipEOL(bool Value) { FSkipEOL = Value; }
  bool GetAutoSkipSpaces() const { return FAutoSkipSpaces; }
  void SetAutoSkipSpaces(bool Value) { FAutoSkipSpaces = Value; }
  const AnsiString& GetStringQuotes() const { return FStringQuotes; }
  void SetStringQuotes(const AnsiString& S) { FStringQuotes = S; }

private:
  unsigned char Ch(Integer P) const { return static_cast<unsigned char>(FText[P - 1]); }
  bool At(Integer P, const AnsiString& S) const;
  bool ReadDigits(bool Hex);
  bool ReadInteger();
  bool ReadFloat();
  bool ReadQuotedPiece(AnsiString& Out);
  bool ReadCodePiece(AnsiString& Out);

  AnsiString FCommentBlock1, FCommentBlock11, FCommentBlock12;
  AnsiString FCommentBlock2, FCommentBlock21, FCommentBlock22;
  AnsiString FCommentLine1;
  AnsiString FCommentLine2;
  AnsiString FHexSequence;
  std::bitset<256> FIdentChars;
  std::unique_ptr<TStringList> FKeywords;
  std::unordered_set<std::string> FKeywordSet;  // the keywords in lower case, for IsKeyword
  Integer FTokenStart = 1;
  Integer FPosition = 1;
  Integer FSize = 0;
  AnsiString FSkipChar;
  bool FSkipEOL = true;
  bool FAutoSkipSpaces = true;
  AnsiString FStringQuotes;
  AnsiString FText;                  // the source and one NUL
  std::vector<Integer> FLineStarts;  // 0, then the position of every line feed
};
