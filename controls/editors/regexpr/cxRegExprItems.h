// What one position of a regular-expression mask matches (items) and how often (quantifiers).
//
// The expressions work on single-byte text: every character is one byte, compared as unsigned.
#pragma once

#include <memory>
#include <vector>

#include "platform/rtl/System.h"

// One character class of a mask. Matches may rewrite Ch (only a case-insensitive symbol does,
// to give the input the pattern's case).
class TcxRegExprItem {
public:
  virtual ~TcxRegExprItem() = default;
  virtual bool Matches(char& Ch, bool CaseInsensitive) const = 0;
  virtual std::unique_ptr<TcxRegExprItem> Copy() const = 0;
};

class TcxRegExprSymbol : public TcxRegExprItem {
public:
  explicit TcxRegExprSymbol(char ASymbol) : FSymbol(ASymbol) {}
  bool Matches(char& Ch, bool CaseInsensitive) const override;
  std::unique_ptr<TcxRegExprItem> Copy() const override;
  char GetSymbol() const { return FSymbol; }

private:
  char FSymbol;
};

// The locale's time separator as it stands when a character is matched.
class TcxRegExprTimeSeparator : public TcxRegExprItem {
public:
  bool Matches(char& Ch, bool CaseInsensitive) const override;
  std::unique_ptr<TcxRegExprItem> Copy() const override;
};

// The locale's date separator as it stands when a character is matched.
class TcxRegExprDateSeparator : public TcxRegExprItem {
public:
  bool Matches(char& Ch, bool CaseInsensitive) const override;
  std::unique_ptr<TcxRegExprItem> Copy() const override;
};

// Start..Finish as unsigned bytes; case is never folded.
class TcxRegExprSubrange : public TcxRegExprItem {
public:
  TcxRegExprSubrange(char AStart, char AFinish) : FStart(AStart), FFinish(AFinish) {}
  bool Matches(char& Ch, bool CaseInsensitive) const override;
  std::unique_ptr<TcxRegExprItem> Copy() const override;

private:
  char FStart, FFinish;
};

// A set of characters; Inverse flips every answer.
class TcxRegExprEnumeration : public TcxRegExprItem {
public:
  explicit TcxRegExprEnumeration(bool AInverse) : FInverse(AInverse) {}
  bool Matches(char& Ch, bool CaseInsensitive) const final;
  bool GetInverse() const { return FInverse; }

protected:
  virtual bool MatchesMember(char& Ch, bool CaseInsensitive) const = 0;

private:
  bool FInverse;
};

// A bracketed set: symbols, subranges and classes (owned).
class TcxRegExprUserEnumeration : public TcxRegExprEnumeration {
public:
  explicit TcxRegExprUserEnumeration(bool AInverse) : TcxRegExprEnumeration(AInverse) {}
  void Add(std::unique_ptr<TcxRegExprItem> AItem) { FItems.push_back(std::move(AItem)); }
  int Count() const { return static_cast<int>(FItems.size()); }
  std::unique_ptr<TcxRegExprItem> Copy() const override;

protected:
  bool MatchesMember(char& Ch, bool CaseInsensitive) const override;

private:
  std::vector<std::unique_ptr<TcxRegExprItem>> FItems;
};

// 0-9.
class TcxRegExprDigit : public TcxRegExprEnumeration {
public:
  explicit TcxRegExprDigit(bool AInverse = false) : TcxRegExprEnumeration(AInverse) {}
  std::unique_ptr<TcxRegExprItem> Copy() const override;

protected:
  bool MatchesMember(char& Ch, bool CaseInsensitive) const override;
};

// ASCII letters, digits and '_'.
class TcxRegExprIdLetter : public TcxRegExprEnumeration {
public:
  explicit TcxRegExprIdLetter(bool AInverse = false) : TcxRegExprEnumeration(AInverse) {}
  std::unique_ptr<TcxRegExprItem> Copy() const override;

protected:
  bool MatchesMember(char& Ch, bool CaseInsensitive) const override;
};

// Blank, NUL, TAB, LF, FF and CR (not VT).
class TcxRegExprSpace : public TcxRegExprEnumeration {
public:
  explicit TcxRegExprSpace(bool AInverse = false) : TcxRegExprEnumeration(AInverse) {}
  std::unique_ptr<TcxRegExprItem> Copy() const override;

protected:
  bool MatchesMember(char& Ch, bool CaseInsensitive) const override;
};

// Every character.
class TcxRegExprAll : public TcxRegExprItem {
public:
  bool Matches(char& Ch, bool CaseInsensitive) const override { return true; }
  std::unique_ptr<TcxRegExprItem> Copy() const override;
};

// How often an item may occur.
class TcxRegExprQuantifier {
public:
  virtual ~TcxRegExprQuantifier() = default;
  virtual bool AllowsNone() const = 0;
  virtual bool AllowsMany() const = 0;
  virtual std::unique_ptr<TcxRegExprQuantifier> Copy() const = 0;
  virtual AnsiString Symbol() const = 0;
};

// Exactly once.
class TcxRegExprSimpleQuantifier : public TcxRegExprQuantifier {
public:
  bool AllowsNone() const override { return false; }
  bool AllowsMany() const override { return false; }
  std::unique_ptr<TcxRegExprQuantifier> Copy() const override;
  AnsiString Symbol() const override { return AnsiString(); }
};

class TcxRegExprQuestionQuantifier : public TcxRegExprQuantifier {
public:
  bool AllowsNone() const override { return true; }
  bool AllowsMany() const override { return false; }
  std::unique_ptr<TcxRegExprQuantifier> Copy() const override;
  AnsiString Symbol() const override { return "?"; }
};

class TcxRegExprStarQuantifier : public TcxRegExprQuantifier {
public:
  bool AllowsNone() const override { return true; }
  bool AllowsMany() const override { return true; }
  std::unique_ptr<TcxRegExprQuantifier> Copy() const override;
  AnsiString Symbol() const override { return "*"; }
};

class TcxRegExprPlusQuantifier : public TcxRegExprQuantifier {
public:
  bool AllowsNone() const override { return false; }
  bool AllowsMany() const override { return true; }
  std::unique_ptr<TcxRegExprQuantifier> Copy() const override;
  AnsiString Symbol() const override { return "+"; }
};
