// The data-aware controls' shared pieces: registration for stored forms, and what every one of
// them does with its link (the data source reference, the field's valid characters, writing the
// record on leaving).
#pragma once

#include <functional>

#include "platform/rtl/System.h"

class TComponent;
class TDataSource;
class TField;
class TFieldDataLink;
class TWinControl;

namespace DBCtrls {
// Registers TDBEdit, TDBComboBox and TDBCheckBox after the standard controls. Idempotent.
void Initialize();

// Points the link at Value, asking to be told when the source is freed.
void SetDataSource(TComponent* Control, TFieldDataLink& Link, TDataSource* Value);
// Whether a typed byte may go into the field: numeric fields take digits and their signs,
// points and exponents; other fields and a missing field take everything.
bool IsValidChar(const TField* Field, char Key);
// Leaving the control writes its value into the record. A refused write selects the control's
// text, keeps the focus on it and raises on (the application shows the error).
void UpdateRecordOnExit(TWinControl* Control, TFieldDataLink& Link, const std::function<void()>& SelectAll);
}  // namespace DBCtrls
