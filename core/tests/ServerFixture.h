// The core on a throw-away PostgreSQL server with the server schema, opened once per suite as the
// global connection, with the message boxes recorded instead of shown. Each executable that
// includes this starts one server for all its tests.
#pragma once

#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "core/Database.h"
#include "core/Schema.h"
#include "platform/db/ADOConnection.h"
#include "platform/testsupport/PgTestServer.h"
#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/MessageSeam.h"

inline testing::Environment* const CoreTestServer = testing::AddGlobalTestEnvironment(new PgTestServer);

class CoreServerFixture : public testing::Test {
protected:
  static void SetUpTestSuite()
  {
    Database::Initialize();
    ASSERT_TRUE(Database::GlobalDB->Open(PgTestServer::ConnectionString()));
    Schema::CreateServerSchema(Database::GlobalDB->GetConnection());
  }
  static void TearDownTestSuite() { Database::Finalize(); }
  void SetUp() override
  {
    Box.emplace([this](const AnsiString& Text, const AnsiString&, unsigned) {
      Boxes.push_back(Text);
      return IDOK;
    });
  }
  void TearDown() override { Box.reset(); }
  Integer Exec(const AnsiString& Sql, const TDBParameters& Params = {})
  {
    return Database::GlobalDB->ExecSQL(System::AnsiToWide(Sql), Params);
  }

  std::vector<AnsiString> Boxes;
  std::optional<MessageSeam::TScopedMessageBox> Box;
};
