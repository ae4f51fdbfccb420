#include "platform/forms/controls/ImgList.h"

#include <utility>
#include <algorithm>

#include "platform/commctrl/imagelist/ImageList.h"
#include "platform/forms/app/Screen.h"
#include "platform/forms/graphics/Bitmap.h"
#include "platform/forms/graphics/Brush.h"
#include "platform/forms/graphics/Canvas.h"
#include "platform/classes/Filer.h"
#include "platform/rtl/Streams.h"
#include "platform/gdi/dc/DeviceContext.h"
#include "platform/win/caret/Cursors.h"

namespace {

COLORREF ImageListColor(TColor Color)
{
  if (Color == clNone) return CLR_NONE;
  if (Color == clDefault) return CLR_DEFAULT;
  return Graphics::ColorToRGB(Color);
}

HBITMAP HandleOf(TBitmap* Bitmap) { return Bitmap ? Bitmap->GetHandle() : nullptr; }

}  // namespace

// ---- TChangeLink ---------------------------------------------------------------------------------

TChangeLink::~TChangeLink()
{
  if (FSender) FSender->UnRegisterChanges(this);
}

void TChangeLink::Change()
{
  if (OnChange) OnChange(FSender);
}

// ---- TCustomImageList ----------------------------------------------------------------------------

TCustomImageList::TCustomImageList(TComponent* AOwner) : TComponent(AOwner) {}

TCustomImageList::TCustomImageList(int AWidth, int AHeight) : TComponent(nullptr)
{
  SetWidth(AWidth);
  SetHeight(AHeight);
}

TCustomImageList::~TCustomImageList()
{
  for (TChangeLink* link : FClients) link->FSender = nullptr;
  FClients.clear();
  FreeHandle();
}

void TCustomImageList::FreeHandle()
{
  if (FHandle) Windows::ImageList_Destroy(std::exchange(FHandle, nullptr));
}

HIMAGELIST TCustomImageList::GetHandle()
{
  if (!FHandle) {
    FHandle = Windows::ImageList_Create(FWidth, FHeight, (FMasked ? ILC_MASK : 0) | ILC_COLOR32, FAllocBy, FAllocBy);
    if (!FHandle) throw EInvalidOperation("Unable to create image list");
    Windows::ImageList_SetBkColor(FHandle, ImageListColor(FBkColor));
  }
  return FHandle;
}

int TCustomImageList::GetCount() const { return FHandle ? Windows::ImageList_GetImageCount(FHandle) : 0; }

void TCustomImageList::CheckIndex(int Index) const
{
  if (Index < 0 || Index >= GetCount()) throw EInvalidOperation("Invalid ImageList Index");
}

void TCustomImageList::Change()
{
  // A link may unregister itself (or another) while it is told.
  std::vector<TChangeLink*> clients = FClients;
  for (TChangeLink* link : clients)
    if (std::find(FClients.begin(), FClients.end(), link) != FClients.end()) link->Change();
  if (OnChange) OnChange(this);
}

void TCustomImageList::RegisterChanges(TChangeLink* Value)
{
  if (!Value || std::find(FClients.begin(), FClients.end(), Value) != FClients.end()) return;
  if (Value->FSender && Value->FSender != this) Value->FSender->UnRegisterChanges(Value);
  Value->FSender = this;
  FClients.push_back(Value);
}

void TCustomImageList::UnRegisterChanges(TChangeLink* Value)
{
  auto it = std::find(FClients.begin(), FClients.end(), Value);
  if (it == FClients.end()) return;
  FClients.erase(it);
  Value->FSender = nullptr;
}

// ---- Images --------------------------------------------------------------------------------------

int TCustomImageList::Add(TBitmap* Image, TBitmap* Mask)
{
  if (!Image || Image->GetEmpty()) return -1;
  int index = Windows::ImageList_Add(GetHandle(), HandleOf(Image), HandleOf(Mask));
  Change();
  return index;
}

