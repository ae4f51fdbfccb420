#include "gridkit/model/ColumnsEh.h"

#include <algorithm>

#include "gridkit/edits/MRUListEh.h"
#include "gridkit/filter/STFilterEh.h"
#include "gridkit/model/DBGridEhModel.h"
#include "gridkit/model/GridDataLinkEh.h"
#include "platform/db/DataSet.h"
#include "platform/db/Fields.h"
#include "platform/rtl/MathUtils.h"
#include "gridkit/model/GridHostEh.h"

// ---- TColumnTitleEh ---------------------------------------------------------------------------

AnsiString TColumnTitleEh::GetCaption() const
{
  if (FColumn->IsExplicit(cvTitleCaption)) return FCaption;
  if (TField* f = FColumn->GetField()) return f->GetDisplayName();
  return FColumn->GetFieldName();
}

bool TColumnTitleEh::CaptionStored() const
{
  if (!FColumn->IsExplicit(cvTitleCaption)) return false;
  TField* f = FColumn->GetField();
  return FCaption != (f ? f->GetDisplayName() : FColumn->GetFieldName());
}

void TColumnTitleEh::SetCaption(const AnsiString& Value)
{
  if (FColumn->IsAutoCreated()) {
    // A default column's caption is the field's label.
    TDBGridEhModel* grid = FColumn->GetOwnerGrid();
    if (grid && grid->GetDataLink() && grid->GetDataLink()->GetActive())
      if (TField* f = FColumn->GetField()) f->SetDisplayLabel(Value);
    return;
  }
  if (FColumn->IsExplicit(cvTitleCaption) && FCaption == Value) return;
  FCaption = Value;
  FColumn->SetExplicit(cvTitleCaption);
  FColumn->Notify();
}

bool TColumnTitleEh::GetTitleButton() const
{
  if (FColumn->IsExplicit(cvTitleButton)) return FTitleButton;
  TDBGridEhModel* grid = FColumn->GetOwnerGrid();
  return grid && grid->GetColumnDefValues()->GetTitle()->GetTitleButton();
}

bool TColumnTitleEh::TitleButtonStored() const
{
  TDBGridEhModel* grid = FColumn->GetOwnerGrid();
  bool def = grid && grid->GetColumnDefValues()->GetTitle()->GetTitleButton();
  return FColumn->IsExplicit(cvTitleButton) && FTitleButton != def;
}

void TColumnTitleEh::SetTitleButton(bool Value)
{
  if (FColumn->IsExplicit(cvTitleButton) && FTitleButton == Value) return;
  FTitleButton = Value;
  FColumn->SetExplicit(cvTitleButton);
  FColumn->Notify();
}

namespace {
TDBGridColumnsEh* GridColumns(TColumnEh* Column) { return dynamic_cast<TDBGridColumnsEh*>(Column->GetCollection()); }
}  // namespace

void TColumnTitleEh::SetSortMarker(TSortMarkerEh Value)
{
  if (Value == FSortMarker) return;
  FSortMarker = Value;
  TDBGridColumnsEh* columns = GridColumns(FColumn);
  if (columns && columns->GetUpdateCount() > 0) return;
  TDBGridEhModel* grid = FColumn->GetOwnerGrid();
  if (grid) {
    TColumnsEhList& marked = grid->GetSortMarkedColumns();
    if (grid->OptionsEh.Contains(dghMultiSortMarking)) {
      if (Value != smNoneEh && FSortIndex == 0) {
        Integer n = 0;
        for (int i = 0; i < columns->GetCount(); ++i)
          if (TColumnEh* c = columns->GetColumnByIndex(i); c && c->GetTitle()->FSortIndex != 0) ++n;
        FSortIndex = n + 1;
        marked.push_back(FColumn);
      } else if (Value == smNoneEh && FSortIndex != 0) {
        for (int i = 0; i < columns->GetCount(); ++i) {
          TColumnEh* c = columns->GetColumnByIndex(i);
          if (c && c->GetTitle()->FSortIndex > FSortIndex) --c->GetTitle()->FSortIndex;
        }
        std::erase(marked, FColumn);
        FSortIndex = 0;
      }
    } else if (Value != smNoneEh) {
      for (int i = 0; i < columns->GetCount(); ++i) {
        TColumnEh* c = columns->GetColumnByIndex(i);
        if (c && c->GetTitle() != this && c->GetTitle()->FSortMarker != smNoneEh)
          c->GetTitle()->SetSortMarker(smNoneEh);
      }
      FSortIndex = 1;
      marked.assign(1, FColumn);
    } else {
      FSortIndex = 0;
      marked.clear();
    }
  }
  FColumn->Notify();
}

