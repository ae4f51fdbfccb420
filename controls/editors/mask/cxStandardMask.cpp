#include "controls/editors/mask/cxStandardMask.h"

#include <algorithm>

#include "platform/rtl/FormatSettings.h"

namespace {

bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

const TcxStandardMaskManyItem* AsPlace(const TcxStandardMaskCustomItem* AItem)
{
  return dynamic_cast<const TcxStandardMaskManyItem*>(AItem);
}

}  // namespace

bool TcxStandardMaskManyItem::Check(char& Ch) const
{
  if (!Accepts(Ch)) return false;
  if (FCaseRule == smcUpper && Ch >= 'a' && Ch <= 'z') Ch = static_cast<char>(Ch - 'a' + 'A');
  if (FCaseRule == smcLower && Ch >= 'A' && Ch <= 'Z') Ch = static_cast<char>(Ch - 'A' + 'a');
  return true;
}

bool TcxStandardMaskAlphaItem::Accepts(char Ch) const { return IsAsciiLetter(Ch); }

bool TcxStandardMaskAlphaNumericItem::Accepts(char Ch) const { return IsAsciiLetter(Ch) || IsDigit(Ch); }

bool TcxStandardMaskNumericItem::Accepts(char Ch) const { return IsDigit(Ch); }

bool TcxStandardMaskNumericSymbolItem::Accepts(char Ch) const { return IsDigit(Ch) || Ch == '+' || Ch == '-'; }

TcxStandardMask::TcxStandardMask() = default;
TcxStandardMask::~TcxStandardMask() = default;

void TcxStandardMask::Clear()
{
  FMask.clear();
  FLeading = false;
  FSaveLiterals = true;
  FBlank = '_';
  FItems.clear();
}

void TcxStandardMask::SetMask(const AnsiString& Mask)
{
  Clear();
  FMask = Mask;
  AnsiString body = Mask;
  if (!body.empty() && body[0] == '!') {
    FLeading = true;
    body.erase(0, 1);
  }
  Parse(body);
}

void TcxStandardMask::Parse(const AnsiString& AMask)
{
  TcxStandardMaskCase caseRule = smcUnchanged;
  auto literal = [&](char c) { FItems.push_back(std::make_unique<TcxStandardMaskLiteralItem>(c)); };
  const std::size_t length = AMask.size();
  for (std::size_t i = 0; i < length; ++i) {
    const char c = AMask[i];
    switch (c) {
      case 'L': FItems.push_back(std::make_unique<TcxStandardMaskAlphaItem>(caseRule, false)); break;
      case 'l': FItems.push_back(std::make_unique<TcxStandardMaskAlphaItem>(caseRule, true)); break;
      case 'A': FItems.push_back(std::make_unique<TcxStandardMaskAlphaNumericItem>(caseRule, false)); break;
      case 'a': FItems.push_back(std::make_unique<TcxStandardMaskAlphaNumericItem>(caseRule, true)); break;
      case 'C': FItems.push_back(std::make_unique<TcxStandardMaskASCIIItem>(caseRule, false)); break;
      case 'c': FItems.push_back(std::make_unique<TcxStandardMaskASCIIItem>(caseRule, true)); break;
      case '0': FItems.push_back(std::make_unique<TcxStandardMaskNumericItem>(caseRule, false)); break;
      case '9': FItems.push_back(std::make_unique<TcxStandardMaskNumericItem>(caseRule, true)); break;
      case '#': FItems.push_back(std::make_unique<TcxStandardMaskNumericSymbolItem>(caseRule)); break;
      case '>': caseRule = smcUpper; break;
      case '<':
        if (i + 1 < length && AMask[i + 1] == '>') {
          caseRule = smcUnchanged;
          ++i;
        } else {
          caseRule = smcLower;
        }
        break;
      case '\\':
        if (i + 1 < length) literal(AMask[++i]);
        break;
      case '/': literal(SysUtils::DateSeparator); break;
      case ':': literal(SysUtils::TimeSeparator); break;
      case ';': {
        // only ";0"/";1" at the very end, or ";0;b"/";1;b", end the mask
        const std::size_t rest = length - i;
        const bool flag = rest >= 2 && (AMask[i + 1] == '0' || AMask[i + 1] == '1');
        if (flag && rest == 2) {
          FSaveLiterals = AMask[i + 1] == '1';
          return;
        }
        if (flag && rest == 4 && AMask[i + 2] == ';') {
          FSaveLiterals = AMask[i + 1] == '1';
          FBlank = AMask[i + 3];
          return;
        }
        literal(c);
        break;
      }
      default: literal(c); break;
    }
  }
}

AnsiString TcxStandardMask::EmptyText() const
{
  AnsiString result;
  for (const auto& item : FItems) {
    if (AsPlace(item.get()))
      result += ' ';
    else if (FSaveLiterals)
      result += static_cast<const TcxStandardMaskLiteralItem*>(item.get())->GetLiteral();
  }
  return result;
}

AnsiString TcxStandardMask::Template() const
{
  AnsiString result;
  for (const auto& item : FItems) {
    if (AsPlace(item.get()))
      result += FBlank;
    else
      result += static_cast<const TcxStandardMaskLiteralItem*>(item.get())->GetLiteral();
  }
  return result;
}

void TcxStandardMask::Fill(AnsiString& Text, bool AdjustCase) const
{
  AnsiString result = Template();
  std::vector<bool> filled(FItems.size(), false);
  for (const char typed : Text) {
    for (std::size_t pos = 0; pos < FItems.size(); ++pos) {
      if (filled[pos]) continue;
      char c = typed;
      if (FItems[pos]->Check(c)) {
        result[pos] = AdjustCase ? c : typed;
        filled[pos] = true;
        break;
      }
      if ((typed == FBlank || typed == ' ') && AsPlace(FItems[pos].get())) {
        filled[pos] = true;
        break;
      }
    }
  }
  Text = result;
}

void TcxStandardMask::ToValue(AnsiString& Text) const
{
  AnsiString result;
  const std::size_t count = std::min(Text.size(), FItems.size());
  for (std::size_t pos = 0; pos < count; ++pos) {
    if (AsPlace(FItems[pos].get()))
      result += Text[pos] == FBlank ? ' ' : Text[pos];
    else if (FSaveLiterals)
      result += Text[pos];
  }
  Text = result;
}

bool TcxStandardMask::IsValid(AnsiString& Text) const
{
  if (Text.size() != FItems.size()) return false;
  for (std::size_t pos = 0; pos < FItems.size(); ++pos) {
    char c = Text[pos];
    if (FItems[pos]->Check(c)) {
      Text[pos] = c;
      continue;
    }
    const TcxStandardMaskManyItem* place = AsPlace(FItems[pos].get());
    if (place && place->GetOptional() && (Text[pos] == FBlank || Text[pos] == ' ')) continue;
    return false;
  }
  return true;
}
