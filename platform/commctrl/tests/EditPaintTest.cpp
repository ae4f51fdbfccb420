// The EDIT in each of its states, painted headless, written as a PNG for people to look at,
// and checked at the pixels that matter.
#include <gtest/gtest.h>

#include <fstream>

#include "platform/commctrl/CommCtrl.h"
#include "platform/commctrl/tests/EditTestUtil.h"
#include "platform/gdi/dc/DeviceContext.h"
#include "platform/gdi/dc/GdiObjects.h"
#include "platform/gdi/dc/SysColors.h"
#include "platform/gdi/image/PictureFiles.h"
#include "platform/win/backend/Headless.h"
#include "platform/win/input/Focus.h"
#include "platform/win/paint/Painting.h"
#include "platform/win/queue/Messages.h"
#include "platform/win/scroll/ScrollBars.h"
#include "platform/win/window/Windows.h"

using namespace Windows;

namespace {

HWND Place(HWND e, int x, int y, int w, int h)
{
  MoveWindow(e, x, y, w, h, TRUE);
  return e;
}

bool Near(COLORREF a, COLORREF b)
{
  auto d = [](int x, int y) { return x > y ? x - y : y - x; };
  return d(GetRValue(a), GetRValue(b)) <= 40 && d(GetGValue(a), GetGValue(b)) <= 40 &&
         d(GetBValue(a), GetBValue(b)) <= 40;
}

// Whether any pixel of the client rectangle `r` is (nearly: text is smoothed) colour `c`.
bool AnyPixel(HWND wnd, RECT r, COLORREF c)
{
  for (int y = r.top; y < r.bottom; ++y)
    for (int x = r.left; x < r.right; ++x)
      if (Near(Headless::ClientPixel(wnd, x, y), c)) return true;
  return false;
}

// Whether the rectangle holds a pixel that is neither of the two colours (text was drawn).
bool Inked(HWND wnd, RECT r, COLORREF back)
{
  for (int y = r.top; y < r.bottom; ++y)
    for (int x = r.left; x < r.right; ++x)
      if (Headless::ClientPixel(wnd, x, y) != back) return true;
  return false;
}

}  // namespace

