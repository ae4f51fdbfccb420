#include "platform/forms/graphics/Font.h"

#include <algorithm>
#include <cstring>

#include "platform/gdi/dc/GdiObjects.h"
#include "platform/rtl/MathUtils.h"

TFont::TFont() = default;

TFont::~TFont() { FreeHandle(); }

void TFont::Assign(TPersistent* Source)
{
  if (auto* f = dynamic_cast<TFont*>(Source)) {
    FCharset = f->FCharset;
    FColor = f->FColor;
    FHeight = f->FHeight;
    FName = f->FName;
    FPitch = f->FPitch;
    FStyle = f->FStyle;
    FPixelsPerInch = f->FPixelsPerInch;
    Changed();
    return;
  }
  TGraphicsObject::Assign(Source);
}

HFONT TFont::GetHandle()
{
  if (!FHandle) {
    LOGFONTA lf;
    lf.lfHeight = FHeight;
    lf.lfWeight = FStyle.Contains(fsBold) ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = FStyle.Contains(fsItalic);
    lf.lfUnderline = FStyle.Contains(fsUnderline);
    lf.lfStrikeOut = FStyle.Contains(fsStrikeOut);
    lf.lfCharSet = FCharset;
    lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
    lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    lf.lfQuality = DEFAULT_QUALITY;
    lf.lfPitchAndFamily = FPitch == fpFixed ? FIXED_PITCH : FPitch == fpVariable ? VARIABLE_PITCH : DEFAULT_PITCH;
    // A face name longer than the logical font holds is cut at a character boundary.
    std::size_t n = 0;
    while (n < FName.size()) {
      std::size_t step = static_cast<unsigned char>(FName[n]) >= 0x81 && n + 1 < FName.size() ? 2 : 1;
      if (n + step > LF_FACESIZE - 1) break;
      n += step;
    }
    std::memcpy(lf.lfFaceName, FName.data(), n);
    lf.lfFaceName[n] = 0;
    FHandle = Windows::CreateFontIndirect(lf);
  }
  return FHandle;
}

void TFont::SetCharset(TFontCharset Value)
{
  if (Value == FCharset) return;
  FCharset = Value;
  Changed();
}

void TFont::SetColor(TColor Value)
{
  if (Value == FColor) return;
  FColor = Value;
  // The colour is the canvas's text colour, not part of the handle.
  TGraphicsObject::Changed();
}

void TFont::SetHeight(Integer Value)
{
  if (Value == FHeight) return;
  FHeight = Value;
  Changed();
}

void TFont::SetName(const AnsiString& Value)
{
  if (Value.empty() || Value == FName) return;
  FName = Value;
  Changed();
}

void TFont::SetPitch(TFontPitch Value)
{
  if (Value == FPitch) return;
  FPitch = Value;
  Changed();
}

Integer TFont::GetSize() const { return -Math::MulDiv(FHeight, 72, FPixelsPerInch); }

void TFont::SetSize(Integer Value) { SetHeight(-Math::MulDiv(Value, FPixelsPerInch, 72)); }

void TFont::SetStyle(TFontStyles Value)
{
  if (Value == FStyle) return;
  FStyle = Value;
  Changed();
}

void TFont::SetPixelsPerInch(Integer Value)
{
  if (Value <= 0 || Value == FPixelsPerInch) return;
  Integer size = GetSize();
  FPixelsPerInch = Value;
  FHeight = -Math::MulDiv(size, FPixelsPerInch, 72);
  Changed();
}

void TFont::Changed()
{
  // Freed first: a listener that asks for the handle gets the changed font, never the old one
  // that is about to be deleted under it.
  FreeHandle();
  TGraphicsObject::Changed();
}

void TFont::FreeHandle()
{
  if (FHandle) Windows::DeleteObject(FHandle);
  FHandle = nullptr;
}
