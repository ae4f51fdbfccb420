#include "platform/classes/OwnedList.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// A child that leaves its list when it is freed, and logs its end.
struct TOwnedChild {
  TOwnedChild(std::string AName, std::vector<std::string>& ALog, TOwnedList<TOwnedChild>* AList = nullptr)
      : Name(std::move(AName)), Log(ALog), List(AList)
  {}
  ~TOwnedChild()
  {
    Log.push_back(Name);
    if (List) List->Forget(this);
    if (Sibling && List) List->Delete(Sibling);
  }
  std::string Name;
  std::vector<std::string>& Log;
  TOwnedList<TOwnedChild>* List;
  TOwnedChild* Sibling = nullptr;
};

std::string Names(const TOwnedList<TOwnedChild>& List)
{
  std::string s;
  for (const auto& c : List) s += c->Name;
  return s;
}

TEST(OwnedList, EntriesLeaveOnlyThroughTheListAndAreFreedOnce)
{
  std::vector<std::string> log;
  auto list = std::make_unique<TOwnedList<TOwnedChild>>();
  TOwnedChild* a = list->Add(std::make_unique<TOwnedChild>("a", log));
  TOwnedChild* c = list->Add(std::make_unique<TOwnedChild>("c", log));
  list->Insert(1, std::make_unique<TOwnedChild>("b", log));
  list->Insert(99, std::make_unique<TOwnedChild>("d", log));  // clamped to the end
  EXPECT_EQ(Names(*list), "abcd");
  list->Move(0, 3);
  EXPECT_EQ(Names(*list), "bcda");
  EXPECT_EQ(list->IndexOf(c), 1);

  std::unique_ptr<TOwnedChild> mine = list->Extract(a);  // ownership comes back, nothing freed
  ASSERT_EQ(mine.get(), a);
  EXPECT_TRUE(log.empty());
  EXPECT_EQ(list->Extract(a), nullptr);  // no longer listed
  list->Delete(c);
  EXPECT_EQ(log, std::vector<std::string>{"c"});
  EXPECT_EQ(Names(*list), "bd");
  EXPECT_THROW((*list)[5], std::out_of_range);
  list.reset();  // the last first
  EXPECT_EQ(log, (std::vector<std::string>{"c", "d", "b"}));
}

TEST(OwnedList, ChildrenThatDetachThemselvesOrTheirSiblingsAreFreedOnce)
{
  std::vector<std::string> log;
  TOwnedList<TOwnedChild> list;
  TOwnedChild* a = list.Add(std::make_unique<TOwnedChild>("a", log, &list));
  TOwnedChild* b = list.Add(std::make_unique<TOwnedChild>("b", log, &list));
  list.Add(std::make_unique<TOwnedChild>("c", log, &list));
  TOwnedChild* d = list.Add(std::make_unique<TOwnedChild>("d", log, &list));
  d->Sibling = a;  // freeing d frees a too
  list.Delete(b);
  EXPECT_EQ(Names(list), "acd");
  list.Clear();
  EXPECT_EQ(log, (std::vector<std::string>{"b", "d", "a", "c"}));
  EXPECT_TRUE(list.Empty());
}

}  // namespace
