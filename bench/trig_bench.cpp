// The longer run of the fast trigonometric forms against the C library's: a million random inputs
// and a hundred thousand beside rounding boundaries per iteration, fresh ones each time.

#include <benchmark/benchmark.h>

#include <cstdint>

#include "rules/trig_agreement.h"

namespace {

void BM_TrigAgreement(benchmark::State& state) {
  std::uint32_t seed = 1000;
  std::int64_t inputs = 0;
  std::int64_t disagreements = 0;
  for (auto _ : state) {
    disagreements += quarrow::testing::Disagreements(seed++, 1'000'000, false);
    disagreements += quarrow::testing::Disagreements(seed++, 100'000, true);
    inputs += 1'100'000;
  }
  state.counters["inputs"] = static_cast<double>(inputs);
  state.counters["disagreements"] = static_cast<double>(disagreements);
  if (disagreements != 0) {
    state.SkipWithError("a fast form differs from the C library");
  }
}
BENCHMARK(BM_TrigAgreement)->Unit(benchmark::kMillisecond)->Iterations(200);

}  // namespace
