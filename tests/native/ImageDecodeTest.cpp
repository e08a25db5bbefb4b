#include <gtest/gtest.h>

#include <string>
#include <vector>

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STBI_WRITE_NO_STDIO
#include "stb/stb_image_write.h"
#pragma GCC diagnostic pop

#include "ui/Core/ImageDecode.h"

namespace {

std::string Png(int w, int h, const std::vector<unsigned char>& rgba) {
  std::string out;
  stbi_write_png_to_func([](void* ctx, void* data, int size) { static_cast<std::string*>(ctx)->append(
                             static_cast<char*>(data), static_cast<size_t>(size)); },
                         &out, w, h, 4, rgba.data(), w * 4);
  return out;
}

TEST(ImageDecode, PngBecomesPremultipliedBgraWithAlphaFlag) {
  // Opaque red, half-transparent white, fully transparent green, opaque black.
  std::string png = Png(2, 2, {255, 0, 0, 255, 255, 255, 255, 128, 0, 255, 0, 0, 0, 0, 0, 255});
  vt::DecodedImage img;
  ASSERT_TRUE(vt::DecodeImage(png.data(), png.size(), 0, img));
  EXPECT_EQ(img.width, 2);
  EXPECT_EQ(img.height, 2);
  ASSERT_EQ(img.pixels.size(), 4u);
  EXPECT_EQ(img.pixels[0], 0xFFFF0000u);
  EXPECT_EQ(img.pixels[1], 0x80808080u);
  EXPECT_EQ(img.pixels[2], 0x00000000u);
  EXPECT_EQ(img.pixels[3], 0xFF000000u);
  EXPECT_TRUE(img.hasAlpha);

  std::string opaque = Png(1, 1, {1, 2, 3, 255});
  ASSERT_TRUE(vt::DecodeImage(opaque.data(), opaque.size(), 0, img));
  EXPECT_FALSE(img.hasAlpha);
  EXPECT_EQ(img.pixels[0], 0xFF010203u);
}

TEST(ImageDecode, MaskColourBecomesTransparent) {
  std::string png = Png(2, 1, {0, 0, 0, 255, 9, 9, 9, 255});
  vt::DecodedImage img;
  ASSERT_TRUE(vt::DecodeImage(png.data(), png.size(), 0xFF000000u, img));
  EXPECT_EQ(img.pixels[0], 0u);
  EXPECT_EQ(img.pixels[1], 0xFF090909u);
  EXPECT_TRUE(img.hasAlpha);
}

TEST(ImageDecode, GarbageAndCutImagesAreRefused) {
  std::string png = Png(8, 8, std::vector<unsigned char>(8 * 8 * 4, 200));
  vt::DecodedImage img;
  EXPECT_FALSE(vt::DecodeImage("garbage", 7, 0, img));
  EXPECT_FALSE(vt::DecodeImage(nullptr, 0, 0, img));
  for (size_t cut = 0; cut < png.size(); cut += 5) vt::DecodeImage(png.data(), cut, 0, img);  // no overrun
}

// Two 1x1 frames (palette index 1 = red, then index 0 = blue) with delays of
// 10 and 25 hundredths of a second.
std::string TwoFrameGif() {
  std::string g("GIF89a\x01\x00\x01\x00\x80\x00\x00", 13);
  g += std::string("\x00\x00\xFF\xFF\x00\x00", 6);  // palette: 0 blue, 1 red
  auto frame = [&](char delayLo, const char* lzw) {
    g += std::string("\x21\xF9\x04\x00", 4) + delayLo + std::string("\x00\x00\x00", 3);
    g += std::string("\x2C\x00\x00\x00\x00\x01\x00\x01\x00\x00", 10);
    g += std::string("\x02\x02", 2) + std::string(lzw, 2) + std::string("\x00", 1);
  };
  frame(10, "\x4C\x01");
  frame(25, "\x44\x01");
  g += ";";
  return g;
}

TEST(ImageDecode, GifAnimationKeepsEveryFrameAndDelay) {
  std::string gif = TwoFrameGif();
  vt::DecodedAnimation anim;
  ASSERT_TRUE(vt::DecodeGifAnimation(gif.data(), gif.size(), anim));
  ASSERT_EQ(anim.frames.size(), 2u);
  EXPECT_EQ(anim.delaysMs[0], 100);
  EXPECT_EQ(anim.delaysMs[1], 250);
  EXPECT_EQ(anim.frames[0].pixels[0], 0xFFFF0000u);
  EXPECT_EQ(anim.frames[1].pixels[0], 0xFF0000FFu);
  vt::DecodedImage first;
  ASSERT_TRUE(vt::DecodeImage(gif.data(), gif.size(), 0, first));  // first frame as a still image
  EXPECT_EQ(first.pixels[0], 0xFFFF0000u);
  std::string png = Png(1, 1, {1, 2, 3, 255});
  EXPECT_FALSE(vt::DecodeGifAnimation(png.data(), png.size(), anim));
}

}  // namespace
