#include "gridkit/edits/MRUListEh.h"

#include "platform/forms/graphics/Font.h"
#include "platform/rtl/Guards.h"
#include "platform/rtl/StringUtils.h"
#include "platform/win/queue/Messages.h"

// ---- TMRUListEh -------------------------------------------------------------------------------

TMRUListEh::TMRUListEh(TPersistent* Owner) : FOwner(Owner), FItems(std::make_unique<TStringList>()) {}

TMRUListEh::~TMRUListEh() = default;

void TMRUListEh::Assign(TPersistent* Source)
{
  if (auto* src = dynamic_cast<TMRUListEh*>(Source)) {
    SetActive(src->FActive);
    FItems->Assign(src->FItems.get());
    SetLimit(src->FLimit);
    FRows = src->FRows;
    FCaseSensitive = src->FCaseSensitive;
    return;
  }
  TPersistent::Assign(Source);
}

void TMRUListEh::SetActive(bool Value)
{
  if (Value == FActive) return;
  FActive = Value;
  if (OnActiveChanged) OnActiveChanged(this);
}

void TMRUListEh::SetLimit(Integer Value)
{
  FLimit = Value;
  TrimToLimit();
}

void TMRUListEh::TrimToLimit()
{
  while (FItems->GetCount() > FLimit && FItems->GetCount() > 0) FItems->Delete(0);
}

bool TMRUListEh::Matches(const AnsiString& A, const AnsiString& B) const
{
  return FCaseSensitive ? A == B : SysUtils::AnsiCompareText(A, B) == 0;
}

void TMRUListEh::AddValue(const AnsiString& S)
{
  if (SysUtils::Trim(S).empty()) return;
  for (Integer i = 0; i < FItems->GetCount(); ++i)
    if (Matches(FItems->GetStrings(i), S)) {
      FItems->Move(i, FItems->GetCount() - 1);
      return;
    }
  FItems->Add(S);
  TrimToLimit();
}

bool TMRUListEh::CollectMatches(TStrings* Dest, const AnsiString& Prefix)
{
  TUpdateGuard update(*Dest);
  Dest->Clear();
  for (Integer i = 0; i < FItems->GetCount(); ++i) {
    AnsiString item = FItems->GetStrings(i);
    AnsiString head = item.substr(0, Prefix.size());
    bool accept =
        FCaseSensitive ? SysUtils::AnsiCompareStr(head, Prefix) == 0 : SysUtils::AnsiCompareText(head, Prefix) == 0;
    if (OnFilterItem) OnFilterItem(this, accept);
    if (accept) Dest->Add(item);
    if (i % 100 == 0 && StopOnPendingKey) {
      MSG msg;
      if (Windows::PeekMessage(&msg, nullptr, WM_KEYDOWN, WM_KEYDOWN, PM_NOREMOVE)) return false;
    }
  }
  return true;
}

void TMRUListEh::RequestDropDown()
{
  if (OnDropDownRequest) OnDropDownRequest(this);
}

void TMRUListEh::RequestCloseUp(bool Accept)
{
  if (OnCloseUpRequest) OnCloseUpRequest(this, Accept);
}

// ---- TSpecRowEh -------------------------------------------------------------------------------

TSpecRowEh::TSpecRowEh(TPersistent* Owner)
    : FOwner(Owner), FCells(std::make_unique<TStringList>()), FFont(std::make_unique<TFont>())
{
  FFont->OnChange = [this](TObject*) {
    if (FRefreshingFont) return;
    FFontAssigned = true;
    Changed();
  };
}

TSpecRowEh::~TSpecRowEh() = default;

void TSpecRowEh::Assign(TPersistent* Source)
{
  auto* src = dynamic_cast<TSpecRowEh*>(Source);
  if (!src) {
    TPersistent::Assign(Source);
    return;
  }
  LockChanges();
  struct Unlock {
    TSpecRowEh* R;
    ~Unlock() { R->UnlockChanges(); }
  } unlock{this};
  SetCellsText(src->FCellsText);
  SetColor(src->GetColor());
  if (src->FFontAssigned) SetFont(src->GetFont());
  SetShortCut(src->FShortCut);
  SetShowIfNotInKeyList(src->FShowIfNotInKeyList);
  SetValue(src->FValue);
  SetVisible(src->FVisible);
}

void TSpecRowEh::Changed()
{
  if (FUpdateCount > 0) {
    FPendingChange = true;
    return;
  }
  if (OnChanged) OnChanged(this);
}

void TSpecRowEh::UnlockChanges()
{
  if (FUpdateCount > 0 && --FUpdateCount == 0 && FPendingChange) {
    FPendingChange = false;
    if (OnChanged) OnChanged(this);
  }
}

