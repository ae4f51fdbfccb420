// Value definitions, the record storage, the lookup list and the registered value types.
#include "controls/data/storage/cxDataStorage.h"

#include <algorithm>
#include <cstring>
#include <limits>

#include "controls/data/cxDataConsts.h"
#include "controls/data/storage/cxVariants.h"

// ---- Registered value types ------------------------------------------------------------------

void TcxValueTypeClassList::Register(TcxValueTypeClass AClass)
{
  if (std::find(FItems.begin(), FItems.end(), AClass) == FItems.end()) FItems.push_back(AClass);
}

void TcxValueTypeClassList::Unregister(TcxValueTypeClass AClass)
{
  FItems.erase(std::remove(FItems.begin(), FItems.end(), AClass), FItems.end());
}

TcxValueTypeClass TcxValueTypeClassList::ItemByCaption(const AnsiString& ACaption) const
{
  for (auto* c : FItems)
    if (c->Caption() == ACaption) return c;
  return nullptr;
}

namespace cxDataStorage {

namespace {
std::unique_ptr<TcxValueTypeClassList>& ListHolder()
{
  static std::unique_ptr<TcxValueTypeClassList> list;
  return list;
}

const std::vector<TcxValueTypeClass>& StandardTypes()
{
  static const std::vector<TcxValueTypeClass> types = {
      TcxStringValueType::Class(),   TcxWideStringValueType::Class(), TcxSmallintValueType::Class(),
      TcxIntegerValueType::Class(),  TcxWordValueType::Class(),       TcxBooleanValueType::Class(),
      TcxFloatValueType::Class(),    TcxCurrencyValueType::Class(),   TcxDateTimeValueType::Class(),
      TcxLargeIntValueType::Class(), TcxFMTBcdValueType::Class(),     TcxSQLTimeStampValueType::Class(),
      TcxVariantValueType::Class(),  TcxObjectValueType::Class(),
  };
  return types;
}
}  // namespace

TcxValueTypeClassList* cxValueTypeClassList()
{
  auto& list = ListHolder();
  if (!list) list = std::make_unique<TcxValueTypeClassList>();
  return list.get();
}

void Initialize()
{
  for (auto* c : StandardTypes()) cxValueTypeClassList()->Register(c);
}

void Finalize()
{
  auto& list = ListHolder();
  if (!list) return;
  const auto& types = StandardTypes();
  for (auto it = types.rbegin(); it != types.rend(); ++it) list->Unregister(*it);
  list.reset();
}

}  // namespace cxDataStorage

// ---- Value definitions -----------------------------------------------------------------------

TcxValueDef::TcxValueDef(TcxValueDefs* AValueDefs, TcxValueTypeClass AValueTypeClass)
    : FOwnerDefs(AValueDefs), FTypeClass(AValueTypeClass)
{}

bool TcxValueDef::GetIsStored() const { return FAlwaysStored || !FOwnerDefs->GetStorage()->GetAlwaysStoredOnly(); }

void TcxValueDef::Assign(const TcxValueDef* Source)
{
  SetAlwaysStored(Source->GetIsStored());
  SetKeepsText(Source->HasTextSlot());
}

void TcxValueDef::SetAlwaysStored(bool Value)
{
  if (FAlwaysStored == Value) return;
  FOwnerDefs->Restructure(this, [&] { FAlwaysStored = Value; });
  FOwnerDefs->DefinitionChanged(this, 0);
}

void TcxValueDef::SetKeepsText(bool Value)
{
  if (FKeepsText == Value) return;
  FOwnerDefs->Restructure(this, [&] { FKeepsText = Value; });
  if (!FOwnerDefs->IsInternal())
    if (auto* twin = FOwnerDefs->GetStorage()->GetInternalValueDefs()->FindByLinkedObject(this))
      twin->SetKeepsText(Value);
  FOwnerDefs->DefinitionChanged(this, 1);
}

int TcxValueDef::CompareNullable(bool AIsNull1, bool AIsNull2, const void* AData1, const void* AData2) const
{
  if (AIsNull1 || AIsNull2) return (AIsNull1 ? 0 : 1) - (AIsNull2 ? 0 : 1);
  return FTypeClass->CompareData(AData1, AData2);
}

