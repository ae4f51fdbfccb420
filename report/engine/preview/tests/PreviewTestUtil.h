// The preview's windows on the headless desktop over a report built in code: a row data set of
// fixed size whose texts a test chooses, some rows per page, and a script of steps run on each
// modal form as it comes up.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "platform/forms/app/Application.h"
#include "platform/forms/app/Screen.h"
#include "platform/forms/app/Timer.h"
#include "platform/forms/controls/Controls.h"
#include "platform/forms/forms/CustomForm.h"
#include "platform/forms/graphics/Font.h"
#include "platform/stdctrls/StdCtrls.h"
#include "platform/stdctrls/dialogs/Dialogs.h"
#include "platform/stdctrls/menus/Menus.h"
#include "platform/testsupport/ModalSteps.h"
#include "platform/win/backend/Headless.h"
#include "report/engine/data/frxDataSet.h"
#include "report/engine/model/frxBands.h"
#include "report/engine/model/frxDataSets.h"
#include "report/engine/model/frxPage.h"
#include "report/engine/model/frxReport.h"
#include "report/engine/objects/frxMemoView.h"
#include "report/engine/prepared/frxPreviewPages.h"
#include "report/engine/preview/PreviewModule.h"

class PreviewFixture : public testing::Test {
protected:
  void SetUp() override
  {
    Headless::Start(1024, 768);
    Forms::FinalizeApplication();
    Controls::Initialize();
    Forms::InitializeApplication();
    StdCtrls::Initialize();
    Menus::Initialize();
    PreviewModule::Initialize();
    Report = std::make_unique<TfrxReport>(nullptr);
    Report->GetEngineOptions()->SilentMode = true;
  }
  void TearDown() override
  {
    EXPECT_EQ(ModalSteps.Left(), 0u) << "modal steps left";
    ModalSteps.Clear();
    Report.reset();
    PreviewModule::Finalize();
    Dialogs::Finalize();
    Forms::FinalizeApplication();
    Headless::Start(1024, 768);
  }

  // A report of the given row texts, RowsPerPage rows on each A4 page (one text object per row,
  // 40 pixels from the page's left), each row an outline item named after its text.
  void BuildReport(std::vector<AnsiString> Texts, int RowsPerPage, bool Outline = false)
  {
    RowTexts = std::move(Texts);
    auto* ds = new TfrxUserDataSet(Report.get());
    ds->SetName("RowsDS");
    ds->SetUserName("行");
    ds->GetFields()->Add("名称");
    ds->RangeEnd = reCount;
    ds->RangeEndCount = static_cast<Integer>(RowTexts.size());
    ds->OnGetValue = [this, ds](const AnsiString&, Variant& Value) {
      size_t i = static_cast<size_t>(ds->RecNo);
      Value = i < RowTexts.size() ? Variant(RowTexts[i]) : Variant();
    };
    Report->GetDataSets()->Add(ds);
    auto* page = new TfrxReportPage(Report.get());
    page->SetName("Page1");
    page->SetPaperSize(9);
    page->LeftMargin = page->RightMargin = page->TopMargin = page->BottomMargin = 10;
    auto* band = new TfrxMasterData(page);
    band->SetName("MasterData1");
    band->SetDataSetName("行");
    band->SetTop(20);
    // The page's 1047 pixels between its margins hold RowsPerPage rows.
    band->SetHeight(1040.0 / RowsPerPage);
    if (Outline) band->SetOutlineText("<行.\"名称\">");
    auto* memo = new TfrxMemoView(band);
    memo->SetName("Memo1");
    memo->SetBounds(40, 0, 300, 20);
    memo->SetText("[行.\"名称\"]");
    memo->GetFont()->SetName("宋体");
    memo->GetFont()->SetHeight(-16);
  }
  TfrxPreviewPages* Pages() { return static_cast<TfrxPreviewPages*>(Report->GetPreviewPages()); }

  static TCustomForm* ModalForm() { return TModalSteps::ModalForm(); }
  // Steps run on each modal form as it comes up; a step ends by closing the form.
  void OnModal(TModalSteps::TStep Step) { ModalSteps.Add(std::move(Step)); }

  std::unique_ptr<TfrxReport> Report;
  std::vector<AnsiString> RowTexts;
  TModalSteps ModalSteps;
};
