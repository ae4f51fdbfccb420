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
    FItems.push_back(std::move(AField));
  else
    FItems.insert(FItems.begin() + (Count() - FInternalCount), std::move(AField));
  Recount();
}

void TcxCustomDataFieldList::Clear()
{
  while (!FItems.empty()) delete FItems.back().get();  // the destructor takes it out
}

TcxCustomDataField* TcxCustomDataFieldList::FieldByItem(TObject* AItem) const
{
  for (const auto& f : FItems)
    if (f->GetViewItem() == AItem && AItem) return f.get();
  return nullptr;
}

int TcxCustomDataFieldList::IndexOf(const TcxCustomDataField* AField) const
{
  for (int i = 0; i < Count(); ++i)
    if (FItems[static_cast<size_t>(i)].get() == AField) return i;
  return -1;
}

void TcxCustomDataFieldList::MoveField(int ACurIndex, int ANewIndex)
{
  auto p = std::move(FItems[static_cast<size_t>(ACurIndex)]);
  FItems.erase(FItems.begin() + ACurIndex);
  FItems.insert(FItems.begin() + ANewIndex, std::move(p));
}

void TcxCustomDataFieldList::Remove(TcxCustomDataField* AField)
{
  int i = IndexOf(AField);
  if (i < 0) return;
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
  FItems[static_cast<size_t>(i)].release();
  FItems.erase(FItems.begin() + i);
  AField->FOwnerList = nullptr;
  Recount();
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
