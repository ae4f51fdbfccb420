// The engine over real data: one small report per behaviour, its prepared pages dumped band by
// band; each is saved as ".fp3", loaded back and drawn to the same PNG pages as before.
#include "report/engine/tests/EngineFixture.h"

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FileUtils.h"
#include "platform/rtl/SaveSeam.h"
#include "platform/rtl/Streams.h"
#include "report/engine/model/frxVariables.h"
#include "report/engine/objects/frxBarcode.h"
#include "report/engine/run/frxEngine.h"
#include "report/engine/xml/frxXML.h"

namespace {

using Lines = std::vector<std::string>;

// The text of the first text object of a band on a prepared page, as stored.
AnsiString PreparedText(TfrxPreviewPages* P, Integer Index, const AnsiString& Band)
{
  for (TfrxComponent* b : P->GetPage(Index)->GetObjects())
    if (b->GetName() == Band)
      for (TfrxComponent* c : b->GetObjects())
        if (auto* m = dynamic_cast<TfrxCustomMemoView*>(c)) return m->GetText();
  return "no band " + Band;
}

class Engine : public EngineFixture {
protected:
  // Saved as .fp3, loaded into a second report, drawn: the pictures must equal those drawn
  // from the pages as prepared; the pages are kept as PNG files named after Name.
  void CheckRoundTrip(const std::string& Name)
  {
    auto before = DrawPages(Pages());
    AnsiString file = testing::TempDir() + Name + ".fp3";
    Pages()->SaveToFile(file);
    TfrxReport other(nullptr);
    TfrxPreviewPages loaded(&other);
    ASSERT_TRUE(loaded.LoadFromFile(file));
    EXPECT_EQ(Dump(&loaded), Dump());
    auto after = DrawPages(&loaded);
    ASSERT_EQ(after.size(), before.size());
    for (size_t i = 0; i < before.size(); ++i) {
      EXPECT_TRUE(before[i] == after[i]) << Name << " page " << i + 1 << " differs after the round trip";
      WritePng("engine-" + Name + "-" + std::to_string(i + 1) + ".png", after[i]);
    }
    SysUtils::DeleteFile(file);
  }
};

TEST_F(Engine, NestedGroupsWithTotals)
{
  auto* ds = DataSet("合同", "select * from 合同 order by 编号");
  auto* page = NewPage();
  auto* g1 = Band<TfrxGroupHeader>(page, "DeptHeader", 0);
  g1->Condition = "<合同.\"部门\">";
  Memo(g1, "[合同.\"部门\"]");
  auto* g2 = Band<TfrxGroupHeader>(page, "KindHeader", 30);
  g2->Condition = "<合同.\"类型\">";
  Memo(g2, "[合同.\"类型\"] [Line]");
  auto* d = Data(page, "Detail", 60, ds);
  Memo(d, "[Line] [合同.\"客户\"]");
  auto* f2 = Band<TfrxGroupFooter>(page, "KindFooter", 90);
  Memo(f2, "[SUM(<合同.\"金额\">)]");
  auto* f1 = Band<TfrxGroupFooter>(page, "DeptFooter", 120);
  Memo(f1, "[SUM(<合同.\"金额\">)] [COUNT(Detail)] [AVG(<合同.\"金额\">)]");
  ASSERT_TRUE(Prepare());
  EXPECT_EQ(Dump(), (Lines{"DeptHeader{销售部} KindHeader{A类 1} Detail{1 甲公司} Detail{2 乙公司} KindFooter{300} "
                           "KindHeader{B类 2} Detail{1 丙公司} KindFooter{300} DeptFooter{600 3 200} "
                           "DeptHeader{采购部} KindHeader{B类 1} Detail{1 丁公司} Detail{2 戊公司} KindFooter{120} "
                           "DeptFooter{120 2 60}"}));
  CheckRoundTrip("groups");
}

TEST_F(Engine, PageFooterNumbersAndTotalPages)
{
  auto* ds = DataSet("行", "select * from 行 order by 序号");
  auto* page = NewPage(100);  // 80 mm printable: about 302 pixels
  Memo(Band<TfrxPageHeader>(page, "PageHeader1", 0), "行清单");
  Memo(Data(page, "Data1", 30, ds), "[行.\"名称\"]");
  Memo(Band<TfrxPageFooter>(page, "PageFooter1", 300), "第 [Page#] 页 共 [TotalPages#] 页");
  ASSERT_TRUE(Prepare());
  Lines pages = Dump();
  // 302 pixels less header and footer (40) leave 13 rows of 20 per page.
  ASSERT_EQ(pages.size(), 5u);
  EXPECT_EQ(pages[0].substr(0, pages[0].find(' ')), "PageHeader1{行清单}");
  EXPECT_NE(pages[0].find("Data1{第13行} PageFooter1{第 1 页 共 5 页}"), std::string::npos) << pages[0];
  EXPECT_NE(pages[4].find("Data1{第60行} PageFooter1{第 5 页 共 5 页}"), std::string::npos) << pages[4];
  // A single pass leaves the count to the prepared pages.
  EXPECT_EQ(PreparedText(Pages(), 4, "PageFooter1"), "第 5 页 共 [TotalPages#] 页");
  CheckRoundTrip("pagefooter");
}

TEST_F(Engine, MasterWithTwoDetails)
{
  auto* master = DataSet("合同", "select * from 合同 where 编号 <= 3 order by 编号");
  auto* pay = DataSet("付款", "select * from 付款 where 合同编号 = ", master, "编号");
  auto* inv = DataSet("发票", "select * from 发票 where 合同编号 = ", master, "编号");
  auto* page = NewPage();
  Memo(Data(page, "ContractRow", 0, master), "[合同.\"客户\"]");
  Memo(DataKind<TfrxDetailData>(page, "PaymentRow", 30, pay), "[付款.\"期次\"]:[付款.\"金额\"]");
  Memo(DataKind<TfrxDetailData>(page, "InvoiceRow", 60, inv), "[发票.\"号码\"]");
  ASSERT_TRUE(Prepare());
  EXPECT_EQ(Dump(), (Lines{"ContractRow{甲公司} PaymentRow{1:40} PaymentRow{2:60} InvoiceRow{FP-001} "
                           "ContractRow{乙公司} InvoiceRow{FP-002} "
                           "InvoiceRow{FP-003} ContractRow{丙公司} PaymentRow{1:300}"}));
  CheckRoundTrip("masterdetail");
}

TEST_F(Engine, DetailWithoutMasterIsReported)
{
  auto* pay = DataSet("付款", "select * from 付款");
  auto* page = NewPage();
  DataKind<TfrxDetailData>(page, "Orphan", 0, pay);
  EXPECT_FALSE(Report->PrepareReport());
  EXPECT_NE(Report->GetErrors()->GetText().find("不正确的区带位置: Orphan"), std::string::npos)
      << Report->GetErrors()->GetText();
  EXPECT_EQ(Pages()->GetCount(), 0);
}

TEST_F(Engine, DoublePassKnowsTotalPages)
{
  auto* ds = DataSet("行", "select * from 行 order by 序号");
  Report->GetEngineOptions()->DoublePass = true;
  auto* page = NewPage(100);
  Memo(Band<TfrxReportTitle>(page, "Title", 0), "共 [TotalPages] 页");
  Memo(Data(page, "Data1", 30, ds), "[行.\"名称\"]");
  Memo(Band<TfrxPageFooter>(page, "PageFooter1", 300), "第 [Page#] 页 共 [TotalPages#] 页");
  ASSERT_TRUE(Prepare());
  Lines pages = Dump();
  ASSERT_EQ(pages.size(), 5u);
  EXPECT_EQ(pages[0].find("Title{共 5 页}"), 0u) << pages[0];
  // The second pass writes the count itself, so that exports, which copy the text as it
  // stands, show it too.
  EXPECT_EQ(PreparedText(Pages(), 0, "PageFooter1"), "第 1 页 共 5 页");
  EXPECT_EQ(PreparedText(Pages(), 4, "PageFooter1"), "第 5 页 共 5 页");
  CheckRoundTrip("doublepass");
}

TEST_F(Engine, KeepTogetherMovesRecordWithDetailsAndFooterTotalExcludesIt)
{
  auto* master = DataSet("合同", "select * from 合同 where 编号 <= 3 order by 编号");
  auto* pay = DataSet("付款", "select * from 付款 where 合同编号 = ", master, "编号");
  auto* page = NewPage(62);  // 42 mm printable: 158 pixels
  auto* m = Data(page, "ContractRow", 0, master, 40);
  m->KeepTogether = true;
  m->PrintIfDetailEmpty = true;
  Memo(m, "[合同.\"客户\"]");
  Memo(DataKind<TfrxDetailData>(page, "PaymentRow", 50, pay), "[付款.\"金额\"]");
  Memo(Band<TfrxPageFooter>(page, "PageFooter1", 120, 20), "[SUM(<合同.\"金额\">)]");
  ASSERT_TRUE(Prepare());
  // 138 pixels of room: 甲公司 with two payments (80) fits, 乙公司 (40) fits, 丙公司 with its
  // payment (60) does not and moves whole to page 2, where the total counts it.
  EXPECT_EQ(Dump(), (Lines{"ContractRow{甲公司} PaymentRow{40} PaymentRow{60} ContractRow{乙公司} PageFooter1{300}",
                           "ContractRow{丙公司} PaymentRow{300} PageFooter1{300}"}));
  CheckRoundTrip("keeptogether");
}

TEST_F(Engine, BandColumnsGoLeftToRight)
{
  auto* ds = DataSet("合同", "select * from 合同 order by 编号");
  auto* page = NewPage();
  auto* d = Data(page, "Card", 0, ds, 30);
  d->SetColumns(3);
  d->SetColumnWidth(150);
  Memo(d, "[合同.\"客户\"]", 0, 140);
  Memo(Band<TfrxFooter>(page, "Total", 40), "[SUM(<合同.\"金额\">)]");
  ASSERT_TRUE(Prepare());
  EXPECT_EQ(Dump(), (Lines{"Card{甲公司} Card{乙公司} Card{丙公司} Card{丁公司} Card{戊公司} Total{720}"}));
  TfrxReportPage* p = Pages()->GetPage(0);
  auto pos = [&](int i) {
    TfrxComponent* b = p->GetObjects()[static_cast<size_t>(i)];
    return std::make_pair(std::lround(b->GetLeft()), std::lround(b->GetTop()));
  };
  EXPECT_EQ(pos(0), std::make_pair(0L, 0L));
  EXPECT_EQ(pos(1), std::make_pair(150L, 0L));
  EXPECT_EQ(pos(2), std::make_pair(300L, 0L));
  EXPECT_EQ(pos(3), std::make_pair(0L, 30L));
  EXPECT_EQ(pos(5), std::make_pair(0L, 60L));
  CheckRoundTrip("bandcolumns");
}

TEST_F(Engine, SplitMemoContinuesOnTheNextPage)
{
  auto* page = NewPage(62);  // 158 pixels
  Memo(Band<TfrxReportTitle>(page, "Title", 0, 100), "Title");
  auto* s = Band<TfrxReportSummary>(page, "Body", 110, 20);
  s->SetAllowSplit(true);
  s->SetStretched(true);
  AnsiString text;
  for (int i = 1; i <= 12; ++i) text += SysUtils::Format("第%d段合同条款\r\n", {Variant(i)});
  auto* m = Memo(s, text, 0, 300, 0, 20);
  m->StretchMode = smActualHeight;
  ASSERT_TRUE(Prepare());
  Lines pages = Dump();
  ASSERT_GE(pages.size(), 2u);
  EXPECT_NE(pages[0].find("Body{第1段合同条款"), std::string::npos) << pages[0];
  EXPECT_EQ(pages[0].find("第12段"), std::string::npos) << pages[0];
  EXPECT_NE(pages.back().find("第12段合同条款"), std::string::npos) << pages.back();
  // Every paragraph is printed once.
  std::string all;
  for (auto& l : pages) all += l;
  for (int i = 1; i <= 12; ++i) {
    std::string para = SysUtils::Format("第%d段合同条款", {Variant(i)});
    EXPECT_NE(all.find(para), std::string::npos) << para;
  }
  CheckRoundTrip("split");
}

TEST_F(Engine, BandTallerThanThePageIsPlacedOnce)
{
  auto* page = NewPage(62);
  Memo(Band<TfrxReportTitle>(page, "Title", 0), "标题");
  auto* d = Band<TfrxReportSummary>(page, "Huge", 30, 400);
  d->SetStartNewPage(true);
  Memo(d, "放不下");
  ASSERT_TRUE(Prepare());
  EXPECT_EQ(Dump(), (Lines{"Title{标题}", "Huge{放不下}"}));
}

TEST_F(Engine, RowCountWithoutDataSetAndStopFlag)
{
  auto* page = NewPage();
  auto* d = Band<TfrxMasterData>(page, "Five", 0);
  d->SetRowCount(5);
  Memo(d, "[Line#]");
  ASSERT_TRUE(Prepare());
  EXPECT_EQ(Dump(), (Lines{"Five{1} Five{2} Five{3} Five{4} Five{5}"}));

  d = dynamic_cast<TfrxMasterData*>(Report->FindObject("Five"));  // the run reloaded the template
  ASSERT_NE(d, nullptr);
  d->SetRowCount(1000);
  Report->OnAfterPrint = [&](TfrxReportComponent* Sender) {
    if (Sender == d && d->LineN == 3) Report->SetTerminated(true);
  };
  ASSERT_TRUE(Prepare());
  EXPECT_EQ(Dump(), (Lines{"Five{1} Five{2} Five{3}"}));
}

TEST_F(Engine, CancelledDialogPagePreparesNothing)
{
  auto* page = NewPage();
  Memo(Band<TfrxReportTitle>(page, "Title", 0), "Title");
  auto* dialog = new TfrxPage(Report.get());
  dialog->SetName("Dialog1");
  new TfrxDialogComponent(dialog);
  Report->SetEngine(std::make_unique<TfrxEngine>(Report.get()));
  auto* engine = static_cast<TfrxEngine*>(Report->GetEngine());
  int shown = 0;
  engine->OnRunDialog = [&](TfrxPage* Page) {
    ++shown;
    return Page == dialog ? 2 : 1;
  };
  EXPECT_FALSE(Report->PrepareReport());
  EXPECT_EQ(shown, 1);
  EXPECT_EQ(Pages()->GetCount(), 0);
}

TEST_F(Engine, ScriptChangesLeaveTheTemplateUnchanged)
{
  auto* page = NewPage();
  auto* t = Band<TfrxReportTitle>(page, "Title", 0);
  auto* m = Memo(t, "原文");
  m->SetName("Memo1");
  t->OnBeforePrint = "TitleBefore";
  Report->GetScriptText()->SetText(
      "procedure TitleBefore(Sender: TfrxComponent);\r\nbegin\r\n  Memo1.Text := "
      "'脚本改过';\r\nend;\r\n\r\nbegin\r\nend.");
  bool ok = Report->PrepareReport();
  ASSERT_TRUE(ok) << Report->GetErrors()->GetCount() << " [" << Report->GetErrors()->GetText() << "]";
  EXPECT_EQ(Dump(), (Lines{"Title{脚本改过}"}));
  auto* again = dynamic_cast<TfrxMemoView*>(Report->FindObject("Memo1"));
  ASSERT_NE(again, nullptr);
  EXPECT_EQ(again->GetText(), "原文");
}

TEST_F(Engine, VerticalBandWiderThanThePageContinuesOnTheNextPage)
{
  auto* rows = DataSet("行", "select * from 行 where 序号 <= 4 order by 序号");
  auto* cols = DataSet("列", "select * from 行 where 序号 <= 15 order by 序号");
  auto* page = NewPage();  // 190 mm printable: 718 pixels
  auto* titles = Band<TfrxHeader>(page, "ColTitles", 0);
  Memo(titles, "行\\列", 0, 80);
  Memo(titles, "第[列.\"序号\"]列", 80, 60);
  auto* body = Data(page, "Rows", 30, rows);
  Memo(body, "[行.\"名称\"]", 0, 80);
  Memo(body, "[<行.\"序号\"> * <列.\"序号\">]", 80, 60);
  auto* totals = Band<TfrxFooter>(page, "Totals", 60);
  Memo(totals, "合计", 0, 80);
  Memo(totals, "[SUM(<行.\"序号\"> * <列.\"序号\">)]", 80, 60);
  Memo(Band<TfrxPageFooter>(page, "PageFooter1", 200), "第 [Page#] 页 共 [TotalPages#] 页");
  auto* v = Band<TfrxMasterData>(page, "Cols", 0);
  v->SetVertical(true);
  v->SetLeft(80);
  v->SetWidth(60);
  v->SetDataSetName("列");
  Report->GetEngineOptions()->RestoreAfterRun = false;
  ASSERT_TRUE(Prepare());
  // Ten columns of 60 fit beside the row titles (80 + 600 of 718); the other five go to page 2,
  // from the left edge, each row at the height it has on page 1.
  auto row = [](const std::string& Band, const std::string& Head, int From, int To,
                const std::function<std::string(int)>& Cell) {
    std::string out = Band + "{" + Head;
    for (int c = From; c <= To; ++c) out += (out.back() == '{' ? "" : "|") + Cell(c);
    return out + "}";
  };
  auto table = [&](int From, int To, bool Heads) {
    std::string out =
        row("ColTitles", Heads ? "行\\列" : "", From, To, [](int c) { return "第" + std::to_string(c) + "列"; });
    for (int r = 1; r <= 4; ++r)
      out += " " + row("Rows", Heads ? "第" + std::to_string(r) + "行" : "", From, To,
                       [r](int c) { return std::to_string(r * c); });
    out += " " + row("Totals", Heads ? "合计" : "", From, To, [](int c) { return std::to_string(10 * c); });
    return out;
  };
  // The first page's footer went out when the titles moved on to page 2.
  auto withFooter = [](std::string Table, int Page) {
    size_t at = Table.find(" Rows{");
    return Table.insert(at, " PageFooter1{第 " + std::to_string(Page) + " 页 共 2 页}");
  };
  EXPECT_EQ(Dump(), (Lines{withFooter(table(1, 10, true), 1), withFooter(table(11, 15, false), 2)}));
  TfrxReportPage* p2 = Pages()->GetPage(1);
  ASSERT_GE(p2->GetObjects().size(), 2u);
  TfrxComponent* rowBand = p2->GetObjects()[2];
  EXPECT_EQ(rowBand->GetName(), "Rows");
  EXPECT_NEAR(rowBand->GetTop(), 20, 0.01);
  EXPECT_NEAR(rowBand->GetObjects().front()->GetLeft(), 0, 0.01);
  // The run gives the template back as designed, also without reloading it.
  ASSERT_EQ(body->GetObjects().size(), 2u);
  EXPECT_NEAR(body->GetObjects()[1]->GetLeft(), 80, 0.01);
  EXPECT_TRUE(v->GetObjects().empty());
  CheckRoundTrip("crosstab");
}

TEST_F(Engine, SubreportsPrintBesideAndOnTheirBand)
{
  auto* master = DataSet("合同", "select * from 合同 where 编号 <= 2 order by 编号");
  auto* pay = DataSet("付款", "select * from 付款 where 合同编号 = ", master, "编号");
  auto* inv = DataSet("发票", "select * from 发票 where 合同编号 = ", master, "编号");
  auto* page = NewPage();
  auto* m = Data(page, "ContractRow", 0, master, 40);
  Memo(m, "[合同.\"客户\"]", 0, 100);
  // Payments below the row, at its left; invoices printed on the row itself.
  auto* payPage = NewPage();
  Memo(Data(payPage, "PaymentRow", 0, pay), "[付款.\"金额\"]", 0, 100);
  auto* invPage = NewPage();
  Memo(Data(invPage, "InvoiceRow", 0, inv, 18), "[发票.\"号码\"]", 0, 100);
  auto* below = new TfrxSubreport(m);
  below->SetBounds(150, 20, 200, 10);
  below->SetPage(payPage);
  auto* inline_ = new TfrxSubreport(m);
  inline_->SetBounds(400, 0, 200, 20);
  inline_->SetPage(invPage);
  inline_->PrintOnParent = true;
  m->SetStretched(true);
  Memo(Band<TfrxReportSummary>(page, "Summary", 100), "完");
  ASSERT_TRUE(Prepare());
  // 甲公司 has two payments (from y 20 to 60) and one invoice; 乙公司 no payments and two
  // invoices, which stretch its row to 36.
  EXPECT_EQ(Dump(), (Lines{"ContractRow{甲公司|FP-001} PaymentRow{40} PaymentRow{60} ContractRow{乙公司|FP-002|FP-003} "
                           "Summary{完}"}));
  TfrxReportPage* p = Pages()->GetPage(0);
  auto top = [&](int i) { return std::lround(p->GetObjects()[static_cast<size_t>(i)]->GetTop()); };
  auto left = [&](int i) { return std::lround(p->GetObjects()[static_cast<size_t>(i)]->GetLeft()); };
  EXPECT_EQ(top(1), 20);
  EXPECT_EQ(left(1), 150);
  EXPECT_EQ(top(2), 40);
  EXPECT_EQ(top(3), 60);  // after the payments, which ended below the row
  EXPECT_EQ(top(4), 96);  // the second row grew to two invoices
  TfrxComponent* second = p->GetObjects()[3];
  ASSERT_EQ(second->GetObjects().size(), 3u);
  EXPECT_EQ(std::lround(second->GetObjects()[2]->GetLeft()), 400);
  EXPECT_EQ(std::lround(second->GetObjects()[2]->GetTop()), 18);
  CheckRoundTrip("subreports");
}

TEST_F(Engine, BarcodeBoundToAFieldTakesEachRecordsValue)
{
  auto* ds = DataSet("合同", "select * from 合同 where 编号 <= 3 order by 编号");
  auto* page = NewPage();
  auto* d = Data(page, "Row", 0, ds, 70);
  Memo(d, "[合同.\"客户\"]", 0, 100);
  auto* code = new TfrxBarCodeView(d);
  code->CreateUniqueName();
  code->SetBounds(120, 0, 100, 60);
  code->BarType = bcCodeEAN13;
  code->SetDataSet(ds);
  code->DataField = "条码";
  ASSERT_TRUE(Prepare());
  TfrxReportPage* p = Pages()->GetPage(0);
  std::vector<std::string> texts;
  for (TfrxComponent* b : p->GetObjects())
    for (TfrxComponent* c : b->GetObjects())
      if (auto* v = dynamic_cast<TfrxBarCodeView*>(c)) texts.push_back(v->Text);
  EXPECT_EQ(texts, (std::vector<std::string>{"690123456789", "690123456790", "690123456791"}));
  CheckRoundTrip("barcode");
  // The first symbol's bars start at the object's left (10 mm margin + 120).
  TPixelCanvas c(800, 300);
  Pages()->DrawPage(0, c.DC, 1, 1, 0, 0);
  RECT ink = c.Ink(RECT{140, 30, 500, 100});
  EXPECT_NEAR(ink.left, 158, 2);
  EXPECT_GT(ink.right - ink.left, 80);
}

// The same report driven by a script in each language: a row handler reads the amount through
// the data set, marks large contracts and keeps a running total that the summary prints.
TEST_F(Engine, ScriptDrivenReportInEachLanguage)
{
  struct Case {
    const char* Language;
    const char* Name;
    const char* Script;
  };
  const Case cases[] = {
      {"DezodiZidede", "pascal",
       "var Total: Integer;\r\n"
       "procedure RowBefore(Sender: TfrxComponent);\r\n"
       "var v: Integer;\r\n"
       "begin\r\n"
       "  v := Report.GetDataset('合同').Value['金额'];\r\n"
       "  Total := Total + v;\r\n"
       "  if v >= 200 then Kind.Text := '大额' else Kind.Text := '普通';\r\n"
       "end;\r\n"
       "procedure SumBefore(Sender: TfrxComponent);\r\n"
       "begin\r\n"
       "  SumMemo.Text := '合计 ' + IntToStr(Total);\r\n"
       "end;\r\n"
       "begin\r\n"
       "  Total := 0;\r\n"
       "end.\r\n"},
      {"Z++Ivover", "cpp",
       "int Total = 0;\r\n"
       "void RowBefore(TfrxComponent Sender)\r\n"
       "{\r\n"
       "  int v = Report.GetDataset(\"合同\").Value[\"金额\"];\r\n"
       "  Total = Total + v;\r\n"
       "  if (v >= 200) Kind.Text = \"大额\"; else Kind.Text = \"普通\";\r\n"
       "}\r\n"
       "void SumBefore(TfrxComponent Sender)\r\n"
       "{\r\n"
       "  SumMemo.Text = \"合计 \" + IntToStr(Total);\r\n"
       "}\r\n"
       "{\r\n"
       "}\r\n"},
      {"ZuzezAvorev", "basic",
       "Dim Total = 0\r\n"
       "Sub RowBefore(Sender)\r\n"
       "  Dim v = Report.GetDataset(\"合同\").Value(\"金额\")\r\n"
       "  Total = Total + v\r\n"
       "  If v >= 200 Then\r\n"
       "    Kind.Text = \"大额\"\r\n"
       "  Else\r\n"
       "    Kind.Text = \"普通\"\r\n"
       "  End If\r\n"
       "End Sub\r\n"
       "Sub SumBefore(Sender)\r\n"
       "  SumMemo.Text = \"合计 \" & IntToStr(Total)\r\n"
       "End Sub\r\n"},
      {"JScript", "js",
       "var Total = 0;\r\n"
       "function RowBefore(Sender) {\r\n"
       "  var v = Report.GetDataset(\"合同\").Value[\"金额\"];\r\n"
       "  Total = Total + v;\r\n"
       "  if (v >= 200) Kind.Text = \"大额\"; else Kind.Text = \"普通\";\r\n"
       "}\r\n"
       "function SumBefore(Sender) {\r\n"
       "  SumMemo.Text = \"合计 \" + IntToStr(Total);\r\n"
       "}\r\n"},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.Language);
    TearDown();
    SetUp();
    DataSet("合同", "select * from 合同 where 编号 <= 3 order by 编号");
    auto* page = NewPage();
    auto* d = Data(page, "Row", 0, Report->GetDataset("合同"));
    d->OnBeforePrint = "RowBefore";
    Memo(d, "[合同.\"客户\"]", 0, 100);
    Memo(d, "", 120, 100)->SetName("Kind");
    auto* sum = Band<TfrxReportSummary>(page, "Summary", 40);
    sum->OnBeforePrint = "SumBefore";
    Memo(sum, "", 0, 200)->SetName("SumMemo");
    Report->ScriptLanguage = k.Language;
    Report->GetScriptText()->SetText(k.Script);
    ASSERT_TRUE(Prepare());
    EXPECT_EQ(Dump(), (Lines{"Row{甲公司|普通} Row{乙公司|大额} Row{丙公司|大额} Summary{合计 600}"}));
    CheckRoundTrip(std::string("script-") + k.Name);
  }
}

