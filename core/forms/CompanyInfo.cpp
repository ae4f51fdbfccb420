#include "core/forms/CompanyInfo.h"

#include "core/Company.h"
#include "core/Operator.h"
#include "core/PasswordHash.h"
#include "core/forms/FormParts.h"
#include "core/qxLib.h"
#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/Exceptions.h"
#include "platform/stdctrls/buttons/Button.h"
#include "platform/stdctrls/edits/CustomEdit.h"
#include "platform/stdctrls/edits/Memo.h"

namespace {

TEdit* LabelledEdit(TWinControl* Form, const char* Caption, const char* Name, int X, int Y, int W)
{
  FormParts::Label(Form, Caption, X, Y + 4);
  auto* e = new TEdit(Form);
  e->SetName(Name);
  FormParts::Place(e, Form, X + 76, Y, W, 21);
  return e;
}

}  // namespace

// ---- TCompanyInfoFrm -------------------------------------------------------------------------

TCompanyInfoFrm::TCompanyInfoFrm(TComponent* AOwner) : TADlgFrm(AOwner)
{
  SetName("CompanyInfoFrm");
  SetCaption("公司信息");
  SetClientSize(602, 432);
  EdtCompany1 = LabelledEdit(this, "企业名称", "EdtCompany1", 16, 16, 490);
  EdtLawMan1 = LabelledEdit(this, "负责人", "EdtLawMan1", 16, 46, 190);
  EdtTel1 = LabelledEdit(this, "联系电话", "EdtTel1", 316, 46, 190);
  EdtAddress1 = LabelledEdit(this, "地址", "EdtAddress1", 16, 76, 490);
  edtZip1 = LabelledEdit(this, "邮编", "edtZip1", 16, 106, 190);
  EdtFax1 = LabelledEdit(this, "传真号码", "EdtFax1", 316, 106, 190);
  FormParts::Label(this, "公司简介", 16, 140);
  MemIntrol1 = new TMemo(this);
  MemIntrol1->SetName("MemIntrol1");
  MemIntrol1->SetScrollBars(ssVertical);
  FormParts::Place(MemIntrol1, this, 92, 136, 490, 236);
  SetActiveControl(EdtCompany1);
}

AnsiString TCompanyInfoFrm::GetCompanyName() const { return EdtCompany1->GetText(); }
void TCompanyInfoFrm::SetCompanyName(const AnsiString& V) { EdtCompany1->SetText(V); }
AnsiString TCompanyInfoFrm::GetLawman() const { return EdtLawMan1->GetText(); }
void TCompanyInfoFrm::SetLawman(const AnsiString& V) { EdtLawMan1->SetText(V); }
AnsiString TCompanyInfoFrm::GetTel() const { return EdtTel1->GetText(); }
void TCompanyInfoFrm::SetTel(const AnsiString& V) { EdtTel1->SetText(V); }
AnsiString TCompanyInfoFrm::GetAddress() const { return EdtAddress1->GetText(); }
void TCompanyInfoFrm::SetAddress(const AnsiString& V) { EdtAddress1->SetText(V); }
AnsiString TCompanyInfoFrm::GetZip() const { return edtZip1->GetText(); }
void TCompanyInfoFrm::SetZip(const AnsiString& V) { edtZip1->SetText(V); }
AnsiString TCompanyInfoFrm::GetFax() const { return EdtFax1->GetText(); }
void TCompanyInfoFrm::SetFax(const AnsiString& V) { EdtFax1->SetText(V); }
WideString TCompanyInfoFrm::GetProfile() const { return System::AnsiToWide(MemIntrol1->GetText()); }
void TCompanyInfoFrm::SetProfile(const WideString& V) { MemIntrol1->SetText(System::WideToAnsi(V)); }

