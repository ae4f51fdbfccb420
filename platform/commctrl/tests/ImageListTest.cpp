// Image lists: stale handles fail, images are cut, replaced and removed, each drawing style puts
// the expected colours at an opaque and a transparent pixel, and the drag image shows, moves and
// leaves the window as it was.
#include <cstdint>
#include <vector>

#include <gtest/gtest.h>

#include "platform/commctrl/imagelist/ImageList.h"
#include "platform/gdi/dc/DeviceContext.h"
#include "platform/gdi/dc/GdiObjects.h"
#include "platform/gdi/dc/SysColors.h"
#include "platform/gdi/draw/Shapes.h"
#include "platform/gdi/image/Bitmaps.h"
#include "platform/win/backend/Headless.h"
#include "platform/win/paint/Painting.h"
#include "platform/win/queue/Messages.h"
#include "platform/win/window/Windows.h"

using namespace Windows;

namespace {

constexpr COLORREF Red = RGB(200, 0, 0), Blue = RGB(0, 0, 200), Green = RGB(0, 160, 0), Magenta = RGB(255, 0, 255);

// `n` 4x4 images side by side: image k's left half is colour k (Red, Blue, ...), its right
// half magenta; `mask` gets the matching monochrome mask (white right halves).
HBITMAP Strip(int n, HBITMAP* mask = nullptr)
{
  const COLORREF colours[] = {Red, Blue, Green};
  std::vector<std::uint32_t> px(std::size_t(n) * 4 * 4), mk(px.size());
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < n * 4; ++x) {
      bool right = x % 4 >= 2;
      COLORREF c = right ? Magenta : colours[x / 4 % 3];
      px[std::size_t(y) * n * 4 + x] = (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
      mk[std::size_t(y) * n * 4 + x] = right ? 0xFFFFFF : 0;
    }
  if (mask) *mask = CreateBitmap(n * 4, 4, 1, 32, mk.data());
  return CreateBitmap(n * 4, 4, 1, 32, px.data());
}

// A memory DC over a 10x10 bitmap filled with `back`.
struct Canvas {
  explicit Canvas(COLORREF back = Green)
  {
    dc = CreateCompatibleDC(nullptr);
    bmp = CreateBitmap(10, 10, 1, 32, nullptr);
    old = SelectObject(dc, bmp);
    HBRUSH b = CreateSolidBrush(back);
    RECT r{0, 0, 10, 10};
    FillRect(dc, &r, b);
    DeleteObject(b);
  }
  ~Canvas()
  {
    SelectObject(dc, old);
    DeleteObject(bmp);
    DeleteDC(dc);
  }
  HDC dc;
  HBITMAP bmp;
  HGDIOBJ old;
};

COLORREF Mix(COLORREF a, COLORREF b, int pb)
{
  auto m = [&](int x, int y) { return (x * (100 - pb) + y * pb) / 100; };
  return RGB(m(GetRValue(a), GetRValue(b)), m(GetGValue(a), GetGValue(b)), m(GetBValue(a), GetBValue(b)));
}

}  // namespace

TEST(ImageList, CallsOnNullDestroyedOrUnknownListsFailAndDoNothing)
{
  HIMAGELIST gone = ImageList_Create(4, 4, ILC_MASK, 1, 1);
  ASSERT_TRUE(gone);
  EXPECT_TRUE(ImageList_Destroy(gone));
  HIMAGELIST live = ImageList_Create(4, 4, ILC_MASK, 1, 1);
  EXPECT_NE(live, gone) << "a destroyed list's handle is never handed out again";
  HBITMAP bmp = Strip(1);
  Canvas c;
  int cx = 0, cy = 0;
  for (HIMAGELIST bad : {HIMAGELIST(nullptr), gone, reinterpret_cast<HIMAGELIST>(std::uintptr_t(0xdead0))}) {
    EXPECT_EQ(ImageList_Add(bad, bmp, nullptr), -1);
    EXPECT_EQ(ImageList_AddMasked(bad, bmp, Magenta), -1);
    EXPECT_FALSE(ImageList_Replace(bad, 0, bmp, nullptr));
    EXPECT_FALSE(ImageList_Remove(bad, -1));
    EXPECT_EQ(ImageList_GetImageCount(bad), 0);
    EXPECT_FALSE(ImageList_GetIconSize(bad, &cx, &cy));
    EXPECT_FALSE(ImageList_Draw(bad, 0, c.dc, 0, 0, ILD_NORMAL));
    EXPECT_FALSE(ImageList_BeginDrag(bad, 0, 0, 0));
    EXPECT_FALSE(ImageList_Destroy(bad));
  }
  EXPECT_EQ(ImageList_Create(0, 4, 0, 1, 1), nullptr);
  EXPECT_EQ(ImageList_Add(live, nullptr, nullptr), -1) << "no bitmap";
  EXPECT_FALSE(ImageList_Draw(live, 0, c.dc, 0, 0, ILD_NORMAL)) << "no such image";
  DeleteObject(bmp);
  ImageList_Destroy(live);
}

