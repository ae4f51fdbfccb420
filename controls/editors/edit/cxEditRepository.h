// The three links between editors and the world around them:
// - TcxInplaceEditList gives an owner (the grid, the filter control) one hidden editor per
//   properties object or per properties class;
// - TcxEditRepository holds named properties objects (items) that many editors share; an editor
//   using an item listens to it and follows its changes;
// - TcxEditDataBinding is the editor's link to its data and owns its default-values provider.
#pragma once

#include <memory>
#include <vector>

#include "controls/data/controller/cxDataBinding.h"
#include "controls/editors/edit/cxEditProperties.h"
#include "platform/classes/Component.h"

class TcxCustomEdit;
class TcxEditRepositoryItem;

class IcxEditRepositoryItemListener {
public:
  virtual ~IcxEditRepositoryItemListener() = default;
  virtual void ItemRemoved(TcxEditRepositoryItem* Sender) = 0;
  virtual void PropertiesChanged(TcxEditRepositoryItem* Sender) = 0;
};

// Carries an editor's listener implementation.
class TcxEditRepositoryItemListenerEditHelper : public TObject, public IcxEditRepositoryItemListener {
public:
  explicit TcxEditRepositoryItemListenerEditHelper(TcxCustomEdit* AEdit) : FEdit(AEdit) {}
  // The editor goes back to its own properties, as clearing RepositoryItem does.
  void ItemRemoved(TcxEditRepositoryItem* Sender) override;
  // Unless the editor is loading or destroying, it takes the item's properties.
  void PropertiesChanged(TcxEditRepositoryItem* Sender) override;

private:
  TcxCustomEdit* FEdit;
};

class TcxEditRepository;

class TcxEditRepositoryItem : public TComponent {
  PELTO_DECLARE_CLASS(TcxEditRepositoryItem, TComponent)
public:
  explicit TcxEditRepositoryItem(TComponent* AOwner);
  // Tells every listener, last first, that the item goes, then leaves the repository.
  ~TcxEditRepositoryItem() override;

  TcxCustomEditProperties* GetProperties() const { return FProperties.get(); }
  void SetProperties(TcxCustomEditProperties* Value) { FProperties->Assign(Value); }
  TcxEditRepository* GetRepository() const { return FRepository; }
  void SetRepository(TcxEditRepository* Value);
  virtual void AddListener(IcxEditRepositoryItemListener* AListener);
  virtual void RemoveListener(IcxEditRepositoryItemListener* AListener);
  int GetListenerCount() const { return int(FListeners.size()); }
  virtual TClass GetEditPropertiesClass() const { return TcxCustomEditProperties::StaticClass(); }
  // Tells every listener, last first.
  virtual void PropertiesChanged(TObject* Sender);

  bool HasParent() override { return FRepository != nullptr; }
  TComponent* GetParentComponent() override;
  // Ignored while loading; the parent must be a TcxEditRepository.
  void SetParentComponent(TComponent* AParent) override;
  void ReadState(TReader* Reader) override;

  TNotifyEvent PropertiesEvents;  // a design-time placeholder

  PELTO_PUBLISHED(p);

protected:
  // Descendants with their own properties class call it at the end of their constructor.
  void CreateProperties();

private:
  std::unique_ptr<TcxCustomEditProperties> FProperties;
  TcxEditRepository* FRepository = nullptr;
  std::vector<IcxEditRepositoryItemListener*> FListeners;  // borrowed
};

class TcxEditRepository : public TComponent {
  PELTO_DECLARE_CLASS(TcxEditRepository, TComponent)
public:
  explicit TcxEditRepository(TComponent* AOwner) : TComponent(AOwner) {}
  // Frees every item, last first.
  ~TcxEditRepository() override;

  // A new item owned by the repository's owner, joined to the repository.
  TcxEditRepositoryItem* CreateItem(TClass AItemClass) { return CreateItemEx(AItemClass, GetOwner()); }
  virtual TcxEditRepositoryItem* CreateItemEx(TClass AItemClass, TComponent* AOwner);
  int Count() const { return int(FItems.size()); }
  TcxEditRepositoryItem* Items(int Index) const { return FItems.at(Index); }
  void GetChildren(TGetChildProc Proc, TComponent* Root) override;

private:
  friend class TcxEditRepositoryItem;
  void AddItem(TcxEditRepositoryItem* AItem);
  void RemoveItem(TcxEditRepositoryItem* AItem);

