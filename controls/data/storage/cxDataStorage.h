// The data controller's own record memory: value types, field definitions and record blocks.
//
// Sections: value types (how a field's value is held, compared, converted and streamed);
// value definitions (a field's place in a record block); the storage (record blocks of the
// numbered records and of the internal records -1, -2, ...); the lookup list; unit start-up.
//
// Record block: one flags byte (bit 0: an internal record slot is in use), then each stored
// field: an assigned byte (0 = Null), the value slot of the type's size (all zero while Null),
// and, when the field keeps display text, a 4-byte text slot. A record gets its block on the
// first write; a record without one reads as all-Null.
//
// The numbered records' blocks lie side by side in one array, record r at r * RecordBytes, with
// a mark per record for whether it has its block (the bytes of a record without one stay zero):
// a record's values are found by arithmetic, not through a pointer per record, and a scan over
// the records reads memory in order. The internal records keep a block each.
//
// Texts, wide texts, Variants and objects live outside the block; their 4-byte slot holds a
// handle into a table of this unit (0 = nothing). Freeing a value frees what the handle names.
// UI thread only.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "platform/rtl/Variants.h"

class TStream;
class TcxValueType;
class TcxValueDefs;
class TcxDataStorage;

// A value type is used through its one instance, as a class reference.
using TcxValueTypeClass = const TcxValueType*;

// ---- Value types -----------------------------------------------------------------------------

// The base type holds nothing, accepts any Variant and streams it tagged.
class TcxValueType {
public:
  virtual ~TcxValueType() = default;
  static TcxValueTypeClass Class();

  // Compares two slots (texts, wide texts and Variants follow their handles first).
  virtual int CompareSlots(const Byte* ASlot1, const Byte* ASlot2) const;
  // Frees what the slot refers to (text, Variant, object) and zeroes the reference.
  virtual void ReleaseSlot(Byte* ASlot) const {}
  void ReleaseTextSlot(Byte* ATextSlot) const;
  virtual int SlotSize() const { return 0; }
  // Null when the slot refers to nothing.
  virtual Variant LoadSlot(const Byte* ASlot) const { return Variant::Null(); }
  // The value as text; a value that cannot become text gives the empty text.
  virtual AnsiString SlotText(const Byte* ASlot) const;
  AnsiString TextSlotText(const Byte* ATextSlot) const;
  virtual void ReadSlot(Byte* ASlot, TStream* AStream) const;
  void ReadTextSlot(Byte* ATextSlot, TStream* AStream) const;
  // Converts V to the type's form; raises EVariantError when it cannot.
  virtual void StoreSlot(Byte* ASlot, const Variant& V) const {}
  void StoreTextSlot(Byte* ATextSlot, const AnsiString& S) const;
  virtual void WriteSlot(const Byte* ASlot, TStream* AStream) const;
  void WriteTextSlot(const Byte* ATextSlot, TStream* AStream) const;
  // The class name without "Tcx" and "ValueType" ("SQLTimeStamp"); empty for the base.
  virtual AnsiString Caption() const { return AnsiString(); }
  // Compares two data (see SlotToData); nullptr data (no value referenced) sort first.
  virtual int CompareData(const void* AData1, const void* AData2) const;
  virtual Variant DataToVariant(const void* AData) const { return LoadSlot(static_cast<const Byte*>(AData)); }
  virtual TVarType VariantKind() const { return varVariant; }
  // True for Null and for any value when the kind is varVariant; otherwise converts V in place
  // to the type's kind, false (not an error) when it cannot.
  virtual bool AcceptsValue(Variant& V) const;
  virtual bool IsText() const { return false; }
  // The data a slot means: the slot itself, or what its handle refers to (nullptr for none).
  virtual const void* SlotToData(const Byte* ASlot) const { return ASlot; }

protected:
  TcxValueType() = default;
};

