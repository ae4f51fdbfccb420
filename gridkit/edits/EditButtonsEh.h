// The descriptions of the buttons inside an edit control or a grid column: one main button (a
// drop-down arrow by default) and any number of extra ones. The host (the grid's in-place
// editor, a data-aware edit) makes the button controls from these and places them.
#pragma once

#include <functional>
#include <memory>

#include "platform/classes/Collection.h"
#include "platform/forms/graphics/Bitmap.h"

class TComponent;
class TPopupMenuBase;

PELTO_ENUM(TEditButtonStyleEh, ebsDropDownEh, ebsEllipsisEh, ebsGlyphEh, ebsUpDownEh, ebsPlusEh, ebsMinusEh)

using TButtonClickEventEh = std::function<void(TObject* Sender, bool& Handled)>;
using TButtonDownEventEh = std::function<void(TObject* Sender, bool TopButton, bool& AutoRepeat, bool& Handled)>;

class TEditButtonEh : public TCollectionItem {
  PELTO_DECLARE_CLASS(TEditButtonEh, TCollectionItem)
public:
  // An item of a button collection.
  explicit TEditButtonEh(TCollection* Collection);
  // A single button of EditControl (in no collection); the control is borrowed.
  explicit TEditButtonEh(TComponent* EditControl);
  ~TEditButtonEh() override;
  // Copies the look, the menu, the shortcut and the events.
  void Assign(TPersistent* Source) override;

  TComponent* GetEditControl() const { return FEditControl; }
  // Borrowed; the host pops it up on a press.
  TPopupMenuBase* GetDropdownMenu() const { return FDropdownMenu; }
  void SetDropdownMenu(TPopupMenuBase* Value) { FDropdownMenu = Value; }
  // The item's own transparent copy of the picture.
  TBitmap* GetGlyph() const { return FGlyph.get(); }
  void SetGlyph(TBitmap* Value);
  const AnsiString& GetHint() const { return FHint; }
  void SetHint(const AnsiString& Value);
  Integer GetNumGlyphs() const { return FNumGlyphs; }
  // Kept within 1..4.
  void SetNumGlyphs(Integer Value);
  Word GetShortCut() const { return FShortCut; }
  void SetShortCut(Word Value) { FShortCut = Value; }
  TEditButtonStyleEh GetStyle() const { return FStyle; }
  void SetStyle(TEditButtonStyleEh Value);
  bool GetVisible() const { return FVisible; }
  void SetVisible(bool Value);
  // 0: the host's default width.
  Integer GetWidth() const { return FWidth; }
  void SetWidth(Integer Value);

  TButtonClickEventEh OnClick;
  TButtonDownEventEh OnDown;
  // A host holding a single item hears of its changes here.
  std::function<void(TObject* Sender)> OnChangeInternal;

  PELTO_PUBLISHED(p);

protected:
  virtual bool DefaultVisible() const { return false; }
  virtual Word DefaultShortCut() const { return 0; }
  void ButtonChanged();

  bool FVisible = false;
  Word FShortCut = 0;

private:
  TComponent* FEditControl = nullptr;
  TPopupMenuBase* FDropdownMenu = nullptr;
  std::unique_ptr<TBitmap> FGlyph;
  AnsiString FHint;
  Integer FNumGlyphs = 1;
  TEditButtonStyleEh FStyle = ebsDropDownEh;
  Integer FWidth = 0;
};

// The main button of a data-aware edit: visible, Alt+Down.
class TVisibleEditButtonEh : public TEditButtonEh {
  PELTO_DECLARE_CLASS(TVisibleEditButtonEh, TEditButtonEh)
public:
  static constexpr Word AltDown = 32808;
  explicit TVisibleEditButtonEh(TCollection* Collection);
  explicit TVisibleEditButtonEh(TComponent* EditControl);

protected:
  bool DefaultVisible() const override { return true; }
  Word DefaultShortCut() const override { return AltDown; }
};

// The extra buttons.
class TEditButtonsEh : public TCollection {
  PELTO_DECLARE_CLASS(TEditButtonsEh, TCollection)
public:
  // Owner is what streaming and designers see as the collection's owner (borrowed).
  TEditButtonsEh(TPersistent* Owner, TClass ItemClass) : TCollection(ItemClass), FOwner(Owner) {}
  TEditButtonEh* GetItem(int Index) const { return static_cast<TEditButtonEh*>(TCollection::GetItem(Index)); }
  TEditButtonEh* Add() { return static_cast<TEditButtonEh*>(TCollection::Add()); }
  TPersistent* GetOwner() override { return FOwner; }
  // The changed item, or nullptr when the whole collection changed.
  std::function<void(TObject* Item)> OnChangeInternal;

protected:
  void Update(TCollectionItem* Item) override;

private:
  TPersistent* FOwner;
};
