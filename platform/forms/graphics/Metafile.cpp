#include "platform/forms/graphics/Metafile.h"

#include <cmath>
#include <cstring>

#include "platform/gdi/meta/EnhMetaFile.h"
#include "platform/rtl/Streams.h"

namespace Metafile {

int MMToPixels(int Value) { return static_cast<int>(std::lround(double(Value) * 96.0 / 2540.0)); }
int PixelsToMM(int Value) { return static_cast<int>(std::lround(double(Value) * 2540.0 / 96.0)); }

}  // namespace Metafile

namespace {

const char* const kInvalid = "Metafile is not valid";

std::uint32_t U32(const std::uint8_t* p) { return p[0] | (p[1] << 8) | (p[2] << 16) | (std::uint32_t(p[3]) << 24); }

}  // namespace

TMetafile::~TMetafile() { FreeHandle(); }

void TMetafile::FreeHandle()
{
  if (FHandle) Windows::DeleteEnhMetaFile(FHandle);
  FHandle = nullptr;
}

void TMetafile::Adopt(HENHMETAFILE Value)
{
  FreeHandle();
  FHandle = Value;
  FWidth = FHeight = FMMWidth = FMMHeight = 0;
  ENHMETAHEADER h;
  if (FHandle && Windows::GetEnhMetaFileHeader(FHandle, sizeof h, &h)) {
    FMMWidth = h.rclFrame.right - h.rclFrame.left;
    FMMHeight = h.rclFrame.bottom - h.rclFrame.top;
    // The frame in pixels of the reference device the drawing was measured on (the screen,
    // 96 dpi, for recordings made here).
    auto pixels = [](int mm100, int devicePixels, int deviceMM) {
      if (devicePixels <= 0 || deviceMM <= 0) return Metafile::MMToPixels(mm100);
      return static_cast<int>(std::lround(double(mm100) * devicePixels / (deviceMM * 100.0)));
    };
    FWidth = pixels(FMMWidth, h.szlDevice.cx, h.szlMillimeters.cx);
    FHeight = pixels(FMMHeight, h.szlDevice.cy, h.szlMillimeters.cy);
  }
}

void TMetafile::SetHandle(HENHMETAFILE Value)
{
  if (Value == FHandle) return;
  Adopt(Value);
  Changed();
}

void TMetafile::Clear()
{
  FreeHandle();
  FWidth = FHeight = FMMWidth = FMMHeight = 0;
  Changed();
}

void TMetafile::Assign(TPersistent* Source)
{
  if (!Source) {
    Clear();
    return;
  }
  if (auto* mf = dynamic_cast<TMetafile*>(Source)) {
    if (mf == this) return;
    FreeHandle();
    if (mf->FHandle) FHandle = Windows::CopyEnhMetaFile(mf->FHandle, nullptr);
    FWidth = mf->FWidth;
    FHeight = mf->FHeight;
    FMMWidth = mf->FMMWidth;
    FMMHeight = mf->FMMHeight;
    Changed();
    return;
  }
  TGraphic::Assign(Source);
}

void TMetafile::SetWidth(int Value)
{
  FWidth = Value;
  FMMWidth = Metafile::PixelsToMM(Value);
  Changed();
}

void TMetafile::SetHeight(int Value)
{
  FHeight = Value;
  FMMHeight = Metafile::PixelsToMM(Value);
  Changed();
}

void TMetafile::SetMMWidth(int Value)
{
  FMMWidth = Value;
  FWidth = Metafile::MMToPixels(Value);
  Changed();
}

void TMetafile::SetMMHeight(int Value)
{
  FMMHeight = Value;
  FHeight = Metafile::MMToPixels(Value);
  Changed();
}

void TMetafile::LoadFromStream(TStream* Stream)
{
  Int64 remaining = Stream->GetSize() - Stream->GetPosition();
  // Type, size, two rectangles, then the signature and version, then the whole file's size.
  std::uint8_t head[52];
  if (remaining < Int64(sizeof head)) throw EInvalidGraphic(kInvalid);
  Stream->ReadBuffer(head, sizeof head);
  std::uint32_t bytes = U32(head + 48);
  if (U32(head) != EMR_HEADER || U32(head + 40) != 0x464D4520 || bytes < sizeof head || Int64(bytes) > remaining)
    throw EInvalidGraphic(kInvalid);
  std::vector<BYTE> data(bytes);
  std::memcpy(data.data(), head, sizeof head);
  Stream->ReadBuffer(data.data() + sizeof head, Int64(bytes) - Int64(sizeof head));
  HENHMETAFILE mf = Windows::SetEnhMetaFileBits(UINT(data.size()), data.data());
  if (!mf) throw EInvalidGraphic(kInvalid);
  Adopt(mf);
  Changed();
}

void TMetafile::SaveToStream(TStream* Stream)
{
  if (!FHandle) return;
  std::vector<BYTE> data = Windows::EnhMetaFileBytes(FHandle);
  if (!data.empty()) Stream->WriteBuffer(data.data(), Int64(data.size()));
}

void TMetafile::Draw(TCanvas* ACanvas, const RECT& Rect)
{
  if (!FHandle) return;
  Windows::PlayEnhMetaFile(ACanvas->GetHandle(), FHandle, &Rect);
}

TMetafileCanvas::TMetafileCanvas(TMetafile* AMetafile, HDC ReferenceDevice) : FMetafile(AMetafile)
{
  RECT frame{0, 0, AMetafile->GetMMWidth(), AMetafile->GetMMHeight()};
  bool sized = frame.right > 0 && frame.bottom > 0;
  HDC dc = Windows::CreateEnhMetaFile(ReferenceDevice, nullptr, sized ? &frame : nullptr, nullptr);
  if (!dc) throw EInvalidGraphicOperation("Cannot record a metafile");
  SetHandle(dc);
}

TMetafileCanvas::~TMetafileCanvas()
{
  HDC dc = HandleAllocated() ? GetHandle() : nullptr;
  SetHandle(nullptr);
  if (!dc) return;
  HENHMETAFILE mf = Windows::CloseEnhMetaFile(dc);
  if (mf) FMetafile->SetHandle(mf);
}
