// The grid's sum list on a 100,000-row SQLite query: opening it with a sum, an average and a
// count footer, then editing and posting 1,000 rows, beside the same open and posts without the
// sum list in the same iteration. The "ratio" counter is with / without. Posts stay in the
// query (batch mode) so that the table's write-back does not hide the sum list's own cost.
#include <benchmark/benchmark.h>

#include <memory>

#include "gridkit/model/DBSumLst.h"
#include "gridkit/tests/ScratchJetDb.h"
#include "platform/db/ADODataSet.h"
#include "platform/db/Fields.h"

namespace {

constexpr int RowCount = 100000;
constexpr int Edits = 1000;

struct TTable : TScratchJetDb {
  TTable() : TScratchJetDb("/tmp", "pelto_sumbench")
  {
    Exec("create table 账目 (编号 INTEGER, 名称 TEXT(20), 金额 FLOAT)");
    Exec(
        "with recursive n(i) as (select 1 union all select i + 1 from n where i < 100000) "
        "insert into 账目 select i, '行 ' || i, case when i % 10 = 0 then null else (i * 37) % 1000 + 0.25 end "
        "from n");
  }

  // Opens the query and posts the edits; with Sums the sum list follows along.
  double Run(bool Sums)
  {
    double start = MonotonicSeconds();
    auto query = Query("select * from 账目", true);
    TADOQuery& q = *query;
    std::unique_ptr<TDBGridEhSumList> list;
    if (Sums) {
      list = std::make_unique<TDBGridEhSumList>(nullptr);
      for (TGroupOperation op : {goSum, goAvg}) {
        TDBSum* s = list->GetSumCollection()->Add();
        s->SetGroupOperation(op);
        s->SetFieldName("金额");
      }
      list->GetSumCollection()->Add()->SetGroupOperation(goCount);
      list->SetDataSet(&q);
      list->SetActive(true);
    }
    q.Open();
    TField* amount = q.FieldByName("金额");
    for (int i = 0; i < Edits; ++i) {
      q.SetRecNo(1 + (i * 97) % RowCount);
      q.Edit();
      amount->SetAsFloat(i * 0.5);
      q.Post();
    }
    if (list) benchmark::DoNotOptimize(list->GetSumCollection()->GetItem(0)->Total);
    q.Close();
    return MonotonicSeconds() - start;
  }
};

void BM_OpenAndPostWithSumList(benchmark::State& state)
{
  static TTable table;
  double with = 0, without = 0;
  int n = 0;
  for (auto _ : state) {
    with += table.Run(true);
    without += table.Run(false);
    ++n;
  }
  state.counters["with_s"] = with / n;
  state.counters["without_s"] = without / n;
  state.counters["ratio"] = without > 0 ? with / without : 0;
}
BENCHMARK(BM_OpenAndPostWithSumList)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
