// Report expressions: the name lookup and its order, the compile-once cache and its error texts,
// the report functions Get, Set, IIF and the totals, and the calls of event procedures.
#include <gtest/gtest.h>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Variants.h"
#include "report/engine/ReportEngineModule.h"
#include "report/engine/data/frxDataSet.h"
#include "report/engine/model/frxBands.h"
#include "report/engine/model/frxDataSets.h"
#include "report/engine/model/frxExpression.h"
#include "report/engine/model/frxOptions.h"
#include "report/engine/model/frxPage.h"
#include "report/engine/model/frxReport.h"
#include "report/engine/model/frxVariables.h"
// The picture view's header needs the picture class complete.
#include "platform/forms/graphics/Picture.h"
#include "report/engine/objects/frxPictureView.h"
#include "report/engine/objects/frxView.h"
#include "report/engine/tests/FakeEngine.h"
#include "report/script/interp/fs_iscript.h"

namespace {

class ReportExpression : public testing::Test {
protected:
  void SetUp() override
  {
    ReportEngineModule::Initialize();
    frxExpression::Initialize();
    Report = std::make_unique<TfrxReport>(nullptr);
  }
  // Sets the script text and prepares; fails the test when it does not compile.
  void Prepare(const AnsiString& Script = "begin\r\nend.")
  {
    Report->GetScriptText()->SetText(Script);
    ASSERT_TRUE(Report->PrepareScript()) << Report->GetErrors()->GetText();
  }
  AnsiString CalcText(const AnsiString& Expr) { return Variants::VarToStr(Report->Calc(Expr)); }
  bool HasError(const AnsiString& Text) const { return Report->GetErrors()->IndexOf(Text) >= 0; }

  std::unique_ptr<TfrxReport> Report;
};

}  // namespace

TEST_F(ReportExpression, EvaluatesExpressionsNamesAndVariables)
{
  Report->GetVariables()->SetVariable("Product", Variant("2*3"));
  Report->GetVariables()->SetVariable("Five", Variant(5));
  Report->GetVariables()->SetVariable("Company", Variant("'澜岳公司'"));
  Report->GetVariables()->SetVariable("Nothing", Variant::Null());
  Prepare("var Counter: Integer;\r\nbegin\r\nend.");
  Report->GetScript()->FindLocalItem("Counter")->SetValue(Variant(12));
  struct Case {
    const char* Expr;
    const char* Text;
  } cases[] = {
      {"1 + 2 * 3", "7"},
      {"Product", "6"},              // a text variable is an expression
      {"Five", "5"},                 // other values as they are
      {"<Product> + <Five>", "11"},  // names in angle brackets inside expressions
      {"Company", "澜岳公司"},
      {"<Company> + '合同'", "澜岳公司合同"},
      {"Nothing", ""},
      {"Counter", "12"},  // an item of the report's own script
      {"Counter * 2", "24"},
      {"IntToStr(<Five>) + 'x'", "5x"},
  };
  for (const Case& c : cases) EXPECT_EQ(CalcText(c.Expr), c.Text) << c.Expr;
  EXPECT_TRUE(Report->GetErrors()->GetCount() == 0) << Report->GetErrors()->GetText();
}

TEST_F(ReportExpression, EachDistinctTextIsCompiledOnceAndBareNamesNever)
{
  Prepare();
  Report->SetEngine(std::make_unique<TFakeEngine>(Report.get()));
  auto* engine = static_cast<TFakeEngine*>(Report->GetEngine());
  engine->Pages.FirstPage = 2;
  engine->Pages.CurPage = 4;
  engine->TotalPages = 9;
  engine->CurLine = 3;
  engine->CurLineThrough = 17;
  struct Case {
    const char* Name;
    Integer Value;
  } system[] = {{"Page", 3}, {"Page#", 5}, {"TotalPages", 7}, {"TotalPages#", 9}, {"Line", 3}, {"line#", 17}};
  for (const Case& c : system) EXPECT_EQ(Report->Calc(c.Name).AsInteger(), c.Value) << c.Name;
  EXPECT_EQ(Report->GetExpressionCache()->GetCount(), 0);  // system variables compile nothing

  EXPECT_EQ(Report->Calc("1 + 1").AsInteger(), 2);
  EXPECT_EQ(Report->Calc("1 + 1").AsInteger(), 2);
  EXPECT_EQ(Report->Calc("2 + 2").AsInteger(), 4);
  EXPECT_EQ(Report->GetExpressionCache()->GetCount(), 2);
  // A new preparation starts with an empty cache.
  Prepare();
  EXPECT_EQ(Report->GetExpressionCache()->GetCount(), 0);
  EXPECT_EQ(Report->Calc("1 + 1").AsInteger(), 2);
}

