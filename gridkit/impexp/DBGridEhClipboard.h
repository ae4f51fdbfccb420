// The grid's copy, cut, paste and delete over the platform clipboard. Copy places the selection
// in four formats at once (Unicode text, "Csv", "Rich Text Format" and "VCLDBIF"); paste reads
// "VCLDBIF" when the clipboard has it and plain text otherwise; delete removes the selected
// records or empties the selected cells after a question. Every routine takes the grid and a
// whole-grid flag (act as if everything were selected; a caller's flag asks no question).
//
// The clipboard is opened once for a whole operation (openings nest) and closed, and the
// dataset's controls enabled again, also when an exporter or importer raises.
#pragma once

#include "gridkit/impexp/ImpExpGridEh.h"
#include "platform/win/WinUser.h"

class TStream;
class TMemoryStream;

namespace DBGridEhImpExp {

// Format ids registered by Initialize, in this order; 0 before it.
extern UINT VcldbifClipboardFormat;
extern UINT CsvClipboardFormat;
extern UINT RtfClipboardFormat;

// Registers the three formats (again after the clipboard was reset; the ids stay the same).
void Initialize();
void Finalize();

void CopyToClipboard(IDBGridEhImpExpGrid* Grid, bool IsExportAll);
// Copy, then DeleteSelection with the same flag.
void CutToClipboard(IDBGridEhImpExpGrid* Grid, bool IsExportAll);
// Pastes "VCLDBIF", else the 8-bit text; CSV and RTF are never pasted. Does nothing when the
// clipboard has neither.
void PasteFromClipboard(IDBGridEhImpExpGrid* Grid, bool IsImportAll);
// Deletes the selected records (all of them with the flag or a select-all selection) or clears
// the cells of a rectangle or of selected columns. Cleared records are left in edit state.
void DeleteSelection(IDBGridEhImpExpGrid* Grid, bool IsDeleteAll);
// With dgConfirmDelete, asks about deleting or clearing a selection of Kind; false: Cancel.
bool ConfirmDeletion(IDBGridEhImpExpGrid* Grid, TDBGridEhSelectionType Kind);
// Empties the cells of the current record that Columns may modify (without posting).
void ClearColumnCells(const TColumnsEhList& Columns);

// Places Stream's bytes under Format (the clipboard owns them from then on). Raises when the
// clipboard can't be opened or refuses the block.
void PutStreamOnClipboard(UINT Format, TMemoryStream* Stream);
// Appends the whole block held under Format to Stream; nothing when there is none.
void GetClipboardToStream(UINT Format, TStream* Stream);
// Places Stream's CP936 text (ended by a zero byte) as Unicode text.
void PutUnicodeText(TMemoryStream* Stream);
bool IsNTPlatform();

}  // namespace DBGridEhImpExp
