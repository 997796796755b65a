// Draws the About picture: a closed ring of six roller chain links seen from
// the side, on a transparent background, and writes it as a 256 x 256 RGBA
// PNG. The build runs this once and embeds the file in both programs.
//
//   about_picture_gen output.png
#include <cairo.h>
#include <png.h>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <vector>

namespace {

constexpr int picture_size = 256;
constexpr double pi = 3.14159265358979323846;

struct Colour {
    double r, g, b;
};

constexpr Colour outer_plate_fill{0.98, 0.79, 0.09};
constexpr Colour outer_plate_edge{0.55, 0.40, 0.02};
constexpr Colour inner_plate_fill{0.64, 0.66, 0.69};
constexpr Colour inner_plate_edge{0.30, 0.31, 0.33};
constexpr Colour pin_fill{0.13, 0.13, 0.15};
constexpr Colour pin_highlight{0.42, 0.43, 0.47};

// One waisted link plate from pin centre (ax, ay) to (bx, by): round ends of
// radius r around the pins, joined by S-curves that narrow to half-height w in
// the middle. Every joint has a horizontal tangent, so the outline is smooth.
void plate_path(cairo_t* cr, double ax, double ay, double bx, double by, double r, double w)
{
    const double p = std::hypot(bx - ax, by - ay);
    cairo_save(cr);
    cairo_translate(cr, ax, ay);
    cairo_rotate(cr, std::atan2(by - ay, bx - ax));
    cairo_new_path(cr);
    cairo_move_to(cr, 0.0, -r);
    cairo_curve_to(cr, 0.25 * p, -r, 0.25 * p, -w, 0.5 * p, -w);
    cairo_curve_to(cr, 0.75 * p, -w, 0.75 * p, -r, p, -r);
    cairo_arc(cr, p, 0.0, r, -0.5 * pi, 0.5 * pi);
    cairo_curve_to(cr, 0.75 * p, r, 0.75 * p, w, 0.5 * p, w);
    cairo_curve_to(cr, 0.25 * p, w, 0.25 * p, r, 0.0, r);
    cairo_arc(cr, 0.0, 0.0, r, 0.5 * pi, 1.5 * pi);
    cairo_close_path(cr);
    cairo_restore(cr);
}

void fill_and_edge(cairo_t* cr, Colour fill, Colour edge)
{
    cairo_set_source_rgb(cr, fill.r, fill.g, fill.b);
    cairo_fill_preserve(cr);
    cairo_set_source_rgb(cr, edge.r, edge.g, edge.b);
    cairo_set_line_width(cr, 2.0);
    cairo_stroke(cr);
}

void draw_ring(cairo_t* cr)
{
    // Six pins on a circle: the pitch equals the circle's radius. The plates
    // are drawn a little lower than a real chain's (0.8 p instead of 0.93 p)
    // so that the inner plates show between the outer ones at this size.
    const double centre = picture_size / 2.0;
    const double pitch = 80.0;
    const double plate_half_height = 0.40 * pitch;
    const double waist_half_height = 0.29 * pitch;
    const double pin_radius = 0.15 * pitch;

    double px[6];
    double py[6];
    for (int k = 0; k < 6; ++k) {
        const double angle = k * pi / 3.0;
        px[k] = centre + pitch * std::cos(angle);
        py[k] = centre + pitch * std::sin(angle);
    }

    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    // Inner links first: the outer plates lie over their ends.
    for (int k = 0; k < 6; k += 2) {
        plate_path(cr, px[k], py[k], px[(k + 1) % 6], py[(k + 1) % 6], plate_half_height, waist_half_height);
        fill_and_edge(cr, inner_plate_fill, inner_plate_edge);
    }
    for (int k = 1; k < 6; k += 2) {
        plate_path(cr, px[k], py[k], px[(k + 1) % 6], py[(k + 1) % 6], plate_half_height, waist_half_height);
        fill_and_edge(cr, outer_plate_fill, outer_plate_edge);
    }
    for (int k = 0; k < 6; ++k) {
        cairo_new_path(cr);
        cairo_arc(cr, px[k], py[k], pin_radius, 0.0, 2.0 * pi);
        cairo_set_source_rgb(cr, pin_fill.r, pin_fill.g, pin_fill.b);
        cairo_fill(cr);
        cairo_new_path(cr);
        cairo_arc(cr, px[k] - 0.3 * pin_radius, py[k] - 0.3 * pin_radius, 0.3 * pin_radius, 0.0, 2.0 * pi);
        cairo_set_source_rgb(cr, pin_highlight.r, pin_highlight.g, pin_highlight.b);
        cairo_fill(cr);
    }
}

// cairo keeps premultiplied native-endian ARGB; PNG wants straight RGBA bytes.
std::vector<unsigned char> straight_rgba(cairo_surface_t* surface)
{
    cairo_surface_flush(surface);
    const unsigned char* data = cairo_image_surface_get_data(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    std::vector<unsigned char> rgba(static_cast<std::size_t>(picture_size) * picture_size * 4);
    for (int y = 0; y < picture_size; ++y) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(data + static_cast<std::ptrdiff_t>(y) * stride);
        for (int x = 0; x < picture_size; ++x) {
            const std::uint32_t argb = row[x];
            const unsigned a = argb >> 24;
            unsigned channel[3] = {(argb >> 16) & 0xffu, (argb >> 8) & 0xffu, argb & 0xffu};
            unsigned char* out = &rgba[(static_cast<std::size_t>(y) * picture_size + x) * 4];
            for (int c = 0; c < 3; ++c) {
                out[c] = a == 0 ? 0 : static_cast<unsigned char>((channel[c] * 255u + a / 2u) / a);
            }
            out[3] = static_cast<unsigned char>(a);
        }
    }
    return rgba;
}

bool write_png(const char* path, const std::vector<unsigned char>& rgba)
{
    FILE* file = std::fopen(path, "wb");
    if (!file) {
        return false;
    }
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        std::fclose(file);
        return false;
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, picture_size, picture_size, 8, PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_compression_level(png, 9);
    // A buffer larger than the compressed picture puts all of it into one IDAT chunk.
    png_set_compression_buffer_size(png, 1 << 20);
    png_write_info(png, info);
    for (int y = 0; y < picture_size; ++y) {
        png_write_row(png, &rgba[static_cast<std::size_t>(y) * picture_size * 4]);
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return std::fclose(file) == 0;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fputs("usage: about_picture_gen output.png\n", stderr);
        return 2;
    }
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, picture_size, picture_size);
    cairo_t* cr = cairo_create(surface);
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_BEST);
    draw_ring(cr);
    const bool ok = cairo_status(cr) == CAIRO_STATUS_SUCCESS && write_png(argv[1], straight_rgba(surface));
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
    cairo_debug_reset_static_data();
    if (!ok) {
        std::fprintf(stderr, "about_picture_gen: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
