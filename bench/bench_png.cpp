#include "bench_common.h"

#include <png.h>

namespace bench {

bool write_png(const char *path)
{
    FILE *f = std::fopen(path, "wb");
    if (!f) return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        std::fclose(f);
        return false;
    }
    png_init_io(png, f);
    png_set_IHDR(png, info, kHor, kVer, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    std::vector<png_byte> row(kHor * 3);
    const auto &px = draw_pixels();
    for (int y = 0; y < kVer; y++) {
        for (int x = 0; x < kHor; x++) {
            uint16_t c = px[y * kHor + x].full;
            row[x * 3 + 0] = (png_byte)(((c >> 11) & 0x1F) * 255 / 31);
            row[x * 3 + 1] = (png_byte)(((c >> 5) & 0x3F) * 255 / 63);
            row[x * 3 + 2] = (png_byte)((c & 0x1F) * 255 / 31);
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    std::fclose(f);
    return true;
}

} // namespace bench
