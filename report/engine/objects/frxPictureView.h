// The picture view: a picture (bitmap, icon, JPEG image or metafile) drawn into the object's
// box, stretched with or without its aspect ratio, or at its own size times the scale; loaded
// from a file, from a data set's BLOB field, or stored in the report file ("Picture.PropData").
#pragma once

#include <memory>

#include "platform/forms/graphics/Picture.h"
#include "report/engine/objects/frxView.h"

class TStream;

class TfrxPictureView : public TfrxView {
  PELTO_DECLARE_CLASS(TfrxPictureView, TfrxView)
public:
  // White, stretched, keeping the aspect ratio.
  explicit TfrxPictureView(TComponent* AOwner);
  ~TfrxPictureView() override;

  // Background, the picture, then the frame; at design time an empty picture shows the
  // "obPicture" caption and the empty-picture symbol.
  void Draw(HDC Canvas, Extended ScaleX, Extended ScaleY, Extended OffsetX, Extended OffsetY) override;
  bool StoreAllProperties() const override { return false; }
  AnsiString GetClassCaption() override;
  // A changed picture as "Picture.PropData" (its component-stream bytes in hexadecimal), then
  // the base difference text.
  AnsiString WriteDiff(TfrxComponent* Reference) override;
  // The view's expansion; then, bound to a BLOB field, the picture from that field.
  void FetchData() override;

  // Owned by the view; SetPicture copies Value.
  TPicture* GetPicture() const { return FPicture.get(); }
  void SetPicture(TPicture* Value);
  bool GetAutoSize() const { return FAutoSize; }
  // True sizes the object to the picture's pixels now and after every change of the picture.
  void SetAutoSize(bool Value);
  // Raises what the picture raises for a file it cannot read (see TPicture::LoadFromFile).
  void LoadFromFile(const AnsiString& FileName);
  // A picture as a BLOB field holds it: BMP, JPEG, icon or enhanced-metafile data, optionally
  // behind an 8-byte header (1, 0x0100, the length of what follows). Empty data, placeable
  // (old-style) metafiles and unknown data clear the picture; damaged data of a known kind
  // clears it and raises EInvalidGraphic.
  void LoadPictureFromStream(TStream* Stream);

  bool Center = false;
  bool KeepAspectRatio = true;
  bool Stretched = true;
  // Set by every change of the picture.
  bool PictureChanged = false;

  PELTO_PUBLISHED(p);

private:
  void PictureChangedBy();
  void DrawEmpty();

  std::unique_ptr<TPicture> FPicture;
  bool FAutoSize = false;
};

namespace frxPictureView {
// Registers TfrxPictureView by name and the graphics unit's picture formats; idempotent.
void Initialize();
}  // namespace frxPictureView
