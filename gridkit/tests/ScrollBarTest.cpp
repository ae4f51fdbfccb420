// The grid's scroll-bar settings with an external bar on plain windows of the headless back end.
#include <gtest/gtest.h>

#include <vector>

#include "gridkit/model/ScrollBarEh.h"
#include "gridkit/tests/GridHostStandIn.h"
#include "platform/win/backend/Headless.h"
#include "platform/win/queue/Messages.h"
#include "platform/win/scroll/ScrollBars.h"
#include "platform/win/window/Windows.h"

namespace {

std::vector<std::pair<UINT, WPARAM>> gGridLog;
int gBarOwnCalls = 0;

LRESULT GridProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam)
{
  if (Msg == WM_HSCROLL || Msg == WM_VSCROLL) gGridLog.emplace_back(Msg, WParam);
  return Windows::DefWindowProc(Wnd, Msg, WParam, LParam);
}

LRESULT BarProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam)
{
  if (Msg == CN_HSCROLL || Msg == CN_VSCROLL) ++gBarOwnCalls;
  return Windows::DefWindowProc(Wnd, Msg, WParam, LParam);
}

// A window standing in for a scroll-bar control.
class TBarStandIn : public IExtScrollBarEh {
public:
  TBarStandIn(const char* Name) : FName(Name)
  {
    FWnd = Windows::CreateWindowEx(0, "GridkitBar", "", WS_VISIBLE, 0, 0, 200, 16, nullptr, nullptr, nullptr, nullptr);
  }
  ~TBarStandIn() override { Windows::DestroyWindow(FWnd); }
  HWND GetHandle() override { return FWnd; }
  AnsiString GetName() override { return FName; }
  bool GetVisible() override { return FVisible; }
  void SetVisible(bool Value) override { FVisible = Value; }

private:
  HWND FWnd;
  AnsiString FName;
  bool FVisible = true;
};

class TWindowedGrid : public TGridHostStandIn {
public:
  HWND Wnd = nullptr;
  int VertSyncs = 0;
  HWND GetGridHandle() override { return Wnd; }
  void SyncVertScrollBar() override { ++VertSyncs; }
};

class ScrollBarSettings : public testing::Test {
protected:
  void SetUp() override
  {
    Headless::Start(800, 600);
    for (auto [name, proc] : {std::pair{"GridkitGrid", &GridProc}, std::pair{"GridkitBar", &BarProc}}) {
      WNDCLASSEXA wc;
      wc.lpfnWndProc = proc;
      wc.lpszClassName = name;
      Windows::RegisterClassEx(&wc);
    }
    Grid.Wnd = Windows::CreateWindowEx(0, "GridkitGrid", "", WS_VISIBLE | WS_VSCROLL, 0, 0, 300, 200, nullptr, nullptr,
                                       nullptr, nullptr);
    gGridLog.clear();
    gBarOwnCalls = 0;
  }
  void TearDown() override { Windows::DestroyWindow(Grid.Wnd); }

  TWindowedGrid Grid;
};

TEST_F(ScrollBarSettings, VisibleModes)
{
  TVertDBGridEhScrollBar vert(&Grid);
  EXPECT_EQ(vert.GetVisibleMode(), sbAutoShowEh);
  EXPECT_TRUE(vert.ShowsScrollBar()) << "the grid's window has WS_VSCROLL";
  vert.SetVisibleMode(sbAlwaysShowEh);
  EXPECT_EQ(Grid.VertSyncs, 1);
  vert.SetVisible(false);
  EXPECT_FALSE(vert.ShowsScrollBar());
  vert.SetVisible(true);
  EXPECT_EQ(vert.GetVisibleMode(), sbAutoShowEh) << "not back to always";
  TDBGridEhScrollBar horz(&Grid, sbHorizontal);
  EXPECT_FALSE(horz.ShowsScrollBar()) << "no WS_HSCROLL";
}

TEST_F(ScrollBarSettings, ExternalBarForwardsScrollNotificationsByTheSettingsKind)
{
  TBarStandIn bar("ScrollBar1");
  {
    TDBGridEhScrollBar horz(&Grid, sbHorizontal);
    horz.SetExtScrollBar(&bar);
    // The bar's own notification kind does not matter: horizontal settings send WM_HSCROLL.
    Windows::SendMessage(bar.GetHandle(), CN_VSCROLL, 5, 0);
    Windows::SendMessage(bar.GetHandle(), WM_USER, 0, 0);
    ASSERT_EQ(gGridLog.size(), 1u);
    EXPECT_EQ(gGridLog[0], std::make_pair(static_cast<UINT>(WM_HSCROLL), static_cast<WPARAM>(5)));
    EXPECT_EQ(gBarOwnCalls, 1) << "the bar still handles what it receives";

    TDBGridEhScrollBar other(&Grid, sbVertical);
    try {
      other.SetExtScrollBar(&bar);
      FAIL();
    } catch (const Exception& e) {
      EXPECT_EQ(e.Message(), "Possible ScrollBar1 already attached to the other control.");
    }
    EXPECT_EQ(other.GetExtScrollBar(), nullptr);

    horz.SetVisible(false);
    EXPECT_FALSE(bar.GetVisible());
    EXPECT_FALSE(horz.ShowsScrollBar());
    horz.SetExtScrollBar(nullptr);
    EXPECT_EQ(Windows::GetWindowLongPtr(bar.GetHandle(), GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(&BarProc));
    other.SetExtScrollBar(&bar);
    gGridLog.clear();
    Windows::SendMessage(bar.GetHandle(), CN_HSCROLL, 7, 0);
    ASSERT_EQ(gGridLog.size(), 1u);
    EXPECT_EQ(gGridLog[0].first, static_cast<UINT>(WM_VSCROLL));
  }
  EXPECT_EQ(Windows::GetWindowLongPtr(bar.GetHandle(), GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(&BarProc))
      << "destroyed settings give the bar its procedure back";
}

class TDesigningGrid : public TWindowedGrid {
public:
  bool IsDesigning() override { return true; }
};

TEST_F(ScrollBarSettings, AtDesignTimeNoProcedureIsReplaced)
{
  TDesigningGrid designing;
  TBarStandIn bar("ScrollBar2");
  TDBGridEhScrollBar a(&designing, sbVertical), b(&designing, sbVertical);
  a.SetExtScrollBar(&bar);
  EXPECT_NO_THROW(b.SetExtScrollBar(&bar));
  EXPECT_EQ(Windows::GetWindowLongPtr(bar.GetHandle(), GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(&BarProc));
}

}  // namespace
