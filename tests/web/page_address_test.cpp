#include "web/page_address.h"

#include <gtest/gtest.h>

namespace quarrow {
namespace {

// Decoded as a browser decodes a form, the first of a repeated name winning.
TEST(PageAddress, ReadsTheRunAsABrowserDecodesIt) {
  const struct {
    std::string_view search;
    bool seeded;
    std::uint32_t seed;
    std::int64_t match;
  } cases[] = {
      {"?seed=5&match=2", true, 5, 2},
      {"x&%73eed=%34%32&seed=9&match=999999999999", true, 42, 999999999999},
      {"?seed=4294967295&=&&match", false, 0, 1},  // an empty match
      {"?seed=0%2", false, 0, 1},                  // "%2" stays as it is
  };
  for (const auto& c : cases) {
    const PageRun run = ReadPageAddress(c.search);
    EXPECT_EQ(run.seeded, c.seeded) << c.search;
    EXPECT_EQ(run.seed, c.seed) << c.search;
    EXPECT_EQ(run.match, c.match) << c.search;
  }
  EXPECT_EQ(ReadPageAddress("?seed=4294967295").seed, 4294967295u);
}

TEST(PageAddress, SaysWhyItPlaysFromTheClock) {
  EXPECT_EQ(ReadPageAddress("").problem, "");
  EXPECT_EQ(ReadPageAddress("?match=2").problem,
            "A match number needs a seed: playing from the clock.");
  EXPECT_EQ(ReadPageAddress("?seed=4294967296").problem,
            "The seed \"4294967296\" is not a whole number from 0 to 4294967295: playing from the "
            "clock.");
  EXPECT_EQ(ReadPageAddress("?seed=1&match=1000000000000").problem,
            "The match \"1000000000000\" is not a whole number from 1: playing from the clock.");
  // 24 characters at most, each whole, and nothing that could break the line.
  EXPECT_EQ(ReadPageAddress("?seed=+-%0A%E2%82%AC%ff\xc3\xa9"
                            "abcdefghijklmnopqrstuvwxyz")
                .problem,
            "The seed \" -\\n\xe2\x82\xac\\xff\xc3\xa9"
            "abcdefghijklmnopqr\xe2\x80\xa6\" is not a whole number from 0 to 4294967295: playing "
            "from the clock.");
}

}  // namespace
}  // namespace quarrow
