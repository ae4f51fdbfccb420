// A throw-away Jet (SQLite) database for the grid family's tests, with helpers to run
// statements and open queries whose posts and deletes are written back to the table.
#pragma once

#include <memory>
#include <utility>
#include <vector>

#include "platform/db/ADOConnection.h"
#include "platform/db/ADODataSet.h"
#include "platform/db/tests/JetTestSupport.h"
#include "platform/rtl/StringList.h"
#include "platform/rtl/Variants.h"

class GridTestDb {
public:
  GridTestDb()
  {
    Conn.SetConnectionString(Db.ConnectionString());
    Conn.SetLoginPrompt(false);
    Conn.Open();
  }

  Integer Exec(const AnsiString& Sql, std::vector<std::pair<const char*, Variant>> Params = {})
  {
    TADOQuery q(nullptr);
    q.SetConnection(&Conn);
    q.GetSQL()->SetText(Sql);
    for (auto& [n, v] : Params) q.GetParameters().ParamByName(n)->SetValue(v);
    return q.ExecSQL();
  }

  std::unique_ptr<TADOQuery> Query(const AnsiString& Sql, bool Open = true)
  {
    auto q = std::make_unique<TADOQuery>(nullptr);
    q->SetConnection(&Conn);
    q->GetSQL()->SetText(Sql);
    if (Open) q->Open();
    return q;
  }

  TempJetDatabase Db;
  TADOConnection Conn{nullptr};
};
