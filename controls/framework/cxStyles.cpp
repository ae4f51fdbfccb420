#include "controls/framework/cxStyles.h"

#include <algorithm>

#include "platform/classes/ClassRegistry.h"
#include "platform/classes/Reader.h"
#include "platform/classes/Writer.h"
#include "platform/rtl/StringUtils.h"

namespace {
template <class T>
void EraseValue(std::vector<T*>& v, T* x)
{
  v.erase(std::remove(v.begin(), v.end(), x), v.end());
}
}  // namespace

// ---- TcxCustomStyle --------------------------------------------------------------------------

TcxCustomStyle::~TcxCustomStyle()
{
  // Each listener drops its entries of this style (and stops listening while doing so).
  while (!FListeners.empty()) {
    TcxCustomStyles* listener = FListeners.back();
    listener->StyleRemoved(this);
    EraseValue(FListeners, listener);
  }
  SetStyleRepository(nullptr);
}

void TcxCustomStyle::SetStyleRepository(TcxStyleRepository* Value)
{
  if (FStyleRepository == Value) return;
  if (FStyleRepository) EraseValue(FStyleRepository->FItems, this);
  FStyleRepository = Value;
  if (Value && std::find(Value->FItems.begin(), Value->FItems.end(), this) == Value->FItems.end())
    Value->FItems.push_back(this);
}

void TcxCustomStyle::Changed()
{
  for (int i = int(FListeners.size()) - 1; i >= 0; --i)
    if (i < int(FListeners.size())) FListeners[i]->StyleChanged(this);
}

void TcxCustomStyle::AddListener(TcxCustomStyles* Listener)
{
  if (std::find(FListeners.begin(), FListeners.end(), Listener) == FListeners.end()) FListeners.push_back(Listener);
}

void TcxCustomStyle::RemoveListener(TcxCustomStyles* Listener) { EraseValue(FListeners, Listener); }

TComponent* TcxCustomStyle::GetParentComponent() { return FStyleRepository; }

void TcxCustomStyle::SetParentComponent(TComponent* Value)
{
  if (GetComponentState().Contains(csLoading)) return;
  auto* repository = dynamic_cast<TcxStyleRepository*>(Value);
  if (Value && !repository) throw EInvalidOperation("A style's parent must be a style repository");
  SetStyleRepository(repository);
}

void TcxCustomStyle::ReadState(TReader* Reader)
{
  TComponent::ReadState(Reader);
  if (auto* repository = dynamic_cast<TcxStyleRepository*>(Reader->GetParent())) SetStyleRepository(repository);
}

// ---- TcxStyle --------------------------------------------------------------------------------

TcxStyle::TcxStyle(TComponent* AOwner)
    : TcxCustomStyle(AOwner), FFont(std::make_unique<TFont>()), FBitmap(std::make_unique<TBitmap>())
{
  FFont->OnChange = [this](TObject*) {
    FAssignedValues.Include(svFont);
    Changed();
  };
  FBitmap->OnChange = [this](TObject*) { BitmapChanged(); };
}

void TcxStyle::SetAssignedValues(TcxStyleValues Value)
{
  if (FAssignedValues == Value) return;
  FAssignedValues = Value;
  Changed();
}

void TcxStyle::SetColor(TColor Value)
{
  if (FColor == Value) return;
  FColor = Value;
  if (Value == clDefault)
    FAssignedValues.Exclude(svColor);
  else
    FAssignedValues.Include(svColor);
  Changed();
}

void TcxStyle::SetTextColor(TColor Value)
{
  if (FTextColor == Value) return;
  FTextColor = Value;
  if (Value == clDefault)
    FAssignedValues.Exclude(svTextColor);
  else
    FAssignedValues.Include(svTextColor);
  Changed();
}

void TcxStyle::SetFont(TFont* Value)
{
  // Assigning tells the font's OnChange, which marks it assigned.
  if (Value && Value != FFont.get()) FFont->Assign(Value);
}

void TcxStyle::BitmapChanged()
{
  if (FBitmap->GetEmpty())
    FAssignedValues.Exclude(svBitmap);
  else
    FAssignedValues.Include(svBitmap);
  Changed();
}

void TcxStyle::Assign(TPersistent* Source)
{
  auto* s = dynamic_cast<TcxStyle*>(Source);
  if (!s) {
    TcxCustomStyle::Assign(Source);
    return;
  }
  SetBitmap(s->FBitmap.get());
  SetColor(s->FColor);
  SetFont(s->FFont.get());
  SetTextColor(s->FTextColor);
  SetAssignedValues(s->FAssignedValues);
}

void TcxStyle::RestoreDefaults()
{
  auto keep = FBitmap->OnChange;
  FBitmap->OnChange = nullptr;
  FBitmap->SetSize(0, 0);
  FBitmap->OnChange = keep;
  FAssignedValues = {};
  FColor = clDefault;
  FTextColor = clDefault;
  Changed();
}

