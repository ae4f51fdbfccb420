// Writing and reading back a document of 10,000 items, beside writing the same bytes through
// a plain buffered stream, so the cost of the tree and the text can be told from the stream's.
#include <benchmark/benchmark.h>

#include "platform/rtl/Streams.h"
#include "report/engine/xml/frxXML.h"

namespace {

const int kItems = 10000;

void Fill(TfrxXMLDocument& doc)
{
  TfrxXMLItem* root = doc.GetRoot();
  root->SetName("preparedreport");
  for (int i = 0; i < kItems; ++i) {
    TfrxXMLItem* item = root->Add();
    item->SetName("TfrxMemoView");
    item->SetProp("Name", "Memo" + std::to_string(i));
    item->SetProp("Left", std::to_string(i % 700));
    item->SetProp("Text", "合同编号 <" + std::to_string(i) + "> & \"金额\"");
  }
}

AnsiString Bytes()
{
  TfrxXMLDocument doc;
  Fill(doc);
  TMemoryStream s;
  doc.SaveToStream(&s);
  return AnsiString(static_cast<const char*>(s.GetMemory()), static_cast<size_t>(s.GetSize()));
}

void BM_XMLWriteAndReadBack(benchmark::State& state)
{
  TfrxXMLDocument doc;
  Fill(doc);
  Int64 bytes = 0;
  for (auto _ : state) {
    TMemoryStream s;
    doc.SaveToStream(&s);
    bytes = s.GetSize();
    s.SetPosition(0);
    TfrxXMLDocument back;
    back.LoadFromStream(&s);
    benchmark::DoNotOptimize(back.GetRoot()->GetCount());
  }
  state.SetBytesProcessed(state.iterations() * bytes * 2);
}
BENCHMARK(BM_XMLWriteAndReadBack)->Unit(benchmark::kMillisecond);

void BM_XMLWrite(benchmark::State& state)
{
  TfrxXMLDocument doc;
  Fill(doc);
  for (auto _ : state) {
    TMemoryStream s;
    doc.SaveToStream(&s);
    benchmark::DoNotOptimize(s.GetMemory());
  }
}
BENCHMARK(BM_XMLWrite)->Unit(benchmark::kMillisecond);

// The same bytes in 4,096-byte writes, as the writer hands them to its stream.
void BM_PlainBufferedWrite(benchmark::State& state)
{
  const AnsiString bytes = Bytes();
  for (auto _ : state) {
    TMemoryStream s;
    for (size_t at = 0; at < bytes.size(); at += 4096)
      s.WriteBuffer(bytes.data() + at, static_cast<Int64>(std::min<size_t>(4096, bytes.size() - at)));
    benchmark::DoNotOptimize(s.GetMemory());
  }
  state.SetBytesProcessed(state.iterations() * static_cast<Int64>(bytes.size()));
}
BENCHMARK(BM_PlainBufferedWrite)->Unit(benchmark::kMillisecond);

void BM_XMLSwapOutAndIn(benchmark::State& state)
{
  TfrxXMLDocument doc;
  Fill(doc);
  TfrxXMLItem* root = doc.GetRoot();
  for (int i = 0; i < kItems; ++i) {
    root->GetItem(i)->SetSwappable(true);
    root->GetItem(i)->Add()->SetName("child");
  }
  for (auto _ : state) {
    for (int i = 0; i < kItems; ++i) doc.SwapOut(root->GetItem(i));
    for (int i = 0; i < kItems; ++i) doc.SwapIn(root->GetItem(i));
  }
}
BENCHMARK(BM_XMLSwapOutAndIn)->Unit(benchmark::kMillisecond);

// A long memo text with a line break every few bytes, escaped for an attribute and read back:
// the time grows with the length, not with its square.
void BM_XMLEscapeLongText(benchmark::State& state)
{
  AnsiString text;
  while (text.size() < static_cast<size_t>(state.range(0))) text += "合同 <" + std::to_string(text.size()) + ">\r\n";
  for (auto _ : state) {
    AnsiString escaped = frxXML::EscapeText(text);
    benchmark::DoNotOptimize(frxXML::UnescapeText(escaped).size());
  }
  state.SetComplexityN(state.range(0));
  state.SetBytesProcessed(state.iterations() * static_cast<Int64>(text.size()));
}
BENCHMARK(BM_XMLEscapeLongText)->RangeMultiplier(4)->Range(16 << 10, 1 << 20)->Complexity(benchmark::oN);

}  // namespace

BENCHMARK_MAIN();
