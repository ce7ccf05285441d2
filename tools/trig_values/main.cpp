// quarrow-trig-values: every sine, cosine and arctangent value the rules can use, as bit patterns
// in hexadecimal, one a line: the tables, the correctly rounded sine and cosine of every heading
// (what a result near a rounding boundary asks for) and the arctangent of the sample quotients.
// The native and the WebAssembly builds must print the same. Usage: quarrow-trig-values [FILE]

#include <cinttypes>
#include <cstdio>

#include "rules/trig.h"
#include "trig_samples.h"

namespace {

std::FILE* out = stdout;

void Print(const char* what, double v) {
  std::fprintf(out, "%s %016" PRIx64 "\n", what, quarrow::BitCast<std::uint64_t>(v));
}

}  // namespace

// To a file when one is named: the comparison reads 8 MB of values back from each build.
int main(int argc, char** argv) {
  using namespace quarrow;
  if (argc > 1 && (out = std::fopen(argv[1], "w")) == nullptr) {
    std::perror(argv[1]);
    return 1;
  }
  const detail::SinCosTables& t = detail::kSinCosTables;
  for (std::size_t h = 0; h < t.kCoarse; ++h) {
    Print("coarse-sin", t.coarseSin[h]);
    Print("coarse-cos", t.coarseCos[h]);
  }
  for (std::size_t l = 0; l < t.kFine; ++l) {
    Print("fine-sin", t.fineSin[l]);
    Print("fine-cos", t.fineCos[l]);
  }
  for (std::int64_t n = 0; n <= detail::kTurnCount; ++n) {
    const SinCos s = ApproxSinCos(Fixed::FromCount(n));
    Print("sin", s.ExactSin());
    Print("cos", s.ExactCos());
  }
  for (const double q : ArctangentSamples()) {
    Print("atan", Arctangent(q));
  }
  return std::ferror(out) == 0 && std::fflush(out) == 0 ? 0 : 1;
}
