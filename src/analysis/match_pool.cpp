#include "analysis/match_pool.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#ifndef __EMSCRIPTEN__
#include <poll.h>
#endif

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <utility>

#include "analysis/match_stats.h"
#include "text/escaped.h"

namespace quarrow::analysis {
namespace {

// Our rows are short; a longer line is someone else's, wherever it sits in the file.
constexpr std::size_t kLongestLine = 4096;
constexpr std::size_t kChunk = std::size_t{1} << 20;
// The digits of the largest value a column can hold, 2^63 - 1, so that a number read never wraps.
constexpr std::ptrdiff_t kMostDigits = 19;

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

}  // namespace

struct PoolReader::State {
  const std::array<CsvColumn, kCsvColumns>& table = CsvColumns();
  CsvLimits limits;
  OnPooledMatch onMatch;
  std::array<std::uint64_t, kCsvColumns> low{}, high{};
  std::string header, headerWithoutConditions;
  std::vector<std::string> files;
  // Of the file being read: lines taken, columns its header names, a line not yet ended.
  std::int64_t line = 0;
  std::size_t columns = 0;
  std::string pending;
  // The conditions of the first row, which every other row must share, and where it is.
  RunConditions conditions;
  std::uint32_t conditionsFile = 0;
  std::int64_t conditionsLine = 0;
  std::vector<Stretch> stretches;

  std::uint32_t File() const { return static_cast<std::uint32_t>(files.size() - 1); }
  std::string Where(std::uint32_t file, std::int64_t at) const {
    return Escaped(files[file]) + (at > 0 ? ":" + std::to_string(at) : "");
  }
  [[noreturn]] void Refuse(std::int64_t at, const std::string& why) const {
    throw PoolRefused{Where(File(), at) + ": " + why};
  }

  void TakeLine(std::string_view text);
  void TakeRow(std::string_view text);
  [[noreturn]] void RefuseField(std::size_t k, const char* start, std::string_view text) const;
  PoolSeeds CheckRepeats() const;
};

PoolReader::PoolReader(const CsvLimits& limits, OnPooledMatch onMatch)
    : state_(std::make_unique<State>()) {
  State& s = *state_;
  s.limits = limits;
  s.onMatch = std::move(onMatch);
  for (std::size_t k = 0; k < kCsvColumns; ++k) {
    s.low[k] = static_cast<std::uint64_t>(s.table[k].Of(limits.lowest));
    s.high[k] = static_cast<std::uint64_t>(s.table[k].Of(limits.highest));
  }
  AppendCsvHeader(s.header);
  s.header.pop_back();
  AppendCsvHeader(s.headerWithoutConditions, kColumnsWithoutConditions);
  s.headerWithoutConditions.pop_back();
}

PoolReader::~PoolReader() = default;

void PoolReader::StartFile(std::string name) {
  state_->files.push_back(std::move(name));
  state_->line = 0;
  state_->pending.clear();
}

void PoolReader::RefuseFile(const std::string& why) const {
  state_->Refuse(0, why);
}

void PoolReader::Take(std::string_view bytes) {
  State& s = *state_;
  while (!bytes.empty()) {
    const std::size_t end = bytes.find('\n');
    const std::size_t length = std::min(end, bytes.size());
    if (s.pending.size() + length > kLongestLine) {
      s.Refuse(s.line + 1, "a line too long, not a CSV of quarrow-sim");
    }
    if (end == std::string_view::npos) {
      s.pending.append(bytes);
      return;
    }
    if (s.pending.empty()) {
      s.TakeLine(bytes.substr(0, end));
    } else {
      s.pending.append(bytes.substr(0, end));
      s.TakeLine(s.pending);
      s.pending.clear();
    }
    bytes.remove_prefix(end + 1);
  }
}

void PoolReader::EndFile() {
  const State& s = *state_;
  if (!s.pending.empty()) {
    s.Refuse(s.line + 1, "torn: no line end");
  }
  if (s.line == 0) {
    RefuseFile("empty, not a CSV of quarrow-sim");
  }
  if (s.line == 1) {
    RefuseFile("only a header, no match");
  }
}

void PoolReader::State::TakeLine(std::string_view text) {
  ++line;
  if (line > 1) {
    TakeRow(text);
  } else if (text == header) {
    columns = kCsvColumns;
  } else if (text == headerWithoutConditions) {
    columns = kColumnsWithoutConditions;
  } else {
    Refuse(1, "not a CSV of quarrow-sim (its header is not '" + header + "')");
  }
}

void PoolReader::State::RefuseField(std::size_t k, const char* start, std::string_view text) const {
  const auto from = static_cast<std::size_t>(start - text.data());
  const std::string_view field = text.substr(from, text.find(',', from) - from);
  Refuse(line, table[k].name + " '" + Escaped(field.substr(0, 40)) +
                   "' is not what a run writes, a whole number from " + std::to_string(low[k]) +
                   " to " + std::to_string(high[k]));
}

void PoolReader::State::TakeRow(std::string_view text) {
  CsvRow row;
  const char* p = text.data();
  const char* const end = p + text.size();
  // Digits as the runner writes them, and nothing else: no sign, no leading zero, no space.
  for (std::size_t k = 0; k < columns; ++k) {
    const char* const start = p;
    std::uint64_t value = 0;
    for (; p != end && static_cast<unsigned char>(*p - '0') < 10; ++p) {
      value = value * 10 + static_cast<std::uint64_t>(*p - '0');
    }
    const bool last = k + 1 == columns;
    if ((p != end && *p != ',') || p - start > kMostDigits) {
      RefuseField(k, start, text);
    }
    if (last != (p == end)) {
      Refuse(line, "a row of " + std::to_string(std::count(text.begin(), text.end(), ',') + 1) +
                       " fields, where a row has " + std::to_string(columns));
    }
    if (p == start || (*start == '0' && p - start > 1) || value < low[k] || value > high[k]) {
      RefuseField(k, start, text);
    }
    table[k].Set(row, static_cast<std::int64_t>(value));
    p += last ? 0 : 1;
  }
  if (columns != kCsvColumns) {
    row.width = limits.standard.width;
    row.height = limits.standard.height;
    row.maxFrames = limits.standard.maxFrames;
  }
  // A match ends when a team wins or the stall limit is reached, and not after.
  const char* const unsaid = columns == kCsvColumns ? "" : " (the standard: the CSV does not say)";
  if (row.frames > row.maxFrames) {
    Refuse(line, "frames " + std::to_string(row.frames) + " beyond the stall limit " +
                     std::to_string(row.maxFrames) + unsaid);
  }
  if (row.winner == 0 && row.frames != row.maxFrames) {
    Refuse(line, "a stall after " + std::to_string(row.frames) +
                     " frames, not at the stall limit " + std::to_string(row.maxFrames) + unsaid);
  }
  if (stretches.empty()) {
    conditions = row.Conditions();
    conditionsFile = File();
    conditionsLine = line;
  } else if (row.Conditions() != conditions) {
    Refuse(line, ConditionsText(row.Conditions()) + unsaid + ", unlike " +
                     ConditionsText(conditions) + " at " + Where(conditionsFile, conditionsLine));
  }
  const auto seed = static_cast<std::uint32_t>(row.seed);
  Stretch* last = stretches.empty() ? nullptr : &stretches.back();
  if (last != nullptr && last->file == File() && last->seed == seed &&
      last->lastMatch + 1 == row.match && last->LineOf(row.match) == line) {
    last->lastMatch = row.match;
  } else {
    stretches.push_back({seed, row.match, row.match, File(), line});
  }
  onMatch(row.Result(), row.counts);
}

// Every match once, or the pool is refused at the later of two rows that repeat one.
PoolSeeds PoolReader::State::CheckRepeats() const {
  std::vector<Stretch> sorted = stretches;
  std::sort(sorted.begin(), sorted.end(), [](const Stretch& a, const Stretch& b) {
    return a.seed != b.seed ? a.seed < b.seed : a.firstMatch < b.firstMatch;
  });
  PoolSeeds seeds;
  const Stretch* reach = nullptr;  // of this seed so far, the one reaching the highest match
  for (const Stretch& s : sorted) {
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
      throw PoolRefused{Where(later->file, later->LineOf(match)) + ": seed " +
                        std::to_string(s.seed) + " match " + std::to_string(match) +
                        " comes twice, also at " + Where(earlier->file, earlier->LineOf(match))};
    }
    if (reach == nullptr || reach->seed != s.seed || s.lastMatch > reach->lastMatch) {
      reach = &s;
    }
  }
  return seeds;
}

