#include "report/engine/design/frxDsgnIntf.h"

#include <algorithm>

#include "platform/classes/ClassRegistry.h"
#include "platform/rtl/Conversions.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/FormatText.h"
#include "platform/rtl/StringUtils.h"
#include "report/engine/model/frxClass.h"
#include "report/engine/model/frxFont.h"
#include "report/engine/model/frxPage.h"
#include "report/engine/model/frxPlugins.h"
#include "report/engine/model/frxReport.h"
#include "report/engine/model/frxRes.h"

using SysUtils::SameText;

namespace {

[[noreturn]] void InvalidValue() { throw Exception(frxRes::Get("prInvProp")); }

}  // namespace

// ---- Property editors ------------------------------------------------------------------------

void TfrxPropertyEditor::AddObject(TObject* Obj, const TPropInfo* Prop)
{
  FObjects.push_back(Obj);
  FProps.push_back(Prop);
}

TfrxComponent* TfrxPropertyEditor::GetFrxComponent() const { return dynamic_cast<TfrxComponent*>(GetComponent()); }

AnsiString TfrxPropertyEditor::GetName() { return GetPropInfo() ? GetPropInfo()->Name : AnsiString(); }

bool TfrxPropertyEditor::Edit()
{
  GetValues();
  if (FValues.GetCount() == 0) return false;
  Integer i = FValues.IndexOf(GetValue());
  Integer next = (i < 0 || i == FValues.GetCount() - 1) ? 0 : i + 1;
  SetValue(FValues[next]);
  return true;
}

void TfrxPropertyEditor::GetValues()
{
  FValues.Clear();
  FValues.SetSorted((GetAttributes() & paSortList) != 0);
}

Int64 TfrxPropertyEditor::GetOrdValue() const
{
  const TPropInfo* p = GetPropInfo();
  if (p->PropType->Kind == tkClass)
    return static_cast<Int64>(reinterpret_cast<std::intptr_t>(TypInfo::GetObjectProp(GetComponent(), p)));
  return TypInfo::GetOrdProp(GetComponent(), p);
}
Extended TfrxPropertyEditor::GetFloatValue() const { return TypInfo::GetFloatProp(GetComponent(), GetPropInfo()); }
AnsiString TfrxPropertyEditor::GetStrValue() const { return TypInfo::GetStrProp(GetComponent(), GetPropInfo()); }

void TfrxPropertyEditor::SetOrdValue(Int64 Value)
{
  for (size_t i = 0; i < FObjects.size(); ++i) {
    if (FProps[i]->PropType->Kind == tkClass)
      TypInfo::SetObjectProp(FObjects[i], FProps[i], reinterpret_cast<TObject*>(static_cast<std::intptr_t>(Value)));
    else
      TypInfo::SetOrdProp(FObjects[i], FProps[i], Value);
  }
}
void TfrxPropertyEditor::SetFloatValue(Extended Value)
{
  for (size_t i = 0; i < FObjects.size(); ++i) TypInfo::SetFloatProp(FObjects[i], FProps[i], Value);
}
void TfrxPropertyEditor::SetStrValue(const AnsiString& Value)
{
  for (size_t i = 0; i < FObjects.size(); ++i) TypInfo::SetStrProp(FObjects[i], FProps[i], Value);
}

AnsiString TfrxIntegerProperty::GetValue() { return SysUtils::IntToStr(GetOrdValue()); }
void TfrxIntegerProperty::SetValue(const AnsiString& Value) { SetOrdValue(SysUtils::StrToInt(Value)); }

AnsiString TfrxFloatProperty::GetValue() { return SysUtils::FloatToStr(static_cast<double>(GetFloatValue())); }
void TfrxFloatProperty::SetValue(const AnsiString& Value) { SetFloatValue(frxDsgnIntf::StrToFloatAnySep(Value)); }

AnsiString TfrxCharProperty::GetValue()
{
  Int64 c = GetOrdValue();
  if (c < 33) return "#" + SysUtils::IntToStr(c);
  return AnsiString(1, static_cast<char>(c));
}

