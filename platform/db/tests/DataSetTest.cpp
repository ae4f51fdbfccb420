// The dataset core on a small in-memory table: navigation, the buffer window seen by data
// links, editing with its event order, locate/lookup, filters, sort and calculated fields.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/db/DataSet.h"
#include "platform/db/DataSource.h"
#include "platform/db/Fields.h"
#include "platform/db/FilterExpr.h"

namespace {

// Rows (Id, Name, Amount) given by the test.
class TTestData : public TDataSet {
public:
  struct Row {
    int Id;
    const char* Name;
    double Amount;
  };
  explicit TTestData(std::vector<Row> rows) : TDataSet(nullptr), FRows(std::move(rows)) {}
  ~TTestData() override { Close(); }

protected:
  void InternalOpen() override
  {
    GetFieldDefs().Clear();
    GetFieldDefs().Add("Id", ftInteger);
    GetFieldDefs().Add("Name", ftString, 20);
    GetFieldDefs().Add("Amount", ftFloat);
    for (const Row& r : FRows) {
      std::vector<Variant> v{Variant(r.Id), r.Name ? Variant(AnsiString(r.Name)) : Variant::Null(), Variant(r.Amount)};
      AddLoadedRecord(std::move(v));
    }
  }

private:
  std::vector<Row> FRows;
};

std::unique_ptr<TTestData> MakeData(int n)
{
  std::vector<TTestData::Row> rows;
  static const char* names[] = {"alpha",   "Bravo", "charlie", "delta", "echo",
                                "foxtrot", "golf",  "hotel",   "india", "juliet"};
  for (int i = 0; i < n; ++i) rows.push_back({i + 1, names[i % 10], (i + 1) * 1.5});
  auto ds = std::make_unique<TTestData>(rows);
  ds->Open();
  return ds;
}

// A link that writes down what it hears.
class TRecordingLink : public TDataLink {
public:
  std::vector<std::string> Log;
  void ActiveChanged() override { Log.push_back(GetActive() ? "active" : "inactive"); }
  void DataSetChanged() override { Log.push_back("changed"); }
  void DataSetScrolled(Integer d) override { Log.push_back("scrolled " + std::to_string(d)); }
  void EditingChanged() override { Log.push_back(GetEditing() ? "editing" : "browsing"); }
  void RecordChanged(TField* f) override { Log.push_back(f ? "field " + f->GetFieldName() : "record"); }
  void UpdateData() override { Log.push_back("update"); }
  void CheckBrowseMode() override { Log.push_back("check"); }
};

std::vector<int> Ids(TDataSet& ds)
{
  std::vector<int> out;
  ds.First();
  while (!ds.GetEof()) {
    out.push_back(ds.FieldByName("Id")->GetAsInteger());
    ds.Next();
  }
  return out;
}

}  // namespace

TEST(DataSet, ClosedDataSetRefusesNavigationAndCounting)
{
  TTestData ds({});
  EXPECT_THROW(ds.First(), EDatabaseError);
  EXPECT_THROW(ds.GetRecordCount(), EDatabaseError);
  ds.Open();
  EXPECT_TRUE(ds.GetBof());
  EXPECT_TRUE(ds.GetEof());
  EXPECT_EQ(ds.GetRecordCount(), 0);
  EXPECT_THROW(ds.Delete(), EDatabaseError);
  EXPECT_TRUE(ds.FieldByName("Name")->IsNull());
  EXPECT_THROW(ds.FieldByName("Nope"), EDatabaseError);
}

TEST(DataSet, NavigatesWithBofEofAndRecNo)
{
  auto ds = MakeData(3);
  EXPECT_TRUE(ds->GetBof());
  EXPECT_EQ(ds->GetRecNo(), 1);
  ds->Prior();
  EXPECT_TRUE(ds->GetBof());
  ds->Next();
  ds->Next();
  EXPECT_EQ(ds->FieldByName("Id")->GetAsInteger(), 3);
  EXPECT_FALSE(ds->GetEof());
  ds->Next();
  EXPECT_TRUE(ds->GetEof());
  EXPECT_EQ(ds->GetRecNo(), 3);
  ds->SetRecNo(2);
  EXPECT_EQ(ds->FieldByName("Name")->GetAsString(), "Bravo");
  TBookmarkStr b = ds->GetBookmark();
  ds->Last();
  ds->GotoBookmark(b);
  EXPECT_EQ(ds->GetRecNo(), 2);
  EXPECT_LT(ds->CompareBookmarks(b, ds->GetBookmark()), 1);
  EXPECT_THROW(ds->GotoBookmark("bogus"), EDatabaseError);
}

