// Ownership, names and notifications of components; assignment errors of persistents.
#include <gtest/gtest.h>

#include "platform/classes/Interfaces.h"
#include "platform/classes/tests/StreamFixtures.h"

namespace {

// Records the notifications it hears.
class TListener : public TComponent {
  PELTO_CLASS(TListener, TComponent)
public:
  explicit TListener(TComponent* AOwner) : TComponent(AOwner) {}
  ~TListener() override { DestroyComponents(); }
  std::vector<std::pair<TComponent*, TOperation>> Heard;

protected:
  void Notification(TComponent* AComponent, TOperation Operation) override
  {
    TComponent::Notification(AComponent, Operation);
    Heard.emplace_back(AComponent, Operation);
  }
};

// Counts live instances, to see what an owner frees.
struct TCounted : TComponent {
  static inline int Live = 0;
  explicit TCounted(TComponent* AOwner) : TComponent(AOwner) { ++Live; }
  ~TCounted() override { --Live; }
};

TEST(ComponentTest, OwnerFreesWhatItOwnsAndFreedComponentsLeaveTheirOwner)
{
  {
    TComponent owner(nullptr);
    auto* a = new TCounted(&owner);
    auto* b = new TCounted(a);
    new TCounted(&owner);
    EXPECT_EQ(TCounted::Live, 3);
    EXPECT_EQ(owner.GetComponentCount(), 2);
    EXPECT_EQ(b->GetOwner(), a);
    delete a;  // takes b with it
    EXPECT_EQ(TCounted::Live, 1);
    EXPECT_EQ(owner.GetComponentCount(), 1);
  }
  EXPECT_EQ(TCounted::Live, 0);
}

TEST(ComponentTest, NamesAreIdentifiersUniqueWithinTheOwner)
{
  TComponent owner(nullptr);
  auto* a = new TComponent(&owner);
  auto* b = new TComponent(&owner);
  a->SetName("Button1");
  EXPECT_EQ(owner.FindComponent("BUTTON1"), a);
  EXPECT_EQ(owner.FindComponent(""), nullptr);

  struct Case {
    const char* Name;
    const char* Message;
  };
  const Case bad[] = {
      {"button1", "A component named button1 already exists"},
      {"2nd", "'2nd' is not a valid component name"},
      {"合同", "'合同' is not a valid component name"},
      {"a b", "'a b' is not a valid component name"},
  };
  for (const Case& c : bad) {
    SCOPED_TRACE(c.Name);
    try {
      b->SetName(c.Name);
      ADD_FAILURE();
    } catch (const EComponentError& e) {
      EXPECT_EQ(e.Message(), c.Message);
    }
    EXPECT_EQ(b->GetName(), "");
  }
  a->SetName("BUTTON1");  // a new case of its own name
  b->SetName("");
  EXPECT_EQ(a->GetNamePath(), "BUTTON1");

  // Moving a component to an owner that holds its name is refused; it stays where it was.
  TComponent other(nullptr);
  auto* clash = new TComponent(&other);
  clash->SetName("Button1");
  EXPECT_THROW(owner.InsertComponent(clash), EComponentError);
  EXPECT_EQ(clash->GetOwner(), &other);
}

TEST(ComponentTest, NotificationsReachTheOwnersComponentsAndFreeNotifiedOnes)
{
  TListener owner(nullptr);
  auto* listener = new TListener(&owner);
  auto* c = new TComponent(&owner);
  EXPECT_EQ(listener->Heard.back(), std::make_pair(c, opInsert));
  delete c;
  EXPECT_EQ(listener->Heard.back(), std::make_pair(c, opRemove));
  EXPECT_EQ(owner.Heard.back(), std::make_pair(c, opRemove));

  // Across owners only FreeNotification tells, both ways, and only once.
  TListener stranger(nullptr);
  auto* watched = new TComponent(&owner);
  watched->FreeNotification(&stranger);
  watched->FreeNotification(&stranger);
  stranger.Heard.clear();
  delete watched;
  ASSERT_EQ(stranger.Heard.size(), 1u);
  EXPECT_EQ(stranger.Heard[0], std::make_pair(static_cast<TComponent*>(watched), opRemove));

  // Removed requests are not answered.
  auto* again = new TComponent(&owner);
  again->FreeNotification(&stranger);
  again->RemoveFreeNotification(&stranger);
  stranger.Heard.clear();
  delete again;
  EXPECT_TRUE(stranger.Heard.empty());
}

// A component that drops its reference when told the other one goes, and reports what it still
// holds when it is freed itself.
class TReferrer : public TComponent {
  PELTO_CLASS(TReferrer, TComponent)
public:
  TReferrer(TComponent* AOwner, TComponent*& AHeldAtEnd) : TComponent(AOwner), FHeldAtEnd(AHeldAtEnd) {}
  ~TReferrer() override { FHeldAtEnd = FOther; }
  void Refer(TComponent* AOther)
  {
    FOther = AOther;
    AOther->FreeNotification(this);
  }

protected:
  void Notification(TComponent* AComponent, TOperation Operation) override
  {
    TComponent::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FOther) FOther = nullptr;
  }

private:
  TComponent*& FHeldAtEnd;
  TComponent* FOther = nullptr;
};