// Text: a handle to an 8-bit string; byte-wise order.
class TcxStringValueType : public TcxValueType {
public:
  static TcxValueTypeClass Class();
  void ReleaseSlot(Byte* ASlot) const override;
  int SlotSize() const override { return 4; }
  Variant LoadSlot(const Byte* ASlot) const override;
  void ReadSlot(Byte* ASlot, TStream* AStream) const override;
  void StoreSlot(Byte* ASlot, const Variant& V) const override;
  void WriteSlot(const Byte* ASlot, TStream* AStream) const override;
  AnsiString Caption() const override { return "String"; }
  int CompareData(const void* AData1, const void* AData2) const override;
  Variant DataToVariant(const void* AData) const override;
  TVarType VariantKind() const override { return varString; }
  bool IsText() const override { return true; }
  const void* SlotToData(const Byte* ASlot) const override;
};

// Wide text: a handle to a UTF-16 string; order by code units; streamed as UTF-16 units, so
// characters CP936 cannot hold survive.
class TcxWideStringValueType : public TcxStringValueType {
public:
  static TcxValueTypeClass Class();
  Variant LoadSlot(const Byte* ASlot) const override;
  void ReadSlot(Byte* ASlot, TStream* AStream) const override;
  void StoreSlot(Byte* ASlot, const Variant& V) const override;
  void WriteSlot(const Byte* ASlot, TStream* AStream) const override;
  AnsiString Caption() const override { return "WideString"; }
  int CompareData(const void* AData1, const void* AData2) const override;
  Variant DataToVariant(const void* AData) const override;
  TVarType VariantKind() const override { return varOleStr; }
  const void* SlotToData(const Byte* ASlot) const override;
};

// A fixed-size value held in the slot itself and streamed as its bytes.
template <class T>
class TcxPlainValueType : public TcxValueType {
public:
  int SlotSize() const override { return sizeof(T); }
  void ReadSlot(Byte* ASlot, TStream* AStream) const override;
  void WriteSlot(const Byte* ASlot, TStream* AStream) const override;
  int CompareData(const void* AData1, const void* AData2) const override;

protected:
  static T Get(const void* AData);
  static void Put(Byte* ASlot, T AValue);
};

#define CX_PLAIN_VALUE_TYPE(Name, T, CaptionText, Kind)           \
  class Name : public TcxPlainValueType<T> {                      \
  public:                                                         \
    static TcxValueTypeClass Class();                             \
    Variant LoadSlot(const Byte* ASlot) const override;           \
    void StoreSlot(Byte* ASlot, const Variant& V) const override; \
    AnsiString Caption() const override { return CaptionText; }   \
    TVarType VariantKind() const override { return Kind; }        \
  }
CX_PLAIN_VALUE_TYPE(TcxSmallintValueType, SmallInt, "Smallint", varSmallint);
CX_PLAIN_VALUE_TYPE(TcxIntegerValueType, Integer, "Integer", varInteger);
CX_PLAIN_VALUE_TYPE(TcxWordValueType, Word, "Word", varWord);
CX_PLAIN_VALUE_TYPE(TcxBooleanValueType, Byte, "Boolean", varBoolean);
CX_PLAIN_VALUE_TYPE(TcxFloatValueType, double, "Float", varDouble);
CX_PLAIN_VALUE_TYPE(TcxCurrencyValueType, Int64, "Currency", varCurrency);
CX_PLAIN_VALUE_TYPE(TcxDateTimeValueType, double, "DateTime", varDate);
CX_PLAIN_VALUE_TYPE(TcxLargeIntValueType, Int64, "LargeInt", varInt64);
#undef CX_PLAIN_VALUE_TYPE

