// The editors' texts: conversion and validation errors, captions, the smart date words, the
// registered editors' names and descriptions, and the regular-expression and mask errors.
//
// Each constant is a string-table identifier; read the text with
// cxResourceStrings::GetResourceString, never keep it, so a localised text shows at once.
// A registered-editor text is "Name|Description".
#pragma once

namespace cxEditConsts {
constexpr int sDateConvertError = 64914;
constexpr int sRepositoryItemNotAcceptable = 64915;
constexpr int sNumericConvertError = 64916;
constexpr int sCircularReference = 64917;
constexpr int sTimeConvertError = 64918;
constexpr int sInvalidInputValue = 64919;
constexpr int sValueOutOfBounds = 64920;
constexpr int sCheckBoxTrue = 64921;
constexpr int sCheckBoxTrueShort = 64922;
constexpr int sCheckBoxFalse = 64923;
constexpr int sCheckBoxFalseShort = 64924;
constexpr int sPopupOk = 64925;
constexpr int sPopupCancel = 64926;
constexpr int sPopupClose = 64927;
constexpr int sMemoUpper = 64896;
constexpr int sMemoLower = 64897;
constexpr int sPictureUpper = 64898;
constexpr int sPictureLower = 64899;
constexpr int sMenuCut = 64900;
constexpr int sMenuCopy = 64901;
constexpr int sMenuPaste = 64902;
constexpr int sMenuDelete = 64903;
constexpr int sMenuLoad = 64904;
constexpr int sMenuSaveAs = 64905;
constexpr int sCalendarClear = 64906;
constexpr int sCalendarToday = 64907;
constexpr int sInvalidDate = 64908;
constexpr int sWordToday = 64909;
constexpr int sWordYesterday = 64910;
constexpr int sWordTomorrow = 64911;
constexpr int sWordSunday = 64880;
constexpr int sWordMonday = 64881;
constexpr int sWordTuesday = 64882;
constexpr int sWordWednesday = 64883;
constexpr int sWordThursday = 64884;
constexpr int sWordFriday = 64885;
constexpr int sWordSaturday = 64886;
constexpr int sWordFirst = 64887;
constexpr int sWordSecond = 64888;
constexpr int sWordThird = 64889;
constexpr int sWordFourth = 64890;
constexpr int sWordFifth = 64891;
constexpr int sWordSixth = 64892;
constexpr int sWordSeventh = 64893;
constexpr int sWordBom = 64894;
constexpr int sWordEom = 64895;
constexpr int sWordNow = 64864;
constexpr int sError = 64865;
constexpr int sEditorBlob = 64866;
constexpr int sEditorButton = 64867;
constexpr int sEditorCalc = 64868;
constexpr int sEditorCheckBox = 64869;
constexpr int sEditorComboBox = 64870;
constexpr int sEditorCurrency = 64871;
constexpr int sEditorDate = 64872;
constexpr int sEditorHyperLink = 64873;
constexpr int sEditorImageComboBox = 64874;
constexpr int sEditorImage = 64875;
constexpr int sEditorLookupComboBox = 64876;
constexpr int sEditorMask = 64877;
constexpr int sEditorMemo = 64878;
constexpr int sEditorMRU = 64879;
constexpr int sEditorPopup = 64848;
constexpr int sEditorSpin = 64849;
constexpr int sEditorRadioGroup = 64850;
constexpr int sEditorText = 64851;
constexpr int sEditorTime = 64852;
constexpr int sRegExprLine = 64853;
constexpr int sRegExprChar = 64854;
constexpr int sRegExprNotAssignedSourceStream = 64855;
constexpr int sRegExprEmptySourceStream = 64856;
constexpr int sRegExprCantUsePlusQuantifier = 64857;
constexpr int sRegExprCantUseStarQuantifier = 64858;
constexpr int sRegExprEmptyAlternative = 64859;
constexpr int sRegExprEmptyBlock = 64860;
constexpr int sRegExprIllegalSymbol = 64861;
constexpr int sRegExprIllegalQuantifier = 64862;
constexpr int sRegExprIllegalIntegerValue = 64863;
constexpr int sRegExprTooBigReferenceNumber = 64832;
constexpr int sRegExprCantCreateEmptyEnum = 64833;
constexpr int sRegExprSubrangeOrder = 64834;
constexpr int sRegExprHexNumberExpected0 = 64835;
constexpr int sRegExprHexNumberExpected = 64836;
constexpr int sRegExprMissing = 64837;
constexpr int sRegExprUnnecessary = 64838;
constexpr int sRegExprIncorrectSpace = 64839;
constexpr int sRegExprNotCompiled = 64840;
constexpr int sRegExprIncorrectParameterQuantifier = 64841;
constexpr int sRegExprCantUseParameterQuantifier = 64842;
constexpr int sMaskEditRegExprError = 64843;
constexpr int sMaskEditInvalidEditValue = 64844;
constexpr int sMaskEditInvalidNumericValue = 64845;

// Registers the built-in texts above (idempotent; keeps replacements already set).
void Initialize();
void Finalize();

}  // namespace cxEditConsts
