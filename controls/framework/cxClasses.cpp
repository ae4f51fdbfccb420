#include "controls/framework/cxClasses.h"

#include "platform/classes/ClassRegistry.h"
#include "platform/rtl/MathUtils.h"

// ---- TcxComponent ----------------------------------------------------------------------------

TcxComponent::~TcxComponent()
{
  if (!GetComponentState().Contains(csDestroying)) Destroying();
}

void TcxComponent::SetFakeComponentLink(int Index, TComponent* Value)
{
  TComponent*& link = FFakeLinks[Index];
  if (link == Value) return;
  TComponent* old = link;
  link = Value;
  bool stillLinked = false;
  for (TComponent* c : FFakeLinks) stillLinked = stillLinked || c == old;
  if (old && !stillLinked) RemoveFreeNotification(old);
  if (Value) FreeNotification(Value);
}

void TcxComponent::UpdateFakeLinks()
{
  TComponentState state = GetComponentState();
  if (!state.Contains(csDesigning) || state.Contains(csDestroying) || !GetOwner()) return;
  std::vector<TComponent*> list;
  GetFakeComponentLinks(list);
  for (int i = 0; i < FakeLinkCount; ++i) SetFakeComponentLink(i, i < int(list.size()) ? list[i] : nullptr);
}

void TcxComponent::Loaded()
{
  TComponent::Loaded();
  UpdateFakeLinks();
}

void TcxComponent::Notification(TComponent* AComponent, TOperation Operation)
{
  TComponent::Notification(AComponent, Operation);
  if (Operation == opRemove)
    for (TComponent*& link : FFakeLinks)
      if (link == AComponent) link = nullptr;
}

// ---- TcxObjectList ---------------------------------------------------------------------------

void TcxObjectList::Clear()
{
  for (int i = 0; i < GetCount(); ++i) delete GetItem(i);
  TList::Clear();
}

// ---- TcxRegisteredClassList ------------------------------------------------------------------

bool TcxRegisteredClassList::Find(TClass AClass, int& Index) const
{
  for (int i = int(FItems.size()) - 1; i >= 0; --i) {
    TClass key = FItems[i].ItemClass;
    if (AClass->InheritsFrom(key)) {
      Index = i;
      return true;
    }
    if (key->InheritsFrom(AClass)) Index = i;
  }
  return false;
}

void TcxRegisteredClassList::Register(TClass AItemClass, TClass ARegisteredClass)
{
  int index = -1;
  TPair pair{AItemClass, ARegisteredClass};
  if (Find(AItemClass, index))
    FItems.insert(FItems.begin() + index + 1, pair);
  else if (index == -1)
    FItems.push_back(pair);
  else
    FItems.insert(FItems.begin() + index, pair);
}

void TcxRegisteredClassList::Unregister(TClass AItemClass, TClass ARegisteredClass)
{
  for (int i = int(FItems.size()) - 1; i >= 0; --i)
    if (FItems[i].ItemClass == AItemClass && FItems[i].RegisteredClass == ARegisteredClass)
      FItems.erase(FItems.begin() + i);
}

TClass TcxRegisteredClassList::FindClass(TClass AClass) const
{
  int index = -1;
  return Find(AClass, index) ? FItems[index].RegisteredClass : nullptr;
}

// ---- TcxRegisteredClasses --------------------------------------------------------------------

void TcxRegisteredClasses::Register(TClass AClass, const AnsiString& ADescription)
{
  for (auto& item : FItems)
    if (item.second == AClass) return;
  FItems.emplace_back(ADescription, AClass);
  if (FRegisterClasses) Classes::RegisterClass(AClass);
}

void TcxRegisteredClasses::Unregister(TClass AClass)
{
  for (auto it = FItems.begin(); it != FItems.end(); ++it)
    if (it->second == AClass) {
      FItems.erase(it);
      return;
    }
}

TClass TcxRegisteredClasses::FindByClassName(const AnsiString& AName) const
{
  for (auto& item : FItems)
    if (item.second->ClassName() == AName) return item.second;
  return nullptr;
}

// ---- TcxAutoWidthObject ----------------------------------------------------------------------

TcxAutoWidthItem* TcxAutoWidthObject::NewItem()
{
  FItems.push_back(std::make_unique<TcxAutoWidthItem>());
  return FItems.back().get();
}

int TcxAutoWidthObject::GetWidth() const
{
  int w = 0;
  for (auto& item : FItems) w += item->Width;
  return w;
}

void TcxAutoWidthObject::Calculate()
{
  int restA = AvailableWidth;
  int restW = GetWidth();
  for (auto& item : FItems)
    if (item->Fixed && item->AutoWidth == -1) {
      item->AutoWidth = item->Width;
      restA -= item->AutoWidth;
      restW -= item->Width;
    }
  bool final = false;
  bool removed = false;
  do {
    if (restW == 0) {
      // Nothing left to weigh: every remaining item gets its minimum.
      for (auto& item : FItems)
        if (item->AutoWidth == -1) item->AutoWidth = item->MinWidth;
      break;
    }
    int a = restA, w = restW, s = 0;
    removed = false;
    for (auto& item : FItems) {
      if (item->AutoWidth != -1) continue;
      int share = Math::MulDiv(s + item->Width, a, w) - Math::MulDiv(s, a, w);
      if (final)
        item->AutoWidth = share;
      else if (item->MinWidth >= share) {
        item->AutoWidth = item->MinWidth;
        restA -= item->MinWidth;
        restW -= item->Width;
        removed = true;
      }
      s += item->Width;
    }
    if (!removed) final = !final;
  } while (restW != 0 && (removed || final));
}

// ---- unit ------------------------------------------------------------------------------------

SIZE cxClasses::MakeSize(int Width, int Height) { return SIZE{Width, Height}; }

void cxClasses::Initialize() { Classes::RegisterClass(TcxComponent::StaticClass()); }

void cxClasses::Finalize() {}

PELTO_DEFINE_CLASS(TcxInterfacedPersistent)

PELTO_DEFINE_CLASS(TcxComponent)
PELTO_PUBLISH(TcxComponent, p)
{
  p.Property(
      "FakeComponentLink1", [](TcxComponent* c) { return c->FFakeLinks[0]; },
      [](TcxComponent* c, TComponent* v) { c->SetFakeComponentLink(0, v); });
  p.Property(
      "FakeComponentLink2", [](TcxComponent* c) { return c->FFakeLinks[1]; },
      [](TcxComponent* c, TComponent* v) { c->SetFakeComponentLink(1, v); });
  p.Property(
      "FakeComponentLink3", [](TcxComponent* c) { return c->FFakeLinks[2]; },
      [](TcxComponent* c, TComponent* v) { c->SetFakeComponentLink(2, v); });
}