void TfrxCharProperty::SetValue(const AnsiString& Value)
{
  if (Value.empty()) SetOrdValue(0);
  else if (Value.size() == 1) SetOrdValue(static_cast<unsigned char>(Value[0]));
  else if (Value[0] == '#') SetOrdValue(SysUtils::StrToInt(Value.substr(1, 255)));
  else InvalidValue();
}

AnsiString TfrxStringProperty::GetValue() { return GetStrValue(); }
void TfrxStringProperty::SetValue(const AnsiString& Value) { SetStrValue(Value); }

AnsiString TfrxEnumProperty::GetValue() { return TypInfo::GetEnumName(GetPropInfo()->PropType, GetOrdValue()); }

void TfrxEnumProperty::GetValues()
{
  TfrxPropertyEditor::GetValues();
  for (const AnsiString& n : GetPropInfo()->PropType->EnumNames) AddValue(n);
}

void TfrxEnumProperty::SetValue(const AnsiString& Value)
{
  Int64 v = TypInfo::GetEnumValue(GetPropInfo()->PropType, Value);
  if (v < 0) InvalidValue();
  SetOrdValue(v);
}

AnsiString TfrxSetProperty::GetValue()
{
  return TypInfo::SetToString(GetPropInfo()->PropType, GetOrdValue(), true);
}

AnsiString TfrxSetElementProperty::GetName()
{
  return TypInfo::GetEnumName(GetPropInfo()->PropType->CompType, Element);
}

AnsiString TfrxSetElementProperty::GetValue()
{
  bool member = Element <= 31 && (GetOrdValue() & (Int64(1) << Element)) != 0;
  return member ? "True" : "False";
}

void TfrxSetElementProperty::GetValues()
{
  TfrxPropertyEditor::GetValues();
  AddValue("False");
  AddValue("True");
}

void TfrxSetElementProperty::SetValue(const AnsiString& Value)
{
  bool on;
  if (SameText(Value, "True")) on = true;
  else if (SameText(Value, "False")) on = false;
  else InvalidValue();
  if (Element > 31) return;
  // Each object keeps its other members.
  const auto& objs = GetObjects();
  const auto& props = GetProps();
  for (size_t i = 0; i < objs.size(); ++i) {
    Int64 mask = TypInfo::GetOrdProp(objs[i], props[i]);
    mask = on ? (mask | (Int64(1) << Element)) : (mask & ~(Int64(1) << Element));
    TypInfo::SetOrdProp(objs[i], props[i], mask);
  }
}

AnsiString TfrxComponentProperty::GetValue()
{
  auto* c = dynamic_cast<TComponent*>(TypInfo::GetObjectProp(GetComponent(), GetPropInfo()));
  return c ? c->GetName() : AnsiString();
}

namespace {

// The objects a component property may refer to: the page's objects for a report object, the
// object's own descendants otherwise, of the property's class and other than the object.
std::vector<TfrxComponent*> Candidates(TfrxPropertyEditor* E)
{
  std::vector<TfrxComponent*> r;
  TfrxComponent* obj = E->GetFrxComponent();
  if (!obj) return r;
  TfrxComponent* scope = obj;
  if (dynamic_cast<TfrxReportComponent*>(obj))
    scope = obj->GetPage();
  if (!scope) return r;
  TClass wanted = E->GetPropInfo()->PropType->ClassType;
  for (TfrxComponent* c : scope->GetAllObjects())
    if (c != obj && (!wanted || c->ClassType()->InheritsFrom(wanted))) r.push_back(c);
  return r;
}

}  // namespace

void TfrxComponentProperty::GetValues()
{
  TfrxPropertyEditor::GetValues();
  for (TfrxComponent* c : Candidates(this)) AddValue(c->GetName());
}

void TfrxComponentProperty::SetValue(const AnsiString& Value)
{
  if (Value.empty()) {
    SetOrdValue(0);
    return;
  }
  TfrxComponent* obj = GetFrxComponent();
  TfrxComponent* root = obj ? obj->GetReport() : nullptr;
  if (!root) root = obj;
  TfrxComponent* found = root ? root->FindObject(Value) : nullptr;
  if (!found) InvalidValue();
  SetOrdValue(static_cast<Int64>(reinterpret_cast<std::intptr_t>(static_cast<TObject*>(found))));
}

