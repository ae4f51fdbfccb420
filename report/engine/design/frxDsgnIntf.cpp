#include "report/engine/design/frxDsgnIntf.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "platform/classes/ClassRegistry.h"
#include "platform/forms/graphics/Bitmap.h"
#include "platform/forms/graphics/ColorNames.h"
#include "platform/forms/graphics/Font.h"
#include "platform/gdi/text/Fonts.h"
#include "platform/rtl/Conversions.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/FormatText.h"
#include "platform/rtl/StringUtils.h"
#include "report/engine/model/frxClass.h"
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
  if (Value.empty())
    SetOrdValue(0);
  else if (Value.size() == 1)
    SetOrdValue(static_cast<unsigned char>(Value[0]));
  else if (Value[0] == '#')
    SetOrdValue(SysUtils::StrToInt(Value.substr(1, 255)));
  else
    InvalidValue();
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

AnsiString TfrxSetProperty::GetValue() { return TypInfo::SetToString(GetPropInfo()->PropType, GetOrdValue(), true); }

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
  if (SameText(Value, "True"))
    on = true;
  else if (SameText(Value, "False"))
    on = false;
  else
    InvalidValue();
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
  if (dynamic_cast<TfrxReportComponent*>(obj)) scope = obj->GetPage();
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
const char* const ModalResults[] = {"mrNone", "mrOk", "mrCancel", "mrAbort",   "mrRetry",   "mrIgnore",
                                    "mrYes",  "mrNo", "mrAll",    "mrNoToAll", "mrYesToAll"};
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

AnsiString TfrxColorProperty::GetValue() { return frxDsgnIntf::ColorToString(static_cast<Integer>(GetOrdValue())); }

void TfrxColorProperty::GetValues()
{
  TfrxPropertyEditor::GetValues();
  frxDsgnIntf::GetColorValues([this](const AnsiString& n) { AddValue(n); });
}

void TfrxColorProperty::SetValue(const AnsiString& Value)
{
  Integer c;
  if (frxDsgnIntf::IdentToColor(Value, c))
    SetOrdValue(c);
  else
    SetOrdValue(SysUtils::StrToInt(Value));
}

bool TfrxColorProperty::Edit()
{
  Integer c = static_cast<Integer>(GetOrdValue());
  if (!frxDsgnIntf::ColorDialogService().Current()(c)) return false;
  SetOrdValue(c);
  return true;
}

bool TfrxFontProperty::Edit()
{
  auto* current = dynamic_cast<TFont*>(TypInfo::GetObjectProp(GetComponent(), GetPropInfo()));
  if (!current) return false;
  TFont chosen;
  chosen.Assign(current);
  if (!frxDsgnIntf::FontDialogService().Current()(chosen)) return false;
  const auto& objs = GetObjects();
  const auto& props = GetProps();
  for (size_t i = 0; i < objs.size(); ++i)
    if (auto* f = dynamic_cast<TFont*>(TypInfo::GetObjectProp(objs[i], props[i]))) f->Assign(&chosen);
  return true;
}

namespace {

int AddFamily(const LOGFONTA* lf, const TEXTMETRICA*, DWORD, LPARAM data)
{
  auto* names = reinterpret_cast<TStrings*>(data);
  // One entry per family, whatever number of character sets it is listed under.
  if (names->IndexOf(lf->lfFaceName) < 0) names->Add(lf->lfFaceName);
  return 1;
}

void AddScreenFontNames(TStrings* Names)
{
  LOGFONTA lf;
  lf.lfCharSet = DEFAULT_CHARSET;
  Windows::EnumFontFamiliesEx(nullptr, &lf, AddFamily, reinterpret_cast<LPARAM>(Names));
}

}  // namespace

void TfrxFontNameProperty::GetValues()
{
  TfrxPropertyEditor::GetValues();
  frxDsgnIntf::FontNamesService().Current()(&FValues);
}

AnsiString TfrxFontCharsetProperty::GetValue()
{
  AnsiString id;
  Int64 v = GetOrdValue();
  if (frxDsgnIntf::CharsetToIdent(static_cast<Integer>(v), id)) return id;
  return SysUtils::IntToStr(v);
}

void TfrxFontCharsetProperty::GetValues()
{
  TfrxPropertyEditor::GetValues();
  frxDsgnIntf::GetCharsetValues([this](const AnsiString& n) { AddValue(n); });
}

