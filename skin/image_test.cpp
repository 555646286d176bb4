// Pixel arithmetic of the renderer: premultiplied decoding, blending with
// opacity, clipping, and area-averaged scaling.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

#include "skin/image.h"

namespace {

skin::Image solid(int w, int h, uint32_t p) {
  skin::Image img;
  img.resize(w, h, p);
  return img;
}

int channel(uint32_t p, int shift) { return int((p >> shift) & 0xFF); }

TEST(ImageTest, PngRoundTripKeepsStraightColourAndPremultipliesInMemory) {
  skin::Image img = solid(2, 1, 0);
  img.at(0, 0) = 0x80800000u;  // red at 50 %, premultiplied
  img.at(1, 0) = 0xFF00FF00u;  // opaque green
  const std::string path = ::testing::TempDir() + "/roundtrip.png";
  ASSERT_TRUE(skin::savePng(img, path));
  std::ifstream in(path, std::ios::binary);
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  skin::Image back;
  ASSERT_TRUE(skin::decodePng(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), &back));
  ASSERT_EQ(back.width, 2);
  EXPECT_EQ(back.at(1, 0), 0xFF00FF00u);
  EXPECT_EQ(channel(back.at(0, 0), 24), 0x80);
  EXPECT_NEAR(channel(back.at(0, 0), 16), 0x80, 1);
  EXPECT_EQ(back.at(0, 0) & 0xFFFFu, 0u);
  std::remove(path.c_str());
}

TEST(ImageTest, BadPngDataIsRefused) {
  const uint8_t junk[] = {0x89, 'P', 'N', 'G', 0, 1, 2, 3};
  skin::Image out;
  EXPECT_FALSE(skin::decodePng(junk, sizeof junk, &out));
  EXPECT_FALSE(skin::decodePng(nullptr, 0, &out));
}

TEST(ImageTest, BlendingFollowsAlphaAndOpacity) {
  struct Case {
    uint32_t src;
    int opacity;
    int expectGrey;  // on opaque black
  } cases[] = {
      {0xFFFFFFFFu, 255, 255}, {0xFFFFFFFFu, 128, 128}, {0x80808080u, 255, 128},
      {0x80808080u, 128, 64},  {0xFFFFFFFFu, 0, 0},     {0x00000000u, 255, 0},
  };
  for (const Case& c : cases) {
    skin::Image dst = solid(1, 1, 0xFF000000u);
    skin::blendImage(dst, solid(1, 1, c.src), 0, 0, c.opacity);
    EXPECT_EQ(dst.at(0, 0) >> 24, 0xFFu);
    EXPECT_NEAR(channel(dst.at(0, 0), 0), c.expectGrey, 1) << std::hex << c.src << " @" << std::dec << c.opacity;
  }
}

TEST(ImageTest, BlendsAreClippedToTheTarget) {
  skin::Image dst = solid(4, 4, 0);
  const skin::Image src = solid(3, 3, 0xFFFFFFFFu);
  for (auto [x, y] : std::vector<std::pair<int, int>>{{-2, -2}, {3, 3}, {-10, 0}, {2, -1}}) {
    skin::blendImage(dst, src, x, y, 255);
    const uint8_t mask[9] = {255, 255, 255, 255, 255, 255, 255, 255, 255};
    skin::blendCoverage(dst, mask, 3, 3, x, y, 0xFF000000u, 255);
  }
  // Coverage clipped by an explicit rectangle touches nothing outside it.
  skin::Image clip = solid(4, 4, 0);
  const uint8_t full[16] = {255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255};
  skin::blendCoverage(clip, full, 4, 4, 0, 0, 0xFFFFFFFFu, 255, 1, 1, 3, 3);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x) EXPECT_EQ(clip.at(x, y) != 0, x >= 1 && x < 3 && y >= 1 && y < 3) << x << y;
}

TEST(ImageTest, ShrinkingAveragesTheCoveredArea) {
  skin::Image checker = solid(4, 4, 0xFF000000u);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x)
      if ((x + y) % 2) checker.at(x, y) = 0xFFFFFFFFu;
  const skin::Image one = skin::scaleImage(checker, 1, 1);
  EXPECT_NEAR(channel(one.at(0, 0), 8), 128, 1);
  // A half-transparent edge stays half transparent, not dark.
  skin::Image edge = solid(2, 1, 0);
  edge.at(0, 0) = 0xFFFFFFFFu;
  const skin::Image half = skin::scaleImage(edge, 1, 1);
  EXPECT_NEAR(channel(half.at(0, 0), 24), 128, 1);
  EXPECT_NEAR(channel(half.at(0, 0), 0), 128, 1);
}

}  // namespace
