#include "platform/stdctrls/panels/Image.h"

#include "platform/forms/graphics/Brush.h"
#include "platform/forms/graphics/Canvas.h"
#include "platform/forms/graphics/Graphic.h"
#include "platform/forms/graphics/Picture.h"
#include "platform/forms/graphics/Pen.h"

TImage::TImage(TComponent* AOwner) : TGraphicControl(AOwner), FPicture(std::make_unique<TPicture>())
{
  ControlStyle = ControlStyle + TControlStyle{csReplicatable};
  SetBounds(0, 0, 105, 105);
  FPicture->OnChange = [this](TObject*) { PictureChanged(); };
}

TImage::~TImage() { FPicture->OnChange = nullptr; }

void TImage::SetPicture(TPicture* Value) { FPicture->Assign(Value); }

void TImage::SetCenter(bool Value)
{
  if (Value == FCenter) return;
  FCenter = Value;
  Invalidate();
}

void TImage::SetStretch(bool Value)
{
  if (Value == FStretch) return;
  FStretch = Value;
  Invalidate();
}

void TImage::SetProportional(bool Value)
{
  if (Value == FProportional) return;
  FProportional = Value;
  Invalidate();
}

void TImage::SetTransparent(bool Value)
{
  if (Value == FTransparent) return;
  FTransparent = Value;
  if (TGraphic* g = FPicture->GetGraphic()) g->SetTransparent(Value);
  PictureChanged();
}

bool TImage::CanAutoSize(int& NewWidth, int& NewHeight)
{
  if (FPicture->GetWidth() <= 0 || FPicture->GetHeight() <= 0) return false;
  NewWidth = FPicture->GetWidth();
  NewHeight = FPicture->GetHeight();
  return true;
}

void TImage::PictureChanged()
{
  TGraphic* g = FPicture->GetGraphic();
  if (g && FTransparent != g->GetTransparent()) g->SetTransparent(FTransparent);
  if (GetAutoSize()) AdjustSize();
  // An opaque picture covering the control needs no erasing behind it.
  bool covers = g && !g->GetEmpty() && !g->GetTransparent() &&
                (FStretch || (g->GetWidth() >= GetWidth() && g->GetHeight() >= GetHeight()));
  if (covers)
    ControlStyle = ControlStyle + TControlStyle{csOpaque};
  else
    ControlStyle = ControlStyle - TControlStyle{csOpaque};
  Invalidate();
}

RECT TImage::DestRect()
{
  int cw = GetWidth(), ch = GetHeight();
  int w = FPicture->GetWidth(), h = FPicture->GetHeight();
  if (w <= 0 || h <= 0) return RECT{0, 0, 0, 0};
  if (FStretch || (FProportional && (w > cw || h > ch))) {
    if (FProportional) {
      // The whole picture, as large as fits, its sides in their ratio.
      if (long(cw) * h <= long(ch) * w) {
        h = int(long(h) * cw / w);
        w = cw;
      } else {
        w = int(long(w) * ch / h);
        h = ch;
      }
    } else {
      w = cw;
      h = ch;
    }
  }
  int x = 0, y = 0;
  if (FCenter) {
    x = (cw - w) / 2;
    y = (ch - h) / 2;
  }
  return RECT{x, y, x + w, y + h};
}

void TImage::Paint()
{
  TCanvas* canvas = GetCanvas();
  if (GetComponentState().Contains(csDesigning)) {
    // The outline shows where an empty image sits in the designer.
    canvas->GetPen()->SetStyle(psDash);
    canvas->GetBrush()->SetStyle(bsClear);
    canvas->Rectangle(0, 0, GetWidth(), GetHeight());
  }
  TGraphic* g = FPicture->GetGraphic();
  if (!g || g->GetEmpty()) return;
  RECT r = DestRect();
  if (r.right - r.left == g->GetWidth() && r.bottom - r.top == g->GetHeight())
    canvas->Draw(r.left, r.top, g);
  else
    canvas->StretchDraw(r, g);
}
