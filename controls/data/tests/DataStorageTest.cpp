#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <functional>

#include "controls/data/DataModule.h"
#include "controls/data/storage/cxDataStorage.h"
#include "controls/data/storage/cxVariants.h"
#include "controls/data/tests/Bytes.h"
#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/Streams.h"

namespace {

class DataStorage : public ::testing::Test {
protected:
  void SetUp() override { Baseline = cxDataStorage::LiveHandleCount(); }
  void TearDown() override
  {
    S.reset();
    EXPECT_EQ(cxDataStorage::LiveHandleCount(), Baseline);  // every text, Variant and object freed
  }
  TcxValueDefs* Defs() { return S->GetValueDefs(); }

  int Baseline = 0;
  std::unique_ptr<TcxDataStorage> S = std::make_unique<TcxDataStorage>();
};

TEST_F(DataStorage, RecordIndexOutOfRange)
{
  auto* def = Defs()->Add(TcxIntegerValueType::Class(), true, false, nullptr);
  S->SetRecordCount(2);
  EXPECT_THROW(S->SetFieldValue(2, def, 1), EInvalidArgument);
  EXPECT_THROW(S->GetFieldValue(-1, def), EInvalidArgument);
  EXPECT_THROW(S->InsertRecord(3), EInvalidArgument);
  S->SetRecordCount(-4);
  EXPECT_EQ(S->RecordCount(), 0);
}

TEST_F(DataStorage, LayoutOfFields)
{
  auto* i = Defs()->Add(TcxIntegerValueType::Class(), true, false, nullptr);
  auto* s = Defs()->Add(TcxStringValueType::Class(), true, true, nullptr);
  EXPECT_EQ(i->GetEntryOffset(), 1);
  EXPECT_EQ(s->GetEntryOffset(), 6);
  EXPECT_EQ(i->GetEntryBytes(), 5);
  EXPECT_EQ(s->GetEntryBytes(), 9);
  EXPECT_EQ(Defs()->GetRecordBytes(), 15);
  EXPECT_EQ(S->GetInternalValueDefs()->Count(), 2);

  // In always-stored-only mode a field that is not always stored takes no room and reads Null.
  auto* optional = Defs()->Add(TcxFloatValueType::Class(), false, false, nullptr);
  EXPECT_EQ(optional->GetEntryBytes(), 9);
  S->SetAlwaysStoredOnly(true);
  EXPECT_EQ(optional->GetEntryBytes(), 0);
  EXPECT_EQ(Defs()->GetRecordBytes(), 15);
  EXPECT_EQ(Defs()->StoredCount(), 2);
  S->AppendRecord();
  S->SetFieldValue(0, optional, 1.5);
  EXPECT_TRUE(S->GetFieldValue(0, optional).IsNull());
}

TEST_F(DataStorage, EveryTypeRoundTrips)
{
  struct Case {
    TcxValueTypeClass type;
    Variant in;
    TVarType kind;
    const char* text;
  };
  const TDateTime moment(SysUtils::EncodeDate(2026, 12, 10) + 0.5);
  const std::vector<Case> cases = {
      {TcxValueType::Class(), 1, varNull, ""},
      {TcxStringValueType::Class(), "合同", varString, "合同"},
      {TcxWideStringValueType::Class(), u"x\u20AC", varOleStr, nullptr},
      {TcxSmallintValueType::Class(), -32768, varSmallint, "-32768"},
      {TcxIntegerValueType::Class(), "42", varInteger, "42"},
      {TcxWordValueType::Class(), 65535, varWord, "65535"},
      {TcxBooleanValueType::Class(), true, varBoolean, "True"},
      {TcxFloatValueType::Class(), 2.5, varDouble, "2.5"},
      {TcxCurrencyValueType::Class(), Currency::FromRaw(12345), varCurrency, "1.2345"},
      {TcxDateTimeValueType::Class(), moment, varDate, nullptr},
      {TcxLargeIntValueType::Class(), static_cast<long long>(1) << 40, varInt64, "1099511627776"},
      {TcxFMTBcdValueType::Class(), "-123.4500", varDouble, "-123.45"},
      {TcxSQLTimeStampValueType::Class(), moment, varDate, nullptr},
      {TcxVariantValueType::Class(), Variants::VarArrayOf({1, "a"}), varArray | varVariant, ""},
  };
  for (const auto& c : cases) {
    auto* def = Defs()->Add(c.type, true, false, nullptr);
    const int r = S->AppendRecord();
    S->SetFieldValue(r, def, c.in);
    const Variant out = S->GetFieldValue(r, def);
    EXPECT_EQ(out.VarType(), c.kind) << c.type->Caption();
    if (c.kind != varNull && c.type != TcxFMTBcdValueType::Class()) {
      EXPECT_EQ(cxVariants::VarCompareValues(out, Variants::VarAsType(c.in, c.kind & varTypeMask)), 0)
          << c.type->Caption();
    }
    if (c.text) {
      EXPECT_EQ(S->GetFieldDisplayText(r, def), c.text) << c.type->Caption();
    }
  }
  EXPECT_EQ(S->GetFieldValue(11, Defs()->Items(11)).AsDouble(), -123.45);
}

TEST_F(DataStorage, ValueTypeCaptionsAndRegistration)
{
  DataModule::Initialize();
  DataModule::Initialize();
  auto* list = cxDataStorage::cxValueTypeClassList();
  ASSERT_EQ(list->Count(), 14);
  const char* captions[] = {"String",   "WideString", "Smallint", "Integer", "Word",         "Boolean", "Float",
                            "Currency", "DateTime",   "LargeInt", "FMTBcd",  "SQLTimeStamp", "Variant", "Object"};
  for (int i = 0; i < 14; ++i) EXPECT_EQ(list->Items(i)->Caption(), captions[i]);
  EXPECT_EQ(TcxValueType::Class()->Caption(), "");
  EXPECT_EQ(list->ItemByCaption("Word"), TcxWordValueType::Class());
  DataModule::Finalize();
  EXPECT_EQ(cxDataStorage::cxValueTypeClassList()->Count(), 0);
  DataModule::Finalize();
}

TEST_F(DataStorage, AcceptsValue)
{
  struct Case {
    TcxValueTypeClass type;
    Variant v;
    bool ok;
  };
  const std::vector<Case> cases = {
      {TcxIntegerValueType::Class(), "12", true},
      {TcxIntegerValueType::Class(), "abc", false},
      {TcxIntegerValueType::Class(), Variant::Null(), true},
      {TcxSmallintValueType::Class(), 70000, false},
      {TcxVariantValueType::Class(), "abc", true},
      {TcxFMTBcdValueType::Class(), "1.25", true},
      {TcxFMTBcdValueType::Class(), "1.2.5", false},
      {TcxFMTBcdValueType::Class(), 1e300, false},
      {TcxSQLTimeStampValueType::Class(), "x", false},
      {TcxDateTimeValueType::Class(), 45000.5, true},
  };
  for (const auto& c : cases) {
    Variant v = c.v;
    EXPECT_EQ(c.type->AcceptsValue(v), c.ok) << c.type->Caption();
  }
  Variant v = "12";
  TcxIntegerValueType::Class()->AcceptsValue(v);
  EXPECT_EQ(v.VarType(), varInteger);
}

TEST_F(DataStorage, NullKeepsTheDisplayTextAndFreesTheValue)
{
  auto* s = Defs()->Add(TcxStringValueType::Class(), true, true, nullptr);
  S->AppendRecord();
  S->SetFieldValue(0, s, "value");
  S->SetFieldDisplayText(0, s, "shown");
  const int live = cxDataStorage::LiveHandleCount();
  S->SetFieldValue(0, s, Variant::Null());
  EXPECT_EQ(cxDataStorage::LiveHandleCount(), live - 1);
  EXPECT_TRUE(S->GetFieldValue(0, s).IsNull());
  EXPECT_EQ(S->GetFieldDisplayText(0, s), "shown");
  const void* data = reinterpret_cast<const void*>(1);
  EXPECT_TRUE(S->GetFieldDataPointer(0, s, data));
  const Byte* block = S->GetRecordBuffer(0);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(block[s->GetEntryOffset() + 1 + i], 0);
}

TEST_F(DataStorage, CompareRecords)
{
  auto* i = Defs()->Add(TcxIntegerValueType::Class(), true, false, nullptr);
  auto* big = Defs()->Add(TcxLargeIntValueType::Class(), true, false, nullptr);
  auto* text = Defs()->Add(TcxStringValueType::Class(), true, false, nullptr);
  S->SetRecordCount(5);
  S->SetFieldValue(0, i, INT32_MIN);
  S->SetFieldValue(1, i, 1);
  S->SetFieldValue(2, i, Variant::Null());
  S->SetFieldValue(3, i, Variant::Null());
  EXPECT_EQ(S->CompareRecords(0, 1, i), -1);
  EXPECT_EQ(S->CompareRecords(2, 0, i), -1);
  EXPECT_EQ(S->CompareRecords(0, 2, i), 1);
  EXPECT_EQ(S->CompareRecords(2, 3, i), 0);
  EXPECT_EQ(S->CompareRecords(4, 2, i), -1);  // no block before a block
  EXPECT_EQ(S->CompareRecords(4, 4, i), 0);

  S->SetFieldValue(0, big, static_cast<long long>(1) << 32);
  S->SetFieldValue(1, big, (static_cast<long long>(2) << 32) - 5);
  EXPECT_EQ(S->CompareRecords(0, 1, big), -1);
  S->SetFieldValue(0, text, "b");
  S->SetFieldValue(1, text, "ab");
  EXPECT_EQ(S->CompareRecords(0, 1, text), 1);

  const int internal = S->AddInternalRecord();
  S->SetFieldValue(internal, i, 0);
  EXPECT_EQ(S->CompareRecords(internal, 1, i), -1);
  EXPECT_EQ(S->CompareRecords(0, internal, i), -1);
}

TEST_F(DataStorage, InternalRecordsUseTwinsAndReuseSlots)
{
  auto* i = Defs()->Add(TcxIntegerValueType::Class(), true, false, nullptr);
  EXPECT_EQ(S->AddInternalRecord(), -1);
  EXPECT_EQ(S->AddInternalRecord(), -2);
  S->SetFieldValue(-2, i, 7);
  EXPECT_EQ(S->GetFieldValue(-2, i).AsInteger(), 7);
  auto* twin = S->GetInternalValueDefs()->FindByLinkedObject(i);
  ASSERT_NE(twin, nullptr);
  EXPECT_EQ(S->GetFieldValue(-2, twin).AsInteger(), 7);
  S->DeleteRecord(-1);
  EXPECT_EQ(S->AddInternalRecord(), -1);
  EXPECT_EQ(S->AddInternalRecord(), -3);

  // Without its twin a main field reads Null on internal records and ignores writes.
  S->GetInternalValueDefs()->RemoveByLinkedObject(i);
  EXPECT_TRUE(S->GetFieldValue(-2, i).IsNull());
  S->SetFieldValue(-2, i, 1);
  EXPECT_EQ(S->GetFieldDisplayText(-2, i), "");
  S->AppendRecord();
  S->SetFieldValue(0, i, 4);
  EXPECT_EQ(S->GetFieldValue(0, i).AsInteger(), 4);

  int cleared = 0;
  S->OnClearInternalRecords = [&](TObject*) { ++cleared; };
  S->ClearInternalRecords();
  EXPECT_EQ(cleared, 1);
  EXPECT_EQ(S->AddInternalRecord(), -1);
}

// Removing one of two stored fields keeps the other's values and the in-use marks.
TEST_F(DataStorage, RemovingAFieldKeepsTheOthers)
{
  auto* a = Defs()->Add(TcxStringValueType::Class(), true, true, nullptr);
  auto* b = Defs()->Add(TcxIntegerValueType::Class(), true, false, nullptr);
  S->SetRecordCount(2);
  S->SetFieldValue(0, a, "first");
  S->SetFieldDisplayText(0, a, "shown");
  S->SetFieldValue(0, b, 1);
  S->SetFieldValue(1, b, 2);
  const int internal = S->AddInternalRecord();
  S->SetFieldValue(internal, b, 3);
  S->SetFieldValue(internal, a, "edited");

  Defs()->Remove(a);
  EXPECT_EQ(Defs()->GetRecordBytes(), 6);
  EXPECT_EQ(b->GetEntryOffset(), 1);
  EXPECT_EQ(S->GetFieldValue(0, b).AsInteger(), 1);
  EXPECT_EQ(S->GetFieldValue(1, b).AsInteger(), 2);
  EXPECT_EQ(S->GetFieldValue(internal, b).AsInteger(), 3);
  EXPECT_NE(S->AddInternalRecord(), internal);  // still in use

  // The last stored field: main records fall back to no block, internal ones keep their mark.
  Defs()->Remove(b);
  EXPECT_EQ(S->GetRecordBuffer(0), nullptr);
  EXPECT_NE(S->GetRecordBuffer(internal), nullptr);
  EXPECT_EQ(S->GetRecordBuffer(internal)[0] & 1, 1);
}

// Records lie side by side: inserting and deleting one moves the others with their values,
// and a record without a block stays without one.
TEST_F(DataStorage, InsertAndDeleteMoveTheOtherRecords)
{
  auto* s = Defs()->Add(TcxStringValueType::Class(), true, false, nullptr);
  auto* f = Defs()->Add(TcxFloatValueType::Class(), true, false, nullptr);
  S->SetRecordCount(3);
  S->SetFieldValue(0, s, "zero");
  S->SetFieldValue(2, s, "two");
  S->SetFieldValue(2, f, 2.5);
  S->InsertRecord(1);
  ASSERT_EQ(S->RecordCount(), 4);
  EXPECT_EQ(S->GetRecordBuffer(1), nullptr);
  EXPECT_EQ(S->GetRecordBuffer(2), nullptr);  // the old record 1 had none
  EXPECT_EQ(S->GetFieldValue(0, s).AsString(), "zero");
  EXPECT_EQ(S->GetFieldValue(3, s).AsString(), "two");
  EXPECT_EQ(S->GetFieldValue(3, f).AsDouble(), 2.5);
  S->SetFieldValue(1, f, 1.0);
  S->DeleteRecord(0);
  EXPECT_EQ(S->GetFieldValue(0, f).AsDouble(), 1.0);
  EXPECT_TRUE(S->GetFieldValue(0, s).IsNull());
  EXPECT_EQ(S->GetFieldValue(2, s).AsString(), "two");
  auto* added = Defs()->Add(TcxIntegerValueType::Class(), true, false, nullptr);
  EXPECT_TRUE(S->GetFieldValue(2, added).IsNull());
  EXPECT_EQ(S->GetFieldValue(2, s).AsString(), "two");
  EXPECT_EQ(S->GetRecordBuffer(1), nullptr);
  S->SetRecordCount(1);  // the texts of the records cut off are freed (checked on tear-down)
  EXPECT_EQ(S->GetFieldValue(0, f).AsDouble(), 1.0);
  S->SetFieldValue(0, s, "own");
  S->FreeInternalRecord(0);  // a numbered record: its own values go, with its own layout
  EXPECT_EQ(S->GetRecordBuffer(0), nullptr);
  EXPECT_TRUE(S->GetFieldValue(0, s).IsNull());
}

TEST_F(DataStorage, ChangingAFieldsLayoutKeepsValues)
{
  auto* a = Defs()->Add(TcxIntegerValueType::Class(), true, false, nullptr);
  auto* b = Defs()->Add(TcxStringValueType::Class(), true, false, nullptr);
  S->SetRecordCount(2);
  S->SetFieldValue(0, a, 5);
  S->SetFieldValue(0, b, "x");
  S->AddInternalRecord();
  S->SetFieldValue(-1, a, 6);

  auto* c = Defs()->Add(TcxFloatValueType::Class(), true, false, nullptr);  // room made in existing blocks
  EXPECT_TRUE(S->GetFieldValue(0, c).IsNull());
  S->SetFieldValue(0, c, 1.5);

  a->SetKeepsText(true);
  EXPECT_EQ(b->GetEntryOffset(), 10);
  S->SetFieldDisplayText(0, a, "five");
  EXPECT_EQ(S->GetFieldValue(0, a).AsInteger(), 5);
  EXPECT_EQ(S->GetFieldValue(0, b).AsString(), "x");
  EXPECT_EQ(S->GetFieldValue(0, c).AsDouble(), 1.5);
  EXPECT_EQ(S->GetFieldValue(-1, a).AsInteger(), 6);
  EXPECT_EQ(S->GetFieldDisplayText(0, a), "five");
  EXPECT_TRUE(S->GetInternalValueDefs()->FindByLinkedObject(a)->GetKeepsText());
}

TEST_F(DataStorage, SlotStreamForms)
{
  struct Case {
    TcxValueTypeClass type;
    Variant v;
    std::string bytes;
  };
  const std::vector<Case> cases = {
      {TcxStringValueType::Class(), "ab", Int32LE(2) + "ab"},
      {TcxWideStringValueType::Class(), u"a\u20AC", Int32LE(2) + Bytes({'a', 0, 0xAC, 0x20})},
      {TcxWideStringValueType::Class(), u"合", Int32LE(1) + Bytes({0x08, 0x54})},
      {TcxSmallintValueType::Class(), -2, Bytes({0xFE, 0xFF})},
      {TcxIntegerValueType::Class(), 1, Int32LE(1)},
      {TcxWordValueType::Class(), 258, Bytes({2, 1})},
      {TcxBooleanValueType::Class(), true, Bytes({1})},
      {TcxFloatValueType::Class(), 1.0, Bytes({0, 0, 0, 0, 0, 0, 0xF0, 0x3F})},
      {TcxCurrencyValueType::Class(), Currency::FromRaw(3), Bytes({3, 0, 0, 0, 0, 0, 0, 0})},
      {TcxLargeIntValueType::Class(), -1LL, Bytes({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF})},
      {TcxVariantValueType::Class(), 5, Bytes({2, 5})},
      {TcxSQLTimeStampValueType::Class(), TDateTime(1.0), Bytes({17, 0, 0, 0, 0, 0, 0, 0xF0, 0x3F})},
      {TcxObjectValueType::Class(), 0, ""},
  };
  for (const auto& c : cases) {
    std::vector<Byte> slot(static_cast<size_t>(c.type->SlotSize())), back(slot.size());
    c.type->StoreSlot(slot.data(), c.v);
    TStringStream s;
    c.type->WriteSlot(slot.data(), &s);
    EXPECT_EQ(s.GetDataString(), c.bytes) << c.type->Caption();
    s.SetPosition(0);
    c.type->ReadSlot(back.data(), &s);
    EXPECT_EQ(c.type->CompareSlots(slot.data(), back.data()), 0) << c.type->Caption();
    c.type->ReleaseSlot(slot.data());
    c.type->ReleaseSlot(back.data());
  }
  // A wide text CP936 can hold gives the bytes its 8-bit form gave when widened again.
  const WideString holdable = u"合同 No.1";
  std::vector<Byte> slot(4);
  TcxWideStringValueType::Class()->StoreSlot(slot.data(), holdable);
  TStringStream now, before;
  TcxWideStringValueType::Class()->WriteSlot(slot.data(), &now);
  cxVariants::WriteWideStringToStream(&before, System::AnsiToWide(System::WideToAnsi(holdable)));
  EXPECT_EQ(now.GetDataString(), before.GetDataString());
  TcxWideStringValueType::Class()->ReleaseSlot(slot.data());
}

TEST_F(DataStorage, PackedDecimalsCompareExactly)
{
  auto* d = Defs()->Add(TcxFMTBcdValueType::Class(), true, false, nullptr);
  const std::vector<Variant> ordered = {"-10.5", "-1.25", "0",       "0.0001",
                                        "0.25",  "3",     "3.00001", "12345678901234567890.5"};
  S->SetRecordCount(static_cast<int>(ordered.size()));
  for (size_t i = 0; i < ordered.size(); ++i) S->SetFieldValue(static_cast<int>(i), d, ordered[i]);
  for (int i = 0; i + 1 < S->RecordCount(); ++i) EXPECT_EQ(S->CompareRecords(i, i + 1, d), -1) << i;
  EXPECT_EQ(S->GetFieldDisplayText(7, d), "12345678901234567890.5");
  EXPECT_EQ(S->GetFieldDisplayText(2, d), "0");
  S->SetFieldValue(2, d, 1.5e-3);
  EXPECT_EQ(S->GetFieldDisplayText(2, d), "0.0015");
  EXPECT_THROW(S->SetFieldValue(2, d, "x"), EVariantError);
  EXPECT_EQ(S->GetFieldDisplayText(2, d), "0.0015");  // a failed write changes nothing
}

class TTracked : public TObject {
public:
  explicit TTracked(int& ACount) : FCount(ACount) { ++FCount; }
  ~TTracked() override { --FCount; }

private:
  int& FCount;
};

TEST_F(DataStorage, ObjectsBelongToTheirField)
{
  int alive = 0;
  auto* o = Defs()->Add(TcxObjectValueType::Class(), true, false, nullptr);
  S->SetRecordCount(2);
  const Integer h = cxDataStorage::RegisterObject(std::make_unique<TTracked>(alive));
  S->SetFieldValue(0, o, h);
  EXPECT_EQ(S->GetFieldValue(0, o).AsInteger(), h);
  EXPECT_NE(cxDataStorage::ObjectOfHandle(h), nullptr);
  EXPECT_THROW(S->SetFieldValue(1, o, h), EInvalidOperation);
  EXPECT_THROW(S->SetFieldValue(1, o, 9999), EInvalidOperation);
  S->SetFieldValue(0, o, Variant::Null());
  EXPECT_EQ(alive, 0);
  S->SetFieldValue(1, o, cxDataStorage::RegisterObject(std::make_unique<TTracked>(alive)));
  S->DeleteRecord(1);
  EXPECT_EQ(alive, 0);
}

class TListReader : public TcxValueDefReader {
public:
  Variant ValueFor(TcxValueDef* AValueDef) override { return AValueDef->GetOwnerDefs()->IndexOf(AValueDef) * 10; }
  AnsiString DisplayTextFor(TcxValueDef* AValueDef) override { return "text"; }
  bool IsInternalFor(TcxValueDef* AValueDef) override { return AValueDef->GetOwnerDefs()->IndexOf(AValueDef) == 0; }
};

TEST_F(DataStorage, LoadRecordFromAReader)
{
  auto* a = Defs()->Add(TcxIntegerValueType::Class(), true, false, nullptr);
  auto* b = Defs()->Add(TcxStringValueType::Class(), true, true, nullptr);
  S->SetRecordCount(1);
  S->SetFieldValue(0, a, 1);
  TListReader reader;
  S->LoadRecord(0, &reader, true);
  EXPECT_EQ(S->GetFieldValue(0, a).AsInteger(), 1);
  EXPECT_EQ(S->GetFieldValue(0, b).AsString(), "10");
  EXPECT_EQ(S->GetFieldDisplayText(0, b), "text");
  S->LoadRecord(0, &reader, false);
  EXPECT_EQ(S->GetFieldValue(0, a).AsInteger(), 0);
  int visited = 0;
  S->ForEachValueDef(-1, [&](TcxValueDef* def) { visited += def->GetOwnerDefs()->IsInternal(); });
  EXPECT_EQ(visited, 2);
}

// A field's number or text head column answers what the blocks hold after every kind of write.
TEST_F(DataStorage, ColumnsFollowTheRecords)
{
  auto* i = Defs()->Add(TcxSmallintValueType::Class(), true, false, nullptr);
  auto* s = Defs()->Add(TcxStringValueType::Class(), true, false, nullptr);
  auto* f = Defs()->Add(TcxFloatValueType::Class(), true, false, nullptr);
  EXPECT_EQ(S->NumberColumn(s), nullptr);
  EXPECT_EQ(S->TextHeadColumn(f), nullptr);
  EXPECT_EQ(S->NumberColumn(S->GetInternalValueDefs()->FindByLinkedObject(f)), nullptr);
  S->SetRecordCount(3);
  S->SetFieldValue(0, f, 0.5);
  S->SetFieldValue(2, i, -7);
  S->SetFieldValue(1, s, "abcdefghij");
  auto agrees = [&](TcxValueDef* def) {
    const double* column = S->NumberColumn(def);
    for (int r = 0; r < S->RecordCount(); ++r) {
      const Variant v = S->GetFieldValue(r, def);
      if (v.IsNull() ? !std::isnan(column[r]) : column[r] != v.AsDouble())
        return ::testing::AssertionFailure() << "record " << r;
    }
    return ::testing::AssertionSuccess();
  };
  auto headsAgree = [&] {
    const TcxTextHead* column = S->TextHeadColumn(s);
    for (int r = 0; r < S->RecordCount(); ++r) {
      const Variant v = S->GetFieldValue(r, s);
      const std::string t = v.IsNull() ? std::string() : v.AsString();
      std::uint64_t bytes = 0;
      for (size_t k = 0; k < 8; ++k) bytes = (bytes << 8) | (k < t.size() ? static_cast<unsigned char>(t[k]) : 0u);
      if (column[r].Bytes != bytes || column[r].Size != t.size() || column[r].IsText != !v.IsNull())
        return ::testing::AssertionFailure() << "record " << r;
    }
    return ::testing::AssertionSuccess();
  };
  ASSERT_TRUE(agrees(f));
  ASSERT_TRUE(agrees(i));
  ASSERT_TRUE(headsAgree());
  const std::vector<std::pair<const char*, std::function<void()>>> steps = {
      {"write",
       [&] {
         S->SetFieldValue(1, f, 2.5);
         S->SetFieldValue(2, i, 3);
         S->SetFieldValue(1, s, "xy");
       }},
      {"new text",
       [&] {
         S->SetFieldValue(0, s, "new");
         S->SetFieldDisplayText(0, s, "shown");
       }},
      {"write through the twin", [&] { S->SetFieldValue(1, S->GetInternalValueDefs()->FindByLinkedObject(f), 4.0); }},
      {"Null",
       [&] {
         S->SetFieldValue(0, f, Variant::Null());
         S->SetFieldValue(1, s, Variant::Null());
       }},
      {"failed write", [&] { EXPECT_THROW(S->SetFieldValue(2, i, "x"), EVariantError); }},
      {"internal record", [&] { S->SetFieldValue(S->AddInternalRecord(), f, 9.0); }},
      {"insert",
       [&] {
         S->InsertRecord(1);
         S->SetFieldValue(1, f, -1.0);
         S->SetFieldValue(2, s, "2");
       }},
      {"append", [&] { S->SetFieldValue(S->AppendRecord(), i, 12); }},
      {"delete", [&] { S->DeleteRecord(0); }},
      {"free a block", [&] { S->FreeInternalRecord(1); }},
      {"grow and shrink",
       [&] {
         S->SetRecordCount(6);
         S->SetFieldValue(5, f, 5.0);
         S->SetRecordCount(4);
       }},
      {"load",
       [&] {
         TListReader reader;
         S->LoadRecord(3, &reader, false);
       }},
      {"new field",
       [&] {
         Defs()->Add(TcxIntegerValueType::Class(), true, false, nullptr);
         S->SetFieldValue(0, f, 7.0);
       }},
      {"layout change",
       [&] {
         f->SetKeepsText(true);
         S->SetFieldValue(2, f, 8.0);
       }},
      {"clear",
       [&] {
         S->ClearRecords(false);
         S->SetFieldValue(1, i, 1);
       }},
  };
  for (const auto& [name, step] : steps) {
    SCOPED_TRACE(name);
    step();
    EXPECT_TRUE(agrees(f));
    EXPECT_TRUE(agrees(i));
    EXPECT_TRUE(headsAgree());
  }
}

TEST(LookupList, FindsKeysInOrder)
{
  TcxLookupList list;
  int index = -1;
  EXPECT_FALSE(list.Find(1, index));
  EXPECT_EQ(index, 0);
  for (int k : {5, 1, 3}) {
    list.Find(k, index);
    list.Insert(index, k, "t" + std::to_string(k));
  }
  EXPECT_FALSE(list.Find(4, index));
  EXPECT_EQ(index, 2);
  EXPECT_TRUE(list.Find(5, index));
  EXPECT_EQ(index, 2);
  EXPECT_EQ(list.GetItem(0).DisplayText, "t1");
  EXPECT_FALSE(list.Find(Variant::Null(), index));
  EXPECT_EQ(index, 0);
}

}  // namespace