Pooled PoolReader::Finish() {
  return {state_->CheckRepeats(), state_->conditions, false};
}

namespace {

class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  ~Descriptor() {
    if (fd_ >= 0) {
      close(fd_);
    }
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int Get() const { return fd_; }

 private:
  int fd_;
};

// Waits until fd has something to read or has ended; false once told to stop. The interrupts are
// let in only during the wait, so that one that comes just before it still ends it.
bool WaitToRead([[maybe_unused]] int fd, const volatile std::sig_atomic_t* stop) {
#ifndef __EMSCRIPTEN__
  sigset_t interrupts, before;
  sigemptyset(&interrupts);
  sigaddset(&interrupts, SIGINT);
  sigaddset(&interrupts, SIGTERM);
  sigprocmask(SIG_BLOCK, &interrupts, &before);
  if (stop == nullptr || *stop == 0) {
    pollfd polled{fd, POLLIN, 0};
    ppoll(&polled, 1, nullptr, &before);
  }
  sigprocmask(SIG_SETMASK, &before, nullptr);
#endif
  return stop == nullptr || *stop == 0;
}

}  // namespace

Pooled ReadPool(const std::vector<std::string>& files, const CsvLimits& limits,
                const OnPooledMatch& onMatch, const volatile std::sig_atomic_t* stop) {
  const auto stopped = [stop] { return stop != nullptr && *stop != 0; };
  PoolReader reader(limits, onMatch);
  std::vector<char> buffer(kChunk);
  for (const std::string& name : files) {
    reader.StartFile(name);
    // Opening a FIFO without a writer waits for none; reading it waits below, where a signal
    // ends the wait.
    const Descriptor in(open(name.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    struct stat info {};
    if (in.Get() < 0 || fstat(in.Get(), &info) != 0) {
      reader.RefuseFile(std::string("cannot read: ") + std::strerror(errno));
    }
    const bool waits = !S_ISREG(info.st_mode);
    for (;;) {
      if (stopped() || (waits && !WaitToRead(in.Get(), stop))) {
        Pooled part;
        part.stopped = true;
        return part;
      }
      const ssize_t got = read(in.Get(), buffer.data(), buffer.size());
      if (got == 0) {
        break;
      }
      if (got > 0) {
        reader.Take(std::string_view(buffer.data(), static_cast<std::size_t>(got)));
      } else if (errno != EINTR && errno != EAGAIN) {
        reader.RefuseFile(std::string("cannot read: ") + std::strerror(errno));
      }
    }
    reader.EndFile();
  }
  return reader.Finish();
}

}  // namespace quarrow::analysis