int TCustomImageList::AddMasked(TBitmap* Image, TColor MaskColor)
{
  if (!Image || Image->GetEmpty()) return -1;
  COLORREF key = Graphics::ColorToRGB(MaskColor == clDefault ? Image->GetTransparentColor() : MaskColor);
  int index = Windows::ImageList_AddMasked(GetHandle(), Image->GetHandle(), key);
  Change();
  return index;
}

void TCustomImageList::Replace(int Index, TBitmap* Image, TBitmap* Mask)
{
  CheckIndex(Index);
  if (!Windows::ImageList_Replace(FHandle, Index, HandleOf(Image), HandleOf(Mask)))
    throw EInvalidOperation("Unable to Replace Image");
  Change();
}

void TCustomImageList::ReplaceMasked(int Index, TBitmap* NewImage, TColor MaskColor)
{
  CheckIndex(Index);
  if (!NewImage || NewImage->GetEmpty()) throw EInvalidOperation("Unable to Replace Image");
  // Add the masked image at the end, then take its pixels and mask into place.
  TCustomImageList scratch(FWidth, FHeight);
  scratch.SetBkColor(clNone);
  if (scratch.AddMasked(NewImage, MaskColor) < 0) throw EInvalidOperation("Unable to Replace Image");
  TBitmap image, mask;
  scratch.GetBitmap(0, &image);
  mask.SetSize(FWidth, FHeight);
  scratch.Draw(mask.GetCanvas(), 0, 0, 0, dsNormal, itMask);
  Replace(Index, &image, &mask);
}

void TCustomImageList::Delete(int Index)
{
  if (Index != -1) CheckIndex(Index);
  if (FHandle) Windows::ImageList_Remove(FHandle, Index);
  Change();
}

void TCustomImageList::Clear() { Delete(-1); }

void TCustomImageList::Assign(TPersistent* Source)
{
  auto* source = dynamic_cast<TCustomImageList*>(Source);
  if (!source) {
    TComponent::Assign(Source);
    return;
  }
  FreeHandle();
  FWidth = source->FWidth;
  FHeight = source->FHeight;
  FMasked = source->FMasked;
  FBkColor = source->FBkColor;
  FBlendColor = source->FBlendColor;
  FDrawingStyle = source->FDrawingStyle;
  FImageType = source->FImageType;
  FAllocBy = source->FAllocBy;
  GetHandle();
  // Each image with its mask, drawn out of the source.
  for (int i = 0; i < source->GetCount(); ++i) {
    TBitmap image, mask;
    image.SetSize(FWidth, FHeight);
    Windows::ImageList_DrawEx(source->FHandle, i, image.GetCanvas()->GetHandle(), 0, 0, 0, 0, CLR_NONE, CLR_DEFAULT,
                              ILD_TRANSPARENT);
    mask.SetSize(FWidth, FHeight);
    Windows::ImageList_Draw(source->FHandle, i, mask.GetCanvas()->GetHandle(), 0, 0, ILD_MASK);
    Windows::ImageList_Add(FHandle, image.GetHandle(), FMasked ? mask.GetHandle() : nullptr);
  }
  Change();
}

// ---- Settings ------------------------------------------------------------------------------------

void TCustomImageList::SetWidth(int Value)
{
  if (Value < 1) throw EInvalidOperation("Invalid image size");
  if (Value == FWidth) return;
  FWidth = Value;
  if (FHandle) Windows::ImageList_SetIconSize(FHandle, FWidth, FHeight);
  Change();
}

void TCustomImageList::SetHeight(int Value)
{
  if (Value < 1) throw EInvalidOperation("Invalid image size");
  if (Value == FHeight) return;
  FHeight = Value;
  if (FHandle) Windows::ImageList_SetIconSize(FHandle, FWidth, FHeight);
  Change();
}

void TCustomImageList::SetMasked(bool Value)
{
  if (Value == FMasked) return;
  FMasked = Value;
  FreeHandle();
  Change();
}

void TCustomImageList::SetBkColor(TColor Value)
{
  if (Value == FBkColor) return;
  FBkColor = Value;
  if (FHandle) Windows::ImageList_SetBkColor(FHandle, ImageListColor(FBkColor));
  Change();
}

