#include "platform/db/DataSource.h"

#include <algorithm>

#include "platform/db/DataSet.h"
#include "platform/db/Fields.h"
#include "platform/rtl/Guards.h"

// --- TDataSource -----------------------------------------------------------------------------

TDataSource::TDataSource(TComponent* AOwner) : TComponent(AOwner) {}

TDataSource::~TDataSource()
{
  for (TDataLink* l : std::vector<TDataLink*>(FDataLinks)) l->SetDataSource(nullptr);
  SetDataSet(nullptr);
}

void TDataSource::SetDataSet(TDataSet* Value)
{
  if (Value == FDataSet) return;
  if (FDataSet) {
    FDataSet->RemoveFreeNotification(this);
    FDataSet->RemoveDataSource(this);
  }
  FDataSet = Value;
  if (FDataSet) {
    FDataSet->FreeNotification(this);
    FDataSet->AddDataSource(this);
  }
  UpdateState();
}

void TDataSource::SetEnabled(bool Value)
{
  if (Value == FEnabled) return;
  FEnabled = Value;
  UpdateState();
}

void TDataSource::Notification(TComponent* AComponent, TOperation Operation)
{
  TComponent::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FDataSet) SetDataSet(nullptr);
}

bool TDataSource::IsLinkedTo(TDataSet* DataSet) const { return FDataSet == DataSet; }

void TDataSource::Edit()
{
  if (FAutoEdit && FDataSet && FDataSet->GetState() == dsBrowse) FDataSet->Edit();
}

void TDataSource::AddDataLink(TDataLink* Link)
{
  FDataLinks.push_back(Link);
  if (FDataSet) FDataSet->UpdateBufferCount();
}

void TDataSource::RemoveDataLink(TDataLink* Link)
{
  std::erase(FDataLinks, Link);
  if (FDataSet) FDataSet->UpdateBufferCount();
}

void TDataSource::UpdateState()
{
  for (TDataLink* l : std::vector<TDataLink*>(FDataLinks)) l->UpdateState();
  TDataSetState s = FEnabled && FDataSet ? FDataSet->GetState() : dsInactive;
  if (s == dsOpening) s = dsInactive;
  if (s != FState) {
    FState = s;
    if (OnStateChange) OnStateChange(this);
  }
}

void TDataSource::NotifyLinks(TDataEvent Event, intptr_t Info, bool VisualOnly, bool SkipVisual)
{
  // While controls are disabled every scroll comes here; with only visual links there is no one
  // to tell, and no copy of the list to make row after row.
  if (SkipVisual && std::all_of(FDataLinks.begin(), FDataLinks.end(), [](TDataLink* l) { return l->FVisualControl; }))
    return;
  for (TDataLink* l : std::vector<TDataLink*>(FDataLinks)) {
    if (std::find(FDataLinks.begin(), FDataLinks.end(), l) == FDataLinks.end()) continue;
    if (VisualOnly && !l->FVisualControl) continue;
    if (SkipVisual && l->FVisualControl) continue;
    if (Event == deUpdateState)
      l->UpdateState();
    else
      l->DataEvent(Event, Info);
  }
}

void TDataSource::DataEvent(TDataEvent Event, intptr_t Info, bool VisualOnly, bool SkipVisual)
{
  if (!FEnabled) return;
  NotifyLinks(Event, Info, VisualOnly, SkipVisual);
  if (SkipVisual) return;  // the source's own events count as visual
  switch (Event) {
    case deUpdateState: {
      TDataSetState s = FDataSet ? FDataSet->GetState() : dsInactive;
      if (s == dsOpening) s = dsInactive;
      if (s != FState) {
        FState = s;
        if (OnStateChange) OnStateChange(this);
      }
      break;
    }
    case deFieldChange:
      if (OnDataChange) OnDataChange(this, reinterpret_cast<TField*>(Info));
      break;
    case deRecordChange:
    case deDataSetChange:
    case deDataSetScroll:
    case deLayoutChange:
      if (OnDataChange) OnDataChange(this, nullptr);
      break;
    case deUpdateRecord:
      if (OnUpdateData) OnUpdateData(this);
      break;
    default: break;
  }
}

// --- TDataLink -------------------------------------------------------------------------------

TDataLink::TDataLink() = default;

TDataLink::~TDataLink()
{
  if (FDataSource) {
    FDataSource->RemoveDataLink(this);
    FDataSource = nullptr;
  }
}

