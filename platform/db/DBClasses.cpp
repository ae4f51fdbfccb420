#include "platform/db/DBClasses.h"

#include <initializer_list>

#include "platform/classes/ClassRegistry.h"
#include "platform/db/ADOCommand.h"
#include "platform/db/ADOConnection.h"
#include "platform/db/ADODataSet.h"
#include "platform/db/DataSource.h"
#include "platform/db/Fields.h"

namespace DBClasses {

namespace {
bool Registered = false;

std::initializer_list<TClass> Classes()
{
  static const std::initializer_list<TClass> list = {
      TStringField::StaticClass(),   TWideStringField::StaticClass(), TSmallintField::StaticClass(),
      TIntegerField::StaticClass(),  TWordField::StaticClass(),       TAutoIncField::StaticClass(),
      TLargeintField::StaticClass(), TFloatField::StaticClass(),      TCurrencyField::StaticClass(),
      TBCDField::StaticClass(),      TBooleanField::StaticClass(),    TDateField::StaticClass(),
      TTimeField::StaticClass(),     TDateTimeField::StaticClass(),   TBlobField::StaticClass(),
      TMemoField::StaticClass(),     TWideMemoField::StaticClass(),   TGraphicField::StaticClass(),
      TVariantField::StaticClass(),  TDataSource::StaticClass(),      TADOConnection::StaticClass(),
      TADOQuery::StaticClass(),      TADODataSet::StaticClass(),      TADOCommand::StaticClass()};
  return list;
}
}  // namespace

void Initialize()
{
  if (Registered) return;
  Classes::RegisterClasses(Classes());
  Registered = true;
}

void Finalize()
{
  if (!Registered) return;
  for (TClass c : Classes()) Classes::UnRegisterClass(c);
  Registered = false;
}

}  // namespace DBClasses
