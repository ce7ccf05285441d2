#include "web/page_address.h"

#include <charconv>
#include <optional>

#include "text/escaped.h"

namespace quarrow {
namespace {

int HexDigit(char c) {
  if (c >= '0' && c <= '9') {
    return c - '0';
  }
  if (c >= 'a' && c <= 'f') {
    return c - 'a' + 10;
  }
  return c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
}

// "+" is a space and %XX a byte; a "%" without two hex digits stays itself, as browsers keep it.
std::string FormDecoded(std::string_view text) {
  std::string out;
  for (std::size_t k = 0; k < text.size(); ++k) {
    if (text[k] == '+') {
      out += ' ';
    } else if (text[k] == '%' && k + 2 < text.size() && HexDigit(text[k + 1]) >= 0 &&
               HexDigit(text[k + 2]) >= 0) {
      out += static_cast<char>(HexDigit(text[k + 1]) * 16 + HexDigit(text[k + 2]));
      k += 2;
    } else {
      out += text[k];
    }
  }
  return out;
}

// The value of the first pair that names name, as URLSearchParams.get gives it.
std::optional<std::string> FirstValue(std::string_view search, std::string_view name) {
  if (search.starts_with('?')) {
    search.remove_prefix(1);
  }
  for (;;) {
    const std::size_t amp = search.find('&');
    const std::string_view pair = search.substr(0, amp);
    const std::size_t equals = pair.find('=');
    if (!pair.empty() && FormDecoded(pair.substr(0, equals)) == name) {
      return FormDecoded(equals == std::string_view::npos ? "" : pair.substr(equals + 1));
    }
    if (amp == std::string_view::npos) {
      return std::nullopt;
    }
    search.remove_prefix(amp + 1);
  }
}

// One to twelve digits: more could not be a seed, and no one plays on to a match past them.
std::optional<std::int64_t> Whole(std::string_view text) {
  std::int64_t value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || text.size() > 12 || text.front() == '-' || ec != std::errc{} ||
      end != text.data() + text.size()) {
    return std::nullopt;
  }
  return value;
}

// The first 24 characters of what was asked, quoted safely.
std::string Shown(std::string_view text) {
  std::size_t characters = 0;
  for (std::size_t k = 0; k < text.size(); ++k) {
    // A character starts at every byte that does not continue one.
    if ((static_cast<unsigned char>(text[k]) & 0xc0) != 0x80 && ++characters > 24) {
      return Escaped(text.substr(0, k)) + "\xe2\x80\xa6";
    }
  }
  return Escaped(text);
}

PageRun FromClock(std::string problem) {
  return {false, 0, 1, std::move(problem)};
}

}  // namespace

PageRun ReadPageAddress(std::string_view search) {
  const std::optional<std::string> seedText = FirstValue(search, "seed");
  const std::optional<std::string> matchText = FirstValue(search, "match");
  if (!seedText) {
    return FromClock(matchText ? "A match number needs a seed: playing from the clock." : "");
  }
  const std::optional<std::int64_t> seed = Whole(*seedText);
  if (!seed || *seed > 4294967295) {
    return FromClock("The seed \"" + Shown(*seedText) +
                     "\" is not a whole number from 0 to 4294967295: playing from the clock.");
  }
  std::optional<std::int64_t> match = 1;
  if (matchText) {
    match = Whole(*matchText);
    if (!match || *match < 1) {
      return FromClock("The match \"" + Shown(*matchText) +
                       "\" is not a whole number from 1: playing from the clock.");
    }
  }
  return {true, static_cast<std::uint32_t>(*seed), *match, ""};
}

}  // namespace quarrow
