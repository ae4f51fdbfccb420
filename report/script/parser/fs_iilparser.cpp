#include "report/script/parser/fs_iilparser.h"

#include <mutex>
#include <unordered_map>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/StringList.h"
#include "platform/rtl/StringUtils.h"
#include "platform/rtl/Streams.h"
#include "report/script/parser/fs_iconst.h"
#include "report/script/parser/fs_iparser.h"
#include "report/script/tools/fs_itools.h"
#include "report/script/xml/fs_xml.h"
#include "platform/rtl/Guards.h"

// ---- The grammar in walking form ----------------------------------------------------------
// The XML grammar read once into nodes, so that the walk never looks up an attribute text.

struct TfsGrammarNode {
  enum TKind {
    Production,
    Char,
    Keyword,
    Ident,
    Number,
    String,
    FRString,
    EOL,
    Sequence,
    Switch,
    OptionalSwitch,
    Optional,
    Loop,
    OptionalLoop,
    Reference
  };
  TKind Kind = Sequence;
  AnsiString Name;        // element name, lower case
  AnsiString Text;        // expected token or loop separator, lower case
  AnsiString NodeName;    // wrapper element, lower case
  bool UsesNode = false;  // NodeName is "uses"
  bool ExprNode = false;  // NodeName is "expr"
  AnsiString Add;         // token element written on a match
  AnsiString AddText;     // its text instead of the token
  bool HasAddText = false;
  AnsiString ErrText;  // message recorded when the element fails
  bool Term = false;
  bool NoSkip = false;                  // skip="0"
  bool SkipErrors = false;              // skip="1"
  const TfsGrammarNode* Ref = nullptr;  // the production a reference walks
  std::vector<const TfsGrammarNode*> Children;
};

struct TfsGrammar {
  std::vector<std::unique_ptr<TfsGrammarNode>> Nodes;
  const TfsGrammarNode* Program = nullptr;
  TfsXMLItem* Types = nullptr;  // the grammar's "types" element, or null
};

// A loaded language: built once per grammar text and shared, read-only, by every parser.
struct TfsLanguage {
  AnsiString Text;  // the grammar text it was built from
  TfsXMLDocument Doc;
  TfsGrammar Grammar;
  std::vector<AnsiString> Keywords;
  std::vector<std::pair<AnsiString, AnsiString>> Settings;  // lower-case name, value
};

namespace {

// Nesting deeper than this ends the pass with an error instead of exhausting the stack.
constexpr int MaxWalkDepth = 2500;

class ETooDeep {};

AnsiString Lower(const AnsiString& S) { return SysUtils::LowerCase(S); }

bool SameToken(const AnsiString& Token, const AnsiString& LowerText)
{
  if (Token.size() != LowerText.size()) return false;
  for (std::size_t I = 0; I < Token.size(); ++I) {
    char C = Token[I];
    if (C >= 'A' && C <= 'Z') C = static_cast<char>(C - 'A' + 'a');
    if (C != LowerText[I]) return false;
  }
  return true;
}

const std::unordered_map<AnsiString, TfsGrammarNode::TKind>& KindNames()
{
  static const std::unordered_map<AnsiString, TfsGrammarNode::TKind> Map = {
      {"char", TfsGrammarNode::Char},
      {"keyword", TfsGrammarNode::Keyword},
      {"ident", TfsGrammarNode::Ident},
      {"number", TfsGrammarNode::Number},
      {"string", TfsGrammarNode::String},
      {"frstring", TfsGrammarNode::FRString},
      {"eol", TfsGrammarNode::EOL},
      {"sequence", TfsGrammarNode::Sequence},
      {"switch", TfsGrammarNode::Switch},
      {"optionalswitch", TfsGrammarNode::OptionalSwitch},
      {"optional", TfsGrammarNode::Optional},
      {"loop", TfsGrammarNode::Loop},
      {"optionalloop", TfsGrammarNode::OptionalLoop}};
  return Map;
}

class TGrammarBuilder {
public:
  TGrammarBuilder(TfsGrammar& G, TfsXMLItem* Root) : FG(G), FRoot(Root)
  {
    Integer P = Root->Find("parser");
    if (P >= 0) {
      Integer E = Root->GetItems(P)->Find("errors");
      if (E >= 0) FErrors = Root->GetItems(P)->GetItems(E);
    }
  }

