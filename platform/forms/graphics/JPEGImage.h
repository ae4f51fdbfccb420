// TJPEGImage: a picture kept as JPEG data (libjpeg through the drawing layer), decoded to a
// bitmap when it is drawn or measured, and compressed when a bitmap is assigned to it.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/forms/graphics/Graphic.h"

class TBitmap;

class TJPEGImage : public TGraphic {
  PELTO_CLASS(TJPEGImage, TGraphic)
public:
  TJPEGImage();
  ~TJPEGImage() override;

  // From another JPEG image: its data; from a bitmap: the bitmap compressed at
  // CompressionQuality; nullptr empties the image.
  void Assign(TPersistent* Source) override;

  bool GetEmpty() const override { return FData.empty() && !FBitmap; }
  int GetWidth() const override;
  int GetHeight() const override;
  // The size is the data's: these change nothing.
  void SetWidth(int Value) override {}
  void SetHeight(int Value) override {}

  // 1..100 (clamped); used by the next compression.
  int GetCompressionQuality() const { return FQuality; }
  void SetCompressionQuality(int Value);
  // The decoded picture, owned by the image; null when it is empty.
  TBitmap* GetBitmap() const;
  // Makes the JPEG data from the bitmap now.
  void Compress();

  // JPEG data from the stream's position to its end, decoded at once so that bad data is
  // refused here: raises EInvalidGraphic "JPEG image is not valid".
  void LoadFromStream(TStream* Stream) override;
  // The JPEG data (compressed first when the image holds only a bitmap).
  void SaveToStream(TStream* Stream) override;

protected:
  void Draw(TCanvas* ACanvas, const RECT& Rect) override;
  void AssignTo(TPersistent* Dest) override;
  // A 32-bit length, then the JPEG data.
  void ReadData(TStream* Stream) override;
  void WriteData(TStream* Stream) override;
  void Clear() override;

private:
  void Decode(const std::vector<std::uint8_t>& Data);

  std::vector<std::uint8_t> FData;
  std::unique_ptr<TBitmap> FBitmap;
  int FQuality = 90;
};
