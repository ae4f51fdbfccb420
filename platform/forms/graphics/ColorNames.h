// The named colours: the system colours Colors.h leaves out, the four extra fixed colours, and
// the table of the 52 colour names that every user of colour names shares (the object
// inspector, the report files, the scripts).
#pragma once

#include <functional>
#include <vector>

#include "platform/forms/graphics/Colors.h"

constexpr TColor clActiveBorder = clSystemColor | COLOR_ACTIVEBORDER;
constexpr TColor clInactiveBorder = clSystemColor | COLOR_INACTIVEBORDER;
constexpr TColor clAppWorkSpace = clSystemColor | COLOR_APPWORKSPACE;
constexpr TColor clInactiveCaptionText = clSystemColor | COLOR_INACTIVECAPTIONTEXT;
constexpr TColor clHotLight = clSystemColor | COLOR_HOTLIGHT;
constexpr TColor clGradientActiveCaption = clSystemColor | COLOR_GRADIENTACTIVECAPTION;
constexpr TColor clGradientInactiveCaption = clSystemColor | COLOR_GRADIENTINACTIVECAPTION;
constexpr TColor clMenuHighlight = clSystemColor | COLOR_MENUHILIGHT;
constexpr TColor clMenuBar = clSystemColor | COLOR_MENUBAR;
constexpr TColor clMoneyGreen = 0xC0DCC0, clSkyBlue = 0xF0CAA6, clCream = 0xF0FBFF, clMedGray = 0xA4A0A0;

namespace Graphics {

struct TColorIdent {
  TColor Value;
  const char* Name;
};
// The 52 named colours in the table's order.
const std::vector<TColorIdent>& ColorIdents();
// The name of Color; False (Ident untouched) for a colour without one.
bool ColorToIdent(TColor Color, AnsiString& Ident);
// The colour of a name, ASCII case ignored; False (Color untouched) for an unknown name.
bool IdentToColor(const AnsiString& Ident, TColor& Color);
// The name, or "$%.8X" for a colour without one.
AnsiString ColorToString(TColor Color);
// A name or a number (decimal or "$" hex); raises EConvertError for anything else.
TColor StringToColor(const AnsiString& Text);
// Calls Proc with each name in the table's order.
void GetColorValues(const std::function<void(const AnsiString&)>& Proc);

}  // namespace Graphics
