#include "platform/stdctrls/dbctrls/DBCheckBox.h"

#include "platform/db/Fields.h"
#include "platform/rtl/StringUtils.h"
#include "platform/stdctrls/dbctrls/DBCtrls.h"

namespace {

// The ";"-separated values of a list, trimmed (";" is never a trail byte).
std::vector<AnsiString> ValuesOf(const AnsiString& List)
{
  std::vector<AnsiString> out;
  std::size_t from = 0;
  while (from <= List.size()) {
    std::size_t end = List.find(';', from);
    if (end == AnsiString::npos) end = List.size();
    out.push_back(SysUtils::Trim(List.substr(from, end - from)));
    from = end + 1;
  }
  return out;
}

bool ValueMatch(const AnsiString& List, const AnsiString& Value)
{
  for (const AnsiString& v : ValuesOf(List))
    if (SysUtils::AnsiCompareText(v, Value) == 0) return true;
  return false;
}

}  // namespace

TDBCheckBox::TDBCheckBox(TComponent* AOwner)
    : TCustomCheckBox(AOwner),
      FDataLink(std::make_unique<TFieldDataLink>(
          this, [this](TObject* s) { DataChange(s); }, nullptr, [this](TObject* s) { UpdateData(s); }))
{
  ControlStyle.Include(csReplicatable);
  SetState(cbUnchecked);
}

void TDBCheckBox::SetValueChecked(const AnsiString& Value)
{
  FValueCheck = Value;
  DataChange(this);
}

void TDBCheckBox::SetValueUnchecked(const AnsiString& Value)
{
  FValueUncheck = Value;
  DataChange(this);
}

TCheckBoxState TDBCheckBox::GetFieldState() const
{
  TField* field = FDataLink->GetField();
  if (!field) return cbUnchecked;
  if (field->IsNull()) return cbGrayed;
  if (field->GetDataType() == ftBoolean) return field->GetAsBoolean() ? cbChecked : cbUnchecked;
  AnsiString text = field->GetText();
  if (ValueMatch(FValueCheck, text)) return cbChecked;
  if (ValueMatch(FValueUncheck, text)) return cbUnchecked;
  return cbGrayed;
}

void TDBCheckBox::DataChange(TObject* Sender) { SetState(GetFieldState()); }

void TDBCheckBox::UpdateData(TObject* Sender)
{
  TField* field = FDataLink->GetField();
  if (GetState() == cbGrayed)
    field->Clear();
  else if (field->GetDataType() == ftBoolean)
    field->SetAsBoolean(GetChecked());
  else
    field->SetText(ValuesOf(GetChecked() ? FValueCheck : FValueUncheck).front());
}

void TDBCheckBox::Toggle()
{
  if (!FDataLink->Edit()) return;
  TCustomCheckBox::Toggle();
  FDataLink->Modified();
}

void TDBCheckBox::CMExit(TMessage& Message)
{
  DBCtrls::UpdateRecordOnExit(this, *FDataLink, [] {});
  TCustomCheckBox::CMExit(Message);
}

void TDBCheckBox::WndProc(TMessage& Message)
{
  if (FDataLink->AnswerGetDataLink(Message)) return;
  TCustomCheckBox::WndProc(Message);
}
