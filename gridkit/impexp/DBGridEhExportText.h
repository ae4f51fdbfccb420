// The grid's two text exports: tab-separated lines (no quoting, no escaping) and CSV (every
// text quoted, inner quotes doubled). Lines are separated by CR LF; the last line has no line
// end. Texts are written as the grid's 8-bit text.
#pragma once

#include "gridkit/impexp/DBGridEhExport.h"

class TDBGridEhExportAsText : public TDBGridEhExport {
public:
  void OutputToStream(TStream* Stream, bool IsExportAll) override;

protected:
  void OutputTitleRow(const TColumnsEhList& Columns) override;
  void OutputDataRow(const TColumnsEhList& Columns) override;
  void OutputDataCell(TColumnEh* Column, TColCellParamsEh& Info) override;
  void OutputFooterRow(const TColumnsEhList& Columns, Integer FooterNo) override;
  void OutputFooterCell(Integer ColPos, Integer FooterNo, const AnsiString& Text, TAlignment Alignment,
                        TColor Background, TFont* Font, TColumnEh* Column) override;

  // A line end unless at the first row.
  void StartRow();
  // A separator unless at the row's first cell.
  void StartCell();
  void Write(const AnsiString& Text);
  // The cell as it is written: as it is here, quoted in CSV.
  virtual AnsiString CellText(const AnsiString& Text) { return Text; }
  virtual char Separator() { return '\t'; }

  bool AtRowStart = true;
  bool AtCellStart = true;
};

class TDBGridEhExportAsCSV : public TDBGridEhExportAsText {
public:
  TDBGridEhExportAsCSV();
  char CellSeparator;

protected:
  AnsiString CellText(const AnsiString& Text) override;
  char Separator() override { return CellSeparator; }
};

namespace DBGridEhImpExp {
// The separator every CSV export takes when it is made.
extern char CsvSeparatorChar;
}  // namespace DBGridEhImpExp
