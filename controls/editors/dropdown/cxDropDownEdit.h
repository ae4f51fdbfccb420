// TcxCustomDropDownEdit: the masked editor with a drop-down button that opens a pop-up window
// (cxEditPopupWindow.h) under or above it; TcxCustomDropDownEditProperties holds the pop-up
// settings. Descendants supply the content (CanOpenDropDown, PopupContentSize, LayoutPopup ...).
//
// Call flow of opening: Alt+Down, F4, the drop-down button or a typed character (0x8067) ->
// OpenDropDown -> BeforeDropDown (OnInitPopup) -> CanOpenDropDown -> LayoutPopup (ConnectPopupContent,
// ConfigurePopupWindow, size and place) -> 0x8066 posted to the pop-up -> shown handler (OnPopup).
// Closing: Enter (accepting), Esc, Alt+Up, F4, leaving the editor -> CloseDropDown -> closed
// handler (remembers a user's size, OnCloseUp).
#pragma once

#include <memory>

#include "controls/editors/dropdown/cxEditPopupWindow.h"
#include "controls/editors/maskedit/cxMaskEdit.h"
#include "platform/forms/forms/CustomForm.h"

// Open the pop-up (sent to the editor); type the character in WParam into the pop-up's focused
// control (posted to the pop-up); select the lookup item matching the text (posted to the editor).
constexpr UINT CM_DROPDOWN = 0x8067, CM_POPUPCHAR = 0x806B, CM_SELECTLOOKUPTEXT = 0x806C;

class TcxCustomDropDownEditProperties : public TcxCustomMaskEditProperties {
  PELTO_DECLARE_CLASS(TcxCustomDropDownEditProperties, TcxCustomMaskEditProperties)
public:
  using TConstructArg = TPersistent*;
  // Starts with one drop-down button.
  explicit TcxCustomDropDownEditProperties(TPersistent* AOwner);
  void Assign(TPersistent* Source) override;

  bool GetImmediateDropDown() const { return FImmediateDropDown; }
  void SetImmediateDropDown(bool Value) { FImmediateDropDown = Value; }
  bool GetImmediatePopup() const { return FImmediatePopup; }
  void SetImmediatePopup(bool Value) { FImmediatePopup = Value; }
  TAlignment GetPopupAlignment() const { return FPopupAlignment; }
  void SetPopupAlignment(TAlignment Value);
  bool GetPopupAutoSize() const { return FPopupAutoSize; }
  void SetPopupAutoSize(bool Value) { FPopupAutoSize = Value; }
  bool GetPopupClientEdge() const { return FPopupClientEdge; }
  void SetPopupClientEdge(bool Value);
  int GetPopupWidth() const { return FPopupWidth; }
  // Negative becomes 0; a positive width is raised to PopupMinWidth.
  void SetPopupWidth(int Value);
  int GetPopupHeight() const { return FPopupHeight; }
  // Raised to PopupMinHeight.
  void SetPopupHeight(int Value);
  int GetPopupMinWidth() const { return FPopupMinWidth; }
  void SetPopupMinWidth(int Value);
  int GetPopupMinHeight() const { return FPopupMinHeight; }
  void SetPopupMinHeight(int Value);
  bool GetPopupSizeable() const { return FPopupSizeable; }
  void SetPopupSizeable(bool Value);
  bool GetPopupSysPanelStyle() const { return FPopupSysPanelStyle; }
  void SetPopupSysPanelStyle(bool Value);

  virtual int DropDownButtonIndex() { return 0; }
  virtual bool PopupOnClick() { return false; }
  virtual bool PostAfterClose() { return false; }
  virtual bool PopupTakesFocus() { return false; }
  TClass GetContainerClass() const override;
  bool ListInPopup() override { return true; }

  TCloseQueryEvent OnCloseQuery;
  TNotifyEvent OnCloseUp, OnInitPopup, OnPopup;

private:
  bool FImmediateDropDown = true, FImmediatePopup = false;
  TAlignment FPopupAlignment = taLeftJustify;
  bool FPopupAutoSize = true, FPopupClientEdge = false, FPopupSizeable = false, FPopupSysPanelStyle = false;
  int FPopupWidth = 0, FPopupHeight = 0, FPopupMinWidth = 0, FPopupMinHeight = 0;
};

// What an in-place drop-down editor keeps per cell between activations: the user's pop-up size.
class TcxCustomDropDownEditData : public TcxCustomEditData {
  PELTO_DECLARE_CLASS(TcxCustomDropDownEditData, TcxCustomEditData)
public:
  using TcxCustomEditData::TcxCustomEditData;
  bool ResizedByUser = false;
  int Width = 0, Height = 0;
};

class TcxCustomDropDownEdit : public TcxCustomMaskEdit {
  PELTO_DECLARE_CLASS(TcxCustomDropDownEdit, TcxCustomMaskEdit)
public:
  explicit TcxCustomDropDownEdit(TComponent* AOwner);
  ~TcxCustomDropDownEdit() override;

  TcxCustomDropDownEditProperties* GetDropDownProperties()
  {
    return static_cast<TcxCustomDropDownEditProperties*>(GetProperties());
  }
  // Made on first use; owned by the editor.
  TcxCustomEditPopupWindow* GetPopupWindow();
  bool GetDroppedDown() { return HasOpenPopup(); }
  void SetDroppedDown(bool Value);
  bool HasOpenPopup() override;
  bool IsResizedByUser() const { return FResizedByUser; }

  virtual bool CanOpenDropDown() { return false; }
  virtual void CloseDropDown(bool Accept);
  virtual void OpenDropDown();

  TClass GetPropertiesClass() const override;
  void PropertiesChanged(TObject* Sender) override;
  TcxContainerStyleValues GetNotStoredStyleValues() override { return {}; }
  void Activate(TcxCustomEditData*& AEditData) override;
  void ActivateByKey(char Key, TcxCustomEditData*& AEditData) override;
  bool Deactivate() override;

protected:
  virtual TcxCustomEditPopupWindow* CreatePopupWindow();
  virtual void BeforeDropDown();
  virtual void NotifyPopup();
  virtual TWinControl* PopupFocusControl();
  // The content's size for an auto-sized pop-up.
  virtual void PopupContentSize(SIZE& Size) { Size = SIZE{0, 0}; }
  virtual void ConnectPopupContent() {}
  virtual void ConfigurePopupWindow();
  virtual void PlacePopupContent(const RECT& R) {}
  virtual void LayoutPopup();
  virtual void PopupWindowClosed(TObject* Sender);
  virtual void PopupWindowShowed(TObject* Sender);

  TClass GetEditDataClass() const override { return TcxCustomDropDownEditData::StaticClass(); }
  void WndProc(TMessage& Message) override;
  void DoEditKeyDown(Word& Key, TShiftState Shift) override;
  void DoEditKeyPress(char& Key) override;
  void DoButtonDown(int AButtonVisibleIndex) override;
  void DoExit() override;
  bool IsClickKey(Word Key, TShiftState Shift) override;

private:
  TcxCustomDropDownEditData* GetDropDownData();

  std::unique_ptr<TcxCustomEditPopupWindow> FPopupWindow;
  bool FResizedByUser = false;
};

namespace cxDropDownEdit {
// "Circular referencing is not allowed".
AnsiString CircularReferenceText();
}  // namespace cxDropDownEdit
