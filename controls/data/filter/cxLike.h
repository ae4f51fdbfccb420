// The LIKE matcher of the filters: a multi-character wildcard (Percent), a one-character
// wildcard (Underscore) and an optional escape character, over CP936 text. A double-byte
// character counts as one character, so its trail byte never acts as a wildcard or escape.
//
// The multi-character wildcard matches any run of characters, the empty run included (also at
// the end of the text: "ab" is like "ab%%"). Matching takes time proportional to text length
// times pattern length at worst. It is case-sensitive: callers upper-case both sides first.
#pragma once

#include "platform/rtl/System.h"

namespace cxLike {

bool LikeMatches(const AnsiString& AText, const AnsiString& APattern, char APercent, char AUnderscore);

// AEscape = '\0' means no escape character. An escape character makes the next pattern
// character literal; one at the very end of the pattern is ignored.
bool MatchPattern(const char* AText, int ATextLength, const char* APattern, int APatternLength, char APercent,
                  char AUnderscore, char AEscape);

// Collapses runs of the wildcard, then removes one leading and one trailing wildcard. Answers
// 0 none, 1 trailing only, 2 leading only, 3 both. A pattern shorter than two characters (after
// collapsing) is left as it is and answers 0.
int StripOuterWildcards(AnsiString& APattern, char AWildcard);
// Replaces every run of the wildcard by a single one.
void CollapseWildcardRuns(AnsiString& APattern, char AWildcard);

}  // namespace cxLike
