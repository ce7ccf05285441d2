#include "play/run.h"

#include <algorithm>
#include <charconv>
#include <limits>

#include "play/pace.h"
#include "sim/frame.h"
#include "text/escaped.h"
#include "text/option_table.h"

namespace quarrow {
namespace {

template <typename T>
std::optional<T> WholeIn(std::string_view text, T low, T high) {
  T value{};
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc{} || end != text.data() + text.size() || value < low || value > high) {
    return std::nullopt;
  }
  return value;
}

// An address's value as the browser would show it: %XX and + decoded.
std::string Decoded(std::string_view text) {
  std::string out;
  for (std::size_t k = 0; k < text.size(); ++k) {
    unsigned value = 0;
    if (text[k] == '+') {
      out += ' ';
    } else if (text[k] == '%' && k + 2 < text.size() &&
               std::from_chars(text.data() + k + 1, text.data() + k + 3, value, 16).ptr ==
                   text.data() + k + 3) {
      out += static_cast<char>(value);
      k += 2;
    } else {
      out += text[k];
    }
  }
  return out;
}

// A value quoted in a refusal: long ones cut, never inside a character, and escaped, since a
// link can carry a line break or a control that reorders the line.
std::string Shown(const std::string& text) {
  constexpr std::size_t kShown = 24;
  if (text.size() <= kShown) {
    return Escaped(text);
  }
  std::size_t cut = kShown;
  while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) {
    --cut;
  }
  return Escaped(text.substr(0, cut)) + "\u2026";
}

std::string CourtText(CourtSize court) {
  return std::to_string(court.width) + "x" + std::to_string(court.height);
}

}  // namespace

std::optional<CourtSize> ParseCourt(std::string_view text) {
  const std::size_t x = text.find('x');
  if (x == std::string_view::npos) {
    return std::nullopt;
  }
  const auto width = WholeIn(text.substr(0, x), kMinCourtWidth, kMaxCourtSide);
  const auto height = WholeIn(text.substr(x + 1), 1, kMaxCourtSide);
  if (!width || !height) {
    return std::nullopt;
  }
  return CourtSize{*width, *height};
}

std::string CourtNeeds() {
  return "WIDTHxHEIGHT, " + std::to_string(kMinCourtWidth) + " to " +
         std::to_string(kMaxCourtSide) + " by 1 to " + std::to_string(kMaxCourtSide);
}

RunAddress ReadAddress(std::string_view query) {
  if (query.starts_with('?')) {
    query.remove_prefix(1);
  }
  std::optional<std::string> seedText, matchText, courtText;
  while (!query.empty()) {
    const std::size_t amp = query.find('&');
    const std::string_view pair = query.substr(0, amp);
    query = amp == std::string_view::npos ? std::string_view{} : query.substr(amp + 1);
    const std::size_t eq = pair.find('=');
    const std::string name = Decoded(pair.substr(0, eq));
    const std::string value =
        eq == std::string_view::npos ? std::string{} : Decoded(pair.substr(eq + 1));
    // The first of a name counts, as URLSearchParams.get finds it.
    std::optional<std::string>* field = name == "seed"    ? &seedText
                                        : name == "match" ? &matchText
                                        : name == "court" ? &courtText
                                                          : nullptr;
    if (field != nullptr && !*field) {
      *field = value;
    }
  }
  RunAddress address;
  if (courtText) {
    if (const auto court = ParseCourt(*courtText)) {
      address.court = *court;
    } else {
      address.problem = "The court \"" + Shown(*courtText) + "\" is not " + CourtNeeds() +
                        ": playing on " + CourtText(kStandardCourt) + ". ";
    }
  }
  const auto clock = [&](const std::string& why) {
    address.problem += why + ": playing from the clock.";
    return address;
  };
  if (!seedText) {
    return matchText ? clock("A match number needs a seed") : address;
  }
  constexpr auto kMaxSeed = std::numeric_limits<std::uint32_t>::max();
  const auto seed = WholeIn(*seedText, std::uint32_t{0}, kMaxSeed);
  if (!seed) {
    return clock("The seed \"" + Shown(*seedText) + "\" is not a whole number from 0 to " +
                 std::to_string(kMaxSeed));
  }
  if (matchText) {
    const auto match = WholeIn(*matchText, std::int64_t{1}, kMaxCount);
    if (!match) {
      return clock("The match \"" + Shown(*matchText) + "\" is not a whole number from 1 to " +
                   std::to_string(kMaxCount));
    }
    address.match = *match;
  }
  address.seed = seed;
  if (!address.problem.empty()) {
    address.problem.pop_back();
  }
  return address;
}

