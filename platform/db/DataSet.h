// TDataSet: a cursor over records held in memory, with the classic states, the buffer window
// data links read through, navigation, editing, locate and lookup, filters, a client-side sort,
// calculated and lookup fields, and the dataset events.
//
// Section index: records and the view · window · open/close · navigation · editing ·
// locate/lookup · filter/sort · notification.
// Call flow of an open: Open → InternalOpen (subclass fills FieldDefs and rows through
// AddLoadedRecord) → BindFields → RebuildView → First.
//
// A subclass supplies its rows in InternalOpen and may write edits back in InternalPost /
// InternalDelete (the default keeps them in memory only).
#pragma once

#include <functional>
#include <memory>
#include <unordered_map>
#include <vector>

#include "platform/classes/Component.h"
#include "platform/db/DB.h"
#include "platform/db/FieldDefs.h"
#include "platform/db/PackedValues.h"
#include "platform/rtl/Variants.h"

class TField;
class TDataSource;
class TDataLink;
class TDataSet;
class TFilterExpression;

using TDataSetNotifyEvent = std::function<void(TDataSet* DataSet)>;
using TFilterRecordEvent = std::function<void(TDataSet* DataSet, bool& Accept)>;

// One record: data values by column (FieldNo - 1) and calculated values by slot. A stored
// record keeps its data values packed; the record being edited or inserted (and one holding a
// value with no packed form) keeps them in Values.
struct TRecordData {
  Int64 Id = 0;  // bookmark identity, unique within the dataset
  TPackedValues Packed;
  std::vector<Variant> Values;
  std::vector<Variant> Calc;
  bool CalcValid = false;
  bool Deleted = false;  // removed; freed when the store is compacted

  bool IsPacked() const { return Values.empty() && !Packed.IsEmpty(); }
  std::size_t ValueCount() const { return IsPacked() ? Packed.GetCount() : Values.size(); }
  // Null past the last column.
  Variant Value(std::size_t Index) const;
  // Moves the values into Values (Count of them) for editing.
  void Unpack(std::size_t Count);
  // Moves Values into the packed form when each of them has one.
  void Pack();
};

// The fields of a dataset, in order. Does not own them.
class TFields {
public:
  Integer GetCount() const { return static_cast<Integer>(FList.size()); }
  TField* GetField(Integer Index) const { return FList.at(static_cast<std::size_t>(Index)); }
  TField* operator[](Integer Index) const { return GetField(Index); }
  // nullptr when missing; ignoring case.
  TField* FindField(const AnsiString& Name) const;
  Integer IndexOf(const TField* Field) const;

private:
  friend class TDataSet;
  friend class TField;
  std::vector<TField*> FList;
};

class TDataSet : public TComponent {
  PELTO_CLASS(TDataSet, TComponent)
public:
  explicit TDataSet(TComponent* AOwner);
  ~TDataSet() override;

  // --- open/close -------------------------------------------------------------------------
  void Open() { SetActive(true); }
  void Close() { SetActive(false); }
  bool GetActive() const { return FState != dsInactive; }
  void SetActive(bool Value);
  TDataSetState GetState() const { return FState; }
  TFieldDefs& GetFieldDefs() { return FFieldDefs; }
  TFields& GetFields() { return FFields; }
  const TFields& GetFields() const { return FFields; }
  // True while the fields were made from the definitions by Open (they go with Close).
  bool GetDefaultFields() const { return FDefaultFields; }
  bool GetReadOnly() const { return FReadOnly; }
  void SetReadOnly(bool Value) { FReadOnly = Value; }
  virtual bool GetCanModify() const { return !FReadOnly; }
  bool GetModified() const { return FModified; }

  // nullptr when missing. FieldByName raises EDatabaseError "Field '%s' not found".
  TField* FindField(const AnsiString& Name) const { return FFields.FindField(Name); }
  TField* FieldByName(const AnsiString& Name) const;
  // The fields named in a ';'-separated list, in its order; raises for a missing name.
  std::vector<TField*> GetFieldList(const AnsiString& Names) const;
  Variant GetFieldValues(const AnsiString& Names) const;
  void SetFieldValues(const AnsiString& Names, const Variant& Values);

