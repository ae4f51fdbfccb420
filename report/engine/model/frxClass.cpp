#include "report/engine/model/frxClass.h"

#include <algorithm>
#include <set>

#include "platform/classes/ClassRegistry.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FormatText.h"
#include "platform/rtl/Lists.h"
#include "platform/rtl/StringList.h"
#include "platform/rtl/Streams.h"
#include "report/engine/model/frxBands.h"
#include "report/engine/model/frxPage.h"
#include "report/engine/model/frxRes.h"
#include "report/engine/model/frxUtils.h"
#include "report/engine/model/frxReport.h"
#include "report/engine/serialize/frxXMLSerializer.h"
#include "report/engine/xml/frxXML.h"
#include "report/script/host/fs_ihandles.h"
#include "platform/rtl/StringUtils.h"
#include "platform/rtl/Guards.h"

using SysUtils::SameText;

// ---- TfrxComponent: construction -------------------------------------------------------------

namespace {

// "TfrxMemoView" -> "Memo": the first "Tfrx" and the first "View" go.
AnsiString MakeBaseName(const AnsiString& ClassName)
{
  AnsiString s = ClassName;
  if (size_t at = s.find("Tfrx"); at != AnsiString::npos) s.erase(at, 4);
  if (size_t at = s.find("View"); at != AnsiString::npos) s.erase(at, 4);
  return s;
}

// The report an owner-to-be belongs to: the parent itself or its nearest report ancestor.
TfrxReport* ReportOf(TfrxComponent* c)
{
  for (; c; c = c->GetParent())
    if (auto* r = dynamic_cast<TfrxReport*>(c)) return r;
  return nullptr;
}

TComponent* PlatformOwner(TComponent* AOwner)
{
  if (auto* parent = dynamic_cast<TfrxComponent*>(AOwner)) return ReportOf(parent);
  return AOwner;
}

}  // namespace

TfrxComponent::TfrxComponent(TComponent* AOwner) : TComponent(PlatformOwner(AOwner)), FFont(std::make_unique<TFont>())
{
  frxUtils::SetDefaultFont(FFont.get());
  FFont->OnChange = [this](TObject*) { FontChanged(); };
  if (auto* parent = dynamic_cast<TfrxComponent*>(AOwner)) SetParent(parent);
}

TfrxComponent::~TfrxComponent()
{
  // The class name is fixed by now; a derived part is gone, so only the tree is undone here.
  SetParent(nullptr);
  Clear();
  // A script may still hold the lists' handles: they die with the object.
  fs_ihandles::ReleasedWithOwner(FObjectsList.get());
  fs_ihandles::ReleasedWithOwner(FAllObjectsList.get());
}

void TfrxComponent::Assign(TPersistent* Source)
{
  auto* src = dynamic_cast<TfrxComponent*>(Source);
  if (!src) {
    TComponent::Assign(Source);
    return;
  }
  TMemoryStream s;
  src->SaveToStream(&s, false, true);
  s.SetPosition(0);
  LoadFromStream(&s);
}

void TfrxComponent::AssignWithChildren(TfrxComponent* Source)
{
  TMemoryStream s;
  Source->SaveToStream(&s, true, true);
  s.SetPosition(0);
  LoadFromStream(&s);
}

// ---- Tree ------------------------------------------------------------------------------------

void TfrxComponent::CollectAll(TfrxComponentList& List) const
{
  for (TfrxComponent* c : FObjects) {
    List.push_back(c);
    c->CollectAll(List);
  }
}

const TfrxComponent::TfrxComponentList& TfrxComponent::GetAllObjects()
{
  FAllObjects.clear();
  CollectAll(FAllObjects);
  return FAllObjects;
}

namespace {
TList* Refill(std::unique_ptr<TList>& List, const TfrxComponent::TfrxComponentList& Items)
{
  if (!List) List = std::make_unique<TList>();
  List->Clear();
  for (TfrxComponent* c : Items) List->Add(c);
  return List.get();
}
}  // namespace

TList* TfrxComponent::GetObjectsList() { return Refill(FObjectsList, FObjects); }

TList* TfrxComponent::GetAllObjectsList() { return Refill(FAllObjectsList, GetAllObjects()); }

void TfrxComponent::SetParent(TfrxComponent* Value)
{
  if (FParent == Value) return;
  // A parent among the object's own descendants would make a cycle.
  for (TfrxComponent* p = Value; p; p = p->FParent)
    if (p == this) throw EInvalidOperation("Cannot make an object its own descendant");
  if (FParent) {
    auto& siblings = FParent->FObjects;
    siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
  }
  FParent = Value;
  if (FParent) {
    FParent->FObjects.push_back(this);
    SetParentFont(FParentFont);
  }
}