TEST(DataSet, FieldKindsConvertValues)
{
  auto ds = MakeData(1);
  TField* amount = ds->FieldByName("Amount");
  EXPECT_EQ(amount->GetAsString(), "1.5");
  EXPECT_EQ(amount->GetAsInteger(), 2);
  amount->SetDisplayFormat("0.00");
  EXPECT_EQ(amount->GetDisplayText(), "1.50");
  ds->Edit();
  ds->FieldByName("Id")->SetAsString("42");
  EXPECT_EQ(ds->FieldByName("Id")->GetValue().VarType(), varInteger);
  EXPECT_THROW(ds->FieldByName("Id")->SetAsString("1z"), EConvertError);
  amount->SetAsString("");
  EXPECT_TRUE(amount->IsNull());
  EXPECT_EQ(amount->GetAsFloat(), 0.0);
  ds->Post();
  EXPECT_EQ(ds->FieldByName("Id")->GetAsInteger(), 42);
  EXPECT_THROW(ds->FieldByName("Id")->SetAsInteger(1), EDatabaseError);  // not editing
}

TEST(DataSet, EditInsertAppendCancelDelete)
{
  auto ds = MakeData(3);
  ds->SetRecNo(2);
  ds->Insert();
  EXPECT_EQ(ds->GetState(), dsInsert);
  EXPECT_EQ(ds->GetRecordCount(), 3);
  ds->FieldByName("Id")->SetAsInteger(10);
  ds->Post();
  EXPECT_EQ((Ids(*ds)), (std::vector<int>{1, 10, 2, 3}));

  ds->Append();
  ds->FieldByName("Id")->SetAsInteger(11);
  ds->Cancel();
  EXPECT_EQ((Ids(*ds)), (std::vector<int>{1, 10, 2, 3}));

  ds->First();
  ds->Edit();
  ds->FieldByName("Name")->SetAsString("changed");
  EXPECT_EQ(ds->FieldByName("Name")->GetOldValue().AsString(), "alpha");
  ds->Cancel();
  EXPECT_EQ(ds->FieldByName("Name")->GetAsString(), "alpha");

  // Moving away posts a modified edit.
  ds->Edit();
  ds->FieldByName("Name")->SetAsString("posted");
  ds->Next();
  ds->First();
  EXPECT_EQ(ds->FieldByName("Name")->GetAsString(), "posted");

  // The classic delete loop ends once the last row is gone.
  ds->First();
  while (!ds->GetEof()) {
    if (ds->FieldByName("Id")->GetAsInteger() >= 3)
      ds->Delete();
    else
      ds->Next();
  }
  EXPECT_EQ((Ids(*ds)), (std::vector<int>{1, 2}));
  while (ds->GetRecordCount() > 0) ds->Delete();
  EXPECT_TRUE(ds->IsEmpty());
}

TEST(DataSet, RequiredFieldAndReadOnlyDataSet)
{
  auto ds = MakeData(1);
  ds->Close();
  auto* name = new TStringField(ds.get());
  name->SetFieldName("Name");
  name->SetRequired(true);
  name->SetDataSet(ds.get());
  auto* id = new TIntegerField(ds.get());
  id->SetFieldName("Id");
  id->SetDataSet(ds.get());
  ds->Open();
  EXPECT_EQ(ds->GetFields().GetCount(), 2);  // persistent fields only
  ds->Append();
  id->SetAsInteger(5);
  EXPECT_THROW(ds->Post(), EDatabaseError);
  EXPECT_EQ(ds->GetState(), dsInsert);
  ds->Cancel();
  ds->SetReadOnly(true);
  EXPECT_THROW(ds->Edit(), EDatabaseError);
  ds->Close();
  EXPECT_EQ(ds->GetFields().GetCount(), 2);  // persistent fields survive closing
}

TEST(DataSet, LocateAndLookupOptions)
{
  auto ds = MakeData(10);
  struct Case {
    const char* fields;
    Variant key;
    TLocateOptions opts;
    int id;
  };
  const Case cases[] = {
      {"Name", Variant("charlie"), {}, 3},
      {"Name", Variant("CHARLIE"), {}, 0},
      {"Name", Variant("CHARLIE"), {loCaseInsensitive}, 3},
      {"Name", Variant("ech"), {loPartialKey}, 5},
      {"Id", Variant(7), {}, 7},
      {"Id", Variant("7"), {}, 7},
      {"Id;Name", Variants::VarArrayOf({Variant(8), Variant("hotel")}), {}, 8},
      {"Id;Name", Variants::VarArrayOf({Variant(8), Variant("golf")}), {}, 0},
  };
  for (const Case& c : cases) {
    ds->First();
    bool found = ds->Locate(c.fields, c.key, c.opts);
    EXPECT_EQ(found, c.id != 0) << c.fields;
    EXPECT_EQ(ds->FieldByName("Id")->GetAsInteger(), c.id ? c.id : 1) << c.fields;
  }
  ds->First();
  EXPECT_EQ(ds->Lookup("Id", Variant(4), "Name").AsString(), "delta");
  EXPECT_TRUE(ds->Lookup("Id", Variant(99), "Name").IsNull());
  EXPECT_EQ(ds->GetRecNo(), 1);
  EXPECT_THROW(ds->Locate("Id;Name", Variant(1), {}), EDatabaseError);
}

