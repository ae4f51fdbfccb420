#include <gtest/gtest.h>

#include <set>
#include <string>
#include <tuple>

#include "controls/framework/cxWinXPLookAndFeelPainter.h"
#include "controls/framework/dxThemeManager.h"
#include "controls/framework/dxUxTheme.h"
#include "controls/framework/tests/PaintFixture.h"
#include "platform/gdi/dc/GdiObjects.h"
#include "platform/gdi/draw/Shapes.h"

namespace {

// A stand-in theme library that records what is asked of it.
struct TFakeLibrary {
  bool Active = true;
  std::vector<std::u16string> Opened;
  std::set<std::u16string> Missing;
  int Closed = 0;
  std::vector<std::tuple<int, int, RECT>> Drawn;  // part, state, rect
};
TFakeLibrary* Fake = nullptr;

HTHEME FakeOpen(HWND, const char16_t* Name)
{
  if (Fake->Missing.count(Name)) return nullptr;
  Fake->Opened.push_back(Name);
  return reinterpret_cast<HTHEME>(std::uintptr_t(Fake->Opened.size()));
}
HRESULT FakeClose(HTHEME) { return ++Fake->Closed, 0; }
BOOL FakeActive() { return Fake->Active; }
HRESULT FakeDraw(HTHEME, HDC DC, int Part, int State, const RECT* R, const RECT*)
{
  Fake->Drawn.emplace_back(Part, State, *R);
  HBRUSH b = Windows::CreateSolidBrush(0x00C0FF);  // theme parts paint orange
  Windows::FillRect(DC, R, b);
  Windows::DeleteObject(b);
  return 0;
}

void* FakeLookup(const char* Name)
{
  std::string n = Name;
  if (n == "OpenThemeData") return reinterpret_cast<void*>(&FakeOpen);
  if (n == "CloseThemeData") return reinterpret_cast<void*>(&FakeClose);
  if (n == "IsThemeActive") return reinterpret_cast<void*>(&FakeActive);
  if (n == "DrawThemeBackground") return reinterpret_cast<void*>(&FakeDraw);
  return nullptr;
}

struct ThemeTest : ::testing::Test {
  TFakeLibrary Library;
  void SetUp() override
  {
    Fake = &Library;
    Restart(true);
  }
  void TearDown() override
  {
    dxThemeManager::Finalize();
    dxUxTheme::Finalize();
    Fake = nullptr;
  }
  static void Restart(bool WithLibrary, int Minor = 1)
  {
    dxThemeManager::Finalize();
    dxUxTheme::Finalize();
    dxUxTheme::Initialize(5, Minor, WithLibrary ? dxUxTheme::TProcLookup(FakeLookup) : nullptr);
    dxThemeManager::Initialize();
  }
};

TEST_F(ThemeTest, VersionAndBinding)
{
  EXPECT_FALSE(dxUxTheme::IsVersionXPOrNewer(5, 0));
  EXPECT_TRUE(dxUxTheme::IsVersionXPOrNewer(5, 1));
  EXPECT_TRUE(dxUxTheme::IsVersionXPOrNewer(6, 0));
  EXPECT_FALSE(dxUxTheme::IsVersionXPOrNewer(4, 90));
  EXPECT_TRUE(dxUxTheme::IsUxThemeLoaded());
  EXPECT_NE(dxUxTheme::GetBoundFunction("OpenThemeData"), nullptr);
  EXPECT_EQ(dxUxTheme::GetBoundFunction("GetThemeColor"), nullptr);
  Restart(true, 0);  // an older system: the library is not even loaded
  EXPECT_FALSE(dxUxTheme::IsUxThemeLoaded());
  EXPECT_FALSE(dxThemeManager::AreThemesAvailable());
  Restart(false);  // this platform: no library
  EXPECT_TRUE(dxUxTheme::IsOSVersionXPOrNewer());
  EXPECT_FALSE(dxUxTheme::IsUxThemeLoaded());
  EXPECT_FALSE(dxThemeManager::AreThemesAvailable(0xFFFFFF));
  EXPECT_EQ(dxThemeManager::OpenTheme(totButton), nullptr);
  TdxThemeChangedNotificator n;
  int calls = 0;
  n.OnThemeChanged = [&] { ++calls; };
  dxThemeManager::ThemeChangedMessage();
  EXPECT_EQ(calls, 0);
}

TEST_F(ThemeTest, HandlesAreCachedByNameAndReopenedAfterAChange)
{
  HTHEME h = dxThemeManager::OpenTheme(totButton);
  ASSERT_NE(h, nullptr);
  EXPECT_EQ(Library.Opened.back(), u"Button");
  EXPECT_EQ(dxThemeManager::OpenTheme(totButton, u"button"), h);
  EXPECT_EQ(Library.Opened.size(), 1u);
  HTHEME other = dxThemeManager::OpenTheme(totButton, u"Other");
  EXPECT_NE(other, h);
  EXPECT_EQ(Library.Closed, 1);
  EXPECT_EQ(dxThemeManager::OpenTheme(totButton), other);
  dxThemeManager::ThemeChangedMessage();
  EXPECT_EQ(Library.Closed, 2);
  dxThemeManager::OpenTheme(totButton);
  EXPECT_EQ(Library.Opened.back(), u"Other");  // the remembered name
  Library.Missing.insert(u"Header");
  EXPECT_EQ(dxThemeManager::OpenTheme(totHeader), nullptr);
  EXPECT_FALSE(dxThemeManager::AreThemesAvailable(1u << totHeader));
  EXPECT_TRUE(dxThemeManager::AreThemesAvailable((1u << totTab) | 0xFF000000u));  // bits above 23 ignored
  Library.Active = false;
  dxThemeManager::ThemeChangedMessage();
  EXPECT_FALSE(dxThemeManager::AreThemesAvailable());
}

TEST_F(ThemeTest, NotificatorsRunInOrderAndAFailureStopsTheRest)
{
  std::vector<int> order;
  TdxThemeChangedNotificator a, b, c;
  a.OnThemeChanged = [&] { order.push_back(1); };
  b.OnThemeChanged = [&] {
    order.push_back(2);
    throw Exception("broken");
  };
  c.OnThemeChanged = [&] { order.push_back(3); };
  AnsiString handled;
  TScopedFunction<void(const std::exception&)> handler(dxThemeManager::ExceptionHandlerService(),
                                                       [&](const std::exception& e) { handled = e.what(); });
  EXPECT_EQ(dxThemeManager::ThemeChangedMessage(), 0);
  EXPECT_EQ(order, (std::vector<int>{1, 2}));
  EXPECT_EQ(handled, "broken");
}

TEST_F(ThemeTest, ThemedPainterDrawsThroughTheThemeAndFallsBackWithoutIt)
{
  auto xp = TcxWinXPLookAndFeelPainter::Class();
  EXPECT_EQ(xp->GetLookAndFeelKind(), 3);
  EXPECT_EQ(xp->GetCheckBorderWidth(), 0);
  TPaintFixture f(20, 16);
  xp->DrawButton(f.Canvas.get(), {0, 0, 20, 16}, cxbsHot);
  ASSERT_EQ(Library.Drawn.size(), 1u);
  EXPECT_EQ(std::get<0>(Library.Drawn[0]), 1);
  EXPECT_EQ(std::get<1>(Library.Drawn[0]), 2);
  xp->DrawScrollBarPart(f.Canvas.get(), false, {0, 0, 20, 16}, cxsbpThumb, cxbsDisabled);
  EXPECT_EQ(std::get<0>(Library.Drawn[1]), 3);  // a disabled themed thumb is drawn
  EXPECT_EQ(std::get<1>(Library.Drawn[1]), 4);
  EXPECT_EQ(std::get<0>(Library.Drawn[2]), 9);  // and its gripper

  // Themes switched off: the next paint is the standard look.
  Library.Active = false;
  dxThemeManager::ThemeChangedMessage();
  f.Clear();
  xp->DrawButton(f.Canvas.get(), {0, 0, 20, 16}, cxbsNormal);
  EXPECT_EQ(f.At(0, 0), Sys(clBtnHighlight));
  EXPECT_EQ(f.At(19, 15), Sys(cl3DDkShadow));
  EXPECT_EQ(xp->GetCheckBorderWidth(), 2);
  EXPECT_EQ(xp->GetButtonBorderWidth(cxbsNormal), 2);
  f.Clear();
  xp->DrawScrollBarPart(f.Canvas.get(), false, {0, 0, 20, 16}, cxsbpThumb, cxbsDisabled);
  EXPECT_EQ(f.BoundsNot(0xFFFFFF), RECT{});
  EXPECT_EQ(Library.Drawn.size(), 3u);
}

}  // namespace
