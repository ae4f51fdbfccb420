// The first pass of the script compiler: walks the productions of a language grammar over the
// source text and writes the intermediate form, an XML document in which every construct the
// grammar marks is an element carrying its source position. Nothing here knows a language:
// keywords, operators, statement forms and error texts all come from the grammar.
//
// Flow: LoadLanguage(name) reads the grammar (lexer settings, keywords, errors, productions);
// BuildIntermediate(text) walks the production "program" and, on success, fills
// GetIntermediate(). Units named in a uses clause are compiled by nested parsers and spliced in.
//
// Errors: a syntax error is not an exception. BuildIntermediate answers False and leaves the
// message in GetLastError(), its "line:column" in GetLastErrorPos() and, for an error inside a
// used unit, the unit's file name in GetLastErrorUnit() (the position is then empty). A false
// result always comes with a message. Text behind what the program form reads is an error, and
// so are nesting too deep for the walk and a character code out of range ("#99999999999").
// Raised: Exception "Language '<name>' not found", Exception "Invalid language definition"
// (a grammar names a missing production), the stream errors of a unit file that can't be read.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "platform/rtl/System.h"
#include "platform/rtl/Variants.h"

class TfsParser;
class TfsScript;
class TfsStatement;
class TfsProcVariable;
class TfsCustomVariable;
class TfsExpression;
class TfsDesignator;
class TfsSetExpression;
class TfsXMLDocument;
class TfsXMLItem;
class TStringList;
class TfsClassVariable;
struct TfsDeferredBuild;
struct TfsGrammarNode;
struct TfsLanguage;

// Supplies the source text of a used unit instead of the file of that name.
using TfsGetUnitEvent = std::function<void(TfsScript* Sender, const AnsiString& UnitName, AnsiString& UnitText)>;

class TfsILParser : public TObject {
public:
  // Program: the script being compiled (not owned; may be null); it is the sender of OnGetUnit.
  explicit TfsILParser(TfsScript* Program = nullptr);
  ~TfsILParser() override;
  TfsILParser(const TfsILParser&) = delete;
  TfsILParser& operator=(const TfsILParser&) = delete;

  // Resets the lexer and loads the grammar of a registered language.
  void LoadLanguage(const AnsiString& Name);
  // The first pass over Text; True when the intermediate document was built. A first line
  // "#language <name>" switches the language for the rest of the text.
  bool BuildIntermediate(const AnsiString& Text);
  // The second pass: builds the items and statements of the program from the intermediate
  // document. A compile fault is not raised: it goes to the program's LastError, LastErrorPos
  // (the element reached) and LastErrorUnit, and the result is False. Items made before the
  // fault stay in the program until its owner clears it. Without a program it does nothing and
  // answers False.
  bool BuildProgram();
  // The designator that Deferred describes, built in the script the parser was made for; a
  // compile error raises Exception with its message. The result is owned by the caller.
  std::unique_ptr<TfsDesignator> BuildDeferred(const TfsDeferredBuild& Deferred);

  // Owned by the parser.
  TfsXMLDocument* GetIntermediate() const { return FILDoc.get(); }
  // The loaded grammar; shared by every parser of the language and read-only. Null before
  // LoadLanguage.
  const TfsXMLDocument* GetGrammar() const;
  TfsParser* GetLexer() const { return FLexer.get(); }
  const AnsiString& GetLanguageName() const { return FLangName; }
  // False once a grammar said undeclared names become variables.
  bool GetNeedDeclareVars() const { return FNeedDeclareVars; }
  // The units already included in this compilation; owned by the parser.
  TStringList* GetUsesList() const { return FUsesList.get(); }
  const AnsiString& GetUnitName() const { return FUnitName; }
  void SetUnitName(const AnsiString& Value) { FUnitName = Value; }

  const AnsiString& GetLastError() const { return FLastError; }
  const AnsiString& GetLastErrorPos() const { return FLastErrorPos; }
  const AnsiString& GetLastErrorUnit() const { return FLastErrorUnit; }

