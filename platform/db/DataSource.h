// TDataSource joins a dataset to its data links; TDataLink is a control's view of the dataset:
// a window of BufferCount records around the current one, and the dataset's events in the
// classic order (field/record changes → RecordChanged, changes → DataSetChanged, moves →
// DataSetScrolled with the distance the link's window moved, state changes → ActiveChanged /
// EditingChanged, posting → UpdateData).
//
// While the dataset's controls are disabled, links marked VisualControl hear nothing; when they
// are enabled again such links get one state update and one DataSetChanged. Every link hears
// deDisabledStateChange through DataEvent: Info 1 as the controls are disabled, 0 once they are
// enabled again (before the catching-up events).
#pragma once

#include <functional>
#include <vector>

#include "platform/classes/Component.h"
#include "platform/db/DB.h"

class TDataSet;
class TDataLink;
class TField;
class TDataSource;

using TDataChangeEvent = std::function<void(TObject* Sender, TField* Field)>;

class TDataSource : public TComponent {
  PELTO_CLASS(TDataSource, TComponent)
public:
  explicit TDataSource(TComponent* AOwner);
  ~TDataSource() override;

  TDataSet* GetDataSet() const { return FDataSet; }
  void SetDataSet(TDataSet* Value);
  bool GetEnabled() const { return FEnabled; }
  void SetEnabled(bool Value);
  bool GetAutoEdit() const { return FAutoEdit; }
  void SetAutoEdit(bool Value) { FAutoEdit = Value; }
  // The dataset's state, dsInactive without an enabled dataset.
  TDataSetState GetState() const { return FState; }
  // Puts the dataset into edit state when AutoEdit is on and it is browsing.
  void Edit();
  bool IsLinkedTo(TDataSet* DataSet) const;

  TNotifyEvent OnStateChange;
  TDataChangeEvent OnDataChange;
  TNotifyEvent OnUpdateData;

protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

private:
  friend class TDataSet;
  friend class TDataLink;
  void AddDataLink(TDataLink* Link);
  void RemoveDataLink(TDataLink* Link);
  void DataEvent(TDataEvent Event, intptr_t Info, bool VisualOnly, bool SkipVisual);
  void NotifyLinks(TDataEvent Event, intptr_t Info, bool VisualOnly, bool SkipVisual);
  void UpdateState();

  TDataSet* FDataSet = nullptr;
  bool FEnabled = true;
  bool FAutoEdit = true;
  TDataSetState FState = dsInactive;
  std::vector<TDataLink*> FDataLinks;
};

class TDataLink : public TObject {
public:
  TDataLink();
  ~TDataLink() override;

  TDataSource* GetDataSource() const { return FDataSource; }
  void SetDataSource(TDataSource* Value);
  TDataSet* GetDataSet() const;
  // The source is attached, enabled, and its dataset open.
  bool GetActive() const { return FActive; }
  bool GetEditing() const { return FEditing; }
  bool GetReadOnly() const { return FReadOnly; }
  void SetReadOnly(bool Value);
  bool GetVisualControl() const { return FVisualControl; }
  void SetVisualControl(bool Value) { FVisualControl = Value; }

  // Row of the current record inside the link's window; setting it makes another buffered
  // row the one fields read, until the cursor moves (callers restore it).
  Integer GetActiveRecord() const;
  void SetActiveRecord(Integer Value);
  Integer GetBufferCount() const { return FBufferCount; }
  void SetBufferCount(Integer Value);
  // Records in the link's window.
  Integer GetRecordCount() const;
  bool GetBof() const;
  bool GetEof() const;
  Integer MoveBy(Integer Distance);
  // Asks the source to put the dataset into edit state; returns whether it is editing.
  bool Edit();
  // Runs UpdateData once (guarded against re-entry).
  void UpdateRecord();

protected:
  virtual void ActiveChanged() {}
  virtual void CheckBrowseMode() {}
  virtual void DataSetChanged() { RecordChanged(nullptr); }
  virtual void DataSetScrolled(Integer Distance) { DataSetChanged(); }
  virtual void EditingChanged() {}
  virtual void FocusControl(TField** Field) {}
  virtual void LayoutChanged() { DataSetChanged(); }
  virtual void RecordChanged(TField* Field) {}
  virtual void UpdateData() {}
  virtual void DataEvent(TDataEvent Event, intptr_t Info);

private:
  friend class TDataSource;
  friend class TDataSet;
  void UpdateState();
  void SetActive(bool Value);
  void SetEditing(bool Value);
  Integer UpdateRange();  // realigns the window; returns how far its first record moved

  TDataSource* FDataSource = nullptr;
  bool FActive = false;
  bool FEditing = false;
  bool FReadOnly = false;
  bool FVisualControl = false;
  bool FUpdating = false;
  Integer FBufferCount = 1;
  Integer FFirstRecord = 0;  // window row of the link's first record
  Integer FFirstView = 0;    // view index of that record, to measure scrolls
};
