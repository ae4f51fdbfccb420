#include "platform/stdctrls/dialogs/FileFilters.h"

#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/StringUtils.h"

namespace FileFilters {

namespace {

// Splits at Sep where Sep is a whole character.
std::vector<AnsiString> SplitChars(const AnsiString& S, char Sep)
{
  std::vector<AnsiString> out;
  AnsiString piece;
  for (int i = 1; i <= int(S.size());) {
    int n = System::CharLength(S, i);
    if (n == 1 && S[size_t(i - 1)] == Sep) {
      out.push_back(piece);
      piece.clear();
    } else {
      piece.append(S, size_t(i - 1), size_t(n));
    }
    i += n;
  }
  out.push_back(piece);
  return out;
}

// The characters of a text, one string each.
std::vector<AnsiString> Chars(const AnsiString& S)
{
  std::vector<AnsiString> out;
  for (int i = 1; i <= int(S.size()); i += System::CharLength(S, i))
    out.push_back(S.substr(size_t(i - 1), size_t(System::CharLength(S, i))));
  return out;
}

bool SameChar(const AnsiString& A, const AnsiString& B)
{
  if (A.size() != 1 || B.size() != 1) return A == B;
  auto up = [](char c) { return c >= 'a' && c <= 'z' ? char(c - 32) : c; };
  return up(A[0]) == up(B[0]);
}

}  // namespace

std::vector<TFileFilter> ParseFilter(const AnsiString& Filter)
{
  std::vector<TFileFilter> out;
  if (Filter.empty()) return out;
  std::vector<AnsiString> pieces = SplitChars(Filter, '|');
  for (size_t i = 0; i + 1 < pieces.size(); i += 2) {
    TFileFilter f;
    f.Description = pieces[i];
    for (const AnsiString& m : SplitChars(pieces[i + 1], ';')) {
      AnsiString t = SysUtils::Trim(m);
      if (!t.empty()) f.Masks.push_back(t);
    }
    out.push_back(std::move(f));
  }
  return out;
}

bool MatchesMask(const AnsiString& Name, const AnsiString& Mask)
{
  if (Mask == "*.*" || Mask == "*") return true;
  std::vector<AnsiString> n = Chars(Name), m = Chars(Mask);
  // Greedy match with one back-track point for the last '*'.
  size_t ni = 0, mi = 0, starM = AnsiString::npos, starN = 0;
  while (ni < n.size()) {
    if (mi < m.size() && m[mi] == "*") {
      starM = mi++;
      starN = ni;
    } else if (mi < m.size() && (m[mi] == "?" || SameChar(m[mi], n[ni]))) {
      ++mi;
      ++ni;
    } else if (starM != AnsiString::npos) {
      mi = starM + 1;
      ni = ++starN;
    } else {
      return false;
    }
  }
  while (mi < m.size() && m[mi] == "*") ++mi;
  // "name.*" also takes "name" (the classic rule for a trailing ".*").
  if (mi + 2 == m.size() && m[mi] == "." && m[mi + 1] == "*") return true;
  return mi == m.size();
}

bool MatchesAny(const AnsiString& Name, const std::vector<AnsiString>& Masks)
{
  if (Masks.empty()) return true;
  for (const AnsiString& m : Masks)
    if (MatchesMask(Name, m)) return true;
  return false;
}

}  // namespace FileFilters
