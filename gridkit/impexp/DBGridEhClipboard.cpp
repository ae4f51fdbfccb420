#include "gridkit/impexp/DBGridEhClipboard.h"

#include <optional>
#include <cstring>

#include "gridkit/impexp/DBGridEhExportRTF.h"
#include "gridkit/impexp/DBGridEhExportText.h"
#include "gridkit/impexp/DBGridEhImportText.h"
#include "gridkit/impexp/ImpExpGuardsEh.h"
#include "gridkit/impexp/VCLDBIFEh.h"
#include "platform/db/Fields.h"
#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/Guards.h"
#include "platform/rtl/MessageSeam.h"
#include "platform/rtl/Streams.h"
#include "platform/win/clipboard/Clipboard.h"
#include "platform/win/clipboard/GlobalMemory.h"

namespace DBGridEhImpExp {

UINT VcldbifClipboardFormat = 0;
UINT CsvClipboardFormat = 0;
UINT RtfClipboardFormat = 0;

void Initialize()
{
  VcldbifClipboardFormat = Windows::RegisterClipboardFormat("VCLDBIF");
  CsvClipboardFormat = Windows::RegisterClipboardFormat("Csv");
  RtfClipboardFormat = Windows::RegisterClipboardFormat("Rich Text Format");
}

void Finalize() {}

namespace {

// Holds the clipboard open; openings nest, and the first block placed empties the clipboard.
class TClipboardOpen {
public:
  TClipboardOpen()
  {
    if (Depth == 0) {
      if (!Windows::OpenClipboard(nullptr)) throw Exception("Cannot open clipboard");
      Emptied = false;
    }
    ++Depth;
  }
  ~TClipboardOpen()
  {
    if (--Depth == 0) Windows::CloseClipboard();
  }
  TClipboardOpen(const TClipboardOpen&) = delete;
  TClipboardOpen& operator=(const TClipboardOpen&) = delete;

