#pragma once

// Matches read back from the CSV files of any number of runs, from anywhere, to be summed up as
// if one run had played them all.

#include <csignal>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/match_csv.h"
#include "game/match_record.h"
#include "text/failure.h"

namespace quarrow::analysis {

// Thrown for a file that is not one of ours, or whose rows are torn, repeated, of unlike runs, or
// hold what no run writes; the line starts with the file and line.
struct PoolRefused : Refused {
  using Refused::Refused;
};

// What a run can write: every value from the lowest row's to the highest's, and the conditions
// of rows written before the CSV carried them.
struct CsvLimits {
  CsvRow lowest, highest;
  RunConditions standard;
};

// The seeds the pooled matches were played with.
struct PoolSeeds {
  std::uint32_t lowest = 0;
  std::uint32_t highest = 0;
  std::int64_t distinct = 0;
};

struct Pooled {
  PoolSeeds seeds;
  RunConditions conditions;  // every match's
  bool stopped = false;      // told to stop before the end: nothing of it is whole
};

using OnPooledMatch = std::function<void(const MatchResult&, const CountRow&)>;

// Takes the bytes of one file after another, in pieces of any size, handing each match to
// onMatch as its row is read; throws PoolRefused at the first thing no run writes, and at the
// end when a match (a seed and a match number) came twice, in one file or in two.
class PoolReader {
 public:
  PoolReader(const CsvLimits& limits, OnPooledMatch onMatch);
  ~PoolReader();
  PoolReader(const PoolReader&) = delete;
  PoolReader& operator=(const PoolReader&) = delete;

  // name is the file as refusals show it.
  void StartFile(std::string name);
  void Take(std::string_view bytes);
  void EndFile();
  // Once every file has ended.
  Pooled Finish();
  // Refuses the pool for the file being read, without a line.
  [[noreturn]] void RefuseFile(const std::string& why) const;

 private:
  struct State;
  std::unique_ptr<State> state_;
};

// Reads every file in order, a FIFO or a pipe as well as a regular file. Once *stop is not 0 (a
// SIGINT or SIGTERM handler sets it), it returns at the next read or at once while it waits for a
// FIFO's writer, with stopped set.
Pooled ReadPool(const std::vector<std::string>& files, const CsvLimits& limits,
                const OnPooledMatch& onMatch, const volatile std::sig_atomic_t* stop);

}  // namespace quarrow::analysis
