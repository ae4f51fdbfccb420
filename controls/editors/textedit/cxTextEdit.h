// TcxCustomTextEdit: the single-line text editor, a TcxCustomEdit whose inner control is an
// EDIT window (TcxCustomInnerTextEdit). The container paints border and buttons; the EDIT
// window edits the text while it is shown (focused, or left-aligned), otherwise the view info
// draws the text. It adds selection operations, clipboard handling, the conversion between the
// edit value and its text, and completion from the properties' lookup items through a lookup
// data object, which the drop-down and combo editors extend into a list. TcxTextEdit is the
// published control.
//
// CP936: MaxLength counts characters (a Chinese character once) for typing, paste and
// SetSelText alike; Backspace removes a whole double-byte character; completion compares ASCII
// letters without case and never splits a character.
//
// Sections of cxTextEdit.cpp: life -> parts and properties -> value protocol -> selection and
// clipboard -> lookup -> view. Keys and the mouse wheel are in cxTextEditInput.cpp.
#pragma once

#include <memory>
#include <optional>

#include "controls/editors/edit/cxEdit.h"
#include "controls/editors/textedit/cxTextEditLookupData.h"
#include "controls/editors/textedit/cxTextEditProperties.h"

class IcxInnerTextEdit;
class TcxCustomInnerTextEdit;
class TcxCustomTextEditViewData;

// Whether the EDIT window is shown: as the rules say, or forced by a descendant.
enum TcxInnerEditShowing { iesAuto, iesAlwaysShown, iesAlwaysHidden };

class TcxCustomTextEdit : public TcxCustomEdit, public IcxFormatChangeListener {
  PELTO_DECLARE_CLASS(TcxCustomTextEdit, TcxCustomEdit)
public:
  explicit TcxCustomTextEdit(TComponent* AOwner);
  ~TcxCustomTextEdit() override;

  TcxCustomTextEditProperties* GetTextProperties()
  {
    return static_cast<TcxCustomTextEditProperties*>(GetProperties());
  }
  // Null without an inner edit (while it is missing).
  IcxInnerTextEdit* GetInnerTextEdit();
  TcxCustomInnerTextEdit* GetInnerTextEditControl();
  // The lookup data's interface; null when the properties name no lookup data class.
  IcxTextEditLookupData* GetILookupData() { return FILookupData; }
  TcxCustomTextEditLookupData* GetLookupData() { return FLookupData.get(); }

  bool GetBeepOnEnter() const { return FBeepOnEnter; }
  void SetBeepOnEnter(bool Value) { FBeepOnEnter = Value; }
  // The selected text at the end is a completion taken from the lookup items.
  bool GetLookupSelection() const { return FLookupSelection; }
  bool IsLookupTextUpdating() const { return FLookupTextUpdating; }
  bool IsLookupScrolling() const { return FLookupScrolling; }
  AnsiString GetText() { return GetDisplayValueText(); }
  void SetText(const AnsiString& Value);

  // ---- Selection (byte offsets into the CP936 text)
  int GetSelStart();
  int GetSelLength();
  AnsiString GetSelText();
  virtual void SetSelStart(int Value);
  virtual void SetSelLength(int Value);
  // Replaces the selection, as typing would: MaxLength (characters) applies in editing style 0;
  // a single-line editor keeps what comes before the first line break.
  virtual void SetSelText(const AnsiString& Value);
  virtual void ClearSelection();

  // ---- Overrides of the editor control (public there)
  void CopyToClipboard() override;
  void CutToClipboard() override;
  void PasteFromClipboard() override;
  void SelectAll() override;
  void DisplayValueToEditValue(const Variant& ADisplayValue, Variant& EditValue, bool AEditFocused) override;
  TClass GetPropertiesClass() const override;
  void GetDisplayValue(Variant& Text) override;
  void SetDisplayValue(const Variant& Value) override;
  void SynchronizeDisplayValue() override;
  void PropertiesChanged(TObject* Sender) override;
  void Activate(TcxCustomEditData*& AEditData) override;
  void FormatChanged() override;

  // ---- Own virtual operations
  // A drop-down editor with its pop-up open keeps the focus on Tab.
  virtual bool KeepsFocusOnTab() { return false; }
  virtual void UpdateInnerEditAppearance();
  virtual void EnsureEditorBounds();
  virtual void ClampEditValue() {}
  virtual bool CanSelectLookupItemByKey(bool AByWheel = false) { return false; }
  virtual void LookupDataSelectItem(TObject* Sender);
  virtual void InternalGetText(AnsiString& S);
  virtual bool InternalSetText(const AnsiString& S);
  virtual void LookupKeyToEditValue(const Variant& AKey, Variant& V);
  virtual void ResetLookupSelection();
  // The control's text := S with EditModified, when DoEditing allows.
  virtual void SetEditingText(const AnsiString& S);
  virtual void RefreshDisplayText();
  // Searches the lookup items for S (whole characters: a double-byte character typed is in it
  // with both bytes); on success S takes the item's spelling and the text becomes S plus the
  // item's tail, with the tail selected.
  virtual bool LookupFind(AnsiString& S);
  virtual bool ApplyDisplayText(const AnsiString& AText) override;
  void UpdateDrawValue() override;

