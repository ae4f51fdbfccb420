// Operators and their rights: the logged-in operator (TOperator, qxProj::CurrentOperator), and
// the two sets of the operator administration (TOperatorSet, TUserSet with RUser).
//
// Passwords are stored as salted hashes (PasswordHash.h). A row that still holds a plain
// password (an older database) is accepted once by CheckPassword and rehashed at that login.
// Statement failures raise the database layer's exception; the class operations of TUserSet
// answer false only when the row count is not 1.
#pragma once

#include "core/Database.h"

class TField;

class TOperator : public TObject {
public:
  AnsiString LoginId, Password, Name, Contact, Note;  // Password: the stored (hashed) form
  WideString Rights;                                  // ",1,5,10000,"

  // Loads the one row of that login id; a missing (or doubled) id clears every field, so no
  // earlier operator stays logged in.
  void Load(const AnsiString& ALoginId);
  // True when a login id is loaded and the password matches it.
  bool CheckPassword(const AnsiString& Typed);
  // Right n: ",n," in Rights, or the login id is exactly "sa".
  bool HasRight(Integer Right) const;
  // A missing right shows "对不起,您没有该功能的操作权限,请与管理员联系(%d)." and, with
  // Abort, ends the action with a silent EAbort.
  bool CheckRight(Integer Right, bool Abort);
  // Shows "只有系统用户(sa)才能执行此操作." and raises EAbort for anyone but "sa".
  void RequireSa() const;
  bool IsSa() const { return LoginId == "sa"; }
  // Stores the hash of NewPassword; true (and the new stored form kept) when exactly one row
  // changed.
  bool SavePassword(const AnsiString& NewPassword);
  // The password dialog: the current password is checked against the stored one; success is
  // reported only when exactly one row changed, else a failure message and the old password
  // stays. Cancel changes nothing.
  void ChangePassword();

private:
  void Clear();
};

struct RUser {
  WideString LoginId, Password, Name, Contact, Note, Rights, DeptId, DeptName;
};

// Every operator but "sa"; opened by the constructor.
class TOperatorSet : public TRecordSet {
  PELTO_DECLARE_CLASS(TOperatorSet, TRecordSet)
public:
  TOperatorSet();
  explicit TOperatorSet(TComponent* AOwner) : TOperatorSet() {}
  void Open();
  TField* GetUserIdField() const { return FUserId; }
  TField* GetPasswdField() const { return FPasswd; }
  TField* GetNameField() const { return FName; }
  TField* GetContactField() const { return FContact; }
  TField* GetNoteField() const { return FNote; }
  TField* GetRightsField() const { return FRights; }

private:
  TField *FUserId, *FPasswd, *FName, *FContact, *FNote, *FRights;
};

class TUserSet : public TQuerySet {
public:
  TUserSet();
  // Every operator but "sa", with the name of its department.
  void OpenAll();
  void CopyToRecord(RUser& User) const;
  // Copies the row of that login id into User when there is one; "sa" is never found.
  static void LookupUser(const AnsiString& LoginId, RUser& User);
  // The password in User is the typed one (a stored hash passes unchanged).
  static bool InsertUser(const RUser& User);
  static bool UpdateUser(const RUser& User);
  static bool DeleteUser(const RUser& User);

  TField *LoginId, *Password, *Name, *DeptId, *DeptName, *Contact, *Note, *Rights;
};