void TfrxFontCharsetProperty::SetValue(const AnsiString& Value)
{
  Integer c;
  if (frxDsgnIntf::IdentToCharset(Value, c))
    SetOrdValue(c);
  else
    SetOrdValue(SysUtils::StrToInt(Value));
}

AnsiString TfrxCursorProperty::GetValue()
{
  AnsiString id;
  Int64 v = GetOrdValue();
  if (frxDsgnIntf::CursorToIdent(static_cast<Integer>(v), id)) return id;
  return SysUtils::IntToStr(v);
}

void TfrxCursorProperty::GetValues()
{
  TfrxPropertyEditor::GetValues();
  frxDsgnIntf::GetCursorValues([this](const AnsiString& n) { AddValue(n); });
}

void TfrxCursorProperty::SetValue(const AnsiString& Value)
{
  Integer c;
  if (frxDsgnIntf::IdentToCursor(Value, c))
    SetOrdValue(c);
  else
    SetOrdValue(SysUtils::StrToInt(Value));
}

namespace {
constexpr Word scShift = 0x2000, scCtrl = 0x4000, scAlt = 0x8000;
}

AnsiString TfrxShortCutProperty::GetValue()
{
  Word v = static_cast<Word>(GetOrdValue());
  if (v == 0) return "(None)";
  AnsiString t = frxDsgnIntf::ShortCutToText(v);
  // A key without a name keeps its number rather than showing as nothing.
  return t.empty() ? SysUtils::IntToStr(v) : t;
}

void TfrxShortCutProperty::GetValues()
{
  TfrxPropertyEditor::GetValues();
  AddValue("(None)");
  auto add = [this](Word key, Word mods) { AddValue(frxDsgnIntf::ShortCutToText(key | mods)); };
  for (Word k = 'A'; k <= 'Z'; ++k) add(k, scCtrl);
  for (Word k = 'A'; k <= 'Z'; ++k) add(k, scCtrl | scAlt);
  for (Word mods : {Word(0), scCtrl, scShift, Word(scShift | scCtrl)})
    for (Word k = 0x70; k <= 0x7B; ++k) add(k, mods);
  for (Word k : {Word(0x2D), Word(0x2E)})
    for (Word mods : {Word(0), scShift, scCtrl}) add(k, mods);
  add(0x08, scAlt);
  add(0x08, scShift | scAlt);
}

void TfrxShortCutProperty::SetValue(const AnsiString& Value)
{
  if (Value.empty() || SameText(Value, "(None)")) {
    SetOrdValue(0);
    return;
  }
  Word sc = frxDsgnIntf::TextToShortCut(Value);
  Integer n;
  if (sc == 0 && SysUtils::TryStrToInt(Value, n) && n > 0 && n <= 0xFFFF) sc = static_cast<Word>(n);
  if (sc == 0) InvalidValue();
  SetOrdValue(sc);
}

// ---- Property lists --------------------------------------------------------------------------

TfrxPropertyItem::~TfrxPropertyItem() = default;