TEST_F(ReportExpression, BadExpressionsAreRecordedWithTheObjectAndRaised)
{
  Prepare();
  Report->CurObject = "Memo1";
  try {
    Report->Calc("1+");
    FAIL() << "no exception";
  } catch (const Exception& e) {
    AnsiString expected = "Memo1: 表达式错误 '1+': ";
    EXPECT_EQ(e.Message().substr(0, expected.size()), expected);
    EXPECT_GT(e.Message().size(), expected.size());  // the script's own message follows
    EXPECT_TRUE(HasError(e.Message()));
  }
  // Not cached: compiled again, and the next expression gets a clean function slot.
  EXPECT_THROW(Report->Calc("1+"), Exception);
  EXPECT_EQ(Report->GetExpressionCache()->GetCount(), 0);
  EXPECT_EQ(Report->Calc("3 * 3").AsInteger(), 9);
  Report->CurObject.clear();
  Report->GetErrors()->Clear();
  EXPECT_THROW(Report->Calc("(("), Exception);
  EXPECT_EQ(Report->GetErrors()->GetStrings(0).substr(0, 10), "表达式错误");
}

TEST_F(ReportExpression, VariablesReferringToThemselvesFailInsteadOfRecursingForever)
{
  Report->GetVariables()->SetVariable("Loop", Variant("Loop"));
  Report->GetVariables()->SetVariable("A", Variant("B + 1"));
  Report->GetVariables()->SetVariable("B", Variant("A + 1"));
  Prepare();
  EXPECT_THROW(Report->Calc("Loop"), Exception);
  EXPECT_THROW(Report->Calc("A"), Exception);
  EXPECT_TRUE(Report->GetExpressionCache()->VariablesInUse.empty());
  // The guard is per evaluation: the same variable used twice in one expression is fine.
  Report->GetVariables()->SetVariable("Two", Variant("2"));
  EXPECT_EQ(Report->Calc("<Two> * <Two>").AsInteger(), 4);
}

TEST_F(ReportExpression, LookupOrderDataFieldSystemHostVariableScript)
{
  TfrxUserDataSet ds(nullptr);
  ds.SetUserName("Orders");
  ds.GetFields()->SetText("Amount\r\nName");
  Variant amount = Variant(12.5);
  ds.OnGetValue = [&](const AnsiString& Field, Variant& V) { V = Field == "Amount" ? amount : Variant::Null(); };
  Report->GetDataSets()->Add(&ds);
  Report->GetVariables()->SetVariable("Rate", Variant(3));
  Report->GetVariables()->SetVariable("Page", Variant(99));  // a system name wins over a variable
  Prepare();

  EXPECT_EQ(Report->Calc("Orders.\"Amount\"").AsDouble(), 12.5);
  EXPECT_EQ(Report->Calc("<Orders.\"Amount\"> * 2").AsDouble(), 25.0);
  EXPECT_TRUE(Report->Calc("Page").IsNull());  // system variable, no engine yet
  // Null data values stay Null unless ConvertNulls says otherwise (by the field's type).
  amount = Variant::Null();
  Report->GetEngineOptions()->ConvertNulls = false;
  EXPECT_TRUE(Report->Calc("Orders.\"Amount\"").IsNull());
  Report->GetEngineOptions()->ConvertNulls = true;
  EXPECT_EQ(Report->Calc("Orders.\"Amount\"").VarType(), varInteger);
  // A data set not listed in the report is no data field.
  TfrxUserDataSet other(nullptr);
  other.SetUserName("Other");
  Variant v;
  EXPECT_FALSE(Report->GetVariableValue("Other.\"X\"", v));

  // A host handler that leaves Value Empty does not hide the variable; a value it gives wins.
  int asked = 0;
  Variant hostValue;
  Report->OnGetValue = [&](const AnsiString&, Variant& Value) {
    ++asked;
    if (!hostValue.IsEmpty()) Value = hostValue;
  };
  EXPECT_EQ(Report->Calc("Rate").AsInteger(), 3);
  EXPECT_EQ(asked, 1);
  hostValue = Variant(7);
  EXPECT_EQ(Report->Calc("Rate").AsInteger(), 7);
  Report->GetDataSets()->Clear();
}

