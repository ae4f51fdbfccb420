// The buttons of an editor: a collection owned by the editor's properties. A change of any
// button reaches the properties through the collection's change event.
#pragma once

#include <memory>

#include "controls/editors/edit/cxEditTypes.h"
#include "platform/classes/Collection.h"
#include "platform/classes/Component.h"
#include "platform/forms/graphics/Colors.h"

class TBitmap;

class TcxEditButton : public TCollectionItem {
  PELTO_DECLARE_CLASS(TcxEditButton, TCollectionItem)
public:
  // The first button added while its owner chain is designing (and not loading) becomes Default.
  explicit TcxEditButton(TCollection* Collection);
  ~TcxEditButton() override;
  void Assign(TPersistent* Source) override;

  bool GetDefault() const { return FDefault; }
  // True clears Default on every other button of the collection.
  void SetDefault(bool Value);
  // Made on first read; owned by the button.
  TBitmap* GetGlyph();
  // Null frees the glyph; otherwise the bitmap is copied.
  void SetGlyph(TBitmap* Value);
  // The glyph when one was made and holds a picture; null otherwise (never creates one).
  TBitmap* GetGlyphIfAny() const;
  TcxEditButtonKind GetKind() const { return FKind; }
  void SetKind(TcxEditButtonKind Value);
  bool GetLeftAlignment() const { return FLeftAlignment; }
  void SetLeftAlignment(bool Value);
  bool GetVisible() const { return FVisible; }
  void SetVisible(bool Value);
  int GetWidth() const { return FWidth; }
  // Stored only while the current width is not negative: a negative width, once set, stays.
  void SetWidth(int Value);
  TColor GetTextColor() const { return FTextColor; }
  void SetTextColor(TColor Value) { FTextColor = Value; }

  PELTO_PUBLISHED(p);

private:
  TBitmap* GetGlyphForStream() const { return GetGlyphIfAny(); }
  void GlyphChanged();

  bool FDefault = false;
  std::unique_ptr<TBitmap> FGlyph;
  TcxEditButtonKind FKind = bkDown;
  bool FLeftAlignment = false;
  bool FVisible = true;
  int FWidth = 0;
  TColor FTextColor = clBtnText;
};

class TcxEditButtons : public TOwnedCollection {
  PELTO_DECLARE_CLASS(TcxEditButtons, TOwnedCollection)
public:
  // AOwner is the properties object (not owned).
  explicit TcxEditButtons(TPersistent* AOwner);
  TcxEditButton* GetItem(int Index) const { return static_cast<TcxEditButton*>(TCollection::GetItem(Index)); }
  TcxEditButton* Add() { return static_cast<TcxEditButton*>(TCollection::Add()); }
  int VisibleCount() const;

  // Fired with the collection as Sender after any change.
  TNotifyEvent OnChange;

protected:
  void Update(TCollectionItem* Item) override;
};

namespace cxEdit {
// The owner link of a persistent (its GetOwner); null for null.
TPersistent* GetPersistentOwner(TPersistent* P);
// The persistent itself when it is a component, else the first component up its owner chain.
TComponent* GetFirstComponent(TPersistent* P);
}  // namespace cxEdit
