#include "report/engine/run/frxEngine.h"

#include <algorithm>
#include <cmath>
#include <exception>

#include "platform/classes/ClassRegistry.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/FormatText.h"
#include "platform/rtl/Guards.h"
#include "platform/rtl/StringList.h"
#include "platform/rtl/StringUtils.h"
#include "report/engine/data/frxDataSet.h"
#include "report/engine/model/frxBands.h"
#include "report/engine/model/frxDataSets.h"
#include "report/engine/model/frxOptions.h"
#include "report/engine/model/frxPage.h"
#include "report/engine/model/frxReport.h"
#include "report/engine/model/frxRes.h"
#include "report/engine/model/frxUtils.h"
#include "report/engine/objects/frxMemoView.h"
#include "report/engine/objects/frxView.h"
#include "report/engine/prepared/frxPreviewPages.h"
#include "report/engine/run/frxAggregate.h"

namespace {

constexpr Extended kPixelsPerMm = frxPage::fr01cm;

bool IsDataBand(const TfrxBand* Band) { return dynamic_cast<const TfrxDataBand*>(Band) != nullptr; }

Integer KindOf(const TfrxBand* Band) { return Band->GetBandKind(); }

TfrxShiftMode ShiftModeOf(const TfrxComponent* Obj)
{
  auto* v = dynamic_cast<const TfrxView*>(Obj);
  return v ? v->ShiftMode : smAlways;
}

bool Changed(const Variant& A, const Variant& B)
{
  if (A.IsNull() || B.IsNull()) return A.IsNull() != B.IsNull();
  try {
    return A != B;
  } catch (const Exception&) {
    return Variants::VarToStr(A) != Variants::VarToStr(B);
  }
}

bool IsFooterLike(const TfrxBand* Band)
{
  return dynamic_cast<const TfrxFooter*>(Band) || dynamic_cast<const TfrxGroupFooter*>(Band) ||
         dynamic_cast<const TfrxPageFooter*>(Band) || dynamic_cast<const TfrxReportSummary*>(Band);
}

void ClearSuppressed(TfrxBand* Band)
{
  for (TfrxComponent* c : Band->GetObjects())
    if (auto* m = dynamic_cast<TfrxCustomMemoView*>(c)) m->LastValue = Variant::Null();
}

}  // namespace

void TfrxHeaderList::Remove(TfrxBand* Band)
{
  for (auto it = FItems.begin(); it != FItems.end(); ++it)
    if (it->Band == Band) {
      FItems.erase(it);
      return;
    }
}

TfrxEngine::TfrxEngine(TfrxReport* AReport)
    : TfrxCustomEngine(AReport), FAggregates(std::make_unique<TfrxAggregateList>(AReport))
{}

TfrxEngine::~TfrxEngine() = default;

bool TfrxEngine::IsOverflow(TfrxBand* Band) const
{
  return std::find(FOverflowBands.begin(), FOverflowBands.end(), Band) != FOverflowBands.end();
}

// ==== Linking ==================================================================================

TfrxDataSet* TfrxEngine::DataSetOf(TfrxDataBand* Band)
{
  const AnsiString& name = Band->GetDataSetName();
  if (name.empty()) return nullptr;
  TfrxDataSet* ds = GetReport()->GetDataset(name);
  return ds ? ds : frxClass::FindDataSetByName(nullptr, name, GetReport());
}

void TfrxEngine::LinkPage(TfrxReportPage* Page, bool Vertical)
{
  TfrxReport* report = GetReport();
  auto error = [&](const char* Key, TfrxComponent* Obj) {
    report->GetErrors()->Add(frxRes::Get(Key) + " " + Obj->GetName());
  };
  Page->AlignChildren();
  (Vertical ? FPageVBands : FPageBands)[Page].clear();
  if (!Vertical) MoveCrossObjects(Page);
  std::vector<TfrxBand*> bands;
  for (TfrxComponent* c : Page->GetObjects())
    if (auto* b = dynamic_cast<TfrxBand*>(c); b && b->GetVertical() == Vertical) bands.push_back(b);

  for (TfrxBand* b : bands) {
    BuildShiftTree(b);
    if (auto* d = dynamic_cast<TfrxDataBand*>(b)) {
      TDataBandLinks& links = FLinks[d];
      links = TDataBandLinks();
      links.DataSet = DataSetOf(d);
      if (!links.DataSet && d->GetRowCount() > 0) {
        auto rows = std::make_unique<TfrxUserDataSet>(nullptr);
        rows->RangeEnd = reCount;
        rows->RangeEndCount = d->GetRowCount();
        links.DataSet = rows.get();
        FRowCountSets.push_back(std::move(rows));
      }
    } else if (auto* g = dynamic_cast<TfrxGroupHeader*>(b)) {
      FGroups[g] = TGroupLinks();
    }
  }

  // Kinds 4 to 13 in order of position; of two at the same position only the first counts.
  std::map<AnsiString, TfrxBand*> byPos;
  for (TfrxBand* b : bands) {
    Integer k = KindOf(b);
    if (k < 4 || k > 13) continue;
    AnsiString key = SysUtils::Format("%9.2f", {Variant(static_cast<double>(Vertical ? b->GetLeft() : b->GetTop()))});
    byPos.emplace(key, b);
  }
  std::vector<TfrxBand*> sorted;
  for (auto& [key, b] : byPos) sorted.push_back(b);
  std::vector<bool> used(sorted.size(), false);

  // Groups: a run of group headers belongs to the next data band below it.
  for (size_t i = 0; i < sorted.size(); ++i) {
    auto* g = dynamic_cast<TfrxGroupHeader*>(sorted[i]);
    if (!g || used[i]) continue;
    size_t j = i;
    std::vector<TfrxGroupHeader*> chain;
    while (j < sorted.size() && dynamic_cast<TfrxGroupHeader*>(sorted[j])) {
      chain.push_back(static_cast<TfrxGroupHeader*>(sorted[j]));
      used[j] = true;
      ++j;
    }
    if (j < sorted.size() && IsDataBand(sorted[j])) {
      FGroups[chain.front()].Chain = chain;
      FLinks[static_cast<TfrxDataBand*>(sorted[j])].FirstGroup = chain.front();
    } else {
      for (TfrxGroupHeader* h : chain) error("enUnconnGroup", h);
    }
    i = j - 1;
  }
  // Group footers pair with the nearest unpaired header above.
  for (size_t i = 0; i < sorted.size(); ++i) {
    auto* f = dynamic_cast<TfrxGroupFooter*>(sorted[i]);
    if (!f) continue;
    bool paired = false;
    for (size_t k = i; k-- > 0;) {
      auto* g = dynamic_cast<TfrxGroupHeader*>(sorted[k]);
      if (g && !FGroups[g].Footer && used[k]) {
        FGroups[g].Footer = f;
        paired = true;
        break;
      }
    }
    used[i] = true;
    if (!paired) error("enUnconnGFooter", f);
  }
  // Headers directly above a data band (or its groups), footers directly below it (or its
  // group footers).
  for (size_t i = 0; i < sorted.size(); ++i) {
    TfrxBand* b = sorted[i];
    if (auto* h = dynamic_cast<TfrxHeader*>(b)) {
      size_t j = i + 1;
      while (j < sorted.size() && dynamic_cast<TfrxGroupHeader*>(sorted[j])) ++j;
      if (j < sorted.size() && IsDataBand(sorted[j]) && !FLinks[static_cast<TfrxDataBand*>(sorted[j])].Header)
        FLinks[static_cast<TfrxDataBand*>(sorted[j])].Header = h;
      else
        error("enUnconnHeader", h);
      used[i] = true;
    } else if (auto* f = dynamic_cast<TfrxFooter*>(b)) {
      size_t j = i;
      while (j > 0 && dynamic_cast<TfrxGroupFooter*>(sorted[j - 1])) --j;
      if (j > 0 && IsDataBand(sorted[j - 1]) && !FLinks[static_cast<TfrxDataBand*>(sorted[j - 1])].Footer)
        FLinks[static_cast<TfrxDataBand*>(sorted[j - 1])].Footer = f;
      else
        error("enUnconnHeader", f);
      used[i] = true;
    }
  }
  // Nesting by kind: a band of kind n + 1 below one of kind n is its detail.
  std::vector<TfrxDataBand*> stack;
  for (size_t i = 0; i < sorted.size(); ++i) {
    auto* d = dynamic_cast<TfrxDataBand*>(sorted[i]);
    if (!d) continue;
    Integer k = KindOf(d);
    while (!stack.empty() && KindOf(stack.back()) >= k) stack.pop_back();
    bool placed = false;
    if (k == 6) {
      if (FLinks[d].DataSet) (Vertical ? FPageVBands : FPageBands)[Page].push_back(d);
      placed = true;
    } else if (!stack.empty() && KindOf(stack.back()) == k - 1) {
      if (FLinks[d].DataSet) FLinks[stack.back()].Details.push_back(d);
      placed = true;
    }
    used[i] = true;
    if (placed)
      stack.push_back(d);
    else
      error("enBandPos", d);
  }
}

