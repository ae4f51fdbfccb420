// Reading a 100,000-row, 10-column workbook through the "Excel 8.0" provider (TADOConnection,
// TADOQuery, every field of every row) against the plain reader alone (XlsReader::ReadFile) in
// the same run; the ratio of the two is printed at the end, with the reader's peak memory beside
// the file's size (counted by this program's operator new).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <new>
#include <string>

#include "platform/db/ADOConnection.h"
#include "platform/db/bench/RatioReporter.h"
#include "platform/db/ADODataSet.h"
#include "platform/db/Fields.h"
#include "platform/db/tests/XlsBuilder.h"
#include "platform/db/xls/XlsReader.h"
#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/StringList.h"

// ---- Allocation counting -------------------------------------------------------------------------

namespace {

std::atomic<std::size_t> Live{0}, Peak{0};

void* Allocate(std::size_t n)
{
  void* p = std::malloc(n + 16);
  if (!p) throw std::bad_alloc();
  *static_cast<std::size_t*>(p) = n;
  const std::size_t now = Live += n;
  std::size_t peak = Peak.load();
  while (now > peak && !Peak.compare_exchange_weak(peak, now)) {}
  return static_cast<char*>(p) + 16;
}

void Release(void* p) noexcept
{
  if (!p) return;
  char* base = static_cast<char*>(p) - 16;
  Live -= *reinterpret_cast<std::size_t*>(base);
  std::free(base);
}

}  // namespace

void* operator new(std::size_t n) { return Allocate(n); }
void* operator new[](std::size_t n) { return Allocate(n); }
void operator delete(void* p) noexcept { Release(p); }
void operator delete[](void* p) noexcept { Release(p); }
void operator delete(void* p, std::size_t) noexcept { Release(p); }
void operator delete[](void* p, std::size_t) noexcept { Release(p); }

// ---- The workbook --------------------------------------------------------------------------------

namespace {

constexpr int Rows = 100000;
std::string File;
std::size_t FileSize = 0;

// Columns: Id, Code (unique text), Name (Chinese, 1,000 kinds), Amount, Signed (date), Stamp
// (date and time), Paid (Boolean), Count, Note (text, 50 kinds), Total (a formula's result).
void MakeWorkbook()
{
  using namespace XlsBuilder;
  std::vector<TSstString> strings;
  const char16_t* titles[] = {u"Id",    u"Code", u"名称",  u"Amount", u"Signed",
                              u"Stamp", u"Paid", u"Count", u"Note",   u"Total"};
  for (const char16_t* t : titles) strings.push_back({t});
  const std::uint32_t names = static_cast<std::uint32_t>(strings.size());
  for (int i = 0; i < 1000; ++i) {
    std::u16string s = u"采购合同第";
    for (char c : std::to_string(i)) s += static_cast<char16_t>(c);
    strings.push_back({s + u"号"});
  }
  const std::uint32_t notes = static_cast<std::uint32_t>(strings.size());
  for (int i = 0; i < 50; ++i) strings.push_back({u"note " + std::u16string(1, static_cast<char16_t>(u'A' + i % 26))});
  const std::uint32_t codes = static_cast<std::uint32_t>(strings.size());
  for (int i = 0; i < Rows; ++i) {
    std::u16string s = u"HT-";
    for (char c : std::to_string(1000000 + i)) s += static_cast<char16_t>(c);
    strings.push_back({s});
  }
  std::string cells;
  cells.reserve(std::size_t{Rows} * 170);
  for (unsigned c = 0; c < 10; ++c) cells += LabelSst(0, c, c);
  for (unsigned r = 1; r <= Rows; ++r) {
    const int i = static_cast<int>(r) - 1;
    cells += Rk(r, 0, RkInt(i)) + LabelSst(r, 1, codes + i) + LabelSst(r, 2, names + i % 1000) +
             Number(r, 3, i * 1.25 + 0.01) + Rk(r, 4, RkInt(40000 + i % 3000), 1) +
             Number(r, 5, 40000.5 + i % 3000, 2) + BoolErr(r, 6, i % 2, false) + Rk(r, 7, RkInt(i % 17)) +
             LabelSst(r, 8, notes + i % 50) + Formula(r, 9, NumberResult(i * 2.5));
  }
  TBook book;
  book.Globals = StandardGlobals() + Sst(strings);
  book.Sheets.push_back({u"Sheet1", 0, std::move(cells)});
  const std::string bytes = Compound({{u"Workbook", book.Stream()}}, {12});
  File = "/tmp/pelto_xls_bench_" + std::to_string(::getpid()) + ".xls";
  std::ofstream(File, std::ios::binary) << bytes;
  FileSize = bytes.size();
}

void BM_ExcelProviderRead(benchmark::State& state)
{
  for (auto _ : state) {
    TADOConnection conn(nullptr);
    conn.SetConnectionString(System::AnsiToWide("Provider=Microsoft.Jet.OLEDB.4.0;Excel 8.0;DATABASE=" + File));
    conn.Open();
    TADOQuery q(nullptr);
    q.SetConnection(&conn);
    q.GetSQL()->SetText("select * from [Sheet1$]");
    q.Open();
    const Integer fields = q.GetFields().GetCount();
    double sum = 0;
    std::size_t chars = 0;
    for (; !q.GetEof(); q.Next()) {
      for (Integer f = 0; f < fields; ++f) {
        const TField* field = q.GetFields()[f];
        if (field->GetDataType() == ftWideString)
          chars += field->GetAsWideString().size();
        else if (!field->IsNull())
          sum += field->GetAsFloat();
      }
    }
    benchmark::DoNotOptimize(sum);
    benchmark::DoNotOptimize(chars);
  }
  state.SetItemsProcessed(state.iterations() * Rows);
}

std::size_t ReaderPeak = 0;

void BM_XlsReaderAlone(benchmark::State& state)
{
  for (auto _ : state) {
    const std::size_t before = Live.load();
    Peak = before;
    TXlsWorkbook book = XlsReader::ReadFile(File);
    ReaderPeak = std::max(ReaderPeak, Peak.load() - before);
    benchmark::DoNotOptimize(book.Sheets[0].Cells.size());
  }
  state.SetItemsProcessed(state.iterations() * Rows);
}

}  // namespace

BENCHMARK(BM_ExcelProviderRead)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_XlsReaderAlone)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
  benchmark::Initialize(&argc, argv);
  MakeWorkbook();
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  const double provider = reporter.Time("BM_ExcelProviderRead"), reader = reporter.Time("BM_XlsReaderAlone");
  if (provider > 0 && reader > 0) std::printf("provider / reader alone: %.2fx\n", provider / reader);
  if (ReaderPeak)
    std::printf("reader peak memory: %.1f MB for a file of %.1f MB (%.2fx)\n", ReaderPeak / 1048576.0,
                FileSize / 1048576.0, static_cast<double>(ReaderPeak) / static_cast<double>(FileSize));
  ::unlink(File.c_str());
  benchmark::Shutdown();
  return 0;
}