void TDataLink::SetDataSource(TDataSource* Value)
{
  if (Value == FDataSource) return;
  if (FDataSource) FDataSource->RemoveDataLink(this);
  FDataSource = Value;
  if (FDataSource) FDataSource->AddDataLink(this);
  UpdateState();
}

TDataSet* TDataLink::GetDataSet() const { return FDataSource ? FDataSource->GetDataSet() : nullptr; }

void TDataLink::SetReadOnly(bool Value)
{
  if (Value == FReadOnly) return;
  FReadOnly = Value;
  UpdateState();
}

void TDataLink::UpdateState()
{
  TDataSet* ds = GetDataSet();
  bool active = FDataSource && FDataSource->GetEnabled() && ds && ds->GetActive() && ds->GetState() != dsOpening;
  SetActive(active);
  SetEditing(active && (ds->GetState() == dsEdit || ds->GetState() == dsInsert || ds->GetState() == dsSetKey) &&
             !FReadOnly);
}

void TDataLink::SetActive(bool Value)
{
  if (Value == FActive) return;
  FActive = Value;
  if (Value) {
    TDataSet* ds = GetDataSet();
    FFirstView = ds->FFirst;
    UpdateRange();
  } else {
    FFirstView = 0;
  }
  ActiveChanged();
}

void TDataLink::SetEditing(bool Value)
{
  if (Value == FEditing) return;
  FEditing = Value;
  EditingChanged();
}

Integer TDataLink::UpdateRange()
{
  TDataSet* ds = GetDataSet();
  if (!ds || !FActive) return 0;
  Integer old = FFirstView;
  Integer cur = ds->FCur < 0 ? 0 : ds->FCur;
  Integer count = std::min(FBufferCount, ds->FBufRecCount);
  Integer lo = std::max(ds->FFirst, cur - FBufferCount + 1);
  Integer hi = std::min(cur, ds->FFirst + ds->FBufRecCount - count);
  if (hi < lo) hi = lo;
  FFirstView = std::clamp(old, lo, hi);
  return FFirstView - old;
}

Integer TDataLink::GetActiveRecord() const
{
  TDataSet* ds = GetDataSet();
  if (!FActive || !ds) return 0;
  return ds->FFirst + ds->FActiveRecord - FFirstView;
}

void TDataLink::SetActiveRecord(Integer Value)
{
  TDataSet* ds = GetDataSet();
  if (!FActive || !ds) return;
  ds->FActiveRecord = FFirstView + Value - ds->FFirst;
}

void TDataLink::SetBufferCount(Integer Value)
{
  Value = std::max(1, Value);
  if (Value == FBufferCount) return;
  FBufferCount = Value;
  if (TDataSet* ds = GetDataSet()) {
    ds->UpdateBufferCount();
    if (FActive) UpdateRange();
  }
}

Integer TDataLink::GetRecordCount() const
{
  TDataSet* ds = GetDataSet();
  if (!FActive || !ds) return 0;
  return std::max(0, std::min(FBufferCount, ds->FFirst + ds->FBufRecCount - FFirstView));
}

bool TDataLink::GetBof() const { return GetDataSet() ? GetDataSet()->GetBof() : true; }
bool TDataLink::GetEof() const { return GetDataSet() ? GetDataSet()->GetEof() : true; }

Integer TDataLink::MoveBy(Integer Distance) { return GetDataSet() ? GetDataSet()->MoveBy(Distance) : 0; }

bool TDataLink::Edit()
{
  if (!FReadOnly && FDataSource) FDataSource->Edit();
  return FEditing;
}

void TDataLink::UpdateRecord()
{
  if (FUpdating) return;
  FUpdating = true;
  TScopeExit undo([&] { FUpdating = false; });
  UpdateData();
}

void TDataLink::DataEvent(TDataEvent Event, intptr_t Info)
{
  switch (Event) {
    case deFieldChange:
    case deRecordChange:
      if (FActive && !FUpdating) RecordChanged(reinterpret_cast<TField*>(Info));
      break;
    case deDataSetChange:
      if (FActive) {
        UpdateRange();
        DataSetChanged();
      }
      break;
    case deDataSetScroll:
      if (FActive) DataSetScrolled(UpdateRange());
      break;
    case deLayoutChange:
      if (FActive) {
        UpdateRange();
        LayoutChanged();
      }
      break;
    case deUpdateRecord: UpdateRecord(); break;
    case deCheckBrowseMode: CheckBrowseMode(); break;
    case deFocusControl: FocusControl(reinterpret_cast<TField**>(Info)); break;
    default: break;
  }
}
