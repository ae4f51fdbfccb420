// The editors' pop-up window on a headless desktop: its size and place beside the editor, the
// grip corner, resizing by the grip with the outline, and the close button of the system panel.
#include <gtest/gtest.h>

#include "controls/editors/tests/EditorWindowTest.h"
#include "controls/editors/dropdown/cxEditPopupWindow.h"
#include "controls/editors/edit/cxEditViewInfo.h"
#include "controls/editors/listbox/cxListBox.h"
#include "controls/editors/tests/EditTestEditors.h"
#include "platform/forms/forms/Form.h"
#include "platform/testsupport/PixelCanvas.h"
#include "platform/testsupport/ScreenPicture.h"
#include "platform/win/window/Windows.h"

namespace {

struct EditPopupWindowTest : cxEditorWindowTest {
  TcxTestButtonEdit* Edit = nullptr;
  TcxCustomEditPopupWindow* Popup = nullptr;
  TcxListBox* List = nullptr;
  void SetUp() override
  {
    cxEditorWindowTest::SetUp();
    Edit = new TcxTestButtonEdit(Form);
    Edit->SetParent(Form);
    Edit->SetAutoSize(false);
    Edit->SetBounds(40, 30, 150, 21);
    Pump();
    Popup = new TcxCustomEditPopupWindow(Edit);
    Popup->SetTakeFocus(false);
    Popup->SetModalMode(false);
    List = new TcxListBox(Popup);
    List->SetParent(Popup);
    List->SetBounds(0, 0, 180, 120);
    for (const char* s : {"甲方", "乙方", "丙方"}) List->GetItems()->Add(s);
    Popup->Content = List;
  }
  void TearDown() override
  {
    Popup->ClosePopup(false);
    delete Popup;
    cxEditorWindowTest::TearDown();
  }
  // The editor's rectangle the pop-up is placed against, on the screen.
  RECT EditScreen()
  {
    RECT r;
    cxEditUtils::GetPopupOwnerRect(*Edit->GetEditViewInfo(), r);
    POINT tl = Edit->ClientToScreen(POINT{r.left, r.top});
    return RECT{tl.x, tl.y, tl.x + (r.right - r.left), tl.y + (r.bottom - r.top)};
  }
  void Open()
  {
    Popup->Popup(nullptr);
    Popup->RecalculateLayout();
    Pump();
  }
  POINT Centre(const RECT& R) { return POINT{(R.left + R.right) / 2, (R.top + R.bottom) / 2}; }
};

}  // namespace

TEST_F(EditPopupWindowTest, AutoSizeFitsTheContentAndAStoredSizeFallsBackToTheEditor)
{
  Popup->SetPopupBorderStyle(epbsSingle);
  Open();
  const RECT e = Popup->GetPopupViewInfo()->GetBorderExtents();
  EXPECT_EQ(Popup->GetWidth(), 180 + e.left + e.right);
  EXPECT_EQ(Popup->GetHeight(), 120 + e.top + e.bottom);
  const RECT c = Popup->GetPopupViewInfo()->ClientRect;
  EXPECT_EQ(List->GetBoundsRect().left, c.left);
  EXPECT_EQ(List->GetWidth(), 180);
  Popup->ClosePopup(false);

  // Not auto-sized: width 0 takes the editor's; a sizeable pop-up keeps its minimum.
  Popup->SetPopupAutoSize(false);
  Popup->SetPopupHeight(90);
  Open();
  EXPECT_EQ(Popup->GetWidth(), 150);
  EXPECT_EQ(Popup->GetHeight(), 90);
  Popup->ClosePopup(false);
  Popup->SetSizeable(true);
  Popup->SetSysPanelStyle(true);
  Popup->SetMinWidth(260);
  Open();
  EXPECT_EQ(Popup->GetWidth(), 260);
  EXPECT_GE(Popup->GetMinSize().cx, Popup->GetPopupViewInfo()->GetBorderExtents().left + 10);
}

TEST_F(EditPopupWindowTest, OpensBelowTheEditorOrAboveItWithTheGripAwayFromIt)
{
  Popup->SetSizeable(true);
  Popup->SetSysPanelStyle(true);
  Open();
  const RECT ed = EditScreen();
  EXPECT_EQ(Popup->GetTop(), ed.bottom);
  EXPECT_EQ(Popup->GetLeft(), ed.left);
  EXPECT_EQ(Popup->GetPopupViewInfo()->Info.SizeGripCorner, 3);
  Popup->ClosePopup(false);
  // Near the bottom of the screen it opens above, grip at the top; a shadow moves it down 3.
  Form->SetBounds(100, 560, 500, 200);
  Popup->SetShadow(true);
  Pump();
  Open();
  const RECT ed2 = EditScreen();
  EXPECT_EQ(Popup->GetTop() + Popup->GetHeight(), ed2.top + 3);
  EXPECT_EQ(Popup->GetPopupViewInfo()->Info.SizeGripCorner, 1);
  Popup->ClosePopup(false);
  // Right-aligned: its right edge at the editor's, grip on the left.
  Form->SetBounds(100, 100, 500, 300);
  Popup->SetShadow(false);
  Popup->SetAlignHorz(2);
  Pump();
  Open();
  EXPECT_EQ(Popup->GetLeft() + Popup->GetWidth(), EditScreen().right);
  EXPECT_EQ(Popup->GetPopupViewInfo()->Info.SizeGripCorner, 2);
}

