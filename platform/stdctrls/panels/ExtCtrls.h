// What the panels and graphic controls share: their enumerations with type information, and
// the three-dimensional frame they draw their bevels with.
#pragma once

#include "platform/classes/TextAlignment.h"
#include "platform/forms/controls/ControlEnums.h"
#include "platform/forms/graphics/Colors.h"

class TCanvas;
struct TCreateParams;

PELTO_ENUM(TBevelCut, bvNone, bvLowered, bvRaised, bvSpace)
PELTO_ENUM(TBevelShape, bsBox, bsFrame, bsTopLine, bsBottomLine, bsLeftLine, bsRightLine, bsSpacer)
PELTO_ENUM(TBevelStyle, bsLowered, bsRaised)
PELTO_ENUM(TShapeType, stRectangle, stSquare, stRoundRect, stRoundSquare, stEllipse, stCircle)
PELTO_ENUM(TResizeStyle, rsNone, rsLine, rsUpdate, rsPattern)
PELTO_EVENT_TYPE(TCanResizeSplitEvent, void(TObject* Sender, int& NewSize, bool& Accept))
PELTO_ENUM(TScrollCode, scLineUp, scLineDown, scPageUp, scPageDown, scPosition, scTrack, scTop, scBottom, scEndScroll)
PELTO_EVENT_TYPE(TScrollEvent, void(TObject* Sender, TScrollCode ScrollCode, int& ScrollPos))

namespace ExtCtrls {
// Draws Width frames of one pixel inside Rect: the top and left lines in TopColor, the bottom
// and right ones in BottomColor. Rect shrinks by Width on every side.
void Frame3D(TCanvas* Canvas, RECT& Rect, TColor TopColor, TColor BottomColor, int Width);
// Frames of one pixel in the canvas's brush inside Rect, Width of them; Rect shrinks by Width.
void FrameInside(TCanvas* Canvas, RECT& Rect, int Width);
// The window style of a container's BorderStyle: bsSingle is the sunken client edge (a plain
// border without Ctl3D).
void AddBorderStyle(TCreateParams& Params, TBorderStyle Style, bool Ctl3D);
}  // namespace ExtCtrls
