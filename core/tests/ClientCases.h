// The counterparty cases, run on whichever database is the open global connection.
#pragma once

#include <gtest/gtest.h>

#include <set>

#include "core/Client.h"
#include "platform/db/ADODataSet.h"
#include "platform/db/Fields.h"
#include "platform/rtl/AnsiStrings.h"

namespace ClientCases {

inline WideString W(const AnsiString& S) { return System::AnsiToWide(S); }

inline RClient Client(const AnsiString& Name, const AnsiString& Linkman = "", bool IsClient = false,
                      bool IsSupplier = false)
{
  RClient R;
  R.ClientName = W(Name);
  R.Linkman = W(Linkman);
  R.IsClient = IsClient;
  R.IsSupplier = IsSupplier;
  return R;
}

inline std::set<Integer> Ids(TClientSet& Set)
{
  std::set<Integer> Result;
  TADOQuery& Q = *Set.GetQuery();
  for (Q.First(); !Q.GetEof(); Q.Next()) Result.insert(Set.Id->GetAsInteger());
  return Result;
}

inline void SearchAndKeyword()
{
  Database::GlobalDB->ExecSQL(u"delete from clients");
  RClient Rows[] = {Client("华丰", "Li", true), Client("50%", "", false, true), Client("O'Neil_co", "", true, true),
                    Client("plain", "王'五")};
  for (RClient& R : Rows) ASSERT_TRUE(TClientSet::SaveClient(R));
  EXPECT_EQ(Rows[0].Id, 1);
  EXPECT_EQ(Rows[3].Id, 4);
  Rows[2].Address = W("back\\road");
  ASSERT_TRUE(TClientSet::SaveClient(Rows[2]));
  const Integer A = Rows[0].Id, B = Rows[1].Id, C = Rows[2].Id, D = Rows[3].Id;

  struct Case {
    const char* What;
    TField* TClientWhere::*Field;
    Variant Value;
    std::set<Integer> Expected;
  } Cases[] = {
      {"nothing", nullptr, Variant(), {A, B, C, D}},
      {"id", &TClientWhere::IdFld, C, {C}},
      {"name chinese", &TClientWhere::ClientNameFld, W("华"), {A}},
      {"name percent", &TClientWhere::ClientNameFld, W("%"), {B}},
      {"name underscore", &TClientWhere::ClientNameFld, W("_"), {C}},
      {"name quote", &TClientWhere::ClientNameFld, W("'"), {C}},
      {"linkman", &TClientWhere::LinkmanFld, W("王'"), {D}},
      {"address backslash", &TClientWhere::AddressFld, W("\\"), {C}},
      {"is client", &TClientWhere::IsClientFld, true, {A, C}},
      {"is client false is no condition", &TClientWhere::IsClientFld, false, {A, B, C, D}},
      {"is supplier", &TClientWhere::IsSupplierFld, true, {B, C}},
      {"keyword", &TClientWhere::KeywordFld, W("li"), {A}},
      {"keyword wildcard", &TClientWhere::KeywordFld, W("%"), {B}},
      {"notes take no part", &TClientWhere::NotesFld, W("zzz"), {A, B, C, D}},
  };
  TClientWhere Where;
  TClientSet Set;
  for (const Case& K : Cases) {
    Where.Reset();
    if (K.Field) (Where.*K.Field)->SetValue(K.Value);
    Set.Search(Where);
    EXPECT_EQ(Ids(Set), K.Expected) << K.What;
  }
  Where.Reset();
  Where.ClientNameFld->SetAsWideString(W("华"));
  Where.IsSupplierFld->SetValue(true);
  Set.Search(Where);
  EXPECT_TRUE(Ids(Set).empty());

  Where.Reset();
  Set.Search(Where);
  for (auto [Keyword, Expected] : std::vector<std::pair<AnsiString, std::set<Integer>>>{
           {"LI", {A}}, {"'", {C, D}}, {"%", {B}}, {"_", {C}}, {"road", {C}}, {"", {A, B, C, D}}}) {
    Set.FilterByKeyword(Keyword);
    EXPECT_EQ(Ids(Set), Expected) << Keyword;
  }
}

inline void SaveLockDelete()
{
  Database::GlobalDB->ExecSQL(u"delete from clients");
  TClientWhere Where;
  TClientSet Set;
  Set.Search(Where);
  RClient A = Client("a", "x", true);
  ASSERT_TRUE(Set.Save(A));
  EXPECT_EQ(A.Id, 1);
  EXPECT_EQ(Ids(Set), (std::set<Integer>{1}));

  RClient Current;
  Set.CopyToRecord(Current);
  EXPECT_TRUE(Current.IsClient);
  EXPECT_FALSE(Current.IsLock);
  ASSERT_TRUE(Set.ToggleLock(Current));
  EXPECT_FALSE(Current.IsLock);  // the record is not changed
  ASSERT_TRUE(Set.GetQuery()->Locate("Id", 1));
  EXPECT_TRUE(Set.IsLock->GetAsBoolean());

  // A locked counterparty is not changed, in the database nor in the open row.
  A.ClientName = W("renamed");
  EXPECT_FALSE(Set.Save(A));
  EXPECT_EQ(Set.ClientName->GetAsString(), "a");
  Set.Search(Where);
  EXPECT_EQ(Set.ClientName->GetAsString(), "a");
  EXPECT_TRUE(Set.IsLock->GetAsBoolean());

  Set.CopyToRecord(Current);
  ASSERT_TRUE(Set.ToggleLock(Current));
  EXPECT_TRUE(Set.Save(A));
  EXPECT_EQ(Set.ClientName->GetAsString(), "renamed");

  RClient Missing = Client("m");
  Missing.Id = 42;
  EXPECT_FALSE(TClientSet::WriteClient(Missing));
  EXPECT_FALSE(TClientSet::WriteLock(Missing));

  ASSERT_TRUE(Set.GetQuery()->Locate("Id", 1));
  EXPECT_TRUE(Set.Delete());
  EXPECT_TRUE(Ids(Set).empty());
  Set.Search(Where);
  EXPECT_TRUE(Ids(Set).empty());
}

}  // namespace ClientCases

#define CLIENT_CASES(Fixture)                                                  \
  TEST_F(Fixture, ClientSearchAndKeyword) { ClientCases::SearchAndKeyword(); } \
  TEST_F(Fixture, ClientSaveLockDelete) { ClientCases::SaveLockDelete(); }
