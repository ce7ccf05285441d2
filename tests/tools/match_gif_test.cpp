#include "match_gif.h"

#include <gif_lib.h>
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "game/match_setup.h"
#include "game/platform.h"

namespace quarrow::runner {
namespace {

struct Reader {
  const std::string& bytes;
  std::size_t at = 0;
};

int ReadBytes(GifFileType* gif, GifByteType* out, int size) {
  auto* reader = static_cast<Reader*>(gif->UserData);
  const std::size_t n = std::min(static_cast<std::size_t>(size), reader->bytes.size() - reader->at);
  std::memcpy(out, reader->bytes.data() + reader->at, n);
  reader->at += n;
  return static_cast<int>(n);
}

// Decodes a whole file; each frame drawn over the one before, as a browser shows it.
struct Decoded {
  std::vector<std::vector<std::uint8_t>> frames;
  std::vector<GifImageDesc> boxes;
  std::vector<GraphicsControlBlock> controls;
  bool loops = false;
};

Decoded Decode(const std::string& bytes) {
  Reader reader{bytes};
  int error = 0;
  GifFileType* gif = DGifOpen(&reader, ReadBytes, &error);
  Decoded d;
  if (gif == nullptr || DGifSlurp(gif) != GIF_OK) {
    ADD_FAILURE() << "not a GIF";
    return d;
  }
  std::vector<std::uint8_t> canvas(static_cast<std::size_t>(gif->SWidth * gif->SHeight));
  for (int k = 0; k < gif->ImageCount; ++k) {
    const SavedImage& image = gif->SavedImages[k];
    GraphicsControlBlock control{};
    DGifSavedExtensionToGCB(gif, k, &control);
    const GifImageDesc& box = image.ImageDesc;
    for (int y = 0; y < box.Height; ++y) {
      for (int x = 0; x < box.Width; ++x) {
        const GifByteType v = image.RasterBits[y * box.Width + x];
        if (v != control.TransparentColor) {
          canvas[static_cast<std::size_t>((box.Top + y) * gif->SWidth + box.Left + x)] = v;
        }
      }
    }
    d.frames.push_back(canvas);
    d.boxes.push_back(box);
    d.controls.push_back(control);
  }
  // The loop extension comes before the first image, which the decoder files it with.
  const SavedImage& first = gif->SavedImages[0];
  for (int e = 0; e < first.ExtensionBlockCount; ++e) {
    const ExtensionBlock& block = first.ExtensionBlocks[e];
    d.loops |= block.ByteCount == 11 && std::memcmp(block.Bytes, "NETSCAPE2.0", 11) == 0;
  }
  DGifCloseFile(gif, &error);
  return d;
}

TEST(MatchGif, StoresOnlyWhatChangedAndDecodesToEveryFrame) {
  RasterSurface surface(40, 30);
  const std::uint8_t red = surface.IndexOf({255, 0, 0});
  GifAnimation gif(40, 30, surface.Palette());
  std::vector<IndexedImage> shown;
  const auto add = [&] {
    gif.AddFrame(surface.Image());
    shown.push_back(surface.Image());
  };
  surface.Rectangle({0, 0}, {10, 30}, {255, 0, 0});
  add();
  surface.Rectangle({20, 5}, {23, 7}, {255, 0, 0});
  surface.Rectangle({2, 3}, {5, 4}, {0, 0, 0});  // the stored pixel equals the transparent index
  add();
  add();  // nothing moved
  const Decoded d = Decode(gif.Finish());
  ASSERT_EQ(d.frames.size(), 3u);
  EXPECT_TRUE(d.loops);
  for (std::size_t k = 0; k < 3; ++k) {
    EXPECT_EQ(d.frames[k], shown[k].pixels) << k;
    EXPECT_EQ(d.controls[k].DelayTime, 5);
    EXPECT_EQ(d.controls[k].DisposalMode, DISPOSE_DO_NOT);
    EXPECT_NE(d.controls[k].TransparentColor, red);
  }
  EXPECT_EQ(d.boxes[1].Left, 2);
  EXPECT_EQ(d.boxes[1].Top, 3);
  EXPECT_EQ(d.boxes[1].Width, 21);
  EXPECT_EQ(d.boxes[1].Height, 4);
  EXPECT_EQ(d.boxes[2].Width * d.boxes[2].Height, 1);
}

TEST(MatchGif, KeepsTheFirstEveryNthAndTheLastFrame) {
  SeededPlatform platform(1, {100, 50});
  const PlatformInstallation installation(platform);
  InitGame();
  MatchGif gif(100, 50, 4);
  for (int frame = 1; frame <= 10; ++frame) {
    gif.AfterFrame(frame, frame == 10);
  }
  EXPECT_EQ(Decode(gif.Finish()).frames.size(), 4u);  // 1, 5, 9 and 10
}

}  // namespace
}  // namespace quarrow::runner