  // --- navigation ------------------------------------------------------------------------
  void First();
  void Last();
  void Next() { MoveBy(1); }
  void Prior() { MoveBy(-1); }
  // Returns the distance actually moved.
  Integer MoveBy(Integer Distance);
  bool GetBof() const { return FBof; }
  bool GetEof() const { return FEof; }
  bool IsEmpty() const { return FView.empty(); }
  // 1-based position of the current record in the view; 0 when empty or inserting.
  Integer GetRecNo() const;
  void SetRecNo(Integer Value);
  // Records in the view (after filter).
  Integer GetRecordCount() const;
  // Of the active record (a data link may have switched it); empty for an unposted insert.
  TBookmarkStr GetBookmark() const;
  // Raises EDatabaseError "Record not found" for a bookmark of no visible record.
  void GotoBookmark(const TBookmarkStr& Bookmark);
  bool BookmarkValid(const TBookmarkStr& Bookmark) const;
  // Negative, 0 or positive by view order; an empty bookmark sorts first.
  Integer CompareBookmarks(const TBookmarkStr& A, const TBookmarkStr& B) const;
  bool GetIsUniDirectional() const { return false; }
  bool GetIsSequenced() const { return true; }

  // --- editing ---------------------------------------------------------------------------
  void Edit();
  void Insert();
  void Append();
  void Post();
  void Cancel();
  void Delete();
  // Posts a modified pending edit, cancels an unmodified one; raises when not active.
  void CheckBrowseMode();
  // Lets the data links put their pending control edits into the record.
  void UpdateRecord();
  // Reloads the rows (Close/Open) keeping the position by bookmark when possible.
  void Refresh();
  // Appends a record with values in field order (Null for missing ones) and posts it.
  void AppendRecord(const std::vector<Variant>& Values);

  // --- locate/lookup ---------------------------------------------------------------------
  // KeyFields is ';'-separated; KeyValues a single value or a Variant array. Moves to the first
  // matching record and returns true; false leaves the cursor where it was.
  bool Locate(const AnsiString& KeyFields, const Variant& KeyValues, TLocateOptions Options = {});
  // The ResultFields (';'-separated; an array for several) of the first record matching exactly;
  // Null when none. The cursor does not move.
  Variant Lookup(const AnsiString& KeyFields, const Variant& KeyValues, const AnsiString& ResultFields);

  // --- filter/sort -----------------------------------------------------------------------
  // Filter text: comparisons (=, <>, <, >, <=, >=, LIKE with % and * wildcards, IS [NOT] NULL)
  // of fields with literals ('text', numbers, #dates#, Null), joined by AND, OR, NOT and
  // parentheses. A malformed filter raises EDatabaseError when set on an active dataset.
  const AnsiString& GetFilter() const { return FFilterText; }
  void SetFilter(const AnsiString& Value);
  bool GetFiltered() const { return FFiltered; }
  void SetFiltered(bool Value);
  // "Name [ASC|DESC], ..."; empty restores the load order. Raises for an unknown field.
  const AnsiString& GetSort() const { return FSort; }
  void SetSort(const AnsiString& Value);

  // --- controls --------------------------------------------------------------------------
  void DisableControls();
  void EnableControls();
  bool ControlsDisabled() const { return FDisableCount > 0; }

  // --- buffer window (for data links) ----------------------------------------------------
  Integer GetActiveRecord() const { return FActiveRecord; }
  Integer GetBufferRecordCount() const { return FBufRecCount; }

  TDataSetNotifyEvent BeforeOpen, AfterOpen, BeforeClose, AfterClose;
  TDataSetNotifyEvent BeforeInsert, AfterInsert, BeforeEdit, AfterEdit;
  TDataSetNotifyEvent BeforePost, AfterPost, BeforeCancel, AfterCancel;
  TDataSetNotifyEvent BeforeDelete, AfterDelete, BeforeScroll, AfterScroll;
  TDataSetNotifyEvent OnNewRecord, OnCalcFields;
  TFilterRecordEvent OnFilterRecord;

protected:
  // Fills FieldDefs (when the subclass defines them) and the rows through AddLoadedRecord.
  virtual void InternalOpen() {}
  virtual void InternalClose() {}
  // Write-back hooks; Record holds the new values, Old the stored ones (nullptr on insert).
  virtual void InternalPost(TRecordData& Record, const TRecordData* Old) {}
  virtual void InternalDelete(const TRecordData& Record) {}
  // Adds a loaded row; Values in FieldDefs order.
  void AddLoadedRecord(std::vector<Variant>&& Values);
  void AddLoadedRecord(TPackedValues&& Values);
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void DataEvent(TDataEvent Event, intptr_t Info);
  void CheckActive() const;
  void CheckInactive() const;

private:
  friend class TField;
  friend class TDataSource;
  friend class TDataLink;

