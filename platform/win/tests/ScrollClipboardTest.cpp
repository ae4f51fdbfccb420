#include <cstring>

#include "platform/rtl/AnsiStrings.h"
#include "platform/win/backend/Backend.h"
#include "platform/win/backend/Headless.h"
#include "platform/win/clipboard/Clipboard.h"
#include "platform/win/clipboard/GlobalMemory.h"
#include "platform/win/input/Focus.h"
#include "platform/win/input/InputQueue.h"
#include "platform/win/queue/Messages.h"
#include "platform/win/scroll/ScrollBars.h"
#include "platform/win/tests/WinTestUtil.h"
#include "platform/win/window/Windows.h"

using namespace Windows;

TEST_F(WinTest, ScrollInfoRoundTripsWithThePositionKeptInRange)
{
  HWND w = Make(WS_POPUP | WS_VISIBLE, 0, 0, 200, 200);
  struct Case {
    int min, max;
    UINT page;
    int pos, wantPos;
    UINT wantPage;
  } cases[] = {
      {0, 99, 10, 50, 50, 10},  // inside
      {0, 99, 10, 95, 90, 10},  // past the last page
      {0, 99, 10, -5, 0, 10},   // before the start
      {0, 99, 500, 5, 0, 100},  // the page is at most the range
      {10, 5, 0, 7, 10, 0},     // max below min is min
  };
  for (const Case& c : cases) {
    SCROLLINFO si;
    si.fMask = SIF_ALL;
    si.nMin = c.min;
    si.nMax = c.max;
    si.nPage = c.page;
    si.nPos = c.pos;
    EXPECT_EQ(SetScrollInfo(w, SB_VERT, &si, TRUE), c.wantPos);
    SCROLLINFO got;
    got.fMask = SIF_ALL;
    ASSERT_TRUE(GetScrollInfo(w, SB_VERT, &got));
    EXPECT_EQ(got.nPos, c.wantPos) << c.pos;
    EXPECT_EQ(got.nPage, c.wantPage) << c.page;
    EXPECT_EQ(got.nMin, c.min);
  }
  SCROLLINFO none;
  none.fMask = 0;
  EXPECT_FALSE(GetScrollInfo(w, SB_VERT, &none));
  EXPECT_EQ(SetScrollInfo(w, SB_CTL, &none, TRUE), 0);
}

TEST_F(WinTest, ARangeLargerThanThePageShowsTheBarAndShrinksTheClient)
{
  HWND w = Make(WS_POPUP | WS_VISIBLE, 0, 0, 200, 100);
  SCROLLINFO si;
  si.fMask = SIF_RANGE | SIF_PAGE;
  si.nMax = 299;
  si.nPage = 100;
  SetScrollInfo(w, SB_VERT, &si, TRUE);
  RECT c;
  GetClientRect(w, &c);
  EXPECT_EQ(c.right, 200 - 17);
  EXPECT_TRUE(GetWindowLongPtr(w, GWL_STYLE) & WS_VSCROLL);
  SCROLLBARINFO sbi;
  ASSERT_TRUE(GetScrollBarInfo(w, OBJID_VSCROLL, &sbi));
  EXPECT_EQ(sbi.rcScrollBar, (RECT{183, 0, 200, 100}));
  EXPECT_EQ(sbi.dxyLineButton, 17);
  EXPECT_EQ(sbi.xyThumbTop, 17);
  EXPECT_EQ(sbi.xyThumbBottom - sbi.xyThumbTop, (100 - 34) / 3);
  EXPECT_EQ(sbi.rgstate[0] & STATE_SYSTEM_INVISIBLE, 0u);
  // The whole range fits: the bar goes, unless asked to stay disabled.
  si.nMax = 50;
  SetScrollInfo(w, SB_VERT, &si, TRUE);
  GetClientRect(w, &c);
  EXPECT_EQ(c.right, 200);
  si.fMask |= SIF_DISABLENOSCROLL;
  SetScrollInfo(w, SB_VERT, &si, TRUE);
  ASSERT_TRUE(GetScrollBarInfo(w, OBJID_VSCROLL, &sbi));
  EXPECT_NE(sbi.rgstate[0] & STATE_SYSTEM_UNAVAILABLE, 0u);
  EXPECT_EQ(sbi.rgstate[0] & STATE_SYSTEM_INVISIBLE, 0u);
  ShowScrollBar(w, SB_BOTH, FALSE);
  ASSERT_TRUE(GetScrollBarInfo(w, OBJID_HSCROLL, &sbi));
  EXPECT_NE(sbi.rgstate[0] & STATE_SYSTEM_INVISIBLE, 0u);
  EXPECT_TRUE(EnableScrollBar(w, SB_VERT, ESB_DISABLE_LTUP));
  ASSERT_TRUE(GetScrollBarInfo(w, OBJID_VSCROLL, &sbi));
  EXPECT_NE(sbi.rgstate[1] & STATE_SYSTEM_UNAVAILABLE, 0u);
}

