// TBitmap: a picture held as a 32-bit device-independent bitmap, with a canvas to draw on it,
// loaded from and saved to BMP files.
//
// Pixels are kept as 32-bit rows (B, G, R, X bytes, top-down) whatever PixelFormat says;
// PixelFormat records the depth the picture came with and chooses the depth it is saved with
// (pf32bit: 32 bits, any other: 24 bits). A new or resized bitmap keeps the pixels it had where
// the sizes overlap; new pixels are black.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/classes/ClassDecl.h"
#include "platform/forms/graphics/Canvas.h"
#include "platform/forms/graphics/Colors.h"
#include "platform/forms/graphics/Graphic.h"

PELTO_ENUM(TPixelFormat, pfDevice, pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit, pfCustom)
PELTO_ENUM(TTransparentMode, tmAuto, tmFixed)

class TBitmap : public TGraphic {
  PELTO_CLASS(TBitmap, TGraphic)
public:
  TBitmap();
  ~TBitmap() override;

  // From another bitmap: a copy of its pixels and settings; from another graphic: that
  // graphic's own conversion; nullptr empties the bitmap.
  void Assign(TPersistent* Source) override;

  bool GetEmpty() const override { return FWidth == 0 || FHeight == 0; }
  int GetWidth() const override { return FWidth; }
  int GetHeight() const override { return FHeight; }
  // A size <= 0 in either direction empties the bitmap; the other direction keeps its size, so
  // Width and Height may be set one after the other.
  void SetWidth(int Value) override { SetSize(Value, FHeight); }
  void SetHeight(int Value) override { SetSize(FWidth, Value); }
  void SetSize(int AWidth, int AHeight);

  // Owned by the bitmap. Its context is made on first use and lives until the pixels are
  // replaced (a new size, a load, an assignment).
  TCanvas* GetCanvas();
  // The bitmap handle, owned by the bitmap; null while it is empty.
  HBITMAP GetHandle() const { return FHandle; }
  // Row Row of the pixels (32 bits each, 0x00RRGGBB); raises ERangeError "Scan line index out
  // of range" for a row outside the bitmap.
  std::uint32_t* GetScanLine(int Row);

  TPixelFormat GetPixelFormat() const { return FPixelFormat; }
  void SetPixelFormat(TPixelFormat Value);
  // tmAuto: the colour of the bottom-left pixel; tmFixed: the colour set.
  TColor GetTransparentColor() const;
  // Also sets TransparentMode to tmFixed.
  void SetTransparentColor(TColor Value);
  TTransparentMode GetTransparentMode() const { return FTransparentMode; }
  void SetTransparentMode(TTransparentMode Value);

  // A BMP file from the stream's position (1, 4, 8, 16, 24 or 32 bits). The file header's size
  // says where it ends when it fits the stream; otherwise the rest of the stream is read.
  // Raises EInvalidGraphic "Bitmap image is not valid" for data that is not one.
  void LoadFromStream(TStream* Stream) override;
  void SaveToStream(TStream* Stream) override;

protected:
  void Draw(TCanvas* ACanvas, const RECT& Rect) override;
  // A 32-bit length, then the BMP file (the length 0 for an empty bitmap).
  void ReadData(TStream* Stream) override;
  void WriteData(TStream* Stream) override;
  void Clear() override;

private:
  class TBitmapCanvas;
  // New pixels of that size (all black), keeping none of the old ones.
  void NewImage(int AWidth, int AHeight);
  void FreeImage();
  void FreeContext();

  HBITMAP FHandle = nullptr;
  std::uint32_t* FBits = nullptr;
  int FWidth = 0, FHeight = 0;
  TPixelFormat FPixelFormat = pfDevice;
  TTransparentMode FTransparentMode = tmAuto;
  TColor FTransparentColor = clDefault;
  std::unique_ptr<TBitmapCanvas> FCanvas;
};