  // Supplies a used unit's source text; without it the unit is read from the file of that name.
  TfsGetUnitEvent OnGetUnit;
  // Supplies a used unit's intermediate form: a non-empty text replaces the one just produced.
  TfsGetUnitEvent OnGetILUnit;

private:
  // The second pass (fs_iilparser_build.cpp).
  void CompileItems(TfsXMLItem* E, TfsScript* S);
  void DeclareProcs(TfsXMLItem* E, TfsScript* S);
  void CompileStmt(TfsXMLItem* E, TfsScript* S, TfsStatement* List);
  void CompileInto(TfsXMLItem* E, TfsScript* S, TfsStatement* List);
  void CompileParameters(TfsXMLItem* E, TfsProcVariable* P);
  TfsCustomVariable* MakeVariable(TfsXMLItem* E, TfsScript* S, bool ByRef, bool AsParam, TfsStatement* List,
                                  const AnsiString& Name);
  std::unique_ptr<TfsExpression> CompileExpr(TfsXMLItem* E, TfsScript* S);
  // Form: 0 plain, 1 "new Class(args)" (Create follows the class), 2 "delete Object" (Free follows).
  std::unique_ptr<TfsDesignator> CompileDesignator(TfsXMLItem* E, TfsScript* S, int Form = 0);
  std::unique_ptr<TfsSetExpression> CompileSet(TfsXMLItem* E, TfsScript* S);
  AnsiString ResolveType(AnsiString& T, TfsScript* S, int& KindOut);
  TfsCustomVariable* ResolveVariable(TfsScript* S, const AnsiString& N);
  void CheckNewName(TfsScript* S, const AnsiString& N);
  void CheckAssignable(TfsCustomVariable* V, TfsCustomVariable* E);
  void SetErrPos(TfsXMLItem* E);

  TfsXMLItem* FDeclRoot = nullptr;
  AnsiString FBuildErrorPos;
  // Building a deferred designator: Variant bases are read now and their members bound.
  bool FDeferring = false;
  std::shared_ptr<const AnsiString> FSharedText;
  // A designator that is built at its first use from a copy of E.
  std::unique_ptr<TfsDesignator> Defer(TfsXMLItem* E, TfsScript* S, int Form);
  // The class item of the object a Variant base holds now; raises when it holds none.
  TfsClassVariable* ClassOfValue(TfsScript* S, const Variant& V, const AnsiString& Member);
  // The hidden variables of the with statements being compiled, innermost last.
  std::vector<TfsCustomVariable*> FWithList;
  // The steps for a name that is a member of a with object; false when no with object has it.
  bool ResolveWithMember(TfsScript* S, const AnsiString& Name, TfsCustomVariable*& WithVar, TfsCustomVariable*& Member);

  bool Walk(const TfsGrammarNode* E);
  bool WalkLoop(const TfsGrammarNode* E, Integer P0);
  void RecordError(const TfsGrammarNode* E, Integer P0);
  void RecordErrorAt(const AnsiString& Text, Integer P);
  void Close(const TfsGrammarNode* E, bool Matched, Integer P0, std::size_t N0);
  void CloseUses(std::size_t N0);
  void IncludeUnit(const AnsiString& FileName, std::size_t& N0);
  AnsiString PositionAfterSpaces(Integer P);
  void NoteToken();

  TfsScript* FProgram;
  std::unique_ptr<TfsXMLDocument> FILDoc;
  std::shared_ptr<const TfsLanguage> FLanguage;
  AnsiString FLangName;
  bool FNeedDeclareVars = true;
  std::unique_ptr<TfsParser> FLexer;
  AnsiString FUnitName;
  std::unique_ptr<TStringList> FUsesList;

  // The state of one BuildIntermediate.
  std::vector<AnsiString> FLines;  // the intermediate form, one element tag a line
  AnsiString FErrorText;
  AnsiString FErrorPos;
  bool FErrorTerm = false;
  AnsiString FUnitErrorText;  // the message of a used unit that failed; it fails the pass
  AnsiString FUnitErrorUnit;
  bool FUnitFailed = false;
  Integer FFarthest = 1;  // the start of the farthest token read
  int FDepth = 0;
  int FDepthBase = 0;  // the depth a unit's walk starts at: that of the walk including it

  AnsiString FLastError;
  AnsiString FLastErrorPos;
  AnsiString FLastErrorUnit;
};
