// A scratch Jet (SQLite) database file for the grid family's benchmarks and fuzz targets, which
// run without the test framework: made in Dir on construction, deleted on destruction.
#pragma once

#include <time.h>
#include <unistd.h>

#include <memory>
#include <string>

#include "platform/db/ADOConnection.h"
#include "platform/db/ADODataSet.h"
#include "platform/db/DBClasses.h"
#include "platform/db/JetProvider.h"
#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/StringList.h"

class TScratchJetDb {
public:
  TScratchJetDb(const char* Dir, const char* Name)
  {
    DBClasses::Initialize();
    File = AnsiString(Dir) + "/" + Name + "_" + std::to_string(::getpid()) + ".mdb";
    ::unlink(File.c_str());
    JetProvider::CreateDatabase(File, AnsiString());
    Conn.SetConnectionString(System::AnsiToWide("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + File));
    Conn.SetLoginPrompt(false);
    Conn.Open();
  }
  ~TScratchJetDb()
  {
    Conn.Close();
    ::unlink(File.c_str());
  }
  TScratchJetDb(const TScratchJetDb&) = delete;
  TScratchJetDb& operator=(const TScratchJetDb&) = delete;

  void Exec(const AnsiString& Sql)
  {
    TADOQuery q(nullptr);
    q.SetConnection(&Conn);
    q.GetSQL()->SetText(Sql);
    q.ExecSQL();
  }
  // A query on Sql, not yet open; with Batch its posts stay in the query.
  std::unique_ptr<TADOQuery> Query(const AnsiString& Sql, bool Batch = false)
  {
    auto q = std::make_unique<TADOQuery>(nullptr);
    q->SetConnection(&Conn);
    if (Batch) q->SetLockType(ltBatchOptimistic);
    q->GetSQL()->SetText(Sql);
    return q;
  }

  AnsiString File;
  TADOConnection Conn{nullptr};
};

// Seconds on the monotonic clock.
inline double MonotonicSeconds()
{
  timespec ts{};
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) / 1e9;
}
