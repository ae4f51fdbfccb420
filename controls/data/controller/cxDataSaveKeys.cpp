#include "controls/data/controller/cxDataSaveKeys.h"

#include <algorithm>
#include <typeinfo>

#include "controls/data/controller/cxCustomData.h"
#include "controls/data/controller/cxDataControllerInfo.h"
#include "controls/data/storage/cxVariants.h"

namespace {

bool KeyLess(const Variant& A, const Variant& B) { return cxVariants::VarCompareValues(A, B) < 0; }

// A detail controller whose states can be kept: an existing one of the master's own class.
TcxCustomDataController* KeepableDetail(TcxCustomDataController* AController, int ARecordIndex, int ARelationIndex)
{
  TcxCustomDataController* detail = AController->FindDetailDataController(ARecordIndex, ARelationIndex);
  return detail && typeid(*detail) == typeid(*AController) ? detail : nullptr;
}

}  // namespace

// ---- TcxKeys ---------------------------------------------------------------------------------

void TcxKeys::Save(TcxCustomDataController* AController)
{
  Clear();
  DataController = AController;
  KeyFields.clear();
  AController->GetKeyFields(KeyFields);
  SaveKeys();
  SortByKey();
}

void TcxKeys::Restore(TcxCustomDataController* AController)
{
  DataController = AController;
  KeyFields.clear();
  AController->GetKeyFields(KeyFields);
  if (Count() == 0) return;
  RestoreKeys();
  Clear();
}

bool TcxKeys::FindRecordKey(int ARecordIndex, int& AIndex)
{
  const Variant key = DataController->GetRecordKeyValue(ARecordIndex, KeyFields);
  for (int i = 0; i < Count(); ++i) {
    if (cxVariants::VarValuesEqual(KeyAt(i), key)) {
      AIndex = i;
      return true;
    }
  }
  AIndex = -1;
  return false;
}

void TcxKeys::Delete(int AIndex) { DeleteAt(AIndex); }

// ---- TcxDetailKeys ---------------------------------------------------------------------------

void TcxDetailKeys::SortByKey()
{
  std::stable_sort(Keys.begin(), Keys.end(),
                   [](const TcxDetailKeyInfo& A, const TcxDetailKeyInfo& B) { return KeyLess(A.Key, B.Key); });
}

void TcxDetailKeys::SaveKeys()
{
  TcxCustomDataController* c = DataController;
  for (int i = 0; i < c->GetRecordCount(); ++i) {
    if (!c->GetDetailExpanded(i)) continue;
    TcxDetailKeyInfo info;
    info.Key = c->GetRecordKeyValue(i, KeyFields);
    info.RelationIndex = c->GetDetailActiveRelationIndex(i);
    info.SaveObject = std::make_unique<TcxSaveObject>();
    if (TcxCustomDataController* detail = KeepableDetail(c, i, info.RelationIndex)) info.SaveObject->Save(detail);
    Keys.push_back(std::move(info));
  }
}

void TcxDetailKeys::RestoreKeys()
{
  TcxCustomDataController* c = DataController;
  for (int i = 0; i < c->GetRecordCount() && !Keys.empty(); ++i) {
    int k;
    if (!FindRecordKey(i, k)) continue;
    TcxDetailKeyInfo info = std::move(Keys[static_cast<size_t>(k)]);
    Delete(k);  // a key restores one record only
    c->ChangeDetailExpanding(i, true);
    c->ChangeDetailActiveRelationIndex(i, info.RelationIndex);
    if (info.SaveObject && c->GetDetailExpanded(i) && c->GetDetailActiveRelationIndex(i) == info.RelationIndex) {
      if (TcxCustomDataController* detail = KeepableDetail(c, i, info.RelationIndex)) info.SaveObject->Restore(detail);
    }
  }
}

// ---- TcxSelectedKeys -------------------------------------------------------------------------

void TcxSelectedKeys::SortByKey()
{
  std::stable_sort(Keys.begin(), Keys.end(),
                   [](const TcxSelectedKeyInfo& A, const TcxSelectedKeyInfo& B) { return KeyLess(A.Key, B.Key); });
}

void TcxSelectedKeys::SaveKeys()
{
  TcxCustomDataController* c = DataController;
  TcxDataSelection* sel = c->GetInfo()->GetSelection();
  for (int i = 0; i < sel->Count(); ++i) {
    const TcxDataSelectionEntry& e = sel->Items(i);
    // Group rows are kept by the engine's own expanding states.
    if (e.Level == -1 || e.RowIndex == -1 || e.RecordIndex < 0 || e.RecordIndex >= c->GetRecordCount()) continue;
    Keys.push_back({c->GetRecordKeyValue(e.RecordIndex, KeyFields), i});
  }
}

void TcxSelectedKeys::RestoreKeys()
{
  TcxCustomDataController* c = DataController;
  TcxDataSelection* sel = c->GetInfo()->GetSelection();
  if (sel->Count() == 0) return;
  std::vector<bool> kept(static_cast<size_t>(sel->Count()), false);
  for (int i = 0; i < c->GetRecordCount() && !Keys.empty(); ++i) {
    int k;
    if (!FindRecordKey(i, k)) continue;
    const int s = Keys[static_cast<size_t>(k)].SelectionIndex;
    if (s >= 0 && s < sel->Count()) {
      sel->Items(s).RecordIndex = i;
      kept[static_cast<size_t>(s)] = true;
    }
    Delete(k);
  }
  for (const auto& k : Keys)
    if (k.SelectionIndex >= 0 && k.SelectionIndex < sel->Count() && !kept[static_cast<size_t>(k.SelectionIndex)])
      sel->Items(k.SelectionIndex).RecordIndex = -1;
  for (int s = sel->Count() - 1; s >= 0; --s)
    if (sel->Items(s).RecordIndex == -1) sel->InternalDelete(s);
  sel->Changed();
}

// ---- TcxSaveObject ---------------------------------------------------------------------------

TcxSaveObject::TcxSaveObject()
    : FDetailKeys(std::make_unique<TcxDetailKeys>()), FSelectedKeys(std::make_unique<TcxSelectedKeys>())
{}

TcxSaveObject::~TcxSaveObject() = default;

void TcxSaveObject::Save(TcxCustomDataController* AController)
{
  if (AController->IsBeingDestroyed() || AController->IsDestroying() || !AController->IsKeyNavigation()) return;
  FDetailKeys->Save(AController);
  FSelectedKeys->Save(AController);
}

void TcxSaveObject::Restore(TcxCustomDataController* AController)
{
  if (AController->IsBeingDestroyed()) return;
  if (AController->IsKeyNavigation()) {
    FDetailKeys->Restore(AController);
    FSelectedKeys->Restore(AController);
  } else {
    AController->GetInfo()->DropStaleSelection();
    AController->CheckSavedFocus(-1);
  }
}