int TcxValueDef::CompareRecords(const Byte* ABuffer1, const Byte* ABuffer2) const
{
  const Byte* e1 = ABuffer1 + FEntryOffset;
  const Byte* e2 = ABuffer2 + FEntryOffset;
  return CompareNullable(e1[0] == 0, e2[0] == 0, FTypeClass->SlotToData(e1 + 1), FTypeClass->SlotToData(e2 + 1));
}

void TcxValueDef::ReleaseValues(Byte* ABuffer) const
{
  Byte* entry = ABuffer + FEntryOffset;
  MarkNull(entry, true);
  if (HasTextSlot()) FTypeClass->ReleaseTextSlot(entry + 1 + FSlotSize);
}

Variant TcxValueDef::ReadFromBuffer(const Byte* ABuffer) const
{
  const Byte* entry = ABuffer + FEntryOffset;
  return entry[0] == 0 ? Variant::Null() : FTypeClass->LoadSlot(entry + 1);
}

void TcxValueDef::WriteToBuffer(Byte* ABuffer, const Variant& V) const
{
  Byte* entry = ABuffer + FEntryOffset;
  if (V.IsNull()) {
    MarkNull(entry, true);
    return;
  }
  FTypeClass->StoreSlot(entry + 1, V);  // may raise before anything changed
  entry[0] = 1;
}

AnsiString TcxValueDef::TextFromBuffer(const Byte* ABuffer) const
{
  const Byte* entry = ABuffer + FEntryOffset;
  if (HasTextSlot()) return FTypeClass->TextSlotText(entry + 1 + FSlotSize);
  return entry[0] == 0 ? AnsiString() : FTypeClass->SlotText(entry + 1);
}

void TcxValueDef::WriteTextToBuffer(Byte* ABuffer, const AnsiString& S) const
{
  if (HasTextSlot()) FTypeClass->StoreTextSlot(ABuffer + FEntryOffset + 1 + FSlotSize, S);
}

void TcxValueDef::MarkNull(Byte* AField, bool AIsNull) const
{
  if (!AIsNull) {
    AField[0] = 1;
    return;
  }
  if (AField[0] != 0) {
    FTypeClass->ReleaseSlot(AField + 1);
    std::memset(AField + 1, 0, static_cast<size_t>(FSlotSize));
    AField[0] = 0;
  }
}

TObject* TcxInternalValueDef::GetLinkedObject() const
{
  return GetMainDef() ? GetMainDef()->GetLinkedObject() : nullptr;
}

// ---- Definition lists ------------------------------------------------------------------------

TcxValueDefs::TcxValueDefs(TcxDataStorage* AStorage, bool AInternal) : FInternal(AInternal), FStorage(AStorage)
{
  ComputeLayout(1);
}

TcxValueDefs::~TcxValueDefs() { Clear(); }

void TcxValueDefs::DefinitionChanged(TcxValueDef* ADef, int AKind) { FStorage->ValueDefsChanged(); }

std::unique_ptr<TcxValueDef> TcxValueDefs::CreateDefinition(TcxValueTypeClass AValueTypeClass)
{
  return std::make_unique<TcxValueDef>(this, AValueTypeClass);
}

std::unique_ptr<TcxValueDef> TcxInternalValueDefs::CreateDefinition(TcxValueTypeClass AValueTypeClass)
{
  return std::make_unique<TcxInternalValueDef>(this, AValueTypeClass);
}

void TcxValueDefs::ComputeLayout(int AOffset)
{
  FFirstOffset = AOffset;
  int p = AOffset;
  for (auto& def : FItems) {
    def->FSlotSize = def->FTypeClass->SlotSize();
    def->FEntryOffset = p;
    if (def->GetIsStored()) {
      p += 1 + def->FSlotSize + (def->FKeepsText ? 4 : 0);
      def->FEntryBytes = p - def->FEntryOffset;
    } else {
      def->FEntryBytes = 0;
    }
  }
  FRecordBytes = p;
}