std::string SeedLine(std::int64_t match, std::uint32_t seed, bool seededRun) {
  const std::string number = "match " + std::to_string(match);
  return seededRun ? number + " of seed " + std::to_string(seed)
                   : number + ": seed " + std::to_string(seed);
}

std::string ShareLink(std::int64_t match, std::uint32_t seed, bool seededRun, CourtSize court) {
  std::string link = "?seed=" + std::to_string(seed);
  if (seededRun) {
    link += "&match=" + std::to_string(match);
  }
  if (court.width != kStandardCourt.width || court.height != kStandardCourt.height) {
    link += "&court=" + CourtText(court);
  }
  return link;
}

PlayOn PlayOnTo(std::uint32_t seed, std::int64_t target) {
  PlayOn on;
  on.seed = seed;
  on.target = target;
  return on;
}

bool PlayOnFrames(PlayOn& on, std::int64_t frames) {
  while (frames > 0 && on.match < on.target) {
    if (!on.setUp) {
      InitGame();
      on.frames = 0;
      on.setUp = true;
    }
    // As PlayMatch runs a match: a winner is looked for after every frame.
    const std::int64_t run = std::min(frames, kStallFrames - on.frames);
    std::int16_t winner = 0;
    std::int64_t k = 0;
    while (k < run && winner == 0) {
      detail::CallAdvanceFrame();
      ++k;
      winner = Winner();
    }
    on.frames += k;
    frames -= k;
    if (winner != 0 || on.frames >= kStallFrames) {
      if (winner == 0) {
        on.stalled.push_back(on.match);
      }
      ++on.match;
      on.setUp = false;
    }
  }
  return on.match >= on.target;
}

bool PlayOnSlice(PlayOn& on, double (*clock)(), double sliceMs) {
  double now = clock();
  if (on.startMs < 0) {
    on.startMs = now;
    on.saidMs = now;
  }
  const double sliceEnd = now + sliceMs;
  bool done = false;
  do {
    done = PlayOnFrames(on, kSliceFrames);
    now = clock();
  } while (!done && now < sliceEnd);
  if (done) {
    return true;
  }
  const double elapsed = now - on.startMs;
  if (!on.judged && elapsed >= kPlayOnMeasureMs) {
    on.judged = true;
    // Matches vary in length, so the speed is that of whole matches, at least one.
    const double played = static_cast<double>(std::max<std::int64_t>(1, on.match - 1));
    const double rest = static_cast<double>(on.target - on.match);
    if (rest * elapsed / played > kPlayOnLimitMs) {
      const auto reach = static_cast<std::int64_t>(played * kPlayOnLimitMs / elapsed) + 1;
      on.refusal = "Match " + std::to_string(on.target) + " of seed " + std::to_string(on.seed) +
                   " is further than this machine plays on to in about " +
                   std::to_string(static_cast<long long>(kPlayOnLimitMs / 60'000)) +
                   " minutes: match " + std::to_string(reach) + " at most";
      return true;
    }
  }
  if (now - on.saidMs >= kProgressIntervalMs) {
    on.saidMs = now;
    on.news = "Playing on to match " + std::to_string(on.target) + " of seed " +
              std::to_string(on.seed) + ": at match " + std::to_string(on.match) + "\u2026";
  }
  return false;
}

}  // namespace quarrow
