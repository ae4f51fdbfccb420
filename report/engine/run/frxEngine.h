// The report engine: turns a report template into prepared pages.
//
// Call flow: TfrxReport::PrepareReport -> Run (link every page, check data sets, dialogs, one
// or two passes) -> RunPage (once per record of the page's data set) -> BuildPage (page start,
// data bands, summary, EndPage) -> RunDataBands (records, headers, groups, details, footers)
// -> ShowBand -> DoShowBand (PrepareBand: data, stretch, shift; fit, split or new column;
// AddObject to the prepared pages; RestoreBand).
//
// Sections of the unit: linking, the run, data bands and groups, page layout (page start and
// end, columns, keeping together, band columns, splitting), vertical bands (a horizontal band
// crossed by them: RunVerticalBands -> ShowVerticalBand copies the crossing objects into it ->
// OutputCrossBand, one part per page to the right), subreports, band preparation, totals.
//
// Measures are pixels at 96 dpi; page sizes and column positions are millimetres (3.77953
// pixels each). A band that cannot fit an empty page is placed there once, so a run always ends.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "report/engine/model/frxPlugins.h"

class TfrxAggregateList;
class TfrxDataBand;
class TfrxDataSet;
class TfrxFooter;
class TfrxGroupFooter;
class TfrxGroupHeader;
class TfrxHeader;
class TfrxPage;
class TfrxUserDataSet;

// Bands to repeat at the top of each page or page column.
struct TfrxHeaderListItem {
  TfrxBand* Band = nullptr;
  Extended Left = 0;
  bool IsInKeepList = false;
};

class TfrxHeaderList {
public:
  void Add(TfrxBand* Band, Extended Left, bool InKeep) { FItems.push_back({Band, Left, InKeep}); }
  // The first item with Band.
  void Remove(TfrxBand* Band);
  void Clear() { FItems.clear(); }
  Integer Count() const { return static_cast<Integer>(FItems.size()); }
  TfrxHeaderListItem& Items(Integer Index) { return FItems.at(static_cast<size_t>(Index)); }

private:
  std::vector<TfrxHeaderListItem> FItems;
};

class TfrxEngine : public TfrxCustomEngine {
  PELTO_DECLARE_CLASS(TfrxEngine, TfrxCustomEngine)
public:
  explicit TfrxEngine(TfrxReport* AReport);
  ~TfrxEngine() override;

  bool Run() override;
  void EndPage() override;
  void NewColumn() override;
  void NewPage() override;
  void ShowBand(TfrxBand* Band) override;
  void ShowBandByClass(TClass BandClass) override;
  Extended GetFooterHeight() override;
  Extended FreeSpace() override;
  Variant GetAggregateValue(const AnsiString& Name, const AnsiString& Expression, TfrxBand* Band,
                            Integer Flags) override;

  TfrxAggregateList* GetAggregates() const { return FAggregates.get(); }
  // Shows a dialog page in place of the modal form; answers its modal result (2: cancelled).
  std::function<Integer(TfrxPage* Page)> OnRunDialog;

