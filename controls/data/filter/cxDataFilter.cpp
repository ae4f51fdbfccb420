#include "controls/data/filter/cxDataFilter.h"

#include "controls/data/controller/cxCustomData.h"
#include "controls/data/filter/cxFilterConsts.h"

// ---- TcxDataFilterCriteria -------------------------------------------------------------------

TcxDataFilterCriteria::TcxDataFilterCriteria(TcxCustomDataController* ADataController)
    : FDataController(ADataController)
{}

TcxDataFilterCriteria::~TcxDataFilterCriteria()
{
  FDestroying = true;
  FActive = false;
  BeginUpdate();
  GetRoot()->Clear();
}

void TcxDataFilterCriteria::SetActive(bool Value)
{
  if (FActive == Value) return;
  FActive = Value;
  MarkChanged();
}

bool TcxDataFilterCriteria::IsFiltering() const { return FActive && !IsEmpty() && !FDataController->IsGridMode(); }

TObject* TcxDataFilterCriteria::FieldLink(TObject* AItemLink) const
{
  if (!AItemLink || dynamic_cast<TcxCustomDataField*>(AItemLink)) return AItemLink;
  TcxCustomDataField* f = FDataController->GetFields()->FieldByItem(AItemLink);
  return f ? f : AItemLink;
}

TcxFilterCriteriaItem* TcxDataFilterCriteria::AddItem(TcxFilterCriteriaItemList* AParent, TObject* AItemLink,
                                                      TcxFilterOperatorKind AOperatorKind, const Variant& AValue,
                                                      const AnsiString& ADisplayValue)
{
  return TcxFilterCriteria::AddItem(AParent, FieldLink(AItemLink), AOperatorKind, AValue, ADisplayValue);
}

TcxFilterCriteriaItem* TcxDataFilterCriteria::FindItemByItemLink(TObject* AItemLink)
{
  return TcxFilterCriteria::FindItemByItemLink(FieldLink(AItemLink));
}

Integer TcxDataFilterCriteria::GetIDByItemLink(TObject* AItemLink)
{
  auto* f = dynamic_cast<TcxCustomDataField*>(AItemLink);
  return f ? f->GetIndex() : -1;
}

TObject* TcxDataFilterCriteria::GetItemLinkByID(Integer AID)
{
  return AID >= 0 && AID < FDataController->GetItemCount() ? FDataController->GetItemField(AID) : nullptr;
}

TcxFilterCriteriaItem* TcxDataFilterCriteria::CreateItem(TcxFilterCriteriaItemList* AParent, TObject* AItemLink,
                                                         TcxFilterOperatorKind AOperatorKind, const Variant& AValue,
                                                         const AnsiString& ADisplayValue)
{
  return new TcxDataFilterCriteriaItem(AParent, FieldLink(AItemLink), AOperatorKind, AValue, ADisplayValue);
}

std::unique_ptr<TcxFilterValueList> TcxDataFilterCriteria::CreateValueList()
{
  return std::make_unique<TcxDataFilterValueList>(this);
}

void TcxDataFilterCriteria::Changed()
{
  if (FDestroying || FDataController->IsDestroying() || FDataController->IsLoading()) return;
  if (FDataController->IsEditing()) FDataController->Post();
  RefreshOperators();
  FDataController->FilterChanged();
  if (OnChanged) OnChanged(this);
}

// ---- TcxDataFilterCriteriaItem ---------------------------------------------------------------

TcxCustomDataField* TcxDataFilterCriteriaItem::GetField() const
{
  return dynamic_cast<TcxCustomDataField*>(GetItemLink());
}

Variant TcxDataFilterCriteriaItem::GetRecordValue(void* ARecord)
{
  TcxCustomDataField* f = GetField();
  if (!f) return Variant::Null();
  return f->GetDataController()->GetFilterDataValue(static_cast<int>(reinterpret_cast<intptr_t>(ARecord)), f);
}

AnsiString TcxDataFilterCriteriaItem::GetFieldCaption() { return AnsiString(); }

AnsiString TcxDataFilterCriteriaItem::GetFieldName() { return AnsiString(); }

// ---- TcxDataFilterValueList ------------------------------------------------------------------

void TcxDataFilterValueList::Load(int AItemIndex)
{
  auto* criteria = static_cast<TcxDataFilterCriteria*>(GetCriteria());
  TcxCustomDataController* c = criteria->GetDataController();
  TcxCustomDataField* f = c->GetItemField(AItemIndex);
  Clear();
  SetCompareByDisplayText(c->GetItemSortByDisplayText(AItemIndex, false) ||
                          (c->GetOptions().Contains(dcoAnsiSort) && f->GetTypeClass() && f->GetTypeClass()->IsText()));
  Add(fvkAll, Variant::Null(), cxFilterConsts::Text(cxFilterConsts::cxSFilterBoxAllCaption), false);
  Add(fvkCustom, Variant::Null(), cxFilterConsts::Text(cxFilterConsts::cxSFilterBoxCustomCaption), false);
  bool blanks = c->IsGridMode();
  if (!blanks)
    for (int r = 0; r < c->GetRecordCount(); ++r) {
      Variant v = c->GetFilterDataValue(r, f);
      if (criteria->IsNull(v))
        blanks = true;
      else
        Add(fvkValue, v, c->GetDisplayText(r, AItemIndex), false);
    }
  if (blanks) {
    Add(fvkBlanks, Variant::Null(), cxFilterConsts::Text(cxFilterConsts::cxSFilterBoxBlanksCaption), false);
    Add(fvkNonBlanks, Variant::Null(), cxFilterConsts::Text(cxFilterConsts::cxSFilterBoxNonBlanksCaption), false);
  }
  if (criteria->OnGetValueList) criteria->OnGetValueList(criteria, AItemIndex, this);
}
