// Docks, tool bars and floating windows on a headless form: rows, moves, tearing off and
// docking again, and the positions kept in a settings store.
#include <gtest/gtest.h>

#include "platform/forms/controls/DockTree.h"
#include "platform/forms/tests/ControlsTestUtil.h"
#include "platform/rtl/FileUtils.h"
#include "platform/rtl/IniFiles.h"
#include "platform/stdctrls/StdCtrls.h"
#include "platform/stdctrls/buttons/SpeedButton.h"
#include "platform/stdctrls/tests/PictureUtil.h"
#include "platform/testsupport/TempFolder.h"
#include "platform/win/input/InputQueue.h"
#include "platform/rtl/Registry.h"
#include "report/engine/controls/frxDock.h"
#include "report/engine/controls/tests/ReportControlsTestUtil.h"
#include "report/engine/model/frxReport.h"

namespace {

class ToolBarDockTest : public ReportControlsTest {
protected:
  void SetUp() override
  {
    ReportControlsTest::SetUp();
    Main = MakeForm(500, 300);
    Main->SetName("MainForm");
    TopDock = MakeDock("TopDock", alTop);
    LeftDock = MakeDock("LeftDock", alLeft);
  }
  TfrxDock* MakeDock(const char* Name, TAlign Align)
  {
    auto* dock = new TfrxDock(Owner.get());
    dock->SetName(Name);
    dock->SetParent(Main);
    dock->SetAlign(Align);
    dock->AdjustBounds();
    return dock;
  }
  // A bar of Buttons 23-pixel speed buttons, added after the dock's last row.
  TfrxToolBar* MakeBar(const char* Name, int Buttons, TfrxDock* Dock)
  {
    auto* bar = new TfrxToolBar(Owner.get());
    bar->SetName(Name);
    bar->SetCaption(Name);
    bar->SetParent(Dock);
    for (int i = 0; i < Buttons; ++i) {
      auto* b = new TSpeedButton(Owner.get());
      b->SetParent(bar);
      b->SetBounds(100 + i * 23, 1, 23, 22);
      b->SetCaption(AnsiString(1, char('A' + i)));
    }
    bar->AddToDock(Dock);
    return bar;
  }

  TForm* Main = nullptr;
  TfrxDock* TopDock = nullptr;
  TfrxDock* LeftDock = nullptr;
};

RECT BoundsOf(TControl* C) { return C->GetBoundsRect(); }

void ExpectPlace(TControl* C, int Left, int Top)
{
  SCOPED_TRACE(C->GetName());
  EXPECT_EQ(C->GetLeft(), Left);
  EXPECT_EQ(C->GetTop(), Top);
}

}  // namespace

TEST_F(ToolBarDockTest, RowsGrowAndShrinkWithTheirBars)
{
  EXPECT_EQ(TopDock->GetHeight(), 1);  // empty
  TfrxToolBar* a = MakeBar("BarA", 3, TopDock);
  EXPECT_EQ(TopDock->GetHeight(), 27);
  ExpectPlace(a, 0, 0);
  // Grip 8 + three buttons of 23 + 4.
  EXPECT_EQ(a->GetWidth(), 8 + 3 * 23 + 4);
  EXPECT_EQ(a->GetHeight(), 26);
  TfrxToolBar* b = MakeBar("BarB", 2, TopDock);
  EXPECT_EQ(TopDock->GetHeight(), 53);
  ExpectPlace(b, 0, 26);

  // The second row's only bar goes: the dock shrinks from 53 to 27.
  b->SetIsVisible(false);
  EXPECT_EQ(TopDock->GetHeight(), 27);
  b->SetIsVisible(true);
  EXPECT_EQ(TopDock->GetHeight(), 53);

  // A bar in a left dock is turned upright: its grip on top, its buttons below.
  TfrxToolBar* c = MakeBar("BarC", 2, LeftDock);
  EXPECT_EQ(c->GetDockOrientation(), 3);
  EXPECT_EQ(c->GetWidth(), 26);
  EXPECT_EQ(c->GetHeight(), 8 + 2 * 22 + 4);  // the buttons stacked by their heights
  EXPECT_EQ(LeftDock->GetWidth(), 27);
  EXPECT_EQ(a->GetDockOrientation(), 1);
}

