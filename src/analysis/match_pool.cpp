#include "analysis/match_pool.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string_view>

#include "analysis/match_csv.h"
#include "text/escaped.h"

namespace quarrow::analysis {
namespace {

// Our rows are short; a longer line is someone else's.
constexpr std::size_t kLongestLine = 4096;
constexpr std::size_t kChunk = std::size_t{1} << 20;

// Consecutive matches of one seed on consecutive lines of one file: what a run writes. Kept
// instead of every row, so that finding repeats takes little memory.
struct Stretch {
  std::uint32_t seed = 0;
  std::int64_t firstMatch = 0;
  std::int64_t lastMatch = 0;
  std::uint32_t file = 0;
  std::int64_t firstLine = 0;

  std::int64_t LineOf(std::int64_t match) const { return firstLine + (match - firstMatch); }
};

template <typename T>
bool ReadField(std::string_view& rest, T low, T high, T& out) {
  const char* end = rest.data() + rest.size();
  const auto [stop, ec] = std::from_chars(rest.data(), end, out);
  if (ec != std::errc{} || stop == rest.data() || out < low || out > high ||
      (stop != end && *stop != ',')) {
    return false;
  }
  rest.remove_prefix(static_cast<std::size_t>(stop - rest.data()) + (stop != end));
  return true;
}

class PoolReader {
 public:
  PoolReader(const std::vector<std::string>& files,
             const std::function<void(const MatchResult&, const CountRow&)>& onMatch)
      : files_(files), onMatch_(onMatch) {
    AppendCsvHeader(header_);
    header_.pop_back();
  }

  PoolSeeds Read() {
    for (std::size_t k = 0; k < files_.size(); ++k) {
      ReadFile(static_cast<std::uint32_t>(k));
    }
    return CheckRepeats();
  }

 private:
  [[noreturn]] void Refuse(std::uint32_t file, std::int64_t line, const std::string& why) const {
    std::string where = Escaped(files_[file]);
    if (line > 0) {
      where += ":" + std::to_string(line);
    }
    throw PoolRefused{where + ": " + why};
  }

  void ReadFile(std::uint32_t file) {
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> in(std::fopen(files_[file].c_str(), "rb"),
                                                             &std::fclose);
    if (in == nullptr) {
      Refuse(file, 0, std::string("cannot read: ") + std::strerror(errno));
    }
    std::string data;
    std::size_t start = 0;  // of the first line not yet taken
    std::int64_t line = 0;
    for (;;) {
      data.erase(0, start);
      start = 0;
      const std::size_t kept = data.size();
      data.resize(kept + kChunk);
      const std::size_t got = std::fread(data.data() + kept, 1, kChunk, in.get());
      data.resize(kept + got);
      if (got == 0) {
        if (std::ferror(in.get()) != 0) {
          Refuse(file, 0, std::string("cannot read: ") + std::strerror(errno));
        }
        break;
      }
      for (std::size_t end; (end = data.find('\n', start)) != std::string::npos; start = end + 1) {
        TakeLine(file, ++line, std::string_view(data).substr(start, end - start));
      }
      if (data.size() - start > kLongestLine) {
        Refuse(file, line + 1, "not a CSV of quarrow-sim (a line too long)");
      }
    }
    if (start < data.size()) {
      Refuse(file, line + 1, "torn row (no line end)");
    }
    if (line == 0) {
      Refuse(file, 0, "empty, not a CSV of quarrow-sim");
    }
  }

  void TakeLine(std::uint32_t file, std::int64_t line, std::string_view text) {
    if (line == 1) {
      if (text != header_) {
        Refuse(file, 1, "not a CSV of quarrow-sim (its header is not '" + header_ + "')");
      }
      return;
    }
    constexpr std::int64_t kMost = std::numeric_limits<std::int64_t>::max();
    std::int64_t match = 0;
    MatchResult result;
    CountRow counts{};
    std::uint32_t seed = 0;
    std::string_view rest = text;
    bool ok = ReadField<std::int64_t>(rest, 1, kMost, match) &&
              ReadField<std::int64_t>(rest, 1, kMost, result.frames) &&
              ReadField<std::int16_t>(rest, 0, kTeamCount, result.winner);
    for (std::size_t k = 0; ok && k < kCountColumns; ++k) {
      ok = ReadField<std::int32_t>(rest, 0, std::numeric_limits<std::int32_t>::max(), counts[k]);
    }
    ok = ok && ReadField<std::uint32_t>(rest, 0, std::numeric_limits<std::uint32_t>::max(), seed);
    if (!ok || !rest.empty() || text.back() == ',') {
      Refuse(file, line, "torn or foreign row '" + Escaped(text.substr(0, 80)) + "'");
    }
    Stretch* last = stretches_.empty() ? nullptr : &stretches_.back();
    if (last != nullptr && last->file == file && last->seed == seed &&
        last->lastMatch + 1 == match && last->LineOf(match) == line) {
      last->lastMatch = match;
    } else {
      stretches_.push_back({seed, match, match, file, line});
    }
    onMatch_(result, counts);
  }

  // Every match once, or the pool is refused at the later of two rows that repeat one.
  PoolSeeds CheckRepeats() {
    std::sort(stretches_.begin(), stretches_.end(), [](const Stretch& a, const Stretch& b) {
      return a.seed != b.seed ? a.seed < b.seed : a.firstMatch < b.firstMatch;
    });
    PoolSeeds seeds;
    const Stretch* reach = nullptr;  // of this seed so far, the one reaching the highest match
    for (const Stretch& s : stretches_) {
      if (reach == nullptr || reach->seed != s.seed) {
        seeds.lowest = seeds.distinct == 0 ? s.seed : seeds.lowest;
        seeds.highest = s.seed;
        ++seeds.distinct;
      } else if (s.firstMatch <= reach->lastMatch) {
        const std::int64_t match = s.firstMatch;
        const Stretch* later = &s;
        const Stretch* earlier = reach;
        if (std::pair(reach->file, reach->LineOf(match)) > std::pair(s.file, s.firstLine)) {
          std::swap(later, earlier);
        }
        Refuse(later->file, later->LineOf(match),
               "seed " + std::to_string(s.seed) + " match " + std::to_string(match) +
                   " comes twice, also at " + Escaped(files_[earlier->file]) + ":" +
                   std::to_string(earlier->LineOf(match)));
      }
      if (reach == nullptr || reach->seed != s.seed || s.lastMatch > reach->lastMatch) {
        reach = &s;
      }
    }
    return seeds;
  }

  const std::vector<std::string>& files_;
  const std::function<void(const MatchResult&, const CountRow&)>& onMatch_;
  std::string header_;
  std::vector<Stretch> stretches_;
};

}  // namespace

PoolSeeds ReadPool(const std::vector<std::string>& files,
                   const std::function<void(const MatchResult&, const CountRow&)>& onMatch) {
  return PoolReader(files, onMatch).Read();
}

}  // namespace quarrow::analysis
