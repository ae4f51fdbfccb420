#include "core/PickLists.h"

#include "platform/db/ADODataSet.h"
#include "platform/db/Fields.h"
#include "platform/rtl/Variants.h"

TPickListSet::TPickListSet()
{
  Key = AddField(TIntegerField::StaticClass(), "Key", "", true, 0);
  Label = AddField(TWideStringField::StaticClass(), "Label", "", true, 50);
  List = AddField(TWideMemoField::StaticClass(), "List", "", true, 16);
}

void TPickListSet::Open(bool Force)
{
  if (Force || !GetDataSet()->GetActive()) OpenSql(u"select [Key], Label, List from options order by [Key]");
}

Integer TPickListSet::GetCount()
{
  Open(false);
  return GetDataSet()->GetRecordCount();
}

void TPickListSet::SetCount(Integer N)
{
  Open(false);
  if (GetDataSet()->GetRecordCount() >= N) return;
  TRecordSet& Scratch = *Database::ScratchSet;
  Scratch.OpenSql(u"select max([Key]) from options");
  Variant Max = Scratch.GetDataSet()->GetFields()[0]->GetValue();
  Scratch.GetDataSet()->Close();
  Integer Next = Max.IsNull() ? 0 : Max.AsInteger();
  while (GetDataSet()->GetRecordCount() < N) {
    ++Next;
    Database::GlobalDB->ExecSQL(u"insert into options([Key], List) values (:Key, :List)",
                                {Database::MakeParam("Key", Next), Database::MakeParam("List", Variants::Null())});
    GetDataSet()->Append();
    Key->SetAsInteger(Next);
    List->SetAsWideString(WideString());
    GetDataSet()->Post();
  }
}

PELTO_DEFINE_CLASS(TPickListSet)
PELTO_PUBLISH(TPickListSet, p)
{
  p.Property(
      "Count", [](TPickListSet* Set) { return Set->GetCount(); },
      [](TPickListSet* Set, Integer N) { Set->SetCount(N); });
}
