// The Variant values of the component stream: kept apart from the reader and writer so that
// only Variant-typed properties and explicit calls pull in the Variant code.
#include <limits>

#include "platform/classes/Persistent.h"
#include "platform/classes/Reader.h"
#include "platform/classes/Writer.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Streams.h"
#include "platform/rtl/Variants.h"

void TWriter::WriteVariant(const Variant& Value)
{
  const Variant& v = Value.Deref();
  TVarType type = v.VarType();
  if (type & varArray) {
    if (Variants::VarArrayDimCount(v) != 1) throw EWriteError("Stream write error");
    WriteValue(vaList);
    int lo = Variants::VarArrayLowBound(v, 1), hi = Variants::VarArrayHighBound(v, 1);
    for (int i = lo; i <= hi; ++i) {
      Variant item = Variants::VarArrayGet(v, {i});
      // Null's tag is also the end of the list: it would cut the list short and corrupt the
      // rest of the stream, so it is refused.
      if (item.IsNull()) throw EWriteError("Stream write error");
      WriteVariant(item);
    }
    WriteListEnd();
    return;
  }
  switch (type & varTypeMask) {
    case varEmpty: WriteValue(vaNil); return;
    case varNull: WriteValue(vaNull); return;
    case varOleStr: WriteWideString(v.AsWideString()); return;
    case varString: WriteString(v.AsString()); return;
    case varShortInt:
    case varByte:
    case varSmallint:
    case varWord:
    case varInteger:
    case varLongWord:
    case varInt64: WriteInteger(v.AsInt64()); return;
    case varSingle: WriteSingle(static_cast<float>(v.AsDouble())); return;
    case varDouble: WriteFloat(v.AsDouble()); return;
    case varCurrency: WriteCurrency(v.AsCurrency()); return;
    case varDate: WriteDate(v.AsDateTime()); return;
    case varBoolean: WriteBoolean(v.AsBoolean()); return;
    default: throw EWriteError("Stream write error");
  }
}

void TWriter::WriteVariantProp(TPersistent* Instance, const TPropInfo* Prop)
{
  Variant v;
  Prop->Getter(Instance, &v);
  if (v.IsEmpty()) return;
  WritePropName(Prop->Name);
  WriteVariant(v);
}

Variant TReader::ReadVariantValue(TValueType Tag, int Depth)
{
  switch (Tag) {
    case vaNil: return Variant();
    case vaNull: return Variant::Null();
    case vaInt8:
    case vaInt16:
    case vaInt32: {
      FStream->Seek(-1, soCurrent);
      return Variant(static_cast<int>(ReadInteger()));
    }
    case vaInt64: FStream->Seek(-1, soCurrent); return Variant(static_cast<long long>(ReadInt64()));
    case vaExtended: FStream->Seek(-1, soCurrent); return Variant(static_cast<double>(ReadFloat()));
    case vaSingle: FStream->Seek(-1, soCurrent); return Variant(ReadSingle());
    case vaCurrency: FStream->Seek(-1, soCurrent); return Variant(ReadCurrency());
    case vaDate: FStream->Seek(-1, soCurrent); return Variant(ReadDate());
    case vaString:
    case vaLString: FStream->Seek(-1, soCurrent); return Variant(ReadString());
    case vaWString:
    case vaUTF8String: FStream->Seek(-1, soCurrent); return Variant(ReadWideString());
    case vaFalse: return Variant(false);
    case vaTrue: return Variant(true);
    case vaList: {
      if (Depth >= 256) FormatError();
      std::vector<Variant> items;
      while (!EndOfList()) items.push_back(ReadVariantValue(ReadValue(), Depth + 1));
      ReadListEnd();
      return Variants::VarArrayOf(items);
    }
    default: PropValueError();
  }
}

Variant TReader::ReadVariant() { return ReadVariantValue(ReadValue(), 0); }

void TReader::ReadVariantProp(TPersistent* Instance, const TPropInfo* Prop)
{
  Variant v = ReadVariant();
  Prop->Setter(Instance, &v);
}