void TfrxEngine::MoveCrossObjects(TfrxReportPage* Page)
{
  std::vector<TfrxBand*> vertical, horizontal;
  for (TfrxComponent* c : Page->GetObjects())
    if (auto* b = dynamic_cast<TfrxBand*>(c)) (b->GetVertical() ? vertical : horizontal).push_back(b);
  if (vertical.empty()) return;
  for (TfrxBand* h : horizontal) {
    std::vector<TfrxComponent*> objs = h->GetObjects();
    for (TfrxComponent* o : objs) {
      Extended left = h->GetLeft() + o->GetLeft(), right = left + o->GetWidth();
      for (TfrxBand* v : vertical) {
        if (left < v->GetLeft() - frxClass::Tolerance || right > v->GetLeft() + v->GetWidth() + frxClass::Tolerance)
          continue;
        FCrossOrigins.push_back({o, h, o->GetLeft()});
        FOriginBand[o] = h;
        FAggregates->CrossOrigins[o] = h;
        o->SetParent(v);
        o->SetLeft(left - v->GetLeft());
        FCrossedBands[h] = Page;
        break;
      }
    }
  }
}

// The run leaves the template as it was designed.
void TfrxEngine::RestoreCrossObjects()
{
  for (auto it = FCrossOrigins.rbegin(); it != FCrossOrigins.rend(); ++it) {
    it->Obj->SetParent(it->Band);
    it->Obj->SetLeft(it->Left);
  }
  FCrossOrigins.clear();
  FOriginBand.clear();
  FCrossedBands.clear();
  FAggregates->CrossOrigins.clear();
}

void TfrxEngine::CollectAggregates(TfrxReportPage* Page)
{
  std::function<void(TfrxDataBand*)> walk = [&](TfrxDataBand* b) {
    TDataBandLinks& links = FLinks[b];
    if (b->GetVertical()) FAggregates->AddBand(b, b);
    FAggregates->AddBand(links.Footer, b);
    if (links.FirstGroup)
      for (TfrxGroupHeader* g : FGroups[links.FirstGroup].Chain) FAggregates->AddBand(FGroups[g].Footer, b);
    for (TfrxDataBand* d : links.Details) walk(d);
  };
  const std::vector<TfrxDataBand*>& top = FPageBands[Page];
  for (TfrxDataBand* b : top) walk(b);
  for (TfrxDataBand* b : FPageVBands[Page]) walk(b);
  if (!top.empty()) {
    for (TClass cls :
         {TfrxPageFooter::StaticClass(), TfrxColumnFooter::StaticClass(), TfrxReportSummary::StaticClass()})
      FAggregates->AddBand(Page->FindBand(cls), top.front());
  }
}

void TfrxEngine::CheckDataSets()
{
  TfrxReport* report = GetReport();
  TfrxDataSet* rds = report->DataSetName.empty() ? nullptr : report->GetDataset(report->DataSetName);
  for (TfrxComponent* c : report->GetObjects()) {
    auto* page = dynamic_cast<TfrxReportPage*>(c);
    if (!page) continue;
    TfrxDataSet* pds = page->DataSetName.empty() ? nullptr : report->GetDataset(page->DataSetName);
    if (rds && rds == pds) {
      report->GetErrors()->Add("Cannot use the same dataset for Report.DataSet and Page.DataSet");
      return;
    }
    for (TfrxDataBand* b : FPageBands[page]) {
      TfrxDataSet* bds = FLinks[b].DataSet;
      if (rds && bds == rds) {
        report->GetErrors()->Add("Cannot use the same dataset for Report.DataSet and Band.DataSet");
        break;
      }
      if (pds && bds == pds) {
        report->GetErrors()->Add("Cannot use the same dataset for Page.DataSet and Band.DataSet");
        break;
      }
    }
  }
}

// ==== The run ==================================================================================

bool TfrxEngine::Run()
{
  TfrxReport* report = GetReport();
  TfrxCustomPreviewPages* pages = PreviewPages;
  pages->Initialize();
  StartDate = SysUtils::Date();
  StartTime = SysUtils::Now();
  Running = true;
  FKeeping = false;
  CurVColumn = 0;
  FAggregates->Clear();
  FLinks.clear();
  FGroups.clear();
  FPageBands.clear();
  FPageVBands.clear();
  FRowCountSets.clear();
  RestoreCrossObjects();
  bool started = false;
  TScopeExit finish([&] {
    RestoreCrossObjects();
    Running = false;
    if (started) report->DoNotifyEvent(report, report->OnStopReport, true);
    if (started) report->GetDataSets()->Finalize();
    pages->Finish();
    FRowCountSets.clear();
  });

  for (TfrxComponent* c : report->GetObjects())
    if (auto* page = dynamic_cast<TfrxReportPage*>(c)) {
      FPage = page;
      pages->AddSourcePage(page);
      LinkPage(page, false);
      LinkPage(page, true);
      CollectAggregates(page);
    }
  CheckDataSets();
  if (report->GetErrors()->GetCount() > 0) return false;

  report->GetDataSets()->Initialize();
  started = true;
  report->DoNotifyEvent(report, report->OnStartReport, true);

  for (TfrxComponent* c : report->GetObjects()) {
    auto* dialog = dynamic_cast<TfrxPage*>(c);
    if (!dialog || dynamic_cast<TfrxReportPage*>(c) || !dialog->GetVisible() || dialog->GetObjects().empty()) continue;
    if (OnRunDialog && OnRunDialog(dialog) == 2) return false;
  }

  FinalPass = !GetDoublePass();
  TotalPages = 0;
  pages->MarkPosition();
  RunReportPages();
  if (GetDoublePass()) {
    TotalPages = pages->GetCount();
    pages->ResetToMark();
    FAggregates->ClearValues();
    FinalPass = true;
    RunReportPages();
  }
  return true;
}

