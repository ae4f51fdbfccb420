// Reports built in code over a real SQLite file: contracts with Chinese field names, their
// payments and invoices; helpers to add pages, bands and texts, and a dump of the prepared pages
// (one line per page: each band's name and the texts of its text objects).
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "platform/db/ADOConnection.h"
#include "platform/db/ADODataSet.h"
#include "platform/db/JetProvider.h"
#include "platform/db/Provider.h"
#include "platform/gdi/image/PictureFiles.h"
#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/FormatText.h"
#include "platform/rtl/StringList.h"
#include "report/engine/ReportEngineModule.h"
#include "report/engine/data/frxDBSet.h"
#include "report/engine/model/frxBands.h"
#include "report/engine/model/frxDataSets.h"
#include "report/engine/model/frxOptions.h"
#include "report/engine/model/frxPage.h"
#include "report/engine/model/frxReport.h"
#include "report/engine/objects/frxMemoView.h"
#include "report/engine/prepared/frxPreviewPages.h"
#include "platform/gdi/dc/DeviceContext.h"
#include "platform/gdi/dc/GdiObjects.h"
#include "platform/gdi/draw/Shapes.h"
#include "platform/gdi/image/Bitmaps.h"
#include "platform/testsupport/PixelCanvas.h"

class EngineFixture : public testing::Test {
protected:
  static void SetUpTestSuite()
  {
    ReportEngineModule::Initialize();
    DBProviders::Initialize();
    DbFile() = testing::TempDir() + "frxengine_" + std::to_string(::getpid()) + ".mdb";
    ::unlink(DbFile().c_str());
    JetProvider::CreateDatabase(DbFile());
    TADOConnection conn(nullptr);
    Connect(conn);
    TADOQuery q(nullptr);
    q.SetConnection(&conn);
    for (const char* sql : {
             "create table 合同 (编号 INTEGER, 部门 TEXT(20), 类型 TEXT(10), 客户 TEXT(30), 金额 FLOAT, 条码 TEXT(20))",
             "insert into 合同 values (1, '销售部', 'A类', '甲公司', 100, '690123456789')",
             "insert into 合同 values (2, '销售部', 'A类', '乙公司', 200, '690123456790')",
             "insert into 合同 values (3, '销售部', 'B类', '丙公司', 300, '690123456791')",
             "insert into 合同 values (4, '采购部', 'B类', '丁公司', 50, '690123456792')",
             "insert into 合同 values (5, '采购部', 'B类', '戊公司', 70, '690123456793')",
             "create table 付款 (合同编号 INTEGER, 期次 INTEGER, 金额 FLOAT)",
             "insert into 付款 values (1, 1, 40)",
             "insert into 付款 values (1, 2, 60)",
             "insert into 付款 values (3, 1, 300)",
             "create table 发票 (合同编号 INTEGER, 号码 TEXT(20))",
             "insert into 发票 values (1, 'FP-001')",
             "insert into 发票 values (2, 'FP-002')",
             "insert into 发票 values (2, 'FP-003')",
             "create table 行 (序号 INTEGER, 名称 TEXT(20))",
         }) {
      q.GetSQL()->SetText(sql);
      q.ExecSQL();
    }
    // Sixty numbered rows for reports that run over several pages.
    for (int i = 1; i <= 60; ++i) {
      q.GetSQL()->SetText(SysUtils::Format("insert into 行 values (%d, '第%d行')", {Variant(i), Variant(i)}));
      q.ExecSQL();
    }
  }
  static void TearDownTestSuite() { ::unlink(DbFile().c_str()); }
  static AnsiString& DbFile()
  {
    static AnsiString file;
    return file;
  }
  static void Connect(TADOConnection& Conn)
  {
    Conn.SetConnectionString(System::AnsiToWide("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + DbFile()));
    Conn.SetLoginPrompt(false);
    Conn.Open();
  }

  void SetUp() override
  {
    Connect(Conn);
    Report = std::make_unique<TfrxReport>(nullptr);
    Report->GetEngineOptions()->SilentMode = true;
  }
  void TearDown() override
  {
    Report.reset();
    Queries.clear();
  }

  // A data set named Name over Sql; with Master and Key, re-queried for the master's current
  // Key on every First (Sql then ends in "= ").
  TfrxDBDataset* DataSet(const AnsiString& Name, const AnsiString& Sql, TfrxDataSet* Master = nullptr,
                         const AnsiString& Key = AnsiString())
  {
    auto q = std::make_unique<TADOQuery>(nullptr);
    q->SetConnection(&Conn);
    q->GetSQL()->SetText(Master ? Sql + "-1" : Sql);
    auto* ds = new TfrxDBDataset(Report.get());
    ds->CreateUniqueName();
    ds->SetUserName(Name);
    ds->SetDataSet(q.get());
    if (Master) {
      TADOQuery* query = q.get();
      ds->OnFirst = [query, Master, Key, Sql](TObject*) {
        query->Close();
        AnsiString key = Variants::VarToStr(Master->GetValue(Key));
        query->GetSQL()->SetText(Sql + (key.empty() ? AnsiString("-1") : key));
        query->Open();
      };
    }
    Report->GetDataSets()->Add(ds);
    Queries.push_back(std::move(q));
    return ds;
  }

  TfrxReportPage* NewPage(Extended HeightMm = 297)
  {
    auto* page = new TfrxReportPage(Report.get());
    page->CreateUniqueName();
    page->SetPaperSize(9);
    page->SetPaperHeight(HeightMm);
    page->LeftMargin = page->RightMargin = page->TopMargin = page->BottomMargin = 10;
    return page;
  }
  template <class B>
  B* Band(TfrxComponent* Page, const AnsiString& Name, Extended Top, Extended Height = 20)
  {
    auto* b = new B(Page);
    b->SetName(Name);
    b->SetTop(Top);
    b->SetHeight(Height);
    return b;
  }
  TfrxDataBand* Data(TfrxComponent* Page, const AnsiString& Name, Extended Top, TfrxDataSet* Ds, Extended Height = 20)
  {
    auto* b = Band<TfrxMasterData>(Page, Name, Top, Height);
    b->SetDataSetName(Ds->GetUserName());
    return b;
  }
  template <class B>
  B* DataKind(TfrxComponent* Page, const AnsiString& Name, Extended Top, TfrxDataSet* Ds, Extended Height = 20)
  {
    auto* b = Band<B>(Page, Name, Top, Height);
    b->SetDataSetName(Ds->GetUserName());
    return b;
  }
  TfrxMemoView* Memo(TfrxComponent* Band, const AnsiString& Text, Extended Left = 0, Extended Width = 200,
                     Extended Top = 0, Extended Height = 18)
  {
    auto* m = new TfrxMemoView(Band);
    m->CreateUniqueName();
    m->SetBounds(Left, Top, Width, Height);
    m->SetText(Text);
    m->GetFont()->SetName("宋体");
    return m;
  }

  bool Prepare()
  {
    bool ok = Report->PrepareReport();
    if (!ok) ADD_FAILURE() << Report->GetErrors()->GetText();
    return ok;
  }
  TfrxPreviewPages* Pages() { return static_cast<TfrxPreviewPages*>(Report->GetPreviewPages()); }

  // One line per page: "Band{text|text} Band{...}", "[TotalPages#]" replaced by the count.
  static std::vector<std::string> Dump(TfrxPreviewPages* P)
  {
    std::vector<std::string> out;
    for (Integer i = 0; i < P->GetCount(); ++i) {
      TfrxReportPage* page = P->GetPage(i);
      std::string line;
      for (TfrxComponent* b : page->GetObjects()) {
        if (!line.empty()) line += " ";
        line += b->GetName();
        std::string texts;
        for (TfrxComponent* c : b->GetObjects())
          if (auto* m = dynamic_cast<TfrxCustomMemoView*>(c)) {
            AnsiString t = m->GetText();
            size_t at = t.find("[TotalPages#]");
            if (at != AnsiString::npos) t.replace(at, 13, SysUtils::IntToStr(P->GetCount()));
            texts += (texts.empty() ? "" : "|") + t;
          }
        if (!texts.empty()) line += "{" + texts + "}";
      }
      out.push_back(line);
    }
    return out;
  }
  std::vector<std::string> Dump() { return Dump(Pages()); }

  // Draws every page at 96 dpi on white; answers the PNG bytes of each.
  static std::vector<std::vector<std::uint8_t>> DrawPages(TfrxPreviewPages* P)
  {
    std::vector<std::vector<std::uint8_t>> out;
    for (Integer i = 0; i < P->GetCount(); ++i) {
      SIZE size = P->GetPageSize(i);
      TPixelCanvas c(size.cx, size.cy);
      P->DrawPage(i, c.DC, 1, 1, 0, 0);
      out.push_back(PngFile::SavePng(c.Bmp));
    }
    return out;
  }
  static void WritePng(const std::string& Name, const std::vector<std::uint8_t>& Png)
  {
    auto path = std::filesystem::path(PELTO_TEST_OUTPUT) / Name;
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(Png.data()), Png.size());
  }

  TADOConnection Conn{nullptr};
  std::unique_ptr<TfrxReport> Report;
  std::vector<std::unique_ptr<TADOQuery>> Queries;
};
