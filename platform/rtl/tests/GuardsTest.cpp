#include "platform/rtl/Guards.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "platform/rtl/Exceptions.h"

namespace {

// An object with an update count whose EndUpdate may raise, as a change report can.
struct TCounted {
  int Count = 0, Ends = 0;
  bool RaiseOnEnd = false;
  void BeginUpdate() { ++Count; }
  void EndUpdate()
  {
    --Count;
    ++Ends;
    if (RaiseOnEnd) throw Exception("end");
  }
  void DisableControls() { ++Count; }
  void EnableControls() { --Count; }
};

int Ran = 0;

int EarlyReturn(bool Early)
{
  TScopeExit Undo([] { ++Ran; });
  if (Early) return 1;
  return 2;
}

}  // namespace

TEST(ScopeExit, RunsAtTheEndOnEarlyReturnAndOnException)
{
  Ran = 0;
  EarlyReturn(true);
  EarlyReturn(false);
  EXPECT_EQ(Ran, 2);
  EXPECT_THROW(
      {
        TScopeExit Undo([] { ++Ran; });
        throw Exception("x");
      },
      Exception);
  EXPECT_EQ(Ran, 3);
}

TEST(ScopeExit, DoesNotRunAfterDismiss)
{
  int ran = 0;
  {
    TScopeExit Undo([&] { ++ran; });
    Undo.Dismiss();
  }
  EXPECT_EQ(ran, 0);
}

TEST(ScopeExit, ItsErrorReachesTheCallerUnlessAnotherIsOnItsWay)
{
  EXPECT_THROW({ TScopeExit Undo([] { throw Exception("undo"); }); }, Exception);
  try {
    TScopeExit Undo([] { throw Exception("undo"); });
    throw std::runtime_error("work");
  } catch (const std::runtime_error& E) {
    EXPECT_STREQ(E.what(), "work");
  }
}

TEST(UpdateGuard, ClosesOnEveryExit)
{
  TCounted o;
  {
    TUpdateGuard Lock(o);
    EXPECT_EQ(o.Count, 1);
  }
  EXPECT_EQ(o.Count, 0);
  EXPECT_THROW(
      {
        TUpdateGuard Lock(o);
        throw Exception("x");
      },
      Exception);
  EXPECT_EQ(o.Count, 0);
  auto early = [&](bool Early) {
    TUpdateGuard Lock(o);
    if (Early) return;
    o.Count += 10;
  };
  early(true);
  EXPECT_EQ(o.Count, 0);
  {
    TControlsGuard Frozen(o);
    EXPECT_EQ(o.Count, 1);
  }
  EXPECT_EQ(o.Count, 0);
}

TEST(UpdateGuard, DismissAndRelease)
{
  TCounted o;
  {
    TUpdateGuard Lock(o);
    Lock.Dismiss();
  }
  EXPECT_EQ(o.Count, 1);
  o.Count = 0;
  {
    TUpdateGuard Lock(o);
    Lock.Release();
    EXPECT_EQ(o.Count, 0);
  }
  EXPECT_EQ(o.Ends, 1);
}

TEST(UpdateGuard, AnEndUpdateErrorReachesTheCallerUnlessAnotherIsOnItsWay)
{
  TCounted o;
  o.RaiseOnEnd = true;
  bool reached = false;
  try {
    TUpdateGuard Lock(o);
  } catch (const Exception& E) {
    reached = E.Message() == "end";
  }
  EXPECT_TRUE(reached);
  EXPECT_EQ(o.Ends, 1);
  try {
    TUpdateGuard Lock(o);
    throw std::runtime_error("work");
  } catch (const std::runtime_error& E) {
    EXPECT_STREQ(E.what(), "work");
  }
  EXPECT_EQ(o.Ends, 2);
  EXPECT_EQ(o.Count, 0);
}

TEST(ValueAndCountGuards, PutBackWhatTheyChanged)
{
  bool busy = false;
  int depth = 3;
  AnsiString text = "a";
  try {
    TValueGuard Busy(busy, true);
    TCountGuard Depth(depth);
    TValueGuard Text(text, "b");
    EXPECT_TRUE(busy);
    EXPECT_EQ(depth, 4);
    EXPECT_EQ(text, "b");
    throw Exception("x");
  } catch (const Exception&) {}
  EXPECT_FALSE(busy);
  EXPECT_EQ(depth, 3);
  EXPECT_EQ(text, "a");
}
