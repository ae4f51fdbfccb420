// The department tree and bid cases, run on whichever database is the open global connection.
#pragma once

#include <gtest/gtest.h>

#include <set>

#include "core/Department.h"
#include "core/Toubiao.h"
#include "platform/db/ADODataSet.h"
#include "platform/db/Fields.h"
#include "platform/rtl/AnsiStrings.h"

namespace DepartmentCases {

inline WideString W(const AnsiString& S) { return System::AnsiToWide(S); }
inline Integer Exec(const AnsiString& Sql, const TDBParameters& Params = {})
{
  return Database::GlobalDB->ExecSQL(W(Sql), Params);
}
inline void Insert(const AnsiString& Code, const AnsiString& Name)
{
  Exec("insert into departments(Code, Name) values (:C, :N)",
       {Database::MakeParam("C", Code), Database::MakeParam("N", Name)});
}

struct TRow {
  AnsiString Code;
  Integer FatherIdx;
  AnsiString Path;
  bool operator==(const TRow&) const = default;
};

inline std::vector<TRow> Rows(TDepartmentSet& Set)
{
  std::vector<TRow> Out;
  TADODataSet& D = *Set.GetDataSet();
  for (D.First(); !D.GetEof(); D.Next()) {
    RDepartment R;
    Set.GetAsData(R);
    Out.push_back({R.Code, R.FatherIdx, System::WideToAnsi(R.Path)});
  }
  return Out;
}

inline void PrintTo(const TRow& R, std::ostream* Os) { *Os << R.Code << "/" << R.FatherIdx << "/" << R.Path; }

inline void TreeLoadAddDelete()
{
  Exec("delete from departments");
  TDepartmentSet Set;
  EXPECT_EQ(Set.GetDataSet()->GetRecordCount(), 0);
  RDepartment New;
  New.Name = "A";
  ASSERT_TRUE(Set.AddDepartment(New));
  EXPECT_EQ(New.Code, "00");
  New.Name = "销售部";
  ASSERT_TRUE(Set.AddDepartment(New));
  EXPECT_EQ(New.Code, "01");
  RDepartment Child;
  Child.Father = "01";
  Child.Name = "B";
  ASSERT_TRUE(Set.AddDepartment(Child));
  EXPECT_EQ(Child.Code, "0100");
  Child.Father = "0100";
  Child.Name = "C";
  ASSERT_TRUE(Set.AddDepartment(Child));
  EXPECT_EQ(Child.Code, "010000");
  EXPECT_EQ(Rows(Set), (std::vector<TRow>{
                           {"00", 0, "A"}, {"01", 0, "销售部"}, {"0100", 2, "销售部B"}, {"010000", 3, "销售部BC"}}));
  RDepartment Current;
  Set.GetDataSet()->Last();
  Set.GetAsData(Current);
  EXPECT_EQ(Current.Father, "0100");

  Insert("0109", "I");
  Child.Father = "01";
  ASSERT_TRUE(Set.AddDepartment(Child));
  EXPECT_EQ(Child.Code, "0110");

  // Full or malformed children are refused instead of making a third digit.
  Insert("0199", "Z");
  EXPECT_THROW(Set.AddDepartment(Child), Exception);
  Insert("00AB", "X");
  Child.Father = "00";
  EXPECT_THROW(Set.AddDepartment(Child), Exception);
  Insert("02", "Other");

  RDepartment Change;
  Change.Code = "0100";
  Change.Name = "B2";
  Change.Note = W("备注'");
  EXPECT_TRUE(Set.UpdateDepartment(Change));
  ASSERT_TRUE(Set.GetDataSet()->Locate("Code", W("010000")));
  EXPECT_EQ(Set.GetPathFld()->GetAsString(), "销售部B2C");
  Change.Code = "77";
  EXPECT_FALSE(Set.UpdateDepartment(Change));

  Set.DeleteBranch("01");
  std::set<AnsiString> Left;
  for (const TRow& R : Rows(Set)) Left.insert(R.Code);
  EXPECT_EQ(Left, (std::set<AnsiString>{"00", "00AB", "02"}));
  Set.DeleteBranch("");
  EXPECT_EQ(Rows(Set).size(), 3u);
}

inline void Bids()
{
  Exec("delete from toubiaos");
  Exec("delete from clients");
  Exec("insert into clients(Id, ClientName) values (3, 'Gamma')");
  Exec("insert into toubiaos(Id, HetongId, ClientId) values (4, 9, 3)");
  TToubiaoSet Set;
  Set.OpenByHetong(5);
  EXPECT_EQ(Set.GetQuery()->GetRecordCount(), 0);
  RToubiao Bid;
  Bid.HetongId = 5;
  Bid.ClientId = 3;
  Bid.ClientName = W("Gamma");
  Bid.S01 = W("报价'%");
  ASSERT_TRUE(Set.Save(Bid));
  EXPECT_EQ(Bid.Id, 5);
  EXPECT_EQ(Set.GetQuery()->GetRecordCount(), 1);
  Bid.Notes = W("changed");
  ASSERT_TRUE(Set.Save(Bid));
  EXPECT_EQ(Set.GetQuery()->GetRecordCount(), 1);

  TToubiaoSet Fresh;
  Fresh.OpenByHetong(5);
  RToubiao Read;
  Fresh.CopyToRecord(Read);
  EXPECT_EQ(Read.Id, 5);
  EXPECT_EQ(Read.ClientName, W("Gamma"));
  EXPECT_EQ(Read.S01, W("报价'%"));
  EXPECT_EQ(Read.Notes, W("changed"));

  EXPECT_TRUE(Set.Delete(Bid));
  EXPECT_EQ(Set.GetQuery()->GetRecordCount(), 0);
  EXPECT_FALSE(TToubiaoSet::DeleteToubiao(Bid));
  Bid.Id = 42;
  EXPECT_FALSE(TToubiaoSet::WriteToubiao(Bid));
}

}  // namespace DepartmentCases

#define DEPARTMENT_CASES(Fixture)                                           \
  TEST_F(Fixture, DepartmentTree) { DepartmentCases::TreeLoadAddDelete(); } \
  TEST_F(Fixture, Bids) { DepartmentCases::Bids(); }
