// Opening a 100,000-row, 10-column query through TADOQuery and walking it, reading every field,
// against a plain sqlite3 step loop over the same rows that converts the texts the same way, in
// the same run; the ratio of the two is printed at the end.
#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
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

// Rows of the query; PELTO_BENCH_ROWS overrides it for a profiler run.
int Rows = 100000;
std::string File;

// Ten columns: integers, floats, dates, texts with Chinese characters and one memo.
void MakeDatabase()
{
  File = "/tmp/pelto_bench_" + std::to_string(::getpid()) + ".mdb";
  ::unlink(File.c_str());
  JetProvider::CreateDatabase(File);
  sqlite3* db = nullptr;
  sqlite3_open(File.c_str(), &db);
  sqlite3_exec(db,
               "create table t (Id INTEGER, Code TEXT(20), Name TEXT(40), Amount DOUBLE, Rate DOUBLE, "
               "Made DATETIME, Due DATETIME, Qty INTEGER, Kind TEXT(10), Note MEMO); begin",
               nullptr, nullptr, nullptr);
  sqlite3_stmt* st = nullptr;
  sqlite3_prepare_v2(db, "insert into t values (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)", -1, &st, nullptr);
  const std::string kinds[] = {System::AnsiToUtf8("采购"), System::AnsiToUtf8("销售"), System::AnsiToUtf8("服务"),
                               System::AnsiToUtf8("租赁")};
  for (int i = 0; i < Rows; ++i) {
    std::string code = "HT-" + std::to_string(1000000 + i);
    std::string name = System::AnsiToUtf8("合同名称 " + std::to_string(i % 1000) + " 号");
    std::string note = System::AnsiToUtf8("备注：第 " + std::to_string(i) + " 份合同的说明文字，付款按进度分期。");
    sqlite3_bind_int(st, 1, i);
    sqlite3_bind_text(st, 2, code.c_str(), -1, SQLITE_TRANSIENT);
    sqlite3_bind_text(st, 3, name.c_str(), -1, SQLITE_TRANSIENT);
    sqlite3_bind_double(st, 4, i * 1.25);
    sqlite3_bind_double(st, 5, 0.03 + i % 7 * 0.01);
    sqlite3_bind_double(st, 6, 40000.0 + i % 3000);
    sqlite3_bind_double(st, 7, 40030.5 + i % 3000);
    sqlite3_bind_int(st, 8, i % 17);
    sqlite3_bind_text(st, 9, kinds[i % 4].c_str(), -1, SQLITE_STATIC);
    sqlite3_bind_text(st, 10, note.c_str(), -1, SQLITE_TRANSIENT);
    sqlite3_step(st);
    sqlite3_reset(st);
  }
  sqlite3_finalize(st);
  sqlite3_exec(db, "commit", nullptr, nullptr, nullptr);
  sqlite3_close(db);
}

double NowMs()
{
  timespec ts{};
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return static_cast<double>(ts.tv_sec) * 1e3 + static_cast<double>(ts.tv_nsec) / 1e6;
}

double FirstOpenMs = 0;

