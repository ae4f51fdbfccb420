// TCompanyInfoFrm ("公司信息"): the user's own company record, shown and edited through
// TCompany::Edit.
#pragma once

#include "core/forms/aDlg.h"

class TEdit;
class TMemo;

class TCompanyInfoFrm : public TADlgFrm {
  PELTO_DECLARE_CLASS(TCompanyInfoFrm, TADlgFrm)
public:
  explicit TCompanyInfoFrm(TComponent* AOwner);

  TEdit *EdtCompany1 = nullptr, *EdtLawMan1 = nullptr, *EdtTel1 = nullptr, *EdtAddress1 = nullptr, *edtZip1 = nullptr,
        *EdtFax1 = nullptr;
  TMemo* MemIntrol1 = nullptr;

  AnsiString GetCompanyName() const;
  void SetCompanyName(const AnsiString& V);
  AnsiString GetLawman() const;
  void SetLawman(const AnsiString& V);
  AnsiString GetTel() const;
  void SetTel(const AnsiString& V);
  AnsiString GetAddress() const;
  void SetAddress(const AnsiString& V);
  AnsiString GetZip() const;
  void SetZip(const AnsiString& V);
  AnsiString GetFax() const;
  void SetFax(const AnsiString& V);
  WideString GetProfile() const;
  void SetProfile(const WideString& V);
};

// TPasswordChangerFrm ("更改密码"): the logged-in operator's new password, asked twice.
class TPasswordChangerFrm : public TADlgFrm {
  PELTO_DECLARE_CLASS(TPasswordChangerFrm, TADlgFrm)
public:
  explicit TPasswordChangerFrm(TComponent* AOwner);

  TEdit *edtUserId1 = nullptr, *edtPassword1 = nullptr, *edtNewPassword1 = nullptr, *edtNewPassword2 = nullptr;

  AnsiString GetUserId() const;
  void SetUserId(const AnsiString& V);
  AnsiString GetPrePasswd() const;
  AnsiString GetNewPasswd() const;

  // Two different new passwords keep the dialog open with both boxes emptied.
  bool CloseQuery() override;
};
