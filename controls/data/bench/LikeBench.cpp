// The LIKE matcher on patterns with many wildcards over texts that never match, against a plain
// backtracking matcher (each wildcard tries every split) as the peer: the peer's time grows
// with the text length to the power of the wildcard count, the matcher's stays proportional
// to text length times pattern length.
#include <benchmark/benchmark.h>

#include "controls/data/filter/cxLike.h"

namespace {

const AnsiString kPattern = "%a%a%a%a%b";

bool Backtrack(const char* t, const char* te, const char* p, const char* pe)
{
  if (p == pe) return t == te;
  if (*p == '%') {
    for (const char* s = t; s <= te; ++s)
      if (Backtrack(s, te, p + 1, pe)) return true;
    return false;
  }
  return t < te && (*p == '_' || *p == *t) && Backtrack(t + 1, te, p + 1, pe);
}

void BM_LikeMatches(benchmark::State& state)
{
  const AnsiString text(static_cast<size_t>(state.range(0)), 'a');
  for (auto _ : state) benchmark::DoNotOptimize(cxLike::LikeMatches(text, kPattern, '%', '_'));
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_LikeMatches)->RangeMultiplier(2)->Range(16, 4096)->Complexity();

void BM_LikeBacktrackingPeer(benchmark::State& state)
{
  const AnsiString text(static_cast<size_t>(state.range(0)), 'a');
  for (auto _ : state)
    benchmark::DoNotOptimize(
        Backtrack(text.data(), text.data() + text.size(), kPattern.data(), kPattern.data() + kPattern.size()));
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_LikeBacktrackingPeer)->RangeMultiplier(2)->Range(16, 64)->Complexity();

}  // namespace
