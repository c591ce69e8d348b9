#!/usr/bin/env python3
"""Draws the appointment book's bitmaps and cursors.

Writes uncompressed 24-bit BMP files and monochrome CUR files into resources/bitmaps/ and the
resource script resources/bitmaps.rc that names them. Every picture is drawn here from simple
shapes; nothing is read from elsewhere. Python 3 standard library only.

    python3 tools/bitmaps/make_bitmaps.py              # rewrite resources/bitmaps*
    python3 tools/bitmaps/make_bitmaps.py --preview x.png   # also a magnified contact sheet

Magenta (255,0,255) is the transparent colour: the sheet draws markers, resize grips and the pin
board cards with DrawTransparentBitmap, which leaves magenta pixels as they were, and the button
bar masks its pictures with the same colour.
"""

import argparse
import math
import os
import struct
import zlib

MAGENTA = (255, 0, 255)
BLACK = (0, 0, 0)
WHITE = (255, 255, 255)
GREY = (128, 128, 128)
LIGHT_GREY = (192, 192, 192)
DARK_GREY = (64, 64, 64)
RED = (220, 0, 0)
DARK_RED = (128, 0, 0)
GREEN = (0, 160, 0)
BLUE = (0, 70, 200)
NAVY = (0, 0, 128)
YELLOW = (255, 215, 0)
ORANGE = (255, 140, 0)
SKIN = (240, 200, 160)
SKY = (130, 200, 255)
BROWN = (150, 90, 30)

# --------------------------------------------------------------------------------------------
# Shapes are pixel masks (sets of (x, y)); a pixel belongs to a shape when its centre lies inside.
# Painting a mask fills it and, when asked, draws its boundary (pixels with a neighbour outside)
# in an outline colour, which keeps edges crisp at every size from 6 pixels up.


def mask_poly(points, w, h):
    out = set()
    n = len(points)
    for y in range(h):
        cy = y + 0.5
        xs = []
        for i in range(n):
            x0, y0 = points[i]
            x1, y1 = points[(i + 1) % n]
            if (y0 <= cy < y1) or (y1 <= cy < y0):
                xs.append(x0 + (cy - y0) * (x1 - x0) / (y1 - y0))
        xs.sort()
        for a, b in zip(xs[0::2], xs[1::2]):
            for x in range(w):
                if a <= x + 0.5 < b:
                    out.add((x, y))
    return out


def mask_rect(x0, y0, x1, y1):
    """Inclusive pixel rectangle."""
    return {(x, y) for x in range(x0, x1 + 1) for y in range(y0, y1 + 1)}


def mask_ellipse(cx, cy, rx, ry, w, h):
    out = set()
    for y in range(h):
        for x in range(w):
            dx = (x + 0.5 - cx) / rx
            dy = (y + 0.5 - cy) / ry
            if dx * dx + dy * dy <= 1.0:
                out.add((x, y))
    return out


def mask_thick(x0, y0, x1, y1, width, w, h):
    """A straight stroke of the given width between two points (continuous coordinates)."""
    dx, dy = x1 - x0, y1 - y0
    length = (dx * dx + dy * dy) ** 0.5 or 1.0
    nx, ny = -dy / length * width / 2, dx / length * width / 2
    return mask_poly([(x0 + nx, y0 + ny), (x1 + nx, y1 + ny), (x1 - nx, y1 - ny),
                      (x0 - nx, y0 - ny)], w, h)


def mask_polyline(points, width, w, h):
    out = set()
    for a, b in zip(points, points[1:]):
        out |= mask_thick(a[0], a[1], b[0], b[1], width, w, h)
    return out


def mask_pattern(rows, x0, y0):
    """A small glyph given as strings, '#' set."""
    return {(x0 + x, y0 + y) for y, row in enumerate(rows) for x, ch in enumerate(row) if ch == "#"}


def boundary(mask):
    return {(x, y) for (x, y) in mask
            if (x - 1, y) not in mask or (x + 1, y) not in mask
            or (x, y - 1) not in mask or (x, y + 1) not in mask}