// Packed decimal: precision byte, sign (0x80) and scale byte, 32 bytes of digit nibbles (most
// significant first). Read as a Double; compared and shown as the exact decimal.
class TcxFMTBcdValueType : public TcxValueType {
public:
  static TcxValueTypeClass Class();
  int SlotSize() const override { return 34; }
  Variant LoadSlot(const Byte* ASlot) const override;
  AnsiString SlotText(const Byte* ASlot) const override;
  void StoreSlot(Byte* ASlot, const Variant& V) const override;
  AnsiString Caption() const override { return "FMTBcd"; }
  int CompareData(const void* AData1, const void* AData2) const override;
  TVarType VariantKind() const override;
  bool AcceptsValue(Variant& V) const override;
};

// Year (signed 16), month, day, hour, minute, second (unsigned 16), milliseconds (unsigned 32).
// Read as a Date; ordered field by field.
class TcxSQLTimeStampValueType : public TcxValueType {
public:
  static TcxValueTypeClass Class();
  int SlotSize() const override { return 16; }
  Variant LoadSlot(const Byte* ASlot) const override;
  void StoreSlot(Byte* ASlot, const Variant& V) const override;
  AnsiString Caption() const override { return "SQLTimeStamp"; }
  int CompareData(const void* AData1, const void* AData2) const override;
  TVarType VariantKind() const override;
  bool AcceptsValue(Variant& V) const override;
};

// A handle to a Variant.
class TcxVariantValueType : public TcxValueType {
public:
  static TcxValueTypeClass Class();
  int CompareSlots(const Byte* ASlot1, const Byte* ASlot2) const override;
  void ReleaseSlot(Byte* ASlot) const override;
  int SlotSize() const override { return 4; }
  Variant LoadSlot(const Byte* ASlot) const override;
  void StoreSlot(Byte* ASlot, const Variant& V) const override;
  AnsiString Caption() const override { return "Variant"; }
  int CompareData(const void* AData1, const void* AData2) const override;
  Variant DataToVariant(const void* AData) const override;
  const void* SlotToData(const Byte* ASlot) const override;
};

// A handle to an owned object, read as an Integer; never streamed. Objects enter through
// cxDataStorage::RegisterObject; storing the handle moves the object into the field, and
// releasing the field frees it.
class TcxObjectValueType : public TcxIntegerValueType {
public:
  static TcxValueTypeClass Class();
  void ReleaseSlot(Byte* ASlot) const override;
  void ReadSlot(Byte* ASlot, TStream* AStream) const override {}
  void StoreSlot(Byte* ASlot, const Variant& V) const override;
  void WriteSlot(const Byte* ASlot, TStream* AStream) const override {}
  AnsiString Caption() const override { return "Object"; }
};

// A text's size and first eight bytes, big-endian and zero-padded.
struct TcxTextHead {
  std::uint64_t Bytes = 0;
  std::uint32_t Size = 0;
  std::uint32_t IsText = 0;
};

namespace cxDataStorage {
// Hands an object to the storage's table; the answer is the Integer to store in an Object
// field. Storing a handle that another field already holds raises EInvalidOperation.
Integer RegisterObject(std::unique_ptr<TObject> AObject);
// The object a handle names (nullptr for none).
TObject* ObjectOfHandle(Integer AHandle);
// Live entries of the handle table (texts, Variants, objects): a leak check for tests.
int LiveHandleCount();
// The text a string slot refers to (nullptr for none): SlotToData of TcxStringValueType
// without the virtual call.
const AnsiString* StringOfSlot(const Byte* ASlot);
// ATexts[i] := StringOfSlot(ASlots[i]), nullptr also for a nullptr slot: one call for a run of
// slots.
void StringsOfSlots(const Byte* const* ASlots, size_t ACount, const AnsiString** ATexts);
// AHeads[i] := the head of the text ASlots[i] refers to; IsText 0 (and all zero) when it refers
// to none or the slot is nullptr. Reads a compact list kept beside the texts.
void TextHeadsOfSlots(const Byte* const* ASlots, size_t ACount, TcxTextHead* AHeads);
}  // namespace cxDataStorage

// ---- Registered value types ------------------------------------------------------------------

