#include "platform/gdi/dc/GdiObjects.h"
#include "platform/gdi/dc/SysColors.h"
#include "platform/gdi/draw/Regions.h"
#include "platform/gdi/draw/Shapes.h"
#include "platform/win/backend/Headless.h"
#include "platform/win/caret/Carets.h"
#include "platform/win/paint/Painting.h"
#include "platform/win/queue/Messages.h"
#include "platform/win/tests/WinTestUtil.h"
#include "platform/win/window/Windows.h"

using namespace Windows;

class PaintTest : public WinTest {
protected:
  // Fills the whole client area with `color` in WM_PAINT and counts the paints.
  void Solid(HWND w, COLORREF color, int* count, RECT* last = nullptr)
  {
    On(w, WM_PAINT, [w, color, count, last](WPARAM, LPARAM) {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(w, &ps);
      RECT r;
      GetClientRect(w, &r);
      HBRUSH b = CreateSolidBrush(color);
      FillRect(dc, &r, b);
      DeleteObject(b);
      EndPaint(w, &ps);
      if (count) ++*count;
      if (last) *last = ps.rcPaint;
      return LRESULT(0);
    });
  }
};

TEST_F(PaintTest, SeveralInvalidationsGiveExactlyOnePaintOfTheirUnion)
{
  HWND w = Make(WS_POPUP | WS_VISIBLE, 0, 0, 100, 100);
  int paints = 0;
  RECT painted;
  Solid(w, RGB(255, 0, 0), &paints, &painted);
  Pump();
  EXPECT_EQ(paints, 1) << "showing a window paints it once";
  RECT a{10, 10, 20, 20}, b{30, 5, 40, 15};
  InvalidateRect(w, &a, TRUE);
  InvalidateRect(w, &b, FALSE);
  InvalidateRect(w, &a, TRUE);
  RECT upd;
  EXPECT_TRUE(GetUpdateRect(w, &upd, FALSE));
  EXPECT_EQ(upd, (RECT{10, 5, 40, 20}));
  Pump();
  EXPECT_EQ(paints, 2);
  EXPECT_EQ(painted, (RECT{10, 5, 40, 20}));
  EXPECT_FALSE(GetUpdateRect(w, &upd, FALSE));
  EXPECT_EQ(Pump(), 0);
  EXPECT_EQ(Headless::ClientPixel(w, 50, 50), RGB(255, 0, 0));
  // Validating what was invalidated leaves nothing to paint; a hidden window gets nothing.
  InvalidateRect(w, nullptr, TRUE);
  ValidateRect(w, nullptr);
  ShowWindow(w, SW_HIDE);
  InvalidateRect(w, nullptr, TRUE);
  EXPECT_EQ(Pump(), 0);
  EXPECT_EQ(paints, 2);
}

TEST_F(PaintTest, UpdateWindowPaintsAtOnceWithEraseFirst)
{
  HWND w = Make(WS_POPUP | WS_VISIBLE, 0, 0, 50, 50);
  Pump();
  ClearLog();
  InvalidateRect(w, nullptr, TRUE);
  UpdateWindow(w);
  EXPECT_EQ(Seq({WM_PAINT, WM_ERASEBKGND}), (std::vector<std::pair<HWND, UINT>>{{w, WM_PAINT}, {w, WM_ERASEBKGND}}));
  EXPECT_EQ(Pump(), 0);
  // The class background erases to the window colour.
  EXPECT_EQ(Headless::ClientPixel(w, 5, 5), GetSysColor(COLOR_WINDOW));
}