void TColumnTitleEh::SetSortIndex(Integer Value)
{
  if (Value < 0) Value = 0;
  if (Value == FSortIndex) return;
  TDBGridColumnsEh* columns = GridColumns(FColumn);
  if (columns && columns->GetUpdateCount() > 0) {
    FSortIndex = Value;
    return;
  }
  if (FSortMarker == smNoneEh || !columns || Value == 0) return;
  for (int i = 0; i < columns->GetCount(); ++i) {
    TColumnEh* c = columns->GetColumnByIndex(i);
    if (!c) continue;
    TColumnTitleEh* other = c->GetTitle();
    if (other == this || other->FSortIndex != Value) continue;
    std::swap(other->FSortIndex, FSortIndex);
    if (TDBGridEhModel* grid = FColumn->GetOwnerGrid()) {
      TColumnsEhList& marked = grid->GetSortMarkedColumns();
      auto a = std::find(marked.begin(), marked.end(), FColumn);
      auto b = std::find(marked.begin(), marked.end(), other->FColumn);
      if (a != marked.end() && b != marked.end()) std::iter_swap(a, b);
    }
    FColumn->Notify();
    return;
  }
}

void TColumnTitleEh::ToggleSortMarker(bool KeepOthers)
{
  if (!KeepOthers)
    if (TDBGridColumnsEh* columns = GridColumns(FColumn))
      for (int i = 0; i < columns->GetCount(); ++i) {
        TColumnEh* c = columns->GetColumnByIndex(i);
        if (c && c->GetTitle() != this && c->GetTitle()->FSortMarker != smNoneEh)
          c->GetTitle()->SetSortMarker(smNoneEh);
      }
  switch (FSortMarker) {
    case smNoneEh: SetSortMarker(smDownEh); break;
    case smDownEh: SetSortMarker(smUpEh); break;
    case smUpEh: SetSortMarker(KeepOthers ? smNoneEh : smDownEh); break;
  }
}

void TColumnTitleEh::ResetToDefaults()
{
  for (TColumnEhValue v : {cvTitleColor, cvTitleCaption, cvTitleAlignment, cvTitleFont, cvTitleButton,
                           cvTitleEndEllipsis, cvTitleToolTips, cvTitleOrientation})
    FColumn->SetExplicit(v, false);
  FCaption.clear();
}

void TColumnTitleEh::Assign(TPersistent* Source)
{
  auto* src = dynamic_cast<TColumnTitleEh*>(Source);
  if (!src) {
    TPersistent::Assign(Source);
    return;
  }
  if (src->FColumn->IsExplicit(cvTitleCaption)) SetCaption(src->FCaption);
  FHint = src->FHint;
  SetSortIndex(src->FSortIndex);
  SetSortMarker(src->FSortMarker);
  SetTitleButton(src->GetTitleButton());
}

// ---- TColumnEh --------------------------------------------------------------------------------

TColumnEh::TColumnEh(TCollection* Collection)
    : TCollectionItem(Collection), FKeyList(std::make_unique<TStringList>()),
      FPickList(std::make_unique<TStringList>()), FTitle(std::make_unique<TColumnTitleEh>(this)),
      FSTFilter(std::make_unique<TSTColumnFilterEh>(this)), FMRUList(std::make_unique<TMRUListEh>(this)),
      FDropDownSpecRow(std::make_unique<TSpecRowEh>(this)), FFooter(std::make_unique<TColumnFooterEh>(this)),
      FFooters(std::make_unique<TColumnFootersEh>(this))
{
  DesignWidth = GetWidth();
}

TColumnEh::~TColumnEh()
{
  if (TDBGridEhModel* grid = GetOwnerGrid()) std::erase(grid->GetSortMarkedColumns(), this);
}

TDBGridEhModel* TColumnEh::GetOwnerGrid() const
{
  auto* columns = dynamic_cast<TDBGridColumnsEh*>(GetCollection());
  return columns ? columns->GetGrid() : nullptr;
}

AnsiString TColumnEh::GetDisplayName() { return FFieldName.empty() ? TCollectionItem::GetDisplayName() : FFieldName; }

TField* TColumnEh::GetField()
{
  if (FField || FFieldName.empty()) return FField;
  TDBGridEhModel* grid = GetOwnerGrid();
  TDataSet* ds = grid ? grid->GetDataSet() : nullptr;
  if (ds && (ds->GetActive() || !ds->GetDefaultFields())) {
    if (TField* f = ds->FindField(FFieldName)) {
      FField = f;
      FFieldName = f->GetFieldName();  // the field's own spelling
      SyncFooterSums();
    }
  }
  return FField;
}

void TColumnEh::BindField(TField* Value)
{
  if (Value == FField) return;
  FField = Value;
  if (Value) FFieldName = Value->GetFieldName();
  if (IsAutoCreated()) {
    if (!Value) FFieldName.clear();
    ResetToDefaults();
  }
  SyncFooterSums();
  Notify();
}

