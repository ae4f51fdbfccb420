// The prepared report: the pages the engine fills, kept as one XML document in which every
// printed object is a short reference to the template object it was made from plus the
// properties that differ. Pages are rebuilt as objects only when asked for (a cache of 50),
// drawn on any device context, printed and saved as ".fp3" files.
//
// Sections: TfrxDictionary (short names), TfrxOutline (table of contents), TfrxPreviewPages:
// building (engine side), rebuilding and the cache, anchors, files, drawing, mouse, printing.
//
// ".fp3" document: root "preparedreport" with "previewpages" (one element per page, named
// "page" + source page index, objects nested as in the template), "outline", "anchors",
// "report", "sourcepages" (full copies of the template pages) and "dictionary" (short name ->
// "Page<n>.<object name>").
#pragma once

#include <functional>
#include <list>
#include <map>
#include <memory>
#include <vector>

#include "platform/gdi/WinTypes.h"
#include "report/engine/model/frxPlugins.h"

class TfrxXMLDocument;
class TfrxXMLItem;
class TfrxView;
class TfrxCustomPrinter;

// Short names of template objects ("m12", "b3") and the source objects they stand for.
class TfrxDictionary {
public:
  void Clear();
  void Add(const AnsiString& Name, const AnsiString& SourceName, TfrxComponent* Object);
  // A new unique name built on Base, added; answers it.
  AnsiString AddUnique(const AnsiString& Base, const AnsiString& SourceName, TfrxComponent* Object);
  // nullptr / "" when Name is unknown.
  TfrxComponent* GetObject(const AnsiString& Name) const;
  AnsiString GetSourceName(const AnsiString& Name) const;
  // Base + n for the largest power-of-two-ish n that is free, then counting up.
  AnsiString CreateUniqueName(const AnsiString& Base) const;
  // Names in sorted order with their source names.
  void ForEach(const std::function<void(const AnsiString& Name, const AnsiString& SourceName)>& Proc) const;

private:
  struct TSource {
    AnsiString Name;
    TfrxComponent* Object;
  };
  std::map<AnsiString, size_t> FNames;  // short name -> index into FSources
  std::vector<TSource> FSources;
};

class TfrxPreviewPages;

// The outline lives in the document's "outline" element; the current item is where AddItem adds.
class TfrxOutline : public TfrxCustomOutline {
  PELTO_DECLARE_CLASS(TfrxOutline, TfrxCustomOutline)
public:
  explicit TfrxOutline(TfrxPreviewPages* APreviewPages);
  Integer GetCount() override;
  void AddItem(const AnsiString& Text, Integer Top) override;
  void LevelDown(Integer Index) override;
  void LevelRoot() override;
  void LevelUp() override;
  void GetItem(Integer Index, AnsiString& Text, Integer& Page, Integer& Top) override;
  void ShiftItems(Integer From, Integer NewTop) override;
  Integer GetLastItem() override;
  // The element GetLastItem stands for (engine bookkeeping of keep-together).
  TfrxXMLItem* LastItem();
  void ShiftItemsAfter(TfrxXMLItem* From, Integer NewTop);

private:
  TfrxXMLItem* Root();
  TfrxPreviewPages* FPages;
  TfrxXMLItem* FCurItem = nullptr;
};

class TfrxPreviewPages : public TfrxCustomPreviewPages {
public:
  explicit TfrxPreviewPages(TfrxReport* AReport);
  ~TfrxPreviewPages() override;

  // ---- Building
  Integer GetCount() override;
  TfrxReportPage* GetPage(Integer Index) override;
  // The page's size in whole pixels; (0, 0) outside the pages.
  SIZE GetPageSize(Integer Index);
  void Clear() override;
  void Initialize() override;
  void AddObject(TfrxComponent* Obj) override;
  void AddPage(TfrxReportPage* Page) override;
  void AddSourcePage(TfrxReportPage* Page) override;
  void AddToSourcePage(TfrxComponent* Obj) override;
  void MarkPosition() override;
  void ResetToMark() override;
  Integer CutObjects(Integer From) override;
  void PasteObjects(Extended X, Extended Y) override;
  bool BandExists(TfrxBand* Band) override;
  Integer GetCurPosition() override;
  Extended GetLastY() override;
  void Finish() override;
  // While set, AddPage moves on to pages that exist instead of appending; set again by every
  // page appended, cleared to append after the last page the run is on.
  void SetOverwriting(bool Value) { FAdding = !Value; }
  // Makes Index the page being filled (PrintOnPreviousPage, vertical bands).
  void SetCurrentPage(Integer Index) { CurPage = Index; }

