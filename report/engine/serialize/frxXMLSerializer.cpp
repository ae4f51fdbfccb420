#include "report/engine/serialize/frxXMLSerializer.h"

#include "platform/classes/ClassRegistry.h"
#include "platform/classes/Component.h"
#include "platform/classes/Reader.h"
#include "platform/classes/TypInfo.h"
#include "platform/classes/Writer.h"
#include "platform/rtl/Conversions.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FormatText.h"
#include "platform/rtl/StringList.h"
#include "platform/rtl/StringUtils.h"
#include "platform/rtl/Streams.h"
#include "platform/rtl/Variants.h"
#include "report/engine/model/frxClass.h"
#include "report/engine/model/frxRes.h"
#include "report/engine/model/frxReport.h"
#include "report/engine/model/frxUtils.h"
#include "report/engine/xml/frxXML.h"
#include "platform/rtl/Guards.h"

// A PropData attribute's bytes and the reader that read them; the reader resolves the
// references it met when the whole load is done.
struct TfrxXMLSerializer::TPropDataReader {
  TMemoryStream Stream;
  std::unique_ptr<TReader> Reader;
};

namespace {

// Extra view of a string list as its text without the final line break. A list whose last
// line is empty keeps it: without it that line would be lost when the text is read back.
AnsiString ListText(TStrings* List)
{
  AnsiString t = List->GetText();
  if (List->GetCount() > 0 && List->GetStrings(List->GetCount() - 1).empty()) return t;
  if (t.size() >= 2 && t.compare(t.size() - 2, 2, "\r\n") == 0)
    t.resize(t.size() - 2);
  else if (!t.empty() && t.back() == '\n')
    t.pop_back();
  return t;
}

int HexDigit(char c)
{
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// A class the report tree can create from an element.
TClass ReportClass(const AnsiString& Name)
{
  TClass cls = Classes::GetClass(Name);
  if (cls && !cls->InheritsFrom(TfrxComponent::StaticClass())) return nullptr;
  return cls;
}

}  // namespace

TfrxXMLSerializer::TfrxXMLSerializer(TStream* Stream) : FStream(Stream), FErrors(std::make_unique<TStringList>())
{
  FErrors->SetSorted(true);
  FErrors->SetDuplicates(dupIgnore);
}

TfrxXMLSerializer::~TfrxXMLSerializer() = default;

// ---- Writing ---------------------------------------------------------------------------------

AnsiString TfrxXMLSerializer::WriteProperties(TPersistent* Obj, const AnsiString& Prefix)
{
  auto* comp = dynamic_cast<TfrxComponent*>(Obj);
  struct TWritingFlag {
    TfrxComponent* C;
    bool Old;
    ~TWritingFlag()
    {
      if (C) C->SetIsWriting(Old);
    }
  } flag{comp, comp ? comp->GetIsWriting() : false};
  if (comp) comp->SetIsWriting(true);

  AnsiString result;
  auto add = [&](const AnsiString& name, const AnsiString& value) {
    result += " " + Prefix + name + "=\"" + value + "\"";
  };
  for (const TPropInfo* prop : TypInfo::ClassTypeOf(Obj)->Properties()) {
    if (!TypInfo::IsStoredProp(Obj, prop)) continue;
    const TTypeInfo* type = prop->PropType;
    switch (type->Kind) {
      case tkInteger:
      case tkChar:
      case tkEnumeration:
      case tkSet:
      case tkWChar: {
        Int64 v = TypInfo::GetOrdProp(Obj, prop);
        if (!FWriteDefaults && prop->HasDefault && v == prop->Default) break;
        if (type->Kind == tkEnumeration)
          add(prop->Name, TypInfo::GetEnumName(type, v));
        else
          add(prop->Name, SysUtils::IntToStr(v));
        break;
      }
      case tkFloat: add(prop->Name, SysUtils::FloatToStr(static_cast<double>(TypInfo::GetFloatProp(Obj, prop)))); break;
      case tkString:
      case tkLString:
      case tkWString: {
        AnsiString v = TypInfo::GetStrProp(Obj, prop);
        if (!v.empty() || FWriteDefaults) add(prop->Name, frxXML::EscapeText(v));
        break;
      }
      case tkVariant:
        add(prop->Name, frxXML::EscapeText(Variants::VarToStr(TypInfo::GetVariantProp(Obj, prop))));
        break;
      case tkClass: {
        TObject* value = TypInfo::GetObjectProp(Obj, prop);
        if (!value) break;
        if (auto* c = dynamic_cast<TComponent*>(value)) {
          AnsiString ref = frxUtils::GetReferenceName(FOwner, c);
          if (!ref.empty()) add(prop->Name, ref);
        } else if (auto* list = dynamic_cast<TStrings*>(value)) {
          add(prop->Name + ".Text", frxXML::EscapeText(ListText(list)));
        } else if (auto* p = dynamic_cast<TPersistent*>(value)) {
          result += WriteProperties(p, Prefix + prop->Name + ".");
        }
        break;
      }
      default: break;
    }
  }
  AnsiString data = WritePropData(Obj);
  if (!data.empty()) result += " " + Prefix + "PropData=\"" + data + "\"";
  return result;
}

AnsiString TfrxXMLSerializer::WritePropData(TPersistent* Obj)
{
  TMemoryStream s;
  {
    TWriter w(&s, 4096);
    w.SetRoot(FOwner);
    w.WriteDefinedProperties(Obj);
  }
  if (s.GetSize() == 0) return AnsiString();
  static const char hex[] = "0123456789ABCDEF";
  AnsiString r;
  r.reserve(static_cast<size_t>(s.GetSize()) * 2);
  const auto* bytes = static_cast<const unsigned char*>(s.GetMemory());
  for (Int64 i = 0; i < s.GetSize(); ++i) {
    r += hex[bytes[i] >> 4];
    r += hex[bytes[i] & 15];
  }
  return r;
}

void TfrxXMLSerializer::WriteItem(TfrxComponent* Obj, bool SaveChildren, TfrxXMLItem* Item)
{
  Item->SetName(Obj->ClassName());
  AnsiString text = Obj->GetName().empty() ? AnsiString() : "Name=\"" + Obj->GetName() + "\"";
  AnsiString props = WriteProperties(Obj);
  if (text.empty() && !props.empty()) props.erase(0, 1);
  Item->SetText(text + props);
  if (SaveChildren)
    for (TfrxComponent* c : Obj->GetObjects()) WriteItem(c, true, Item->Add());
}

void TfrxXMLSerializer::WriteRootComponent(TfrxComponent* Obj, bool SaveChildren, TfrxXMLItem* Item)
{
  if (!FOwner) FOwner = Obj->GetReport() ? static_cast<TfrxComponent*>(Obj->GetReport()) : Obj;
  if (Item) {
    WriteItem(Obj, SaveChildren, Item);
    return;
  }
  TfrxXMLDocument doc;
  doc.SetIndented(true);
  WriteItem(Obj, SaveChildren, doc.GetRoot());
  doc.SaveToStream(FStream);
}

AnsiString TfrxXMLSerializer::WriteComponentStr(TfrxComponent* Obj)
{
  if (!FOwner) FOwner = Obj->GetReport() ? static_cast<TfrxComponent*>(Obj->GetReport()) : Obj;
  return AnsiString(Obj->ClassName()) + WriteProperties(Obj);
}

void TfrxXMLSerializer::WriteComponent(TfrxComponent* Obj)
{
  AnsiString text = "<" + WriteComponentStr(Obj) + "/>";
  FStream->Write(text.data(), static_cast<Int64>(text.size()));
}

// ---- Reading ---------------------------------------------------------------------------------

void TfrxXMLSerializer::ReadProperties(const AnsiString& Text, TPersistent* Obj)
{
  size_t pos = 0;
  const size_t len = Text.size();
  while (pos < len) {
    size_t q = Text.find('"', pos);
    if (q == AnsiString::npos || q == pos) break;
    AnsiString name = SysUtils::LowerCase(SysUtils::Trim(Text.substr(pos, q - pos - 1)));
    if (name.empty()) break;
    size_t e = Text.find('"', q + 1);
    if (e == AnsiString::npos) e = len;
    AnsiString value = Text.substr(q + 1, e - q - 1);
    try {
      SetProperty(name, value, Obj);
    } catch (const Exception& ex) {
      FErrors->Add(ex.Message());
    }
    pos = e + 2;
  }
}

void TfrxXMLSerializer::SetProperty(const AnsiString& Name, const AnsiString& Value, TObject* Obj)
{
  AnsiString name = Name;
  if (name.size() == 1) {
    switch (name[0]) {
      case 'l': name = "left"; break;
      case 't': name = "top"; break;
      case 'w': name = "width"; break;
      case 'h': name = "height"; break;
      case 'x': {
        // The memo text of a prepared text object.
        const TPropInfo* memo = TypInfo::FindPropInfo(Obj, "Memo");
        if (memo && memo->PropType->Kind == tkClass)
          if (auto* list = dynamic_cast<TStrings*>(TypInfo::GetObjectProp(Obj, memo)))
            list->SetText(frxXML::UnescapeText(Value));
        return;
      }
      default: break;
    }
  }
  // Walk the dotted path to the object holding the last part.
  TObject* target = Obj;
  TObject* holder = nullptr;
  size_t dot;
  while ((dot = name.find('.')) != AnsiString::npos) {
    const TPropInfo* part = TypInfo::FindPropInfo(target, name.substr(0, dot));
    if (!part || part->PropType->Kind != tkClass) return;
    holder = target;
    target = TypInfo::GetObjectProp(target, part);
    if (!target) return;
    name.erase(0, dot + 1);
  }
  // A font attribute read makes the font the object's own, even one equal to what the font
  // holds already: the font only tells of real changes, and a page's own font is known by
  // nothing else.
  auto* fontHolder = dynamic_cast<TfrxComponent*>(holder);
  if (fontHolder && target != fontHolder->GetFont()) fontHolder = nullptr;
  if (auto* list = dynamic_cast<TStrings*>(target); list && name == "text") {
    list->SetText(frxXML::UnescapeText(Value));
    return;
  }
  if (name == "propdata") {
    if (auto* p = dynamic_cast<TPersistent*>(target)) ReadPropData(Value, p);
    return;
  }
  const TPropInfo* prop = TypInfo::FindPropInfo(target, name);
  if (!prop) return;
  const TTypeInfo* type = prop->PropType;
  switch (type->Kind) {
    case tkEnumeration: {
      Integer n;
      if (SysUtils::TryStrToInt(Value, n)) {
        TypInfo::SetOrdProp(target, prop, n);
      } else {
        Int64 v = TypInfo::GetEnumValue(type, Value);
        if (v < 0) throw EPropertyError("Invalid property value");
        TypInfo::SetOrdProp(target, prop, v);
      }
      break;
    }
    case tkFloat: TypInfo::SetFloatProp(target, prop, frxUtils::StrToFloatAnySep(Value)); break;
    case tkString:
    case tkLString:
    case tkWString: TypInfo::SetStrProp(target, prop, frxXML::UnescapeText(Value)); break;
    case tkVariant: TypInfo::SetVariantProp(target, prop, Variant(frxXML::UnescapeText(Value))); break;
    case tkClass:
      if (type->ClassType && type->ClassType->InheritsFrom(TComponent::StaticClass())) AddFixup(target, prop, Value);
      break;
    case tkInteger:
    case tkChar:
    case tkSet:
    case tkWChar: TypInfo::SetOrdProp(target, prop, SysUtils::StrToInt(Value)); break;
    default: break;
  }
  if (fontHolder) fontHolder->SetFont(fontHolder->GetFont());
}

void TfrxXMLSerializer::ReadPropData(const AnsiString& Hex, TPersistent* Obj)
{
  auto data = std::make_unique<TPropDataReader>();
  for (size_t i = 0; i + 1 < Hex.size(); i += 2) {
    int hi = HexDigit(Hex[i]), lo = HexDigit(Hex[i + 1]);
    if (hi < 0 || lo < 0) break;
    char b = static_cast<char>(hi * 16 + lo);
    data->Stream.Write(&b, 1);
  }
  data->Stream.SetPosition(0);
  data->Reader = std::make_unique<TReader>(&data->Stream, 4096);
  data->Reader->SetRoot(FOwner);
  data->Reader->SetOwner(FOwner);
  try {
    while (data->Stream.GetPosition() < data->Stream.GetSize()) data->Reader->ReadProperty(Obj);
  } catch (const Exception& ex) {
    // A damaged block ends here; what was read stays, and the load says what went wrong.
    FErrors->Add(ex.Message());
  }
  FReaders.push_back(std::move(data));
}

void TfrxXMLSerializer::AddFixup(TObject* Obj, const TPropInfo* Prop, const AnsiString& Value)
{
  FFixups.push_back(TfrxFixupItem{Obj, Prop, Value});
}

void TfrxXMLSerializer::FixupReferences()
{
  std::vector<TfrxFixupItem> fixups;
  fixups.swap(FFixups);
  for (const TfrxFixupItem& f : fixups) {
    TComponent* found = FOwner ? FOwner->FindObject(f.Value) : nullptr;
    if (!found) {
      try {
        found = frxUtils::FindReference(FOwner, f.Value);
      } catch (const Exception&) {
        found = nullptr;
      }
    }
    if (!found) continue;
    try {
      TypInfo::SetObjectProp(f.Obj, f.Prop, found);
    } catch (const Exception& ex) {
      FErrors->Add(ex.Message());
    }
  }
  for (auto& r : FReaders) {
    try {
      r->Reader->FixupReferences();
    } catch (const Exception& ex) {
      FErrors->Add(ex.Message());
    }
  }
  FReaders.clear();
}

void TfrxXMLSerializer::ReadItem(TfrxComponent* Obj, TfrxXMLItem* Item, std::vector<TfrxComponent*>& Loaded, int Depth)
{
  Obj->SetIsLoading(true);
  Loaded.push_back(Obj);
  ReadProperties(Item->GetText(), Obj);
  if (Depth >= 256 && Item->GetCount() > 0) {
    FErrors->Add("Invalid file format");
    return;
  }
  for (int i = 0; i < Item->GetCount(); ++i) {
    TfrxXMLItem* child = Item->GetItem(i);
    TClass cls = ReportClass(child->GetName());
    if (!cls) {
      FErrors->Add(frxRes::Get("xrCantFindClass") + " " + child->GetName());
      continue;
    }
    TfrxComponent* obj = nullptr;
    try {
      obj = dynamic_cast<TfrxComponent*>(cls->Create(Obj));
    } catch (const Exception& ex) {
      FErrors->Add(ex.Message());
      continue;
    }
    if (!obj) continue;
    if (obj->GetParent() != Obj) obj->SetParent(Obj);
    ReadItem(obj, child, Loaded, Depth + 1);
  }
}

void TfrxXMLSerializer::ReadRootComponent(TfrxComponent* Obj, TfrxXMLItem* Item)
{
  if (!FOwner) FOwner = Obj->GetReport() ? static_cast<TfrxComponent*>(Obj->GetReport()) : Obj;
  std::unique_ptr<TfrxXMLDocument> doc;
  if (!Item) {
    doc = std::make_unique<TfrxXMLDocument>();
    doc->LoadFromStream(FStream, false);
    Item = doc->GetRoot();
  }
  if (!ReportClass(Item->GetName())) {
    FErrors->Add(frxRes::Get("xrCantFindClass") + " " + Item->GetName());
    return;
  }
  std::vector<TfrxComponent*> loaded;
  auto finish = [&] {
    FixupReferences();
    for (TfrxComponent* c : loaded) {
      c->SetIsLoading(false);
      if (!dynamic_cast<TfrxReport*>(c)) c->Loaded();
    }
  };
  TScopeExit undo([&] { finish(); });
  ReadItem(Obj, Item, loaded, 0);
}

TfrxComponent* TfrxXMLSerializer::ReadComponentStr(TfrxComponent* Parent, const AnsiString& Text)
{
  AnsiString text = SysUtils::Trim(Text);
  if (text.empty()) return nullptr;
  size_t blank = text.find(' ');
  AnsiString className = text.substr(0, blank);
  AnsiString attrs = blank == AnsiString::npos ? AnsiString() : text.substr(blank + 1);
  TClass cls = Classes::FindClass(className);
  if (!cls->InheritsFrom(TfrxComponent::StaticClass()))
    throw EClassNotFound(SysUtils::Format("Class %s not found", {className}));
  FOwner = Parent;
  auto* obj = dynamic_cast<TfrxComponent*>(cls->Create(Parent));
  if (!obj) return nullptr;
  if (obj->GetParent() != Parent) obj->SetParent(Parent);
  std::vector<TfrxComponent*> loaded{obj};
  auto finish = [&] {
    FixupReferences();
    obj->SetIsLoading(false);
    obj->Loaded();
  };
  obj->SetIsLoading(true);
  TScopeExit undo([&] { finish(); });
  ReadProperties(attrs, obj);
  return obj;
}

TfrxComponent* TfrxXMLSerializer::ReadComponent(TfrxComponent* Parent)
{
  TfrxXMLItem item;
  {
    TfrxXMLReader reader(FStream);
    if (reader.ReadItem(&item, true)) return nullptr;
  }
  return ReadComponentStr(Parent, item.GetName() + " " + item.GetText());
}

void TfrxXMLSerializer::ReadPersistentStr(TfrxComponent* Owner, TPersistent* Obj, const AnsiString& Text)
{
  if (!FOwner) FOwner = Owner;
  ReadProperties(Text, Obj);
  FixupReferences();
}
