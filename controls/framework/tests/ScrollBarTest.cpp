// The painted scroll bar on the headless window layer: its range rules, its parts, the repeat
// of a held arrow by the test's clock, thumb dragging with its snap-back, and its pictures.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "controls/framework/FrameworkModule.h"
#include "controls/framework/cxLookAndFeels.h"
#include "controls/framework/cxScrollBar.h"
#include "controls/framework/tests/PaintFixture.h"
#include "platform/forms/controls/Controls.h"
#include "platform/forms/forms/Form.h"
#include "platform/gdi/dc/DeviceContext.h"
#include "platform/gdi/image/PictureFiles.h"
#include "platform/win/backend/Headless.h"
#include "platform/win/input/InputQueue.h"

namespace {

using Btn = InputQueue::Button;

struct ScrollBarTest : ::testing::Test {
  std::unique_ptr<TComponent> Owner;
  TForm* Form = nullptr;
  TcxScrollBar* Bar = nullptr;
  std::vector<std::pair<TScrollCode, int>> Scrolls;  // every OnScroll, with the position it carried
  int Changes = 0;

  void SetUp() override
  {
    Headless::Start(1024, 768);
    Controls::Initialize();
    FrameworkModule::Initialize();
    Owner = std::make_unique<TComponent>(nullptr);
    Form = new TForm(Owner.get());
    Form->SetBounds(100, 100, 400, 300);
    Bar = new TcxScrollBar(Form);
    Bar->SetParent(Form);
    Bar->SetBounds(20, 20, 121, 17);
    Bar->OnScroll = [this](TObject*, TScrollCode Code, int& Pos) { Scrolls.emplace_back(Code, Pos); };
    Bar->OnChange = [this](TObject*) { ++Changes; };
    Form->Show();
    Pump();
  }
  void TearDown() override
  {
    Owner.reset();
    FrameworkModule::Finalize();
    Headless::Start(1024, 768);
  }
  void Pump() { Controls::ProcessMessages(); }
  POINT Screen(int X, int Y) { return Bar->ClientToScreen(POINT{X, Y}); }
  void Down(int X, int Y)
  {
    POINT p = Screen(X, Y);
    InputQueue::MouseMove(p.x, p.y);
    InputQueue::MouseDown(Btn::Left, p.x, p.y);
    Pump();
  }
  void Move(int X, int Y)
  {
    POINT p = Screen(X, Y);
    InputQueue::MouseMove(p.x, p.y);
    Pump();
  }
  void Up(int X, int Y)
  {
    POINT p = Screen(X, Y);
    InputQueue::MouseUp(Btn::Left, p.x, p.y);
    Pump();
  }
  void Wait(DWORD Ms)
  {
    Headless::AdvanceTime(Ms);
    Pump();
  }
  POINT Centre(TcxScrollBarPart Part)
  {
    RECT r = Bar->GetPartRect(Part);
    return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  }
  RECT Thumb() { return Bar->GetPartRect(sbpThumb); }
};

TEST_F(ScrollBarTest, StartsAs121ByTheSystemHeightAndTurnsWithItsKind)
{
  auto* fresh = new TcxScrollBar(Form);
  EXPECT_EQ(fresh->GetWidth(), 121);
  EXPECT_EQ(fresh->GetHeight(), 17);
  EXPECT_EQ(fresh->ControlStyle, (TControlStyle{csCaptureMouse, csFramed, csOpaque}));
  EXPECT_EQ(fresh->GetMax(), 100);
  EXPECT_EQ(fresh->GetPageSize(), 0);
  EXPECT_EQ(cxScrollBar::GetDefaultScrollBarSize().cx, 17);

  Bar->SetKind(sbVertical);
  EXPECT_EQ(Bar->GetWidth(), 17);
  EXPECT_EQ(Bar->GetHeight(), 121);
  EXPECT_EQ(Bar->GetPartRect(sbpBottomRightArrow).top, 121 - 17);
  EXPECT_EQ(Bar->GetPartAt(8, 115), sbpBottomRightArrow);
}

TEST_F(ScrollBarTest, OutOfRangeParametersRaiseAndChangeNothing)
{
  Bar->SetScrollParams(0, 50, 20, 10);
  Changes = 0;
  struct Case {
    int Min, Max, PageSize;
  } bad[] = {{10, 5, 0}, {0, 9, 10}, {-5, -6, 0}};
  for (const Case& c : bad) {
    try {
      Bar->SetScrollParams(c.Min, c.Max, 0, c.PageSize);
      ADD_FAILURE() << c.Min << ".." << c.Max << " page " << c.PageSize;
    } catch (const EInvalidOperation& e) {
      EXPECT_EQ(e.Message(), "Scrollbar property out of range");
    }
    EXPECT_EQ(Bar->GetMin(), 0);
    EXPECT_EQ(Bar->GetMax(), 50);
    EXPECT_EQ(Bar->GetPageSize(), 10);
    EXPECT_EQ(Bar->GetPosition(), 20);
  }
  EXPECT_THROW(Bar->SetMax(5), EInvalidOperation);  // below the page
  EXPECT_EQ(Changes, 0);

  // Position is clamped to Min..Max, not to Max - PageSize + 1; each change tells once.
  Bar->SetPosition(500);
  EXPECT_EQ(Bar->GetPosition(), 50);
  Bar->SetPosition(-3);
  EXPECT_EQ(Bar->GetPosition(), 0);
  Bar->SetPosition(0);
  EXPECT_EQ(Changes, 2);
}

TEST_F(ScrollBarTest, NoThumbWhenTheRangeIsEmptyOrTheTrackTooShort)
{
  struct Case {
    const char* What;
    int Width, Min, Max, PageSize;
  } cases[] = {
      {"Max = Min with a page", 121, 5, 5, 1},
      {"track shorter than the minimum thumb", 40, 0, 100, 10},  // 6 free pixels
      {"track shorter than the system thumb", 48, 0, 100, 0},    // 14 free pixels
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.What);
    Bar->SetBounds(20, 20, c.Width, 17);
    Bar->SetScrollParams(c.Min, c.Max, c.Min, c.PageSize);
    EXPECT_TRUE(cxGraphics::IsRectEmpty(Thumb()));
    const int mid = c.Width / 2;
    EXPECT_EQ(Bar->GetPartAt(mid, 8), sbpNone);
    EXPECT_EQ(Bar->GetPartAt(2, 8), sbpTopLeftArrow);
    Scrolls.clear();
    Down(mid, 8);
    Up(mid, 8);
    EXPECT_TRUE(Scrolls.empty()) << "a click on the bare track hits nothing";
  }
}

