// What the grid's export and import ask of the grid: its data, options, visible columns,
// footers, selection and view position. The data-aware grid implements it; the tests implement
// it with a small stand-in over the model's columns.
#pragma once

#include <vector>

#include "gridkit/model/ColumnsEh.h"
#include "gridkit/model/DBGridEhModel.h"
#include "gridkit/model/GridHostEh.h"
#include "platform/db/DB.h"

class TDataSet;

// One data cell as an exporter sees it.
struct TColCellParamsEh {
  Integer Row = -1, Col = -1;
  AnsiString Text;
  Integer ImageIndex = -1;
  TCheckBoxState CheckState = cbUnchecked;
};

class IDBGridEhImpExpGrid {
public:
  virtual ~IDBGridEhImpExpGrid() = default;

  // nullptr when the grid has no data source or the data source no dataset.
  virtual TDataSet* GetDataSet() = 0;
  // dgTitles.
  virtual bool ShowsTitles() = 0;
  virtual TDBGridColumnsEh* GetColumns() = 0;
  // The visible columns in display order.
  virtual TColumnsEhList GetVisibleColumns() = 0;
  virtual Integer GetFooterRowCount() = 0;
  // The grid's own text of footer row Row (0 = the first) for Column.
  virtual AnsiString GetFooterCellText(Integer Row, TColumnEh* Column) = 0;
  virtual TDBGridEhAllowedOperations GetAllowedOperations() = 0;

  // ---- selection ----------------------------------------------------------------------------
  virtual TDBGridEhSelectionType GetSelectionKind() = 0;
  // The selected records, in the list's order.
  virtual std::vector<TBookmarkStr> GetSelectedBookmarks() = 0;
  // The rectangle: its first and last record, and its first and last column as indexes into
  // GetColumns().
  virtual TBookmarkStr GetRectTopRow() = 0;
  virtual TBookmarkStr GetRectBottomRow() = 0;
  virtual Integer GetRectLeftCol() = 0;
  virtual Integer GetRectRightCol() = 0;
  virtual TColumnsEhList GetSelectedColumns() = 0;
  // Empties the selection (kind None).
  virtual void ClearSelection() = 0;
  // The column of the current cell, as an index into GetColumns(); -1 when there is none.
  virtual Integer GetSelectedIndex() = 0;
  virtual void SetSelectedIndex(Integer Index) = 0;

  // ---- view ---------------------------------------------------------------------------------
  // Remembers the current record and its place in the view; RestoreViewPosition puts both back.
  virtual void SaveViewPosition() = 0;
  virtual void RestoreViewPosition() = 0;

  // ---- events -------------------------------------------------------------------------------
  // The grid's OnGetCellParams for an exported data cell.
  virtual void GetCellParams(TColumnEh* Column, TColCellParamsEh& Params) {}
  // The grid's OnGetFooterParams for an exported footer cell; Text is in-out.
  virtual void GetFooterParams(Integer DataCol, Integer Row, TColumnEh* Column, AnsiString& Text) {}
};

namespace DBGridEhImpExp {
// The visible columns among Grid's columns From to To (indexes, clipped to the columns).
inline TColumnsEhList VisibleColumnsBetween(IDBGridEhImpExpGrid* Grid, Integer From, Integer To)
{
  TColumnsEhList l;
  TDBGridColumnsEh* all = Grid->GetColumns();
  for (Integer i = From < 0 ? 0 : From; i <= To && i < all->GetCount(); ++i)
    if (all->GetColumnByIndex(i)->GetVisible()) l.push_back(all->GetColumnByIndex(i));
  return l;
}
}  // namespace DBGridEhImpExp
