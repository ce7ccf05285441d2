#pragma once

// What a match leaves behind and the conditions it was played under, without any of the game's
// state: rooms that report on matches include this alone.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace quarrow {

inline constexpr int kTeamCount = 2;

struct MatchResult {
  std::int16_t winner = 0;  // 0: still undecided when the frames ran out
  std::int64_t frames = 0;
};

// What has happened in a match, counted where it happens. Per-team counts are indexed by team, 1
// and 2 (element 0 is never used).
struct MatchCounts {
  using PerTeam = std::array<std::int32_t, kTeamCount + 1>;
  std::int32_t throws = 0;
  std::int32_t pickups = 0;
  PerTeam hits{};     // court players of the team sent to the end zone
  PerTeam returns{};  // throwers of the team brought back into court
  PerTeam livesLost{};
  PerTeam backEntries{};  // frames in which the team's back player joined the court
};

// Every count under the name reports give it, in the order they list them. A per-team count is
// reported once for each team, its name suffixed _1 and _2.
struct CountField {
  std::string_view name;
  std::int32_t MatchCounts::*whole = nullptr;
  MatchCounts::PerTeam MatchCounts::*perTeam = nullptr;
};
inline constexpr std::array<CountField, 6> kCountFields = {{
    {"throws", &MatchCounts::throws, nullptr},
    {"pickups", &MatchCounts::pickups, nullptr},
    {"hits", nullptr, &MatchCounts::hits},
    {"returns", nullptr, &MatchCounts::returns},
    {"lives_lost", nullptr, &MatchCounts::livesLost},
    {"back_entries", nullptr, &MatchCounts::backEntries},
}};
// A count added to the record but not to the list would be missed by every report.
static_assert(sizeof(MatchCounts) == [] {
  std::size_t size = 0;
  for (const CountField& field : kCountFields) {
    size += field.whole != nullptr ? sizeof(std::int32_t) : sizeof(MatchCounts::PerTeam);
  }
  return size;
}());

// The counts of a match as columns, in the order of kCountFields: a per-team count has one column
// for each team.
inline constexpr std::size_t kCountColumns = [] {
  std::size_t columns = 0;
  for (const CountField& field : kCountFields) {
    columns += field.whole != nullptr ? 1 : kTeamCount;
  }
  return columns;
}();
using CountRow = std::array<std::int32_t, kCountColumns>;

constexpr CountRow CountValues(const MatchCounts& counts) {
  CountRow row{};
  std::size_t k = 0;
  for (const CountField& field : kCountFields) {
    if (field.whole != nullptr) {
      row[k++] = counts.*field.whole;
      continue;
    }
    for (int t = 1; t <= kTeamCount; ++t) {
      row[k++] = (counts.*field.perTeam)[t];
    }
  }
  return row;
}

// What a run's matches were played under: the court in pixels and the frames after which an
// undecided match is a stall. Matches of unlike conditions are not summed up together.
struct RunConditions {
  std::int64_t width = 0;
  std::int64_t height = 0;
  std::int64_t maxFrames = 0;
  bool operator==(const RunConditions&) const = default;
};

}  // namespace quarrow