class Canvas:
    def __init__(self, w, h, background=MAGENTA):
        self.w, self.h = w, h
        self.px = [[background] * w for _ in range(h)]

    def set(self, x, y, colour):
        if 0 <= x < self.w and 0 <= y < self.h:
            self.px[y][x] = colour

    def get(self, x, y):
        return self.px[y][x]

    def paint(self, mask, fill, outline=None):
        for (x, y) in mask:
            self.set(x, y, fill)
        if outline is not None:
            for (x, y) in boundary(mask):
                self.set(x, y, outline)
        return mask

    def rect(self, x0, y0, x1, y1, fill, outline=None):
        return self.paint(mask_rect(x0, y0, x1, y1), fill, outline)

    def hline(self, x0, x1, y, colour):
        for x in range(x0, x1 + 1):
            self.set(x, y, colour)

    def vline(self, x, y0, y1, colour):
        for y in range(y0, y1 + 1):
            self.set(x, y, colour)

    def line(self, x0, y0, x1, y1, colour):
        dx, dy = abs(x1 - x0), -abs(y1 - y0)
        sx, sy = (1 if x0 < x1 else -1), (1 if y0 < y1 else -1)
        err = dx + dy
        while True:
            self.set(x0, y0, colour)
            if x0 == x1 and y0 == y1:
                return
            e2 = 2 * err
            if e2 >= dy:
                err += dy
                x0 += sx
            if e2 <= dx:
                err += dx
                y0 += sy

    def poly(self, points, fill, outline=None):
        return self.paint(mask_poly(points, self.w, self.h), fill, outline)

    def ellipse(self, cx, cy, rx, ry, fill, outline=None):
        return self.paint(mask_ellipse(cx, cy, rx, ry, self.w, self.h), fill, outline)

    def stroke(self, points, width, colour):
        return self.paint(mask_polyline(points, width, self.w, self.h), colour)

    def glyph(self, rows, x0, y0, colour):
        return self.paint(mask_pattern(rows, x0, y0), colour)


# --------------------------------------------------------------------------------------------
# Sheet markers, each drawn for its size: 6, 9, 12, 16 and 20 pixels square.

MARKER_SIZES = (6, 9, 12, 16, 20)