TEST_F(EditTest, EveryStatePaintsInTheClassicColours)
{
  HWND parent = Parent();
  MoveWindow(parent, 20, 20, 460, 330, TRUE);
  HBRUSH yellow = CreateSolidBrush(RGB(255, 255, 192));
  HWND custom = nullptr;
  On(parent, WM_CTLCOLOREDIT, [&](WPARAM dc, LPARAM ctl) -> LRESULT {
    if (reinterpret_cast<HWND>(ctl) != custom) return 0;
    SetTextColor(reinterpret_cast<HDC>(dc), RGB(0, 0, 160));
    SetBkColor(reinterpret_cast<HDC>(dc), RGB(255, 255, 192));
    return reinterpret_cast<LRESULT>(yellow);
  });
  HWND focused = Place(MakeEdit(ES_AUTOHSCROLL, "Focused \xBA\xCF\xCD\xAC"), 10, 10, 200, 24);
  HWND selected = Place(MakeEdit(ES_NOHIDESEL, "Selection \xD1\xA1\xD4\xF1"), 230, 10, 200, 24);
  HWND disabled = Place(MakeEdit(0, "Disabled \xBD\xFB\xD3\xC3"), 10, 44, 200, 24);
  HWND readOnly = Place(MakeEdit(ES_READONLY, "Read-only \xD6\xBB\xB6\xC1"), 230, 44, 200, 24);
  HWND password = Place(MakeEdit(ES_PASSWORD, "secret"), 10, 78, 200, 24);
  HWND chinese =
      Place(MakeEdit(ES_CENTER, "\xC0\xBD\xD4\xC0\xBA\xCF\xCD\xAC\xB9\xDC\xC0\xED\xCF\xB5\xCD\xB3"), 230, 78, 200, 24);
  std::string lines;
  for (int i = 1; i <= 20; ++i)
    lines += "Line " + std::to_string(i) + " \xBA\xCF\xCD\xAC\xCC\xF5\xBF\xEE with wrapped words\r\n";
  HWND multi = Place(MakeEdit(ES_MULTILINE | ES_AUTOVSCROLL | WS_VSCROLL, lines), 10, 112, 200, 120);
  custom = Place(MakeEdit(0, "Parent's colours"), 230, 112, 200, 24);
  EnableWindow(disabled, FALSE);
  SendMessage(selected, EM_SETSEL, 0, 9);
  SendMessage(multi, EM_SETSEL, 30, 60);
  SendMessage(multi, EM_LINESCROLL, 0, 2);
  SetFocus(focused);
  SendMessage(focused, EM_SETSEL, 0x7FFFFFFF, -1);
  UpdateWindow(parent);
  Pump();

  HBITMAP shot = Headless::CaptureScreen();
  auto png = PngFile::SavePng(shot);
  DeleteObject(shot);
  std::ofstream(PELTO_TEST_OUTPUT "/edit_states.png", std::ios::binary)
      .write(reinterpret_cast<const char*>(png.data()), std::streamsize(png.size()));

  COLORREF window = GetSysColor(COLOR_WINDOW), face = GetSysColor(COLOR_3DFACE);
  RECT c;
  GetClientRect(focused, &c);
  // Backgrounds: the window colour, read-only and disabled in the face colour, the parent's.
  EXPECT_EQ(Headless::ClientPixel(focused, c.right - 3, c.bottom - 3), window);
  EXPECT_EQ(Headless::ClientPixel(readOnly, c.right - 3, c.bottom - 3), face);
  EXPECT_EQ(Headless::ClientPixel(disabled, c.right - 3, c.bottom - 3), face);
  EXPECT_EQ(Headless::ClientPixel(custom, c.right - 3, c.bottom - 3), RGB(255, 255, 192));
  EXPECT_TRUE(AnyPixel(custom, {0, 0, 80, 16}, RGB(0, 0, 160))) << "the parent's text colour";
  // Disabled text is grey; no window text colour in it.
  EXPECT_TRUE(AnyPixel(disabled, {0, 0, 100, 16}, GetSysColor(COLOR_GRAYTEXT)));
  EXPECT_FALSE(AnyPixel(disabled, {0, 0, 100, 16}, GetSysColor(COLOR_WINDOWTEXT)));
  // The selection in the highlight colours, with the text over it in the highlight text colour.
  int selEnd = GET_X_LPARAM(SendMessage(selected, EM_POSFROMCHAR, 9, 0));
  EXPECT_EQ(Headless::ClientPixel(selected, 1, 1), GetSysColor(COLOR_HIGHLIGHT));
  EXPECT_EQ(Headless::ClientPixel(selected, selEnd - 1, 1), GetSysColor(COLOR_HIGHLIGHT));
  EXPECT_EQ(Headless::ClientPixel(selected, selEnd + 8, 1), window);
  EXPECT_TRUE(AnyPixel(selected, {0, 0, selEnd, 16}, GetSysColor(COLOR_HIGHLIGHTTEXT)));
  // The unfocused multi-line edit hides its selection.
  EXPECT_FALSE(AnyPixel(multi, {0, 0, 150, 100}, GetSysColor(COLOR_HIGHLIGHT)));
  // The caret: an inverted column at the end of the focused text.
  int caretX = GET_X_LPARAM(SendMessage(focused, EM_POSFROMCHAR, 12, 0));
  EXPECT_EQ(Headless::ClientPixel(focused, caretX, 8), RGB(0, 0, 0));
  // Chinese text is drawn, centred.
  GetClientRect(chinese, &c);
  EXPECT_TRUE(Inked(chinese, {c.right / 2 - 20, 0, c.right / 2 + 20, 16}, window));
  EXPECT_FALSE(Inked(chinese, {0, 0, 20, 16}, window));
  // Password: stars, as many as the characters.
  EXPECT_TRUE(Inked(password, {0, 0, 30, 16}, window));
  EXPECT_FALSE(Inked(password, {60, 0, 150, 16}, window));
  // The multi-line edit's bar shows its position.
  EXPECT_EQ(GetScrollPos(multi, SB_VERT), 2);
  SCROLLBARINFO sb;
  ASSERT_TRUE(GetScrollBarInfo(multi, OBJID_VSCROLL, &sb));
  EXPECT_FALSE(sb.rgstate[0] & STATE_SYSTEM_INVISIBLE);
  DeleteObject(yellow);
}