namespace {
const char* const ModalResults[] = {"mrNone", "mrOk", "mrCancel", "mrAbort", "mrRetry", "mrIgnore",
                                    "mrYes", "mrNo", "mrAll", "mrNoToAll", "mrYesToAll"};
}

AnsiString TfrxModalResultProperty::GetValue()
{
  Int64 v = GetOrdValue();
  return v >= 0 && v <= 10 ? AnsiString(ModalResults[v]) : SysUtils::IntToStr(v);
}

void TfrxModalResultProperty::GetValues()
{
  TfrxPropertyEditor::GetValues();
  for (const char* n : ModalResults) AddValue(n);
}

void TfrxModalResultProperty::SetValue(const AnsiString& Value)
{
  AnsiString v = Value.empty() ? AnsiString("0") : Value;
  for (Int64 i = 0; i <= 10; ++i)
    if (SameText(v, ModalResults[i])) {
      SetOrdValue(i);
      return;
    }
  SetOrdValue(SysUtils::StrToInt(v));
}

// ---- Property lists --------------------------------------------------------------------------

TfrxPropertyItem::~TfrxPropertyItem() = default;

TfrxPropertyList::TfrxPropertyList(TComponent* ADesigner)
    : TCollection(TfrxPropertyItem::StaticClass()), Designer(ADesigner)
{
}

void TfrxPropertyList::SetComponent(TObject* Obj)
{
  FComponent = Obj;
  Clear();
  FillProperties(Obj);
}

void TfrxPropertyList::FillProperties(TObject* Obj)
{
  if (!Obj) return;
  using frxDsgnIntf::CreatePropertyEditor;
  auto props = TypInfo::GetPropList(TypInfo::ClassTypeOf(Obj),
                                    {tkInteger, tkChar, tkEnumeration, tkFloat, tkString, tkSet, tkClass,
                                     tkWChar, tkLString, tkWString, tkVariant, tkArray, tkRecord,
                                     tkInterface, tkInt64, tkDynArray},
                                    true);
  for (const TPropInfo* p : props) {
    TfrxPropertyItem* item = Add();
    const TTypeInfo* t = p->PropType;
    switch (t->Kind) {
      case tkInteger: item->Editor = CreatePropertyEditor(TfrxIntegerProperty::StaticClass(), Obj, p, Designer); break;
      case tkChar: case tkWChar: item->Editor = CreatePropertyEditor(TfrxCharProperty::StaticClass(), Obj, p, Designer); break;
      case tkEnumeration: item->Editor = CreatePropertyEditor(TfrxEnumProperty::StaticClass(), Obj, p, Designer); break;
      case tkFloat: item->Editor = CreatePropertyEditor(TfrxFloatProperty::StaticClass(), Obj, p, Designer); break;
      case tkString: case tkLString: case tkWString:
        item->Editor = CreatePropertyEditor(TfrxStringProperty::StaticClass(), Obj, p, Designer);
        break;
      case tkSet: {
        item->SubProperty = std::make_unique<TfrxPropertyList>(Designer);
        item->SubProperty->Parent = this;
        item->Editor = CreatePropertyEditor(TfrxSetProperty::StaticClass(), Obj, p, Designer);
        const TTypeInfo* element = t->CompType;
        if (element)
          for (Int64 v = element->MinValue; v <= element->MaxValue; ++v) {
            TfrxPropertyItem* sub = item->SubProperty->Add();
            sub->Editor = CreatePropertyEditor(TfrxSetElementProperty::StaticClass(), Obj, p, Designer);
            if (auto* e = dynamic_cast<TfrxSetElementProperty*>(sub->Editor.get())) e->Element = static_cast<Integer>(v);
            if (!sub->Editor) delete sub;
          }
        break;
      }
      case tkClass: {
        TClass cls = t->ClassType;
        if (cls && cls->InheritsFrom(TComponent::StaticClass())) {
          item->Editor = CreatePropertyEditor(TfrxComponentProperty::StaticClass(), Obj, p, Designer);
        } else if (cls && cls->InheritsFrom(TPersistent::StaticClass())) {
          item->Editor = CreatePropertyEditor(TfrxClassProperty::StaticClass(), Obj, p, Designer);
          item->SubProperty = std::make_unique<TfrxPropertyList>(Designer);
          item->SubProperty->Parent = this;
          item->SubProperty->FillProperties(TypInfo::GetObjectProp(Obj, p));
          if (item->SubProperty->GetCount() == 0) item->SubProperty.reset();
        }
        break;
      }
      default: break;
    }
    if (!item->Editor) delete item;
  }
}

