#include "platform/forms/controls/SizeConstraints.h"

#include <algorithm>

#include "platform/forms/controls/Control.h"

TSizeConstraints::TSizeConstraints(TControl* Control) : FControl(Control) {}

TPersistent* TSizeConstraints::GetOwner() { return FControl; }

void TSizeConstraints::Assign(TPersistent* Source)
{
  auto* src = dynamic_cast<TSizeConstraints*>(Source);
  if (!src) return TPersistent::Assign(Source);
  FMinHeight = src->FMinHeight;
  FMaxHeight = src->FMaxHeight;
  FMinWidth = src->FMinWidth;
  FMaxWidth = src->FMaxWidth;
  Change();
}

void TSizeConstraints::SetMaxHeight(int Value)
{
  Value = std::max(Value, 0);
  if (Value == FMaxHeight) return;
  FMaxHeight = Value;
  if (Value > 0 && Value < FMinHeight) FMinHeight = Value;
  Change();
}

void TSizeConstraints::SetMaxWidth(int Value)
{
  Value = std::max(Value, 0);
  if (Value == FMaxWidth) return;
  FMaxWidth = Value;
  if (Value > 0 && Value < FMinWidth) FMinWidth = Value;
  Change();
}

void TSizeConstraints::SetMinHeight(int Value)
{
  Value = std::max(Value, 0);
  if (Value == FMinHeight) return;
  FMinHeight = Value;
  if (FMaxHeight > 0 && Value > FMaxHeight) FMaxHeight = Value;
  Change();
}

void TSizeConstraints::SetMinWidth(int Value)
{
  Value = std::max(Value, 0);
  if (Value == FMinWidth) return;
  FMinWidth = Value;
  if (FMaxWidth > 0 && Value > FMaxWidth) FMaxWidth = Value;
  Change();
}

void TSizeConstraints::Change()
{
  if (OnChange) OnChange(this);
}
