/**
 * @file canvas.h
 * An RGB565 draw buffer with a draw context for renderer tests, surrounded by guard pixels
 * so that a write outside the buffer is caught.
 */
#ifndef TESSEL_TEST_CANVAS_H
#define TESSEL_TEST_CANVAS_H

#include "draw/lv_draw.h"

#include <cstdint>
#include <vector>

namespace tessel_test {

class Canvas {
public:
    static constexpr uint16_t kGuard = 0xA5A5;
    static constexpr size_t kGuardPx = 256;

    /** A w x h buffer showing the screen area starting at (x0, y0), filled with `bg`; clip = whole buffer. */
    Canvas(int w, int h, uint16_t bg = 0xFFFF, int x0 = 0, int y0 = 0)
        : w_(w), h_(h), mem_(static_cast<size_t>(w) * static_cast<size_t>(h) + 2 * kGuardPx, kGuard)
    {
        buf_area_ = {static_cast<lv_coord_t>(x0), static_cast<lv_coord_t>(y0), static_cast<lv_coord_t>(x0 + w - 1),
                     static_cast<lv_coord_t>(y0 + h - 1)};
        clip_ = buf_area_;
        ctx_.buf = px_ptr();
        ctx_.buf_area = &buf_area_;
        ctx_.clip_area = &clip_;
        fill(bg);
    }
    Canvas(const Canvas &) = delete;
    Canvas & operator=(const Canvas &) = delete;

    lv_draw_ctx_t * ctx() { return &ctx_; }
    int w() const { return w_; }
    int h() const { return h_; }
    const uint16_t * data() const { return mem_.data() + kGuardPx; }
    /** Pixel at screen coordinates. */
    uint16_t at(int x, int y) const
    {
        return data()[static_cast<size_t>(y - buf_area_.y1) * static_cast<size_t>(w_) + static_cast<size_t>(x - buf_area_.x1)];
    }
    void fill(uint16_t c)
    {
        for(size_t i = 0; i < static_cast<size_t>(w_) * static_cast<size_t>(h_); i++) px_ptr()[i] = c;
    }
    void set_clip(int x1, int y1, int x2, int y2)
    {
        clip_ = {static_cast<lv_coord_t>(x1), static_cast<lv_coord_t>(y1), static_cast<lv_coord_t>(x2),
                 static_cast<lv_coord_t>(y2)};
    }
    bool guards_intact() const
    {
        for(size_t i = 0; i < kGuardPx; i++)
            if(mem_[i] != kGuard || mem_[mem_.size() - 1 - i] != kGuard) return false;
        return true;
    }
    /** Number of pixels in the rectangle (screen coordinates, inclusive) that are not `c`. */
    int count_not(uint16_t c, int x1, int y1, int x2, int y2) const
    {
        int n = 0;
        for(int y = y1; y <= y2; y++)
            for(int x = x1; x <= x2; x++) n += at(x, y) != c;
        return n;
    }

private:
    uint16_t * px_ptr() { return mem_.data() + kGuardPx; }
    int w_;
    int h_;
    std::vector<uint16_t> mem_;
    lv_area_t buf_area_{};
    lv_area_t clip_{};
    lv_draw_ctx_t ctx_{};
};

inline lv_area_t area(int x1, int y1, int x2, int y2)
{
    return {static_cast<lv_coord_t>(x1), static_cast<lv_coord_t>(y1), static_cast<lv_coord_t>(x2),
            static_cast<lv_coord_t>(y2)};
}

}  // namespace tessel_test

#endif