void TfrxEngine::RunReportPages()
{
  TfrxReport* report = GetReport();
  TfrxDataSet* rds = report->DataSetName.empty() ? nullptr : report->GetDataset(report->DataSetName);
  FFirstReportPage = true;
  auto visit = [&] {
    for (TfrxComponent* c : report->GetObjects()) {
      auto* page = dynamic_cast<TfrxReportPage*>(c);
      if (!page || !page->GetVisible() || page->Subreport) continue;
      if (report->GetTerminated()) break;
      RunPage(page);
      FFirstReportPage = false;
    }
  };
  if (rds) {
    rds->First();
    while (!rds->Eof() && !report->GetTerminated()) {
      visit();
      rds->Next();
    }
  } else {
    visit();
  }
}

void TfrxEngine::RunPage(TfrxReportPage* Page)
{
  TfrxReport* report = GetReport();
  FPage = Page;
  FKeepSuppressed = true;
  report->DoNotifyEvent(Page, Page->OnBeforePrint);
  TfrxDataSet* ds = Page->DataSetName.empty() ? nullptr : report->GetDataset(Page->DataSetName);
  if (ds) {
    ds->First();
    while (!ds->Eof() && !report->GetTerminated()) {
      BuildPage(Page);
      ds->Next();
    }
  } else {
    BuildPage(Page);
  }
  report->DoNotifyEvent(Page, Page->OnAfterPrint);
}

void TfrxEngine::BuildPage(TfrxReportPage* Page)
{
  TfrxReport* report = GetReport();
  if (!HasData(Page, report->GetEngineOptions()->PrintIfEmpty)) return;
  BeginPageRun(Page);
  ShowLooseObjects(Page);
  if (report->OnManualBuild)
    report->OnManualBuild(Page);
  else if (!SysUtils::Trim(Page->OnManualBuild).empty())
    report->DoNotifyEvent(Page, Page->OnManualBuild);
  else
    RunDataBands(Page);
  ShowBand(Page->FindBand(TfrxReportSummary::StaticClass()));
  FLastPage = true;
  EndPage();
  FLastPage = false;
}

// Objects placed on the page outside any band print as one band at the page's origin.
void TfrxEngine::ShowLooseObjects(TfrxReportPage* Page)
{
  std::vector<TfrxComponent*> loose;
  for (TfrxComponent* c : Page->GetObjects())
    if (dynamic_cast<TfrxView*>(c)) loose.push_back(c);
  if (loose.empty()) return;
  TfrxNullBand holder(nullptr);
  holder.SetWidth(PageWidth);
  for (TfrxComponent* c : loose) c->SetParent(&holder);
  TScopeExit back([&] {
    for (TfrxComponent* c : loose) c->SetParent(Page);
  });
  Extended y = CurY;
  ShowBand(&holder);
  CurY = y;
}

bool TfrxEngine::HasData(TfrxComponent* Owner, bool Force)
{
  if (Force) return true;
  std::vector<TfrxDataBand*> bands;
  if (auto* page = dynamic_cast<TfrxReportPage*>(Owner))
    bands = FPageBands[page];
  else if (auto* d = dynamic_cast<TfrxDataBand*>(Owner))
    bands = FLinks[d].Details;
  if (bands.empty()) return dynamic_cast<TfrxBand*>(Owner) != nullptr;
  for (TfrxDataBand* b : bands) {
    TfrxDataSet* ds = FLinks[b].DataSet;
    if (!ds) continue;
    GetReport()->DoNotifyEvent(b, b->OnMasterDetail);
    ds->First();
    if (!ds->Eof() && HasData(b, b->PrintIfDetailEmpty)) return true;
  }
  return false;
}

void TfrxEngine::AddBandOutline(TfrxBand* Band)
{
  if (Band->GetOutlineText().empty() || Band->GetVertical()) return;
  AnsiString text = Variants::VarToStr(GetReport()->Calc(Band->GetOutlineText()));
  PreviewPages->GetOutline()->AddItem(text, static_cast<Integer>(std::lround(CurY - Band->GetHeight())));
}

// ==== Data bands and groups ====================================================================

void TfrxEngine::RunDataBands(TfrxComponent* Owner, bool Vertical)
{
  TfrxReport* report = GetReport();
  if (report->GetTerminated()) return;
  Extended y0 = CurY;
  std::vector<TfrxDataBand*> bands;
  if (auto* page = dynamic_cast<TfrxReportPage*>(Owner))
    bands = (Vertical ? FPageVBands : FPageBands)[page];
  else if (auto* d = dynamic_cast<TfrxDataBand*>(Owner))
    bands = FLinks[d].Details;

  for (TfrxDataBand* band : bands) {
    TDataBandLinks links = FLinks[band];
    TfrxDataSet* ds = links.DataSet;
    if (!ds) continue;
    ds->First();
    band->LineN = 1;
    band->LineThrough = 1;
    if (!Vertical) band->SetCurColumn(1);  // a vertical band keeps its place
    ClearSuppressed(band);
    bool first = true;
    Integer rowStart = 0, footerKeep = 0;
    while (!ds->Eof()) {
      if (HasData(band, band->PrintIfDetailEmpty)) {
        if (first) {
          if (band->KeepTogether) StartKeep(band);
          if (band->KeepHeader && links.Header) StartKeep(band);
          ShowBand(links.Header);
          if (links.Header && links.Header->ReprintOnNewPage) {
            if (band->GetVertical())
              FVHeaderList.push_back(links.Header);
            else
              FHeaderList.Add(links.Header, CurX, FKeeping);
          }
        } else if (!links.FirstGroup && band->KeepTogether) {
          StartKeep(band);
        }
        if (links.FirstGroup) {
          if (first)
            ShowGroupHeaders(band, 0, true);
          else
            CheckGroups(band);
        }
        if (band->KeepFooter) footerKeep = PreviewPages->GetCurPosition();
        if (band->GetColumns() > 1 && band->GetCurColumn() == 1) rowStart = PreviewPages->GetCurPosition();
        y0 = CurY;
        CurLine = band->LineN;
        CurLineThrough = band->LineThrough;
        ShowBand(band);
        for (TfrxComponent* c : NotifyList) c->BandShown(band);
        if (first && band->KeepHeader && links.Header) EndKeep(band);
        ++band->LineN;
        ++band->LineThrough;
        AdvanceBandColumn(band, rowStart, y0);
        AddBandOutline(band);
        RunDataBands(band);
        if (!band->GetOutlineText().empty() && !Vertical) PreviewPages->GetOutline()->LevelUp();
        first = false;
      }
      FKeepSuppressed = false;
      if (band->FooterAfterEach) ShowBand(links.Footer);
      if (!links.FirstGroup && band->KeepTogether) EndKeep(band);
      ds->Next();
      if ((band->GetRowCount() != 0 && band->LineN > band->GetRowCount()) || report->GetTerminated()) break;
    }
    if (band->GetColumns() > 1) {
      band->SetCurColumn(band->GetColumns());
      AdvanceBandColumn(band, rowStart, y0);
    }
    if (links.FirstGroup) ShowGroupFooters(band, 0);
    if (!first) {
      if (!band->FooterAfterEach) {
        if (band->KeepFooter) StartKeep(band, footerKeep);
        ShowBand(links.Footer);
        if (band->KeepFooter) EndKeep(band);
      }
      if (links.Header) {
        FHeaderList.Remove(links.Header);
        std::erase(FVHeaderList, links.Header);
      }
      if (links.FirstGroup && band->KeepTogether) EndKeep(band);
    }
    if (report->GetTerminated()) break;
    FKeepSuppressed = false;
  }
}

