#include "gridkit/impexp/DBGridEhExportText.h"

#include "platform/rtl/Streams.h"

namespace DBGridEhImpExp {
char CsvSeparatorChar = ';';
}

void TDBGridEhExportAsText::OutputToStream(TStream* Stream, bool IsExportAll)
{
  AtRowStart = true;
  TDBGridEhExport::OutputToStream(Stream, IsExportAll);
}

void TDBGridEhExportAsText::Write(const AnsiString& Text)
{
  OutStream->WriteBuffer(Text.data(), static_cast<Int64>(Text.size()));
}

void TDBGridEhExportAsText::StartRow()
{
  if (!AtRowStart) Write("\r\n");
  AtRowStart = false;
}

void TDBGridEhExportAsText::StartCell()
{
  if (!AtCellStart) Write(AnsiString(1, Separator()));
  AtCellStart = false;
}

void TDBGridEhExportAsText::OutputTitleRow(const TColumnsEhList& Columns)
{
  StartRow();
  for (std::size_t i = 0; i < Columns.size(); ++i) {
    Write(CellText(Columns[i]->GetTitle()->GetCaption()));
    if (i + 1 < Columns.size()) Write(AnsiString(1, Separator()));
  }
}

void TDBGridEhExportAsText::OutputDataRow(const TColumnsEhList& Columns)
{
  StartRow();
  AtCellStart = true;
  TDBGridEhExport::OutputDataRow(Columns);
}

void TDBGridEhExportAsText::OutputDataCell(TColumnEh*, TColCellParamsEh& Info)
{
  StartCell();
  Write(CellText(Info.Text));
}

void TDBGridEhExportAsText::OutputFooterRow(const TColumnsEhList& Columns, Integer FooterNo)
{
  StartRow();
  AtCellStart = true;
  TDBGridEhExport::OutputFooterRow(Columns, FooterNo);
}

void TDBGridEhExportAsText::OutputFooterCell(Integer, Integer, const AnsiString& Text, TAlignment, TColor, TFont*,
                                             TColumnEh*)
{
  StartCell();
  Write(CellText(Text));
}

TDBGridEhExportAsCSV::TDBGridEhExportAsCSV() : CellSeparator(DBGridEhImpExp::CsvSeparatorChar) {}

AnsiString TDBGridEhExportAsCSV::CellText(const AnsiString& Text)
{
  // A double quote is never a trail byte of CP936, so doubling byte by byte is safe.
  AnsiString s = "\"";
  for (char ch : Text) {
    if (ch == '"') s += '"';
    s += ch;
  }
  s += '"';
  return s;
}
