#include "platform/forms/graphics/Icon.h"

#include <algorithm>

#include "platform/forms/graphics/Bitmap.h"
#include "platform/forms/graphics/Brush.h"
#include "platform/gdi/dc/GdiObjects.h"
#include "platform/gdi/image/Icons.h"
#include "platform/gdi/image/PictureFiles.h"
#include "platform/rtl/Streams.h"

TIcon::TIcon() { SetTransparent(true); }

TIcon::~TIcon() { FreeHandle(); }

void TIcon::FreeHandle()
{
  if (FHandle) Windows::DestroyIcon(FHandle);
  FHandle = nullptr;
  FWidth = FHeight = 0;
}

void TIcon::Assign(TPersistent* Source)
{
  if (!Source) {
    FreeHandle();
    FData.clear();
    Changed();
    return;
  }
  if (auto* icon = dynamic_cast<TIcon*>(Source)) {
    if (icon == this) return;
    TMemoryStream s;
    icon->SaveToStream(&s);
    s.SetPosition(0);
    if (s.GetSize())
      LoadFromStream(&s);
    else
      Assign(nullptr);
    return;
  }
  TGraphic::Assign(Source);
}

void TIcon::SetWidth(int) { throw EInvalidGraphicOperation("Cannot change the size of an icon"); }
void TIcon::SetHeight(int) { throw EInvalidGraphicOperation("Cannot change the size of an icon"); }

void TIcon::LoadFromStream(TStream* Stream)
{
  const char* invalid = "Icon image is not valid";
  Int64 start = Stream->GetPosition();
  Int64 remaining = Stream->GetSize() - start;
  std::uint8_t head[6];
  if (remaining < 6) throw EInvalidGraphic(invalid);
  Stream->ReadBuffer(head, 6);
  int count = head[4] | (head[5] << 8);
  if (head[0] || head[1] || head[2] != 1 || head[3] || count == 0 || 6 + Int64(count) * 16 > remaining)
    throw EInvalidGraphic(invalid);
  // The file ends with the last of the images its directory lists.
  std::vector<std::uint8_t> dir(std::size_t(count) * 16);
  Stream->ReadBuffer(dir.data(), Int64(dir.size()));
  Int64 end = 6 + Int64(dir.size());
  for (int i = 0; i < count; ++i) {
    const std::uint8_t* e = &dir[std::size_t(i) * 16];
    Int64 bytes = e[8] | (e[9] << 8) | (e[10] << 16) | (Int64(e[11]) << 24);
    Int64 offset = e[12] | (e[13] << 8) | (e[14] << 16) | (Int64(e[15]) << 24);
    end = std::max(end, offset + bytes);
  }
  if (end > remaining) throw EInvalidGraphic(invalid);
  std::vector<std::uint8_t> data(static_cast<std::size_t>(end));
  std::copy(head, head + 6, data.begin());
  std::copy(dir.begin(), dir.end(), data.begin() + 6);
  Stream->ReadBuffer(data.data() + 6 + dir.size(), end - 6 - Int64(dir.size()));

  HICON icon;
  try {
    icon = IcoFile::LoadIco(data, 32);
  } catch (const EInvalidImage&) {
    throw EInvalidGraphic(invalid);
  }
  ICONINFO info;
  BITMAP bm{};
  if (Windows::GetIconInfo(icon, &info)) {
    if (info.hbmColor)
      Windows::GetObject(info.hbmColor, &bm);
    else if (info.hbmMask) {
      Windows::GetObject(info.hbmMask, &bm);
      bm.bmHeight /= 2;
    }
    if (info.hbmColor) Windows::DeleteObject(info.hbmColor);
    if (info.hbmMask) Windows::DeleteObject(info.hbmMask);
  }
  FreeHandle();
  FHandle = icon;
  FWidth = bm.bmWidth;
  FHeight = bm.bmHeight;
  FData = std::move(data);
  Changed();
}

void TIcon::SaveToStream(TStream* Stream)
{
  if (!FData.empty()) Stream->WriteBuffer(FData.data(), Int64(FData.size()));
}

void TIcon::Draw(TCanvas* ACanvas, const RECT& Rect)
{
  if (!FHandle) return;
  Windows::DrawIconEx(ACanvas->GetHandle(), Rect.left, Rect.top, FHandle, Rect.right - Rect.left,
                      Rect.bottom - Rect.top, 0, nullptr, DI_NORMAL);
}

void TIcon::AssignTo(TPersistent* Dest)
{
  if (auto* bmp = dynamic_cast<TBitmap*>(Dest)) {
    bmp->SetSize(FWidth, FHeight);
    if (bmp->GetEmpty()) return;
    TCanvas* c = bmp->GetCanvas();
    c->GetBrush()->SetColor(clWhite);
    c->GetBrush()->SetStyle(bsSolid);
    c->FillRect(RECT{0, 0, FWidth, FHeight});
    c->Draw(0, 0, this);
    return;
  }
  TGraphic::AssignTo(Dest);
}