TEST_F(Engine, ScriptReachesDataSetsVariablesAndStreams)
{
  DataSet("合同", "select * from 合同 where 编号 = 1");
  auto* page = NewPage();
  auto* d = Data(page, "Row", 0, Report->GetDataset("合同"));
  d->OnBeforePrint = "RowBefore";
  Memo(d, "", 0, 400)->SetName("Info");
  Memo(d, "[备注]", 0, 400, 20)->SetName("Note");
  Report->GetScriptText()->SetText(
      "procedure RowBefore(Sender: TfrxComponent);\r\n"
      "var L: TStringList; S: TMemoryStream; ds: TfrxDataSet;\r\n"
      "begin\r\n"
      "  ds := Report.GetDataset('合同');\r\n"
      "  L := TStringList.Create;\r\n"
      "  ds.GetFieldList(L);\r\n"
      "  S := TMemoryStream.Create;\r\n"
      "  Note.SaveToStream(S);\r\n"
      "  Info.Text := IntToStr(L.Count) + ' ' + L[1] + ' ' + IntToStr(ds.FieldType['客户']) + ' ' +\r\n"
      "    IntToStr(ds.FieldType['金额']) + ' ' + IntToStr(S.Size div S.Size);\r\n"
      "  L.Free;\r\n"
      "  S.Free;\r\n"
      "end;\r\n"
      "var V: TfrxVariables;\r\n"
      "begin\r\n"
      "  V := Report.Variables;\r\n"
      // A variable's value is an expression: a text goes in quoted.
      "  V['备注'] := '''由脚本设''';\r\n"
      "end.\r\n");
  Report->GetVariables()->SetVariable("备注", Variant::Null());
  ASSERT_TRUE(Prepare());
  EXPECT_EQ(Dump(), (Lines{"Row{6 部门 1 0 1|由脚本设}"}));
}

