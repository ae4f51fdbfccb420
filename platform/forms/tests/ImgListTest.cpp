// Image-list components: images added plain and masked, replaced and deleted with bad indexes
// refused; change links told of every change and safe when either side goes first; images drawn
// in each style, enabled and greyed (written to a PNG); the drag image over a window.
#include <fstream>
#include <functional>

#include "platform/classes/Reader.h"
#include "platform/classes/Writer.h"
#include "platform/forms/app/Screen.h"
#include "platform/forms/controls/ImgList.h"
#include "platform/forms/graphics/Bitmap.h"
#include "platform/forms/graphics/Brush.h"
#include "platform/forms/graphics/Canvas.h"
#include "platform/forms/tests/AppTestUtil.h"
#include "platform/gdi/dc/DeviceContext.h"
#include "platform/gdi/dc/GdiObjects.h"
#include "platform/gdi/draw/Blits.h"
#include "platform/gdi/image/PictureFiles.h"
#include "platform/win/backend/Headless.h"
#include "platform/win/caret/Cursors.h"
#include "platform/win/paint/Painting.h"
#include "platform/rtl/Streams.h"
#include "platform/win/window/Windows.h"

namespace {

constexpr std::uint32_t kWhite = 0xFFFFFF, kRed = 0xFF0000, kBlue = 0x0000FF, kFuchsia = 0xFF00FF;

// An 8x8 image per colour, side by side: a filled square of the colour in the middle (2..5) on a
// fuchsia ground.
void Glyphs(TBitmap& b, std::initializer_list<TColor> colours)
{
  b.SetSize(8 * int(colours.size()), 8);
  TCanvas* c = b.GetCanvas();
  c->GetBrush()->SetColor(clFuchsia);
  c->FillRect(RECT{0, 0, b.GetWidth(), 8});
  int x = 0;
  for (TColor colour : colours) {
    c->GetBrush()->SetColor(colour);
    c->FillRect(RECT{x + 2, 2, x + 6, 6});
    x += 8;
  }
}

void Fill(TBitmap& b, int w, int h, TColor colour)
{
  b.SetSize(w, h);
  b.GetCanvas()->GetBrush()->SetColor(colour);
  b.GetCanvas()->FillRect(RECT{0, 0, w, h});
}

std::uint32_t Px(TBitmap& b, int x, int y) { return b.GetScanLine(y)[x] & 0xFFFFFF; }

// Written eight times enlarged, so that single pixels can be seen.
void WritePng(TBitmap& b, const char* name)
{
  TBitmap big;
  big.SetSize(b.GetWidth() * 8, b.GetHeight() * 8);
  big.GetCanvas()->StretchDraw(RECT{0, 0, big.GetWidth(), big.GetHeight()}, &b);
  auto png = PngFile::SavePng(big.GetHandle());
  std::ofstream(std::string(PELTO_TEST_OUTPUT) + "/" + name, std::ios::binary)
      .write(reinterpret_cast<const char*>(png.data()), std::streamsize(png.size()));
}

class ImgListTest : public AppTest {};

}  // namespace

TEST_F(ImgListTest, ImagesAreAddedReplacedAndDeleted)
{
  TImageList list(nullptr);
  list.SetWidth(8);
  list.SetHeight(8);
  EXPECT_FALSE(list.HandleAllocated());
  EXPECT_EQ(list.GetCount(), 0);
  TBitmap strip, empty;
  Glyphs(strip, {clRed, clBlue});
  EXPECT_EQ(list.Add(&empty, nullptr), -1);
  EXPECT_EQ(list.AddMasked(&strip, clFuchsia), 0);
  EXPECT_EQ(list.GetCount(), 2);
  TBitmap one;
  Glyphs(one, {clLime});
  EXPECT_EQ(list.Add(&one, nullptr), 2);

  TBitmap out;
  list.GetBitmap(1, &out);
  EXPECT_EQ(Px(out, 3, 3), kBlue);

  list.ReplaceMasked(0, &one, clFuchsia);
  list.GetBitmap(0, &out);
  EXPECT_EQ(Px(out, 3, 3), 0x00FF00u);
  list.Delete(0);
  EXPECT_EQ(list.GetCount(), 2);
  list.GetBitmap(0, &out);
  EXPECT_EQ(Px(out, 3, 3), kBlue) << "later images move down";

  struct BadIndex {
    const char* Name;
    std::function<void()> Call;
  };
  const BadIndex bad[] = {
      {"delete past the end", [&] { list.Delete(2); }},
      {"delete below -1", [&] { list.Delete(-2); }},
      {"replace past the end", [&] { list.Replace(5, &one, nullptr); }},
      {"replace masked negative", [&] { list.ReplaceMasked(-1, &one, clFuchsia); }},
  };
  for (const BadIndex& b : bad) {
    try {
      b.Call();
      ADD_FAILURE() << b.Name << ": no error";
    } catch (EInvalidOperation& e) {
      EXPECT_EQ(e.Message(), "Invalid ImageList Index") << b.Name;
    }
  }
  EXPECT_EQ(list.GetCount(), 2);
  list.Clear();
  EXPECT_EQ(list.GetCount(), 0);
  EXPECT_THROW(list.SetWidth(0), EInvalidOperation);
}

