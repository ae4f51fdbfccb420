#include "platform/forms/graphics/JPEGImage.h"

#include <algorithm>

#include "platform/forms/graphics/Bitmap.h"
#include "platform/gdi/dc/GdiObjects.h"
#include "platform/gdi/image/PictureFiles.h"
#include "platform/rtl/Streams.h"
#include "platform/rtl/Guards.h"

TJPEGImage::TJPEGImage() = default;
TJPEGImage::~TJPEGImage() = default;

void TJPEGImage::Assign(TPersistent* Source)
{
  if (!Source) {
    FData.clear();
    FBitmap.reset();
    Changed();
    return;
  }
  if (auto* j = dynamic_cast<TJPEGImage*>(Source)) {
    if (j == this) return;
    FQuality = j->FQuality;
    FData = j->FData;
    FBitmap.reset();
    if (j->FBitmap) {
      FBitmap = std::make_unique<TBitmap>();
      FBitmap->Assign(j->FBitmap.get());
    }
    Changed();
    return;
  }
  if (auto* b = dynamic_cast<TBitmap*>(Source)) {
    auto copy = std::make_unique<TBitmap>();
    copy->Assign(b);
    FBitmap = std::move(copy);
    FData.clear();
    if (!FBitmap->GetEmpty())
      Compress();
    else
      FBitmap.reset();
    Changed();
    return;
  }
  TGraphic::Assign(Source);
}

int TJPEGImage::GetWidth() const { return FBitmap ? FBitmap->GetWidth() : 0; }
int TJPEGImage::GetHeight() const { return FBitmap ? FBitmap->GetHeight() : 0; }

void TJPEGImage::SetCompressionQuality(int Value) { FQuality = std::clamp(Value, 1, 100); }

TBitmap* TJPEGImage::GetBitmap() const { return FBitmap.get(); }

void TJPEGImage::Compress()
{
  if (!FBitmap || FBitmap->GetEmpty()) return;
  FData = JpegFile::SaveJpeg(FBitmap->GetHandle(), FQuality);
}

void TJPEGImage::Decode(const std::vector<std::uint8_t>& Data)
{
  HBITMAP h;
  try {
    h = JpegFile::LoadJpeg(Data);
  } catch (const EInvalidImage&) {
    throw EInvalidGraphic("JPEG image is not valid");
  }
  // The decoded pixels go through a BMP image into the bitmap's own storage.
  std::vector<std::uint8_t> bmp;
  {
    TScopeExit undo([&] { Windows::DeleteObject(h); });
    bmp = BmpFile::SaveBmp(h, 24);
  }
  TMemoryStream s;
  s.WriteBuffer(bmp.data(), Int64(bmp.size()));
  s.SetPosition(0);
  auto bitmap = std::make_unique<TBitmap>();
  bitmap->LoadFromStream(&s);
  FBitmap = std::move(bitmap);
}

void TJPEGImage::LoadFromStream(TStream* Stream)
{
  Int64 remaining = Stream->GetSize() - Stream->GetPosition();
  std::vector<std::uint8_t> data(static_cast<std::size_t>(std::max<Int64>(remaining, 0)));
  if (!data.empty()) Stream->ReadBuffer(data.data(), Int64(data.size()));
  if (data.size() < 2 || data[0] != 0xFF || data[1] != 0xD8) throw EInvalidGraphic("JPEG image is not valid");
  Decode(data);
  FData = std::move(data);
  Changed();
}

void TJPEGImage::SaveToStream(TStream* Stream)
{
  if (FData.empty()) Compress();
  if (!FData.empty()) Stream->WriteBuffer(FData.data(), Int64(FData.size()));
}

void TJPEGImage::Draw(TCanvas* ACanvas, const RECT& Rect)
{
  if (FBitmap) ACanvas->StretchDraw(Rect, FBitmap.get());
}

void TJPEGImage::AssignTo(TPersistent* Dest)
{
  if (auto* b = dynamic_cast<TBitmap*>(Dest)) {
    b->Assign(FBitmap.get());
    return;
  }
  TGraphic::AssignTo(Dest);
}

void TJPEGImage::ReadData(TStream* Stream) { ReadSizedData(Stream); }

void TJPEGImage::WriteData(TStream* Stream) { WriteSizedData(Stream); }

void TJPEGImage::Clear() { Assign(nullptr); }
