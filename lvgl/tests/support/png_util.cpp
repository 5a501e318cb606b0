#include "png_util.h"

#include <png.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <sstream>
#include <sys/stat.h>

namespace tessel_test {
namespace {

struct FileCloser {
    void operator()(FILE * f) const
    {
        if(f) std::fclose(f);
    }
};
using File = std::unique_ptr<FILE, FileCloser>;

uint8_t widen5(uint32_t v) { return static_cast<uint8_t>((v * 263U + 7U) >> 5); }
uint8_t widen6(uint32_t v) { return static_cast<uint8_t>((v * 259U + 3U) >> 6); }

std::string out_dir()
{
    const char * e = std::getenv("TESSEL_TEST_OUT");
    std::string d = (e && *e) ? e : "/tmp/tessel-golden-out";
    ::mkdir(d.c_str(), 0755);
    return d;
}

bool update_requested()
{
    const char * e = std::getenv("TESSEL_UPDATE_GOLDEN");
    return e && *e && *e != '0';
}

}  // namespace

int channel_diff(uint16_t a, uint16_t b)
{
    const int dr = std::abs((a >> 11) - (b >> 11));
    const int dg = std::abs(((a >> 5) & 63) - ((b >> 5) & 63));
    const int db = std::abs((a & 31) - (b & 31));
    return std::max(dr, std::max(dg, db));
}

bool write_png565(const std::string & path, const uint16_t * px, int w, int h)
{
    File f(std::fopen(path.c_str(), "wb"));
    if(!f) return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if(!png) return false;
    png_infop info = png_create_info_struct(png);
    struct Guard {
        png_structp * p;
        png_infop * i;
        ~Guard() { png_destroy_write_struct(p, i); }
    } guard{&png, &info};
    if(!info) return false;
    std::vector<uint8_t> row(static_cast<size_t>(w) * 3);
    if(setjmp(png_jmpbuf(png))) return false;
    png_init_io(png, f.get());
    png_set_IHDR(png, info, static_cast<png_uint_32>(w), static_cast<png_uint_32>(h), 8, PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for(int y = 0; y < h; y++) {
        for(int x = 0; x < w; x++) {
            const uint16_t c = px[static_cast<size_t>(y) * static_cast<size_t>(w) + static_cast<size_t>(x)];
            row[static_cast<size_t>(x) * 3 + 0] = widen5(c >> 11);
            row[static_cast<size_t>(x) * 3 + 1] = widen6((c >> 5) & 63);
            row[static_cast<size_t>(x) * 3 + 2] = widen5(c & 31);
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    return true;
}

bool read_png565(const std::string & path, Image565 & out)
{
    File f(std::fopen(path.c_str(), "rb"));
    if(!f) return false;
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if(!png) return false;
    png_infop info = png_create_info_struct(png);
    struct Guard {
        png_structp * p;
        png_infop * i;
        ~Guard() { png_destroy_read_struct(p, i, nullptr); }
    } guard{&png, &info};
    if(!info) return false;
    std::vector<uint8_t> row;
    if(setjmp(png_jmpbuf(png))) return false;
    png_init_io(png, f.get());
    png_read_info(png, info);
    const int w = static_cast<int>(png_get_image_width(png, info));
    const int h = static_cast<int>(png_get_image_height(png, info));
    png_set_expand(png);
    png_set_strip_16(png);
    png_set_gray_to_rgb(png);
    png_read_update_info(png, info);
    const int channels = png_get_channels(png, info);
    if(channels != 3 && channels != 4) return false;
    row.resize(png_get_rowbytes(png, info));
    out.w = w;
    out.h = h;
    out.px.assign(static_cast<size_t>(w) * static_cast<size_t>(h), 0);
    for(int y = 0; y < h; y++) {
        png_read_row(png, row.data(), nullptr);
        for(int x = 0; x < w; x++) {
            const uint8_t * p = &row[static_cast<size_t>(x) * static_cast<size_t>(channels)];
            out.px[static_cast<size_t>(y) * static_cast<size_t>(w) + static_cast<size_t>(x)] =
                static_cast<uint16_t>(((p[0] >> 3) << 11) | ((p[1] >> 2) << 5) | (p[2] >> 3));
        }
    }
    return true;
}

::testing::AssertionResult matches_golden(const std::string & name, const uint16_t * px, int w, int h,
                                          Tolerance tol)
{
    const std::string path = "golden/" + name + ".png";
    if(update_requested()) {
        if(!write_png565(path, px, w, h)) return ::testing::AssertionFailure() << "cannot write " << path;
        return ::testing::AssertionSuccess() << "updated " << path;
    }
    Image565 g;
    if(!read_png565(path, g)) {
        const std::string actual = out_dir() + "/" + name + ".png";
        write_png565(actual, px, w, h);
        return ::testing::AssertionFailure() << "no golden " << path << " (actual written to " << actual
                                             << "; set TESSEL_UPDATE_GOLDEN=1 to accept it)";
    }
    if(g.w != w || g.h != h)
        return ::testing::AssertionFailure() << path << " is " << g.w << "x" << g.h << ", drawn " << w << "x" << h;

    int bad = 0;
    int differing = 0;
    int worst = 0;
    int first_x = -1;
    int first_y = -1;
    std::vector<uint16_t> diff(static_cast<size_t>(w) * static_cast<size_t>(h), 0);
    for(int y = 0; y < h; y++) {
        for(int x = 0; x < w; x++) {
            const size_t i = static_cast<size_t>(y) * static_cast<size_t>(w) + static_cast<size_t>(x);
            const int d = channel_diff(px[i], g.px[i]);
            if(d == 0) continue;
            differing++;
            worst = std::max(worst, d);
            if(d > tol.channel) {
                if(bad == 0) {
                    first_x = x;
                    first_y = y;
                }
                bad++;
                diff[i] = 0xF800;
            }
            else {
                diff[i] = 0xFFE0;
            }
        }
    }
    if(bad <= tol.max_bad) return ::testing::AssertionSuccess();

    const std::string base = out_dir() + "/" + name;
    write_png565(base + ".actual.png", px, w, h);
    write_png565(base + ".diff.png", diff.data(), w, h);
    std::ostringstream os;
    os << name << ": " << bad << " pixels beyond tolerance " << tol.channel << " (allowed " << tol.max_bad << "), "
       << differing << " differ, worst channel difference " << worst << ", first at (" << first_x << "," << first_y
       << ") actual 0x" << std::hex << px[static_cast<size_t>(first_y) * static_cast<size_t>(w) + static_cast<size_t>(first_x)]
       << " golden 0x" << g.px[static_cast<size_t>(first_y) * static_cast<size_t>(w) + static_cast<size_t>(first_x)]
       << std::dec << "; see " << base << ".actual.png / .diff.png";
    return ::testing::AssertionFailure() << os.str();
}

}  // namespace tessel_test
