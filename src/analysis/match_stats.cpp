#include "analysis/match_stats.h"

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstdio>

#include "analysis/match_csv.h"
#include "text/number_text.h"

namespace quarrow::analysis {
namespace {

// The two-sided 95 % point of the standard normal distribution.
constexpr double kZ95 = 1.959963984540054;

// total / count (count > 0) to one decimal, as printf would round the exact quotient: a double
// holds the mean of frames near the longest a run can write only to within hundreds.
std::string MeanText(Total total, std::int64_t count) {
  Total whole = total / count;
  const Total tenths = total % count * 10;
  int digit = static_cast<int>(tenths / count);
  const Total twiceRest = tenths % count * 2;
  if (twiceRest > count || (twiceRest == count && digit % 2 == 1)) {
    ++digit;
  }
  if (digit == 10) {
    ++whole;
    digit = 0;
  }
  return TotalText(whole) + "." + std::to_string(digit);
}

}  // namespace

std::string TotalText(Total total) {
  // A total is never below 0: it sums frames and counts.
  std::string digits;
  do {
    digits.insert(digits.begin(), static_cast<char>('0' + static_cast<int>(total % 10)));
    total /= 10;
  } while (total > 0);
  return digits;
}

void AddMatch(RunStats& stats, const MatchResult& result, const CountRow& row) {
  if (result.winner == 0) {
    ++stats.stalls;
  } else {
    ++stats.wins[result.winner];
  }
  if (result.frames < RunStats::kShortFrames) {
    const auto at = static_cast<std::size_t>(result.frames);
    if (at >= stats.shortFrames.size()) {
      stats.shortFrames.resize(at + 1);
    }
    ++stats.shortFrames[at];
  } else {
    ++stats.longFrames[result.frames];
  }
  for (std::size_t k = 0; k < kCountColumns; ++k) {
    stats.countTotals[k] += row[k];
  }
}

Interval WilsonInterval(std::int64_t successes, std::int64_t trials) {
  const double n = static_cast<double>(trials);
  const double p = static_cast<double>(successes) / n;
  const double z2 = kZ95 * kZ95;
  const double scale = 1 + z2 / n;
  const double centre = (p + z2 / (2 * n)) / scale;
  const double half = kZ95 / scale * std::sqrt(p * (1 - p) / n + z2 / (4 * n * n));
  return Interval{std::max(0.0, centre - half), std::min(1.0, centre + half)};
}

std::int64_t NearestRank(const FrameTally& tally, std::int64_t matches, int percent) {
  // The rank ceil(percent / 100 * matches), in integers that cannot overflow, and never below the
  // first.
  const std::int64_t rank =
      std::max<std::int64_t>(1, matches / 100 * percent + (matches % 100 * percent + 99) / 100);
  std::int64_t below = 0;
  for (const auto& [frames, count] : tally) {
    below += count;
    if (below >= rank) {
      return frames;
    }
  }
  return tally.rbegin()->first;
}

Summary Summarize(const RunStats& stats, const RunConditions& conditions, std::uint32_t seed,
                  std::uint32_t lastSeed, std::int64_t runs) {
  Summary s;
  s.conditions = conditions;
  s.seed = seed;
  s.lastSeed = lastSeed;
  s.runs = runs;
  s.frameTally = stats.longFrames;
  for (std::size_t frames = 0; frames < stats.shortFrames.size(); ++frames) {
    if (stats.shortFrames[frames] > 0) {
      s.frameTally.emplace(frames, stats.shortFrames[frames]);
    }
  }
  for (const auto& [frames, count] : s.frameTally) {
    s.matches += count;
    s.frames += Total{frames} * count;
  }
  s.stalls = stats.stalls;
  s.wins = stats.wins;
  if (s.Decided() > 0) {
    for (int t = 1; t <= kTeamCount; ++t) {
      s.share[t] = static_cast<double>(s.wins[t]) / static_cast<double>(s.Decided());
      s.interval[t] = WilsonInterval(s.wins[t], s.Decided());
    }
  }
  if (s.matches == 0) {
    return s;
  }
  const double matches = static_cast<double>(s.matches);
  s.meanFrames = static_cast<double>(s.frames) / matches;
  s.medianFrames = NearestRank(s.frameTally, s.matches, 50);
  s.p90Frames = NearestRank(s.frameTally, s.matches, 90);
  s.p99Frames = NearestRank(s.frameTally, s.matches, 99);
  s.maxFrames = s.frameTally.rbegin()->first;
  for (std::size_t k = 0; k < kCountColumns; ++k) {
    s.countMeans[k] = static_cast<double>(stats.countTotals[k]) / matches;
  }
  return s;
}

std::string SeedsText(const Summary& s) {
  if (s.runs == 1) {
    return "seed " + std::to_string(s.seed);
  }
  const std::string range = std::to_string(s.seed) + " to " + std::to_string(s.lastSeed);
  if (s.lastSeed - s.seed + std::int64_t{1} == s.runs) {
    return "seeds " + range;
  }
  return std::to_string(s.runs) + " seeds from " + range;
}

std::string ConditionsText(const RunConditions& c) {
  return "court " + std::to_string(c.width) + "x" + std::to_string(c.height) + ", stall limit " +
         std::to_string(c.maxFrames) + " frames";
}

std::string SummaryText(const Summary& s, double framesPerSecond) {
  std::string out;
  if (s.runs > 1) {
    out += SeedsText(s) + ", ";
  }
  AppendFormat(out, "matches %lld, frames %s, team 1 won %lld, team 2 won %lld, stalls %lld",
               static_cast<long long>(s.matches), TotalText(s.frames).c_str(),
               static_cast<long long>(s.wins[1]), static_cast<long long>(s.wins[2]),
               static_cast<long long>(s.stalls));
  if (framesPerSecond >= 0) {
    AppendFormat(out, ", %.0f frames per second", framesPerSecond);
  }
  out += s.interrupted ? ", interrupted\n" : "\n";
  out += ConditionsText(s.conditions) + "\n";
  if (s.matches == 0) {
    out += "no match finished\n";
    return out;
  }
  if (s.Decided() == 0) {
    out += "share of decided matches: no match was decided\n";
  } else {
    out += "share of decided matches, 95 % Wilson interval:\n";
    for (int t = 1; t <= kTeamCount; ++t) {
      AppendFormat(out, "  team %d  %6.2f %%  %6.2f %% to %6.2f %%\n", t, 100 * s.share[t],
                   100 * s.interval[t].low, 100 * s.interval[t].high);
    }
  }
  AppendFormat(out,
               "frames per match (nearest rank):\n"
               "  mean %s  median %lld  p90 %lld  p99 %lld  max %lld\n",
               MeanText(s.frames, s.matches).c_str(), static_cast<long long>(s.medianFrames),
               static_cast<long long>(s.p90Frames), static_cast<long long>(s.p99Frames),
               static_cast<long long>(s.maxFrames));
  out += "mean per match         all   team 1   team 2\n";
  std::size_t k = 0;
  for (const CountField& field : kCountFields) {
    const auto name = static_cast<int>(field.name.size());
    if (field.whole != nullptr) {
      AppendFormat(out, "  %-14.*s %8.2f\n", name, field.name.data(), s.countMeans[k]);
      k += 1;
      continue;
    }
    static_assert(kTeamCount == 2, "the table has a column for each of two teams");
    AppendFormat(out, "  %-14.*s %8.2f %8.2f %8.2f\n", name, field.name.data(),
                 s.countMeans[k] + s.countMeans[k + 1], s.countMeans[k], s.countMeans[k + 1]);
    k += kTeamCount;
  }
  return out;
}

std::string SummaryJson(const Summary& s, double framesPerSecond) {
  std::string out;
  AppendFormat(out, "{\"seed\": %u, ", s.seed);
  if (s.runs > 1) {
    AppendFormat(out, "\"runs\": %lld, \"last_seed\": %u, ", static_cast<long long>(s.runs),
                 s.lastSeed);
  }
  AppendFormat(out, "\"width\": %lld, \"height\": %lld, \"max_frames\": %lld, ",
               static_cast<long long>(s.conditions.width),
               static_cast<long long>(s.conditions.height),
               static_cast<long long>(s.conditions.maxFrames));
  AppendFormat(out, "\"matches\": %lld, \"frames\": %s, \"stalls\": %lld, ",
               static_cast<long long>(s.matches), TotalText(s.frames).c_str(),
               static_cast<long long>(s.stalls));
  if (s.interrupted) {
    out += "\"interrupted\": true, ";
  }
  out += "\"teams\": [";
  // Shares of no decided match do not exist.
  const auto share = [&](std::string_view key, double v) {
    AppendFormat(out, ", \"%.*s\": ", static_cast<int>(key.size()), key.data());
    if (s.Decided() > 0) {
      AppendShortest(out, v);
    } else {
      out += "null";
    }
  };
  for (int t = 1; t <= kTeamCount; ++t) {
    AppendFormat(out, "%s{\"team\": %d, \"wins\": %lld", t == 1 ? "" : ", ", t,
                 static_cast<long long>(s.wins[t]));
    share("share", s.share[t]);
    share("low", s.interval[t].low);
    share("high", s.interval[t].high);
    out += '}';
  }
  if (s.matches == 0) {
    out += "], \"frames_per_match\": null, \"means\": null, \"frames_per_second\": ";
    AppendShortest(out, std::round(framesPerSecond));
    out += "}\n";
    return out;
  }
  out += "], \"frames_per_match\": {\"mean\": ";
  AppendShortest(out, s.meanFrames);
  AppendFormat(out, ", \"median\": %lld, \"p90\": %lld, \"p99\": %lld, \"max\": %lld}",
               static_cast<long long>(s.medianFrames), static_cast<long long>(s.p90Frames),
               static_cast<long long>(s.p99Frames), static_cast<long long>(s.maxFrames));
  out += ", \"means\": {";
  for (std::size_t k = 0; k < kCountColumns; ++k) {
    AppendFormat(out, "%s\"%s\": ", k == 0 ? "" : ", ",
                 CsvColumns()[kFirstCountColumn + k].name.c_str());
    AppendShortest(out, s.countMeans[k]);
  }
  out += "}, \"frames_per_second\": ";
  if (framesPerSecond >= 0) {
    AppendShortest(out, std::round(framesPerSecond));
  } else {
    out += "null";
  }
  out += "}\n";
  return out;
}

void AppendFormat(std::string& out, const char* format, ...) {
  std::va_list args;
  va_start(args, format);
  std::va_list again;
  va_copy(again, args);
  const int length = std::vsnprintf(nullptr, 0, format, args);
  va_end(args);
  if (length > 0) {
    const std::size_t start = out.size();
    out.resize(start + static_cast<std::size_t>(length) + 1);
    std::vsnprintf(out.data() + start, static_cast<std::size_t>(length) + 1, format, again);
    out.resize(start + static_cast<std::size_t>(length));
  }
  va_end(again);
}

}  // namespace quarrow::analysis
