// The Variant operations an interpreter runs on every step: copying, moving, assigning and
// destroying simple values, integer and float arithmetic, comparisons and the common
// conversions. Each loop works on values the optimizer cannot see through.
#include <benchmark/benchmark.h>

#include <vector>

#include "platform/rtl/Variants.h"

namespace {

Variant Sample(int kind, int i)
{
  switch (kind) {
    case 0: return Variant(i);
    case 1: return Variant(i + 0.5);
    case 2: return Variant((i & 1) != 0);
    default: return Variant(AnsiString("合同") + AnsiString(1, static_cast<char>('a' + i % 26)));
  }
}

const char* KindName(int kind)
{
  static const char* const Names[] = {"Integer", "Double", "Boolean", "String"};
  return Names[kind];
}

// A frame of locals saved and restored, as a recursive call does.
void BM_VariantCopy(benchmark::State& state)
{
  const int kind = static_cast<int>(state.range(0));
  state.SetLabel(KindName(kind));
  std::vector<Variant> locals;
  for (int i = 0; i < 8; ++i) locals.push_back(Sample(kind, i));
  std::vector<Variant> saved;
  saved.reserve(locals.size());
  for (auto _ : state) {
    for (const Variant& v : locals) saved.push_back(v);
    for (std::size_t i = 0; i < locals.size(); ++i) locals[i] = std::move(saved[i]);
    saved.clear();
    benchmark::DoNotOptimize(locals.data());
  }
}
BENCHMARK(BM_VariantCopy)->DenseRange(0, 3);

void BM_VariantAssign(benchmark::State& state)
{
  const int kind = static_cast<int>(state.range(0));
  state.SetLabel(KindName(kind));
  const Variant a = Sample(kind, 1), b = Sample(kind, 2);
  Variant target;
  for (auto _ : state) {
    target = a;
    benchmark::DoNotOptimize(&target);
    target = b;
    benchmark::DoNotOptimize(&target);
  }
}
BENCHMARK(BM_VariantAssign)->DenseRange(0, 3);

// n := n - 1 + n - 2, with the sums kept as Variants.
void BM_VariantArith(benchmark::State& state)
{
  const int kind = static_cast<int>(state.range(0));
  state.SetLabel(KindName(kind));
  Variant n = Sample(kind, 27), one = Sample(kind, 1), two = Sample(kind, 2);
  for (auto _ : state) {
    benchmark::DoNotOptimize(&n);
    Variant r = (n - one) + (n - two);
    benchmark::DoNotOptimize(&r);
  }
}
BENCHMARK(BM_VariantArith)->DenseRange(0, 1);

void BM_VariantCompare(benchmark::State& state)
{
  const int kind = static_cast<int>(state.range(0));
  state.SetLabel(KindName(kind));
  Variant a = Sample(kind, 3), b = Sample(kind, 4);
  for (auto _ : state) {
    benchmark::DoNotOptimize(&a);
    benchmark::DoNotOptimize(&b);
    bool r = a < b;
    benchmark::DoNotOptimize(r);
    r = a == b;
    benchmark::DoNotOptimize(r);
  }
}
BENCHMARK(BM_VariantCompare)->DenseRange(0, 3);

void BM_VariantRead(benchmark::State& state)
{
  Variant i = 42, d = 2.5, b = true;
  for (auto _ : state) {
    benchmark::DoNotOptimize(&i);
    benchmark::DoNotOptimize(&d);
    benchmark::DoNotOptimize(&b);
    benchmark::DoNotOptimize(i.AsInteger());
    benchmark::DoNotOptimize(d.AsDouble());
    benchmark::DoNotOptimize(b.AsBoolean());
    benchmark::DoNotOptimize(i.AsInt64());
  }
}
BENCHMARK(BM_VariantRead);

// s := s + 'x', the string loop of a script.
void BM_VariantConcat(benchmark::State& state)
{
  const Variant x = "x";
  for (auto _ : state) {
    Variant s = "";
    for (int i = 0; i < 1000; ++i) s = s + x;
    benchmark::DoNotOptimize(&s);
  }
}
BENCHMARK(BM_VariantConcat);

}  // namespace
