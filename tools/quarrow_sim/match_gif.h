#pragma once

// A match as an animated GIF, built in memory frame by frame and looping for ever.

#include <cstdint>
#include <string>
#include <vector>

#include "play/pace.h"
#include "render/picture.h"
#include "render/raster.h"

struct GifFileType;

namespace quarrow::runner {

// The window's normal pace, in hundredths of a second.
inline constexpr int kGifFrameDelay = static_cast<int>(kNormalInterval / 10);

class GifAnimation {
 public:
  // Every frame must have the given size and use only indices of the palette.
  GifAnimation(int width, int height, const std::vector<Rgb>& palette);
  GifAnimation(const GifAnimation&) = delete;
  GifAnimation& operator=(const GifAnimation&) = delete;
  ~GifAnimation();

  // After the first frame only the rectangle that changed is stored, its unchanged pixels
  // transparent: a frame where a few players moved costs a few hundred bytes.
  void AddFrame(const IndexedImage& image);
  // The whole file. No frame can be added after.
  std::string Finish();

 private:
  void Check(int status);

  GifFileType* gif_ = nullptr;
  std::string bytes_;
  IndexedImage previous_;
  std::vector<std::uint8_t> row_;
  int transparent_ = 0;
  bool first_ = true;
};

// A match's pictures as the window draws them, kept for a GIF: the first frame, every Nth after
// it, and the last, so that the clip ends where the match does.
class MatchGif {
 public:
  MatchGif(int width, int height, int every);
  // After frame (from 1) has been played; last when the match ends with it.
  void AfterFrame(std::int64_t frame, bool last);
  std::string Finish() { return animation_.Finish(); }

 private:
  Picture picture_;
  RasterSurface surface_;
  GifAnimation animation_;
  int every_;
};

}  // namespace quarrow::runner
