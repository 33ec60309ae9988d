#!/usr/bin/python3
"""Draws Plumet's artwork with cairo and writes it into resources/.

    /usr/bin/python3 resources/artwork/make_artwork.py            # write the files
    /usr/bin/python3 resources/artwork/make_artwork.py --check    # verify them, exit 1 on a fault
    /usr/bin/python3 resources/artwork/make_artwork.py --preview /tmp/plumet-art   # 1x/3x previews

The palette, its shape, the floating icon and the pen cursor are also drawn at
2 and 3 times the size for scaled screens ("skin-2x.png", ...): the same
drawing on a larger grid, so straight edges stay on whole pixels.

Needs pycairo (Debian: python3-cairo). Output is deterministic; commit it.
"""

import math
import os
import struct
import sys
import zlib

import cairo

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.dirname(HERE)

# --- colours -----------------------------------------------------------------


def rgb(hexstr):
    v = int(hexstr.lstrip("#"), 16)
    return ((v >> 16) & 255) / 255.0, ((v >> 8) & 255) / 255.0, (v & 255) / 255.0


SLATE = rgb("#2b2f36")
GROUND = rgb("#eef0f3")        # tile area of the palette
EDGE = rgb("#c3c8d0")          # palette side edges, so it reads on white desktops
SHEET = rgb("#dfe2e6")         # unused parts of the sheet
INK = rgb("#2b2f36")
WHITE = (1.0, 1.0, 1.0)
STRIP_INK = rgb("#c9ced6")     # close cross and fold chevron on slate
BRAND_YELLOW = rgb("#ffd84d")
BRAND_BLUE = rgb("#3b82f6")

PEN_BLUE = (0.0, 0.0, 1.0)
PEN_RED = (1.0, 0.0, 0.0)
PEN_GREEN = (0.0, 1.0, 0.0)


class Look:
    def __init__(self, fill, border, ink, paper, shade=None):
        self.fill, self.border, self.ink, self.paper, self.shade = fill, border, ink, paper, shade


NORMAL = Look(rgb("#fbfcfd"), rgb("#cdd2da"), INK, WHITE)
HOVER = Look(rgb("#ffd84d"), rgb("#d9ac1c"), INK, rgb("#fffbea"))
PRESSED = Look(rgb("#3b82f6"), rgb("#2164d6"), WHITE, rgb("#3b82f6"), shade=rgb("#2f72e0"))
# Line-width tiles use the pressed blue for their normal look, so their press needs a deeper blue.
WIDTH_NORMAL = Look(PRESSED.fill, PRESSED.border, PRESSED.ink, PRESSED.paper)
WIDTH_PRESSED = Look(rgb("#1f5fd0"), rgb("#174aa8"), WHITE, rgb("#1f5fd0"), shade=rgb("#1a52b8"))

# --- geometry ----------------------------------------------------------------

SHEET_W, SHEET_H = 300, 475
PAL_W, PAL_H = 50, 475
TILE_W, TILE_H = 37, 34
TILE_X = 7
TITLE_H = 17                   # rows 0..16; the close cross (rows 1..15) sits centred
FOLD_Y = 464
LOOK_SHIFT = {"normal": 0, "hover": 56, "pressed": 113}
CLOSE_XY = (32, 1)
CLOSE_SIZE = 15
TILE_ROWS = [22, 59, 95, 132, 169, 205, 243, 279, 316, 353, 389, 426]
GLYPH_OF_ROW = {
    22: "window", 59: "marker", 95: "width3", 132: "pen_blue", 169: "big_eraser",
    205: "erase_page", 243: "zoom_in", 279: "zoom_out", 316: "save", 353: "background",
    389: "pen_red", 426: "pen_green",
}
WIDTH_COLUMNS = {5: 172, 10: 214, 15: 254}
WIDTH_ROWS = {"normal": 96, "hover": 169, "pressed": 242}
WAVE_STROKE = {3: 2.0, 5: 3.0, 10: 4.5, 15: 6.0}

# Button places on the palette: (sheet row, place y); all at x 7.
BUTTON_PLACES = [(22, 22), (59, 59), (132, 95), (389, 132), (426, 169), (95, 205),
                 (169, 243), (205, 279), (243, 316), (279, 353), (316, 389), (353, 426)]

CURSORS = {"cursor-pen.png": (12, 17), "cursor-big-eraser.png": (16, 9)}
PROGRAM_ICON_SIZES = (16, 32, 48, 256)

MAGENTA = (255, 0, 255)

# Screens scaled 2 or 3 times get their own drawings of these; the big-eraser
# cursor stays at 1x, as its circle is the eraser's size in device pixels.
SCALES = (2, 3)
SCALED_CURSORS = ("cursor-pen.png",)
# The outline's corner radius: at 1x it cuts 4, 2, 1 and 1 pixels off rows 0 to 3.
CORNER_RADIUS = 6


def scaled_name(name, s):
    return name if s == 1 else name.replace(".png", "-%dx.png" % s)


def shape_cut_pixels(s=1):
    """Corner pixels whose centre lies outside the rounded outline."""
    cut = set()
    r = CORNER_RADIUS * s
    w, h = PAL_W * s, PAL_H * s
    for y in range(r):
        for x in range(r):
            if math.hypot(x + 0.5 - r, y + 0.5 - r) > r:
                for q in ((x, y), (w - 1 - x, y), (x, h - 1 - y), (w - 1 - x, h - 1 - y)):
                    cut.add(q)
    return cut


# --- small drawing helpers ---------------------------------------------------


def rounded_rect(cr, x, y, w, h, r):
    cr.new_sub_path()
    cr.arc(x + w - r, y + r, r, -math.pi / 2, 0)
    cr.arc(x + w - r, y + h - r, r, 0, math.pi / 2)
    cr.arc(x + r, y + h - r, r, math.pi / 2, math.pi)
    cr.arc(x + r, y + r, r, math.pi, 3 * math.pi / 2)
    cr.close_path()