TEST_F(Engine, ScriptsWalkTheChildrenAndAllDescendantsOfAnObject)
{
  auto* page = NewPage();
  auto* title = Band<TfrxReportTitle>(page, "Title", 0, 40);
  Memo(title, "", 0, 400)->SetName("Info");
  Memo(title, "second", 0, 400, 20)->SetName("Second");
  Memo(Band<TfrxReportSummary>(page, "Summary", 60), "end", 0, 100);
  title->OnBeforePrint = "TitleBefore";
  Report->GetScriptText()->SetText(
      "procedure TitleBefore(Sender: TfrxComponent);\r\n"
      "var L: TList; v: Variant;\r\n"
      "begin\r\n"
      "  L := Title.Objects;\r\n"
      "  v := L[1];\r\n"
      "  Info.Text := IntToStr(L.Count) + ' ' + v.Name + ' ' + IntToStr(Title.Page.AllObjects.Count) + ' ' +\r\n"
      "    IntToStr(Second.Objects.Count);\r\n"
      "end;\r\n"
      "begin\r\n"
      "end.\r\n");
  ASSERT_TRUE(Prepare());
  // Two memos under the title; the page holds two bands and three memos.
  EXPECT_EQ(Dump(), (Lines{"Title{2 Second 5 0|second} Summary{end}"}));
}

