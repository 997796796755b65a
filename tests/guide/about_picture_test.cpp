// The About picture as the program carries it, and the decoder behind the
// About window.
#include "app/shell/about_picture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

namespace {

std::uint32_t big_endian(const unsigned char* p)
{
    return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) | p[3];
}

// Read straight from the file's bytes, independent of libpng.
TEST(AboutPicture, IsA256PixelRgbaPngWithOneImageDataChunk)
{
    const auto png = about_picture_png();
    ASSERT_GT(png.size(), 1000u);
    const unsigned char signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    ASSERT_TRUE(std::equal(signature, signature + 8, png.begin()));

    std::vector<std::string> chunks;
    std::size_t at = 8;
    while (at + 12 <= png.size()) {
        const std::uint32_t length = big_endian(&png[at]);
        chunks.emplace_back(reinterpret_cast<const char*>(&png[at + 4]), 4);
        if (chunks.size() == 1) {
            ASSERT_EQ(chunks[0], "IHDR");
            const unsigned char* ihdr = &png[at + 8];
            EXPECT_EQ(big_endian(ihdr), 256u);      // width
            EXPECT_EQ(big_endian(ihdr + 4), 256u);  // height
            EXPECT_EQ(ihdr[8], 8);                  // bits per channel
            EXPECT_EQ(ihdr[9], 6);                  // RGBA
            EXPECT_EQ(ihdr[12], 0);                 // not interlaced
        }
        at += 12 + std::size_t{length};
    }
    EXPECT_EQ(at, png.size()) << "chunks do not fill the file exactly";
    ASSERT_FALSE(chunks.empty());
    EXPECT_EQ(chunks.back(), "IEND");
    EXPECT_EQ(std::count(chunks.begin(), chunks.end(), "IDAT"), 1);
}

TEST(AboutPicture, ShowsARingOfYellowGreyAndDarkPartsOnTransparency)
{
    RgbaPicture picture;
    ASSERT_TRUE(decode_png_rgba(about_picture_png(), picture));
    ASSERT_EQ(picture.width, 256);
    ASSERT_EQ(picture.height, 256);
    ASSERT_EQ(picture.pixels.size(), 256u * 256u * 4u);

    const auto pixel = [&](int x, int y) { return &picture.pixels[(std::size_t(y) * 256 + std::size_t(x)) * 4]; };
    for (const auto& [x, y] : {std::pair{0, 0}, {255, 0}, {0, 255}, {255, 255}}) {
        EXPECT_EQ(pixel(x, y)[3], 0) << "corner " << x << ", " << y;
    }
    // A ring: open in the middle, nothing opaque near the edges.
    EXPECT_EQ(pixel(128, 128)[3], 0);

    int yellow = 0, grey = 0, dark = 0, opaque = 0, outside_ring = 0;
    for (int y = 0; y < 256; ++y) {
        for (int x = 0; x < 256; ++x) {
            const unsigned char* p = pixel(x, y);
            if (p[3] == 0) {
                continue;
            }
            const double r = std::hypot(x + 0.5 - 128.0, y + 0.5 - 128.0);
            if (r < 30.0 || r > 126.0) {
                ++outside_ring;
            }
            if (p[3] != 255) {
                continue;  // anti-aliased edge
            }
            ++opaque;
            const int red = p[0], green = p[1], blue = p[2];
            if (red > 200 && green > 150 && blue < 80) {
                ++yellow;
            } else if (red > 120 && red < 210 && std::abs(red - green) < 20 && std::abs(green - blue) < 25) {
                ++grey;
            } else if (red < 70 && green < 70 && blue < 70) {
                ++dark;
            }
        }
    }
    EXPECT_EQ(outside_ring, 0);
    EXPECT_GT(yellow, 4000) << "outer plates";
    EXPECT_GT(grey, 2000) << "inner plates";
    EXPECT_GT(dark, 1000) << "pins";
    EXPECT_GT(opaque, 12000);
    EXPECT_LT(opaque, 50000);
}

TEST(AboutPicture, DamagedDataDecodesToNothing)
{
    const auto png = about_picture_png();
    RgbaPicture picture;
    EXPECT_FALSE(decode_png_rgba({}, picture));

    picture.width = 7;
    EXPECT_FALSE(decode_png_rgba(png.first(100), picture));
    EXPECT_EQ(picture.width, 0);
    EXPECT_TRUE(picture.pixels.empty());

    const std::vector<unsigned char> not_png(500, 0x42);
    EXPECT_FALSE(decode_png_rgba(not_png, picture));

    // A flipped byte inside the image data fails its checksum.
    std::vector<unsigned char> flipped(png.begin(), png.end());
    flipped[flipped.size() / 2] ^= 0x55;
    EXPECT_FALSE(decode_png_rgba(flipped, picture));
    EXPECT_TRUE(picture.pixels.empty());
}

}  // namespace