TEST(DataSet, FilterTextAndEventAndSort)
{
  auto ds = MakeData(10);
  struct Case {
    const char* filter;
    std::vector<int> ids;
  };
  const Case cases[] = {
      {"Id > 7", {8, 9, 10}},      {"Name like '%o%' and Id < 6", {2, 5}},
      {"name LIKE 'B*'", {2}},     {"(Id = 1 or Id = 3) and not Name = 'alpha'", {3}},
      {"Amount >= 13.5", {9, 10}}, {"Name <> 'alpha' and Id <= 2", {2}},
      {"Name is null", {}},
  };
  for (const Case& c : cases) {
    ds->SetFiltered(false);
    ds->SetFilter(c.filter);
    ds->SetFiltered(true);
    EXPECT_EQ(Ids(*ds), c.ids) << c.filter;
  }
  EXPECT_THROW(ds->SetFilter("Id >"), EDatabaseError);
  // A filter naming no field leaves the previous one in force.
  EXPECT_THROW(ds->SetFilter("Nope = 1"), EDatabaseError);
  EXPECT_EQ(ds->GetFilter(), "Name is null");
  EXPECT_TRUE(ds->IsEmpty());
  ds->SetFiltered(false);
  EXPECT_EQ(ds->GetRecordCount(), 10);
  ds->SetFilter("");
  ds->OnFilterRecord = [](TDataSet* d, bool& accept) { accept = d->FieldByName("Id")->GetAsInteger() % 4 == 0; };
  ds->SetFiltered(false);
  ds->SetFiltered(true);
  EXPECT_EQ(Ids(*ds), (std::vector<int>{4, 8}));
  ds->SetFiltered(false);
  ds->SetSort("Name DESC");
  EXPECT_EQ(Ids(*ds).front(), 10);  // juliet
  ds->SetSort("Name");
  EXPECT_EQ(Ids(*ds), (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));  // Bravo between alpha and charlie
  EXPECT_THROW(ds->SetSort("Nope"), EDatabaseError);
}

TEST(DataSet, CalculatedAndLookupFields)
{
  auto names = MakeData(5);
  auto ds = MakeData(3);
  ds->Close();
  for (const char* n : {"Id", "Amount"}) {
    TField* f = n[0] == 'I' ? static_cast<TField*>(new TIntegerField(ds.get())) : new TFloatField(ds.get());
    f->SetFieldName(n);
    f->SetDataSet(ds.get());
  }
  auto* twice = new TFloatField(ds.get());
  twice->SetFieldName("Twice");
  twice->SetFieldKind(fkCalculated);
  twice->SetDataSet(ds.get());
  auto* other = new TStringField(ds.get());
  other->SetFieldName("OtherName");
  other->SetFieldKind(fkLookup);
  other->SetLookupDataSet(names.get());
  other->SetKeyFields("Id");
  other->SetLookupKeyFields("Id");
  other->SetLookupResultField("Name");
  other->SetDataSet(ds.get());
  ds->OnCalcFields = [](TDataSet* d) {
    d->FieldByName("Twice")->SetAsFloat(d->FieldByName("Amount")->GetAsFloat() * 2);
  };
  ds->Open();
  ds->Next();
  EXPECT_EQ(twice->GetAsFloat(), 6.0);
  EXPECT_EQ(other->GetAsString(), "Bravo");
  ds->Edit();
  ds->FieldByName("Amount")->SetAsFloat(10);
  EXPECT_EQ(twice->GetAsFloat(), 20.0);
  EXPECT_THROW(twice->SetAsFloat(1), EDatabaseError);
  ds->Post();
}

