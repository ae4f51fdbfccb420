#include "platform/rtl/Exceptions.h"

namespace SysUtils {

void Abort() { throw EAbort("Operation aborted"); }

}  // namespace SysUtils
