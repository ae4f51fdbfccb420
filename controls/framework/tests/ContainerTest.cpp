// The container around one inner window: its computed look, hot tracking across the inner window,
// its window region, focus pairing, Tab routing, key forwarding and the border's context menu.
#include <gtest/gtest.h>

#include <vector>

#include "controls/framework/cxContainer.h"
#include "controls/framework/tests/ControlTestUtil.h"
#include "platform/forms/controls/Controls.h"
#include "platform/forms/forms/Form.h"
#include "platform/gdi/dc/GdiObjects.h"
#include "platform/gdi/draw/Regions.h"
#include "platform/win/input/Focus.h"
#include "platform/win/queue/Messages.h"
#include "platform/win/scroll/ScrollBars.h"
#include "platform/win/window/Windows.h"

namespace {

class TInnerWindow : public TCustomControl, public IcxContainerInnerControl {
public:
  using TCustomControl::TCustomControl;
  TcxContainer* Container = nullptr;
  std::vector<UINT> Keys;  // the key messages that reached it
  TWinControl* GetControl() override { return this; }
  TcxContainer* GetControlContainer() override { return Container; }

protected:
  void WndProc(TMessage& Message) override
  {
    if (Message.Msg == WM_CHAR || Message.Msg == WM_KEYDOWN) Keys.push_back(Message.Msg);
    TCustomControl::WndProc(Message);
  }
};

class TTestContainer : public TcxContainer {
public:
  explicit TTestContainer(TComponent* AOwner) : TcxContainer(AOwner)
  {
    Inner = new TInnerWindow(this);
    Inner->Container = this;
    Inner->SetTabStop(true);
    Inner->SetParent(this);
    SetInnerControl(Inner);
  }
  TInnerWindow* Inner;
};

struct TCountingMenu : TComponent, IcxPopupMenu {
  using TComponent::TComponent;
  int Shown = 0;
  void Popup(int, int) override { ++Shown; }
};

struct ContainerTest : cxWindowTest {
  TTestContainer* Box = nullptr;
  void SetUp() override
  {
    cxWindowTest::SetUp();
    Box = new TTestContainer(Form);
    Box->SetParent(Form);
    Box->SetBounds(40, 40, 120, 60);
    Box->GetStyle()->SetBorderStyle(cbsSingle);
    Pump();
  }
  TcxContainerViewInfo* View() { return Box->GetViewInfo(); }
};

TEST(ContainerTables, EffectiveBorderStyleAndWidthByHotState)
{
  struct Case {
    TcxContainerBorderStyle Style;
    TcxContainerBorderStyle Cold, Hot;
    int ColdWidth;
  } cases[] = {{cbsNone, cbsNone, cbsFlat, 0},    {cbsSingle, cbsSingle, cbsThick, 1},
               {cbsThick, cbsThick, cbsThick, 2}, {cbsFlat, cbsFlat, cbs3D, 2},
               {cbs3D, cbs3D, cbs3D, 2},          {cbsUltraFlat, cbsSingle, cbsSingle, 1}};
  for (const Case& c : cases) {
    for (int hot : {0, 1}) EXPECT_EQ(cxContainer::EffectiveBorderStyle(c.Style, hot), c.Cold) << int(c.Style) << hot;
    EXPECT_EQ(cxContainer::EffectiveBorderStyle(c.Style, 2), c.Hot) << int(c.Style);
    EXPECT_EQ(cxContainer::BorderWidth(c.Cold), c.ColdWidth) << int(c.Style);
  }
}

TEST_F(ContainerTest, ASingleBorderTurnsThickUnderTheMouseAndBackWhenItLeavesAcrossTheInnerWindow)
{
  ASSERT_TRUE(Box->GetStyle()->GetHotTrack());
  Click(Form, 300, 300);  // the focus elsewhere
  EXPECT_EQ(View()->BorderStyle, cbsSingle);
  MoveTo(Box, 1, 1);  // the border
  EXPECT_EQ(View()->BorderStyle, cbsThick);
  EXPECT_EQ(View()->HotState, 2);
  MoveTo(Box, 60, 30);  // over the inner window
  Wait(30);
  EXPECT_EQ(View()->BorderStyle, cbsThick);
  // Out of the pair straight from the inner window.
  MoveTo(Form, 300, 300);
  Wait(30);
  Wait(30);
  EXPECT_EQ(View()->BorderStyle, cbsSingle);
  EXPECT_EQ(View()->HotState, 1);
  EXPECT_FALSE(cxControls::IsMouseTracking(Box));
}

TEST_F(ContainerTest, UltraFlatFramesInShadowAndHighlightsOnFocusOrHotMouse)
{
  Box->GetStyle()->SetBorderStyle(cbsUltraFlat);
  Click(Form, 300, 300);
  struct Case {
    const char* What;
    bool HotTrack, Focus, MouseInside;
    TColor Expected;
  } cases[] = {
      {"normal", true, false, false, clBtnShadow},
      {"hot", true, false, true, clHighlight},
      {"mouse inside without hot tracking", false, false, true, clBtnShadow},
      {"focused", false, true, false, clHighlight},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.What);
    Box->GetStyle()->SetHotTrack(c.HotTrack);
    if (c.Focus)
      Box->SetFocus();
    else
      Click(Form, 300, 300);
    MoveTo(c.MouseInside ? static_cast<TControl*>(Box) : Form, c.MouseInside ? 1 : 300, c.MouseInside ? 1 : 300);
    Box->ShortRefresh(true);
    EXPECT_EQ(View()->BorderColor, c.Expected);
    EXPECT_EQ(View()->BorderStyle, cbsSingle);
    EXPECT_EQ(View()->BorderWidth, 1);
  }
}

