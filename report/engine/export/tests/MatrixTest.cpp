// The export matrix: edges, kinds of view, fragments, fill inheritance, row splitting and stacked
// pages, each on a few views placed by hand.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "platform/gdi/dc/DeviceContext.h"
#include "platform/rtl/StringUtils.h"
#include "report/engine/ReportEngineModule.h"
#include "report/engine/export/frxExportBitmap.h"
#include "report/engine/export/frxExportMatrix.h"
#include "report/engine/objects/frxMemoView.h"
#include "report/engine/objects/frxView.h"

namespace {

class MatrixTest : public testing::Test {
protected:
  static void SetUpTestSuite() { ReportEngineModule::Initialize(); }

  TfrxMemoView* Memo(Extended L, Extended T, Extended W, Extended H, const AnsiString& Text = "x")
  {
    auto v = std::make_unique<TfrxMemoView>(nullptr);
    v->SetBounds(L, T, W, H);
    v->SetText(Text);
    Views.push_back(std::move(v));
    return static_cast<TfrxMemoView*>(Views.back().get());
  }
  template <class V>
  V* View(Extended L, Extended T, Extended W, Extended H)
  {
    auto v = std::make_unique<V>(nullptr);
    v->SetBounds(L, T, W, H);
    Views.push_back(std::move(v));
    return static_cast<V*>(Views.back().get());
  }
  // The placements whose cells show them, as "x,y,dx,dy:text".
  std::vector<std::string> Shown()
  {
    std::vector<std::string> out;
    std::vector<bool> seen(static_cast<size_t>(M.GetObjectsCount()), false);
    for (Integer y = 0; y < M.GetHeight(); ++y)
      for (Integer x = 0; x < M.GetWidth(); ++x) {
        Integer i = M.GetCell(x, y);
        if (i < 0 || seen[static_cast<size_t>(i)]) continue;
        seen[static_cast<size_t>(i)] = true;
        Integer px, py, dx, dy;
        M.GetObjectPos(i, px, py, dx, dy);
        out.push_back(std::to_string(px) + "," + std::to_string(py) + "," + std::to_string(dx) + "," +
                      std::to_string(dy) + ":" + SysUtils::Trim(M.GetObjectById(i)->Memo->GetText()));
      }
    return out;
  }

