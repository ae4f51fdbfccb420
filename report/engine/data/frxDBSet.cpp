#include "report/engine/data/frxDBSet.h"

#include "platform/classes/ClassRegistry.h"
#include "platform/db/Fields.h"
#include "platform/rtl/FormatText.h"
#include "platform/rtl/Streams.h"
#include "report/engine/model/frxReport.h"
#include "report/engine/model/frxRes.h"
#include "platform/rtl/StringUtils.h"

using SysUtils::SameText;

TfrxCustomDBDataSet::TfrxCustomDBDataSet(TComponent* AOwner)
    : TfrxDataSet(AOwner), FFieldMap(std::make_unique<TStringList>()), FFieldAliases(std::make_unique<TStringList>())
{
  FFieldMap->SetSorted(true);
  FFieldMap->SetDuplicates(dupIgnore);
}

AnsiString TfrxCustomDBDataSet::ConvertAlias(const AnsiString& Name) const
{
  for (Integer i = 0; i < FFieldAliases->GetCount(); ++i)
    if (SameText(FFieldAliases->GetValueFromIndex(i), Name)) return FFieldAliases->GetNames(i);
  return Name;
}

Integer TfrxCustomDBDataSet::FieldsCount()
{
  TStringList list;
  GetFieldList(&list);
  return list.GetCount();
}

TfrxDBDataset::TfrxDBDataset(TComponent* AOwner) : TfrxCustomDBDataSet(AOwner) {}

TfrxDBDataset::~TfrxDBDataset() { Unhook(); }

bool TfrxDBDataset::StoresSource(const TObject* Self)
{
  return !dynamic_cast<TfrxReport*>(static_cast<const TfrxDBDataset*>(Self)->GetOwner());
}

void TfrxDBDataset::SetDataSet(TDataSet* Value)
{
  FDataSet = Value;
  if (Value) {
    FDataSource = nullptr;
    Value->FreeNotification(this);
  }
  UpdateSource();
}

void TfrxDBDataset::SetDataSource(TDataSource* Value)
{
  FDataSource = Value;
  if (Value) {
    FDataSet = nullptr;
    Value->FreeNotification(this);
  }
  UpdateSource();
}

void TfrxDBDataset::UpdateSource()
{
  FSourceDataSet = FDataSet ? FDataSet : FDataSource ? FDataSource->GetDataSet() : nullptr;
}

void TfrxDBDataset::Notification(TComponent* AComponent, TOperation Operation)
{
  TfrxCustomDBDataSet::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FHooked) {
    // The source is going: nothing to put back, and nothing of it to keep.
    FHooked = nullptr;
    FSaveOpenEvent = nullptr;
    FBookmark.clear();
    FIsOpened = false;
    for (Integer i = 0; i < FFieldMap->GetCount(); ++i) FFieldMap->SetObjects(i, nullptr);
  }
  if (AComponent == FDataSet) FDataSet = nullptr;
  if (AComponent == FDataSource) FDataSource = nullptr;
  if (AComponent == FSourceDataSet) FSourceDataSet = nullptr;
}

void TfrxDBDataset::Unhook()
{
  if (FHooked) {
    FHooked->AfterOpen = FSaveOpenEvent;
    FHooked = nullptr;
  }
  FSaveOpenEvent = nullptr;
}

void TfrxDBDataset::Initialize()
{
  UpdateSource();
  if (!FSourceDataSet) throw Exception(SysUtils::Format(frxRes::Get("dbNotConn"), {GetName()}));
  Unhook();
  FHooked = FSourceDataSet;
  FHooked->FreeNotification(this);
  FSaveOpenEvent = FHooked->AfterOpen;
  FHooked->AfterOpen = [this](TDataSet* DataSet) {
    FillFieldMap(true);
    if (FSaveOpenEvent) FSaveOpenEvent(DataSet);
  };
  FEndReached = false;
  FIsOpened = false;
}