class TcxValueTypeClassList {
public:
  void Register(TcxValueTypeClass AClass);
  void Unregister(TcxValueTypeClass AClass);
  int Count() const { return static_cast<int>(FItems.size()); }
  TcxValueTypeClass Items(int Index) const { return FItems.at(static_cast<size_t>(Index)); }
  // nullptr when no registered type has the caption.
  TcxValueTypeClass ItemByCaption(const AnsiString& ACaption) const;

private:
  std::vector<TcxValueTypeClass> FItems;
};

namespace cxDataStorage {
// The process-wide list, created on first use.
TcxValueTypeClassList* cxValueTypeClassList();
// Registers the 14 value types in their fixed order (idempotent); Finalize unregisters them in
// the reverse order and frees the list.
void Initialize();
void Finalize();
}  // namespace cxDataStorage

// ---- Value definitions -----------------------------------------------------------------------

class TcxValueDef : public TObject {
public:
  TcxValueDef(TcxValueDefs* AValueDefs, TcxValueTypeClass AValueTypeClass);
  ~TcxValueDef() override = default;
  TcxValueDef(const TcxValueDef&) = delete;
  TcxValueDef& operator=(const TcxValueDef&) = delete;

  virtual TObject* GetLinkedObject() const { return FLinkedObject; }
  virtual bool GetIsStored() const;
  virtual void SetLinkedObject(TObject* Value) { FLinkedObject = Value; }
  virtual void Assign(const TcxValueDef* Source);

  // Null first, two Nulls equal, else the type's order.
  int CompareRecords(const Byte* ABuffer1, const Byte* ABuffer2) const;
  int CompareNullable(bool AIsNull1, bool AIsNull2, const void* AData1, const void* AData2) const;
  // Frees the value and the display text the record holds for this field.
  void ReleaseValues(Byte* ABuffer) const;
  Variant ReadFromBuffer(const Byte* ABuffer) const;
  // Null clears the value; the display text is not touched.
  void WriteToBuffer(Byte* ABuffer, const Variant& V) const;
  // The stored display text when the field keeps one (also for a Null value); else the value as
  // text (empty for Null).
  AnsiString TextFromBuffer(const Byte* ABuffer) const;
  // Does nothing when the field keeps no display text.
  void WriteTextToBuffer(Byte* ABuffer, const AnsiString& S) const;
  // AField is the field's entry (its assigned byte).
  void MarkNull(Byte* AField, bool AIsNull) const;
  TVarType VariantKind() const { return FTypeClass->VariantKind(); }

  bool GetAlwaysStored() const { return FAlwaysStored; }
  // Moves the field in and out of the blocks without losing values.
  void SetAlwaysStored(bool Value);
  bool GetKeepsText() const { return FKeepsText; }
  void SetKeepsText(bool Value);
  bool HasTextSlot() const { return GetIsStored() && FKeepsText; }
  int GetEntryBytes() const { return FEntryBytes; }
  int GetEntryOffset() const { return FEntryOffset; }
  int GetSlotSize() const { return FSlotSize; }
  TcxValueDefs* GetOwnerDefs() const { return FOwnerDefs; }
  TcxValueTypeClass GetTypeClass() const { return FTypeClass; }

protected:
  TObject* FLinkedObject = nullptr;

private:
  friend class TcxValueDefs;

  bool FAlwaysStored = true;
  int FEntryBytes = 0;
  int FEntryOffset = 0;
  bool FKeepsText = false;
  TcxValueDefs* FOwnerDefs;
  int FSlotSize = 0;
  TcxValueTypeClass FTypeClass;
};

// The twin of a main definition for internal records: always stored; its linked object is the
// main definition, and GetLinkedObject answers the main definition's own linked object.
class TcxInternalValueDef : public TcxValueDef {
public:
  using TcxValueDef::TcxValueDef;
  TObject* GetLinkedObject() const override;
  bool GetIsStored() const override { return true; }
  TcxValueDef* GetMainDef() const { return static_cast<TcxValueDef*>(FLinkedObject); }
};

