// The one shape of a replaceable service (the message box, the clock, the file system the saves
// write through, the window back end, the hooks the application layer fills in): an interface, a
// default that serves while nothing else is installed, Install, which answers the service it
// replaces, and a scoped installer that puts the previous one back however its scope is left.
//
// A unit keeps its slot in a function-local static (made on first use, never in a static
// constructor) and offers Current/Install/a scoped installer over it:
//
//   TService<TClock>& Slot() { static TService<TClock> slot(std::make_unique<TSystemClock>()); return slot; }
//
// Install services while no other thread uses them (at start-up, or in a test's own thread):
// the slot holds no lock, and a reference from Current lives until the next Install.
#pragma once

#include <functional>
#include <memory>
#include <utility>

template <class I>
class TService {
public:
  explicit TService(std::unique_ptr<I> ADefault) : FDefault(std::move(ADefault)) {}
  TService(const TService&) = delete;
  TService& operator=(const TService&) = delete;

  // The installed service, else the default. Never null.
  I& Current() const { return FInstalled ? *FInstalled : *FDefault; }

  // Installs AService (null puts the default back) and answers the one it replaces (null when
  // that was the default).
  std::unique_ptr<I> Install(std::unique_ptr<I> AService)
  {
    std::swap(FInstalled, AService);
    return AService;
  }

private:
  std::unique_ptr<I> FDefault;
  std::unique_ptr<I> FInstalled;
};

// Installs a service for its lifetime and puts the previous one back.
template <class I>
class TScopedService {
public:
  TScopedService(TService<I>& ASlot, std::unique_ptr<I> AService)
      : FSlot(ASlot), FPrevious(ASlot.Install(std::move(AService)))
  {}
  ~TScopedService() { FSlot.Install(std::move(FPrevious)); }
  TScopedService(const TScopedService&) = delete;
  TScopedService& operator=(const TScopedService&) = delete;

private:
  TService<I>& FSlot;
  std::unique_ptr<I> FPrevious;
};

// A service whose interface is one function (the small hooks: the first day of the week, where
// an exception raised in a handler goes): its slot holds a std::function, and a test installs a
// lambda for a scope.
//
//   TService<std::function<int()>>& FirstDayOfWeekService();
//   TScopedFunction<int()> monday(FirstDayOfWeekService(), [] { return 0; });
template <class Signature>
class TScopedFunction : public TScopedService<std::function<Signature>> {
public:
  TScopedFunction(TService<std::function<Signature>>& ASlot, std::function<Signature> AFunction)
      : TScopedService<std::function<Signature>>(ASlot,
                                                 std::make_unique<std::function<Signature>>(std::move(AFunction)))
  {}
};
