// TcxCheckBox: the family's check box, an editor without an inner window that maps its edit value
// to three states through ValueChecked, ValueUnchecked and ValueGrayed and shows the mark (drawn
// by paint/cxEditUtils) with an optional caption. Stand-alone on a form or in place in a cell.
//
// Call flow of a toggle: space up, a click released over the mark, a dialog character or an
// in-place space -> Toggle -> State -> SetEditValueChecked -> InternalSetEditValue -> Click and
// DoChange when the state changed -> ImmediatePost.
//
// Ownership: the properties own their glyph (made on first use); the check box owns its action
// link helper; the action is borrowed.
#pragma once

#include <memory>

#include "controls/editors/edit/cxEdit.h"
#include "controls/editors/edit/cxEditViewData.h"
#include "controls/editors/edit/cxEditViewInfo.h"
#include "platform/forms/controls/ControlActionLink.h"

class TBitmap;
class TcxCustomCheckBox;

class TcxCheckEditPropertiesValues : public TcxCustomEditPropertiesValues {
  PELTO_DECLARE_CLASS(TcxCheckEditPropertiesValues, TcxCustomEditPropertiesValues)
public:
  TcxCheckEditPropertiesValues() = default;
  void Assign(TPersistent* Source) override;
  void RestoreDefaults() override;
  bool Caption = false;  // Caption is assigned
};

class TcxCustomCheckBoxProperties : public TcxCustomEditProperties {
  PELTO_DECLARE_CLASS(TcxCustomCheckBoxProperties, TcxCustomEditProperties)
public:
  using TConstructArg = TPersistent*;
  explicit TcxCustomCheckBoxProperties(TPersistent* AOwner);
  ~TcxCustomCheckBoxProperties() override;
  void Assign(TPersistent* Source) override;

  TAlignment GetCheckAlignment() { return GetAlignment()->GetHorz(); }
  void SetCheckAlignment(TAlignment Value) { GetAlignment()->SetHorz(Value); }
  bool IsCheckAlignmentStored() const;
  bool GetAllowGrayed() const { return FAllowGrayed; }
  void SetAllowGrayed(bool Value);
  const AnsiString& GetCaption() const { return FCaption; }
  // Marks the caption assigned; a different text (case-sensitive) calls Changed.
  void SetCaption(const AnsiString& Value);
  bool IsCaptionAssigned() const;
  // The caption text without marking it assigned (the control's name shown in its place).
  void SetCaptionText(const AnsiString& Value) { FCaption = Value; }
  WideString GetDisplayChecked() const;
  void SetDisplayChecked(const WideString& Value);
  WideString GetDisplayUnchecked() const;
  void SetDisplayUnchecked(const WideString& Value);
  WideString GetDisplayGrayed() const;
  void SetDisplayGrayed(const WideString& Value);
  bool IsDisplayCheckedStored() const { return FDisplayCheckedAssigned; }
  bool IsDisplayUncheckedStored() const { return FDisplayUncheckedAssigned; }
  bool IsDisplayGrayedStored() const { return FDisplayGrayedAssigned; }
  bool GetFullFocusRect() const { return FFullFocusRect; }
  void SetFullFocusRect(bool Value);
  // Made on first use, with its change calling Changed; owned by the properties.
  TBitmap* GetGlyph();
  TBitmap* GetGlyphIfAny() const { return FGlyph.get(); }
  // Copies Value; null frees the glyph.
  void SetGlyph(TBitmap* Value);
  int GetGlyphCount() const { return FGlyphCount; }
  void SetGlyphCount(int Value);
  bool GetMultiLine() const { return FMultiLine; }
  void SetMultiLine(bool Value);
  TcxCheckBoxNullValueShowingStyle GetNullStyle() const { return FNullStyle; }
  void SetNullStyle(TcxCheckBoxNullValueShowingStyle Value);
  const Variant& GetValueChecked() const { return FValueChecked; }
  // Refused when Null or equal to one of the three current values.
  void SetValueChecked(const Variant& Value);
  const Variant& GetValueGrayed() const { return FValueGrayed; }
  // Null is accepted; a value equal to one of the three current values is refused.
  void SetValueGrayed(const Variant& Value);
  const Variant& GetValueUnchecked() const { return FValueUnchecked; }
  void SetValueUnchecked(const Variant& Value);

  // The state an edit value shows: ValueChecked, ValueUnchecked, anything else grayed.
  TcxCheckBoxState EditValueToState(const Variant& AEditValue) const;
  Variant StateToEditValue(TcxCheckBoxState AState) const;