class TcxValueDefs : public TObject {
public:
  explicit TcxValueDefs(TcxDataStorage* AStorage, bool AInternal = false);
  ~TcxValueDefs() override;
  TcxValueDefs(const TcxValueDefs&) = delete;
  TcxValueDefs& operator=(const TcxValueDefs&) = delete;

  // Forwards to the storage's hook. AKind: 0 AlwaysStored, 1 KeepsText.
  virtual void DefinitionChanged(TcxValueDef* ADef, int AKind);
  virtual std::unique_ptr<TcxValueDef> CreateDefinition(TcxValueTypeClass AValueTypeClass);
  void ComputeLayout(int AOffset);

  // The list owns the definition; existing records get room for it (Null).
  TcxValueDef* Add(TcxValueTypeClass AValueTypeClass, bool AAlwaysStored, bool AKeepsText, TObject* ALinkedObject);
  // Frees the definitions, the last first.
  void Clear();
  // Frees the definition and its values in every record; not an error when it is not here.
  void Remove(TcxValueDef* ADef);
  int StoredCount() const;
  int Count() const { return static_cast<int>(FItems.size()); }
  TcxValueDef* Items(int Index) const { return FItems.at(static_cast<size_t>(Index)).get(); }
  int IndexOf(const TcxValueDef* ADef) const;
  int GetRecordBytes() const { return FRecordBytes; }
  int GetFirstOffset() const { return FFirstOffset; }
  TcxDataStorage* GetStorage() const { return FStorage; }
  // The list of the internal records' twins.
  bool IsInternal() const { return FInternal; }

private:
  friend class TcxValueDef;
  friend class TcxDataStorage;
  // Applies a change of one definition's layout to every block, keeping the values.
  void Restructure(TcxValueDef* ADef, const std::function<void()>& AChange);

  int FFirstOffset = 1;
  bool FInternal;
  std::vector<std::unique_ptr<TcxValueDef>> FItems;
  int FRecordBytes = 1;
  TcxDataStorage* FStorage;
};

class TcxInternalValueDefs : public TcxValueDefs {
public:
  explicit TcxInternalValueDefs(TcxDataStorage* AStorage) : TcxValueDefs(AStorage, true) {}
  std::unique_ptr<TcxValueDef> CreateDefinition(TcxValueTypeClass AValueTypeClass) override;
  // The twin of a main definition, searching from the last; nullptr when none.
  TcxInternalValueDef* FindByLinkedObject(const TcxValueDef* ADef) const;
  void RemoveByLinkedObject(const TcxValueDef* ADef);
};

// ---- The storage -----------------------------------------------------------------------------

// Where LoadRecord takes a record's values from.
class TcxValueDefReader : public TObject {
public:
  TcxValueDefReader() = default;
  virtual AnsiString DisplayTextFor(TcxValueDef* AValueDef) { return AnsiString(); }
  virtual Variant ValueFor(TcxValueDef* AValueDef) { return Variant::Null(); }
  virtual bool IsInternalFor(TcxValueDef* AValueDef) { return false; }
};

// Record indexes: 0..RecordCount-1 for records, -1, -2, ... for internal records. An index
// outside both raises EInvalidArgument "RecordIndex out of range". A main definition used with
// an internal record stands for its twin; with no twin, reads give Null or the empty text and
// writes do nothing.
class TcxDataStorage : public TObject {
public:
  TcxDataStorage();
  ~TcxDataStorage() override;
  TcxDataStorage(const TcxDataStorage&) = delete;
  TcxDataStorage& operator=(const TcxDataStorage&) = delete;

  virtual void PrepareLayout(TcxValueDefs* ADefs) { ADefs->ComputeLayout(1); }
  virtual void ValueDefsChanged() {}
  TcxValueDefs* GetValueDefsFor(int ARecordIndex) const;