TEST_F(PaintTest, ParentPaintingIsClippedAroundChildrenAndSiblingsAsAsked)
{
  HWND top = Make(WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 100, 100);
  HWND low = Make(WS_CHILD | WS_VISIBLE, 10, 10, 40, 40, top);
  HWND high = Make(WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 30, 30, 40, 40, top);
  SetWindowPos(low, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  int n = 0;
  Solid(top, RGB(0, 0, 255), &n);
  Solid(low, RGB(0, 255, 0), &n);
  Solid(high, RGB(255, 0, 0), &n);
  Pump();
  // The parent never paints over its children.
  InvalidateRect(top, nullptr, FALSE);
  Pump();
  EXPECT_EQ(Headless::ClientPixel(top, 5, 5), RGB(0, 0, 255));
  EXPECT_EQ(Headless::ClientPixel(top, 15, 15), RGB(0, 255, 0));
  EXPECT_EQ(Headless::ClientPixel(top, 60, 60), RGB(255, 0, 0));
  // `low` has no WS_CLIPSIBLINGS and paints over `high` where they overlap; `high` keeps out
  // of what is above it only.
  InvalidateRect(low, nullptr, FALSE);
  UpdateWindow(low);
  EXPECT_EQ(Headless::ClientPixel(top, 35, 35), RGB(0, 255, 0));
  SetWindowLongPtr(low, GWL_STYLE, LONG_PTR(WS_CHILD | WS_CLIPSIBLINGS));
  InvalidateRect(high, nullptr, FALSE);
  UpdateWindow(high);
  InvalidateRect(low, nullptr, FALSE);
  UpdateWindow(low);
  EXPECT_EQ(Headless::ClientPixel(top, 35, 35), RGB(255, 0, 0));
}

TEST_F(PaintTest, InvalidatingAParentWithoutClipChildrenReachesTheChildren)
{
  HWND top = Make(WS_POPUP | WS_VISIBLE, 0, 0, 100, 100);
  HWND child = Make(WS_CHILD | WS_VISIBLE, 10, 10, 20, 20, top);
  HWND away = Make(WS_CHILD | WS_VISIBLE, 60, 60, 20, 20, top);
  Pump();
  ClearLog();
  RECT r{0, 0, 15, 15};
  InvalidateRect(top, &r, TRUE);
  Pump();
  EXPECT_EQ(Count(child, WM_PAINT), 1);
  EXPECT_EQ(Count(away, WM_PAINT), 0);
  EXPECT_EQ(Seq({WM_PAINT}).front().first, top) << "parents paint before children";
  SetWindowLongPtr(top, GWL_STYLE, LONG_PTR(WS_POPUP | WS_CLIPCHILDREN));
  ClearLog();
  InvalidateRect(top, nullptr, TRUE);
  Pump();
  EXPECT_EQ(Count(child, WM_PAINT), 0);
}

TEST_F(PaintTest, GetDCDrawsIntoTheWindowAndNotOutsideItsParent)
{
  HWND top = Make(WS_POPUP | WS_VISIBLE, 0, 0, 100, 100);
  HWND child = Make(WS_CHILD | WS_VISIBLE, 80, 80, 40, 40, top);  // hangs over the edge
  Pump();
  HDC dc = GetDC(child);
  ASSERT_NE(dc, nullptr);
  RECT all{-100, -100, 200, 200};
  HBRUSH b = CreateSolidBrush(RGB(1, 2, 3));
  FillRect(dc, &all, b);
  DeleteObject(b);
  EXPECT_EQ(ReleaseDC(child, dc), 1);
  EXPECT_EQ(Headless::ClientPixel(top, 85, 85), RGB(1, 2, 3));
  EXPECT_NE(Headless::ClientPixel(top, 70, 70), RGB(1, 2, 3));
  EXPECT_EQ(ReleaseDC(child, dc), 0) << "a DC is released once";
  EXPECT_EQ(GetDC(reinterpret_cast<HWND>(0x42)), nullptr);
}

TEST_F(PaintTest, AWindowRegionShapesPaintingAndHitTesting)
{
  HWND top = Make(WS_POPUP | WS_VISIBLE, 0, 0, 100, 100);
  Pump();
  SetWindowRgn(top, CreateEllipticRgn(0, 0, 100, 100), TRUE);
  HRGN copy = CreateRectRgn(0, 0, 0, 0);
  EXPECT_EQ(GetWindowRgn(top, copy), COMPLEXREGION);
  DeleteObject(copy);
  EXPECT_EQ(WindowFromPoint({50, 50}), top);
  EXPECT_EQ(WindowFromPoint({1, 1}), nullptr) << "the corner is outside the ellipse";
  HDC dc = GetDC(top);
  RECT all{0, 0, 100, 100};
  FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  ReleaseDC(top, dc);
  EXPECT_EQ(Headless::ClientPixel(top, 50, 50), RGB(0, 0, 0));
  EXPECT_NE(Headless::ClientPixel(top, 1, 1), RGB(0, 0, 0));
}

TEST_F(PaintTest, ScrollWindowMovesPixelsAndInvalidatesWhatItUncovers)
{
  HWND w = Make(WS_POPUP | WS_VISIBLE, 0, 0, 100, 100);
  On(w, WM_PAINT, [w](WPARAM, LPARAM) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(w, &ps);
    // Rows 0..49 red, 50..99 blue.
    RECT top{0, 0, 100, 50}, bottom{0, 50, 100, 100};
    HBRUSH r = CreateSolidBrush(RGB(255, 0, 0)), b = CreateSolidBrush(RGB(0, 0, 255));
    FillRect(dc, &top, r);
    FillRect(dc, &bottom, b);
    DeleteObject(r);
    DeleteObject(b);
    EndPaint(w, &ps);
    return LRESULT(0);
  });
  Pump();
  RECT uncovered;
  EXPECT_EQ(ScrollWindowEx(w, 0, -30, nullptr, nullptr, nullptr, &uncovered, SW_INVALIDATE), SIMPLEREGION);
  EXPECT_EQ(uncovered, (RECT{0, 70, 100, 100}));
  EXPECT_EQ(Headless::ClientPixel(w, 10, 25), RGB(0, 0, 255)) << "blue moved up by 30";
  RECT upd;
  GetUpdateRect(w, &upd, FALSE);
  EXPECT_EQ(upd, uncovered);
}

TEST_F(PaintTest, TheCaretInvertsItsBlockWhileShownAndHidesDuringPaint)
{
  HWND w = Make(WS_POPUP | WS_VISIBLE, 0, 0, 100, 100);
  Pump();
  COLORREF bg = Headless::ClientPixel(w, 11, 11);
  ASSERT_TRUE(CreateCaret(w, nullptr, 2, 16));
  SetCaretPos(10, 10);
  EXPECT_EQ(Headless::ClientPixel(w, 11, 11), bg) << "a new caret starts hidden";
  ShowCaret(w);
  EXPECT_EQ(Headless::ClientPixel(w, 11, 11), bg ^ 0xFFFFFF);
  InvalidateRect(w, nullptr, TRUE);
  UpdateWindow(w);
  EXPECT_EQ(Headless::ClientPixel(w, 11, 11), bg ^ 0xFFFFFF) << "repainted, caret redrawn";
  HideCaret(w);
  HideCaret(w);
  ShowCaret(w);
  EXPECT_EQ(Headless::ClientPixel(w, 11, 11), bg) << "hides nest";
  ShowCaret(w);
  DestroyWindow(w);
  EXPECT_FALSE(ShowCaret(nullptr)) << "the caret went with its window";
}
