#include "options.h"

#include <gtest/gtest.h>

#include <string_view>
#include <vector>

namespace quarrow::sim {
namespace {

TEST(Options, DefaultsWithoutArguments) {
  const ParseResult r = ParseOptions({});
  EXPECT_EQ(r.error, "");
  EXPECT_FALSE(r.options.seed.has_value());
  EXPECT_EQ(r.options.matches, 1);
  EXPECT_EQ(r.options.maxFrames, 200000);
  EXPECT_EQ(r.options.width, 257);
  EXPECT_EQ(r.options.height, 169);
  EXPECT_FALSE(r.options.trace.has_value());
}

TEST(Options, AcceptsEveryFlagAtTheEndsOfItsRange) {
  const ParseResult r = ParseOptions({"--seed", "4294967295", "--matches", "20", "--max-frames",
                                      "1", "--width", "83", "--height", "1", "--trace", "-"});
  ASSERT_EQ(r.error, "");
  EXPECT_EQ(r.options.seed, 4294967295u);
  EXPECT_EQ(r.options.matches, 20);
  EXPECT_EQ(r.options.maxFrames, 1);
  EXPECT_EQ(r.options.width, 83);
  EXPECT_EQ(r.options.height, 1);
  EXPECT_EQ(r.options.trace, "-");

  const ParseResult wide = ParseOptions({"--width", "6553", "--height", "6553", "--seed", "0"});
  ASSERT_EQ(wide.error, "");
  EXPECT_EQ(wide.options.width, 6553);
  EXPECT_EQ(wide.options.height, 6553);
  EXPECT_EQ(wide.options.seed, 0u);
}

TEST(Options, RefusesWhatTheRulesCannotServe) {
  const std::vector<std::vector<std::string_view>> bad = {
      {"--width", "82"},
      {"--width", "6554"},
      {"--height", "0"},
      {"--height", "6554"},
      {"--height", "-5"},
      {"--seed", "-1"},
      {"--seed", "4294967296"},
      {"--seed", "1.5"},
      {"--seed", "12x"},
      {"--seed", ""},
      {"--matches", "0"},
      {"--max-frames", "-3"},
      {"--seed"},
      {"--trace"},
      {"--trace", ""},
      {"--bogus"},
      {"seed", "1"},
      {"--width", " 100"},
      {"--matches", "99999999999999999999"},
  };
  for (const auto& args : bad) {
    const ParseResult r = ParseOptions(args);
    std::string joined;
    for (std::string_view a : args) {
      joined += std::string(a) + " ";
    }
    EXPECT_NE(r.error, "") << joined;
    EXPECT_EQ(r.error.find('\n'), std::string::npos) << joined;
  }
}

TEST(Options, HelpHasALineWithTheDefaultForEveryAcceptedOption) {
  const std::string help = HelpText();
  for (const OptionHelp& option : kOptionHelp) {
    const std::string flag(option.flag);
    const std::size_t line = help.find("\n  " + flag + " ");
    ASSERT_NE(line, std::string::npos) << flag;
    const std::string text = help.substr(line + 1, help.find('\n', line + 1) - line - 1);
    EXPECT_LE(text.size(), 80u) << text;
    const ParseResult alone = ParseOptions({option.flag});
    if (option.value.empty()) {
      EXPECT_EQ(alone.error, "") << flag;
    } else {
      EXPECT_NE(text.find("default"), std::string::npos) << text;
      EXPECT_EQ(alone.error, flag + " needs a value");
    }
  }
  EXPECT_TRUE(ParseOptions({"--version"}).options.version);
  EXPECT_FALSE(ParseOptions({"--version"}).options.help);
}

}  // namespace
}  // namespace quarrow::sim
