// CP936 <-> UTF-16 conversion of a mixed Chinese/Latin text (about 64 KiB), by the run-time
// library and, as the peer, by glibc's iconv on the same data.
#include <benchmark/benchmark.h>

#include <iconv.h>

#include <string>

#include "platform/rtl/AnsiStrings.h"

namespace {

const AnsiString& SampleText()
{
  static const AnsiString text = [] {
    const AnsiString parts[] = {
        "合同编号 HT-2009-0315，甲方：澜岳贸易有限公司，乙方：",
        "Shanghai Pacific Trading Co., Ltd. ",
        "签订日期 2009-03-05，金额 ￥128,500.00 元（壹拾贰万捌仟伍佰元整）。",
        "付款方式: 30% advance, 70% on delivery; ",
        "交货地点：北京市海淀区中关村大街1号表格第3栏。\r\n",
    };
    AnsiString s;
    for (int i = 0; s.size() < 64 * 1024; ++i) s += parts[i % 5];
    return s;
  }();
  return text;
}

// Runs iconv over the whole input; the output buffer is large enough for it.
std::size_t RunIconv(iconv_t cd, const char* in, std::size_t inBytes, char* out, std::size_t outBytes)
{
  iconv(cd, nullptr, nullptr, nullptr, nullptr);
  char* pin = const_cast<char*>(in);
  char* pout = out;
  std::size_t left = outBytes;
  iconv(cd, &pin, &inBytes, &pout, &left);
  return outBytes - left;
}

void BM_AnsiToWide(benchmark::State& state)
{
  const AnsiString& text = SampleText();
  for (auto _ : state) benchmark::DoNotOptimize(System::AnsiToWide(text));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_AnsiToWide);

void BM_AnsiToWide_Iconv(benchmark::State& state)
{
  const AnsiString& text = SampleText();
  iconv_t cd = iconv_open("UTF-16LE", "CP936");
  if (cd == reinterpret_cast<iconv_t>(-1)) {
    state.SkipWithError("iconv lacks CP936");
    return;
  }
  for (auto _ : state) {
    // Allocates its result as our routine does.
    WideString out(text.size(), u'\0');
    std::size_t n = RunIconv(cd, text.data(), text.size(), reinterpret_cast<char*>(out.data()), out.size() * 2);
    out.resize(n / 2);
    benchmark::DoNotOptimize(out);
  }
  iconv_close(cd);
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_AnsiToWide_Iconv);

void BM_WideToAnsi(benchmark::State& state)
{
  const WideString wide = System::AnsiToWide(SampleText());
  for (auto _ : state) benchmark::DoNotOptimize(System::WideToAnsi(wide));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * wide.size() * 2));
}
BENCHMARK(BM_WideToAnsi);

void BM_WideToAnsi_Iconv(benchmark::State& state)
{
  const WideString wide = System::AnsiToWide(SampleText());
  iconv_t cd = iconv_open("CP936", "UTF-16LE");
  if (cd == reinterpret_cast<iconv_t>(-1)) {
    state.SkipWithError("iconv lacks CP936");
    return;
  }
  for (auto _ : state) {
    AnsiString out(wide.size() * 2, '\0');
    std::size_t n = RunIconv(cd, reinterpret_cast<const char*>(wide.data()), wide.size() * 2, out.data(), out.size());
    out.resize(n);
    benchmark::DoNotOptimize(out);
  }
  iconv_close(cd);
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * wide.size() * 2));
}
BENCHMARK(BM_WideToAnsi_Iconv);

}  // namespace
