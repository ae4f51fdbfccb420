// A stand-in for the data-aware grid as the export and import see it: the model's columns over
// a dataset, a selection set by the test, and a view position kept as a bookmark.
#pragma once

#include <functional>
#include <map>

#include "gridkit/impexp/ImpExpGridEh.h"
#include "gridkit/tests/GridHostStandIn.h"
#include "platform/db/DataSet.h"

class TImpExpGridStandIn : public IDBGridEhImpExpGrid {
public:
  explicit TImpExpGridStandIn(TDataSet* DataSet)
  {
    Source.SetDataSet(DataSet);
    Host.Link.SetDataSource(&Source);
  }
  // Adds a column showing FieldName ("" for a column without field).
  TColumnEh* Add(const char* FieldName, bool Visible = true)
  {
    TColumnEh* c = Model.GetColumns()->Add();
    c->SetFieldName(FieldName);
    c->SetVisible(Visible);
    return c;
  }

  TDataSet* GetDataSet() override { return Source.GetDataSet(); }
  bool ShowsTitles() override { return Titles; }
  TDBGridColumnsEh* GetColumns() override { return Model.GetColumns(); }
  TColumnsEhList GetVisibleColumns() override
  {
    TColumnsEhList l;
    for (int i = 0; i < Model.GetColumns()->GetCount(); ++i)
      if (Model.GetColumns()->GetColumnByIndex(i)->GetVisible()) l.push_back(Model.GetColumns()->GetColumnByIndex(i));
    return l;
  }
  Integer GetFooterRowCount() override { return FooterRows; }
  AnsiString GetFooterCellText(Integer Row, TColumnEh* Column) override { return Model.GetFooterCellText(Row, Column); }
  TDBGridEhAllowedOperations GetAllowedOperations() override { return Model.AllowedOperations; }
  TDBGridEhSelectionType GetSelectionKind() override { return Kind; }
  std::vector<TBookmarkStr> GetSelectedBookmarks() override { return Bookmarks; }
  TBookmarkStr GetRectTopRow() override { return Top; }
  TBookmarkStr GetRectBottomRow() override { return Bottom; }
  Integer GetRectLeftCol() override { return Left; }
  Integer GetRectRightCol() override { return Right; }
  TColumnsEhList GetSelectedColumns() override { return Columns; }
  void ClearSelection() override { Kind = gstNon; }
  Integer GetSelectedIndex() override { return SelectedIndex; }
  void SetSelectedIndex(Integer Index) override { SelectedIndex = Index; }
  void SaveViewPosition() override
  {
    ++Saves;
    Saved = GetDataSet()->GetBookmark();
  }
  void RestoreViewPosition() override
  {
    ++Restores;
    // Staying on the record leaves an edit open, as the grid does.
    TDataSet* ds = GetDataSet();
    if (Saved.empty() || ds->IsEmpty()) return;
    if (ds->CompareBookmarks(ds->GetBookmark(), Saved) != 0) ds->GotoBookmark(Saved);
  }
  Integer GetPixelsPerInch() override { return PixelsPerInch; }
  bool GetConfirmDelete() override { return ConfirmDelete; }
  bool GetFlat() override { return Model.Flat; }
  TColor GetFixedColor() override { return Model.FixedColor; }
  TFont* GetTitleFont() override { return Model.GetTitleFont(); }
  bool GetUseMultiTitle() override { return Model.UseMultiTitle; }
  Integer GetVTitleMargin() override { return Model.VTitleMargin; }
  const TTitleNodeInfoEh* GetTitleLeaf(TColumnEh* Column) override
  {
    auto it = Leaves.find(Column);
    return it == Leaves.end() ? nullptr : it->second;
  }
  void GetCellParams(TColumnEh* Column, TFont* Font, TColor& Background) override
  {
    if (OnGetCellParams) OnGetCellParams(Column, Font, Background);
  }

  // The bookmark of record RecNo (1-based); the current record stays.
  TBookmarkStr BookmarkOf(Integer RecNo)
  {
    TDataSet* ds = GetDataSet();
    TBookmarkStr here = ds->GetBookmark();
    ds->SetRecNo(RecNo);
    TBookmarkStr b = ds->GetBookmark();
    ds->GotoBookmark(here);
    return b;
  }

  TDataSource Source{nullptr};
  TGridHostStandIn Host;
  TDBGridEhModel Model{&Host};
  bool Titles = true;
  Integer FooterRows = 0;
  TDBGridEhSelectionType Kind = gstNon;
  std::vector<TBookmarkStr> Bookmarks;
  TBookmarkStr Top, Bottom, Saved;
  Integer Left = 0, Right = 0;
  Integer SelectedIndex = 0;
  TColumnsEhList Columns;
  std::function<void(TColumnEh*, TFont*, TColor&)> OnGetCellParams;
  Integer PixelsPerInch = 96;
  bool ConfirmDelete = true;
  std::map<TColumnEh*, const TTitleNodeInfoEh*> Leaves;
  int Saves = 0, Restores = 0;
};
