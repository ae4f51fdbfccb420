#include "controls/data/controller/cxDataRelations.h"

#include <algorithm>

#include "controls/data/controller/cxCustomData.h"
#include "platform/rtl/Guards.h"

// ---- TcxDetailObject -------------------------------------------------------------------------

namespace {
unsigned long long DetailObjectSerial = 0;
}

TcxDetailObject::TcxDetailObject() : FSerial(++DetailObjectSerial) {}

void TcxDetailObject::Clear()
{
  for (auto& info : FInfoList) info.reset();
}

bool TcxDetailObject::ResetHasChildren()
{
  bool any = false;
  for (auto& info : FInfoList)
    if (info && info->HasChildrenKnown) {
      info->HasChildrenKnown = false;
      any = true;
    }
  return any;
}

void TcxDetailObject::FreeInfoObject(int AIndex)
{
  if (AIndex >= 0 && AIndex < Count()) FInfoList[static_cast<size_t>(AIndex)].reset();
}

void TcxDetailObject::SetRelationCount(int ACount)
{
  if (ACount > Count()) FInfoList.resize(static_cast<size_t>(ACount));
  CurrentRelation = Count() == 0 ? -1 : std::clamp(CurrentRelation, 0, Count() - 1);
}

TcxDetailInfoObject* TcxDetailObject::GetInfoObject(int AIndex) const
{
  return AIndex >= 0 && AIndex < Count() ? FInfoList[static_cast<size_t>(AIndex)].get() : nullptr;
}

TcxDetailInfoObject* TcxDetailObject::GetOrCreateInfoObject(int AIndex)
{
  if (AIndex < 0) return nullptr;
  if (AIndex >= Count()) FInfoList.resize(static_cast<size_t>(AIndex + 1));
  auto& info = FInfoList[static_cast<size_t>(AIndex)];
  if (!info) info = std::make_unique<TcxDetailInfoObject>();
  return info.get();
}

bool TcxDetailObject::HasNoLinks() const
{
  return std::none_of(FInfoList.begin(), FInfoList.end(), [](const auto& info) { return info && info->Link; });
}

// ---- TcxCustomDataRelation -------------------------------------------------------------------

TcxCustomDataRelation::TcxCustomDataRelation(TcxCustomDataRelationList* ARelationList, TObject* AItem)
    : FItem(AItem), FOwnerList(ARelationList)
{}

TcxCustomDataRelation::~TcxCustomDataRelation()
{
  if (DetailController && !Mirror) DetailController->SetPatternRelation(nullptr, false);
  if (!FOwnerList) return;
  FOwnerList->GetDataController()->RelationRemoved(this);
  auto& items = FOwnerList->FItems;
  for (auto it = items.begin(); it != items.end(); ++it)
    if (it->get() == this) {
      it->release();
      items.erase(it);
      break;
    }
  if (!FOwnerList->FClearing) FOwnerList->Changed(nullptr);
}

TcxCustomDataController* TcxCustomDataRelation::GetDataController() const
{
  return FOwnerList ? FOwnerList->GetDataController() : nullptr;
}

int TcxCustomDataRelation::GetIndex() const { return FOwnerList ? FOwnerList->IndexOf(this) : -1; }

void TcxCustomDataRelation::Changed()
{
  if (FOwnerList) FOwnerList->Changed(this);
}

// ---- TcxCustomDataRelationList ---------------------------------------------------------------

TcxCustomDataRelationList::~TcxCustomDataRelationList()
{
  FClearing = true;
  while (!FItems.empty()) delete FItems.back().get();
}

TcxCustomDataRelation* TcxCustomDataRelationList::Add(TObject* AItem)
{
  FItems.push_back(FDataController->CreateRelation(this, AItem));
  TcxCustomDataRelation* r = FItems.back().get();
  Changed(r);
  return r;
}

void TcxCustomDataRelationList::Clear()
{
  BeginUpdate();
  FClearing = true;
  while (!FItems.empty()) delete FItems.back().get();
  FClearing = false;
  EndUpdate();
}

