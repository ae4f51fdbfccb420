// The EDIT window driven by messages and synthetic input on the headless back end.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>

#include "platform/commctrl/CommCtrl.h"
#include "platform/commctrl/tests/EditTestUtil.h"
#include "platform/gdi/dc/GdiObjects.h"
#include "platform/rtl/AnsiStrings.h"
#include "platform/win/backend/Headless.h"
#include "platform/win/caret/Carets.h"
#include "platform/win/clipboard/Clipboard.h"
#include "platform/win/clipboard/GlobalMemory.h"
#include "platform/win/input/Focus.h"
#include "platform/win/input/InputQueue.h"
#include "platform/win/paint/Painting.h"
#include "platform/win/queue/Messages.h"
#include "platform/win/scroll/ScrollBars.h"
#include "platform/win/window/Windows.h"

using namespace Windows;

namespace {

// "合同" and "金额" in CP936.
const std::string kHe = "\xBA\xCF", kTong = "\xCD\xAC", kJin = "\xBD\xF0", kE = "\xB6\xEE";

void PutUtf16OnClipboard(const std::u16string& text)
{
  ASSERT_TRUE(OpenClipboard(nullptr));
  EmptyClipboard();
  HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * 2);
  std::memcpy(GlobalLock(h), text.c_str(), (text.size() + 1) * 2);
  GlobalUnlock(h);
  SetClipboardData(CF_UNICODETEXT, h);
  CloseClipboard();
}

}  // namespace

// ---- Notifications -------------------------------------------------------------------------------

TEST_F(EditTest, ChangeIsNotifiedOncePerChangeAndNotForTheSameText)
{
  HWND e = MakeEdit(0, "abc");
  struct Case {
    const char* what;
    std::function<void()> act;
    std::vector<WORD> notes;
  } cases[] = {
      {"the same text", [&] { SetWindowText(e, "abc"); }, {}},
      {"new text", [&] { SetWindowText(e, "abcd"); }, {EN_UPDATE, EN_CHANGE}},
      {"a typed letter", [&] { SendMessage(e, WM_CHAR, 'x', 0); }, {EN_UPDATE, EN_CHANGE}},
      {"a lead byte alone", [&] { SendMessage(e, WM_CHAR, 0xBA, 0); }, {}},
      {"its trail byte", [&] { SendMessage(e, WM_CHAR, 0xCF, 0); }, {EN_UPDATE, EN_CHANGE}},
      {"a selection", [&] { SendMessage(e, EM_SETSEL, 0, 1); }, {}},
      {"replacing it by the same", [&] { SendMessage(e, EM_REPLACESEL, TRUE, LPARAM("x")); }, {}},
      {"an empty replace without selection", [&] { SendMessage(e, EM_REPLACESEL, TRUE, LPARAM("")); }, {}},
      {"undo", [&] { SendMessage(e, WM_UNDO, 0, 0); }, {EN_UPDATE, EN_CHANGE}},
      {"clear without selection",
       [&] { SendMessage(e, EM_SETSEL, 0, 0), ClearLog(), SendMessage(e, WM_CLEAR, 0, 0); },
       {}},
      {"backspace at the start", [&] { SendMessage(e, WM_CHAR, VK_BACK, 0); }, {}},
      {"delete", [&] { SendMessage(e, WM_KEYDOWN, VK_DELETE, 0); }, {EN_UPDATE, EN_CHANGE}},
  };
  for (auto& c : cases) {
    ClearLog();
    c.act();
    EXPECT_EQ(Notes(e), c.notes) << c.what;
  }
}

TEST_F(EditTest, FocusAndLimitAreNotified)
{
  HWND e = MakeEdit(0, "");
  SendMessage(e, EM_LIMITTEXT, 3, 0);
  SetFocus(e);
  SetFocus(Parent());
  EXPECT_EQ(Notes(e), (std::vector<WORD>{EN_SETFOCUS, EN_KILLFOCUS}));
  ClearLog();
  SendMessage(e, EM_REPLACESEL, TRUE, LPARAM("abcd"));
  EXPECT_EQ(Notes(e), (std::vector<WORD>{EN_UPDATE, EN_CHANGE, EN_MAXTEXT}));
  EXPECT_EQ(GetWindowText(e), "abc");
}

// ---- Selection, text and lines ---------------------------------------------------------------------