TEST_F(ImgListTest, ChangeLinksHearEveryChangeAndOutliveEitherSide)
{
  auto list = std::make_unique<TImageList>(nullptr);
  TChangeLink link;
  std::vector<TObject*> heard;
  link.OnChange = [&](TObject* Sender) { heard.push_back(Sender); };
  list->RegisterChanges(&link);
  list->RegisterChanges(&link);
  EXPECT_EQ(link.GetSender(), list.get());
  TBitmap glyph;
  Glyphs(glyph, {clRed});
  list->SetWidth(8);
  list->SetHeight(8);
  list->AddMasked(&glyph, clFuchsia);
  list->SetBkColor(clWhite);
  list->SetBkColor(clWhite);  // no change, no news
  list->Delete(0);
  EXPECT_EQ(heard.size(), 5u) << "registered twice is told once";
  for (TObject* s : heard) EXPECT_EQ(s, list.get());

  {
    TChangeLink shortLived;
    list->RegisterChanges(&shortLived);
  }
  list->Clear();  // the destroyed link is no longer told
  EXPECT_EQ(heard.size(), 6u);

  list.reset();
  EXPECT_EQ(link.GetSender(), nullptr) << "the list going leaves the link without a sender";
}

TEST_F(ImgListTest, DrawsEachStyleEnabledAndGreyed)
{
  TImageList list(nullptr);
  list.SetWidth(8);
  list.SetHeight(8);
  TBitmap strip;
  Glyphs(strip, {clRed, clBlue});
  list.AddMasked(&strip, clFuchsia);

  // One row per style on a white ground: normal, transparent, selected, mask, disabled.
  TBitmap canvas;
  Fill(canvas, 80, 60, clWhite);
  list.SetBkColor(clYellow);
  list.Draw(canvas.GetCanvas(), 4, 4, 0, dsNormal, itImage);
  list.Draw(canvas.GetCanvas(), 16, 4, 1, dsTransparent, itImage);
  list.Draw(canvas.GetCanvas(), 28, 4, 0, dsSelected, itImage);
  list.Draw(canvas.GetCanvas(), 40, 4, 0, dsNormal, itMask);
  list.Draw(canvas.GetCanvas(), 52, 4, 1, false);
  list.Draw(canvas.GetCanvas(), 64, 4, 7);  // no such image: nothing
  WritePng(canvas, "imagelist_styles.png");

  EXPECT_EQ(Px(canvas, 4 + 3, 4 + 3), kRed);
  EXPECT_EQ(Px(canvas, 4 + 0, 4 + 0), 0xFFFF00u) << "normal fills the clear part with the background colour";
  EXPECT_EQ(Px(canvas, 16 + 3, 4 + 3), kBlue);
  EXPECT_EQ(Px(canvas, 16 + 0, 4 + 0), kWhite) << "transparent leaves the ground";
  std::uint32_t selected = Px(canvas, 28 + 3, 4 + 3);
  EXPECT_NE(selected, kRed) << "selected blends with the highlight";
  EXPECT_NE(selected & 0xFF, 0u);
  EXPECT_EQ(Px(canvas, 40 + 3, 4 + 3), 0u) << "the mask is black where the image is opaque";
  EXPECT_EQ(Px(canvas, 40 + 0, 4 + 0), kWhite);

  // Greyed: the square in the button shadow colour, its highlight copy peeking out one pixel
  // down and right, the ground untouched.
  std::uint32_t shadow = Graphics::ColorToRGB(clBtnShadow), highlight = Graphics::ColorToRGB(clBtnHighlight);
  auto asDib = [](COLORREF c) { return (std::uint32_t(GetRValue(c)) << 16) | (GetGValue(c) << 8) | GetBValue(c); };
  EXPECT_EQ(Px(canvas, 52 + 3, 4 + 3), asDib(shadow));
  EXPECT_EQ(Px(canvas, 52 + 6, 4 + 6), asDib(highlight));
  EXPECT_EQ(Px(canvas, 52 + 0, 4 + 0), kWhite);
  EXPECT_EQ(Px(canvas, 64 + 3, 4 + 3), kWhite);
}

