#pragma once

// A program's command-line options as one table: the parser, --help and the tests that hold the
// manual to them all read the same rows, so an option cannot be added to one and missed in another.

#include <algorithm>
#include <charconv>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

#include "text/escaped.h"

namespace quarrow {

template <typename Options>
struct Option {
  std::string_view name;   // "--seed"
  std::string_view alias;  // another spelling, such as "-h"; empty for none
  std::string_view value;  // the value's placeholder in help; empty for a switch
  std::string_view help;   // what the option does
  std::string range;       // the values taken, as help shows them; empty for a switch
  std::string needs;       // what a refused value is told it needs
  std::string byDefault;   // the value without the option, as help and the manual show it
  // Takes the value into the options; false refuses it. A switch is given an empty value.
  std::function<bool(Options&, std::string_view)> take;
};

template <typename Options>
using OptionTable = std::vector<Option<Options>>;

// A whole number from low to high into a field, refused when anything else is written.
template <typename Options, typename T, typename Field>
std::function<bool(Options&, std::string_view)> TakeWhole(Field field, T low, T high) {
  return [field, low, high](Options& options, std::string_view text) {
    T value{};
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc{} || end != text.data() + text.size() || value < low || value > high) {
      return false;
    }
    options.*field = value;
    return true;
  };
}

// The top of a whole number with no limit worth naming: half the range, so that such counts stay
// far from overflow when added up. Help shows only its lower end.
inline constexpr std::int64_t kMaxCount = std::numeric_limits<std::int64_t>::max() / 2;

// A whole-number option from low to high: help shows the range, a refusal the same.
template <typename Options, typename T, typename Field>
Option<Options> Whole(std::string_view name, std::string_view value, std::string_view help,
                      Field field, T low, T high, std::string byDefault) {
  const std::string from = std::to_string(low);
  return {name,
          {},
          value,
          help,
          high == kMaxCount ? "from " + from : from + " to " + std::to_string(high),
          "a whole number from " + from + " to " + std::to_string(high),
          std::move(byDefault),
          TakeWhole<Options>(field, low, high)};
}

template <typename Options>
Option<Options> Switch(std::string_view name, std::string_view alias, std::string_view help,
                       bool Options::*field) {
  return {name, alias, {}, help, {}, {}, {}, [field](Options& o, std::string_view) {
            o.*field = true;
            return true;
          }};
}

// A usage line and a description, then a line per option: name, placeholder, help, range, default.
template <typename Options>
std::string HelpText(std::string_view intro, const OptionTable<Options>& table) {
  std::string text(intro);
  text += "\n";
  for (const Option<Options>& option : table) {
    std::string left = "  " + std::string(option.name);
    if (!option.alias.empty()) {
      left += ", " + std::string(option.alias);
    }
    if (!option.value.empty()) {
      left += " " + std::string(option.value);
    }
    left.resize(std::max<std::size_t>(left.size() + 2, 20), ' ');
    std::string line = left + std::string(option.help);
    if (!option.range.empty()) {
      line += ", " + option.range;
    }
    if (!option.byDefault.empty()) {
      line += " (default: " + option.byDefault + ")";
    }
    text += line + "\n";
  }
  return text;
}

// The row for an argument, by name or alias; table.end() when none has it.
template <typename Options>
auto FindOption(const OptionTable<Options>& table, std::string_view argument) {
  return std::find_if(table.begin(), table.end(), [&](const Option<Options>& o) {
    return o.name == argument || (!o.alias.empty() && o.alias == argument);
  });
}

// Takes every argument into options; returns what is wrong with the first bad one, or an empty
// string when all were good.
template <typename Options>
std::string ParseArguments(const OptionTable<Options>& table,
                           const std::vector<std::string_view>& args, Options& options) {
  for (std::size_t k = 0; k < args.size(); ++k) {
    const std::string_view name = args[k];
    const auto row = FindOption(table, name);
    if (row == table.end()) {
      return "unknown argument '" + Escaped(name) + "'";
    }
    if (row->value.empty()) {
      row->take(options, {});
      continue;
    }
    if (k + 1 >= args.size()) {
      return std::string(row->name) + " needs a value";
    }
    const std::string_view value = args[++k];
    if (!row->take(options, value)) {
      return std::string(row->name) + " needs " + row->needs + ", not '" + Escaped(value) + "'";
    }
  }
  return {};
}

}  // namespace quarrow