// ---- TcxStyleRepository ----------------------------------------------------------------------

TcxStyleRepository::~TcxStyleRepository()
{
  while (!FItems.empty()) delete FItems.back();
  while (!FStyleSheets.empty()) delete FStyleSheets.back();
}

TcxCustomStyle* TcxStyleRepository::CreateItemEx(TcxStyleClass StyleClass, TComponent* Owner)
{
  if (!StyleClass->InheritsFrom(TcxCustomStyle::StaticClass())) throw EInvalidOperation("Not a style class");
  auto* style = static_cast<TcxCustomStyle*>(StyleClass->Create(Owner));
  style->SetStyleRepository(this);
  return style;
}

TcxCustomStyleSheet* TcxStyleRepository::CreateStyleSheetEx(TcxStyleSheetClass SheetClass, TComponent* Owner)
{
  if (!SheetClass->InheritsFrom(TcxCustomStyleSheet::StaticClass())) throw EInvalidOperation("Not a style sheet class");
  auto* sheet = static_cast<TcxCustomStyleSheet*>(SheetClass->Create(Owner));
  sheet->SetStyleRepository(this);
  return sheet;
}

void TcxStyleRepository::GetChildren(TGetChildProc Proc, TComponent* Root)
{
  for (auto* s : FItems)
    if (s->GetOwner() == Root) Proc(s);
  for (auto* s : FStyleSheets)
    if (s->GetOwner() == Root) Proc(s);
}

// ---- TcxCustomStyles -------------------------------------------------------------------------

TcxCustomStyles::~TcxCustomStyles()
{
  FDestroying = true;
  Clear();
  SetStyleSheet(nullptr);
}

bool TcxCustomStyles::Find(int Index, int& Position) const
{
  auto it =
      std::lower_bound(FEntries.begin(), FEntries.end(), Index, [](const TEntry& e, int i) { return e.Index < i; });
  Position = int(it - FEntries.begin());
  return it != FEntries.end() && it->Index == Index;
}

TcxCustomStyle* TcxCustomStyles::GetStyle(int Index)
{
  int pos;
  if (Find(Index, pos)) return FEntries[pos].Style;
  if (!FStyleSheet) return nullptr;
  // While the owner is written, styles that come from the sheet are not the set's own.
  if (auto* owner = dynamic_cast<TComponent*>(GetOwner()))
    if (owner->GetComponentState().Contains(csWriting)) return nullptr;
  return FStyleSheet->GetStyles()->GetStyle(Index);
}

void TcxCustomStyles::SetStyle(int Index, TcxCustomStyle* Style)
{
  if (GetStyle(Index) == Style) return;
  int pos;
  if (Find(Index, pos)) {
    TcxCustomStyle* old = FEntries[pos].Style;
    if (Style) {
      FEntries[pos].Style = Style;
      Style->AddListener(this);
    } else
      FEntries.erase(FEntries.begin() + pos);
    // A style still used at another index keeps reporting its changes there.
    if (std::none_of(FEntries.begin(), FEntries.end(), [&](const TEntry& e) { return e.Style == old; }))
      old->RemoveListener(this);
  } else if (Style) {
    FEntries.insert(FEntries.begin() + pos, TEntry{Index, Style});
    Style->AddListener(this);
  }
  NotifyChanged(Index);
}

void TcxCustomStyles::StyleChanged(TcxCustomStyle* Style)
{
  std::vector<int> indexes;
  for (auto& e : FEntries)
    if (e.Style == Style) indexes.push_back(e.Index);
  for (int i : indexes) NotifyChanged(i);
}

void TcxCustomStyles::DeleteEntry(int Position)
{
  TEntry e = FEntries[Position];
  FEntries.erase(FEntries.begin() + Position);
  bool stillUsed = std::any_of(FEntries.begin(), FEntries.end(), [&](const TEntry& x) { return x.Style == e.Style; });
  if (!stillUsed) e.Style->RemoveListener(this);
  NotifyChanged(e.Index);
}

void TcxCustomStyles::StyleRemoved(TcxCustomStyle* Style)
{
  for (int i = int(FEntries.size()) - 1; i >= 0; --i)
    if (i < int(FEntries.size()) && FEntries[i].Style == Style) DeleteEntry(i);
}

void TcxCustomStyles::Clear()
{
  while (!FEntries.empty()) DeleteEntry(int(FEntries.size()) - 1);
}

void TcxCustomStyles::NotifyChanged(int Index)
{
  if (FDestroying) return;
  Changed(Index);
  if (FOwnerStyleSheet) FOwnerStyleSheet->StyleSetChanged(Index);
}