void TfrxEngine::ShowGroupHeaders(TfrxDataBand* Band, size_t From, bool Init)
{
  std::vector<TfrxGroupHeader*> chain = FGroups[FLinks[Band].FirstGroup].Chain;
  for (size_t i = From; i < chain.size(); ++i) {
    TfrxGroupHeader* g = chain[i];
    if (Init) {
      g->LineN = 1;
      g->LineThrough = 1;
      ClearSuppressed(g);
    } else {
      ++g->LineN;
      if (i + 1 < chain.size()) chain[i + 1]->LineN = 0;
      ++g->LineThrough;
    }
    CurLine = g->LineN;
    CurLineThrough = g->LineThrough;
    FGroups[g].LastValue = GetReport()->Calc(g->Condition);
    if (g->KeepTogether) StartKeep(g);
    ShowBand(g);
    AddBandOutline(g);
    if (g->ReprintOnNewPage) {
      if (g->GetVertical())
        FVHeaderList.push_back(g);
      else
        FHeaderList.Add(g, CurX, FKeeping);
    }
  }
}

void TfrxEngine::ShowGroupFooters(TfrxDataBand* Band, size_t From)
{
  std::vector<TfrxGroupHeader*> chain = FGroups[FLinks[Band].FirstGroup].Chain;
  for (size_t i = chain.size(); i-- > From;) {
    TfrxGroupHeader* g = chain[i];
    ShowBand(FGroups[g].Footer);
    if (!g->GetOutlineText().empty() && !g->GetVertical()) PreviewPages->GetOutline()->LevelUp();
    FHeaderList.Remove(g);
    std::erase(FVHeaderList, static_cast<TfrxBand*>(g));
    if (g->KeepTogether) EndKeep(g);
  }
}

void TfrxEngine::CheckGroups(TfrxDataBand* Band)
{
  std::vector<TfrxGroupHeader*> chain = FGroups[FLinks[Band].FirstGroup].Chain;
  TfrxDataSet* ds = FLinks[Band].DataSet;
  for (size_t i = 0; i < chain.size(); ++i) {
    Variant now = GetReport()->Calc(chain[i]->Condition);
    if (!Changed(now, FGroups[chain[i]].LastValue)) continue;
    if (Band->GetColumns() > 1) {
      Band->SetCurColumn(Band->GetColumns());
      AdvanceBandColumn(Band, PreviewPages->GetCurPosition(), CurY);
    }
    // The footers print with the values of the group's last record.
    Integer rec = ds->RecNo;
    ds->Prior();
    bool back = ds->RecNo != rec;
    ShowGroupFooters(Band, i);
    if (back) ds->Next();
    ShowGroupHeaders(Band, i, false);
    Band->LineN = 1;
    ClearSuppressed(Band);
    return;
  }
}

// ==== Page layout ==============================================================================

Extended TfrxEngine::GetFooterHeight()
{
  Extended h = 0;
  for (TfrxBand* b : FFooterList) h += b->GetHeight();
  return h;
}

Extended TfrxEngine::FreeSpace() { return PageHeight - GetFooterHeight() - CurY; }

bool TfrxEngine::PageIsFresh() const { return PreviewPages->GetCurPosition() <= FPageStartPosition; }

void TfrxEngine::BeginPageRun(TfrxReportPage* Page)
{
  TfrxCustomPreviewPages* pages = PreviewPages;
  FHeaderList.Clear();
  TfrxBand* title = Page->FindBand(TfrxReportTitle::StaticClass());
  TfrxBand* header = Page->FindBand(TfrxPageHeader::StaticClass());
  for (TfrxBand* b :
       Page->TitleBeforeHeader ? std::vector<TfrxBand*>{title, header} : std::vector<TfrxBand*>{header, title})
    if (b) FHeaderList.Add(b, 0, false);
  FFooterList.clear();
  for (TClass cls : {TfrxColumnFooter::StaticClass(), TfrxPageFooter::StaticClass()})
    if (TfrxBand* b = Page->FindBand(cls)) FFooterList.push_back(b);
  PageHeight = (Page->GetPaperHeight() - Page->TopMargin - Page->BottomMargin) * kPixelsPerMm;
  PageWidth = (Page->GetPaperWidth() - Page->LeftMargin - Page->RightMargin) * kPixelsPerMm;
  CurX = 0;
  CurY = 0;
  CurColumn = 1;
  FColumnBaseX = 0;
  FFirstPage = true;
  FLastPage = false;
  auto* prepared = dynamic_cast<TfrxPreviewPages*>(pages);
  if (pages->GetCount() > 0 && Page->PrintOnPreviousPage && prepared) {
    prepared->SetCurrentPage(pages->GetCount() - 1);
    CurY = pages->GetLastY();
    FPageStartPosition = pages->GetCurPosition();
    ShowBand(title);
  } else {
    StartPage();
  }
  if (FFirstReportPage) pages->FirstPage = pages->CurPage;
  FColumnTop = CurY;
  if (TfrxBand* colHeader = Page->FindBand(TfrxColumnHeader::StaticClass())) {
    ShowBand(colHeader);
    FHeaderList.Add(colHeader, CurX, false);
  }
  FHeaderList.Remove(title);
  TfrxCustomOutline* outline = pages->GetOutline();
  outline->LevelRoot();
  if (!Page->OutlineText.empty()) outline->AddItem(Variants::VarToStr(GetReport()->Calc(Page->OutlineText)), 0);
}

void TfrxEngine::StartPage()
{
  TfrxCustomPreviewPages* pages = PreviewPages;
  pages->AddPage(FPage);
  CurY = 0;
  ShowBand(FPage->FindBand(TfrxOverlay::StaticClass()));
  CurY = 0;
  Extended savedX = CurX;
  for (Integer i = 0; i < FHeaderList.Count(); ++i) {
    TfrxHeaderListItem& item = FHeaderList.Items(i);
    TfrxBand* band = item.Band;
    if (!band) continue;
    if (auto* ph = dynamic_cast<TfrxPageHeader*>(band); ph && FFirstPage && !ph->PrintOnFirstPage) continue;
    if (item.IsInKeepList && FKeeping) continue;
    bool reprint = !FFirstPage;
    if (reprint) FOverflowBands.push_back(band);
    CurLine = band->LineN;
    CurLineThrough = band->LineThrough;
    FPrintingHeaders = true;
    CurX = item.Left;
    TScopeExit done([&] {
      FPrintingHeaders = false;
      if (reprint) FOverflowBands.pop_back();
    });
    ShowBand(band);
    if (dynamic_cast<TfrxReportTitle*>(band)) FHeaderList.Items(i).Band = nullptr;
  }
  CurX = savedX;
  FPageStartPosition = pages->GetCurPosition();
}

