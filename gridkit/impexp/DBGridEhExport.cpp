#include "gridkit/impexp/DBGridEhExport.h"

#include "gridkit/impexp/ImpExpGuardsEh.h"

#include <cmath>

#include "gridkit/model/ColumnFootersEh.h"
#include "platform/db/DataSet.h"
#include "platform/db/Fields.h"
#include "platform/forms/graphics/Font.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/FormatText.h"
#include "platform/rtl/SaveSeam.h"

namespace {

constexpr double FixedScale = 10000.0;

}  // namespace

TDBGridEhExport::TDBGridEhExport() : CellFont(std::make_unique<TFont>()) {}

TDBGridEhExport::~TDBGridEhExport() = default;

void TDBGridEhExport::OutputToStream(TStream* Stream, bool IsExportAll)
{
  OutStream = Stream;
  TDBGridEhSelectionType kind = IsExportAll ? gstAll : Grid->GetSelectionKind();
  TDataSet* ds = Grid->GetDataSet();
  if (kind == gstNon || !ds) return;
  {
    TControlsGuard controls(*ds);
    DBGridEhImpExp::TViewSaved view(Grid);
    switch (kind) {
      case gstRecordBookmarks: {
        Prepare(Grid->GetVisibleColumns());
        for (const TBookmarkStr& b : Grid->GetSelectedBookmarks()) {
          ds->GotoBookmark(b);
          AccumulateFooters();
          OutputDataRow(ExportColumns);
        }
        break;
      }
      case gstRectangle: {
        Prepare(DBGridEhImpExp::VisibleColumnsBetween(Grid, Grid->GetRectLeftCol(), Grid->GetRectRightCol()));
        TBookmarkStr bottom = Grid->GetRectBottomRow();
        ds->GotoBookmark(Grid->GetRectTopRow());
        while (!ds->GetEof()) {
          OutputDataRow(ExportColumns);
          AccumulateFooters();
          if (ds->CompareBookmarks(ds->GetBookmark(), bottom) == 0) break;
          ds->Next();
        }
        break;
      }
      case gstColumns:
      case gstAll: {
        Prepare(kind == gstColumns ? Grid->GetSelectedColumns() : Grid->GetVisibleColumns());
        for (ds->First(); !ds->GetEof(); ds->Next()) {
          OutputDataRow(ExportColumns);
          AccumulateFooters();
        }
        break;
      }
      default: break;
    }
    OutputFooterRows();
  }
  EndOutput();
}

void TDBGridEhExport::OutputToFile(const AnsiString& FileName, bool IsExportAll)
{
  SaveSeam::SaveStream(FileName, [&](TStream* Stream) { OutputToStream(Stream, IsExportAll); });
}

void TDBGridEhExport::Prepare(const TColumnsEhList& Columns)
{
  ExportColumns = Columns;
  FooterSums.assign(static_cast<std::size_t>(Grid->GetFooterRowCount()) * ExportColumns.size(), 0);
  BeginOutput();
  if (Grid->ShowsTitles()) OutputTitleRow(ExportColumns);
}

void TDBGridEhExport::OutputFooterRows()
{
  for (Integer i = 0; i < Grid->GetFooterRowCount(); ++i) OutputFooterRow(ExportColumns, i);
}

void TDBGridEhExport::OutputDataRow(const TColumnsEhList& Columns)
{
  for (TColumnEh* c : Columns) {
    CellFont->Assign(c->GetFont());
    CellInfo = TColCellParamsEh();
    CellInfo.Font = CellFont.get();
    CellInfo.Background = c->GetColor();
    CellInfo.Alignment = c->GetAlignment();
    CellInfo.ImageIndex = c->CellImageIndex();
    CellInfo.Text = c->CellDisplayText();
    CellInfo.CheckState = c->ReadCheckState();
    // The grid's event decides the background even when the column's event changed it.
    TColor background = CellInfo.Background;
    Grid->GetCellParams(c, CellFont.get(), background);
    c->FireGetCellParams(false, CellInfo);
    CellInfo.Background = background;
    OutputDataCell(c, CellInfo);
  }
}