bool TcxCustomStyles::CanSetStyleSheet(TcxCustomStyleSheet* Value)
{
  if (!Value) return true;
  if (Value == FOwnerStyleSheet || Value->GetStyleSetClass() != ClassType()) return false;
  if (FOwnerStyleSheet)
    for (TcxCustomStyleSheet* s = Value; s; s = s->GetStyles()->GetStyleSheet())
      if (s == FOwnerStyleSheet) return false;
  return true;
}

void TcxCustomStyles::CollectIndexes(TcxCustomStyleSheet* Sheet, std::vector<int>& Indexes)
{
  for (int guard = 0; Sheet && guard < 1000; Sheet = Sheet->GetStyles()->GetStyleSheet(), ++guard)
    for (auto& e : Sheet->GetStyles()->FEntries)
      if (std::find(Indexes.begin(), Indexes.end(), e.Index) == Indexes.end()) Indexes.push_back(e.Index);
}

void TcxCustomStyles::SetStyleSheet(TcxCustomStyleSheet* Value)
{
  if (Value == FStyleSheet || !CanSetStyleSheet(Value)) return;
  std::vector<int> indexes;
  if (FStyleSheet) {
    EraseValue(FStyleSheet->FUsers, this);
    if (!FDestroying) CollectIndexes(FStyleSheet, indexes);
  }
  FStyleSheet = Value;
  if (Value) {
    Value->FUsers.push_back(this);
    CollectIndexes(Value, indexes);
  }
  for (int i : indexes) NotifyChanged(i);
}

void TcxCustomStyles::Assign(TPersistent* Source)
{
  if (auto* s = dynamic_cast<TcxCustomStyles*>(Source))
    SetStyleSheet(s->FStyleSheet);
  else
    TcxInterfacedPersistent::Assign(Source);
}

// ---- TcxStyles -------------------------------------------------------------------------------

void TcxStyles::GetViewParams(int Index, TObject* Data, TcxStyle* ExtraStyle, TcxStyleViewParams& Params)
{
  TcxStyle* style = GetIndexedStyle(Index);
  auto has = [&](TcxStyle* s, TcxStyleValue v) { return s && s->GetAssignedValues().Contains(v); };
  auto pick = [&](TcxStyleValue v) -> TcxStyle* {
    return has(ExtraStyle, v) ? ExtraStyle : has(style, v) ? style : nullptr;
  };
  Params = TcxStyleViewParams{};
  if (BitmapsAllowed)
    if (TcxStyle* s = pick(svBitmap)) Params.Bitmap = s->GetBitmap();
  if (TcxStyle* s = pick(svColor)) Params.Color = s->GetColor();
  if (TcxStyle* s = pick(svFont)) Params.Font = s->GetFont();
  if (TcxStyle* s = pick(svTextColor)) Params.TextColor = s->GetTextColor();
  bool missing =
      (BitmapsAllowed && !Params.Bitmap) || Params.Color == clDefault || !Params.Font || Params.TextColor == clDefault;
  if (!missing) return;
  TcxStyleViewParams defaults;
  GetDefaultViewParams(Index, Data, defaults);
  if (!Params.Bitmap) Params.Bitmap = defaults.Bitmap;
  if (Params.Color == clDefault) Params.Color = defaults.Color;
  if (!Params.Font) Params.Font = defaults.Font;
  if (Params.TextColor == clDefault) Params.TextColor = defaults.TextColor;
}

TBitmap* TcxStyles::GetBackgroundBitmap(int Index)
{
  TcxStyle* style = GetIndexedStyle(Index);
  return style && style->GetAssignedValues().Contains(svBitmap) && !style->GetBitmap()->GetEmpty() ? style->GetBitmap()
                                                                                                   : nullptr;
}

bool TcxStyles::UsesDefaultFont(int Index)
{
  TcxStyle* style = GetIndexedStyle(Index);
  return !style || !style->GetAssignedValues().Contains(svFont);
}

// ---- TcxCustomStyleSheet ---------------------------------------------------------------------

TcxCustomStyleSheet::TcxCustomStyleSheet(TComponent* AOwner) : TcxComponent(AOwner)
{
  FBuiltIn = AOwner && AOwner->GetComponentState().Contains(csDesigning);
}

TcxCustomStyleSheet::~TcxCustomStyleSheet()
{
  while (!FUsers.empty()) FUsers.back()->SetStyleSheet(nullptr);
  SetStyleRepository(nullptr);
  FStyles.reset();
}

TcxCustomStyles* TcxCustomStyleSheet::GetStyles()
{
  if (!FStyles) {
    FStyles = CreateStyleSet();
    FStyles->FOwnerStyleSheet = this;
  }
  return FStyles.get();
}

AnsiString TcxCustomStyleSheet::GetCaption() const { return FCaption.empty() ? GetName() : FCaption; }