  TcxTextEditProperties* GetPublishedProperties();
  void SetPublishedProperties(TcxTextEditProperties* Value);

protected:
  friend class TcxCustomInnerTextEdit;
  friend class TcxCustomTextEditViewData;

  // ---- Overrides of the editor control
  void Loaded() override;
  void WndProc(TMessage& Message) override;
  void KeyPress(char& Key) override;
  void DoExit() override;
  bool DoMouseWheel(TShiftState Shift, int WheelDelta, POINT MousePos) override;
  std::optional<RECT> GetChildClipRect(const RECT& Bounds, TControl* Child) override;
  void RefreshView(POINT P, int Button, bool IsMouseEvent, TShiftState Shift) override;
  void AdjustInnerEditPosition() override;
  bool CanKeyDownModifyEdit(Word Key, TShiftState Shift) override;
  bool CanKeyPressModifyEdit(char Key) override;
  void ChangeHandler(TObject* Sender) override;
  void DoEditKeyDown(Word& Key, TShiftState Shift) override;
  void DoEditKeyPress(char& Key) override;
  TcxEditSizeProperties GetEditSizeProperties() override;
  TClass GetInnerEditClass() const override;
  bool IsEditingPossible() override;
  void SetInternalDisplayValue(const Variant& Value) override;
  void ApplyDisplayValue(const Variant& ADisplayValue) override;
  bool HasInnerEditRect() override;
  bool IsValidChar(char AChar) override;
  bool WantNavigationKeys() override { return true; }
  // The EDIT window belongs to the editor, never to a stream of it.
  void GetChildren(TGetChildProc Proc, TComponent* Root) override;
  void InnerEditWindowProc(TMessage& Message) override;
  void UnhookInnerEditWindowProc() override;
  void InitializeInnerEdit() override;

  // ---- Own virtual operations
  virtual void AdjustInnerEditPositionTo(int AHeight);
  virtual void SyncEditValueFromTextNow();
  void SyncEditValueFromText() override { SyncEditValueFromTextNow(); }
  // The selection highlight of the view info in editing styles 2 and 3.
  virtual void SetViewInfoSelection(TcxCustomTextEditViewData* AViewData);

  void SetLookupSelection(bool Value);
  void SetPopupJustClosed(bool Value) { FPopupJustClosed = Value; }
  bool IsPopupJustClosed() const { return FPopupJustClosed; }
  void SetInnerEditShowing(TcxInnerEditShowing Value) { FInnerEditShowing = Value; }
  TcxInnerEditShowing GetInnerEditShowing() const { return FInnerEditShowing; }
  // After a key that changed the lookup key: a click, and with ImmediatePost the value posted.
  void LookupKeyChanged(bool APost);
  int GetEditingStyle() { return GetTextProperties()->GetEditingStyle(); }

private:
  void RecreateLookupData();
  // The display text without the selection; the caret at the selection start.
  void DeleteSelection();

  bool FBeepOnEnter = true;
  bool FLookupSelection = false;
  int FLookupSelectionLock = 0;
  bool FLookupTextUpdating = false;
  bool FLookupScrolling = false;
  bool FPopupJustClosed = false;
  bool FInnerPositionAdjusting = false;
  bool FInternalTextSetting = false;
  TcxInnerEditShowing FInnerEditShowing = iesAuto;
  std::unique_ptr<TcxCustomTextEditLookupData> FLookupData;
  IcxTextEditLookupData* FILookupData = nullptr;  // FLookupData's interface
  TClass FLookupDataClass = nullptr;
};

class TcxTextEdit : public TcxCustomTextEdit {
  PELTO_DECLARE_CLASS(TcxTextEdit, TcxCustomTextEdit)
public:
  using TcxCustomTextEdit::TcxCustomTextEdit;
  TcxTextEditProperties* GetActiveProperties() { return static_cast<TcxTextEditProperties*>(GetProperties()); }
  TClass GetPropertiesClass() const override;
  PELTO_PUBLISHED(p);
};

namespace cxTextEdit {
// Registers TcxTextEditProperties in the editor properties list. Idempotent.
void Initialize();
}  // namespace cxTextEdit