// ---- Component editors -----------------------------------------------------------------------

void TfrxComponentEditor::Init(TfrxComponent* AComponent, TComponent* ADesigner, TComponent* AMenu)
{
  Component = AComponent;
  Designer = ADesigner;
  Menu = AMenu;
}

// ---- Registries ------------------------------------------------------------------------------

void TfrxObjectCollection::Register(TClass ClassRef, const AnsiString& Hint, const AnsiString& CategoryName,
                                    Word Flags, Integer ImageIndex)
{
  for (int i = 0; i < GetCount(); ++i)
    if (ClassRef && GetItems(i)->ClassRef == ClassRef && GetItems(i)->Flags == Flags) return;
  if (ClassRef) Classes::RegisterClass(ClassRef);
  auto* item = static_cast<TfrxObjectItem*>(Add());
  item->ClassRef = ClassRef;
  item->ButtonHint = Hint;
  item->CategoryName = CategoryName;
  item->Flags = Flags;
  item->ButtonImageIndex = ImageIndex;
}

void TfrxObjectCollection::RegisterCategory(const AnsiString& CategoryName, const AnsiString& Hint, Integer ImageIndex)
{
  Register(nullptr, Hint, CategoryName, 0, ImageIndex);
}

void TfrxComponentEditorCollection::Register(TClass ComponentClass, TClass EditorClass)
{
  auto* item = static_cast<TfrxComponentEditorItem*>(Add());
  item->ComponentClass = ComponentClass;
  item->ComponentEditor = EditorClass;
}

std::unique_ptr<TfrxComponentEditor> TfrxComponentEditorCollection::CreateEditor(TfrxComponent* Component,
                                                                                 TComponent* Designer,
                                                                                 TComponent* Menu)
{
  TClass cls = Component->ClassType();
  TfrxComponentEditorItem* found = nullptr;
  for (int i = 0; i < GetCount(); ++i) {
    TfrxComponentEditorItem* item = GetItems(i);
    if (item->ComponentClass == cls) {
      found = item;
      break;
    }
    if (cls->InheritsFrom(item->ComponentClass)) found = item;
  }
  if (!found || !found->ComponentEditor) return nullptr;
  std::unique_ptr<TObject> obj(found->ComponentEditor->Create());
  auto* editor = dynamic_cast<TfrxComponentEditor*>(obj.get());
  if (!editor) return nullptr;
  obj.release();
  editor->Init(Component, Designer, Menu);
  return std::unique_ptr<TfrxComponentEditor>(editor);
}

void TfrxPropertyEditorCollection::Register(const TTypeInfo* PropertyType, TClass ComponentClass,
                                            const AnsiString& PropertyName, TClass EditorClass)
{
  auto* item = static_cast<TfrxPropertyEditorItem*>(Add());
  item->PropertyType = PropertyType;
  item->ComponentClass = ComponentClass;
  item->PropertyName = PropertyName;
  item->EditorClass = EditorClass;
}

void TfrxPropertyEditorCollection::RegisterEventEditor(TClass EditorClass)
{
  Register(nullptr, nullptr, AnsiString(), EditorClass);
  EventEditorIndex = GetCount() - 1;
}

