// Shared vocabulary of the dataset layer: field types, dataset states, data events, locate
// options and the dataset error. Classes themselves live in Fields.h, FieldDefs.h, DataSet.h
// and DataSource.h.
#pragma once

#include "platform/classes/ClassDecl.h"
#include "platform/classes/Sets.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/System.h"

PELTO_DECLARE_EXCEPTION(EDatabaseError, Exception);

PELTO_ENUM(TFieldType, ftUnknown, ftString, ftSmallint, ftInteger, ftWord, ftBoolean, ftFloat, ftCurrency, ftBCD,
           ftDate, ftTime, ftDateTime, ftBytes, ftVarBytes, ftAutoInc, ftBlob, ftMemo, ftGraphic, ftFmtMemo,
           ftParadoxOle, ftDBaseOle, ftTypedBinary, ftCursor, ftFixedChar, ftWideString, ftLargeint, ftADT, ftArray,
           ftReference, ftDataSet, ftOraBlob, ftOraClob, ftVariant, ftInterface, ftIDispatch, ftGuid, ftTimeStamp,
           ftFMTBcd, ftFixedWideChar, ftWideMemo)

// Declaration order matters: controls compare states by their classic ordinal.
PELTO_ENUM(TDataSetState, dsInactive, dsBrowse, dsEdit, dsInsert, dsSetKey, dsCalcFields, dsFilter, dsNewValue,
           dsOldValue, dsCurValue, dsBlockRead, dsInternalCalc, dsOpening)

// Ordinals are relied on by data links (deDisabledStateChange is 14).
enum TDataEvent {
  deFieldChange,
  deRecordChange,
  deDataSetChange,
  deDataSetScroll,
  deLayoutChange,
  deUpdateRecord,
  deUpdateState,
  deCheckBrowseMode,
  dePropertyChange,
  deFieldListChange,
  deFocusControl,
  deParentScroll,
  deConnectChange,
  deReconcileError,
  deDisabledStateChange
};

PELTO_ENUM(TFieldKind, fkData, fkCalculated, fkLookup, fkInternalCalc, fkAggregate)

PELTO_ENUM(TLocateOption, loCaseInsensitive, loPartialKey)
PELTO_SET(TLocateOptions, TLocateOption)

// Bookmarks are opaque byte strings; empty means "no bookmark".
using TBookmarkStr = AnsiString;

namespace DB {
[[noreturn]] void DatabaseError(const AnsiString& Message);
// True for the states in which field values may be written.
inline bool IsEditState(TDataSetState s) { return s == dsEdit || s == dsInsert || s == dsSetKey; }
}  // namespace DB