TEST_F(Engine, ScriptsAssignReportVariablesDirectly)
{
  auto* page = NewPage();
  Memo(Band<TfrxReportTitle>(page, "Title", 0), "[备注] [件数]", 0, 400);
  struct TCase {
    const char *Language, *Script;
  };
  const TCase cases[] = {
      {"DezodiZidede",
       "begin\r\n  Report.Variables['备注'] := '''直接设''';\r\n  Report.Variables['件数'] := 3;\r\nend."},
      {"Z++Ivover", "{\r\n  Report.Variables[\"备注\"] = \"'直接设'\";\r\n  Report.Variables[\"件数\"] = 3;\r\n}"},
      {"ZuzezAvorev", "Report.Variables(\"备注\") = \"'直接设'\"\r\nReport.Variables(\"件数\") = 3\r\n"},
      {"JScript", "Report.Variables[\"备注\"] = \"'直接设'\";\r\nReport.Variables[\"件数\"] = 3;\r\n"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Language);
    Report->GetVariables()->SetVariable("备注", Variant::Null());
    Report->GetVariables()->SetVariable("件数", Variant(0));
    Report->ScriptLanguage = c.Language;
    Report->GetScriptText()->SetText(c.Script);
    ASSERT_TRUE(Prepare());
    EXPECT_EQ(Dump(), (Lines{"Title{直接设 3}"}));
  }
}

