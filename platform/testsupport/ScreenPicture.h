// Pictures of the headless screen for the window tests: a rectangle of the screen copied into a
// pixel canvas, and a canvas written as a PNG file.
#pragma once

#include <string>

#include "platform/gdi/WinTypes.h"

class TPixelCanvas;

// Copies the screen rectangle From into Into (at its top-left).
void CaptureScreenRect(RECT From, TPixelCanvas& Into);
// Writes Canvas as the PNG file Path.
void WritePng(const TPixelCanvas& Canvas, const std::string& Path);
