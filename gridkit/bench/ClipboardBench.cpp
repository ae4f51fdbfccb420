// The grid's copy and paste over a 100,000-row SQLite table: copying the whole grid in the four
// clipboard formats, then pasting the VCLDBIF copy into an empty table of the same shape,
// beside a plain loop that reads the same fields of every record into one string in the same
// iteration. Counters: copy_s, paste_s, plain_s and copy_ratio (copy / plain loop). Posts stay in
// the query (batch mode) so that the table's write-back does not hide the paste's own cost.
#include <benchmark/benchmark.h>

#include <memory>

#include "gridkit/impexp/DBGridEhClipboard.h"
#include "gridkit/tests/ImpExpGridStandIn.h"
#include "gridkit/tests/ScratchJetDb.h"
#include "platform/db/Fields.h"
#include "platform/win/backend/Headless.h"
#include "platform/win/clipboard/Clipboard.h"

namespace {

constexpr int RowCount = 100000;
const char* const Fields[] = {"编号", "名称", "金额", "日期"};

struct TTables : TScratchJetDb {
  TTables() : TScratchJetDb("/tmp", "pelto_clipbench")
  {
    Headless::Start(800, 600);
    DBGridEhImpExp::Initialize();
    Exec("create table 合同 (编号 INTEGER, 名称 TEXT(20), 金额 FLOAT, 日期 DATETIME)");
    Exec("create table 副本 (编号 INTEGER, 名称 TEXT(20), 金额 FLOAT, 日期 DATETIME)");
    Exec(
        "with recursive n(i) as (select 1 union all select i + 1 from n where i < 100000) "
        "insert into 合同 select i, '合同 ' || i, case when i % 10 = 0 then null else (i * 37) % 1000 + 0.25 end, "
        "45000 + i % 400 from n");
  }
  std::unique_ptr<TADOQuery> Open(const AnsiString& Table)
  {
    auto q = Query("select * from " + Table, true);
    q->Open();
    return q;
  }
};

void BM_CopyAndPasteWholeGrid(benchmark::State& state)
{
  static TTables tables;
  double copy = 0, paste = 0, plain = 0;
  int n = 0;
  for (auto _ : state) {
    auto source = tables.Open("合同");
    TImpExpGridStandIn grid(source.get());
    for (const char* f : Fields) grid.Add(f);
    double t0 = MonotonicSeconds();
    DBGridEhImpExp::CopyToClipboard(&grid, true);
    double t1 = MonotonicSeconds();

    auto target = tables.Open("副本");
    TImpExpGridStandIn into(target.get());
    for (const char* f : Fields) into.Add(f);
    DBGridEhImpExp::PasteFromClipboard(&into, false);
    double t2 = MonotonicSeconds();
    if (target->GetRecordCount() != RowCount) state.SkipWithError("the paste lost records");

    AnsiString all;
    TField* fields[4];
    for (int i = 0; i < 4; ++i) fields[i] = source->FieldByName(Fields[i]);
    for (source->First(); !source->GetEof(); source->Next())
      for (TField* f : fields) {
        all += f->GetAsString();
        all += '\t';
      }
    benchmark::DoNotOptimize(all);
    double t3 = MonotonicSeconds();
    copy += t1 - t0;
    paste += t2 - t1;
    plain += t3 - t2;
    ++n;
    Clipboard::Reset();
    DBGridEhImpExp::Initialize();
  }
  state.counters["copy_s"] = copy / n;
  state.counters["paste_s"] = paste / n;
  state.counters["plain_s"] = plain / n;
  state.counters["copy_ratio"] = plain > 0 ? copy / plain : 0;
}
BENCHMARK(BM_CopyAndPasteWholeGrid)->Unit(benchmark::kMillisecond)->Iterations(2);

}  // namespace
