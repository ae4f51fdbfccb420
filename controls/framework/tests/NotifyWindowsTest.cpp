// The hidden windows of the theme manager and of the system-palette listener on the headless
// window layer: when they exist, and what a broadcast theme or colour change does through them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "controls/framework/cxLookAndFeelPainters.h"
#include "controls/framework/cxLookAndFeels.h"
#include "controls/framework/cxSystemPaletteNotifier.h"
#include "controls/framework/dxThemeManager.h"
#include "controls/framework/dxUxTheme.h"
#include "platform/win/backend/Headless.h"
#include "platform/win/queue/Messages.h"
#include "platform/win/window/Windows.h"

namespace {

void Pump()
{
  MSG m;
  while (Windows::PeekMessage(&m, nullptr, 0, 0, PM_REMOVE)) Windows::DispatchMessage(&m);
}

std::string ClassOf(HWND Wnd)
{
  char name[64] = {};
  Windows::GetClassName(Wnd, name, sizeof name);
  return name;
}

// A hidden, top-level window of the class: broadcasts reach it, nothing shows it.
void ExpectHiddenReceiver(HWND Wnd, const char* ClassName)
{
  ASSERT_TRUE(Windows::IsWindow(Wnd));
  EXPECT_EQ(ClassOf(Wnd), ClassName);
  EXPECT_FALSE(Windows::IsWindowVisible(Wnd));
  EXPECT_EQ(Windows::GetParent(Wnd), nullptr);
}

// A stand-in theme library: one handle per open, a switch for the active theme.
struct TThemeLibrary {
  bool Active = true;
  std::vector<std::u16string> Opened;
  int Closed = 0;
};
TThemeLibrary* Library = nullptr;

HTHEME LibraryOpen(HWND, const char16_t* Name)
{
  Library->Opened.push_back(Name);
  return reinterpret_cast<HTHEME>(std::uintptr_t(Library->Opened.size()));
}
HRESULT LibraryClose(HTHEME) { return ++Library->Closed, 0; }
BOOL LibraryActive() { return Library->Active; }

void* LibraryLookup(const char* Name)
{
  const std::string n = Name;
  if (n == "OpenThemeData") return reinterpret_cast<void*>(&LibraryOpen);
  if (n == "CloseThemeData") return reinterpret_cast<void*>(&LibraryClose);
  if (n == "IsThemeActive") return reinterpret_cast<void*>(&LibraryActive);
  return nullptr;
}

struct ThemeReceiver : ::testing::Test {
  TThemeLibrary Lib;
  void SetUp() override
  {
    Library = &Lib;
    Headless::Start(800, 600);
    Start(true);
  }
  void TearDown() override
  {
    dxThemeManager::Finalize();
    dxUxTheme::Finalize();
    Headless::Start(800, 600);
    Library = nullptr;
  }
  static void Start(bool WithLibrary)
  {
    dxThemeManager::Finalize();
    dxUxTheme::Finalize();
    dxUxTheme::Initialize(5, 1, WithLibrary ? dxUxTheme::TProcLookup(LibraryLookup) : nullptr);
    dxThemeManager::Initialize();
  }
};

TEST_F(ThemeReceiver, ExistsWhileTheLibraryIsLoaded)
{
  const HWND receiver = dxThemeManager::GetReceiverWindow();
  ExpectHiddenReceiver(receiver, "TdxThemeChangedEventReceiver");
  EXPECT_TRUE(dxThemeManager::GetThemesActive());

  dxThemeManager::Finalize();
  EXPECT_FALSE(Windows::IsWindow(receiver));
  EXPECT_EQ(dxThemeManager::GetReceiverWindow(), nullptr);
  EXPECT_FALSE(dxThemeManager::GetThemesActive());

  Start(false);  // no theme library: no receiver
  EXPECT_EQ(dxThemeManager::GetReceiverWindow(), nullptr);

  Start(true);  // and a new one after a restart
  ExpectHiddenReceiver(dxThemeManager::GetReceiverWindow(), "TdxThemeChangedEventReceiver");
}

TEST_F(ThemeReceiver, BroadcastThemeChangeReopensAndTellsNotificators)
{
  TdxThemeChangedNotificator first, second;
  std::vector<int> order;
  first.OnThemeChanged = [&] { order.push_back(1); };
  second.OnThemeChanged = [&] { order.push_back(2); };
  ASSERT_NE(dxThemeManager::OpenTheme(totButton, u"Custom"), nullptr);

  // the user switches the theme off
  Lib.Active = false;
  Windows::PostMessage(HWND_BROADCAST, WM_THEMECHANGED, 0, 0);
  Pump();
  EXPECT_EQ(order, (std::vector<int>{1, 2}));
  EXPECT_EQ(Lib.Closed, 1);
  EXPECT_FALSE(dxThemeManager::GetThemesActive());
  EXPECT_EQ(dxThemeManager::OpenTheme(totButton), nullptr);

  // and on again: the class reopens lazily under the name it had
  Lib.Active = true;
  EXPECT_EQ(Windows::SendMessage(dxThemeManager::GetReceiverWindow(), WM_THEMECHANGED, 0, 0), 0);
  EXPECT_EQ(order, (std::vector<int>{1, 2, 1, 2}));
  EXPECT_TRUE(dxThemeManager::GetThemesActive());
  EXPECT_NE(dxThemeManager::OpenTheme(totButton), nullptr);
  EXPECT_EQ(Lib.Opened.back(), u"Custom");

  // other messages are the default procedure's
  const HWND receiver = dxThemeManager::GetReceiverWindow();
  Windows::SetWindowText(receiver, "probe");
  EXPECT_EQ(Windows::GetWindowText(receiver), "probe");
  EXPECT_EQ(order.size(), 4u);
}

struct PaletteListenerWindow : ::testing::Test {
  void SetUp() override
  {
    // the shared notifiers of the painters and of the root look-and-feel go, so that the listener
    // below is this test's own
    cxLookAndFeels::Finalize();
    cxLookAndFeelPainters::Finalize();
    Headless::Start(800, 600);
    ASSERT_FALSE(cxSystemPaletteNotifier::ListenerExists());
  }
  void TearDown() override { Headless::Start(800, 600); }
};

TEST_F(PaletteListenerWindow, WindowLivesWithTheNotifiers)
{
  EXPECT_EQ(cxSystemPaletteNotifier::ListenerWindow(), nullptr);
  auto first = std::make_unique<TcxSystemPaletteChangedNotifier>();
  const HWND window = cxSystemPaletteNotifier::ListenerWindow();
  ExpectHiddenReceiver(window, "TcxSystemPaletteChangedListener");
  auto second = std::make_unique<TcxSystemPaletteChangedNotifier>(true);
  EXPECT_EQ(cxSystemPaletteNotifier::ListenerWindow(), window);
  first.reset();
  EXPECT_TRUE(Windows::IsWindow(window));
  second.reset();
  EXPECT_FALSE(Windows::IsWindow(window));
  EXPECT_EQ(cxSystemPaletteNotifier::ListenerWindow(), nullptr);
}

TEST_F(PaletteListenerWindow, BroadcastColourChangeReachesPrimaryNotifiersFirst)
{
  std::vector<int> order;
  TcxSystemPaletteChangedNotifier ordinary(false), primary(true), silent(false);
  ordinary.OnSystemPaletteChanged = [&] { order.push_back(2); };
  primary.OnSystemPaletteChanged = [&] { order.push_back(1); };

  Windows::PostMessage(HWND_BROADCAST, WM_SYSCOLORCHANGE, 0, 0);
  Pump();
  EXPECT_EQ(order, (std::vector<int>{1, 2}));

  Windows::PostMessage(HWND_BROADCAST, WM_SETTINGCHANGE, 0, 0);  // not a colour change
  Pump();
  EXPECT_EQ(order.size(), 2u);

  // a failing notifier: the sender sees the exception; the window stays
  primary.OnSystemPaletteChanged = [] { throw Exception("no colours"); };
  const HWND window = cxSystemPaletteNotifier::ListenerWindow();
  EXPECT_THROW(Windows::SendMessage(window, WM_SYSCOLORCHANGE, 0, 0), Exception);
  EXPECT_TRUE(Windows::IsWindow(window));
  EXPECT_EQ(order.size(), 2u);  // the rest were not told
}

}  // namespace
