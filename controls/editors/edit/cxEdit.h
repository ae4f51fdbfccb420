// TcxCustomEdit: the control of every editor. It joins the properties (cxEditProperties.h), the
// style (cxEditStyle.h), the view data and view info (cxEditViewData.h, cxEditViewInfo.h) and a
// data binding (cxEditRepository.h), keeps the edit value and runs the editing protocol:
// user change -> DoEditing -> value set -> ValidateEdit -> PostEditValue; Escape restores the
// value at focus entry; focus entry and exit; change events, held back while locked.
//
// The same class works stand-alone on a form and in place: made hidden by TcxInplaceEditList
// and activated by the owner (Activate, ActivateByKey, ActivateByMouse) so that the first key
// or click is not lost. Keys, mouse, buttons and activation are in cxEditInput.cpp.
//
// Ownership: the editor owns its properties, data binding, inner edit (as its owner), timer and
// saved states; the repository item and edit data are borrowed.
#pragma once

#include <memory>
#include <vector>

#include "controls/editors/edit/cxEditProperties.h"
#include "controls/editors/edit/cxEditRepository.h"
#include "controls/editors/edit/cxEditStyle.h"
#include "controls/editors/edit/cxEditTypes.h"
#include "controls/framework/cxContainer.h"

class TcxCustomEditData;
class TcxEditDataBinding;
class TcxEditRepositoryItem;
class TcxEditRepositoryItemListenerEditHelper;
class TTimer;

// The editing interface of an inner control (an EDIT window).
class IcxCustomInnerEdit : public IcxContainerInnerControl {
public:
  virtual Variant GetTextValue() = 0;
  virtual TNotifyEvent GetOnChange() = 0;
  virtual bool GetReadOnly() = 0;
  virtual void LockBounds(bool ALock) = 0;
  virtual void SafelySetFocus() = 0;
  virtual void SetTextValue(const Variant& V) = 0;
  virtual void SetParent(TWinControl* AParent) = 0;
  virtual void SetOnChange(TNotifyEvent AEvent) = 0;
  virtual void SetReadOnly(bool Value) = 0;
};

using TcxEditAfterKeyDownEvent = std::function<void(TObject* Sender, Word& Key, TShiftState Shift)>;

class TcxCustomEdit : public TcxContainer {
  PELTO_DECLARE_CLASS(TcxCustomEdit, TcxContainer)
public:
  // Stand-alone, unless made through CreateInplace.
  explicit TcxCustomEdit(TComponent* AOwner);
  ~TcxCustomEdit() override;
  // An editor of a TcxCustomEdit class, in place (no auto size, all keys wanted) when
  // AIsInplace; the caller owns it when AOwner is null.
  static TcxCustomEdit* CreateInplace(TClass AClass, TComponent* AOwner, bool AIsInplace = true);

  // ---- Parts
  // The repository item's properties while an item is set and the stream is not being read or
  // written; else the own properties.
  TcxCustomEditProperties* GetProperties();
  // Made on first use, of GetPropertiesClass (so never from a constructor of this class).
  TcxCustomEditProperties* GetOwnProperties();
  void SetProperties(TcxCustomEditProperties* Value);
  TcxCustomEditStyle* GetEditStyle();
  void SetEditStyle(TcxCustomEditStyle* Value);
  TcxCustomEditViewInfo* GetEditViewInfo();
  TcxEditDataBinding* GetDataBinding();
  TcxEditRepositoryItem* GetRepositoryItem() const { return FRepositoryItem; }
  // Raises "The repository item is not acceptable" for an item of a foreign properties class.
  void SetRepositoryItem(TcxEditRepositoryItem* Value);
  TcxCustomEditData* GetEditData() const { return FEditData; }
  IcxCustomInnerEdit* GetInnerEdit();

  // ---- Value and state
  virtual Variant GetEditValue() const { return FEditValue; }
  virtual void SetEditValue(const Variant& Value);
  bool IsEditValueStored() const { return !FEditValue.IsNull(); }
  bool GetEditModified() const { return FEditModified; }
  void SetEditModified(bool Value);
  bool GetModifiedAfterEnter() const { return FModifiedAfterEnter; }
  void SetModifiedSinceEnter(bool Value);
  bool IsInplace() const { return FIsInplace; }
  bool GetAutoSize() const { return FAutoSize; }
  void SetAutoSize(bool Value) override;
  bool IsPosting() const { return FIsPosting; }
  int GetPressedButtonIndex() const { return FPressedButton; }
  // The text the editor shows, as ValidateEdit compares it.
  AnsiString GetDisplayValueText();

  // ---- The editing protocol
  bool ValidateEdit(bool ARaiseException);
  void LockChangeEvents(bool ALock, bool AInvokeChanges = true);
  bool DoEditing();
  void PostEditValue(bool AValidate = false);
  void SaveModified();
  void RestoreModified();
  void DoChange();
  void DoEditValueChanged();
  void ShortRefreshContainer(bool AIsMouseEvent);
  void DoClick();
  bool CanPostEditValue();
  void FocusExit(bool AInvokeExit);