void TcxCustomStyleSheet::SetCaption(const AnsiString& Value)
{
  if (Value == FCaption) return;
  FCaption = SysUtils::AnsiSameText(Value, GetName()) ? AnsiString() : Value;
}

void TcxCustomStyleSheet::SetStyleRepository(TcxStyleRepository* Value)
{
  if (FStyleRepository == Value) return;
  if (FStyleRepository) EraseValue(FStyleRepository->FStyleSheets, this);
  FStyleRepository = Value;
  if (Value) Value->FStyleSheets.push_back(this);
}

TComponent* TcxCustomStyleSheet::GetParentComponent() { return FStyleRepository; }

void TcxCustomStyleSheet::SetParentComponent(TComponent* Value)
{
  if (GetComponentState().Contains(csLoading)) return;
  auto* repository = dynamic_cast<TcxStyleRepository*>(Value);
  if (Value && !repository) throw EInvalidOperation("A style sheet's parent must be a style repository");
  SetStyleRepository(repository);
}

void TcxCustomStyleSheet::Assign(TPersistent* Source)
{
  auto* s = dynamic_cast<TcxCustomStyleSheet*>(Source);
  if (!s) {
    TcxComponent::Assign(Source);
    return;
  }
  SetCaption(s->GetCaption());
  GetStyles()->Assign(s->GetStyles());  // a style set takes over only the other's sheet
}

void TcxCustomStyleSheet::DefineProperties(TFiler* Filer)
{
  TcxComponent::DefineProperties(Filer);
  Filer->DefineProperty(
      "BuiltIn", [this](TReader* Reader) { FBuiltIn = Reader->ReadBoolean(); },
      [this](TWriter* Writer) { Writer->WriteBoolean(FBuiltIn); }, true);
}

void TcxCustomStyleSheet::ReadState(TReader* Reader)
{
  TcxComponent::ReadState(Reader);
  if (auto* repository = dynamic_cast<TcxStyleRepository*>(Reader->GetParent())) SetStyleRepository(repository);
}

void TcxCustomStyleSheet::StyleSetChanged(int Index)
{
  for (size_t i = 0; i < FUsers.size(); ++i) FUsers[i]->NotifyChanged(Index);
  UpdateFakeLinks();
}

void TcxCustomStyleSheet::GetFakeComponentLinks(std::vector<TComponent*>& List)
{
  if (!GetOwner()) return;
  TcxCustomStyles* styles = GetStyles();
  for (int i = 0; i < styles->GetCount(); ++i) {
    TComponent* owner = styles->GetItem(i).Style->GetOwner();
    if (owner && owner != GetOwner() && std::find(List.begin(), List.end(), owner) == List.end()) List.push_back(owner);
  }
}

// ---- unit ------------------------------------------------------------------------------------

void cxStyles::Initialize()
{
  Classes::RegisterClasses({TcxStyle::StaticClass(), TcxCustomStyle::StaticClass(), TcxCustomStyleSheet::StaticClass(),
                            TcxStyleRepository::StaticClass()});
}

void cxStyles::Finalize() {}

PELTO_DEFINE_CLASS(TcxCustomStyle)

PELTO_DEFINE_CLASS(TcxStyle)
PELTO_PUBLISH(TcxStyle, p)
{
  p.Property("AssignedValues", &TcxStyle::GetAssignedValues, &TcxStyle::SetAssignedValues).Default(TcxStyleValues{});
  p.Property("Color", &TcxStyle::GetColor, &TcxStyle::SetColor).StoredWhen(p.When([](const TcxStyle* s) {
    return s->FAssignedValues.Contains(svColor);
  }));
  p.Property("Bitmap", &TcxStyle::GetBitmap, &TcxStyle::SetBitmap).StoredWhen(p.When([](const TcxStyle* s) {
    return s->FAssignedValues.Contains(svBitmap);
  }));
  p.Property("Font", &TcxStyle::GetFont, &TcxStyle::SetFont).StoredWhen(p.When([](const TcxStyle* s) {
    return s->FAssignedValues.Contains(svFont);
  }));
  p.Property("TextColor", &TcxStyle::GetTextColor, &TcxStyle::SetTextColor).StoredWhen(p.When([](const TcxStyle* s) {
    return s->FAssignedValues.Contains(svTextColor);
  }));
}

PELTO_DEFINE_CLASS(TcxStyleRepository)

PELTO_DEFINE_CLASS(TcxCustomStyles)

PELTO_DEFINE_CLASS(TcxStyles)

PELTO_DEFINE_CLASS(TcxCustomStyleSheet)
PELTO_PUBLISH(TcxCustomStyleSheet, p)
{
  p.Property("Caption", &TcxCustomStyleSheet::GetCaption, &TcxCustomStyleSheet::SetCaption)
      .StoredWhen(p.When([](const TcxCustomStyleSheet* s) { return !s->FCaption.empty(); }));
}