void TCustomImageList::SetBlendColor(TColor Value)
{
  if (Value == FBlendColor) return;
  FBlendColor = Value;
  Change();
}

void TCustomImageList::SetDrawingStyle(TDrawingStyle Value)
{
  if (Value == FDrawingStyle) return;
  FDrawingStyle = Value;
  Change();
}

void TCustomImageList::SetImageType(TImageType Value)
{
  if (Value == FImageType) return;
  FImageType = Value;
  Change();
}

// ---- Stored images ----------------------------------------------------------------------------

void TCustomImageList::DefineProperties(TFiler* Filer)
{
  TComponent::DefineProperties(Filer);
  Filer->DefineBinaryProperty(
      "Bitmap", [this](TStream* s) { ReadImages(s); }, [this](TStream* s) { WriteImages(s); }, GetCount() > 0);
}

void TCustomImageList::WriteImages(TStream* Stream)
{
  Integer count = GetCount();
  Stream->WriteBuffer(&count, sizeof count);
  if (count == 0) return;
  TBitmap image, mask;
  image.SetPixelFormat(pf32bit);
  image.SetSize(FWidth * count, FHeight);
  mask.SetPixelFormat(pf32bit);
  mask.SetSize(FWidth * count, FHeight);
  for (int i = 0; i < count; ++i) {
    Windows::ImageList_DrawEx(FHandle, i, image.GetCanvas()->GetHandle(), i * FWidth, 0, 0, 0, CLR_NONE, CLR_DEFAULT,
                              ILD_TRANSPARENT);
    Windows::ImageList_Draw(FHandle, i, mask.GetCanvas()->GetHandle(), i * FWidth, 0, ILD_MASK);
  }
  image.SaveToStream(Stream);
  if (FMasked) mask.SaveToStream(Stream);
}

void TCustomImageList::ReadImages(TStream* Stream)
{
  Integer count = 0;
  Stream->ReadBuffer(&count, sizeof count);
  if (count < 0) throw EReadError("Invalid image list data");
  Clear();
  if (count == 0) return;
  TBitmap image, mask;
  image.LoadFromStream(Stream);
  if (FMasked) mask.LoadFromStream(Stream);
  if (image.GetWidth() != FWidth * count || image.GetHeight() != FHeight) throw EReadError("Invalid image list data");
  Add(&image, FMasked ? &mask : nullptr);
}

// ---- Drawing -------------------------------------------------------------------------------------

void TCustomImageList::Draw(TCanvas* Canvas, int X, int Y, int Index, bool Enabled)
{
  Draw(Canvas, X, Y, Index, FDrawingStyle, FImageType, Enabled);
}

void TCustomImageList::Draw(TCanvas* Canvas, int X, int Y, int Index, TDrawingStyle ADrawingStyle,
                            TImageType AImageType, bool Enabled)
{
  if (!Canvas || !FHandle || Index < 0 || Index >= GetCount()) return;
  static const UINT kStyles[] = {ILD_FOCUS, ILD_SELECTED, ILD_NORMAL, ILD_TRANSPARENT};
  UINT style = kStyles[ADrawingStyle];
  if (AImageType == itMask) style |= ILD_MASK;
  DoDraw(Index, Canvas, X, Y, style, Enabled);
}

void TCustomImageList::DoDraw(int Index, TCanvas* Canvas, int X, int Y, UINT Style, bool Enabled)
{
  if (!Enabled) {
    DrawGreyed(Index, Canvas, X, Y);
    return;
  }
  COLORREF back = (Style & ILD_TRANSPARENT) ? CLR_NONE : ImageListColor(FBkColor);
  Windows::ImageList_DrawEx(FHandle, Index, Canvas->GetHandle(), X, Y, 0, 0, back, ImageListColor(FBlendColor), Style);
}