TEST_F(WinTest, PressingTheStandardBarSendsScrollCodesRepeatsWhileHeldAndDragsTheThumb)
{
  using InputQueue::Button;
  HWND w = Make(WS_POPUP | WS_VISIBLE, 0, 0, 200, 100);
  SCROLLINFO si;
  si.fMask = SIF_RANGE | SIF_PAGE;
  si.nMax = 299;
  si.nPage = 100;
  SetScrollInfo(w, SB_VERT, &si, TRUE);
  Pump();
  auto codes = [&] {
    std::vector<int> out;
    for (auto& m : Of(WM_VSCROLL)) out.push_back(LOWORD(m.wParam));
    return out;
  };
  // The bottom arrow, held for 480 ms: the press, a repeat after 400 ms, then every 50 ms.
  UINT_PTR release =
      SetTimer(nullptr, 0, 480, [](HWND, UINT, UINT_PTR, DWORD) { InputQueue::MouseUp(Button::Left, 190, 90); });
  InputQueue::MouseDown(Button::Left, 190, 90);
  Pump();
  KillTimer(nullptr, release);
  EXPECT_EQ(codes(), (std::vector<int>{SB_LINEDOWN, SB_LINEDOWN, SB_LINEDOWN, SB_ENDSCROLL}));
  EXPECT_EQ(GetCapture(), nullptr);
  // Pressed with no release to come, the arrow and the thumb end their tracking at once.
  for (int y : {90, 22}) {
    ClearLog();
    Headless::AdvanceTime(1000);  // not a double click
    InputQueue::MouseDown(Button::Left, 190, y);
    Pump();
    std::vector<int> got = codes();
    ASSERT_FALSE(got.empty()) << y;
    EXPECT_EQ(got.back(), SB_ENDSCROLL) << y;
    EXPECT_LE(got.size(), 2u) << y;
    EXPECT_EQ(GetCapture(), nullptr) << y;
    InputQueue::MouseUp(Button::Left, 190, y);
    Pump();
  }
  // The track below the thumb pages down once for a quick click.
  ClearLog();
  InputQueue::MouseDown(Button::Left, 190, 70);
  InputQueue::MouseUp(Button::Left, 190, 70);
  Pump();
  EXPECT_EQ(codes(), (std::vector<int>{SB_PAGEDOWN, SB_ENDSCROLL}));
  // The thumb (17 .. 39 at position 0) dragged 22 pixels down is half-way: 100 of 0 .. 200.
  ClearLog();
  InputQueue::MouseDown(Button::Left, 190, 22);
  InputQueue::MouseMove(190, 44);
  InputQueue::MouseUp(Button::Left, 190, 44);
  Pump();
  auto msgs = Of(WM_VSCROLL);
  ASSERT_EQ(msgs.size(), 3u);
  EXPECT_EQ(LOWORD(msgs[0].wParam), SB_THUMBTRACK);
  EXPECT_EQ(HIWORD(msgs[0].wParam), 100);
  EXPECT_EQ(LOWORD(msgs[1].wParam), SB_THUMBPOSITION);
  EXPECT_EQ(HIWORD(msgs[1].wParam), 100);
  EXPECT_EQ(GetScrollPos(w, SB_VERT), 0) << "the window moves the position itself";
}

namespace {
HGLOBAL Block(const void* p, size_t n)
{
  HGLOBAL h = GlobalAlloc(GHND, n);
  std::memcpy(GlobalLock(h), p, n);
  GlobalUnlock(h);
  return h;
}
std::string BytesOf(HANDLE h)
{
  auto* p = static_cast<const char*>(GlobalLock(h));
  std::string s(p, GlobalSize(h));
  GlobalUnlock(h);
  return s;
}
}  // namespace

