#!/usr/bin/python3
"""Draws the product's pictures into assets/images/*.png.

Run with Debian's Python (python3-pil):  /usr/bin/python3 tools/gen_images.py
The lettering uses the Montserrat and Antonio files of tools/node_modules
(run tools/gen_fonts.sh or `npm ci` in tools/ first) and Debian's Noto Sans
CJK. The output is deterministic, so the committed PNGs only change when
this script does.

Each picture is drawn SS times larger and reduced with a box filter, which
gives clean anti-aliased edges without depending on PIL's shape smoothing.
"""
import math
import os
import sys

from PIL import Image, ImageDraw, ImageFilter, ImageFont

TOOLS = os.path.dirname(os.path.abspath(__file__))
REPO = os.path.dirname(TOOLS)
# TESSEL_IMAGES_OUT: another folder (the generated-files check draws into one)
OUT = os.environ.get("TESSEL_IMAGES_OUT") or os.path.join(REPO, "assets", "images")
FONTSOURCE = os.path.join(TOOLS, "node_modules", "@fontsource")
NOTO_CJK_BOLD = "/usr/share/fonts/opentype/noto/NotoSansCJK-Bold.ttc"
NOTO_CJK_TC = 3  # face index of Traditional Chinese in the collection

SS = 4

# Brand palette: deep navy and the UI's primary blue, with a cyan accent.
NAVY = (14, 38, 74)
NAVY_2 = (22, 58, 104)
BLUE = (33, 150, 243)
BLUE_DARK = (21, 101, 192)
CYAN = (0, 188, 212)
RED = (211, 40, 47)
INK = (38, 44, 54)
WHITE = (255, 255, 255)


# ---------------------------------------------------------------- helpers

def montserrat(weight, px, italic=False):
    style = "italic" if italic else "normal"
    path = os.path.join(FONTSOURCE, "montserrat", "files",
                        f"montserrat-latin-{weight}-{style}.woff")
    return ImageFont.truetype(path, px)


def antonio(weight, px):
    path = os.path.join(FONTSOURCE, "antonio", "files",
                        f"antonio-latin-{weight}-normal.woff")
    return ImageFont.truetype(path, px)


def cjk(px):
    return ImageFont.truetype(NOTO_CJK_BOLD, px, index=NOTO_CJK_TC)


def layer(w, h, ss=SS):
    return Image.new("RGBA", (w * ss, h * ss), (0, 0, 0, 0))


def reduce(img, w, h):
    # Pillow premultiplies RGBA for resampling, so edges get no dark fringe.
    return img.resize((w, h), Image.Resampling.BOX)


def over(dst, src):
    return Image.alpha_composite(dst, src)


def rgba(c, a=255):
    return (c[0], c[1], c[2], a)


def mix(a, b, t):
    return tuple(round(a[i] + (b[i] - a[i]) * t) for i in range(len(a)))


def stops_colour(stops, t):
    """Colour at t (0..1) along [(pos, colour), ...]."""
    t = min(max(t, 0.0), 1.0)
    for (p0, c0), (p1, c1) in zip(stops, stops[1:]):
        if t <= p1:
            return mix(c0, c1, 0 if p1 == p0 else (t - p0) / (p1 - p0))
    return stops[-1][1]


def gradient(w, h, stops, horizontal=False):
    """An opaque linear gradient image of w x h."""
    n = w if horizontal else h
    strip = Image.new("RGBA", (n, 1))
    strip.putdata([rgba(stops_colour(stops, i / max(n - 1, 1))) for i in range(n)])
    if horizontal:
        return strip.resize((w, h), Image.Resampling.NEAREST)
    return strip.transpose(Image.Transpose.ROTATE_270).resize(
        (w, h), Image.Resampling.NEAREST).transpose(Image.Transpose.FLIP_LEFT_RIGHT)


def masked(fill, mask):
    """fill (RGBA image) cut to mask (L image), keeping fill's own alpha."""
    out = fill.copy()
    alpha = Image.composite(fill.getchannel("A"), Image.new("L", fill.size, 0), mask)
    out.putalpha(alpha)
    return out


