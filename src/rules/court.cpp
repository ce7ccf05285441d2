#include "rules/court.h"

#include <algorithm>
#include <cmath>

#include "game/game_state.h"
#include "game/platform.h"
#include "rules/trig.h"

namespace quarrow {
namespace {

// Both kinds share one body; for fixed values every bound is itself exact, so no double is formed.
template <typename T>
std::int16_t ZoneAt(T x, T endZone, T mid, T farLine, T width) {
  const T zero{};
  if (endZone < x && x < mid) {
    return 1;
  }
  if (mid < x && x < farLine) {
    return 2;
  }
  if (zero < x && x < endZone) {
    return 4;
  }
  if (farLine < x && x < width) {
    return 3;
  }
  return 0;
}

struct Span {
  double low = 0;
  double high = 0;
};

// The open span of x that is the home zone of role; empty for any other role.
Span ZoneSpan(std::int16_t role) {
  switch (role) {
    case 1:
      return {kEndZoneDepth, Mid()};
    case 2:
      return {Mid(), static_cast<double>(FarEndLine())};
    case 3:
      return {static_cast<double>(FarEndLine()), static_cast<double>(CourtWidth)};
    case 4:
      return {0, kEndZoneDepth};
    default:
      return {};
  }
}

}  // namespace

std::int16_t ZoneOf(double x, double /*y*/) {
  return ZoneAt<double>(x, kEndZoneDepth, Mid(), FarEndLine(), CourtWidth);
}

ZoneLines ZoneLinesNow() {
  // Every bound from one product: the width is twice its exact middle.
  const Fixed mid = ExactMid();
  const Fixed width = mid + mid;
  return {Fixed::FromInt(kEndZoneDepth), mid, width - kEndZoneDepth, width};
}

std::int16_t ZoneOf(Fixed x, const ZoneLines& lines) {
  return ZoneAt(x, lines.endZone, lines.mid, lines.farLine, lines.width);
}

std::int16_t ZoneOf(Fixed x, Fixed /*y*/) {
  return ZoneOf(x, ZoneLinesNow());
}

Fixed ClaimedX(Fixed x) {
  const ZoneLines lines = ZoneLinesNow();
  // Before any match there is no court to rest on.
  if (ZoneOf(x, lines) != 0 || CourtWidth < kMinCourtWidth) {
    return x;
  }
  // Every zone is open and its bounds are whole or half pixels, so one ten-thousandth inside the
  // court, or beside a boundary, is claimed.
  constexpr Fixed kStep = Fixed::FromCount(1);
  const Fixed inside = std::max(kStep, std::min(x, lines.width - kStep));
  for (const Fixed candidate : {inside, inside - kStep, inside + kStep}) {
    if (ZoneOf(candidate, lines) != 0) {
      return candidate;
    }
  }
  return x;
}

Flag InsideCourt(double /*x*/, double y) {
  return ToFlag(!(y < 0 || y > CourtHeight));
}

Flag InsideCourt(Fixed /*x*/, Fixed y) {
  // One unsigned comparison: a y below 0 lands far above any height. A height below 0 has no y.
  const Fixed height = Fixed::FromInt(CourtHeight);
  return ToFlag(height.count >= 0 &&
                static_cast<std::uint64_t>(y.count) <= static_cast<std::uint64_t>(height.count));
}

Flag SameSide(std::int16_t ballRole, std::int16_t playerRole) {
  const std::int16_t team = TeamOf(ballRole);
  return ToFlag(ballRole == playerRole || (team != 0 && team == TeamOf(playerRole)));
}

namespace {

// floor(draw * side) for a search: a draw has 24 bits and a side at most 15, so the product is
// exact; it is never negative, so truncation floors it without a library call.
std::int16_t WholeOfProduct(float draw, std::int16_t side) {
  return static_cast<std::int16_t>(static_cast<double>(draw) * side);
}

// The least draw in [0, 1) for which reached holds, or 1 when there is none; reached must hold for
// every draw above one for which it holds. Floats from 0 to 1 are ordered as their bit patterns.
template <typename Reached>
float LeastDraw(Reached reached) {
  std::uint32_t low = 0;
  std::uint32_t high = BitCast<std::uint32_t>(1.0f);
  while (low < high) {
    const std::uint32_t middle = low + (high - low) / 2;
    if (reached(BitCast<float>(middle))) {
      high = middle;
    } else {
      low = middle + 1;
    }
  }
  return BitCast<float>(low);
}

// A quotient of approximate cosine and sine.
struct SinCosQuotient {
  static constexpr double kMore = 2 * kSinCosBound;
};

}  // namespace

double PointSearchX(float draw) {
  return WholeOfProduct(draw, CourtWidth);
}

DrawRange ZoneDraws(std::int16_t role, double (*product)(float draw)) {
  const Span span = ZoneSpan(role);
  return DrawRange{LeastDraw([&](float draw) { return product(draw) > span.low; }),
                   LeastDraw([&](float draw) { return product(draw) >= span.high; })};
}

void RandomPointInZone(std::int16_t& x, std::int16_t& y, std::int16_t role) {
  // Only match setup sets the court's width, never an event served here.
  const DrawRange& range = ZoneDrawsNow(PointSearchDraws, PointSearchX, role);
  const float drawX = PlatformHasEvents() ? FirstDrawIn(range, [] { ThePlatform().PumpEvents(); })
                                          : FirstDrawIn(range);
  x = WholeOfProduct(drawX, CourtWidth);
  y = WholeOfProduct(Draw(), CourtHeight);
}

Fixed DirectionOfUnit(double a, double sign) {
  const SinCos t = ApproxSinCos(a);
  // Beyond the bound the sine's sign is sure and not 0, and negating both sides leaves the quotient
  // as it is. Near the unit circle atan(c / s) moves by at most |(dc, ds)| / |(c, s)|, below
  // 1.5 kSinCosBound between the approximate point and the exact one; both quotients' roundings
  // add 1e-16.
  if (std::fabs(t.sin) > kSinCosBound) {
    const Fixed atan = RoundedAtanNear<SinCosQuotient>(
        t.cos / t.sin, [a] { return Arctangent(Cosine(a) / Sine(a)); });
    return detail::Heading(atan, sign * t.sin > 0);
  }
  return DirectionOfDelta(sign * Cosine(a), sign * Sine(a));
}

}  // namespace quarrow
