#include "platform/classes/Writer.h"

#include <cstring>
#include <limits>

#include "platform/classes/ClassDecl.h"
#include "platform/classes/Collection.h"
#include "platform/classes/Component.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Streams.h"
#include "platform/rtl/StringList.h"
#include "platform/rtl/Guards.h"

static_assert(std::numeric_limits<long double>::digits == 64, "Extended must be the 80-bit x87 format");

TFiler::TFiler(TStream* Stream, int) : FStream(Stream) {}

TWriter::TWriter(TStream* Stream, int BufSize) : TFiler(Stream, BufSize) {}

void TWriter::Write(const void* Buffer, Int64 Count) { FStream->WriteBuffer(Buffer, Count); }

Int64 TWriter::GetPosition() const { return FStream->GetPosition(); }

void TWriter::WriteValue(TValueType Value)
{
  Byte b = static_cast<Byte>(Value);
  Write(&b, 1);
}

void TWriter::WriteStr(const AnsiString& Value)
{
  if (Value.size() > 255) throw EWriteError("Stream write error");
  Byte len = static_cast<Byte>(Value.size());
  Write(&len, 1);
  Write(Value.data(), len);
}

void TWriter::WriteSignature() { Write(Classes::FilerSignature, 4); }

void TWriter::WriteListBegin() { WriteValue(vaList); }
void TWriter::WriteListEnd() { WriteValue(vaNull); }
void TWriter::WriteBoolean(bool Value) { WriteValue(Value ? vaTrue : vaFalse); }

void TWriter::WriteChar(char Value) { WriteString(AnsiString(1, Value)); }

void TWriter::WriteWideChar(WideChar Value) { WriteWideString(WideString(1, Value)); }

void TWriter::WriteInteger(Int64 Value)
{
  if (Value >= -128 && Value <= 127) {
    WriteValue(vaInt8);
    std::int8_t v = static_cast<std::int8_t>(Value);
    Write(&v, 1);
  } else if (Value >= -32768 && Value <= 32767) {
    WriteValue(vaInt16);
    std::int16_t v = static_cast<std::int16_t>(Value);
    Write(&v, 2);
  } else if (Value >= std::numeric_limits<std::int32_t>::min() && Value <= std::numeric_limits<std::int32_t>::max()) {
    WriteValue(vaInt32);
    std::int32_t v = static_cast<std::int32_t>(Value);
    Write(&v, 4);
  } else {
    WriteValue(vaInt64);
    Write(&Value, 8);
  }
}

void TWriter::WriteFloat(Extended Value)
{
  WriteValue(vaExtended);
  Byte bytes[16] = {};
  std::memcpy(bytes, &Value, sizeof(Value));
  Write(bytes, 10);
}

void TWriter::WriteSingle(float Value)
{
  WriteValue(vaSingle);
  Write(&Value, 4);
}

void TWriter::WriteCurrency(Currency Value)
{
  WriteValue(vaCurrency);
  Write(&Value.Raw, 8);
}

void TWriter::WriteDate(TDateTime Value)
{
  WriteValue(vaDate);
  double d = Value.Value;
  Write(&d, 8);
}

void TWriter::WriteString(const AnsiString& Value)
{
  if (Value.size() <= 255) {
    WriteValue(vaString);
    WriteStr(Value);
    return;
  }
  if (Value.size() > static_cast<size_t>(std::numeric_limits<std::int32_t>::max()))
    throw EWriteError("Stream write error");
  WriteValue(vaLString);
  std::int32_t len = static_cast<std::int32_t>(Value.size());
  Write(&len, 4);
  Write(Value.data(), len);
}

void TWriter::WriteWideString(const WideString& Value)
{
  if (Value.size() > static_cast<size_t>(std::numeric_limits<std::int32_t>::max() / 2))
    throw EWriteError("Stream write error");
  WriteValue(vaWString);
  std::int32_t len = static_cast<std::int32_t>(Value.size());
  Write(&len, 4);
  for (WideChar c : Value) {
    Byte b[2] = {static_cast<Byte>(c & 0xFF), static_cast<Byte>(c >> 8)};
    Write(b, 2);
  }
}