TEST_F(EditTest, SetSelTakesTheClassicArguments)
{
  HWND e = MakeEdit(0, "abcdef");
  struct Case {
    std::int64_t start, end;
    int selStart, selEnd, caret;
  } cases[] = {
      {0, -1, 0, 6, 6},  {0x7FFFFFFF, -1, 6, 6, 6},  // caret to the end without a selection
      {2, 4, 2, 4, 4},   {4, 2, 2, 4, 2},
      {-1, 0, 2, 2, 2},  // removes the selection where the caret was (the case before)
      {1, 100, 1, 6, 6},
  };
  for (auto& c : cases) {
    SendMessage(e, EM_SETSEL, WPARAM(c.start), LPARAM(c.end));
    DWORD s = 0, t = 0;
    SendMessage(e, EM_GETSEL, WPARAM(&s), LPARAM(&t));
    EXPECT_EQ(int(s), c.selStart) << c.start << "," << c.end;
    EXPECT_EQ(int(t), c.selEnd) << c.start << "," << c.end;
  }
}

TEST_F(EditTest, GetTextCopiesWhatFitsWithoutSplittingACharacter)
{
  struct Case {
    std::string text;
    int buffer;
    std::string copied;
  } cases[] = {
      {"abcdef", 5, "abcd"},
      {"abcdef", 1, ""},
      {"abcdef", 7, "abcdef"},
      {"a" + kHe + kTong, 3, "a"},  // 合 would need bytes 2 and 3
      {"a" + kHe + kTong, 4, "a" + kHe},
  };
  for (auto& c : cases) {
    HWND e = MakeEdit(0, c.text);
    char buf[32];
    std::memset(buf, 'Z', sizeof buf);
    LRESULT n = SendMessage(e, WM_GETTEXT, WPARAM(c.buffer), LPARAM(buf));
    EXPECT_EQ(n, LRESULT(c.copied.size())) << c.text << " " << c.buffer;
    EXPECT_EQ(std::string(buf), c.copied);
    DestroyWindow(e);
  }
}

TEST_F(EditTest, MarginsRoundTrip)
{
  HWND e = MakeEdit(0, "x");
  struct Case {
    WPARAM which;
    int left, right;
    int wantLeft, wantRight;
  } cases[] = {
      {EC_LEFTMARGIN | EC_RIGHTMARGIN, 0, 1, 0, 1},
      {EC_LEFTMARGIN, 5, 9, 5, 1},
      {EC_RIGHTMARGIN, 7, 3, 5, 3},
  };
  for (auto& c : cases) {
    SendMessage(e, EM_SETMARGINS, c.which, MAKELPARAM(c.left, c.right));
    LRESULT m = SendMessage(e, EM_GETMARGINS, 0, 0);
    EXPECT_EQ(LOWORD(m), c.wantLeft);
    EXPECT_EQ(HIWORD(m), c.wantRight);
    RECT r;
    SendMessage(e, EM_GETRECT, 0, LPARAM(&r));
    RECT client;
    GetClientRect(e, &client);
    EXPECT_EQ(r.left, c.wantLeft);
    EXPECT_EQ(r.right, client.right - c.wantRight);
  }
}

TEST_F(EditTest, SetRectNpThenScrollCaretBringsTheCaretIntoTheNewRectangle)
{
  HWND e = MakeEdit(ES_AUTOHSCROLL, std::string(60, 'w'), 200);
  RECT narrow{30, 0, 120, 16};
  UpdateWindow(Parent());
  SendMessage(e, EM_SETRECTNP, 0, LPARAM(&narrow));
  RECT update;
  EXPECT_FALSE(GetUpdateRect(e, &update, FALSE)) << "EM_SETRECTNP does not repaint";
  RECT got;
  SendMessage(e, EM_GETRECT, 0, LPARAM(&got));
  EXPECT_EQ(std::make_tuple(got.left, got.top, got.right, got.bottom), std::make_tuple(30, 0, 120, 16));
  SendMessage(e, EM_SETSEL, 0x7FFFFFFF, -1);
  SendMessage(e, EM_SCROLLCARET, 0, 0);
  int x = GET_X_LPARAM(SendMessage(e, EM_POSFROMCHAR, 60, 0));
  EXPECT_GE(x, 30);
  EXPECT_LE(x, 120);
  SendMessage(e, EM_SETSEL, 0, 0);
  SendMessage(e, EM_SCROLLCARET, 0, 0);
  EXPECT_EQ(GET_X_LPARAM(SendMessage(e, EM_POSFROMCHAR, 0, 0)), 30);
}

