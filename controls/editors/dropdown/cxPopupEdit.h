// TcxPopupEdit: the drop-down editor whose pop-up shows a control of the form named by
// PopupControl. While the pop-up is open the control lives in it and fills it; when it closes the
// control goes back where it was, to the parent it had then (kept apart from what PopupControl
// names meanwhile, and forgotten when the control is freed while shown).
#pragma once

#include <memory>

#include "controls/editors/dropdown/cxDropDownEdit.h"
#include "platform/forms/controls/ControlEnums.h"

class TcxFreeNotificator;

class TcxCustomPopupEditProperties : public TcxCustomDropDownEditProperties {
  PELTO_DECLARE_CLASS(TcxCustomPopupEditProperties, TcxCustomDropDownEditProperties)
public:
  using TConstructArg = TPersistent*;
  explicit TcxCustomPopupEditProperties(TPersistent* AOwner);
  ~TcxCustomPopupEditProperties() override;
  void Assign(TPersistent* Source) override;

  // Borrowed; cleared when the control is freed.
  TControl* GetPopupControl() const { return FPopupControl; }
  void SetPopupControl(TControl* Value);

  TClass GetContainerClass() const override;
  bool ListInPopup() override { return false; }
  bool PopupTakesFocus() override { return true; }

private:
  TControl* FPopupControl = nullptr;
  std::unique_ptr<TcxFreeNotificator> FNotificator;
};

class TcxPopupEditProperties : public TcxCustomPopupEditProperties {
  PELTO_DECLARE_CLASS(TcxPopupEditProperties, TcxCustomPopupEditProperties)
public:
  using TConstructArg = TPersistent*;
  // ImmediateDropDown and ImmediatePopup on.
  explicit TcxPopupEditProperties(TPersistent* AOwner);
};

class TcxCustomPopupEdit : public TcxCustomDropDownEdit {
  PELTO_DECLARE_CLASS(TcxCustomPopupEdit, TcxCustomDropDownEdit)
public:
  explicit TcxCustomPopupEdit(TComponent* AOwner);
  // Gives the control back first when the pop-up is still shown.
  ~TcxCustomPopupEdit() override;

  TcxCustomPopupEditProperties* GetPopupProperties()
  {
    return static_cast<TcxCustomPopupEditProperties*>(GetProperties());
  }
  // The control the pop-up holds now; null when closed.
  TControl* GetShownControl() const { return FShown; }

  TClass GetPropertiesClass() const override;
  bool CanOpenDropDown() override { return GetPopupProperties()->GetPopupControl() != nullptr; }
  void Notification(TComponent* AComponent, TOperation Operation) override;

protected:
  virtual void RestorePopupControl();
  virtual void SavePopupControl();
  // Raises "Circular referencing is not allowed" for a control holding the editor.
  void BeforeDropDown() override;
  TWinControl* PopupFocusControl() override;
  void PopupContentSize(SIZE& Size) override;
  void PlacePopupContent(const RECT& R) override;
  void LayoutPopup() override;
  void PopupWindowClosed(TObject* Sender) override;

private:
  // What the control was before the pop-up took it.
  TControl* FShown = nullptr;
  TAlign FSavedAlign = alNone;
  TFormBorderStyle FSavedBorderStyle = bsSizeable;
  RECT FSavedBounds{};
  TWinControl* FSavedParent = nullptr;
  bool FSavedVisible = false;
};

class TcxPopupEdit : public TcxCustomPopupEdit {
  PELTO_DECLARE_CLASS(TcxPopupEdit, TcxCustomPopupEdit)
public:
  using TcxCustomPopupEdit::TcxCustomPopupEdit;
  TcxPopupEditProperties* Properties() { return static_cast<TcxPopupEditProperties*>(GetProperties()); }
  TClass GetPropertiesClass() const override;
};

namespace cxPopupEdit {
// Registers TcxPopupEditProperties in the editor properties list. Idempotent.
void Initialize();
}  // namespace cxPopupEdit