void TfrxEngine::ShowFooter(TfrxBand* Band)
{
  auto* pageFooter = dynamic_cast<TfrxPageFooter*>(Band);
  if (pageFooter) CurY = PageHeight - Band->GetHeight();
  PrepareBand(Band);
  {
    TScopeExit restore([&] { RestoreBand(Band); });
    bool skip =
        pageFooter && ((FFirstPage && !pageFooter->PrintOnFirstPage) || (FLastPage && !pageFooter->PrintOnLastPage));
    if (Band->GetVisible() && !skip) {
      Band->SetLeft(0);
      Band->SetTop(CurY);
      if (!PreviewPages->BandExists(Band)) {
        PreviewPages->AddObject(Band);
        CurY += Band->GetHeight();
      }
    }
  }
  FAggregates->ResetForBand(Band);
}

void TfrxEngine::EndPage()
{
  if (FPage->GetColumns() > 1) {
    ShowColumnFooter();
    CurX = FColumnBaseX;
    CurColumn = 1;
    FColumnTop = 0;
  }
  for (TfrxBand* b : FFooterList)
    if (!(FPage->GetColumns() > 1 && dynamic_cast<TfrxColumnFooter*>(b))) ShowFooter(b);
  FFirstPage = false;
}

void TfrxEngine::NewPage()
{
  TfrxCustomPreviewPages* pages = PreviewPages;
  bool keeping = FKeeping;
  if (keeping) pages->CutObjects(FKeepPosition);
  EndPage();
  StartPage();
  if (keeping) {
    FAggregates->EndKeep();
    pages->PasteObjects(0, CurY);
    if (auto* outline = dynamic_cast<TfrxOutline*>(pages->GetOutline()))
      outline->ShiftItemsAfter(static_cast<TfrxXMLItem*>(FKeepOutline), static_cast<Integer>(std::lround(CurY)));
    CurY = pages->GetLastY();
    FKeeping = false;
  }
}

void TfrxEngine::NewColumn()
{
  if (CurColumn >= FPage->GetColumns()) {
    NewPage();
  } else {
    ShowColumnFooter();
    NextPageColumn();
  }
}

void TfrxEngine::NextPageColumn()
{
  ++CurColumn;
  Extended offset = 0;
  TStringList* positions = FPage->GetColumnPositions();
  if (CurColumn - 1 < positions->GetCount())
    offset = frxUtils::StrToFloatAnySep((*positions)[CurColumn - 1]) * kPixelsPerMm;
  CurY = FColumnTop;
  for (Integer i = 0; i < FHeaderList.Count(); ++i) {
    TfrxHeaderListItem item = FHeaderList.Items(i);
    if (!item.Band) continue;
    if (dynamic_cast<TfrxPageHeader*>(item.Band)) {
      if (CurY == 0) CurY += item.Band->GetHeight();
      continue;
    }
    CurX = item.Left + offset;
    FOverflowBands.push_back(item.Band);
    FPrintingHeaders = true;
    TScopeExit done([&] {
      FPrintingHeaders = false;
      FOverflowBands.pop_back();
    });
    ShowBand(item.Band);
  }
  CurX = FColumnBaseX + offset;
}

void TfrxEngine::ShowColumnFooter()
{
  TfrxBand* band = FPage->FindBand(TfrxColumnFooter::StaticClass());
  if (!band) return;
  PrepareBand(band);
  {
    TScopeExit restore([&] { RestoreBand(band); });
    if (band->GetVisible()) {
      band->SetLeft(CurX - FColumnBaseX);
      band->SetTop(CurY);
      PreviewPages->AddObject(band);
    }
  }
  FAggregates->ResetForBand(band);
}

void TfrxEngine::StartKeep(TfrxBand* Owner, Integer Position)
{
  if (FKeeping || FKeepSuppressed || Owner->GetVertical()) return;
  FKeeping = true;
  FKeepOwner = Owner;
  FKeepPosition = Position ? Position : PreviewPages->GetCurPosition();
  auto* outline = dynamic_cast<TfrxOutline*>(PreviewPages->GetOutline());
  FKeepOutline = outline ? outline->LastItem() : nullptr;
  FAggregates->StartKeep();
}

void TfrxEngine::EndKeep(TfrxBand* Owner)
{
  if (!FKeeping || FKeepOwner != Owner) return;
  FKeeping = false;
  FAggregates->EndKeep();
}

void TfrxEngine::AdvanceBandColumn(TfrxDataBand* Band, Integer RowStart, Extended Y0)
{
  if (Band->GetColumns() <= 1 || Band->GetVertical()) return;
  Band->ColumnMaxY = std::max(Band->ColumnMaxY, CurY);
  if (Band->GetCurColumn() < Band->GetColumns()) {
    CurY = Y0;
  } else if (Band->ColumnMaxY <= PageHeight - GetFooterHeight()) {
    CurY = Band->ColumnMaxY;
  } else if (FKeeping) {
    NewColumn();
  } else {
    Extended rowHeight = Band->ColumnMaxY - Y0;
    PreviewPages->CutObjects(RowStart);
    NewColumn();
    PreviewPages->PasteObjects(CurX, CurY);
    CurY += rowHeight;
  }
  Band->SetCurColumn(Band->GetCurColumn() + 1);
}

void TfrxEngine::ShowBand(TfrxBand* Band)
{
  if (!Band) return;
  if (Band->GetKeepChild()) StartKeep(Band);
  DoShowBand(Band);
  if (TfrxChild* child = Band->GetChild(); child && (Band->GetVisible() || Band->GetPrintChildIfInvisible()))
    ShowBand(child);
  if (Band->GetKeepChild()) EndKeep(Band);
  if (IsDataBand(Band) && !Band->GetVertical()) FAggregates->AddValue(Band, 0);
}

void TfrxEngine::ShowBandByClass(TClass BandClass)
{
  if (FPage) ShowBand(FPage->FindBand(BandClass));
}

