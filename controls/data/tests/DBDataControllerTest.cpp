// The dataset-bound controller over an in-memory table and an SQLite query: loading, binding
// items by field name, the focus and the cursor following each other, editing and posting
// through the dataset, keys, and two controllers sharing one dataset.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "controls/data/DataModule.h"
#include "controls/data/db/cxDBDataController.h"
#include "controls/data/controller/cxDataRelations.h"
#include "controls/data/controller/cxDataSummary.h"
#include "platform/db/ADODataSet.h"
#include "platform/db/DB.h"
#include "platform/db/DBClasses.h"
#include "platform/db/DataSource.h"
#include "platform/db/Fields.h"
#include "platform/db/tests/JetTestSupport.h"

namespace {

class TItem : public TObject {};

// A table of people: ID, Name, Amount.
// Counts its loads.
class TCountingController : public TcxDBDataController {
public:
  void ReloadRecords() override
  {
    ++Loads;
    TcxDBDataController::ReloadRecords();
  }
  int Loads = 0;
};

class DBControllerTest : public testing::Test {
protected:
  DBControllerTest()
  {
    DataModule::Initialize();
    DBClasses::Initialize();
    Table.GetFieldDefs().Add("ID", ftInteger);
    Table.GetFieldDefs().Add("Name", ftString, 20);
    Table.GetFieldDefs().Add("Amount", ftFloat);
    Table.CreateDataSet();
    const char* names[] = {"张三", "李四", "王五", "赵六", "钱七"};
    for (int i = 0; i < 5; ++i) Table.AppendRecord({i + 1, AnsiString(names[i]), (i + 1) * 10.5});
    Table.First();
    Source.SetDataSet(&Table);
  }
  // Items bound to the names; the controller is bound to the source afterwards.
  TcxDBDataController* Bind(std::vector<const char*> AFieldNames, TcxDBDataController* AController = nullptr)
  {
    TcxDBDataController* c = AController ? AController : C.get();
    for (const char* name : AFieldNames) {
      Items.push_back(std::make_unique<TItem>());
      c->AddItem(Items.back().get());
      c->ChangeFieldName(c->GetItemIndex(Items.back().get()), name);
    }
    c->SetDataSource(&Source);
    return c;
  }
  std::vector<std::string> Column(int AItemIndex, TcxDBDataController* AController = nullptr)
  {
    TcxDBDataController* c = AController ? AController : C.get();
    std::vector<std::string> result;
    for (int row = 0; row < c->GetRowCount(); ++row)
      result.push_back(Variants::VarToStr(c->GetValue(c->GetRowInfo(row).RecordIndex, AItemIndex)));
    return result;
  }

