#include "platform/classes/Reader.h"

#include <cstring>
#include <limits>

#include "platform/classes/ClassDecl.h"
#include "platform/classes/ClassRegistry.h"
#include "platform/classes/Collection.h"
#include "platform/classes/Component.h"
#include "platform/classes/Writer.h"
#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Streams.h"
#include "platform/rtl/StringList.h"
#include "platform/rtl/StringUtils.h"
#include "platform/rtl/Guards.h"

namespace {
constexpr int MaxDepth = 256;

// A stream nested deeper than this is refused.
void CheckDepth(int Depth)
{
  if (Depth > MaxDepth) throw EReadError("Invalid stream format");
}
}  // namespace

TReader::TReader(TStream* Stream, int BufSize) : TFiler(Stream, BufSize) {}

void TReader::Read(void* Buffer, Int64 Count) { FStream->ReadBuffer(Buffer, Count); }

Int64 TReader::GetPosition() const { return FStream->GetPosition(); }

void TReader::CheckAvailable(Int64 Count)
{
  if (Count < 0 || Count > FStream->GetSize() - FStream->GetPosition()) FormatError();
}

void TReader::PropertyError(const AnsiString& Name) { throw EReadError("Property " + Name + " does not exist"); }

void TReader::PropValueError() { throw EReadError("Invalid property value"); }

void TReader::FormatError() { throw EReadError("Invalid stream format"); }

TValueType TReader::ReadValue()
{
  Byte b = 0;
  Read(&b, 1);
  return static_cast<TValueType>(b);
}

TValueType TReader::NextValue()
{
  TValueType v = ReadValue();
  FStream->Seek(-1, soCurrent);
  return v;
}

bool TReader::EndOfList() { return NextValue() == vaNull; }

void TReader::CheckValue(TValueType Value)
{
  if (ReadValue() != Value) {
    FStream->Seek(-1, soCurrent);
    PropValueError();
  }
}

void TReader::ReadListBegin() { CheckValue(vaList); }
void TReader::ReadListEnd() { CheckValue(vaNull); }

AnsiString TReader::ReadStr()
{
  Byte len = 0;
  Read(&len, 1);
  AnsiString s(len, '\0');
  if (len) Read(s.data(), len);
  return s;
}

void TReader::ReadSignature()
{
  char sig[4] = {};
  if (FStream->Read(sig, 4) != 4 || std::memcmp(sig, Classes::FilerSignature, 4) != 0) FormatError();
}

void TReader::ReadPrefix(TFilerFlags& Flags, int& ChildPos)
{
  Flags = TFilerFlags();
  ChildPos = 0;
  Byte b = static_cast<Byte>(NextValue());
  if ((b & 0xF0) != 0xF0) return;
  ReadValue();
  Flags = TFilerFlags::FromMask(b & 0x0F);
  if (Flags.Contains(ffChildPos)) ChildPos = ReadInteger();
}

bool TReader::ReadBoolean()
{
  TValueType v = ReadValue();
  if (v == vaTrue) return true;
  if (v == vaFalse) return false;
  PropValueError();
}

Int64 TReader::ReadInt64()
{
  switch (ReadValue()) {
    case vaInt8: {
      std::int8_t v;
      Read(&v, 1);
      return v;
    }
    case vaInt16: {
      std::int16_t v;
      Read(&v, 2);
      return v;
    }
    case vaInt32: {
      std::int32_t v;
      Read(&v, 4);
      return v;
    }
    case vaInt64: {
      Int64 v;
      Read(&v, 8);
      return v;
    }
    default: PropValueError();
  }
}

Integer TReader::ReadInteger()
{
  Int64 v = ReadInt64();
  if (v < std::numeric_limits<Integer>::min() || v > std::numeric_limits<Integer>::max()) PropValueError();
  return static_cast<Integer>(v);
}

Extended TReader::ReadFloat()
{
  switch (NextValue()) {
    case vaExtended: {
      ReadValue();
      Byte bytes[16] = {};
      Read(bytes, 10);
      Extended v;
      std::memcpy(&v, bytes, sizeof(v));
      return v;
    }
    case vaSingle: return ReadSingle();
    case vaCurrency: return static_cast<Extended>(ReadCurrency().Raw) / Currency::Scale;
    case vaDate: return ReadDate().Value;
    case vaInt8:
    case vaInt16:
    case vaInt32:
    case vaInt64: return static_cast<Extended>(ReadInt64());
    default: ReadValue(); PropValueError();
  }
}

float TReader::ReadSingle()
{
  CheckValue(vaSingle);
  float v;
  Read(&v, 4);
  return v;
}

Currency TReader::ReadCurrency()
{
  CheckValue(vaCurrency);
  Currency c;
  Read(&c.Raw, 8);
  return c;
}