void TWriter::WriteIdent(const AnsiString& Ident)
{
  if (Ident == "False")
    WriteValue(vaFalse);
  else if (Ident == "True")
    WriteValue(vaTrue);
  else if (Ident == "nil")
    WriteValue(vaNil);
  else if (Ident == "Null")
    WriteValue(vaNull);
  else {
    WriteValue(vaIdent);
    WriteStr(Ident);
  }
}

void TWriter::WritePrefix(TFilerFlags Flags, int ChildPos)
{
  if (Flags.Empty()) return;
  Byte prefix = static_cast<Byte>(0xF0 | Flags.Mask());
  Write(&prefix, 1);
  if (Flags.Contains(ffChildPos)) WriteInteger(ChildPos);
}

void TWriter::WritePropName(const AnsiString& PropName) { WriteStr(FPropPath + PropName); }

void TWriter::WriteRootComponent(TComponent* Root)
{
  SetRoot(Root);
  WriteSignature();
  WriteComponent(Root);
}

void TWriter::WriteComponent(TComponent* Component)
{
  bool wasWriting = Component->FComponentState.Contains(csWriting);
  Component->IncludeState(csWriting);
  TScopeExit undo([&] {
    if (!wasWriting) Component->ExcludeState(csWriting);
  });
  Component->WriteState(this);
}

void TWriter::WriteData(TComponent* Instance)
{
  WritePrefix(TFilerFlags(), 0);
  WriteStr(Instance->ClassName());
  WriteStr(Instance->GetName());
  WriteProperties(Instance);
  WriteListEnd();
  if (!FIgnoreChildren) Instance->GetChildren([this](TComponent* Child) { WriteComponent(Child); }, FRoot);
  WriteListEnd();
}

void TWriter::WriteProperties(TPersistent* Instance)
{
  for (const TPropInfo* p : TypInfo::ClassTypeOf(Instance)->Properties()) {
    if (!p->Getter) continue;
    // A read-only property is stored only when it holds an object that is changed in place.
    if (!p->Setter && p->PropType->Kind != tkClass) continue;
    if (!TypInfo::IsStoredProp(Instance, p)) continue;
    WriteProperty(Instance, p);
  }
  Instance->DefineProperties(this);
}

void TWriter::WriteDefinedProperties(TPersistent* Instance) { Instance->DefineProperties(this); }