TcxValueDef* TcxValueDefs::Add(TcxValueTypeClass AValueTypeClass, bool AAlwaysStored, bool AKeepsText,
                               TObject* ALinkedObject)
{
  std::unique_ptr<TcxValueDef> def = CreateDefinition(AValueTypeClass);
  def->FLinkedObject = ALinkedObject;
  def->FAlwaysStored = AAlwaysStored;
  def->FKeepsText = AKeepsText;
  if (!IsInternal()) FStorage->GetInternalValueDefs()->Add(AValueTypeClass, true, AKeepsText, def.get());

  const int bytes = def->GetIsStored() ? 1 + AValueTypeClass->SlotSize() + (AKeepsText ? 4 : 0) : 0;
  const size_t end = static_cast<size_t>(FRecordBytes);
  if (IsInternal())
    for (auto* block : FStorage->BlocksOf(this))
      if (bytes > 0) block->resize(block->size() + static_cast<size_t>(bytes), 0);
  FItems.push_back(std::move(def));
  FStorage->PrepareLayout(this);
  // The new field's entry follows the others.
  if (!IsInternal())
    FStorage->RelayRecords(static_cast<size_t>(FRecordBytes), end, 0, static_cast<size_t>(bytes), false);
  return FItems.back().get();
}

void TcxValueDefs::Clear()
{
  while (!FItems.empty()) Remove(FItems.back().get());
}

int TcxValueDefs::IndexOf(const TcxValueDef* ADef) const
{
  for (size_t i = 0; i < FItems.size(); ++i)
    if (FItems[i].get() == ADef) return static_cast<int>(i);
  return -1;
}

void TcxValueDefs::Remove(TcxValueDef* ADef)
{
  const int index = IndexOf(ADef);
  if (index < 0) return;
  if (!IsInternal()) FStorage->GetInternalValueDefs()->RemoveByLinkedObject(ADef);
  const size_t offset = static_cast<size_t>(ADef->FEntryOffset);
  const size_t bytes = static_cast<size_t>(ADef->FEntryBytes);
  // A main record left with no stored field goes back to having no block; an internal record
  // keeps its flags byte, and so its in-use mark.
  const bool lastStored = bytes > 0 && StoredCount() == 1;
  if (bytes > 0) {
    if (IsInternal()) {
      for (auto* block : FStorage->BlocksOf(this)) {
        ADef->ReleaseValues(block->data());
        const auto from = block->begin() + ADef->FEntryOffset;
        block->erase(from, from + ADef->FEntryBytes);
      }
    } else {
      FStorage->ReleaseRecordValues(ADef);
    }
  }
  FItems.erase(FItems.begin() + index);
  FStorage->PrepareLayout(this);
  if (!IsInternal()) FStorage->RelayRecords(static_cast<size_t>(FRecordBytes), offset, bytes, 0, lastStored);
}

int TcxValueDefs::StoredCount() const
{
  return static_cast<int>(std::count_if(FItems.begin(), FItems.end(), [](const auto& d) { return d->GetIsStored(); }));
}

void TcxValueDefs::Restructure(TcxValueDef* ADef, const std::function<void()>& AChange)
{
  struct TSaved {
    Variant Value;
    AnsiString Text;
  };
  const bool hadText = ADef->HasTextSlot();
  std::vector<TSaved> saved;
  auto blocks = FStorage->BlocksOf(this);
  for (auto* block : blocks) {
    TSaved s;
    if (ADef->FEntryBytes > 0) {
      s.Value = ADef->ReadFromBuffer(block->data());
      if (hadText) s.Text = ADef->TextFromBuffer(block->data());
      ADef->ReleaseValues(block->data());
      const auto from = block->begin() + ADef->FEntryOffset;
      block->erase(from, from + ADef->FEntryBytes);
    } else {
      s.Value = Variant::Null();
    }
    saved.push_back(std::move(s));
  }
  AChange();
  FStorage->PrepareLayout(this);
  for (size_t i = 0; i < blocks.size(); ++i) {
    auto* block = blocks[i];
    if (ADef->FEntryBytes == 0) continue;
    block->insert(block->begin() + ADef->FEntryOffset, static_cast<size_t>(ADef->FEntryBytes), 0);
    ADef->WriteToBuffer(block->data(), saved[i].Value);
    if (hadText) ADef->WriteTextToBuffer(block->data(), saved[i].Text);
  }
  FStorage->EndLayoutChange(this);
}

