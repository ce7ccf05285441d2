// The page's address: any query gives a run to play, or the clock, and one line saying why.

#include <cstdint>
#include <cstdlib>
#include <string_view>

#include <string>
#include "play/run.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const quarrow::RunAddress run =
      quarrow::ReadAddress(std::string_view(reinterpret_cast<const char*>(data), size));
  const bool courtHolds = run.court.width >= quarrow::kMinCourtWidth &&
                          run.court.width <= quarrow::kMaxCourtSide && run.court.height >= 1 &&
                          run.court.height <= quarrow::kMaxCourtSide;
  if (run.match < 1 || (!run.seed && run.match != 1) || !courtHolds ||
      run.problem.find('\n') != std::string::npos) {
    std::abort();
  }
  return 0;
}
