// The dataset-bound controller on a 100,000-row query over SQLite: loading every row into the
// controller and sorting it, beside walking the same open dataset alone (First .. Next to EOF,
// reading each field) in the same iteration. The "ratio" counter is controller / walk.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <memory>
#include <string>

#include <time.h>

#include "controls/data/DataModule.h"
#include "controls/data/db/cxDBDataController.h"
#include "platform/db/ADOConnection.h"
#include "platform/db/ADODataSet.h"
#include "platform/db/DBClasses.h"
#include "platform/db/DataSource.h"
#include "platform/db/Fields.h"
#include "platform/db/JetProvider.h"
#include "platform/rtl/AnsiStrings.h"

namespace {

constexpr int RowCount = 100000;

class TBenchItem : public TObject {};

double Now()
{
  timespec ts{};
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) / 1e9;
}

struct TQueryData {
  AnsiString File;
  TADOConnection Conn{nullptr};
  TADOQuery Query{nullptr};
  TDataSource Source{nullptr};

  TQueryData()
  {
    DataModule::Initialize();
    DBClasses::Initialize();
    File = "/tmp/pelto_dbbench_" + std::to_string(::getpid()) + ".mdb";
    ::unlink(File.c_str());
    JetProvider::CreateDatabase(File, AnsiString());
    Conn.SetConnectionString(System::AnsiToWide("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + File));
    Conn.SetLoginPrompt(false);
    Conn.Open();
    Exec("create table rows (Id INTEGER, Title TEXT(20), Amount FLOAT)");
    // One statement builds the rows: the engine counts, nothing goes through the cursor.
    Exec(
        "with recursive n(i) as (select 1 union all select i + 1 from n where i < 100000) "
        "insert into rows select i, 'row ' || ((i * 7919) % 100000), (i * 37) % 1000 + 0.5 from n");
    Query.SetConnection(&Conn);
    Query.GetSQL()->SetText("select Id, Title, Amount from rows");
    Query.Open();
    Source.SetDataSet(&Query);
  }
  ~TQueryData()
  {
    Query.Close();
    Conn.Close();
    ::unlink(File.c_str());
  }
  void Exec(const char* sql)
  {
    TADOQuery q(nullptr);
    q.SetConnection(&Conn);
    q.GetSQL()->SetText(sql);
    q.ExecSQL();
  }
};

void BM_LoadAndSortQuery(benchmark::State& state)
{
  static TQueryData data;
  double controller = 0, walk = 0;
  int iterations = 0;
  for (auto _ : state) {
    TBenchItem id, title, amount;
    const double t0 = Now();
    {
      TcxDBDataController c;
      c.AddItem(&id);
      c.AddItem(&title);
      c.AddItem(&amount);
      c.ChangeFieldName(0, "Id");
      c.ChangeFieldName(1, "Title");
      c.ChangeFieldName(2, "Amount");
      c.SetDataSource(&data.Source);
      c.SetItemSortOrder(1, soAscending);
      if (c.GetRecordCount() != RowCount || c.GetRowCount() != RowCount) state.SkipWithError("rows missing");
      benchmark::DoNotOptimize(c.GetRowInfo(RowCount / 2).RecordIndex);
    }
    const double t1 = Now();
    double sum = 0;
    int count = 0;
    TField* fid = data.Query.FieldByName("Id");
    TField* ftitle = data.Query.FieldByName("Title");
    TField* famount = data.Query.FieldByName("Amount");
    for (data.Query.First(); !data.Query.GetEof(); data.Query.Next()) {
      Variant a = fid->GetValue(), b = ftitle->GetValue(), d = famount->GetValue();
      sum += d.AsDouble();
      count += a.AsInteger() > 0 && !b.IsNull();
    }
    benchmark::DoNotOptimize(sum);
    const double t2 = Now();
    if (count != RowCount) state.SkipWithError("walk missed rows");
    controller += t1 - t0;
    walk += t2 - t1;
    ++iterations;
    state.SetIterationTime(t1 - t0);
  }
  state.counters["controller_ms"] = controller * 1000 / iterations;
  state.counters["walk_ms"] = walk * 1000 / iterations;
  state.counters["ratio"] = controller / walk;
  state.counters["goal"] = 2;
}
BENCHMARK(BM_LoadAndSortQuery)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
