// The fixture of the library controls' window tests: the headless screen with the standard
// controls, and a registry of its own in a temporary folder (the font picker and the settings
// store write there).
#pragma once

#include "platform/forms/tests/ControlsTestUtil.h"
#include "platform/testsupport/TempFolder.h"

class ReportControlsTest : public FormsTest {
protected:
  void SetUp() override;
  void TearDown() override;
  TTempFolder Folder{"frx-ctl"};
};
