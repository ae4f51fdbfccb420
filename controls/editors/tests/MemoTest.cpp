// The memo editor on a headless desktop: the cell's first line, the draw-text flags, Enter and
// Tab, paste under MaxLength, Ctrl+A, and the painted scroll bars following the inner window.
#include <gtest/gtest.h>

#include <string>

#include "controls/editors/EditorsModule.h"
#include "controls/editors/memo/cxMemo.h"
#include "controls/editors/paint/cxEditTextUtils.h"
#include "controls/framework/cxScrollBar.h"
#include "controls/editors/tests/EditorWindowTest.h"
#include "platform/forms/forms/Form.h"
#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/StringList.h"
#include "platform/stdctrls/edits/CustomEdit.h"
#include "platform/win/WinUser.h"
#include "platform/commctrl/CommCtrl.h"
#include "platform/forms/app/Clipboard.h"
#include "platform/win/queue/Messages.h"
#include "platform/win/input/Focus.h"
#include "platform/win/scroll/ScrollBars.h"
#include "platform/win/window/Windows.h"

namespace {

struct MemoTest : cxEditorWindowTest {
  TcxMemo* MakeMemo(int Width = 200, int Height = 100)
  {
    auto* m = new TcxMemo(Form);
    m->SetParent(Form);
    m->SetBounds(10, 10, Width, Height);
    Pump();
    return m;
  }
  void Focus(TcxMemo* M)
  {
    M->SetFocus();
    Pump();
  }
  HWND Inner(TcxMemo* M) { return M->GetInnerMemo()->GetHandle(); }
  AnsiString Text(TcxMemo* M) { return M->GetInnerMemo()->GetText(); }
};

TEST(MemoFirstLine, CellsShowTheFirstLineInAtMost250Bytes)
{
  const std::string a248(248, 'a'), a249(249, 'a'), a300(300, 'a');
  const struct {
    std::string In, Out;
  } cases[] = {
      {"", ""},
      {"合同\r\n第二行", "合同"},
      {"first\nsecond", "first"},
      {"first\rsecond", "first"},
      {"\r\nsecond", ""},
      {a300, std::string(250, 'a')},
      {a300 + "\r\nx", std::string(250, 'a')},
      {a248 + "合同", a248 + "合"},  // 250 bytes exactly
      {a249 + "合同", a249},         // the character would straddle byte 250
  };
  for (const auto& c : cases) EXPECT_EQ(cxMemo::FirstLine(c.In), c.Out) << c.In.substr(0, 20);
}

TEST_F(MemoTest, DisplayTextIsTheFirstLineUnlessTheFullTextIsAsked)
{
  TcxMemo* m = MakeMemo();
  TcxCustomMemoProperties* p = m->GetActiveProperties();
  const Variant v = Variant(AnsiString("甲方\r\n乙方"));
  EXPECT_EQ(System::WideToAnsi(p->GetDisplayText(v)), "甲方");
  EXPECT_EQ(System::WideToAnsi(p->GetDisplayText(v, true)), "甲方\r\n乙方");
}

TEST_F(MemoTest, DefaultsAndDrawTextFlagsFollowScrollBarsAndWordWrap)
{
  TcxMemo* m = MakeMemo();
  TcxMemoProperties* p = m->GetActiveProperties();
  EXPECT_FALSE(p->GetAutoSelect());
  EXPECT_TRUE(p->GetWantReturns());
  EXPECT_FALSE(p->GetWantTabs());
  EXPECT_TRUE(p->GetWordWrap());
  EXPECT_EQ(p->GetScrollBars(), ssNone);
  EXPECT_EQ(p->GetAlignment()->GetVert(), taTopJustify);
  using namespace cxEditTextUtils;
  const struct {
    TScrollStyle Bars;
    bool Wrap, Breaks;
  } cases[] = {
      {ssNone, true, true},  {ssVertical, true, true},   {ssHorizontal, true, false},
      {ssBoth, true, false}, {ssVertical, false, false},
  };
  for (const auto& c : cases) {
    p->SetScrollBars(c.Bars);
    p->SetWordWrap(c.Wrap);
    std::unique_ptr<TcxCustomEditViewData> vd(p->CreateViewData(m->GetEditStyle(), false));
    const int flags = static_cast<TcxCustomMemoViewData*>(vd.get())->GetDrawTextFlags();
    EXPECT_EQ((flags & (etfWordBreak | etfCharBreak)) != 0, c.Breaks) << int(c.Bars) << " " << c.Wrap;
    EXPECT_EQ(flags & (etfWholeRowsOnly | etfKeepLeft | etfSingleLine), etfWholeRowsOnly | etfKeepLeft);
  }
}

TEST_F(MemoTest, EnterBreaksTheLineOnlyWithWantReturnsOrCtrl)
{
  TcxMemo* m = MakeMemo();
  Focus(m);
  Type("ab");
  Key(VK_RETURN);
  EXPECT_EQ(Text(m), "ab\r\n");
  m->GetActiveProperties()->SetWantReturns(false);
  Pump();
  Focus(m);
  m->GetInnerMemo()->SetSelStart(int(Text(m).size()));
  Key(VK_RETURN);
  EXPECT_EQ(Text(m), "ab\r\n");
  KeyWith(VK_RETURN, {VK_CONTROL});
  EXPECT_EQ(Text(m), "ab\r\n\r\n");
}

TEST_F(MemoTest, TabMovesTheFocusUnlessWantTabs)
{
  TcxMemo* m = MakeMemo();
  auto* next = new TcxMemo(Form);
  next->SetParent(Form);
  next->SetBounds(10, 150, 100, 60);
  Pump();
  Focus(m);
  Type("x");
  Key(VK_TAB);
  EXPECT_EQ(Text(m), "x");
  EXPECT_TRUE(next->Focused());
  m->GetActiveProperties()->SetWantTabs(true);
  Focus(m);
  m->GetInnerMemo()->SetSelStart(1);
  Key(VK_TAB);
  EXPECT_EQ(Text(m), "x\t");
  EXPECT_TRUE(m->Focused());
}

TEST_F(MemoTest, PasteInsertsOnlyWhatFitsUnderMaxLength)
{
  const struct {
    const char* Held;
    const char* Clip;
    const char* After;
  } cases[] = {
      {"abc", "defgh", "abcde"},
      {"abc", "合同管理", "abc合同"},  // a Chinese character counts once
      {"合同管", "理系统", "合同管理系"},
      {"abcde", "x", "abcde"},  // no room: nothing
  };
  TcxMemo* m = MakeMemo();
  m->GetActiveProperties()->SetMaxLength(5);
  for (const auto& c : cases) {
    m->SetEditValue(Variant(AnsiString(c.Held)));
    Focus(m);
    m->GetInnerMemo()->SetSelStart(int(AnsiString(c.Held).size()));
    Clipbrd::Clipboard()->SetAsText(c.Clip);
    Windows::SendMessage(Inner(m), WM_PASTE, 0, 0);
    Pump();
    EXPECT_EQ(Text(m), c.After) << c.Held << " + " << c.Clip;
  }
}

TEST_F(MemoTest, CtrlASelectsAllButCtrlAltADoesNot)
{
  TcxMemo* m = MakeMemo();
  m->SetEditValue(Variant(AnsiString("合同\r\n付款")));
  Focus(m);
  m->GetInnerMemo()->SetSelStart(2);
  KeyWith('A', {VK_CONTROL, VK_MENU});
  EXPECT_EQ(m->GetInnerMemo()->GetSelLength(), 0);
  KeyWith('A', {VK_CONTROL});
  EXPECT_EQ(m->GetInnerMemo()->GetSelStart(), 0);
  EXPECT_EQ(m->GetInnerMemo()->GetSelLength(), int(Text(m).size()));
}

AnsiString ManyLines(int ACount)
{
  AnsiString t;
  for (int i = 0; i < ACount; ++i) t += "第" + std::to_string(i) + "行\r\n";
  return t;
}

TEST_F(MemoTest, PaintedBarsFollowTheInnerMemo)
{
  TcxMemo* m = MakeMemo(200, 100);
  m->GetActiveProperties()->SetScrollBars(ssVertical);
  Pump();
  // Nothing to scroll yet: the window's bar shows disabled, and so does the painted one.
  TcxScrollBar* bar = m->GetVScrollBar();
  ASSERT_TRUE(bar);
  EXPECT_TRUE(bar->GetVisible());
  EXPECT_FALSE(bar->GetEnabled());
  m->GetLines()->SetText(ManyLines(100));
  Pump();
  ASSERT_TRUE(bar->GetVisible());
  EXPECT_TRUE(bar->GetEnabled());
  SCROLLINFO si;
  si.cbSize = sizeof(si);
  si.fMask = SIF_ALL;
  ASSERT_TRUE(Windows::GetScrollInfo(Inner(m), SB_VERT, &si));
  EXPECT_EQ(bar->GetMax(), si.nMax);
  EXPECT_EQ(bar->GetPageSize(), int(si.nPage));
  // Over the window's own bar, inside the editor.
  SCROLLBARINFO info;
  info.cbSize = sizeof(info);
  ASSERT_TRUE(Windows::GetScrollBarInfo(Inner(m), OBJID_VSCROLL, &info));
  const POINT tl = m->ScreenToClient(POINT{info.rcScrollBar.left, info.rcScrollBar.top});
  EXPECT_EQ(bar->GetLeft(), tl.x);
  EXPECT_EQ(bar->GetTop(), tl.y);
  EXPECT_LE(bar->GetLeft() + bar->GetWidth(), m->GetWidth());

  // The painted bar scrolls the window, and the window's scrolling moves the painted bar.
  int pos = 0;
  bar->OnScroll(bar, scLineDown, pos);
  EXPECT_EQ(Windows::SendMessage(Inner(m), EM_GETFIRSTVISIBLELINE, 0, 0), 1);
  EXPECT_EQ(pos, 1);
  Windows::SendMessage(Inner(m), EM_LINESCROLL, 0, 10);
  Pump();
  EXPECT_EQ(bar->GetPosition(), 11);
  // Text typed at the end scrolls the window there, and the bar follows.
  Focus(m);
  KeyWith(VK_END, {VK_CONTROL});
  Type("x");
  EXPECT_EQ(Text(m).substr(Text(m).size() - 3), "\r\nx");
  EXPECT_EQ(bar->GetPosition(), Windows::SendMessage(Inner(m), EM_GETFIRSTVISIBLELINE, 0, 0));
  EXPECT_GT(bar->GetPosition(), 90);
}

TEST_F(MemoTest, ThumbTrackingReachesLinesPast65535)
{
  TcxMemo* m = MakeMemo(200, 100);
  m->GetActiveProperties()->SetScrollBars(ssVertical);
  m->GetLines()->SetText(ManyLines(100000));
  Pump();
  TcxScrollBar* bar = m->GetVScrollBar();
  ASSERT_TRUE(bar && bar->GetVisible());
  for (int target : {70000, 65536, 1000}) {
    int pos = target;
    bar->OnScroll(bar, scTrack, pos);
    EXPECT_EQ(Windows::SendMessage(Inner(m), EM_GETFIRSTVISIBLELINE, 0, 0), target);
    pos = target;
    bar->OnScroll(bar, scPosition, pos);
    EXPECT_EQ(pos, target);
  }
}

TEST_F(MemoTest, ScrollBarChangesAreSynchronisedOnce)
{
  TcxMemo* m = MakeMemo();
  m->GetActiveProperties()->SetScrollBars(ssVertical);
  Pump();
  m->GetLines()->SetText(ManyLines(50));
  for (int i = 0; i < 5; ++i) Windows::SendMessage(Inner(m), EM_LINESCROLL, 0, 1);
  MSG msg;
  int posted = 0;
  while (Windows::PeekMessage(&msg, m->GetHandle(), CM_SYNCSCROLLBARS, CM_SYNCSCROLLBARS, PM_REMOVE)) {
    ++posted;
    Windows::DispatchMessage(&msg);
  }
  EXPECT_EQ(posted, 1);
  EXPECT_EQ(m->GetVScrollBar()->GetPosition(), 5);
}

}  // namespace
