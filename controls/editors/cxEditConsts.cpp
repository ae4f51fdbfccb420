#include "controls/editors/cxEditConsts.h"

#include "controls/editors/cxResourceStrings.h"

namespace cxEditConsts {

namespace {

struct TBuiltInText {
  int Id;
  const char* Text;
};

// In string-table order.
constexpr TBuiltInText BuiltInTexts[] = {
    {sDateConvertError, "Could not convert to date"},
    {sRepositoryItemNotAcceptable, "The repository item is not acceptable"},
    {sNumericConvertError, "Could not convert to numeric value"},
    {sCircularReference, "Circular referencing is not allowed"},
    {sTimeConvertError, "Could not convert to time"},
    {sInvalidInputValue, "Invalid input value. Use escape key to abandon changes"},
    {sValueOutOfBounds, "Value out of bounds"},
    {sCheckBoxTrue, "True"},
    {sCheckBoxTrueShort, ""},
    {sCheckBoxFalse, "False"},
    {sCheckBoxFalseShort, ""},
    {sPopupOk, "&OK"},
    {sPopupCancel, "&Cancel"},
    {sPopupClose, "&Close"},
    {sMemoUpper, "(MEMO)"},
    {sMemoLower, "(memo)"},
    {sPictureUpper, "(PICTURE)"},
    {sPictureLower, "(picture)"},
    {sMenuCut, "Cu&t"},
    {sMenuCopy, "&Copy"},
    {sMenuPaste, "&Paste"},
    {sMenuDelete, "&Delete"},
    {sMenuLoad, "&Load..."},
    {sMenuSaveAs, "Save &As..."},
    {sCalendarClear, "Clear"},
    {sCalendarToday, "Today"},
    {sInvalidDate, "Invalid Date"},
    {sWordToday, "today"},
    {sWordYesterday, "yesterday"},
    {sWordTomorrow, "tomorrow"},
    {sWordSunday, "Sunday"},
    {sWordMonday, "Monday"},
    {sWordTuesday, "Tuesday"},
    {sWordWednesday, "Wednesday"},
    {sWordThursday, "Thursday"},
    {sWordFriday, "Friday"},
    {sWordSaturday, "Saturday"},
    {sWordFirst, "first"},
    {sWordSecond, "second"},
    {sWordThird, "third"},
    {sWordFourth, "fourth"},
    {sWordFifth, "fifth"},
    {sWordSixth, "sixth"},
    {sWordSeventh, "seventh"},
    {sWordBom, "bom"},
    {sWordEom, "eom"},
    {sWordNow, "now"},
    {sError, "Error"},
    {sEditorBlob, "BlobEdit|Represents the BLOB editor"},
    {sEditorButton, "ButtonEdit|Represents an edit control with embedded buttons"},
    {sEditorCalc, "CalcEdit|Represents an edit control with a dropdown calculator window"},
    {sEditorCheckBox, "CheckBox|Represents a check box control that allows selecting an option"},
    {sEditorComboBox, "ComboBox|Represents the combo box editor"},
    {sEditorCurrency, "CurrencyEdit|Represents an editor enabling editing currency data"},
    {sEditorDate, "DateEdit|Represents an edit control with a dropdown calendar"},
    {sEditorHyperLink, "HyperLink|Represents a text editor with hyperlink functionality"},
    {sEditorImageComboBox,
     "ImageComboBox|Represents an editor displaying the list of images and text strings within the dropdown window"},
    {sEditorImage, "Image|Represents an image editor"},
    {sEditorLookupComboBox, "LookupComboBox|Represents a lookup combo box control"},
    {sEditorMask, "MaskEdit|Represents a generic masked edit control."},
    {sEditorMemo, "Memo|Represents an edit control that allows editing memo data"},
    {sEditorMRU,
     "MRUEdit|Represents a text editor displaying the list of most recently used items (MRU) within a dropdown window"},
    {sEditorPopup, "PopupEdit|Represents an edit control with a dropdown list"},
    {sEditorSpin, "SpinEdit|Represents a spin editor"},
    {sEditorRadioGroup, "RadioGroup|Represents a group of radio buttons"},
    {sEditorText, "TextEdit|Represents a single line text editor"},
    {sEditorTime, "TimeEdit|Represents an editor displaying time values"},
    {sRegExprLine, "Line"},
    {sRegExprChar, "Char"},
    {sRegExprNotAssignedSourceStream, "The source stream is not assigned"},
    {sRegExprEmptySourceStream, "The source stream is empty"},
    {sRegExprCantUsePlusQuantifier, "The '+' quantifier cannot be applied here"},
    {sRegExprCantUseStarQuantifier, "The '*' quantifier cannot be applied here"},
    {sRegExprEmptyAlternative, "The alternative should not be empty"},
    {sRegExprEmptyBlock, "The block should not be empty"},
    {sRegExprIllegalSymbol, "Illegal '%s'"},
    {sRegExprIllegalQuantifier, "Illegal quantifier '%s'"},
    {sRegExprIllegalIntegerValue, "Illegal integer value"},
    {sRegExprTooBigReferenceNumber, "Too big reference number"},
    {sRegExprCantCreateEmptyEnum, "Can't create empty enumeration"},
    {sRegExprSubrangeOrder, "The starting character of the subrange must be less than the finishing one"},
    {sRegExprHexNumberExpected0, "Hexadecimal number expected"},
    {sRegExprHexNumberExpected, "Hexadecimal number expected but '%s' found"},
    {sRegExprMissing, "Missing '%s'"},
    {sRegExprUnnecessary, "Unnecessary '%s'"},
    {sRegExprIncorrectSpace, "The space character is not allowed after '\\'"},
    {sRegExprNotCompiled, "Regular expression is not compiled"},
    {sRegExprIncorrectParameterQuantifier, "Incorrect parameter quantifier"},
    {sRegExprCantUseParameterQuantifier, "The parameter quantifier cannot be applied here"},
    {sMaskEditRegExprError, "Regular expression errors:"},
    {sMaskEditInvalidEditValue, "The edit value is invalid"},
    {sMaskEditInvalidNumericValue, "Invalid numeric value"},
};

}  // namespace

void Initialize()
{
  for (const TBuiltInText& t : BuiltInTexts) cxResourceStrings::RegisterResourceString(t.Id, t.Text);
}

void Finalize() {}

}  // namespace cxEditConsts
