// Image lists as components: TCustomImageList over an image list of platform/commctrl (its
// handle made on first use), TChangeLink through which the controls that show a list hear of
// its changes, TImageList (the published one) and TDragImageList, whose one drag image follows
// the mouse during a drag.
//
// Stored forms keep the images as the defined property "Bitmap": the image count, then the images
// side by side as a 32-bit BMP and, in a masked list, their mask likewise (black opaque).
//
// Indexes: Replace and Delete raise EInvalidOperation "Invalid ImageList Index" for an index
// outside 0..Count-1 (Delete also takes -1: all). Draw with a bad index draws nothing. Bitmaps
// handed in stay the caller's. Every change reports to OnChange and each registered link.
#pragma once

#include <vector>

#include "platform/classes/Component.h"
#include "platform/forms/controls/ControlTypes.h"
#include "platform/forms/graphics/Colors.h"

struct ImageListTag;
using HIMAGELIST = ImageListTag*;
class TBitmap;
class TCanvas;
class TCustomImageList;
class TStream;

PELTO_ENUM(TDrawingStyle, dsFocus, dsSelected, dsNormal, dsTransparent)
PELTO_ENUM(TImageType, itImage, itMask)

// Tells its owner of the changes of the image list it is registered with. Destroying the link
// unregisters it; destroying the list leaves the link with no sender.
class TChangeLink : public TObject {
public:
  TChangeLink() = default;
  ~TChangeLink() override;
  TChangeLink(const TChangeLink&) = delete;
  TChangeLink& operator=(const TChangeLink&) = delete;

  // The list the link is registered with; null when none.
  TCustomImageList* GetSender() const { return FSender; }
  // Calls OnChange with the list.
  virtual void Change();

  TNotifyEvent OnChange;

private:
  friend class TCustomImageList;
  TCustomImageList* FSender = nullptr;
};

class TCustomImageList : public TComponent {
  PELTO_CLASS(TCustomImageList, TComponent)
public:
  explicit TCustomImageList(TComponent* AOwner);
  // A list of that image size without owner (the classic CreateSize).
  TCustomImageList(int AWidth, int AHeight);
  ~TCustomImageList() override;

  // From another image list: its size, settings and a copy of its images.
  void Assign(TPersistent* Source) override;

  // Adds the images side by side in Image (one when it is narrower than Width); Mask
  // (monochrome, white transparent) may be null. Answers the first new index, -1 on failure.
  int Add(TBitmap* Image, TBitmap* Mask);
  // Adds with every pixel of MaskColor transparent.
  int AddMasked(TBitmap* Image, TColor MaskColor);
  void Replace(int Index, TBitmap* Image, TBitmap* Mask);
  void ReplaceMasked(int Index, TBitmap* NewImage, TColor MaskColor);
  // Later images move down by one.
  void Delete(int Index);
  void Clear();
  int GetCount() const;

  // Draws in DrawingStyle and ImageType; disabled: greyed (the image's dark pixels in the
  // button shadow colour over a highlight copy one pixel down and right).
  void Draw(TCanvas* Canvas, int X, int Y, int Index, bool Enabled = true);
  void Draw(TCanvas* Canvas, int X, int Y, int Index, TDrawingStyle ADrawingStyle, TImageType AImageType,
            bool Enabled = true);
  // Sizes Image to the list's image size and draws image Index into it.
  void GetBitmap(int Index, TBitmap* Image);

  // The image list of platform/commctrl, made on first use; owned by this object.
  HIMAGELIST GetHandle();
  bool HandleAllocated() const { return FHandle != nullptr; }

  int GetWidth() const { return FWidth; }
  int GetHeight() const { return FHeight; }
  // A new size removes every image; a size < 1 raises EInvalidOperation "Invalid image size".
  void SetWidth(int Value);
  void SetHeight(int Value);
  // Whether the list keeps a mask; changing it removes every image.
  bool GetMasked() const { return FMasked; }
  void SetMasked(bool Value);
  // What transparent pixels are filled with in dsNormal; clNone leaves them.
  TColor GetBkColor() const { return FBkColor; }
  void SetBkColor(TColor Value);
  // The colour dsFocus and dsSelected blend with; clNone: the highlight colour.
  TColor GetBlendColor() const { return FBlendColor; }
  void SetBlendColor(TColor Value);
  TDrawingStyle GetDrawingStyle() const { return FDrawingStyle; }
  void SetDrawingStyle(TDrawingStyle Value);
  TImageType GetImageType() const { return FImageType; }
  void SetImageType(TImageType Value);
  // How many image slots the list grows by.
  int GetAllocBy() const { return FAllocBy; }
  void SetAllocBy(int Value) { FAllocBy = Value; }

