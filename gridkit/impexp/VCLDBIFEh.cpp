#include "gridkit/impexp/VCLDBIFEh.h"

#include <cstring>

#include "platform/db/DataSet.h"
#include "platform/db/Fields.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Streams.h"

namespace {

constexpr char Signature[7] = {'V', 'C', 'L', 'D', 'B', 'I', 'F'};

enum : Byte { tagEnd, tagUnassigned, tagNull, tagInteger, tagFloat, tagString, tagBinary };

void WriteByte(TStream* Stream, Byte Value) { Stream->WriteBuffer(&Value, 1); }

void WriteInt32(TStream* Stream, std::int32_t Value)
{
  auto u = static_cast<std::uint32_t>(Value);
  Byte b[4] = {Byte(u), Byte(u >> 8), Byte(u >> 16), Byte(u >> 24)};
  Stream->WriteBuffer(b, 4);
}

void WriteDouble(TStream* Stream, double Value)
{
  std::uint64_t u;
  std::memcpy(&u, &Value, 8);
  Byte b[8];
  for (int i = 0; i < 8; ++i) b[i] = Byte(u >> (8 * i));
  Stream->WriteBuffer(b, 8);
}

void WriteBytes(TStream* Stream, Byte Tag, const AnsiString& Bytes)
{
  WriteByte(Stream, Tag);
  WriteInt32(Stream, static_cast<std::int32_t>(Bytes.size()));
  Stream->WriteBuffer(Bytes.data(), static_cast<Int64>(Bytes.size()));
}

}  // namespace

// ---- writing ---------------------------------------------------------------------------------

namespace DBGridEhImpExp {

TField* ValueFieldOfColumn(TColumnEh* Column)
{
  TField* f = Column->GetField();
  if (f && f->GetLookup()) return f->GetDataSet() ? f->GetDataSet()->FindField(f->GetKeyFields()) : nullptr;
  return f;
}

void WriteVCLDBIFValue(TStream* Stream, TField* Field)
{
  if (!Field) return WriteByte(Stream, tagUnassigned);
  if (Field->IsNull()) return WriteByte(Stream, tagNull);
  switch (Field->GetDataType()) {
    case ftString:
    case ftBoolean:
    case ftMemo:
    case ftFixedChar:
    case ftLargeint:
    case ftOraClob:
    case ftGuid: return WriteBytes(Stream, tagString, Field->GetAsString());
    case ftSmallint:
    case ftInteger:
    case ftWord:
    case ftAutoInc: WriteByte(Stream, tagInteger); return WriteInt32(Stream, Field->GetAsInteger());
    case ftFloat:
    case ftCurrency:
    case ftBCD:
    case ftDate:
    case ftTime:
    case ftDateTime:
    case ftTimeStamp:
    case ftFMTBcd: WriteByte(Stream, tagFloat); return WriteDouble(Stream, Field->GetAsFloat());
    case ftBytes:
    case ftVarBytes:
    case ftBlob:
    case ftGraphic:
    case ftFmtMemo:
    case ftParadoxOle:
    case ftDBaseOle:
    case ftTypedBinary:
    case ftWideString:
    case ftOraBlob: return WriteBytes(Stream, tagBinary, Field->GetAsString());
    default: return WriteByte(Stream, tagUnassigned);
  }
}

}  // namespace DBGridEhImpExp

void TDBGridEhExportAsVCLDBIF::BeginOutput()
{
  OutStream->WriteBuffer(Signature, sizeof Signature);
  WriteByte(OutStream, 1);
  WriteInt32(OutStream, static_cast<std::int32_t>(ExportColumns.size()));
  for (TColumnEh* c : ExportColumns) {
    WriteByte(OutStream, c->GetVisible() ? 1 : 0);
    WriteByte(OutStream, 0);
  }
}

void TDBGridEhExportAsVCLDBIF::EndOutput() { WriteByte(OutStream, tagEnd); }

void TDBGridEhExportAsVCLDBIF::OutputDataCell(TColumnEh* Column, TColCellParamsEh&)
{
  DBGridEhImpExp::WriteVCLDBIFValue(OutStream, DBGridEhImpExp::ValueFieldOfColumn(Column));
}

// ---- reading ---------------------------------------------------------------------------------

void TVCLDBIFReaderEh::FormatError() { throw Exception("TDBGridEhImportAsVCLDBIF.ReadPrefix: Invalid VCLDBIF format"); }

Int64 TVCLDBIFReaderEh::Remaining()
{
  Int64 left = FStream->GetSize() - FStream->GetPosition();
  return left > 0 ? left : 0;
}

