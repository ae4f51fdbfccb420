// The enumerations and event types of the editor framework (those the painting routines share
// are in paint/cxEditTypes.h), kept apart from the classes so that the grid and the concrete
// editors can name them without pulling in the editor control.
#pragma once

#include <functional>

#include "controls/editors/paint/cxEditTypes.h"
#include "platform/classes/ClassDecl.h"
#include "platform/rtl/Variants.h"

class TObject;
class TcxCustomEdit;
class TcxCustomEditProperties;
class TcxCustomEditStyle;
class TcxCustomEditViewData;
class TcxCustomEditViewInfo;
class TcxEditButtonViewInfo;

PELTO_ENUM(TcxEditButtonTransparency, ebtNone, ebtInactive, ebtAlways, ebtHideInactive, ebtHideUnselected)
PELTO_ENUM(TcxEditVertAlignment, taTopJustify, taBottomJustify, taVCenter)

// Bits of TcxCustomEditProperties::GetSupportedOperations, as the grid tests them.
enum TcxEditSupportedOperation {
  esoAlwaysHotTrack = 0,
  esoAutoHeight = 1,
  esoFiltering = 2,
  esoEditing = 3,
  esoHotTrack = 4,
  esoIncSearch = 5,
  esoSorting = 7,
  esoSortingByDisplayText = 8
};
using TcxEditSupportedOperations = unsigned;

// Bits of GetDisplayFormatOptions.
enum TcxEditDisplayFormatOption { dfoSupports = 0, dfoNoCurrencyValue = 1 };
using TcxEditDisplayFormatOptions = unsigned;

// The paint options a grid cell fills in a view data before the calculation.
enum TcxEditPaintOption { epoAllowZeroHeight = 0, epoAutoHeight = 1, epoShowEndEllipsis = 2 };
using TcxEditPaintOptions = unsigned;

// The limits of a size calculation: a maximum line count (0: none) and a width limit (negative: none).
struct TcxEditSizeProperties {
  int MaxLineCount = 0;
  int Width = -1;
};

using TcxEditButtonClickEvent = std::function<void(TObject* Sender, int AButtonIndex)>;
using TcxEditValidateEvent =
    std::function<void(TObject* Sender, Variant& DisplayValue, AnsiString& ErrorText, bool& Error)>;
using TcxEditEditingEvent = std::function<void(TObject* Sender, bool& CanEdit)>;
using TcxNewLookupDisplayTextEvent = std::function<void(TObject* Sender, const AnsiString& AText)>;
