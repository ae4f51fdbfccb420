#include "platform/forms/tests/AppTestUtil.h"

#include "platform/forms/app/Application.h"
#include "platform/forms/controls/Controls.h"
#include "platform/win/backend/Headless.h"

void AppTest::SetUp()
{
  Headless::Start(800, 600);
  Forms::FinalizeApplication();
  Controls::Initialize();
  Forms::InitializeApplication();
  FBox.emplace([this](const AnsiString& Text, const AnsiString& Caption, unsigned Flags) {
    Shown.push_back({Text, Caption, Flags});
    return MessageSeam::DefaultAnswer(Flags);
  });
}

void AppTest::TearDown()
{
  FBox.reset();
  Forms::FinalizeApplication();
  Headless::Start(800, 600);
}