TcxInternalValueDef* TcxInternalValueDefs::FindByLinkedObject(const TcxValueDef* ADef) const
{
  for (int i = Count() - 1; i >= 0; --i) {
    auto* def = static_cast<TcxInternalValueDef*>(Items(i));
    if (def->GetMainDef() == ADef) return def;
  }
  return nullptr;
}

void TcxInternalValueDefs::RemoveByLinkedObject(const TcxValueDef* ADef)
{
  if (auto* def = FindByLinkedObject(ADef)) Remove(def);
}

// ---- Storage ---------------------------------------------------------------------------------

TcxDataStorage::TcxDataStorage()
    : FInternalValueDefs(std::make_unique<TcxInternalValueDefs>(this)), FValueDefs(std::make_unique<TcxValueDefs>(this))
{
  FStride = static_cast<size_t>(FValueDefs->GetRecordBytes());
}

TcxDataStorage::~TcxDataStorage()
{
  FDestroying = true;
  for (auto& b : FInternalRecords) FreeBlock(b, FInternalValueDefs.get());
  for (int r = 0; r < RecordCount(); ++r) FreeMainBlock(r);
  FValueDefs.reset();
  FInternalValueDefs.reset();
}

TcxValueDefs* TcxDataStorage::GetValueDefsFor(int ARecordIndex) const
{
  return ARecordIndex < 0 ? static_cast<TcxValueDefs*>(FInternalValueDefs.get()) : FValueDefs.get();
}

std::vector<TcxDataStorage::TBlock*> TcxDataStorage::BlocksOf(TcxValueDefs* ADefs)
{
  std::vector<TBlock*> blocks;
  if (ADefs->IsInternal()) {
    for (auto& b : FInternalRecords)
      if (!b.empty()) blocks.push_back(&b);
    return blocks;
  }
  FUnpacked.clear();
  FUnpackedRecords.clear();
  for (int r = 0; r < RecordCount(); ++r) {
    if (!FHasBlock[static_cast<size_t>(r)]) continue;
    const Byte* p = MainBlock(r);
    FUnpacked.emplace_back(p, p + FStride);
    FUnpackedRecords.push_back(r);
  }
  for (auto& b : FUnpacked) blocks.push_back(&b);
  return blocks;
}

void TcxDataStorage::EndLayoutChange(TcxValueDefs* ADefs)
{
  if (ADefs->IsInternal()) return;
  DropColumns();
  FStride = static_cast<size_t>(ADefs->GetRecordBytes());
  FArena.assign(FHasBlock.size() * FStride, 0);
  std::fill(FHasBlock.begin(), FHasBlock.end(), Byte(0));
  for (size_t i = 0; i < FUnpacked.size(); ++i) {
    const TBlock& b = FUnpacked[i];
    if (b.empty()) continue;
    const int r = FUnpackedRecords[i];
    std::memcpy(MainBlock(r), b.data(), std::min(b.size(), FStride));
    FHasBlock[static_cast<size_t>(r)] = 1;
  }
  std::vector<TBlock>().swap(FUnpacked);
  std::vector<int>().swap(FUnpackedRecords);
  MakeColumns();
}

void TcxDataStorage::ReleaseRecordValues(TcxValueDef* ADef)
{
  DropColumns();
  for (int r = 0; r < RecordCount(); ++r)
    if (FHasBlock[static_cast<size_t>(r)]) ADef->ReleaseValues(MainBlock(r));
}

