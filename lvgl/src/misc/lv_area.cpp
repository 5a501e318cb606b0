// Rectangle helpers. Areas are inclusive: x2/y2 belong to the area.
#include "../../lvgl.h"

#include <algorithm>

void lv_area_set(lv_area_t * area_p, lv_coord_t x1, lv_coord_t y1, lv_coord_t x2, lv_coord_t y2)
{
    area_p->x1 = x1;
    area_p->y1 = y1;
    area_p->x2 = x2;
    area_p->y2 = y2;
}

uint32_t lv_area_get_size(const lv_area_t * area_p)
{
    if(area_p->x2 < area_p->x1 || area_p->y2 < area_p->y1) return 0;
    return static_cast<uint32_t>(area_p->x2 - area_p->x1 + 1) * static_cast<uint32_t>(area_p->y2 - area_p->y1 + 1);
}

bool _lv_area_intersect(lv_area_t * res_p, const lv_area_t * a1_p, const lv_area_t * a2_p)
{
    lv_area_t r;
    r.x1 = std::max(a1_p->x1, a2_p->x1);
    r.y1 = std::max(a1_p->y1, a2_p->y1);
    r.x2 = std::min(a1_p->x2, a2_p->x2);
    r.y2 = std::min(a1_p->y2, a2_p->y2);
    *res_p = r;
    return r.x1 <= r.x2 && r.y1 <= r.y2;
}

void _lv_area_join(lv_area_t * a_res_p, const lv_area_t * a1_p, const lv_area_t * a2_p)
{
    lv_area_t r;
    r.x1 = std::min(a1_p->x1, a2_p->x1);
    r.y1 = std::min(a1_p->y1, a2_p->y1);
    r.x2 = std::max(a1_p->x2, a2_p->x2);
    r.y2 = std::max(a1_p->y2, a2_p->y2);
    *a_res_p = r;
}

namespace {

// Is p outside the rounded corner of radius r whose circle centre is (cx, cy)?
bool outside_corner(int px, int py, int cx, int cy, int r)
{
    const int dx = px - cx;
    const int dy = py - cy;
    return dx * dx + dy * dy > r * r;
}

int clamp_radius(const lv_area_t * a, lv_coord_t radius)
{
    const int w = lv_area_get_width(a);
    const int h = lv_area_get_height(a);
    const int max_r = std::min(w, h) / 2;
    return std::max(0, std::min<int>(radius, max_r));
}

} // namespace

bool _lv_area_is_point_on(const lv_area_t * a_p, const lv_point_t * p_p, lv_coord_t radius)
{
    if(p_p->x < a_p->x1 || p_p->x > a_p->x2 || p_p->y < a_p->y1 || p_p->y > a_p->y2) return false;
    const int r = clamp_radius(a_p, radius);
    if(r == 0) return true;
    const int x = p_p->x;
    const int y = p_p->y;
    if(x < a_p->x1 + r && y < a_p->y1 + r) return !outside_corner(x, y, a_p->x1 + r, a_p->y1 + r, r);
    if(x > a_p->x2 - r && y < a_p->y1 + r) return !outside_corner(x, y, a_p->x2 - r, a_p->y1 + r, r);
    if(x < a_p->x1 + r && y > a_p->y2 - r) return !outside_corner(x, y, a_p->x1 + r, a_p->y2 - r, r);
    if(x > a_p->x2 - r && y > a_p->y2 - r) return !outside_corner(x, y, a_p->x2 - r, a_p->y2 - r, r);
    return true;
}

bool _lv_area_is_in(const lv_area_t * ain_p, const lv_area_t * aholder_p, lv_coord_t radius)
{
    if(ain_p->x1 < aholder_p->x1 || ain_p->y1 < aholder_p->y1 || ain_p->x2 > aholder_p->x2 ||
       ain_p->y2 > aholder_p->y2)
        return false;
    if(radius == 0) return true;
    // All four corners of the inner area must be inside the rounded holder.
    const lv_point_t corners[4] = {{ain_p->x1, ain_p->y1}, {ain_p->x2, ain_p->y1},
                                   {ain_p->x1, ain_p->y2}, {ain_p->x2, ain_p->y2}};
    for(const auto & c : corners)
        if(!_lv_area_is_point_on(aholder_p, &c, radius)) return false;
    return true;
}
