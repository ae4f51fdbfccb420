// The data-aware controls' shared pieces: registration for stored forms, and what every one of
// them does with its link (the data source reference, the field's valid characters, writing the
// record on leaving).
#pragma once

#include <functional>

#include "platform/rtl/System.h"

class TField;
class TFieldDataLink;
class TWinControl;

namespace DBCtrls {
// Registers TDBEdit, TDBComboBox and TDBCheckBox after the standard controls. Idempotent.
void Initialize();

// Whether a typed byte may go into the field: numeric fields take digits and their signs,
// points and exponents; other fields and a missing field take everything.
bool IsValidChar(const TField* Field, char Key);
// What typing does to a data-aware text box: a byte the field does not take beeps and is
// dropped (a refused lead byte takes its trail byte along: SkipTrail carries that between
// calls); a change puts the dataset into edit state and is dropped when it cannot; Escape drops
// the box's changes. Answers whether the key goes on to the box (Key is 0 otherwise).
bool FilterKey(TFieldDataLink& Link, char& Key, bool& SkipTrail, const std::function<void()>& SelectAll);
// Leaving the control writes its value into the record. A refused write selects the control's
// text, keeps the focus on it and raises on (the application shows the error).
void UpdateRecordOnExit(TWinControl* Control, TFieldDataLink& Link, const std::function<void()>& SelectAll);
}  // namespace DBCtrls
