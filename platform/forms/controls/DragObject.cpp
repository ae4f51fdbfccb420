#include "platform/forms/controls/DragObject.h"

#include <cstdlib>
#include <memory>

#include "platform/forms/controls/Controls.h"
#include "platform/forms/controls/DockDrag.h"
#include "platform/forms/controls/ImgList.h"
#include "platform/forms/controls/WinControl.h"
#include "platform/win/caret/Cursors.h"
#include "platform/win/input/Focus.h"
#include "platform/win/queue/Messages.h"
#include "platform/win/window/Windows.h"

TCursor TDragControlObject::GetDragCursor(bool Accepted, int X, int Y)
{
  return Accepted ? FControl->GetDragCursor() : crNoDrop;
}

TDragImageList* TDragControlObject::GetDragImages() { return FControl->GetDragImages(); }

void TDragControlObject::Finished(TObject* Target, int X, int Y, bool Accepted)
{
  TControlAccess::DoEndDrag(FControl, Accepted ? Target : nullptr, X, Y);
}

struct TDragState_ {
  static void Set(TDragObject* o, POINT pos, TControl* target)
  {
    o->FDragPos = pos;
    o->FDragTarget = target;
  }
  static void End(TDragObject* o, bool cancelling, bool dropped)
  {
    o->FCancelling = cancelling;
    o->FDropped = dropped;
  }
};

namespace {
struct TDragRun {
  TControl* Control = nullptr;  // the source, pending or dragging
  bool Active = false;          // past the threshold
  bool Dock = false;            // a dock drag (DockDrag.h)
  POINT StartPos;
  int Threshold = 0;
  TDragObject* Object = nullptr;
  std::unique_ptr<TDragObject> OwnObject;  // made here, freed at the end
  TControl* Target = nullptr;
  bool Accepted = false;
  TDragImageList* Images = nullptr;  // borrowed from the drag object while shown
  HWND ImageWindow = nullptr;        // the top-level window the image is drawn over
};
TDragRun gDrag;

LRESULT SendDrag(TControl* Target, TDragMessage Msg, POINT Pos)
{
  TDragRec rec{Pos, gDrag.Object, Target};
  return Target->Perform(CM_DRAG, WPARAM(Msg), reinterpret_cast<LPARAM>(&rec));
}

// Where a screen point lies in the window the drag image is drawn over.
POINT InImageWindow(POINT Pos)
{
  RECT r;
  Windows::GetWindowRect(gDrag.ImageWindow, &r);
  return POINT{Pos.x - r.left, Pos.y - r.top};
}

void ShowImages(TControl* control, POINT Pos)
{
  TDragImageList* images = gDrag.Object->GetDragImages();
  if (!images) return;
  TWinControl* holder = dynamic_cast<TWinControl*>(control) ? static_cast<TWinControl*>(control) : control->GetParent();
  if (!holder || !holder->HandleAllocated()) return;
  gDrag.ImageWindow = Windows::GetAncestor(holder->GetHandle(), GA_ROOT);
  POINT p = InImageWindow(Pos);
  if (images->BeginDrag(gDrag.ImageWindow, p.x, p.y)) gDrag.Images = images;
}

void Start()
{
  TControl* control = gDrag.Control;
  TDragObject* object = nullptr;
  if (gDrag.Dock)
    TControlAccess::DoStartDock(control, object);
  else
    TControlAccess::DoStartDrag(control, object);
  if (!gDrag.Control) return;  // the start handler cancelled
  if (gDrag.Dock && !dynamic_cast<TDragDockObject*>(object)) object = nullptr;
  if (!object) {
    if (gDrag.Dock)
      gDrag.OwnObject = std::make_unique<TDragDockObject>(control);
    else
      gDrag.OwnObject = std::make_unique<TDragControlObject>(control);
    object = gDrag.OwnObject.get();
  }
  gDrag.Object = object;
  gDrag.Active = true;
  // The source's window keeps the mouse while the drag runs.
  Controls::SetCaptureControl(control);
  if (gDrag.Dock)
    DockDrag::Started(static_cast<TDragDockObject*>(object), gDrag.StartPos);
  else
    ShowImages(control, Windows::GetMessagePos());
}

void Reset(bool EndClick)
{
  TControl* control = gDrag.Control;
  gDrag.Control = nullptr;
  gDrag.Active = false;
  gDrag.Object = nullptr;
  gDrag.Target = nullptr;
  gDrag.Accepted = false;
  if (gDrag.Images) gDrag.Images->EndDrag();
  gDrag.Images = nullptr;
  gDrag.ImageWindow = nullptr;
  std::unique_ptr<TDragObject> own = std::move(gDrag.OwnObject);
  if (control && Controls::GetCaptureControl() == control) Controls::SetCaptureControl(nullptr);
  if (control && EndClick) {
    // No click follows a drag.
    control->ControlState.Exclude(csLButtonDown);
    control->ControlState.Exclude(csClicked);
  }
  Windows::SetCursor(Controls::AppLink().CursorHandle(crDefault));
}
void BeginRun(TControl* Control, bool Immediate, int Threshold, bool Dock)
{
  if (gDrag.Control) return;
  gDrag = TDragRun{};
  gDrag.Control = Control;
  gDrag.Dock = Dock;
  gDrag.Threshold = Threshold;
  // Where the press was, not where the pointer has got to since.
  gDrag.StartPos = Windows::GetMessagePos();
  Controls::SetCaptureControl(Control);
  if (Immediate) {
    Start();
    if (gDrag.Active) DragManager::DragTo(gDrag.StartPos);
  }
}
}  // namespace

