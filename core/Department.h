// The department tree (TDepartmentSet), held in memory with each department's parent position
// and full name. Codes have two characters per level; a department's code is the prefix of its
// whole subtree's codes.
//
// Contract:
// - Every change through the set reloads the whole tree, so its rows mirror the table.
// - AddDepartment raises Exception when the parent's children are full ("99") or its highest
//   child code does not end in two digits: a third digit would break the two-characters-per-level
//   tree. Statement failures raise the database layer's exception.
#pragma once

#include <map>

#include "core/Database.h"

class TField;

struct RDepartment {
  AnsiString Father;      // the parent code
  WideString FatherPath;  // filled by the windows for a new child
  AnsiString Code, Name, Manager, Tel, Fax;
  WideString Address, Note;
  Integer FatherIdx = 0;
  WideString Path;
};

class TDepartmentSet : public TQxClientDataSet {
  PELTO_DECLARE_CLASS(TDepartmentSet, TQxClientDataSet)
public:
  TDepartmentSet();
  explicit TDepartmentSet(TComponent* AOwner) : TDepartmentSet() {}

  // Reloads the tree in code order; the cursor ends on the first department.
  void Load();
  // The current row; Father is the code without its last two characters; FatherPath untouched.
  void GetAsData(RDepartment& Rec) const;
  // Inserts a child of Rec.Father; on success Rec.Code is the new code.
  bool AddDepartment(RDepartment& Rec);
  bool UpdateDepartment(const RDepartment& Rec);
  // The department and its whole subtree; an empty code deletes nothing.
  void DeleteBranch(const AnsiString& Code);
  // The names of the code's prefixes of 2, 4, ... characters joined (missing ones skipped), from
  // the rows last loaded.
  WideString DeptPath(const AnsiString& Code) const;

  TField* GetCodeFld() const { return FCode; }
  TField* GetNameFld() const { return FName; }
  TField* GetNoteFld() const { return FNote; }
  TField* GetFatherIndexFld() const { return FFatherIdx; }
  TField* GetPathFld() const { return FPath; }

private:
  TField *FCode, *FName, *FManager, *FTel, *FFax, *FAddress, *FNote, *FFatherIdx, *FPath;
  std::map<AnsiString, WideString> FNames;  // code -> name of the rows last loaded
};