TEST_F(ToolBarDockTest, MovesAlongTheDockAndRefusals)
{
  TfrxToolBar* a = MakeBar("BarA", 3, TopDock);
  TfrxToolBar* b = MakeBar("BarB", 2, TopDock);
  // B joins A's row where there is room, and is pushed right after A when dropped onto it.
  EXPECT_TRUE(b->MoveTo(300, 0));
  ExpectPlace(b, 300, 0);
  EXPECT_EQ(TopDock->GetHeight(), 27);
  EXPECT_TRUE(b->MoveTo(20, 0));
  ExpectPlace(b, a->GetWidth(), 0);
  // A little past the start stays at 0.
  EXPECT_TRUE(a->MoveTo(-10, 0));
  ExpectPlace(a, 0, 0);
  // Three bars, the third dropped into a gap too small between the others: refused, unmoved.
  EXPECT_TRUE(b->MoveTo(a->GetWidth() + 20, 0));
  TfrxToolBar* c = MakeBar("BarC", 3, TopDock);
  RECT before = BoundsOf(c);
  EXPECT_FALSE(c->MoveTo(a->GetWidth() + 5, 0));
  EXPECT_EQ(BoundsOf(c).left, before.left);
  EXPECT_EQ(BoundsOf(c).top, before.top);
  EXPECT_FALSE(c->IsFloating());
}

TEST_F(ToolBarDockTest, TearingOffFloatingAndDockingAgain)
{
  Main->Show();
  TfrxToolBar* a = MakeBar("BarA", 3, TopDock);
  TfrxToolBar* b = MakeBar("BarB", 2, TopDock);
  EXPECT_TRUE(b->MoveTo(-25, 26));
  ASSERT_TRUE(b->IsFloating());
  TfrxFloatWindow* window = b->GetFloatWindow();
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(b->GetParent(), window);
  ExpectPlace(b, 3, 18);
  EXPECT_EQ(window->GetClientWidth(), b->GetWidth() + 6);
  EXPECT_EQ(window->GetClientHeight(), b->GetHeight() + 21);
  EXPECT_EQ(TopDock->GetHeight(), 27);  // its row went with it
  EXPECT_EQ(b->GetDockOrientation(), 0);

  // A bar that cannot float stays at the start instead.
  a->SetCanFloat(false);
  EXPECT_TRUE(a->MoveTo(-25, 0));
  EXPECT_FALSE(a->IsFloating());
  ExpectPlace(a, 0, 0);

  // A horizontal-only bar over a left dock stays floating; over the top dock it docks.
  b->SetOrientation(toHorzOnly);
  POINT overLeft{LeftDock->GetLeft(), LeftDock->GetTop() + 5};
  EXPECT_FALSE(b->TryDock(Main, overLeft));
  EXPECT_TRUE(b->IsFloating());
  POINT overTop{200, 3};
  EXPECT_TRUE(b->TryDock(Main, overTop));
  EXPECT_FALSE(b->IsFloating());
  EXPECT_EQ(b->GetDock(), TopDock);
  EXPECT_EQ(b->GetFloatWindow(), nullptr);
  EXPECT_EQ(TopDock->GetHeight(), 53);
  ExpectPlace(b, 200, 26);
  Pump();  // the float window is released

  // Closing the float window hides the bar with it.
  b->Float(600, 400);
  ASSERT_NE(b->GetFloatWindow(), nullptr);
  b->GetFloatWindow()->Close();
  EXPECT_FALSE(b->GetIsVisible());
  b->SetIsVisible(true);
  EXPECT_TRUE(b->GetFloatWindow()->GetVisible());
}

