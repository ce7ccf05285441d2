#include "trace.h"

#include <charconv>
#include <cstdlib>

#include "game/game_state.h"

namespace quarrow::sim {
namespace {

template <typename T>
void AppendNumber(std::string& out, T v) {
  char buffer[32];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, v);
  out.append(buffer, result.ptr);
}

void AppendQuotedFixed(std::string& out, Fixed v) {
  out += '"';
  AppendFixed(out, v);
  out += '"';
}

}  // namespace

void AppendFixed(std::string& out, Fixed v) {
  // The magnitude as unsigned, so that the most negative count prints too.
  std::uint64_t magnitude =
      v.count < 0 ? 0 - static_cast<std::uint64_t>(v.count) : static_cast<std::uint64_t>(v.count);
  if (v.count < 0) {
    out += '-';
  }
  AppendNumber(out, magnitude / Fixed::kScale);
  const std::uint64_t fraction = magnitude % Fixed::kScale;
  char digits[5] = {'.', '0', '0', '0', '0'};
  for (int k = 4, rest = static_cast<int>(fraction); k >= 1; --k, rest /= 10) {
    digits[k] = static_cast<char>('0' + rest % 10);
  }
  out.append(digits, sizeof digits);
}

void AppendDouble(std::string& out, double v) {
  // to_chars in general form with precision 17 prints what printf's %.17g prints.
  char buffer[40];
  const auto result =
      std::to_chars(buffer, buffer + sizeof buffer, v, std::chars_format::general, 17);
  out.append(buffer, result.ptr);
}

void AppendTraceRecord(std::string& out, std::int64_t match, std::int64_t frame) {
  out += "{\"match\": ";
  AppendNumber(out, match);
  out += ", \"frame\": ";
  AppendNumber(out, frame);
  out += ", \"ball\": {\"x\": ";
  AppendQuotedFixed(out, BallX);
  out += ", \"y\": ";
  AppendQuotedFixed(out, BallY);
  out += ", \"angle\": ";
  AppendDouble(out, BallAngle);
  out += ", \"speed\": ";
  AppendDouble(out, BallSpeed);
  out += ", \"team\": ";
  AppendNumber(out, BallTeam);
  out += ", \"holder\": ";
  AppendNumber(out, BallHolder);
  out += ", \"last_thrower\": ";
  AppendNumber(out, LastThrower);
  out += "}, \"teams\": [";
  for (int t = 1; t <= kTeamCount; ++t) {
    out += t == 1 ? "{\"back\": " : ", {\"back\": ";
    AppendNumber(out, Teams[t].BackPlayer);
    out += ", \"lives\": ";
    AppendNumber(out, Teams[t].Lives);
    out += '}';
  }
  out += "], \"players\": [";
  for (int i = 1; i <= kPlayerCount; ++i) {
    const PlayerInfo& p = Players[i];
    out += i == 1 ? "{\"x\": " : ", {\"x\": ";
    AppendQuotedFixed(out, p.X);
    out += ", \"y\": ";
    AppendQuotedFixed(out, p.Y);
    out += ", \"tx\": ";
    AppendNumber(out, p.TargetX);
    out += ", \"ty\": ";
    AppendNumber(out, p.TargetY);
    out += ", \"sx\": ";
    AppendQuotedFixed(out, p.StepX);
    out += ", \"sy\": ";
    AppendQuotedFixed(out, p.StepY);
    out += ", \"role\": ";
    AppendNumber(out, p.Role);
    out += ", \"speed\": ";
    AppendDouble(out, p.Speed);
    out += ", \"has_ball\": ";
    AppendNumber(out, p.HasBall);
    out += '}';
  }
  out += "]}\n";
}

}  // namespace quarrow::sim
