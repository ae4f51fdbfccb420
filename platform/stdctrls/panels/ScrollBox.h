// TScrollBox: a container that scrolls the controls it holds (TScrollingWinControl with its
// automatic ranges), with a sunken single border by default.
#pragma once

#include "platform/forms/controls/ScrollingWinControl.h"

class TScrollBox : public TScrollingWinControl {
  PELTO_CLASS(TScrollBox, TScrollingWinControl)
public:
  explicit TScrollBox(TComponent* AOwner);

  TBorderStyle GetBorderStyle() const { return FBorderStyle; }
  // bsSingle or bsNone; the window is made again with the new edge.
  void SetBorderStyle(TBorderStyle Value);

  PELTO_PUBLISHED(p)
  {
    p.Property("BorderStyle", &ThisClass::GetBorderStyle, &ThisClass::SetBorderStyle).Default(bsSingle);
  }

protected:
  void CreateParams(TCreateParams& Params) override;

private:
  TBorderStyle FBorderStyle = bsSingle;
};
