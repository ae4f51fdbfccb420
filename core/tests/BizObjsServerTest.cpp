// The business objects on the server (PostgreSQL) with the server schema: one throw-away server for
// this executable.
#include <gtest/gtest.h>

#include "core/NewId.h"
#include "core/Schema.h"
#include "core/tests/ClientCases.h"
#include "core/tests/DepartmentCases.h"
#include "core/tests/HetongCases.h"
#include "core/tests/PaymentCases.h"
#include "core/tests/ServerFixture.h"
#include "platform/db/ADOConnection.h"
#include "platform/rtl/MessageSeam.h"

namespace {

class BizObjsServer : public CoreServerFixture {
protected:
  void TearDown() override
  {
    CoreServerFixture::TearDown();
    EXPECT_TRUE(Boxes.empty()) << Boxes.front();
  }
};

}  // namespace

HETONG_CASES(BizObjsServer)
CLIENT_CASES(BizObjsServer)
PAYMENT_CASES(BizObjsServer)
DEPARTMENT_CASES(BizObjsServer)

// Another operator takes the id between this save's read of the maximum and its insert: the
// save retries with the next maximum instead of failing.
TEST_F(BizObjsServer, NewIdRetriesATakenId)
{
  Database::GlobalDB->ExecSQL(u"delete from toubiaos");
  TADOConnection Other(nullptr);
  Other.SetConnectionString(PgTestServer::ConnectionString());
  Other.Open();
  int Calls = 0;
  Integer Used = 0;
  auto Insert = [&](Integer Candidate) {
    if (++Calls == 1)
      Other.Execute(
          System::AnsiToWide("insert into toubiaos(Id, HetongId) values (" + std::to_string(Candidate) + ", 1)"));
    return Database::GlobalDB->ExecSQL(u"insert into toubiaos(Id, HetongId) values (:Id, 2)",
                                       {Database::MakeParam("Id", Candidate)});
  };
  EXPECT_EQ(NewId::InsertWithNewId("toubiaos", Insert, Used), 1);
  EXPECT_EQ(Calls, 2);
  EXPECT_EQ(Used, 2);
  TToubiaoSet Set;
  Set.OpenByHetong(2);
  EXPECT_EQ(Set.Id->GetAsInteger(), 2);
  // Any other failure is raised as it is.
  auto Broken = [](Integer) { return Database::GlobalDB->ExecSQL(u"insert into nowhere(Id) values (1)"); };
  EXPECT_THROW(NewId::InsertWithNewId("toubiaos", Broken, Used), Exception);
  EXPECT_EQ(Used, 0);
}