TEST_F(ToolBarDockTest, TheGripDragsTearsOffAndTheWindowDocksAgain)
{
  Main->Show();
  MakeBar("BarA", 3, TopDock);
  TfrxToolBar* b = MakeBar("BarB", 2, TopDock);
  Pump();
  POINT grip = b->ClientToScreen(POINT{4, 10});
  InputQueue::MouseMove(grip.x, grip.y);
  InputQueue::MouseDown(InputQueue::Button::Left, grip.x, grip.y);
  Pump();
  // Along the row in pixels: 40 to the right.
  InputQueue::MouseMove(grip.x + 40, grip.y);
  Pump();
  ExpectPlace(b, 40, 26);
  // Up by one row: it joins the first row after BarA.
  InputQueue::MouseMove(grip.x + 40, grip.y - 27);
  Pump();
  EXPECT_EQ(b->GetTop(), 0);
  EXPECT_EQ(TopDock->GetHeight(), 27);
  // Far to the left: torn off, its window under the mouse.
  InputQueue::MouseMove(grip.x - 300, grip.y - 27);
  Pump();
  ASSERT_TRUE(b->IsFloating());
  TfrxFloatWindow* window = b->GetFloatWindow();
  // The window follows the mouse while the button is held.
  RECT r = window->GetBoundsRect();
  InputQueue::MouseMove(grip.x - 300 + 30, grip.y + 100);
  Pump();
  ASSERT_TRUE(b->IsFloating());
  EXPECT_EQ(window->GetLeft(), r.left + 30);
  EXPECT_EQ(window->GetTop(), r.top + 127);
  // Back over the top dock: docked again, in a new row.
  POINT overDock = Main->ClientToScreen(POINT{150, TopDock->GetHeight() - 1});
  InputQueue::MouseMove(overDock.x, overDock.y);
  Pump();
  EXPECT_FALSE(b->IsFloating());
  EXPECT_EQ(b->GetDock(), TopDock);
  InputQueue::MouseUp(InputQueue::Button::Left, overDock.x, overDock.y);
  Pump();
  EXPECT_EQ(b->GetFloatWindow(), nullptr);
}

TEST_F(ToolBarDockTest, PositionsAreSavedAndRestored)
{
  TTempFolder folder("frx-dock");
  TMemIniFile settings(folder.Path("layout.ini").c_str());
  TfrxToolBar* a = MakeBar("BarA", 3, TopDock);
  TfrxToolBar* b = MakeBar("BarB", 2, TopDock);
  b->Float(320, 240);
  frxDock::SaveToolbarPosition(&settings, a);
  frxDock::SaveToolbarPosition(&settings, b);
  EXPECT_EQ(settings.ReadString("ToolBar.BarA", "Dock", ""), "TopDock");
  EXPECT_FALSE(settings.ReadBool("ToolBar.BarA", "Float", true));
  EXPECT_TRUE(settings.ReadBool("ToolBar.BarB", "Float", false));
  EXPECT_EQ(settings.ReadInteger("ToolBar.BarB", "Left", 0), 320);
  EXPECT_EQ(settings.ReadInteger("ToolBar.BarB", "Top", 0), 240);
  EXPECT_FALSE(settings.ValueExists("ToolBar.BarB", "Dock"));

  // Restoring puts the floating bar back in its window there, and the docked one in its dock.
  b->DockTo(LeftDock, 0, 0);
  a->DockTo(LeftDock, 0, 0);
  frxDock::RestoreToolbarPosition(&settings, b);
  frxDock::RestoreToolbarPosition(&settings, a);
  ASSERT_TRUE(b->IsFloating());
  EXPECT_EQ(b->GetFloatWindow()->GetLeft(), 320);
  EXPECT_EQ(b->GetFloatWindow()->GetTop(), 240);
  EXPECT_EQ(a->GetDock(), TopDock);
  EXPECT_TRUE(a->GetIsVisible());

  // A dock the form does not have: the bar stays in its current dock, where it was placed.
  settings.WriteString("ToolBar.BarA", "Dock", "NoSuchDock");
  settings.WriteInteger("ToolBar.BarA", "Left", 50);
  frxDock::RestoreToolbarPosition(&settings, a);
  EXPECT_EQ(a->GetDock(), TopDock);
  ExpectPlace(a, 50, 0);
  // Hidden bars come back hidden.
  settings.WriteBool("ToolBar.BarA", "Visible", false);
  frxDock::RestoreToolbarPosition(&settings, a);
  EXPECT_FALSE(a->GetIsVisible());
}

TEST_F(ToolBarDockTest, PositionsGoThroughTheReportsSettingsStore)
{
  TTempFolder folder("frx-dock");
  TfrxToolBar* a = MakeBar("BarA", 3, TopDock);
  TfrxReport report(nullptr);
  // A registry key under the current user, or an ini file of that name.
  for (AnsiString store : {AnsiString("\\Software\\Lanyue Reports"), AnsiString(folder.Path("report.ini").c_str())}) {
    SCOPED_TRACE(store);
    report.IniFile = store;
    a->MoveTo(40, 0);
    frxDock::SaveToolbarPosition(report.GetIniFile().get(), a);
    a->MoveTo(0, 0);
    frxDock::RestoreToolbarPosition(report.GetIniFile().get(), a);
    ExpectPlace(a, 40, 0);
  }
  TRegistry reg;
  EXPECT_TRUE(reg.KeyExists("\\Software\\Lanyue Reports\\ToolBar.BarA"));
  EXPECT_TRUE(SysUtils::FileExists(folder.Path("report.ini").c_str()));
}

