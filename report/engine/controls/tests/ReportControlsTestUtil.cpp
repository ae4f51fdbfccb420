#include "report/engine/controls/tests/ReportControlsTestUtil.h"

#include "platform/rtl/Registry.h"
#include "platform/stdctrls/StdCtrls.h"

void ReportControlsTest::SetUp()
{
  FormsTest::SetUp();
  StdCtrls::Initialize();
  Registry::SetStoreFile(Folder.Path("registry").c_str());
}

void ReportControlsTest::TearDown()
{
  FormsTest::TearDown();
  Registry::SetStoreFile("");
}
