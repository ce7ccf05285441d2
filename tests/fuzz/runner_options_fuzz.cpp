// quarrow-sim's arguments: any vector is answered with options or one line of error.

#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "fuzz_input.h"
#include "options.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::vector<std::string> arguments = quarrow::fuzz::Arguments(data, size);
  const std::vector<std::string_view> args(arguments.begin(), arguments.end());
  const quarrow::runner::ParseResult parsed = quarrow::runner::ParseOptions(args);
  if (parsed.error.find('\n') != std::string::npos) {
    std::abort();  // an error is one line
  }
  return 0;
}
