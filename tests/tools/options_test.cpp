#include "options.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

namespace quarrow::runner {
namespace {

TEST(Options, DefaultsWithoutArguments) {
  const ParseResult r = ParseOptions({});
  EXPECT_EQ(r.error, "");
  EXPECT_FALSE(r.options.seed.has_value());
  EXPECT_EQ(r.options.matches, 1);
  EXPECT_EQ(r.options.maxFrames, 200000);
  // The court the window shows and the manual promises.
  EXPECT_EQ(r.options.width, 257);
  EXPECT_EQ(r.options.height, 169);
  EXPECT_FALSE(r.options.trace.has_value());
  EXPECT_FALSE(r.options.csv.has_value());
  EXPECT_FALSE(r.options.histogram.has_value());
  EXPECT_FALSE(r.options.jsonSummary);
}

TEST(Options, AcceptsEveryFlagAtTheEndsOfItsRange) {
  const ParseResult r = ParseOptions({"--seed", "4294967295", "--matches", "20", "--max-frames",
                                      "1", "--width", "83", "--height", "1", "--trace", "-",
                                      "--csv", "m.csv", "--summary", "json", "--histogram", "h"});
  ASSERT_EQ(r.error, "");
  EXPECT_EQ(r.options.seed, 4294967295u);
  EXPECT_EQ(r.options.matches, 20);
  EXPECT_EQ(r.options.maxFrames, 1);
  EXPECT_EQ(r.options.width, 83);
  EXPECT_EQ(r.options.height, 1);
  EXPECT_EQ(r.options.trace, "-");
  EXPECT_EQ(r.options.csv, "m.csv");
  EXPECT_EQ(r.options.histogram, "h");
  EXPECT_TRUE(r.options.jsonSummary);

  EXPECT_EQ(ParseOptions({"--runs", "4294967296", "--matches", "1073741823"}).error, "");
  const ParseResult wide = ParseOptions({"--width", "6553", "--height", "6553", "--seed", "0"});
  ASSERT_EQ(wide.error, "");
  EXPECT_FALSE(ParseOptions({"--summary", "json", "--summary", "text"}).options.jsonSummary);
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
      {"--summary", "xml"},
      {"--summary"},
      {"--csv", ""},
      {"--histogram", "-"},
      {"--gif", "-"},
      {"--gif-every", "101"},
      {"--trace", "-", "--csv", "-"},
      {"--runs", "4294967296", "--matches", "1073741824"},  // 2^62 matches in all
      {"--seed", "1\n2"},
      {"--width\r\x1b[2K"},
  };
  for (const auto& args : bad) {
    const ParseResult r = ParseOptions(args);
    std::string joined;
    for (std::string_view a : args) {
      joined += std::string(a) + " ";
    }
    EXPECT_NE(r.error, "") << joined;
    const auto control = std::find_if(r.error.begin(), r.error.end(),
                                      [](unsigned char c) { return c < 0x20 || c == 0x7f; });
    EXPECT_EQ(control, r.error.end()) << joined;
  }
  const std::string shown = ParseOptions({"--seed", "1\n\\"}).error;
  EXPECT_TRUE(shown.ends_with(", not '1\\n\\\\'")) << shown;
}

// The default help shows for an option, given explicitly, leaves the options as leaving it out
// does; a default in words says what happens without the option.
TEST(Options, HelpHasALineWithTheDefaultForEveryAcceptedOption) {
  const std::string help = HelpText();
  const auto fields = [](const Options& o) {
    return std::tie(o.seed, o.runs, o.matches, o.maxFrames, o.width, o.height, o.trace, o.csv,
                    o.histogram, o.gif, o.gifEvery, o.jsonSummary, o.jobs, o.pool);
  };
  const Options unset = ParseOptions({}).options;
  for (const Option<Options>& option : RunnerOptions()) {
    const std::string flag(option.name);
    const std::size_t line = help.find("\n  " + flag);
    ASSERT_NE(line, std::string::npos) << flag;
    const std::string text = help.substr(line + 1, help.find('\n', line + 1) - line - 1);
    EXPECT_LE(text.size(), 80u) << text;
    const ParseResult alone = ParseOptions({option.name});
    if (option.value.empty()) {
      EXPECT_EQ(alone.error, "") << flag;
      continue;
    }
    EXPECT_EQ(alone.error, flag + " needs a value");
    constexpr std::string_view kDefault = "(default: ";
    const std::size_t at = text.find(kDefault);
    ASSERT_NE(at, std::string::npos) << text;
    const std::string shown =
        text.substr(at + kDefault.size(), text.rfind(')') - at - kDefault.size());
    if (shown.find(' ') != std::string::npos || shown == "none" || flag == "--pool") {
      continue;
    }
    const ParseResult given = ParseOptions({option.name, shown});
    ASSERT_EQ(given.error, "") << text;
    EXPECT_EQ(fields(given.options), fields(unset)) << text;
  }
  EXPECT_TRUE(ParseOptions({"--version"}).options.version);
  EXPECT_FALSE(ParseOptions({"--version"}).options.help);
  EXPECT_TRUE(ParseOptions({"-h"}).options.help);
}

// The manual lists the same options in the same order, each with the default help gives it.
TEST(Options, ManualListsEveryOptionWithItsDefault) {
  std::ifstream file(QUARROW_SOURCE_DIR "/data/man/quarrow-sim.6.in");
  ASSERT_TRUE(file) << "cannot read the manual";
  std::vector<std::string> names;
  std::vector<std::string> defaults;
  bool inOptions = false;
  for (std::string line; std::getline(file, line);) {
    if (line.starts_with(".SH")) {
      inOptions = line == ".SH OPTIONS";
    } else if (inOptions && line.starts_with(".B") && line.find("\\-\\-") != std::string::npos) {
      std::string name = line.substr(line.find(' ') + 1);
      name = name.substr(0, name.find(' '));
      std::erase(name, '\\');
      names.push_back(name);
      defaults.emplace_back();
    } else if (inOptions && line.starts_with("Default: ") && !defaults.empty()) {
      defaults.back() = line.substr(9);
    }
  }
  std::vector<std::string> expectedNames;
  for (const Option<Options>& option : RunnerOptions()) {
    expectedNames.emplace_back(option.name);
    const std::size_t k = expectedNames.size() - 1;
    if (k < defaults.size() && !option.byDefault.empty()) {
      const std::string rest =
          defaults[k].substr(std::min(defaults[k].size(), option.byDefault.size()));
      EXPECT_TRUE(defaults[k].starts_with(option.byDefault) &&
                  (rest == "." || rest.starts_with(" ")))
          << option.name << ": " << defaults[k];
    }
  }
  EXPECT_EQ(names, expectedNames);
}

}  // namespace
}  // namespace quarrow::runner
