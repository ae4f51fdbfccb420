// Event adapters: an adapter bridges one host event signature to one script procedure. The
// event property of the host object holds a std::function that calls the adapter; the adapter
// hands the host's arguments to the procedure's parameters, runs it and copies var parameters
// back. The global list owns every adapter; the std::function only holds a weak link, so an
// event fired after its adapter is gone does nothing.
//
// Each adapter binds the event types of the controls and forms (TMouseEvent, TKeyEvent,
// TCloseEvent, ...) and, for host classes of the program's own, the script side's signatures
// below (ordinal buttons and actions, shift states as bit masks). The script sees ordinals and
// bit masks either way; var arguments go back in the host's own types. A property of any other
// type raises EInvalidCast.
#pragma once

#include <any>
#include <functional>
#include <memory>
#include <vector>

#include "platform/classes/Component.h"
#include "platform/rtl/Variants.h"

class TfsProcVariable;

using TfsMouseEventProc = std::function<void(TObject* Sender, Integer Button, Integer Shift, Integer X, Integer Y)>;
using TfsMouseMoveEventProc = std::function<void(TObject* Sender, Integer Shift, Integer X, Integer Y)>;
using TfsKeyEventProc = std::function<void(TObject* Sender, Word& Key, Integer Shift)>;
using TfsKeyPressEventProc = std::function<void(TObject* Sender, char& Key)>;
using TfsCloseEventProc = std::function<void(TObject* Sender, Integer& Action)>;
using TfsCloseQueryEventProc = std::function<void(TObject* Sender, bool& CanClose)>;
using TfsCanResizeEventProc = std::function<void(TObject* Sender, Integer& NewWidth, Integer& NewHeight, bool& Resize)>;

class TfsCustomEvent : public TObject {
public:
  TfsCustomEvent(TObject* ABoundObject, TfsProcVariable* AHandlerProc)
      : HandlerProc(AHandlerProc), BoundObject(ABoundObject)
  {}
  // The value for an event property of type PropType: a std::function of that type when the
  // adapter knows it, else of the script side's signature (also when PropType is null).
  virtual std::any GetMethod(const TTypeInfo* PropType = nullptr) = 0;
  // Sets the procedure's parameters from Values (objects as handles) and runs it. Does nothing
  // while the procedure runs already (an event fired from inside its own handler).
  // Exceptions of the procedure propagate to the host that fired the event. Answers the
  // parameters' values after the run, for var arguments (empty when nothing ran); the adapter
  // itself may be gone by then (the handler re-assigned its own event).
  std::vector<Variant> CallHandler(const std::vector<Variant>& Values);

  TfsProcVariable* HandlerProc;
  TObject* BoundObject;
  AnsiString EventName;
  // Cleared when the adapter is freed; the std::function handed to the host checks it.
  std::shared_ptr<TfsCustomEvent*> Self = std::make_shared<TfsCustomEvent*>(this);

  ~TfsCustomEvent() override { *Self = nullptr; }
};

template <class A>
TfsCustomEvent* fsMakeEvent(TObject* BoundObject, TfsProcVariable* HandlerProc)
{
  return new A(BoundObject, HandlerProc);
}

#define FS_EVENT_CLASS(Name)                                          \
  class Name : public TfsCustomEvent {                                \
  public:                                                             \
    using TfsCustomEvent::TfsCustomEvent;                             \
    std::any GetMethod(const TTypeInfo* PropType = nullptr) override; \
  };
FS_EVENT_CLASS(TfsNotifyEvent)
FS_EVENT_CLASS(TfsMouseEvent)
FS_EVENT_CLASS(TfsMouseMoveEvent)
FS_EVENT_CLASS(TfsKeyEvent)
FS_EVENT_CLASS(TfsKeyPressEvent)
FS_EVENT_CLASS(TfsCloseEvent)
FS_EVENT_CLASS(TfsCloseQueryEvent)
FS_EVENT_CLASS(TfsCanResizeEvent)
#undef FS_EVENT_CLASS

// The adapters of the process, owned.
class TfsEventList {
public:
  ~TfsEventList() { Clear(); }
  // Takes Adapter; an adapter of the same object and event already here is freed first.
  void Bind(TfsCustomEvent* Adapter);
  // Frees the adapter of that object and event, if any.
  void Unbind(TObject* Obj, const AnsiString& EventName);
  // Frees every adapter bound to Obj (the script freed it).
  void RemoveObject(TObject* Obj);
  // Frees every adapter running Proc (its script is going away).
  void RemoveProc(TfsProcVariable* Proc);
  void Clear();
  Integer GetCount() const { return static_cast<Integer>(FItems.size()); }
  // Null when none.
  TfsCustomEvent* Find(TObject* Obj, const AnsiString& EventName) const;

private:
  void FreeAt(std::size_t I);
  std::vector<TfsCustomEvent*> FItems;
};

namespace fs_ievents {
// The global list, created on first use; null after Finalize.
TfsEventList* GetEventList();
void Initialize();
// Frees the list with every adapter.
void Finalize();
}  // namespace fs_ievents
