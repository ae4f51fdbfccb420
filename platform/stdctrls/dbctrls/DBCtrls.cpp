#include "platform/stdctrls/dbctrls/DBCtrls.h"

#include "platform/classes/ClassRegistry.h"
#include "platform/db/Fields.h"
#include "platform/forms/controls/WinControl.h"
#include "platform/stdctrls/StdCtrls.h"
#include "platform/stdctrls/dbctrls/DBCheckBox.h"
#include "platform/stdctrls/dbctrls/DBComboBox.h"
#include "platform/stdctrls/dbctrls/DBEdit.h"
#include "platform/stdctrls/dbctrls/FieldDataLink.h"

namespace DBCtrls {

void Initialize()
{
  static bool done = false;
  if (done) return;
  done = true;
  StdCtrls::Initialize();
  Classes::RegisterClasses({TDBEdit::StaticClass(), TDBComboBox::StaticClass(), TDBCheckBox::StaticClass()});
}

void SetDataSource(TComponent* Control, TFieldDataLink& Link, TDataSource* Value)
{
  if (Link.GetDataSource() == Value) return;
  if (Link.GetDataSource()) Link.GetDataSource()->RemoveFreeNotification(Control);
  Link.SetDataSource(Value);
  if (Value) Value->FreeNotification(Control);
}

bool IsValidChar(const TField* Field, char Key)
{
  if (!Field) return true;
  auto c = static_cast<unsigned char>(Key);
  bool digit = c >= '0' && c <= '9';
  switch (Field->GetDataType()) {
    case ftSmallint:
    case ftInteger:
    case ftWord:
    case ftAutoInc:
    case ftLargeint: return digit || c == '+' || c == '-';
    case ftFloat:
    case ftCurrency:
    case ftBCD:
    case ftFMTBcd: return digit || c == '+' || c == '-' || c == '.' || c == 'e' || c == 'E';
    default: return true;
  }
}

void UpdateRecordOnExit(TWinControl* Control, TFieldDataLink& Link, const std::function<void()>& SelectAll)
{
  try {
    Link.UpdateRecord();
  } catch (...) {
    SelectAll();
    if (Control->CanFocus()) Control->SetFocus();
    throw;
  }
}

}  // namespace DBCtrls