TDateTime TReader::ReadDate()
{
  CheckValue(vaDate);
  double d;
  Read(&d, 8);
  return TDateTime(d);
}

WideString TReader::ReadWideString()
{
  TValueType v = ReadValue();
  if (v == vaWString) {
    std::int32_t len;
    Read(&len, 4);
    CheckAvailable(static_cast<Int64>(len) * 2);
    WideString w(static_cast<size_t>(len), u'\0');
    for (auto& c : w) {
      Byte b[2];
      Read(b, 2);
      c = static_cast<WideChar>(b[0] | (b[1] << 8));
    }
    return w;
  }
  FStream->Seek(-1, soCurrent);
  if (v == vaUTF8String) {
    ReadValue();
    std::int32_t len;
    Read(&len, 4);
    CheckAvailable(len);
    AnsiString s(static_cast<size_t>(len), '\0');
    if (len) Read(s.data(), len);
    return System::Utf8ToWide(s);
  }
  return System::AnsiToWide(ReadString());
}

AnsiString TReader::ReadString()
{
  switch (ReadValue()) {
    case vaString: return ReadStr();
    case vaLString: {
      std::int32_t len;
      Read(&len, 4);
      CheckAvailable(len);
      AnsiString s(static_cast<size_t>(len), '\0');
      if (len) Read(s.data(), len);
      return s;
    }
    case vaWString:
    case vaUTF8String: FStream->Seek(-1, soCurrent); return System::WideToAnsi(ReadWideString());
    default: PropValueError();
  }
}

char TReader::ReadChar()
{
  AnsiString s = ReadString();
  if (s.size() != 1) PropValueError();
  return s[0];
}

WideChar TReader::ReadWideChar()
{
  WideString w = ReadWideString();
  if (w.size() != 1) PropValueError();
  return w[0];
}

AnsiString TReader::ReadIdent()
{
  switch (ReadValue()) {
    case vaIdent: return ReadStr();
    case vaFalse: return "False";
    case vaTrue: return "True";
    case vaNil: return "nil";
    case vaNull: return "Null";
    default: PropValueError();
  }
}

TClass TReader::FindComponentClass(const AnsiString& ClassName)
{
  TClass c = Classes::GetClass(ClassName);
  if (!c && OnFindComponentClass) OnFindComponentClass(this, ClassName, c);
  if (!c) throw EClassNotFound("Class " + ClassName + " not found");
  if (!c->InheritsFrom(TComponent::StaticClass())) throw EClassNotFound("Class " + ClassName + " not found");
  return c;
}

TComponent* TReader::ReadRootComponent(TComponent* Root)
{
  ReadSignature();
  TFilerFlags flags;
  int pos;
  ReadPrefix(flags, pos);
  AnsiString className = ReadStr();
  std::unique_ptr<TComponent> created;
  TComponent* result = Root;
  if (!result) {
    TClass c = FindComponentClass(className);
    created.reset(static_cast<TComponent*>(c->Create(nullptr)));
    result = created.get();
  }
  FFixups.clear();
  FLoaded.clear();
  SetRoot(result);
  FOwner = result;
  FParent = result;
  {
    TScopeExit undo([&] {
      FFixups.clear();
      if (!created)
        for (TComponent* c : FLoaded) {
          c->ExcludeState(csReading);
          c->ExcludeState(csLoading);
        }
      FLoaded.clear();
    });
    AnsiString name = ReadStr();
    result->IncludeState(csLoading);
    result->IncludeState(csReading);
    if (!result->GetComponentState().Contains(csDesigning)) result->SetName(name);
    FLoaded.push_back(result);
    result->ReadState(this);
    result->ExcludeState(csReading);
    FixupReferences();
    undo.Dismiss();
  }
  std::vector<TComponent*> loaded;
  loaded.swap(FLoaded);
  for (TComponent* c : loaded) c->Loaded();
  return created ? created.release() : result;
}

TComponent* TReader::ReadComponent(TComponent* Component)
{
  TCountGuard depth(FDepth);
  CheckDepth(FDepth);
  TFilerFlags flags;
  int pos;
  ReadPrefix(flags, pos);
  AnsiString className = ReadStr();
  AnsiString name = ReadStr();
  TComponent* result = Component;
  bool created = false;
  if (!result) {
    TClass c = FindComponentClass(className);
    result = static_cast<TComponent*>(c->Create(FOwner));
    created = true;
  }
  TScopeExit forget([&] {
    if (!created) return;
    // Forget what goes with it: the component and whatever it owns.
    auto goes = [result](TComponent* c) {
      for (; c; c = c->GetOwner())
        if (c == result) return true;
      return false;
    };
    std::erase_if(FLoaded, goes);
    std::erase_if(FFixups, [&](const TFixup& f) {
      auto* c = dynamic_cast<TComponent*>(f.Instance);
      return c ? goes(c) : true;
    });
    delete result;
  });
  result->IncludeState(csLoading);
  result->IncludeState(csReading);
  result->SetName(name);
  result->SetParentComponent(FParent);
  if (flags.Contains(ffChildPos) && FParent) FParent->SetChildOrder(result, pos);
  FLoaded.push_back(result);
  result->ReadState(this);
  result->ExcludeState(csReading);
  forget.Dismiss();
  return result;
}

