// Opening a 100,000-row query through TADOQuery and walking it, against a plain sqlite3 step
// loop over the same rows in the same run; the ratio of the two is printed at the end.
#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <unistd.h>

#include <cstdio>
#include <map>
#include <string>

#include "platform/db/ADOConnection.h"
#include "platform/db/bench/RatioReporter.h"
#include "platform/db/ADODataSet.h"
#include "platform/db/Fields.h"
#include "platform/db/JetProvider.h"
#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/StringList.h"

namespace {

constexpr int Rows = 100000;
std::string File;

void MakeDatabase()
{
  File = "/tmp/pelto_bench_" + std::to_string(::getpid()) + ".mdb";
  ::unlink(File.c_str());
  JetProvider::CreateDatabase(File);
  sqlite3* db = nullptr;
  sqlite3_open(File.c_str(), &db);
  sqlite3_exec(db, "create table t (Id INTEGER, Name TEXT(40), Amount DOUBLE, Made DATETIME); begin", nullptr, nullptr,
               nullptr);
  sqlite3_stmt* st = nullptr;
  sqlite3_prepare_v2(db, "insert into t values (?, ?, ?, ?)", -1, &st, nullptr);
  for (int i = 0; i < Rows; ++i) {
    std::string name = "合同 name " + std::to_string(i);
    sqlite3_bind_int(st, 1, i);
    sqlite3_bind_text(st, 2, name.c_str(), -1, SQLITE_TRANSIENT);
    sqlite3_bind_double(st, 3, i * 1.25);
    sqlite3_bind_double(st, 4, 40000.0 + i % 3000);
    sqlite3_step(st);
    sqlite3_reset(st);
  }
  sqlite3_finalize(st);
  sqlite3_exec(db, "commit", nullptr, nullptr, nullptr);
  sqlite3_close(db);
}

void BM_ADOQueryWalk(benchmark::State& state)
{
  TADOConnection conn(nullptr);
  conn.SetConnectionString(System::AnsiToWide("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + File + ";"));
  conn.Open();
  for (auto _ : state) {
    TADOQuery q(nullptr);
    q.SetConnection(&conn);
    q.SetLockType(ltBatchOptimistic);
    q.GetSQL()->SetText("select * from t");
    q.Open();
    TField* id = q.FieldByName("Id");
    TField* name = q.FieldByName("Name");
    TField* amount = q.FieldByName("Amount");
    TField* made = q.FieldByName("Made");
    double sum = 0;
    std::size_t chars = 0;
    for (; !q.GetEof(); q.Next()) {
      sum += id->GetAsInteger() + amount->GetAsFloat() + made->GetAsDateTime().Value;
      chars += name->GetAsWideString().size();
    }
    benchmark::DoNotOptimize(sum);
    benchmark::DoNotOptimize(chars);
  }
  state.SetItemsProcessed(state.iterations() * Rows);
}

void BM_Sqlite3StepLoop(benchmark::State& state)
{
  sqlite3* db = nullptr;
  sqlite3_open_v2(File.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
  for (auto _ : state) {
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(db, "select * from t", -1, &st, nullptr);
    double sum = 0;
    std::size_t chars = 0;
    while (sqlite3_step(st) == SQLITE_ROW) {
      sum += sqlite3_column_int(st, 0) + sqlite3_column_double(st, 2) + sqlite3_column_double(st, 3);
      chars += static_cast<std::size_t>(sqlite3_column_bytes(st, 1));
    }
    sqlite3_finalize(st);
    benchmark::DoNotOptimize(sum);
    benchmark::DoNotOptimize(chars);
  }
  state.SetItemsProcessed(state.iterations() * Rows);
  sqlite3_close(db);
}

}  // namespace

BENCHMARK(BM_ADOQueryWalk)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Sqlite3StepLoop)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
  benchmark::Initialize(&argc, argv);
  MakeDatabase();
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  double ado = reporter.Time("BM_ADOQueryWalk"), plain = reporter.Time("BM_Sqlite3StepLoop");
  if (ado > 0 && plain > 0) std::printf("TADOQuery walk / sqlite3 step loop: %.2fx\n", ado / plain);
  ::unlink(File.c_str());
  benchmark::Shutdown();
  return 0;
}