void TCompany::Edit(bool ReadOnly)
{
  std::unique_ptr<TCompanyInfoFrm> Dialog = std::make_unique<TCompanyInfoFrm>(nullptr);
  Dialog->OkBtn1->SetEnabled(!ReadOnly);
  Dialog->SetCompanyName(CompanyName);
  Dialog->SetLawman(Manager);
  Dialog->SetTel(Tel);
  Dialog->SetFax(Fax);
  Dialog->SetAddress(Address);
  Dialog->SetZip(Zip);
  Dialog->SetProfile(Profile);
  for (;;) {
    if (Dialog->ShowModal() != mrOk) return;
    try {
      CompanyName = Dialog->GetCompanyName();
      Manager = Dialog->GetLawman();
      Tel = Dialog->GetTel();
      Fax = Dialog->GetFax();
      Address = Dialog->GetAddress();
      Zip = Dialog->GetZip();
      Profile = Dialog->GetProfile();
      Save();
      return;
    } catch (const EAbort&) {
      Load();
    } catch (const Exception& E) {
      qxLib::ShowInfo(E.Message());
      // The object must not keep what the database refused; the dialog keeps what was typed.
      Load();
    }
  }
}

// ---- TPasswordChangerFrm ---------------------------------------------------------------------

TPasswordChangerFrm::TPasswordChangerFrm(TComponent* AOwner) : TADlgFrm(AOwner)
{
  SetName("PasswordChangerFrm");
  SetCaption("更改密码");
  SetClientSize(340, 200);
  edtUserId1 = LabelledEdit(this, "当前用户", "edtUserId1", 24, 16, 200);
  edtUserId1->SetEnabled(false);
  edtUserId1->SetParentColor(true);
  edtPassword1 = LabelledEdit(this, "当前密码", "edtPassword1", 24, 46, 200);
  edtNewPassword1 = LabelledEdit(this, "新密码", "edtNewPassword1", 24, 76, 200);
  edtNewPassword2 = LabelledEdit(this, "新密码验证", "edtNewPassword2", 24, 106, 200);
  for (TEdit* e : {edtPassword1, edtNewPassword1, edtNewPassword2}) e->SetPasswordChar('*');
  SetActiveControl(edtPassword1);
}

AnsiString TPasswordChangerFrm::GetUserId() const { return edtUserId1->GetText(); }
void TPasswordChangerFrm::SetUserId(const AnsiString& V) { edtUserId1->SetText(V); }
AnsiString TPasswordChangerFrm::GetPrePasswd() const { return edtPassword1->GetText(); }
AnsiString TPasswordChangerFrm::GetNewPasswd() const { return edtNewPassword1->GetText(); }

bool TPasswordChangerFrm::CloseQuery()
{
  if (GetModalResult() == mrOk && edtNewPassword1->GetText() != edtNewPassword2->GetText()) {
    qxLib::ShowInfo("两次输入的新密码不一样,请确认并重新输入.");
    edtNewPassword1->SetText("");
    edtNewPassword2->SetText("");
    if (GetVisible() && edtNewPassword1->CanFocus()) edtNewPassword1->SetFocus();
    return false;
  }
  return TADlgFrm::CloseQuery();
}

void TOperator::ChangePassword()
{
  std::unique_ptr<TPasswordChangerFrm> Dialog = std::make_unique<TPasswordChangerFrm>(nullptr);
  Dialog->SetUserId(LoginId);
  for (;;) {
    if (Dialog->ShowModal() != mrOk) return;
    try {
      // The stored password is a salted hash: the typed one is checked against it.
      if (!PasswordHash::Verify(Password, Dialog->GetPrePasswd())) {
        qxLib::ShowInfo("当前密码验证失败,请确认并重新输入.");
        continue;
      }
      if (!SavePassword(Dialog->GetNewPasswd())) {
        qxLib::ShowInfo("密码更改失败,密码未改变.");
        continue;
      }
      qxLib::ShowInfo("密码更改成功! 下次登陆时请使用新密码.");
      return;
    } catch (const EAbort&) {
    } catch (const Exception& E) {
      qxLib::ShowInfo(E.Message());
    }
  }
}

PELTO_DEFINE_CLASS(TCompanyInfoFrm)

PELTO_DEFINE_CLASS(TPasswordChangerFrm)
