// Dragging in the control family. TcxDragAndDropObject is one gesture inside one TcxControl,
// driven by the control's mouse capture: BeginDragAndDrop once, DragAndDrop on every move,
// BeforeEndDragAndDrop and EndDragAndDrop at the end (Accepted true on release, false on Escape
// or cancel mode). TcxDragControlObject is the family's object for the class library's drag
// between controls: it frees itself when the drag is over and shows the copy cursor while Ctrl
// is held.
//
// Mouse-leave tracking: BeginMouseTracking starts a 10 ms timer per caller that reports once,
// through the caller's MouseLeave, when the cursor has left the control or area; the timer then
// ends. Tracking a caller twice is ignored.
#pragma once

#include "controls/framework/cxControls.h"
#include "platform/forms/controls/DragObject.h"
#include "platform/forms/controls/ImgList.h"

class TcxDragAndDropObject : public TObject {
  PELTO_DECLARE_CLASS(TcxDragAndDropObject, TObject)
public:
  explicit TcxDragAndDropObject(TcxControl* AControl);
  ~TcxDragAndDropObject() override = default;

  TcxControl* GetControl() const { return FControl; }
  TcxCanvas* GetCanvas() const;
  POINT GetCurMousePos() const { return FCurMousePos; }
  POINT GetPrevMousePos() const { return FPrevMousePos; }
  bool GetDirty() const { return FDirty; }
  // Calls DirtyChanged only on a change.
  void SetDirty(bool Value);

  virtual void DirtyChanged() {}
  virtual TCursor GetDragAndDropCursor(bool Accepted) { return Accepted ? crDrag : crNoDrop; }
  // True makes the gesture begin on the press itself.
  virtual bool GetImmediateStart() { return false; }
  virtual void EndDragAndDrop(bool Accepted) {}
  virtual void BeginDragAndDrop() { DirtyChanged(); }
  virtual void DragAndDrop(POINT P, bool& Accepted);
  virtual void BeforeEndDragAndDrop(bool Accepted) { SetDirty(true); }

private:
  friend class TcxControl;
  TcxControl* FControl;
  POINT FCurMousePos{-1, -1}, FPrevMousePos{-1, -1};
  bool FDirty = false;
};

// Made by TcxControl for the class library's drag; deletes itself in Finished.
class TcxDragControlObject : public TDragControlObject {
public:
  explicit TcxDragControlObject(TControl* AControl) : TDragControlObject(AControl) {}
  void Finished(TObject* Target, int X, int Y, bool Accepted) override;
  // The copy cursor (2100) while accepted with Ctrl held.
  TCursor GetDragCursor(bool Accepted, int X, int Y) override;
};

class TcxDragImageList : public TDragImageList {
  PELTO_DECLARE_CLASS(TcxDragImageList, TDragImageList)
public:
  using TDragImageList::TDragImageList;
};

class IcxMouseTrackingCaller {
public:
  virtual ~IcxMouseTrackingCaller() = default;
  virtual void MouseLeave() = 0;
};

// A caller that decides itself whether a client point of the tracked control is inside it.
class IcxMouseTrackingCaller2 : public IcxMouseTrackingCaller {
public:
  virtual bool PtInCaller(POINT P) = 0;
};

namespace cxControls {
// A modal loop that tells a click from a drag: 1 when the mouse leaves a square of twice the drag
// threshold around where it was, 0 on a button release, 2 on Escape, loss of the capture or
// WM_QUIT (posted again). Every message it takes is dispatched.
int DragDetect(HWND Window);

// Control may be null (then Rect is in screen coordinates); otherwise Rect is in its client
// coordinates. Nothing when the caller is already tracked.
void BeginMouseTracking(TControl* AControl, const RECT& R, IcxMouseTrackingCaller* Caller);
void EndMouseTracking(IcxMouseTrackingCaller* Caller);
bool IsMouseTracking(IcxMouseTrackingCaller* Caller);
// Posts a WM_MOUSEMOVE at P (client) or, with P null, at the cursor, so hot tracking is
// refreshed under a still mouse.
void PostMouseMove(TWinControl* AControl, const POINT* P = nullptr);
// How many tracking timers run.
int MouseTrackingCount();
// Frees the timers left over (closing the program while something is hot-tracked).
void FreeMouseTrackingTimers();
}  // namespace cxControls
