// The grid's text import: tab-separated cells, lines ended by CR LF (the text export's form).
// A lone LF is an ordinary character; a CR without LF raises Exception
// "TDBGridEhImportAsText.CheckState: Invalid text format" (cells already set stay set). The
// input ends at its first zero byte, as a clipboard block ends after its text.
#pragma once

#include "gridkit/impexp/DBGridEhImport.h"

class TDBGridEhImportAsText : public TDBGridEhImport {
public:
  void InputFromStream(TStream* Stream, bool IsImportAll) override;

protected:
  void ReadPrefix() override { CheckState(); }
  void InputRecord(const TColumnsEhList& Columns) override;
  // Writes CellText through the column's lookup, its pick and key lists, or the field's text.
  void InputCell(TColumnEh* Column) override;

  // Reads the next character ahead and classifies it.
  void CheckState();
  // The cell starting at AheadChar; stops before a line end or the end, or past a TAB.
  void ReadCellText();

  enum TCharClass { ccChar, ccTab, ccLineEnd, ccEnd };
  char AheadChar = 0;
  TCharClass AheadClass = ccEnd;
  AnsiString CellText;
};
