// The fixture of the editors' window tests: the headless desktop of the control family with the
// editors' units started, and stopped after the test's components are gone.
#pragma once

#include "controls/editors/EditorsModule.h"
#include "controls/framework/tests/ControlTestUtil.h"

struct cxEditorWindowTest : cxWindowTest {
  void SetUp() override
  {
    cxWindowTest::SetUp();
    EditorsModule::Initialize();
  }
  void TearDown() override
  {
    Owner.reset();
    EditorsModule::Finalize();
    cxWindowTest::TearDown();
  }
};