  void Build()
  {
    // Productions first, so that references resolve; the first of a name wins.
    std::vector<std::pair<TfsXMLItem*, TfsGrammarNode*>> Productions;
    for (Integer I = 0; I < FRoot->GetCount(); ++I) {
      TfsXMLItem* X = FRoot->GetItems(I);
      TfsGrammarNode* N = NewNode(X);
      N->Kind = TfsGrammarNode::Production;
      FProductions.emplace(N->Name, N);
      Productions.emplace_back(X, N);
      if (N->Name == "types" && !FG.Types) FG.Types = X;
    }
    for (auto& [X, N] : Productions) AddChildren(X, N);
    auto It = FProductions.find("program");
    if (It != FProductions.end()) FG.Program = It->second;
  }

private:
  TfsGrammarNode* NewNode(TfsXMLItem* X)
  {
    FG.Nodes.push_back(std::make_unique<TfsGrammarNode>());
    TfsGrammarNode* N = FG.Nodes.back().get();
    N->Name = Lower(X->GetName());
    N->Text = Lower(X->Prop("text"));
    N->NodeName = Lower(X->Prop("node"));
    N->UsesNode = N->NodeName == "uses";
    N->ExprNode = N->NodeName == "expr";
    N->Add = X->Prop("add");
    N->AddText = X->Prop("addtext");
    N->HasAddText = !N->AddText.empty();
    AnsiString Err = X->Prop("err");
    if (!Err.empty() && FErrors) {
      Integer I = FErrors->Find(Err);
      if (I >= 0) N->ErrText = FErrors->GetItems(I)->Prop("text");
    }
    N->Term = X->Prop("term") == "1";
    AnsiString Skip = X->Prop("skip");
    N->NoSkip = Skip == "0";
    N->SkipErrors = Skip == "1";
    return N;
  }

  void AddChildren(TfsXMLItem* X, TfsGrammarNode* N)
  {
    for (Integer I = 0; I < X->GetCount(); ++I) {
      TfsXMLItem* CX = X->GetItems(I);
      TfsGrammarNode* C = NewNode(CX);
      auto K = KindNames().find(C->Name);
      if (K != KindNames().end()) {
        C->Kind = K->second;
      } else {
        C->Kind = TfsGrammarNode::Reference;
        auto P = FProductions.find(C->Name);
        if (P != FProductions.end()) C->Ref = P->second;
      }
      N->Children.push_back(C);
      AddChildren(CX, C);
    }
  }

  TfsGrammar& FG;
  TfsXMLItem* FRoot;
  TfsXMLItem* FErrors = nullptr;
  std::unordered_map<AnsiString, TfsGrammarNode*> FProductions;
};

AnsiString TokenLine(const AnsiString& Name, const AnsiString& Text, const AnsiString& Pos)
{
  return "<" + Name + " text=\"" + fs_xml::EscapeXMLText(Text) + "\" pos=\"" + Pos + "\"/>";
}

// The unquoted file name of a file token line written by TokenLine.
AnsiString FileNameOfLine(const AnsiString& Line)
{
  std::size_t Start = Line.find(" text=\"");
  if (Start == AnsiString::npos) return AnsiString();
  Start += 7;
  std::size_t End = Line.find('"', Start);
  AnsiString S = fs_xml::UnescapeXMLText(Line.substr(Start, End - Start));
  if (S.size() >= 2 && S.front() == '\'' && S.back() == '\'') S = S.substr(1, S.size() - 2);
  return S;
}

}  // namespace

// ---- TfsILParser ----------------------------------------------------------------------------

TfsILParser::TfsILParser(TfsScript* Program)
    : FProgram(Program), FILDoc(std::make_unique<TfsXMLDocument>()), FLexer(std::make_unique<TfsParser>()),
      FUsesList(std::make_unique<TStringList>())
{}