  int AppendRecord();
  void InsertRecord(int AIndex);
  void DeleteRecord(int AIndex);
  // A free internal slot (a freed one first), marked in use.
  int AddInternalRecord();
  void FreeInternalRecord(int AIndex);
  void SetRecordCount(int ACount);
  int RecordCount() const { return static_cast<int>(FHasBlock.size()); }
  int InternalRecordCount() const { return static_cast<int>(FInternalRecords.size()); }

  Variant GetFieldValue(int ARecordIndex, TcxValueDef* AValueDef);
  void SetFieldValue(int ARecordIndex, TcxValueDef* AValueDef, const Variant& V);
  AnsiString GetFieldDisplayText(int ARecordIndex, TcxValueDef* AValueDef);
  void SetFieldDisplayText(int ARecordIndex, TcxValueDef* AValueDef, const AnsiString& S);
  // True when the field is Null; else AData is what the value slot means (see SlotToData),
  // valid until the record or the definitions change, or a numbered record is added or removed.
  bool GetFieldDataPointer(int ARecordIndex, TcxValueDef* AValueDef, const void*& AData);
  // A record without a block first; then the definition's order.
  int CompareRecords(int AIndex1, int AIndex2, TcxValueDef* AValueDef);
  void LoadRecord(int ARecordIndex, TcxValueDefReader* AReader, bool ASkipReaderInternal);
  void ForEachValueDef(int ARecordIndex, const std::function<void(TcxValueDef*)>& AProc);

  void Clear(bool AKeepInternalRecords);
  // Frees every block; ARemoveEntries also empties the record list.
  void ClearRecords(bool ARemoveEntries);
  void ClearInternalRecords();
  bool GetAlwaysStoredOnly() const { return FAlwaysStoredOnly; }
  // Switching frees the blocks of all records (the records stay, all-Null).
  void SetAlwaysStoredOnly(bool AValue);
  void BeginLoad() {}
  void EndLoad() {}

  TcxValueDefs* GetValueDefs() const { return FValueDefs.get(); }
  TcxInternalValueDefs* GetInternalValueDefs() const { return FInternalValueDefs.get(); }
  bool IsDestroying() const { return FDestroying; }
  // The record's block, nullptr when it has none (valid until the record changes, or a numbered
  // record is added or removed).
  const Byte* GetRecordBuffer(int ARecordIndex) const;
  // The same for 0 <= ARecordIndex < RecordCount() without the range check, for tight loops.
  const Byte* StoredRecordBuffer(int ARecordIndex) const
  {
    return FHasBlock[static_cast<size_t>(ARecordIndex)] ? MainBlock(ARecordIndex) : nullptr;
  }
  // The numbered records' array and its stride (the main list's record bytes): record r's block
  // starts at r * stride when HasBlocks()[r] is 1. Valid until a record is added or removed or
  // the definitions change.
  const Byte* RecordArray() const { return FArena.data(); }
  size_t RecordStride() const { return FStride; }
  const Byte* HasBlocks() const { return FHasBlock.data(); }
  // A stored number field's values (Float, DateTime, Integer, Smallint, Word) of the numbered
  // records as doubles, record r at [r], NaN for Null and for a record without a block: a scan
  // reads 8 bytes a record instead of the blocks. Every such field has one, kept in step by
  // the writers (8 bytes a record). nullptr for a field of another type, an unstored field or
  // an internal definition. Valid until a record is added or removed or the definitions change.
  const double* NumberColumn(const TcxValueDef* AValueDef) const;
  // The same for a text field (TcxStringValueType): the heads of its texts, all zero for Null
  // (see cxDataStorage::TextHeadsOfSlots), 16 bytes a record; nullptr for a field of another
  // type.
  const TcxTextHead* TextHeadColumn(const TcxValueDef* AValueDef) const;

  std::function<void(TObject* Sender)> OnClearInternalRecords;

private:
  friend class TcxValueDefs;
  using TBlock = std::vector<Byte>;  // empty: no block yet

