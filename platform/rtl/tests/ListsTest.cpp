#include "platform/rtl/Lists.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/rtl/Exceptions.h"

namespace {

// Counts its own destructions, to see which objects a list deleted.
struct Tracked : TObject {
  explicit Tracked(int* deaths) : Deaths(deaths) {}
  ~Tracked() override { ++*Deaths; }
  int* Deaths;
};

// Records every notification as "a:<item>", "x:<item>" or "d:<item>".
class RecordingList : public TList {
public:
  std::vector<std::string> Log;

protected:
  void Notify(void* Ptr, TListNotification Action) override
  {
    static const char* names[] = {"a", "x", "d"};
    Log.push_back(std::string(names[Action]) + ":" + *static_cast<std::string*>(Ptr));
  }
};

std::string Items(const TList& list)
{
  std::string out;
  for (Integer i = 0; i < list.GetCount(); ++i)
    out += list.GetItems(i) ? *static_cast<std::string*>(list.GetItems(i)) : "-";
  return out;
}

TEST(TListTest, BadIndexesRaiseWithTheIndexInTheMessage)
{
  TList list;
  std::string a = "a";
  list.Add(&a);
  try {
    list.GetItems(1);
    FAIL();
  } catch (const EListError& e) {
    EXPECT_STREQ(e.what(), "List index out of bounds (1)");
  }
  EXPECT_THROW(list.Delete(-1), EListError);
  EXPECT_THROW(list.Insert(2, &a), EListError);
  EXPECT_THROW(list.Exchange(0, 1), EListError);
  EXPECT_THROW(list.SetCount(-1), EListError);
  EXPECT_THROW(list.SetCapacity(0), EListError);
  TList empty;
  EXPECT_THROW(empty.First(), EListError);
  EXPECT_EQ(Items(list), "a");  // nothing changed by the refused calls
}

TEST(TListTest, EditsKeepOrderAndNotifySubclasses)
{
  std::string a = "a", b = "b", c = "c", d = "d";
  RecordingList list;
  list.Add(&a);
  list.Add(&b);
  list.Insert(0, &c);
  list.Add(nullptr);  // nil items are not notified
  EXPECT_EQ(Items(list), "cab-");
  list.Move(0, 2);  // moving neither adds nor deletes
  EXPECT_EQ(Items(list), "abc-");
  list.Exchange(0, 2);
  EXPECT_EQ(Items(list), "cba-");
  list.Pack();
  EXPECT_EQ(Items(list), "cba");
  EXPECT_EQ(list.Extract(&b), &b);
  EXPECT_EQ(list.Extract(&d), nullptr);
  EXPECT_EQ(list.Remove(&c), 0);
  EXPECT_EQ(list.Remove(&c), -1);
  list.SetItems(0, &d);
  EXPECT_EQ(list.IndexOf(&d), 0);
  list.Clear();
  EXPECT_EQ(list.GetCount(), 0);
  EXPECT_EQ(list.Log, (std::vector<std::string>{"a:a", "a:b", "a:c", "x:b", "d:c", "d:a", "a:d", "d:d"}));
}

TEST(TListTest, SortIsStableAndSetCountGrowsWithNil)
{
  std::string x1 = "x", y = "y", x2 = "x";
  TList list;
  list.Add(&y);
  list.Add(&x1);
  list.Add(&x2);
  list.Sort([](void* p, void* q) { return static_cast<std::string*>(p)->compare(*static_cast<std::string*>(q)); });
  EXPECT_EQ(list.GetItems(0), &x1);
  EXPECT_EQ(list.GetItems(1), &x2);
  EXPECT_EQ(list.Last(), &y);
  list.SetCount(5);
  EXPECT_EQ(list.GetItems(4), nullptr);
  TList copy;
  copy.Assign(&list);
  EXPECT_EQ(copy.GetCount(), 5);
  EXPECT_EQ(copy.First(), &x1);
}

TEST(TObjectListTest, OwnsObjectsOnDeleteReplaceClearAndDestructionButNotExtract)
{
  int deaths = 0;
  auto* kept = new Tracked(&deaths);
  {
    TObjectList list;
    list.Add(new Tracked(&deaths));
    list.Add(new Tracked(&deaths));
    list.Add(kept);
    list.Add(new Tracked(&deaths));
    list.Delete(0);
    EXPECT_EQ(deaths, 1);
    list.SetItems(0, new Tracked(&deaths));
    EXPECT_EQ(deaths, 2);
    EXPECT_EQ(list.Extract(kept), kept);
    EXPECT_EQ(deaths, 2);
    list.SetCount(1);
    EXPECT_EQ(deaths, 3);
  }
  EXPECT_EQ(deaths, 4);  // the last one went with the list
  delete kept;

  deaths = 0;
  Tracked loose(&deaths);
  {
    TObjectList list(false);
    list.Add(&loose);
    list.Clear();
  }
  EXPECT_EQ(deaths, 0);
}

}  // namespace