TEST_F(EditTest, TheLastLineIsTheLineCountLessOne)
{
  struct Case {
    DWORD style;
    std::string text;
    int lines;
  } cases[] = {
      {ES_MULTILINE | ES_AUTOHSCROLL, "a\r\nb\r\nc", 3},
      {ES_MULTILINE | ES_AUTOHSCROLL, "a\r\nb\r\n", 3},
      {ES_MULTILINE | ES_AUTOHSCROLL, "", 1},
      {ES_MULTILINE, std::string(200, 'x') + " " + kHe + kTong + kJin + kE, 0},  // wrapped: >= 2 lines
      {0, "single", 1},
  };
  for (auto& c : cases) {
    HWND e = MakeEdit(c.style, c.text, 120, 60);
    int count = int(SendMessage(e, EM_GETLINECOUNT, 0, 0));
    if (c.lines)
      EXPECT_EQ(count, c.lines) << c.text;
    else
      EXPECT_GE(count, 2);
    SendMessage(e, EM_SETSEL, 0x7FFFFFFF, -1);
    DWORD s = 0;
    SendMessage(e, EM_GETSEL, WPARAM(&s), 0);
    EXPECT_EQ(SendMessage(e, EM_LINEFROMCHAR, s, 0) + 1, count) << c.text;
    EXPECT_EQ(SendMessage(e, EM_LINEFROMCHAR, WPARAM(-1), 0) + 1, count) << c.text;
    DestroyWindow(e);
  }
}

TEST_F(EditTest, LineScrollSendsVScrollAndMovesTheBar)
{
  std::string text;
  for (int i = 0; i < 40; ++i) text += "line " + std::to_string(i) + "\r\n";
  HWND e = MakeEdit(ES_MULTILINE | ES_AUTOVSCROLL | WS_VSCROLL, text, 150, 100);
  struct Case {
    int lines;
    int top;
    bool notified;
  } cases[] = {{3, 3, true}, {2, 5, true}, {-10, 0, true}, {-1, 0, false}, {1000, 0, true}};
  for (auto& c : cases) {
    ClearLog();
    SendMessage(e, EM_LINESCROLL, 0, c.lines);
    int top = int(SendMessage(e, EM_GETFIRSTVISIBLELINE, 0, 0));
    if (c.lines == 1000) {
      // As far as it goes: the last line at the bottom.
      EXPECT_GT(top, 30);
    } else
      EXPECT_EQ(top, c.top);
    EXPECT_EQ(GetScrollPos(e, SB_VERT), top);
    EXPECT_EQ(Notes(e) == std::vector<WORD>{EN_VSCROLL}, c.notified) << c.lines;
  }
  // EM_SCROLL answers TRUE in the high word and the lines moved in the low word.
  SendMessage(e, EM_LINESCROLL, 0, -1000);
  LRESULT r = SendMessage(e, EM_SCROLL, SB_PAGEDOWN, 0);
  EXPECT_EQ(HIWORD(r), TRUE);
  EXPECT_EQ(LOWORD(r), SendMessage(e, EM_GETFIRSTVISIBLELINE, 0, 0));
  EXPECT_GT(LOWORD(r), 0);
}

TEST_F(EditTest, DraggedThumbScrollsPastTheSixteenBitRange)
{
  std::string text;
  text.reserve(70000 * 3);
  for (int i = 0; i < 70000; ++i) text += "x\r\n";
  HWND e = MakeEdit(ES_MULTILINE | ES_AUTOVSCROLL | WS_VSCROLL, text, 150, 100);
  SCROLLBARINFO sb;
  ASSERT_TRUE(GetScrollBarInfo(e, OBJID_VSCROLL, &sb));
  int x = (sb.rcScrollBar.left + sb.rcScrollBar.right) / 2;
  int thumb = sb.rcScrollBar.top + (sb.xyThumbTop + sb.xyThumbBottom) / 2;
  InputQueue::MouseDown(InputQueue::Button::Left, x, thumb);
  InputQueue::MouseMove(x, sb.rcScrollBar.bottom + 50);
  InputQueue::MouseUp(InputQueue::Button::Left, x, sb.rcScrollBar.bottom + 50);
  Pump();
  int top = int(SendMessage(e, EM_GETFIRSTVISIBLELINE, 0, 0));
  EXPECT_GT(top, 65535);
  EXPECT_EQ(GetScrollPos(e, SB_VERT), top);
}

