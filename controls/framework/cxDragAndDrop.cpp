// Sections: the drag-and-drop object -> the control's own drag and drop -> the class library's
// drag -> DragDetect -> mouse-leave tracking.
#include "controls/framework/cxDragAndDrop.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "controls/framework/cxGraphics.h"
#include "platform/rtl/Guards.h"
#include "platform/forms/app/Mouse.h"
#include "platform/forms/app/Timer.h"
#include "platform/forms/controls/Controls.h"
#include "platform/forms/graphics/Bitmap.h"
#include "platform/win/input/Focus.h"
#include "platform/win/queue/Messages.h"
#include "platform/win/window/Rects.h"
#include "platform/win/window/Windows.h"

// ---- TcxDragAndDropObject

TcxDragAndDropObject::TcxDragAndDropObject(TcxControl* AControl) : FControl(AControl) {}

TcxCanvas* TcxDragAndDropObject::GetCanvas() const { return FControl->GetCanvas(); }

void TcxDragAndDropObject::SetDirty(bool Value)
{
  if (FDirty == Value) return;
  FDirty = Value;
  DirtyChanged();
}

void TcxDragAndDropObject::DragAndDrop(POINT, bool& Accepted)
{
  SetDirty(false);
  Controls::AppLink().SetScreenCursor(GetDragAndDropCursor(Accepted));
}

// ---- The control's own drag and drop

TcxControl::TcxDragAndDropObjectClass TcxControl::GetDragAndDropObjectClass()
{
  if (FDragAndDropObjectClass) return FDragAndDropObjectClass;
  return [](TcxControl* C) { return new TcxDragAndDropObject(C); };
}

TcxDragAndDropObject* TcxControl::GetDragAndDropObject()
{
  if (!FDragAndDropObject) FDragAndDropObject.reset(GetDragAndDropObjectClass()(this));
  return FDragAndDropObject.get();
}

void TcxControl::SetDragAndDropState(TcxDragAndDropState Value)
{
  if (FDragAndDropState == Value) return;
  FDragAndDropState = Value;
  if (Value == ddsNone && !FFinishingDragAndDrop) ReleaseMouseCaptureObject();
}

void TcxControl::BeginDragAndDrop()
{
  TcxDragAndDropObject* object = GetDragAndDropObject();
  POINT p;
  Windows::GetCursorPos(&p);
  p = ScreenToClient(p);
  object->FCurMousePos = p;
  object->FPrevMousePos = p;
  object->BeginDragAndDrop();
  Controls::SetCaptureControl(this);
  FDragAndDropPrevCursor = Controls::AppLink().ScreenCursor();
  SetDragAndDropState(ddsDragging);
}

void TcxControl::DragAndDrop(POINT P, bool& Accepted)
{
  TcxDragAndDropObject* object = GetDragAndDropObject();
  object->FPrevMousePos = object->FCurMousePos;
  object->FCurMousePos = P;
  object->DragAndDrop(P, Accepted);
}

void TcxControl::EndDragAndDrop(bool Accepted)
{
  SetDragAndDropState(ddsNone);
  Controls::AppLink().SetScreenCursor(FDragAndDropPrevCursor);
  if (Controls::GetCaptureControl() == this) Controls::SetCaptureControl(nullptr);
  SetMouseCaptureObject(nullptr);
  TcxDragAndDropObject* object = GetDragAndDropObject();
  object->BeforeEndDragAndDrop(Accepted);
  object->EndDragAndDrop(Accepted);
}

void TcxControl::FinishDragAndDrop(bool Accepted)
{
  if (FFinishingDragAndDrop) return;
  {
    TValueGuard finishing(FFinishingDragAndDrop, true);
    if (FDragAndDropState == ddsDragging)
      EndDragAndDrop(Accepted);
    else
      FDragAndDropState = ddsNone;
  }
  FDragAndDropObject.reset();
}

// ---- The class library's drag

void TcxControl::StartAutoDragOnMove(TMouseButton Button, int X, int Y)
{
  if (Button == mbMiddle) {
    StartPanning();
    return;
  }
  if (Button != mbLeft || GetDragMode() != dmAutomatic || IsDesigning()) return;
  if (!IsDragAllowedAt(X, Y) || !CanBeginAutoDrag(X, Y) || !HandleAllocated()) return;
  TcxControl* self = this;
  AddSelfReference(&self);
  int detected = cxControls::DragDetect(GetHandle());
  if (!self) return;
  RemoveSelfReference(&self);
  if (detected == 1) BeginDrag(true, -1);
}