TEST_F(EditPopupWindowTest, DraggingTheGripShowsTheOutlineAndResizesOnRelease)
{
  Popup->SetSizeable(true);
  Popup->SetSysPanelStyle(true);
  int resized = 0;
  Popup->OnUserResized = [&resized](TObject*) { ++resized; };
  Open();
  const int w = Popup->GetWidth(), h = Popup->GetHeight();
  const POINT grip = Centre(Popup->GetPopupViewInfo()->Info.SizeGripSizingRect);
  Press(Popup, grip.x, grip.y);
  ASSERT_TRUE(Popup->IsSizing());
  MoveTo(Popup, grip.x + 40, grip.y + 30);
  EXPECT_TRUE(Popup->IsOutlineShown());
  const RECT outline = Popup->GetOutlineRect();
  EXPECT_EQ(outline.right - outline.left, w + 40);
  EXPECT_EQ(outline.bottom - outline.top, h + 30);
  EXPECT_EQ(Popup->GetWidth(), w);  // the window waits for the release
  {
    TPixelCanvas pic(outline.right - outline.left, outline.bottom - outline.top);
    CaptureScreenRect(outline, pic);
    WritePng(pic, std::string(PELTO_TEST_OUTPUT) + "/cx-popup-sizing-outline.png");
    EXPECT_EQ(pic.At(1, 0) == kBlack || pic.At(0, 0) == kBlack, true);
  }
  Release(Popup, grip.x + 40, grip.y + 30);
  EXPECT_FALSE(Popup->IsOutlineShown());
  EXPECT_EQ(Popup->GetWidth(), w + 40);
  EXPECT_EQ(Popup->GetHeight(), h + 30);
  EXPECT_EQ(resized, 1);
  EXPECT_EQ(List->GetWidth(), Popup->GetPopupViewInfo()->ClientRect.right - Popup->GetPopupViewInfo()->ClientRect.left);
  // Shrinking stops at the minimum size.
  const POINT grip2 = Centre(Popup->GetPopupViewInfo()->Info.SizeGripSizingRect);
  Press(Popup, grip2.x, grip2.y);
  MoveTo(Popup, grip2.x - 900, grip2.y - 900);
  Release(Popup, grip2.x - 900, grip2.y - 900);
  EXPECT_EQ(Popup->GetWidth(), Popup->GetMinSize().cx);
  EXPECT_EQ(Popup->GetHeight(), Popup->GetMinSize().cy);
  EXPECT_EQ(resized, 2);
}

TEST_F(EditPopupWindowTest, ClosingEndsASizingDragAndNonSizeablePopupsHaveNoGrip)
{
  Popup->SetSizeable(true);
  Popup->SetSysPanelStyle(true);
  Open();
  const POINT grip = Centre(Popup->GetPopupViewInfo()->Info.SizeGripSizingRect);
  Press(Popup, grip.x, grip.y);
  MoveTo(Popup, grip.x + 10, grip.y + 10);
  ASSERT_TRUE(Popup->IsOutlineShown());
  Popup->ClosePopup(false);
  EXPECT_FALSE(Popup->IsSizing());
  EXPECT_FALSE(Popup->IsOutlineShown());
  Popup->SetSizeable(false);
  Open();
  int dx = 7, dy = 7;
  Popup->GetPopupViewInfo()->GetSizingDirection(POINT{Popup->GetWidth() - 2, Popup->GetHeight() - 2}, dx, dy);
  EXPECT_EQ(dx, 0);
  EXPECT_EQ(dy, 0);
}

TEST_F(EditPopupWindowTest, TheCloseButtonClosesOnlyWhenReleasedOverIt)
{
  Popup->SetSysPanelStyle(true);
  int closes = 0;
  Popup->OnCloseButtonClick = [&](TObject*) {
    ++closes;
    Popup->ClosePopup(false);
  };
  Open();
  const RECT b = Popup->GetPopupViewInfo()->Info.CloseButtonRect;
  ASSERT_GT(b.right, b.left);
  const POINT c = Centre(b);
  MoveTo(Popup, c.x, c.y);
  EXPECT_EQ(Popup->GetCloseButtonState(), int(cxbsHot));
  Press(Popup, c.x, c.y);
  EXPECT_EQ(Popup->GetCloseButtonState(), int(cxbsPressed));
  MoveTo(Popup, c.x, c.y + 60);
  EXPECT_EQ(Popup->GetCloseButtonState(), int(cxbsNormal));
  Release(Popup, c.x, c.y + 60);
  EXPECT_TRUE(Popup->IsShown());
  EXPECT_EQ(closes, 0);
  // A refusing close query keeps it open.
  Popup->OnCloseQuery = [](TObject*, bool& CanClose) { CanClose = false; };
  Click(Popup, c.x, c.y);
  EXPECT_TRUE(Popup->IsShown());
  Popup->OnCloseQuery = nullptr;
  Click(Popup, c.x, c.y);
  EXPECT_EQ(closes, 1);
  EXPECT_FALSE(Popup->IsShown());
}