void TfrxDBDataset::Finalize()
{
  if (!FSourceDataSet) return;
  if (!FBookmark.empty()) {
    if (FSourceDataSet->GetActive() && FSourceDataSet->BookmarkValid(FBookmark))
      FSourceDataSet->GotoBookmark(FBookmark);
    FBookmark.clear();
  }
  if (CloseDataSource) Close();
  Unhook();
}

void TfrxDBDataset::FillFieldMap(bool Strict)
{
  TStringList names;
  GetFieldList(&names);
  FFieldMap->Clear();
  for (Integer i = 0; i < names.GetCount(); ++i) {
    AnsiString name = ConvertAlias(names[i]);
    TField* f = Strict ? FSourceDataSet->FieldByName(name) : FSourceDataSet->FindField(name);
    FFieldMap->AddObject(names[i], f);
  }
}

void TfrxDBDataset::Open()
{
  if (FIsOpened) return;
  UpdateSource();
  if (!FSourceDataSet) throw Exception(SysUtils::Format(frxRes::Get("dbNotConn"), {GetName()}));
  FSourceDataSet->Open();
  FIsOpened = true;
  if (RangeBegin == rbCurrent || RangeEnd == reCurrent) FBookmark = FSourceDataSet->GetBookmark();
  FillFieldMap(false);
  TfrxCustomDBDataSet::Open();
}

void TfrxDBDataset::Close()
{
  TfrxCustomDBDataSet::Close();
  FBookmark.clear();
  FIsOpened = false;
  if (FSourceDataSet) FSourceDataSet->Close();
}

void TfrxDBDataset::First()
{
  OpenIfNeeded();
  if (RangeBegin == rbCurrent && FSourceDataSet->BookmarkValid(FBookmark))
    FSourceDataSet->GotoBookmark(FBookmark);
  else
    FSourceDataSet->First();
  FEndReached = false;
  TfrxCustomDBDataSet::First();
}

void TfrxDBDataset::Next()
{
  OpenIfNeeded();
  FEndReached = false;
  if (RangeEnd == reCurrent && FSourceDataSet->CompareBookmarks(FSourceDataSet->GetBookmark(), FBookmark) == 0) {
    FEndReached = true;
    return;
  }
  FSourceDataSet->Next();
  TfrxCustomDBDataSet::Next();
}

void TfrxDBDataset::Prior()
{
  OpenIfNeeded();
  FSourceDataSet->Prior();
  TfrxCustomDBDataSet::Prior();
}

bool TfrxDBDataset::Eof()
{
  OpenIfNeeded();
  bool baseEof = TfrxCustomDBDataSet::Eof();
  return baseEof || FSourceDataSet->GetEof() || FEndReached;
}

void TfrxDBDataset::GetFieldList(TStrings* List)
{
  List->Clear();
  if (GetFieldAliases()->GetCount() > 0) {
    TStringList* aliases = GetFieldAliases();
    for (Integer i = 0; i < aliases->GetCount(); ++i) {
      AnsiString name = aliases->GetNames(i);
      if (!name.empty() && name[0] == '-') continue;
      List->Add(aliases->GetValueFromIndex(i));
    }
    return;
  }
  TDataSet* src = FSourceDataSet ? FSourceDataSet : (UpdateSource(), FSourceDataSet);
  if (!src) return;
  const TFields& fields = src->GetFields();
  for (Integer i = 0; i < fields.GetCount(); ++i) List->Add(fields[i]->GetFieldName());
}

AnsiString TfrxDBDataset::Binding(const AnsiString& Field) const { return GetUserName() + ".\"" + Field + "\""; }

void TfrxDBDataset::AddError(const AnsiString& Text)
{
  if (ReportRef) ReportRef->GetErrors()->Add(ReportRef->CurObject + ": " + Text);
}

TField* TfrxDBDataset::MappedField(const AnsiString& Field, bool& Known)
{
  Integer i = FFieldMap->IndexOf(Field);
  Known = i >= 0;
  return Known ? static_cast<TField*>(FFieldMap->GetObjects(i)) : nullptr;
}

Variant TfrxDBDataset::GetValue(const AnsiString& Field)
{
  OpenIfNeeded();
  bool known;
  TField* f = MappedField(Field, known);
  // An alias naming a field the source lacks maps to nothing: treated as unknown, not read.
  if (!f) {
    AddError(frxRes::Get("dbFldNotFound") + " " + Binding(Field));
    return Variant::Null();
  }
  return f->GetValue();
}