TEST_F(ScrollBarTest, ThumbStaysInTheTrackWhenThePageCoversTheRange)
{
  // Min 1, Max 10, PageSize 10: no room to scroll; the thumb sits at the track's start.
  Bar->SetScrollParams(1, 10, 10, 10);
  EXPECT_EQ(Thumb().left, 17);
  EXPECT_EQ(Thumb().right, 121 - 17);

  // The thumb fills the track: dragging it never leaves Min..Max and keeps the position.
  Bar->SetScrollParams(1, 10, 4, 10);
  EXPECT_EQ(Thumb().left, 17);
  Down(60, 8);
  Move(80, 8);
  Move(30, 8);
  Up(30, 8);
  ASSERT_FALSE(Scrolls.empty());
  for (auto& s : Scrolls) {
    EXPECT_GE(s.second, 1);
    EXPECT_LE(s.second, 10);
  }
  EXPECT_EQ(Bar->GetPosition(), 4);
  EXPECT_EQ(Scrolls.back().first, scEndScroll);
}

TEST_F(ScrollBarTest, PositionReachesMaxWithAPage)
{
  Bar->SetScrollParams(0, 100, 100, 20);
  EXPECT_EQ(Bar->GetPosition(), 100);
  EXPECT_EQ(Thumb().right, 121 - 17) << "the thumb at the track's end";
  // Dragging the thumb to the end reports the last full page, within the range.
  Bar->SetPosition(0);
  POINT c = Centre(sbpThumb);
  Down(c.x, c.y);
  Move(c.x + 120, c.y);
  Up(c.x + 120, c.y);
  EXPECT_EQ(Bar->GetPosition(), 81);
}

