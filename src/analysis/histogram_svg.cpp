#include "analysis/histogram_svg.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "play/pace.h"

namespace quarrow::analysis {
namespace {

// Drawing area and margins, in SVG units.
constexpr double kWidth = 800;
constexpr double kHeight = 480;
constexpr double kLeft = 80;
constexpr double kRight = 30;
constexpr double kTop = 80;
constexpr double kBottom = 92;
constexpr double kPlotWidth = kWidth - kLeft - kRight;
constexpr double kPlotHeight = kHeight - kTop - kBottom;

// Seconds a frame lasts at the window's normal pace.
constexpr double kFrameSeconds = static_cast<double>(kNormalInterval) / 1000;
// Enough bars to show the shape, few enough to stay bars; an axis at least kMinSpan bars long, so
// that a lone bar stays a bar.
constexpr std::int64_t kMaxBins = 60;
constexpr std::int64_t kMinSpan = 10;
constexpr std::int64_t kMaxTicks = 10;

// The smallest of 1, 2, 5, 10, 20, 50, ... that is at least x. The frame axis is reckoned in
// totals: near the longest matches a run can write, its padding and its last tick pass 2^63.
Total NiceAtLeast(double x) {
  Total step = 1;
  for (;;) {
    for (int m : {1, 2, 5}) {
      if (static_cast<double>(m * step) >= x) {
        return m * step;
      }
    }
    step *= 10;
  }
}

struct Bins {
  Total first = 0;  // the lowest frame count of the first bin
  Total width = 1;
  std::vector<std::int64_t> counts;
};

// Bin width by the Freedman-Diaconis rule, but not wider than Sturges' rule would make it (the
// former is too coarse for a few matches), and never so narrow that more than kMaxBins bins would
// be needed; then rounded up to a nice number. The bins start at a multiple of the width.
Bins BinFrames(const Summary& summary) {
  const FrameTally& tally = summary.frameTally;
  const double n = static_cast<double>(summary.matches);
  const double iqr = static_cast<double>(NearestRank(tally, summary.matches, 75) -
                                         NearestRank(tally, summary.matches, 25));
  const std::int64_t low = tally.begin()->first;
  const std::int64_t high = summary.maxFrames;
  const auto range = static_cast<double>(high - low + 1);
  const double freedmanDiaconis = 2 * iqr / std::cbrt(n);
  const double sturges = range / (std::ceil(std::log2(n)) + 1);
  Bins bins;
  bins.width = NiceAtLeast(
      std::max(std::min(freedmanDiaconis, sturges), range / static_cast<double>(kMaxBins)));
  bins.first = low / bins.width * bins.width;
  bins.counts.assign(static_cast<std::size_t>(high / bins.width - low / bins.width + 1), 0);
  // The tally's frames, not beyond the longest a run can write, are far from Total's bounds.
  for (const auto& [frames, count] : tally) {
    bins.counts[static_cast<std::size_t>((frames - bins.first) / bins.width)] += count;
  }
  return bins;
}

// Where frames and counts land in the picture: both axes run between ticks, so that each end of
// them is labelled.
struct Scales {
  Total start = 0, end = 1, xStep = 1;  // the frame axis
  std::int64_t yTop = 1, yStep = 1;     // the count axis

