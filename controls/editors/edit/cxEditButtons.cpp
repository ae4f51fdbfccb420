#include "controls/editors/edit/cxEditButtons.h"

#include "platform/forms/graphics/Bitmap.h"

#include "platform/rtl/Guards.h"

namespace {

// Reaches the protected owner link of any persistent.
struct TOwnerAccess : TPersistent {
  static TPersistent* Of(TPersistent* P) { return (P->*(&TOwnerAccess::GetOwner))(); }
};

}  // namespace

TPersistent* cxEdit::GetPersistentOwner(TPersistent* P) { return P ? TOwnerAccess::Of(P) : nullptr; }

TComponent* cxEdit::GetFirstComponent(TPersistent* P)
{
  for (int depth = 0; P && depth < 64; ++depth) {
    if (auto* c = dynamic_cast<TComponent*>(P)) return c;
    P = TOwnerAccess::Of(P);
  }
  return nullptr;
}

// Joins the collection only once whole: the collection reports the new item to its listeners,
// which read it as a button.
TcxEditButton::TcxEditButton(TCollection* Collection) : TCollectionItem(nullptr)
{
  SetCollection(Collection);
  if (!Collection) return;
  if (TComponent* c = cxEdit::GetFirstComponent(Collection);
      c && c->GetComponentState().Contains(csDesigning) && !c->GetComponentState().Contains(csLoading))
    FDefault = Collection->GetCount() == 1;
}

TcxEditButton::~TcxEditButton() = default;

void TcxEditButton::Assign(TPersistent* Source)
{
  auto* source = dynamic_cast<TcxEditButton*>(Source);
  if (!source) {
    TCollectionItem::Assign(Source);
    return;
  }
  TCollection* c = GetCollection();
  if (c) c->BeginUpdate();
  TScopeExit End([c] {
    if (c) c->EndUpdate();
  });
  SetDefault(source->FDefault);
  SetGlyph(source->GetGlyphIfAny());
  SetKind(source->FKind);
  SetLeftAlignment(source->FLeftAlignment);
  FTextColor = source->FTextColor;
  SetVisible(source->FVisible);
  SetWidth(source->FWidth);
}

void TcxEditButton::SetDefault(bool Value)
{
  if (Value == FDefault) return;
  FDefault = Value;
  if (Value && GetCollection()) {
    for (int i = 0; i < GetCollection()->GetCount(); ++i) {
      auto* b = static_cast<TcxEditButton*>(GetCollection()->GetItem(i));
      if (b != this) b->FDefault = false;
    }
  }
  Changed(true);
}

TBitmap* TcxEditButton::GetGlyph()
{
  if (!FGlyph) {
    FGlyph = std::make_unique<TBitmap>();
    FGlyph->OnChange = [this](TObject*) { GlyphChanged(); };
  }
  return FGlyph.get();
}

TBitmap* TcxEditButton::GetGlyphIfAny() const { return FGlyph && !FGlyph->GetEmpty() ? FGlyph.get() : nullptr; }

void TcxEditButton::SetGlyph(TBitmap* Value)
{
  if (!Value) {
    FGlyph.reset();
  } else {
    GetGlyph()->Assign(Value);
  }
  Changed(false);
}

void TcxEditButton::GlyphChanged() { Changed(false); }

void TcxEditButton::SetKind(TcxEditButtonKind Value)
{
  if (Value == FKind) return;
  FKind = Value;
  Changed(false);
}

void TcxEditButton::SetLeftAlignment(bool Value)
{
  if (Value == FLeftAlignment) return;
  FLeftAlignment = Value;
  Changed(false);
}

void TcxEditButton::SetVisible(bool Value)
{
  if (Value == FVisible) return;
  FVisible = Value;
  Changed(false);
}

void TcxEditButton::SetWidth(int Value)
{
  if (Value == FWidth || FWidth < 0) return;
  FWidth = Value;
  Changed(false);
}

// ---- TcxEditButtons

TcxEditButtons::TcxEditButtons(TPersistent* AOwner) : TOwnedCollection(AOwner, TcxEditButton::StaticClass()) {}

int TcxEditButtons::VisibleCount() const
{
  int n = 0;
  for (int i = 0; i < GetCount(); ++i)
    if (GetItem(i)->GetVisible()) ++n;
  return n;
}

void TcxEditButtons::Update(TCollectionItem*)
{
  if (OnChange) OnChange(this);
}

PELTO_DEFINE_CLASS(TcxEditButton)
PELTO_PUBLISH(TcxEditButton, p)
{
  p.Property("Default", &ThisClass::GetDefault, &ThisClass::SetDefault).Default(false);
  p.Property("Glyph", &ThisClass::GetGlyphForStream, &ThisClass::SetGlyph);
  p.Property("Kind", &ThisClass::GetKind, &ThisClass::SetKind).Default(bkDown);
  p.Property("LeftAlignment", &ThisClass::GetLeftAlignment, &ThisClass::SetLeftAlignment).Default(false);
  p.Property("Visible", &ThisClass::GetVisible, &ThisClass::SetVisible).Default(true);
  p.Property("Width", &ThisClass::GetWidth, &ThisClass::SetWidth).Default(0);
}

PELTO_DEFINE_CLASS(TcxEditButtons)
