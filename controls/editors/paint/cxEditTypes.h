// The editors' shared enumerations: border, button and pop-up border styles, button kinds, the
// check box's states and the spin editor's button arrangement.
#pragma once

#include "platform/classes/ClassDecl.h"

// Same order as the container's border styles, so one converts to the other by value.
PELTO_ENUM(TcxEditBorderStyle, ebsNone, ebsSingle, ebsThick, ebsFlat, ebs3D, ebsUltraFlat)
PELTO_ENUM(TcxEditButtonStyle, btsDefault, bts3D, btsFlat, btsSimple, btsHotFlat, btsUltraFlat)
PELTO_ENUM(TcxEditButtonKind, bkEllipsis, bkDown, bkGlyph)
PELTO_ENUM(TcxEditPopupBorderStyle, epbsDefault, epbsSingle, epbsFrame3D, epbsFlat)
PELTO_ENUM(TcxCheckBoxState, cbsUnchecked, cbsChecked, cbsGrayed)
PELTO_ENUM(TcxCheckBoxNullValueShowingStyle, nssUnchecked, nssInactive, nssGrayedChecked)
PELTO_ENUM(TcxCheckMarkState, cmsNormal, cmsHot, cmsPressed, cmsDisabled)
PELTO_ENUM(TcxSpinEditButtonsPosition, sbpHorzLeftRight, sbpHorzRight, sbpVert)

// The state of an editor button's view info.
constexpr int cxEditButtonDisabled = 0, cxEditButtonNormal = 1, cxEditButtonPressed = 2, cxEditButtonHot = 3;