// ---- CP936 ---------------------------------------------------------------------------------------------

TEST_F(EditTest, ADoubleByteCharacterArrivesWholeWhicheverWayItComes)
{
  struct Case {
    const char* how;
    std::function<void(HWND)> type;
  } cases[] = {
      {"two WM_CHARs", [](HWND e) { SendMessage(e, WM_CHAR, 0xBA, 0), SendMessage(e, WM_CHAR, 0xCF, 0); }},
      {"one WM_IME_CHAR", [](HWND e) { SendMessage(e, WM_IME_CHAR, 0xBACF, 0); }},
      {"input text", [&](HWND) { InputQueue::Text(kHe), Pump(); }},
      {"UTF-16 on the clipboard", [](HWND e) { PutUtf16OnClipboard(u"\u5408"), SendMessage(e, WM_PASTE, 0, 0); }},
  };
  for (auto& c : cases) {
    HWND e = MakeEdit(0, "ab");
    SetFocus(e);
    SendMessage(e, EM_SETSEL, 1, 1);
    c.type(e);
    EXPECT_EQ(GetWindowText(e), "a" + kHe + "b") << c.how;
    DWORD s = 0;
    SendMessage(e, EM_GETSEL, WPARAM(&s), 0);
    EXPECT_EQ(int(s), 3) << c.how;
    DestroyWindow(e);
  }
  // A lead byte followed by a byte that cannot trail is dropped, never stored.
  HWND e = MakeEdit(0, "");
  SendMessage(e, WM_CHAR, 0xBA, 0);
  SendMessage(e, WM_CHAR, 0x0D, 0);
  SendMessage(e, WM_CHAR, 0xBA, 0);
  SendMessage(e, WM_KILLFOCUS, 0, 0);
  SendMessage(e, WM_CHAR, 'q', 0);
  EXPECT_EQ(GetWindowText(e), "q");
}

TEST_F(EditTest, KeysMoveAndDeleteWholeCharacters)
{
  // "a合同b金额"
  std::string text = "a" + kHe + kTong + "b" + kJin + kE;
  struct Case {
    const char* what;
    int caret;
    std::vector<int> keys;  // VK_SHIFT pressed around the rest when first
    std::string textAfter;
    int selStart, selEnd;
  } cases[] = {
      {"backspace", 5, {VK_BACK}, "a" + kHe + "b" + kJin + kE, 3, 3},
      {"delete", 1, {VK_DELETE}, "a" + kTong + "b" + kJin + kE, 1, 1},
      {"shift+right twice", 0, {VK_SHIFT, VK_RIGHT, VK_RIGHT}, text, 0, 3},
      {"shift+left from the end", 10, {VK_SHIFT, VK_LEFT, VK_LEFT}, text, 6, 10},
      {"ctrl+right over the letters", 0, {VK_CONTROL, VK_RIGHT}, text, 1, 1},
      {"end then home", 5, {VK_END, VK_HOME}, text, 0, 0},
  };
  for (auto& c : cases) {
    HWND e = MakeEdit(0, text);
    SetFocus(e);
    SendMessage(e, EM_SETSEL, c.caret, c.caret);
    Pump();
    std::vector<int> held;
    for (int k : c.keys) {
      if (k == VK_SHIFT || k == VK_CONTROL) {
        InputQueue::KeyDown(k);
        held.push_back(k);
        continue;
      }
      InputQueue::KeyDown(k);
      InputQueue::KeyUp(k);
    }
    for (int k : held) InputQueue::KeyUp(k);
    Pump();
    EXPECT_EQ(GetWindowText(e), c.textAfter) << c.what;
    DWORD s = 0, t = 0;
    SendMessage(e, EM_GETSEL, WPARAM(&s), LPARAM(&t));
    EXPECT_EQ(int(s), c.selStart) << c.what;
    EXPECT_EQ(int(t), c.selEnd) << c.what;
    DestroyWindow(e);
  }
}

