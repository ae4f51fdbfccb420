#include "gridkit/edits/EditButtonsEh.h"

#include <algorithm>

TEditButtonEh::TEditButtonEh(TCollection* Collection) : TCollectionItem(nullptr), FGlyph(std::make_unique<TBitmap>())
{
  FGlyph->SetTransparent(true);
  // Joining the collection once the item is whole: the collection's update runs once.
  if (Collection) {
    Collection->BeginUpdate();
    SetCollection(Collection);
    Collection->EndUpdate();
  }
}

TEditButtonEh::TEditButtonEh(TComponent* EditControl)
    : TCollectionItem(nullptr), FEditControl(EditControl), FGlyph(std::make_unique<TBitmap>())
{
  FGlyph->SetTransparent(true);
}

TEditButtonEh::~TEditButtonEh() = default;

void TEditButtonEh::ButtonChanged()
{
  if (OnChangeInternal)
    OnChangeInternal(this);
  else if (GetCollection())
    Changed(false);
}

void TEditButtonEh::Assign(TPersistent* Source)
{
  auto* src = dynamic_cast<TEditButtonEh*>(Source);
  if (!src) {
    TCollectionItem::Assign(Source);
    return;
  }
  SetDropdownMenu(src->FDropdownMenu);
  SetGlyph(src->FGlyph.get());
  SetHint(src->FHint);
  SetNumGlyphs(src->FNumGlyphs);
  SetShortCut(src->FShortCut);
  SetStyle(src->FStyle);
  SetVisible(src->FVisible);
  SetWidth(src->FWidth);
  OnClick = src->OnClick;
  OnDown = src->OnDown;
}

void TEditButtonEh::SetGlyph(TBitmap* Value)
{
  FGlyph->Assign(Value);
  ButtonChanged();
}

void TEditButtonEh::SetHint(const AnsiString& Value)
{
  if (Value == FHint) return;
  FHint = Value;
  ButtonChanged();
}

void TEditButtonEh::SetNumGlyphs(Integer Value)
{
  Value = std::clamp(Value, 1, 4);
  if (Value == FNumGlyphs) return;
  FNumGlyphs = Value;
  ButtonChanged();
}

void TEditButtonEh::SetStyle(TEditButtonStyleEh Value)
{
  if (Value == FStyle) return;
  FStyle = Value;
  ButtonChanged();
}

void TEditButtonEh::SetVisible(bool Value)
{
  if (Value == FVisible) return;
  FVisible = Value;
  ButtonChanged();
}

void TEditButtonEh::SetWidth(Integer Value)
{
  if (Value == FWidth) return;
  FWidth = Value;
  ButtonChanged();
}

TVisibleEditButtonEh::TVisibleEditButtonEh(TCollection* Collection) : TEditButtonEh(Collection)
{
  FVisible = true;
  FShortCut = AltDown;
}

TVisibleEditButtonEh::TVisibleEditButtonEh(TComponent* EditControl) : TEditButtonEh(EditControl)
{
  FVisible = true;
  FShortCut = AltDown;
}

void TEditButtonsEh::Update(TCollectionItem* Item)
{
  TCollection::Update(Item);
  if (OnChangeInternal) OnChangeInternal(Item);
}

PELTO_DEFINE_CLASS(TEditButtonEh)
PELTO_PUBLISH(TEditButtonEh, p)
{
  p.Property("Glyph", &TEditButtonEh::GetGlyph, &TEditButtonEh::SetGlyph).StoredWhen([](const TObject* o) {
    return !static_cast<const TEditButtonEh*>(o)->FGlyph->GetEmpty();
  });
  p.Property("Hint", &TEditButtonEh::GetHint, &TEditButtonEh::SetHint);
  p.Property("NumGlyphs", &TEditButtonEh::GetNumGlyphs, &TEditButtonEh::SetNumGlyphs).Default(1);
  p.Property("ShortCut", &TEditButtonEh::GetShortCut, &TEditButtonEh::SetShortCut).StoredWhen([](const TObject* o) {
    auto* b = static_cast<const TEditButtonEh*>(o);
    return b->FShortCut != b->DefaultShortCut();
  });
  p.Property("Style", &TEditButtonEh::GetStyle, &TEditButtonEh::SetStyle).Default(ebsDropDownEh);
  p.Property("Visible", &TEditButtonEh::GetVisible, &TEditButtonEh::SetVisible).StoredWhen([](const TObject* o) {
    auto* b = static_cast<const TEditButtonEh*>(o);
    return b->FVisible != b->DefaultVisible();
  });
  p.Property("Width", &TEditButtonEh::GetWidth, &TEditButtonEh::SetWidth).Default(0);
}

PELTO_DEFINE_CLASS(TVisibleEditButtonEh)

PELTO_DEFINE_CLASS(TEditButtonsEh)