void TWriter::WriteProperty(TPersistent* Instance, const TPropInfo* Prop)
{
  const TTypeInfo* type = Prop->PropType;
  switch (type->Kind) {
    case tkInteger:
    case tkChar:
    case tkWChar:
    case tkEnumeration:
    case tkSet:
    case tkInt64: {
      Int64 v = TypInfo::GetOrdProp(Instance, Prop);
      if (Prop->HasDefault && v == Prop->Default) return;
      WritePropName(Prop->Name);
      switch (type->Kind) {
        case tkChar: WriteChar(static_cast<char>(v)); break;
        case tkWChar: WriteWideChar(static_cast<WideChar>(v)); break;
        case tkEnumeration: WriteIdent(TypInfo::GetEnumName(type, v)); break;
        case tkSet: {
          WriteValue(vaSet);
          const TTypeInfo* elem = type->CompType;
          for (size_t i = 0; elem && i < elem->EnumNames.size() && i < 64; ++i)
            if (static_cast<std::uint64_t>(v) & (std::uint64_t(1) << i)) WriteStr(elem->EnumNames[i]);
          WriteStr(AnsiString());
          break;
        }
        default: WriteInteger(v); break;
      }
      return;
    }
    case tkFloat: {
      Extended v = TypInfo::GetFloatProp(Instance, Prop);
      if (v == 0) return;
      WritePropName(Prop->Name);
      if (type->FloatType == ftSingle)
        WriteSingle(static_cast<float>(v));
      else if (type->FloatType == ftCurr) {
        WriteCurrency(TypInfo::ToCurrency(v));
      } else if (type->Name == "TDateTime" || (type->BaseType && type->BaseType->Name == "TDateTime"))
        WriteDate(TDateTime(static_cast<double>(v)));
      else
        WriteFloat(v);
      return;
    }
    case tkString:
    case tkLString: {
      AnsiString v = TypInfo::GetStrProp(Instance, Prop);
      if (v.empty()) return;
      WritePropName(Prop->Name);
      WriteString(v);
      return;
    }
    case tkWString: {
      WideString v = TypInfo::GetWideStrProp(Instance, Prop);
      if (v.empty()) return;
      WritePropName(Prop->Name);
      WriteWideString(v);
      return;
    }
    case tkVariant: WriteVariantProp(Instance, Prop); return;
    case tkClass: {
      TObject* obj = TypInfo::GetObjectProp(Instance, Prop);
      if (!obj) return;
      auto* component = dynamic_cast<TComponent*>(obj);
      if (component && !component->GetComponentStyle().Contains(csSubComponent)) {
        AnsiString name = GetComponentRefName(component);
        if (name.empty()) return;  // a component without a name cannot be found again
        WritePropName(Prop->Name);
        WriteIdent(name);
        return;
      }
      if (auto* collection = dynamic_cast<TCollection*>(obj)) {
        WritePropName(Prop->Name);
        WriteCollection(collection);
        return;
      }
      AnsiString saved = FPropPath;
      FPropPath += Prop->Name + ".";
      {
        TScopeExit undo([&] { FPropPath = saved; });
        if (auto* strings = dynamic_cast<TStrings*>(obj))
          WriteStrings(strings);
        else if (auto* persistent = dynamic_cast<TPersistent*>(obj))
          WriteProperties(persistent);
      }
      return;
    }
    default: return;  // events and kinds without a stored form
  }
}

void TWriter::WriteStrings(TStrings* Value)
{
  if (Value->GetCount() == 0) return;
  WritePropName("Strings");
  WriteListBegin();
  for (Integer i = 0; i < Value->GetCount(); ++i) WriteString(Value->GetStrings(i));
  WriteListEnd();
}

void TWriter::WriteCollection(TCollection* Value)
{
  WriteValue(vaCollection);
  AnsiString saved = FPropPath;
  FPropPath.clear();
  {
    TScopeExit undo([&] { FPropPath = saved; });
    for (int i = 0; i < Value->GetCount(); ++i) {
      WriteListBegin();
      WriteProperties(Value->GetItem(i));
      WriteListEnd();
    }
  }
  WriteListEnd();
}

void TWriter::DefineProperty(const AnsiString& Name, TReaderProc, TWriterProc WriteData, bool HasData)
{
  if (!HasData || !WriteData) return;
  WritePropName(Name);
  WriteData(this);
}

void TWriter::DefineBinaryProperty(const AnsiString& Name, TStreamProc, TStreamProc WriteData, bool HasData)
{
  if (!HasData || !WriteData) return;
  TMemoryStream block;
  WriteData(&block);
  Int64 size = block.GetSize();
  if (size > std::numeric_limits<std::int32_t>::max()) throw EWriteError("Stream write error");
  WritePropName(Name);
  WriteValue(vaBinary);
  std::int32_t len = static_cast<std::int32_t>(size);
  Write(&len, 4);
  if (len > 0) Write(block.GetMemory(), len);
}

AnsiString TWriter::GetComponentRefName(TComponent* Component) const
{
  if (!Component) return AnsiString();
  if (Component->GetOwner() == FLookupRoot) return Component->GetName();
  if (Component == FLookupRoot) return "Owner";
  TComponent* owner = Component->GetOwner();
  if (owner && !owner->GetName().empty() && !Component->GetName().empty())
    return owner->GetName() + "." + Component->GetName();
  return Component->GetName();
}
