// Master-detail relations of a data controller and, per master record, the detail object that
// remembers its expanded state, its active relation and one information object per relation.
// The detail objects live in an internal object field of the master's storage, so deleting a
// record frees its detail object with it. UI thread only.
#pragma once

#include <memory>
#include <vector>

#include "platform/classes/OwnedList.h"
#include "platform/rtl/System.h"

class TcxCustomDataController;
class TcxCustomDataField;
class TcxCustomDataRelationList;

class TcxDetailInfoObject : public TObject {
public:
  std::unique_ptr<TObject> Link;  // the detail view's link object
  bool HasChildrenValue = false;
  bool HasChildrenKnown = false;
};

class TcxDetailObject : public TObject {
public:
  TcxDetailObject();
  // Tells a rebuilt object from the one it replaced, also at a reused address.
  unsigned long long GetSerial() const { return FSerial; }
  // Frees every information object.
  void Clear();
  // Clears every cached has-children answer; true when any was cached.
  bool ResetHasChildren();
  void FreeInfoObject(int AIndex);
  // Grows the list to ACount and keeps the active relation inside it.
  void SetRelationCount(int ACount);
  // nullptr outside the range.
  TcxDetailInfoObject* GetInfoObject(int AIndex) const;
  TcxDetailInfoObject* GetOrCreateInfoObject(int AIndex);
  bool HasNoLinks() const;
  int Count() const { return static_cast<int>(FInfoList.size()); }

  int CurrentRelation = -1;
  bool Expanded = false;

private:
  std::vector<std::unique_ptr<TcxDetailInfoObject>> FInfoList;
  unsigned long long FSerial;
};

class TcxCustomDataRelation : public TObject {
public:
  // Appends itself to the list.
  TcxCustomDataRelation(TcxCustomDataRelationList* ARelationList, TObject* AItem);
  // Detaches its pattern detail controller, then leaves the list.
  ~TcxCustomDataRelation() override;
  TcxCustomDataRelation(const TcxCustomDataRelation&) = delete;
  TcxCustomDataRelation& operator=(const TcxCustomDataRelation&) = delete;

  TcxCustomDataController* GetDataController() const;
  int GetIndex() const;
  void Changed();
  TObject* GetItem() const { return FItem; }
  TcxCustomDataRelationList* GetOwnerList() const { return FOwnerList; }

  TcxCustomDataController* DetailController = nullptr;  // the pattern detail controller
  // A clone's copy of its pattern's relation: it shares the pattern detail controller without
  // owning the attachment (freeing it leaves that controller alone).
  bool Mirror = false;

private:
  friend class TcxCustomDataRelationList;
  TObject* FItem;
  TcxCustomDataRelationList* FOwnerList;
};

class TcxCustomDataRelationList : public TObject {
public:
  explicit TcxCustomDataRelationList(TcxCustomDataController* ADataController) : FDataController(ADataController) {}
  ~TcxCustomDataRelationList() override;

  // A new relation for AItem (owned by the list).
  TcxCustomDataRelation* Add(TObject* AItem);
  void Clear();
  TcxCustomDataRelation* FindByItem(TObject* AItem) const;
  int GetCount() const { return FItems.Count(); }
  TcxCustomDataRelation* Items(int AIndex) const { return FItems[AIndex]; }
  int IndexOf(const TcxCustomDataRelation* ARelation) const { return FItems.IndexOf(ARelation); }
  void BeginUpdate() { ++FUpdateDepth; }
  // Then Changed with no relation.
  void EndUpdate();
  // Maintains the detail field: created with the first relation, freed with the last; the
  // detail information of every record is cleared. Skipped while locked.
  void Changed(TcxCustomDataRelation* ARelation);

  // The record's detail object: created when a relation has a pattern detail controller,
  // otherwise dismantled; nullptr when there is none. Raises for a bad record index.
  TcxDetailObject* GetDetailObject(int ARecordIndex);
  // AIndex -1: any relation.
  bool HasDetailInfo(int ARecordIndex, int ARelationIndex);
  bool ClearDetailInfo(int ARecordIndex, int ARelationIndex);
  TcxCustomDataController* GetDataController() const { return FDataController; }
  TcxCustomDataField* GetDetailField() const { return FDetailField; }

private:
  friend class TcxCustomDataRelation;
  TcxDetailObject* ReadDetailObject(int ARecordIndex) const;
  // Tells the controller while ARelation is still listed, then lets it go from the list.
  void Unlink(TcxCustomDataRelation* ARelation);
  // Frees the relations, the last first.
  void DeleteAll();

  TcxCustomDataController* FDataController;
  TcxCustomDataField* FDetailField = nullptr;
  TOwnedList<TcxCustomDataRelation> FItems;
  int FUpdateDepth = 0;
  bool FClearing = false;
};
