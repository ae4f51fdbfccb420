#include "controls/data/filter/cxFilterConsts.h"

namespace cxFilterConsts {

TcxFetchTextHook TextFetchHook;

namespace {

constexpr const char* kTexts[] = {
    "equals",
    "does not equal",
    "is less than",
    "is less than or equal to",
    "is greater than",
    "is greater than or equal to",
    "like",
    "not like",
    "between",
    "not between",
    "in",
    "not in",
    "is yesterday",
    "is today",
    "is tomorrow",
    "is last week",
    "is last month",
    "is last year",
    "is this week",
    "is this month",
    "is this year",
    "is next week",
    "is next month",
    "is next year",
    "and",
    "or",
    "not",
    "blank",
    "is blank",
    "is not blank",
    "begins with",
    "does not begin with",
    "ends with",
    "does not end with",
    "contains",
    "does not contain",
    "(All)",
    "(Custom...)",
    "(Blanks)",
    "(NonBlanks)",
};
static_assert(sizeof(kTexts) / sizeof(kTexts[0]) == cxSFilterTextLast - cxSFilterOperatorEqual + 1);

}  // namespace

AnsiString BuiltInText(int AResource)
{
  if (AResource < cxSFilterOperatorEqual || AResource > cxSFilterTextLast) return AnsiString();
  return kTexts[AResource - cxSFilterOperatorEqual];
}

void FetchText(int AResource, AnsiString& S)
{
  if (TextFetchHook)
    TextFetchHook(AResource, S);
  else
    S = BuiltInText(AResource);
}

AnsiString Text(int AResource)
{
  AnsiString s;
  FetchText(AResource, s);
  return s;
}

}  // namespace cxFilterConsts
