// What a column's cells show and how user actions write back: display text, check state, image
// index, editability, writing through OnUpdateData and stepping to the next value.
#include <memory>

#include "gridkit/edits/MRUListEh.h"
#include "gridkit/filter/STFilterEh.h"
#include "platform/forms/graphics/Font.h"
#include "gridkit/model/ColumnsEh.h"
#include "gridkit/model/DBGridEhModel.h"
#include "gridkit/model/GridDataLinkEh.h"
#include "gridkit/model/GridHostEh.h"
#include "platform/db/DataSet.h"
#include "platform/db/Fields.h"
#include "platform/rtl/Conversions.h"
#include "platform/rtl/FormatText.h"
#include "platform/rtl/StringUtils.h"
#include "platform/rtl/Variants.h"

namespace DBGridEh {

AnsiString FormatFieldForDisplay(TField* Field, const AnsiString& DisplayFormat)
{
  if (DisplayFormat.empty()) return Field->GetDisplayText();
  if (Field->IsNull()) return AnsiString();
  if (dynamic_cast<TNumericField*>(Field)) return SysUtils::FormatFloat(DisplayFormat, Field->GetAsFloat());
  if (dynamic_cast<TDateTimeField*>(Field)) {
    AnsiString out;
    SysUtils::DateTimeToString(out, DisplayFormat, Field->GetAsDateTime());
    return out;
  }
  return AnsiString();
}

bool ValueListContains(const AnsiString& ValueList, const AnsiString& Value)
{
  if (ValueList.empty()) return false;
  std::size_t start = 0;
  for (;;) {
    std::size_t end = ValueList.find(';', start);
    AnsiString piece =
        SysUtils::Trim(ValueList.substr(start, end == AnsiString::npos ? AnsiString::npos : end - start));
    if (SysUtils::AnsiCompareText(piece, Value) == 0) return true;
    if (end == AnsiString::npos) return false;
    start = end + 1;
  }
}

bool LookupValueFound(TField* Field)
{
  TDataSet* lookup = Field->GetLookupDataSet();
  return lookup && lookup->GetActive() && !Field->IsNull();
}

}  // namespace DBGridEh

namespace {
// Memo fields of either width (the engine's text blobs arrive as wide memos).
bool IsMemo(const TField* Field) { return Field->GetDataType() == ftMemo || Field->GetDataType() == ftWideMemo; }

bool IsNumericType(TFieldType T)
{
  switch (T) {
    case ftSmallint:
    case ftInteger:
    case ftWord:
    case ftFloat:
    case ftCurrency:
    case ftBCD:
    case ftFMTBcd: return true;
    default: return false;
  }
}
}  // namespace

AnsiString TColumnEh::CellDisplayText()
{
  TField* field = GetField();
  if (!field || GetColumnKind() == ckImages) return AnsiString();
  if (GetKeyList()->GetCount() > 0) {
    Integer i = GetKeyList()->IndexOf(field->GetText());
    Integer picks = GetPickList()->GetCount();
    if (i >= 0 && i < picks) return GetPickList()->GetStrings(i);
    if (FNotInKeyListIndex >= 0 && FNotInKeyListIndex < picks) return GetPickList()->GetStrings(FNotInKeyListIndex);
    return AnsiString();
  }
  TDBGridEhModel* grid = GetOwnerGrid();
  if (grid && grid->DrawMemoText && IsMemo(field)) return field->GetAsString();
  if (GetColumnKind() == ckLookup && FDropDownSpecRow->GetVisible()) {
    Variant key = field->GetDataSet()->GetFieldValues(field->GetKeyFields());
    if (Variants::VarSameValue(key, FDropDownSpecRow->GetValue())) return FDropDownSpecRow->GetCellsText();
    if (FDropDownSpecRow->GetShowIfNotInKeyList() && !DBGridEh::LookupValueFound(field))
      return FDropDownSpecRow->GetCellsText();
  }
  return DBGridEh::FormatFieldForDisplay(field, FDisplayFormat);
}

TCheckBoxState TColumnEh::ReadCheckState()
{
  TField* field = GetField();
  if (!field) return cbUnchecked;
  if (field->IsNull()) return cbGrayed;
  if (field->GetDataType() == ftBoolean) return field->GetAsBoolean() ? cbChecked : cbUnchecked;
  AnsiString text = field->GetText();
  TStrings* keys = GetKeyList();
  if (keys->GetCount() > 0 && DBGridEh::ValueListContains(keys->GetStrings(0), text)) return cbChecked;
  if (keys->GetCount() < 2) return cbGrayed;
  return DBGridEh::ValueListContains(keys->GetStrings(1), text) ? cbUnchecked : cbGrayed;
}

void TColumnEh::WriteCheckState(TCheckBoxState State)
{
  TField* field = GetField();
  if (!field) return;
  if (State == cbGrayed) {
    WriteValue(AnsiString(), Variant::Null(), false);
    return;
  }
  if (field->GetDataType() == ftBoolean) {
    WriteValue(AnsiString(), State == cbChecked, false);
    return;
  }
  TStrings* keys = GetKeyList();
  Integer line = State == cbChecked ? 0 : 1;
  AnsiString l = keys->GetCount() > line ? keys->GetStrings(line) : AnsiString();
  AnsiString piece = SysUtils::Trim(l.substr(0, l.find(';')));
  WriteValue(piece, piece, true);
}

