// The query walk on the server engine: 100,000 rows of ten columns opened through TADOQuery and
// walked, reading every field, against a plain libpq loop over the same rows that converts its
// values (texts to code page 936) the same way, in the same run, on a throw-away server.
#include <benchmark/benchmark.h>
#include <libpq-fe.h>

#include <charconv>
#include <cstdio>
#include <cstring>
#include <cstdlib>
#include <string>

#include "platform/db/ADOConnection.h"
#include "platform/db/ADODataSet.h"
#include "platform/db/Fields.h"
#include "platform/db/bench/RatioReporter.h"
#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/StringList.h"
#include "platform/testsupport/PgTestServer.h"

namespace {

int Rows = 100000;

std::string Conninfo()
{
  return "host=127.0.0.1 port=" + std::to_string(PgTestServer::Port) + " dbname=pelto user=pelto password=pelto";
}

// The table through the provider (so its columns carry the application's types), the rows by
// the server's own generator.
void MakeTable()
{
  TADOConnection conn(nullptr);
  conn.SetConnectionString(PgTestServer::ConnectionString());
  conn.SetLoginPrompt(false);
  conn.Open();
  TADOQuery q(nullptr);
  q.SetConnection(&conn);
  q.GetSQL()->SetText(
      "create table t (Id int, Code NVARCHAR(20), Name NVARCHAR(40), Amount float, Rate float, Made datetime, "
      "Due datetime, Qty int, Kind NVARCHAR(10), Note ntext)");
  q.ExecSQL();
  PGconn* pg = PQconnectdb(Conninfo().c_str());
  std::string fill = System::AnsiToUtf8(
      "insert into t select g, 'HT-' || (1000000 + g), '合同名称 ' || (g % 1000) || ' 号', g * 1.25, "
      "0.03 + g % 7 * 0.01, timestamp '2009-07-06' + (g % 3000) * interval '1 day', "
      "timestamp '2009-08-05 12:00' + (g % 3000) * interval '1 day', g % 17, "
      "(array['采购', '销售', '服务', '租赁'])[g % 4 + 1], "
      "'备注：第 ' || g || ' 份合同的说明文字，付款按进度分期。' from generate_series(0, " +
      std::to_string(Rows - 1) + ") g");
  PGresult* r = PQexec(pg, fill.c_str());
  if (PQresultStatus(r) != PGRES_COMMAND_OK) std::fprintf(stderr, "%s", PQresultErrorMessage(r));
  PQclear(r);
  PQclear(PQexec(pg, "analyze t"));
  PQfinish(pg);
}

void BM_ADOQueryWalkPg(benchmark::State& state)
{
  TADOConnection conn(nullptr);
  conn.SetConnectionString(PgTestServer::ConnectionString());
  conn.SetLoginPrompt(false);
  conn.Open();
  for (auto _ : state) {
    TADOQuery q(nullptr);
    q.SetConnection(&conn);
    q.SetLockType(ltBatchOptimistic);
    q.GetSQL()->SetText("select * from t");
    q.Open();
    TField* f[10];
    for (int i = 0; i < 10; ++i) f[i] = q.GetFields()[i];
    double sum = 0;
    std::size_t chars = 0;
    for (; !q.GetEof(); q.Next()) {
      sum += f[0]->GetAsInteger() + f[3]->GetAsFloat() + f[4]->GetAsFloat() + f[5]->GetAsDateTime().Value +
             f[6]->GetAsDateTime().Value + f[7]->GetAsInteger();
      chars += f[1]->GetAsString().size() + f[2]->GetAsString().size() + f[8]->GetAsString().size() +
               f[9]->GetAsString().size();
    }
    benchmark::DoNotOptimize(sum);
    benchmark::DoNotOptimize(chars);
  }
  state.SetItemsProcessed(state.iterations() * Rows);
}

// "yyyy-mm-dd hh:mm:ss" as a day count, read at its fixed places as a hand-written loop would.
double Stamp(const char* s)
{
  auto num = [s](int at, int n) {
    int v = 0;
    for (int i = 0; i < n; ++i) v = v * 10 + (s[at + i] - '0');
    return v;
  };
  double sec = 0;
  std::from_chars(s + 17, s + std::strlen(s), sec);
  return SysUtils::EncodeDate(static_cast<Word>(num(0, 4)), static_cast<Word>(num(5, 2)), static_cast<Word>(num(8, 2)))
             .Value +
         (num(11, 2) * 3600 + num(14, 2) * 60 + sec) / 86400.0;
}

// The client library's own loop over the whole reply, converting each value once.
void BM_LibpqLoop(benchmark::State& state)
{
  PGconn* pg = PQconnectdb(Conninfo().c_str());
  for (auto _ : state) {
    PGresult* r = PQexec(pg, "select * from t");
    double sum = 0;
    std::size_t chars = 0;
    for (int i = 0, n = PQntuples(r); i < n; ++i) {
      sum += std::atoi(PQgetvalue(r, i, 0)) + std::strtod(PQgetvalue(r, i, 3), nullptr) +
             std::strtod(PQgetvalue(r, i, 4), nullptr) + Stamp(PQgetvalue(r, i, 5)) + Stamp(PQgetvalue(r, i, 6)) +
             std::atoi(PQgetvalue(r, i, 7));
      for (int c : {1, 2, 8, 9}) chars += System::Utf8ToAnsi(PQgetvalue(r, i, c)).size();
    }
    PQclear(r);
    benchmark::DoNotOptimize(sum);
    benchmark::DoNotOptimize(chars);
  }
  state.SetItemsProcessed(state.iterations() * Rows);
  PQfinish(pg);
}

}  // namespace

BENCHMARK(BM_ADOQueryWalkPg)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LibpqLoop)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
  benchmark::Initialize(&argc, argv);
  if (const char* rows = std::getenv("PELTO_BENCH_ROWS")) Rows = std::atoi(rows);
  PgTestServer server;
  server.SetUp();
  if (PgTestServer::Port == 0) return 1;
  MakeTable();
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  reporter.PrintRatio("TADOQuery walk / libpq loop", "BM_ADOQueryWalkPg", "BM_LibpqLoop", 1.5);
  server.TearDown();
  benchmark::Shutdown();
  return 0;
}