void TfrxComponent::Clear()
{
  while (!FObjects.empty()) delete FObjects.back();
}

TfrxPage* TfrxComponent::GetPage()
{
  for (TfrxComponent* c = this; c; c = c->FParent)
    if (auto* p = dynamic_cast<TfrxPage*>(c)) return p;
  return nullptr;
}

TfrxReport* TfrxComponent::GetReport() { return ReportOf(this); }

TfrxComponent* TfrxComponent::FindObject(const AnsiString& AName)
{
  for (TfrxComponent* c : GetAllObjects())
    if (SameText(c->GetName(), AName)) return c;
  return nullptr;
}

void TfrxComponent::SetName(const AnsiString& NewName)
{
  if (NewName == GetName()) return;
  if (TfrxReport* r = GetReport(); r && !NewName.empty()) {
    TfrxComponent* other = SameText(r->GetName(), NewName) ? r : r->FindObject(NewName);
    if (other && other != this) throw Exception(frxRes::Get("prDupl"));
  }
  TComponent::SetName(NewName);
}

AnsiString TfrxComponent::GetBaseName() const
{
  // The class name is known only once construction is over, hence computed here.
  return FBaseName.empty() ? DefaultBaseName() : FBaseName;
}

AnsiString TfrxComponent::DefaultBaseName() const { return MakeBaseName(ClassName()); }

void TfrxComponent::CreateUniqueName()
{
  std::set<AnsiString> taken;
  auto add = [&](const AnsiString& n) {
    AnsiString lower = n;
    for (char& ch : lower)
      if (ch >= 'A' && ch <= 'Z') ch += 32;
    taken.insert(lower);
  };
  TfrxComponent* scope = GetReport();
  if (!scope) scope = FParent;
  if (scope)
    for (TfrxComponent* c : scope->GetAllObjects())
      if (c != this) add(c->GetName());
  for (Integer n = 1;; ++n) {
    AnsiString name = GetBaseName() + SysUtils::IntToStr(n);
    AnsiString lower = name;
    for (char& ch : lower)
      if (ch >= 'A' && ch <= 'Z') ch += 32;
    if (!taken.count(lower)) {
      SetName(name);
      return;
    }
  }
}

void TfrxComponent::GetChildren(TGetChildProc Proc, TComponent* Root)
{
  for (TfrxComponent* c : FObjects) Proc(c);
}

// ---- Bounds ----------------------------------------------------------------------------------

void TfrxComponent::SetLeft(Extended Value)
{
  if (!(FIsDesigning && FRestrictions.Contains(rfDontMove))) FLeft = Value;
}
void TfrxComponent::SetTop(Extended Value)
{
  if (!(FIsDesigning && FRestrictions.Contains(rfDontMove))) FTop = Value;
}
void TfrxComponent::SetWidth(Extended Value)
{
  if (!(FIsDesigning && FRestrictions.Contains(rfDontSize))) FWidth = Value;
}
void TfrxComponent::SetHeight(Extended Value)
{
  if (!(FIsDesigning && FRestrictions.Contains(rfDontSize))) FHeight = Value;
}

void TfrxComponent::SetBounds(Extended ALeft, Extended ATop, Extended AWidth, Extended AHeight)
{
  SetLeft(ALeft);
  SetTop(ATop);
  SetWidth(AWidth);
  SetHeight(AHeight);
}

Extended TfrxComponent::GetAbsLeft() const
{
  Extended sum = 0;
  for (const TfrxComponent* c = this; c; c = c->FParent) {
    sum += c->FLeft;
    if (c->FParent && c->FParent->IsDialogPage()) break;
  }
  return sum;
}

Extended TfrxComponent::GetAbsTop() const
{
  Extended sum = 0;
  for (const TfrxComponent* c = this; c; c = c->FParent) {
    sum += c->FTop;
    if (c->FParent && c->FParent->IsDialogPage()) break;
  }
  return sum;
}

// ---- Font ------------------------------------------------------------------------------------

void TfrxComponent::SetFont(TFont* Value)
{
  if (Value && Value != FFont.get()) FFont->Assign(Value);
  FParentFont = false;
}

void TfrxComponent::SetParentFont(bool Value)
{
  if (Value && FParent) SetFont(FParent->GetFont());
  FParentFont = Value;
}

void TfrxComponent::FontChanged()
{
  FParentFont = false;
  for (TfrxComponent* c : FObjects)
    if (c->FParentFont) c->SetParentFont(true);
}

// ---- Streams ---------------------------------------------------------------------------------