TEST_F(ImgListTest, DragImageFollowsTheMouseOverAWindow)
{
  WNDCLASSEXA wc;
  wc.lpfnWndProc = Windows::DefWindowProc;
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = "DragTarget";
  Windows::RegisterClassEx(&wc);
  HWND wnd = Windows::CreateWindowEx(0, "DragTarget", "", WS_POPUP | WS_VISIBLE, 0, 0, 120, 80, nullptr, nullptr,
                                     nullptr, nullptr);
  Windows::UpdateWindow(wnd);
  COLORREF ground = Headless::ClientPixel(wnd, 50, 50);

  TDragImageList drag(8, 8);
  TBitmap strip;
  Glyphs(strip, {clRed, clBlue});
  drag.AddMasked(&strip, clFuchsia);
  EXPECT_FALSE(drag.SetDragImage(5, 0, 0));
  ASSERT_TRUE(drag.SetDragImage(1, 3, 3));
  ASSERT_TRUE(drag.BeginDrag(wnd, 20, 20));
  EXPECT_TRUE(drag.GetDragging());
  EXPECT_EQ(Windows::GetCursor(), Forms::Screen->GetCursors(crDrag));
  EXPECT_EQ(Headless::ClientPixel(wnd, 20, 20), RGB(0, 0, 255)) << "the hot spot sits on the point";
  EXPECT_TRUE(drag.DragMove(60, 30));
  EXPECT_EQ(Headless::ClientPixel(wnd, 20, 20), ground);
  EXPECT_EQ(Headless::ClientPixel(wnd, 60, 30), RGB(0, 0, 255));
  drag.HideDragImage();
  EXPECT_EQ(Headless::ClientPixel(wnd, 60, 30), ground);
  drag.ShowDragImage();
  EXPECT_EQ(Headless::ClientPixel(wnd, 60, 30), RGB(0, 0, 255));
  drag.SetDragCursor(crNoDrop);
  EXPECT_EQ(Windows::GetCursor(), Forms::Screen->GetCursors(crNoDrop));

  TBitmap shot;
  shot.SetSize(120, 80);
  HBITMAP screen = Headless::CaptureScreen();
  HDC screenDC = Windows::CreateCompatibleDC(nullptr);
  HGDIOBJ old = Windows::SelectObject(screenDC, screen);
  Windows::BitBlt(shot.GetCanvas()->GetHandle(), 0, 0, 120, 80, screenDC, 0, 0, SRCCOPY);
  Windows::SelectObject(screenDC, old);
  Windows::DeleteDC(screenDC);
  Windows::DeleteObject(screen);
  WritePng(shot, "imagelist_drag.png");

  EXPECT_TRUE(drag.EndDrag());
  EXPECT_FALSE(drag.GetDragging());
  EXPECT_EQ(Headless::ClientPixel(wnd, 60, 30), ground) << "the window is left as it was";
  EXPECT_FALSE(drag.EndDrag());
}

TEST_F(ImgListTest, ImagesTravelInTheComponentStream)
{
  TImageList out(nullptr);
  out.SetWidth(8);
  out.SetHeight(8);
  TBitmap strip;
  Glyphs(strip, {clRed, clBlue, clLime});
  out.AddMasked(&strip, clFuchsia);
  TMemoryStream s;
  Classes::WriteComponent(&s, &out);

  s.SetPosition(0);
  TImageList in(nullptr);
  Classes::ReadComponent(&s, &in);
  ASSERT_EQ(in.GetCount(), 3);
  EXPECT_EQ(in.GetWidth(), 8);
  TBitmap canvas;
  Fill(canvas, 30, 10, clWhite);
  for (int i = 0; i < 3; ++i) in.Draw(canvas.GetCanvas(), i * 10, 0, i, dsTransparent, itImage);
  EXPECT_EQ(Px(canvas, 3, 3), kRed);
  EXPECT_EQ(Px(canvas, 13, 3), kBlue);
  EXPECT_EQ(Px(canvas, 23, 3), 0x00FF00u);
  EXPECT_EQ(Px(canvas, 0, 0), kWhite) << "the mask came along";

  // An empty list stores no images; a damaged block is refused.
  TImageList empty(nullptr);
  TMemoryStream e;
  Classes::WriteComponent(&e, &empty);
  std::string bytes(static_cast<const char*>(e.GetMemory()), std::size_t(e.GetSize()));
  EXPECT_EQ(bytes.find("Bitmap"), std::string::npos);

  std::string stored(static_cast<const char*>(s.GetMemory()), std::size_t(s.GetSize()));
  std::size_t bmp = stored.find("BM");
  ASSERT_NE(bmp, std::string::npos);
  stored[bmp + 18] = 99;  // the strip's width no longer matches three images
  TStringStream damaged(stored);
  TImageList bad(nullptr);
  EXPECT_ANY_THROW(Classes::ReadComponent(&damaged, &bad));
}
