#include "platform/gdi/image/SystemBitmaps.h"

#include "platform/gdi/image/Bitmaps.h"
#include "platform/gdi/dc/DeviceContext.h"
#include "platform/gdi/draw/Edges.h"
#include "platform/gdi/dc/GdiObjects.h"
#include "platform/gdi/draw/Shapes.h"
#include "platform/gdi/dc/SysColors.h"

namespace SystemBitmaps {

using namespace Windows;

HBITMAP CreateSystemBitmap(int id)
{
  if (id != OBM_CHECKBOXES) return nullptr;
  constexpr int kSide = 13;
  HBITMAP bmp = CreateCompatibleBitmap(nullptr, 4 * kSide, 3 * kSide);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, bmp);
  RECT all{0, 0, 4 * kSide, 3 * kSide};
  FillRect(dc, &all, GetSysColorBrush(COLOR_BTNFACE));
  const UINT kinds[3] = {DFCS_BUTTONCHECK, DFCS_BUTTONRADIO, DFCS_BUTTON3STATE};
  const UINT states[4] = {0, DFCS_CHECKED, DFCS_PUSHED, DFCS_PUSHED | DFCS_CHECKED};
  for (int row = 0; row < 3; ++row)
    for (int col = 0; col < 4; ++col) {
      RECT r{col * kSide, row * kSide, (col + 1) * kSide, (row + 1) * kSide};
      DrawFrameControl(dc, &r, DFC_BUTTON, kinds[row] | states[col]);
    }
  SelectObject(dc, old);
  DeleteDC(dc);
  return bmp;
}

}  // namespace SystemBitmaps
