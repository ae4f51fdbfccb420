#include "core/KeyValue.h"

#include "platform/db/ADODataSet.h"
#include "platform/db/Fields.h"

using Database::MakeParam;

TKeyValue2::TKeyValue2()
{
  KeyId = AddField(TIntegerField::StaticClass(), "KeyId", "", true, 0);
  Vint = AddField(TIntegerField::StaticClass(), "Vint", "", true, 0);
  Vstr = AddField(TWideMemoField::StaticClass(), "Vstr", "", true, 16);
  Vfloat = AddField(TFloatField::StaticClass(), "Vfloat", "", true, 0);
  Vbool = AddField(TBooleanField::StaticClass(), "Vbool", "", true, 0);
}

void TKeyValue2::Open() { OpenSql(u"select KeyId, Vint, Vstr, Vfloat, Vbool from keyvalue"); }

void TKeyValue2::LocateKey(Integer Key)
{
  if (!GetDataSet()->GetActive()) Open();
  if (GetDataSet()->Locate("KeyId", Key)) return;
  GetDataSet()->Close();
  Database::GlobalDB->ExecSQL(u"insert into keyvalue(KeyId) values (:KeyId)", {MakeParam("KeyId", Key)});
  Open();
  // Once only: a row that still can't be found must not loop.
  if (!GetDataSet()->Locate("KeyId", Key)) throw Exception("设置项丢失.");
}

bool TKeyValue2::WriteValues(Integer Key, const WideString& Str, bool Bool, double Float, Integer Int)
{
  TDBParameters P = {MakeParam("Vstr", Str), MakeParam("Vint", Int), MakeParam("Vfloat", Float),
                     MakeParam("Vbool", Bool), MakeParam("KeyId", Key)};
  if (Database::GlobalDB->ExecSQL(
          u"update keyvalue set Vstr=:Vstr, Vint=:Vint, Vfloat=:Vfloat, Vbool=:Vbool where KeyId=:KeyId", P) == 1)
    return true;
  return Database::GlobalDB->ExecSQL(
             u"insert into keyvalue(Vstr, Vint, Vfloat, Vbool, KeyId)values(:Vstr, :Vint, :Vfloat, :Vbool, :KeyId)",
             P) == 1;
}

void TKeyValue2::StoreValues(Integer Key, const WideString& Str, bool Bool, double Float, Integer Int)
{
  if (!WriteValues(Key, Str, Bool, Float, Int)) return;
  TADODataSet* D = GetDataSet();
  if (!D->GetActive() || KeyId->GetAsInteger() != Key || KeyId->IsNull()) {
    if (!D->GetActive() || !D->Locate("KeyId", Key)) return;
  }
  D->Edit();
  Vstr->SetAsWideString(Str);
  Vint->SetAsInteger(Int);
  Vfloat->SetAsFloat(Float);
  Vbool->SetAsBoolean(Bool);
  D->Post();
}

Integer TKeyValue2::GetInt(Integer Key)
{
  LocateKey(Key);
  return Vint->IsNull() ? 0 : Vint->GetAsInteger();
}

bool TKeyValue2::GetBool(Integer Key)
{
  LocateKey(Key);
  return Vbool->IsNull() ? false : Vbool->GetAsBoolean();
}

WideString TKeyValue2::GetStr(Integer Key)
{
  LocateKey(Key);
  return Vstr->IsNull() ? WideString() : Vstr->GetAsWideString();
}

void TKeyValue2::SetInt(Integer Key, Integer Value)
{
  LocateKey(Key);
  StoreValues(Key, WideString(), true, 0, Value);
}

void TKeyValue2::SetBool(Integer Key, bool Value)
{
  LocateKey(Key);
  StoreValues(Key, WideString(), Value, 0, 0);
}

void TKeyValue2::SetStr(Integer Key, const WideString& Value)
{
  LocateKey(Key);
  StoreValues(Key, Value, true, 0, 0);
}

PELTO_DEFINE_CLASS(TKeyValue2)
PELTO_PUBLISH(TKeyValue2, p)
{
  // Reading a switch may insert its row, so the getters are not const.
  auto Bool = [](Integer Key) { return [Key](TKeyValue2* Store) { return Store->GetBool(Key); }; };
  auto SetBool = [](Integer Key) { return [Key](TKeyValue2* Store, bool Value) { Store->SetBool(Key, Value); }; };
  p.Property("FeedbackPrompt", Bool(0), SetBool(0));
  p.Property("DailyTipPrompt", Bool(1), SetBool(1));
  p.Property("GetStartPrompt", Bool(2), SetBool(2));
}
