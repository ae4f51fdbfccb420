// TSizeConstraints: the smallest and largest width and height a control accepts (0: no limit).
// A change applies at once to the control that owns the constraints.
#pragma once

#include <functional>

#include "platform/classes/Persistent.h"

class TControl;

class TSizeConstraints : public TPersistent {
  PELTO_CLASS(TSizeConstraints, TPersistent)
public:
  // Control is the owner of the constraints (may be null for a free-standing set).
  explicit TSizeConstraints(TControl* Control);

  void Assign(TPersistent* Source) override;

  int GetMaxHeight() const { return FMaxHeight; }
  int GetMaxWidth() const { return FMaxWidth; }
  int GetMinHeight() const { return FMinHeight; }
  int GetMinWidth() const { return FMinWidth; }
  // Negative values count as 0; a minimum above the maximum lifts the maximum, and the other
  // way round.
  void SetMaxHeight(int Value);
  void SetMaxWidth(int Value);
  void SetMinHeight(int Value);
  void SetMinWidth(int Value);

  std::function<void(TObject* Sender)> OnChange;

  PELTO_PUBLISHED(p)
  {
    p.Property("MaxHeight", &ThisClass::GetMaxHeight, &ThisClass::SetMaxHeight).Default(0);
    p.Property("MaxWidth", &ThisClass::GetMaxWidth, &ThisClass::SetMaxWidth).Default(0);
    p.Property("MinHeight", &ThisClass::GetMinHeight, &ThisClass::SetMinHeight).Default(0);
    p.Property("MinWidth", &ThisClass::GetMinWidth, &ThisClass::SetMinWidth).Default(0);
  }

protected:
  void Change();
  TPersistent* GetOwner() override;

private:
  TControl* FControl;
  int FMaxHeight = 0, FMaxWidth = 0, FMinHeight = 0, FMinWidth = 0;
};