TEST_F(ContainerTest, TheRegionTakesTheShadowAndTheInnerWindowSitsInsideTheTransparentBorder)
{
  // Transparent border with a single frame: 2 pixels of extent, the frame drawn on the outer one
  // of them only when hot.
  EXPECT_EQ(Box->Inner->GetBoundsRect(), (RECT{2, 2, 118, 58}));
  Box->GetStyle()->SetHotTrack(false);
  Box->GetStyle()->SetTransparentBorder(false);
  Pump();
  EXPECT_EQ(Box->Inner->GetBoundsRect(), (RECT{1, 1, 119, 59}));

  Box->GetStyle()->SetShadow(true);
  Pump();
  EXPECT_TRUE(View()->Shadow);
  EXPECT_EQ(Box->Inner->GetBoundsRect(), (RECT{1, 1, 116, 56}));
  HRGN rgn = Windows::CreateRectRgn(0, 0, 0, 0);
  ASSERT_NE(Windows::GetWindowRgn(Box->GetHandle(), rgn), ERROR);
  struct Probe {
    int X, Y;
    bool Inside;
  } probes[] = {{0, 0, true}, {116, 56, true}, {119, 59, true}, {2, 58, false}, {118, 1, false}, {4, 58, true}};
  for (const Probe& p : probes) EXPECT_EQ(bool(Windows::PtInRegion(rgn, p.X, p.Y)), p.Inside) << p.X << "," << p.Y;
  Windows::DeleteObject(rgn);
}

TEST_F(ContainerTest, TabFromTheInnerWindowMovesOnFromThePair)
{
  auto* before = new TCustomControl(Form);
  before->SetParent(Form);
  before->SetBounds(10, 200, 50, 20);
  before->SetTabStop(true);
  auto* after = new TCustomControl(Form);
  after->SetParent(Form);
  after->SetBounds(100, 200, 50, 20);
  after->SetTabStop(true);
  Box->SetTabOrder(0);
  before->SetTabOrder(0);
  after->SetTabOrder(2);
  Pump();
  Box->SetFocus();
  Pump();
  ASSERT_EQ(Windows::GetFocus(), Box->Inner->GetHandle());
  EXPECT_TRUE(Box->Focused());
  Key(VK_TAB);
  EXPECT_EQ(Windows::GetFocus(), after->GetHandle());
  Box->SetFocus();
  Pump();
  InputQueue::KeyDown(VK_SHIFT);
  Key(VK_TAB);
  InputQueue::KeyUp(VK_SHIFT);
  Pump();
  EXPECT_EQ(Windows::GetFocus(), before->GetHandle());
  EXPECT_FALSE(Box->Focused());
}

TEST_F(ContainerTest, KeysGoToTheInnerWindowAndTheBorderShowsNoMenu)
{
  Windows::SendMessage(Box->GetHandle(), WM_CHAR, 'a', 0);
  Windows::SendMessage(Box->GetHandle(), WM_KEYDOWN, VK_DOWN, 0);
  EXPECT_EQ(Box->Inner->Keys, (std::vector<UINT>{WM_CHAR, WM_KEYDOWN}));

  auto* menu = new TCountingMenu(Form);
  Box->SetPopupMenu(menu);
  POINT border = Box->ClientToScreen(POINT{0, 30});
  POINT inside = Box->ClientToScreen(POINT{60, 30});
  Windows::SendMessage(Box->GetHandle(), WM_CONTEXTMENU, WPARAM(Box->GetHandle()), MAKELPARAM(border.x, border.y));
  EXPECT_EQ(menu->Shown, 0);
  Windows::SendMessage(Box->GetHandle(), WM_CONTEXTMENU, WPARAM(Box->GetHandle()), MAKELPARAM(inside.x, inside.y));
  EXPECT_EQ(menu->Shown, 1);
  delete menu;
  EXPECT_EQ(Box->GetPopupMenu(), nullptr);
}

