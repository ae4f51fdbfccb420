#include "controls/data/db/cxDB.h"

#include "platform/db/DataSet.h"
#include "platform/db/Fields.h"
#include "platform/rtl/StringList.h"
#include "platform/rtl/StringUtils.h"

bool TcxDBAdapterList::Find(TClass ADataSetClass, int& AIndex)
{
  for (int i = Count() - 1; i >= 0; --i) {
    TClass c = Items(i)->GetDataSetClass();
    if (ADataSetClass == c || (ADataSetClass && ADataSetClass->InheritsFrom(c))) {
      AIndex = i;
      return true;
    }
    if (c && c->InheritsFrom(ADataSetClass)) AIndex = i;
  }
  return false;
}

void TcxDBAdapterList::Register(TClass ADataSetClass, TcxDBAdapterItemClass AAdapterClass)
{
  int index = -1;
  std::unique_ptr<TcxDBAdapterItem> item = AAdapterClass->Create(ADataSetClass);
  if (Find(ADataSetClass, index))
    ++index;
  else if (index == -1)
    index = Count();
  FItems.insert(FItems.begin() + index, std::move(item));
}

void TcxDBAdapterList::Unregister(TClass ADataSetClass, TcxDBAdapterItemClass AAdapterClass)
{
  for (int i = Count() - 1; i >= 0; --i) {
    TcxDBAdapterItem* item = Items(i);
    if (item->GetDataSetClass() == ADataSetClass && std::type_index(typeid(*item)) == AAdapterClass->Type)
      FItems.erase(FItems.begin() + i);
  }
}

namespace cxDB {

namespace {

bool IsIdentifier(const AnsiString& S)
{
  if (S.empty()) return false;
  auto letter = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; };
  if (!letter(S[0])) return false;
  for (char c : S)
    if (!letter(c) && !(c >= '0' && c <= '9')) return false;
  return true;
}

// The names of a ';'-separated list, trimmed, empty ones included; none for an empty text.
std::vector<AnsiString> SplitNames(const AnsiString& S)
{
  std::vector<AnsiString> names;
  std::size_t pos = 0;
  while (pos < S.size()) {
    std::size_t end = S.find(';', pos);
    if (end == AnsiString::npos) end = S.size();
    names.push_back(SysUtils::Trim(S.substr(pos, end - pos)));
    pos = end + 1;
  }
  return names;
}

bool IsBinaryOrObjectType(TFieldType T)
{
  return T == ftBytes || T == ftVarBytes || (T >= ftBlob && T <= ftCursor) || (T >= ftADT && T <= ftDataSet);
}

}  // namespace

void BracketFieldName(AnsiString& AName)
{
  if (!IsIdentifier(AName)) AName = "[" + AName + "]";
}

void GetFilterFieldName(const TField* AField, bool AIgnoreOrigin, AnsiString& AName)
{
  AName.clear();
  if (!AField) return;
  if (!AIgnoreOrigin) AName = AField->GetOrigin();
  if (AName.empty()) {
    AName = AField->GetFieldName();
    BracketFieldName(AName);
  }
}

bool SameFieldName(const AnsiString& A, const AnsiString& B)
{
  return SysUtils::AnsiUpperCase(A) == SysUtils::AnsiUpperCase(B);
}

bool IsMultipleFieldNames(const AnsiString& AFieldNames) { return SplitNames(AFieldNames).size() > 1; }

int GetFieldNamesCount(const AnsiString& AFieldNames) { return static_cast<int>(SplitNames(AFieldNames).size()); }

void GetFieldNames(const AnsiString& AFieldNames, TStrings* AList)
{
  AList->Clear();
  for (const AnsiString& name : SplitNames(AFieldNames)) AList->Add(name);
}

void GetFieldValues(TDataSet*, const std::vector<TField*>& AFields, Variant& AValue)
{
  if (AFields.empty()) {
    AValue = Variant::Null();
  } else if (AFields.size() == 1) {
    AValue = AFields[0]->GetValue();
  } else {
    AValue = Variants::VarArrayCreate({0, static_cast<int>(AFields.size()) - 1}, varVariant);
    for (std::size_t i = 0; i < AFields.size(); ++i)
      Variants::VarArrayPut(AValue, AFields[i]->GetValue(), {static_cast<int>(i)});
  }
}

void SetFieldValues(TDataSet*, const std::vector<TField*>& AFields, const Variant& AValue)
{
  if (AFields.empty()) return;
  if (AFields.size() == 1) {
    AFields[0]->SetValue(AValue);
    return;
  }
  const int low = Variants::VarArrayLowBound(AValue, 1);
  for (std::size_t i = 0; i < AFields.size(); ++i)
    AFields[i]->SetValue(Variants::VarArrayGet(AValue, {low + static_cast<int>(i)}));
}

bool CanModifyField(const TField* AField, bool AAnyType)
{
  if (!AField->CanModify()) return false;
  if (AAnyType) return true;
  if (IsBinaryOrObjectType(AField->GetDataType())) return static_cast<bool>(AField->OnSetText);
  return true;
}

bool IsFieldFormatted(const TField* AField, bool ADefault)
{
  if (AField->OnGetText || !AField->GetEditMask().empty()) return true;
  const TFieldType t = AField->GetDataType();
  if (IsBinaryOrObjectType(t) || t == ftBoolean) return ADefault;
  if (AField->GetFieldKind() == fkAggregate) {
    if (!AField->GetDisplayFormat().empty()) return true;
    if (auto f = dynamic_cast<const TFloatField*>(AField)) return f->GetCurrency();
    if (auto b = dynamic_cast<const TBCDField*>(AField)) return b->GetCurrency();
    return false;
  }
  if (dynamic_cast<const TNumericField*>(AField)) {
    if (!AField->GetDisplayFormat().empty() || !AField->GetEditFormat().empty()) return true;
    if (auto f = dynamic_cast<const TFloatField*>(AField)) return f->GetCurrency();
    if (auto b = dynamic_cast<const TBCDField*>(AField)) return b->GetCurrency();
    return false;
  }
  if (dynamic_cast<const TDateTimeField*>(AField) || t == ftTimeStamp) return !AField->GetDisplayFormat().empty();
  return false;
}

bool CanModifyLookupField(const TField* AField)
{
  TDataSet* ds = AField->GetDataSet();
  if (!ds) return false;
  int found = 0;
  for (const AnsiString& name : SplitNames(AField->GetKeyFields())) {
    TField* key = ds->FindField(name);
    if (!key) continue;
    ++found;
    if (!CanModifyField(key, false)) return false;
  }
  return found > 0;
}

}  // namespace cxDB
