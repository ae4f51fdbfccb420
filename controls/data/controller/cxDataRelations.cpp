#include "controls/data/controller/cxDataRelations.h"

#include <algorithm>
#include <utility>

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
  TcxCustomDataRelationList* list = FOwnerList;
  if (!list) return;
  list->Unlink(this);
  list->FItems.Forget(this);
  if (!list->FClearing) list->Changed(nullptr);
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
  DeleteAll();
}

TcxCustomDataRelation* TcxCustomDataRelationList::Add(TObject* AItem)
{
  TcxCustomDataRelation* r = FItems.Add(FDataController->CreateRelation(this, AItem));
  Changed(r);
  return r;
}

void TcxCustomDataRelationList::Clear()
{
  BeginUpdate();
  FClearing = true;
  DeleteAll();
  FClearing = false;
  EndUpdate();
}

TcxCustomDataRelation* TcxCustomDataRelationList::FindByItem(TObject* AItem) const
{
  for (const auto& r : FItems)
    if (r->GetItem() == AItem) return r.get();
  return nullptr;
}

void TcxCustomDataRelationList::Unlink(TcxCustomDataRelation* ARelation)
{
  FDataController->RelationRemoved(ARelation);
  ARelation->FOwnerList = nullptr;
}

void TcxCustomDataRelationList::DeleteAll()
{
  while (TcxCustomDataRelation* r = FItems.Back()) {
    Unlink(r);
    FItems.Delete(r);
  }
}

void TcxCustomDataRelationList::EndUpdate()
{
  if (--FUpdateDepth == 0) Changed(nullptr);
}

void TcxCustomDataRelationList::Changed(TcxCustomDataRelation* ARelation)
{
  if (FUpdateDepth > 0 || FDataController->IsDestroying()) return;
  TUpdateGuard lock(*FDataController);
  if (FItems.Empty()) {
    FreeDataField(std::exchange(FDetailField, nullptr));
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
