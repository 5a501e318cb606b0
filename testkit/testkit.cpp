#include "testkit.h"

#include <png.h>

#include <cstdio>
#include <cstring>

namespace testkit {

namespace {
constexpr uint32_t kStepMs = 5;

uint32_t widen(uint16_t c)
{
    const uint32_t r5 = (c >> 11) & 0x1F;
    const uint32_t g6 = (c >> 5) & 0x3F;
    const uint32_t b5 = c & 0x1F;
    const uint32_t r = (r5 << 3) | (r5 >> 2);
    const uint32_t g = (g6 << 2) | (g6 >> 4);
    const uint32_t b = (b5 << 3) | (b5 >> 2);
    return (r << 16) | (g << 8) | b;
}
} // namespace

Display::Display(lv_coord_t width, lv_coord_t height)
    : width_(width), height_(height),
      draw_buf_mem_(static_cast<size_t>(width) * static_cast<size_t>(height)),
      fb_(static_cast<size_t>(width) * static_cast<size_t>(height), 0)
{
    if(!lv_is_initialized()) lv_init();

    lv_disp_draw_buf_init(&draw_buf_, draw_buf_mem_.data(), nullptr, static_cast<uint32_t>(draw_buf_mem_.size()));
    lv_disp_drv_init(&disp_drv_);
    disp_drv_.hor_res = width;
    disp_drv_.ver_res = height;
    disp_drv_.draw_buf = &draw_buf_;
    disp_drv_.flush_cb = flush_cb;
    disp_drv_.user_data = this;
    disp_ = lv_disp_drv_register(&disp_drv_);

    lv_indev_drv_init(&indev_drv_);
    indev_drv_.type = LV_INDEV_TYPE_POINTER;
    indev_drv_.read_cb = read_cb;
    indev_drv_.user_data = this;
    indev_drv_.disp = disp_;
    indev_ = lv_indev_drv_register(&indev_drv_);
}

Display::~Display()
{
    if(indev_) lv_indev_delete(indev_);
    if(disp_) lv_disp_remove(disp_);
}

void Display::flush_cb(lv_disp_drv_t * drv, const lv_area_t * area, lv_color_t * color_p)
{
    auto * self = static_cast<Display *>(drv->user_data);
    const int32_t w = area->x2 - area->x1 + 1;
    // Copy the part of the area that lies on the screen, row by row.
    const int32_t x1 = area->x1 < 0 ? 0 : area->x1;
    const int32_t x2 = area->x2 >= self->width_ ? self->width_ - 1 : area->x2;
    for(int32_t y = area->y1; y <= area->y2 && x1 <= x2; y++) {
        if(y < 0 || y >= self->height_) continue;
        const lv_color_t * src = color_p + static_cast<size_t>(y - area->y1) * static_cast<size_t>(w) + (x1 - area->x1);
        uint16_t * dst = &self->fb_[static_cast<size_t>(y) * static_cast<size_t>(self->width_) + static_cast<size_t>(x1)];
        static_assert(sizeof(lv_color_t) == sizeof(uint16_t), "RGB565 display");
        std::memcpy(dst, src, static_cast<size_t>(x2 - x1 + 1) * sizeof(uint16_t));
    }
    self->flush_count_++;
    self->flushed_px_ += static_cast<uint64_t>(w) * static_cast<uint64_t>(area->y2 - area->y1 + 1);
    self->flushed_areas_.push_back(*area);
    lv_disp_flush_ready(drv);
}

void Display::read_cb(lv_indev_drv_t * drv, lv_indev_data_t * data)
{
    auto * self = static_cast<Display *>(drv->user_data);
    data->point = self->point_;
    data->state = self->pressed_ ? LV_INDEV_STATE_PRESSED : LV_INDEV_STATE_RELEASED;
}

void Display::wake_input()
{
    if(indev_drv_.read_timer) lv_timer_resume(indev_drv_.read_timer);
}

void Display::press(lv_coord_t x, lv_coord_t y)
{
    point_.x = x;
    point_.y = y;
    pressed_ = true;
    wake_input();
}

void Display::move(lv_coord_t x, lv_coord_t y)
{
    point_.x = x;
    point_.y = y;
    wake_input();
}

void Display::release()
{
    pressed_ = false;
    wake_input();
}

void Display::tap(lv_coord_t x, lv_coord_t y)
{
    press(x, y);
    advance_ms(60);
    release();
    advance_ms(60);
}

void Display::advance_ms(uint32_t ms)
{
    while(ms > 0) {
        const uint32_t step = ms < kStepMs ? ms : kStepMs;
        lv_tick_inc(step);
        last_result_ = lv_timer_handler();
        ms -= step;
    }
}

void Display::refresh() { lv_refr_now(disp_); }

uint16_t Display::pixel(lv_coord_t x, lv_coord_t y) const
{
    if(x < 0 || y < 0 || x >= width_ || y >= height_) return 0;
    return fb_[static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x)];
}

uint32_t Display::pixel_rgb(lv_coord_t x, lv_coord_t y) const { return widen(pixel(x, y)); }

bool Display::write_png(const std::string & path) const { return write_png_rgb565(path, fb_.data(), width_, height_); }

void Display::reset_flush_stats()
{
    flush_count_ = 0;
    flushed_px_ = 0;
    flushed_areas_.clear();
}

bool write_png_rgb565(const std::string & path, const uint16_t * pixels, int width, int height)
{
    FILE * f = std::fopen(path.c_str(), "wb");
    if(f == nullptr) return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if(png == nullptr || info == nullptr) {
        png_destroy_write_struct(&png, &info);
        std::fclose(f);
        return false;
    }
    std::vector<png_byte> row(static_cast<size_t>(width) * 3);
    if(setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        std::fclose(f);
        return false;
    }
    png_init_io(png, f);
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8, PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for(int y = 0; y < height; y++) {
        for(int x = 0; x < width; x++) {
            const uint32_t rgb = widen(pixels[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)]);
            row[static_cast<size_t>(x) * 3 + 0] = static_cast<png_byte>(rgb >> 16);
            row[static_cast<size_t>(x) * 3 + 1] = static_cast<png_byte>(rgb >> 8);
            row[static_cast<size_t>(x) * 3 + 2] = static_cast<png_byte>(rgb);
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return std::fclose(f) == 0;
}

} // namespace testkit