void TSpecRowEh::SetCellsText(const AnsiString& Value)
{
  FCellsText = Value;
  FCells->Clear();
  std::size_t i = 0, n = Value.size();
  auto control = [&](std::size_t k) { return k < n && Value[k] >= 1 && Value[k] < 32; };
  while (control(i)) ++i;
  while (i < n) {
    AnsiString cell;
    if (Value[i] == '"') {
      ++i;
      while (i < n) {
        if (Value[i] == '"') {
          if (i + 1 < n && Value[i + 1] == '"') {
            cell += '"';
            i += 2;
            continue;
          }
          ++i;
          break;
        }
        cell += Value[i++];
      }
    } else {
      while (i < n && Value[i] != ';' && static_cast<unsigned char>(Value[i]) >= 32) cell += Value[i++];
    }
    FCells->Add(cell);
    while (control(i)) ++i;
    if (i < n && Value[i] == ';') {
      ++i;
      while (control(i)) ++i;
    } else if (i < n && Value[i] == '\0') {
      break;  // the text ends at a zero byte
    }
  }
  Changed();
}

AnsiString TSpecRowEh::CellTextAt(Integer Index) const
{
  return Index >= 0 && Index < FCells->GetCount() ? FCells->GetStrings(Index) : AnsiString();
}

TColor TSpecRowEh::GetColor() const
{
  if (FColorAssigned) return FColor;
  if (auto* owner = dynamic_cast<ISpecRowOwnerEh*>(FOwner)) return owner->GetSpecRowDefaultColor();
  return FColor;
}

void TSpecRowEh::SetColor(TColor Value)
{
  if (Value == FColor && FColorAssigned) return;
  if (Value != FColor) FColorAssigned = true;
  FColor = Value;
  Changed();
}

TFont* TSpecRowEh::GetFont()
{
  if (!FFontAssigned)
    if (auto* owner = dynamic_cast<ISpecRowOwnerEh*>(FOwner))
      if (TFont* def = owner->GetSpecRowDefaultFont()) {
        FRefreshingFont = true;
        struct Reset {
          bool& F;
          ~Reset() { F = false; }
        } reset{FRefreshingFont};
        FFont->Assign(def);
      }
  return FFont.get();
}

void TSpecRowEh::SetFont(TFont* Value) { FFont->Assign(Value); }

void TSpecRowEh::SetShortCut(Integer Value)
{
  if (Value == FShortCut) return;
  FShortCut = Value;
  Changed();
}

void TSpecRowEh::SetShowIfNotInKeyList(bool Value)
{
  if (Value == FShowIfNotInKeyList) return;
  FShowIfNotInKeyList = Value;
  Changed();
}

void TSpecRowEh::SetValue(const Variant& Value)
{
  FValue = Value;
  Changed();
}

void TSpecRowEh::SetVisible(bool Value)
{
  if (Value == FVisible) return;
  FVisible = Value;
  Changed();
}

PELTO_DEFINE_CLASS(TMRUListEh)
PELTO_PUBLISH(TMRUListEh, p)
{
  p.Property("Active", &TMRUListEh::GetActive, &TMRUListEh::SetActive).Default(false);
  p.Property("AutoAdd", &TMRUListEh::GetAutoAdd, &TMRUListEh::SetAutoAdd).Default(true);
  p.Property("CaseSensitive", &TMRUListEh::GetCaseSensitive, &TMRUListEh::SetCaseSensitive).Default(false);
  p.Property("Items", &TMRUListEh::GetItems, &TMRUListEh::SetItems);
  p.Property("Limit", &TMRUListEh::GetLimit, &TMRUListEh::SetLimit).Default(100);
  p.Property("Rows", &TMRUListEh::GetRows, &TMRUListEh::SetRows).Default(7);
}

PELTO_DEFINE_CLASS(TSpecRowEh)
PELTO_PUBLISH(TSpecRowEh, p)
{
  p.Property("CellsText", &TSpecRowEh::GetCellsText, &TSpecRowEh::SetCellsText);
  p.Property("Color", TypeInfo_TColor(), &TSpecRowEh::GetColor, &TSpecRowEh::SetColor).StoredWhen([](const TObject* o) {
    return static_cast<const TSpecRowEh*>(o)->ColorStored();
  });
  p.Property("Font", &TSpecRowEh::GetFont, &TSpecRowEh::SetFont).StoredWhen([](const TObject* o) {
    return static_cast<const TSpecRowEh*>(o)->FontStored();
  });
  p.Property("ShortCut", &TSpecRowEh::GetShortCut, &TSpecRowEh::SetShortCut).Default(32814);
  p.Property("ShowIfNotInKeyList", &TSpecRowEh::GetShowIfNotInKeyList, &TSpecRowEh::SetShowIfNotInKeyList)
      .Default(true);
  p.Property("Value", &TSpecRowEh::GetValue, &TSpecRowEh::SetValue).StoredWhen([](const TObject* o) {
    return !static_cast<const TSpecRowEh*>(o)->GetValue().IsNull();
  });
  p.Property("Visible", &TSpecRowEh::GetVisible, &TSpecRowEh::SetVisible).Default(false);
}