TEST(ImageList, AddCutsAStripReplaceAndRemoveKeepTheOthersInOrder)
{
  HIMAGELIST l = ImageList_Create(4, 4, ILC_MASK | ILC_COLOR32, 4, 4);
  HBITMAP three = Strip(3), one = Strip(1);
  EXPECT_EQ(ImageList_Add(l, three, nullptr), 0);
  EXPECT_EQ(ImageList_AddMasked(l, one, Magenta), 3);
  EXPECT_EQ(ImageList_GetImageCount(l), 4);
  int cx = 0, cy = 0;
  EXPECT_TRUE(ImageList_GetIconSize(l, &cx, &cy));
  EXPECT_EQ(cx, 4);
  EXPECT_EQ(cy, 4);
  auto leftColour = [&](int i) {
    Canvas c;
    ImageList_Draw(l, i, c.dc, 0, 0, ILD_NORMAL);
    return GetPixel(c.dc, 0, 0);
  };
  EXPECT_EQ(leftColour(1), Blue);
  EXPECT_TRUE(ImageList_Remove(l, 0));
  EXPECT_EQ(leftColour(0), Blue) << "later images move down";
  EXPECT_TRUE(ImageList_Replace(l, 0, one, nullptr));
  EXPECT_EQ(leftColour(0), Red);
  EXPECT_FALSE(ImageList_Remove(l, 3));
  EXPECT_FALSE(ImageList_Replace(l, 3, one, nullptr));
  EXPECT_TRUE(ImageList_RemoveAll(l));
  EXPECT_EQ(ImageList_GetImageCount(l), 0);
  EXPECT_TRUE(ImageList_SetIconSize(l, 8, 8));
  DeleteObject(three);
  DeleteObject(one);
  ImageList_Destroy(l);
}

TEST(ImageList, EachDrawingStyleColoursTheOpaqueAndTheTransparentPixels)
{
  const COLORREF hi = GetSysColor(COLOR_HIGHLIGHT);
  struct Case {
    const char* name;
    UINT flags;     // list flags
    COLORREF back;  // the list's background colour
    UINT style;
    COLORREF opaque, clear;  // at (0, 0) and (3, 0) over a green canvas
  } cases[] = {
      {"normal, no background", ILC_MASK, CLR_NONE, ILD_NORMAL, Red, Green},
      {"normal fills the background", ILC_MASK, Blue, ILD_NORMAL, Red, Blue},
      {"transparent ignores the background", ILC_MASK, Blue, ILD_TRANSPARENT, Red, Green},
      {"mask", ILC_MASK, CLR_NONE, ILD_MASK, RGB(0, 0, 0), RGB(255, 255, 255)},
      {"selected blends half", ILC_MASK, CLR_NONE, ILD_SELECTED, Mix(Red, hi, 50), Green},
      {"focus blends a quarter", ILC_MASK, CLR_NONE, ILD_FOCUS, Mix(Red, hi, 25), Green},
      {"without a mask nothing is clear", 0, CLR_NONE, ILD_TRANSPARENT, Red, Magenta},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    HIMAGELIST l = ImageList_Create(4, 4, k.flags, 1, 1);
    HBITMAP mask = nullptr, bmp = Strip(1, &mask);
    ASSERT_EQ(ImageList_Add(l, bmp, mask), 0);
    ImageList_SetBkColor(l, k.back);
    Canvas c;
    EXPECT_TRUE(ImageList_Draw(l, 0, c.dc, 2, 2, k.style));
    EXPECT_EQ(GetPixel(c.dc, 2, 2), k.opaque);
    EXPECT_EQ(GetPixel(c.dc, 5, 2), k.clear);
    EXPECT_EQ(GetPixel(c.dc, 6, 2), Green) << "nothing drawn beside the image";
    DeleteObject(bmp);
    DeleteObject(mask);
    ImageList_Destroy(l);
  }
}

TEST(ImageList, TheDragImageShowsMovesAndLeavesTheWindowAsItWas)
{
  Headless::Start(400, 300);
  WNDCLASSEXA wc;
  wc.lpfnWndProc = DefWindowProc;
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = "DragHost";
  RegisterClassEx(&wc);
  HWND wnd =
      CreateWindowEx(0, "DragHost", "", WS_POPUP | WS_VISIBLE, 0, 0, 100, 100, nullptr, nullptr, nullptr, nullptr);
  UpdateWindow(wnd);
  const COLORREF white = GetSysColor(COLOR_WINDOW);
  HIMAGELIST l = ImageList_Create(4, 4, ILC_MASK, 1, 1);
  HBITMAP mask = nullptr, bmp = Strip(1, &mask);
  ImageList_Add(l, bmp, mask);

  EXPECT_FALSE(ImageList_DragEnter(wnd, 10, 10)) << "no drag begun";
  ASSERT_TRUE(ImageList_BeginDrag(l, 0, 1, 1));
  EXPECT_TRUE(ImageList_DragEnter(wnd, 11, 11));
  EXPECT_EQ(Headless::ClientPixel(wnd, 10, 10), Red);
  EXPECT_EQ(Headless::ClientPixel(wnd, 12, 10), white) << "the mask's clear half shows the window";
  EXPECT_TRUE(ImageList_DragMove(31, 11));
  EXPECT_EQ(Headless::ClientPixel(wnd, 10, 10), white) << "the old place is restored";
  EXPECT_EQ(Headless::ClientPixel(wnd, 30, 10), Red);
  POINT pos, hot;
  EXPECT_TRUE(ImageList_GetDragImage(&pos, &hot));
  EXPECT_EQ(pos.x, 31);
  EXPECT_EQ(hot.x, 1);
  EXPECT_TRUE(ImageList_DragShowNolock(FALSE));
  EXPECT_EQ(Headless::ClientPixel(wnd, 30, 10), white);
  EXPECT_TRUE(ImageList_DragShowNolock(TRUE));
  EXPECT_TRUE(ImageList_DragLeave(wnd));
  EXPECT_EQ(Headless::ClientPixel(wnd, 30, 10), white);
  ImageList_EndDrag();
  EXPECT_EQ(ImageList_GetDragImage(nullptr, nullptr), nullptr);
  EXPECT_FALSE(ImageList_DragMove(5, 5));
  EXPECT_EQ(ImageList_GetImageCount(l), 1) << "the source list is untouched";
  DeleteObject(bmp);
  DeleteObject(mask);
  ImageList_Destroy(l);
  Headless::Start();
}