TEST_F(WinTest, ClipboardTextRoundTripsBetweenCp936AndUtf16)
{
  HWND w = Make(WS_POPUP, 0, 0, 10, 10);
  const AnsiString text = "合同 No.1";
  ASSERT_TRUE(OpenClipboard(w));
  EXPECT_FALSE(OpenClipboard(nullptr)) << "open once at a time";
  EXPECT_TRUE(EmptyClipboard());
  EXPECT_NE(SetClipboardData(CF_TEXT, Block(text.c_str(), text.size() + 1)), nullptr);
  EXPECT_TRUE(CloseClipboard());
  EXPECT_EQ(GetClipboardOwner(), w);
  EXPECT_TRUE(IsClipboardFormatAvailable(CF_UNICODETEXT));
  ASSERT_TRUE(OpenClipboard(nullptr));
  HANDLE u = GetClipboardData(CF_UNICODETEXT);
  ASSERT_NE(u, nullptr);
  auto* wide = static_cast<const char16_t*>(GlobalLock(u));
  EXPECT_EQ(WideString(wide), System::AnsiToWide(text));
  GlobalUnlock(u);
  CloseClipboard();
  // And back: UTF-16 in, CP936 out, through the conveniences too.
  WideString wtext = System::AnsiToWide("付款");
  ASSERT_TRUE(OpenClipboard(w));
  EmptyClipboard();
  SetClipboardData(CF_UNICODETEXT, Block(wtext.c_str(), (wtext.size() + 1) * 2));
  CloseClipboard();
  EXPECT_EQ(Clipboard::GetText(), "付款");
  EXPECT_TRUE(Clipboard::SetText("收款"));
  EXPECT_EQ(Clipboard::GetText(), "收款");
}

TEST_F(WinTest, ClipboardKeepsRegisteredFormatsAndRefusesCallsWhenClosed)
{
  UINT fmt = RegisterClipboardFormat("Pelto Grid Rows");
  EXPECT_GE(fmt, 0xC000u);
  EXPECT_EQ(RegisterClipboardFormat("PELTO GRID ROWS"), fmt);
  EXPECT_EQ(RegisterClipboardFormat(""), 0u);
  char name[64];
  EXPECT_EQ(GetClipboardFormatName(fmt, name, sizeof name), 15);
  EXPECT_STREQ(name, "Pelto Grid Rows");
  HGLOBAL data = Block("\x01\x02\x00\x03", 4);
  EXPECT_EQ(SetClipboardData(fmt, data), nullptr) << "the clipboard is not open";
  GlobalFree(data);
  ASSERT_TRUE(OpenClipboard(nullptr));
  EmptyClipboard();
  SetClipboardData(fmt, Block("\x01\x02\x00\x03", 4));
  SetClipboardData(CF_TEXT, Block("x", 2));
  EXPECT_EQ(EnumClipboardFormats(0), fmt);
  EXPECT_EQ(EnumClipboardFormats(fmt), CF_TEXT);
  EXPECT_EQ(EnumClipboardFormats(CF_TEXT), 0u);
  EXPECT_EQ(BytesOf(GetClipboardData(fmt)), std::string("\x01\x02\x00\x03", 4));
  EXPECT_EQ(GetClipboardData(CF_BITMAP), nullptr);
  CloseClipboard();
  EXPECT_EQ(GetClipboardData(fmt), nullptr) << "reading needs the clipboard open";
  EXPECT_EQ(CountClipboardFormats(), 2);
}

TEST_F(WinTest, DesktopTextWithBareLineFeedsArrivesWithCrLf)
{
  class Desktop : public WindowBackend {
  public:
    DWORD Now() override { return 0; }
    bool Wait(DWORD) override { return false; }
    SIZE ScreenSize() override { return {800, 600}; }
    RECT WorkArea() override { return {0, 0, 800, 600}; }
    bool GetDesktopClipboardText(std::string& utf8) override
    {
      utf8 = "\n\xe7\x94\xb2\tb\nc\r\nd\n";  // 甲 in UTF-8
      return true;
    }
  };
  Backend::Install(std::make_unique<Desktop>());
  Clipboard::Reset();
  EXPECT_EQ(Clipboard::GetText(), "\r\n甲\tb\r\nc\r\nd\r\n");
}
