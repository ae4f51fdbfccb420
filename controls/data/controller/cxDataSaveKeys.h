// Detail and selection states kept by key values across a full reload: each state is saved
// with the key value of its record and put back on whichever record carries that key after
// the reload. Only controllers with key navigation keep states this way.
#pragma once

#include <memory>
#include <vector>

#include "platform/rtl/Variants.h"

class TcxCustomDataController;
class TcxCustomDataField;
class TcxSaveObject;

// The base of a list of key records. Save clears, then collects and sorts by key; Restore puts
// the states back and clears. Neither raises for a controller without records.
class TcxKeys : public TObject {
public:
  ~TcxKeys() override = default;
  void Save(TcxCustomDataController* AController);
  void Restore(TcxCustomDataController* AController);
  // The saved record (its position in AIndex) whose key equals ARecordIndex's key value.
  bool FindRecordKey(int ARecordIndex, int& AIndex);
  void Delete(int AIndex);
  virtual void Clear() = 0;
  virtual int Count() const = 0;

protected:
  virtual void SaveKeys() = 0;
  virtual void RestoreKeys() = 0;
  virtual const Variant& KeyAt(int AIndex) const = 0;
  virtual void DeleteAt(int AIndex) = 0;
  virtual void SortByKey() = 0;

  TcxCustomDataController* DataController = nullptr;
  std::vector<TcxCustomDataField*> KeyFields;
};

struct TcxDetailKeyInfo {
  Variant Key;
  int RelationIndex = -1;
  std::unique_ptr<TcxSaveObject> SaveObject;  // the detail controller's own states
};

// Expanded details: the active relation and, recursively, the state of the detail controller.
class TcxDetailKeys : public TcxKeys {
public:
  void Clear() override { Keys.clear(); }
  int Count() const override { return static_cast<int>(Keys.size()); }
  std::vector<TcxDetailKeyInfo> Keys;

protected:
  void SaveKeys() override;
  void RestoreKeys() override;
  const Variant& KeyAt(int AIndex) const override { return Keys[static_cast<size_t>(AIndex)].Key; }
  void DeleteAt(int AIndex) override { Keys.erase(Keys.begin() + AIndex); }
  void SortByKey() override;
};

struct TcxSelectedKeyInfo {
  Variant Key;
  int SelectionIndex = -1;
};

// Selected data rows: a selection entry follows its record's key; entries whose key is gone
// are removed.
class TcxSelectedKeys : public TcxKeys {
public:
  void Clear() override { Keys.clear(); }
  int Count() const override { return static_cast<int>(Keys.size()); }
  std::vector<TcxSelectedKeyInfo> Keys;

protected:
  void SaveKeys() override;
  void RestoreKeys() override;
  const Variant& KeyAt(int AIndex) const override { return Keys[static_cast<size_t>(AIndex)].Key; }
  void DeleteAt(int AIndex) override { Keys.erase(Keys.begin() + AIndex); }
  void SortByKey() override;
};

class TcxSaveObject : public TObject {
public:
  TcxSaveObject();
  ~TcxSaveObject() override;
  // Nothing for a controller being destroyed or without key navigation.
  void Save(TcxCustomDataController* AController);
  // Without key navigation only drops selection entries beyond the record count and a stale
  // saved focus.
  void Restore(TcxCustomDataController* AController);
  TcxDetailKeys* GetDetailKeys() const { return FDetailKeys.get(); }
  TcxSelectedKeys* GetSelectedKeys() const { return FSelectedKeys.get(); }

private:
  std::unique_ptr<TcxDetailKeys> FDetailKeys;
  std::unique_ptr<TcxSelectedKeys> FSelectedKeys;
};
