// What the menu, action and dialog tests share: a headless form fixture with the application
// object, and pictures of the screen written as PNG into the build folder.
#pragma once

#include "platform/forms/tests/ControlsTestUtil.h"
#include "platform/testsupport/PixelCanvas.h"

class AppFormsFixture : public FormsTest {
protected:
  void SetUp() override;
  void TearDown() override;
};

// Copies the screen rectangle From into Into (at its top-left) and writes Into as Name.
void SaveScreenPng(RECT From, const char* Name, TPixelCanvas& Into);

class TPopupMenu;
// Pops Menu up at (X, Y) from Form's top-left corner, lights its first item (which needs a hint)
// and writes the form's screen rectangle into Into and as Name while the menu shows; then the
// menu is closed. Answers whether the picture was taken.
bool SavePopupMenuPng(TPopupMenu* Menu, TForm* Form, int X, int Y, const char* Name, TPixelCanvas& Into);

// Presses and lets go of the left button Clicks times (quick enough for a double click) at a
// point of C's client area, through the input queue; the caller handles what is queued.
void ClickClient(TControl* C, POINT Client, int Clicks = 1);
