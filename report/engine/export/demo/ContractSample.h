// The contract list the report demonstrations show, built in code over a data set of its own:
// a title, column headers, numbered rows with a client and a framed amount, and the page footer
// "第 N 页 共 M 页" of a double pass. A demonstration adds its own bands (groups) to Page.
#pragma once

#include <functional>
#include <memory>

#include "report/engine/data/frxDataSet.h"
#include "report/engine/model/frxBands.h"
#include "report/engine/model/frxDataSets.h"
#include "report/engine/model/frxOptions.h"
#include "report/engine/model/frxPage.h"
#include "report/engine/model/frxReport.h"
#include "report/engine/objects/frxMemoView.h"

namespace ContractSample {

inline TfrxMemoView* AddMemo(TfrxComponent* Band, const AnsiString& Text, Extended Left, Extended Width)
{
  auto* m = new TfrxMemoView(Band);
  m->CreateUniqueName();
  m->SetBounds(Left, 0, Width, 18);
  m->SetText(Text);
  m->GetFont()->SetName("宋体");
  return m;
}

template <class TBand>
TBand* AddBand(TfrxReportPage* Page, const char* Name, Extended Top, Extended Height)
{
  auto* b = new TBand(Page);
  b->SetName(Name);
  b->SetTop(Top);
  b->SetHeight(Height);
  return b;
}

struct TSample {
  std::unique_ptr<TfrxReport> Report;
  TfrxReportPage* Page = nullptr;
};

// Rows rows on A4; row n (from 1) is contract n of client ClientOf(n) over n × 125.5.
inline TSample Build(const AnsiString& Name, int Rows, std::function<AnsiString(int)> ClientOf)
{
  TSample s;
  s.Report = std::make_unique<TfrxReport>(nullptr);
  TfrxReport* report = s.Report.get();
  report->GetEngineOptions()->SilentMode = true;
  report->GetEngineOptions()->DoublePass = true;
  report->GetReportOptions()->Name = Name;
  auto* ds = new TfrxUserDataSet(report);
  ds->CreateUniqueName();
  ds->SetUserName("合同");
  ds->RangeEnd = reCount;
  ds->RangeEndCount = Rows;
  ds->GetFields()->SetText("编号\r\n客户\r\n金额");
  ds->OnGetValue = [ds, ClientOf](const AnsiString& Field, Variant& Value) {
    int n = ds->RecNo + 1;
    if (Field == "编号")
      Value = Variant(n);
    else if (Field == "客户")
      Value = Variant(ClientOf(n));
    else if (Field == "金额")
      Value = Variant(n * 125.5);
  };
  report->GetDataSets()->Add(ds);

  auto* page = new TfrxReportPage(report);
  page->CreateUniqueName();
  page->SetPaperSize(9);
  page->LeftMargin = page->RightMargin = page->TopMargin = page->BottomMargin = 10;
  s.Page = page;
  TfrxMemoView* head = AddMemo(AddBand<TfrxReportTitle>(page, "Title", 0, 40), "澜岳合同清单 Contract list", 0, 500);
  head->SetHeight(30);
  head->GetFont()->SetSize(16);
  auto* header = AddBand<TfrxPageHeader>(page, "Header", 60, 22);
  AddMemo(header, "编号", 0, 80);
  AddMemo(header, "客户", 90, 250);
  AddMemo(header, "金额", 350, 150)->HAlign = haRight;
  auto* rows = AddBand<TfrxMasterData>(page, "Rows", 120, 20);
  rows->SetDataSetName("合同");
  AddMemo(rows, "[合同.\"编号\"]", 0, 80);
  AddMemo(rows, "[合同.\"客户\"]", 90, 250);
  TfrxMemoView* amount = AddMemo(rows, "[合同.\"金额\"]", 350, 150);
  amount->HAlign = haRight;
  amount->GetFrame()->Typ = TfrxFrameTypes{ftLeft, ftRight, ftTop, ftBottom};
  AddMemo(AddBand<TfrxPageFooter>(page, "Footer", 190, 22), "第 [Page#] 页 共 [TotalPages#] 页", 0, 300);
  return s;
}

}  // namespace ContractSample