TEST_F(ContainerTest, ColourTravelsBetweenTheStyleAndTheControl)
{
  Box->SetColor(clInfoBk);
  EXPECT_TRUE(Box->GetStyle()->GetAssignedValues().Contains(svColor));
  EXPECT_EQ(Box->GetStyle()->GetColor(), clInfoBk);
  EXPECT_EQ(Box->Inner->GetColor(), clInfoBk);
  Box->GetStyle()->SetColor(clYellow);
  EXPECT_EQ(Box->GetColor(), clYellow);
  EXPECT_EQ(Box->Inner->GetColor(), clYellow);
  Box->SetEnabled(false);
  EXPECT_EQ(Box->Inner->GetColor(), clBtnFace);
  EXPECT_FALSE(Box->Inner->GetEnabled());
  EXPECT_TRUE(View()->ContainerState.Contains(cssDisabled));
}

// A container with its own painted bars around an inner window with native ones, as the memo is.
class TScrollingInner : public TInnerWindow {
public:
  using TInnerWindow::TInnerWindow;

protected:
  void CreateParams(TCreateParams& Params) override
  {
    TInnerWindow::CreateParams(Params);
    Params.Style |= WS_HSCROLL | WS_VSCROLL;
  }
};

class TBarsContainer : public TcxContainer {
public:
  explicit TBarsContainer(TComponent* AOwner) : TcxContainer(AOwner)
  {
    Inner = new TScrollingInner(this);
    Inner->Container = this;
    Inner->SetParent(this);
    SetInnerControl(Inner);
  }
  using TcxContainer::SyncScrollBars;
  TScrollingInner* Inner;

protected:
  bool HasOwnScrollBars() override { return true; }
};

TEST_F(ContainerTest, OwnBarsMirrorTheInnerWindowsNativeBars)
{
  auto* box = new TBarsContainer(Form);
  box->SetParent(Form);
  box->SetBounds(20, 120, 160, 100);
  Pump();
  HWND inner = box->Inner->GetHandle();
  auto setRange = [&](int bar, int max, int page, int pos) {
    SCROLLINFO si{};
    si.cbSize = sizeof(si);
    si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    si.nMax = max;
    si.nPage = UINT(page);
    si.nPos = pos;
    Windows::SetScrollInfo(inner, bar, &si, TRUE);
  };
  // Where the native bar stands, in the container's client coordinates.
  auto nativeRect = [&](LONG object) {
    SCROLLBARINFO info;
    info.cbSize = sizeof(info);
    Windows::GetScrollBarInfo(inner, object, &info);
    POINT tl = box->ScreenToClient(POINT{info.rcScrollBar.left, info.rcScrollBar.top});
    POINT br = box->ScreenToClient(POINT{info.rcScrollBar.right, info.rcScrollBar.bottom});
    return RECT{tl.x, tl.y, br.x, br.y};
  };
  TcxScrollBar* h = box->GetHScrollBar();
  TcxScrollBar* v = box->GetVScrollBar();
  ASSERT_TRUE(h && v);

  setRange(SB_VERT, 99, 20, 30);
  setRange(SB_HORZ, 0, 0, 0);
  box->SyncScrollBars();
  EXPECT_TRUE(v->GetVisible());
  EXPECT_FALSE(h->GetVisible());
  EXPECT_EQ(v->GetBoundsRect(), nativeRect(OBJID_VSCROLL));
  EXPECT_EQ(v->GetParent(), box);
  EXPECT_EQ(std::vector<int>({v->GetMin(), v->GetMax(), v->GetPosition(), v->GetPageSize()}),
            std::vector<int>({0, 99, 30, 20}));
  EXPECT_TRUE(v->GetEnabled());
  EXPECT_FALSE(v->GetCtl3D());

  // Disabled natively, or with the container: the painted bar is disabled too.
  Windows::EnableScrollBar(inner, SB_VERT, ESB_DISABLE_BOTH);
  box->SyncScrollBars();
  EXPECT_TRUE(v->GetVisible());
  EXPECT_FALSE(v->GetEnabled());
  Windows::EnableScrollBar(inner, SB_VERT, ESB_ENABLE_BOTH);
  box->SetEnabled(false);
  box->SyncScrollBars();
  EXPECT_FALSE(v->GetEnabled());
  box->SetEnabled(true);
  box->SyncScrollBars();
  EXPECT_TRUE(v->GetEnabled());

  // A native bar that would stand left of or above the container is hidden with empty bounds.
  box->Inner->SetBounds(-30, -30, 150, 90);
  box->SyncScrollBars();
  EXPECT_FALSE(v->GetVisible());
  EXPECT_EQ(v->GetBoundsRect(), (RECT{0, 0, 0, 0}));
  // And both go when the range fits.
  box->Inner->SetBounds(0, 0, 150, 90);
  setRange(SB_VERT, 0, 0, 0);
  box->SyncScrollBars();
  EXPECT_FALSE(v->GetVisible());
  EXPECT_FALSE(h->GetVisible());
}

}  // namespace