  std::vector<TcxEditRepositoryItem*> FItems;
  bool FDestroying = false;
};

// Per-cell state an in-place owner keeps for an editor between activations.
class TcxCustomEditData : public TObject {
  PELTO_DECLARE_CLASS(TcxCustomEditData, TObject)
public:
  using TConstructArg = TcxCustomEdit*;
  explicit TcxCustomEditData(TcxCustomEdit* AEdit);
  ~TcxCustomEditData() override;
  TcxCustomEdit* GetEdit() const { return FEdit; }
  // Cleared := True; when this object is its live editor's current edit data, the editor resets
  // it at once and Cleared := False.
  void Invalidate();
  bool Cleared = false;

private:
  TcxCustomEdit* FEdit;  // cleared when the editor is freed
  std::unique_ptr<TcxFreeNotificator> FFreeNotificator;
};

class TcxEditDataBinding : public TPersistent {
  PELTO_DECLARE_CLASS(TcxEditDataBinding, TPersistent)
public:
  using TConstructArg = TcxCustomEdit*;
  explicit TcxEditDataBinding(TcxCustomEdit* AEdit);
  ~TcxEditDataBinding() override;
  TPersistent* GetOwner() override;
  TcxCustomEdit* GetEdit() const { return FEdit; }
  IcxEditDefaultValuesProvider* GetDefaultValuesProvider() const;

  virtual bool IsEditorDesigning();
  virtual bool CanModify() { return true; }
  virtual void NotifyDefaultValuesChanged();
  virtual bool ExecuteAction(TObject* Action) { return false; }
  virtual void GetDisplayValue(Variant& Value);
  virtual bool Modified();
  virtual void ReadEditValue(Variant& Value);
  virtual void RestoreEditValue();
  virtual void SetDisplayValue(const Variant& Value);
  virtual bool CanEdit() { return true; }
  virtual void UpdateData(const Variant& Value) {}
  virtual bool UpdateAction(TObject* Action) { return false; }
  virtual void UpdateDisplayValue();
  virtual TClass GetDefaultValuesProviderClass() const;
  virtual void DefaultValuesChanged() {}

protected:
  // Descendants with their own provider class call it at the end of their constructor.
  void CreateDefaultValuesProvider();

private:
  TcxCustomEdit* FEdit;
  std::unique_ptr<TcxCustomEditDefaultValuesProvider> FDefaultValuesProvider;
};

class TcxDataBinding : public TcxCustomDataBinding {
public:
  using TcxCustomDataBinding::TcxCustomDataBinding;
};

class TcxInplaceEditList : public TObject {
public:
  TcxInplaceEditList() = default;
  // Frees every editor, last first.
  ~TcxInplaceEditList() override;

  // The editor kept for these properties, made the first time; it then takes the properties'
  // current settings (unless it uses a repository item), with its change events held back.
  TcxCustomEdit* GetEdit(TcxCustomEditProperties* AProperties);
  // The first kept editor whose active properties are exactly of the class; else a new one,
  // kept with its own properties.
  TcxCustomEdit* GetEditByPropertiesClass(TClass APropertiesClass);
  // Nothing when no editor is kept for the properties.
  void RemoveEdit(TcxCustomEditProperties* AProperties);
  void Clear();
  int Count() const { return int(FItems.size()); }
  TcxCustomEdit* Items(int Index) const { return FItems.at(Index).Edit.get(); }

protected:
  // A hidden in-place editor of the properties' container class, without owner.
  virtual TcxCustomEdit* CreateEdit(TcxCustomEditProperties* AProperties);

private:
  struct TItem {
    std::unique_ptr<TcxCustomEdit> Edit;
    TcxCustomEditProperties* Properties;  // borrowed
  };
  std::vector<TItem> FItems;
};