TColumnFooterEh* TColumnEh::FooterForRow(Integer I) const
{
  return I >= 0 && I < FFooters->GetCount() ? FFooters->GetItem(I) : FFooter.get();
}

void TColumnEh::SyncFooterSums()
{
  if (!FFooter) return;  // still being constructed
  FFooter->SyncSum();
  for (int i = 0; i < FFooters->GetCount(); ++i) FFooters->GetItem(i)->SyncSum();
}

void TColumnEh::SetFieldName(const AnsiString& Value)
{
  TDBGridEhModel* grid = GetOwnerGrid();
  TDataSet* ds = grid ? grid->GetDataSet() : nullptr;
  TField* field = ds && !grid->Loading && !Value.empty() ? ds->FindField(Value) : nullptr;
  FFieldName = Value;
  FField = nullptr;
  BindField(field);
  DesignWidth = GetWidth();
  Notify();
}

TColumnKindEh TColumnEh::GetColumnKind()
{
  if (GetCheckboxes()) return ckCheckboxes;
  TField* f = GetField();
  if (f && f->GetFieldKind() == fkLookup) return ckLookup;
  if (FPickList->GetCount() > 0 && FKeyList->GetCount() == 0) return ckPickList;
  if (FKeyList->GetCount() > 0 && FPickList->GetCount() > 0) return ckKeyPickList;
  return ckText;
}

void TColumnEh::SetVisible(bool Value)
{
  if (Value == FVisible) return;
  FVisible = Value;
  Notify(true);
}

bool TColumnEh::GetReadOnly() { return IsExplicit(cvReadOnly) ? FReadOnly : DefaultReadOnly(); }

bool TColumnEh::DefaultReadOnly()
{
  TDBGridEhModel* grid = GetOwnerGrid();
  TField* f = GetField();
  return (grid && grid->ReadOnly) || (f && f->GetReadOnly());
}

void TColumnEh::SetReadOnly(bool Value)
{
  TDBGridEhModel* grid = GetOwnerGrid();
  if (IsAutoCreated() && grid && grid->GetDataLink() && grid->GetDataLink()->GetActive() && GetField()) {
    GetField()->SetReadOnly(Value);
    return;
  }
  if (IsExplicit(cvReadOnly) && FReadOnly == Value) return;
  FReadOnly = Value;
  SetExplicit(cvReadOnly);
  Notify();
}

bool TColumnEh::GetCheckboxes() { return IsExplicit(cvCheckboxes) ? FCheckboxes : DefaultCheckboxes(); }

bool TColumnEh::DefaultCheckboxes()
{
  TField* f = GetField();
  return f && f->GetDataType() == ftBoolean;
}

void TColumnEh::SetCheckboxes(bool Value)
{
  if (IsExplicit(cvCheckboxes) && FCheckboxes == Value) return;
  FCheckboxes = Value;
  SetExplicit(cvCheckboxes);
  Notify();
}

bool TColumnEh::GetDblClickNextVal() const
{
  if (IsExplicit(cvDblClickNextVal)) return FDblClickNextVal;
  TDBGridEhModel* grid = GetOwnerGrid();
  return grid && grid->GetColumnDefValues()->GetDblClickNextVal();
}

void TColumnEh::SetDblClickNextVal(bool Value)
{
  if (!IsExplicit(cvDblClickNextVal) || Value != FDblClickNextVal) {
    FDblClickNextVal = Value;
    SetExplicit(cvDblClickNextVal);
  }
}

void TColumnEh::SetDisplayFormat(const AnsiString& Value)
{
  if (Value == FDisplayFormat) return;
  FDisplayFormat = Value;
  Notify();
}

// ---- width ------------------------------------------------------------------------------------

Integer TColumnEh::NaturalWidth()
{
  TDBGridEhModel* grid = GetOwnerGrid();
  if (!grid) return 64;
  TField* f = GetField();
  if (!f) return grid->DefaultColWidth;
  Integer overhang = 0;
  Integer zero = grid->TextWidth("0", &overhang);
  return (zero - overhang) * f->GetDisplayWidth() + overhang + 4;
}

Integer TColumnEh::GetWidth() { return IsExplicit(cvWidth) ? FWidth : NaturalWidth(); }

Integer TColumnEh::ClampWidth(Integer TryWidth) const
{
  if (FMaxWidth > 0 && TryWidth > FMaxWidth) return FMaxWidth;
  if (FMinWidth > 0 && TryWidth < FMinWidth) return FMinWidth;
  return TryWidth;
}