void TcxDataStorage::RelayRecords(size_t AStride, size_t AOffset, size_t ARemove, size_t AInsert, bool ADropBlocks)
{
  DropColumns();
  if (AStride == FStride && ARemove == 0 && AInsert == 0 && !ADropBlocks) {
    MakeColumns();  // the list of definitions may have changed
    return;
  }
  const size_t n = FHasBlock.size();
  if (ADropBlocks) std::fill(FHasBlock.begin(), FHasBlock.end(), Byte(0));
  std::vector<Byte> arena(n * AStride, 0);
  const size_t tail = FStride - AOffset - ARemove;
  for (size_t r = 0; r < n; ++r) {
    if (!FHasBlock[r]) continue;
    const Byte* from = FArena.data() + r * FStride;
    Byte* to = arena.data() + r * AStride;
    std::memcpy(to, from, AOffset);
    std::memcpy(to + AOffset + AInsert, from + AOffset + ARemove, tail);
  }
  FArena.swap(arena);
  FStride = AStride;
  MakeColumns();
}

Byte* TcxDataStorage::BufferOf(int ARecordIndex) const
{
  if (ARecordIndex >= 0 && ARecordIndex < RecordCount())
    return FHasBlock[static_cast<size_t>(ARecordIndex)] ? MainBlock(ARecordIndex) : nullptr;
  if (ARecordIndex < 0 && -static_cast<Int64>(ARecordIndex) <= InternalRecordCount()) {
    const TBlock& b = FInternalRecords[static_cast<size_t>(-ARecordIndex - 1)];
    return b.empty() ? nullptr : const_cast<Byte*>(b.data());
  }
  throw EInvalidArgument(cxDataConsts::cxSDataRecordIndexError);
}

const Byte* TcxDataStorage::GetRecordBuffer(int ARecordIndex) const { return BufferOf(ARecordIndex); }

TcxValueDef* TcxDataStorage::DefFor(int ARecordIndex, TcxValueDef* AValueDef) const
{
  if (!AValueDef) return nullptr;
  const bool internalDef = AValueDef->GetOwnerDefs()->IsInternal();
  TcxValueDef* def = AValueDef;
  if (ARecordIndex < 0 && !internalDef)
    def = FInternalValueDefs->FindByLinkedObject(AValueDef);
  else if (ARecordIndex >= 0 && internalDef)
    def = static_cast<TcxInternalValueDef*>(AValueDef)->GetMainDef();
  return def && def->GetEntryBytes() > 0 ? def : nullptr;
}

Byte* TcxDataStorage::EnsureBlock(int ARecordIndex)
{
  if (Byte* p = BufferOf(ARecordIndex)) return p;
  if (ARecordIndex >= 0) {
    FHasBlock[static_cast<size_t>(ARecordIndex)] = 1;  // its bytes are zero already
    return MainBlock(ARecordIndex);
  }
  TBlock& b = FInternalRecords[static_cast<size_t>(-ARecordIndex - 1)];
  b.assign(static_cast<size_t>(FInternalValueDefs->GetRecordBytes()), 0);
  return b.data();
}

void TcxDataStorage::FreeBlock(TBlock& ABlock, TcxValueDefs* ADefs)
{
  if (ABlock.empty()) return;
  for (int i = 0; i < ADefs->Count(); ++i)
    if (ADefs->Items(i)->GetEntryBytes() > 0) ADefs->Items(i)->ReleaseValues(ABlock.data());
  TBlock().swap(ABlock);
}

void TcxDataStorage::FreeMainBlock(int ARecordIndex)
{
  Byte& has = FHasBlock[static_cast<size_t>(ARecordIndex)];
  if (!has) return;
  Byte* p = MainBlock(ARecordIndex);
  for (int i = 0; i < FValueDefs->Count(); ++i)
    if (FValueDefs->Items(i)->GetEntryBytes() > 0) FValueDefs->Items(i)->ReleaseValues(p);
  std::memset(p, 0, FStride);
  has = 0;
  for (auto& c : FColumns) c.Clear(static_cast<size_t>(ARecordIndex));
}

int TcxDataStorage::AppendRecord()
{
  FArena.resize(FArena.size() + FStride, 0);
  FHasBlock.push_back(0);
  for (auto& c : FColumns) c.Insert(FHasBlock.size() - 1);
  return RecordCount() - 1;
}

void TcxDataStorage::InsertRecord(int AIndex)
{
  if (AIndex < 0 || AIndex > RecordCount()) throw EInvalidArgument(cxDataConsts::cxSDataRecordIndexError);
  FArena.insert(FArena.begin() + static_cast<std::ptrdiff_t>(static_cast<size_t>(AIndex) * FStride), FStride, 0);
  FHasBlock.insert(FHasBlock.begin() + AIndex, 0);
  for (auto& c : FColumns) c.Insert(static_cast<size_t>(AIndex));
}

