#include "report/engine/model/frxFont.h"

#include "platform/rtl/MathUtils.h"

namespace frxFont {

const TTypeInfo* TypeInfo_TColor()
{
  static const TTypeInfo* type = TypInfo::MakeAliasType("TColor", TypInfo::TypeInfo<Integer>());
  return type;
}

const TTypeInfo* TypeInfo_TFontCharset()
{
  static const TTypeInfo* type = TypInfo::MakeOrdinalType("TFontCharset", tkInteger, otUByte, 0, 255);
  return type;
}

}  // namespace frxFont

void TfrxFont::Assign(TPersistent* Source)
{
  auto* src = dynamic_cast<TfrxFont*>(Source);
  if (!src) {
    TPersistent::Assign(Source);
    return;
  }
  FCharset = src->FCharset;
  FColor = src->FColor;
  FHeight = src->FHeight;
  FName = src->FName;
  FPitch = src->FPitch;
  FStyle = src->FStyle;
  FPixelsPerInch = src->FPixelsPerInch;
  Changed();
}

bool TfrxFont::Equals(const TfrxFont& Other) const
{
  return FCharset == Other.FCharset && FColor == Other.FColor && FHeight == Other.FHeight &&
         FName == Other.FName && FPitch == Other.FPitch && FStyle == Other.FStyle;
}

void TfrxFont::Changed()
{
  if (OnChange) OnChange(this);
}

void TfrxFont::SetCharset(Integer Value)
{
  FCharset = Value & 0xFF;
  Changed();
}
void TfrxFont::SetColor(TfrxColor Value)
{
  FColor = Value;
  Changed();
}
void TfrxFont::SetHeight(Integer Value)
{
  FHeight = Value;
  Changed();
}
void TfrxFont::SetName(const AnsiString& Value)
{
  FName = Value;
  Changed();
}
void TfrxFont::SetPitch(frxFont::TFontPitch Value)
{
  FPitch = Value;
  Changed();
}
Integer TfrxFont::GetSize() const { return -Math::MulDiv(FHeight, 72, FPixelsPerInch); }
void TfrxFont::SetSize(Integer Value) { SetHeight(-Math::MulDiv(Value, FPixelsPerInch, 72)); }
void TfrxFont::SetStyle(frxFont::TFontStyles Value)
{
  FStyle = Value;
  Changed();
}
