// The abstract bases through which the report reaches its engine, prepared pages, outline,
// export filters and wizards, so that each can be supplied by another unit. The preview
// control's and the designer window's bases come with the window layer.
#pragma once

#include <vector>

#include "platform/classes/Component.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/Variants.h"

class TfrxBand;
class TfrxComponent;
class TfrxCustomPreviewPages;
class TfrxReport;
class TfrxReportPage;
class TfrxView;
class TStream;

class TfrxCustomEngine : public TPersistent {
  PELTO_DECLARE_CLASS(TfrxCustomEngine, TPersistent)
public:
  explicit TfrxCustomEngine(TfrxReport* AReport) : FReport(AReport) {}

  TfrxReport* GetReport() const { return FReport; }
  // The report's engine option, read each time.
  bool GetDoublePass() const;
  // Sets the report's stop flag (the script's StopReport).
  void StopReport();

  virtual void EndPage() = 0;
  virtual void NewColumn() = 0;
  virtual void NewPage() = 0;
  virtual void ShowBand(TfrxBand* Band) = 0;
  virtual void ShowBandByClass(TClass BandClass) = 0;
  virtual Extended GetFooterHeight() = 0;
  virtual Extended FreeSpace() = 0;
  virtual Variant GetAggregateValue(const AnsiString& Name, const AnsiString& Expression, TfrxBand* Band,
                                    Integer Flags) = 0;
  virtual bool Run() = 0;

  Integer CurColumn = 0, CurVColumn = 0;
  Extended CurX = 0, CurY = 0;
  bool FinalPass = false;
  Extended PageHeight = 0, PageWidth = 0;
  TDateTime StartDate, StartTime;
  Integer TotalPages = 0;
  // Objects told BandShown; not owned.
  std::vector<TfrxComponent*> NotifyList;
  TfrxCustomPreviewPages* PreviewPages = nullptr;
  bool Running = false;
  Integer CurLine = 0, CurLineThrough = 0;

  PELTO_PUBLISHED(p);

private:
  TfrxReport* FReport;
};

class TfrxCustomOutline : public TPersistent {
  PELTO_DECLARE_CLASS(TfrxCustomOutline, TPersistent)
public:
  explicit TfrxCustomOutline(TfrxCustomPreviewPages* APreviewPages) : FPreviewPages(APreviewPages) {}

  TfrxCustomPreviewPages* GetPreviewPages() const { return FPreviewPages; }
  // The engine of the prepared pages (nullptr when none).
  TfrxCustomEngine* GetEngine() const;

  virtual Integer GetCount() = 0;
  virtual void AddItem(const AnsiString& Text, Integer Top) = 0;
  virtual void LevelDown(Integer Index) = 0;
  virtual void LevelRoot() = 0;
  virtual void LevelUp() = 0;
  virtual void GetItem(Integer Index, AnsiString& Text, Integer& Page, Integer& Top) = 0;
  virtual void ShiftItems(Integer From, Integer NewTop) = 0;
  virtual Integer GetLastItem() = 0;

private:
  TfrxCustomPreviewPages* FPreviewPages;
};

class TfrxCustomExportFilter;

// The prepared report as the engine, the preview, printing and exports see it. The outline is
// created by the implementation (which knows its class) through SetOutline and owned here.
class TfrxCustomPreviewPages : public TObject {
public:
  explicit TfrxCustomPreviewPages(TfrxReport* AReport) : FReport(AReport) {}
  ~TfrxCustomPreviewPages() override;
  TfrxCustomPreviewPages(const TfrxCustomPreviewPages&) = delete;
  TfrxCustomPreviewPages& operator=(const TfrxCustomPreviewPages&) = delete;

  TfrxReport* GetReport() const { return FReport; }
  TfrxCustomEngine* Engine = nullptr;
  TfrxCustomOutline* GetOutline() const { return FOutline.get(); }
  void SetOutline(std::unique_ptr<TfrxCustomOutline> Value) { FOutline = std::move(Value); }
  Integer CurPage = 0;
  Integer FirstPage = 0;

  virtual Integer GetCount() = 0;
  // The rebuilt page Index, owned by the page cache (valid until 50 other pages were asked
  // for or the cache is emptied); nullptr when there are no pages.
  virtual TfrxReportPage* GetPage(Integer Index) = 0;
  virtual void Clear() = 0;
  virtual void Initialize() = 0;
  virtual void AddPage(TfrxReportPage* Page) = 0;
  virtual void AddObject(TfrxComponent* Obj) = 0;
  virtual void AddSourcePage(TfrxReportPage* Page) = 0;
  virtual void AddToSourcePage(TfrxComponent* Obj) = 0;
  virtual void MarkPosition() = 0;
  virtual void ResetToMark() = 0;
  // Moves the current page's objects from From on aside; answers the count left.
  virtual Integer CutObjects(Integer From) = 0;
  virtual void PasteObjects(Extended X, Extended Y) = 0;
  virtual bool BandExists(TfrxBand* Band) = 0;
  virtual Integer GetCurPosition() = 0;
  virtual Extended GetLastY() = 0;
  virtual void Finish() = 0;
  virtual void AddAnchor(const AnsiString& Text) = 0;
  // The anchor's page + 1; 1 for an unknown anchor.
  virtual Integer GetAnchorPage(const AnsiString& Text) = 0;
  virtual void LoadFromStream(TStream* Stream, bool AllowPartialLoading) = 0;
  virtual void SaveToStream(TStream* Stream) = 0;
  virtual bool Export(TfrxCustomExportFilter* Filter) = 0;

private:
  TfrxReport* FReport;
  std::unique_ptr<TfrxCustomOutline> FOutline;
};

// An export filter registers itself in the export-filter registry while it exists.
class TfrxCustomExportFilter : public TComponent {
  PELTO_DECLARE_CLASS(TfrxCustomExportFilter, TComponent)
public:
  explicit TfrxCustomExportFilter(TComponent* AOwner);
  ~TfrxCustomExportFilter() override;

  virtual AnsiString GetFilterCaption() const { return AnsiString(); }
  // A modal result; 1 (OK) in the base.
  virtual Integer ShowSettingsDialog() { return 1; }
  // False abandons the export.
  virtual bool BeginExport() { return true; }
  virtual void ExportObject(TfrxComponent* Obj) = 0;
  virtual void EndExport() {}
  virtual void BeginPage(TfrxReportPage* Page, Integer Index) {}
  virtual void EndPage(TfrxReportPage* Page, Integer Index) {}

  bool ShowDialog = true;
  bool CurPage = false;
  AnsiString PageNumbers;
  TfrxReport* Report = nullptr;

  PELTO_PUBLISHED(p);
};

class TfrxCustomWizard : public TComponent {
  PELTO_DECLARE_CLASS(TfrxCustomWizard, TComponent)
public:
  // AOwner is the designer; Report is its report.
  TfrxCustomWizard(TComponent* AOwner, TfrxReport* AReport) : TComponent(AOwner), Report(AReport) {}
  virtual AnsiString GetWizardCaption() const { return AnsiString(); }
  // True when the wizard changed the report.
  virtual bool Execute() = 0;

  TfrxReport* Report;
};