  bool CanCompareEditValue() override { return true; }
  TClass GetAssignedValuesClass() const override { return TcxCheckEditPropertiesValues::StaticClass(); }
  TClass GetViewDataClass() const override;
  bool HasOwnChangeEvent() override { return true; }
  TClass GetContainerClass() const override;
  TClass GetStyleClass() const override;
  TClass GetViewInfoClass() const override;
  TcxCustomEditViewData* CreateViewData(TcxCustomEditStyle* AStyle, bool AIsInplace) override;
  WideString GetDisplayText(const Variant& AEditValue, bool AFullText = false) override;
  TcxEditSupportedOperations GetSupportedOperations() override { return 149; }
  bool IsEditValueValid(Variant& AEditValue, bool AEditFocused) override;
  // The state (an Integer of TcxCheckBoxState) of the edit value.
  void PrepareDisplayValue(const Variant& AEditValue, Variant& DisplayValue, bool AEditFocused) override;
  void RestoreDefaults() override;
  virtual bool KeepsAlignmentInplace() { return false; }

private:
  bool IsOneOfValues(const Variant& Value) const;

  bool FAllowGrayed = false;
  AnsiString FCaption;
  WideString FDisplayChecked, FDisplayUnchecked, FDisplayGrayed;
  bool FDisplayCheckedAssigned = false, FDisplayUncheckedAssigned = false, FDisplayGrayedAssigned = false;
  bool FFullFocusRect = false;
  std::unique_ptr<TBitmap> FGlyph;
  int FGlyphCount = 6;
  bool FMultiLine = false;
  TcxCheckBoxNullValueShowingStyle FNullStyle = nssGrayedChecked;
  Variant FValueChecked, FValueGrayed, FValueUnchecked;
};

class TcxCheckBoxProperties : public TcxCustomCheckBoxProperties {
  PELTO_DECLARE_CLASS(TcxCheckBoxProperties, TcxCustomCheckBoxProperties)
public:
  using TcxCustomCheckBoxProperties::TcxCustomCheckBoxProperties;
  PELTO_PUBLISHED(p);
};

class TcxCheckBoxStyle : public TcxEditStyle {
  PELTO_DECLARE_CLASS(TcxCheckBoxStyle, TcxEditStyle)
public:
  using TcxEditStyle::TcxEditStyle;
  // The control's ParentColor is set again unless a controller's style assigns Color.
  void RestoreDefaults() override;

protected:
  TColor GetDefaultColor() const override { return clBtnFace; }
};

class TcxCustomCheckBoxViewInfo : public TcxCustomEditViewInfo {
  PELTO_DECLARE_CLASS(TcxCustomCheckBoxViewInfo, TcxCustomEditViewInfo)
public:
  TcxCustomCheckBoxViewInfo() = default;
  // Check, caption and focus rectangles, caption, alignment, states, glyph and flags.
  TcxCheckBoxPaintInfo Check;

  void InternalPaint(TcxCanvas* Canvas) override;
  TcxCustomEditViewInfo* Clone() const override;
  void Assign(TcxContainerViewInfo* Source) override;
  TcxRegion* GetRepaintRegion(TcxContainerViewInfo* AOldViewInfo) override;
  void Offset(int DX, int DY) override;
  bool Repaint(TWinControl* AControl, TcxCustomEditViewInfo* AOldViewInfo, const RECT& AInnerEditRect) override;
  // The mark reacts to the mouse like a button anywhere on the control.
  bool HasHotButton() const { return true; }
  bool PtInButtons(POINT) const { return true; }
};

class TcxCustomCheckBoxViewData : public TcxCustomEditViewData {
  PELTO_DECLARE_CLASS(TcxCustomCheckBoxViewData, TcxCustomEditViewData)
public:
  using TcxCustomEditViewData::TcxCustomEditViewData;
  TcxCustomCheckBoxProperties* GetCheckProperties() const
  {
    return static_cast<TcxCustomCheckBoxProperties*>(GetProperties());
  }

  TcxEditBorderStyle GetBorderStyle(int) override { return ebsNone; }
  void Calculate(TcxCanvas* ACanvas, const RECT& ABounds, POINT P, int Button, TShiftState Shift,
                 TcxCustomEditViewInfo* AViewInfo, bool AIsMouseEvent) override;
  void InternalGetEditConstantPartSize(TcxCanvas* ACanvas, bool AIsInplace,
                                       const TcxEditSizeProperties& AEditSizeProperties, SIZE& MinContentSize,
                                       TcxCustomEditViewInfo* AViewInfo, SIZE& Size) override;
  // The state of the value (through PrepareDisplayValue), then the themed state and focus rectangle.
  void PrepareDrawValue(TcxCanvas* ACanvas, const Variant& AEditValue, TcxCustomCheckBoxViewInfo* AViewInfo);
  int GetDrawTextFlags(TAlignment AAlignment) const;
  // The caption drawn; the editor's when there is one.
  AnsiString CaptionText;
  bool SpacePressed = false;
  TcxCheckBoxState State = cbsUnchecked;
};

