// Report data sets: user names, ranges and events of the record walk, the lookup by name across
// reports, and the report's list of data sets.
#include <gtest/gtest.h>

#include "platform/rtl/Exceptions.h"
#include "report/engine/data/frxDataSet.h"
#include "report/engine/model/frxDataSets.h"
#include "report/engine/model/frxReport.h"
#include "report/engine/model/frxrcClass.h"

TEST(ReportDataSet, UserNameFollowsTheNameUntilChangedByHand)
{
  frxrcClass::Initialize();
  TfrxUserDataSet d(nullptr);
  d.SetName("Customers");
  EXPECT_EQ(d.GetUserName(), "Customers");
  d.SetName("Clients");
  EXPECT_EQ(d.GetUserName(), "Clients");
  d.SetUserName("客户");
  d.SetName("Other");
  EXPECT_EQ(d.GetUserName(), "客户");
  EXPECT_THROW(d.SetUserName("  "), Exception);
  EXPECT_EQ(d.GetUserName(), "客户");
  EXPECT_EQ(d.GetWidth(), 28);
  d.SetWidth(100);
  EXPECT_EQ(d.GetWidth(), 28);
}

TEST(ReportDataSet, CountedRangeEndsAfterItsRows)
{
  TfrxUserDataSet d(nullptr);
  d.RangeEnd = reCount;
  d.RangeEndCount = 3;
  int nexts = 0, firsts = 0;
  d.OnNext = [&](TObject*) { ++nexts; };
  d.OnFirst = [&](TObject*) { ++firsts; };
  d.First();
  int rows = 0;
  while (!d.Eof()) {
    ++rows;
    d.Next();
  }
  EXPECT_EQ(rows, 3);
  EXPECT_EQ(firsts, 1);
  EXPECT_EQ(nexts, 2);  // the third Next reaches the count and fires nothing
  // The host may end the data early.
  TfrxUserDataSet e(nullptr);
  e.OnCheckEOF = [](TObject* s, bool& eof) { eof = static_cast<TfrxDataSet*>(s)->RecNo >= 2; };
  e.First();
  e.Next();
  EXPECT_FALSE(e.Eof());
  e.Next();
  EXPECT_TRUE(e.Eof());
}

TEST(ReportDataSet, UserDataSetAnswersThroughItsEvent)
{
  TfrxUserDataSet d(nullptr);
  TStringList fields;
  fields.SetCommaText("Code,Name");
  d.SetFields(&fields);
  EXPECT_EQ(d.FieldsCount(), 2);
  EXPECT_TRUE(d.HasField("name"));
  EXPECT_FALSE(d.HasField("Amount"));
  EXPECT_TRUE(d.GetValue("Code").IsNull());
  EXPECT_EQ(d.GetDisplayText("Code"), "");
  d.OnGetValue = [](const AnsiString& n, Variant& v) { v = Variant(AnsiString("v-" + n)); };
  EXPECT_EQ(d.GetDisplayText("Code"), "v-Code");
}

TEST(ReportDataSet, LookupPrefersTheReportsOwnAndSkipsOtherReports)
{
  TfrxReport r1(nullptr), r2(nullptr);
  auto* own1 = new TfrxUserDataSet(&r1);
  own1->SetUserName("Customers");
  auto* own2 = new TfrxUserDataSet(&r2);
  own2->SetUserName("Customers");
  TfrxUserDataSet shared(nullptr);
  shared.SetUserName("Orders");
  EXPECT_EQ(frxClass::FindDataSetByName(nullptr, "customers", &r1), own1);
  EXPECT_EQ(frxClass::FindDataSetByName(nullptr, "Customers", &r2), own2);
  EXPECT_EQ(frxClass::FindDataSetByName(nullptr, "Orders", &r1), &shared);
  EXPECT_EQ(frxClass::FindDataSetByName(nullptr, "Orders", &r2), &shared);
  EXPECT_EQ(frxClass::FindDataSetByName(&shared, "Nothing", &r1), &shared);
  EXPECT_EQ(frxClass::FindDataSetByName(&shared, "Customers", nullptr), &shared);
  EXPECT_EQ(frxClass::FindDataSetByName(&shared, "", &r1), nullptr);
  shared.Enabled = false;
  TStringList list;
  frxClass::GetGlobalDataSetList(&list);
  EXPECT_EQ(list.IndexOf("Orders"), -1);
  EXPECT_GE(list.IndexOf("Customers"), 0);
}

TEST(ReportDataSet, ReportListBindsByNameAndForgetsFreedDataSets)
{
  TfrxReport r(nullptr);
  auto* d = new TfrxUserDataSet(nullptr);
  d->SetUserName("合同");
  TfrxDataSetItem* byName = r.GetDataSets()->Add();
  byName->SetDataSetName("合同");
  EXPECT_EQ(byName->GetDataSet(), d);
  TfrxDataSetItem* missing = r.GetDataSets()->Add();
  missing->SetDataSetName("Nowhere");
  EXPECT_EQ(missing->GetDataSet(), nullptr);
  EXPECT_EQ(missing->GetDataSetName(), "Nowhere");
  EXPECT_EQ(r.GetDataSets()->FindByName("合同"), byName);
  EXPECT_EQ(r.GetDataSets()->Find(d), byName);
  r.GetDataSets()->Initialize();
  EXPECT_EQ(d->ReportRef, &r);
  delete d;
  ASSERT_EQ(r.GetDataSets()->GetCount(), 1);
  EXPECT_EQ(r.GetDataSets()->GetItems(0), missing);
}