TEST_F(EditTest, DoubleClickSelectsAWordOfLettersOrOfChineseCharacters)
{
  HWND e = MakeEdit(0, "ab " + kHe + kTong + " cd", 200);
  struct Case {
    int pos, selStart, selEnd;
  } cases[] = {{0, 0, 2}, {4, 3, 7}, {5, 3, 7}, {9, 8, 10}};
  for (auto& c : cases) {
    int x = GET_X_LPARAM(SendMessage(e, EM_POSFROMCHAR, c.pos, 0)) + 1;
    SendMessage(e, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(x, 5));
    DWORD s = 0, t = 0;
    SendMessage(e, EM_GETSEL, WPARAM(&s), LPARAM(&t));
    EXPECT_EQ(int(s), c.selStart) << c.pos;
    EXPECT_EQ(int(t), c.selEnd) << c.pos;
  }
}

TEST_F(EditTest, TheLimitCountsADoubleByteCharacterOnce)
{
  struct Case {
    int limit;
    std::string typed;
    std::string kept;
  } cases[] = {
      {2, kHe + kTong + kJin, kHe + kTong},
      {3, "a" + kHe + "bc", "a" + kHe + "b"},
      {1, kHe + "a", kHe},
  };
  for (auto& c : cases) {
    HWND e = MakeEdit(0, "");
    SendMessage(e, EM_LIMITTEXT, WPARAM(c.limit), 0);
    EXPECT_EQ(SendMessage(e, EM_GETLIMITTEXT, 0, 0), c.limit);
    int beeps = Headless::Beeps();
    for (unsigned char ch : c.typed) SendMessage(e, WM_CHAR, ch, 0);
    EXPECT_EQ(GetWindowText(e), c.kept);
    EXPECT_GT(Headless::Beeps(), beeps) << "refused typing beeps";
    SendMessage(e, EM_SETSEL, 0, -1);
    SendMessage(e, EM_REPLACESEL, TRUE, LPARAM(c.typed.c_str()));
    EXPECT_EQ(GetWindowText(e), c.kept) << "a replaced selection is cut the same way";
    DestroyWindow(e);
  }
}

TEST_F(EditTest, MixedTextSurvivesCutPasteAndUndo)
{
  std::string text = "No." + kHe + kTong + " 12" + kJin + kE + "x";
  HWND e = MakeEdit(0, text);
  SendMessage(e, EM_SETSEL, 3, 12);  // 合同 12金
  SendMessage(e, WM_CUT, 0, 0);
  EXPECT_EQ(GetWindowText(e), "No." + kE + "x");
  EXPECT_EQ(Clipboard::GetText(), kHe + kTong + " 12" + kJin);
  SendMessage(e, EM_SETSEL, 0, 0);
  SendMessage(e, WM_PASTE, 0, 0);
  EXPECT_EQ(GetWindowText(e), kHe + kTong + " 12" + kJin + "No." + kE + "x");
  EXPECT_TRUE(SendMessage(e, EM_CANUNDO, 0, 0));
  SendMessage(e, EM_UNDO, 0, 0);
  EXPECT_EQ(GetWindowText(e), "No." + kE + "x");
  SendMessage(e, EM_UNDO, 0, 0);
  EXPECT_EQ(GetWindowText(e), kHe + kTong + " 12" + kJin + "No." + kE + "x");
  // Undoing the cut itself.
  HWND f = MakeEdit(0, text);
  SendMessage(f, EM_SETSEL, 4, 7);  // from inside 合: the start moves to its lead byte
  SendMessage(f, WM_CUT, 0, 0);
  EXPECT_EQ(Clipboard::GetText(), kHe + kTong);
  SendMessage(f, WM_UNDO, 0, 0);
  EXPECT_EQ(GetWindowText(f), text);
}

TEST_F(EditTest, APasswordEditShowsStarsAndCopiesNothing)
{
  HWND e = MakeEdit(ES_PASSWORD, "s3" + kHe);
  EXPECT_EQ(SendMessage(e, EM_GETPASSWORDCHAR, 0, 0), '*');
  Clipboard::SetText("before");
  SendMessage(e, EM_SETSEL, 0, -1);
  SendMessage(e, WM_COPY, 0, 0);
  SendMessage(e, WM_CUT, 0, 0);
  EXPECT_EQ(Clipboard::GetText(), "before");
  EXPECT_EQ(GetWindowText(e), "s3" + kHe);
  // Three characters, three stars: the caret after the last is three star widths in.
  int x3 = GET_X_LPARAM(SendMessage(e, EM_POSFROMCHAR, 4, 0));
  int x1 = GET_X_LPARAM(SendMessage(e, EM_POSFROMCHAR, 1, 0));
  int x0 = GET_X_LPARAM(SendMessage(e, EM_POSFROMCHAR, 0, 0));
  EXPECT_EQ(x3 - x0, 3 * (x1 - x0));
  // Another character, and none.
  SendMessage(e, EM_SETPASSWORDCHAR, '#', 0);
  EXPECT_EQ(SendMessage(e, EM_GETPASSWORDCHAR, 0, 0), '#');
  SendMessage(e, EM_SETPASSWORDCHAR, 0, 0);
  EXPECT_FALSE(GetWindowLongPtr(e, GWL_STYLE) & ES_PASSWORD);
  SendMessage(e, WM_COPY, 0, 0);
  EXPECT_EQ(Clipboard::GetText(), "s3" + kHe);
}