// ---- The prepared-report file ----------------------------------------------------------------

TEST_F(Engine, PreparedFileStoresDifferencesUnderShortNames)
{
  auto* ds = DataSet("行", "select * from 行 order by 序号");
  auto* page = NewPage(100);
  Memo(Data(page, "Data1", 0, ds), "[行.\"名称\"]");
  ASSERT_TRUE(Prepare());
  ASSERT_GE(Pages()->GetCount(), 3);
  TMemoryStream s;
  Pages()->SaveToStream(&s);
  AnsiString xml(static_cast<const char*>(s.GetMemory()), static_cast<size_t>(s.GetSize()));
  EXPECT_EQ(xml.find("<previewpages><page0><b"), xml.find("<previewpages>")) << xml.substr(0, 300);
  EXPECT_NE(xml.find("<page0 ld=\"0\">"), std::string::npos);
  EXPECT_NE(xml.find("<m1 x=\"第1行\"/>"), std::string::npos) << xml.substr(0, 400);
  EXPECT_NE(xml.find("name=\"Page0.Memo1\""), std::string::npos);
}

TEST_F(Engine, DamagedPreparedFilesRaiseInvalidFormat)
{
  auto* page = NewPage();
  Memo(Band<TfrxReportTitle>(page, "Title", 0), "Title");
  ASSERT_TRUE(Prepare());
  TMemoryStream s;
  Pages()->SaveToStream(&s);
  AnsiString good(static_cast<const char*>(s.GetMemory()), static_cast<size_t>(s.GetSize()));
  auto replaced = [&](const AnsiString& From, const AnsiString& To) {
    AnsiString t = good;
    size_t at = t.find(From);
    EXPECT_NE(at, AnsiString::npos) << From;
    if (at != AnsiString::npos) t.replace(at, From.size(), To);
    return t;
  };
  const AnsiString cases[] = {
      good.substr(0, good.size() / 2),                            // cut short
      replaced("<previewpages><page0", "<previewpages><page7"),   // page of a source page that does not exist
      replaced("name=\"Page0.", "name=\"Page9."),                 // source page that does not exist
      replaced("name=\"Page0.Memo1\"", "name=\"Page0.Nobody\""),  // object that does not exist
      replaced("name=\"Page0.", "name=\"Pagex."),
  };
  for (const AnsiString& text : cases) {
    TMemoryStream in;
    in.Write(text.data(), static_cast<Int64>(text.size()));
    in.SetPosition(0);
    TfrxReport other(nullptr);
    TfrxPreviewPages loaded(&other);
    try {
      loaded.LoadFromStream(&in, false);
      ADD_FAILURE() << "accepted: " << text.substr(0, 200);
    } catch (const Exception& e) {
      EXPECT_EQ(e.Message(), "Invalid file format");
    }
  }
}

