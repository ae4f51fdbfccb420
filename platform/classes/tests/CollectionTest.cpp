// Collections: items of the item class, IDs, order, assignment, name paths, update batching.
#include <gtest/gtest.h>

#include "platform/classes/tests/StreamFixtures.h"

namespace {

class TCountingCollection : public TCollection {
public:
  TCountingCollection() : TCollection(TFixtureItem::StaticClass()) {}
  int Updates = 0;

protected:
  void Update(TCollectionItem*) override { ++Updates; }
};

TEST(CollectionTest, ItemsAreOfTheItemClassWithStableIDs)
{
  TCountingCollection c;
  TCollectionItem* a = c.Add();
  TCollectionItem* b = c.Add();
  ASSERT_TRUE(dynamic_cast<TFixtureItem*>(a));
  EXPECT_EQ(a->GetID(), 0);
  EXPECT_EQ(b->GetID(), 1);
  TCollectionItem* first = c.Insert(0);
  EXPECT_EQ(c.GetItem(0), first);
  EXPECT_EQ(first->GetID(), 2);
  c.Delete(1);  // a
  EXPECT_EQ(c.GetCount(), 2);
  EXPECT_EQ(c.FindItemID(1), b);
  EXPECT_EQ(c.FindItemID(0), nullptr);
  b->SetIndex(0);
  EXPECT_EQ(c.GetItem(0), b);
  delete b;  // an item freed on its own leaves the collection
  EXPECT_EQ(c.GetCount(), 1);
  EXPECT_THROW(c.GetItem(1), EListError);
  EXPECT_THROW(TCollection(TFixtureFont::StaticClass()), EInvalidOperation);
}

TEST(CollectionTest, AssignCopiesItemsAndReportsOnce)
{
  TCountingCollection source;
  static_cast<TFixtureItem*>(source.Add())->Caption = "one";
  static_cast<TFixtureItem*>(source.Add())->Caption = "two";
  TCountingCollection target;
  target.Add();
  target.Updates = 0;
  target.Assign(&source);
  ASSERT_EQ(target.GetCount(), 2);
  EXPECT_EQ(static_cast<TFixtureItem*>(target.GetItem(1))->Caption, "two");
  EXPECT_NE(target.GetItem(0), source.GetItem(0));
  EXPECT_EQ(target.Updates, 1);
}

TEST(CollectionTest, NamePathNamesTheOwnersProperty)
{
  TFixtureNode node(nullptr);
  node.SetName("Grid1");
  node.Items.Add();
  TCollectionItem* item = node.Items.Add();
  EXPECT_EQ(node.Items.GetNamePath(), "Grid1.Items");
  EXPECT_EQ(item->GetNamePath(), "Grid1.Items[1]");
}

}  // namespace
