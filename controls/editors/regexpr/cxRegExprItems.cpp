#include "controls/editors/regexpr/cxRegExprItems.h"

#include "platform/rtl/FormatSettings.h"

namespace {

// One-byte upper case; bytes above 127 are lead bytes and never change case.
char UpperByte(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

}  // namespace

bool TcxRegExprSymbol::Matches(char& Ch, bool CaseInsensitive) const
{
  if (!CaseInsensitive) return Ch == FSymbol;
  if (UpperByte(Ch) != UpperByte(FSymbol)) return false;
  Ch = FSymbol;
  return true;
}

std::unique_ptr<TcxRegExprItem> TcxRegExprSymbol::Copy() const { return std::make_unique<TcxRegExprSymbol>(FSymbol); }

bool TcxRegExprTimeSeparator::Matches(char& Ch, bool) const { return Ch == SysUtils::TimeSeparator; }

std::unique_ptr<TcxRegExprItem> TcxRegExprTimeSeparator::Copy() const
{
  return std::make_unique<TcxRegExprTimeSeparator>();
}

bool TcxRegExprDateSeparator::Matches(char& Ch, bool) const { return Ch == SysUtils::DateSeparator; }

std::unique_ptr<TcxRegExprItem> TcxRegExprDateSeparator::Copy() const
{
  return std::make_unique<TcxRegExprDateSeparator>();
}

bool TcxRegExprSubrange::Matches(char& Ch, bool) const
{
  auto c = static_cast<unsigned char>(Ch);
  return static_cast<unsigned char>(FStart) <= c && c <= static_cast<unsigned char>(FFinish);
}

std::unique_ptr<TcxRegExprItem> TcxRegExprSubrange::Copy() const
{
  return std::make_unique<TcxRegExprSubrange>(FStart, FFinish);
}

bool TcxRegExprEnumeration::Matches(char& Ch, bool CaseInsensitive) const
{
  return MatchesMember(Ch, CaseInsensitive) != FInverse;
}

bool TcxRegExprUserEnumeration::MatchesMember(char& Ch, bool CaseInsensitive) const
{
  for (const auto& item : FItems)
    if (item->Matches(Ch, CaseInsensitive)) return true;
  return false;
}

std::unique_ptr<TcxRegExprItem> TcxRegExprUserEnumeration::Copy() const
{
  auto result = std::make_unique<TcxRegExprUserEnumeration>(GetInverse());
  for (const auto& item : FItems) result->Add(item->Copy());
  return result;
}

bool TcxRegExprDigit::MatchesMember(char& Ch, bool) const { return Ch >= '0' && Ch <= '9'; }

std::unique_ptr<TcxRegExprItem> TcxRegExprDigit::Copy() const
{
  return std::make_unique<TcxRegExprDigit>(GetInverse());
}

bool TcxRegExprIdLetter::MatchesMember(char& Ch, bool) const
{
  return (Ch >= 'a' && Ch <= 'z') || (Ch >= 'A' && Ch <= 'Z') || (Ch >= '0' && Ch <= '9') || Ch == '_';
}

std::unique_ptr<TcxRegExprItem> TcxRegExprIdLetter::Copy() const
{
  return std::make_unique<TcxRegExprIdLetter>(GetInverse());
}

bool TcxRegExprSpace::MatchesMember(char& Ch, bool) const
{
  switch (Ch) {
    case ' ':
    case '\0':
    case '\t':
    case '\n':
    case '\f':
    case '\r': return true;
    default: return false;
  }
}

std::unique_ptr<TcxRegExprItem> TcxRegExprSpace::Copy() const
{
  return std::make_unique<TcxRegExprSpace>(GetInverse());
}

std::unique_ptr<TcxRegExprItem> TcxRegExprAll::Copy() const { return std::make_unique<TcxRegExprAll>(); }

std::unique_ptr<TcxRegExprQuantifier> TcxRegExprSimpleQuantifier::Copy() const
{
  return std::make_unique<TcxRegExprSimpleQuantifier>();
}

std::unique_ptr<TcxRegExprQuantifier> TcxRegExprQuestionQuantifier::Copy() const
{
  return std::make_unique<TcxRegExprQuestionQuantifier>();
}

std::unique_ptr<TcxRegExprQuantifier> TcxRegExprStarQuantifier::Copy() const
{
  return std::make_unique<TcxRegExprStarQuantifier>();
}

std::unique_ptr<TcxRegExprQuantifier> TcxRegExprPlusQuantifier::Copy() const
{
  return std::make_unique<TcxRegExprPlusQuantifier>();
}