// The check box's link to its action: Checked and Caption follow the action.
class TcxCheckBoxActionLink : public TControlActionLink {
public:
  explicit TcxCheckBoxActionLink(TcxCustomCheckBox* AClient);
  // The client's caption is worked out again without the action.
  ~TcxCheckBoxActionLink() override;
  TcxCustomCheckBox* GetCheckBox() const { return FClient; }
  bool IsCaptionLinked() const;
  bool IsCheckedLinked() const;
  // Sets the client's Checked with its click lock raised and change events discarded.
  void SetChecked(bool Value);

private:
  TcxCustomCheckBox* FClient;
};

class TcxCustomCheckBox : public TcxCustomEdit {
  PELTO_DECLARE_CLASS(TcxCustomCheckBox, TcxCustomEdit)
public:
  explicit TcxCustomCheckBox(TComponent* AOwner);
  ~TcxCustomCheckBox() override;

  TcxCustomCheckBoxProperties* GetCheckProperties()
  {
    return static_cast<TcxCustomCheckBoxProperties*>(GetProperties());
  }
  TcxCustomCheckBoxViewInfo* GetCheckViewInfo() { return static_cast<TcxCustomCheckBoxViewInfo*>(GetViewInfo()); }
  TcxCheckBoxState GetState();
  // While loading only remembered; else the edit value of the state.
  void SetState(TcxCheckBoxState Value);
  bool IsStateStored();
  bool GetChecked() { return GetState() == cbsChecked; }
  void SetChecked(bool Value) { SetState(Value ? cbsChecked : cbsUnchecked); }
  bool GetParentBackground() const { return FParentBackground; }
  void SetParentBackground(bool Value);
  // The properties' caption when assigned; else, with UseAction, the action's caption; else Name.
  virtual AnsiString GetCaptionText(bool UseAction);
  // Unchecked -> checked (grayed first with AllowGrayed), checked -> unchecked, grayed -> checked.
  virtual void Toggle();
  // Takes the caption from GetCaptionText while it is not assigned and repaints when it changed.
  void UpdateCaption();
  TcxCheckBoxActionLink* GetCheckActionLink();

  void Clear() override { SetChecked(false); }
  void DisplayValueToEditValue(const Variant& ADisplayValue, Variant& EditValue, bool AEditFocused) override;
  TClass GetPropertiesClass() const override;
  void PropertiesChanged(TObject* Sender) override;
  // Edges, ButtonStyle, ButtonTransparency and PopupBorderStyle.
  TcxContainerStyleValues GetNotStoredStyleValues() override { return TcxContainerStyleValues::FromMask(1800); }
  void SetName(const AnsiString& NewName) override;

protected:
  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  bool CanResize(int& NewWidth, int& NewHeight) override;
  void Paint() override;
  void Click() override;
  void DoExit() override;
  void ActionChange(TObject* Sender, bool CheckDefaults) override;
  void WMLButtonUp(TMessage& Message) override;
  void CMDialogChar(TMessage& Message) override;
  void DoEditKeyDown(Word& Key, TShiftState Shift) override;
  void DoEditKeyPress(char& Key) override;
  void DoEditKeyUp(Word& Key, TShiftState Shift) override;
  TcxEditSizeProperties GetEditSizeProperties() override;
  void InternalSetEditValue(const Variant& Value, bool AValidate) override;
  bool CanClickWhileLoading() override;
  void ProcessButtonChanges(TcxCustomEditViewInfo* AOldViewInfo, bool AIsMouseEvent) override;
  TcxCustomEditViewData* CreateViewData() override;
  void InitializeViewData(TcxCustomEditViewData* AViewData) override;
  // Always the check box's, also before the properties are made.
  std::unique_ptr<TcxContainerViewInfo> CreateViewInfo() override;

private:
  friend class TcxCheckBoxActionLink;
  void InvalidateCheckRect();
  void SyncViewState();

  bool FSpacePressed = false;
  bool FUpdatingCaption = false;
  bool FStateGivenWhileLoading = false;
  TcxCheckBoxState FLoadingState = cbsUnchecked;
  bool FInLoaded = false;
  bool FParentBackground = true;
  int FClickLock = 0;
  std::unique_ptr<TcxCheckBoxActionLink> FCheckLink;
};

class TcxCheckBox : public TcxCustomCheckBox {
  PELTO_DECLARE_CLASS(TcxCheckBox, TcxCustomCheckBox)
public:
  using TcxCustomCheckBox::TcxCustomCheckBox;
  TcxCheckBoxProperties* Properties() { return static_cast<TcxCheckBoxProperties*>(GetProperties()); }
  PELTO_PUBLISHED(p);
};

namespace cxCheckBox {
// Registers the check box's properties with the editors' list. Idempotent.
void Initialize();
void Finalize();
}  // namespace cxCheckBox