void BM_ADOQueryWalk(benchmark::State& state)
{
  TADOConnection conn(nullptr);
  conn.SetConnectionString(System::AnsiToWide("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + File + ";"));
  conn.Open();
  for (auto _ : state) {
    const double start = NowMs();
    TADOQuery q(nullptr);
    q.SetConnection(&conn);
    q.SetLockType(ltBatchOptimistic);
    q.GetSQL()->SetText("select * from t");
    q.Open();
    TField* id = q.FieldByName("Id");
    TField* code = q.FieldByName("Code");
    TField* name = q.FieldByName("Name");
    TField* amount = q.FieldByName("Amount");
    TField* rate = q.FieldByName("Rate");
    TField* made = q.FieldByName("Made");
    TField* due = q.FieldByName("Due");
    TField* qty = q.FieldByName("Qty");
    TField* kind = q.FieldByName("Kind");
    TField* note = q.FieldByName("Note");
    double sum = 0;
    std::size_t chars = 0;
    for (; !q.GetEof(); q.Next()) {
      sum += id->GetAsInteger() + amount->GetAsFloat() + rate->GetAsFloat() + made->GetAsDateTime().Value +
             due->GetAsDateTime().Value + qty->GetAsInteger();
      chars += code->GetAsString().size() + name->GetAsString().size() + kind->GetAsString().size() +
               note->GetAsString().size();
    }
    benchmark::DoNotOptimize(sum);
    benchmark::DoNotOptimize(chars);
    if (FirstOpenMs == 0) FirstOpenMs = NowMs() - start;
  }
  state.SetItemsProcessed(state.iterations() * Rows);
  // The first open of the process also pays for fresh heap pages (the system's page faults); the
  // time per iteration is that of the later ones, which reuse them.
  state.counters["first_ms"] = FirstOpenMs;
}

// The engine's own loop, converting every text to code page 936 as the dataset hands it out.
void BM_Sqlite3StepLoop(benchmark::State& state)
{
  sqlite3* db = nullptr;
  // Opened as the provider opens its files: one thread, no locking by the engine.
  sqlite3_open_v2(File.c_str(), &db, SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX, nullptr);
  auto text = [](sqlite3_stmt* st, int i) {
    const char* t = reinterpret_cast<const char*>(sqlite3_column_text(st, i));
    return System::Utf8ToAnsi(std::string(t, static_cast<std::size_t>(sqlite3_column_bytes(st, i))));
  };
  for (auto _ : state) {
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(db, "select * from t", -1, &st, nullptr);
    double sum = 0;
    std::size_t chars = 0;
    while (sqlite3_step(st) == SQLITE_ROW) {
      sum += sqlite3_column_int(st, 0) + sqlite3_column_double(st, 3) + sqlite3_column_double(st, 4) +
             sqlite3_column_double(st, 5) + sqlite3_column_double(st, 6) + sqlite3_column_int(st, 7);
      chars += text(st, 1).size() + text(st, 2).size() + text(st, 8).size() + text(st, 9).size();
    }
    sqlite3_finalize(st);
    benchmark::DoNotOptimize(sum);
    benchmark::DoNotOptimize(chars);
  }
  state.SetItemsProcessed(state.iterations() * Rows);
  sqlite3_close(db);
}

// A figure of /proc/self/status in bytes ("VmRSS", "VmHWM"); 0 when unreadable.
long StatusBytes(const char* key)
{
  std::FILE* f = std::fopen("/proc/self/status", "r");
  if (!f) return 0;
  char line[256];
  long kb = 0;
  const std::size_t n = std::strlen(key);
  while (std::fgets(line, sizeof line, f))
    if (std::strncmp(line, key, n) == 0 && line[n] == ':') kb = std::atol(line + n + 1);
  std::fclose(f);
  return kb * 1024;
}

// The bytes the rows hold as the engine hands them out: texts in UTF-8, numbers 8 bytes each.
long DataBytes()
{
  sqlite3* db = nullptr;
  sqlite3_open_v2(File.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
  sqlite3_stmt* st = nullptr;
  sqlite3_prepare_v2(db, "select * from t", -1, &st, nullptr);
  long bytes = 0;
  while (sqlite3_step(st) == SQLITE_ROW)
    for (int i = 0; i < sqlite3_column_count(st); ++i)
      bytes += sqlite3_column_type(st, i) == SQLITE_TEXT ? sqlite3_column_bytes(st, i) : 8;
  sqlite3_finalize(st);
  sqlite3_close(db);
  return bytes;
}

// Peak memory of one open of the query, above what the process held before it, measured before
// any benchmark runs so no freed heap of an earlier open hides it. The peak is reset through
// clear_refs; where that is refused the figure is the process's peak so far.
void PrintLoadPeak()
{
  if (std::FILE* f = std::fopen("/proc/self/clear_refs", "w")) {
    std::fputs("5", f);
    std::fclose(f);
  }
  const long before = StatusBytes("VmRSS");
  {
    TADOConnection conn(nullptr);
    conn.SetConnectionString(System::AnsiToWide("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + File + ";"));
    conn.Open();
    TADOQuery q(nullptr);
    q.SetConnection(&conn);
    q.SetLockType(ltBatchOptimistic);
    q.GetSQL()->SetText("select * from t");
    q.Open();
  }
  const long peak = StatusBytes("VmHWM") - before, data = DataBytes();
  if (peak > 0 && data > 0)
    std::printf("Open of %d rows: peak memory %.1f MB for %.1f MB of data: %.2fx (goal 3x)\n", Rows, peak / 1048576.0,
                data / 1048576.0, static_cast<double>(peak) / static_cast<double>(data));
}

}  // namespace

BENCHMARK(BM_ADOQueryWalk)->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK(BM_Sqlite3StepLoop)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
  benchmark::Initialize(&argc, argv);
  if (const char* rows = std::getenv("PELTO_BENCH_ROWS")) Rows = std::atoi(rows);
  MakeDatabase();
  PrintLoadPeak();
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  reporter.PrintRatio("TADOQuery walk / sqlite3 step loop", "BM_ADOQueryWalk/min_time:2.000", "BM_Sqlite3StepLoop",
                      1.5);
  ::unlink(File.c_str());
  benchmark::Shutdown();
  return 0;
}