TEST_F(EditTest, ReadOnlyRefusesEditsButCopies)
{
  HWND e = MakeEdit(ES_READONLY, "keep");
  SendMessage(e, EM_SETSEL, 0, -1);
  SendMessage(e, WM_CHAR, 'x', 0);
  SendMessage(e, WM_CUT, 0, 0);
  Clipboard::SetText("zz");
  SendMessage(e, WM_PASTE, 0, 0);
  SendMessage(e, WM_CLEAR, 0, 0);
  EXPECT_EQ(GetWindowText(e), "keep");
  SendMessage(e, WM_COPY, 0, 0);
  EXPECT_EQ(Clipboard::GetText(), "keep");
}

TEST_F(EditTest, StylesFilterTypedText)
{
  struct Case {
    DWORD style;
    std::string typed, kept;
  } cases[] = {
      {ES_UPPERCASE, "ab" + kHe + "c", "AB" + kHe + "C"},
      {ES_LOWERCASE,
       "AB\xB0"
       "Ac",
       "ab\xB0"
       "Ac"},  // the trail byte 'A' stays
      {ES_NUMBER, "1a2" + kHe + "3", "123"},
      {0, "a\rb\tc", "abc"},  // single-line: Enter beeps, Tab is not typed
      {ES_MULTILINE, "a\rb\tc", "a\r\nb\tc"},
  };
  for (auto& c : cases) {
    HWND e = MakeEdit(c.style, "");
    for (unsigned char ch : c.typed) SendMessage(e, WM_CHAR, ch, 0);
    EXPECT_EQ(GetWindowText(e), c.kept) << c.style;
    DestroyWindow(e);
  }
}

TEST_F(EditTest, DialogCodes)
{
  HWND single = MakeEdit(0, ""), multi = MakeEdit(ES_MULTILINE, ""), wants = MakeEdit(ES_MULTILINE | ES_WANTRETURN, "");
  LRESULT base = DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS;
  MSG enter;
  enter.message = WM_KEYDOWN;
  enter.wParam = VK_RETURN;
  EXPECT_EQ(SendMessage(single, WM_GETDLGCODE, 0, 0), base);
  EXPECT_EQ(SendMessage(multi, WM_GETDLGCODE, 0, 0), base | DLGC_WANTALLKEYS);
  EXPECT_EQ(SendMessage(multi, WM_GETDLGCODE, VK_RETURN, LPARAM(&enter)), base);
  EXPECT_EQ(SendMessage(wants, WM_GETDLGCODE, VK_RETURN, LPARAM(&enter)), base | DLGC_WANTALLKEYS);
}

TEST_F(EditTest, TheCaretFollowsTheTextAndTheBackEndIsTold)
{
  HWND e = MakeEdit(0, "abc", 200);
  SetFocus(e);
  SendMessage(e, EM_SETSEL, 3, 3);
  POINT caret;
  GetCaretPos(&caret);
  EXPECT_EQ(caret.x, GET_X_LPARAM(SendMessage(e, EM_POSFROMCHAR, 3, 0)));
  auto place = Headless::TextInput();
  EXPECT_EQ(place.top, Parent());
  POINT p = caret;
  ClientToScreen(e, &p);
  RECT top;
  GetWindowRect(Parent(), &top);
  EXPECT_EQ(place.rect.left, p.x - top.left);
  EXPECT_EQ(place.rect.top, p.y - top.top);
}