void TReader::ReadData(TComponent* Instance)
{
  while (!EndOfList()) ReadProperty(Instance);
  ReadListEnd();
  TComponent* savedOwner = FOwner;
  TComponent* savedParent = FParent;
  TComponent* childOwner = Instance->GetChildOwner();
  FOwner = childOwner ? childOwner : FRoot;
  FParent = Instance->GetChildParent();
  TScopeExit undo([&] {
    FOwner = savedOwner;
    FParent = savedParent;
  });
  while (!EndOfList()) ReadComponent(nullptr);
  ReadListEnd();
}

void TReader::ReadProperty(TPersistent* AInstance)
{
  AnsiString path = ReadStr();
  TPersistent* instance = AInstance;
  size_t start = 0;
  for (size_t dot; (dot = path.find('.', start)) != AnsiString::npos; start = dot + 1) {
    const TPropInfo* p = TypInfo::FindPropInfo(instance, path.substr(start, dot - start));
    if (!p || p->PropType->Kind != tkClass || !p->Getter) PropertyError(path);
    TObject* obj = TypInfo::GetObjectProp(instance, p);
    auto* strings = dynamic_cast<TStrings*>(obj);
    if (strings && SysUtils::SameText(path.substr(dot + 1), "Strings")) {
      ReadStrings(strings);
      return;
    }
    auto* component = dynamic_cast<TComponent*>(obj);
    if (component && !component->GetComponentStyle().Contains(csSubComponent)) PropertyError(path);
    auto* next = dynamic_cast<TPersistent*>(obj);
    if (!next) PropertyError(path);
    instance = next;
  }
  AnsiString name = path.substr(start);
  if (const TPropInfo* p = TypInfo::FindPropInfo(instance, name)) {
    ReadPropValue(instance, p);
    return;
  }
  FPropName = name;
  FPropHandled = false;
  instance->DefineProperties(this);
  FPropName.clear();
  if (!FPropHandled) PropertyError(path);
}

void TReader::ReadStrings(TStrings* Strings)
{
  TCountGuard depth(FDepth);
  CheckDepth(FDepth);
  ReadListBegin();
  TUpdateGuard lock(*Strings);
  Strings->Clear();
  while (!EndOfList()) Strings->Add(ReadString());
  ReadListEnd();
}

void TReader::ReadPropValue(TPersistent* Instance, const TPropInfo* Prop)
{
  const TTypeInfo* type = Prop->PropType;
  if (Prop->IsReadOnly() && type->Kind != tkClass) throw EReadError("Property " + Prop->Name + " is read-only");
  switch (type->Kind) {
    case tkInteger: {
      Int64 v = ReadInt64();
      if (type->MinValue < type->MaxValue && (v < type->MinValue || v > type->MaxValue)) PropValueError();
      TypInfo::SetOrdProp(Instance, Prop, v);
      return;
    }
    case tkInt64: TypInfo::SetOrdProp(Instance, Prop, ReadInt64()); return;
    case tkChar: TypInfo::SetOrdProp(Instance, Prop, static_cast<unsigned char>(ReadChar())); return;
    case tkWChar: TypInfo::SetOrdProp(Instance, Prop, ReadWideChar()); return;
    case tkEnumeration: {
      Int64 v = TypInfo::GetEnumValue(type, ReadIdent());
      if (v < 0) PropValueError();
      TypInfo::SetOrdProp(Instance, Prop, v);
      return;
    }
    case tkSet: {
      if (ReadValue() != vaSet) PropValueError();
      std::uint64_t mask = 0;
      for (;;) {
        AnsiString name = ReadStr();
        if (name.empty()) break;
        Int64 v = TypInfo::GetEnumValue(type->CompType, name);
        if (v < 0 || v >= 64) PropValueError();
        mask |= std::uint64_t(1) << v;
      }
      TypInfo::SetOrdProp(Instance, Prop, static_cast<Int64>(mask));
      return;
    }
    case tkFloat: {
      Extended v = ReadFloat();
      if (type->FloatType == ftCurr) {
        try {
          TypInfo::ToCurrency(v);
        } catch (const EPropertyError&) {
          PropValueError();
        }
      }
      TypInfo::SetFloatProp(Instance, Prop, v);
      return;
    }
    case tkString:
    case tkLString: TypInfo::SetStrProp(Instance, Prop, ReadString()); return;
    case tkWString: TypInfo::SetWideStrProp(Instance, Prop, ReadWideString()); return;
    case tkVariant: ReadVariantProp(Instance, Prop); return;
    case tkClass: {
      TValueType next = NextValue();
      if (next == vaCollection) {
        ReadValue();
        auto* collection = dynamic_cast<TCollection*>(TypInfo::GetObjectProp(Instance, Prop));
        if (!collection) PropValueError();
        ReadCollection(collection);
      } else if (next == vaNil) {
        ReadValue();
        if (Prop->IsReadOnly()) PropValueError();
        TypInfo::SetObjectProp(Instance, Prop, nullptr);
      } else if (next == vaIdent) {
        if (Prop->IsReadOnly()) PropValueError();
        FFixups.push_back({Instance, Prop, ReadIdent()});
      } else {
        PropValueError();
      }
      return;
    }
    case tkMethod: {
      AnsiString name = ReadIdent();
      std::any method;
      if (name != "nil") {
        bool error = true;
        if (OnFindMethod) OnFindMethod(this, name, method, error);
        if (error) throw EMethodNotFound("Method '" + name + "' not found");
      }
      TypInfo::SetMethodProp(Instance, Prop, method);
      return;
    }
    default: PropValueError();
  }
}

