// TcxCustomInnerListBox: the system list box a container hosts. It keeps the list box's items,
// selection and keys, but its native scroll bars are covered by two painted TcxScrollBar controls
// placed on the container exactly where the native bars are, which drive them; and every user
// event goes on to the container in the container's coordinates, so the pair acts as one control.
//
// Thumb tracking hands the bar's 32-bit position to the list box's scroll information before
// SB_THUMBTRACK, so lists of more than 65,535 items reach the right line.
#pragma once

#include <memory>

#include "controls/framework/cxContainer.h"
#include "controls/framework/cxScrollBar.h"
#include "platform/stdctrls/lists/ListBox.h"

class TcxCustomInnerListBox : public TCustomListBox, public IcxContainerInnerControl {
  PELTO_DECLARE_CLASS(TcxCustomInnerListBox, TCustomListBox)
public:
  explicit TcxCustomInnerListBox(TComponent* AOwner);
  ~TcxCustomInnerListBox() override;

  TcxContainer* GetContainer() const { return FContainer; }
  void SetContainer(TcxContainer* Value) { FContainer = Value; }
  TcxScrollBar* GetHScrollBar() const { return FHScrollBar; }
  TcxScrollBar* GetVScrollBar() const { return FVScrollBar; }
  TcxLookAndFeel* GetLookAndFeel() const { return FLookAndFeel.get(); }
  // The square between the two bars in window coordinates; empty unless both are visible.
  RECT GetSizeGripRect();

  TWinControl* GetControl() override { return this; }
  TcxContainer* GetControlContainer() override { return FContainer; }

  void Click() override;
  void DblClick() override;
  virtual void LookAndFeelChanged();
  virtual void SyncScrollBars();

protected:
  void CreateParams(TCreateParams& Params) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void WndProc(TMessage& Message) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  bool DoMouseWheel(TShiftState Shift, int WheelDelta, POINT MousePos) override;
  void KeyDown(Word& Key, TShiftState Shift) override;
  void KeyPress(char& Key) override;
  void KeyUp(Word& Key, TShiftState Shift) override;
  void DragOver(TObject* Source, int X, int Y, TDragState State, bool& Accept) override;
  void DragDrop(TObject* Source, int X, int Y) override;
  virtual void MouseEnter(TControl* AControl) {}
  virtual void MouseLeave(TControl* AControl);

private:
  void BarScroll(TScrollBarKind Kind, TScrollCode Code, int& Pos);
  void SyncBar(TcxScrollBar* Bar, LONG Object, int BarKind);
  bool HandleContainerDrag(TMessage& Message);
  bool Destroying() const;

  TcxContainer* FContainer = nullptr;  // borrowed
  std::unique_ptr<TcxCanvas> FCanvas;
  std::unique_ptr<TcxLookAndFeel> FLookAndFeel;
  TcxScrollBar* FHScrollBar = nullptr;  // owned by the list box (component ownership)
  TcxScrollBar* FVScrollBar = nullptr;
  int FBlockSync = 0;
  bool FSyncing = false;
  bool FRedrawOff = false;
};
