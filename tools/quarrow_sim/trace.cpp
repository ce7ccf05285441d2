#include "trace.h"

#include <charconv>
#include <string_view>

#include "game/game_state.h"
#include "text/number_text.h"

namespace quarrow::runner {
namespace {

template <typename T>
void AppendNumber(std::string& out, T v) {
  char buffer[32];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, v);
  out.append(buffer, result.ptr);
}

// Writes the members of one JSON object in order, with the separators between them.
class Members {
 public:
  explicit Members(std::string& out) : out_(out) { out_ += '{'; }
  void Close() { out_ += '}'; }

  // Starts a member whose value the caller writes.
  std::string& Key(std::string_view key) {
    out_ += first_ ? "\"" : ", \"";
    first_ = false;
    out_ += key;
    out_ += "\": ";
    return out_;
  }
  void Integer(std::string_view key, std::int64_t v) { AppendNumber(Key(key), v); }
  void Real(std::string_view key, double v) { AppendPrecise(Key(key), v); }
  void Exact(std::string_view key, Fixed v) {
    Key(key) += '"';
    AppendFixed(out_, v);
    out_ += '"';
  }

 private:
  std::string& out_;
  bool first_ = true;
};

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

void AppendTraceRecord(std::string& out, std::int64_t match, std::int64_t frame,
                       std::optional<std::uint32_t> seed) {
  Members record(out);
  if (seed) {
    record.Integer("seed", *seed);
  }
  record.Integer("match", match);
  record.Integer("frame", frame);

  Members ball(record.Key("ball"));
  ball.Exact("x", BallX);
  ball.Exact("y", BallY);
  ball.Real("angle", BallAngle);
  ball.Real("speed", BallSpeed);
  ball.Integer("team", BallTeam);
  ball.Integer("holder", BallHolder);
  ball.Integer("last_thrower", LastThrower);
  ball.Close();

  record.Key("teams") += '[';
  for (int t = 1; t <= kTeamCount; ++t) {
    Members team(out += t == 1 ? "" : ", ");
    team.Integer("back", Teams[t].BackPlayer);
    team.Integer("lives", Teams[t].Lives);
    team.Close();
  }
  out += ']';

  record.Key("players") += '[';
  for (int i = 1; i <= kPlayerCount; ++i) {
    const PlayerInfo& p = Players[i];
    Members player(out += i == 1 ? "" : ", ");
    player.Exact("x", p.X);
    player.Exact("y", p.Y);
    player.Integer("tx", p.TargetX);
    player.Integer("ty", p.TargetY);
    player.Exact("sx", p.StepX);
    player.Exact("sy", p.StepY);
    player.Integer("role", p.Role);
    player.Real("speed", p.Speed);
    player.Integer("has_ball", p.HasBall);
    player.Close();
  }
  out += ']';
  record.Close();
  out += '\n';
}

}  // namespace quarrow::runner