TEST_F(ScrollBarTest, AHeldArrowRepeatsAfter400ThenEvery60MillisecondsWhileOverIt)
{
  POINT arrow = Centre(sbpBottomRightArrow);
  Down(arrow.x, arrow.y);
  EXPECT_EQ(Bar->GetPosition(), 1) << "at once";
  EXPECT_EQ(Bar->GetPressedPart(), sbpBottomRightArrow);
  Wait(399);
  EXPECT_EQ(Bar->GetPosition(), 1);
  Wait(1);
  EXPECT_EQ(Bar->GetPosition(), 2) << "after 400 ms";
  Wait(59);
  EXPECT_EQ(Bar->GetPosition(), 2);
  Wait(1);
  EXPECT_EQ(Bar->GetPosition(), 3) << "then every 60 ms";
  Wait(60);
  EXPECT_EQ(Bar->GetPosition(), 4);

  Move(Centre(sbpThumb).x, arrow.y);  // off the arrow: the repeat pauses
  Wait(300);
  EXPECT_EQ(Bar->GetPosition(), 4);
  Move(arrow.x, arrow.y);  // back on: it resumes
  Wait(60);
  EXPECT_EQ(Bar->GetPosition(), 5);

  EXPECT_EQ(Changes, 5) << "arrows report through OnChange";
  Up(arrow.x, arrow.y);
  EXPECT_EQ(Scrolls.back().first, scEndScroll);
  EXPECT_EQ(Bar->GetPressedPart(), sbpNone);
  Wait(500);
  EXPECT_EQ(Bar->GetPosition(), 5) << "the release stops the repeat";

  // A page area repeats by LargeChange until the thumb reaches the pointer.
  Bar->SetLargeChange(10);
  Down(95, 8);
  EXPECT_EQ(Bar->GetPosition(), 15);
  for (int i = 0; i < 20; ++i) Wait(400);
  Up(95, 8);
  EXPECT_EQ(Bar->GetPosition(), 95);
  EXPECT_EQ(Bar->GetPartAt(95, 8), sbpThumb);
}

TEST_F(ScrollBarTest, DraggingTheThumbReportsOnlyThroughOnScroll)
{
  POINT c = Centre(sbpThumb);
  Down(c.x, c.y);
  EXPECT_EQ(Scrolls, (std::vector<std::pair<TScrollCode, int>>{{scTrack, 0}}));
  Move(c.x + 35, c.y + 100);  // 35 pixels of a 70-pixel travel, within the 136 aside
  EXPECT_EQ(Bar->GetPosition(), 50);
  EXPECT_EQ(Thumb().left, 17 + 35);
  EXPECT_EQ(Scrolls.back(), std::make_pair(scTrack, 50));
  Move(c.x + 14, c.y);
  EXPECT_EQ(Bar->GetPosition(), 20);
  Up(c.x + 14, c.y);
  EXPECT_EQ(Changes, 0) << "no OnChange while dragging";
  ASSERT_GE(Scrolls.size(), 2u);
  EXPECT_EQ(Scrolls[Scrolls.size() - 2], std::make_pair(scPosition, 20));
  EXPECT_EQ(Scrolls.back(), std::make_pair(scEndScroll, 20));
  EXPECT_EQ(Bar->GetPosition(), 20);
}

TEST_F(ScrollBarTest, ThumbDraggedFarOffTheBarSnapsBackUnlessUnlimited)
{
  struct Case {
    const char* What;
    int X, Y;  // the pointer, in client coordinates, with the thumb pressed at its centre
    bool Snaps;
  } cases[] = {
      {"34 pixels beyond the end", 120 + 34, 8, false},
      {"35 pixels beyond the end", 120 + 35, 8, true},
      {"34 pixels before the start", -34, 8, false},
      {"35 pixels before the start", -35, 8, true},
      {"136 pixels below", 60, 16 + 136, false},
      {"137 pixels below", 60, 16 + 137, true},
      {"137 pixels above", 60, -137, true},
  };
  for (bool unlimited : {false, true})
    for (const Case& c : cases) {
      SCOPED_TRACE(std::string(c.What) + (unlimited ? ", unlimited" : ""));
      Bar->SetUnlimitedTracking(unlimited);
      Bar->SetPosition(30);
      POINT t = Centre(sbpThumb);
      Down(t.x, t.y);
      Move(t.x + 10, t.y);  // first a step within the bar
      EXPECT_NE(Bar->GetPosition(), 30);
      const int dragged = Bar->GetPosition();
      Move(c.X, c.Y);
      if (c.Snaps && !unlimited) {
        EXPECT_EQ(Bar->GetPosition(), 30);
        EXPECT_EQ(Thumb().left, 17 + 21);
      } else {
        EXPECT_NE(Bar->GetPosition(), dragged) << "the thumb followed the pointer along the bar";
      }
      Up(c.X, c.Y);
    }
}

TEST_F(ScrollBarTest, ScrollMessagesAndTheHandlerSteerThePosition)
{
  struct Case {
    TScrollCode Code;
    int Expected;
  } cases[] = {{scLineDown, 41}, {scLineUp, 39},  {scPageDown, 45}, {scPageUp, 35},
               {scTop, 0},       {scBottom, 100}, {scPosition, 40}, {scEndScroll, 40}};
  Bar->SetLargeChange(5);
  for (const Case& c : cases) {
    Bar->SetPosition(40);
    Bar->Perform(CN_HSCROLL, c.Code, 0);
    EXPECT_EQ(Bar->GetPosition(), c.Expected) << int(c.Code);
  }
  // The handler may move the position; the result is clamped again.
  Bar->OnScroll = [](TObject*, TScrollCode, int& Pos) { Pos = 1000; };
  Bar->Perform(CN_HSCROLL, scLineDown, 0);
  EXPECT_EQ(Bar->GetPosition(), 100);
}