def shadow(shape_layer, radius, offset, opacity):
    """A soft drop shadow of the opaque parts of shape_layer."""
    a = shape_layer.getchannel("A").point(lambda v: v * opacity // 255)
    sh = Image.new("RGBA", shape_layer.size, (0, 0, 0, 0))
    sh.putalpha(a)
    sh = sh.filter(ImageFilter.GaussianBlur(radius))
    moved = Image.new("RGBA", shape_layer.size, (0, 0, 0, 0))
    moved.paste(sh, offset)
    return moved


def text_width(font, text, spacing=0):
    return sum(font.getlength(ch) for ch in text) + spacing * (len(text) - 1)


def draw_text(d, xy, text, font, fill, spacing=0, anchor="ls"):
    """Text with extra letter spacing; xy is the left end of the base line
    (or the centre for anchor 'ms')."""
    x, y = xy
    if anchor == "ms":
        x -= text_width(font, text, spacing) / 2
    for ch in text:
        d.text((x, y), ch, font=font, fill=fill, anchor="ls")
        x += font.getlength(ch) + spacing


def gear_polygon(cx, cy, r_out, r_in, teeth, tooth_frac=0.5, steps=6):
    """Outline of a gear with trapezoid teeth."""
    pts = []
    period = 2 * math.pi / teeth
    top = period * tooth_frac * 0.72
    base = period * tooth_frac
    for i in range(teeth):
        a0 = i * period
        # flank up, tooth top, flank down, root arc
        seq = [(a0 - base / 2, r_in), (a0 - top / 2, r_out),
               (a0 + top / 2, r_out), (a0 + base / 2, r_in)]
        for k in range(1, steps):
            seq.append((a0 + base / 2 + (period - base) * k / steps, r_in))
        for a, r in seq:
            pts.append((cx + r * math.cos(a), cy + r * math.sin(a)))
    return pts


def save(img, name):
    img.save(os.path.join(OUT, name + ".png"), optimize=True)
    print("wrote", name + ".png", img.size)


# ---------------------------------------------------------------- buttons

def button_face(w, h):
    """Light face, dark outline, top-right corner cut off."""
    s = SS
    cut = round(min(w, h) * 0.32) * s
    lw = 2 * s
    full = layer(w, h)
    outline = [(0, 0), (w * s - cut, 0), (w * s, cut), (w * s, h * s), (0, h * s)]
    inset = lw
    inner = [(inset, inset), (w * s - cut - inset * 0.41, inset),
             (w * s - inset, cut + inset * 0.41), (w * s - inset, h * s - inset),
             (inset, h * s - inset)]
    mask_out = Image.new("L", full.size, 0)
    ImageDraw.Draw(mask_out).polygon(outline, fill=255)
    mask_in = Image.new("L", full.size, 0)
    ImageDraw.Draw(mask_in).polygon(inner, fill=255)
    # The outline is a little translucent: over the buttons' dark background
    # it still reads as a rim after the UI recolours the face.
    full = over(full, masked(Image.new("RGBA", full.size, rgba(INK, 200)), mask_out))
    face = gradient(w * s, h * s, [(0, (250, 251, 253)), (0.55, (236, 239, 243)),
                                   (1, (214, 220, 228))])
    full.paste((0, 0, 0, 0), (0, 0), mask_in)
    full = over(full, masked(face, mask_in))
    d = ImageDraw.Draw(full)
    # a thin highlight under the top edge and an accent on the cut corner
    d.line([(inset * 2, inset + s), (w * s - cut - s * 1.5, inset + s)],
           fill=(255, 255, 255, 230), width=s)
    acc = [(w * s - cut - 5 * s, inset), (w * s - cut - 2 * s, inset),
           (w * s - inset, cut + 2 * s - inset), (w * s - inset, cut + 6 * s)]
    d.polygon(acc, fill=rgba(BLUE, 255))
    return reduce(full, w, h)


# ---------------------------------------------------------------- setup gear

def setup_face(w=94, h=89):
    s = SS
    img = layer(w, h)
    cx, cy = w * s / 2, h * s / 2
    r = (min(w, h) / 2 - 2) * s
    disc = layer(w, h)
    d = ImageDraw.Draw(disc)
    d.ellipse([cx - r, cy - r, cx + r, cy + r], fill=(255, 255, 255, 255))
    img = over(img, shadow(disc, 2 * s, (0, s), 90))
    mask = Image.new("L", img.size, 0)
    ImageDraw.Draw(mask).ellipse([cx - r, cy - r, cx + r, cy + r], fill=255)
    face = gradient(w * s, h * s, [(0, (252, 253, 255)), (1, (218, 226, 236))])
    img = over(img, masked(face, mask))
    d = ImageDraw.Draw(img)
    d.ellipse([cx - r, cy - r, cx + r, cy + r], outline=(176, 188, 204, 255), width=s)
    # the gear
    g = layer(w, h)
    gd = ImageDraw.Draw(g)
    gd.polygon(gear_polygon(cx, cy, r * 0.74, r * 0.56, 8, steps=8), fill=rgba(NAVY_2))
    gd.ellipse([cx - r * 0.58, cy - r * 0.58, cx + r * 0.58, cy + r * 0.58], fill=rgba(NAVY_2))
    hole = r * 0.24
    gd.ellipse([cx - hole, cy - hole, cx + hole, cy + hole], fill=(0, 0, 0, 0))
    img = over(img, shadow(g, s, (0, s), 70))
    ring = Image.new("L", img.size, 0)
    ImageDraw.Draw(ring).ellipse([cx - hole, cy - hole, cx + hole, cy + hole], fill=255)
    img = over(img, g)
    img = over(img, masked(face, ring))
    return reduce(img, w, h)


# ---------------------------------------------------------------- logos

def chip_mark(d, x, y, size, body, pins, label=None, font=None, label_fill=WHITE):
    """A square chip with four pins per side at (x, y), size x size."""
    s = size
    pin_len = s * 0.14
    pin_w = s * 0.07
    body_box = [x + pin_len, y + pin_len, x + s - pin_len, y + s - pin_len]
    bw = body_box[2] - body_box[0]
    for i in range(4):
        px = body_box[0] + bw * (0.2 + 0.2 * i)
        py = body_box[1] + bw * (0.2 + 0.2 * i)
        d.rounded_rectangle([px - pin_w / 2, y, px + pin_w / 2, y + pin_len * 1.2], pin_w / 3, fill=pins)
        d.rounded_rectangle([px - pin_w / 2, y + s - pin_len * 1.2, px + pin_w / 2, y + s], pin_w / 3,
                            fill=pins)
        d.rounded_rectangle([x, py - pin_w / 2, x + pin_len * 1.2, py + pin_w / 2], pin_w / 3, fill=pins)
        d.rounded_rectangle([x + s - pin_len * 1.2, py - pin_w / 2, x + s, py + pin_w / 2], pin_w / 3,
                            fill=pins)
    d.rounded_rectangle(body_box, bw * 0.12, fill=body)
    if label:
        d.text(((body_box[0] + body_box[2]) / 2, (body_box[1] + body_box[3]) / 2), label,
               font=font, fill=label_fill, anchor="mm")
    return body_box


def qor_logo(w=150, h=55):
    s = SS
    img = layer(w, h)
    d = ImageDraw.Draw(img)
    box = chip_mark(d, 3 * s, 6 * s, 43 * s, rgba(NAVY), rgba(BLUE))
    # a "Q" ring on the die
    cx, cy = (box[0] + box[2]) / 2, (box[1] + box[3]) / 2
    r = (box[2] - box[0]) * 0.30
    d.ellipse([cx - r, cy - r, cx + r, cy + r], outline=rgba(CYAN), width=round(3.2 * s))
    d.line([(cx + r * 0.35, cy + r * 0.35), (cx + r * 1.05, cy + r * 1.05)],
           fill=rgba(CYAN), width=round(3.2 * s))
    draw_text(d, (53 * s, 34 * s), "QOR", montserrat(800, 31 * s), rgba(NAVY), spacing=1 * s)
    draw_text(d, (54 * s, 46 * s), "SEMICONDUCTOR", montserrat(700, 7 * s), rgba(BLUE_DARK),
              spacing=round(0.9 * s))
    return reduce(img, w, h)


def bko_logo(w=95, h=38):
    s = SS
    img = layer(w, h)
    d = ImageDraw.Draw(img)
    font = montserrat(900, 31 * s, italic=True)
    red_dark = (160, 22, 30)
    draw_text(d, (4 * s, 28 * s), "BKO", font, rgba(RED), spacing=round(0.5 * s))
    # a speed bar under the lettering
    d.polygon([(6 * s, 31 * s), (88 * s, 31 * s), (86 * s, 35 * s), (4 * s, 35 * s)], fill=rgba(red_dark))
    d.polygon([(70 * s, 31 * s), (90 * s, 31 * s), (88 * s, 35 * s), (68 * s, 35 * s)], fill=rgba(RED))
    return reduce(img, w, h)


def zev_mark(d, x, y, size):
    """Hexagon with a bold Z made of two bars and a diagonal."""
    cx, cy, r = x + size / 2, y + size / 2, size / 2
    hexagon = [(cx + r * math.cos(math.radians(a)), cy + r * math.sin(math.radians(a)))
               for a in range(30, 390, 60)]
    d.polygon(hexagon, fill=rgba(NAVY))
    inner = [(cx + r * 0.86 * math.cos(math.radians(a)), cy + r * 0.86 * math.sin(math.radians(a)))
             for a in range(30, 390, 60)]
    d.polygon(inner, fill=rgba(BLUE_DARK))
    k = size / 100
    d.polygon([(cx - 24 * k, cy - 24 * k), (cx + 24 * k, cy - 24 * k), (cx + 24 * k, cy - 13 * k),
               (cx - 6 * k, cy + 13 * k), (cx + 24 * k, cy + 13 * k), (cx + 24 * k, cy + 24 * k),
               (cx - 24 * k, cy + 24 * k), (cx - 24 * k, cy + 13 * k), (cx + 6 * k, cy - 13 * k),
               (cx - 24 * k, cy - 13 * k)], fill=rgba(WHITE))

    def at(a, rr):
        return (cx + r * rr * math.cos(math.radians(a)), cy + r * rr * math.sin(math.radians(a)))
    # cyan accent along the lower left edge
    d.polygon([at(90, 0.86), at(150, 0.86), at(150, 0.74), at(90, 0.74)], fill=rgba(CYAN))


def zev_logo_zhtw(w=251, h=65):
    s = SS
    img = layer(w, h)
    d = ImageDraw.Draw(img)
    zev_mark(d, 2 * s, 4 * s, 57 * s)
    # Traditional Chinese company name over the latin name
    d.text((68 * s, 33 * s), "澤威科技", font=cjk(33 * s), fill=rgba(NAVY), anchor="ls")
    d.line([(68 * s, 41 * s), (246 * s, 41 * s)], fill=rgba(BLUE), width=round(1.5 * s))
    draw_text(d, (68 * s, 56 * s), "ZEV TECHNOLOGY", montserrat(700, 12 * s), rgba(BLUE_DARK),
              spacing=round(1.6 * s))
    return reduce(img, w, h)


def qbvexo_title(w=242, h=75):
    s = SS
    img = layer(w, h)
    font = montserrat(800, 46 * s)
    y = 46 * s
    qb = layer(w, h)
    draw_text(ImageDraw.Draw(qb), (4 * s, y), "QB-", font, rgba(NAVY))
    x_vexo = 4 * s + text_width(font, "QB-")
    vexo_mask = Image.new("L", img.size, 0)
    draw_text(ImageDraw.Draw(vexo_mask), (x_vexo, y), "VEXO", font, 255)
    vexo = masked(gradient(w * s, h * s, [(0, BLUE), (1, CYAN)], horizontal=True), vexo_mask)
    txt = over(qb, vexo)
    img = over(img, shadow(txt, 1.5 * s, (0, s), 60))
    img = over(img, txt)
    d = ImageDraw.Draw(img)
    d.rounded_rectangle([5 * s, 57 * s, 30 * s, 61 * s], 2 * s, fill=rgba(CYAN))
    draw_text(d, (36 * s, 63 * s), "BOARD SELF-TEST", montserrat(700, 11 * s), rgba(NAVY_2),
              spacing=round(2.2 * s))
    return reduce(img, w, h)


# ---------------------------------------------------------------- volume scales

VOLUME_STOPS = [(0.0, (214, 246, 208)), (0.28, (76, 199, 92)), (0.50, (38, 166, 91)),
                (0.68, (33, 132, 230)), (0.83, (63, 81, 181)), (0.95, (229, 40, 48)), (1.0, (214, 30, 40))]


def volume_scale(ticks, w=520, h=15):
    s = SS
    W, H = w * s, h * s
    img = layer(w, h)
    bar = gradient(W, H, VOLUME_STOPS, horizontal=True)
    mask = Image.new("L", (W, H), 0)
    ImageDraw.Draw(mask).rounded_rectangle([0, 0, W - 1, H - 1], H / 2, fill=255)
    img = over(img, masked(bar, mask))
    # gloss on the upper half and step marks
    gloss = layer(w, h)
    gd = ImageDraw.Draw(gloss)
    gd.rounded_rectangle([H / 2, H * 0.14, W - H / 2, H * 0.42], H * 0.14, fill=(255, 255, 255, 90))
    for i in range(1, ticks):
        x = W * i / ticks
        major = ticks <= 16 or i % 4 == 0
        gd.line([(x, H * (0.50 if major else 0.62)), (x, H * 0.88)],
                fill=(255, 255, 255, 150 if major else 95), width=s)
    img = over(img, masked(gloss, mask))
    d = ImageDraw.Draw(img)
    d.rounded_rectangle([0, 0, W - 1, H - 1], H / 2, outline=(0, 0, 0, 50), width=s)
    return reduce(img, w, h)


# ---------------------------------------------------------------- PCB drawing

PCB = (12, 62, 80)
PCB_EDGE = (8, 42, 56)
COPPER = (104, 222, 222)
PAD = (214, 178, 94)


def trace(d, pts, width, fill):
    d.line(pts, fill=fill, width=round(width), joint="curve")
    r = width * 0.9
    for x, y in (pts[0], pts[-1]):
        d.ellipse([x - r, y - r, x + r, y + r], fill=fill)


def via(d, x, y, r, ring, hole):
    d.ellipse([x - r, y - r, x + r, y + r], fill=ring)
    d.ellipse([x - r * 0.45, y - r * 0.45, x + r * 0.45, y + r * 0.45], fill=hole)


# ---------------------------------------------------------------- background

def background(w=1280, h=800):
    """Mostly transparent: a circuit board reaching in from the right edge
    and a grey band along the bottom."""
    s = 2
    W, H = w * s, h * s
    img = Image.new("RGBA", (W, H), (0, 0, 0, 0))

    board = Image.new("RGBA", (W, H), (0, 0, 0, 0))
    bd = ImageDraw.Draw(board)
    x0 = 1120 * s
    # board outline: a rounded slab with a notch, cut off by the right edge
    bd.rounded_rectangle([x0, 46 * s, W + 40 * s, 744 * s], 26 * s, fill=rgba(PCB))
    bd.rounded_rectangle([x0 + 6 * s, 52 * s, W + 40 * s, 738 * s], 22 * s,
                         outline=rgba(PCB_EDGE), width=2 * s)
    bd.ellipse([x0 + 16 * s, 64 * s, x0 + 34 * s, 82 * s], fill=rgba(PAD))
    bd.ellipse([x0 + 21 * s, 69 * s, x0 + 29 * s, 77 * s], fill=rgba(PCB_EDGE))
    bd.ellipse([x0 + 16 * s, 708 * s, x0 + 34 * s, 726 * s], fill=rgba(PAD))
    bd.ellipse([x0 + 21 * s, 713 * s, x0 + 29 * s, 721 * s], fill=rgba(PCB_EDGE))
    copper = rgba(COPPER, 215)
    # bus traces coming in from the edge and turning down the board
    for i in range(7):
        y = 118 * s + i * 14 * s
        trace(bd, [(W, y), (x0 + 84 * s + i * 7 * s, y),
                   (x0 + 60 * s + i * 7 * s, y + 24 * s), (x0 + 60 * s + i * 7 * s, 330 * s)],
              2.2 * s, copper)
    # SoC
    chip_mark(bd, x0 + 36 * s, 336 * s, 96 * s, rgba((24, 30, 38)), rgba((190, 196, 204)))
    bd.rounded_rectangle([x0 + 58 * s, 358 * s, x0 + 110 * s, 410 * s], 6 * s,
                         outline=rgba((70, 80, 92)), width=2 * s)
    for i in range(6):
        y = 450 * s + i * 13 * s
        trace(bd, [(x0 + 62 * s + i * 8 * s, 434 * s), (x0 + 62 * s + i * 8 * s, y),
                   (W, y + 70 * s)], 2.2 * s, copper)
    # memory chips and passives
    for j, y in enumerate((600 * s, 652 * s)):
        bd.rounded_rectangle([x0 + 34 * s, y, x0 + 92 * s, y + 36 * s], 4 * s, fill=rgba((24, 30, 38)))
        for k in range(6):
            px = x0 + 40 * s + k * 9 * s
            bd.rectangle([px, y - 4 * s, px + 4 * s, y], fill=rgba(PAD))
            bd.rectangle([px, y + 36 * s, px + 4 * s, y + 40 * s], fill=rgba(PAD))
    for k in range(5):
        y = 250 * s + k * 16 * s
        bd.rounded_rectangle([x0 + 126 * s, y, x0 + 138 * s, y + 7 * s], 2 * s, fill=rgba(PAD))
        bd.rectangle([x0 + 129 * s, y, x0 + 135 * s, y + 7 * s], fill=rgba((60, 52, 44)))
    for (vx, vy) in ((x0 + 36 * s, 200 * s), (x0 + 36 * s, 300 * s), (x0 + 100 * s, 560 * s),
                     (x0 + 112 * s, 610 * s), (x0 + 112 * s, 640 * s), (x0 + 20 * s, 420 * s)):
        via(bd, vx, vy, 5 * s, rgba(PAD), rgba(PCB_EDGE))
    # a connector on the edge
    bd.rectangle([W - 24 * s, 660 * s, W, 720 * s], fill=rgba((196, 202, 210)))
    bd.rectangle([W - 20 * s, 666 * s, W, 714 * s], fill=rgba((120, 128, 138)))

    img = over(img, shadow(board, 8 * s, (-4 * s, 4 * s), 110))
    img = over(img, board)

    # faint traces fanning out leftwards over the transparent area
    fan = Image.new("RGBA", (W, H), (0, 0, 0, 0))
    fd = ImageDraw.Draw(fan)
    for i in range(5):
        y = 190 * s + i * 118 * s
        x_end = x0 - (40 + 22 * i) * s
        trace(fd, [(x0 + 4 * s, y), (x0 - 24 * s, y), (x0 - 44 * s, y + 20 * s), (x_end, y + 20 * s)],
              2 * s, rgba(PCB, 150))
    img = over(img, fan)

    # grey band along the bottom
    band = Image.new("RGBA", (W, H), (0, 0, 0, 0))
    bgd = ImageDraw.Draw(band)
    band_top = 784 * s
    bgd.rectangle([0, band_top, W, H], fill=(120, 126, 134, 255))
    bgd.rectangle([0, band_top, W, band_top + s], fill=(168, 174, 182, 255))
    img = over(img, band)
    return reduce(img, w, h)


# ---------------------------------------------------------------- intro frames

FRAME_W, FRAME_H = 1000, 700


class Intro:
    """The title picture as layers; frame k shows the first k layers."""

    def __init__(self):
        self.s = 2
        self.W, self.H = FRAME_W * self.s, FRAME_H * self.s

    def blank(self):
        return Image.new("RGBA", (self.W, self.H), (0, 0, 0, 0))

    def card_mask(self):
        m = Image.new("L", (self.W, self.H), 0)
        ImageDraw.Draw(m).rounded_rectangle([0, 0, self.W - 1, self.H - 1], 28 * self.s, fill=255)
        return m

    def backdrop(self):
        s = self.s
        bg = gradient(self.W, self.H, [(0, (255, 255, 255)), (0.65, (236, 245, 252)),
                                       (1, (214, 232, 246))])
        img = masked(bg, self.card_mask())
        d = ImageDraw.Draw(img)
        # fine dot grid, like a board's silkscreen
        for y in range(40 * s, self.H - 30 * s, 28 * s):
            for x in range(36 * s, self.W - 30 * s, 28 * s):
                d.ellipse([x - s, y - s, x + s, y + s], fill=(190, 208, 226, 160))
        return img

    def sweep(self):
        s = self.s
        img = self.blank()
        d = ImageDraw.Draw(img)
        # diagonal bands across the lower right corner, clear of the prompt
        d.polygon([(800 * s, self.H), (1000 * s, 470 * s), (1000 * s, self.H)], fill=rgba(NAVY))
        d.polygon([(742 * s, self.H), (1000 * s, 386 * s), (1000 * s, 426 * s), (790 * s, self.H)],
                  fill=rgba(BLUE))
        d.polygon([(706 * s, self.H), (1000 * s, 336 * s), (1000 * s, 352 * s), (724 * s, self.H)],
                  fill=rgba(CYAN, 210))
        return masked(img, self.card_mask())

    def board(self):
        s = self.s
        img = self.blank()
        b = self.blank()
        d = ImageDraw.Draw(b)
        self.bx, self.by, self.bw, self.bh = 560 * s, 120 * s, 370 * s, 300 * s
        x, y, w, h = self.bx, self.by, self.bw, self.bh
        d.rounded_rectangle([x, y, x + w, y + h], 18 * s, fill=rgba(PCB))
        d.rounded_rectangle([x + 6 * s, y + 6 * s, x + w - 6 * s, y + h - 6 * s], 14 * s,
                            outline=rgba((30, 92, 110)), width=2 * s)
        for hx, hy in ((x + 20 * s, y + 20 * s), (x + w - 20 * s, y + 20 * s),
                       (x + 20 * s, y + h - 20 * s), (x + w - 20 * s, y + h - 20 * s)):
            d.ellipse([hx - 9 * s, hy - 9 * s, hx + 9 * s, hy + 9 * s], fill=rgba(PAD))
            d.ellipse([hx - 5 * s, hy - 5 * s, hx + 5 * s, hy + 5 * s], fill=rgba(PCB_EDGE))
        img = over(img, shadow(b, 12 * s, (8 * s, 12 * s), 120))
        return over(img, b)

    def soc(self):
        s = self.s
        img = self.blank()
        d = ImageDraw.Draw(img)
        cx = self.bx + 150 * s
        cy = self.by + 140 * s
        size = 120 * s
        chip_mark(d, cx - size / 2, cy - size / 2, size, rgba((26, 32, 40)), rgba((198, 204, 212)))
        d.rounded_rectangle([cx - 34 * s, cy - 34 * s, cx + 34 * s, cy + 34 * s], 6 * s,
                            outline=rgba((74, 84, 96)), width=2 * s)
        d.text((cx, cy - 6 * s), "QOR", font=montserrat(800, 20 * s), fill=rgba((220, 226, 234)),
               anchor="mm")
        d.text((cx, cy + 16 * s), "A53 SoC", font=montserrat(600, 10 * s),
               fill=rgba((150, 160, 172)), anchor="mm")
        # memory next to it
        for k in range(2):
            mx, my = self.bx + 248 * s, self.by + 60 * s + k * 80 * s
            d.rounded_rectangle([mx, my, mx + 90 * s, my + 50 * s], 5 * s, fill=rgba((26, 32, 40)))
            for p in range(8):
                px = mx + 8 * s + p * 10 * s
                d.rectangle([px, my - 5 * s, px + 5 * s, my], fill=rgba(PAD))
                d.rectangle([px, my + 50 * s, px + 5 * s, my + 55 * s], fill=rgba(PAD))
            d.text((mx + 45 * s, my + 25 * s), "LPDDR4", font=montserrat(600, 11 * s),
                   fill=rgba((150, 160, 172)), anchor="mm")
        return img

    def traces(self):
        s = self.s
        img = self.blank()
        d = ImageDraw.Draw(img)
        x, y = self.bx, self.by
        cu = rgba(COPPER, 230)
        for i in range(5):
            trace(d, [(x + 210 * s, y + (100 + 10 * i) * s), (x + 230 * s, y + (100 + 10 * i) * s),
                      (x + 240 * s, y + (86 + 10 * i) * s), (x + 248 * s, y + (86 + 10 * i) * s)],
                  2 * s, cu)
            trace(d, [(x + (110 + 12 * i) * s, y + 200 * s), (x + (110 + 12 * i) * s, y + 230 * s),
                      (x + (90 + 12 * i) * s, y + 250 * s), (x + (40 + 12 * i) * s, y + 250 * s)],
                  2 * s, cu)
            trace(d, [(x + 90 * s, y + (115 + 12 * i) * s), (x + 60 * s, y + (115 + 12 * i) * s),
                      (x + 45 * s, y + (100 + 12 * i) * s), (x + 45 * s, y + (60 + 12 * i) * s)],
                  2 * s, cu)
        for i in range(4):
            trace(d, [(x + (250 + 14 * i) * s, y + 200 * s), (x + (250 + 14 * i) * s, y + 240 * s),
                      (x + (280 + 14 * i) * s, y + 270 * s)], 2 * s, cu)
        for vx, vy in ((x + 40 * s, y + 250 * s), (x + 188 * s, y + 40 * s), (x + 330 * s, y + 200 * s),
                       (x + 210 * s, y + 270 * s), (x + 70 * s, y + 40 * s)):
            via(d, vx, vy, 5 * s, rgba(PAD), rgba(PCB_EDGE))
        return img

    def connectors(self):
        s = self.s
        img = self.blank()
        d = ImageDraw.Draw(img)
        x, y, w, h = self.bx, self.by, self.bw, self.bh
        metal, dark = rgba((200, 206, 214)), rgba((96, 104, 116))
        # two USB ports on the right edge
        for k in range(2):
            py = y + 40 * s + k * 56 * s
            d.rectangle([x + w - 34 * s, py, x + w + 8 * s, py + 40 * s], fill=metal)
            d.rectangle([x + w - 28 * s, py + 8 * s, x + w + 8 * s, py + 32 * s], fill=dark)
            d.rectangle([x + w - 22 * s, py + 14 * s, x + w + 8 * s, py + 22 * s], fill=rgba(BLUE))
        # pin header along the bottom edge
        hx = x + 40 * s
        d.rounded_rectangle([hx, y + h - 36 * s, hx + 200 * s, y + h - 14 * s], 3 * s,
                            fill=rgba((24, 28, 34)))
        for p in range(20):
            px = hx + 6 * s + p * 10 * s
            d.rectangle([px, y + h - 30 * s, px + 4 * s, y + h - 26 * s], fill=rgba(PAD))
            d.rectangle([px, y + h - 23 * s, px + 4 * s, y + h - 19 * s], fill=rgba(PAD))
        # display connector (FPC) on the top edge
        d.rectangle([x + 110 * s, y - 6 * s, x + 200 * s, y + 14 * s], fill=rgba((232, 224, 208)))
        for p in range(14):
            d.rectangle([x + (114 + p * 6) * s, y - 4 * s, x + (117 + p * 6) * s, y + 10 * s], fill=rgba(PAD))
        # a status LED with glow
        glow = self.blank()
        ImageDraw.Draw(glow).ellipse([x + w - 70 * s, y + h - 60 * s, x + w - 42 * s, y + h - 32 * s],
                                     fill=rgba((80, 255, 140), 200))
        img = over(img, glow.filter(ImageFilter.GaussianBlur(6 * s)))
        d = ImageDraw.Draw(img)
        d.ellipse([x + w - 62 * s, y + h - 52 * s, x + w - 50 * s, y + h - 40 * s],
                  fill=rgba((120, 255, 170)))
        return img

    def title(self):
        s = self.s
        img = self.blank()
        font = montserrat(800, 92 * s)
        t = self.blank()
        draw_text(ImageDraw.Draw(t), (60 * s, 228 * s), "QB-", font, rgba(NAVY))
        xv = 60 * s + text_width(font, "QB-")
        m = Image.new("L", (self.W, self.H), 0)
        draw_text(ImageDraw.Draw(m), (xv, 228 * s), "VEXO", font, 255)
        t = over(t, masked(gradient(self.W, self.H, [(0, BLUE), (0.5, CYAN)], horizontal=True), m))
        img = over(img, shadow(t, 3 * s, (0, 3 * s), 70))
        return over(img, t)

    def subtitle(self):
        s = self.s
        img = self.blank()
        d = ImageDraw.Draw(img)
        d.rounded_rectangle([64 * s, 256 * s, 124 * s, 262 * s], 3 * s, fill=rgba(CYAN))
        draw_text(d, (138 * s, 266 * s), "BOARD SELF-TEST", montserrat(700, 24 * s), rgba(NAVY_2),
                  spacing=5 * s)
        draw_text(d, (64 * s, 306 * s), "Check every interface of a freshly built board",
                  montserrat(500, 17 * s), rgba((84, 98, 118)))
        return img

    def tags(self):
        s = self.s
        img = self.blank()
        d = ImageDraw.Draw(img)
        font = montserrat(700, 14 * s)
        rows = [["I2C", "GPIO", "UART", "SPI", "ADC"],
                ["USB", "PL2303", "RTC", "CSI"],
                ["MIPI-DSI", "LVDS", "AUDIO", "MQS"]]
        y = 346 * s
        for row in rows:
            x = 64 * s
            for tag in row:
                tw = text_width(font, tag, 1 * s)
                box = [x, y, x + tw + 28 * s, y + 32 * s]
                d.rounded_rectangle(box, 16 * s, fill=(255, 255, 255, 235),
                                    outline=rgba(BLUE, 255), width=2 * s)
                d.ellipse([x + 10 * s, y + 13 * s, x + 16 * s, y + 19 * s], fill=rgba(CYAN))
                draw_text(d, (x + 20 * s, y + 21 * s), tag, font, rgba(NAVY_2), spacing=1 * s)
                x = box[2] + 10 * s
            y += 44 * s
        return img

    def brands(self):
        s = self.s
        img = self.blank()
        zev = zev_logo_zhtw().resize((251 * s, 65 * s), Image.Resampling.LANCZOS)
        img.paste(zev, (56 * s, 44 * s), zev)
        bko = bko_logo().resize((95 * s, 38 * s), Image.Resampling.LANCZOS)
        img.paste(bko, (330 * s, 62 * s), bko)
        qor = qor_logo().resize((150 * s, 55 * s), Image.Resampling.LANCZOS)
        img.paste(qor, (800 * s, 40 * s), qor)
        d = ImageDraw.Draw(img)
        d.line([(310 * s, 52 * s), (310 * s, 104 * s)], fill=(150, 170, 196, 255), width=s)
        return img

    def prompt(self):
        """Start prompt at the bottom centre: a blue bar between two arrows."""
        s = self.s
        img = self.blank()
        cx, cy = self.W / 2, 616 * s
        bw, bh = 300 * s, 58 * s
        bar = self.blank()
        bdr = ImageDraw.Draw(bar)
        bdr.rounded_rectangle([cx - bw / 2, cy - bh / 2, cx + bw / 2, cy + bh / 2], bh / 2, fill=rgba(BLUE))
        img = over(img, shadow(bar, 6 * s, (0, 5 * s), 110))
        top, bottom = (cy - bh / 2) / self.H, (cy + bh / 2) / self.H
        grad = gradient(self.W, self.H, [(0, (66, 170, 255)), (top, (66, 170, 255)),
                                         (bottom, BLUE_DARK), (1, BLUE_DARK)])
        m = bar.getchannel("A")
        img = over(img, masked(grad, m))
        d = ImageDraw.Draw(img)
        draw_text(d, (cx, cy + 8 * s), "TOUCH TO START", montserrat(700, 22 * s), rgba(WHITE),
                  spacing=3 * s, anchor="ms")
        # chevrons pointing at the bar from both sides
        for side in (-1, 1):
            for k in range(3):
                tip = cx + side * (bw / 2 + (22 + 22 * k) * s)
                back = tip + side * 16 * s
                col = rgba(BLUE, (255, 190, 120)[k])  # fading away from the bar
                d.line([(back, cy - 16 * s), (tip, cy), (back, cy + 16 * s)], fill=col, width=6 * s,
                       joint="curve")
        return img

    def layers(self):
        steps = [self.backdrop, self.sweep, self.board, self.soc, self.traces, self.connectors,
                 self.title, self.subtitle, self.tags, self.brands, self.prompt]
        return [f() for f in steps]


def intro_frames():
    white = Image.new("RGBA", (FRAME_W, FRAME_H), (255, 255, 255, 255))
    frames = [white]
    intro = Intro()
    layers = intro.layers()
    # frame k (1..10) shows the layers needed to reach it; the last has all
    groups = [[0], [1], [2], [3], [4, 5], [6], [7], [8], [9], [10]]
    acc = intro.blank()
    for g in groups:
        for i in g:
            acc = over(acc, layers[i])
        frames.append(reduce(acc, FRAME_W, FRAME_H))
    return frames


# ---------------------------------------------------------------- main

def main():
    os.makedirs(OUT, exist_ok=True)
    only = set(sys.argv[1:])

    def want(name):
        return not only or name in only

    for w, h in ((140, 50), (139, 54), (115, 39), (177, 54), (140, 54)):
        if want(f"_btn_{w}x{h}"):
            save(button_face(w, h), f"_btn_{w}x{h}")
    if want("_setup_94x89"):
        save(setup_face(), "_setup_94x89")
    if want("_QOR_Logo_alpha_150x55"):
        save(qor_logo(), "_QOR_Logo_alpha_150x55")
    if want("_BKO_alpha_95x38"):
        save(bko_logo(), "_BKO_alpha_95x38")
    if want("_zev_logo_zhtw_alpha_251x65"):
        save(zev_logo_zhtw(), "_zev_logo_zhtw_alpha_251x65")
    if want("_QBVEXO_alpha_242x75"):
        save(qbvexo_title(), "_QBVEXO_alpha_242x75")
    if want("_HD_volume_alpha_520x15"):
        save(volume_scale(16), "_HD_volume_alpha_520x15")
    if want("_LO_volume_alpha_520x15"):
        save(volume_scale(31), "_LO_volume_alpha_520x15")
    if want("_gui_bk_1280x800"):
        save(background(), "_gui_bk_1280x800")
    if want("intro") or any(n.startswith("Start_animimg") for n in only) or not only:
        for k, frame in enumerate(intro_frames()):
            save(frame, f"Start_animimg_1Start3_{k}")


if __name__ == "__main__":
    main()
