#include "platform/stdctrls/dbctrls/DBCtrls.h"

#include "platform/classes/ClassRegistry.h"
#include "platform/db/Fields.h"
#include "platform/forms/controls/WinControl.h"
#include "platform/rtl/AnsiStrings.h"
#include "platform/stdctrls/StdCtrls.h"
#include "platform/stdctrls/dbctrls/DBCheckBox.h"
#include "platform/stdctrls/dbctrls/DBComboBox.h"
#include "platform/stdctrls/dbctrls/DBEdit.h"
#include "platform/stdctrls/dbctrls/FieldDataLink.h"
#include "platform/win/WinUser.h"

namespace DBCtrls {

void Initialize()
{
  static bool done = false;
  if (done) return;
  done = true;
  StdCtrls::Initialize();
  Classes::RegisterClasses({TDBEdit::StaticClass(), TDBComboBox::StaticClass(), TDBCheckBox::StaticClass()});
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

bool FilterKey(TFieldDataLink& Link, char& Key, bool& SkipTrail, const std::function<void()>& SelectAll)
{
  auto c = static_cast<unsigned char>(Key);
  if (SkipTrail) {
    SkipTrail = false;
    Key = 0;
    return false;
  }
  if (c == 27) {
    Link.Reset();
    SelectAll();
    Key = 0;
    return false;
  }
  bool refused = false;
  if (c >= 32 && !IsValidChar(Link.GetField(), Key)) {
    Windows::MessageBeep(0);
    refused = true;
  } else if (c == 8 || c == 22 || c == 24 || c >= 32) {
    refused = !Link.Edit();
  }
  if (!refused) return true;
  SkipTrail = System::IsLeadByte(Key);
  Key = 0;
  return false;
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