  // records and the view
  void BindFields();
  void ClearBuffers();
  void RebuildView();
  bool RecordAccepted(TRecordData* Rec);
  void ApplySort();
  Integer ViewIndexOf(const TRecordData* Rec) const;
  Integer ViewIndexOfId(Int64 Id) const;
  void ViewChanged() { FViewIndexValid = false; }
  Integer ViewIndexOfBookmark(const TBookmarkStr& Bookmark) const;
  TRecordData* CurrentRecord() const;
  TRecordData* ActiveBuffer() const;
  const Variant& GetFieldValue(const TField* Field) const;
  // The CP936 text of a field whose stored value is a packed text or null (empty then); false
  // for any other value, which the caller reads through GetFieldValue.
  bool GetFieldAnsi(const TField* Field, AnsiString& Out) const;
  // Null or Empty, told without reading the value out of a packed record.
  bool GetFieldIsNull(const TField* Field) const;
  Variant GetOldFieldValue(const TField* Field) const;
  void SetFieldValue(TField* Field, const Variant& Value);
  void CalculateFields(TRecordData* Rec) const;
  bool RecordMatches(const TRecordData* Rec, const std::vector<TField*>& Fields, const std::vector<Variant>& Values,
                     TLocateOptions Options) const;
  Variant FieldValueOf(const TRecordData* Rec, const TField* Field) const;

  // window
  void Resync(bool Center);
  void MoveWindowTo(Integer Cur, bool Center, Integer& Shift);
  void UpdateBufferCount();
  void SetState(TDataSetState Value);
  void BeginInsertAppend(bool Append);
  void DoEvent(const TDataSetNotifyEvent& Event)
  {
    if (Event) Event(this);
  }

  // notification
  void AddDataSource(TDataSource* Source);
  void RemoveDataSource(TDataSource* Source);
  void SendEvent(TDataEvent Event, intptr_t Info);

  TDataSetState FState = dsInactive;
  TFieldDefs FFieldDefs;
  TFields FFields;
  bool FDefaultFields = false;
  bool FReadOnly = false;
  bool FModified = false;
  Integer FCalcCount = 0;  // calculated and lookup slots per record

  std::vector<std::unique_ptr<TRecordData>> FRecords;  // every loaded row, load order
  mutable std::vector<Variant> FReadValues;            // by column: packed values as last read
  std::vector<TRecordData*> FView;                     // the visible rows, filtered and sorted
  Int64 FNextId = 1;
  Integer FDeletedCount = 0;                              // deleted records still in FRecords
  mutable std::unordered_map<Int64, Integer> FViewIndex;  // record id -> view index
  mutable bool FViewIndexValid = false;
  Integer FCur = -1;  // view index of the current record
  bool FBof = true;
  bool FEof = true;

  Integer FFirst = 0;         // view index of the window's first record
  Integer FBufRecCount = 0;   // records in the window
  Integer FBufferCount = 1;   // window size asked by the links
  Integer FActiveRecord = 0;  // window row being read (links switch it temporarily)

  std::unique_ptr<TRecordData> FEditRecord;  // pending edit; on insert also the placeholder in FView
  TRecordData* FCalcRecord = nullptr;        // record being calculated or filtered

  AnsiString FFilterText;
  std::unique_ptr<TFilterExpression> FFilterExpr;
  bool FFiltered = false;
  AnsiString FSort;

  std::vector<TDataSource*> FDataSources;
  Integer FDisableCount = 0;
  bool FDisabledEvent = false;  // a change happened while controls were disabled
  bool FDisabledLayout = false;
  TDataSetState FDisabledState = dsInactive;
};
