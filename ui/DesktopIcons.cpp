#include "ui/DesktopIcons.h"

#include "platform/forms/controls/ImgList.h"
#include "platform/forms/graphics/Brush.h"
#include "platform/forms/graphics/Canvas.h"
#include "platform/forms/graphics/Font.h"

TDesktopIcons::TDesktopIcons(TComponent* AOwner) : TCustomControl(AOwner)
{
  SetColor(clWhite);
  SetTabStop(true);
}

void TDesktopIcons::SetImages(TCustomImageList* Value)
{
  if (FImages) FImages->RemoveFreeNotification(this);
  FImages = Value;
  if (FImages) FImages->FreeNotification(this);
  Invalidate();
}

void TDesktopIcons::Notification(TComponent* AComponent, TOperation Operation)
{
  TCustomControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FImages) FImages = nullptr;
}

void TDesktopIcons::Clear()
{
  FItems.clear();
  FSelected = -1;
  Invalidate();
}

void TDesktopIcons::Add(const AnsiString& Caption, int ImageIndex, void* Data)
{
  FItems.push_back(TItem{Caption, ImageIndex, Data});
  Invalidate();
}

void TDesktopIcons::SetItemIndex(int Value)
{
  FSelected = Value >= 0 && Value < GetCount() ? Value : -1;
  Invalidate();
}

RECT TDesktopIcons::ItemRect(int Index) const
{
  int perRow = std::max(1, (const_cast<TDesktopIcons*>(this)->GetClientWidth() - 2 * Margin) / CellWidth);
  int col = Index % perRow, row = Index / perRow;
  int x = Margin + col * CellWidth, y = Margin + row * CellHeight;
  return RECT{x, y, x + CellWidth, y + CellHeight};
}

int TDesktopIcons::ItemAt(int X, int Y) const
{
  for (int i = 0; i < GetCount(); ++i) {
    RECT r = ItemRect(i);
    if (X >= r.left && X < r.right && Y >= r.top && Y < r.bottom) return i;
  }
  return -1;
}

void TDesktopIcons::Paint()
{
  TCanvas* c = GetCanvas();
  c->GetBrush()->SetColor(GetColor());
  c->FillRect(GetClientRect());
  c->GetFont()->Assign(GetFont());
  int image = FImages ? FImages->GetWidth() : 32;
  for (int i = 0; i < GetCount(); ++i) {
    RECT cell = ItemRect(i);
    const TItem& item = FItems[size_t(i)];
    if (FImages && item.ImageIndex >= 0)
      FImages->Draw(c, cell.left + (CellWidth - image) / 2, cell.top + 4, item.ImageIndex);
    RECT text{cell.left + 2, cell.top + image + 8, cell.right - 2, cell.bottom - 2};
    bool selected = i == FSelected;
    c->GetBrush()->SetColor(selected ? clHighlight : GetColor());
    c->GetFont()->SetColor(selected ? clHighlightText : clWindowText);
    SIZE ext = c->TextExtent(item.Caption);
    RECT back{cell.left + (CellWidth - ext.cx) / 2 - 2, text.top, cell.left + (CellWidth + ext.cx) / 2 + 2,
              text.top + ext.cy};
    c->FillRect(back);
    c->GetBrush()->SetStyle(bsClear);
    c->TextOut(back.left + 2, back.top, item.Caption);
    c->GetBrush()->SetStyle(bsSolid);
  }
}

void TDesktopIcons::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
  if (CanFocus()) SetFocus();
  SetItemIndex(ItemAt(X, Y));
  TCustomControl::MouseDown(Button, Shift, X, Y);
}