TfsILParser::~TfsILParser() = default;

namespace {

std::shared_ptr<const TfsLanguage> BuildLanguage(const AnsiString& Text)
{
  auto L = std::make_shared<TfsLanguage>();
  L->Text = Text;
  TStringStream Source(Text);
  L->Doc.LoadFromStream(&Source);
  TfsXMLItem* Root = L->Doc.GetRoot();
  Integer P = Root->Find("parser");
  if (P >= 0) {
    TfsXMLItem* Parser = Root->GetItems(P);
    Integer K = Parser->Find("keywords");
    if (K >= 0)
      for (Integer I = 0; I < Parser->GetItems(K)->GetCount(); ++I)
        L->Keywords.push_back(Parser->GetItems(K)->GetItems(I)->GetName());
    for (Integer I = 0; I < Parser->GetCount(); ++I)
      L->Settings.emplace_back(Lower(Parser->GetItems(I)->GetName()), Parser->GetItems(I)->Prop("text"));
  }
  TGrammarBuilder(L->Grammar, Root).Build();
  return L;
}

// The loaded languages by lower-case name; a changed grammar text is loaded again.
std::shared_ptr<const TfsLanguage> FindLanguage(const AnsiString& Name)
{
  static std::mutex Lock;
  static std::unordered_map<AnsiString, std::shared_ptr<const TfsLanguage>> Cache;
  AnsiString Text = fs_itools::GetLanguageDefinition(Name);
  AnsiString Key = Lower(Name);
  std::lock_guard<std::mutex> Guard(Lock);
  auto It = Cache.find(Key);
  if (It != Cache.end() && It->second->Text == Text) return It->second;
  auto L = BuildLanguage(Text);
  Cache[Key] = L;
  return L;
}

}  // namespace

void TfsILParser::LoadLanguage(const AnsiString& Name)
{
  FLexer->SetDefaults();
  FLangName = Name;
  FLanguage = FindLanguage(Name);
  for (const AnsiString& W : FLanguage->Keywords) FLexer->AddKeyword(W);
  for (const auto& [Key, Value] : FLanguage->Settings) {
    if (Key == "identchars")
      FLexer->SetIdentChars(Value);
    else if (Key == "commentline1")
      FLexer->SetCommentLine1(Value);
    else if (Key == "commentline2")
      FLexer->SetCommentLine2(Value);
    else if (Key == "commentblock1")
      FLexer->SetCommentBlock1(Value);
    else if (Key == "commentblock2")
      FLexer->SetCommentBlock2(Value);
    else if (Key == "stringquotes")
      FLexer->SetStringQuotes(Value);
    else if (Key == "hexsequence")
      FLexer->SetHexSequence(Value);
    else if (Key == "skipchar")
      FLexer->SetSkipChar(Value);
    else if (Key == "skipeol") {
      if (Value == "0") FLexer->SetSkipEOL(false);
    } else if (Key == "declarevars") {
      if (Value == "0") FNeedDeclareVars = false;
    }
  }
}

const TfsXMLDocument* TfsILParser::GetGrammar() const { return FLanguage ? &FLanguage->Doc : nullptr; }

void TfsILParser::NoteToken()
{
  if (FLexer->GetTokenStart() > FFarthest) FFarthest = FLexer->GetTokenStart();
}

AnsiString TfsILParser::PositionAfterSpaces(Integer P)
{
  Integer Saved = FLexer->GetPosition();
  FLexer->SetPosition(P);
  FLexer->SkipSpaces();
  AnsiString S = FLexer->GetXYPosition();
  FLexer->SetPosition(Saved);
  return S;
}

void TfsILParser::RecordErrorAt(const AnsiString& Text, Integer P)
{
  if (!FErrorText.empty()) return;
  FErrorText = Text;
  FErrorPos = FLexer->PositionToXY(P);
  FErrorTerm = false;
}

