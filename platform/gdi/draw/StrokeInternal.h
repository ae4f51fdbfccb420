// Internal to the drawing layer: stroking device-space paths with a pen.
#pragma once

#include <vector>

#include "platform/gdi/dc/GdiInternal.h"

namespace GdiInternal {
// The pen's width in device pixels (at least 1).
int DevicePenWidth(const TDCObj* dc, const TPenObj* pen);
// Strokes the path through the points (closed: back to the first) with the DC's ROP2. Thin
// pens exclude each segment's end point, as GDI's lines do; dashes continue across segments.
void StrokeDevice(TDCObj* dc, const std::vector<POINT>& pts, bool closed, const TPenObj* pen);
}  // namespace GdiInternal
