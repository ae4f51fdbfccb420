#include "platform/forms/graphics/Colors.h"

#include "platform/gdi/dc/SysColors.h"

namespace Graphics {

COLORREF ColorToRGB(TColor Color)
{
  if (Color == clNone || Color == clDefault) return 0;
  if (Color < 0) return Windows::GetSysColor(Color & 0xFF);
  return static_cast<COLORREF>(Color) & 0xFFFFFF;
}

}  // namespace Graphics