TcxControl::TDragObjectClass TcxControl::GetDragObjectClass()
{
  return [](TControl* C) -> TDragObject* { return new TcxDragControlObject(C); };
}

void TcxControl::DoStartDrag(TDragObject*& DragObject)
{
  TCustomControl::DoStartDrag(DragObject);
  if (DragObject) return;
  // The object frees itself when the drag finishes (TcxDragControlObject::Finished).
  std::unique_ptr<TDragObject> made(GetDragObjectClass()(this));
  if (!StartDrag(made.get())) {
    DragManager::CancelDrag();
    return;
  }
  DragObject = made.release();
}

void TcxControl::DoEndDrag(TObject* Target, int X, int Y)
{
  TCustomControl::DoEndDrag(Target, X, Y);
  FDragImages.reset();
}

TDragImageList* TcxControl::CreateDragImages() { return new TcxDragImageList(nullptr); }

TDragImageList* TcxControl::GetDragImages()
{
  if (!HasDragImages()) return nullptr;
  if (!FDragImages) {
    FDragImages.reset(CreateDragImages());
    InitDragImages(FDragImages.get());
  }
  return FDragImages.get();
}

void TcxControl::InitDragImages(TDragImageList* AImages)
{
  SIZE size = GetDragImagesSize();
  AImages->SetWidth(size.cx);
  AImages->SetHeight(size.cy);
  if (size.cx <= 0 || size.cy <= 0) return;
  TBitmap bitmap;
  bitmap.SetSize(size.cx, size.cy);
  TcxCanvas canvas(bitmap.GetCanvas());
  DrawDragImage(&canvas, RECT{0, 0, size.cx, size.cy});
  AImages->AddMasked(&bitmap, bitmap.GetTransparentColor());
}

// ---- TcxDragControlObject

void TcxDragControlObject::Finished(TObject* Target, int X, int Y, bool Accepted)
{
  TDragControlObject::Finished(Target, X, Y, Accepted);
  delete this;
}

TCursor TcxDragControlObject::GetDragCursor(bool Accepted, int X, int Y)
{
  if (Accepted && cxControls::IsCtrlPressed()) return crcxDragCopy;
  return TDragControlObject::GetDragCursor(Accepted, X, Y);
}

// ---- DragDetect

namespace cxControls {

int DragDetect(HWND Window)
{
  Windows::SetCapture(Window);
  POINT start;
  Windows::GetCursorPos(&start);
  const int t = Controls::Mouse ? Controls::Mouse->GetDragThreshold() : Controls::AppLink().DragThreshold();
  const RECT square{start.x - t, start.y - t, start.x + t, start.y + t};
  int result = 2;
  for (;;) {
    MSG msg{};
    BOOL got;
    try {
      got = Windows::GetMessage(&msg, nullptr, 0, 0);
    } catch (const Exception&) {
      got = -1;  // nothing can arrive any more
    }
    if (got == -1) break;
    if (got == 0) {
      Windows::PostQuitMessage(int(msg.wParam));
      break;
    }
    Windows::TranslateMessage(&msg);
    Windows::DispatchMessage(&msg);
    bool done = true;
    switch (msg.message) {
      case WM_MOUSEMOVE: {
        POINT p{GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam)};
        Windows::ClientToScreen(msg.hwnd, &p);
        if (Windows::PtInRect(&square, p))
          done = false;
        else
          result = 1;
        break;
      }
      case WM_LBUTTONUP:
      case WM_RBUTTONUP:
      case WM_MBUTTONUP: result = 0; break;
      case WM_KEYDOWN:
      case WM_KEYUP: done = msg.wParam == VK_ESCAPE; break;
      default: done = false; break;
    }
    if (done) break;
    if (Windows::GetCapture() != Window) break;
  }
  if (Windows::GetCapture() == Window) Windows::ReleaseCapture();
  return result;
}

// ---- Mouse-leave tracking