TEST(ComponentTest, AnOwnerFreeingItsComponentsTellsTheSiblingsThatAskedToBeTold)
{
  TComponent* heldAtEnd = reinterpret_cast<TComponent*>(1);
  auto* owner = new TComponent(nullptr);
  auto* referrer = new TReferrer(owner, heldAtEnd);
  auto* menu = new TComponent(owner);  // freed first: the last made goes first
  referrer->Refer(menu);
  delete owner;
  EXPECT_EQ(heldAtEnd, nullptr) << "the sibling's reference was dropped before it was freed";
}

TEST(ComponentTest, ComponentIndexAndStateFollowTheOwner)
{
  TComponent owner(nullptr);
  auto* a = new TComponent(&owner);
  auto* b = new TComponent(&owner);
  b->SetComponentIndex(0);
  EXPECT_EQ(owner.GetComponent(0), b);
  EXPECT_EQ(a->GetComponentIndex(), 1);
  EXPECT_THROW(owner.GetComponent(2), EListError);
  owner.RemoveComponent(a);
  EXPECT_EQ(a->GetOwner(), nullptr);
  EXPECT_EQ(a->GetComponentIndex(), -1);
  owner.SetDesigning(true);
  EXPECT_TRUE(b->GetComponentState().Contains(csDesigning));
  owner.InsertComponent(a);
  EXPECT_TRUE(a->GetComponentState().Contains(csDesigning));
}

TEST(PersistentTest, AssignWithoutAKnownSourceRaises)
{
  TFixtureFont font;
  TFixtureNode node(nullptr);
  try {
    font.Assign(&node);
    ADD_FAILURE();
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), "Cannot assign a TFixtureNode to a TFixtureFont");
  }
  try {
    font.Assign(nullptr);
    ADD_FAILURE();
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), "Cannot assign a nil to a TFixtureFont");
  }
}

class IFixtureNamed {
public:
  virtual AnsiString GetObjectName() = 0;

protected:
  ~IFixtureNamed() = default;
};

class TFixtureNamed : public TInterfacedPersistent, public IFixtureNamed {
public:
  AnsiString GetObjectName() override { return "named"; }
};

TEST(InterfaceTest, ObjectsAnswerTheInterfacesTheyImplement)
{
  TFixtureNamed named;
  TFixtureFont font;
  TObject* asObject = &named;
  IFixtureNamed* intf = nullptr;
  ASSERT_TRUE(Classes::Supports(asObject, intf));
  EXPECT_EQ(intf->GetObjectName(), "named");
  EXPECT_FALSE(Classes::Supports<IFixtureNamed>(static_cast<TObject*>(&font)));
  EXPECT_EQ(Classes::QueryInterface<IFixtureNamed>(static_cast<TObject*>(nullptr)), nullptr);
}

}  // namespace
