// Dragging a control to dock it: TDragDockObject (what a dock drag carries: the docking
// rectangle, the side and the client it would drop beside) and the dock drag itself.
//
// A dock drag runs in the drag manager like any drag (DragObject.h) but looks for dock sites
// instead of drop targets: each move asks the sites registered under the mouse (GetSiteInfo,
// then DockOver) where the control would go, and shows that rectangle as a frame on the screen;
// where no site takes it, the frame shows where it would float. Releasing docks it into the
// site (the old host letting go) or floats it there; Escape cancels. OnEndDock tells the control
// its new host (null when nothing changed).
#pragma once

#include <vector>

#include "platform/forms/controls/DragObject.h"

class TDragDockObject : public TDragControlObject {
public:
  explicit TDragDockObject(TControl* AControl);

  // Screen coordinates: where the control goes when dropped now.
  RECT GetDockRect() const { return FDockRect; }
  void SetDockRect(const RECT& Value) { FDockRect = Value; }
  // The side of DropOnControl (a client of the target site) it docks to; alNone: the site's
  // default place.
  TAlign GetDropAlign() const { return FDropAlign; }
  void SetDropAlign(TAlign Value) { FDropAlign = Value; }
  TControl* GetDropOnControl() const { return FDropOnControl; }
  void SetDropOnControl(TControl* Value) { FDropOnControl = Value; }
  // No site takes it: it would float at DockRect.
  bool GetFloating() const { return FFloating; }
  void SetFloating(bool Value) { FFloating = Value; }
  // The site under the mouse that accepted it; null when floating.
  TWinControl* GetDockTarget() const { return FDockTarget; }
  // Width of the frame drawn for DockRect.
  int GetFrameWidth() const { return FFloating ? 4 : 2; }
  // Where the mouse holds the control, from the control's top-left corner.
  POINT GetGrabOffset() const { return FGrabOffset; }
  void SetGrabOffset(POINT Value) { FGrabOffset = Value; }
  TCursor GetDragCursor(bool Accepted, int X, int Y) override { return crDefault; }

private:
  RECT FDockRect{};
  TAlign FDropAlign = alNone;
  TControl* FDropOnControl = nullptr;
  bool FFloating = true;
  TWinControl* FDockTarget = nullptr;
  POINT FGrabOffset{};
  friend struct TDockDragAccess;
};

namespace DockDrag {
// The sites the drag looks at (TWinControl::SetDockSite keeps the list).
void RegisterSite(TWinControl* Site);
void UnregisterSite(TWinControl* Site);
// The site a dock drag of Control would go to at a screen point, or null.
TWinControl* FindDockSite(TControl* Control, POINT Pos);

// The drag manager's steps for a dock drag.
void Started(TDragDockObject* Source, POINT Pos);
void DragTo(TDragDockObject* Source, POINT Pos);
// Docks or floats as the last move said when Drop; tells the control (OnEndDock).
void Finish(TDragDockObject* Source, bool Drop);
// A control is going: a drag over it forgets it.
void ControlGone(TControl* Control);

// The frame shown for the docking rectangle: its screen rectangle, empty while none shows.
RECT FrameRect();

// Places a floating host (or a floating form) so that its client area covers R (screen).
void PlaceClientArea(TWinControl* Window, const RECT& R);
}  // namespace DockDrag
