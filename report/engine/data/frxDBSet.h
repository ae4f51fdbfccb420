// The bridge from report data sets to the platform's database datasets: field aliases (and
// hidden fields), record ranges relative to the current record, and the record that was current
// before a run put back afterwards.
#pragma once

#include <memory>

#include "platform/db/DataSet.h"
#include "platform/db/DataSource.h"
#include "report/engine/data/frxDataSet.h"

class TField;

// Aliases and the map of the names a report uses to the platform's field objects.
class TfrxCustomDBDataSet : public TfrxDataSet {
  PELTO_DECLARE_CLASS(TfrxCustomDBDataSet, TfrxDataSet)
public:
  explicit TfrxCustomDBDataSet(TComponent* AOwner);

  // Lines "FIELD=Alias"; a field name starting with '-' hides the field. The setter copies.
  TStringList* GetFieldAliases() const { return FFieldAliases.get(); }
  void SetFieldAliases(TStringList* Value) { FFieldAliases->Assign(Value); }
  // The field name behind an alias (ASCII case ignored); Name itself when it is no alias.
  AnsiString ConvertAlias(const AnsiString& Name) const;
  Integer FieldsCount() override;

  PELTO_PUBLISHED(p);

protected:
  // Sorted, duplicates ignored; each name carries its TField (nullptr when unmatched). Not owned.
  std::unique_ptr<TStringList> FFieldMap;

private:
  std::unique_ptr<TStringList> FFieldAliases;
};

// A report data set over a TDataSet, given directly or through a TDataSource. The source opens on
// first use and stays open unless CloseDataSource. Unknown field names never raise: the value is
// Null, the display text names the binding, and the report's error list gets a message.
class TfrxDBDataset : public TfrxCustomDBDataSet {
  PELTO_DECLARE_CLASS(TfrxDBDataset, TfrxCustomDBDataSet)
public:
  explicit TfrxDBDataset(TComponent* AOwner);
  // Puts the source's after-open handler back when a run did not finalize.
  ~TfrxDBDataset() override;

  // Not owned; setting one (non-nullptr) clears the other. Both become nullptr when the
  // component they name is freed.
  TDataSet* GetDataSet() const { return FDataSet; }
  void SetDataSet(TDataSet* Value);
  TDataSource* GetDataSource() const { return FDataSource; }
  void SetDataSource(TDataSource* Value);
  // The DataSet, else the DataSource's data set, else nullptr.
  TDataSet* GetSourceDataSet() const { return FSourceDataSet; }

  // Raises Exception "dbNotConn" when there is no source.
  void Initialize() override;
  void Finalize() override;
  void Open() override;
  void Close() override;
  void First() override;
  void Next() override;
  void Prior() override;
  bool Eof() override;
  AnsiString GetDisplayText(const AnsiString& Field) override;
  Variant GetValue(const AnsiString& Field) override;
  Integer GetDisplayWidth(const AnsiString& Field) override;
  TfrxFieldType GetFieldType(const AnsiString& Field) override;
  bool IsBlobField(const AnsiString& Field) override;
  // A TStream gets the field's bytes and is rewound; a TStrings gets its text; another
  // TPersistent is assigned from the field object.
  void AssignBlobTo(const AnsiString& Field, TObject* Target) override;
  void GetFieldList(TStrings* List) override;

  PELTO_PUBLISHED(p);

  // The source is stored with the object only when no report owns it.
  static bool StoresSource(const TObject* Self);

protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

private:
  void UpdateSource();
  void OpenIfNeeded()
  {
    if (!FIsOpened) Open();
  }
  // Refills FFieldMap; Strict raises for a name without a field.
  void FillFieldMap(bool Strict);
  // The mapped field of Field; nullptr (with the error noted) when the report used an unknown
  // name.
  TField* MappedField(const AnsiString& Field, bool& Known);
  AnsiString Binding(const AnsiString& Field) const;
  void AddError(const AnsiString& Text);
  void Unhook();

  TDataSet* FDataSet = nullptr;
  TDataSource* FDataSource = nullptr;
  TDataSet* FSourceDataSet = nullptr;
  TDataSet* FHooked = nullptr;  // the source whose AfterOpen we replaced
  TDataSetNotifyEvent FSaveOpenEvent;
  TBookmarkStr FBookmark;
  bool FIsOpened = false;
  bool FEndReached = false;
};

namespace frxDBSet {
// Registers the report data set classes by name.
void Initialize();
}  // namespace frxDBSet
