#include <gtest/gtest.h>

#include <vector>

#include "controls/data/controller/cxDataBinding.h"

TEST(DataBindingTest, BaseBindingHasNoValueAndReportsToItsHandlers)
{
  TPersistent owner;
  TObject control;
  TcxCustomDataBinding b(&owner, &control);
  EXPECT_EQ(b.GetOwner(), &owner);
  EXPECT_EQ(b.GetOwner2(), &control);
  Variant v = 5;
  b.SetStoredValue(0, 7);
  b.GetStoredValue(0, true, v);
  EXPECT_TRUE(v.IsNull());
  EXPECT_TRUE(b.IsDataAvailable());
  EXPECT_TRUE(b.CanModify());
  std::vector<int> calls;
  b.DoDataChange();  // unassigned: nothing
  b.OnDataChange = [&](TObject* S) { calls.push_back(S == &b ? 1 : -1); };
  b.OnDataSetChange = [&](TObject* S) { calls.push_back(S == &b ? 2 : -2); };
  b.OnUpdateData = [&](TObject* S) { calls.push_back(S == &b ? 3 : -3); };
  b.DoUpdateData();
  b.DoDataChange();
  b.DoDataSetChange();
  EXPECT_EQ(calls, (std::vector<int>{3, 1, 2}));
}