  // A link hears of every change until unregistered (or destroyed); registering twice keeps
  // one entry.
  void RegisterChanges(TChangeLink* Value);
  void UnRegisterChanges(TChangeLink* Value);

  TNotifyEvent OnChange;

  PELTO_PUBLISHED(p)
  {
    p.Property("AllocBy", &ThisClass::GetAllocBy, &ThisClass::SetAllocBy).Default(4);
    p.Property("BlendColor", TypeInfo_TColor(), &ThisClass::GetBlendColor, &ThisClass::SetBlendColor).Default(clNone);
    p.Property("BkColor", TypeInfo_TColor(), &ThisClass::GetBkColor, &ThisClass::SetBkColor).Default(clNone);
    p.Property("DrawingStyle", &ThisClass::GetDrawingStyle, &ThisClass::SetDrawingStyle).Default(dsNormal);
    p.Property("Height", &ThisClass::GetHeight, &ThisClass::SetHeight).Default(16);
    p.Property("ImageType", &ThisClass::GetImageType, &ThisClass::SetImageType).Default(itImage);
    p.Property("Masked", &ThisClass::GetMasked, &ThisClass::SetMasked).Default(true);
    p.Property("Width", &ThisClass::GetWidth, &ThisClass::SetWidth).Default(16);
    p.Property("OnChange", TypeInfo_TNotifyEvent(), &ThisClass::OnChange, &ThisClass::OnChange);
  }

protected:
  // Tells OnChange and the links.
  virtual void Change();
  void DefineProperties(TFiler* Filer) override;
  virtual void DoDraw(int Index, TCanvas* Canvas, int X, int Y, UINT Style, bool Enabled);

private:
  void CheckIndex(int Index) const;
  // Destroys the handle; the next use makes an empty one.
  void FreeHandle();
  void DrawGreyed(int Index, TCanvas* Canvas, int X, int Y);
  // Raise EInvalidGraphic (or EReadError) for a block that is not one.
  void ReadImages(TStream* Stream);
  void WriteImages(TStream* Stream);

  HIMAGELIST FHandle = nullptr;
  int FWidth = 16, FHeight = 16;
  bool FMasked = true;
  TColor FBkColor = clNone;
  TColor FBlendColor = clNone;
  TDrawingStyle FDrawingStyle = dsNormal;
  TImageType FImageType = itImage;
  int FAllocBy = 4;
  std::vector<TChangeLink*> FClients;  // borrowed; each link unregisters when it goes
};

class TImageList : public TCustomImageList {
  PELTO_CLASS(TImageList, TCustomImageList)
public:
  using TCustomImageList::TCustomImageList;
};

// The drag image: SetDragImage picks an image and its hot spot, BeginDrag shows it over a window
// (locking it: hide the image with HideDragImage before that window paints), DragMove moves it
// (window coordinates of the locked window, frame included) and EndDrag ends the drag. One drag
// runs at a time in the program.
class TDragImageList : public TCustomImageList {
  PELTO_CLASS(TDragImageList, TCustomImageList)
public:
  using TCustomImageList::TCustomImageList;
  ~TDragImageList() override;

  bool BeginDrag(HWND Window, int X, int Y);
  // Moves the image to another window (the drag goes on); false for the window already locked.
  bool DragLock(HWND Window, int XPos, int YPos);
  bool DragMove(int X, int Y);
  void DragUnlock();
  bool EndDrag();
  void HideDragImage();
  void ShowDragImage();
  // False when the list has no image Index.
  bool SetDragImage(int Index, int HotSpotX, int HotSpotY);
  POINT GetDragHotspot() const { return FDragHotspot; }
  bool GetDragging() const { return FDragging; }
  // The cursor shown while dragging (crDrag by default).
  TCursor GetDragCursor() const { return FDragCursor; }
  void SetDragCursor(TCursor Value);

private:
  int FDragIndex = 0;
  POINT FDragHotspot;
  HWND FDragHandle = nullptr;
  bool FDragging = false;
  TCursor FDragCursor = crDrag;
};