void TcxDataStorage::DeleteRecord(int AIndex)
{
  if (AIndex < 0) {
    FreeInternalRecord(AIndex);
    return;
  }
  BufferOf(AIndex);  // checks the index
  FreeMainBlock(AIndex);
  const auto from = FArena.begin() + static_cast<std::ptrdiff_t>(static_cast<size_t>(AIndex) * FStride);
  FArena.erase(from, from + static_cast<std::ptrdiff_t>(FStride));
  FHasBlock.erase(FHasBlock.begin() + AIndex);
  for (auto& c : FColumns) c.Erase(static_cast<size_t>(AIndex));
}

int TcxDataStorage::AddInternalRecord()
{
  size_t i = 0;
  while (i < FInternalRecords.size() && !FInternalRecords[i].empty() && (FInternalRecords[i][0] & 1)) ++i;
  if (i == FInternalRecords.size()) FInternalRecords.emplace_back();
  const int index = -static_cast<int>(i) - 1;
  EnsureBlock(index)[0] |= 1;
  return index;
}

void TcxDataStorage::FreeInternalRecord(int AIndex)
{
  BufferOf(AIndex);  // checks the index
  if (AIndex >= 0)
    FreeMainBlock(AIndex);
  else
    FreeBlock(FInternalRecords[static_cast<size_t>(-AIndex - 1)], FInternalValueDefs.get());
}

void TcxDataStorage::SetRecordCount(int ACount)
{
  ACount = std::max(ACount, 0);
  for (int r = RecordCount() - 1; r >= ACount; --r) FreeMainBlock(r);
  FArena.resize(static_cast<size_t>(ACount) * FStride, 0);
  FHasBlock.resize(static_cast<size_t>(ACount), 0);
  for (auto& c : FColumns) c.Resize(static_cast<size_t>(ACount));
}

Variant TcxDataStorage::GetFieldValue(int ARecordIndex, TcxValueDef* AValueDef)
{
  const Byte* b = BufferOf(ARecordIndex);
  TcxValueDef* def = DefFor(ARecordIndex, AValueDef);
  if (!def || !b) return Variant::Null();
  return def->ReadFromBuffer(b);
}

void TcxDataStorage::SetFieldValue(int ARecordIndex, TcxValueDef* AValueDef, const Variant& V)
{
  BufferOf(ARecordIndex);  // checks the index
  TcxValueDef* def = DefFor(ARecordIndex, AValueDef);
  if (!def) return;
  def->WriteToBuffer(EnsureBlock(ARecordIndex), V);
  if (ARecordIndex >= 0 && !FColumns.empty())
    if (TColumn* c = ColumnOf(def)) UpdateColumn(*c, ARecordIndex);
}

AnsiString TcxDataStorage::GetFieldDisplayText(int ARecordIndex, TcxValueDef* AValueDef)
{
  const Byte* b = BufferOf(ARecordIndex);
  TcxValueDef* def = DefFor(ARecordIndex, AValueDef);
  if (!def || !b) return AnsiString();
  return def->TextFromBuffer(b);
}

void TcxDataStorage::SetFieldDisplayText(int ARecordIndex, TcxValueDef* AValueDef, const AnsiString& S)
{
  BufferOf(ARecordIndex);
  TcxValueDef* def = DefFor(ARecordIndex, AValueDef);
  if (def && def->HasTextSlot()) def->WriteTextToBuffer(EnsureBlock(ARecordIndex), S);
}

bool TcxDataStorage::GetFieldDataPointer(int ARecordIndex, TcxValueDef* AValueDef, const void*& AData)
{
  const Byte* b = BufferOf(ARecordIndex);
  TcxValueDef* def = DefFor(ARecordIndex, AValueDef);
  AData = nullptr;
  if (!def || !b) return true;
  const Byte* entry = b + def->GetEntryOffset();
  if (entry[0] == 0) return true;
  AData = def->GetTypeClass()->SlotToData(entry + 1);
  return false;
}