def stroke_style(cr, width=2.0):
    cr.set_line_width(width)
    cr.set_line_cap(cairo.LINE_CAP_ROUND)
    cr.set_line_join(cairo.LINE_JOIN_ROUND)


def nib_path(cr):
    """Fountain-pen nib, tip at the origin pointing down (+y), 1 unit wide, 1.3 tall."""
    cr.move_to(0, 0)
    cr.curve_to(0.16, -0.2, 0.5, -0.5, 0.5, -0.82)
    cr.line_to(0.5, -1.3)
    cr.line_to(-0.5, -1.3)
    cr.line_to(-0.5, -0.82)
    cr.curve_to(-0.5, -0.5, -0.16, -0.2, 0, 0)
    cr.close_path()


def draw_nib_mark(cr, colour, hole, collar=True, slit=0.08):
    """Filled nib with its slit and breather hole cut out; current transform sets size."""
    cr.push_group()
    cr.set_source_rgb(*colour)
    nib_path(cr)
    cr.fill()
    if collar:
        rounded_rect(cr, -0.5, -1.72, 1.0, 0.3, 0.08)
        cr.fill()
    cr.set_operator(cairo.OPERATOR_CLEAR)
    cr.rectangle(-slit / 2, -0.62, slit, 0.62)
    cr.fill()
    if hole:
        cr.arc(0, -0.66, 0.13, 0, 2 * math.pi)
        cr.fill()
    cr.pop_group_to_source()
    cr.paint()


# --- glyphs (tile coordinates, 37 x 34; x 18 is the palette's centre line) ----


def glyph_window(cr, lk):
    # Classic arrow pointer; its vertical edge sits on a pixel boundary so the 2 px stroke is sharp.
    x, y = 13.0, 6.5
    pts = [(0, 0), (0, 17), (4.2, 13.1), (7.0, 19.6), (9.8, 18.4), (7.1, 12.1), (12.6, 12.1)]
    cr.move_to(x + pts[0][0], y + pts[0][1])
    for px, py in pts[1:]:
        cr.line_to(x + px, y + py)
    cr.close_path()
    cr.set_source_rgb(*lk.paper)
    cr.fill_preserve()
    stroke_style(cr)
    cr.set_source_rgb(*lk.ink)
    cr.stroke()


def _diagonal(cr, tip_x, tip_y):
    """Frame whose +x runs from a tip at the lower left up to the right at 45 degrees."""
    cr.translate(tip_x, tip_y)
    cr.rotate(-math.pi / 4)


def glyph_marker(cr, lk):
    cr.save()
    _diagonal(cr, 9.0, 26.5)
    hw, cone, length = 3.6, 7.0, 23.0
    # Outline: point, cone, body, flat end.
    cr.move_to(0, 0)
    cr.line_to(cone, -hw)
    cr.line_to(length, -hw)
    cr.line_to(length, hw)
    cr.line_to(cone, hw)
    cr.close_path()
    cr.set_source_rgb(*lk.paper)
    cr.fill_preserve()
    # Graphite point in black ink whatever the look.
    cr.save()
    cr.clip()
    cr.move_to(-1, 0)
    cr.line_to(3.2, -2.2)
    cr.line_to(3.2, 2.2)
    cr.close_path()
    cr.set_source_rgb(0, 0, 0)
    cr.fill()
    cr.restore()
    stroke_style(cr)
    cr.set_source_rgb(*lk.ink)
    cr.move_to(0, 0)
    cr.line_to(cone, -hw)
    cr.line_to(length, -hw)
    cr.line_to(length, hw)
    cr.line_to(cone, hw)
    cr.close_path()
    cr.stroke()
    # Wood/paint line and ferrule.
    cr.move_to(cone, -hw)
    cr.line_to(cone, hw)
    cr.move_to(length - 4.5, -hw)
    cr.line_to(length - 4.5, hw)
    cr.stroke()
    cr.restore()


def _pen(cr, lk, colour):
    """Pen with a nib in its colour, above a short stroke of its ink."""
    def wave():
        cr.move_to(9.5, 25.0)
        cr.curve_to(13.0, 21.5, 16.0, 22.0, 18.5, 24.5)
        cr.curve_to(21.0, 27.0, 24.5, 27.0, 27.5, 23.5)
    # The stroke gets a casing so pure colours hold on every ground.
    casing = lk.ink if lk is PRESSED else tuple(c * 0.55 for c in colour)
    stroke_style(cr, 4.6)
    cr.set_source_rgb(*casing)
    wave()
    cr.stroke()
    stroke_style(cr, 3.0)
    cr.set_source_rgb(*colour)
    wave()
    cr.stroke()

    cr.save()
    _diagonal(cr, 11.5, 20.5)
    hw, cone, length = 3.5, 7.5, 17.5

    def body():
        cr.move_to(cone, -hw)
        cr.line_to(length - 2.0, -hw)
        cr.arc(length - 2.0, -hw + 2.0, 2.0, -math.pi / 2, 0)
        cr.arc(length - 2.0, hw - 2.0, 2.0, 0, math.pi / 2)
        cr.line_to(cone, hw)
        cr.close_path()
    body()
    cr.set_source_rgb(*lk.paper)
    cr.fill_preserve()
    stroke_style(cr)
    cr.set_source_rgb(*lk.ink)
    cr.stroke()
    # Nib in the pen's colour, outlined thinner so the colour shows.
    cr.move_to(-0.6, 0)
    cr.line_to(cone, -hw)
    cr.line_to(cone, hw)
    cr.close_path()
    cr.set_source_rgb(*colour)
    cr.fill_preserve()
    cr.set_line_width(1.4)
    cr.set_source_rgb(*lk.ink)
    cr.stroke()
    # Grip band.
    cr.set_line_width(2.0)
    cr.move_to(cone + 3.5, -hw)
    cr.line_to(cone + 3.5, hw)
    cr.stroke()
    cr.restore()


