// The words of the filters: operator descriptions, Boolean words, blanks, LIKE pattern shapes
// and the filter value list's special entries. Fetched by id through a replaceable hook, so a
// localisation table can supply other words.
#pragma once

#include <functional>

#include "platform/rtl/System.h"

namespace cxFilterConsts {

enum TcxFilterTextId : int {
  cxSFilterOperatorEqual = 31000,
  cxSFilterOperatorNotEqual,
  cxSFilterOperatorLess,
  cxSFilterOperatorLessEqual,
  cxSFilterOperatorGreater,
  cxSFilterOperatorGreaterEqual,
  cxSFilterOperatorLike,
  cxSFilterOperatorNotLike,
  cxSFilterOperatorBetween,
  cxSFilterOperatorNotBetween,
  cxSFilterOperatorInList,
  cxSFilterOperatorNotInList,
  cxSFilterOperatorYesterday,
  cxSFilterOperatorToday,
  cxSFilterOperatorTomorrow,
  cxSFilterOperatorLastWeek,
  cxSFilterOperatorLastMonth,
  cxSFilterOperatorLastYear,
  cxSFilterOperatorThisWeek,
  cxSFilterOperatorThisMonth,
  cxSFilterOperatorThisYear,
  cxSFilterOperatorNextWeek,
  cxSFilterOperatorNextMonth,
  cxSFilterOperatorNextYear,
  cxSFilterAndCaption,
  cxSFilterOrCaption,
  cxSFilterNotCaption,
  cxSFilterBlankCaption,
  cxSFilterOperatorIsNull,
  cxSFilterOperatorIsNotNull,
  cxSFilterOperatorBeginsWith,
  cxSFilterOperatorDoesNotBeginWith,
  cxSFilterOperatorEndsWith,
  cxSFilterOperatorDoesNotEndWith,
  cxSFilterOperatorContains,
  cxSFilterOperatorDoesNotContain,
  cxSFilterBoxAllCaption,
  cxSFilterBoxCustomCaption,
  cxSFilterBoxBlanksCaption,
  cxSFilterBoxNonBlanksCaption,
  cxSFilterTextLast = cxSFilterBoxNonBlanksCaption
};

// Called in place of the built-in table when assigned (the editor framework points it at its
// resource-string table at start-up).
using TcxFetchTextHook = std::function<void(int AResource, AnsiString& S)>;
extern TcxFetchTextHook TextFetchHook;

// The built-in text of an id; the empty text for an id outside the table.
AnsiString BuiltInText(int AResource);
void FetchText(int AResource, AnsiString& S);
// FetchText as a value.
AnsiString Text(int AResource);

}  // namespace cxFilterConsts