void TfsILParser::RecordError(const TfsGrammarNode* E, Integer P0)
{
  if (E->ErrText.empty() || !FErrorText.empty()) return;
  FErrorText = E->ErrText;
  FErrorPos = PositionAfterSpaces(P0);
  FErrorTerm = E->Term;
}

bool TfsILParser::BuildIntermediate(const AnsiString& Text)
{
  FLines.clear();
  FErrorText.clear();
  FErrorPos.clear();
  FErrorTerm = false;
  FUnitErrorText.clear();
  FUnitErrorUnit.clear();
  FUnitFailed = false;
  FFarthest = 1;
  FDepth = FDepthBase;
  FLastErrorUnit.clear();
  FILDoc->GetRoot()->Clear();
  FLexer->SetText(Text);

  // Whatever happens, the caller finds the recorded error state.
  struct TStore {
    TfsILParser* P;
    ~TStore()
    {
      P->FLastError = P->FErrorText;
      P->FLastErrorPos = P->FErrorPos;
    }
  } Store{this};

  Integer Start = 1;
  if (!Text.empty() && Text[0] == '#') {
    FLexer->SetPosition(2);
    if (SysUtils::CompareText(FLexer->GetIdent(), "language") == 0) {
      std::size_t From = static_cast<std::size_t>(FLexer->GetPosition() - 1);
      std::size_t Eol = Text.find_first_of("\r\n", From);
      LoadLanguage(SysUtils::Trim(Text.substr(From, Eol == AnsiString::npos ? AnsiString::npos : Eol - From)));
      FLexer->SetText(Text);
      if (Eol == AnsiString::npos) {
        Start = static_cast<Integer>(Text.size()) + 1;
      } else {
        // A CR LF pair or a lone line feed or carriage return ends the directive.
        Start = static_cast<Integer>(Eol) + 2;
        if (Text[Eol] == '\r' && Eol + 1 < Text.size() && Text[Eol + 1] == '\n') ++Start;
      }
    }
  }
  FLexer->SetPosition(Start);
  if (!FLanguage || !FLanguage->Grammar.Program) throw Exception(fs_iconst::SInvalidLanguage);

  bool Matched;
  try {
    Matched = Walk(FLanguage->Grammar.Program);
  } catch (ETooDeep&) {
    RecordErrorAt(fs_iconst::STooDeeplyNested, FLexer->GetTokenStart());
    return false;
  } catch (const EConvertError& E) {
    // A character code out of range in a string constant is a compile error of that token.
    RecordErrorAt(E.Message(), FLexer->GetTokenStart());
    return false;
  }

  if (FUnitFailed && FErrorText.empty()) {
    FErrorText = FUnitErrorText;
    FErrorPos.clear();
    FLastErrorUnit = FUnitErrorUnit;
  }
  if (Matched && FErrorText.empty()) {
    // Text the program form leaves unread is an error, not silently dropped.
    for (;;) {
      FLexer->SkipSpaces();
      if (!FLexer->GetEOL()) break;
    }
    if (FLexer->GetPosition() <= FLexer->GetSize()) RecordErrorAt(fs_iconst::SStatementExpected, FLexer->GetPosition());
  }
  // A walk that failed without a message reports where it got to.
  if (!Matched && FErrorText.empty()) RecordErrorAt(fs_iconst::SStatementExpected, FFarthest);
  if (!Matched || !FErrorText.empty()) return false;

  AnsiString Doc = "<?xml version=\"1.0\"?>\r\n<program>\r\n";
  for (const AnsiString& L : FLines) {
    Doc += L;
    Doc += "\r\n";
  }
  Doc += "</program>";
  TStringStream S(Doc);
  FILDoc->LoadFromStream(&S);
  TfsXMLItem* Types = FILDoc->GetRoot()->Add();
  if (FLanguage->Grammar.Types)
    Types->CopyFrom(FLanguage->Grammar.Types);
  else
    Types->SetName("types");
  return true;
}

