#include "platform/forms/graphics/ColorNames.h"

#include <cstdio>

#include "platform/rtl/Conversions.h"
#include "platform/rtl/StringUtils.h"

namespace Graphics {

const std::vector<TColorIdent>& ColorIdents()
{
  static const std::vector<TColorIdent> Table = {
      {clBlack, "clBlack"},
      {clMaroon, "clMaroon"},
      {clGreen, "clGreen"},
      {clOlive, "clOlive"},
      {clNavy, "clNavy"},
      {clPurple, "clPurple"},
      {clTeal, "clTeal"},
      {clGray, "clGray"},
      {clSilver, "clSilver"},
      {clRed, "clRed"},
      {clLime, "clLime"},
      {clYellow, "clYellow"},
      {clBlue, "clBlue"},
      {clFuchsia, "clFuchsia"},
      {clAqua, "clAqua"},
      {clWhite, "clWhite"},
      {clMoneyGreen, "clMoneyGreen"},
      {clSkyBlue, "clSkyBlue"},
      {clCream, "clCream"},
      {clMedGray, "clMedGray"},
      {clActiveBorder, "clActiveBorder"},
      {clActiveCaption, "clActiveCaption"},
      {clAppWorkSpace, "clAppWorkSpace"},
      {clBackground, "clBackground"},
      {clBtnFace, "clBtnFace"},
      {clBtnHighlight, "clBtnHighlight"},
      {clBtnShadow, "clBtnShadow"},
      {clBtnText, "clBtnText"},
      {clCaptionText, "clCaptionText"},
      {clDefault, "clDefault"},
      {clGradientActiveCaption, "clGradientActiveCaption"},
      {clGradientInactiveCaption, "clGradientInactiveCaption"},
      {clGrayText, "clGrayText"},
      {clHighlight, "clHighlight"},
      {clHighlightText, "clHighlightText"},
      {clHotLight, "clHotLight"},
      {clInactiveBorder, "clInactiveBorder"},
      {clInactiveCaption, "clInactiveCaption"},
      {clInactiveCaptionText, "clInactiveCaptionText"},
      {clInfoBk, "clInfoBk"},
      {clInfoText, "clInfoText"},
      {clMenu, "clMenu"},
      {clMenuBar, "clMenuBar"},
      {clMenuHighlight, "clMenuHighlight"},
      {clMenuText, "clMenuText"},
      {clNone, "clNone"},
      {clScrollBar, "clScrollBar"},
      {cl3DDkShadow, "cl3DDkShadow"},
      {cl3DLight, "cl3DLight"},
      {clWindow, "clWindow"},
      {clWindowFrame, "clWindowFrame"},
      {clWindowText, "clWindowText"},
  };
  return Table;
}

bool ColorToIdent(TColor Color, AnsiString& Ident)
{
  for (const TColorIdent& C : ColorIdents())
    if (C.Value == Color) {
      Ident = C.Name;
      return true;
    }
  return false;
}

bool IdentToColor(const AnsiString& Ident, TColor& Color)
{
  for (const TColorIdent& C : ColorIdents())
    if (SysUtils::SameText(Ident, C.Name)) {
      Color = C.Value;
      return true;
    }
  return false;
}

AnsiString ColorToString(TColor Color)
{
  AnsiString Ident;
  if (ColorToIdent(Color, Ident)) return Ident;
  char Buf[12];
  std::snprintf(Buf, sizeof Buf, "$%.8X", static_cast<unsigned>(Color));
  return Buf;
}

TColor StringToColor(const AnsiString& Text)
{
  TColor Color;
  if (IdentToColor(Text, Color)) return Color;
  return static_cast<TColor>(SysUtils::StrToInt(Text));
}

void GetColorValues(const std::function<void(const AnsiString&)>& Proc)
{
  for (const TColorIdent& C : ColorIdents()) Proc(C.Name);
}

}  // namespace Graphics
