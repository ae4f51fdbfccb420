#include "controls/editors/regexpr/cxRegExprErrors.h"

#include <string>

#include "controls/editors/cxEditConsts.h"
#include "controls/editors/cxResourceStrings.h"

AnsiString TcxRegExprError::Text() const
{
  if (FLine <= 0) return FMessage;
  AnsiString result = cxResourceStrings::GetResourceString(cxEditConsts::sRegExprLine) + std::to_string(FLine);
  if (FColumn > 0)
    result += ", " + cxResourceStrings::GetResourceString(cxEditConsts::sRegExprChar) + std::to_string(FColumn);
  return result + ": " + FMessage;
}