  std::vector<std::unique_ptr<TfrxView>> Views;
  TfrxIEMatrix M;
};

TEST_F(MatrixTest, EdgesCloserThanInaccuracyAreShared)
{
  struct TCase {
    Extended Inaccuracy;
    Integer Columns;
  } cases[] = {{0, 6}, {0.5, 4}, {10, 2}};
  for (const TCase& c : cases) {
    TfrxIEMatrix m;
    m.Inaccuracy = c.Inaccuracy;
    TfrxMemoView* a = Memo(10, 0, 100, 20);
    TfrxMemoView* b = Memo(10.3, 20, 100, 20);
    m.AddObject(a);
    m.AddObject(b);
    m.AddObject(Memo(15, 40, 100, 20));
    m.Prepare();
    // Edges 10, 10.3, 15, 110, 110.3, 115: a walk keeps the later of two close edges.
    EXPECT_EQ(m.GetWidth(), c.Columns) << "inaccuracy " << double(c.Inaccuracy);
  }
}

TEST_F(MatrixTest, RectanglesBecomeLinesOrOneFramedCell)
{
  auto* open = View<TfrxShapeView>(0, 0, 100, 50);
  open->GetFrame()->Width = 2;
  M.Inaccuracy = 0.5;
  M.AddObject(open);
  ASSERT_EQ(M.GetObjectsCount(), 4);
  // Top, left, bottom, right edges: thin lines with one side each.
  const TfrxFrameTypes sides[] = {{ftTop}, {ftLeft}, {ftTop}, {ftLeft}};
  const Extended widths[] = {100, 1, 100, 1}, heights[] = {1, 50, 1, 50};
  for (Integer i = 0; i < 4; ++i) {
    TfrxIEMObject* o = M.GetObjectById(i);
    EXPECT_TRUE(o->Style->FrameTyp == sides[i]) << i;
    EXPECT_EQ(o->Width, widths[i]) << i;
    EXPECT_EQ(o->Height, heights[i]) << i;
    EXPECT_EQ(o->Style->FrameWidth, 2);
  }
  auto* filled = View<TfrxShapeView>(0, 100, 80, 40);
  filled->Color = 0x00FF00;
  M.AddObject(filled);
  ASSERT_EQ(M.GetObjectsCount(), 5);
  TfrxIEMObject* cell = M.GetObjectById(4);
  EXPECT_TRUE(cell->IsText);
  EXPECT_EQ(cell->Memo->GetCount(), 0);
  EXPECT_EQ(cell->Style->FrameTyp.Mask(), 15u);
  EXPECT_EQ(cell->Style->Color, TColor(0x00FF00));
  EXPECT_EQ(cell->Style->Font->GetSize(), 1);
}

TEST_F(MatrixTest, ALineWithNoWidthTakesTheInaccuracyOrOnePixel)
{
  for (Extended inaccuracy : {Extended(0.5), Extended(10)}) {
    TfrxIEMatrix m;
    m.Inaccuracy = inaccuracy;
    m.AddObject(View<TfrxLineView>(5, 5, 0, 100));
    m.AddObject(View<TfrxLineView>(5, 5, 100, 0));
    EXPECT_EQ(m.GetObjectById(0)->Width, inaccuracy >= 1 ? inaccuracy : 1);
    EXPECT_TRUE(m.GetObjectById(0)->Style->FrameTyp == TfrxFrameTypes{ftLeft});
    EXPECT_TRUE(m.GetObjectById(1)->Style->FrameTyp == TfrxFrameTypes{ftTop});
  }
}

TEST_F(MatrixTest, AnOverlappedMemoIsCutIntoFragmentsKeepingItsOwnFrameSides)
{
  TfrxMemoView* whole = Memo(0, 0, 300, 90, "whole");
  whole->GetFrame()->Typ = TfrxFrameTypes{ftLeft, ftRight, ftTop, ftBottom};
  M.AddObject(whole);
  M.AddObject(Memo(100, 30, 100, 30, "middle"));
  M.Prepare();
  // Columns 0,100,200,300; rows 0,30,60,90. The middle memo takes (1,1); row by row the whole
  // one is cut into the top row (which takes the text: it starts in the object's first third),
  // the left and right columns below it and the cell under the middle memo.
  EXPECT_EQ(Shown(), (std::vector<std::string>{"0,0,3,1:whole", "0,1,1,2:", "1,1,1,1:middle", "2,1,1,2:", "1,2,1,1:"}));
  auto sidesAt = [&](Integer x, Integer y) { return M.GetObject(x, y)->Style->FrameTyp; };
  EXPECT_TRUE(sidesAt(0, 0) == (TfrxFrameTypes{ftLeft, ftRight, ftTop}));
  EXPECT_TRUE(sidesAt(0, 1) == (TfrxFrameTypes{ftLeft, ftBottom}));
  EXPECT_TRUE(sidesAt(2, 1) == (TfrxFrameTypes{ftRight, ftBottom}));
  EXPECT_TRUE(sidesAt(1, 2) == TfrxFrameTypes{ftBottom});
  EXPECT_EQ(M.GetObject(0, 1)->Parent, M.GetObjectById(0));
}

TEST_F(MatrixTest, ATransparentMemoOnAFilledOneTakesItsFill)
{
  struct TCase {
    TColor FontColor;
    TColor Expected;
  } cases[] = {{clBlack, 0x0000FF}, {0x0000FF, static_cast<TColor>(0x1FFFFFFF)}};
  for (const TCase& c : cases) {
    TfrxIEMatrix m;
    TfrxMemoView* under = Memo(0, 0, 200, 100);
    under->Color = 0x0000FF;
    TfrxMemoView* over = Memo(0, 0, 100, 50);
    over->GetFont()->SetColor(c.FontColor);
    m.AddObject(under);
    m.AddObject(over);
    m.Prepare();
    EXPECT_EQ(m.GetObject(0, 0)->Style->Color, c.Expected);
  }
}

TEST_F(MatrixTest, RowsTallerThanMaxCellHeightAreSplit)
{
  M.MaxCellHeight = 535.79;
  M.AddObject(Memo(0, 0, 100, 1200));
  M.Prepare();
  ASSERT_EQ(M.GetHeight(), 4);
  EXPECT_NEAR(double(M.GetYPos(1)), 535.79, 1e-9);
  EXPECT_NEAR(double(M.GetYPos(2)), 1071.58, 1e-9);
  Integer x, y, dx, dy;
  M.GetObjectPos(0, x, y, dx, dy);
  EXPECT_EQ(dy, 3);
}

TEST_F(MatrixTest, PagesAreStacked)
{
  M.AddObject(Memo(0, 20, 100, 500));
  M.AddPage(poPortrait, 794, 1123, 10, 10, 10, 10);
  M.AddObject(Memo(0, 40, 100, 20));
  M.AddPage(poLandscape, 1123, 794, 5, 5, 5, 5);
  EXPECT_EQ(M.GetObjectById(1)->Top, 560);
  ASSERT_EQ(M.PagesCount(), 2);
  EXPECT_EQ(M.GetPage(0).PageEnd, 520);
  EXPECT_EQ(M.GetPage(1).PageEnd, 580);
  EXPECT_EQ(M.GetPage(1).Orientation, poLandscape);
  EXPECT_EQ(M.GetPage(2).Width, 0);
}

TEST_F(MatrixTest, PicturesAreDrawnWithAOnePixelBorder)
{
  auto* shape = View<TfrxShapeView>(10, 10, 20, 10);
  shape->Shape = skEllipse;
  shape->Color = 0x0000FF;
  M.AddObject(shape);
  TfrxIEMObject* o = M.GetObjectById(0);
  EXPECT_FALSE(o->IsText);
  ASSERT_TRUE(o->Image);
  EXPECT_EQ(o->Image->GetWidth(), 22);
  EXPECT_EQ(o->Image->GetHeight(), 12);
  EXPECT_EQ(o->Width, 21);
  // The ellipse's fill reaches the middle.
  EXPECT_EQ(Windows::GetPixel(o->Image->GetDC(), 11, 6), COLORREF(0x0000FF));
}

}  // namespace