AnsiString TfrxDBDataset::GetDisplayText(const AnsiString& Field)
{
  OpenIfNeeded();
  if (!FSourceDataSet->GetActive()) return Binding(Field);
  TField* f = nullptr;
  if (FFieldMap->GetCount() == 0) {
    f = FSourceDataSet->FindField(Field);
  } else {
    bool known;
    f = MappedField(Field, known);
  }
  if (!f) {
    AnsiString text = frxRes::Get("dbFldNotFound") + " " + Binding(Field);
    AddError(text);
    return text;
  }
  return f->GetDisplayText();
}

Integer TfrxDBDataset::GetDisplayWidth(const AnsiString& Field)
{
  UpdateSource();
  if (!FSourceDataSet) return 10;
  AnsiString name = ConvertAlias(Field);
  if (TField* f = FSourceDataSet->FindField(name)) return f->GetDisplayWidth();
  if (TFieldDef* d = FSourceDataSet->GetFieldDefs().FindDef(name)) {
    switch (d->GetDataType()) {
      case ftString:
      case ftFixedChar:
      case ftWideString:
      case ftFixedWideChar: return d->GetSize();
      case ftDateTime: return 20;
      case ftLargeint: return 15;
      default: break;
    }
  }
  return 10;
}

TfrxFieldType TfrxDBDataset::GetFieldType(const AnsiString& Field)
{
  UpdateSource();
  TField* f = FSourceDataSet ? FSourceDataSet->FindField(ConvertAlias(Field)) : nullptr;
  if (dynamic_cast<TStringField*>(f)) return fftString;
  if (dynamic_cast<TBooleanField*>(f)) return fftBoolean;
  return fftNumeric;
}

bool TfrxDBDataset::IsBlobField(const AnsiString& Field)
{
  OpenIfNeeded();
  bool known;
  TField* f = MappedField(Field, known);
  return f && f->IsBlob();
}

void TfrxDBDataset::AssignBlobTo(const AnsiString& Field, TObject* Target)
{
  OpenIfNeeded();
  bool known;
  TField* f = MappedField(Field, known);
  if (!f || !Target) return;
  if (auto* stream = dynamic_cast<TStream*>(Target)) {
    if (auto* blob = dynamic_cast<TBlobField*>(f))
      blob->SaveToStream(stream);
    else {
      AnsiString s = f->GetAsString();
      stream->Write(s.data(), static_cast<Int64>(s.size()));
    }
    stream->SetPosition(0);
  } else if (auto* strings = dynamic_cast<TStrings*>(Target)) {
    strings->SetText(f->GetAsString());
  } else if (auto* persistent = dynamic_cast<TPersistent*>(Target)) {
    persistent->Assign(f);
  }
}

namespace frxDBSet {

void Initialize() { Classes::RegisterClasses({TfrxUserDataSet::StaticClass(), TfrxDBDataset::StaticClass()}); }

}  // namespace frxDBSet

PELTO_DEFINE_CLASS(TfrxCustomDBDataSet)
PELTO_PUBLISH(TfrxCustomDBDataSet, p)
{
  p.Property("CloseDataSource", &ThisClass::CloseDataSource, &ThisClass::CloseDataSource).Default(false);
  p.Property("FieldAliases", &ThisClass::GetFieldAliases, &ThisClass::SetFieldAliases);
  p.Property("OpenDataSource", &ThisClass::OpenDataSource, &ThisClass::OpenDataSource).Default(true);
}

PELTO_DEFINE_CLASS(TfrxDBDataset)
PELTO_PUBLISH(TfrxDBDataset, p)
{
  p.Property("DataSet", &ThisClass::GetDataSet, &ThisClass::SetDataSet).StoredWhen(&ThisClass::StoresSource);
  p.Property("DataSource", &ThisClass::GetDataSource, &ThisClass::SetDataSource).StoredWhen(&ThisClass::StoresSource);
}