TEST_F(ScrollBarTest, DisablingCancelsTrackingAndHidesTheThumb)
{
  POINT t = Centre(sbpThumb);
  Down(t.x, t.y);
  Move(t.x + 20, t.y);
  Bar->SetEnabled(false);
  EXPECT_EQ(Bar->GetPressedPart(), sbpNone);
  EXPECT_EQ(Scrolls.back().first, scEndScroll);
  EXPECT_TRUE(cxGraphics::IsRectEmpty(Thumb()));
  Bar->SetEnabled(true);
  EXPECT_FALSE(cxGraphics::IsRectEmpty(Thumb()));
}

// ---- Pictures

// Copies the bar's window pixels into the page at (X, Y).
void Grab(TcxScrollBar* Bar, TPaintFixture& Page, int X, int Y)
{
  for (int y = 0; y < Bar->GetHeight(); ++y)
    for (int x = 0; x < Bar->GetWidth(); ++x)
      Windows::SetPixel(Page.DC, X + x, Y + y, Headless::ClientPixel(Bar->GetHandle(), x, y));
}

TEST_F(ScrollBarTest, PaintsItsStatesInEveryLook)
{
  const std::pair<const char*, std::function<void(TcxLookAndFeel*)>> looks[] = {
      {"standard", [](TcxLookAndFeel* l) { l->SetKind(lfStandard); }},
      {"flat", [](TcxLookAndFeel* l) { l->SetKind(lfFlat); }},
      {"ultra-flat", [](TcxLookAndFeel* l) { l->SetKind(lfUltraFlat); }},
      {"themed fall-back", [](TcxLookAndFeel* l) { l->SetNativeStyle(true); }},
  };
  constexpr int Cols = 6, CellW = 130, CellH = 150;
  TPaintFixture page(Cols * CellW, int(std::size(looks)) * CellH, Graphics::ColorToRGB(clWindow));
  Bar->SetBounds(20, 20, 121, 17);
  for (size_t l = 0; l < std::size(looks); ++l) {
    looks[l].second(Bar->GetLookAndFeel());
    const int top = int(l) * CellH + 4;
    auto shot = [&](int Col, int Row) {
      Bar->Repaint();
      Pump();
      Grab(Bar, page, Col * CellW + 4, top + Row * 22);
    };
    // Normal, hot arrow, pressed arrow, pressed page, dragged thumb, disabled, no thumb.
    Bar->SetScrollParams(0, 100, 30, 20);
    Move(200, 200);
    shot(0, 0);
    Move(Centre(sbpTopLeftArrow).x, 8);
    shot(1, 0);
    Down(Centre(sbpTopLeftArrow).x, 8);
    shot(2, 0);
    Up(Centre(sbpTopLeftArrow).x, 8);
    Down(115 - 17, 8);
    shot(3, 0);
    Up(115 - 17, 8);
    Bar->SetPosition(30);
    Down(Centre(sbpThumb).x, 8);
    Move(Centre(sbpThumb).x + 10, 8);
    shot(4, 0);
    Up(Centre(sbpThumb).x, 8);
    Bar->SetEnabled(false);
    shot(5, 0);
    Bar->SetEnabled(true);
    Bar->SetScrollParams(5, 5, 5, 1);
    shot(0, 1);
    // Vertical, beside the row.
    Bar->SetScrollParams(0, 100, 60, 0);
    Bar->SetKind(sbVertical);
    Move(8, Centre(sbpThumb).y);
    shot(1, 1);
    Bar->SetKind(sbHorizontal);
    Bar->SetBounds(20, 20, 121, 17);
    // Every state left ink that differs from the page.
    for (int col = 0; col < Cols; ++col) {
      RECT cell{col * CellW + 4, top, col * CellW + 4 + 121, top + 17};
      EXPECT_FALSE(cxGraphics::IsRectEmpty(page.Ink(cell, Graphics::ColorToRGB(clWindow)))) << looks[l].first << col;
    }
    Bar->GetLookAndFeel()->SetNativeStyle(false);
  }
  auto png = PngFile::SavePng(page.Bmp);
  ASSERT_FALSE(png.empty());
  std::ofstream(std::string(PELTO_TEST_OUTPUT) + "/cx-scroll-bar.png", std::ios::binary)
      .write(reinterpret_cast<const char*>(png.data()), std::streamsize(png.size()));
}

}  // namespace
