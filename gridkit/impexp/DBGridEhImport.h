// The grid's importers' common base: the walk that reads cells from a stream into the fields of
// the grid's dataset, into the selected records, rectangle or columns, or, without a selection,
// from the current record and column onwards, inserting or appending records (alopAppendEh)
// when the input is longer than the grid. Readers of the formats derive from it.
//
// InputFromStream: the dataset's controls are disabled and, unless the dataset is in insert
// state, the grid's view position saved; both are put back also on an error. After records were
// appended the view stays at the last of them. Cells set before an error stay set.
#pragma once

#include <memory>

#include "gridkit/impexp/ImpExpGridEh.h"

class TStream;
class TField;

class TDBGridEhImport {
public:
  TDBGridEhImport() = default;
  virtual ~TDBGridEhImport() = default;
  TDBGridEhImport(const TDBGridEhImport&) = delete;
  TDBGridEhImport& operator=(const TDBGridEhImport&) = delete;

  IDBGridEhImpExpGrid* Grid = nullptr;  // borrowed; set by the caller before the input

  // IsImportAll: clears the selection and starts at the first record and visible column.
  virtual void InputFromStream(TStream* Stream, bool IsImportAll);
  // Raises EFOpenError when the file can't be opened.
  virtual void InputFromFile(const AnsiString& FileName, bool IsImportAll);

protected:
  virtual void ReadPrefix() {}
  virtual void FinishInput() {}
  virtual void InputRecord(const TColumnsEhList& Columns);
  virtual void InputCell(TColumnEh* Column) {}

  // Asks whether to go on after Error while setting a cell: Yes goes on, All goes on and asks no
  // more, No ends the whole import silently (EAbort).
  void AskIgnoreError(const Exception& Error);
  // The field a column's cell is written to: for a lookup field the dataset field named by its
  // key fields (nullptr without key fields), else the column's field.
  static TField* TargetField(TColumnEh* Column);
  // Puts Field's dataset into edit state when it can; whether the field may now be written.
  static bool StartEdit(TField* Field);

  TStream* InStream = nullptr;
  TColumnsEhList ImportColumns;
  bool AtEnd = false;
  bool IgnoreAllErrors = false;

private:
  void InsertRemaining(bool AppendMode);
};

namespace DBGridEhImpExp {
// Constructs an importer of class T, lets it read Stream into Grid, and frees it, also on error.
template <class T>
void ImportGridFromStream(IDBGridEhImpExpGrid* Grid, TStream* Stream, bool IsImportAll)
{
  auto importer = std::make_unique<T>();
  importer->Grid = Grid;
  importer->InputFromStream(Stream, IsImportAll);
}
}  // namespace DBGridEhImpExp