def glyph_pen_blue(cr, lk):
    _pen(cr, lk, PEN_BLUE)


def glyph_pen_red(cr, lk):
    _pen(cr, lk, PEN_RED)


def glyph_pen_green(cr, lk):
    _pen(cr, lk, PEN_GREEN)


def glyph_wave(cr, lk, width):
    w = WAVE_STROKE[width]
    x0, x1 = 8.0 + w / 2, 29.0 - w / 2
    amp = 3.5
    stroke_style(cr, w)
    cr.set_source_rgb(*lk.ink)
    n = 48
    for i in range(n + 1):
        t = i / n
        x = x0 + (x1 - x0) * t
        y = 17.0 - amp * math.sin(t * 2 * math.pi)
        if i == 0:
            cr.move_to(x, y)
        else:
            cr.line_to(x, y)
    cr.stroke()


def _eraser(cr, lk, cx, cy, length, width):
    """Eraser at 45 degrees, rubber end down-left, centred on (cx, cy)."""
    cr.save()
    cr.translate(cx, cy)
    cr.rotate(-math.pi / 4)
    x0 = -length / 2
    rounded_rect(cr, x0, -width / 2, length, width, 1.6)
    cr.set_source_rgb(*lk.paper)
    cr.fill_preserve()
    cr.save()
    cr.clip()
    split = x0 + length * 0.42
    cr.rectangle(x0 - 1, -width, split - x0 + 1, 2 * width)
    cr.set_source_rgb(*lk.ink)
    cr.fill()
    cr.restore()
    stroke_style(cr)
    cr.set_source_rgb(*lk.ink)
    rounded_rect(cr, x0, -width / 2, length, width, 1.6)
    cr.stroke()
    cr.restore()


def glyph_big_eraser(cr, lk):
    cx, cy, r = 18.0, 17.0, 10.5
    cr.set_source_rgb(*lk.ink)
    n = 16
    for i in range(n):
        a = 2 * math.pi * i / n
        cr.arc(cx + r * math.cos(a), cy + r * math.sin(a), 1.05, 0, 2 * math.pi)
        cr.fill()
    _eraser(cr, lk, cx, cy, 13.0, 7.0)


def glyph_erase_page(cr, lk):
    # Dotted page frame of 2x2 pixel squares on the pixel grid.
    cr.set_source_rgb(*lk.ink)
    for x in range(6, 27, 4):
        cr.rectangle(x, 6, 2, 2)
        cr.rectangle(x, 22, 2, 2)
    for y in range(10, 22, 4):
        cr.rectangle(6, y, 2, 2)
        cr.rectangle(26, y, 2, 2)
    cr.fill()
    _eraser(cr, lk, 22.5, 21.5, 13.0, 7.0)


def _magnifier(cr, lk, plus):
    cx, cy, r = 16.0, 15.0, 8.0
    cr.arc(cx, cy, r, 0, 2 * math.pi)
    cr.set_source_rgb(*lk.paper)
    cr.fill_preserve()
    stroke_style(cr)
    cr.set_source_rgb(*lk.ink)
    cr.stroke()
    stroke_style(cr, 3.2)
    d = r / math.sqrt(2)
    cr.move_to(cx + d + 1.2, cy + d + 1.2)
    cr.line_to(28.0, 27.0)
    cr.stroke()
    # Butt caps keep the plus and minus edges on the pixel grid.
    cr.set_line_width(2.0)
    cr.set_line_cap(cairo.LINE_CAP_BUTT)
    cr.move_to(cx - 4, cy)
    cr.line_to(cx + 4, cy)
    if plus:
        cr.move_to(cx, cy - 4)
        cr.line_to(cx, cy + 4)
    cr.stroke()


def glyph_zoom_in(cr, lk):
    _magnifier(cr, lk, True)


def glyph_zoom_out(cr, lk):
    _magnifier(cr, lk, False)


def glyph_save(cr, lk):
    stroke_style(cr)
    cr.set_source_rgb(*lk.ink)
    # Tray.
    cr.move_to(8, 18)
    cr.line_to(8, 24)
    cr.arc_negative(10, 24, 2, math.pi, math.pi / 2)
    cr.line_to(26, 26)
    cr.arc_negative(26, 24, 2, math.pi / 2, 0)
    cr.line_to(28, 18)
    cr.stroke()
    # Arrow down into it.
    cr.set_line_cap(cairo.LINE_CAP_BUTT)
    cr.move_to(18, 6)
    cr.line_to(18, 20)
    cr.stroke()
    cr.set_line_cap(cairo.LINE_CAP_ROUND)
    cr.move_to(13, 15)
    cr.line_to(18, 20)
    cr.line_to(23, 15)
    cr.stroke()


def glyph_background(cr, lk):
    stroke_style(cr)
    # Stand: two splayed legs behind the board, and a centre post.
    cr.set_source_rgb(*lk.ink)
    cr.move_to(14, 18)
    cr.line_to(11, 28)
    cr.move_to(22, 18)
    cr.line_to(25, 28)
    cr.stroke()
    cr.set_line_cap(cairo.LINE_CAP_BUTT)
    cr.move_to(18, 20)
    cr.line_to(18, 25)
    cr.stroke()
    cr.set_line_cap(cairo.LINE_CAP_ROUND)
    # Board.
    rounded_rect(cr, 7, 7, 22, 14, 1.5)
    cr.set_source_rgb(*lk.paper)
    cr.fill_preserve()
    cr.set_source_rgb(*lk.ink)
    cr.stroke()
    # A little drawing on it.
    cr.set_line_width(1.6)
    cr.move_to(11.0, 17.0)
    cr.curve_to(13.5, 11.0, 15.5, 11.0, 17.5, 14.5)
    cr.curve_to(19.5, 18.0, 22.0, 17.0, 25.0, 11.0)
    cr.stroke()