TfrxPropertyList::TfrxPropertyList(TComponent* ADesigner)
    : TCollection(TfrxPropertyItem::StaticClass()), Designer(ADesigner)
{}

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
  auto props =
      TypInfo::GetPropList(TypInfo::ClassTypeOf(Obj),
                           {tkInteger, tkChar, tkEnumeration, tkFloat, tkString, tkSet, tkClass, tkWChar, tkLString,
                            tkWString, tkVariant, tkArray, tkRecord, tkInterface, tkInt64, tkDynArray},
                           true);
  for (const TPropInfo* p : props) {
    TfrxPropertyItem* item = Add();
    const TTypeInfo* t = p->PropType;
    switch (t->Kind) {
      case tkInteger: item->Editor = CreatePropertyEditor(TfrxIntegerProperty::StaticClass(), Obj, p, Designer); break;
      case tkChar:
      case tkWChar: item->Editor = CreatePropertyEditor(TfrxCharProperty::StaticClass(), Obj, p, Designer); break;
      case tkEnumeration: item->Editor = CreatePropertyEditor(TfrxEnumProperty::StaticClass(), Obj, p, Designer); break;
      case tkFloat: item->Editor = CreatePropertyEditor(TfrxFloatProperty::StaticClass(), Obj, p, Designer); break;
      case tkString:
      case tkLString:
      case tkWString: item->Editor = CreatePropertyEditor(TfrxStringProperty::StaticClass(), Obj, p, Designer); break;
      case tkSet: {
        item->SubProperty = std::make_unique<TfrxPropertyList>(Designer);
        item->SubProperty->Parent = this;
        item->Editor = CreatePropertyEditor(TfrxSetProperty::StaticClass(), Obj, p, Designer);
        const TTypeInfo* element = t->CompType;
        if (element)
          for (Int64 v = element->MinValue; v <= element->MaxValue; ++v) {
            TfrxPropertyItem* sub = item->SubProperty->Add();
            sub->Editor = CreatePropertyEditor(TfrxSetElementProperty::StaticClass(), Obj, p, Designer);
            if (auto* e = dynamic_cast<TfrxSetElementProperty*>(sub->Editor.get()))
              e->Element = static_cast<Integer>(v);
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

namespace {

std::unique_ptr<TBitmap> CopyOf(TBitmap* Bitmap)
{
  if (!Bitmap) return nullptr;
  auto copy = std::make_unique<TBitmap>();
  copy->Assign(Bitmap);
  return copy;
}

}  // namespace

TfrxObjectItem::TfrxObjectItem(TCollection* C) : TCollectionItem(C) {}
TfrxObjectItem::~TfrxObjectItem() = default;
TfrxWizardItem::TfrxWizardItem(TCollection* C) : TCollectionItem(C) {}
TfrxWizardItem::~TfrxWizardItem() = default;

void TfrxObjectCollection::Register(TClass ClassRef, TBitmap* Bitmap, const AnsiString& Hint,
                                    const AnsiString& CategoryName, Word Flags, Integer ImageIndex)
{
  for (int i = 0; i < GetCount(); ++i)
    if (ClassRef && GetItems(i)->ClassRef == ClassRef && GetItems(i)->Flags == Flags) return;
  if (ClassRef) Classes::RegisterClass(ClassRef);
  auto* item = static_cast<TfrxObjectItem*>(Add());
  item->ClassRef = ClassRef;
  item->ButtonBmp = CopyOf(Bitmap);
  item->ButtonHint = Hint;
  item->CategoryName = CategoryName;
  item->Flags = Flags;
  item->ButtonImageIndex = ImageIndex;
}

void TfrxObjectCollection::RegisterCategory(const AnsiString& CategoryName, TBitmap* Bitmap, const AnsiString& Hint,
                                            Integer ImageIndex)
{
  Register(nullptr, Bitmap, Hint, CategoryName, 0, ImageIndex);
}

void TfrxComponentEditorCollection::Register(TClass ComponentClass, TClass EditorClass)
{
  auto* item = static_cast<TfrxComponentEditorItem*>(Add());
  item->ComponentClass = ComponentClass;
  item->ComponentEditor = EditorClass;
}

std::unique_ptr<TfrxComponentEditor> TfrxComponentEditorCollection::CreateEditor(TfrxComponent* Component,
                                                                                 TComponent* Designer, TComponent* Menu)
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
  // Units make their own records of the platform types, so a record also matches by name.
  auto sameType = [PropertyType](const TTypeInfo* t) {
    return t == PropertyType || (t && PropertyType && !t->Name.empty() && t->Kind == PropertyType->Kind &&
                                 SameText(t->Name, PropertyType->Name));
  };
  TClass cls = TypInfo::ClassTypeOf(Obj);
  int result = -1;
  for (int i = GetCount() - 1; i >= 0; --i) {
    const TfrxPropertyEditorItem* e = GetItems(i);
    if (!e->ComponentClass && e->PropertyName.empty() && e->PropertyType && sameType(e->PropertyType)) {
      result = i;
    } else if (!e->ComponentClass && sameType(e->PropertyType) && !e->PropertyName.empty() &&
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

void TfrxWizardCollection::Register(TClass ClassRef, TBitmap* Bitmap, bool OnToolbar)
{
  for (int i = 0; i < GetCount(); ++i)
    if (GetItems(i)->ClassRef == ClassRef) return;
  auto* item = static_cast<TfrxWizardItem*>(Add());
  item->ClassRef = ClassRef;
  item->ButtonBmp = CopyOf(Bitmap);
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

TService<std::function<TColorDialogFunc>>& ColorDialogService()
{
  static TService<std::function<TColorDialogFunc>> slot(
      std::make_unique<std::function<TColorDialogFunc>>([](Integer&) { return false; }));
  return slot;
}

TService<std::function<TFontDialogFunc>>& FontDialogService()
{
  static TService<std::function<TFontDialogFunc>> slot(
      std::make_unique<std::function<TFontDialogFunc>>([](TFont&) { return false; }));
  return slot;
}

TService<std::function<TFontNamesFunc>>& FontNamesService()
{
  static TService<std::function<TFontNamesFunc>> slot(
      std::make_unique<std::function<TFontNamesFunc>>(AddScreenFontNames));
  return slot;
}

const TTypeInfo* TypeInfo_TFontName()
{
  static const TTypeInfo* type = TypInfo::MakeAliasType("TFontName", TypInfo::TypeInfo<AnsiString>());
  return type;
}
const TTypeInfo* TypeInfo_TModalResult()
{
  static const TTypeInfo* type = TypInfo::MakeAliasType("TModalResult", TypInfo::TypeInfo<Integer>());
  return type;
}
const TTypeInfo* TypeInfo_TShortCut()
{
  static const TTypeInfo* type = TypInfo::MakeOrdinalType("TShortCut", tkInteger, otUWord, 0, 0xFFFF);
  return type;
}
const TTypeInfo* TypeInfo_TCursor()
{
  static const TTypeInfo* type = TypInfo::MakeOrdinalType("TCursor", tkInteger, otSWord, -32768, 32767);
  return type;
}

namespace {

struct TIdent {
  Integer Value;
  const char* Name;
};

// The report files name system colours in the 0x80000000 form; the shared table of colour names
// (platform/forms) holds them in the graphics classes' 0xFF000000 form.
constexpr unsigned kFileSystemColor = 0x80000000u, kTableSystemColor = 0xFF000000u;

Integer FromTable(TColor Color)
{
  auto c = static_cast<unsigned>(Color);
  return static_cast<Integer>((c & 0xFFFFFF00u) == kTableSystemColor ? kFileSystemColor | (c & 0xFFu) : c);
}

const TIdent Charsets[] = {
    {0, "ANSI_CHARSET"},          {1, "DEFAULT_CHARSET"},      {2, "SYMBOL_CHARSET"},    {77, "MAC_CHARSET"},
    {128, "SHIFTJIS_CHARSET"},    {129, "HANGEUL_CHARSET"},    {130, "JOHAB_CHARSET"},   {134, "GB2312_CHARSET"},
    {136, "CHINESEBIG5_CHARSET"}, {161, "GREEK_CHARSET"},      {162, "TURKISH_CHARSET"}, {163, "VIETNAMESE_CHARSET"},
    {177, "HEBREW_CHARSET"},      {178, "ARABIC_CHARSET"},     {186, "BALTIC_CHARSET"},  {204, "RUSSIAN_CHARSET"},
    {222, "THAI_CHARSET"},        {238, "EASTEUROPE_CHARSET"}, {255, "OEM_CHARSET"},
};

const TIdent Cursors[] = {
    {0, "crDefault"},     {-1, "crNone"},     {-2, "crArrow"},    {-3, "crCross"},     {-4, "crIBeam"},
    {-6, "crSizeNESW"},   {-7, "crSizeNS"},   {-8, "crSizeNWSE"}, {-9, "crSizeWE"},    {-10, "crUpArrow"},
    {-11, "crHourGlass"}, {-12, "crDrag"},    {-13, "crNoDrop"},  {-14, "crHSplit"},   {-15, "crVSplit"},
    {-16, "crMultiDrag"}, {-17, "crSQLWait"}, {-18, "crNo"},      {-19, "crAppStart"}, {-20, "crHelp"},
    {-21, "crHandPoint"}, {-22, "crSizeAll"},
};

template <size_t N>
bool ToIdent(const TIdent (&map)[N], Integer Value, AnsiString& Ident)
{
  for (const TIdent& i : map)
    if (i.Value == Value) {
      Ident = i.Name;
      return true;
    }
  return false;
}

template <size_t N>
bool FromIdent(const TIdent (&map)[N], const AnsiString& Ident, Integer& Value)
{
  for (const TIdent& i : map)
    if (SameText(Ident, i.Name)) {
      Value = i.Value;
      return true;
    }
  return false;
}

const TIdent KeyNames[] = {
    {0x08, "BkSp"}, {0x09, "Tab"},   {0x0D, "Enter"}, {0x1B, "Esc"},  {0x20, "Space"},
    {0x21, "PgUp"}, {0x22, "PgDn"},  {0x23, "End"},   {0x24, "Home"}, {0x25, "Left"},
    {0x26, "Up"},   {0x27, "Right"}, {0x28, "Down"},  {0x2D, "Ins"},  {0x2E, "Del"},
};

AnsiString KeyName(Word key)
{
  if ((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9')) return AnsiString(1, static_cast<char>(key));
  if (key >= 0x70 && key <= 0x87) return "F" + SysUtils::IntToStr(key - 0x6F);
  AnsiString n;
  ToIdent(KeyNames, key, n);
  return n;
}

}  // namespace

bool ColorToIdent(Integer Color, AnsiString& Ident)
{
  for (const Graphics::TColorIdent& c : Graphics::ColorIdents())
    if (FromTable(c.Value) == Color) {
      Ident = c.Name;
      return true;
    }
  return false;
}

bool IdentToColor(const AnsiString& Ident, Integer& Color)
{
  TColor c;
  if (!Graphics::IdentToColor(Ident, c)) return false;
  Color = FromTable(c);
  return true;
}

AnsiString ColorToString(Integer Color)
{
  AnsiString id;
  if (ColorToIdent(Color, id)) return id;
  char buf[12];
  std::snprintf(buf, sizeof buf, "$%.8X", static_cast<unsigned>(Color));
  return buf;
}

Integer StringToColor(const AnsiString& Text)
{
  Integer c;
  return IdentToColor(Text, c) ? c : SysUtils::StrToInt(Text);
}

void GetColorValues(const std::function<void(const AnsiString&)>& Proc) { Graphics::GetColorValues(Proc); }

bool CharsetToIdent(Integer Charset, AnsiString& Ident) { return ToIdent(Charsets, Charset, Ident); }
bool IdentToCharset(const AnsiString& Ident, Integer& Charset) { return FromIdent(Charsets, Ident, Charset); }
void GetCharsetValues(const std::function<void(const AnsiString&)>& Proc)
{
  for (const TIdent& i : Charsets) Proc(i.Name);
}

bool CursorToIdent(Integer Cursor, AnsiString& Ident) { return ToIdent(Cursors, Cursor, Ident); }
bool IdentToCursor(const AnsiString& Ident, Integer& Cursor) { return FromIdent(Cursors, Ident, Cursor); }
void GetCursorValues(const std::function<void(const AnsiString&)>& Proc)
{
  for (const TIdent& i : Cursors) Proc(i.Name);
}

AnsiString ShortCutToText(Word ShortCut)
{
  AnsiString key = KeyName(ShortCut & 0x1FFF);
  if (key.empty()) return AnsiString();
  AnsiString t;
  if (ShortCut & scShift) t += "Shift+";
  if (ShortCut & scCtrl) t += "Ctrl+";
  if (ShortCut & scAlt) t += "Alt+";
  return t + key;
}

Word TextToShortCut(const AnsiString& Text)
{
  static const std::pair<const char*, Word> Mods[] = {{"Shift+", scShift}, {"Ctrl+", scCtrl}, {"Alt+", scAlt}};
  AnsiString rest = Text;
  Word mods = 0;
  for (bool found = true; found;) {
    found = false;
    for (const auto& [prefix, bit] : Mods) {
      size_t n = std::strlen(prefix);
      if (rest.size() > n && SameText(rest.substr(0, n), prefix)) {
        mods |= bit;
        rest.erase(0, n);
        found = true;
      }
    }
  }
  for (Word k = 1; k < 0x100; ++k) {
    AnsiString n = KeyName(k);
    if (!n.empty() && SameText(n, rest)) return static_cast<Word>(k | mods);
  }
  return 0;
}

void Initialize()
{
  if (Objects) return;
  Objects = std::make_unique<TfrxObjectCollection>();
  ComponentEditors = std::make_unique<TfrxComponentEditorCollection>();
  PropertyEditors = std::make_unique<TfrxPropertyEditorCollection>();
  ExportFilters = std::make_unique<TfrxExportFilterCollection>();
  Wizards = std::make_unique<TfrxWizardCollection>();
  PropertyEditors->Register(TypInfo::TypeInfo<AnsiString>(), TComponent::StaticClass(), "Name",
                            TfrxNameProperty::StaticClass());
  PropertyEditors->Register(TypeInfo_TColor(), nullptr, AnsiString(), TfrxColorProperty::StaticClass());
  PropertyEditors->Register(TFont::StaticClass()->ClassInfo(), nullptr, AnsiString(), TfrxFontProperty::StaticClass());
  PropertyEditors->Register(TypeInfo_TModalResult(), nullptr, AnsiString(), TfrxModalResultProperty::StaticClass());
  PropertyEditors->Register(TypeInfo_TShortCut(), nullptr, AnsiString(), TfrxShortCutProperty::StaticClass());
  PropertyEditors->Register(TypeInfo_TCursor(), nullptr, AnsiString(), TfrxCursorProperty::StaticClass());
  // Font names and charsets, in a font object or elsewhere.
  PropertyEditors->Register(TypeInfo_TFontName(), nullptr, AnsiString(), TfrxFontNameProperty::StaticClass());
  PropertyEditors->Register(TypeInfo_TFontCharset(), nullptr, AnsiString(), TfrxFontCharsetProperty::StaticClass());
}

void Finalize()
{
  Objects.reset();
  ComponentEditors.reset();
  PropertyEditors.reset();
  ExportFilters.reset();
  Wizards.reset();
}

TfrxObjectCollection* ObjectRegistry()
{
  Initialize();
  return Objects.get();
}
TfrxComponentEditorCollection* ComponentEditorRegistry()
{
  Initialize();
  return ComponentEditors.get();
}
TfrxPropertyEditorCollection* PropertyEditorRegistry()
{
  Initialize();
  return PropertyEditors.get();
}
TfrxExportFilterCollection* ExportFilterRegistry()
{
  Initialize();
  return ExportFilters.get();
}
TfrxWizardCollection* WizardRegistry()
{
  Initialize();
  return Wizards.get();
}
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

std::unique_ptr<TfrxPropertyEditor> CreatePropertyEditor(TClass DefaultClass, TObject* Obj, const TPropInfo* Prop,
                                                         TComponent* Designer)
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

std::unique_ptr<TfrxPropertyList> CreateCommonPropertyList(const std::vector<TObject*>& Selection, TComponent* Designer)
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

PELTO_DEFINE_CLASS(TfrxIntegerProperty)
PELTO_DEFINE_CLASS(TfrxFloatProperty)
PELTO_DEFINE_CLASS(TfrxCharProperty)
PELTO_DEFINE_CLASS(TfrxStringProperty)
PELTO_DEFINE_CLASS(TfrxEnumProperty)
PELTO_DEFINE_CLASS(TfrxSetProperty)
PELTO_DEFINE_CLASS(TfrxSetElementProperty)
PELTO_DEFINE_CLASS(TfrxClassProperty)
PELTO_DEFINE_CLASS(TfrxComponentProperty)
PELTO_DEFINE_CLASS(TfrxNameProperty)
PELTO_DEFINE_CLASS(TfrxModalResultProperty)
PELTO_DEFINE_CLASS(TfrxColorProperty)
PELTO_DEFINE_CLASS(TfrxFontProperty)
PELTO_DEFINE_CLASS(TfrxFontNameProperty)
PELTO_DEFINE_CLASS(TfrxFontCharsetProperty)
PELTO_DEFINE_CLASS(TfrxShortCutProperty)
PELTO_DEFINE_CLASS(TfrxCursorProperty)

PELTO_DEFINE_CLASS(TfrxPropertyEditor)

PELTO_DEFINE_CLASS(TfrxPropertyItem)

PELTO_DEFINE_CLASS(TfrxPropertyList)

PELTO_DEFINE_CLASS(TfrxComponentEditor)

PELTO_DEFINE_CLASS(TfrxObjectItem)

PELTO_DEFINE_CLASS(TfrxObjectCollection)

PELTO_DEFINE_CLASS(TfrxComponentEditorItem)

PELTO_DEFINE_CLASS(TfrxComponentEditorCollection)

PELTO_DEFINE_CLASS(TfrxPropertyEditorItem)

PELTO_DEFINE_CLASS(TfrxPropertyEditorCollection)

PELTO_DEFINE_CLASS(TfrxExportFilterItem)

PELTO_DEFINE_CLASS(TfrxExportFilterCollection)

PELTO_DEFINE_CLASS(TfrxWizardItem)

PELTO_DEFINE_CLASS(TfrxWizardCollection)
