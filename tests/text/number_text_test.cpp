#include "text/number_text.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "game/values.h"

namespace quarrow {
namespace {

// The printf form stands in for to_chars where the library has none; they must write alike.
TEST(NumberText, ShortestByPrintfWritesWhatToCharsWrites) {
  std::vector<double> values = {0.0,  -0.0,  1.0,   0.5,     1e21,    1e22,      123456.0,
                                1e-7, 1e16,  1e-5,  0.0001,  4975e-4, 1.5e300,   5e-324,
                                1e15, 100.0, 1e100, 1.0 / 3, 2.0 / 3, 1234.5678, 0.1 + 0.2};
  std::mt19937_64 bits(7);
  for (int k = 0; k < 20000; ++k) {
    const double any = BitCast<double>(bits());
    if (any == any) {
      values.push_back(any);
    }
    values.push_back(static_cast<double>(bits() % 100000) / 10000.0);  // means and shares
  }
  for (const double v : values) {
    char buffer[40];
    const std::string expected(buffer, std::to_chars(buffer, buffer + sizeof buffer, v).ptr);
    std::string out;
    detail::AppendShortestByPrintf(out, v);
    ASSERT_EQ(out, expected) << "bits " << BitCast<std::uint64_t>(v);
  }
}

}  // namespace
}  // namespace quarrow
