// The font of report objects, as a persistent object with published properties so that report
// files store it flattened ("Font.Name", "Font.Height" ...).
//
// The class library's graphics unit (platform/forms) has no font class yet; this one stands in
// for the report library until it does, and keeps the same published properties.
#pragma once

#include <functional>

#include "platform/classes/Persistent.h"

namespace frxFont {

PELTO_ENUM(TFontStyle, fsBold, fsItalic, fsUnderline, fsStrikeOut)
PELTO_SET(TFontStyles, TFontStyle)
PELTO_ENUM(TFontPitch, fpDefault, fpVariable, fpFixed)

// The type record of colour properties: Integer values 0x00BBGGRR, 0x1FFFFFFF meaning none.
const TTypeInfo* TypeInfo_TColor();
// The type record of character-set properties (0..255).
const TTypeInfo* TypeInfo_TFontCharset();

}  // namespace frxFont

using TfrxColor = Integer;
constexpr TfrxColor clNoColor = 0x1FFFFFFF;  // no colour (transparent)

class TfrxFont : public TPersistent {
  PELTO_CLASS(TfrxFont, TPersistent)
public:
  TfrxFont() = default;

  // Copies every property from another TfrxFont, then reports the change.
  void Assign(TPersistent* Source) override;
  bool Equals(const TfrxFont& Other) const;

  Integer GetCharset() const { return FCharset; }
  void SetCharset(Integer Value);
  TfrxColor GetColor() const { return FColor; }
  void SetColor(TfrxColor Value);
  // Character height in pixels, negative as in a logical font.
  Integer GetHeight() const { return FHeight; }
  void SetHeight(Integer Value);
  const AnsiString& GetName() const { return FName; }
  void SetName(const AnsiString& Value);
  frxFont::TFontPitch GetPitch() const { return FPitch; }
  void SetPitch(frxFont::TFontPitch Value);
  // Points, from Height at PixelsPerInch.
  Integer GetSize() const;
  void SetSize(Integer Value);
  frxFont::TFontStyles GetStyle() const { return FStyle; }
  void SetStyle(frxFont::TFontStyles Value);
  Integer GetPixelsPerInch() const { return FPixelsPerInch; }

  // Told after every change.
  std::function<void(TObject* Sender)> OnChange;

  PELTO_PUBLISHED(p)
  {
    p.Property("Charset", frxFont::TypeInfo_TFontCharset(), &TfrxFont::GetCharset, &TfrxFont::SetCharset);
    p.Property("Color", frxFont::TypeInfo_TColor(), &TfrxFont::GetColor, &TfrxFont::SetColor);
    p.Property("Height", &TfrxFont::GetHeight, &TfrxFont::SetHeight);
    p.Property("Name", &TfrxFont::GetName, &TfrxFont::SetName);
    p.Property("Pitch", &TfrxFont::GetPitch, &TfrxFont::SetPitch).Default(frxFont::fpDefault);
    p.Property("Size", &TfrxFont::GetSize, &TfrxFont::SetSize).Stored(false);
    p.Property("Style", &TfrxFont::GetStyle, &TfrxFont::SetStyle);
  }

private:
  void Changed();

  Integer FCharset = 1;  // DEFAULT_CHARSET
  TfrxColor FColor = 0;
  Integer FHeight = -13;  // 10 points at 96 dpi
  AnsiString FName = "Arial";
  frxFont::TFontPitch FPitch = frxFont::fpDefault;
  frxFont::TFontStyles FStyle;
  Integer FPixelsPerInch = 96;
};
