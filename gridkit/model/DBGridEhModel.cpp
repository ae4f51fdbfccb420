#include "gridkit/model/DBGridEhModel.h"

#include "gridkit/filter/DbUtilsEh.h"
#include "gridkit/filter/STFilterEh.h"
#include "gridkit/model/DBSumLst.h"
#include "gridkit/model/GridDataLinkEh.h"
#include "gridkit/model/GridHostEh.h"
#include "platform/db/DataSet.h"
#include "platform/forms/graphics/Canvas.h"
#include "platform/forms/graphics/Font.h"
#include "platform/gdi/dc/DeviceContext.h"
#include "platform/gdi/text/Fonts.h"

// ---- the data service -------------------------------------------------------------------------

void TDBGridEhDataService::ApplyFilter(TDBGridEhModel* Grid)
{
  if (OnApplyFilterGrid)
    OnApplyFilterGrid(Grid);
  else
    DefaultApplyFilter(Grid);
}

void TDBGridEhDataService::ApplySorting(TDBGridEhModel* Grid)
{
  if (OnApplySortingGrid)
    OnApplySortingGrid(Grid);
  else
    DefaultApplySorting(Grid);
}

void TDBGridEhDataService::DefaultApplyFilter(TDBGridEhModel* Grid)
{
  TDataSet* ds = Grid->GetDataSet();
  if (auto* adapter = DbUtilsEh::AdapterForDataSet(ds)) adapter->ApplyFilter(Grid, ds, true);
}

void TDBGridEhDataService::DefaultApplySorting(TDBGridEhModel* Grid)
{
  TDataSet* ds = Grid->GetDataSet();
  if (auto* adapter = DbUtilsEh::AdapterForDataSet(ds)) adapter->ApplySorting(Grid, ds, true);
}

namespace DBGridEh {
TDBGridEhDataService& DataService()
{
  static TDBGridEhDataService service;
  return service;
}

TFont* SortIndexFont()
{
  // The sort marker pictures are 10 x 9.
  constexpr Integer MarkerHeight = 9;
  static std::unique_ptr<TFont> font = [] {
    auto f = std::make_unique<TFont>();
    f->SetName("Arial");
    f->SetHeight(1 - MarkerHeight);
    return f;
  }();
  return font.get();
}
}  // namespace DBGridEh

// ---- TDBGridEhModel ---------------------------------------------------------------------------

TDBGridEhModel::TDBGridEhModel(IDBGridEhHost* Host)
    : FHost(Host), FColumns(std::make_unique<TDBGridColumnsEh>(this, TDBGridColumnEh::StaticClass())),
      FSumList(std::make_unique<TDBGridEhSumList>(nullptr)), FSTFilter(std::make_unique<TSTDBGridEhFilter>(this)),
      FFont(std::make_unique<TFont>()), FTitleFont(std::make_unique<TFont>()), FFooterFont(std::make_unique<TFont>()),
      FColumnDefValues(std::make_unique<TDBGridEhColumnDefValuesEh>(this))
{}

TDBGridEhModel::~TDBGridEhModel()
{
  FSortMarkedColumns.clear();
  FColumns.reset();
  if (FMeasure) {
    HDC dc = FMeasure->GetHandle();
    FMeasure->SetHandle(nullptr);
    Windows::DeleteDC(dc);
  }
}

Integer TDBGridEhModel::TextWidth(const AnsiString& Text, Integer* Overhang, Integer* AveCharWidth, TFont* Font)
{
  // Measured on a memory context of our own: the grid may have no window yet.
  if (!FMeasure) {
    FMeasure = std::make_unique<TCanvas>();
    FMeasure->SetHandle(Windows::CreateCompatibleDC(nullptr));
  }
  FMeasure->SetFont(Font ? Font : FFont.get());
  TEXTMETRICA tm{};
  Windows::GetTextMetrics(FMeasure->GetHandle(), &tm);
  if (Overhang) *Overhang = tm.tmOverhang;
  if (AveCharWidth) *AveCharWidth = tm.tmAveCharWidth;
  return FMeasure->TextWidth(Text);
}

TGridDataLinkEh* TDBGridEhModel::GetDataLink() const { return FHost ? FHost->GetDataLink() : nullptr; }

TDataSet* TDBGridEhModel::GetDataSet() const
{
  TGridDataLinkEh* link = GetDataLink();
  return link ? link->GetDataSet() : nullptr;
}

void TDBGridEhModel::RebuildSortMarkedColumns()
{
  FSortMarkedColumns.clear();
  for (int i = 0; i < FColumns->GetCount(); ++i) {
    TColumnEh* c = FColumns->GetColumnByIndex(i);
    Integer index = c ? c->GetTitle()->GetSortIndex() : 0;
    if (index <= 0) continue;
    if (static_cast<Integer>(FSortMarkedColumns.size()) < index)
      FSortMarkedColumns.resize(static_cast<std::size_t>(index), nullptr);
    FSortMarkedColumns[static_cast<std::size_t>(index - 1)] = c;
  }
}

void TDBGridEhModel::SortMarkingChanged()
{
  if (!OptionsEh.Contains(dghAutoSortMarking)) return;
  if (OnSortMarkingChanged)
    OnSortMarkingChanged(this);
  else
    ApplySorting();
}

void TDBGridEhModel::ApplySorting() { DBGridEh::DataService().ApplySorting(this); }

void TDBGridEhModel::ApplyFilter()
{
  if (OnApplyFilter) {
    OnApplyFilter(this);
    return;
  }
  DBGridEh::DataService().ApplyFilter(this);
  if (FSumList->GetActive()) FSumList->FullRecalc();
}

void TDBGridEhModel::TitleClick(TColumnEh* Column, bool CtrlHeld)
{
  if (!OptionsEh.Contains(dghAutoSortMarking)) return;
  Column->GetTitle()->ToggleSortMarker(CtrlHeld && OptionsEh.Contains(dghMultiSortMarking));
  SortMarkingChanged();
}

void TDBGridEhModel::ClearFilter()
{
  for (int i = 0; i < FColumns->GetCount(); ++i)
    if (TColumnEh* c = FColumns->GetColumnByIndex(i)) c->GetSTFilter()->ClearCondition();
  Invalidate();
}

void TDBGridEhModel::ColumnsChanged(TColumnEh* Item)
{
  if (!Item) {
    RebuildSortMarkedColumns();
    LayoutChanged();
  } else {
    Invalidate();
  }
}

void TDBGridEhModel::LayoutChanged()
{
  if (FHost) FHost->LayoutChanged(false);
}

void TDBGridEhModel::Invalidate()
{
  if (FHost) FHost->InvalidateGrid();
}

bool TDBGridEhModel::AllowedOperationUpdate()
{
  TDataSet* ds = GetDataSet();
  if (!ds) return false;
  bool ok = AllowedOperations.Contains(alopUpdateEh) || ds->GetState() == dsInsert;
  if (ds->IsEmpty()) ok = ok && (AllowedOperations.Contains(alopInsertEh) || AllowedOperations.Contains(alopAppendEh));
  return ok;
}

PELTO_DEFINE_CLASS(TDBGridEhModel)