TEST_F(ReportExpression, GetSetAndIIFEvaluateOnlyWhatTheyNeed)
{
  Report->GetVariables()->SetVariable("a", Variant(5));
  Prepare("begin\r\n  Set('Total', 40 + 2);\r\nend.");
  Report->GetScript()->Execute();
  EXPECT_EQ(Report->GetVariables()->GetVariable("Total").AsInteger(), 42);
  EXPECT_EQ(CalcText("<Total> + 1"), "43");

  // The branch not taken is never evaluated: 1/0 would raise.
  EXPECT_EQ(CalcText("IIF(<a> > 0, 'pos', 1/0)"), "pos");
  Report->GetVariables()->SetVariable("a", Variant(-1));
  EXPECT_THROW(Report->Calc("IIF(<a> > 0, 'pos', 1/0)"), Exception);
  EXPECT_EQ(CalcText("IIF(<a> > 0, 'pos', 'neg')"), "neg");
  EXPECT_EQ(CalcText("IIF(<a> < 0, IIF(<a> < -5, 'far', 'near'), 'pos')"), "near");

  // An unknown name in angle brackets is recorded and reads as Null.
  EXPECT_TRUE(Report->Calc("<NoSuchField>").IsNull());
  EXPECT_TRUE(HasError("未知的变量或数据库字段: NoSuchField"));
}

TEST_F(ReportExpression, TotalsPassTheirTextsToTheEngine)
{
  auto* page = new TfrxReportPage(Report.get());
  page->SetName("Page1");
  auto* band = new TfrxMasterData(page);
  band->SetName("MasterData1");
  Prepare();
  // Without an engine there is nothing to add up.
  EXPECT_TRUE(Report->Calc("SUM(<Orders.\"Amount\">)").IsNull());

  Report->SetEngine(std::make_unique<TFakeEngine>(Report.get()));
  Prepare();
  auto* engine = static_cast<TFakeEngine*>(Report->GetEngine());
  struct Case {
    const char* Expr;
    const char* Asked;
  } cases[] = {
      {"SUM(<Orders.\"Amount\">)", "SUM|<Orders.\"Amount\">|-|0"},
      {"AVG(<Orders.\"Amount\"> * 2, MasterData1, 1 + 2)", "AVG|<Orders.\"Amount\"> * 2|MasterData1|3"},
      {"MIN(<x>, MasterData1)", "MIN|<x>|MasterData1|0"},
      {"MAX(<x>)", "MAX|<x>|-|0"},
      {"MAX(<x>, 12345)", "MAX|<x>|-|0"},  // a number that is no object of the report
      {"COUNT(MasterData1, 1)", "COUNT||MasterData1|1"},
      {"COUNT", "COUNT||-|0"},
  };
  for (const Case& c : cases) {
    engine->LastAggregate.clear();
    EXPECT_EQ(Report->Calc(c.Expr).AsInteger(), 42) << c.Expr;
    EXPECT_EQ(engine->LastAggregate, c.Asked) << c.Expr;
  }
  // Get of a total's text evaluates it.
  engine->LastAggregate.clear();
  EXPECT_EQ(Report->Calc("<SUM(<x>)> + 1").AsInteger(), 43);
  EXPECT_EQ(engine->LastAggregate, "SUM|<x>|-|0");
}