namespace DragManager {

TControl* DragControl() { return gDrag.Control; }
TDragObject* Source() { return gDrag.Active ? gDrag.Object : nullptr; }
bool Dragging() { return gDrag.Control != nullptr; }
bool Accepted() { return gDrag.Accepted; }

void BeginDrag(TControl* Control, bool Immediate, int Threshold)
{
  BeginRun(Control, Immediate, Threshold, Control->GetDragKind() == dkDock);
}

void BeginDock(TControl* Control, bool Immediate, int Threshold)
{
  if (Threshold < 0) Threshold = Controls::AppLink().DragThreshold();
  BeginRun(Control, Immediate, Threshold, true);
}

void DragTo(POINT Pos)
{
  if (!gDrag.Control) return;
  if (!gDrag.Active) {
    if (std::abs(Pos.x - gDrag.StartPos.x) < gDrag.Threshold && std::abs(Pos.y - gDrag.StartPos.y) < gDrag.Threshold)
      return;
    Start();
    if (!gDrag.Active) return;
  }
  if (gDrag.Dock) {
    auto* dock = static_cast<TDragDockObject*>(gDrag.Object);
    TDragState_::Set(dock, Pos, nullptr);
    DockDrag::DragTo(dock, Pos);
    Windows::SetCursor(Controls::AppLink().CursorHandle(crDefault));
    return;
  }
  TControl* target = Controls::FindDragTarget(Pos, false);
  if (target != gDrag.Target) {
    if (gDrag.Target) SendDrag(gDrag.Target, dmDragLeave, Pos);
    gDrag.Target = target;
    gDrag.Accepted = target && SendDrag(target, dmDragEnter, Pos) != 0;
  }
  if (!gDrag.Object) return;  // a handler ended the drag
  if (target) gDrag.Accepted = SendDrag(target, dmDragMove, Pos) != 0;
  if (!gDrag.Object) return;
  TDragState_::Set(gDrag.Object, Pos, target);
  if (gDrag.Images) {
    POINT p = InImageWindow(Pos);
    gDrag.Images->DragMove(p.x, p.y);
  }
  POINT local = target ? target->ScreenToClient(Pos) : Pos;
  TCursor cursor = gDrag.Object->GetDragCursor(gDrag.Accepted, local.x, local.y);
  Windows::SetCursor(Controls::AppLink().CursorHandle(cursor));
}

void Finish(bool Drop, POINT Pos)
{
  if (!gDrag.Control) return;
  if (!gDrag.Active) {
    Reset(false);
    return;
  }
  DragTo(Pos);
  EndDrag(Drop);
}

void EndDrag(bool Drop)
{
  if (!gDrag.Control) return;
  if (!gDrag.Active) {
    Reset(true);
    return;
  }
  TDragObject* object = gDrag.Object;
  if (gDrag.Dock) {
    TDragState_::End(object, !Drop, Drop);
    std::unique_ptr<TDragObject> own = std::move(gDrag.OwnObject);
    Reset(true);
    DockDrag::Finish(static_cast<TDragDockObject*>(object), Drop);
    return;
  }
  TControl* target = gDrag.Target;
  bool accepted = Drop && target && gDrag.Accepted;
  POINT pos = object->GetDragPos();
  TDragState_::End(object, !Drop, accepted);
  if (gDrag.Images) gDrag.Images->EndDrag();
  gDrag.Images = nullptr;
  // The capture goes first, so that the drop handlers may open windows and take the mouse.
  if (Controls::GetCaptureControl() == gDrag.Control) Controls::SetCaptureControl(nullptr);
  if (target) {
    if (accepted)
      SendDrag(target, dmDragDrop, pos);
    else
      SendDrag(target, dmDragLeave, pos);
  }
  POINT local = accepted ? target->ScreenToClient(pos) : pos;
  std::unique_ptr<TDragObject> own = std::move(gDrag.OwnObject);
  Reset(true);
  object->Finished(accepted ? static_cast<TObject*>(target) : nullptr, local.x, local.y, accepted);
}

void CancelDrag() { EndDrag(false); }

void ControlGone(TControl* Control)
{
  DockDrag::ControlGone(Control);
  if (gDrag.Target == Control) {
    gDrag.Target = nullptr;
    gDrag.Accepted = false;
  }
}

}  // namespace DragManager
