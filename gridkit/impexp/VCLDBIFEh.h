// "VCLDBIF", the grid family's own clipboard format: cells copied between grids with their types
// intact. Little-endian, no padding:
//
//   "VCLDBIF", version byte 1, int32 column count N,
//   N column entries (a visibility byte 1/0, then a name ended by a zero byte; always empty here),
//   one tagged value per exported column for each exported record, then the end tag 0.
//
// Tags: 0 end, 1 unassigned (no field, or a type not carried), 2 null, 3 int32, 4 double,
// 5 text (int32 length, then the bytes), 6 binary (int32 length, then the bytes).
#pragma once

#include <utility>
#include <vector>

#include "gridkit/impexp/DBGridEhExport.h"
#include "gridkit/impexp/DBGridEhImport.h"
#include "platform/rtl/Variants.h"

class TDBGridEhExportAsVCLDBIF : public TDBGridEhExport {
protected:
  // The header for the exported columns.
  void BeginOutput() override;
  // The end tag.
  void EndOutput() override;
  void OutputDataCell(TColumnEh* Column, TColCellParamsEh& Info) override;
};

// Reads a VCLDBIF stream cell by cell. Every malformed or truncated input raises Exception
// "TDBGridEhImportAsVCLDBIF.ReadPrefix: Invalid VCLDBIF format", before anything is allocated
// for it: a negative count or length, or one larger than the bytes left, is malformed.
class TVCLDBIFReaderEh {
public:
  // Reads from Stream's position; the stream is borrowed.
  explicit TVCLDBIFReaderEh(TStream* Stream) : FStream(Stream) {}

  // The header and the column entries, then the first value. The version is not checked.
  void ReadPrefix();
  // Reads the next cell into LookAheadValue (or sets AtEnd at the end tag); nothing once AtEnd.
  // An unknown tag reads as unassigned and nothing after it.
  void ReadNextValue();

  // Each column's name with its visibility.
  std::vector<std::pair<AnsiString, bool>> StreamColumns;
  bool NamesPresent = false;
  Variant LookAheadValue;
  bool LookAheadBinary = false;  // the value came with the binary tag
  bool AtEnd = false;

private:
  [[noreturn]] static void FormatError();
  Int64 Remaining();
  void ReadExact(void* Buffer, Int64 Count);
  std::int32_t ReadInt32();

  TStream* FStream;
};

// Reads VCLDBIF cells into the grid's fields: stream column i goes to target column i; extra
// stream columns are read and dropped, extra target columns stay untouched. A lookup column
// takes its key field's value. A format error raises as the reader does; the records already
// pasted stay.
class TDBGridEhImportAsVCLDBIF : public TDBGridEhImport {
public:
  void InputFromStream(TStream* Stream, bool IsImportAll) override;

protected:
  void ReadPrefix() override;
  void InputRecord(const TColumnsEhList& Columns) override;
  void InputCell(TColumnEh* Column) override;

private:
  void ReadNextValue();
  std::unique_ptr<TVCLDBIFReaderEh> FReader;  // for one import
};

namespace DBGridEhImpExp {
// The field whose value a column's cell carries: its field or, for a lookup field, the dataset
// field named by its key fields. nullptr when there is none.
TField* ValueFieldOfColumn(TColumnEh* Column);
// Writes Field's value as one tagged VCLDBIF value (nullptr: unassigned).
void WriteVCLDBIFValue(TStream* Stream, TField* Field);
}  // namespace DBGridEhImpExp
