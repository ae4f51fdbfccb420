// The pictures of the control tests: a form as the headless screen shows it, written as a PNG
// into the build folder, and the screen pixel at a point of a control.
#pragma once

#include "platform/gdi/WinTypes.h"

class TForm;
class TControl;

void SaveFormPicture(TForm* Form, const char* Name);
// The screen pixel at (X, Y) of the control's client area.
COLORREF PixelOf(TControl* C, int X, int Y);