bool TfsILParser::Walk(const TfsGrammarNode* E)
{
  TCountGuard depth(FDepth);
  if (FDepth > MaxWalkDepth) throw ETooDeep();

  const Integer P0 = FLexer->GetPosition();
  const std::size_t N0 = FLines.size();
  bool IsToken = false;
  AnsiString Token;
  bool Matched = true;

  switch (E->Kind) {
    case TfsGrammarNode::Production:
    case TfsGrammarNode::Sequence: break;
    case TfsGrammarNode::Char:
      if (!E->NoSkip) FLexer->SkipSpaces();
      Token = FLexer->GetChar();
      IsToken = true;
      break;
    case TfsGrammarNode::Keyword:
      Token = FLexer->GetWord();
      IsToken = true;
      break;
    case TfsGrammarNode::Ident:
      Token = FLexer->GetIdent();
      IsToken = true;
      break;
    case TfsGrammarNode::Number:
      Token = FLexer->GetNumber();
      IsToken = true;
      break;
    case TfsGrammarNode::String:
      Token = FLexer->GetString();
      IsToken = true;
      break;
    case TfsGrammarNode::FRString: {
      Token = FLexer->GetFRString();
      IsToken = true;
      if (!Token.empty()) {
        // A call of the host's Get function with the bracket text.
        AnsiString P = FLexer->GetXYPosition();
        FLines.push_back("<dsgn pos=\"" + P + "\">");
        FLines.push_back("<node text=\"Get\" pos=\"" + P + "\"/>");
        FLines.push_back("<expr pos=\"" + P + "\">");
        FLines.push_back("<string text=\"'" + fs_xml::EscapeXMLText(Token) + "'\" pos=\"" + P + "\"/>");
        FLines.push_back("</expr>");
        FLines.push_back("</dsgn>");
      }
      break;
    }
    case TfsGrammarNode::EOL: Matched = FLexer->GetEOL(); break;
    case TfsGrammarNode::Switch:
    case TfsGrammarNode::OptionalSwitch: {
      if (E->Children.empty()) return true;
      for (const TfsGrammarNode* C : E->Children)
        if (Walk(C)) return true;
      if (E->Kind == TfsGrammarNode::OptionalSwitch) return true;
      RecordError(E, P0);
      return false;
    }
    case TfsGrammarNode::Loop:
    case TfsGrammarNode::OptionalLoop: return WalkLoop(E, P0);
    case TfsGrammarNode::Optional:
      for (const TfsGrammarNode* C : E->Children)
        if (!Walk(C)) {
          FLexer->SetPosition(P0);
          break;
        }
      return true;
    case TfsGrammarNode::Reference:
      if (!E->Ref) throw Exception(fs_iconst::SInvalidLanguage);
      Matched = Walk(E->Ref);
      break;
  }

  if (IsToken) {
    Matched = !Token.empty() && (E->Text.empty() || SameToken(Token, E->Text));
    if (Matched) NoteToken();
  }

  if (Matched) {
    if (E->Kind != TfsGrammarNode::Production) Close(E, true, P0, N0);
    if (!E->Add.empty())
      FLines.push_back(TokenLine(E->Add, E->HasAddText ? E->AddText : Token, FLexer->GetXYPosition()));
    for (const TfsGrammarNode* C : E->Children)
      if (!Walk(C)) {
        Matched = false;
        break;
      }
  }
  if (!Matched) {
    RecordError(E, P0);
    FLexer->SetPosition(P0);
  }
  if (E->Kind == TfsGrammarNode::Production) Close(E, Matched, P0, N0);
  return Matched;
}

bool TfsILParser::WalkLoop(const TfsGrammarNode* E, Integer P0)
{
  int Iterations = 0;
  bool ChildFailed = false;
  Integer Q = P0;
  for (;;) {
    ++Iterations;
    const Integer Q0 = FLexer->GetPosition();
    ChildFailed = false;
    for (const TfsGrammarNode* C : E->Children)
      if (!Walk(C)) {
        ChildFailed = true;
        break;
      }
    Q = FLexer->GetPosition();
    if (!ChildFailed && !E->Text.empty()) {
      FLexer->SkipSpaces();
      if (!SameToken(FLexer->GetChar(), E->Text)) {
        FLexer->SetPosition(Q);
        break;
      }
    }
    if (ChildFailed || FLexer->GetPosition() == Q0) break;
  }
  if (Iterations > 1) {
    if (E->SkipErrors || FErrorTerm) {
      FErrorText.clear();
      FErrorPos.clear();
      FErrorTerm = false;
    }
    FLexer->SetPosition(Q);
    return true;
  }
  if (ChildFailed) {
    FLexer->SetPosition(P0);
    return E->Kind == TfsGrammarNode::OptionalLoop;
  }
  return true;
}

