// What the grid's export and import ask of the grid: its data, options, visible columns,
// footers, title look and tree, selection and view position. The data-aware grid implements it;
// the tests implement it with a small stand-in over the model's columns.
#pragma once

#include <vector>

#include "gridkit/model/ColumnsEh.h"
#include "gridkit/model/DBGridEhModel.h"
#include "gridkit/model/GridHostEh.h"
#include "platform/db/DB.h"

class TDataSet;
class TFont;

// A node of the grid's multi-level title tree as the exports read it: a leaf per column and the
// group nodes above it. Host is nullptr for a node right under the tree's root.
struct TTitleNodeInfoEh {
  AnsiString Text;
  Integer Height = 0;  // the band height in pixels
  const TTitleNodeInfoEh* Host = nullptr;
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
  // dgConfirmDelete: deleting or clearing a selection asks first.
  virtual bool GetConfirmDelete() = 0;

  // ---- look ---------------------------------------------------------------------------------
  // Horizontal pixels per inch of the grid's canvas.
  virtual Integer GetPixelsPerInch() { return 96; }
  virtual bool GetFlat() = 0;
  virtual TColor GetFixedColor() = 0;
  virtual TFont* GetTitleFont() = 0;
  virtual bool GetUseMultiTitle() = 0;
  virtual Integer GetVTitleMargin() = 0;
  // The leaf of Column in the multi-level title tree; nullptr without multi-level titles.
  virtual const TTitleNodeInfoEh* GetTitleLeaf(TColumnEh* Column) { return nullptr; }

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
  // The grid's OnGetCellParams for an exported data cell: Font and Background may change.
  virtual void GetCellParams(TColumnEh* Column, TFont* Font, TColor& Background) {}
  // The grid's OnGetFooterParams for an exported footer cell.
  virtual void GetFooterParams(Integer DataCol, Integer Row, TColumnEh* Column, TFont* Font, TColor& Background,
                               TAlignment& Alignment, AnsiString& Text)
  {}
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