  static void Place(UINT Format, HGLOBAL Block)
  {
    if (!Emptied) {
      Windows::EmptyClipboard();
      Emptied = true;
    }
    if (!Windows::SetClipboardData(Format, Block)) {
      Windows::GlobalFree(Block);
      throw Exception("Cannot put data on the clipboard");
    }
  }

private:
  static inline int Depth = 0;
  static inline bool Emptied = false;
};

HGLOBAL BlockOf(const void* Data, std::size_t Size)
{
  HGLOBAL h = Windows::GlobalAlloc(GMEM_MOVEABLE, Size);
  void* p = h ? Windows::GlobalLock(h) : nullptr;
  if (!p) {
    if (h) Windows::GlobalFree(h);
    throw EOutOfMemory("Out of memory");
  }
  if (Size) std::memcpy(p, Data, Size);
  Windows::GlobalUnlock(h);
  return h;
}

void AppendZero(TMemoryStream& Stream)
{
  char zero = 0;
  Stream.WriteBuffer(&zero, 1);
}

}  // namespace

bool IsNTPlatform() { return true; }

void PutStreamOnClipboard(UINT Format, TMemoryStream* Stream)
{
  TClipboardOpen open;
  TClipboardOpen::Place(Format, BlockOf(Stream->GetMemory(), static_cast<std::size_t>(Stream->GetSize())));
}

void GetClipboardToStream(UINT Format, TStream* Stream)
{
  TClipboardOpen open;
  HANDLE h = Windows::GetClipboardData(Format);
  const void* p = h ? Windows::GlobalLock(h) : nullptr;
  // A block that can't be locked counts as empty.
  if (!p) return;
  TScopeExit unlock([h] { Windows::GlobalUnlock(h); });
  Stream->WriteBuffer(p, static_cast<Int64>(Windows::GlobalSize(h)));
}

void PutUnicodeText(TMemoryStream* Stream)
{
  const char* text = static_cast<const char*>(Stream->GetMemory());
  std::size_t size = static_cast<std::size_t>(Stream->GetSize());
  WideString wide = System::AnsiToWide(AnsiString(text ? text : "", text ? strnlen(text, size) : 0));
  wide.push_back(u'\0');
  TClipboardOpen open;
  TClipboardOpen::Place(CF_UNICODETEXT, BlockOf(wide.data(), wide.size() * sizeof(char16_t)));
}

void CopyToClipboard(IDBGridEhImpExpGrid* Grid, bool IsExportAll)
{
  TClipboardOpen open;
  TDataSet* ds = Grid->GetDataSet();
  std::optional<TControlsGuard<TDataSet>> controls;
  if (ds) controls.emplace(*ds);
  TMemoryStream s;
  ExportGridToStream<TDBGridEhExportAsText>(Grid, &s, IsExportAll);
  AppendZero(s);
  if (IsNTPlatform()) PutUnicodeText(&s);
  s.Clear();
  ExportGridToStream<TDBGridEhExportAsCSV>(Grid, &s, IsExportAll);
  AppendZero(s);
  PutStreamOnClipboard(CsvClipboardFormat, &s);
  s.Clear();
  ExportGridToStream<TDBGridEhExportAsRTF>(Grid, &s, IsExportAll);
  AppendZero(s);
  PutStreamOnClipboard(RtfClipboardFormat, &s);
  s.Clear();
  ExportGridToStream<TDBGridEhExportAsVCLDBIF>(Grid, &s, IsExportAll);
  PutStreamOnClipboard(VcldbifClipboardFormat, &s);
}

void CutToClipboard(IDBGridEhImpExpGrid* Grid, bool IsExportAll)
{
  CopyToClipboard(Grid, IsExportAll);
  DeleteSelection(Grid, IsExportAll);
}

void PasteFromClipboard(IDBGridEhImpExpGrid* Grid, bool IsImportAll)
{
  TClipboardOpen open;
  TMemoryStream s;
  if (Windows::IsClipboardFormatAvailable(VcldbifClipboardFormat)) {
    GetClipboardToStream(VcldbifClipboardFormat, &s);
    s.SetPosition(0);
    ImportGridFromStream<TDBGridEhImportAsVCLDBIF>(Grid, &s, IsImportAll);
  } else if (Windows::IsClipboardFormatAvailable(CF_TEXT)) {
    GetClipboardToStream(CF_TEXT, &s);
    s.SetPosition(0);
    ImportGridFromStream<TDBGridEhImportAsText>(Grid, &s, IsImportAll);
  }
}

bool ConfirmDeletion(IDBGridEhImpExpGrid* Grid, TDBGridEhSelectionType Kind)
{
  if (!Grid->GetConfirmDelete()) return true;
  const char* text = nullptr;
  switch (Kind) {
    case gstRecordBookmarks:
      text = Grid->GetSelectedBookmarks().size() < 2 ? "Delete record?" : "Delete all selected records?";
      break;
    // A select-all selection deletes every record: asked as a selection of records is.
    case gstAll: text = "Delete all selected records?"; break;
    case gstRectangle:
    case gstColumns: text = "Clear selected cells?"; break;
    default: return true;
  }
  return MessageSeam::Show(text, "Confirm", MB_OKCANCEL | MB_ICONQUESTION) == IDOK;
}

void ClearColumnCells(const TColumnsEhList& Columns)
{
  for (TColumnEh* c : Columns) {
    if (!c->CanEditValue(false)) continue;
    TField* f = ValueFieldOfColumn(c);
    TDataSet* ds = f ? f->GetDataSet() : nullptr;
    if (!ds || !ds->GetCanModify()) continue;
    ds->Edit();
    if (ds->GetState() == dsEdit || ds->GetState() == dsInsert) f->Clear();
  }
}

void DeleteSelection(IDBGridEhImpExpGrid* Grid, bool IsDeleteAll)
{
  TDBGridEhSelectionType kind = IsDeleteAll ? gstAll : Grid->GetSelectionKind();
  TDataSet* ds = Grid->GetDataSet();
  if (kind == gstNon || !ds) return;
  if (!IsDeleteAll && !ConfirmDeletion(Grid, kind)) return;
  Grid->SaveViewPosition();
  TControlsGuard controls(*ds);
  switch (kind) {
    case gstRecordBookmarks:
      for (const TBookmarkStr& b : Grid->GetSelectedBookmarks()) {
        ds->GotoBookmark(b);
        ds->Delete();
      }
      Grid->ClearSelection();
      break;
    case gstRectangle: {
      TColumnsEhList columns = VisibleColumnsBetween(Grid, Grid->GetRectLeftCol(), Grid->GetRectRightCol());
      TBookmarkStr bottom = Grid->GetRectBottomRow();
      ds->GotoBookmark(Grid->GetRectTopRow());
      while (!ds->GetEof()) {
        ClearColumnCells(columns);
        if (ds->CompareBookmarks(ds->GetBookmark(), bottom) == 0) break;
        ds->Next();
      }
      Grid->RestoreViewPosition();
      break;
    }
    case gstColumns: {
      TColumnsEhList columns = Grid->GetSelectedColumns();
      for (ds->First(); !ds->GetEof(); ds->Next()) ClearColumnCells(columns);
      Grid->RestoreViewPosition();
      break;
    }
    case gstAll:
      ds->First();
      while (!ds->IsEmpty()) ds->Delete();
      break;
    default: break;
  }
}

}  // namespace DBGridEhImpExp