void TfsILParser::Close(const TfsGrammarNode* E, bool Matched, Integer P0, std::size_t N0)
{
  if (E->NodeName.empty()) return;
  if (!Matched) {
    FLines.resize(N0);
    return;
  }
  if (E->UsesNode) {
    CloseUses(N0);
    return;
  }
  AnsiString Open = "<" + E->NodeName + " pos=\"" + PositionAfterSpaces(P0) + "\"";
  if (E->ExprNode) Open += " pos1=\"" + FLexer->GetXYPosition() + "\"";
  Open += ">";
  FLines.insert(FLines.begin() + static_cast<std::ptrdiff_t>(N0), Open);
  FLines.push_back("</" + E->NodeName + ">");
}

void TfsILParser::CloseUses(std::size_t N0)
{
  // The file lines of the clause, last first: each is replaced by its unit at N0, so the
  // units end up in reverse order of the clause.
  std::vector<AnsiString> Files(FLines.begin() + static_cast<std::ptrdiff_t>(N0), FLines.end());
  FLines.resize(N0);
  for (auto It = Files.rbegin(); It != Files.rend(); ++It) IncludeUnit(FileNameOfLine(*It), N0);
}

void TfsILParser::IncludeUnit(const AnsiString& FileName, std::size_t& N0)
{
  if (FUsesList->IndexOf(FileName) >= 0) return;
  FUsesList->Add(FileName);

  TStringList Source;
  if (OnGetUnit) {
    AnsiString UnitText;
    OnGetUnit(FProgram, FileName, UnitText);
    Source.SetText(UnitText);
  } else {
    Source.LoadFromFile(FileName);
  }

  AnsiString UnitText;
  if (Source.GetCount() > 0) {
    TfsILParser Nested(FProgram);
    Nested.OnGetUnit = OnGetUnit;
    Nested.OnGetILUnit = OnGetILUnit;
    Nested.FUnitName = FileName;
    Nested.LoadLanguage(FLangName);
    Nested.FUsesList->Assign(FUsesList.get());
    Nested.FDepthBase = FDepth;  // the unit is walked on top of this walk's stack
    if (Nested.BuildIntermediate(Source.GetText())) {
      FUsesList->Assign(Nested.FUsesList.get());
      TStringStream Out;
      Nested.FILDoc->SetIndentOutput(false);
      Nested.FILDoc->SaveToStream(&Out);
      const AnsiString& S = Out.GetDataString();
      std::size_t Header = S.find("?>");
      UnitText = Header == AnsiString::npos ? S : S.substr(Header + 2);
      if (OnGetILUnit) {
        AnsiString ILText;
        OnGetILUnit(FProgram, FileName, ILText);
        if (!ILText.empty()) UnitText = ILText;
      }
    } else {
      if (!FUnitFailed) {
        FUnitFailed = true;
        FUnitErrorText = Nested.FLastError;
        FUnitErrorUnit = Nested.FLastErrorUnit.empty() ? FileName : Nested.FLastErrorUnit;
      }
      if (FErrorText.empty()) {
        FErrorText = FUnitErrorText;
        FErrorPos.clear();
        FErrorTerm = false;
        FLastErrorUnit = FUnitErrorUnit;
      }
    }
  }
  std::vector<AnsiString> Unit{"<uses unit=\"" + fs_xml::EscapeXMLText(FileName) + "\">", UnitText, "</uses>"};
  FLines.insert(FLines.begin() + static_cast<std::ptrdiff_t>(N0), Unit.begin(), Unit.end());
  N0 += Unit.size();
}