  // Link state, readable by tests and the script bindings.
  struct TDataBandLinks {
    TfrxHeader* Header = nullptr;
    TfrxFooter* Footer = nullptr;
    TfrxGroupHeader* FirstGroup = nullptr;
    std::vector<TfrxDataBand*> Details;
    TfrxDataSet* DataSet = nullptr;
  };
  struct TGroupLinks {
    std::vector<TfrxGroupHeader*> Chain;  // this header and those nested under it
    TfrxGroupFooter* Footer = nullptr;
    Variant LastValue;
  };
  // Whether Band is being printed again at the top of a page or column.
  bool IsOverflow(TfrxBand* Band) const;

private:
  // ---- Linking
  void LinkPage(TfrxReportPage* Page, bool Vertical);
  // Moves the objects of Page's horizontal bands that lie within a vertical band into it.
  void MoveCrossObjects(TfrxReportPage* Page);
  void RestoreCrossObjects();
  TfrxDataSet* DataSetOf(TfrxDataBand* Band);
  void CollectAggregates(TfrxReportPage* Page);
  void CheckDataSets();
  // ---- Run
  void RunReportPages();
  void RunPage(TfrxReportPage* Page);
  void BuildPage(TfrxReportPage* Page);
  bool HasData(TfrxComponent* Owner, bool Force);
  void RunDataBands(TfrxComponent* Owner, bool Vertical = false);
  void ShowGroupHeaders(TfrxDataBand* Band, size_t From, bool Init);
  void ShowGroupFooters(TfrxDataBand* Band, size_t From);
  void CheckGroups(TfrxDataBand* Band);
  void AddBandOutline(TfrxBand* Band);
  void ShowLooseObjects(TfrxReportPage* Page);
  // ---- Page layout
  void BeginPageRun(TfrxReportPage* Page);
  void StartPage();
  void ShowFooter(TfrxBand* Band);
  void NextPageColumn();
  void ShowColumnFooter();
  void StartKeep(TfrxBand* Owner, Integer Position = 0);
  void EndKeep(TfrxBand* Owner);
  void AdvanceBandColumn(TfrxDataBand* Band, Integer RowStart, Extended Y0);
  void DoShowBand(TfrxBand* Band);
  void SplitBand(TfrxBand* Band);
  bool PageIsFresh() const;
  // ---- Vertical bands
  void RunVerticalBands(TfrxBand* Band);
  void ShowVerticalBand(TfrxBand* Band);
  void OutputCrossBand(TfrxBand* Band);
  // ---- Subreports
  // Runs the subreports of Band that print below it; Top is where Band was placed.
  void ShowSubreports(TfrxBand* Band, Extended Top);
  void PrintInlineSubreports(TfrxBand* Band);
  // Band's objects without those this showing added.
  std::vector<TfrxComponent*> OwnObjects(TfrxBand* Band) const;
  void FreeAddedObjects(TfrxBand* Band);
  // ---- Band preparation
  void PrepareBand(TfrxBand* Band);
  void RestoreBand(TfrxBand* Band);
  void BuildShiftTree(TfrxBand* Band);
  void ResetTotals(TfrxBand* Band);

  std::unique_ptr<TfrxAggregateList> FAggregates;
  std::map<TfrxDataBand*, TDataBandLinks> FLinks;
  std::map<TfrxGroupHeader*, TGroupLinks> FGroups;
  std::map<TfrxReportPage*, std::vector<TfrxDataBand*>> FPageBands;
  std::vector<std::unique_ptr<TfrxUserDataSet>> FRowCountSets;
  TfrxReportPage* FPage = nullptr;
  TfrxHeaderList FHeaderList;
  std::vector<TfrxBand*> FFooterList;
  TfrxBand* FCalcBand = nullptr;
  Extended FColumnBaseX = 0, FColumnTop = 0;
  bool FFirstPage = false, FLastPage = false, FPrintingHeaders = false, FFirstReportPage = false;
  bool FKeeping = false, FKeepSuppressed = false;
  TfrxBand* FKeepOwner = nullptr;
  Integer FKeepPosition = 0;
  void* FKeepOutline = nullptr;
  Integer FPageStartPosition = 0;  // objects on the page right after its start (headers)
  std::vector<TfrxBand*> FOverflowBands;
  // Vertical bands: the top-level vertical data bands of each page, the objects moved into
  // vertical bands with the band and left they came from, the band being crossed, the vertical
  // bands to show again after a break, and the crossed band's object counts at each break.
  struct TCrossOrigin {
    TfrxComponent* Obj;
    TfrxBand* Band;
    Extended Left;
  };
  std::map<TfrxReportPage*, std::vector<TfrxDataBand*>> FPageVBands;
  std::vector<TCrossOrigin> FCrossOrigins;
  std::map<TfrxComponent*, TfrxBand*> FOriginBand;
  std::map<TfrxBand*, TfrxReportPage*> FCrossedBands;
  TfrxBand* FCrossBand = nullptr;
  std::vector<TfrxBand*> FVHeaderList;
  std::vector<size_t> FColumnBreaks;
  bool FCrossOutput = false;
  // Subreports printed on their parent band collect their bands here; objects a showing added
  // to a band (vertical copies, inline subreports) are freed when it is restored.
  TfrxBand* FSubHolder = nullptr;
  std::map<TfrxBand*, size_t> FAddedFrom;
};

namespace frxEngine {
// Registers the engine's classes; idempotent.
void Initialize();
}  // namespace frxEngine
