// TComponent: a persistent object with an owner, a name unique among the owner's components,
// owned components that it frees, and notifications when components come and go.
//
// Ownership: an owner deletes the components it owns when it is deleted; deleting an owned
// component takes it out of its owner first. A derived class whose Notification must see its
// owned components go calls DestroyComponents() in its own destructor (the base destructor
// runs after the derived parts are gone).
#pragma once

#include <functional>
#include <vector>

#include "platform/classes/Persistent.h"

class TReader;
class TWriter;
class TComponent;

PELTO_ENUM(TComponentStateItem, csLoading, csReading, csWriting, csDestroying, csDesigning, csAncestor, csUpdating,
           csFixups, csFreeNotification, csInline, csDesignInstance)
PELTO_SET(TComponentState, TComponentStateItem)
PELTO_ENUM(TComponentStyleItem, csInheritable, csCheckPropAvail, csSubComponent, csTransient)
PELTO_SET(TComponentStyle, TComponentStyleItem)
enum TOperation { opInsert, opRemove };

PELTO_EVENT_TYPE(TNotifyEvent, void(TObject* Sender))
using TGetChildProc = std::function<void(TComponent* Child)>;

class TComponent : public TPersistent {
  PELTO_CLASS(TComponent, TPersistent)
public:
  using TConstructArg = TComponent*;

  // AOwner (may be nullptr) takes ownership: it deletes this component with itself.
  explicit TComponent(TComponent* AOwner);
  ~TComponent() override;

  TComponent* GetOwner() override { return FOwner; }
  TComponent* GetOwner() const { return FOwner; }

  const AnsiString& GetName() const { return FName; }
  // Raises EComponentError "'%s' is not a valid component name" for a name that is not an
  // identifier and "A component named %s already exists" for a name the owner already holds
  // (ignoring case). The empty name is allowed and never clashes.
  virtual void SetName(const AnsiString& NewName);
  Integer GetTag() const { return FTag; }
  void SetTag(Integer Value) { FTag = Value; }

  TComponentState GetComponentState() const { return FComponentState; }
  TComponentStyle GetComponentStyle() const { return FComponentStyle; }
  // A sub-component is owned by another component but stored as part of it (its properties
  // flattened into the owner's property that holds it) rather than by reference.
  void SetSubComponent(bool Value);

  int GetComponentCount() const { return static_cast<int>(FComponents.size()); }
  // Raises EListError "List index out of bounds (%d)" for a bad index.
  TComponent* GetComponent(int Index) const;
  // -1 when there is no owner.
  int GetComponentIndex() const;
  void SetComponentIndex(int Value);
  // The owned component of that name (ignoring case); nullptr when none or Name is empty.
  TComponent* FindComponent(const AnsiString& Name) const;

  // Takes AComponent over from its present owner. Raises the name errors of SetName when its
  // name clashes with one of ours (it then stays where it was).
  void InsertComponent(TComponent* AComponent);
  // Lets AComponent go without deleting it; it then has no owner.
  void RemoveComponent(TComponent* AComponent);
  // Deletes every owned component.
  void DestroyComponents();
  // Marks the component as being destroyed (csDestroying), and its owned components too.
  void Destroying();

  // Asks to be told (Notification with opRemove) when AComponent is deleted; mutual. Not
  // needed between components of the same owner, which hear of each other anyway.
  void FreeNotification(TComponent* AComponent);
  void RemoveFreeNotification(TComponent* AComponent);

  AnsiString GetNamePath() override;

  // Children written after the component in a component stream, by calling Proc for each;
  // Root is the component at the top of the stream. None here.
  virtual void GetChildren(TGetChildProc Proc, TComponent* Root) {}
  // The owner of children read from a stream below this component (nullptr: the reader's
  // root), and the component they are given as parent.
  virtual TComponent* GetChildOwner() { return nullptr; }
  virtual TComponent* GetChildParent() { return this; }
  virtual bool HasParent() { return false; }
  virtual TComponent* GetParentComponent() { return nullptr; }
  virtual void SetParentComponent(TComponent* Value) {}
  virtual void SetChildOrder(TComponent* Child, int Order) {}

  // Called once the component and its whole stream were read and references fixed up.
  virtual void Loaded();
  // Reads and writes the component's own part of a stream (its properties).
  virtual void ReadState(TReader* Reader);
  virtual void WriteState(TWriter* Writer);

  void SetDesigning(bool Value, bool SetChildren = true);

  PELTO_PUBLISHED(p)
  {
    p.Property("Name", &TComponent::GetName, &TComponent::SetName).Stored(false);
    p.Property("Tag", &TComponent::GetTag, &TComponent::SetTag).Default(0);
  }

protected:
  // Told of components inserted into or removed from the owner, and of components freed that
  // asked for free notification. The base forgets a freed component and passes the news on to
  // every owned component.
  virtual void Notification(TComponent* AComponent, TOperation Operation);
  // Checks NewName for AComponent (nullptr: this component itself) against the owned names.
  virtual void ValidateRename(TComponent* AComponent, const AnsiString& CurName, const AnsiString& NewName);

  void IncludeState(TComponentStateItem Item) { FComponentState.Include(Item); }
  void ExcludeState(TComponentStateItem Item) { FComponentState.Exclude(Item); }

private:
  void Insert(TComponent* AComponent);
  void Remove(TComponent* AComponent);

  TComponent* FOwner = nullptr;
  AnsiString FName;
  Integer FTag = 0;
  std::vector<TComponent*> FComponents;    // owned, in insertion order
  std::vector<TComponent*> FFreeNotifies;  // components to tell when this one goes
  TComponentState FComponentState;
  TComponentStyle FComponentStyle{csInheritable};

  friend class TReader;
  friend class TWriter;
};

using TComponentClass = TClass;
