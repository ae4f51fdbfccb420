#include "platform/db/Params.h"

#include "platform/db/SqlScanner.h"

#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/FormatText.h"
#include "platform/rtl/Streams.h"
#include "platform/rtl/StringUtils.h"

void TParameter::SetValue(const Variant& Value)
{
  FValue = Value;
  switch (Value.VarType()) {
    case varEmpty:
    case varNull: break;
    case varOleStr: FDataType = ftWideString; break;
    case varString: FDataType = ftString; break;
    case varSmallint:
    case varShortInt:
    case varByte: FDataType = ftSmallint; break;
    case varInteger:
    case varWord: FDataType = ftInteger; break;
    case varLongWord:
    case varInt64: FDataType = ftLargeint; break;
    case varSingle:
    case varDouble: FDataType = ftFloat; break;
    case varCurrency: FDataType = ftBCD; break;
    case varDate: FDataType = ftDateTime; break;
    case varBoolean: FDataType = ftBoolean; break;
    default: FDataType = ftVariant; break;
  }
}

void TParameter::LoadFromStream(TStream* Stream, TFieldType DataType)
{
  AnsiString bytes;
  char buf[8192];
  for (;;) {
    Int64 n = Stream->Read(buf, sizeof buf);
    if (n <= 0) break;
    bytes.append(buf, static_cast<std::size_t>(n));
  }
  FDataType = DataType;
  FValue = Variant(std::move(bytes));
  FSize = static_cast<Integer>(FValue.AsString().size());
}

Integer TParameters::IndexOf(const AnsiString& Name) const
{
  for (std::size_t i = 0; i < FItems.size(); ++i)
    if (SysUtils::SameText(FItems[i]->GetName(), Name)) return static_cast<Integer>(i);
  return -1;
}

TParameter* TParameters::FindParam(const AnsiString& Name) const
{
  Integer i = IndexOf(Name);
  return i < 0 ? nullptr : FItems[static_cast<std::size_t>(i)].get();
}

TParameter* TParameters::ParamByName(const AnsiString& Name) const
{
  TParameter* p = FindParam(Name);
  if (!p) DB::DatabaseError(SysUtils::Format("Parameter '%s' not found", {Name}));
  return p;
}

TParameter* TParameters::CreateParameter(const AnsiString& Name, TFieldType DataType, const Variant& Value)
{
  TParameter* p = FindParam(Name);
  if (!p) {
    FItems.push_back(std::make_unique<TParameter>(Name));
    p = FItems.back().get();
  }
  p->SetDataType(DataType);
  p->SetValue(Value);
  if (DataType != ftUnknown) p->SetDataType(DataType);
  return p;
}

std::vector<AnsiString> TParameters::ParseSQL(const WideString& Sql, bool DoCreate)
{
  std::vector<AnsiString> names;
  for (const Params::TParamMarker& m : Params::ScanMarkers(Sql)) {
    AnsiString n = System::WideToAnsi(m.Name);
    bool seen = false;
    for (const AnsiString& x : names) seen = seen || SysUtils::SameText(x, n);
    if (!seen) names.push_back(n);
  }
  if (DoCreate) {
    std::vector<std::unique_ptr<TParameter>> next;
    for (const AnsiString& n : names) {
      std::unique_ptr<TParameter> p;
      for (auto& it : FItems)
        if (it && SysUtils::SameText(it->GetName(), n)) {
          p = std::move(it);
          break;
        }
      if (!p) p = std::make_unique<TParameter>(n);
      next.push_back(std::move(p));
    }
    FItems = std::move(next);
  }
  return names;
}

namespace Params {

std::vector<TParamMarker> ScanMarkers(const WideString& s)
{
  std::vector<TParamMarker> out;
  for (const SqlScanner::TToken& t : SqlScanner::Scan(s))
    if (t.Kind == SqlScanner::TTokenKind::Param) out.push_back({t.Pos, t.Len, s.substr(t.Pos + 1, t.Len - 1)});
  return out;
}

}  // namespace Params
