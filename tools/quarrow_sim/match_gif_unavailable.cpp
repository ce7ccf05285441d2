// A build without giflib: asking for a GIF fails the run before its first match.

#include "match_gif.h"
#include "text/checked_output.h"

namespace quarrow::runner {

GifAnimation::GifAnimation(int /*width*/, int /*height*/, const std::vector<Rgb>& /*palette*/) {
  throw OutputFailed{"this build of quarrow-sim cannot write GIFs"};
}

GifAnimation::~GifAnimation() = default;

void GifAnimation::AddFrame(const IndexedImage& /*image*/) {}

std::string GifAnimation::Finish() {
  return {};
}

MatchGif::MatchGif(int width, int height, int every)
    : surface_(width, height), animation_(width, height, surface_.Palette()), every_(every) {}

void MatchGif::AfterFrame(std::int64_t /*frame*/, bool /*last*/) {}

}  // namespace quarrow::runner
