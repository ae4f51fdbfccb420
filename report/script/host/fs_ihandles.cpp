#include "report/script/host/fs_ihandles.h"

#include <memory>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "platform/classes/Component.h"
#include "platform/rtl/FormatText.h"

namespace fs_ihandles {

namespace {

// Handles start far from small numbers so that a counter or an index is not mistaken for one.
constexpr Integer FirstHandle = 0x100000;

struct TEntry {
  TObject* Obj;  // nullptr once dead
  bool Created;  // made by the script
};

// Hears of watched components being deleted.
class TWatcher : public TComponent {
public:
  TWatcher() : TComponent(nullptr) {}
  ~TWatcher() override;
  std::function<void(TComponent*)> OnGone;

protected:
  void Notification(TComponent* AComponent, TOperation Operation) override
  {
    TComponent::Notification(AComponent, Operation);
    if (Operation == opRemove && OnGone) OnGone(AComponent);
  }
};
TWatcher::~TWatcher() { OnGone = nullptr; }

struct TTable {
  std::vector<TEntry> Entries;                                      // index = handle - FirstHandle
  std::unordered_map<const TObject*, Integer> Live;                 // object -> handle
  std::unordered_set<const TObject*> Freed;                         // addresses the script freed
  std::unordered_map<const TObject*, std::vector<TObject*>> Inner;  // owner -> what dies with it
  std::unordered_map<const TObject*, const TObject*> OuterOf;       // inner object -> its owner
  std::unordered_set<const TObject*> Ending;                        // inner objects deleted before their owner goes
  std::unique_ptr<TWatcher> Watcher;
};

void Kill(struct TTable& T, TObject* Obj, bool Unwatch);

// Freed by Clear only, never by the process's exit (objects may go later than this unit).
TTable*& Table()
{
  static TTable* T = nullptr;
  return T;
}

TTable& Get()
{
  auto& T = Table();
  if (!T) {
    T = new TTable;
    T->Watcher = std::make_unique<TWatcher>();
    // The component is being deleted: its list of watchers is in use, so no unwatching.
    T->Watcher->OnGone = [](TComponent* C) {
      TTable& Tb = Get();
      Kill(Tb, C, false);
      Tb.Freed.erase(C);
    };
  }
  return *T;
}

// Takes Obj out of its owner's list of inner objects.
void Detach(TTable& T, const TObject* Obj)
{
  auto O = T.OuterOf.find(Obj);
  if (O == T.OuterOf.end()) return;
  auto L = T.Inner.find(O->second);
  if (L != T.Inner.end()) {
    std::erase(L->second, Obj);
    if (L->second.empty()) T.Inner.erase(L);
  }
  T.OuterOf.erase(O);
  T.Ending.erase(Obj);
}

void Kill(TTable& T, TObject* Obj, bool Unwatch)
{
  Detach(T, Obj);
  // What lives inside Obj goes with it; what must end first is deleted now, while Obj is alive.
  if (auto L = T.Inner.find(Obj); L != T.Inner.end()) {
    std::vector<TObject*> Inside = std::move(L->second);
    T.Inner.erase(L);
    for (TObject* I : Inside) {
      T.OuterOf.erase(I);
      bool End = T.Ending.erase(I) != 0;
      // Not a component (those are watched by themselves), and maybe freed already with Obj.
      Kill(T, I, false);
      if (End) {
        T.Freed.insert(I);
        delete I;
      }
    }
  }
  auto It = T.Live.find(Obj);
  if (It == T.Live.end()) return;
  T.Entries[static_cast<std::size_t>(It->second - FirstHandle)].Obj = nullptr;
  T.Live.erase(It);
  if (Unwatch)
    if (auto* C = dynamic_cast<TComponent*>(Obj)) T.Watcher->RemoveFreeNotification(C);
}

}  // namespace

Integer HandleOf(TObject* Obj)
{
  if (!Obj) return 0;
  TTable& T = Get();
  auto It = T.Live.find(Obj);
  if (It != T.Live.end()) return It->second;
  if (T.Freed.count(Obj)) throw EInvalidPointer("Object has been freed");
  Integer H = FirstHandle + static_cast<Integer>(T.Entries.size());
  T.Entries.push_back({Obj, false});
  T.Live.emplace(Obj, H);
  if (auto* C = dynamic_cast<TComponent*>(Obj)) T.Watcher->FreeNotification(C);
  return H;
}

Variant ToVariant(TObject* Obj) { return Variant(HandleOf(Obj)); }

Variant ToVariantWithin(TObject* Obj, TObject* Owner)
{
  Integer H = HandleOf(Obj);
  if (!Obj || !Owner || Obj == Owner) return Variant(H);
  TTable& T = Get();
  if (T.Entries[static_cast<std::size_t>(H - FirstHandle)].Created || T.OuterOf.count(Obj)) return Variant(H);
  T.OuterOf.emplace(Obj, Owner);
  T.Inner[Owner].push_back(Obj);
  return Variant(H);
}

void EndsBefore(TObject* Obj, TObject* Owner)
{
  if (!Obj || !Owner || Obj == Owner) return;
  TTable& T = Get();
  HandleOf(Obj);
  HandleOf(Owner);
  Detach(T, Obj);
  T.OuterOf.emplace(Obj, Owner);
  T.Inner[Owner].push_back(Obj);
  T.Ending.insert(Obj);
}

TObject* ObjectOf(const Variant& V)
{
  if (V.IsNull() || V.IsEmpty()) return nullptr;
  Int64 H = V.AsInt64();
  if (H == 0) return nullptr;
  TTable& T = Get();
  Int64 I = H - FirstHandle;
  if (I < 0 || I >= static_cast<Int64>(T.Entries.size()))
    throw EInvalidPointer(SysUtils::Format("Invalid object reference (%d)", {H}));
  TObject* Obj = T.Entries[static_cast<std::size_t>(I)].Obj;
  if (!Obj) throw EInvalidPointer("Object has been freed");
  return Obj;
}

TObject* LiveObjectOf(const Variant& V)
{
  TObject* Obj = ObjectOf(V);
  if (!Obj) throw EInvalidPointer("Object reference is nil");
  return Obj;
}

void Released(TObject* Obj)
{
  if (!Obj) return;
  TTable& T = Get();
  Kill(T, Obj, true);
  T.Freed.insert(Obj);
}

void ReleasedWithOwner(TObject* Obj)
{
  if (Obj && Table() && Get().Live.count(Obj)) Released(Obj);
}

void Forget(TObject* Obj)
{
  if (!Obj || !Table()) return;
  TTable& T = Get();
  Kill(T, Obj, true);
  T.Freed.erase(Obj);
}

Variant Adopt(TObject* Obj)
{
  if (!Obj) return Variant(0);
  TTable& T = Get();
  T.Freed.erase(Obj);
  Kill(T, Obj, true);  // a stale entry of a host object the host forgot to report
  Integer H = HandleOf(Obj);
  T.Entries[static_cast<std::size_t>(H - FirstHandle)].Created = true;
  return Variant(H);
}

bool CreatedByScript(TObject* Obj)
{
  if (!Obj || !Table()) return false;
  TTable& T = Get();
  auto It = T.Live.find(Obj);
  return It != T.Live.end() && T.Entries[static_cast<std::size_t>(It->second - FirstHandle)].Created;
}

void Clear()
{
  delete Table();
  Table() = nullptr;
}

}  // namespace fs_ihandles