void TDBGridEhExport::OutputFooterRow(const TColumnsEhList& Columns, Integer FooterNo)
{
  TFont font;
  for (std::size_t i = 0; i < Columns.size(); ++i) {
    TColumnEh* c = Columns[i];
    TColumnFooterEh* footer = c->FooterForRow(FooterNo);
    font.Assign(footer->GetFont());
    TColor background = footer->GetColor();
    TAlignment alignment = footer->GetAlignment();
    TFooterValueType type = footer->GetValueType();
    AnsiString text = type == fvtSum || type == fvtCount ? FooterSumText(FooterNo, static_cast<Integer>(i))
                                                         : Grid->GetFooterCellText(FooterNo, c);
    Grid->GetFooterParams(c->GetIndex(), FooterNo, c, &font, background, alignment, text);
    OutputFooterCell(static_cast<Integer>(i), FooterNo, text, alignment, background, &font, c);
  }
}

TField* TDBGridEhExport::FooterField(Integer FooterNo, TColumnEh* Column)
{
  const AnsiString& own = Column->FooterForRow(FooterNo)->GetFieldName();
  TDataSet* ds = Grid->GetDataSet();
  return ds ? ds->FindField(own.empty() ? Column->GetFieldName() : own) : nullptr;
}

void TDBGridEhExport::AccumulateFooters()
{
  std::size_t n = ExportColumns.size();
  for (Integer r = 0; r < Grid->GetFooterRowCount(); ++r)
    for (std::size_t i = 0; i < n; ++i) {
      TColumnEh* c = ExportColumns[i];
      TField* f = FooterField(r, c);
      if (!f) continue;
      TFieldType t = f->GetDataType();
      // Only the types FooterSumText shows add up: a sum over text would raise and lose the copy.
      bool number = t == ftSmallint || t == ftInteger || t == ftWord || t == ftAutoInc || t == ftFloat ||
                    t == ftCurrency || t == ftBCD || t == ftFMTBcd;
      Int64& entry = FooterSums[static_cast<std::size_t>(r) * n + i];
      switch (c->FooterForRow(r)->GetValueType()) {
        case fvtSum:
          if (number && !f->IsNull()) entry = static_cast<Int64>(std::nearbyint(f->GetAsFloat() * FixedScale + entry));
          break;
        case fvtCount: entry += 10000; break;
        default: break;
      }
    }
}

AnsiString TDBGridEhExport::FooterSumText(Integer FooterNo, Integer ColPos)
{
  TColumnEh* c = ExportColumns[static_cast<std::size_t>(ColPos)];
  Int64 raw = FooterSums[static_cast<std::size_t>(FooterNo) * ExportColumns.size() + static_cast<std::size_t>(ColPos)];
  double v = static_cast<double>(raw) / FixedScale;
  if (c->FooterForRow(FooterNo)->GetValueType() == fvtCount) return SysUtils::FloatToStr(v);
  TField* f = FooterField(FooterNo, c);
  if (!f) return AnsiString();
  const AnsiString& format = f->GetDisplayFormat();
  switch (f->GetDataType()) {
    case ftSmallint:
    case ftInteger:
    case ftWord:
    case ftAutoInc:
      if (!format.empty()) return SysUtils::FormatFloat(format, v);
      return std::to_string(static_cast<long long>(std::nearbyint(v)));
    case ftFloat:
    case ftCurrency: {
      if (!format.empty()) return SysUtils::FormatFloat(format, v);
      auto* ff = dynamic_cast<TFloatField*>(f);
      bool currency = ff && ff->GetCurrency();
      return SysUtils::FloatToStrF(v, currency ? SysUtils::ffCurrency : SysUtils::ffGeneral, 15,
                                   currency ? SysUtils::CurrencyDecimals : 0);
    }
    case ftBCD:
    case ftFMTBcd: {
      Currency cur = Currency::FromRaw(raw);
      if (!format.empty()) return SysUtils::FormatCurr(format, cur);
      auto* bf = dynamic_cast<TBCDField*>(f);
      bool currency = bf && bf->GetCurrency();
      return SysUtils::CurrToStrF(cur, currency ? SysUtils::ffCurrency : SysUtils::ffGeneral,
                                  currency ? SysUtils::CurrencyDecimals : 0);
    }
    default: return AnsiString();
  }
}
