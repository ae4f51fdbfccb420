// TApplicationEvents: a component that receives the application object's events, so that a form
// or data module can handle them through published events of its own. Several may exist; each
// event goes to every one with that event assigned, the most recently made (or activated) first,
// until one calls CancelDispatch.
//
// Exceptions: the application's own OnException, when assigned, takes them; otherwise the
// components with OnException do, and only when none has one is the message box shown.
#pragma once

#include "platform/forms/app/Application.h"

class TApplicationEvents : public TComponent {
  PELTO_CLASS(TApplicationEvents, TComponent)
public:
  explicit TApplicationEvents(TComponent* AOwner);
  ~TApplicationEvents() override;

  // Puts this component first in line for the events.
  void Activate();
  // The components after this one are not told of the event being dispatched now.
  void CancelDispatch();

  TNotifyEvent OnActivate, OnDeactivate, OnHint, OnMinimize, OnRestore, OnModalBegin, OnModalEnd;
  TExceptionEvent OnException;
  TIdleEvent OnIdle;
  TMessageEvent OnMessage;

  PELTO_PUBLISHED(p)
  {
    p.Property("OnActivate", TypeInfo_TNotifyEvent(), &ThisClass::OnActivate, &ThisClass::OnActivate);
    p.Property("OnDeactivate", TypeInfo_TNotifyEvent(), &ThisClass::OnDeactivate, &ThisClass::OnDeactivate);
    p.Property("OnException", TypeInfo_TExceptionEvent(), &ThisClass::OnException, &ThisClass::OnException);
    p.Property("OnHint", TypeInfo_TNotifyEvent(), &ThisClass::OnHint, &ThisClass::OnHint);
    p.Property("OnIdle", TypeInfo_TIdleEvent(), &ThisClass::OnIdle, &ThisClass::OnIdle);
    p.Property("OnMessage", TypeInfo_TMessageEvent(), &ThisClass::OnMessage, &ThisClass::OnMessage);
    p.Property("OnMinimize", TypeInfo_TNotifyEvent(), &ThisClass::OnMinimize, &ThisClass::OnMinimize);
    p.Property("OnModalBegin", TypeInfo_TNotifyEvent(), &ThisClass::OnModalBegin, &ThisClass::OnModalBegin);
    p.Property("OnModalEnd", TypeInfo_TNotifyEvent(), &ThisClass::OnModalEnd, &ThisClass::OnModalEnd);
    p.Property("OnRestore", TypeInfo_TNotifyEvent(), &ThisClass::OnRestore, &ThisClass::OnRestore);
  }
};

namespace ApplicationEvents {
// Tells each component with the event assigned, in order, until one cancels; answers whether any
// was told. Call is given the component and answers whether it had the event.
bool Dispatch(const std::function<bool(TApplicationEvents& Events)>& Call);
}  // namespace ApplicationEvents
