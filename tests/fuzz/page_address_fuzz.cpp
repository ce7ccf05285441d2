// The page's address: any query gives a run to play or the clock and one line saying why.

#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "web/page_address.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const quarrow::PageRun run =
      quarrow::ReadPageAddress(std::string_view(reinterpret_cast<const char*>(data), size));
  if (run.match < 1 || (!run.seeded && (run.seed != 0 || run.match != 1)) ||
      (run.seeded && !run.problem.empty()) || run.problem.find('\n') != std::string::npos) {
    std::abort();
  }
  return 0;
}
