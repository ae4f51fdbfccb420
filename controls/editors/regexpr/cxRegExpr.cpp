#include "controls/editors/regexpr/cxRegExpr.h"

#include "controls/editors/cxEditConsts.h"
#include "controls/editors/cxResourceStrings.h"
#include "controls/editors/regexpr/cxRegExprAutomat.h"
#include "controls/editors/regexpr/cxRegExprTree.h"
#include "platform/rtl/FormatText.h"
#include "platform/rtl/Streams.h"

namespace {

bool IsBlankSource(const AnsiString& AText)
{
  for (char c : AText)
    if (c != '\0' && c != '\t' && c != '\n' && c != '\f' && c != '\r' && c != ' ') return false;
  return true;
}

}  // namespace

TcxRegExpr::TcxRegExpr() : FSource(std::make_unique<TMemoryStream>()) {}

TcxRegExpr::~TcxRegExpr() = default;

void TcxRegExpr::Clear()
{
  FSource->Clear();
  FText.clear();
  FErrors.Clear();
  FLexems.Clear();
  FGroups.clear();
  FReplacedItems.clear();
  FExpression.reset();
  FAutomat.reset();
  FStateCount = 0;
  FReadPos = 0;
  FLexemPos = 0;
  FColumn = 0;
  FLine = 1;
  FCompiled = false;
}

void TcxRegExpr::Compile(TStream* Source)
{
  // recompiling from our own source stream: keep its text across the discard
  std::unique_ptr<TStringStream> ownSource;
  if (Source && Source == FSource.get()) {
    ownSource = std::make_unique<TStringStream>(FText);
    Source = ownSource.get();
  }
  if (FFirstCompile)
    FFirstCompile = false;
  else
    Clear();
  if (!Source) {
    AddError(0, 0, cxEditConsts::sRegExprNotAssignedSourceStream);
    RaiseErrors();
  }
  FSource->LoadFromStream(Source);
  FText.assign(static_cast<const char*>(FSource->GetMemory()), static_cast<std::size_t>(FSource->GetSize()));
  if (IsBlankSource(FText)) {
    AddError(0, 0, cxEditConsts::sRegExprEmptySourceStream);
    RaiseErrors();
  }
  Lex();
  if (FErrors.Count() > 0) RaiseErrors();
  Parse();
  if (FErrors.Count() > 0) {
    FGroups.clear();
    FReplacedItems.clear();
    FExpression.reset();
    RaiseErrors();
  }
  BuildAutomaton();
  FCompiled = true;
  if (FLiteralCompletion) FAutomat->CompleteForward();
}

void TcxRegExpr::Compile(const AnsiString& Source)
{
  TStringStream stream(Source);
  Compile(&stream);
}

TStream* TcxRegExpr::SourceStream() const { return FCompiled ? FSource.get() : nullptr; }

void TcxRegExpr::CheckCompiled() const
{
  if (!FCompiled) throw Exception(cxResourceStrings::GetResourceString(cxEditConsts::sRegExprNotCompiled));
}

void TcxRegExpr::AddError(int ALine, int AColumn, int AMessageId, const AnsiString& AArg)
{
  AnsiString message = cxResourceStrings::GetResourceString(AMessageId);
  if (!AArg.empty()) {
    try {
      message = SysUtils::Format(message, {AArg});
    } catch (const EConvertError&) {
      // a translated text without its placeholder still reports the error
    }
  }
  FErrors.Add(ALine, AColumn, message);
}

void TcxRegExpr::RaiseErrors() const { throw EcxRegExprError(FErrors); }

void TcxRegExpr::DoLiteralAdded(char Ch)
{
  if (OnLiteralAdded) OnLiteralAdded(this, Ch);
}

void TcxRegExpr::DoLiteralRemoved()
{
  if (OnLiteralRemoved) OnLiteralRemoved(this);
}

bool TcxRegExpr::Accept(char& Ch)
{
  CheckCompiled();
  if (!FAutomat->Accept(Ch, FCaseInsensitive)) return false;
  if (FLiteralCompletion && !FAutomat->IsFinal()) FAutomat->CompleteForward();
  return true;
}

void TcxRegExpr::AcceptText(const AnsiString& Text, AnsiString& Accepted)
{
  CheckCompiled();
  Accepted.clear();
  for (char typed : Text) {
    char c = typed;
    if (FAutomat->Accept(c, FCaseInsensitive)) Accepted += typed;
  }
}

bool TcxRegExpr::StepBack()
{
  CheckCompiled();
  if (FLiteralCompletion) FAutomat->SkipLiteralsBack();
  return FAutomat->StepBack();
}

void TcxRegExpr::Restart()
{
  CheckCompiled();
  FAutomat->Restart();
}

bool TcxRegExpr::IsComplete()
{
  CheckCompiled();
  return FAutomat->IsFinal();
}

bool TcxRegExpr::AtStart()
{
  CheckCompiled();
  return FAutomat->AtStart();
}

void TcxRegExpr::SetLiteralCompletion(bool Value)
{
  FLiteralCompletion = Value;
  if (Value && FCompiled) FAutomat->CompleteForward();
}

void TcxRegExpr::BuildAutomaton()
{
  for (int i = 0; i < FExpression->Count(); ++i) FExpression->Items(i)->Link();
  for (int i = 0; i < FExpression->Count(); ++i) FExpression->Items(i)->MarkFinal();
  auto start = std::make_unique<TcxRegExprSimpleState>(nullptr);
  bool startFinal = false;
  for (int i = 0; i < FExpression->Count(); ++i) {
    FExpression->Items(i)->LinkFirstStates(start.get());
    if (FExpression->Items(i)->AllMayBeAbsent()) startFinal = true;
  }
  start->SetFinal(startFinal);
  FGroups.clear();
  FReplacedItems.clear();
  FAutomat = std::make_unique<TcxRegExprAutomat>(std::move(FExpression), std::move(start), this);
}