void TfrxComponent::LoadFromStream(TStream* Stream)
{
  AnsiString kept = GetName();
  Clear();
  TfrxReport* report = GetReport();
  TfrxXMLSerializer reader(Stream);
  TfrxXMLSerializer* outer = report ? report->GetLoadingSerializer() : nullptr;
  if (report) report->SetLoadingSerializer(&reader);
  auto finish = [&] {
    if (report) {
      report->SetLoadingSerializer(outer);
      report->GetErrors()->AddStrings(reader.GetErrors());
    }
    // The name is restored as it was, without the duplicate check of a rename.
    TComponent::SetName(kept);
  };
  TScopeExit undo([&] { finish(); });
  TComponent::SetName(AnsiString());
  reader.ReadRootComponent(this, nullptr);
}

void TfrxComponent::SaveToStream(TStream* Stream, bool SaveChildren, bool SaveDefaultValues)
{
  AnsiString kept = GetName();
  TComponent::SetName(AnsiString());
  TfrxXMLSerializer writer(Stream);
  writer.SetWriteDefaults(SaveDefaultValues);
  TScopeExit undo([&] { TComponent::SetName(kept); });
  writer.WriteRootComponent(this, SaveChildren, nullptr);
}

// ---- Difference text and alignment -----------------------------------------------------------

AnsiString TfrxComponent::WriteDiff(TfrxComponent* Reference)
{
  AnsiString s;
  auto add = [&](const char* name, const AnsiString& value) { s += AnsiString(" ") + name + "=\"" + value + "\""; };
  auto num = [](Extended v) { return SysUtils::FloatToStr(static_cast<double>(v)); };
  if (frxClass::Differs(FLeft, Reference->FLeft)) add("l", num(FLeft));
  if (dynamic_cast<TfrxBand*>(this) || frxClass::Differs(FTop, Reference->FTop)) add("t", num(FTop));
  if (frxClass::Differs(FWidth, Reference->FWidth)) add("w", num(FWidth));
  if (frxClass::Differs(FHeight, Reference->FHeight)) add("h", num(FHeight));
  if (FVisible != Reference->FVisible) add("Visible", FVisible ? "True" : "False");
  if (!FParentFont) {
    const TFont& f = *FFont;
    const TFont& r = *Reference->FFont;
    if (f.GetName() != r.GetName()) add("Font.Name", frxXML::EscapeText(f.GetName()));
    if (f.GetSize() != r.GetSize()) add("Font.Size", SysUtils::IntToStr(f.GetSize()));
    if (f.GetColor() != r.GetColor()) add("Font.Color", SysUtils::IntToStr(f.GetColor()));
    if (f.GetStyle() != r.GetStyle()) add("Font.Style", SysUtils::IntToStr(static_cast<Int64>(f.GetStyle().Mask())));
    if (f.GetCharset() != r.GetCharset()) add("Font.Charset", SysUtils::IntToStr(f.GetCharset()));
  }
  if (FParentFont != Reference->FParentFont) add("ParentFont", FParentFont ? "True" : "False");
  if (GetTag() != Reference->GetTag()) add("Tag", SysUtils::IntToStr(GetTag()));
  return s;
}

void TfrxComponent::AlignChildren()
{
  // Objects with an Align value come with the views; the base has none to place.
}

// ---- TfrxReportComponent ---------------------------------------------------------------------

void TfrxReportComponent::SaveBounds()
{
  FSavedBounds[0] = GetLeft();
  FSavedBounds[1] = GetTop();
  FSavedBounds[2] = GetWidth();
  FSavedBounds[3] = GetHeight();
}

void TfrxReportComponent::RestoreBounds()
{
  SetBounds(FSavedBounds[0], FSavedBounds[1], FSavedBounds[2], FSavedBounds[3]);
}

// ---- Registration ----------------------------------------------------------------------------

namespace frxClass {

TfrxComponent* CreateForDesign(TClass AClass, TComponent* AOwner, Word Flags)
{
  if (!AClass || !AClass->InheritsFrom(TfrxComponent::StaticClass()))
    throw EInvalidOperation("Not a report object class");
  auto* obj = static_cast<TfrxComponent*>(AClass->Create(AOwner));
  obj->SetIsDesigning(true);
  obj->CreateForDesign(Flags);
  return obj;
}

void Initialize()
{
  Classes::RegisterClasses({TfrxReport::StaticClass(), TfrxReportPage::StaticClass()});
  frxBands::Initialize();
}

}  // namespace frxClass

PELTO_DEFINE_CLASS(TfrxComponent)

PELTO_DEFINE_CLASS(TfrxReportComponent)
