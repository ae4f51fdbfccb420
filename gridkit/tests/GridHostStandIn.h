// A stand-in for the data-aware grid: records what the model asks of it.
#pragma once

#include <functional>
#include <vector>

#include "gridkit/model/GridDataLinkEh.h"
#include "gridkit/model/GridHostEh.h"

class TGridHostStandIn : public IDBGridEhHost {
public:
  TGridHostStandIn() : Link(this) {}
  void LinkActive(bool Value) override { Active.push_back(Value); }
  void DataChanged() override { ++DataChanges; }
  void DataScrolled(Integer Distance) override { Scrolls.push_back(Distance); }
  void LayoutChanged(bool FromLink) override { LayoutsFromLink += FromLink; }
  void SelectColumnOfField(TField* Field) override
  {
    for (std::size_t i = 0; i < ColumnFields.size(); ++i)
      if (ColumnFields[i] == Field) SelectedColumn = static_cast<Integer>(i);
  }
  TField* GetSelectedColumnField() override
  {
    return SelectedColumn >= 0 ? ColumnFields[static_cast<std::size_t>(SelectedColumn)] : nullptr;
  }
  bool TakeFocus() override { return CanFocus; }
  void ShowCellEditor() override { ++EditorShown; }
  void InvalidateIndicator() override { ++IndicatorPaints; }
  void RecordChanged(TField*) override { ++RecordChanges; }
  void CommitEditText() override
  {
    ++Commits;
    if (OnCommit) OnCommit();
  }
  void WatchField(TField* Field) override { Watched.push_back(Field); }
  TGridDataLinkEh* GetDataLink() override { return &Link; }
  void InvalidateCurrentRow() override { ++RowPaints; }
  void InvalidateGrid() override { ++GridPaints; }
  TDBGridEhSelectionType GetSelectionType() override { return Selection; }
  void SelectRecordBookmarks() override { Selection = gstRecordBookmarks; }
  void UpdateSelectionState() override { ++SelectionUpdates; }
  Integer GetFirstDataRow() override { return 1; }
  Integer GetColCount() override { return 4; }
  bool ScrollsWholeDataSet() override { return false; }
  Integer GetTopDataRow() override { return 0; }
  Integer GetLastVisibleDataRow() override { return 0; }
  Integer GetDataRowCount() override { return 0; }
  void InstantReadRecord(Integer) override {}
  void EndInstantRead() override {}
  bool InplaceEditorShowing() override { return EditorShowing; }
  AnsiString InplaceEditorText() override { return EditorText; }

  TGridDataLinkEh Link;
  std::vector<bool> Active;
  std::vector<Integer> Scrolls;
  std::vector<TField*> ColumnFields, Watched;
  std::function<void()> OnCommit;
  Integer SelectedColumn = -1;
  bool CanFocus = true;
  bool EditorShowing = false;
  AnsiString EditorText;
  TDBGridEhSelectionType Selection = gstNon;
  int DataChanges = 0, LayoutsFromLink = 0, EditorShown = 0, IndicatorPaints = 0, RecordChanges = 0, Commits = 0,
      RowPaints = 0, GridPaints = 0, SelectionUpdates = 0;
};