int TfrxPropertyEditorCollection::GetEditorIndex(const TTypeInfo* PropertyType, const TObject* Obj,
                                                 const AnsiString& PropertyName) const
{
  AnsiString typeName = PropertyType ? PropertyType->Name : AnsiString();
  for (char& c : typeName)
    if (c >= 'A' && c <= 'Z') c += 32;
  if (typeName.size() >= 9 && typeName.compare(0, 4, "tfrx") == 0 &&
      typeName.compare(typeName.size() - 5, 5, "event") == 0)
    return EventEditorIndex;
  TClass cls = TypInfo::ClassTypeOf(Obj);
  int result = -1;
  for (int i = GetCount() - 1; i >= 0; --i) {
    const TfrxPropertyEditorItem* e = GetItems(i);
    if (!e->ComponentClass && e->PropertyName.empty() && e->PropertyType && e->PropertyType == PropertyType) {
      result = i;
    } else if (!e->ComponentClass && e->PropertyType == PropertyType && !e->PropertyName.empty() &&
               SameText(e->PropertyName, PropertyName)) {
      return i;
    } else if (e->ComponentClass && cls && cls->InheritsFrom(e->ComponentClass) &&
               SameText(e->PropertyName, PropertyName)) {
      return i;
    }
  }
  return result;
}

void TfrxExportFilterCollection::Register(TfrxCustomExportFilter* Filter)
{
  if (!Filter) return;
  for (int i = 0; i < GetCount(); ++i)
    if (GetItems(i)->Filter == Filter) return;
  static_cast<TfrxExportFilterItem*>(Add())->Filter = Filter;
}

void TfrxExportFilterCollection::Unregister(TfrxCustomExportFilter* Filter)
{
  for (int i = GetCount() - 1; i >= 0; --i)
    if (GetItems(i)->Filter == Filter) Delete(i);
}

void TfrxWizardCollection::Register(TClass ClassRef, bool OnToolbar)
{
  for (int i = 0; i < GetCount(); ++i)
    if (GetItems(i)->ClassRef == ClassRef) return;
  auto* item = static_cast<TfrxWizardItem*>(Add());
  item->ClassRef = ClassRef;
  item->IsToolbarWizard = OnToolbar;
}

void TfrxWizardCollection::Unregister(TClass ClassRef)
{
  for (int i = GetCount() - 1; i >= 0; --i)
    if (GetItems(i)->ClassRef == ClassRef) Delete(i);
}

// ---- Unit routines ---------------------------------------------------------------------------

