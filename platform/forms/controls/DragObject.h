// Dragging between controls: TDragObject (what is dragged), TDragControlObject (a control
// dragged by itself), and the drag manager that runs one drag at a time.
//
// A drag starts with TControl::BeginDrag: at once, or once the mouse moves past the threshold
// with the button held (a release before that is an ordinary click). While it runs, the source
// holds the mouse capture; each move finds the control under the mouse and asks it through
// CM_DRAG (dmDragEnter / dmDragMove / dmDragLeave, answered by its DragOver) whether it takes the
// source, and the cursor shows the answer. Releasing the button over a control that accepted
// drops (dmDragDrop, its DragDrop); Escape, a right press or a release elsewhere cancels. The
// source hears of the end through its OnEndDrag (Target null when nothing took it).
//
// Ownership: a drag object the source supplies in OnStartDrag stays the source's; one the manager
// made (TDragControlObject) is freed when the drag ends.
#pragma once

#include "platform/forms/controls/Control.h"

enum TDragMessage { dmDragEnter, dmDragLeave, dmDragMove, dmDragDrop, dmDragCancel, dmFindTarget };

class TDragObject;

// CM_DRAG's LParam.
struct TDragRec {
  POINT Pos;  // screen
  TDragObject* Source = nullptr;
  TControl* Target = nullptr;
};

class TDragObject : public TObject {
public:
  TDragObject() = default;
  ~TDragObject() override = default;

  // The cursor over a target that accepts (or refuses) the drop, at a point of the target.
  virtual TCursor GetDragCursor(bool Accepted, int X, int Y) { return Accepted ? crDrag : crNoDrop; }
  // The images shown under the cursor (borrowed); none here.
  virtual TDragImageList* GetDragImages() { return nullptr; }
  // The drag ended: Target took it at (X, Y) of its client area when Accepted.
  virtual void Finished(TObject* Target, int X, int Y, bool Accepted) {}
  // What DragOver and DragDrop receive as Source: the dragged control for a control's drag
  // object, the object itself otherwise.
  virtual TObject* DragSource() { return this; }
  // The control that started the drag, if a control did.
  virtual TControl* GetControl() { return nullptr; }

  POINT GetDragPos() const { return FDragPos; }
  TControl* GetDragTarget() const { return FDragTarget; }
  bool GetCancelling() const { return FCancelling; }
  bool GetDropped() const { return FDropped; }

private:
  POINT FDragPos;
  TControl* FDragTarget = nullptr;
  bool FCancelling = false;
  bool FDropped = false;
  friend struct TDragState_;
  friend class TDragManagerAccess;
};

class TDragControlObject : public TDragObject {
public:
  explicit TDragControlObject(TControl* AControl) : FControl(AControl) {}

  TControl* GetControl() override { return FControl; }
  TObject* DragSource() override { return FControl; }
  // The control's DragCursor where accepted, crNoDrop elsewhere.
  TCursor GetDragCursor(bool Accepted, int X, int Y) override;
  TDragImageList* GetDragImages() override;
  // Tells the control (its OnEndDrag).
  void Finished(TObject* Target, int X, int Y, bool Accepted) override;

private:
  TControl* FControl;
};

namespace DragManager {
// The source control of a pending or running drag; the drag object of a running one.
TControl* DragControl();
TDragObject* Source();
bool Dragging();
// Begins a drag of Control (TControl::BeginDrag calls it).
void BeginDrag(TControl* Control, bool Immediate, int Threshold);
// Begins a dock drag of Control (DockDrag.h), whatever its DragKind; a negative Threshold is
// Mouse.DragThreshold.
void BeginDock(TControl* Control, bool Immediate, int Threshold);
// The mouse moved to a screen point / was released there (the source's WndProc calls these).
void DragTo(POINT Pos);
void Finish(bool Drop, POINT Pos);
// Ends the drag: drops where the last target accepted when Drop, else cancels.
void EndDrag(bool Drop);
void CancelDrag();
// A control is going: it is no longer a target.
void ControlGone(TControl* Control);
// Whether the last target accepted the source.
bool Accepted();
}  // namespace DragManager