def draw_note(s):
    """An appointment note: a white page with a folded corner and lines of writing."""
    c = Canvas(s, s)
    m = max(1, round(s * 0.12))
    x0, x1 = m, s - m  # continuous edges
    k = max(2, s // 4)
    page = c.poly([(x0, 0), (x1 - k, 0), (x1, k), (x1, s), (x0, s)], WHITE, BLACK)
    # The fold: a small grey triangle under the cut corner.
    if s >= 9:
        c.poly([(x1 - k, 0), (x1 - k, k), (x1, k)], LIGHT_GREY)
        for i in range(k + 1):
            c.set(int(x1 - k) + i, i, BLACK)
        c.vline(int(x1 - k), 0, k - 1, BLACK)
        c.hline(int(x1 - k), int(x1) - 1, k, BLACK)
    # Lines of writing inside the page.
    inside = page - boundary(page)
    gap = 2 if s < 16 else 3
    first = k + 2 if s >= 9 else 2
    indent = 2 if s >= 9 else 1
    for y in range(first, s - 1, gap):
        for x in range(int(x0) + indent, int(x1) - indent):
            if (x, y) in inside:
                c.set(x, y, BLUE)
    return c


def draw_alert(s):
    """A medical alert: a red cross on a white tile."""
    c = Canvas(s, s)
    c.rect(0, 0, s - 1, s - 1, WHITE, DARK_GREY)
    inner = 1 if s < 12 else 2
    t = 2 if s < 9 else (s * 3 + 5) // 10
    if (s - t) % 2:
        t += 1
    a = (s - t) // 2
    c.rect(a, inner, a + t - 1, s - 1 - inner, RED)
    c.rect(inner, a, s - 1 - inner, a + t - 1, RED)
    return c


def draw_patient_alert(s):
    """A patient alert: a yellow warning triangle with an exclamation mark."""
    c = Canvas(s, s)
    c.poly([(s / 2, 0), (s, s), (0, s)], YELLOW, BLACK)
    # The mark sits on the apex: one pixel wide on odd sizes, two on the even ones from 12 up.
    if s % 2:
        xs = [s // 2]
    else:
        xs = [s // 2 - 1, s // 2] if s >= 12 else [s // 2 - 1]
    top = round(s * 0.35)
    bottom = s - 2 - max(1, round(s * 0.22))
    dot = s - 2 - (0 if s < 9 else max(0, round(s * 0.05)))
    for x in xs:
        if s >= 9:
            c.vline(x, top, bottom, BLACK)
        c.set(x, dot, BLACK)
        if s >= 16:
            c.set(x, dot - 1, BLACK)
    return c


LAB_STATES = {
    # family: (liquid colour, glyph shown in the liquid on the larger sizes)
    "LABNEED": (RED, ["#", "#", "#", ".", "#"]),
    "LABSENT": (ORANGE, ["..#..", "...#.", "#####", "...#.", "..#.."]),
    "LABRECV": (GREEN, ["....#", "...#.", "#.#..", ".#...", "....."]),
    "LABINHSE": (BLUE, ["..#..", ".###.", "#####", ".#.#.", ".#.#."]),
}


def flask_mask(s, w, h, ox=0.0, oy=0.0):
    return mask_poly([(ox + s * 0.33, oy), (ox + s * 0.67, oy), (ox + s * 0.67, oy + s * 0.36),
                      (ox + s, oy + s), (ox, oy + s), (ox + s * 0.33, oy + s * 0.36)], w, h)


def paint_flask(c, s, liquid, glyph, ox=0, oy=0):
    """A lab flask in one of the lab case's four colours: needed, sent, received, in the house."""
    flask = c.paint(flask_mask(s, c.w, c.h, ox, oy), WHITE, BLACK)
    edge = boundary(flask)
    level = oy + (s * 0.5 if s >= 9 else s * 0.34)
    for (x, y) in flask - edge:
        if y + 0.5 >= level:
            c.set(x, y, liquid)
    if s >= 16:
        gw = max(len(r) for r in glyph)
        gx = ox + (s - gw) // 2
        gy = oy + s - 2 - len(glyph)
        c.glyph(glyph, gx, gy, WHITE)


def draw_lab(family, s):
    c = Canvas(s, s)
    liquid, glyph = LAB_STATES[family]
    paint_flask(c, s, liquid, glyph)
    return c


MARKER_FAMILIES = {
    "NOTE": draw_note,
    "ALERT": draw_alert,
    "PALERT": draw_patient_alert,
    "LABNEED": lambda s: draw_lab("LABNEED", s),
    "LABSENT": lambda s: draw_lab("LABSENT", s),
    "LABRECV": lambda s: draw_lab("LABRECV", s),
    "LABINHSE": lambda s: draw_lab("LABINHSE", s),
}


def draw_grip(s):
    """The resize grip at an appointment's lower right corner: diagonal ridges."""
    c = Canvas(s, s)
    for d in range(0, s, 3):
        for k, colour in ((d, WHITE), (d + 1, DARK_GREY), (d + 2, DARK_GREY)):
            if k >= s:
                continue
            # ridge k runs from (s-1-k, s-1) up to (s-1, s-1-k)
            for i in range(k + 1):
                c.set(s - 1 - k + i, s - 1 - i, colour)
    return c


# --------------------------------------------------------------------------------------------
# Pieces shared by the pin board cards and the button-bar pictures.


def calendar_page(c, x0, y0, x1, y1, band=RED, rings=True, grid=True):
    """A calendar leaf: coloured top band, binder rings, faint day grid."""
    c.rect(x0, y0, x1, y1, WHITE, BLACK)
    band_bottom = y0 + max(2, (y1 - y0) // 4)
    c.rect(x0 + 1, y0 + 1, x1 - 1, band_bottom, band)
    c.hline(x0, x1, band_bottom + 1, BLACK)
    if rings:
        for rx in (x0 + (x1 - x0) // 4, x1 - (x1 - x0) // 4):
            c.vline(rx, y0 - 2, y0 + 1, DARK_GREY)
    if grid:
        for gy in range(band_bottom + 4, y1, 3):
            c.hline(x0 + 2, x1 - 2, gy, LIGHT_GREY)
    return band_bottom


def magnifier(c, cx, cy, r, handle):
    c.ellipse(cx, cy, r, r, SKY, BLACK)
    # A light reflex in the glass.
    c.set(int(cx - r / 2), int(cy - r / 2), WHITE)
    c.set(int(cx - r / 2) + 1, int(cy - r / 2), WHITE)
    c.set(int(cx - r / 2), int(cy - r / 2) + 1, WHITE)
    d = r * 0.72
    c.stroke([(cx + d, cy + d), (cx + d + handle, cy + d + handle)], 3.2, BROWN)


def person(c, cx, top, scale, shirt=BLUE, skin=SKIN, outline=BLACK):
    """Head and shoulders."""
    # Shoulders: the upper part of an ellipse, cut off flat below.
    centre = top + 11.5 * scale
    body = {(x, y) for (x, y) in mask_ellipse(cx, centre, 6.2 * scale, 4.5 * scale, c.w, c.h)
            if y + 0.5 <= centre + 0.2 + 2.5 * scale}
    c.paint(body, shirt, outline)
    c.ellipse(cx, top + 3.6 * scale, 3.1 * scale, 3.5 * scale, skin, outline)


def check_mark(c, pts, colour=GREEN, width=3.0):
    c.stroke(pts, width, colour)


def red_x(c, x0, y0, x1, y1, width=3.0):
    c.stroke([(x0, y0), (x1, y1)], width, RED)
    c.stroke([(x1, y0), (x0, y1)], width, RED)


def plus(c, cx, cy, arm, t, colour=GREEN, outline=None):
    m = mask_rect(cx - arm, cy - t // 2, cx + arm, cy - t // 2 + t - 1)
    m |= mask_rect(cx - t // 2, cy - arm, cx - t // 2 + t - 1, cy + arm)
    c.paint(m, colour, outline)


# --------------------------------------------------------------------------------------------
# Pin board cards (24 x 24): a parked appointment with a date, and one without.


def draw_pin_card(scheduled):
    c = Canvas(24, 24)
    calendar_page(c, 2, 3, 21, 22, band=RED if scheduled else GREY, grid=scheduled)
    if scheduled:
        # A booked slot on the leaf: status stripe and the appointment's colour.
        c.rect(4, 12, 19, 18, SKY, BLACK)
        c.rect(5, 13, 6, 17, YELLOW)
        c.vline(7, 13, 17, BLACK)
        c.hline(9, 17, 14, NAVY)
        c.hline(9, 15, 16, NAVY)
    else:
        c.glyph([".####.",
                 "##..##",
                 "....##",
                 "...##.",
                 "..##..",
                 "..##..",
                 "......",
                 "..##..",
                 "..##.."], 9, 11, BLACK)
    return c


# --------------------------------------------------------------------------------------------
# Button-bar pictures, 24 x 24, named by their bitmap resource numbers.

BAR = 24


def bar_patient_picture(on):
    c = Canvas(BAR, BAR)
    c.rect(2, 2, 21, 21, BROWN, BLACK)
    c.rect(4, 4, 19, 19, SKY if on else LIGHT_GREY, DARK_GREY)
    shirt = BLUE if on else GREY
    skin = SKIN if on else (170, 170, 170)
    body = {(x, y) for (x, y) in mask_ellipse(12, 20.5, 6.5, 5.5, BAR, BAR) if 5 <= x <= 18 and 5 <= y <= 18}
    c.paint(body, shirt)
    c.ellipse(12, 10, 3.2, 3.7, skin, DARK_GREY)
    return c


def bar_new_appointment():
    c = Canvas(BAR, BAR)
    calendar_page(c, 1, 4, 18, 21)
    plus(c, 18, 17, 5, 3, GREEN, outline=(0, 90, 0))
    return c


def bar_find_time():
    c = Canvas(BAR, BAR)
    face = c.ellipse(10, 10, 9, 9, WHITE, BLACK)
    for h in range(12):
        a = h * math.pi / 6
        c.set(int(10 + 7 * math.sin(a)), int(10 - 7 * math.cos(a)), DARK_GREY)
    c.line(9, 10, 9, 4, BLACK)
    c.line(9, 10, 13, 10, BLACK)
    magnifier(c, 16, 16, 4.2, 4.5)
    return c


def bar_locate_appointment():
    c = Canvas(BAR, BAR)
    calendar_page(c, 1, 3, 17, 19)
    c.rect(3, 10, 12, 14, SKY, BLACK)
    magnifier(c, 15, 15, 4.5, 4.5)
    return c


def bar_break_appointment():
    c = Canvas(BAR, BAR)
    calendar_page(c, 1, 4, 22, 21)
    # Torn down the middle: a zigzag gap, the right half dropped a little.
    zig = [(11, 3), (13, 7), (10, 11), (13, 15), (10, 19), (12, 23)]
    gap = mask_polyline(zig, 2.2, BAR, BAR)
    right = {(x, y) for y in range(BAR) for x in range(BAR) if c.get(x, y) != MAGENTA and x > 11}
    saved = {p: c.get(*p) for p in right}
    for p in right:
        c.set(p[0], p[1], MAGENTA)
    for (x, y), col in saved.items():
        c.set(x + 1, y + 1, col)
    for (x, y) in gap:
        c.set(x, y, MAGENTA)
    return c


def bar_set_complete():
    c = Canvas(BAR, BAR)
    calendar_page(c, 1, 4, 20, 21)
    check_mark(c, [(5, 13), (9.5, 18), (21, 6)], GREEN, 3.4)
    return c


def printer(c, paper_lines=True):
    # Paper going in at the top, the body, and the printed sheet in front.
    c.rect(6, 1, 17, 9, WHITE, BLACK)
    c.rect(1, 8, 22, 17, LIGHT_GREY, BLACK)
    c.hline(2, 21, 9, WHITE)
    c.rect(18, 10, 20, 11, GREEN)
    c.rect(4, 13, 19, 16, DARK_GREY)
    c.rect(5, 14, 18, 22, WHITE, BLACK)
    if paper_lines:
        for y in (17, 19):
            c.hline(7, 16, y, BLUE)


def bar_print_view():
    c = Canvas(BAR, BAR)
    printer(c)
    return c


def bar_route_slip():
    c = Canvas(BAR, BAR)
    # A narrow slip with lines, and an arrow sending it on its way.
    c.rect(3, 1, 14, 22, WHITE, BLACK)
    c.rect(4, 2, 13, 4, (255, 255, 190))
    for y in range(7, 21, 3):
        c.hline(5, 12, y, BLUE)
    c.poly([(12, 12), (18, 12), (18, 8), (24, 14.5), (18, 21), (18, 17), (12, 17)], GREEN, (0, 90, 0))
    return c


def bar_dial():
    c = Canvas(BAR, BAR)
    # A desk telephone: handset on top, body with a dial.
    c.poly([(5, 10), (19, 10), (23, 21), (1, 21)], DARK_RED, BLACK)
    c.ellipse(12, 15.5, 4.2, 4.2, WHITE, BLACK)
    c.ellipse(12, 15.5, 1.4, 1.4, DARK_RED)
    c.stroke([(4, 5), (20, 5)], 3, BLACK)
    c.rect(1, 4, 6, 9, BLACK)
    c.rect(17, 4, 22, 9, BLACK)
    return c


def bar_delete_appointment():
    c = Canvas(BAR, BAR)
    calendar_page(c, 1, 4, 18, 21)
    red_x(c, 10, 10, 22, 22, 3.2)
    return c


def bar_treatment_manager():
    c = Canvas(BAR, BAR)
    # A molar: crown and two roots.
    c.poly([(5, 4), (8, 2), (12, 4), (16, 2), (19, 4), (20, 10), (18, 15), (17, 22), (14, 22),
            (12.5, 15), (11.5, 15), (10, 22), (7, 22), (6, 15), (4, 10)], WHITE, BLACK)
    c.set(12, 6, LIGHT_GREY)
    c.set(11, 7, LIGHT_GREY)
    c.set(13, 7, LIGHT_GREY)
    c.hline(8, 16, 11, LIGHT_GREY)
    return c


def bar_lab_case_manager():
    c = Canvas(BAR, BAR)
    paint_flask(c, 20, BLUE, LAB_STATES["LABINHSE"][1], ox=2, oy=2)
    return c


def bar_patient_alerts(on):
    c = Canvas(BAR, BAR)
    person(c, 8, 2, 1.15, shirt=BLUE if on else GREY, skin=SKIN if on else (190, 190, 190))
    c.poly([(17, 8), (24, 23), (10, 23)], YELLOW if on else LIGHT_GREY, RED if on else DARK_GREY)
    c.vline(17, 13, 18, BLACK if on else DARK_GREY)
    c.set(17, 20, BLACK if on else DARK_GREY)
    c.set(17, 21, BLACK if on else DARK_GREY)
    return c


def bar_patient_referrals(on):
    c = Canvas(BAR, BAR)
    # From one person to another: the referral arrow bright when the patient has referrals.
    person(c, 5.5, 9, 0.95, shirt=GREY, skin=(200, 200, 200) if not on else SKIN)
    person(c, 18.5, 9, 0.95, shirt=BLUE if on else GREY, skin=SKIN if on else (200, 200, 200))
    c.poly([(3, 4), (15, 4), (15, 1), (21, 5.5), (15, 10), (15, 7), (3, 7)],
           GREEN if on else LIGHT_GREY, (0, 90, 0) if on else DARK_GREY)
    return c


def bar_ideal_day(on):
    c = Canvas(BAR, BAR)
    # One day column with its Ideal Day time blocks: framed in colour when the switch is on.
    c.rect(3, 1, 20, 22, WHITE, BLACK)
    for y in range(4, 22, 3):
        c.hline(4, 19, y, LIGHT_GREY)
    blocks = ((3, 8, (0, 170, 0)), (10, 14, (0, 90, 255)), (16, 20, ORANGE))
    for top, bottom, colour in blocks:
        if on:
            c.rect(5, top, 18, bottom, colour)
            c.rect(8, top + 1, 15, bottom - 1, WHITE if bottom - top > 2 else colour)
        else:
            c.rect(5, top, 18, bottom, LIGHT_GREY, GREY)
    return c


# --------------------------------------------------------------------------------------------
# Date and view buttons of the main window. The three date buttons are a third of the narrow
# corner above the time column wide (about 17 pixels for the usual 50-pixel column, less their
# edges), so their pictures are 12 x 14; the view buttons (32 x 32) carry 24 x 24 pictures and
# the calendar button (34 x 34) a 28 x 28 one.

DATE_PICTURE_WIDTH = 12
DATE_PICTURE_HEIGHT = 14
VIEW_PICTURE = 24
CALENDAR_PICTURE = 28


def draw_date_arrow(forward):
    """Back or forward: a broad arrow, its head half the picture; forward is back mirrored."""
    w, h = DATE_PICTURE_WIDTH, DATE_PICTURE_HEIGHT
    c = Canvas(w, h)
    c.poly([(0, 7), (6.5, 0.5), (6.5, 4), (12, 4), (12, 10), (6.5, 10), (6.5, 13.5)], BLUE, NAVY)
    if forward:
        c.px = [row[::-1] for row in c.px]
    return c


def draw_today():
    """Today: a small calendar leaf with the day marked by a dot."""
    c = Canvas(DATE_PICTURE_WIDTH, DATE_PICTURE_HEIGHT)
    calendar_page(c, 0, 2, 11, 13, band=RED, grid=False)
    c.ellipse(6, 9.5, 2.3, 2.6, NAVY)
    return c


def draw_calendar():
    """The calendar: a leaf with the days of a month in a grid."""
    s = CALENDAR_PICTURE
    c = Canvas(s, s)
    band_bottom = calendar_page(c, 2, 4, 25, 25, band=RED, grid=False)
    for x in range(6, 23, 3):
        c.vline(x, band_bottom + 2, 24, LIGHT_GREY)
    for y in range(band_bottom + 4, 25, 3):
        c.hline(3, 24, y, LIGHT_GREY)
    # One day picked, as the calendar shows its selection.
    c.rect(13, band_bottom + 5, 14, band_bottom + 6, NAVY)
    return c


def view_frame(c, x0, y0, x1, y1):
    """A sheet in miniature: white page, a header band for the column titles."""
    c.rect(x0, y0, x1, y1, WHITE, BLACK)
    c.rect(x0 + 1, y0 + 1, x1 - 1, y0 + 3, SKY)
    c.hline(x0, x1, y0 + 4, BLACK)
    return y0 + 5


def draw_view_day():
    """Day view: one broad day column with its hour lines and a booked appointment."""
    c = Canvas(VIEW_PICTURE, VIEW_PICTURE)
    top = view_frame(c, 4, 1, 19, 22)
    for y in range(top + 2, 22, 3):
        c.hline(5, 18, y, LIGHT_GREY)
    c.rect(7, top + 4, 16, top + 9, YELLOW, BLACK)
    c.vline(8, top + 5, top + 8, GREEN)
    return c


def draw_view_week():
    """Week view: seven narrow day columns side by side."""
    c = Canvas(VIEW_PICTURE, VIEW_PICTURE)
    top = view_frame(c, 1, 2, 22, 21)
    for x in range(4, 20, 3):
        c.vline(x, top, 20, GREY)
    # A few appointments scattered over the week.
    for column, y0, y1 in ((1, top + 2, top + 5), (3, top + 6, top + 11), (4, top + 1, top + 3),
                           (6, top + 9, top + 13)):
        x = 2 + column * 3
        c.rect(x, y0, x + 1, y1, YELLOW)
    return c


def draw_view_month():
    """Month view: a grid of days, seven to a row, five weeks."""
    c = Canvas(VIEW_PICTURE, VIEW_PICTURE)
    top = view_frame(c, 1, 2, 22, 21)
    for x in range(4, 20, 3):
        c.vline(x, top, 20, GREY)
    for y in range(top + 2, 20, 3):
        c.hline(2, 21, y, GREY)
    c.rect(11, top + 3, 12, top + 4, NAVY)
    return c


# --------------------------------------------------------------------------------------------
# Cursors: 32 x 32 monochrome with a transparent background.

TRANSPARENT = None
ARROW = [(0, 0), (0, 17), (4.3, 13.2), (7.3, 20), (10, 18.8), (7.2, 12.3), (12.5, 12.3)]


def draw_about():
    """The About box's picture: the appointment book, a calendar leaf with a booked day and a
    tooth, on the dialog's grey."""
    c = Canvas(32, 32, LIGHT_GREY)
    band_bottom = calendar_page(c, 2, 4, 29, 29, band=NAVY)
    c.rect(5, band_bottom + 4, 15, band_bottom + 7, SKY, BLUE)
    tooth = [(17, 15), (20, 13), (23, 14), (26, 13), (28, 16), (27, 21), (26, 27), (24, 27),
             (23, 22), (22, 21), (21, 22), (20, 27), (18, 27), (17, 21)]
    c.poly(tooth, WHITE, DARK_GREY)
    return c


def cursor_canvas():
    return Canvas(32, 32, TRANSPARENT)


def draw_hand_cursor():
    """A grabbing hand for moving an appointment over the sheet."""
    c = cursor_canvas()
    hand = set()
    for x0, top in ((8, 6), (12, 3), (16, 3), (20, 5)):
        hand |= mask_rect(x0, top + 2, x0 + 3, 17)
        hand |= mask_ellipse(x0 + 2, top + 2, 2, 2, 32, 32)
    hand |= mask_rect(8, 13, 23, 22)
    hand |= mask_ellipse(15.5, 22, 8, 6, 32, 32)
    hand |= mask_thick(4, 12, 9, 19, 4.2, 32, 32)
    hand = {(x, y) for (x, y) in hand if y <= 27}
    c.paint(hand, WHITE, BLACK)
    # The gaps between the fingers.
    for x in (11, 15, 19):
        c.vline(x, 9, 14, BLACK)
    c.hline(9, 22, 27, BLACK)
    return c, (15, 15)


def draw_appointment_cursor(dated):
    """The arrow carrying an appointment box; a question mark for one without a date."""
    c = cursor_canvas()
    c.poly(ARROW, WHITE, BLACK)
    c.rect(13, 15, 31, 29, WHITE, BLACK)
    c.rect(14, 16, 16, 28, BLACK)
    if dated:
        for y in (19, 22, 25):
            for x in range(19, 29, 2):
                c.set(x, y, BLACK)
    else:
        c.glyph([".###.",
                 "#...#",
                 "....#",
                 "...#.",
                 "..#..",
                 ".....",
                 "..#.."], 20, 18, BLACK)
    return c, (0, 0)


# --------------------------------------------------------------------------------------------
# File writers.


def bmp_bytes(c):
    row_size = (c.w * 3 + 3) & ~3
    data = bytearray()
    for y in range(c.h - 1, -1, -1):
        row = bytearray()
        for x in range(c.w):
            r, g, b = c.px[y][x]
            row += bytes((b, g, r))
        row += b"\0" * (row_size - len(row))
        data += row
    header = struct.pack("<IiiHHIIiiII", 40, c.w, c.h, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    file_header = struct.pack("<2sIHHI", b"BM", 14 + len(header) + len(data), 0, 0, 14 + len(header))
    return file_header + header + bytes(data)


def cur_bytes(c, hotspot):
    """One monochrome cursor image: XOR bits (1 white) over an AND mask (1 transparent)."""
    stride = ((c.w + 31) // 32) * 4
    xor, and_ = bytearray(), bytearray()
    for y in range(c.h - 1, -1, -1):
        xrow, arow = bytearray(stride), bytearray(stride)
        for x in range(c.w):
            p = c.px[y][x]
            bit = 0x80 >> (x % 8)
            if p is TRANSPARENT:
                arow[x // 8] |= bit
            elif p == WHITE:
                xrow[x // 8] |= bit
            elif p != BLACK:
                raise ValueError("cursors are black, white and transparent only")
        xor += xrow
        and_ += arow
    info = struct.pack("<IiiHHIIiiII", 40, c.w, c.h * 2, 1, 1, 0, len(xor) + len(and_), 0, 0, 2, 0)
    palette = bytes((0, 0, 0, 0, 255, 255, 255, 0))
    image = info + palette + bytes(xor) + bytes(and_)
    directory = struct.pack("<HHH", 0, 2, 1)
    entry = struct.pack("<BBBBHHII", c.w % 256, c.h % 256, 2, 0, hotspot[0], hotspot[1], len(image),
                        6 + 16)
    return directory + entry + image


def png_bytes(rows):
    """rows: list of lists of (r, g, b)."""
    h, w = len(rows), len(rows[0])
    raw = bytearray()
    for row in rows:
        raw.append(0)
        for r, g, b in row:
            raw += bytes((r, g, b))

    def chunk(kind, payload):
        body = kind + payload
        return struct.pack(">I", len(payload)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", w, h, 8, 2, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + chunk(b"IEND", b""))


# --------------------------------------------------------------------------------------------
# The appointment lists: the markers at the end of a list cell (18 pixels wide, light grey is
# transparent there) and the menu pictures of the list windows' date items.

LIST_MARKER_WIDTH = 18
LIST_MARKER_HEIGHT = 13
MENU_PICTURE = 16


def draw_list_care(n):
    """Continuing care due: a small card with a red cross and n dots for the care kind."""
    c = Canvas(LIST_MARKER_WIDTH, LIST_MARKER_HEIGHT, LIGHT_GREY)
    c.rect(1, 1, 15, 11, WHITE, DARK_GREY)
    c.rect(5, 3, 6, 9, RED)
    c.rect(3, 5, 8, 6, RED)
    for k in range(n):
        c.rect(11, 2 + 2 * k, 12, 2 + 2 * k, NAVY)
    return c


def draw_list_diagnosis():
    """A diagnosis waits: a clipboard with lines of writing."""
    c = Canvas(LIST_MARKER_WIDTH, LIST_MARKER_HEIGHT, LIGHT_GREY)
    c.rect(3, 1, 13, 11, WHITE, BROWN)
    c.rect(6, 0, 10, 1, DARK_GREY)
    for y in (4, 6, 8):
        c.hline(5, 11, y, BLUE)
    return c


def draw_list_referral():
    """A referral: an arrow pointing into a page."""
    c = Canvas(LIST_MARKER_WIDTH, LIST_MARKER_HEIGHT, LIGHT_GREY)
    c.rect(8, 1, 15, 11, WHITE, DARK_GREY)
    c.poly([(1, 5), (6, 5), (6, 2.5), (10.5, 6.5), (6, 10.5), (6, 8), (1, 8)], GREEN, DARK_GREY)
    return c


def draw_menu_arrow(forward):
    """The list windows' previous and next day items: a small broad arrow on the menu grey."""
    c = Canvas(MENU_PICTURE, MENU_PICTURE - 2, LIGHT_GREY)
    c.poly([(1, 7), (7.5, 0.5), (7.5, 4), (14, 4), (14, 10), (7.5, 10), (7.5, 13.5)], BLUE, NAVY)
    if forward:
        c.px = [row[::-1] for row in c.px]
    return c


def draw_menu_calendar():
    """The list windows' calendar item: a calendar leaf on the menu grey."""
    c = Canvas(MENU_PICTURE, MENU_PICTURE - 2, LIGHT_GREY)
    band_bottom = calendar_page(c, 1, 0, 14, 13, band=RED, grid=False)
    for x in range(4, 13, 3):
        c.vline(x, band_bottom + 2, 12, GREY)
    return c


# --------------------------------------------------------------------------------------------
# The list of what is written: resource name, file name, picture.


def bitmaps():
    out = [("appt", "appt.bmp", draw_pin_card(True)),
           ("apptnw", "apptnw.bmp", draw_pin_card(False))]
    for s in (6, 9, 12):
        out.append(("pull%d" % s, "pull%d.bmp" % s, draw_grip(s)))
    for family, draw in MARKER_FAMILIES.items():
        for s in MARKER_SIZES:
            out.append(("%s%d" % (family, s), "%s%d.bmp" % (family.lower(), s), draw(s)))
    bar = [
        (386, bar_patient_picture(False)), (387, bar_patient_picture(True)),
        (216, bar_new_appointment()), (215, bar_find_time()), (214, bar_locate_appointment()),
        (243, bar_break_appointment()), (245, bar_set_complete()),
        (258, bar_print_view()), (246, bar_route_slip()), (244, bar_dial()),
        (242, bar_delete_appointment()), (251, bar_treatment_manager()),
        (259, bar_lab_case_manager()),
        (393, bar_patient_alerts(False)), (394, bar_patient_alerts(True)),
        (12146, bar_patient_referrals(False)), (12145, bar_patient_referrals(True)),
        (248, bar_ideal_day(False)), (247, bar_ideal_day(True)),
    ]
    for number, canvas in bar:
        out.append((str(number), "bar%d.bmp" % number, canvas))
    out += [("arrwl0", "arrwl0.bmp", draw_date_arrow(False)),
            ("arrwr0", "arrwr0.bmp", draw_date_arrow(True)),
            ("today0", "today0.bmp", draw_today()),
            ("cal0", "cal0.bmp", draw_calendar()),
            ("VIEWDAY", "viewday.bmp", draw_view_day()),
            ("VIEWWEEK", "viewweek.bmp", draw_view_week()),
            ("VIEWMONTH", "viewmonth.bmp", draw_view_month()),
            ("201", "about.bmp", draw_about())]
    for n in range(1, 5):
        out.append(("MED_CC%d" % n, "medcc%d.bmp" % n, draw_list_care(n)))
    out += [("DIAG_BMP", "diagbmp.bmp", draw_list_diagnosis()),
            ("REFR_BMP", "refrbmp.bmp", draw_list_referral()),
            ("leftarr", "leftarr.bmp", draw_menu_arrow(False)),
            ("rightarr", "rightarr.bmp", draw_menu_arrow(True)),
            ("cal", "calmenu.bmp", draw_menu_calendar())]
    return out


def cursors():
    hand, hand_spot = draw_hand_cursor()
    appt, appt_spot = draw_appointment_cursor(True)
    nodate, nodate_spot = draw_appointment_cursor(False)
    return [("HandCur", "handcur.cur", hand, hand_spot),
            ("ApptCur", "apptcur.cur", appt, appt_spot),
            ("ApptCurNW", "apptcurnw.cur", nodate, nodate_spot)]


RC_HEAD = """\
// The appointment book's bitmaps and cursors, written by tools/bitmaps/make_bitmaps.py together
// with the pictures in bitmaps/: change the drawing there and run it again instead of editing.
//
// Magenta (255,0,255) is the transparent colour of the sheet markers, the resize grips and the
// pin board cards (drawn with DrawTransparentBitmap, which leaves magenta pixels as they were)
// and the mask colour of the button-bar pictures.

"""


def preview(path, pictures, cursor_list):
    scale, gap, per_row = 6, 4, 8
    cells = [c for _, _, c in pictures] + [c for _, _, c, _ in cursor_list]
    cell = 32 * scale + gap
    rows_n = (len(cells) + per_row - 1) // per_row
    W, H = per_row * cell + gap, rows_n * cell + gap
    img = [[(230, 230, 230)] * W for _ in range(H)]
    for i, c in enumerate(cells):
        ox = gap + (i % per_row) * cell
        oy = gap + (i // per_row) * cell
        for y in range(c.h):
            for x in range(c.w):
                p = c.px[y][x]
                if p is None:
                    p = (180, 220, 180)
                for dy in range(scale):
                    row = img[oy + y * scale + dy]
                    for dx in range(scale):
                        row[ox + x * scale + dx] = p
    with open(path, "wb") as f:
        f.write(png_bytes(img))


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--preview", help="also write a magnified contact sheet (PNG)")
    args = parser.parse_args()

    root = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", ".."))
    out_dir = os.path.join(root, "resources", "bitmaps")
    os.makedirs(out_dir, exist_ok=True)

    pictures = bitmaps()
    cursor_list = cursors()
    lines = [RC_HEAD]
    for name, file_name, canvas in pictures:
        with open(os.path.join(out_dir, file_name), "wb") as f:
            f.write(bmp_bytes(canvas))
        lines.append('%-11s BITMAP "bitmaps/%s"\n' % (name, file_name))
    lines.append("\n")
    for name, file_name, canvas, spot in cursor_list:
        with open(os.path.join(out_dir, file_name), "wb") as f:
            f.write(cur_bytes(canvas, spot))
        lines.append('%-11s CURSOR "bitmaps/%s"\n' % (name, file_name))
    with open(os.path.join(root, "resources", "bitmaps.rc"), "w", newline="\n") as f:
        f.write("".join(lines))
    if args.preview:
        preview(args.preview, pictures, cursor_list)


if __name__ == "__main__":
    main()
