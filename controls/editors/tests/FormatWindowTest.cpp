// The format controller's hidden window on the headless window layer: it exists while there are
// listeners, and a change of the regional settings arriving there re-reads the locale.
#include <gtest/gtest.h>

#include <functional>

#include "controls/editors/EditorsModule.h"
#include "controls/editors/formats/cxFormats.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/sys/Locale.h"
#include "platform/win/backend/Headless.h"
#include "platform/win/queue/Messages.h"
#include "platform/win/window/Windows.h"

namespace {

struct TCountingListener : IcxFormatChangeListener {
  int Calls = 0;
  std::function<void()> OnChanged;
  void FormatChanged() override
  {
    ++Calls;
    if (OnChanged) OnChanged();
  }
};

class FormatWindow : public ::testing::Test {
protected:
  void SetUp() override
  {
    Headless::Start(800, 600);
    SysUtils::ResetFormatSettings();
    Locale::ApplyLocale();
    EditorsModule::Initialize();
    Controller = cxFormats::GetFormatController();
  }
  void TearDown() override
  {
    EditorsModule::Finalize();
    Headless::Start(800, 600);
    SysUtils::ResetFormatSettings();
  }
  static LPARAM Section(const char* Text) { return reinterpret_cast<LPARAM>(Text); }
  static void Pump()
  {
    MSG m;
    while (Windows::PeekMessage(&m, nullptr, 0, 0, PM_REMOVE)) Windows::DispatchMessage(&m);
  }
  TcxFormatController* Controller = nullptr;
};

TEST_F(FormatWindow, ExistsWhileThereAreListeners)
{
  EXPECT_EQ(Controller->GetWindow(), nullptr);
  TCountingListener a, b;
  Controller->AddListener(&a);
  const HWND window = Controller->GetWindow();
  ASSERT_TRUE(Windows::IsWindow(window));
  EXPECT_FALSE(Windows::IsWindowVisible(window));
  EXPECT_EQ(Windows::GetParent(window), nullptr);  // top-level: broadcasts reach it
  char name[64];
  Windows::GetClassName(window, name, sizeof name);
  EXPECT_STREQ(name, "TcxFormatControllerWindow");

  Controller->AddListener(&b);
  EXPECT_EQ(Controller->GetWindow(), window);
  Controller->RemoveListener(&a);
  EXPECT_TRUE(Windows::IsWindow(window));
  Controller->RemoveListener(&b);
  EXPECT_FALSE(Windows::IsWindow(window));
  EXPECT_EQ(Controller->GetWindow(), nullptr);

  // a controller freed with listeners still registered takes its window with it
  Controller->AddListener(&a);
  const HWND second = Controller->GetWindow();
  ASSERT_TRUE(Windows::IsWindow(second));
  EditorsModule::Finalize();
  EXPECT_FALSE(Windows::IsWindow(second));
}

TEST_F(FormatWindow, BroadcastSettingChangeRereadsTheLocale)
{
  TCountingListener listener;
  Controller->AddListener(&listener);
  // the user's settings moved away from the locale; the message brings them back
  SysUtils::ShortDateFormat = "d/m/yy";
  Controller->UpdateFormats();
  ASSERT_EQ(Controller->GetDateEditFormat(), "dd/mm/yy");

  Windows::PostMessage(HWND_BROADCAST, WM_SETTINGCHANGE, 0, Section("intl"));
  Pump();
  EXPECT_EQ(listener.Calls, 1);
  EXPECT_EQ(SysUtils::ShortDateFormat, "yyyy-mm-dd");
  EXPECT_EQ(Controller->GetDateEditFormat(), "yyyy-mm-dd");
  EXPECT_EQ(Controller->GetStandardDateEditMask(), "!9999-99-99;1; ");
  EXPECT_EQ(Controller->GetStartOfWeek(), 0);  // the locale's Sunday
  Controller->RemoveListener(&listener);
}

TEST_F(FormatWindow, OtherSettingChangesAreLeftAlone)
{
  int reads = 0;
  TcxFormatControllerHooks hooks;
  hooks.ReadLocaleFormatSettings = [&] { ++reads; };
  cxFormats::TScopedFormatControllerHooks scope(hooks);
  TCountingListener listener;
  Controller->AddListener(&listener);
  const HWND window = Controller->GetWindow();

  const std::pair<WPARAM, const char*> ignored[] = {{1, "intl"}, {0, "Environment"}, {0, nullptr}};
  for (const auto& [wParam, section] : ignored)
    Windows::SendMessage(window, WM_SETTINGCHANGE, wParam, Section(section));
  EXPECT_EQ(reads, 0);
  EXPECT_EQ(listener.Calls, 0);

  // an application that does not follow the regional settings
  hooks.UpdateFormatSettings = [] { return false; };
  cxFormats::TScopedFormatControllerHooks notFollowing(hooks);
  Windows::SendMessage(window, WM_SETTINGCHANGE, 0, Section("intl"));
  EXPECT_EQ(listener.Calls, 0);

  // the window answers other messages as any window does
  Windows::SetWindowText(window, "probe");
  EXPECT_EQ(Windows::GetWindowText(window), "probe");
  Controller->RemoveListener(&listener);
}

TEST_F(FormatWindow, ListenerFailureGoesToTheApplication)
{
  TCountingListener listener;
  listener.OnChanged = [] { throw EConvertError("bad format"); };
  Controller->AddListener(&listener);
  const HWND window = Controller->GetWindow();

  // without an application handler the exception reaches whoever sent the message
  EXPECT_THROW(Windows::SendMessage(window, WM_SETTINGCHANGE, 0, Section("intl")), EConvertError);
  EXPECT_TRUE(Windows::IsWindow(window));

  AnsiString handled;
  TcxFormatControllerHooks hooks;
  hooks.HandleException = [&](const Exception& e) { handled = e.Message(); };
  cxFormats::TScopedFormatControllerHooks scope(hooks);
  EXPECT_EQ(Windows::SendMessage(window, WM_SETTINGCHANGE, 0, Section("intl")), 0);
  EXPECT_EQ(handled, "bad format");
  EXPECT_EQ(listener.Calls, 2);
  Controller->RemoveListener(&listener);
}

}  // namespace
