#include "report/engine/data/frxDataSet.h"

#include <algorithm>
#include <vector>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/StringUtils.h"
#include "report/engine/model/frxDataSets.h"
#include "report/engine/model/frxReport.h"
#include "report/engine/model/frxRes.h"

using SysUtils::SameText;

namespace {

// Every live data set, in creation order (not owned).
std::vector<TfrxDataSet*>& GlobalDataSets()
{
  static std::vector<TfrxDataSet*> list;
  return list;
}

}  // namespace

TfrxDialogComponent::TfrxDialogComponent(TComponent* AOwner) : TfrxReportComponent(AOwner)
{
  TfrxReportComponent::SetWidth(28);
  TfrxReportComponent::SetHeight(28);
}

void TfrxDialogComponent::SetWidth(Extended) { TfrxReportComponent::SetWidth(28); }
void TfrxDialogComponent::SetHeight(Extended) { TfrxReportComponent::SetHeight(28); }

TfrxDataSet::TfrxDataSet(TComponent* AOwner) : TfrxDialogComponent(AOwner) { GlobalDataSets().push_back(this); }

TfrxDataSet::~TfrxDataSet()
{
  auto& list = GlobalDataSets();
  list.erase(std::remove(list.begin(), list.end(), this), list.end());
}

void TfrxDataSet::SetName(const AnsiString& NewName)
{
  AnsiString old = GetName();
  TfrxDialogComponent::SetName(NewName);
  if ((FUserName.empty() || FUserName == old) && !SysUtils::Trim(NewName).empty()) FUserName = NewName;
}

void TfrxDataSet::SetUserName(const AnsiString& Value)
{
  if (SysUtils::Trim(Value).empty()) throw Exception(frxRes::Get("prInvProp"));
  FUserName = Value;
}

void TfrxDataSet::Open()
{
  if (OnOpen) OnOpen(this);
}

void TfrxDataSet::Close()
{
  if (OnClose) OnClose(this);
}

void TfrxDataSet::First()
{
  RecNo = 0;
  if (OnFirst) OnFirst(this);
}

void TfrxDataSet::Next()
{
  ++RecNo;
  if (!(RangeEnd == reCount && RecNo >= RangeEndCount) && OnNext) OnNext(this);
}

void TfrxDataSet::Prior()
{
  --RecNo;
  if (OnPrior) OnPrior(this);
}

bool TfrxDataSet::Eof()
{
  bool eof = RangeEnd == reCount && RecNo >= RangeEndCount;
  if (OnCheckEOF) OnCheckEOF(this, eof);
  return eof;
}

bool TfrxDataSet::HasField(const AnsiString& Field)
{
  TStringList list;
  GetFieldList(&list);
  for (Integer i = 0; i < list.GetCount(); ++i)
    if (SameText(list[i], Field)) return true;
  return false;
}

Variant TfrxUserDataSet::GetValue(const AnsiString& Field)
{
  Variant v = Variant::Null();
  if (OnGetValue) OnGetValue(Field, v);
  return v;
}

AnsiString TfrxUserDataSet::GetDisplayText(const AnsiString& Field)
{
  if (!OnGetValue) return AnsiString();
  return Variants::VarToStr(GetValue(Field));
}

namespace frxClass {

TfrxDataSet* FindDataSetByName(TfrxDataSet* Default, const AnsiString& Name, TfrxReport* Report)
{
  if (Name.empty()) return nullptr;
  if (!Report) return Default;
  for (TfrxDataSet* d : GlobalDataSets()) {
    if (!SameText(d->GetUserName(), Name)) continue;
    TComponent* owner = d->GetOwner();
    if (dynamic_cast<TfrxReport*>(owner) && owner != Report) continue;
    return d;
  }
  return Default;
}

void GetGlobalDataSetList(TStrings* List)
{
  List->Clear();
  for (TfrxDataSet* d : GlobalDataSets())
    if (!d->GetUserName().empty() && d->Enabled) List->AddObject(d->GetUserName(), d);
}

}  // namespace frxClass

PELTO_DEFINE_CLASS(TfrxDialogComponent)

PELTO_DEFINE_CLASS(TfrxDataSet)
PELTO_PUBLISH(TfrxDataSet, p)
{
  p.Property("Enabled", &ThisClass::Enabled, &ThisClass::Enabled).Default(true);
  p.Property("RangeBegin", &ThisClass::RangeBegin, &ThisClass::RangeBegin).Default(rbFirst);
  p.Property("RangeEnd", &ThisClass::RangeEnd, &ThisClass::RangeEnd).Default(reLast);
  p.Property("RangeEndCount", &ThisClass::RangeEndCount, &ThisClass::RangeEndCount).Default(0);
  p.Property("UserName", &ThisClass::GetUserName, &ThisClass::SetUserName);
}

PELTO_DEFINE_CLASS(TfrxUserDataSet)
PELTO_PUBLISH(TfrxUserDataSet, p) { p.Property("Fields", &ThisClass::GetFields, &ThisClass::SetFields); }
