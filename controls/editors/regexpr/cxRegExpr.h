// TcxRegExpr: a mask written as a regular expression, compiled into a state graph and walked
// one typed character at a time (forward, back, and with completion of fixed characters).
//
// The language is a mask language: no anchors, no captures; "\1" repeats the pattern of group 1,
// not the text it matched. Every character is one byte. Summary:
//   'text'  literal text (blanks included, '' is a quote)   .  any character
//   ( | )   groups and alternatives     * + ?  {n} {n,} {n,m}  quantifiers
//   [a-z] [^0-9]  sets     \d \D \w \W \s \S  classes     \t \n \r \f \a \e \xHH  codes
//   /  :    the locale's date and time separators, read when a character is matched
// Blanks outside quotes are ignored.
//
// Limits (so that no mask can exhaust memory or make a step loop): a count in braces may not
// exceed MaxQuantifierCount, and the compiled graph may not exceed MaxStateCount states; a
// counted quantifier that breaks either is refused with "Incorrect parameter quantifier", a
// group reference that breaks the second with "Too big reference number". "{n,}" on an item
// that can match nothing is refused with "The parameter quantifier cannot be applied here".
//
// Call flow: Compile -> Lex (lexemes) -> Parse (tree) -> link states -> automaton; then
// Accept / AcceptText / StepBack / Restart walk it.
//
// UI thread only.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "controls/editors/regexpr/cxRegExprErrors.h"
#include "platform/rtl/System.h"

class TStream;
class TMemoryStream;
class TcxRegExprAutomat;
class TcxRegExprParserAlt;
class TcxRegExprParserAlts;
class TcxRegExprParserBlockItem;
class TcxRegExprParserItem;

enum TcxLexemKind {
  lkSymbol = 0,
  lkOperator = 1,
  lkInteger = 2,
  lkAnyChar = 3,
  lkIdLetter = 4,
  lkNotIdLetter = 5,
  lkDigit = 6,
  lkNotDigit = 7,
  lkSpace = 8,
  lkNotSpace = 9,
  lkReference = 10,
  lkDateSeparator = 11,
  lkTimeSeparator = 12,
};

struct TcxLexem {
  int Code = lkSymbol;  // a TcxLexemKind
  AnsiString Value;     // one character, except for integers
  int Line = 0;
  int Column = 0;  // of the byte that produced the lexeme
};

class TcxLexems {
public:
  void Add(const TcxLexem& ALexem) { FItems.push_back(ALexem); }
  int Count() const { return static_cast<int>(FItems.size()); }
  const TcxLexem& Items(int Index) const { return FItems[Index]; }
  void Clear() { FItems.clear(); }

private:
  std::vector<TcxLexem> FItems;
};

class TcxRegExpr {
public:
  static constexpr int MaxQuantifierCount = 255;
  static constexpr int MaxStateCount = 65536;

  TcxRegExpr();
  ~TcxRegExpr();
  TcxRegExpr(const TcxRegExpr&) = delete;
  TcxRegExpr& operator=(const TcxRegExpr&) = delete;

  // Compiles the whole of Source (read from its start; the stream stays the caller's).
  // Raises EcxRegExprError with every error found; a null Source is an error too. A later
  // Compile first discards everything of the previous one. With literal completion on, a
  // successful compile completes the fixed characters at the start at once.
  void Compile(TStream* Source);
  // The same for a mask held as text.
  void Compile(const AnsiString& Source);
  bool IsCompiled() const { return FCompiled; }
  // The compiled source (owned by the expression), or null when not compiled.
  TStream* SourceStream() const;

  // The walk. Each raises Exception "Regular expression is not compiled" before a successful
  // compile.
  // One character; on success Ch may take the pattern's case. A refused character changes
  // nothing. With literal completion on, fixed characters after it are completed.
  bool Accept(char& Ch);
  // Feeds Text without completion; Accepted receives the characters that were taken, as typed.
  void AcceptText(const AnsiString& Text, AnsiString& Accepted);
  // One step back (with completion on, the completed characters before it go too); false at
  // the start.
  bool StepBack();
  // Back to the start; no completion runs.
  void Restart();
  // The text so far is a whole match.
  bool IsComplete();
  bool AtStart();

  bool GetLiteralCompletion() const { return FLiteralCompletion; }
  // Switching it on in a compiled expression completes fixed characters at once.
  void SetLiteralCompletion(bool Value);
  bool GetCaseInsensitive() const { return FCaseInsensitive; }
  void SetCaseInsensitive(bool Value) { FCaseInsensitive = Value; }

  // The errors of the last Compile, and its lexemes.
  const TcxRegExprErrors& GetErrors() const { return FErrors; }
  const TcxLexems& GetLexems() const { return FLexems; }

  // A fixed character was completed after the caret / taken back.
  std::function<void(TcxRegExpr* Sender, char Ch)> OnLiteralAdded;
  std::function<void(TcxRegExpr* Sender)> OnLiteralRemoved;

private:
  friend class TcxRegExprAutomat;

  void Clear();
  void CheckCompiled() const;
  void AddError(int ALine, int AColumn, int AMessageId, const AnsiString& AArg = AnsiString());
  [[noreturn]] void RaiseErrors() const;
  void DoLiteralAdded(char Ch);
  void DoLiteralRemoved();

  // Lexer (cxRegExpr_Lexer.cpp).
  void Lex();
  bool ReadByte(char& Ch);
  bool PeekSignificant(char& Ch) const;
  void AddLexem(int ACode, const AnsiString& AValue, int ALine, int AColumn);
  void AddLexem(int ACode, char AValue);
  void LexQuoted();
  void LexEscape();
  void LexBrackets();
  void LexBraces();

  // Parser (cxRegExpr_Parser.cpp).
  void Parse();
  const TcxLexem* PeekLexem() const;
  const TcxLexem* NextLexem();
  bool ParseAlternative(TcxRegExprParserAlt& AAlt, bool AInGroup);
  void ParseGroup(TcxRegExprParserBlockItem& AGroup);
  void ParseQuantifier(TcxRegExprParserAlt& AAlt, const TcxLexem& ALexem);
  void ParseCountedQuantifier(TcxRegExprParserAlt& AAlt, const TcxLexem& ABrace);
  void ParseEnumeration(TcxRegExprParserAlt& AAlt);
  void ParseReference(TcxRegExprParserAlt& AAlt, const TcxLexem& ALexem);
  void AddSimpleItem(TcxRegExprParserAlt& AAlt, const TcxLexem& ALexem);
  void SkipToClosingBrace();
  void BuildAutomaton();

  std::unique_ptr<TMemoryStream> FSource;
  AnsiString FText;  // the source bytes the lexer reads
  TcxRegExprErrors FErrors;
  TcxLexems FLexems;
  std::vector<TcxRegExprParserBlockItem*> FGroups;  // by opening parenthesis; not owned
  // Items a counted quantifier replaced; kept until the parse ends so that a later reference
  // to a group among them still copies it as it was written.
  std::vector<std::unique_ptr<TcxRegExprParserItem>> FReplacedItems;
  std::unique_ptr<TcxRegExprParserAlts> FExpression;
  std::unique_ptr<TcxRegExprAutomat> FAutomat;
  int FStateCount = 0;  // states created by the parse, for the size limit
  int FReadPos = 0;
  int FLexemPos = 0;
  int FLine = 1;
  int FColumn = 0;
  bool FFirstCompile = true;
  bool FCompiled = false;
  bool FLiteralCompletion = false;
  bool FCaseInsensitive = false;
};