  // ---- In-place activation, called by the owner of an in-place editor
  virtual void Activate(TcxCustomEditData*& AEditData);
  virtual void ActivateByKey(char Key, TcxCustomEditData*& AEditData);
  // X and Y in the parent's client coordinates.
  virtual void ActivateByMouse(TShiftState Shift, int X, int Y, TcxCustomEditData*& AEditData);
  virtual bool Deactivate();
  bool IsDoubleClickTimerRunning() const;

  virtual void Clear();
  virtual void CopyToClipboard() {}
  virtual void CutToClipboard() {}
  virtual void PasteFromClipboard() {}
  virtual void SelectAll() {}
  virtual bool HasOpenPopup() { return false; }
  virtual bool HasEditFocus() { return Focused(); }
  virtual void DisplayValueToEditValue(const Variant& ADisplayValue, Variant& EditValue, bool AEditFocused) {}
  virtual TClass GetPropertiesClass() const;
  virtual bool IsRepositoryItemAcceptable(TcxEditRepositoryItem* AItem);
  // Part of the data binding's protocol.
  virtual void GetDisplayValue(Variant& Text) { Text = Variant(AnsiString()); }
  virtual void SetDisplayValue(const Variant& Value) {}
  virtual void SynchronizeDisplayValue() {}
  virtual void RestoreEditValue();
  virtual void PropertiesChanged(TObject* Sender);
  // Rewires the own properties after a repository item went away or was cleared.
  void RepositoryItemRemoved(TcxEditRepositoryItem* AItem);

  // Makes the parts first, so the inner control joins the editor's window.
  void SetParent(TWinControl* AParent) override;

  // ---- IcxContainerStyleOwner
  TcxContainerStyleValues GetNotStoredStyleValues() override;

  TcxEditEditingEvent OnEditing;
  // Fired for keys the editor passes on (Tab, navigation keys); the grid sets it.
  TcxEditAfterKeyDownEvent OnAfterKeyDown;
  // Fired to post the value of an in-place editor; the grid sets it.
  TNotifyEvent OnPost;
  TNotifyEvent PropertiesEvents;  // a design-time placeholder, never fired

  PELTO_PUBLISHED(p);

protected:
  // ---- Overrides of the class library and the container
  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void ReadState(TReader* Reader) override;
  bool CanResize(int& NewWidth, int& NewHeight) override;
  void WndProc(TMessage& Message) override;
  void CreateHandle() override;
  void Paint() override;
  std::unique_ptr<TcxContainerStyle> CreateStyle() override;
  std::unique_ptr<TcxContainerViewInfo> CreateViewInfo() override;
  RECT GetMouseAreaBounds() override;
  void RefreshView(POINT P, int Button, bool IsMouseEvent, TShiftState Shift) override;
  void AdjustInnerControl() override;
  bool WantsTab() override { return true; }
  void FocusInnerControl() override;
  void KeyDown(Word& Key, TShiftState Shift) override;
  void KeyPress(char& Key) override;
  void KeyUp(Word& Key, TShiftState Shift) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseTrackingLeave() override;
  void Click() override;
  void DblClick() override;
  void DoEnter() override;
  void DoExit() override;
  void FocusChanged() override;
  void CMShowingChanged(TMessage& Message) override;