namespace {

class TMouseTrackingTimer : public TTimer {
public:
  TMouseTrackingTimer(TControl* AControl, const RECT& ABounds, IcxMouseTrackingCaller* ACaller);
  ~TMouseTrackingTimer() override;
  IcxMouseTrackingCaller* Caller;
  TControl* Control;
  RECT Bounds;  // screen

protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

private:
  void Tick();
};

std::vector<std::unique_ptr<TMouseTrackingTimer>>& TimerList()
{
  static std::vector<std::unique_ptr<TMouseTrackingTimer>> list;
  return list;
}

TMouseTrackingTimer* FindTimer(IcxMouseTrackingCaller* Caller)
{
  for (auto& t : TimerList())
    if (t->Caller == Caller) return t.get();
  return nullptr;
}

bool TimerAlive(TMouseTrackingTimer* Timer)
{
  for (auto& t : TimerList())
    if (t.get() == Timer) return true;
  return false;
}

void FreeTimer(TMouseTrackingTimer* Timer)
{
  auto& list = TimerList();
  auto it = std::find_if(list.begin(), list.end(), [&](auto& t) { return t.get() == Timer; });
  if (it == list.end()) return;
  std::unique_ptr<TMouseTrackingTimer> gone = std::move(*it);
  list.erase(it);
}

TMouseTrackingTimer::TMouseTrackingTimer(TControl* AControl, const RECT& ABounds, IcxMouseTrackingCaller* ACaller)
    : TTimer(nullptr), Caller(ACaller), Control(AControl), Bounds(ABounds)
{
  if (Control) Control->FreeNotification(this);
  SetInterval(10);
  SetOnTimer([this](TObject*) { Tick(); });
  SetEnabled(true);
}

TMouseTrackingTimer::~TMouseTrackingTimer()
{
  if (Control) Control->RemoveFreeNotification(this);
}

// A tracked control that goes takes its timer with it: nobody is left to hear of the leave.
void TMouseTrackingTimer::Notification(TComponent* AComponent, TOperation Operation)
{
  TTimer::Notification(AComponent, Operation);
  if (Operation != opRemove || AComponent != Control) return;
  Control = nullptr;
  FreeTimer(this);
}

void TMouseTrackingTimer::Tick()
{
  POINT cursor;
  Windows::GetCursorPos(&cursor);
  auto* winControl = dynamic_cast<TWinControl*>(Control);
  bool inside;
  if (auto* caller2 = dynamic_cast<IcxMouseTrackingCaller2*>(Caller)) {
    inside = winControl && winControl->HandleAllocated() && caller2->PtInCaller(Control->ScreenToClient(cursor));
  } else {
    inside = Windows::PtInRect(&Bounds, cursor) != 0;
  }
  if (inside) return;
  IcxMouseTrackingCaller* caller = Caller;
  if (winControl && winControl->HandleAllocated()) {
    POINT c = winControl->ScreenToClient(cursor);
    RECT client = winControl->GetClientRect();
    if (!Windows::PtInRect(&client, c)) winControl->Perform(CM_MOUSELEAVE, 0, reinterpret_cast<LPARAM>(winControl));
  }
  // The leave handler may have ended the tracking (and so freed this timer) already.
  if (!TimerAlive(this)) return;
  caller->MouseLeave();
  EndMouseTracking(caller);
}

}  // namespace

void BeginMouseTracking(TControl* AControl, const RECT& R, IcxMouseTrackingCaller* Caller)
{
  if (!Caller || FindTimer(Caller)) return;
  RECT bounds = R;
  if (AControl) {
    POINT tl = AControl->ClientToScreen(POINT{R.left, R.top});
    POINT br = AControl->ClientToScreen(POINT{R.right, R.bottom});
    bounds = RECT{tl.x, tl.y, br.x, br.y};
  }
  TimerList().push_back(std::make_unique<TMouseTrackingTimer>(AControl, bounds, Caller));
}

void EndMouseTracking(IcxMouseTrackingCaller* Caller)
{
  if (TMouseTrackingTimer* t = FindTimer(Caller)) FreeTimer(t);
}

bool IsMouseTracking(IcxMouseTrackingCaller* Caller) { return FindTimer(Caller) != nullptr; }

int MouseTrackingCount() { return int(TimerList().size()); }

void FreeMouseTrackingTimers()
{
  auto& list = TimerList();
  while (!list.empty()) FreeTimer(list.back().get());
}

void PostMouseMove(TWinControl* AControl, const POINT* P)
{
  if (!AControl || !AControl->HandleAllocated()) return;
  POINT p;
  if (P) {
    p = *P;
  } else {
    Windows::GetCursorPos(&p);
    p = AControl->ScreenToClient(p);
  }
  Windows::PostMessage(AControl->GetHandle(), WM_MOUSEMOVE, 0, MAKELPARAM(p.x, p.y));
}

}  // namespace cxControls

PELTO_DEFINE_CLASS(TcxDragAndDropObject)

PELTO_DEFINE_CLASS(TcxDragImageList)