GLYPHS = {
    "window": glyph_window,
    "marker": glyph_marker,
    "width3": lambda cr, lk: glyph_wave(cr, lk, 3),
    "pen_blue": glyph_pen_blue,
    "pen_red": glyph_pen_red,
    "pen_green": glyph_pen_green,
    "big_eraser": glyph_big_eraser,
    "erase_page": glyph_erase_page,
    "zoom_in": glyph_zoom_in,
    "zoom_out": glyph_zoom_out,
    "save": glyph_save,
    "background": glyph_background,
}


def draw_tile(cr, x, y, lk, glyph):
    cr.save()
    cr.rectangle(x, y, TILE_W, TILE_H)
    cr.clip()
    cr.set_source_rgb(*GROUND)
    cr.paint()
    rounded_rect(cr, x + 0.5, y + 0.5, TILE_W - 1, TILE_H - 1, 3.5)
    cr.set_source_rgb(*lk.fill)
    cr.fill_preserve()
    cr.set_source_rgb(*lk.border)
    cr.set_line_width(1.0)
    cr.stroke()
    if lk.shade:
        # One darker row under the top border: a pushed-in feel.
        cr.rectangle(x + 3, y + 1, TILE_W - 6, 1)
        cr.set_source_rgb(*lk.shade)
        cr.fill()
    cr.translate(x, y)
    glyph(cr, lk)
    cr.restore()


def draw_close(cr, x, y, look):
    cx, cy = x + CLOSE_SIZE / 2.0, y + CLOSE_SIZE / 2.0
    cr.save()
    cr.rectangle(x, y, CLOSE_SIZE, CLOSE_SIZE)
    cr.clip()
    cr.set_source_rgb(*SLATE)
    cr.paint()
    ink = STRIP_INK
    if look != "normal":
        cr.arc(cx, cy, 7.0, 0, 2 * math.pi)
        cr.set_source_rgb(*(rgb("#e5484d") if look == "hover" else rgb("#b8262b")))
        cr.fill()
        ink = WHITE
    stroke_style(cr, 1.6)
    cr.set_source_rgb(*ink)
    d = 3.2
    cr.move_to(cx - d, cy - d)
    cr.line_to(cx + d, cy + d)
    cr.move_to(cx + d, cy - d)
    cr.line_to(cx - d, cy + d)
    cr.stroke()
    cr.restore()


def draw_palette(cr, x0, look):
    lk = {"normal": NORMAL, "hover": HOVER, "pressed": PRESSED}[look]
    cr.save()
    cr.rectangle(x0, 0, PAL_W, PAL_H)
    cr.clip()
    cr.set_source_rgb(*GROUND)
    cr.paint()
    cr.set_source_rgb(*EDGE)
    cr.rectangle(x0, TITLE_H, 1, FOLD_Y - TITLE_H)
    cr.rectangle(x0 + PAL_W - 1, TITLE_H, 1, FOLD_Y - TITLE_H)
    cr.fill()
    # Title strip with the product mark.
    cr.set_source_rgb(*SLATE)
    cr.rectangle(x0, 0, PAL_W, TITLE_H)
    cr.fill()
    cr.save()
    cr.translate(x0 + 8.6, 13.4)
    cr.rotate(math.pi / 4)
    cr.scale(6.6, 6.6)
    draw_nib_mark(cr, BRAND_YELLOW, hole=True, slit=0.13)
    cr.restore()
    draw_close(cr, x0 + CLOSE_XY[0], CLOSE_XY[1], look)
    # Fold strip with an up chevron.
    cr.set_source_rgb(*SLATE)
    cr.rectangle(x0, FOLD_Y, PAL_W, PAL_H - FOLD_Y)
    cr.fill()
    stroke_style(cr, 1.6)
    cr.set_source_rgb(*STRIP_INK)
    cx = x0 + PAL_W / 2.0
    cr.move_to(cx - 4.0, 471.5)
    cr.line_to(cx, 467.5)
    cr.line_to(cx + 4.0, 471.5)
    cr.stroke()
    for row in TILE_ROWS:
        draw_tile(cr, x0 + TILE_X, row, lk, GLYPHS[GLYPH_OF_ROW[row]])
    cr.restore()


def make_skin(s=1):
    surf = cairo.ImageSurface(cairo.FORMAT_RGB24, SHEET_W * s, SHEET_H * s)
    cr = cairo.Context(surf)
    cr.scale(s, s)
    cr.set_source_rgb(*SHEET)
    cr.paint()
    for look, dx in LOOK_SHIFT.items():
        draw_palette(cr, dx, look)
    for width, x in WIDTH_COLUMNS.items():
        for look, y in WIDTH_ROWS.items():
            lk = {"normal": WIDTH_NORMAL, "hover": HOVER, "pressed": WIDTH_PRESSED}[look]
            draw_tile(cr, x, y, lk, lambda c, l, w=width: glyph_wave(c, l, w))
    surf.flush()
    return surf


# --- badge (floating icon, program icon) -------------------------------------