int TcxDataStorage::CompareRecords(int AIndex1, int AIndex2, TcxValueDef* AValueDef)
{
  const Byte* b1 = BufferOf(AIndex1);
  const Byte* b2 = BufferOf(AIndex2);
  if (!b1 || !b2) return (b1 ? 1 : 0) - (b2 ? 1 : 0);
  const void* d1 = nullptr;
  const void* d2 = nullptr;
  const bool null1 = GetFieldDataPointer(AIndex1, AValueDef, d1);
  const bool null2 = GetFieldDataPointer(AIndex2, AValueDef, d2);
  return AValueDef->CompareNullable(null1, null2, d1, d2);
}

void TcxDataStorage::LoadRecord(int ARecordIndex, TcxValueDefReader* AReader, bool ASkipReaderInternal)
{
  EnsureBlock(ARecordIndex);
  TcxValueDefs* defs = GetValueDefsFor(ARecordIndex);
  for (int i = 0; i < defs->Count(); ++i) {
    TcxValueDef* def = defs->Items(i);
    if (ASkipReaderInternal && AReader->IsInternalFor(def)) continue;
    SetFieldValue(ARecordIndex, def, AReader->ValueFor(def));
    if (def->HasTextSlot()) SetFieldDisplayText(ARecordIndex, def, AReader->DisplayTextFor(def));
  }
}

void TcxDataStorage::ForEachValueDef(int ARecordIndex, const std::function<void(TcxValueDef*)>& AProc)
{
  TcxValueDefs* defs = GetValueDefsFor(ARecordIndex);
  for (int i = 0; i < defs->Count(); ++i) AProc(defs->Items(i));
}

void TcxDataStorage::Clear(bool AKeepInternalRecords)
{
  ClearRecords(true);
  if (!AKeepInternalRecords) ClearInternalRecords();
}

void TcxDataStorage::ClearRecords(bool ARemoveEntries)
{
  DropColumns();
  for (int r = 0; r < RecordCount(); ++r) FreeMainBlock(r);
  if (ARemoveEntries) {
    FArena.clear();
    FHasBlock.clear();
  }
  MakeColumns();
}

void TcxDataStorage::ClearInternalRecords()
{
  for (auto& b : FInternalRecords) FreeBlock(b, FInternalValueDefs.get());
  FInternalRecords.clear();
  if (OnClearInternalRecords) OnClearInternalRecords(this);
}

void TcxDataStorage::SetAlwaysStoredOnly(bool AValue)
{
  if (FAlwaysStoredOnly == AValue) return;
  ClearRecords(false);
  FAlwaysStoredOnly = AValue;
  PrepareLayout(FValueDefs.get());
  FStride = static_cast<size_t>(FValueDefs->GetRecordBytes());
  FArena.assign(FHasBlock.size() * FStride, 0);
  MakeColumns();
}

namespace {

template <class T>
double ReadNumber(const Byte* ASlot)
{
  T v;
  std::memcpy(&v, ASlot, sizeof v);
  return static_cast<double>(v);
}

}  // namespace

constexpr double NoNumber = std::numeric_limits<double>::quiet_NaN();

void TcxDataStorage::TColumn::Insert(size_t AIndex)
{
  if (Read)
    Values.insert(Values.begin() + static_cast<std::ptrdiff_t>(AIndex), NoNumber);
  else
    Heads.insert(Heads.begin() + static_cast<std::ptrdiff_t>(AIndex), TcxTextHead());
}

void TcxDataStorage::TColumn::Erase(size_t AIndex)
{
  if (Read)
    Values.erase(Values.begin() + static_cast<std::ptrdiff_t>(AIndex));
  else
    Heads.erase(Heads.begin() + static_cast<std::ptrdiff_t>(AIndex));
}

void TcxDataStorage::TColumn::Resize(size_t ACount)
{
  if (Read)
    Values.resize(ACount, NoNumber);
  else
    Heads.resize(ACount);
}

void TcxDataStorage::TColumn::Clear(size_t AIndex)
{
  if (Read)
    Values[AIndex] = NoNumber;
  else
    Heads[AIndex] = TcxTextHead();
}

