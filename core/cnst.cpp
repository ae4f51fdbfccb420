#include "core/cnst.h"

#include "core/KeyValue.h"
#include "core/qxProj.h"
#include "platform/rtl/AnsiStrings.h"

namespace cnst {

AnsiString HtCaptions[HtCaptionCount];
AnsiString TbCaptions[TbCaptionCount];

void LoadOptions()
{
  TKeyValue2& Store = *qxProj::KeyValues;
  for (int I = 0; I < HtCaptionCount; ++I) HtCaptions[I] = System::WideToAnsi(Store.GetStr(1001 + I));
  for (int I = 0; I < TbCaptionCount; ++I) TbCaptions[I] = System::WideToAnsi(Store.GetStr(1015 + I));
  qxProj::Decimals = Store.GetInt(102);
  qxProj::UniqueHtCode = Store.GetBool(103);
}

AnsiString ColumnLabel(const AnsiString& Caption, const char* Column)
{
  return Caption.empty() ? AnsiString(Column) : Caption;
}

void Finalize()
{
  for (AnsiString& S : HtCaptions) S.clear();
  for (AnsiString& S : TbCaptions) S.clear();
}

}  // namespace cnst