def draw_badge(cr, x, y, size):
    r = size * 0.23
    grad = cairo.LinearGradient(0, y, 0, y + size)
    grad.add_color_stop_rgb(0, *rgb("#4d8ff8"))
    grad.add_color_stop_rgb(1, *rgb("#2563eb"))
    rounded_rect(cr, x, y, size, size, r)
    cr.set_source(grad)
    cr.fill()
    if size >= 32:
        # Thin inner rim so the badge keeps its edge on blue desktops.
        rounded_rect(cr, x + 0.5, y + 0.5, size - 1, size - 1, r - 0.5)
        cr.set_source_rgba(1, 1, 1, 0.18)
        cr.set_line_width(1.0)
        cr.stroke()
    small = size < 24
    # Yellow ink stroke leaving the nib.
    s = size / 48.0
    cr.save()
    cr.translate(x, y)
    cr.scale(s, s)
    if small:
        stroke_style(cr, 6.0)
        cr.set_source_rgb(*BRAND_YELLOW)
        cr.move_to(13.5, 39.0)
        cr.line_to(34.5, 39.0)
    else:
        stroke_style(cr, 3.6)
        cr.set_source_rgb(*BRAND_YELLOW)
        cr.move_to(12.5, 36.5)
        cr.curve_to(18.0, 40.5, 26.0, 40.0, 37.5, 36.0)
    cr.stroke()
    cr.restore()
    cr.save()
    if small:
        # Bigger and plainer, so it still reads as a nib at 16 pixels.
        # Upright and snapped: a 1-pixel slit on pixel column 7.
        sc = 7.0
        cr.translate(x + 7.5, y + 11.0)
        cr.scale(sc, sc)
        draw_nib_mark(cr, WHITE, hole=False, collar=False, slit=1.0 / sc)
    else:
        cr.translate(x + size * 0.30, y + size * 0.70)
        cr.rotate(math.pi / 4)
        sc = size * 0.30
        cr.scale(sc, sc)
        draw_nib_mark(cr, WHITE, hole=True, collar=True, slit=0.09)
    cr.restore()


def box_blur_alpha(a, w, h, radius, passes=3):
    for _ in range(passes):
        for horizontal in (True, False):
            out = [0.0] * (w * h)
            n = 2 * radius + 1
            for j in range(h if horizontal else w):
                line = [a[j * w + i] if horizontal else a[i * w + j] for i in range(w if horizontal else h)]
                L = len(line)
                for i in range(L):
                    s = 0.0
                    for k in range(i - radius, i + radius + 1):
                        if 0 <= k < L:
                            s += line[k]
                    v = s / n
                    if horizontal:
                        out[j * w + i] = v
                    else:
                        out[i * w + j] = v
            a = out
    return a


def shadow_surface(w, h, x, y, size, offset, radius, strength):
    mask = cairo.ImageSurface(cairo.FORMAT_A8, w, h)
    mc = cairo.Context(mask)
    rounded_rect(mc, x, y + offset, size, size, size * 0.23)
    mc.set_source_rgba(0, 0, 0, 1)
    mc.fill()
    mask.flush()
    stride = mask.get_stride()
    data = mask.get_data()
    a = [data[j * stride + i] / 255.0 for j in range(h) for i in range(w)]
    a = box_blur_alpha(a, w, h, radius)
    out = cairo.ImageSurface(cairo.FORMAT_ARGB32, w, h)
    ostride = out.get_stride()
    od = out.get_data()
    for j in range(h):
        for i in range(w):
            v = int(round(a[j * w + i] * strength * 255))
            if i in (0, w - 1) or j in (0, h - 1):
                v = 0
            od[j * ostride + i * 4 + 3] = v  # premultiplied black: only alpha
    out.mark_dirty()
    return out


def make_badge_image(w, h, x, y, size, shadow):
    surf = cairo.ImageSurface(cairo.FORMAT_ARGB32, w, h)
    cr = cairo.Context(surf)
    if shadow:
        offset, radius, strength = shadow
        cr.set_source_surface(shadow_surface(w, h, x, y, size, offset, radius, strength), 0, 0)
        cr.paint()
    draw_badge(cr, x, y, size)
    surf.flush()
    return surf


def make_icon(s=1):
    # 52 x 52 badge centred across, shadow fading out before the last row.
    return make_badge_image(70 * s, 60 * s, 9 * s, 2 * s, 52 * s, (2 * s, s, 0.38))


def make_program_icon(n):
    if n == 16:
        return make_badge_image(16, 16, 0, 0, 16, None)  # no room for a shadow
    if n == 32:
        return make_badge_image(32, 32, 1, 1, 30, None)
    if n == 48:
        return make_badge_image(48, 48, 2, 1, 44, (1, 1, 0.3))
    return make_badge_image(256, 256, 16, 12, 224, (6, 4, 0.35))


# --- cursors -----------------------------------------------------------------


def cursor_from_mask(black, white_extra=(), n=32):
    """Black pixels plus an 8-neighbour white outline; white_extra forces white inside."""
    px = {}
    for (x, y) in black:
        px[(x, y)] = "k"
    for (x, y) in black:
        for dx in (-1, 0, 1):
            for dy in (-1, 0, 1):
                q = (x + dx, y + dy)
                if 0 <= q[0] < n and 0 <= q[1] < n and q not in px:
                    px[q] = "w"
    for q in white_extra:
        px[q] = "w"
    surf = cairo.ImageSurface(cairo.FORMAT_ARGB32, n, n)
    stride = surf.get_stride()
    d = surf.get_data()
    for (x, y), c in px.items():
        v = 0 if c == "k" else 255
        d[y * stride + x * 4: y * stride + x * 4 + 4] = bytes((v, v, v, 255))
    surf.mark_dirty()
    return surf


def make_pen_cursor(s=1):
    # Pixel art on 45-degree axes: a runs from the tip up-right, b across the
    # pencil, in 1x pixels; a larger grid samples the same shape more finely.
    hx, hy = CURSORS["cursor-pen.png"]
    cone, seam, ferrule, end, half = 10, 11, 24, 28, 4
    black, seams = set(), set()
    for y in range(32 * s):
        for x in range(32 * s):
            a = (x - hx * s - (y - hy * s)) / s
            b = (x - hx * s + (y - hy * s)) / s
            if a < 0 or a > end:
                continue
            if a <= cone:
                inside = abs(b) <= a * 0.42 + 0.2
            elif a >= end - 1:
                inside = abs(b) <= half - 1          # rounded back end
            else:
                inside = abs(b) <= half
            if not inside:
                continue
            if round(a * s) in (seam * s, ferrule * s) and abs(b) < half:
                seams.add((x, y))
            else:
                black.add((x, y))
    return cursor_from_mask(black, seams, 32 * s)


