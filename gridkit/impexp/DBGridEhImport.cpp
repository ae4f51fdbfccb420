#include "gridkit/impexp/DBGridEhImport.h"

#include "gridkit/impexp/ImpExpGuardsEh.h"
#include "platform/db/Fields.h"
#include "platform/rtl/MessageSeam.h"
#include "platform/rtl/Streams.h"

using namespace DBGridEhImpExp;

void TDBGridEhImport::InputFromStream(TStream* Stream, bool IsImportAll)
{
  InStream = Stream;
  AtEnd = false;
  TDataSet* ds = Grid->GetDataSet();
  if (!ds) return;
  if (IsImportAll) {
    Grid->ClearSelection();
    ds->First();
    TDBGridColumnsEh* all = Grid->GetColumns();
    for (Integer i = 0; i < all->GetCount(); ++i)
      if (all->GetColumnByIndex(i)->GetVisible()) {
        Grid->SetSelectedIndex(i);
        break;
      }
  }
  bool appendMode = ds->GetEof();
  bool insertMode = ds->GetState() == dsInsert;
  {
    TViewSaved view(Grid, !insertMode);
    TControlsGuard controls(*ds);
    switch (Grid->GetSelectionKind()) {
      case gstNon: {
        ImportColumns = VisibleColumnsBetween(Grid, Grid->GetSelectedIndex(), Grid->GetColumns()->GetCount() - 1);
        ReadPrefix();
        if (insertMode) {
          InsertRemaining(appendMode);
          break;
        }
        view.Restore();
        do {
          InputRecord(ImportColumns);
          ds->Next();
        } while (!ds->GetEof() && !AtEnd);
        if (Grid->GetAllowedOperations().Contains(alopAppendEh)) {
          view.Dismiss();
          InsertRemaining(true);
        }
        break;
      }
      case gstRecordBookmarks:
        ImportColumns = Grid->GetVisibleColumns();
        ReadPrefix();
        if (insertMode) {
          InsertRemaining(appendMode);
          break;
        }
        for (const TBookmarkStr& b : Grid->GetSelectedBookmarks()) {
          ds->GotoBookmark(b);
          InputRecord(ImportColumns);
        }
        break;
      case gstRectangle: {
        ImportColumns = VisibleColumnsBetween(Grid, Grid->GetRectLeftCol(), Grid->GetRectRightCol());
        ReadPrefix();
        if (insertMode) {
          InsertRemaining(appendMode);
          break;
        }
        TBookmarkStr bottom = Grid->GetRectBottomRow();
        ds->GotoBookmark(Grid->GetRectTopRow());
        while (!ds->GetEof()) {
          InputRecord(ImportColumns);
          if (ds->CompareBookmarks(ds->GetBookmark(), bottom) == 0) break;
          ds->Next();
        }
        break;
      }
      case gstColumns:
      case gstAll:
        ImportColumns = Grid->GetSelectionKind() == gstColumns ? Grid->GetSelectedColumns() : Grid->GetVisibleColumns();
        ReadPrefix();
        if (insertMode) {
          InsertRemaining(appendMode);
          break;
        }
        for (ds->First(); !ds->GetEof(); ds->Next()) InputRecord(ImportColumns);
        break;
    }
  }
  FinishInput();
}

void TDBGridEhImport::InputFromFile(const AnsiString& FileName, bool IsImportAll)
{
  TFileStream f(FileName, fmOpenRead | fmShareDenyWrite);
  InputFromStream(&f, IsImportAll);
}

void TDBGridEhImport::InsertRemaining(bool AppendMode)
{
  TDataSet* ds = Grid->GetDataSet();
  while (!AtEnd) {
    if (AppendMode)
      ds->Append();
    else
      ds->Insert();
    InputRecord(ImportColumns);
    ds->Post();
    if (!AppendMode) ds->Next();
  }
}

void TDBGridEhImport::InputRecord(const TColumnsEhList& Columns)
{
  for (TColumnEh* c : Columns) InputCell(c);
}

void TDBGridEhImport::AskIgnoreError(const Exception& Error)
{
  if (IgnoreAllErrors) return;
  int answer = MessageSeam::Show("Error during insert value:\n" + Error.Message() + "\n\nIgnore error?", "Error",
                                 MB_YESNOALL | MB_ICONERROR);
  if (answer == IDALL)
    IgnoreAllErrors = true;
  else if (answer != IDYES)
    throw EAbort("Operation aborted");
}

TField* TDBGridEhImport::TargetField(TColumnEh* Column)
{
  TField* f = Column->GetField();
  if (f && f->GetLookup()) {
    if (f->GetKeyFields().empty() || !f->GetDataSet()) return nullptr;
    return f->GetDataSet()->FindField(f->GetKeyFields());
  }
  return f;
}

bool TDBGridEhImport::StartEdit(TField* Field)
{
  TDataSet* ds = Field ? Field->GetDataSet() : nullptr;
  if (!ds || !ds->GetCanModify()) return false;
  ds->Edit();
  return ds->GetState() == dsEdit || ds->GetState() == dsInsert;
}