const TcxDataStorage::TColumn* TcxDataStorage::ColumnOf(const TcxValueDef* ADef) const
{
  for (auto& c : FColumns)
    if (c.Def == ADef) return &c;
  return nullptr;
}

void TcxDataStorage::UpdateColumn(TColumn& AColumn, int ARecordIndex) const
{
  const size_t r = static_cast<size_t>(ARecordIndex);
  const Byte* entry = FHasBlock[r] ? MainBlock(ARecordIndex) + AColumn.Def->GetEntryOffset() : nullptr;
  const Byte* slot = entry && entry[0] ? entry + 1 : nullptr;
  if (AColumn.Read)
    AColumn.Values[r] = slot ? AColumn.Read(slot) : NoNumber;
  else
    cxDataStorage::TextHeadsOfSlots(&slot, 1, &AColumn.Heads[r]);
}

void TcxDataStorage::MakeColumns()
{
  FColumns.clear();
  if (FDestroying) return;
  for (int i = 0; i < FValueDefs->Count(); ++i) {
    const TcxValueDef* def = FValueDefs->Items(i);
    if (def->GetEntryBytes() == 0) continue;
    const TcxValueTypeClass type = def->GetTypeClass();
    double (*read)(const Byte*) = nullptr;
    if (type == TcxFloatValueType::Class() || type == TcxDateTimeValueType::Class())
      read = &ReadNumber<double>;
    else if (type == TcxIntegerValueType::Class())
      read = &ReadNumber<Integer>;
    else if (type == TcxSmallintValueType::Class())
      read = &ReadNumber<SmallInt>;
    else if (type == TcxWordValueType::Class())
      read = &ReadNumber<Word>;
    else if (type != TcxStringValueType::Class())
      continue;
    TColumn& c = FColumns.emplace_back(TColumn{def, read, {}, {}});
    const size_t n = FHasBlock.size();
    const Byte* entry = FArena.data() + def->GetEntryOffset();
    if (read) {
      c.Values.resize(n);
      for (size_t r = 0; r < n; ++r, entry += FStride)
        c.Values[r] = FHasBlock[r] && entry[0] ? read(entry + 1) : NoNumber;
      continue;
    }
    c.Heads.resize(n);
    // A run of slots at a time, so the lookups of a run overlap.
    constexpr size_t Run = 256;
    const Byte* slots[Run];
    for (size_t r = 0; r < n; r += Run) {
      const size_t k = std::min(Run, n - r);
      for (size_t j = 0; j < k; ++j, entry += FStride) slots[j] = FHasBlock[r + j] && entry[0] ? entry + 1 : nullptr;
      cxDataStorage::TextHeadsOfSlots(slots, k, c.Heads.data() + r);
    }
  }
}

const double* TcxDataStorage::NumberColumn(const TcxValueDef* AValueDef) const
{
  const TColumn* c = ColumnOf(AValueDef);
  return c && c->Read ? c->Values.data() : nullptr;
}

const TcxTextHead* TcxDataStorage::TextHeadColumn(const TcxValueDef* AValueDef) const
{
  const TColumn* c = ColumnOf(AValueDef);
  return c && !c->Read ? c->Heads.data() : nullptr;
}

// ---- Lookup list -----------------------------------------------------------------------------

bool TcxLookupList::Find(const Variant& AKey, int& AIndex) const
{
  AIndex = 0;
  int lo = 0, hi = Count() - 1;
  while (lo <= hi) {
    const int mid = (lo + hi) / 2;
    const int c = cxVariants::VarCompareValues(FItems[static_cast<size_t>(mid)].Key, AKey);
    if (c == 0) {
      AIndex = mid;
      return true;
    }
    if (c < 0)
      lo = mid + 1;
    else
      hi = mid - 1;
  }
  AIndex = lo;
  return false;
}

void TcxLookupList::Insert(int AIndex, const Variant& AKey, const AnsiString& ADisplayText)
{
  AIndex = std::clamp(AIndex, 0, Count());
  FItems.insert(FItems.begin() + AIndex, TcxLookupListItem{AKey, ADisplayText});
}
