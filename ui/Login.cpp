#include "ui/Login.h"

#include "core/Operator.h"
#include "core/forms/FormParts.h"
#include "core/qxProj.h"
#include "platform/db/ADODataSet.h"
#include "platform/db/Fields.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FileUtils.h"
#include "platform/rtl/IniFiles.h"
#include "platform/stdctrls/buttons/Button.h"
#include "platform/stdctrls/edits/CustomEdit.h"
#include "platform/stdctrls/lists/ComboBox.h"

namespace Login {
namespace {

AnsiString IniName(const AnsiString& ProgramDir)
{
  return SysUtils::IncludeTrailingPathDelimiter(ProgramDir.empty() ? TProject::GetProgramDir() : ProgramDir) +
         "cfg.ini";
}

}  // namespace

AnsiString ReadLastLoginId(const AnsiString& ProgramDir)
{
  try {
    TIniFile Ini(IniName(ProgramDir));
    return Ini.ReadString("Login", "LastLoginId", "");
  } catch (const Exception&) {
    return AnsiString();
  }
}

void WriteLastLoginId(const AnsiString& LoginId, const AnsiString& ProgramDir)
{
  TIniFile Ini(IniName(ProgramDir));
  Ini.WriteString("Login", "LastLoginId", LoginId);
}

}  // namespace Login

TLoginFrm::TLoginFrm(TComponent* AOwner, const AnsiString& ProgramDir)
    : TADlgFrm(AOwner), FProgramDir(ProgramDir), FScratch(std::make_unique<TOperator>())
{
  SetName("LoginFrm");
  SetCaption("登陆");
  SetPosition(poScreenCenter);
  SetBorderIcons(TBorderIcons{});
  SetClientSize(340, 180);
  FormParts::Label(this, "请输入您的用户名和密码:", 24, 16);
  FormParts::Label(this, "用户名(&U)", 40, 52);
  edtLoginId1 = new TComboBox(this);
  edtLoginId1->SetName("edtLoginId1");
  FormParts::Place(edtLoginId1, this, 120, 48, 180, 20);
  FormParts::Label(this, "密码(&P)", 40, 86);
  edtPassword1 = new TEdit(this);
  edtPassword1->SetName("edtPassword1");
  edtPassword1->SetPasswordChar('*');
  FormParts::Place(edtPassword1, this, 120, 82, 180, 21);
  edtPassword1->OnKeyDown = [this](TObject* S, Word& K, TShiftState Sh) { edtPassword1KeyDown(S, K, Sh); };

  TOperatorSet Operators;
  Operators.Open();
  TADODataSet* D = Operators.GetDataSet();
  AnsiString Ids;
  for (D->First(); !D->GetEof(); D->Next()) {
    if (!Ids.empty()) Ids += "\r\n";
    Ids += Operators.GetUserIdField()->GetAsString();
  }
  edtLoginId1->GetItems()->SetText(Ids);
  AnsiString Last = Login::ReadLastLoginId(FProgramDir);
  edtLoginId1->SetText(Last.empty() ? AnsiString("sa") : Last);
  SetActiveControl(edtPassword1);
}

TLoginFrm::~TLoginFrm() = default;

bool TLoginFrm::CloseQuery()
{
  bool CanClose = TADlgFrm::CloseQuery();
  if (!CanClose || GetModalResult() != mrOk) return CanClose;
  AnsiString Id = edtLoginId1->GetText();
  FScratch = std::make_unique<TOperator>();
  FScratch->Load(Id);
  if (FScratch->CheckPassword(edtPassword1->GetText())) {
    qxProj::CurrentOperator->Load(Id);
    try {
      Login::WriteLastLoginId(Id, FProgramDir);
    } catch (const Exception&) {
      // A read-only folder costs only the proposal at the next start.
    }
    return true;
  }
  if (GetVisible() && edtPassword1->CanFocus()) edtPassword1->SetFocus();
  edtPassword1->SelectAll();
  return false;
}

void TLoginFrm::edtPassword1KeyDown(TObject*, Word& Key, TShiftState)
{
  if (Key == VK_RETURN) {
    Key = 0;
    OkBtn1->Click();
  }
}