def make_big_eraser_cursor():
    c = 16.5
    black = set()
    for y in range(32):
        for x in range(32):
            d = math.hypot(x + 0.5 - c, y + 0.5 - c)
            if 13.0 <= d <= 14.9:
                black.add((x, y))
    for x in range(15, 18):
        for y in range(15, 18):
            black.add((x, y))
    # Reticle ticks; the top one ends on the hot spot.
    hx, hy = CURSORS["cursor-big-eraser.png"]
    for k in range(4, hy + 1):
        black.add((16, k))
        black.add((16, 32 - k))
        black.add((k, 16))
        black.add((32 - k, 16))
    return cursor_from_mask(black)


# --- PNG files ---------------------------------------------------------------


def png_chunk(tag, data):
    return struct.pack(">I", len(data)) + tag + data + struct.pack(">I", zlib.crc32(tag + data) & 0xFFFFFFFF)


def write_png(path, w, h, colour_type, rows, palette=None):
    raw = b"".join(b"\x00" + bytes(r) for r in rows)
    out = b"\x89PNG\r\n\x1a\n"
    out += png_chunk(b"IHDR", struct.pack(">IIBBBBB", w, h, 8, colour_type, 0, 0, 0))
    if palette:
        out += png_chunk(b"PLTE", b"".join(bytes(c) for c in palette))
    out += png_chunk(b"IDAT", zlib.compress(raw, 9))
    out += png_chunk(b"IEND", b"")
    with open(path, "wb") as f:
        f.write(out)


def surface_rgb_rows(surf):
    w, h, st = surf.get_width(), surf.get_height(), surf.get_stride()
    d = bytes(surf.get_data())
    rows = []
    for y in range(h):
        r = bytearray(w * 3)
        for x in range(w):
            b, g, rr = d[y * st + x * 4], d[y * st + x * 4 + 1], d[y * st + x * 4 + 2]
            r[x * 3:x * 3 + 3] = bytes((rr, g, b))
        rows.append(r)
    return rows


