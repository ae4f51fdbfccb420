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
