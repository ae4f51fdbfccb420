// What the grid's model parts ask of the grid itself. The data-aware grid implements it; the
// model's tests implement it with a small stand-in. Everything here is the grid's reaction to
// its model (repaint, relayout, focus, selection) and is specified with the grid control.
#pragma once

#include "platform/gdi/WinTypes.h"
#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/System.h"

class TField;
class TGridDataLinkEh;

// The selection kinds of the grid.
enum TDBGridEhSelectionType { gstNon, gstRecordBookmarks, gstRectangle, gstColumns, gstAll };

class IDBGridEhHost {
public:
  virtual ~IDBGridEhHost() = default;

  // ---- data link reactions ------------------------------------------------------------------
  virtual void LinkActive(bool Value) = 0;
  virtual void DataChanged() = 0;
  virtual void DataScrolled(Integer Distance) = 0;
  // The layout changed; FromLink is set while the data link is the cause.
  virtual void LayoutChanged(bool FromLink) = 0;
  // Selects the columns showing Field, one after the other (the last one wins).
  virtual void SelectColumnOfField(TField* Field) = 0;
  virtual TField* GetSelectedColumnField() = 0;
  virtual bool TakeFocus() = 0;
  virtual void ShowCellEditor() = 0;
  virtual void InvalidateIndicator() = 0;
  virtual void RecordChanged(TField* Field) = 0;
  // Writes the in-place editor's text into the selected column's field.
  virtual void CommitEditText() = 0;
  // The grid wants to hear of Field's destruction.
  virtual void WatchField(TField* Field) = 0;

  // ---- selection and painting ---------------------------------------------------------------
  virtual TGridDataLinkEh* GetDataLink() = 0;
  virtual void InvalidateCurrentRow() = 0;
  virtual void InvalidateGrid() = 0;
  virtual TDBGridEhSelectionType GetSelectionType() = 0;
  // Clears the selection and makes it of the record-bookmark kind.
  virtual void SelectRecordBookmarks() = 0;
  virtual void UpdateSelectionState() = 0;
  virtual Integer GetFirstDataRow() = 0;
  virtual Integer GetColCount() = 0;
  // Memory-table mode: the view scrolls over the whole dataset and rows are read in place.
  virtual bool ScrollsWholeDataSet() = 0;
  virtual Integer GetTopDataRow() = 0;
  virtual Integer GetLastVisibleDataRow() = 0;
  virtual Integer GetDataRowCount() = 0;
  // Makes the record of data row Row readable without moving the dataset; EndInstantRead undoes it.
  virtual void InstantReadRecord(Integer Row) = 0;
  virtual void EndInstantRead() = 0;

  // ---- in-place editor ----------------------------------------------------------------------
  virtual bool InplaceEditorShowing() = 0;
  virtual AnsiString InplaceEditorText() = 0;

  // ---- window -------------------------------------------------------------------------------
  // The grid's window; nullptr before it has one.
  virtual HWND GetGridHandle() { return nullptr; }
  virtual void SyncVertScrollBar() {}
  virtual bool IsDesigning() { return false; }
  virtual bool IsDestroying() { return false; }
  // Widths of the grid's own columns (data column c is grid column c + GetColumnOffset()).
  virtual Integer GetGridColWidth(Integer Col) { return 0; }
  virtual void SetGridColWidth(Integer Col, Integer Width) {}
  virtual Integer GetColumnOffset() { return 0; }
};
