#include "platform/forms/app/ApplicationEvents.h"

#include <algorithm>
#include <vector>

namespace {

// The components, first in line first; borrowed (each takes itself out when it goes).
std::vector<TApplicationEvents*>& Listeners()
{
  static std::vector<TApplicationEvents*> listeners;
  return listeners;
}

// The dispatches running now, innermost last: whether a component cancelled each.
std::vector<bool>& Cancelled()
{
  static std::vector<bool> cancelled;
  return cancelled;
}

}  // namespace

TApplicationEvents::TApplicationEvents(TComponent* AOwner) : TComponent(AOwner)
{
  Listeners().insert(Listeners().begin(), this);
}

TApplicationEvents::~TApplicationEvents()
{
  auto& l = Listeners();
  l.erase(std::remove(l.begin(), l.end(), this), l.end());
}

void TApplicationEvents::Activate()
{
  auto& l = Listeners();
  auto it = std::find(l.begin(), l.end(), this);
  if (it != l.end()) std::rotate(l.begin(), it, it + 1);
}

void TApplicationEvents::CancelDispatch()
{
  if (!Cancelled().empty()) Cancelled().back() = true;
}

namespace ApplicationEvents {

bool Dispatch(const std::function<bool(TApplicationEvents& Events)>& Call)
{
  if (Listeners().empty()) return false;
  // A handler may make or free components: walk a copy, skipping the ones gone meanwhile.
  std::vector<TApplicationEvents*> listeners = Listeners();
  Cancelled().push_back(false);
  struct TPop {
    ~TPop() { Cancelled().pop_back(); }
  } pop;
  bool told = false;
  for (TApplicationEvents* events : listeners) {
    if (std::find(Listeners().begin(), Listeners().end(), events) == Listeners().end()) continue;
    if (Call(*events)) told = true;
    if (Cancelled().back()) break;
  }
  return told;
}

}  // namespace ApplicationEvents