void TfrxEngine::DoShowBand(TfrxBand* Band)
{
  if (Band->GetVertical()) {
    ShowVerticalBand(Band);
    return;
  }
  TfrxCustomPreviewPages* pages = PreviewPages;
  // A crossed band reprinted while its own copies go out shows its own objects only.
  bool crossed = !FCrossBand && !FCrossOutput && FCrossedBands.count(Band) > 0;
  if (crossed) {
    Extended x = CurX;
    RunVerticalBands(Band);
    CurX = x;
    crossed = FColumnBreaks.size() > 2;
  }
  bool dataOrGroup = IsDataBand(Band) || dynamic_cast<TfrxGroupHeader*>(Band);
  if (!FPrintingHeaders && !FSubHolder && Band->GetVisible() && Band->GetStartNewPage() &&
      (!dataOrGroup || Band->LineThrough != 1))
    NewPage();
  PrepareBand(Band);
  bool visible = Band->GetVisible();
  Extended top = CurY;
  {
    TScopeExit restore([&] { RestoreBand(Band); });
    if (visible) {
      auto* data = dynamic_cast<TfrxDataBand*>(Band);
      bool multi = data && data->GetColumns() > 1;
      bool split = false;
      if (!multi && !dynamic_cast<TfrxOverlay*>(Band) && !FPrintingHeaders && !FSubHolder &&
          FreeSpace() < Band->GetHeight()) {
        // A band that cannot fit even an empty page is placed there as it is.
        if (Band->GetAllowSplit() && !FCrossedBands.count(Band)) {
          SplitBand(Band);
          split = true;
        } else if (!PageIsFresh()) {
          NewColumn();
        }
      }
      if (!split) {
        if (dynamic_cast<TfrxNullBand*>(Band)) {
          // keeps its position
        } else if (multi) {
          Band->SetLeft((data->GetCurColumn() - 1) * (data->GetColumnWidth() + data->GetColumnGap()) + CurX);
          Band->SetTop(CurY);
        } else {
          Band->SetLeft(CurX);
          Band->SetTop(CurY);
        }
        if (dynamic_cast<TfrxNullBand*>(Band)) Band->SetTop(CurY);
        top = CurY;
        if (FSubHolder) {
          TClass cls = Band->ClassType();
          std::unique_ptr<TfrxBand> copy(dynamic_cast<TfrxBand*>(cls->Create(nullptr)));
          copy->AssignWithChildren(Band);
          std::vector<TfrxComponent*> from = Band->GetAllObjects(), to = copy->GetAllObjects();
          for (size_t i = 0; i < from.size() && i < to.size(); ++i) to[i]->SetAlias(from[i]->GetAlias());
          copy.release()->SetParent(FSubHolder);
        } else if (crossed) {
          OutputCrossBand(Band);
        } else if (!(FPrintingHeaders && pages->BandExists(Band))) {
          pages->AddObject(Band);
        }
        CurY += Band->GetHeight();
      }
    }
  }
  if (IsFooterLike(Band)) ResetTotals(Band);
  if (visible && !FSubHolder) ShowSubreports(Band, top);
}

// ==== Vertical bands ===========================================================================

void TfrxEngine::RunVerticalBands(TfrxBand* Band)
{
  TfrxReportPage* page = FCrossedBands[Band];
  Extended start = -1;
  for (TfrxComponent* c : page->GetObjects())
    if (auto* v = dynamic_cast<TfrxBand*>(c); v && v->GetVertical())
      start = start < 0 ? v->GetLeft() : std::min(start, v->GetLeft());
  FAddedFrom[Band] = Band->GetObjects().size();
  FVHeaderList.clear();
  FColumnBreaks = {0};
  CurVColumn = 0;
  CurX = std::max<Extended>(0, start);
  FCrossBand = Band;
  Integer line = CurLine, lineThrough = CurLineThrough;
  bool suppressed = FKeepSuppressed;
  TScopeExit done([&] {
    FCrossBand = nullptr;
    CurLine = line;
    CurLineThrough = lineThrough;
    FKeepSuppressed = suppressed;
  });
  RunDataBands(page, true);
  FColumnBreaks.push_back(Band->GetObjects().size());
}

void TfrxEngine::ShowVerticalBand(TfrxBand* Band)
{
  // Vertical bands print only across a horizontal band.
  if (!FCrossBand) return;
  TfrxReport* report = GetReport();
  ++CurVColumn;
  bool footer = dynamic_cast<TfrxFooter*>(Band) || dynamic_cast<TfrxGroupFooter*>(Band);
  FCalcBand = footer ? Band : FCrossBand;
  Band->SaveBounds();
  report->DoBeforePrint(Band);
  {
    TScopeExit restore([&] {
      report->DoAfterPrint(Band);
      Band->RestoreBounds();
    });
    if (Band->GetVisible()) {
      size_t count = FCrossBand->GetObjects().size();
      if (CurX + Band->GetWidth() > PageWidth + frxClass::Tolerance && count > FColumnBreaks.back()) {
        CurX = 0;
        FColumnBreaks.push_back(count);
        std::vector<TfrxBand*> again = FVHeaderList;
        for (TfrxBand* b : again) ShowVerticalBand(b);
      }
      std::vector<TfrxComponent*> objs = Band->GetObjects();
      for (TfrxComponent* c : objs) {
        auto* o = dynamic_cast<TfrxReportComponent*>(c);
        auto from = FOriginBand.find(c);
        if (!o || from == FOriginBand.end() || from->second != FCrossBand) continue;
        report->CurObject = o->GetName();
        o->SaveBounds();
        TScopeExit back([&] { o->RestoreBounds(); });
        report->DoBeforePrint(o);
        if (!o->GetVisible()) continue;
        o->FetchData();
        report->DoNotifyEvent(o, o->OnAfterData);
        auto* copy = dynamic_cast<TfrxComponent*>(o->ClassType()->Create(FCrossBand));
        if (!copy) continue;
        copy->Assign(o);
        copy->SetAlias(o->GetAlias());
        copy->SetLeft(o->GetLeft() + CurX);
        report->DoAfterPrint(o);
      }
      CurX += Band->GetWidth();
    }
  }
  // Header and footer rows are no records of the crossed rows.
  if (IsDataBand(Band) && IsDataBand(FCrossBand)) FAggregates->AddValue(Band, CurVColumn);
  if (footer) ResetTotals(Band);
}

// The crossed band's objects go out in parts, one per page to the right; the pages after the
// first are the next pages of the report, made when missing.
void TfrxEngine::OutputCrossBand(TfrxBand* Band)
{
  auto* pages = dynamic_cast<TfrxPreviewPages*>(PreviewPages);
  std::vector<TfrxComponent*> all = Band->GetObjects();
  std::vector<size_t> breaks = FColumnBreaks;
  Integer page = PreviewPages->CurPage, column = CurColumn;
  Extended x = CurX, y = CurY;
  bool keeping = FKeeping;
  FKeeping = false;
  FCrossOutput = true;
  for (TfrxComponent* c : all) c->SetParent(nullptr);
  if (pages) pages->SetOverwriting(true);
  TScopeExit back([&] {
    std::vector<TfrxComponent*> placed = Band->GetObjects();
    for (TfrxComponent* c : placed) c->SetParent(nullptr);
    for (TfrxComponent* c : all) c->SetParent(Band);
    if (pages) pages->SetOverwriting(false);
    PreviewPages->CurPage = page;
    CurColumn = column;
    CurX = x;
    CurY = y;
    FKeeping = keeping;
    FCrossOutput = false;
  });
  for (size_t i = 0; i + 1 < breaks.size(); ++i) {
    for (size_t k = breaks[i]; k < breaks[i + 1] && k < all.size(); ++k) all[k]->SetParent(Band);
    PreviewPages->AddObject(Band);
    std::vector<TfrxComponent*> placed = Band->GetObjects();
    for (TfrxComponent* c : placed) c->SetParent(nullptr);
    if (i + 2 < breaks.size())
      NewPage();
    else
      EndPage();
  }
}

// ==== Subreports ===============================================================================

