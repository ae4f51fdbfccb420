// The editor style: a container style with three values of its own (button style, button
// transparency, pop-up border style, bits 8 to 10 of AssignedValues), looked up like the
// container's own values through the style controller chain, and TcxEditStyleController, which
// holds one editor style for many editors.
#pragma once

#include "controls/editors/edit/cxEditTypes.h"
#include "controls/framework/cxContainerStyle.h"

// The bits of the three editor values in AssignedValues.
constexpr int svButtonStyle = 8, svButtonTransparency = 9, svPopupBorderStyle = 10;

class TcxCustomEditStyle : public TcxContainerStyle {
  PELTO_DECLARE_CLASS(TcxCustomEditStyle, TcxContainerStyle)
public:
  using TConstructArg = TPersistent*;
  explicit TcxCustomEditStyle(TPersistent* AOwner, bool AIsReference = false);
  void Assign(TPersistent* Source) override;

  TcxEditBorderStyle GetEditBorderStyle() const { return TcxEditBorderStyle(GetBorderStyle()); }
  void SetEditBorderStyle(TcxEditBorderStyle Value) { SetBorderStyle(TcxContainerBorderStyle(Value)); }
  TcxEditButtonStyle GetButtonStyle() const;
  void SetButtonStyle(TcxEditButtonStyle Value);
  TcxEditButtonTransparency GetButtonTransparency() const;
  void SetButtonTransparency(TcxEditButtonTransparency Value);
  TcxEditPopupBorderStyle GetPopupBorderStyle() const;
  void SetPopupBorderStyle(TcxEditPopupBorderStyle Value);
  bool GetPopupCloseButton() const { return FPopupCloseButton; }
  void SetPopupCloseButton(bool Value);
  // The container's assigned values plus bits 8 to 10.
  unsigned GetEditAssignedValues() const;
  void SetEditAssignedValues(unsigned Value);

  TColor GetEffectiveColor() const override;
  bool IsValueAssigned(int AValue) const override;
  int GetStyleValueCount() const override { return 11; }
  bool GetStyleValueName(int AValue, AnsiString& Name) const override;
  void RestoreDefaults() override;
  // Whether the value is written to a stream: assigned here, and not among the owning editor's
  // not-stored values.
  bool IsEditValueStored(int AValue) const;

protected:
  virtual TcxEditButtonStyle GetDefaultButtonStyle() const { return btsDefault; }
  virtual TcxEditButtonTransparency GetDefaultButtonTransparency() const { return ebtNone; }
  virtual TcxEditPopupBorderStyle GetDefaultPopupBorderStyle() const { return epbsDefault; }

private:
  bool IsOwnBitAssigned(int AValue) const { return (FEditAssigned >> (AValue - 8)) & 1; }
  // The style or controller style up the chain that assigns the value; null for none.
  const TcxCustomEditStyle* AssigningEditStyle(int AValue) const;
  void SetEditValue(int AValue, bool Equal, int Store);

  TcxEditButtonStyle FButtonStyle = btsDefault;
  TcxEditButtonTransparency FButtonTransparency = ebtNone;
  TcxEditPopupBorderStyle FPopupBorderStyle = epbsDefault;
  bool FPopupCloseButton = true;
  unsigned FEditAssigned = 0;  // bits 0..2 stand for values 8..10
};

class TcxEditStyle : public TcxCustomEditStyle {
  PELTO_DECLARE_CLASS(TcxEditStyle, TcxCustomEditStyle)
public:
  using TcxCustomEditStyle::TcxCustomEditStyle;

  PELTO_PUBLISHED(p);
};

class TcxEditStyleController : public TcxStyleController {
  PELTO_DECLARE_CLASS(TcxEditStyleController, TcxStyleController)
public:
  explicit TcxEditStyleController(TComponent* AOwner);
  TcxEditStyle* GetEditStyle() const { return static_cast<TcxEditStyle*>(GetStyle()); }

protected:
  std::unique_ptr<TcxContainerStyle> CreateStyle() override { return std::make_unique<TcxEditStyle>(this); }
};
