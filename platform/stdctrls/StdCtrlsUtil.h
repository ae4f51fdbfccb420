// Small helpers the standard controls share.
#pragma once

#include "platform/gdi/WinTypes.h"

class TFont;

namespace StdCtrlsUtil {
// The font's metrics, measured on a memory DC: no window is needed (a control measures before
// its window exists).
TEXTMETRICA FontMetrics(TFont* Font);
}  // namespace StdCtrlsUtil