  Byte* MainBlock(int ARecordIndex) const
  {
    return const_cast<Byte*>(FArena.data()) + static_cast<size_t>(ARecordIndex) * FStride;
  }
  // The record's block, nullptr when it has none; raises for an index out of range.
  Byte* BufferOf(int ARecordIndex) const;
  // The definition that serves the record (the twin for internal records); nullptr for none.
  TcxValueDef* DefFor(int ARecordIndex, TcxValueDef* AValueDef) const;
  Byte* EnsureBlock(int ARecordIndex);
  void FreeBlock(TBlock& ABlock, TcxValueDefs* ADefs);
  void FreeMainBlock(int ARecordIndex);
  // The blocks that a list of definitions lays out, for a change of its layout. The numbered
  // records' blocks are copied out of the array; EndLayoutChange puts them back at the new
  // stride (a block emptied meanwhile means the record has none any more).
  std::vector<TBlock*> BlocksOf(TcxValueDefs* ADefs);
  void EndLayoutChange(TcxValueDefs* ADefs);
  // Frees a main definition's values in every numbered record.
  void ReleaseRecordValues(TcxValueDef* ADef);
  // Moves the numbered records' blocks to the stride AStride: ARemove bytes at AOffset go and
  // AInsert zero bytes come in their place; ADropBlocks: every record loses its block.
  void RelayRecords(size_t AStride, size_t AOffset, size_t ARemove, size_t AInsert, bool ADropBlocks);

  // The column of ADef, nullptr when the field has none.
  struct TColumn;
  const TColumn* ColumnOf(const TcxValueDef* ADef) const;
  TColumn* ColumnOf(const TcxValueDef* ADef)
  {
    return const_cast<TColumn*>(static_cast<const TcxDataStorage*>(this)->ColumnOf(ADef));
  }
  // Sets record r's entry of the column from its block.
  void UpdateColumn(TColumn& AColumn, int ARecordIndex) const;
  void DropColumns() { FColumns.clear(); }
  // Makes the columns of the main definitions afresh from the blocks (after a layout change).
  void MakeColumns();

  bool FDestroying = false;
  std::vector<TBlock> FInternalRecords;  // index 0 is record -1
  std::unique_ptr<TcxInternalValueDefs> FInternalValueDefs;
  bool FAlwaysStoredOnly = false;
  std::vector<Byte> FArena;     // the numbered records' blocks, FStride bytes each
  std::vector<Byte> FHasBlock;  // per numbered record: 1 when it has its block
  size_t FStride = 1;
  std::vector<TBlock> FUnpacked;      // during a layout change: the numbered records' blocks
  std::vector<int> FUnpackedRecords;  // and their record indexes
  std::unique_ptr<TcxValueDefs> FValueDefs;
  // A number column (Read set, Values) or a text head column (Heads).
  struct TColumn {
    const TcxValueDef* Def;
    double (*Read)(const Byte* ASlot);
    std::vector<double> Values;
    std::vector<TcxTextHead> Heads;
    void Insert(size_t AIndex);
    void Erase(size_t AIndex);
    void Resize(size_t ACount);
    void Clear(size_t AIndex);
  };
  std::vector<TColumn> FColumns;
};

// ---- Lookup list -----------------------------------------------------------------------------

struct TcxLookupListItem {
  Variant Key;
  AnsiString DisplayText;
};

// Key/text pairs in ascending key order (cxVariants order), found by binary search.
class TcxLookupList : public TObject {
public:
  void Clear() { FItems.clear(); }
  // AIndex: the item found, or where the key would go.
  bool Find(const Variant& AKey, int& AIndex) const;
  void Insert(int AIndex, const Variant& AKey, const AnsiString& ADisplayText);
  const TcxLookupListItem& GetItem(int Index) const { return FItems.at(static_cast<size_t>(Index)); }
  int Count() const { return static_cast<int>(FItems.size()); }

private:
  std::vector<TcxLookupListItem> FItems;
};