  // From the axis' start in integers: frames near the largest a run can write are too far apart
  // from each other in a double.
  double X(Total frames, double plus = 0) const {
    return kLeft + (static_cast<double>(frames - start) + plus) / static_cast<double>(end - start) *
                       kPlotWidth;
  }
  double Y(double count) const {
    return kTop + kPlotHeight - count / static_cast<double>(yTop) * kPlotHeight;
  }
};

Scales ChooseScales(const Bins& bins) {
  const auto binCount = static_cast<std::int64_t>(bins.counts.size());
  const Total pad = std::max<std::int64_t>(0, kMinSpan - binCount) / 2 * bins.width;
  const Total spanStart = std::max<Total>(0, bins.first - pad);
  const Total spanEnd = bins.first + binCount * bins.width + pad;
  Scales s;
  s.xStep = NiceAtLeast(static_cast<double>(spanEnd - spanStart) / static_cast<double>(kMaxTicks));
  s.start = spanStart / s.xStep * s.xStep;
  s.end = (spanEnd + s.xStep - 1) / s.xStep * s.xStep;
  // Headroom above the tallest bar keeps the marks' labels clear of the bars.
  const std::int64_t tallest = *std::max_element(bins.counts.begin(), bins.counts.end());
  s.yStep = static_cast<std::int64_t>(NiceAtLeast(static_cast<double>(tallest) / 5));
  s.yTop = (tallest + tallest / 8 + s.yStep) / s.yStep * s.yStep;
  return s;
}

// The picture's frame: its size, fonts and a white ground.
void AppendStart(std::string& out) {
  AppendFormat(out,
               "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
               "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%.0f\" height=\"%.0f\" "
               "viewBox=\"0 0 %.0f %.0f\" font-family=\"DejaVu Sans, sans-serif\" "
               "font-size=\"13\">\n"
               "<rect width=\"100%%\" height=\"100%%\" fill=\"white\"/>\n",
               kWidth, kHeight, kWidth, kHeight);
}

const char* Interrupted(const Summary& summary) {
  return summary.interrupted ? ", interrupted" : "";
}

// The title, and beneath it what the runs were played under.
void AppendTitle(std::string& out, const Summary& summary, const std::string& what) {
  AppendFormat(out,
               "<text x=\"%.0f\" y=\"26\" text-anchor=\"middle\" font-size=\"17\" "
               "font-weight=\"bold\">Frames per match: %s%s</text>\n"
               "<text x=\"%.0f\" y=\"46\" text-anchor=\"middle\">%s</text>\n",
               kWidth / 2, what.c_str(), Interrupted(summary), kWidth / 2,
               ConditionsText(summary.conditions).c_str());
}

void AppendHeading(std::string& out, const Summary& summary, const Bins& bins) {
  AppendTitle(out, summary,
              std::to_string(summary.matches) + (summary.matches == 1 ? " match, " : " matches, ") +
                  SeedsText(summary));
  AppendFormat(
      out,
      "<text x=\"%.0f\" y=\"64\" text-anchor=\"middle\" fill=\"#555\">bars of %s "
      "frame%s (%g s); median %lld, 90th percentile %lld, longest %lld</text>\n",
      kWidth / 2, TotalText(bins.width).c_str(), bins.width == 1 ? "" : "s",
      static_cast<double>(bins.width) * kFrameSeconds, static_cast<long long>(summary.medianFrames),
      static_cast<long long>(summary.p90Frames), static_cast<long long>(summary.maxFrames));
}

// The grid and the count axis.
void AppendCountAxis(std::string& out, const Scales& s) {
  for (std::int64_t y = 0; y <= s.yTop; y += s.yStep) {
    const double py = s.Y(static_cast<double>(y));
    AppendFormat(out,
                 "<line x1=\"%.1f\" y1=\"%.1f\" x2=\"%.1f\" y2=\"%.1f\" stroke=\"#ddd\"/>\n"
                 "<text x=\"%.1f\" y=\"%.1f\" text-anchor=\"end\">%lld</text>\n",
                 kLeft, py, kLeft + kPlotWidth, py, kLeft - 8, py + 4, static_cast<long long>(y));
  }
  AppendFormat(out,
               "<text transform=\"translate(22 %.1f) rotate(-90)\" text-anchor=\"middle\">"
               "matches</text>\n",
               kTop + kPlotHeight / 2);
}

void AppendBars(std::string& out, const Bins& bins, const Scales& s) {
  for (std::size_t k = 0; k < bins.counts.size(); ++k) {
    const Total from = bins.first + static_cast<std::int64_t>(k) * bins.width;
    const std::int64_t count = bins.counts[k];
    if (count == 0) {
      continue;
    }
    const double x0 = s.X(from);
    const double x1 = s.X(from + bins.width);
    const double gap = std::min(1.0, (x1 - x0) / 4);
    AppendFormat(out,
                 "<rect x=\"%.2f\" y=\"%.2f\" width=\"%.2f\" height=\"%.2f\" fill=\"#4a78b0\">"
                 "<title>%s to %s frames: %lld matches</title></rect>\n",
                 x0 + gap, s.Y(static_cast<double>(count)), x1 - x0 - 2 * gap,
                 kPlotHeight - (s.Y(static_cast<double>(count)) - kTop), TotalText(from).c_str(),
                 TotalText(from + bins.width - 1).c_str(), static_cast<long long>(count));
  }
}

// The frame axis, with the same ticks read as seconds beneath.
void AppendFrameAxis(std::string& out, const Scales& s) {
  const double axisY = kTop + kPlotHeight;
  AppendFormat(out, "<line x1=\"%.1f\" y1=\"%.1f\" x2=\"%.1f\" y2=\"%.1f\" stroke=\"black\"/>\n",
               kLeft, axisY, kLeft + kPlotWidth, axisY);
  for (Total f = s.start; f <= s.end; f += s.xStep) {
    const double px = s.X(f);
    AppendFormat(out,
                 "<line x1=\"%.1f\" y1=\"%.1f\" x2=\"%.1f\" y2=\"%.1f\" stroke=\"black\"/>\n"
                 "<text x=\"%.1f\" y=\"%.1f\" text-anchor=\"middle\">%s</text>\n"
                 "<text x=\"%.1f\" y=\"%.1f\" text-anchor=\"middle\" fill=\"#555\">%g s</text>\n",
                 px, axisY, px, axisY + 5, px, axisY + 20, TotalText(f).c_str(), px, axisY + 36,
                 static_cast<double>(f) * kFrameSeconds);
  }
  AppendFormat(out,
               "<text x=\"%.1f\" y=\"%.1f\" text-anchor=\"middle\">frames per match "
               "<tspan fill=\"#555\">(seconds at the normal pace of %lld ms a frame)</tspan>"
               "</text>\n",
               kLeft + kPlotWidth / 2, axisY + 64, static_cast<long long>(kNormalInterval));
}

// Median and 90th percentile, labelled at different heights so that they never overlap.
void AppendMarks(std::string& out, const Summary& summary, const Scales& s) {
  const struct {
    const char* name;
    std::int64_t frames;
    double labelY;
  } marks[] = {{"median", summary.medianFrames, kTop + 14},
               {"90th percentile", summary.p90Frames, kTop + 30}};
  for (const auto& mark : marks) {
    const double px = s.X(mark.frames, 0.5);
    const bool leftOfCentre = px < kLeft + kPlotWidth / 2;
    AppendFormat(out,
                 "<line x1=\"%.1f\" y1=\"%.1f\" x2=\"%.1f\" y2=\"%.1f\" stroke=\"#c0392b\" "
                 "stroke-width=\"1.5\" stroke-dasharray=\"5 3\"/>\n"
                 "<text x=\"%.1f\" y=\"%.1f\" text-anchor=\"%s\" fill=\"#c0392b\">%s %lld</text>\n",
                 px, kTop, px, kTop + kPlotHeight, leftOfCentre ? px + 5 : px - 5, mark.labelY,
                 leftOfCentre ? "start" : "end", mark.name, static_cast<long long>(mark.frames));
  }
}

}  // namespace

std::string HistogramSvg(const Summary& summary) {
  std::string out;
  AppendStart(out);
  if (summary.matches == 0) {
    AppendTitle(out, summary, "no match finished, seed " + std::to_string(summary.seed));
    out += "</svg>\n";
    return out;
  }
  const Bins bins = BinFrames(summary);
  const Scales scales = ChooseScales(bins);
  AppendHeading(out, summary, bins);
  AppendCountAxis(out, scales);
  AppendBars(out, bins, scales);
  AppendFrameAxis(out, scales);
  AppendMarks(out, summary, scales);
  out += "</svg>\n";
  return out;
}

}  // namespace quarrow::analysis
