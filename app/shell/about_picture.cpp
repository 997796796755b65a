#include "app/shell/about_picture.h"

#include <png.h>

namespace {

// Far above the About picture; keeps a damaged header from asking for gigabytes.
constexpr png_uint_32 largest_side = 4096;

}  // namespace

bool decode_png_rgba(std::span<const unsigned char> png, RgbaPicture& picture)
{
    picture = RgbaPicture{};
    if (png.empty()) {
        return false;
    }
    // libpng's simplified reader keeps its longjmp to itself, so no C++ object
    // of ours is skipped over when the data is damaged.
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, png.data(), png.size())) {
        return false;
    }
    if (image.width == 0 || image.height == 0 || image.width > largest_side || image.height > largest_side) {
        png_image_free(&image);
        return false;
    }
    image.format = PNG_FORMAT_RGBA;
    std::vector<unsigned char> pixels(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr)) {
        png_image_free(&image);
        return false;
    }
    picture.width = static_cast<int>(image.width);
    picture.height = static_cast<int>(image.height);
    picture.pixels = std::move(pixels);
    return true;
}
