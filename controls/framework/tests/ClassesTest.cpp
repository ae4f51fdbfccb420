#include <gtest/gtest.h>

#include "controls/framework/cxClasses.h"

namespace {

class TKeyA : public TObject {
  PELTO_CLASS(TKeyA, TObject)
};
class TKeyB : public TKeyA {
  PELTO_CLASS(TKeyB, TKeyA)
};
class TKeyC : public TKeyA {
  PELTO_CLASS(TKeyC, TKeyA)
};
class TKeyD : public TKeyC {
  PELTO_CLASS(TKeyD, TKeyC)
};
class TValue1 : public TObject {
  PELTO_CLASS(TValue1, TObject)
};
class TValue2 : public TObject {
  PELTO_CLASS(TValue2, TObject)
};
class TValue3 : public TObject {
  PELTO_CLASS(TValue3, TObject)
};

std::vector<TClass> Keys(const TcxRegisteredClassList& list)
{
  std::vector<TClass> r;
  for (int i = 0; i < list.GetCount(); ++i) r.push_back(list.GetItem(i).ItemClass);
  return r;
}

TEST(RegisteredClassList, EmptyFindKeepsIndexAndRegisterAppends)
{
  TcxRegisteredClassList list;
  int index = 7;
  EXPECT_FALSE(list.Find(TKeyA::StaticClass(), index));
  EXPECT_EQ(index, 7);
  list.Register(TKeyA::StaticClass(), TValue1::StaticClass());
  EXPECT_EQ(list.GetCount(), 1);
}

TEST(RegisteredClassList, DescendantsStandBehindAncestors)
{
  TcxRegisteredClassList list;
  TClass a = TKeyA::StaticClass(), b = TKeyB::StaticClass(), c = TKeyC::StaticClass();
  list.Register(c, TValue3::StaticClass());
  list.Register(a, TValue1::StaticClass());  // in front of its descendant
  EXPECT_EQ(Keys(list), (std::vector<TClass>{a, c}));
  list.Register(b, TValue2::StaticClass());  // right behind A
  EXPECT_EQ(Keys(list), (std::vector<TClass>{a, b, c}));

  EXPECT_EQ(list.FindClass(TKeyD::StaticClass()), TValue3::StaticClass());  // nearest: C
  EXPECT_EQ(list.FindClass(b), TValue2::StaticClass());
  EXPECT_EQ(list.FindClass(TValue1::StaticClass()), nullptr);

  list.Register(b, TValue2::StaticClass());
  EXPECT_EQ(list.GetCount(), 4);  // a pair twice is stored twice
  list.Unregister(b, TValue2::StaticClass());
  EXPECT_EQ(Keys(list), (std::vector<TClass>{a, c}));
}

TEST(RegisteredClasses, RegisterOnceFindByExactName)
{
  TcxRegisteredClasses classes;
  classes.Register(TKeyA::StaticClass(), "A");
  classes.Register(TKeyA::StaticClass(), "again");
  classes.Register(TKeyB::StaticClass(), "B");
  ASSERT_EQ(classes.GetCount(), 2);
  EXPECT_EQ(classes.GetDescription(0), "A");
  EXPECT_EQ(classes.FindByClassName("TKeyB"), TKeyB::StaticClass());
  EXPECT_EQ(classes.FindByClassName("tkeyb"), nullptr);
  classes.Unregister(TKeyA::StaticClass());
  classes.Unregister(TKeyA::StaticClass());
  EXPECT_EQ(classes.GetCount(), 1);
}

struct TAutoWidthCase {
  const char* Name;
  std::vector<int> Widths, MinWidths;
  std::vector<bool> Fixed;
  int Available;
  std::vector<int> Expected;
};

TEST(AutoWidth, DistributesByTable)
{
  const TAutoWidthCase cases[] = {
      {"cumulative rounding", {100, 100, 100}, {0, 0, 0}, {}, 200, {67, 66, 67}},
      {"minimum takes over", {100, 100, 20}, {0, 0, 30}, {}, 200, {85, 85, 30}},
      {"share equal to minimum drops out", {100, 100}, {0, 100}, {}, 200, {100, 100}},
      {"all fixed", {50, 70}, {0, 0}, {true, true}, 500, {50, 70}},
      {"fixed and free", {50, 100, 100}, {0, 0, 0}, {true, false, false}, 250, {50, 100, 100}},
      {"zero widths get minimums", {0, 0}, {5, 7}, {}, 100, {5, 7}},
      {"minimums exceed space", {10, 10}, {80, 80}, {}, 100, {80, 80}},
  };
  for (const auto& c : cases) {
    TcxAutoWidthObject obj(int(c.Widths.size()));
    for (size_t i = 0; i < c.Widths.size(); ++i) {
      auto* item = obj.NewItem();
      EXPECT_EQ(item->AutoWidth, -1);
      item->Width = c.Widths[i];
      item->MinWidth = c.MinWidths[i];
      item->Fixed = i < c.Fixed.size() && c.Fixed[i];
    }
    obj.AvailableWidth = c.Available;
    obj.Calculate();
    std::vector<int> got;
    for (int i = 0; i < obj.GetCount(); ++i) got.push_back(obj.ItemAt(i)->AutoWidth);
    EXPECT_EQ(got, c.Expected) << c.Name;
    obj.AvailableWidth = 1000;
    obj.Calculate();  // already calculated: unchanged
    for (int i = 0; i < obj.GetCount(); ++i) EXPECT_EQ(obj.ItemAt(i)->AutoWidth, c.Expected[i]) << c.Name;
  }
}

class TLinkingComponent : public TcxComponent {
  PELTO_CLASS(TLinkingComponent, TcxComponent)
public:
  using TcxComponent::TcxComponent;
  std::vector<TComponent*> Links;
  void Design() { IncludeState(csDesigning); }

protected:
  void GetFakeComponentLinks(std::vector<TComponent*>& List) override { List = Links; }
};

TEST(CxComponent, FakeLinksFollowTheListOnlyWhileDesigning)
{
  TComponent owner(nullptr);
  auto* c = new TLinkingComponent(&owner);
  auto* other = new TComponent(&owner);
  c->Links = {other};
  c->UpdateFakeLinks();  // not designing: nothing
  EXPECT_EQ(c->GetFakeComponentLink(0), nullptr);
  c->Design();
  c->UpdateFakeLinks();
  EXPECT_EQ(c->GetFakeComponentLink(0), other);
  EXPECT_EQ(c->GetFakeComponentLink(1), nullptr);
  delete other;  // a freed component leaves no dangling link
  EXPECT_EQ(c->GetFakeComponentLink(0), nullptr);
}

TEST(CxObjectList, ClearFreesItems)
{
  static int alive = 0;
  struct TCounted : TObject {
    TCounted() { ++alive; }
    ~TCounted() override { --alive; }
  };
  {
    TcxObjectList list;
    list.Add(new TCounted);
    list.Add(new TCounted);
    list.Clear();
    EXPECT_EQ(alive, 0);
    list.Add(new TCounted);
  }
  EXPECT_EQ(alive, 0);
}

}  // namespace