TEST_F(ToolBarDockTest, DockSiteLayoutAndFormPositions)
{
  TTempFolder folder("frx-dock");
  TMemIniFile settings(folder.Path("layout.ini").c_str());
  Main->Show();
  auto* site = new TfrxDockSite(Owner.get());
  site->SetName("Site");
  site->SetParent(Main);
  EXPECT_FALSE(site->GetSizer()->GetVisible());
  EXPECT_EQ(site->GetSizer()->GetParent(), Main);
  auto* tool = new TForm(Owner.get());
  tool->SetName("Inspector");
  tool->SetBounds(600, 100, 180, 300);
  tool->SetCaption("对象检查器");
  tool->SetDragKind(dkDock);
  tool->Show();
  ASSERT_TRUE(tool->ManualDock(site));
  EXPECT_TRUE(site->GetSizer()->GetVisible());
  EXPECT_GE(site->GetWidth(), 180);  // widened to the window
  int width = site->GetWidth();
  site->SizeBy(20);
  EXPECT_EQ(site->GetWidth(), width + 20);

  frxDock::SaveDockSitePosition(&settings, site);
  frxDock::SaveFormPosition(&settings, tool);
  AnsiString data = settings.ReadString("Dock.Site", "Data", "");
  ASSERT_FALSE(data.empty());
  EXPECT_EQ(data.size() % 2, 0u);
  EXPECT_EQ(data.find_first_not_of("0123456789ABCDEF"), AnsiString::npos);
  EXPECT_EQ(settings.ReadString("Form.TForm", "Dock", "x"), "Site");

  // Floated, then restored: the window docks into the site again.
  tool->ManualFloat(RECT{600, 100, 780, 400});
  EXPECT_EQ(tool->GetHostDockSite(), nullptr);
  EXPECT_FALSE(site->GetSizer()->GetVisible());
  frxDock::RestoreFormPosition(&settings, tool);
  EXPECT_EQ(tool->GetHostDockSite(), site);
  EXPECT_TRUE(tool->GetVisible());
  // A damaged layout text leaves the site as it is.
  settings.WriteString("Dock.Site", "Data", "ZZ");
  frxDock::RestoreDockSitePosition(&settings, site);
  EXPECT_EQ(tool->GetHostDockSite(), site);
  frxDock::RestoreDockSitePosition(&settings, site);
}

TEST_F(ToolBarDockTest, PictureOfDockedAndFloatingBars)
{
  Main->SetCaption("工具栏");
  Main->Show();
  MakeBar("Standard", 4, TopDock)->SetCaption("标准");
  TfrxToolBar* b = MakeBar("Format", 3, TopDock);
  b->SetCaption("格式");
  MakeBar("Align", 3, LeftDock);
  b->Float(Main->GetLeft() + 200, Main->GetTop() + 120);
  Pump();
  Main->Repaint();
  b->GetFloatWindow()->Repaint();
  SaveFormPicture(Main, "report-toolbars.png");
  // The floating window: grey frame and title band, button face inside.
  TfrxFloatWindow* w = b->GetFloatWindow();
  EXPECT_EQ(PixelOf(w, 1, 1), RGB(0x80, 0x80, 0x80));
  EXPECT_EQ(PixelOf(w, w->GetWidth() - 20, 10), RGB(0x80, 0x80, 0x80));
  EXPECT_EQ(PixelOf(w, 3, w->GetHeight() - 4), Graphics::ColorToRGB(clBtnFace));
  // A docked bar's grip lines in the button shadow colour on odd rows.
  TfrxToolBar* standard = dynamic_cast<TfrxToolBar*>(Owner->FindComponent("Standard"));
  ASSERT_NE(standard, nullptr);
  TfrxDragBox* grip = standard->GetDragBox();
  EXPECT_EQ(PixelOf(standard, grip->GetLeft() + 3, grip->GetTop() + 1), Graphics::ColorToRGB(clBtnShadow));
  EXPECT_EQ(PixelOf(standard, grip->GetLeft() + 3, grip->GetTop() + 2), Graphics::ColorToRGB(clBtnFace));
}