void TColumnEh::SetWidth(Integer Value)
{
  TDBGridEhModel* grid = GetOwnerGrid();
  if (IsAutoCreated() && grid && grid->GetHost() && grid->GetHost()->GetGridHandle() && GetField()) {
    // The width survives a rebuild of default columns as the field's display width.
    Integer overhang = 0, ave = 0;
    Integer zero = grid->TextWidth("0", &overhang, &ave);
    if (zero > 0) GetField()->SetDisplayWidth((Value + ave / 2 - overhang - 3) / zero);
  }
  if (Value != -1 && (IsExplicit(cvWidth) || Value != NaturalWidth())) {
    FWidth = ClampWidth(Value);
    SetExplicit(cvWidth);
  }
  Notify();
}

void TColumnEh::SetMinWidth(Integer Value)
{
  FMinWidth = Value;
  if (Value > 0 && GetWidth() < Value) SetWidth(Value);
}

void TColumnEh::SetMaxWidth(Integer Value)
{
  FMaxWidth = Value;
  if (Value > 0 && GetWidth() > Value) SetWidth(Value);
}

void TColumnEh::SetAutoFitColWidth(bool Value)
{
  FAutoFitColWidth = Value;
  TDBGridEhModel* grid = GetOwnerGrid();
  if (grid && grid->AutoFitColWidths && !grid->Loading && !grid->Designing) SetWidth(DesignWidth);
  Notify();
}

void TColumnEh::SetSTFilter(TSTColumnFilterEh* Value) { FSTFilter->Assign(Value); }

void TColumnEh::ResetToDefaults()
{
  FTitle->ResetToDefaults();
  FExplicit = 0;
  FPickList->Clear();
  FKeyList->Clear();
  Notify();
}

void TColumnEh::Assign(TPersistent* Source)
{
  auto* src = dynamic_cast<TColumnEh*>(Source);
  if (!src) {
    TCollectionItem::Assign(Source);
    return;
  }
  TCollection* c = GetCollection();
  if (c) c->BeginUpdate();
  struct End {
    TCollection* C;
    ~End()
    {
      if (C) C->EndUpdate();
    }
  } end{c};
  ResetToDefaults();
  SetFieldName(src->FFieldName);
  if (src->IsExplicit(cvReadOnly)) SetReadOnly(src->FReadOnly);
  FTitle->Assign(src->FTitle.get());
  FPickList->Assign(src->FPickList.get());
  FKeyList->Assign(src->FKeyList.get());
  if (src->IsExplicit(cvCheckboxes)) SetCheckboxes(src->FCheckboxes);
  FTag = src->FTag;
  SetVisible(src->FVisible);
  FNotInKeyListIndex = src->FNotInKeyListIndex;
  SetDblClickNextVal(src->GetDblClickNextVal());
  SetDisplayFormat(src->FDisplayFormat);
  FFooter->Assign(src->FFooter.get());
  FFooters->Assign(src->FFooters.get());
}

// ---- TDBGridColumnsEh -------------------------------------------------------------------------

TDBGridColumnsEh::TDBGridColumnsEh(TDBGridEhModel* Grid, TClass ItemClass) : TCollection(ItemClass), FGrid(Grid) {}

TColumnEh* TDBGridColumnsEh::AddAutoCreated()
{
  TColumnEh* c = Add();
  c->Persistent = false;
  return c;
}

bool TDBGridColumnsEh::IsCustomized() const
{
  TColumnEh* first = GetCount() > 0 ? GetColumnByIndex(0) : nullptr;
  return first && first->Persistent;
}

TPersistent* TDBGridColumnsEh::GetOwner() { return FGrid; }

void TDBGridColumnsEh::Update(TCollectionItem* Item)
{
  if (!FGrid || FGrid->Loading) return;
  auto* column = dynamic_cast<TColumnEh*>(Item);
  IDBGridEhHost* host = FGrid->GetHost();
  if (column && host) {
    Integer r = column->GetIndex() + host->GetColumnOffset();
    Integer shown = host->GetGridColWidth(r);
    if (!FGrid->AutoFitColWidths || FGrid->Designing) {
      if (shown == column->GetWidth()) {
        if (FGrid->UseMultiTitle) FGrid->LayoutChanged();
      } else {
        host->SetGridColWidth(r, column->GetVisible() ? column->GetWidth() : (FGrid->ColLines ? -1 : 0));
      }
    } else if (shown != -1 && shown != 0) {
      // The requested width scales by how far the new width differs from the width shown; the
      // next column takes up the difference so that the design widths keep their sum.
      Integer old = column->DesignWidth;
      column->DesignWidth = Math::MulDiv(column->DesignWidth, column->GetWidth(), shown);
      if (column->GetIndex() < GetCount() - 1)
        if (TColumnEh* next = GetColumnByIndex(column->GetIndex() + 1))
          next->DesignWidth = std::max(0, next->DesignWidth + old - column->DesignWidth);
      FGrid->LayoutChanged();
    }
  }
  FGrid->ColumnsChanged(column);
}
