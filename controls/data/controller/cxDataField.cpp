#include "controls/data/controller/cxDataField.h"

#include <algorithm>

#include "controls/data/controller/cxCustomData.h"

// ---- TcxCustomDataField ----------------------------------------------------------------------

TcxCustomDataField::TcxCustomDataField(TcxCustomDataFieldList* AFieldList) : FOwnerList(AFieldList) {}

TcxCustomDataField::~TcxCustomDataField()
{
  if (FOwnerList) FOwnerList->Remove(this);
  FreeDef();
}

TcxCustomDataController* TcxCustomDataField::GetDataController() const
{
  return FOwnerList ? FOwnerList->GetDataController() : nullptr;
}

int TcxCustomDataField::GetIndex() const { return FOwnerList ? FOwnerList->IndexOf(this) : -1; }

void TcxCustomDataField::SetInternal(bool Value)
{
  FInternal = Value;
  if (FOwnerList) FOwnerList->Recount();
}

TcxValueDef* TcxCustomDataField::GetValueDef() const { return FReference ? FReference->FStorageDef : FStorageDef; }

TcxValueTypeClass TcxCustomDataField::GetTypeClass() const { return FReference ? FReference->FTypeClass : FTypeClass; }

bool TcxCustomDataField::GetKeepsDisplayText() const
{
  return FReference ? FReference->FKeepsDisplayText : FKeepsDisplayText;
}

void TcxCustomDataField::CreateDef()
{
  if (FReference || !FTypeClass || FStorageDef) return;
  auto* controller = GetDataController();
  if (!controller) return;
  FStorageDef = controller->GetStorage()->GetValueDefs()->Add(FTypeClass, FInternal, FKeepsDisplayText, this);
}

void TcxCustomDataField::FreeDef()
{
  if (!FStorageDef) return;
  TcxValueDef* def = FStorageDef;
  FStorageDef = nullptr;
  def->GetOwnerDefs()->Remove(def);
}

void TcxCustomDataField::BeginDefRebuild()
{
  if (FRecreateLock++ == 0) FreeDef();
}

void TcxCustomDataField::EndDefRebuild()
{
  if (--FRecreateLock == 0) CreateDef();
}

void TcxCustomDataField::SetTypeClass(TcxValueTypeClass Value)
{
  if (FReference || FTypeClass == Value) return;
  BeginDefRebuild();
  FTypeClass = Value;
  EndDefRebuild();
}

void TcxCustomDataField::SetKeepsDisplayText(bool Value)
{
  if (FReference || FKeepsDisplayText == Value) return;
  BeginDefRebuild();
  FKeepsDisplayText = Value;
  EndDefRebuild();
}

void TcxCustomDataField::SetReference(TcxCustomDataField* AValue)
{
  if (AValue == FReference) return;
  TcxCustomDataField* end = AValue;
  while (end && end->FReference) end = end->FReference;
  if (end == this) return;
  if (!FReference) {
    // Sharing another field's data: the own values go.
    FreeDef();
    FTypeClass = nullptr;
  }
  FReference = end;
  if (!FReference) CreateDef();
}

void TcxCustomDataField::TakeOver(TcxCustomDataField* ASource)
{
  FReference = nullptr;
  FTypeClass = ASource->FTypeClass;
  FKeepsDisplayText = ASource->FKeepsDisplayText;
  FStorageDef = ASource->FStorageDef;
  ASource->FStorageDef = nullptr;
  ASource->FTypeClass = nullptr;
  if (FStorageDef) FStorageDef->SetLinkedObject(this);
}

// ---- TcxCustomDataFieldList ------------------------------------------------------------------

TcxCustomDataFieldList::~TcxCustomDataFieldList() { Clear(); }

void TcxCustomDataFieldList::Add(std::unique_ptr<TcxCustomDataField> AField)
{
  AField->FOwnerList = this;
  if (AField->GetInternal())
    FItems.Add(std::move(AField));
  else
    FItems.Insert(Count() - FInternalCount, std::move(AField));
  Recount();
}

void TcxCustomDataFieldList::Clear()
{
  while (TcxCustomDataField* f = FItems.Back()) Delete(f);
}

TcxCustomDataField* TcxCustomDataFieldList::FieldByItem(TObject* AItem) const
{
  for (const auto& f : FItems)
    if (f->GetViewItem() == AItem && AItem) return f.get();
  return nullptr;
}

void TcxCustomDataFieldList::MoveField(int ACurIndex, int ANewIndex) { FItems.Move(ACurIndex, ANewIndex); }

void TcxCustomDataFieldList::Unlink(TcxCustomDataField* AField)
{
  FieldGone = true;
  if (FDataController) FDataController->FieldRemoved(AField);
  // The first field that shared its data takes it over; the others now share the taker's.
  TcxCustomDataField* taker = nullptr;
  for (auto& f : FItems) {
    if (f->FReference != AField) continue;
    if (!taker) {
      taker = f.get();
      taker->TakeOver(AField);
    } else {
      f->FReference = taker;
    }
  }
  AField->FOwnerList = nullptr;
}

void TcxCustomDataFieldList::Delete(TcxCustomDataField* AField)
{
  if (IndexOf(AField) < 0) return;
  Unlink(AField);
  FItems.Delete(AField);
  Recount();
}

void TcxCustomDataFieldList::Remove(TcxCustomDataField* AField)
{
  if (IndexOf(AField) < 0) return;
  Unlink(AField);
  FItems.Forget(AField);
  Recount();
}

void FreeDataField(TcxCustomDataField* AField)
{
  if (!AField) return;
  if (TcxCustomDataFieldList* list = AField->GetOwnerList())
    list->Delete(AField);
  else
    delete AField;
}

void TcxCustomDataFieldList::Recount()
{
  FInternalCount =
      static_cast<int>(std::count_if(FItems.begin(), FItems.end(), [](const auto& f) { return f->GetInternal(); }));
}

void TcxCustomDataFieldList::ComponentRemoved(TComponent* AComponent)
{
  for (int i = 0; i < Count(); ++i) Items(i)->ComponentRemoved(AComponent);
}
