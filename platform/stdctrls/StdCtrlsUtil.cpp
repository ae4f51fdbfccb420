#include "platform/stdctrls/StdCtrlsUtil.h"

#include "platform/forms/graphics/Font.h"
#include "platform/gdi/dc/DeviceContext.h"
#include "platform/gdi/text/Fonts.h"

namespace StdCtrlsUtil {

TEXTMETRICA FontMetrics(TFont* Font)
{
  HDC dc = Windows::CreateCompatibleDC(nullptr);
  HGDIOBJ old = Windows::SelectObject(dc, Font->GetHandle());
  TEXTMETRICA tm{};
  Windows::GetTextMetrics(dc, &tm);
  Windows::SelectObject(dc, old);
  Windows::DeleteDC(dc);
  return tm;
}

}  // namespace StdCtrlsUtil
