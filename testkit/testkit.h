// Headless LVGL harness: a 1280 x 800 RGB565 display kept in memory, a
// scripted pointer and a clock advanced in 5 ms steps.
//
//   testkit::Display d;           // lv_init() if needed, display + pointer
//   d.press(100, 40);             // pointer down (seen at the next 30 ms read)
//   d.advance_ms(200);            // lv_tick_inc(5) + lv_timer_handler(), repeated
//   d.release();
//   d.pixel(10, 10);              // RGB565 of the last flushed frame
//   d.write_png("out.png");
//
// Only one Display may exist at a time. Uses the public LVGL 8.3 API only.
#ifndef TESSEL_TESTKIT_H
#define TESSEL_TESTKIT_H

#include "lvgl.h"

#include <cstdint>
#include <string>
#include <vector>

namespace testkit {

class Display {
public:
    explicit Display(lv_coord_t width = 1280, lv_coord_t height = 800);
    ~Display();
    Display(const Display &) = delete;
    Display & operator=(const Display &) = delete;

    lv_disp_t * disp() const { return disp_; }
    lv_indev_t * pointer() const { return indev_; }
    lv_coord_t width() const { return width_; }
    lv_coord_t height() const { return height_; }

    /* Scripted pointer. Each call wakes LVGL's input reading, as a real backend does. */
    void press(lv_coord_t x, lv_coord_t y);
    void move(lv_coord_t x, lv_coord_t y);
    void release();
    /** press, 60 ms, release, 60 ms: long enough for LVGL to see both edges. */
    void tap(lv_coord_t x, lv_coord_t y);

    /** Advance LVGL's clock by `ms` in 5 ms steps, running lv_timer_handler after each. */
    void advance_ms(uint32_t ms);
    /** What the last lv_timer_handler call returned. */
    uint32_t last_handler_result() const { return last_result_; }
    /** Redraw everything invalidated now (lv_refr_now). */
    void refresh();

    /* The frame as flushed so far. */
    uint16_t pixel(lv_coord_t x, lv_coord_t y) const;
    /** 24-bit 0xRRGGBB of a pixel, each channel widened from RGB565. */
    uint32_t pixel_rgb(lv_coord_t x, lv_coord_t y) const;
    const std::vector<uint16_t> & framebuffer() const { return fb_; }
    bool write_png(const std::string & path) const;

    /* Flush statistics. */
    uint32_t flush_count() const { return flush_count_; }
    uint64_t flushed_pixels() const { return flushed_px_; }
    const std::vector<lv_area_t> & flushed_areas() const { return flushed_areas_; }
    void reset_flush_stats();

private:
    static void flush_cb(lv_disp_drv_t * drv, const lv_area_t * area, lv_color_t * color_p);
    static void read_cb(lv_indev_drv_t * drv, lv_indev_data_t * data);
    void wake_input();

    lv_coord_t width_;
    lv_coord_t height_;
    std::vector<lv_color_t> draw_buf_mem_;
    std::vector<uint16_t> fb_;
    lv_disp_draw_buf_t draw_buf_{};
    lv_disp_drv_t disp_drv_{};
    lv_indev_drv_t indev_drv_{};
    lv_disp_t * disp_ = nullptr;
    lv_indev_t * indev_ = nullptr;
    lv_point_t point_{0, 0};
    bool pressed_ = false;
    uint32_t last_result_ = 0;
    uint32_t flush_count_ = 0;
    uint64_t flushed_px_ = 0;
    std::vector<lv_area_t> flushed_areas_;
};

/** Write RGB565 pixels (row-major) as an 8-bit RGB PNG. */
bool write_png_rgb565(const std::string & path, const uint16_t * pixels, int width, int height);

} // namespace testkit

#endif