TEST_F(ReportExpression, EventProceduresRunDuringARunOrWhenAskedTo)
{
  auto* page = new TfrxReportPage(Report.get());
  page->SetName("Page1");
  auto* view = new TfrxView(page);
  view->SetName("View1");
  view->OnBeforePrint = "View1Before";
  view->OnAfterPrint = "View1After";
  view->OnPreviewClick = "View1Click";
  Prepare(
      "procedure View1Before(Sender: Variant); begin Set('Before', Get('Before') + 1) end;\r\n"
      "procedure View1After(Sender: Variant); begin Set('After', Sender) end;\r\n"
      "procedure View1Click(Sender: Variant; Button, Shift: Integer; var Modified: Boolean);\r\n"
      "begin Modified := (Button = 1) and (Shift = 4) end;\r\n"
      "begin\r\nend.");
  Report->GetVariables()->SetVariable("Before", Variant(0));
  std::vector<AnsiString> host;
  Report->OnBeforePrint = [&](TfrxReportComponent* c) { host.push_back("before " + c->GetName()); };
  Report->OnAfterPrint = [&](TfrxReportComponent* c) { host.push_back("after " + c->GetName()); };

  // Not running: the host hears it, the script does not.
  Report->DoBeforePrint(view);
  EXPECT_EQ(Report->GetVariables()->GetVariable("Before").AsInteger(), 0);
  Report->DoNotifyEvent(view, view->OnBeforePrint, true);
  EXPECT_EQ(Report->GetVariables()->GetVariable("Before").AsInteger(), 1);

  Report->SetEngine(std::make_unique<TFakeEngine>(Report.get()));
  Report->GetEngine()->Running = true;
  Report->DoBeforePrint(view);
  Report->DoAfterPrint(view);
  EXPECT_EQ(Report->GetVariables()->GetVariable("Before").AsInteger(), 2);
  EXPECT_EQ(frxExpression::VariantToObject(Report->GetVariables()->GetVariable("After")), view);
  EXPECT_EQ(host, (std::vector<AnsiString>{"before View1", "before View1", "after View1"}));
  Report->DoNotifyEvent(view, "");  // no procedure: nothing

  // A preview click runs even when the engine is idle; Modified comes back from the script.
  Report->GetEngine()->Running = false;
  bool hostSaw = false;
  Report->OnClickObject = [&](TfrxView* v, Integer, Integer, bool& Modified) { hostSaw = Modified && v == view; };
  bool modified = false;
  Report->DoPreviewClick(view, 1, 4, modified);
  EXPECT_TRUE(modified);
  EXPECT_TRUE(hostSaw);
  Report->DoPreviewClick(view, 0, 4, modified);
  EXPECT_FALSE(modified);
}

TEST_F(ReportExpression, ScriptErrorsFailThePreparation)
{
  Report->GetScriptText()->SetText("begin\r\n  x := ;\r\nend.");
  EXPECT_FALSE(Report->PrepareScript());
  ASSERT_EQ(Report->GetErrors()->GetCount(), 1);
  EXPECT_EQ(Report->GetErrors()->GetStrings(0).substr(0, 14), "脚本发生错误在");
  // The next preparation starts over: no item of the failed one is left behind.
  Prepare();
  EXPECT_NE(Report->GetValueVariable(), nullptr);
  EXPECT_EQ(Report->GetScript()->FindLocalItem("Report") != nullptr, true);
}

TEST_F(ReportExpression, PreparationPutsTheObjectsInRunState)
{
  auto* page = new TfrxReportPage(Report.get());
  page->SetName("Page1");
  auto* view = new TfrxView(page);
  view->SetName("View1");
  view->SetIsDesigning(true);
  auto* picture = new TfrxPictureView(page);
  picture->SetName("Picture1");
  picture->PictureChanged = true;
  Prepare();
  EXPECT_FALSE(view->GetIsDesigning());
  EXPECT_FALSE(picture->PictureChanged);
  // Objects and the report are reachable by name.
  EXPECT_EQ(frxExpression::VariantToObject(Report->Calc("View1")), view);
  EXPECT_EQ(frxExpression::VariantToObject(Report->Calc("Report")), Report.get());
}