void TVCLDBIFReaderEh::ReadExact(void* Buffer, Int64 Count)
{
  if (FStream->Read(Buffer, Count) != Count) FormatError();
}

std::int32_t TVCLDBIFReaderEh::ReadInt32()
{
  Byte b[4];
  ReadExact(b, 4);
  return static_cast<std::int32_t>(std::uint32_t(b[0]) | std::uint32_t(b[1]) << 8 | std::uint32_t(b[2]) << 16 |
                                   std::uint32_t(b[3]) << 24);
}

void TVCLDBIFReaderEh::ReadPrefix()
{
  StreamColumns.clear();
  NamesPresent = false;
  AtEnd = false;
  char head[8];
  ReadExact(head, 8);
  if (std::memcmp(head, Signature, sizeof Signature) != 0) FormatError();
  std::int32_t n = ReadInt32();
  // Each entry takes at least two bytes.
  if (n < 0 || n > Remaining() / 2) FormatError();
  StreamColumns.reserve(static_cast<std::size_t>(n));
  for (std::int32_t i = 0; i < n; ++i) {
    Byte visible;
    ReadExact(&visible, 1);
    AnsiString name;
    for (char ch;;) {
      ReadExact(&ch, 1);
      if (ch == 0) break;
      name += ch;
    }
    if (!name.empty()) NamesPresent = true;
    StreamColumns.emplace_back(std::move(name), visible != 0);
  }
  ReadNextValue();
}

void TVCLDBIFReaderEh::ReadNextValue()
{
  if (AtEnd) return;
  Byte tag;
  ReadExact(&tag, 1);
  LookAheadValue = Variant();
  LookAheadBinary = tag == tagBinary;
  switch (tag) {
    case tagEnd: AtEnd = true; break;
    case tagNull: LookAheadValue = Variant::Null(); break;
    case tagInteger: LookAheadValue = Variant(static_cast<int>(ReadInt32())); break;
    case tagFloat: {
      Byte b[8];
      ReadExact(b, 8);
      std::uint64_t u = 0;
      for (int i = 0; i < 8; ++i) u |= std::uint64_t(b[i]) << (8 * i);
      double d;
      std::memcpy(&d, &u, 8);
      LookAheadValue = Variant(d);
      break;
    }
    case tagString:
    case tagBinary: {
      std::int32_t len = ReadInt32();
      if (len < 0 || len > Remaining()) FormatError();
      AnsiString s(static_cast<std::size_t>(len), '\0');
      ReadExact(s.data(), len);
      LookAheadValue = Variant(std::move(s));
      break;
    }
    default: break;  // unassigned, also for a tag this reader does not know
  }
}

// ---- importing -------------------------------------------------------------------------------

void TDBGridEhImportAsVCLDBIF::InputFromStream(TStream* Stream, bool IsImportAll)
{
  IgnoreAllErrors = false;
  FReader = std::make_unique<TVCLDBIFReaderEh>(Stream);
  struct TDrop {
    std::unique_ptr<TVCLDBIFReaderEh>& Reader;
    ~TDrop() { Reader.reset(); }
  } drop{FReader};
  TDBGridEhImport::InputFromStream(Stream, IsImportAll);
}

void TDBGridEhImportAsVCLDBIF::ReadNextValue()
{
  FReader->ReadNextValue();
  AtEnd = FReader->AtEnd;
}

void TDBGridEhImportAsVCLDBIF::ReadPrefix()
{
  FReader->ReadPrefix();
  AtEnd = FReader->AtEnd;
}

void TDBGridEhImportAsVCLDBIF::InputRecord(const TColumnsEhList& Columns)
{
  // Without columns no value belongs to a record: drop them, or appending would never end.
  if (FReader->StreamColumns.empty())
    while (!AtEnd) ReadNextValue();
  for (std::size_t i = 0; i < FReader->StreamColumns.size(); ++i) InputCell(i < Columns.size() ? Columns[i] : nullptr);
}

void TDBGridEhImportAsVCLDBIF::InputCell(TColumnEh* Column)
{
  if (!FReader->LookAheadValue.IsEmpty() && Column && Column->CanEditValue(false, FReader->LookAheadBinary)) {
    TField* field = DBGridEhImpExp::ValueFieldOfColumn(Column);
    if (StartEdit(field)) try {
        field->SetValue(FReader->LookAheadValue);
      } catch (const EAbort&) {
        throw;
      } catch (const Exception& e) {
        AskIgnoreError(e);
      }
  }
  ReadNextValue();
}