  // ---- Anchors
  void AddAnchor(const AnsiString& Text) override;
  // The last anchor of that text (case ignored); nullptr when none.
  TfrxXMLItem* GetAnchor(const AnsiString& Text);
  Integer GetAnchorPage(const AnsiString& Text) override;

  // ---- Editing in the preview
  void AddEmptyPage(Integer Index);
  // Only when at least two pages exist.
  void DeletePage(Integer Index);
  // Replaces page Index by the full form of Page.
  void ModifyPage(Integer Index, TfrxReportPage* Page);

  // ---- Files. A damaged file, or one whose pages, dictionary or source names point at
  // source pages or objects that do not exist, raises Exception "Invalid file format".
  void LoadFromStream(TStream* Stream, bool AllowPartialLoading) override;
  void SaveToStream(TStream* Stream) override;
  // Answers whether the file existed; a missing file raises EFOpenError with
  // ExceptionIfNotFound.
  bool LoadFromFile(const AnsiString& FileName, bool ExceptionIfNotFound = false);
  // Writes beside the file and replaces it only when complete; raises EFCreateError when that
  // fails (the file is then unchanged).
  void SaveToFile(const AnsiString& FileName);

  // ---- Output
  // Draws page Index with its margins; views whose inflated rectangle misses the canvas's clip
  // box are skipped, and on a printer DC views that are not Printable.
  virtual void DrawPage(Integer Index, HDC Canvas, Extended ScaleX, Extended ScaleY, Extended OffsetX,
                        Extended OffsetY);
  // The mouse over a drawn page: the view under (X, Y) sets Cursor and the report's status
  // text; a Click follows its URL ("@<page>", "#<anchor>", or an http, https or mailto
  // address opened by the shell; anything else is not opened) and runs the report's click
  // handling, storing the page back when it was modified.
  virtual void ObjectOver(Integer Index, Integer X, Integer Y, Integer Button, Integer Shift, Extended Scale,
                          Extended OffsetX, Extended OffsetY, bool Click, Integer& Cursor);
  // Prints through the report's printer with its print options; False when the print dialog
  // was cancelled.
  virtual bool Print();
  bool Export(TfrxCustomExportFilter* Filter) override;

  // The preview's page (for "current page" printing).
  Integer CurPreviewPage = 0;
  // Where ObjectOver asks the preview to go: a page index and a top in pixels.
  std::function<void(Integer PageIndex, Integer Top)> OnShowPage;

  TfrxXMLDocument* GetDocument() const { return FDoc.get(); }
  TfrxDictionary* GetDictionary() { return &FDictionary; }
  const std::vector<std::unique_ptr<TfrxReportPage>>& GetSourcePages() const { return FSourcePages; }

private:
  friend class TfrxOutline;
  TfrxXMLItem* Section(const char* Name);
  TfrxXMLItem* PageItem(Integer Index);
  void WriteObject(TfrxComponent* Obj, TfrxXMLItem* Parent);
  void RegisterSourceObject(TfrxComponent* Template, TfrxComponent* Copy, Integer SourceIndex);
  void RememberText(TfrxComponent* Copy);
  std::unique_ptr<TfrxReportPage> BuildPage(TfrxXMLItem* PageItem);
  void BuildObject(TfrxXMLItem* Item, TfrxComponent* Parent);
  void ClearCache();
  void CheckReferences();
  TfrxXMLItem* FindAnchor(const AnsiString& Text);

  std::unique_ptr<TfrxXMLDocument> FDoc;
  std::vector<std::unique_ptr<TfrxReportPage>> FSourcePages;
  TfrxDictionary FDictionary;
  std::map<TfrxComponent*, AnsiString> FSourceText;                       // source object -> its serialized text
  std::map<TfrxReportPage*, Integer> FSourceIndex;                        // template page -> its source page
  std::list<std::pair<Integer, std::unique_ptr<TfrxReportPage>>> FCache;  // most recent first
  bool FAdding = true;
  Int64 FMemory = 0;
  Integer FMarkPage = -1, FMarkCount = 0;
};

namespace frxPreviewPages {
// The rebuilt views of Page (depth first), the page itself excluded.
std::vector<TfrxView*> PageViews(TfrxReportPage* Page);
// Whether a URL of a clicked object may be opened by the shell: http, https and mailto only.
bool IsOpenableURL(const AnsiString& URL);
}  // namespace frxPreviewPages
