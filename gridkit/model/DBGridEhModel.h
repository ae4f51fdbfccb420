// The data-aware grid's model: its columns, their defaults, the sum list, the sort-marked
// columns and the filter row's settings, with the hand-off of sorting and filtering to the
// application's handlers or to a dataset adapter. The grid control holds one and implements
// IDBGridEhHost for it.
#pragma once

#include <functional>
#include <memory>

#include "gridkit/model/ColumnDefValuesEh.h"
#include "gridkit/model/ColumnsEh.h"
#include "platform/classes/Sets.h"
#include "platform/forms/controls/ControlEnums.h"

class IDBGridEhHost;
class TDataSet;
class TDBGridEhSumList;
class TGridDataLinkEh;
class TSTDBGridEhFilter;
class TCanvas;
class TFont;

PELTO_ENUM(TDBGridEhOption, dghFixed3D, dghFrozen3D, dghFooter3D, dghData3D, dghResizeWholeRightPart, dghHighlightFocus,
           dghClearSelection, dghFitRowHeightToText, dghAutoSortMarking, dghMultiSortMarking, dghEnterAsTab,
           dghTraceColSizing, dghIncSearch, dghPreferIncSearch, dghRowHighlight, dghDblClickOptimizeColWidth,
           dghDialogFind, dghShowRecNo, dghColumnResize, dghColumnMove, dghExtendVertLines)
PELTO_SET(TDBGridEhOptions, TDBGridEhOption)
PELTO_ENUM(TDBGridEhAllowedOperation, alopInsertEh, alopUpdateEh, alopDeleteEh, alopAppendEh)
PELTO_SET(TDBGridEhAllowedOperations, TDBGridEhAllowedOperation)

class TDBGridEhModel;
using TDBGridEhNotifyEvent = std::function<void(TDBGridEhModel* Grid)>;

// The one shared service that sorts and filters for every grid.
class TDBGridEhDataService {
public:
  virtual ~TDBGridEhDataService() = default;
  TDBGridEhNotifyEvent OnApplySortingGrid;
  TDBGridEhNotifyEvent OnApplyFilterGrid;
  virtual void ApplyFilter(TDBGridEhModel* Grid);
  virtual void ApplySorting(TDBGridEhModel* Grid);
  virtual void DefaultApplyFilter(TDBGridEhModel* Grid);
  virtual void DefaultApplySorting(TDBGridEhModel* Grid);
};

namespace DBGridEh {
TDBGridEhDataService& DataService();
// The font of the sort numbers in titles: Arial, one pixel less than the sort marker's height.
TFont* SortIndexFont();
}  // namespace DBGridEh

class TDBGridEhModel : public TPersistent {
  PELTO_DECLARE_CLASS(TDBGridEhModel, TPersistent)
public:
  explicit TDBGridEhModel(IDBGridEhHost* Host);
  ~TDBGridEhModel() override;

  IDBGridEhHost* GetHost() const { return FHost; }
  TGridDataLinkEh* GetDataLink() const;
  TDataSet* GetDataSet() const;
  TDBGridColumnsEh* GetColumns() const { return FColumns.get(); }
  TDBGridEhSumList* GetSumList() const { return FSumList.get(); }
  TSTDBGridEhFilter* GetSTFilter() const { return FSTFilter.get(); }
  // Entry n - 1 is the column whose title has SortIndex n; gaps stay nullptr.
  TColumnsEhList& GetSortMarkedColumns() { return FSortMarkedColumns; }
  void RebuildSortMarkedColumns();

  TDBGridEhOptions OptionsEh = {dghAutoSortMarking};
  bool ReadOnly = false;
  bool DrawMemoText = false;
  TColor FixedColor = clBtnFace;
  TColor Color = clWindow;        // the data cells' background
  TColor FooterColor = clWindow;  // the footer cells' background
  bool Flat = false;
  Integer VTitleMargin = 10;  // pixels added to the height of every horizontal title caption
  TImeMode ImeMode = imDontCare;
  AnsiString ImeName;
  TColumnDefValuesEh* GetColumnDefValues() const { return FColumnDefValues.get(); }
  bool AutoFitColWidths = false;
  bool UseMultiTitle = false;
  bool ColLines = true;  // the grid draws column lines (dgColLines)
  Integer DefaultColWidth = 64;
  // The grid's font; column widths are measured in it.
  TFont* GetFont() const { return FFont.get(); }
  // The fonts of the title row and the footer rows.
  TFont* GetTitleFont() const { return FTitleFont.get(); }
  TFont* GetFooterFont() const { return FFooterFont.get(); }
  // Width of Text in Font (the grid's font when nullptr), with the font's overhang.
  Integer TextWidth(const AnsiString& Text, Integer* Overhang = nullptr, Integer* AveCharWidth = nullptr,
                    TFont* Font = nullptr);
  TDBGridEhAllowedOperations AllowedOperations = {alopInsertEh, alopUpdateEh, alopDeleteEh, alopAppendEh};
  // Update allowed, or inserting; an empty dataset also needs insert or append.
  bool AllowedOperationUpdate();
  bool Loading = false;
  bool Designing = false;

  // The sort markers changed (a title click or the release of Ctrl): with automatic marking,
  // OnSortMarkingChanged or else the data service sorts.
  virtual void SortMarkingChanged();
  virtual void ApplySorting();
  // The filter row was applied: OnApplyFilter or else the data service filters.
  virtual void ApplyFilter();
  // A title click on Column: toggles its marker and reports the change.
  void TitleClick(TColumnEh* Column, bool CtrlHeld);
  void ClearFilter();
  // The text of footer row FooterIndex (0 = the first) for Column.
  virtual AnsiString GetFooterCellText(Integer FooterIndex, TColumnEh* Column);

  TDBGridEhNotifyEvent OnSortMarkingChanged;
  TDBGridEhNotifyEvent OnApplyFilter;

  // Called by the columns.
  void ColumnsChanged(TColumnEh* Item);
  void LayoutChanged();
  void Invalidate();

private:
  IDBGridEhHost* FHost;
  std::unique_ptr<TDBGridColumnsEh> FColumns;
  std::unique_ptr<TDBGridEhSumList> FSumList;
  std::unique_ptr<TSTDBGridEhFilter> FSTFilter;
  TColumnsEhList FSortMarkedColumns;
  std::unique_ptr<TFont> FFont, FTitleFont, FFooterFont;
  std::unique_ptr<TColumnDefValuesEh> FColumnDefValues;
  std::unique_ptr<TCanvas> FMeasure;
};
