// The small bases of the control family: a persistent that knows its owner, a component that
// keeps design-time links, an owning object list, two class registries and the proportional
// column-width distributor.
//
// Message texts of the family are fetched through cxResourceStrings::GetResourceString
// (controls/editors), which stays the one place that decides where texts come from.
#pragma once

#include <memory>
#include <vector>

#include "platform/classes/Component.h"
#include "platform/classes/Interfaces.h"
#include "platform/classes/TextAlignment.h"
#include "platform/gdi/WinTypes.h"
#include "platform/rtl/Lists.h"

PELTO_ENUM(TcxAlignmentVert, vaTop, vaBottom, vaCenter)

// A persistent whose owner (not owned) answers GetOwner, so the streaming system and the
// inspector find the owning component through it.
class TcxInterfacedPersistent : public TInterfacedPersistent {
  PELTO_DECLARE_CLASS(TcxInterfacedPersistent, TInterfacedPersistent)
public:
  explicit TcxInterfacedPersistent(TPersistent* AOwner) : FOwner(AOwner) {}
  TPersistent* GetOwner() override { return FOwner; }

private:
  TPersistent* FOwner;
};

// A component that names up to three other components it depends on at design time, so the
// designer keeps them together when a form is copied or saved.
class TcxComponent : public TComponent {
  PELTO_DECLARE_CLASS(TcxComponent, TComponent)
public:
  static constexpr int FakeLinkCount = 3;
  explicit TcxComponent(TComponent* AOwner) : TComponent(AOwner) {}
  ~TcxComponent() override;

  TComponent* GetFakeComponentLink(int Index) const { return FFakeLinks[Index]; }
  void SetFakeComponentLink(int Index, TComponent* Value);
  // Refreshes the links from GetFakeComponentLinks; only while designing, not destroying and
  // with an owner. A link the list has no item for becomes nil.
  void UpdateFakeLinks();

  PELTO_PUBLISHED(p);

protected:
  // Adds the components to keep linked; none here.
  virtual void GetFakeComponentLinks(std::vector<TComponent*>& List) {}
  void Loaded() override;
  // A linked component that goes away leaves no dangling link behind.
  void Notification(TComponent* AComponent, TOperation Operation) override;

private:
  TComponent* FFakeLinks[FakeLinkCount] = {};
};

// A list that owns its objects: Clear frees them from the first to the last.
class TcxObjectList : public TList {
public:
public:
  ~TcxObjectList() override { Clear(); }
  void Clear() override;
  TObject* GetItem(int Index) const { return static_cast<TObject*>(GetItems(Index)); }
};

// Maps a key class to a registered class along the inheritance chain: the nearest registered
// ancestor-or-self of a class wins. A pair whose key descends from another pair's key stands
// behind it.
class TcxRegisteredClassList : public TObject {
public:
  struct TPair {
    TClass ItemClass;
    TClass RegisteredClass;
  };
  virtual ~TcxRegisteredClassList() = default;
  // Scans from the last pair: true with the index of the first pair whose key is AClass or an
  // ancestor. A pair whose key descends from AClass sets Index and scans on; with no match
  // either way Index keeps the caller's value.
  virtual bool Find(TClass AClass, int& Index) const;
  // Registering the same pair twice stores it twice.
  virtual void Register(TClass AItemClass, TClass ARegisteredClass);
  // Removes every pair equal to the given one.
  virtual void Unregister(TClass AItemClass, TClass ARegisteredClass);
  // The registered class of the nearest registered ancestor-or-self, or nullptr.
  TClass FindClass(TClass AClass) const;
  void Clear() { FItems.clear(); }
  int GetCount() const { return int(FItems.size()); }
  const TPair& GetItem(int Index) const { return FItems.at(Index); }

private:
  std::vector<TPair> FItems;
};

// Classes with descriptions, in the order of registration; optionally also registered with the
// streaming system so forms naming them can be read.
class TcxRegisteredClasses : public TObject {
public:
  explicit TcxRegisteredClasses(bool ARegisterClasses = false) : FRegisterClasses(ARegisterClasses) {}
  // Nothing when the class is already listed.
  void Register(TClass AClass, const AnsiString& ADescription);
  // Not an error when the class is not listed.
  void Unregister(TClass AClass);
  int GetCount() const { return int(FItems.size()); }
  TClass GetItem(int Index) const { return FItems.at(Index).second; }
  const AnsiString& GetDescription(int Index) const { return FItems.at(Index).first; }
  // The first listed class named exactly AName (case-sensitive), or nullptr.
  TClass FindByClassName(const AnsiString& AName) const;
  void Clear() { FItems.clear(); }

private:
  bool FRegisterClasses;
  std::vector<std::pair<AnsiString, TClass>> FItems;
};

class TcxAutoWidthItem : public TObject {
public:
  int MinWidth = 0;
  int Width = 0;
  bool Fixed = false;
  int AutoWidth = -1;  // -1: not computed yet
};

// Distributes AvailableWidth over the items in proportion to their widths, keeping fixed items
// and raising any item whose share would not exceed its minimum to that minimum.
class TcxAutoWidthObject : public TObject {
public:
  explicit TcxAutoWidthObject(int Capacity = 0) { FItems.reserve(Capacity); }
  // The new item is owned by the object.
  TcxAutoWidthItem* NewItem();
  TcxAutoWidthItem* ItemAt(int Index) const { return FItems.at(Index).get(); }
  int GetCount() const { return int(FItems.size()); }
  int GetWidth() const;
  // Items that already have an AutoWidth are left alone, so a second call changes nothing.
  void Calculate();
  int AvailableWidth = 0;

private:
  std::vector<std::unique_ptr<TcxAutoWidthItem>> FItems;
};

namespace cxClasses {
SIZE MakeSize(int Width, int Height);
// Adds TcxComponent to the streaming classes. Idempotent.
void Initialize();
void Finalize();
}  // namespace cxClasses