TEST_F(EditTest, MouseDragSelectsAndScrollsBeyondTheEdge)
{
  std::string text;
  for (int i = 0; i < 30; ++i) text += "row " + std::to_string(i) + "\r\n";
  HWND e = MakeEdit(ES_MULTILINE | ES_AUTOVSCROLL, text, 150, 80);
  POINT origin{0, 0};
  ClientToScreen(e, &origin);
  InputQueue::MouseDown(InputQueue::Button::Left, origin.x + 1, origin.y + 2);
  InputQueue::MouseMove(origin.x + 20, origin.y + 200);  // below the window
  Pump();
  for (int i = 0; i < 10; ++i) {
    Headless::AdvanceTime(60);
    Pump();
  }
  InputQueue::MouseUp(InputQueue::Button::Left, origin.x + 20, origin.y + 200);
  Pump();
  EXPECT_GT(SendMessage(e, EM_GETFIRSTVISIBLELINE, 0, 0), 0);
  DWORD s = 0, t = 0;
  SendMessage(e, EM_GETSEL, WPARAM(&s), LPARAM(&t));
  EXPECT_EQ(int(s), 0);
  EXPECT_GT(int(t), 20);
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(EditTest, LineMessagesAnswerInBytes)
{
  // Lines: "ab", "合同x", "" (after the final break).
  HWND e = MakeEdit(ES_MULTILINE | ES_AUTOHSCROLL, "ab\r\n" + kHe + kTong + "x\r\n", 200, 80);
  struct Case {
    int line, index, length;
    std::string text;
  } cases[] = {{0, 0, 2, "ab"}, {1, 4, 5, kHe + kTong + "x"}, {2, 11, 0, ""}, {3, -1, -1, ""}};
  for (auto& c : cases) {
    EXPECT_EQ(SendMessage(e, EM_LINEINDEX, WPARAM(c.line), 0), c.index) << c.line;
    if (c.index < 0) continue;
    EXPECT_EQ(SendMessage(e, EM_LINELENGTH, WPARAM(c.index), 0), c.length) << c.line;
    char buf[32] = {};
    *reinterpret_cast<WORD*>(buf) = sizeof buf;
    LRESULT n = SendMessage(e, EM_GETLINE, WPARAM(c.line), LPARAM(buf));
    EXPECT_EQ(std::string(buf, size_t(n)), c.text) << c.line;
    // A point answers the character and line it was taken from.
    LRESULT p = SendMessage(e, EM_POSFROMCHAR, WPARAM(c.index), 0);
    LRESULT back = SendMessage(e, EM_CHARFROMPOS, 0, p);
    EXPECT_EQ(LOWORD(back), c.index) << c.line;
    EXPECT_EQ(HIWORD(back), c.line) << c.line;
  }
  // A buffer too small for 合同 keeps whole characters only.
  char small[4] = {};
  *reinterpret_cast<WORD*>(small) = 3;
  EXPECT_EQ(SendMessage(e, EM_GETLINE, 1, LPARAM(small)), 2);
  // A bigger font moves the second line down.
  int y1 = GET_Y_LPARAM(SendMessage(e, EM_POSFROMCHAR, 4, 0));
  LOGFONTA lf{};
  lf.lfHeight = -24;
  std::strcpy(lf.lfFaceName, "Arial");
  HFONT big = CreateFontIndirect(lf);
  SendMessage(e, WM_SETFONT, WPARAM(big), TRUE);
  EXPECT_EQ(SendMessage(e, WM_GETFONT, 0, 0), LRESULT(big));
  EXPECT_GT(GET_Y_LPARAM(SendMessage(e, EM_POSFROMCHAR, 4, 0)), y1);
  DestroyWindow(e);
  DeleteObject(big);
}

TEST_F(EditTest, AParentMayDestroyTheEditFromItsNotifications)
{
  for (WORD code : {EN_UPDATE, EN_CHANGE, EN_MAXTEXT, EN_VSCROLL}) {
    HWND e = MakeEdit(ES_MULTILINE | WS_VSCROLL, "a\r\nb\r\nc\r\nd\r\ne\r\nf", 100, 40);
    SendMessage(e, EM_LIMITTEXT, 17, 0);  // room for one more character
    On(Parent(), WM_COMMAND, [=](WPARAM w, LPARAM) -> LRESULT {
      if (HIWORD(w) == code) DestroyWindow(e);
      return 0;
    });
    SendMessage(e, WM_CHAR, 'x', 0);
    SendMessage(e, WM_CHAR, 'y', 0);
    SendMessage(e, WM_KEYDOWN, VK_NEXT, 0);
    EXPECT_FALSE(IsWindow(e)) << code;
  }
}