Integer TColumnEh::CellImageIndex()
{
  TField* field = GetField();
  Integer result = -1;
  if (!field) return -1;
  if (GetKeyList()->GetCount() > 0)
    result = GetKeyList()->IndexOf(field->GetText());
  else if (GetPickList()->GetCount() > 0)
    result = GetPickList()->IndexOf(field->GetText());
  else if (IsNumericType(field->GetDataType()))
    result = field->GetAsInteger();
  return result == -1 ? FNotInKeyListIndex : result;
}

bool TColumnEh::CanEditValue(bool StartEdit, bool AcceptsBinary)
{
  TDBGridEhModel* grid = GetOwnerGrid();
  TGridDataLinkEh* link = grid ? grid->GetDataLink() : nullptr;
  bool allowed = (!grid || (!grid->ReadOnly && link && link->GetActive() && !link->GetReadOnly())) && !GetReadOnly();
  TField* field = GetField();
  if (!field) return false;
  TField* target = field;
  if (field->GetFieldKind() == fkLookup) {
    allowed = allowed && !field->GetKeyFields().empty();
    if (allowed) {
      auto keys = field->GetDataSet()->GetFieldList(field->GetKeyFields());
      target = keys.front();
      for (TField* k : keys) allowed = allowed && k->CanModify();
    }
  }
  if (allowed) {
    allowed =
        target->CanModify() &&
        (!target->IsBlob() || AcceptsBinary || target->OnSetText || (grid && grid->DrawMemoText && IsMemo(target))) &&
        (!grid || grid->AllowedOperationUpdate());
  }
  if (StartEdit && allowed && link) {
    link->Edit();
    allowed = link->GetEditing();
    if (allowed) link->MarkEditorTextChanged();
  }
  return allowed;
}

void TColumnEh::WriteValue(const AnsiString& Text, const Variant& Value, bool UseText)
{
  TDBGridEhModel* grid = GetOwnerGrid();
  if (!grid) return;
  AnsiString text = Text;
  Variant value = Value;
  bool useText = UseText, handled = false;
  if (OnUpdateData) {
    OnUpdateData(this, text, value, useText, handled);
    if (handled) return;
  }
  TField* field = GetField();
  if (!field) return;
  if (useText) {
    if (grid->DrawMemoText && IsMemo(field))
      field->SetAsString(text);
    else
      field->SetText(text);
  } else if (field->GetFieldKind() == fkLookup && !field->GetKeyFields().empty()) {
    field->GetDataSet()->SetFieldValues(field->GetKeyFields(), value);
  } else {
    field->SetValue(value);
  }
  IDBGridEhHost* host = grid->GetHost();
  if (FMRUList->GetActive() && FMRUList->GetAutoAdd() && host && host->InplaceEditorShowing()) FMRUList->AddValue(text);
}

void TColumnEh::StepValue(double Step)
{
  TDBGridEhModel* grid = GetOwnerGrid();
  TGridDataLinkEh* link = grid ? grid->GetDataLink() : nullptr;
  TField* field = GetField();
  if (!field) return;
  bool allowed = (!grid || (!grid->ReadOnly && link && link->GetActive() && !link->GetReadOnly())) && !GetReadOnly();
  TField* target = field;
  if (allowed && field->GetFieldKind() == fkLookup) {
    allowed = !field->GetKeyFields().empty();
    if (allowed) {
      auto keys = field->GetDataSet()->GetFieldList(field->GetKeyFields());
      target = keys.front();
      for (TField* k : keys) allowed = allowed && k->CanModify();
    }
  }
  allowed = allowed && target->CanModify() && (!target->IsBlob() || target->OnSetText) &&
            (!grid || grid->AllowedOperationUpdate());
  if (!allowed || !link) return;
  link->Edit();
  if (!link->GetEditing()) return;
  link->MarkEditorTextChanged();

  IDBGridEhHost* host = grid->GetHost();
  AnsiString current = host && host->InplaceEditorShowing() ? host->InplaceEditorText() : field->GetText();
  bool forward = Step == 1;
  switch (GetColumnKind()) {
    case ckCheckboxes: WriteCheckState(ReadCheckState() == cbChecked ? cbUnchecked : cbChecked); return;
    case ckKeyPickList:
    case ckImages: {
      TStrings* keys = GetKeyList();
      Integer n = keys->GetCount();
      if (n == 0) return;  // no key to step to
      Integer i = keys->IndexOf(field->GetText());
      Integer next = forward ? (i < 0 || i >= n - 1 ? 0 : i + 1) : (i <= 0 ? n - 1 : i - 1);
      WriteValue(current, keys->GetStrings(next), false);
      return;
    }
    case ckPickList: {
      TStrings* picks = GetPickList();
      Integer n = picks->GetCount();
      Integer i = picks->IndexOf(field->GetText());
      if (forward && (i < 0 || i >= n - 1))
        field->SetText(picks->GetStrings(0));
      else if (!forward && i <= 0)
        field->SetText(picks->GetStrings(n - 1));
      else
        WriteValue(picks->GetStrings(forward ? i + 1 : i - 1), picks->GetStrings(forward ? i + 1 : i - 1), true);
      return;
    }
    default:
      if (!IsNumericType(field->GetDataType())) return;
      try {
        double base = field->IsNull() ? -Step : field->GetAsFloat();
        WriteValue(current, base + Step, false);
      } catch (const EDatabaseError&) {}
      return;
  }
}