void TCustomImageList::DrawGreyed(int Index, TCanvas* Canvas, int X, int Y)
{
  // The image over white: what is not white (and not transparent) is ink.
  TBitmap work;
  work.SetSize(FWidth, FHeight);
  work.GetCanvas()->GetBrush()->SetColor(clWhite);
  work.GetCanvas()->FillRect(RECT{0, 0, FWidth, FHeight});
  Windows::ImageList_DrawEx(FHandle, Index, work.GetCanvas()->GetHandle(), 0, 0, 0, 0, CLR_NONE, CLR_DEFAULT,
                            ILD_TRANSPARENT);
  std::vector<POINT> ink;
  for (int y = 0; y < FHeight; ++y) {
    const std::uint32_t* row = work.GetScanLine(y);
    for (int x = 0; x < FWidth; ++x)
      if ((row[x] & 0xFFFFFF) != 0xFFFFFF) ink.push_back(POINT{x, y});
  }
  HDC dc = Canvas->GetHandle();
  COLORREF highlight = Graphics::ColorToRGB(clBtnHighlight), shadow = Graphics::ColorToRGB(clBtnShadow);
  for (const POINT& p : ink) Windows::SetPixelV(dc, X + p.x + 1, Y + p.y + 1, highlight);
  for (const POINT& p : ink) Windows::SetPixelV(dc, X + p.x, Y + p.y, shadow);
}

void TCustomImageList::GetBitmap(int Index, TBitmap* Image)
{
  if (!Image || !FHandle) return;
  Image->SetSize(FWidth, FHeight);
  Draw(Image->GetCanvas(), 0, 0, Index);
}

// ---- TDragImageList ------------------------------------------------------------------------------

TDragImageList::~TDragImageList()
{
  if (FDragging) EndDrag();
}

bool TDragImageList::SetDragImage(int Index, int HotSpotX, int HotSpotY)
{
  if (Index < 0 || Index >= GetCount()) return false;
  FDragIndex = Index;
  FDragHotspot = POINT{HotSpotX, HotSpotY};
  if (FDragging) {
    // Another image while dragging: the drag starts again over the same window.
    HWND window = FDragHandle;
    POINT pos;
    Windows::ImageList_GetDragImage(&pos, nullptr);
    DragUnlock();
    Windows::ImageList_EndDrag();
    Windows::ImageList_BeginDrag(GetHandle(), FDragIndex, HotSpotX, HotSpotY);
    if (window) DragLock(window, pos.x, pos.y);
  }
  return true;
}

bool TDragImageList::BeginDrag(HWND Window, int X, int Y)
{
  if (GetCount() == 0) return false;
  if (FDragging) EndDrag();
  if (!Windows::ImageList_BeginDrag(GetHandle(), std::min(FDragIndex, GetCount() - 1), FDragHotspot.x, FDragHotspot.y))
    return false;
  FDragging = true;
  bool locked = DragLock(Window, X, Y);
  if (Forms::Screen) Windows::SetCursor(Forms::Screen->GetCursors(FDragCursor));
  return locked;
}

bool TDragImageList::DragLock(HWND Window, int XPos, int YPos)
{
  if (!FDragging || Window == FDragHandle) return false;
  DragUnlock();
  if (!Windows::ImageList_DragEnter(Window, XPos, YPos)) return false;
  FDragHandle = Window;
  return true;
}

void TDragImageList::DragUnlock()
{
  if (FDragHandle) Windows::ImageList_DragLeave(std::exchange(FDragHandle, nullptr));
}

bool TDragImageList::DragMove(int X, int Y) { return FDragging && Windows::ImageList_DragMove(X, Y); }

bool TDragImageList::EndDrag()
{
  if (!FDragging) return false;
  DragUnlock();
  Windows::ImageList_EndDrag();
  FDragging = false;
  return true;
}

void TDragImageList::HideDragImage()
{
  if (FDragging) Windows::ImageList_DragShowNolock(FALSE);
}

void TDragImageList::ShowDragImage()
{
  if (FDragging) Windows::ImageList_DragShowNolock(TRUE);
}

void TDragImageList::SetDragCursor(TCursor Value)
{
  if (Value == FDragCursor) return;
  FDragCursor = Value;
  if (FDragging && Forms::Screen) Windows::SetCursor(Forms::Screen->GetCursors(Value));
}