def read_png(path):
    """Minimal decoder for 8-bit, non-interlaced PNGs; returns a dict."""
    with open(path, "rb") as f:
        data = f.read()
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise ValueError("not a PNG")
    pos, idat, info = 8, b"", {}
    while pos < len(data):
        n, = struct.unpack(">I", data[pos:pos + 4])
        tag, body = data[pos + 4:pos + 8], data[pos + 8:pos + 8 + n]
        pos += 12 + n
        if tag == b"IHDR":
            w, h, depth, ct, _, _, interlace = struct.unpack(">IIBBBBB", body)
            info.update(w=w, h=h, depth=depth, ct=ct, interlace=interlace)
        elif tag == b"PLTE":
            info["palette"] = [tuple(body[i:i + 3]) for i in range(0, n, 3)]
        elif tag == b"IDAT":
            idat += body
    if info["depth"] != 8 or info["interlace"] != 0:
        return info
    bpp = {0: 1, 2: 3, 3: 1, 4: 2, 6: 4}[info["ct"]]
    raw = zlib.decompress(idat)
    w, h = info["w"], info["h"]
    stride = w * bpp
    rows, prev, p = [], bytearray(stride), 0
    for _ in range(h):
        ft, line = raw[p], bytearray(raw[p + 1:p + 1 + stride])
        p += 1 + stride
        for i in range(stride):
            a = line[i - bpp] if i >= bpp else 0
            b = prev[i]
            c = prev[i - bpp] if i >= bpp else 0
            if ft == 1:
                line[i] = (line[i] + a) & 255
            elif ft == 2:
                line[i] = (line[i] + b) & 255
            elif ft == 3:
                line[i] = (line[i] + (a + b) // 2) & 255
            elif ft == 4:
                pa, pb, pc = abs(b - c), abs(a - c), abs(a + b - 2 * c)
                pr = a if pa <= pb and pa <= pc else (b if pb <= pc else c)
                line[i] = (line[i] + pr) & 255
        rows.append(line)
        prev = line
    px = []
    for line in rows:
        if info["ct"] == 3:
            px.append([info["palette"][v] for v in line])
        else:
            px.append([tuple(line[i:i + bpp]) for i in range(0, stride, bpp)])
    info["px"] = px
    return info


# --- generate ----------------------------------------------------------------


def generate():
    for s in (1,) + SCALES:
        skin = make_skin(s)
        write_png(os.path.join(OUT, scaled_name("skin.png", s)), SHEET_W * s, SHEET_H * s, 2, surface_rgb_rows(skin))

        cut = shape_cut_pixels(s)
        palette = [(0, 0, 0), MAGENTA] + [(0, 0, 0)] * 254
        rows = [bytes(1 if (x, y) in cut else 0 for x in range(PAL_W * s)) for y in range(PAL_H * s)]
        write_png(os.path.join(OUT, scaled_name("palette-shape.png", s)), PAL_W * s, PAL_H * s, 3, rows, palette)

        make_icon(s).write_to_png(os.path.join(OUT, scaled_name("icon.png", s)))
    for s in SCALES:
        make_pen_cursor(s).write_to_png(os.path.join(OUT, scaled_name("cursor-pen.png", s)))
    for n in PROGRAM_ICON_SIZES:
        make_program_icon(n).write_to_png(os.path.join(OUT, "program-icon-%d.png" % n))

    make_pen_cursor().write_to_png(os.path.join(OUT, "cursor-pen.png"))
    make_big_eraser_cursor().write_to_png(os.path.join(OUT, "cursor-big-eraser.png"))
    with open(os.path.join(OUT, "cursors.txt"), "w") as f:
        for name, (x, y) in CURSORS.items():
            f.write("%s %d %d\n" % (name, x, y))


# --- check -------------------------------------------------------------------


def check():
    errors = []

    def need(cond, msg):
        if not cond:
            errors.append(msg)
        return cond

    def load(name, w, h, ct):
        info = read_png(os.path.join(OUT, name))
        ok = need((info["w"], info["h"]) == (w, h), "%s: size %dx%d, want %dx%d" % (name, info["w"], info["h"], w, h))
        ok &= need(info["ct"] == ct and info["depth"] == 8 and info["interlace"] == 0,
                   "%s: colour type %d depth %d interlace %d, want type %d, 8 bits, not interlaced"
                   % (name, info["ct"], info["depth"], info["interlace"], ct))
        return info if ok else None

    skin = load("skin.png", SHEET_W, SHEET_H, 2)
    if skin:
        px = skin["px"]
        # Every slice pasted on the normal palette must blend at its corners.
        slices = []
        for row, place in BUTTON_PLACES:
            for dx in LOOK_SHIFT.values():
                slices.append(((TILE_X + dx, row), (TILE_X, place), (TILE_W, TILE_H)))
        for width, col in WIDTH_COLUMNS.items():
            for r in WIDTH_ROWS.values():
                slices.append(((col, r), (TILE_X, 205), (TILE_W, TILE_H)))
        slices.append(((CLOSE_XY[0] + LOOK_SHIFT["hover"], CLOSE_XY[1]), CLOSE_XY, (CLOSE_SIZE, CLOSE_SIZE)))
        for (sx, sy), (px_, py), (w, h) in slices:
            for cx, cy in ((0, 0), (w - 1, 0), (0, h - 1), (w - 1, h - 1)):
                need(px[sy + cy][sx + cx] == px[py + cy][px_ + cx],
                     "skin: slice at (%d,%d) corner (%d,%d) does not match the palette under it"
                     % (sx, sy, cx, cy))
        # The three looks of a tile differ; width tiles' normal look sits on the pressed blue.
        def fill(x, y):
            return px[y + 17][x + 2]
        for row in TILE_ROWS:
            looks = {fill(TILE_X + dx, row) for dx in LOOK_SHIFT.values()}
            need(len(looks) == 3, "skin: row %d has fewer than three distinct looks" % row)
        blue = fill(TILE_X + LOOK_SHIFT["pressed"], 95)
        for width, col in WIDTH_COLUMNS.items():
            need(fill(col, WIDTH_ROWS["normal"]) == blue, "skin: width %d normal tile not on the pressed blue" % width)
            looks = {fill(col, r) for r in WIDTH_ROWS.values()}
            need(len(looks) == 3, "skin: width %d tiles: the three looks are not distinct" % width)
            need(fill(col, WIDTH_ROWS["pressed"]) != blue, "skin: width %d pressed look equals its normal look" % width)
        # Glyph ink stays inside the tile's 5-pixel margin.
        for row in TILE_ROWS:
            base = px[row + 17][TILE_X + 2]
            for y in range(row + 1, row + TILE_H - 1):
                for x in range(TILE_X + 1, TILE_X + TILE_W - 1):
                    inner = 5 <= x - TILE_X < TILE_W - 5 and 5 <= y - row < TILE_H - 5
                    if not inner and (x - TILE_X, y - row) not in _corner_zone():
                        if px[y][x] != base:
                            errors.append("skin: glyph at row %d reaches (%d,%d) inside the margin" % (row, x, y))
                            break

    for s in SCALES:
        load(scaled_name("skin.png", s), SHEET_W * s, SHEET_H * s, 2)

    for s in (1,) + SCALES:
        name, w, h = scaled_name("palette-shape.png", s), PAL_W * s, PAL_H * s
        shape = load(name, w, h, 3)
        if shape:
            want = shape_cut_pixels(s)
            got = {(x, y) for y in range(h) for x in range(w) if shape["px"][y][x] == MAGENTA}
            need(got == want, "%s: magenta pixels differ (extra %s, missing %s)"
                 % (name, sorted(got - want)[:5], sorted(want - got)[:5]))
            others = {shape["px"][y][x] for y in range(h) for x in range(w) if (x, y) not in got}
            need(len(others) == 1, "%s: non-magenta pixels use %d colours" % (name, len(others)))

    for s in (1,) + SCALES:
        name, w, h = scaled_name("icon.png", s), 70 * s, 60 * s
        icon = load(name, w, h, 6)
        if icon:
            a = [[p[3] for p in r] for r in icon["px"]]
            ring = [a[0][x] for x in range(w)] + [a[h - 1][x] for x in range(w)] + \
                   [a[y][0] for y in range(h)] + [a[y][w - 1] for y in range(h)]
            need(max(ring) == 0, "%s: outer rows/columns not fully transparent" % name)
            opaque = [(x, y) for y in range(h) for x in range(w) if a[y][x] == 255]
            if need(opaque, "%s: no opaque pixels" % name):
                bw = max(p[0] for p in opaque) - min(p[0] for p in opaque) + 1
                bh = max(p[1] for p in opaque) - min(p[1] for p in opaque) + 1
                need(bw >= 48 * s and bh >= 44 * s,
                     "%s: opaque part %dx%d, want at least %dx%d" % (name, bw, bh, 48 * s, 44 * s))

    for n in PROGRAM_ICON_SIZES:
        load("program-icon-%d.png" % n, n, n, 6)

    try:
        with open(os.path.join(OUT, "cursors.txt")) as f:
            listed = {p[0]: (int(p[1]), int(p[2])) for p in (l.split() for l in f) if p}
    except (OSError, ValueError, IndexError) as e:
        listed = {}
        errors.append("cursors.txt: %s" % e)
    need(listed == CURSORS, "cursors.txt: %s, want %s" % (listed, CURSORS))
    cursor_files = [(base, s) for base in CURSORS for s in (1,) + (SCALES if base in SCALED_CURSORS else ())]
    for base, s in cursor_files:
        name, n, hx, hy = scaled_name(base, s), 32 * s, CURSORS[base][0] * s, CURSORS[base][1] * s
        cur = load(name, n, n, 6)
        if not cur:
            continue
        p = cur["px"]
        black, bad = set(), 0
        for y in range(n):
            for x in range(n):
                v = p[y][x]
                if v == (0, 0, 0, 255):
                    black.add((x, y))
                elif v != (255, 255, 255, 255) and v[3] != 0:
                    bad += 1
        need(bad == 0, "%s: %d pixels neither black, white nor transparent" % (name, bad))
        need((hx, hy) in black, "%s: hot spot (%d,%d) is not black" % (name, hx, hy))
        holes = [(x, y) for (x, y) in black for dx in (-1, 0, 1) for dy in (-1, 0, 1)
                 if 0 <= x + dx < n and 0 <= y + dy < n and p[y + dy][x + dx][3] == 0]
        need(not holes, "%s: black touches transparency at %s (outline incomplete)" % (name, holes[:3]))
        if base == "cursor-pen.png" and black:
            tip = max(y - x for (x, y) in black)
            need([q for q in black if q[1] - q[0] == tip] == [(hx, hy)],
                 "%s: the pencil's tip is not exactly the hot spot" % name)

    for e in errors:
        print("FAIL", e)
    print("artwork check: %s" % ("ok" if not errors else "%d fault(s)" % len(errors)))
    return 0 if not errors else 1


def _corner_zone():
    # The tile's rounded corners are ground-coloured, not glyph.
    z = set()
    for x in range(5):
        for y in range(5):
            for cx, cy in ((x, y), (TILE_W - 1 - x, y), (x, TILE_H - 1 - y), (TILE_W - 1 - x, TILE_H - 1 - y)):
                z.add((cx, cy))
    return z


# --- previews ----------------------------------------------------------------


def preview(outdir):
    os.makedirs(outdir, exist_ok=True)
    skin = cairo.ImageSurface.create_from_png(os.path.join(OUT, "skin.png"))
    cut = shape_cut_pixels()

    def palette_surface(look=None, width=None):
        s = cairo.ImageSurface(cairo.FORMAT_ARGB32, PAL_W, PAL_H)
        c = cairo.Context(s)
        c.set_source_surface(skin, 0, 0)
        c.paint()

        def paste(sx, sy, dx, dy, w, h):
            c.save()
            c.rectangle(dx, dy, w, h)
            c.clip()
            c.set_source_surface(skin, dx - sx, dy - sy)
            c.paint()
            c.restore()
        for row, place in BUTTON_PLACES:
            src_x, src_y = {"hover": 63, "pressed": 120}.get(look, 7), row
            if row == 95 and width in WIDTH_COLUMNS:
                src_x, src_y = WIDTH_COLUMNS[width], WIDTH_ROWS[look or "normal"]
            paste(src_x, src_y, TILE_X, place, TILE_W, TILE_H)
        if look == "hover":
            paste(88, 1, 32, 1, 15, 15)
        s.flush()
        st, d = s.get_stride(), s.get_data()
        for (x, y) in cut:
            d[y * st + x * 4:y * st + x * 4 + 4] = b"\0\0\0\0"
        s.mark_dirty()
        return s

    variants = [palette_surface(), palette_surface("hover"), palette_surface("pressed")]
    for wd in (5, 10, 15):
        variants.append(palette_surface(None, wd))
    variants.append(palette_surface("hover", 10))
    variants.append(palette_surface("pressed", 10))
    icons = [cairo.ImageSurface.create_from_png(os.path.join(OUT, n)) for n in
             ["icon.png"] + ["program-icon-%d.png" % n for n in (16, 32, 48)] +
             ["cursor-pen.png", "cursor-big-eraser.png"]]
    for name, bg in (("light", rgb("#f4f5f7")), ("dark", rgb("#1d2025")), ("mid", rgb("#6b8fb3"))):
        W = len(variants) * 60 + 10 + 90
        H = PAL_H + 20
        base = cairo.ImageSurface(cairo.FORMAT_RGB24, W, H)
        c = cairo.Context(base)
        c.set_source_rgb(*bg)
        c.paint()
        for i, v in enumerate(variants):
            c.set_source_surface(v, 10 + i * 60, 10)
            c.paint()
        y = 10
        for ic in icons:
            c.set_source_surface(ic, W - 80, y)
            c.paint()
            y += ic.get_height() + 10
        base.write_to_png(os.path.join(outdir, "palette-%s-1x.png" % name))
        big = cairo.ImageSurface(cairo.FORMAT_RGB24, W * 3, H * 3)
        c = cairo.Context(big)
        c.scale(3, 3)
        c.set_source_surface(base, 0, 0)
        c.get_source().set_filter(cairo.FILTER_NEAREST)
        c.paint()
        big.write_to_png(os.path.join(outdir, "palette-%s-3x.png" % name))
    print("previews in", outdir)


if __name__ == "__main__":
    if len(sys.argv) > 1 and sys.argv[1] == "--check":
        sys.exit(check())
    if len(sys.argv) > 2 and sys.argv[1] == "--preview":
        preview(sys.argv[2])
        sys.exit(0)
    if len(sys.argv) > 1:
        print(__doc__)
        sys.exit(2)
    generate()
