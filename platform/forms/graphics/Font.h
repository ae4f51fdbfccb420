// TFont: a font description (face, height, style, colour, character set, pitch) with its font
// handle made on demand. The published properties stream as "Name", "Height", "Style" ...;
// Size (points) is derived from Height and not stored.
#pragma once

#include "platform/forms/graphics/Colors.h"
#include "platform/forms/graphics/GraphicsObject.h"

PELTO_ENUM(TFontStyle, fsBold, fsItalic, fsUnderline, fsStrikeOut)
PELTO_SET(TFontStyles, TFontStyle)
PELTO_ENUM(TFontPitch, fpDefault, fpVariable, fpFixed)
PELTO_TYPE_ALIAS(TFontCharset, Byte)
PELTO_TYPE_ALIAS(TFontName, AnsiString)

class TFont : public TGraphicsObject {
  PELTO_CLASS(TFont, TGraphicsObject)
public:
  // "MS Sans Serif", 8 points, clWindowText, DEFAULT_CHARSET.
  TFont();
  ~TFont() override;

  // Copies every property from another TFont (not its handle), then reports one change.
  void Assign(TPersistent* Source) override;

  // The font handle, made on first use; owned by the font and freed when it changes.
  HFONT GetHandle();
  bool HandleAllocated() const { return FHandle != nullptr; }

  TFontCharset GetCharset() const { return FCharset; }
  void SetCharset(TFontCharset Value);
  TColor GetColor() const { return FColor; }
  void SetColor(TColor Value);
  // Character height in pixels, negative as in a logical font (a positive value is the cell
  // height).
  Integer GetHeight() const { return FHeight; }
  void SetHeight(Integer Value);
  const AnsiString& GetName() const { return FName; }
  // An empty name is ignored.
  void SetName(const AnsiString& Value);
  TFontPitch GetPitch() const { return FPitch; }
  void SetPitch(TFontPitch Value);
  // Points at PixelsPerInch.
  Integer GetSize() const;
  void SetSize(Integer Value);
  TFontStyles GetStyle() const { return FStyle; }
  void SetStyle(TFontStyles Value);
  Integer GetPixelsPerInch() const { return FPixelsPerInch; }
  // Size stays; Height follows the new resolution. Values <= 0 are ignored.
  void SetPixelsPerInch(Integer Value);

  PELTO_PUBLISHED(p)
  {
    p.Property("Charset", TypeInfo_TFontCharset(), &ThisClass::GetCharset, &ThisClass::SetCharset);
    p.Property("Color", TypeInfo_TColor(), &ThisClass::GetColor, &ThisClass::SetColor);
    p.Property("Height", &ThisClass::GetHeight, &ThisClass::SetHeight);
    p.Property("Name", TypeInfo_TFontName(), &ThisClass::GetName, &ThisClass::SetName);
    p.Property("Pitch", &ThisClass::GetPitch, &ThisClass::SetPitch).Default(fpDefault);
    p.Property("Size", &ThisClass::GetSize, &ThisClass::SetSize).Stored(false);
    p.Property("Style", &ThisClass::GetStyle, &ThisClass::SetStyle);
  }

protected:
  void Changed() override;

private:
  void FreeHandle();

  HFONT FHandle = nullptr;
  TFontCharset FCharset = 1;  // DEFAULT_CHARSET
  TColor FColor = clWindowText;
  Integer FHeight = -11;
  AnsiString FName = "MS Sans Serif";
  TFontPitch FPitch = fpDefault;
  TFontStyles FStyle;
  Integer FPixelsPerInch = 96;
};