void TfrxEngine::ShowSubreports(TfrxBand* Band, Extended Top)
{
  std::vector<TfrxSubreport*> subs;
  for (TfrxComponent* c : Band->GetObjects())
    if (auto* s = dynamic_cast<TfrxSubreport*>(c); s && s->GetVisible() && !s->PrintOnParent && s->GetPage())
      subs.push_back(s);
  if (subs.empty()) return;
  Integer page = PreviewPages->CurPage, column = CurColumn;
  Extended x = CurX, base = FColumnBaseX;
  Integer endPage = page, endColumn = column;
  Extended endY = CurY;
  for (TfrxSubreport* s : subs) {
    PreviewPages->CurPage = page;
    CurColumn = column;
    FColumnBaseX = base + s->GetLeft();
    CurX = x + s->GetLeft();
    CurY = Top + s->GetTop();
    RunDataBands(s->GetPage());
    // Go on after whichever ended furthest down.
    Integer p = PreviewPages->CurPage;
    if (p > endPage || (p == endPage && (CurColumn > endColumn || (CurColumn == endColumn && CurY > endY)))) {
      endPage = p;
      endColumn = CurColumn;
      endY = CurY;
    }
  }
  PreviewPages->CurPage = endPage;
  CurColumn = endColumn;
  CurY = endY;
  FColumnBaseX = base;
  CurX = base;
  TStringList* positions = FPage->GetColumnPositions();
  if (CurColumn > 1 && CurColumn - 1 < positions->GetCount())
    CurX += frxUtils::StrToFloatAnySep((*positions)[CurColumn - 1]) * kPixelsPerMm;
}

void TfrxEngine::PrintInlineSubreports(TfrxBand* Band)
{
  std::vector<TfrxSubreport*> subs;
  for (TfrxComponent* c : OwnObjects(Band))
    if (auto* s = dynamic_cast<TfrxSubreport*>(c); s && s->GetVisible() && s->PrintOnParent && s->GetPage())
      subs.push_back(s);
  // Subreports on subreports printed on their parent print as they would on a page of their own.
  if (subs.empty() || FSubHolder) return;
  TfrxNullBand holder(nullptr);
  Extended x = CurX, y = CurY, base = FColumnBaseX;
  {
    FSubHolder = &holder;
    TScopeExit back([&] {
      FSubHolder = nullptr;
      CurX = x;
      CurY = y;
      FColumnBaseX = base;
    });
    for (TfrxSubreport* s : subs) {
      CurX = x + s->GetLeft();
      FColumnBaseX = base + s->GetLeft();
      CurY = s->GetTop();
      RunDataBands(s->GetPage());
    }
  }
  if (!FAddedFrom.count(Band)) FAddedFrom[Band] = Band->GetObjects().size();
  std::vector<TfrxComponent*> bands = holder.GetObjects();
  for (TfrxComponent* b : bands) {
    std::vector<TfrxComponent*> views = b->GetObjects();
    for (TfrxComponent* c : views) {
      auto* v = dynamic_cast<TfrxView*>(c);
      if (!v || dynamic_cast<TfrxSubreport*>(c)) continue;
      Extended left = b->GetLeft() - x + v->GetLeft(), top = b->GetTop() + v->GetTop();
      v->SetParent(Band);
      v->SetLeft(left);
      v->SetTop(top);
      if (auto* s = dynamic_cast<TfrxStretcheable*>(v)) s->StretchMode = smDontStretch;
    }
  }
}

std::vector<TfrxComponent*> TfrxEngine::OwnObjects(TfrxBand* Band) const
{
  std::vector<TfrxComponent*> objs = Band->GetObjects();
  if (auto it = FAddedFrom.find(Band); it != FAddedFrom.end() && it->second < objs.size()) objs.resize(it->second);
  return objs;
}

void TfrxEngine::FreeAddedObjects(TfrxBand* Band)
{
  auto it = FAddedFrom.find(Band);
  if (it == FAddedFrom.end()) return;
  size_t keep = it->second;
  FAddedFrom.erase(it);
  while (Band->GetObjects().size() > keep) delete Band->GetObjects().back();
}

void TfrxEngine::SplitBand(TfrxBand* Band)
{
  struct TPending {
    TfrxComponent* Obj;
    Extended Full;
    Extended Remaining;
  };
  std::vector<TfrxComponent*> all = Band->GetObjects();
  std::vector<TPending> pending;
  for (TfrxComponent* c : all) {
    if (dynamic_cast<TfrxSubreport*>(c)) continue;
    if (auto* s = dynamic_cast<TfrxStretcheable*>(c)) s->BeginParts();
    pending.push_back({c, c->GetHeight(), c->GetHeight()});
  }
  for (TfrxComponent* c : all) c->SetParent(nullptr);
  auto detach = [&] {
    std::vector<TfrxComponent*> placed = Band->GetObjects();
    for (TfrxComponent* c : placed) c->SetParent(nullptr);
  };
  TScopeExit giveBack([&] {
    detach();
    for (TfrxComponent* c : all) c->SetParent(Band);
  });

  auto pushBelow = [&](TfrxComponent* Above, Extended By, std::vector<TfrxComponent*>& Pushed) {
    for (TPending& p : pending) {
      TfrxComponent* o = p.Obj;
      if (o == Above || std::find(Pushed.begin(), Pushed.end(), o) != Pushed.end()) continue;
      bool below = o->GetTop() >= Above->GetTop() + frxClass::Tolerance;
      bool overlaps = o->GetLeft() < Above->GetLeft() + Above->GetWidth() - frxClass::Tolerance &&
                      o->GetLeft() + o->GetWidth() > Above->GetLeft() + frxClass::Tolerance;
      if (below && overlaps) {
        o->SetTop(o->GetTop() + By);
        Pushed.push_back(o);
      }
    }
  };

  Extended avail = FreeSpace();
  while (!pending.empty()) {
    detach();
    bool fresh = PageIsFresh();
    std::vector<TfrxComponent*> pushed;
    std::vector<TPending> next;
    for (size_t i = 0; i < pending.size(); ++i) {
      TPending p = pending[i];
      TfrxComponent* o = p.Obj;
      auto* s = dynamic_cast<TfrxStretcheable*>(o);
      Extended top = o->GetTop();
      if (top + o->GetHeight() <= avail + frxClass::Tolerance) {
        if (s) s->FitPart();
        o->SetParent(Band);
      } else if (s && top < avail) {
        o->SetHeight(avail - top);
        Extended unused = s->FitPart();
        Extended part = o->GetHeight() - unused;
        if (part <= frxClass::Tolerance && !fresh) {
          o->SetTop(avail);
          o->SetHeight(p.Remaining);
          next.push_back(p);
        } else {
          if (part <= frxClass::Tolerance) {
            // Not even one line fits an empty page: the rest is placed as it is.
            o->SetHeight(p.Remaining);
            s->FitPart();
            part = p.Remaining;
            o->SetParent(Band);
            continue;
          }
          pushBelow(o, part, pushed);
          o->SetHeight(part);
          o->SetParent(Band);
          p.Remaining -= part;
          // What is left waits for the next part, from the top of the next page.
          next.push_back({o, p.Full, p.Remaining});
        }
      } else if (top < avail) {
        pushBelow(o, avail - top, pushed);
        o->SetTop(avail);
        next.push_back(p);
      } else {
        next.push_back(p);
      }
    }
    // An object printed in part is in the band now and waits for its rest at the same time.
    Extended height = 0;
    for (TfrxComponent* c : Band->GetObjects()) height = std::max(height, c->GetTop() + c->GetHeight());
    if (next.empty()) {
      for (TfrxComponent* c : Band->GetObjects()) {
        auto* v = dynamic_cast<TfrxView*>(c);
        if (v && v->Align == baBottom) v->SetTop(height - v->GetHeight());
        auto* s = dynamic_cast<TfrxStretcheable*>(c);
        if (s && s->StretchMode == smMaxHeight) s->SetHeight(height - s->GetTop());
      }
    }
    Band->SetLeft(CurX);
    Band->SetTop(CurY);
    Extended savedHeight = Band->GetHeight();
    Band->SetHeight(height);
    PreviewPages->AddObject(Band);
    Band->SetHeight(savedHeight);
    // A part that placed nothing on an empty page would repeat forever: place the rest now.
    if (!next.empty() && Band->GetObjects().empty() && fresh) {
      for (TPending& p : next) {
        p.Obj->SetTop(std::max<Extended>(0, p.Obj->GetTop() - avail));
        p.Obj->SetParent(Band);
      }
      Extended h = 0;
      for (TfrxComponent* c : Band->GetObjects()) h = std::max(h, c->GetTop() + c->GetHeight());
      Band->SetHeight(h);
      Band->SetTop(CurY);
      PreviewPages->AddObject(Band);
      Band->SetHeight(savedHeight);
      CurY += h;
      next.clear();
    }
    if (!next.empty())
      NewColumn();
    else if (!pending.empty())
      CurY += height;
    for (TPending& p : next) {
      TfrxComponent* o = p.Obj;
      o->SetTop(o->GetTop() - avail);
      if (dynamic_cast<TfrxStretcheable*>(o) && o->GetTop() < 0) {
        o->SetTop(0);
        o->SetHeight(p.Remaining);
      }
    }
    pending = std::move(next);
    avail = FreeSpace();
  }
}