TEST(DataLink, SeesStateScrollEditAndPostInOrder)
{
  auto ds = MakeData(3);
  ds->Close();
  TDataSource src(nullptr);
  src.SetDataSet(ds.get());
  TRecordingLink link;
  link.SetDataSource(&src);
  std::vector<std::string> sourceLog;
  src.OnStateChange = [&](TObject*) { sourceLog.push_back("state"); };
  src.OnDataChange = [&](TObject*, TField* f) { sourceLog.push_back(f ? "data " + f->GetFieldName() : "data"); };

  ds->Open();
  ds->Next();
  ds->Edit();
  ds->FieldByName("Name")->SetAsString("x");
  ds->Post();
  ds->Close();
  EXPECT_EQ(link.Log, (std::vector<std::string>{"active", "check", "scrolled 1", "check", "editing", "record",
                                                "field Name", "update", "check", "browsing", "changed", "inactive"}));
  EXPECT_EQ(sourceLog,
            (std::vector<std::string>{"state", "data", "state", "data", "data Name", "state", "data", "state"}));
}

TEST(DataLink, BufferWindowFollowsTheCursor)
{
  auto ds = MakeData(10);
  TDataSource src(nullptr);
  src.SetDataSet(ds.get());
  TRecordingLink grid;
  grid.SetBufferCount(4);
  grid.SetDataSource(&src);
  EXPECT_EQ(grid.GetRecordCount(), 4);
  EXPECT_EQ(grid.GetActiveRecord(), 0);
  ds->MoveBy(3);
  EXPECT_EQ(grid.GetActiveRecord(), 3);
  grid.Log.clear();
  ds->Next();  // the window moves by one
  EXPECT_EQ(grid.Log, (std::vector<std::string>{"check", "scrolled 1"}));
  EXPECT_EQ(grid.GetActiveRecord(), 3);
  // Reading another buffered row through the link.
  TBookmarkStr current = ds->GetBookmark();
  grid.SetActiveRecord(0);
  EXPECT_EQ(ds->FieldByName("Id")->GetAsInteger(), 2);
  TBookmarkStr row0 = ds->GetBookmark();
  grid.SetActiveRecord(3);
  EXPECT_EQ(ds->GetBookmark(), current);
  EXPECT_LT(ds->CompareBookmarks(row0, current), 0);
  ds->Last();
  EXPECT_EQ(grid.GetActiveRecord(), 3);
  ds->First();
  EXPECT_EQ(grid.GetActiveRecord(), 0);
  // A record on row 2 is brought back to row 2 by the classic MoveBy pair after a bookmark jump.
  ds->MoveBy(5);
  ds->MoveBy(-1);
  Integer row = grid.GetActiveRecord();
  TBookmarkStr b = ds->GetBookmark();
  ds->Last();
  ds->GotoBookmark(b);
  Integer now = grid.GetActiveRecord();
  if (now > row) {
    ds->MoveBy(grid.GetRecordCount() - 1 - row);
    ds->MoveBy(row - grid.GetRecordCount() + 1);
  } else if (now < row) {
    ds->MoveBy(-row);
    ds->MoveBy(row);
  }
  EXPECT_EQ(grid.GetActiveRecord(), row);
  EXPECT_EQ(ds->GetBookmark(), b);
}

TEST(DataLink, DisabledControlsSilenceVisualLinksOnly)
{
  auto ds = MakeData(5);
  TDataSource src(nullptr);
  src.SetDataSet(ds.get());
  TRecordingLink visual, plain;
  visual.SetVisualControl(true);
  visual.SetDataSource(&src);
  plain.SetDataSource(&src);
  visual.Log.clear();
  plain.Log.clear();
  ds->DisableControls();
  ds->Next();
  ds->Edit();
  ds->EnableControls();
  EXPECT_EQ(visual.Log, (std::vector<std::string>{"editing", "changed"}));
  EXPECT_EQ(plain.Log, (std::vector<std::string>{"check", "scrolled 1", "check", "editing", "record"}));
  ds->Cancel();
}

TEST(DataLink, DataSetGoneDeactivatesLinks)
{
  auto ds = MakeData(2);
  TDataSource src(nullptr);
  src.SetDataSet(ds.get());
  TRecordingLink link;
  link.SetDataSource(&src);
  ds.reset();
  EXPECT_FALSE(link.GetActive());
  EXPECT_EQ(src.GetDataSet(), nullptr);
}

TEST(FilterExpr, LikeMatchesByCharacterIgnoringCase)
{
  struct Case {
    const char* text;
    const char* pattern;
    bool match;
  };
  const Case cases[] = {
      {"华东公司", "%东%", true}, {"华东", "_东", true}, {"华东", "__东", false},
      {"abcabd", "%ab_", true},   {"ab", "a%b%", true},  {"ab", "a_b", false},
      {"ABC", "a*c", true},       {"", "%", true},       {"x", "", false},
  };
  for (const Case& c : cases)
    EXPECT_EQ(FilterExpr::MatchLike(c.text, c.pattern), c.match) << c.text << " " << c.pattern;
}
