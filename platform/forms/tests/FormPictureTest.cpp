// Pictures of forms as the headless screen shows them, written as PNG files into the build
// folder: the border styles active and inactive, an MDI frame with children, a hint, a drag
// image. The checks look at what matters at a few points.
#include <fstream>

#include "platform/forms/controls/Controls.h"
#include "platform/forms/controls/DragObject.h"
#include "platform/forms/controls/ImgList.h"
#include "platform/forms/forms/HintWindow.h"
#include "platform/forms/graphics/Bitmap.h"
#include "platform/forms/graphics/Brush.h"
#include "platform/forms/graphics/Canvas.h"
#include "platform/forms/graphics/Font.h"
#include "platform/forms/tests/ControlsTestUtil.h"
#include "platform/gdi/dc/DeviceContext.h"
#include "platform/gdi/dc/GdiObjects.h"
#include "platform/gdi/draw/Blits.h"
#include "platform/gdi/image/PictureFiles.h"
#include "platform/testsupport/PixelCanvas.h"
#include "platform/win/backend/Headless.h"
#include "platform/win/input/Focus.h"
#include "platform/win/input/InputQueue.h"
#include "platform/win/window/Windows.h"

namespace {
// Text drawn in the form's font, so that the pictures show Chinese text on each form.
class TTextLabel : public TGraphicControl {
public:
  using TGraphicControl::TGraphicControl;

protected:
  void Paint() override
  {
    GetCanvas()->GetFont()->Assign(GetFont());
    GetCanvas()->GetBrush()->SetColor(GetColor());
    GetCanvas()->FillRect(RECT{0, 0, GetWidth(), GetHeight()});
    GetCanvas()->TextOut(0, 0, GetCaption());
  }
};

RECT WindowRect(TWinControl* c)
{
  RECT r;
  Windows::GetWindowRect(c->GetHandle(), &r);
  return r;
}

TTextLabel* AddLabel(TComponent* owner, TWinControl* parent, const char* text, int x, int y)
{
  auto* label = new TTextLabel(owner);
  label->SetParent(parent);
  label->SetBounds(x, y, 160, 16);
  label->SetCaption(text);
  return label;
}
}  // namespace

TEST_F(FormsTest, PicturesOfTheBorderStylesActiveAndInactive)
{
  const TFormBorderStyle styles[] = {bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin};
  const char* names[] = {"bsNone", "bsSingle", "bsSizeable", "bsDialog", "bsToolWindow", "bsSizeToolWin"};
  constexpr int cellW = 250, cellH = 170;
  TPixelCanvas picture(cellW * 6, cellH * 2, RGB(255, 255, 255));
  for (int i = 0; i < 6; ++i) {
    SCOPED_TRACE(names[i]);
    TForm* form = MakeForm();
    form->SetBorderStyle(styles[i]);
    form->SetBounds(100, 100, 230, 150);
    form->SetCaption(AnsiString("合同 ") + names[i]);
    form->GetFont()->SetName("宋体");
    form->GetFont()->SetSize(9);
    AddLabel(Owner.get(), form, "合同编号: HT-2009-001", 8, 8);
    auto* ok = new TTestButton(Owner.get());
    ok->SetParent(form);
    ok->SetBounds(8, 40, 75, 25);
    form->Show();
    form->Update();
    RECT r = WindowRect(form);
    CopyScreen(picture, r, i * cellW + 10, 10);
    COLORREF activeTop = Headless::ScreenPixel(r.left + 40, r.top + 5);

    TForm* other = MakeForm(100, 60);
    other->SetBounds(600, 500, 100, 60);
    other->Show();  // takes the activation
    form->Update();
    EXPECT_FALSE(form->GetActive());
    CopyScreen(picture, r, i * cellW + 10, cellH + 10);
    COLORREF inactiveTop = Headless::ScreenPixel(r.left + 40, r.top + 5);
    if (styles[i] == bsNone) {
      EXPECT_EQ(activeTop, Graphics::ColorToRGB(clBtnFace));  // no caption at all
      EXPECT_EQ(inactiveTop, activeTop);
    } else {
      EXPECT_NE(activeTop, inactiveTop);  // the caption shows the activation
    }
    delete other;
    delete form;
  }
  SavePng(picture.Bmp, "forms_border_styles.png");
}

