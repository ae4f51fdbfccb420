// The data controller's fields: one per view item (a grid column), each owning the value
// definition of its values in the record storage, or sharing another field's data.
//
// Ownership: the field list owns its fields; a field owns its value definition (the storage's
// definition list holds it, the field removes it). UI thread only.
#pragma once

#include <memory>
#include <vector>

#include "platform/classes/OwnedList.h"
#include "controls/data/storage/cxDataStorage.h"

class TComponent;
class TcxCustomDataController;
class TcxCustomDataFieldList;

class TcxCustomDataField : public TObject {
public:
  explicit TcxCustomDataField(TcxCustomDataFieldList* AFieldList);
  // Takes the field out of its list (the list hands its data to the fields that shared it).
  ~TcxCustomDataField() override;
  TcxCustomDataField(const TcxCustomDataField&) = delete;
  TcxCustomDataField& operator=(const TcxCustomDataField&) = delete;

  // Receives the definition and type of a removed field that this one referred to.
  virtual void TakeOver(TcxCustomDataField* ASource);
  virtual bool CanProvideValue() const { return GetValueDef() != nullptr; }
  virtual bool IsInternalValueDef() const { return FInternal; }
  // A component the field refers to is being freed (nothing here).
  virtual void ComponentRemoved(TComponent* AComponent) {}

  // The first level frees the definition (the values go); the last creates a new one.
  void BeginDefRebuild();
  void EndDefRebuild();

  TcxCustomDataController* GetDataController() const;
  TcxCustomDataFieldList* GetOwnerList() const { return FOwnerList; }
  // Position in the list: the controller's item index.
  int GetIndex() const;
  bool GetInternal() const { return FInternal; }
  void SetInternal(bool Value);
  TObject* GetViewItem() const { return FViewItem; }
  void SetViewItem(TObject* Value) { FViewItem = Value; }
  // Read through the reference: the referenced field's, else the own.
  TcxValueDef* GetValueDef() const;
  TcxValueTypeClass GetTypeClass() const;
  void SetTypeClass(TcxValueTypeClass Value);
  bool GetKeepsDisplayText() const;
  void SetKeepsDisplayText(bool Value);
  TcxCustomDataField* GetReference() const { return FReference; }
  // Follows AValue's chain to its end; a chain that leads back to this field changes nothing.
  void SetReference(TcxCustomDataField* AValue);

  bool ConversionFlag = false;  // the controller's per-field "needs conversion" flag
  int ConversionMode = 0;       // -1 stored values, 1 variant comparison, 2 display texts; set per sort
  bool UpdatedMark = false;     // set by the controller's field update pass

private:
  friend class TcxCustomDataFieldList;
  void CreateDef();
  void FreeDef();

  bool FInternal = false;
  bool FKeepsDisplayText = false;
  TcxCustomDataFieldList* FOwnerList;
  int FRecreateLock = 0;
  TcxCustomDataField* FReference = nullptr;
  TcxValueDef* FStorageDef = nullptr;
  TcxValueTypeClass FTypeClass = nullptr;
  TObject* FViewItem = nullptr;
};

// Frees a field through the list that owns it; a field in no list belongs to its holder.
void FreeDataField(TcxCustomDataField* AField);

class TcxCustomDataFieldList : public TObject {
public:
  explicit TcxCustomDataFieldList(TcxCustomDataController* ADataController) : FDataController(ADataController) {}
  ~TcxCustomDataFieldList() override;

  // Takes ownership. Internal fields go last, other fields before the first internal one.
  void Add(std::unique_ptr<TcxCustomDataField> AField);
  // Takes AField out (its data handed on, the controller told) and frees it.
  void Delete(TcxCustomDataField* AField);
  // Frees the fields, the last first.
  void Clear();
  // nullptr when no field mirrors AItem.
  TcxCustomDataField* FieldByItem(TObject* AItem) const;
  int Count() const { return FItems.Count(); }
  TcxCustomDataField* Items(int Index) const { return FItems[Index]; }
  int IndexOf(const TcxCustomDataField* AField) const { return FItems.IndexOf(AField); }
  int NonInternalCount() const { return Count() - FInternalCount; }
  void MoveField(int ACurIndex, int ANewIndex);
  // Passed to every field; a field may go away on the way.
  void ComponentRemoved(TComponent* AComponent);
  TcxCustomDataController* GetDataController() const { return FDataController; }
  bool FieldGone = false;  // set whenever a field was removed

private:
  friend class TcxCustomDataField;
  // Called by a field's destructor: hands its data on and forgets it (does not free it).
  void Remove(TcxCustomDataField* AField);
  // Hands AField's data to the first field sharing it and tells the controller.
  void Unlink(TcxCustomDataField* AField);
  void Recount();

  TcxCustomDataController* FDataController;
  int FInternalCount = 0;
  TOwnedList<TcxCustomDataField> FItems;
};
