// The grid's exporters' common base: the walk over the grid's selection (or the whole grid),
// record by record and column by column, with the footer sums of what is exported. Writers of
// the formats derive from it and fill the output slots.
//
// OutputToStream: kind None writes nothing at all. The dataset's controls are disabled and the
// grid's view position saved for the walk; both are put back also when the walk raises. Errors
// of the dataset or of the grid's events propagate.
#pragma once

#include <memory>
#include <vector>

#include "gridkit/impexp/ImpExpGridEh.h"

class TStream;
class TField;

class TDBGridEhExport {
public:
  TDBGridEhExport();
  virtual ~TDBGridEhExport();
  TDBGridEhExport(const TDBGridEhExport&) = delete;
  TDBGridEhExport& operator=(const TDBGridEhExport&) = delete;

  IDBGridEhImpExpGrid* Grid = nullptr;  // borrowed; set by the caller before the output

  // IsExportAll: as if everything were selected.
  virtual void OutputToStream(TStream* Stream, bool IsExportAll);
  // Writes through the save seam: a failed write raises EFCreateError and leaves the file as
  // it was.
  virtual void OutputToFile(const AnsiString& FileName, bool IsExportAll);

protected:
  virtual void BeginOutput() {}
  virtual void EndOutput() {}
  virtual void OutputTitleRow(const TColumnsEhList& Columns) {}
  virtual void OutputDataRow(const TColumnsEhList& Columns);
  virtual void OutputDataCell(TColumnEh* Column, TColCellParamsEh& Info) {}
  virtual void OutputFooterRow(const TColumnsEhList& Columns, Integer FooterNo);
  virtual void OutputFooterCell(Integer ColPos, Integer FooterNo, const AnsiString& Text, TAlignment Alignment,
                                TColor Background, TFont* Font, TColumnEh* Column)
  {}

  // Adds the current record to every sum and count footer of the exported columns.
  void AccumulateFooters();
  // The exported sum or count of footer row FooterNo of the column at ColPos.
  AnsiString FooterSumText(Integer FooterNo, Integer ColPos);
  // The field a footer aggregates: its own field name, else the column's; nullptr if missing.
  TField* FooterField(Integer FooterNo, TColumnEh* Column);

  TStream* OutStream = nullptr;
  TColumnsEhList ExportColumns;
  // Footer row × column count + column position; the sums times 10000.
  std::vector<Int64> FooterSums;
  // Filled for every data cell; its font is CellFont.
  TColCellParamsEh CellInfo;
  std::unique_ptr<TFont> CellFont;

private:
  void Prepare(const TColumnsEhList& Columns);
  void OutputFooterRows();
};

namespace DBGridEhImpExp {
// Constructs an exporter of class T, lets it write Grid's selection (or all of it) to Stream,
// and frees it, also on error.
template <class T>
void ExportGridToStream(IDBGridEhImpExpGrid* Grid, TStream* Stream, bool IsExportAll)
{
  auto exporter = std::make_unique<T>();
  exporter->Grid = Grid;
  exporter->OutputToStream(Stream, IsExportAll);
}
}  // namespace DBGridEhImpExp