// ==== Band preparation =========================================================================

void TfrxEngine::BuildShiftTree(TfrxBand* Band)
{
  Band->ShiftChildren.clear();
  std::vector<TfrxReportComponent*> objs;
  for (TfrxComponent* c : OwnObjects(Band))
    if (auto* r = dynamic_cast<TfrxReportComponent*>(c)) {
      r->ShiftChildren.clear();
      objs.push_back(r);
    }
  for (TfrxReportComponent* o : objs) {
    TfrxReportComponent* parent = nullptr;
    Extended best = 0;
    for (TfrxReportComponent* p : objs) {
      if (p == o) continue;
      Extended bottom = p->GetTop() + p->GetHeight();
      bool above = bottom <= o->GetTop() + frxClass::Tolerance;
      Extended overlap =
          std::min(p->GetLeft() + p->GetWidth(), o->GetLeft() + o->GetWidth()) - std::max(p->GetLeft(), o->GetLeft());
      if (above && overlap > frxClass::Tolerance && (!parent || bottom > best)) {
        parent = p;
        best = bottom;
      }
    }
    (parent ? parent : static_cast<TfrxReportComponent*>(Band))->ShiftChildren.push_back(o);
  }
}

void TfrxEngine::PrepareBand(TfrxBand* Band)
{
  TfrxReport* report = GetReport();
  FCalcBand = Band;
  std::vector<TfrxComponent*> own = OwnObjects(Band);
  if (Band->ShiftChildren.empty() && !own.empty()) BuildShiftTree(Band);
  Band->SaveBounds();
  report->DoBeforePrint(Band);
  std::map<TfrxComponent*, Extended> growth;
  std::vector<TfrxReportComponent*> objs;
  for (TfrxComponent* c : own)
    if (auto* r = dynamic_cast<TfrxReportComponent*>(c)) objs.push_back(r);
  for (TfrxReportComponent* o : objs) {
    report->CurObject = o->GetName();
    o->SaveBounds();
    if (Band->GetVisible()) {
      report->DoBeforePrint(o);
      if (o->GetVisible()) {
        o->FetchData();
        report->DoNotifyEvent(o, o->OnAfterData);
      }
    }
  }
  if (!Band->GetVisible()) return;
  for (TfrxReportComponent* o : objs) {
    auto* s = dynamic_cast<TfrxStretcheable*>(o);
    if (!s || !s->GetVisible() || s->StretchMode == smDontStretch) continue;
    Extended h = s->CalcHeight();
    if (h > s->GetHeight()) {
      growth[s] = h - s->GetHeight();
      s->SetHeight(h);
    }
  }
  if (!growth.empty()) {
    std::function<void(TfrxReportComponent*, Extended)> walk = [&](TfrxReportComponent* Node, Extended Acc) {
      for (TfrxReportComponent* c : Node->ShiftChildren) {
        Extended own = growth.count(c) ? growth[c] : 0;
        switch (ShiftModeOf(c)) {
          case smAlways:
            c->SetTop(c->GetTop() + Acc);
            walk(c, Acc + own);
            break;
          case smWhenOverlapped: {
            Extended moved = 0;
            if (Node != Band) {
              Extended bottom = Node->GetTop() + Node->GetHeight();
              if (c->GetTop() < bottom) {
                moved = bottom - c->GetTop();
                c->SetTop(bottom);
              }
            }
            walk(c, moved + own);
            break;
          }
          case smDontShift: break;
        }
      }
    };
    walk(Band, 0);
  }
  PrintInlineSubreports(Band);
  if (Band->GetStretched()) {
    Extended h = 0;
    for (TfrxComponent* o : Band->GetObjects())
      if (o->GetVisible()) h = std::max(h, o->GetTop() + o->GetHeight());
    Band->SetHeight(h);
  }
  report->DoNotifyEvent(Band, Band->OnAfterCalcHeight);
  for (TfrxReportComponent* o : objs)
    if (auto* s = dynamic_cast<TfrxStretcheable*>(o); s && s->GetVisible() && s->StretchMode == smMaxHeight)
      s->SetHeight(Band->GetHeight() - s->GetTop());
}

void TfrxEngine::RestoreBand(TfrxBand* Band)
{
  TfrxReport* report = GetReport();
  TScopeExit added([&] { FreeAddedObjects(Band); });
  std::vector<TfrxReportComponent*> objs;
  for (TfrxComponent* c : OwnObjects(Band))
    if (auto* r = dynamic_cast<TfrxReportComponent*>(c)) objs.push_back(r);
  if (Band->GetVisible())
    for (TfrxReportComponent* o : objs) report->DoAfterPrint(o);
  for (TfrxReportComponent* o : objs) o->RestoreBounds();
  report->DoAfterPrint(Band);
  Band->RestoreBounds();
}

void TfrxEngine::ResetTotals(TfrxBand* Band) { FAggregates->ResetForBand(Band); }

Variant TfrxEngine::GetAggregateValue(const AnsiString& Name, const AnsiString& Expression, TfrxBand* Band,
                                      Integer Flags)
{
  return FAggregates->GetValue(FCalcBand, CurVColumn, Name, Expression, Band, Flags);
}

namespace frxEngine {

void Initialize()
{
  static bool done = false;
  if (done) return;
  done = true;
  Classes::RegisterClasses({TfrxEngine::StaticClass()});
}

}  // namespace frxEngine

PELTO_DEFINE_CLASS(TfrxEngine)