TEST_F(FormsTest, PictureOfAnMdiFrameWithChildren)
{
  TForm* frame = MakeForm(640, 420);
  frame->SetFormStyle(fsMDIForm);
  frame->SetCaption("澜岳合同管理系统");
  frame->Show();
  for (const char* title : {"合同管理", "客户管理", "收付款"}) {
    auto* child = new TForm(Owner.get());
    child->SetCaption(title);
    child->SetBounds(0, 0, 260, 160);
    child->SetColor(clWindow);
    AddLabel(Owner.get(), child, title, 10, 10)->SetColor(clWindow);
    child->SetFormStyle(fsMDIChild);
  }
  frame->Cascade();
  frame->Update();
  RECT r = WindowRect(frame);
  TPixelCanvas picture(r.right - r.left, r.bottom - r.top);
  CopyScreen(picture, r, 0, 0);
  SavePng(picture.Bmp, "forms_mdi_frame.png");
  EXPECT_EQ(frame->GetMDIChildCount(), 3);
  // The active child (the last) is on top of the others.
  TCustomForm* active = frame->GetActiveMDIChild();
  ASSERT_NE(active, nullptr);
  EXPECT_EQ(active->GetCaption(), "收付款");
}

TEST_F(FormsTest, PictureOfAHint)
{
  TForm* form = MakeForm(300, 160);
  form->SetCaption("提示");
  AddLabel(Owner.get(), form, "合同编号", 20, 20);
  form->Show();
  form->Update();
  auto* hint = new THintWindow(Owner.get());
  RECT need = hint->CalcHintRect(200, "合同编号: 由系统自动生成", nullptr);
  EXPECT_GT(need.right, 60);
  EXPECT_GT(need.bottom, 10);
  POINT at = form->ClientToScreen(POINT{20, 40});
  need = RECT{at.x, at.y, at.x + need.right, at.y + need.bottom};
  hint->ActivateHint(need, "合同编号: 由系统自动生成");
  RECT r = WindowRect(hint);
  EXPECT_EQ(r.right - r.left, need.right - need.left);
  EXPECT_EQ(Headless::ScreenPixel(r.right - 3, r.bottom - 3), Graphics::ColorToRGB(clInfoBk));
  EXPECT_EQ(Headless::ScreenPixel(r.left, r.top), RGB(0, 0, 0));  // the border
  RECT shot = WindowRect(form);
  TPixelCanvas picture(shot.right - shot.left, shot.bottom - shot.top);
  CopyScreen(picture, shot, 0, 0);
  SavePng(picture.Bmp, "forms_hint.png");

  // Near the screen's right edge the hint moves left to stay whole.
  RECT edge{1000, 100, 1000 + (need.right - need.left), 100 + (need.bottom - need.top)};
  hint->ActivateHint(edge, "合同编号");
  EXPECT_LE(WindowRect(hint).right, 1024);
  hint->ReleaseHandle();
  EXPECT_FALSE(Windows::IsWindowVisible(hint->GetHandle()));
}

namespace {
class TDragSource : public TCustomControl {
public:
  explicit TDragSource(TComponent* AOwner) : TCustomControl(AOwner), FImages(32, 32)
  {
    TBitmap image;
    image.SetSize(32, 32);
    image.GetCanvas()->GetBrush()->SetColor(clRed);
    image.GetCanvas()->FillRect(RECT{0, 0, 32, 32});
    image.GetCanvas()->GetBrush()->SetColor(clWhite);
    image.GetCanvas()->FillRect(RECT{8, 8, 24, 24});
    FImages.Add(&image, nullptr);
    FImages.SetDragImage(0, 16, 16);
  }
  TDragImageList* GetDragImages() override { return &FImages; }

private:
  TDragImageList FImages;
};
}  // namespace

TEST_F(FormsTest, PictureOfADragImage)
{
  TForm* form = MakeForm(400, 240);
  auto* source = new TDragSource(Owner.get());
  source->SetParent(form);
  source->SetBounds(10, 10, 60, 40);
  form->Show();
  form->Update();
  POINT start = source->ClientToScreen(POINT{20, 20});
  InputQueue::MouseMove(start.x, start.y);
  Pump();
  source->BeginDrag(true);
  POINT to = form->ClientToScreen(POINT{200, 120});
  InputQueue::MouseMove(to.x, to.y);
  Pump();
  EXPECT_TRUE(DragManager::Dragging());
  // The image's hot spot is under the mouse: red around a white middle.
  EXPECT_EQ(Headless::ScreenPixel(to.x - 14, to.y - 14), RGB(255, 0, 0));
  EXPECT_EQ(Headless::ScreenPixel(to.x, to.y), RGB(255, 255, 255));
  RECT r = WindowRect(form);
  TPixelCanvas picture(r.right - r.left, r.bottom - r.top);
  CopyScreen(picture, r, 0, 0);
  SavePng(picture.Bmp, "forms_drag_image.png");
  source->EndDrag(false);
  Pump();
  form->Update();
  EXPECT_NE(Headless::ScreenPixel(to.x - 14, to.y - 14), RGB(255, 0, 0));  // gone with the drag
}
