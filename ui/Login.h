// TLoginFrm ("登陆"): asks for a login id and a password and makes the matching operator the
// logged-in one. A refused login shows no message: the dialog stays open with the password
// selected. The last successful login id is kept in cfg.ini beside the program, section Login.
#pragma once

#include <memory>

#include "core/forms/aDlg.h"

class TComboBox;
class TEdit;
class TOperator;

class TLoginFrm : public TADlgFrm {
  PELTO_CLASS(TLoginFrm, TADlgFrm)
public:
  // ProgramDir places cfg.ini (the program's folder when empty).
  explicit TLoginFrm(TComponent* AOwner, const AnsiString& ProgramDir = AnsiString());
  ~TLoginFrm() override;

  TComboBox* edtLoginId1 = nullptr;
  TEdit* edtPassword1 = nullptr;

  bool CloseQuery() override;
  void edtPassword1KeyDown(TObject* Sender, Word& Key, TShiftState Shift);

private:
  AnsiString FProgramDir;
  std::unique_ptr<TOperator> FScratch;  // checks the typed password
};

namespace Login {
// LastLoginId of section Login of cfg.ini in ProgramDir (the program's folder when empty); empty
// when the file or key is missing or unreadable.
AnsiString ReadLastLoginId(const AnsiString& ProgramDir = AnsiString());
void WriteLastLoginId(const AnsiString& LoginId, const AnsiString& ProgramDir = AnsiString());
}  // namespace Login
