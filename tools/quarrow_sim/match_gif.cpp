#include "match_gif.h"

#include <gif_lib.h>

#include <algorithm>
#include <cstring>
#include <memory>

#include "render/draw_court.h"
#include "text/checked_output.h"

namespace quarrow::runner {
namespace {

// Called from C: a failure is told by writing nothing, never by an exception.
int AppendBytes(GifFileType* gif, const GifByteType* data, int size) {
  try {
    static_cast<std::string*>(gif->UserData)
        ->append(reinterpret_cast<const char*>(data), static_cast<std::size_t>(size));
    return size;
  } catch (...) {
    return 0;
  }
}

struct ColourMapDeleter {
  void operator()(ColorMapObject* map) const { GifFreeMapObject(map); }
};

// The smallest power of two from 2 that holds count entries.
int MapSize(std::size_t count) {
  int size = 2;
  while (static_cast<std::size_t>(size) < count) {
    size *= 2;
  }
  return size;
}

// Every colour the court can show has its index before the GIF's colour table is written.
RasterSurface CourtSurface(int width, int height) {
  RasterSurface surface(width, height);
  for (const Rgb colour : kCourtColours) {
    surface.IndexOf(colour);
  }
  return surface;
}

struct Box {
  int left = 0;
  int top = 0;
  int right = 0;  // past the last column
  int bottom = 0;
};

// The smallest rectangle holding every pixel that differs; empty when none does.
Box ChangedBox(const IndexedImage& before, const IndexedImage& after) {
  const auto w = static_cast<std::size_t>(after.width);
  const std::uint8_t* a = before.pixels.data();
  const std::uint8_t* b = after.pixels.data();
  Box box{after.width, after.height, 0, 0};
  for (int y = 0; y < after.height; ++y) {
    const std::size_t row = static_cast<std::size_t>(y) * w;
    if (std::memcmp(a + row, b + row, w) == 0) {
      continue;
    }
    int left = 0;
    while (a[row + static_cast<std::size_t>(left)] == b[row + static_cast<std::size_t>(left)]) {
      ++left;
    }
    int right = after.width;
    while (a[row + static_cast<std::size_t>(right - 1)] ==
           b[row + static_cast<std::size_t>(right - 1)]) {
      --right;
    }
    box = {std::min(box.left, left), std::min(box.top, y), std::max(box.right, right), y + 1};
  }
  return box;
}

}  // namespace

GifAnimation::GifAnimation(int width, int height, const std::vector<Rgb>& palette) {
  int error = 0;
  gif_ = EGifOpen(&bytes_, AppendBytes, &error);
  if (gif_ == nullptr) {
    throw OutputFailed{std::string("cannot start the GIF: ") + GifErrorString(error)};
  }
  transparent_ = static_cast<int>(palette.size());
  const int mapSize = MapSize(palette.size() + 1);
  const std::unique_ptr<ColorMapObject, ColourMapDeleter> map(GifMakeMapObject(mapSize, nullptr));
  if (map == nullptr) {
    throw OutputFailed{"cannot start the GIF: out of memory"};
  }
  for (std::size_t i = 0; i < palette.size(); ++i) {
    map->Colors[i] = GifColorType{palette[i].red, palette[i].green, palette[i].blue};
  }
  EGifSetGifVersion(gif_, true);
  Check(EGifPutScreenDesc(gif_, width, height, map->BitsPerPixel, 0, map.get()));
  // Loop for ever: the application extension every browser reads.
  const GifByteType loop[] = {1, 0, 0};
  Check(EGifPutExtensionLeader(gif_, APPLICATION_EXT_FUNC_CODE));
  Check(EGifPutExtensionBlock(gif_, 11, "NETSCAPE2.0"));
  Check(EGifPutExtensionBlock(gif_, sizeof loop, loop));
  Check(EGifPutExtensionTrailer(gif_));
  previous_.width = width;
  previous_.height = height;
  row_.resize(static_cast<std::size_t>(std::max(width, 1)));
}

GifAnimation::~GifAnimation() {
  if (gif_ != nullptr) {
    EGifCloseFile(gif_, nullptr);
  }
}

void GifAnimation::Check(int status) {
  if (status != GIF_OK) {
    throw OutputFailed{std::string("cannot make the GIF: ") + GifErrorString(gif_->Error)};
  }
}

void GifAnimation::AddFrame(const IndexedImage& image) {
  Box box{0, 0, image.width, image.height};
  if (!first_) {
    box = ChangedBox(previous_, image);
    if (box.right <= box.left) {
      // Nothing moved: one transparent pixel keeps the frame and its time.
      box = {0, 0, 1, 1};
    }
  }
  GraphicsControlBlock control{};
  control.DisposalMode = DISPOSE_DO_NOT;
  control.DelayTime = kGifFrameDelay;
  control.TransparentColor = transparent_;
  GifByteType extension[4];
  const auto length = EGifGCBToExtension(&control, extension);
  Check(EGifPutExtension(gif_, GRAPHICS_EXT_FUNC_CODE, static_cast<int>(length), extension));
  const int width = box.right - box.left;
  Check(EGifPutImageDesc(gif_, box.left, box.top, width, box.bottom - box.top, false, nullptr));
  const auto transparent = static_cast<GifPixelType>(transparent_);
  for (int y = box.top; y < box.bottom; ++y) {
    const std::size_t start = static_cast<std::size_t>(y) * static_cast<std::size_t>(image.width) +
                              static_cast<std::size_t>(box.left);
    const std::uint8_t* now = image.pixels.data() + start;
    const std::uint8_t* before = previous_.pixels.data() + start;
    GifPixelType* out = row_.data();
    if (first_) {
      std::copy(now, now + width, out);
    } else {
      // A plain loop over plain pointers: the compiler does it 32 pixels at a time.
      for (int x = 0; x < width; ++x) {
        out[x] = now[x] == before[x] ? transparent : now[x];
      }
    }
    Check(EGifPutLine(gif_, out, width));
  }
  previous_.pixels = image.pixels;
  first_ = false;
}

std::string GifAnimation::Finish() {
  int error = 0;
  const int status = EGifCloseFile(gif_, &error);
  gif_ = nullptr;
  if (status != GIF_OK) {
    throw OutputFailed{std::string("cannot finish the GIF: ") + GifErrorString(error)};
  }
  return std::move(bytes_);
}

MatchGif::MatchGif(int width, int height, int every)
    : surface_(CourtSurface(width, height)),
      animation_(width, height, surface_.Palette()),
      every_(every) {}

void MatchGif::AfterFrame(std::int64_t frame, bool last) {
  if ((frame - 1) % every_ != 0 && !last) {
    return;
  }
  // The commands the window records, rasterised.
  DrawCourt(picture_);
  picture_.Replay(surface_);
  animation_.AddFrame(surface_.Image());
}

}  // namespace quarrow::runner
