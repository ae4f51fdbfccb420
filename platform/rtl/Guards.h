// Guards for matched pairs: the closing call runs when the scope ends, whether by the end of the
// block, an early return or an exception, so that no later edit can skip it.
//
// While an exception unwinds the scope, a closing call that raises is dropped: the error on its
// way wins. On an ordinary exit the closing call's error reaches the caller (EndUpdate may raise
// from the change it reports), so the destructors are noexcept(false); keep guards as locals.
//
//   TScopeExit Undo([&] { FCount--; });   // any action; Dismiss() once the work is kept
//   TUpdateGuard Lock(*Criteria);          // BeginUpdate now, EndUpdate at the end
//   TControlsGuard Frozen(*DataSet);       // DisableControls now, EnableControls at the end
//   TLockGuard Held(*Layout);              // Lock now, Unlock at the end
//   TValueGuard Busy(FInChange, true);     // sets a variable, puts its value back
//   TCountGuard Depth(FDepth);             // ++ now, -- at the end
#pragma once

#include <exception>
#include <utility>

// Runs an action at the end of the scope unless dismissed.
template <class F>
class TScopeExit {
public:
  explicit TScopeExit(F AAction) : FAction(std::move(AAction)), FUncaught(std::uncaught_exceptions()) {}
  ~TScopeExit() noexcept(false)
  {
    if (!FActive) return;
    FActive = false;
    if (std::uncaught_exceptions() == FUncaught) {
      FAction();
      return;
    }
    try {
      FAction();
    } catch (...) {}
  }
  TScopeExit(const TScopeExit&) = delete;
  TScopeExit& operator=(const TScopeExit&) = delete;

  // The action will not run: the work it would undo is kept.
  void Dismiss() noexcept { FActive = false; }

private:
  F FAction;
  int FUncaught;
  bool FActive = true;
};

// The opening and closing calls of an update guard.
struct TUpdateCalls {
  template <class T>
  static void Open(T& AObject)
  {
    AObject.BeginUpdate();
  }
  template <class T>
  static void Close(T& AObject)
  {
    AObject.EndUpdate();
  }
};

struct TControlsCalls {
  template <class T>
  static void Open(T& AObject)
  {
    AObject.DisableControls();
  }
  template <class T>
  static void Close(T& AObject)
  {
    AObject.EnableControls();
  }
};

// Opens a matched pair on an object now and closes it at the end of the scope. Release() closes
// it early (its error reaches the caller); Dismiss() forgets it.
template <class T, class Calls = TUpdateCalls>
class TUpdateGuard {
public:
  explicit TUpdateGuard(T& AObject) : FObject(&AObject), FUncaught(std::uncaught_exceptions()) { Calls::Open(AObject); }
  ~TUpdateGuard() noexcept(false)
  {
    if (!FObject) return;
    T& object = *std::exchange(FObject, nullptr);
    if (std::uncaught_exceptions() == FUncaught) {
      Calls::Close(object);
      return;
    }
    try {
      Calls::Close(object);
    } catch (...) {}
  }
  TUpdateGuard(const TUpdateGuard&) = delete;
  TUpdateGuard& operator=(const TUpdateGuard&) = delete;

  void Release()
  {
    if (FObject) Calls::Close(*std::exchange(FObject, nullptr));
  }
  void Dismiss() noexcept { FObject = nullptr; }

private:
  T* FObject;
  int FUncaught;
};

struct TLockCalls {
  template <class T>
  static void Open(T& AObject)
  {
    AObject.Lock();
  }
  template <class T>
  static void Close(T& AObject)
  {
    AObject.Unlock();
  }
};

// Classes rather than alias templates, so that `TControlsGuard lock(*this)` deduces its type with
// every compiler the tree is built with.
template <class T>
class TControlsGuard : public TUpdateGuard<T, TControlsCalls> {
public:
  using TUpdateGuard<T, TControlsCalls>::TUpdateGuard;
};
template <class T>
TControlsGuard(T&) -> TControlsGuard<T>;

template <class T>
class TLockGuard : public TUpdateGuard<T, TLockCalls> {
public:
  using TUpdateGuard<T, TLockCalls>::TUpdateGuard;
};
template <class T>
TLockGuard(T&) -> TLockGuard<T>;

// Sets a variable for the scope and puts back the value it had.
template <class T>
class TValueGuard {
public:
  TValueGuard(T& AVariable, T AValue) : FVariable(AVariable), FSaved(std::exchange(AVariable, std::move(AValue))) {}
  // Only keeps the value: whatever the scope sets is undone.
  explicit TValueGuard(T& AVariable) : FVariable(AVariable), FSaved(AVariable) {}
  ~TValueGuard() { FVariable = std::move(FSaved); }
  TValueGuard(const TValueGuard&) = delete;
  TValueGuard& operator=(const TValueGuard&) = delete;

private:
  T& FVariable;
  T FSaved;
};

template <class T, class U>
TValueGuard(T&, U) -> TValueGuard<T>;

// Counts a nesting level (a lock count, a recursion depth) for the scope.
template <class T>
class TCountGuard {
public:
  explicit TCountGuard(T& ACount) : FCount(ACount) { ++FCount; }
  ~TCountGuard() { --FCount; }
  TCountGuard(const TCountGuard&) = delete;
  TCountGuard& operator=(const TCountGuard&) = delete;

private:
  T& FCount;
};
