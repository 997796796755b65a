#pragma once

#include <cstddef>
#include <span>
#include <vector>

#include "text/texts.h"

// A decoded picture: width x height pixels of four bytes each, red, green,
// blue and alpha (not premultiplied), rows from the top without padding.
struct RgbaPicture {
    int width = 0;
    int height = 0;
    std::vector<unsigned char> pixels;
};

// Decodes a PNG held in memory into 8-bit RGBA, whatever its colour type.
// Returns false and leaves `picture` empty when the bytes are not a PNG that
// can be read, or when the picture is larger than any the program carries.
bool decode_png_rgba(std::span<const unsigned char> png, RgbaPicture& picture);