TcxCustomDataRelation* TcxCustomDataRelationList::FindByItem(TObject* AItem) const
{
  for (const auto& r : FItems)
    if (r->GetItem() == AItem) return r.get();
  return nullptr;
}

int TcxCustomDataRelationList::IndexOf(const TcxCustomDataRelation* ARelation) const
{
  for (int i = 0; i < GetCount(); ++i)
    if (Items(i) == ARelation) return i;
  return -1;
}

void TcxCustomDataRelationList::EndUpdate()
{
  if (--FUpdateDepth == 0) Changed(nullptr);
}

void TcxCustomDataRelationList::Changed(TcxCustomDataRelation* ARelation)
{
  if (FUpdateDepth > 0 || FDataController->IsDestroying()) return;
  TUpdateGuard lock(*FDataController);
  if (FItems.empty()) {
    if (FDetailField) {
      TcxCustomDataField* f = FDetailField;
      FDetailField = nullptr;
      delete f;
    }
  } else if (FDetailField) {
    for (int r = 0; r < FDataController->GetRecordCount(); ++r) ClearDetailInfo(r, -1);
  } else {
    FDetailField = FDataController->AddInternalField();
    FDetailField->SetTypeClass(TcxObjectValueType::Class());
  }
  FDataController->LayoutChanged(ARelation);
}

TcxDetailObject* TcxCustomDataRelationList::ReadDetailObject(int ARecordIndex) const
{
  if (!FDetailField || !FDetailField->GetValueDef()) return nullptr;
  const Variant v = FDataController->GetStorage()->GetFieldValue(ARecordIndex, FDetailField->GetValueDef());
  if (v.IsNull() || v.IsEmpty()) return nullptr;
  return dynamic_cast<TcxDetailObject*>(cxDataStorage::ObjectOfHandle(v.AsInteger()));
}

TcxDetailObject* TcxCustomDataRelationList::GetDetailObject(int ARecordIndex)
{
  FDataController->CheckRecordIndex(ARecordIndex);
  if (!FDetailField || !FDetailField->GetValueDef()) return nullptr;
  TcxDetailObject* obj = ReadDetailObject(ARecordIndex);
  TcxCustomDataRelationList* pattern = FDataController->GetPatternDataController()->GetRelations();
  bool anyDetail = false;
  for (int i = 0; i < pattern->GetCount(); ++i)
    if (pattern->Items(i)->DetailController) anyDetail = true;
  TcxDataStorage* storage = FDataController->GetStorage();
  if (anyDetail) {
    if (!obj) {
      auto created = std::make_unique<TcxDetailObject>();
      created->CurrentRelation = FDataController->GetDefaultActiveRelationIndex();
      obj = created.get();
      storage->SetFieldValue(ARecordIndex, FDetailField->GetValueDef(),
                             cxDataStorage::RegisterObject(std::move(created)));
    }
    obj->SetRelationCount(pattern->GetCount());
    return obj;
  }
  // No relation can show details: an object left over goes with its field value.
  if (obj) storage->SetFieldValue(ARecordIndex, FDetailField->GetValueDef(), Variant::Null());
  return nullptr;
}

bool TcxCustomDataRelationList::HasDetailInfo(int ARecordIndex, int ARelationIndex)
{
  TcxDetailObject* obj = ReadDetailObject(ARecordIndex);
  if (!obj) return false;
  if (ARelationIndex == -1) return !obj->HasNoLinks();
  TcxDetailInfoObject* info = obj->GetInfoObject(ARelationIndex);
  return info && info->Link;
}

bool TcxCustomDataRelationList::ClearDetailInfo(int ARecordIndex, int ARelationIndex)
{
  TcxDetailObject* obj = ReadDetailObject(ARecordIndex);
  if (!obj) return false;
  if (ARelationIndex == -1)
    obj->Clear();
  else
    obj->FreeInfoObject(ARelationIndex);
  return true;
}