  // ---- Operations this class introduces
  virtual void AdjustInnerEditPosition();
  virtual void EndPost() { FIsPosting = false; }
  virtual void BeginPost() { FIsPosting = true; }
  virtual bool CanAutoSize() { return true; }
  using TcxContainer::CanAutoSize;
  virtual bool CanAutoWidth() { return false; }
  virtual bool CanKeyDownModifyEdit(Word Key, TShiftState Shift) { return false; }
  virtual bool CanKeyPressModifyEdit(char Key) { return false; }
  virtual bool CanModify();
  virtual void ChangeHandler(TObject* Sender);
  virtual IcxCustomInnerEdit* CreateInnerEdit();
  // A new view data the caller owns, with this editor (or none while the inner edit is missing).
  virtual TcxCustomEditViewData* CreateViewData();
  virtual void ClickDefaultButton();
  virtual void DoButtonClick(int AButtonVisibleIndex);
  virtual void DoButtonDown(int AButtonVisibleIndex) {}
  virtual void DoButtonUp(int AButtonVisibleIndex) {}
  virtual void DoEditKeyDown(Word& Key, TShiftState Shift);
  virtual void DoEditKeyPress(char& Key) { ValidateKeyPress(Key); }
  virtual void DoEditKeyUp(Word& Key, TShiftState Shift) {}
  virtual TcxEditSizeProperties GetEditSizeProperties();
  virtual TClass GetDataBindingClass() const;
  virtual TClass GetEditDataClass() const { return nullptr; }
  // The inner control's class (a TWinControl implementing IcxCustomInnerEdit); none here.
  virtual TClass GetInnerEditClass() const { return nullptr; }
  virtual void HandleValidationError(const AnsiString& ErrorText);
  virtual void ResetEditData() {}
  virtual void InitializeInnerEdit();
  virtual void InitializeViewData(TcxCustomEditViewData* AViewData);
  virtual bool IsEditingPossible() { return true; }
  virtual void SetInternalDisplayValue(const Variant& Value) {}
  virtual void InternalSetEditValue(const Variant& Value, bool AValidate);
  virtual void ApplyDisplayValue(const Variant& ADisplayValue);
  virtual bool IsActiveControl();
  virtual bool CanClickWhileLoading() { return false; }
  virtual bool HasInnerEditRect() { return false; }
  virtual bool IsClickKey(Word Key, TShiftState Shift);
  virtual bool IsValidChar(char AChar);
  virtual void PrepareDisplayValue(const Variant& AEditValue, Variant& DisplayValue, bool AEditFocused);
  virtual void ProcessButtonChanges(TcxCustomEditViewInfo* AOldViewInfo, bool AIsMouseEvent);
  virtual void RepositoryItemAssigned() {}
  virtual void RepositoryItemAssigning() {}
  virtual bool CanProcessActivationKey(char Key) { return true; }
  virtual bool ApplyDisplayText(const AnsiString& AText) { return false; }
  virtual void SetEditValueChecked(const Variant& Value);
  virtual void SyncEditValueFromText() {}
  virtual bool CanSynchronizeOnFocus() { return true; }
  virtual void UpdateDrawValue() {}
  virtual bool ValidateKeyDown(Word& Key, TShiftState Shift);
  virtual bool ValidateKeyPress(char& Key);
  virtual bool WantNavigationKeys() { return false; }
  virtual void InnerEditWindowProc(TMessage& Message);
  virtual void HookInnerEditWindowProc();
  virtual void UnhookInnerEditWindowProc();

  // Whether the editor is being destroyed or names an inner edit class without having one.
  bool IsInnerEditMissing();
  bool IsUserChange() const { return FUserChange; }
  void SetUserChange(bool Value) { FUserChange = Value; }
  bool IsFocusingItself() const { return FFocusingItself; }
  // The edit value itself, without showing it or firing events (the text editors take the value
  // from their text this way).
  void StoreEditValue(const Variant& Value) { FEditValue = Value; }

private:
  friend class TcxEditRepositoryItemListenerEditHelper;
  friend class TcxCustomEditData;
  void HandleWMCut(TMessage& Message);
  void HandleWMPaste(TMessage& Message);
  void FocusSelf();
  // The parts that need the descendant's virtual class answers (properties, binding, inner edit),
  // made once, on the first use after construction.
  void EnsureParts();

  TWinControl* FInnerControl = nullptr;  // owned through the editor as its owner
  bool FAutoSize = true;
  int FPressedButton = -1;
  int FChangeEventsLockCount = 0;
  bool FChangeEventPending = false, FEditValueChangedPending = false;
  int FClickLockCount = 0;
  std::unique_ptr<TTimer> FDblClickTimer;
  TcxCustomEditData* FEditData = nullptr;  // borrowed from the owner
  std::unique_ptr<TcxEditRepositoryItemListenerEditHelper> FRepositoryListener;
  int FEditingLockCount = 0;
  bool FFocusedState = false;
  IcxCustomInnerEdit* FInnerEdit = nullptr;
  bool FValidated = false;
  bool FEscapeHandled = false;
  bool FIsInplace;
  bool FIsPosting = false;
  bool FUserChange = false;
  bool FModifiedAfterEnter = false;
  bool FEditModified = false;
  bool FFocusingItself = false;
  bool FConstructing = true;
  bool FPartsMade = false;
  Variant FValueAtEnter;
  std::vector<std::pair<bool, bool>> FSavedModified;  // (ModifiedAfterEnter, EditModified)
  TcxEditRepositoryItem* FRepositoryItem = nullptr;
  TWndMethod FSavedInnerWindowProc;
  bool FInnerHooked = false;
  std::unique_ptr<TcxEditDataBinding> FDataBinding;
  Variant FEditValue;
  std::unique_ptr<TcxCustomEditProperties> FProperties;
  bool FPaintingLock = false;
};

namespace cxEdit {
// Sends WM_KEYDOWN with the key to the control's window.
void SendKeyDown(TWinControl* AControl, Word AKey);
void SendChar(TWinControl* AControl, char AChar);
// Mouse-message key flags: MK_SHIFT 4, MK_CONTROL 8, MK_LBUTTON 1, MK_RBUTTON 2, MK_MBUTTON 16.
WPARAM ShiftStateToMouseKeys(TShiftState Shift);
// The shift flag of a mouse button.
TShiftState ButtonToShift(TMouseButton Button);
// The shift flag of the container's button code (0 none, 1 left, 2 right, 3 middle).
TShiftState ButtonCodeToShift(int AButtonCode);
}  // namespace cxEdit