TEST_F(Engine, FailedSavesLeaveTheTargetAsItWas)
{
  auto* page = NewPage();
  Memo(Band<TfrxReportTitle>(page, "Title", 0), "标题");
  ASSERT_TRUE(Prepare());
  AnsiString file = testing::TempDir() + "fp3save_" + std::to_string(::getpid()) + ".fp3";
  SaveSeam::SaveFile(file, "old content");
  for (SaveSeam::TSaveStep step : {SaveSeam::TSaveStep::Create, SaveSeam::TSaveStep::Write, SaveSeam::TSaveStep::Sync,
                                   SaveSeam::TSaveStep::Rename}) {
    SaveSeam::TScopedSaveFaults faults;
    faults.FailAt(step, 1);
    EXPECT_THROW(Pages()->SaveToFile(file), EFCreateError);
    AnsiString data;
    ASSERT_TRUE(SysUtils::LoadFileBytes(file, data));
    EXPECT_EQ(data, "old content");
  }
  {
    SaveSeam::TScopedSaveFaults faults;
    faults.DiskFullAfter(100);
    EXPECT_THROW(Pages()->SaveToFile(file), EFCreateError);
  }
  Pages()->SaveToFile(file);
  TfrxReport other(nullptr);
  TfrxPreviewPages loaded(&other);
  EXPECT_TRUE(loaded.LoadFromFile(file));
  EXPECT_EQ(Dump(&loaded), Dump());
  SysUtils::DeleteFile(file);
}

