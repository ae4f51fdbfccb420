#include "controls/data/filter/cxLike.h"

#include <vector>

#include "platform/rtl/AnsiStrings.h"

namespace cxLike {

namespace {

// Byte length of the character starting at p (a lead byte with no trail byte stands alone).
int CharLen(const char* p, const char* end) { return (System::IsLeadByte(*p) && p + 1 < end) ? 2 : 1; }

struct TToken {
  enum TKind { tkChar, tkAnyOne, tkAnyRun } Kind;
  const char* Text;  // tkChar: the character's bytes
  int Len;
};

std::vector<TToken> Tokenize(const char* p, const char* end, char pct, char und, char esc)
{
  std::vector<TToken> tokens;
  bool escaped = false;
  while (p < end) {
    const int len = CharLen(p, end);
    const bool single = len == 1;
    if (!escaped && esc != '\0' && single && *p == esc) {
      escaped = true;
    } else if (!escaped && single && *p == pct) {
      if (tokens.empty() || tokens.back().Kind != TToken::tkAnyRun)  // a run acts as one
        tokens.push_back({TToken::tkAnyRun, p, 1});
    } else if (!escaped && single && *p == und) {
      tokens.push_back({TToken::tkAnyOne, p, 1});
    } else {
      tokens.push_back({TToken::tkChar, p, len});
      escaped = false;
    }
    p += len;
  }
  return tokens;
}

}  // namespace

bool MatchPattern(const char* AText, int ATextLength, const char* APattern, int APatternLength, char APercent,
                  char AUnderscore, char AEscape)
{
  const std::vector<TToken> pattern = Tokenize(APattern, APattern + APatternLength, APercent, AUnderscore, AEscape);
  const char* const end = AText + ATextLength;

  // Greedy scan that remembers the last multi-character wildcard and, on a mismatch, lets it
  // swallow one more character. Each wildcard restarts the scan from its own position, so the
  // work is bounded by text length times pattern length.
  const char* t = AText;
  size_t k = 0;
  size_t starToken = 0;
  const char* starText = nullptr;
  bool haveStar = false;
  while (t < end) {
    if (k < pattern.size()) {
      const TToken& tok = pattern[k];
      const int len = CharLen(t, end);
      if (tok.Kind == TToken::tkAnyRun) {
        haveStar = true;
        starToken = k++;
        starText = t;
        continue;
      }
      if (tok.Kind == TToken::tkAnyOne ||
          (tok.Len == len && std::char_traits<char>::compare(tok.Text, t, static_cast<size_t>(len)) == 0)) {
        t += len;
        ++k;
        continue;
      }
    }
    if (!haveStar) return false;
    starText += CharLen(starText, end);
    t = starText;
    k = starToken + 1;
  }
  while (k < pattern.size() && pattern[k].Kind == TToken::tkAnyRun) ++k;
  return k == pattern.size();
}

bool LikeMatches(const AnsiString& AText, const AnsiString& APattern, char APercent, char AUnderscore)
{
  return MatchPattern(AText.data(), static_cast<int>(AText.size()), APattern.data(), static_cast<int>(APattern.size()),
                      APercent, AUnderscore, '\0');
}

void CollapseWildcardRuns(AnsiString& APattern, char AWildcard)
{
  AnsiString result;
  result.reserve(APattern.size());
  const char* p = APattern.data();
  const char* const end = p + APattern.size();
  bool lastWasWildcard = false;
  while (p < end) {
    const int len = CharLen(p, end);
    const bool wildcard = len == 1 && *p == AWildcard;
    if (!(wildcard && lastWasWildcard)) result.append(p, static_cast<size_t>(len));
    lastWasWildcard = wildcard;
    p += len;
  }
  APattern = std::move(result);
}

int StripOuterWildcards(AnsiString& APattern, char AWildcard)
{
  CollapseWildcardRuns(APattern, AWildcard);
  if (APattern.size() < 2) return 0;
  const bool leading = APattern.front() == AWildcard && !System::IsLeadByte(APattern.front());
  // The last byte is a whole character unless it is the trail byte of a double-byte one.
  const int lastIndex = static_cast<int>(APattern.size());
  const bool trailing = APattern.back() == AWildcard && System::ByteType(APattern, lastIndex) == System::mbSingleByte;
  if (trailing) APattern.pop_back();
  if (leading) APattern.erase(0, 1);
  return (leading ? 2 : 0) + (trailing ? 1 : 0);
}

}  // namespace cxLike
