// The enumerations the standard controls share, with their type information.
#pragma once

#include "platform/classes/TextAlignment.h"
#include "platform/forms/controls/ControlEnums.h"

PELTO_ENUM(TEditCharCase, ecNormal, ecUpperCase, ecLowerCase)
PELTO_ENUM(TScrollStyle, ssNone, ssHorizontal, ssVertical, ssBoth)
PELTO_ENUM(TCheckBoxState, cbUnchecked, cbChecked, cbGrayed)
// The side of a check box's caption: taLeftJustify puts it left of the box.
PELTO_TYPE_ALIAS(TLeftRight, TAlignment)
PELTO_ENUM(TButtonLayout, blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom)
// The states a glyph shows, in the order of the images of a multi-image glyph.
PELTO_ENUM(TButtonState, bsUp, bsDisabled, bsDown, bsExclusive)
PELTO_ENUM(TBitBtnKind, bkCustom, bkOK, bkCancel, bkHelp, bkYes, bkNo, bkClose, bkAbort, bkRetry, bkIgnore, bkAll)
PELTO_ENUM(TListBoxStyle, lbStandard, lbOwnerDrawFixed, lbOwnerDrawVariable, lbVirtual, lbVirtualOwnerDraw)
PELTO_ENUM(TOwnerDrawStateItem, odSelected, odGrayed, odDisabled, odChecked, odFocused, odDefault, odHotLight,
           odInactive, odNoAccel, odNoFocusRect, odReserved1, odReserved2, odComboBoxEdit)
PELTO_SET(TOwnerDrawState, TOwnerDrawStateItem)
PELTO_EVENT_TYPE(TDrawItemEvent, void(TObject* Control, int Index, RECT Rect, TOwnerDrawState State))
PELTO_EVENT_TYPE(TMeasureItemEvent, void(TObject* Control, int Index, int& Height))
PELTO_EVENT_TYPE(TLBGetDataEvent, void(TObject* Control, int Index, AnsiString& Data))
PELTO_EVENT_TYPE(TLBGetDataObjectEvent, void(TObject* Control, int Index, TObject*& DataObject))
PELTO_EVENT_TYPE(TLBFindDataEvent, int(TObject* Control, const AnsiString& FindString))

// The owner-draw state of a DRAWITEMSTRUCT's itemState.
TOwnerDrawState OwnerDrawStateOf(UINT ItemState);
PELTO_ENUM(TComboBoxStyle, csDropDown, csSimple, csDropDownList, csOwnerDrawFixed, csOwnerDrawVariable)