TEST_F(Engine, OutlineAnchorsAndPageEditing)
{
  auto* ds = DataSet("合同", "select * from 合同 order by 编号");
  auto* page = NewPage();
  auto* d = Data(page, "ContractRow", 0, ds);
  d->SetOutlineText("<合同.\"客户\">");
  Memo(d, "[合同.\"客户\"]");
  ASSERT_TRUE(Prepare());
  TfrxCustomOutline* outline = Pages()->GetOutline();
  outline->LevelRoot();
  ASSERT_EQ(outline->GetCount(), 5);
  AnsiString text;
  Integer pg = -1, top = -1;
  outline->GetItem(1, text, pg, top);
  EXPECT_EQ(text, "乙公司");
  EXPECT_EQ(pg, 0);
  EXPECT_EQ(top, 20);
  EXPECT_EQ(Pages()->GetAnchorPage("没有"), 1);
  Pages()->DeletePage(0);  // the only page stays
  EXPECT_EQ(Pages()->GetCount(), 1);
  Pages()->AddEmptyPage(0);
  EXPECT_EQ(Pages()->GetCount(), 2);
  Pages()->DeletePage(0);
  EXPECT_EQ(Pages()->GetCount(), 1);
}

TEST(PreviewPagesURL, OnlyWebAndMailAddressesAreOpened)
{
  EXPECT_TRUE(frxPreviewPages::IsOpenableURL("http://example.com/合同"));
  EXPECT_TRUE(frxPreviewPages::IsOpenableURL("HTTPS://example.com"));
  EXPECT_TRUE(frxPreviewPages::IsOpenableURL("mailto:someone@example.com"));
  for (const char* bad : {"/bin/sh", "file:///etc/passwd", "calc.exe", "javascript:alert(1)", "ftp://x", ""})
    EXPECT_FALSE(frxPreviewPages::IsOpenableURL(bad)) << bad;
}

}  // namespace

namespace {

TEST(ScriptBindings, ConstantsAndEnumerationsEqualTheModel)
{
  ReportEngineModule::Initialize();
  TfrxReport r(nullptr);
  ASSERT_TRUE(r.PrepareScript());
  EXPECT_NEAR(r.Calc("fr1cm * 2.5").AsDouble(), 94.48825, 1e-9);
  EXPECT_EQ(r.Calc("skDiamond").AsInteger(), static_cast<Integer>(skDiamond));
  EXPECT_EQ(r.Calc("skDiagonal2").AsInteger(), static_cast<Integer>(skDiagonal2));
  EXPECT_EQ(r.Calc("pbOutline").AsInteger(), 1 << static_cast<int>(pbOutline));
  EXPECT_EQ(r.Calc("clTransparent").AsInteger(), 0x1FFFFFFF);
}

}  // namespace