void TReader::ReadCollection(TCollection* Collection)
{
  TCountGuard depth(FDepth);
  CheckDepth(FDepth);
  TUpdateGuard lock(*Collection);
  if (!EndOfList()) Collection->Clear();
  while (!EndOfList()) {
    TValueType v = NextValue();
    if (v == vaInt8 || v == vaInt16 || v == vaInt32) ReadInteger();  // the item's stored order
    TCollectionItem* item = Collection->Add();
    ReadListBegin();
    while (!EndOfList()) ReadProperty(item);
    ReadListEnd();
  }
  ReadListEnd();
}

void TReader::DefineProperty(const AnsiString& Name, TReaderProc ReadData, TWriterProc, bool)
{
  if (!Claim(Name, ReadData != nullptr)) return;
  ReadData(this);
  Claimed();
}

void TReader::DefineBinaryProperty(const AnsiString& Name, TStreamProc ReadData, TStreamProc, bool)
{
  if (!Claim(Name, ReadData != nullptr)) return;
  if (ReadValue() != vaBinary) PropValueError();
  std::int32_t len;
  Read(&len, 4);
  CheckAvailable(len);
  TMemoryStream block;
  if (len > 0) block.CopyFrom(FStream, len);
  block.SetPosition(0);
  ReadData(&block);
  Claimed();
}

bool TReader::Claim(const AnsiString& Name, bool CanRead)
{
  if (FPropHandled || FPropName.empty() || !CanRead || !SysUtils::SameText(Name, FPropName)) return false;
  FPropHandled = true;
  return true;
}

void TReader::Claimed()
{
  // Reading the value may have read nested properties (a collection): later definitions of
  // the same hook must not match their names.
  FPropName.clear();
  FPropHandled = true;
}

TComponent* TReader::FindReference(const AnsiString& Name) const
{
  TComponent* root = FLookupRoot;
  size_t dot = Name.find('.');
  if (dot == AnsiString::npos) {
    if (!root) return Classes::FindGlobalComponent(Name);
    if (TComponent* c = root->FindComponent(Name)) return c;
    if (SysUtils::SameText(Name, "Owner") || SysUtils::SameText(Name, root->GetName())) return root;
    return nullptr;
  }
  AnsiString first = Name.substr(0, dot), rest = Name.substr(dot + 1);
  TComponent* holder = nullptr;
  if (root && (SysUtils::SameText(first, root->GetName()) || SysUtils::SameText(first, "Owner")))
    holder = root;
  else if (root && root->FindComponent(first))
    holder = root->FindComponent(first);
  else
    holder = Classes::FindGlobalComponent(first);
  if (!holder) return nullptr;
  if (SysUtils::SameText(rest, "Owner")) return holder->GetOwner();
  return holder->FindComponent(rest);
}

void TReader::FixupReferences()
{
  std::vector<TFixup> fixups;
  fixups.swap(FFixups);
  for (const TFixup& f : fixups) {
    TComponent* target = FindReference(f.Name);
    if (target) TypInfo::SetObjectProp(f.Instance, f.Prop, target);
  }
}

namespace Classes {

void WriteComponent(TStream* Stream, TComponent* Component)
{
  TWriter writer(Stream);
  writer.WriteRootComponent(Component);
}

TComponent* ReadComponent(TStream* Stream, TComponent* Instance)
{
  TReader reader(Stream);
  return reader.ReadRootComponent(Instance);
}

}  // namespace Classes