  TADODataSet Table{nullptr};
  TDataSource Source{nullptr};
  std::vector<std::unique_ptr<TItem>> Items;
  std::unique_ptr<TcxDBDataController> C = std::make_unique<TcxDBDataController>();
};

TEST_F(DBControllerTest, LoadsRecordsAndBindsItemsByName)
{
  Bind({"ID", "name", "Missing"});
  ASSERT_EQ(C->GetRecordCount(), 5);
  EXPECT_EQ(Column(0), (std::vector<std::string>{"1", "2", "3", "4", "5"}));
  EXPECT_EQ(Column(1)[1], "李四");
  // A name the dataset lacks leaves the item unbound, not an error.
  EXPECT_EQ(C->GetItemField(2), nullptr);
  EXPECT_TRUE(C->GetValue(0, 2).IsNull());
  EXPECT_EQ(C->GetItemField(1), Table.FieldByName("Name"));
  EXPECT_EQ(C->GetItemByFieldName("NAME"), Items[1].get());
  EXPECT_EQ(C->GetItemByFieldName("nothing"), nullptr);
  EXPECT_EQ(C->GetItemValueTypeClass(2), nullptr);
  EXPECT_THROW(C->GetItemField(3), EcxInvalidDataControllerOperation);

  C->SetItemSortOrder(0, soDescending);
  EXPECT_EQ(Column(0), (std::vector<std::string>{"5", "4", "3", "2", "1"}));
  // Closing drops the records and the default fields; an opened (here empty) table reloads.
  Table.Close();
  EXPECT_EQ(C->GetRecordCount(), 0);
  EXPECT_EQ(C->GetItemField(0), nullptr);
  Table.Open();
  Table.AppendRecord({7, AnsiString("周九"), 1.0});
  ASSERT_EQ(C->GetRecordCount(), 1);
  EXPECT_EQ(C->GetItemField(0), Table.FieldByName("ID"));
  EXPECT_EQ(Column(1), (std::vector<std::string>{"周九"}));
}

TEST_F(DBControllerTest, ItemsOnOneFieldShareItsDataUntilRenamed)
{
  Bind({"Name", "NAME"});
  auto* first = C->GetFields()->Items(0);
  auto* second = C->GetFields()->Items(1);
  EXPECT_EQ(second->GetReference(), first);
  EXPECT_EQ(C->GetValue(2, 1), C->GetValue(2, 0));
  C->ChangeFieldName(1, "ID");
  EXPECT_EQ(second->GetReference(), nullptr);
  EXPECT_EQ(Variants::VarToStr(C->GetValue(2, 1)), "3");
  EXPECT_EQ(Variants::VarToStr(C->GetValue(2, 0)), "王五");
}

TEST_F(DBControllerTest, FocusAndCursorFollowEachOther)
{
  for (const char* keys : {"", "ID"}) {
    SCOPED_TRACE(keys);
    C = std::make_unique<TcxDBDataController>();
    Items.clear();
    C->SetKeyFieldNames(keys);
    Table.First();
    Bind({"ID", "Name"});
    C->SetItemSortOrder(0, soDescending);  // rows no longer in dataset order
    EXPECT_EQ(C->GetFocusedRecordIndex(), 0);
    C->SetFocusedRowIndex(1);  // ID 4
    EXPECT_EQ(C->GetFocusedRecordIndex(), 3);
    EXPECT_EQ(C->GetKeyFieldsValue(3).IsNull(), std::string(keys).empty());
    EXPECT_EQ(Table.FieldByName("ID")->GetAsInteger(), 4);
    Table.First();
    Table.Next();  // ID 2
    EXPECT_EQ(Variants::VarToStr(C->GetValue(C->GetFocusedRecordIndex(), 0)), "2");
    EXPECT_EQ(C->GetFocusedRowIndex(), 3);
    C->SetFocusedRowIndex(0);  // ID 5
    EXPECT_EQ(Table.GetRecNo(), 5);
  }
}

TEST_F(DBControllerTest, EditsGoThroughTheDataSet)
{
  Bind({"ID", "Name", "Amount"});
  C->SetFocusedRowIndex(2);
  ASSERT_EQ(Table.GetRecNo(), 3);
  ASSERT_TRUE(C->StoreEditValue(1, AnsiString("改名"), 0));
  EXPECT_EQ(Table.GetState(), dsEdit);
  EXPECT_EQ(C->GetEditState() & dceEdit, dceEdit);
  // The edited record shows the new value before the post.
  EXPECT_EQ(Variants::VarToStr(C->GetValue(2, 1)), "改名");
  // Text source goes through the field's text conversion.
  ASSERT_TRUE(C->StoreEditValue(2, AnsiString("7.25"), 1));
  EXPECT_EQ(Variants::VarToStr(C->FetchEditValue(2, 1)), "7.25");
  C->Post();
  EXPECT_EQ(Table.GetState(), dsBrowse);
  EXPECT_EQ(Table.FieldByName("Name")->GetAsString(), "改名");
  EXPECT_DOUBLE_EQ(Table.FieldByName("Amount")->GetAsFloat(), 7.25);
  EXPECT_EQ(C->GetRecordCount(), 5);
  EXPECT_EQ(Variants::VarToStr(C->GetValue(2, 1)), "改名");
  EXPECT_EQ(C->GetFocusedRecordIndex(), 2);

  // Cancel restores the dataset's value and the controller's.
  ASSERT_TRUE(C->StoreEditValue(1, AnsiString("丢弃"), 0));
  C->Cancel();
  EXPECT_EQ(Table.FieldByName("Name")->GetAsString(), "改名");
  EXPECT_EQ(Variants::VarToStr(C->GetValue(2, 1)), "改名");

  // An unbound item cannot be edited.
  Items.push_back(std::make_unique<TItem>());
  C->AddItem(Items.back().get());
  EXPECT_FALSE(C->StoreEditValue(3, 1, 0));
}

TEST_F(DBControllerTest, InsertAppendAndDeleteReachTheDataSet)
{
  Bind({"ID", "Name"});
  C->Append();
  EXPECT_EQ(Table.GetState(), dsInsert);
  EXPECT_EQ(C->GetRecordCount(), 6);  // the inserting record
  ASSERT_TRUE(C->StoreEditValue(0, 6, 0));
  ASSERT_TRUE(C->StoreEditValue(1, AnsiString("孙八"), 0));
  C->Post();
  EXPECT_EQ(Table.GetRecordCount(), 6);
  ASSERT_EQ(C->GetRecordCount(), 6);
  EXPECT_EQ(Column(1).back(), "孙八");
  EXPECT_EQ(Variants::VarToStr(C->GetValue(C->GetFocusedRecordIndex(), 1)), "孙八");

  C->Insert();
  C->Cancel();  // an insert given up leaves nothing behind
  EXPECT_EQ(Table.GetRecordCount(), 6);
  EXPECT_EQ(C->GetRecordCount(), 6);

  C->SetFocusedRowIndex(1);
  C->DeleteFocused();
  EXPECT_EQ(Table.GetRecordCount(), 5);
  EXPECT_EQ(Column(0), (std::vector<std::string>{"1", "3", "4", "5", "6"}));
  // The focus stands on the dataset's current record.
  EXPECT_EQ(Variants::VarToStr(C->GetValue(C->GetFocusedRecordIndex(), 0)), Table.FieldByName("ID")->GetAsString());
}

TEST_F(DBControllerTest, SelectedRecordsAreDeletedByKey)
{
  C->SetKeyFieldNames("ID");
  Bind({"ID"});
  C->SetItemSortOrder(0, soDescending);
  C->SetMultiSelect(true);
  C->ChangeRowSelection(0, true);  // ID 5
  C->ChangeRowSelection(3, true);  // ID 2
  C->DeleteSelection();
  EXPECT_EQ(Table.GetRecordCount(), 3);
  EXPECT_EQ(Column(0), (std::vector<std::string>{"4", "3", "1"}));
  EXPECT_FALSE(Table.Locate("ID", 5));
  EXPECT_FALSE(Table.Locate("ID", 2));
}

TEST_F(DBControllerTest, LookupFieldsAreKeptByTheirKeyFields)
{
  TADODataSet kinds(nullptr);
  kinds.GetFieldDefs().Add("KID", ftInteger);
  kinds.GetFieldDefs().Add("KName", ftString, 10);
  kinds.CreateDataSet();
  kinds.AppendRecord({1, AnsiString("甲")});
  kinds.AppendRecord({2, AnsiString("乙")});
  TADODataSet orders(nullptr);
  orders.GetFieldDefs().Add("OID", ftInteger);
  orders.GetFieldDefs().Add("KindID", ftInteger);
  for (const char* n : {"OID", "KindID"}) {
    auto* f = new TIntegerField(&orders);
    f->SetFieldName(n);
    f->SetDataSet(&orders);
  }
  auto* kind = new TStringField(&orders);
  kind->SetFieldName("Kind");
  kind->SetFieldKind(fkLookup);
  kind->SetLookupDataSet(&kinds);
  kind->SetKeyFields("KindID");
  kind->SetLookupKeyFields("KID");
  kind->SetLookupResultField("KName");
  kind->SetDataSet(&orders);
  orders.CreateDataSet();
  orders.AppendRecord({10, 2});
  orders.AppendRecord({11, 1});
  Source.SetDataSet(&orders);
  Bind({"OID", "Kind"});
  ASSERT_EQ(C->GetRecordCount(), 2);
  auto* field = static_cast<TcxDBDataField*>(C->GetFields()->Items(1));
  ASSERT_TRUE(field->IsLookup());
  ASSERT_EQ(field->FieldCount(), 1);
  EXPECT_EQ(field->Fields(0)->GetField(), orders.FieldByName("KindID"));
  EXPECT_EQ(Variants::VarToStr(C->GetValue(0, 1)), "乙");
  // A bound item keeps its field's type; the lookup filters by its key.
  C->ChangeValueTypeClass(1, TcxIntegerValueType::Class());
  EXPECT_EQ(C->GetItemValueTypeClass(1), TcxStringValueType::Class());
  C->GetFilter()->AddItem(C->GetFilter()->GetRoot(), Items[1].get(), fokEqual, 1, "1");
  C->GetFilter()->SetActive(true);
  ASSERT_EQ(C->GetRowCount(), 1);
  EXPECT_EQ(C->GetValue(C->GetRowInfo(0).RecordIndex, 0).AsInteger(), 11);
  C->GetFilter()->Clear();
  // The key source reads and writes the lookup's key fields.
  C->SetFocusedRowIndex(1);
  EXPECT_EQ(C->FetchEditValue(1, 2).AsInteger(), 1);
  EXPECT_TRUE(field->CanModify(2));
  EXPECT_FALSE(field->CanModify(0));
  ASSERT_TRUE(C->StoreEditValue(1, 2, 2));
  C->Post();
  EXPECT_EQ(orders.FieldByName("KindID")->GetAsInteger(), 2);
  EXPECT_EQ(C->FetchEditValue(1, 2).AsInteger(), 2);
  EXPECT_EQ(Variants::VarToStr(C->GetValue(1, 1)), "乙");
  C->ReloadData(1);  // binding again keeps the lookup's key sub-field
  ASSERT_EQ(field->FieldCount(), 1);
  EXPECT_EQ(Variants::VarToStr(C->GetValue(1, 1)), "乙");
  C->SetDataSource(nullptr);
}

TEST_F(DBControllerTest, KeyFieldsIdentifyRecords)
{
  Table.Close();
  Table.GetFieldDefs().Clear();
  Table.GetFieldDefs().Add("A", ftInteger);
  Table.GetFieldDefs().Add("B", ftString, 5);
  Table.CreateDataSet();
  Table.AppendRecord({1, AnsiString("x")});
  Table.AppendRecord({1, AnsiString("y")});
  Table.AppendRecord({2, AnsiString("x")});
  C->SetKeyFieldNames("A;B");
  Bind({"B"});
  ASSERT_EQ(C->GetRecordCount(), 3);
  Variant key = C->GetKeyFieldsValue(1);
  ASSERT_TRUE(Variants::VarIsArray(key));
  EXPECT_EQ(Variants::VarArrayLowBound(key, 1), 0);
  EXPECT_EQ(Variants::VarToStr(Variants::VarArrayGet(key, {0})), "1");
  EXPECT_EQ(Variants::VarToStr(Variants::VarArrayGet(key, {1})), "y");
  EXPECT_EQ(C->FindRecordIndexByKey(Variants::VarArrayOf({2, AnsiString("x")})), 2);
  EXPECT_EQ(C->FindRecordIndexByKey(2), -1);  // one value for two key fields
  EXPECT_THROW(C->GetKeyFieldsValue(3), EcxInvalidDataControllerOperation);

  EXPECT_TRUE(C->LocateByKey(Variants::VarArrayOf({1, AnsiString("y")})));
  EXPECT_EQ(C->GetFocusedRecordIndex(), 1);
  EXPECT_EQ(Table.GetRecNo(), 2);
  EXPECT_FALSE(C->LocateByKey(Variants::VarArrayOf({9, AnsiString("y")})));

  C->SetKeyFieldNames("");
  Variant none = C->GetKeyFieldsValue(0);
  EXPECT_TRUE(none.IsNull());
  EXPECT_FALSE(C->IsKeyNavigation());
}

TEST_F(DBControllerTest, FocusFollowingTheCursorMovesOnlyWhenAllowed)
{
  class TRefusing : public TcxDBDataController {
  public:
    bool CanChangeFocusedRow() override { return Allow; }
    bool Allow = true;
  };
  for (bool sync : {true, false}) {
    SCOPED_TRACE(sync);
    auto c = std::make_unique<TRefusing>();
    c->GetDataModeController()->SetSyncMode(sync);
    Bind({"ID"}, c.get());
    c->SetFocusedRowIndex(0);
    c->Allow = false;
    EXPECT_EQ(c->ChangeFocusedRowIndex(2), !sync);
    EXPECT_EQ(c->GetFocusedRowIndex(), sync ? 0 : 2);
    c->SetDataSource(nullptr);
  }
}

TEST_F(DBControllerTest, ProvidersSharingADataSetWaitForAFrozenOne)
{
  Bind({"ID"});
  auto other = std::make_unique<TCountingController>();
  Bind({"ID"}, other.get());
  ASSERT_EQ(other->GetRecordCount(), 5);
  auto* p = C->GetDBProvider();
  const int loads = other->Loads;

  // A move while the first is frozen reaches the other once it unfreezes, as a move.
  p->Freeze();
  Table.Last();
  EXPECT_EQ(other->GetFocusedRecordIndex(), 0);
  p->Unfreeze();
  EXPECT_EQ(other->GetFocusedRecordIndex(), 4);
  EXPECT_EQ(other->Loads, loads);

  // A freeze cancels an edit in progress; every controller of the dataset reloads afterwards.
  Table.Edit();
  Table.FieldByName("ID")->SetAsInteger(60);
  p->Freeze();
  EXPECT_EQ(Table.GetState(), dsBrowse);
  p->Unfreeze();
  EXPECT_GT(other->Loads, loads);
  EXPECT_EQ(Column(0, other.get()).back(), "5");
  EXPECT_FALSE(other->GetDBProvider()->ReloadAfterCancel);
  other.reset();
  EXPECT_EQ(cxDBData::DBDataProviders().size(), 1u);
}

// ---- a query on SQLite ----

class DBControllerQueryTest : public testing::Test {
protected:
  void SetUp() override
  {
    DataModule::Initialize();
    DBClasses::Initialize();
    Conn.SetConnectionString(Db.ConnectionString());
    Conn.SetLoginPrompt(false);
    Conn.Open();
    Exec("create table parts (Id INTEGER, Title TEXT(30), Price CURRENCY)");
    Exec("insert into parts values (1, '螺丝', 1.5)");
    Exec("insert into parts values (2, '螺母', 0.75)");
    Exec("insert into parts values (3, '垫片', 0.2)");
  }
  void Exec(const char* sql)
  {
    TADOQuery q(nullptr);
    q.SetConnection(&Conn);
    q.GetSQL()->SetText(sql);
    q.ExecSQL();
  }
  std::unique_ptr<TADOQuery> Open(const char* sql)
  {
    auto q = std::make_unique<TADOQuery>(nullptr);
    q->SetConnection(&Conn);
    q->GetSQL()->SetText(sql);
    q->Open();
    return q;
  }
  TempJetDatabase Db;
  TADOConnection Conn{nullptr};
};

TEST_F(DBControllerQueryTest, SmartRefreshReReadsOnlyThePostedRecord)
{
  Exec("create table seq (Id INTEGER, Name TEXT(20))");
  Exec("insert into seq values (1, 'a')");
  Exec("insert into seq values (2, 'b')");
  auto q = Open("select * from seq order by Id");
  TDataSource source(nullptr);
  source.SetDataSet(q.get());
  TCountingController c;
  TItem id, name;
  c.AddItem(&id);
  c.AddItem(&name);
  c.ChangeFieldName(0, "Id");
  c.ChangeFieldName(1, "Name");
  c.SetKeyFieldNames("Id");
  c.GetDataModeController()->SetSmartRefresh(true);
  c.SetDataSource(&source);
  ASSERT_EQ(c.GetRecordCount(), 2);
  const int loads = c.Loads;

  // An edit re-reads its record.
  c.SetFocusedRowIndex(1);
  ASSERT_TRUE(c.StoreEditValue(1, AnsiString("b2"), 0));
  c.Post();
  EXPECT_EQ(Variants::VarToStr(c.GetValue(1, 1)), "b2");
  // An appended record keeps its place.
  c.Append();
  ASSERT_TRUE(c.StoreEditValue(0, 3, 0));
  ASSERT_TRUE(c.StoreEditValue(1, AnsiString("c"), 0));
  c.Post();
  ASSERT_EQ(c.GetRecordCount(), 3);
  EXPECT_EQ(c.GetValue(2, 0).AsInteger(), 3);
  EXPECT_EQ(Variants::VarToStr(c.GetValue(2, 1)), "c");
  EXPECT_EQ(c.GetFocusedRecordIndex(), 2);
  // A delete removes the controller's record without a reload.
  c.SetFocusedRowIndex(0);
  c.DeleteFocused();
  EXPECT_EQ(c.GetRecordCount(), 2);
  EXPECT_EQ(c.GetValue(0, 0).AsInteger(), 2);
  EXPECT_EQ(c.Loads, loads);
  EXPECT_EQ(Open("select count(*) as n from seq")->FieldByName("n")->GetAsInteger(), 2);
  c.SetDataSource(nullptr);
}

TEST_F(DBControllerQueryTest, EditPostedThroughTheControllerReachesTheDatabase)
{
  auto q = Open("select * from parts order by Id");
  TDataSource source(nullptr);
  source.SetDataSet(q.get());
  TcxDBDataController c;
  TItem id, title, price;
  c.AddItem(&id);
  c.AddItem(&title);
  c.AddItem(&price);
  c.ChangeFieldName(0, "Id");
  c.ChangeFieldName(1, "Title");
  c.ChangeFieldName(2, "Price");
  c.SetKeyFieldNames("Id");
  c.SetDataSource(&source);
  ASSERT_EQ(c.GetRecordCount(), 3);
  EXPECT_EQ(Variants::VarToStr(c.GetValue(1, 1)), "螺母");
  EXPECT_EQ(c.GetItemValueTypeClass(2), TcxCurrencyValueType::Class());

  ASSERT_TRUE(c.LocateByKey(3));
  ASSERT_TRUE(c.StoreEditValue(1, AnsiString("弹簧垫片"), 0));
  c.Post();
  EXPECT_EQ(Variants::VarToStr(c.GetValue(2, 1)), "弹簧垫片");
  auto again = Open("select Title from parts where Id = 3");
  EXPECT_EQ(again->FieldByName("Title")->GetAsString(), "弹簧垫片");
  c.SetDataSource(nullptr);
  EXPECT_EQ(c.GetRecordCount(), 0);
}

TEST_F(DBControllerQueryTest, FilterTextHandedToAQueryUsesSqlNullsAndFormattedValues)
{
  Exec("insert into parts values (4, NULL, 2.5)");
  auto q = Open("select * from parts order by Id");
  TDataSource source(nullptr);
  source.SetDataSet(q.get());
  TcxDBDataController c;
  TItem id, title;
  c.AddItem(&id);
  c.AddItem(&title);
  c.ChangeFieldName(0, "Id");
  c.ChangeFieldName(1, "Title");
  c.SetDataSource(&source);
  auto ids = [&] {
    std::vector<int> result;
    for (int row = 0; row < c.GetRowCount(); ++row)
      result.push_back(c.GetValue(c.GetRowInfo(row).RecordIndex, 0).AsInteger());
    return result;
  };
  TcxDBDataFilterCriteria* filter = c.GetDBFilter();
  filter->SetAutoDataSetFilter(true);
  filter->BeginUpdate();
  TcxFilterCriteriaItem* blank = filter->AddItem(filter->GetRoot(), &title, fokEqual, Variant::Null(), "");
  filter->SetActive(true);
  filter->EndUpdate();
  EXPECT_NE(q->GetFilter().find("IS NULL"), AnsiString::npos) << q->GetFilter();
  EXPECT_EQ(ids(), (std::vector<int>{4}));
  blank->SetOperatorKind(fokNotEqual);
  EXPECT_NE(q->GetFilter().find("IS NOT NULL"), AnsiString::npos) << q->GetFilter();
  EXPECT_EQ(ids(), (std::vector<int>{1, 2, 3}));

  // Value texts go through OnFormatFilterTextValue on their way to the dataset.
  std::vector<Variant> formatted;
  filter->OnFormatFilterTextValue = [&](TObject* Sender, const Variant& AValue, AnsiString& ADisplayValue) {
    EXPECT_EQ(Sender, filter);
    if (AValue.IsNull()) return;
    formatted.push_back(AValue);
    ADisplayValue = "2";
  };
  filter->AddItem(filter->GetRoot(), &id, fokGreater, 1, "1");
  ASSERT_FALSE(formatted.empty());
  EXPECT_EQ(formatted.back().AsInteger(), 1);
  EXPECT_EQ(ids(), (std::vector<int>{3}));
  // A text the dataset refuses reaches the caller as its error.
  filter->OnFormatFilterTextValue = [](TObject*, const Variant&, AnsiString& ADisplayValue) { ADisplayValue = "'"; };
  EXPECT_THROW(filter->AddItem(filter->GetRoot(), &id, fokLess, 9, "9"), EDatabaseError);
  c.SetDataSource(nullptr);
}

}  // namespace