namespace frxDsgnIntf {

namespace {
std::unique_ptr<TfrxObjectCollection> Objects;
std::unique_ptr<TfrxComponentEditorCollection> ComponentEditors;
std::unique_ptr<TfrxPropertyEditorCollection> PropertyEditors;
std::unique_ptr<TfrxExportFilterCollection> ExportFilters;
std::unique_ptr<TfrxWizardCollection> Wizards;
}  // namespace

void Initialize()
{
  if (Objects) return;
  Objects = std::make_unique<TfrxObjectCollection>();
  ComponentEditors = std::make_unique<TfrxComponentEditorCollection>();
  PropertyEditors = std::make_unique<TfrxPropertyEditorCollection>();
  ExportFilters = std::make_unique<TfrxExportFilterCollection>();
  Wizards = std::make_unique<TfrxWizardCollection>();
  // Names of components, fonts and colours have editors of their own; the colour, font,
  // charset, shortcut and cursor editors come with their dialogs and platform lists.
  PropertyEditors->Register(TypInfo::TypeInfo<AnsiString>(), TComponent::StaticClass(), "Name",
                            TfrxNameProperty::StaticClass());
  PropertyEditors->Register(TypInfo::TypeInfo<AnsiString>(), TfrxFont::StaticClass(), "Name",
                            TfrxStringProperty::StaticClass());
}

void Finalize()
{
  Objects.reset();
  ComponentEditors.reset();
  PropertyEditors.reset();
  ExportFilters.reset();
  Wizards.reset();
}

TfrxObjectCollection* ObjectRegistry() { Initialize(); return Objects.get(); }
TfrxComponentEditorCollection* ComponentEditorRegistry() { Initialize(); return ComponentEditors.get(); }
TfrxPropertyEditorCollection* PropertyEditorRegistry() { Initialize(); return PropertyEditors.get(); }
TfrxExportFilterCollection* ExportFilterRegistry() { Initialize(); return ExportFilters.get(); }
TfrxWizardCollection* WizardRegistry() { Initialize(); return Wizards.get(); }
TfrxExportFilterCollection* ExportFilterRegistryIfAny() { return ExportFilters.get(); }

void HideProperties(TClass ComponentClass, const AnsiString& Names)
{
  size_t from = 0;
  for (;;) {
    size_t at = Names.find(';', from);
    PropertyEditorRegistry()->Register(nullptr, ComponentClass, Names.substr(from, at - from), nullptr);
    if (at == AnsiString::npos) break;
    from = at + 1;
  }
}

Extended StrToFloatAnySep(const AnsiString& Text)
{
  AnsiString s = Text;
  for (char& c : s)
    if (c == ',' || c == '.') c = SysUtils::DecimalSeparator;
  return SysUtils::StrToFloat(SysUtils::Trim(s));
}

std::unique_ptr<TfrxPropertyEditor> CreatePropertyEditor(TClass DefaultClass, TObject* Obj,
                                                         const TPropInfo* Prop, TComponent* Designer)
{
  TfrxPropertyEditorCollection* reg = PropertyEditorRegistry();
  int i = reg->GetEditorIndex(Prop->PropType, Obj, Prop->Name);
  TClass cls = i < 0 ? DefaultClass : reg->GetItems(i)->EditorClass;
  if (!cls) return nullptr;
  std::unique_ptr<TObject> obj(cls->Create());
  auto* editor = dynamic_cast<TfrxPropertyEditor*>(obj.get());
  if (!editor) return nullptr;
  obj.release();
  editor->Designer = Designer;
  editor->AddObject(Obj, Prop);
  return std::unique_ptr<TfrxPropertyEditor>(editor);
}

namespace {

// Frees every item of F whose editor is not for multiple selections or that O lacks.
void RemoveUnshared(TfrxPropertyList* F, TfrxPropertyList* O)
{
  for (int i = F->GetCount() - 1; i >= 0; --i) {
    TfrxPropertyItem* item = F->GetItems(i);
    const TPropInfo* p = item->Editor->GetPropInfo();
    bool shared = false;
    if (item->Editor->GetAttributes() & paMultiSelect)
      for (int j = 0; j < O->GetCount() && !shared; ++j) {
        const TPropInfo* q = O->GetItems(j)->Editor->GetPropInfo();
        shared = q->PropType->Kind == p->PropType->Kind && q->Name == p->Name;
      }
    if (!shared) delete item;
  }
}

void MergePropertyLists(TfrxPropertyList* F, TfrxPropertyList* O)
{
  int n = std::min(F->GetCount(), O->GetCount());
  for (int i = 0; i < n; ++i) {
    TfrxPropertyItem* a = F->GetItems(i);
    TfrxPropertyItem* b = O->GetItems(i);
    a->Editor->AddObject(b->Editor->GetComponent(), b->Editor->GetPropInfo());
    if (a->SubProperty && b->SubProperty) MergePropertyLists(a->SubProperty.get(), b->SubProperty.get());
  }
}

}  // namespace

std::unique_ptr<TfrxPropertyList> CreateCommonPropertyList(const std::vector<TObject*>& Selection,
                                                           TComponent* Designer)
{
  if (Selection.empty()) return nullptr;
  std::vector<std::unique_ptr<TfrxPropertyList>> lists;
  for (TObject* o : Selection) {
    lists.push_back(std::make_unique<TfrxPropertyList>(Designer));
    lists.back()->SetComponent(o);
  }
  TfrxPropertyList* f = lists[0].get();
  for (size_t i = 1; i < lists.size(); ++i) RemoveUnshared(f, lists[i].get());
  for (size_t i = 1; i < lists.size(); ++i) {
    RemoveUnshared(lists[i].get(), f);
    MergePropertyLists(f, lists[i].get());
  }
  return std::move(lists[0]);
}

}  // namespace frxDsgnIntf
