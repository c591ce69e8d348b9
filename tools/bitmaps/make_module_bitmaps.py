#!/usr/bin/env python3
"""Draws the pictures of the toolbar's module buttons (24 x 24, one per module command) and the
toolbar's background pattern (bitmap 12111), with the shapes of make_bitmaps.py.

    python3 tools/bitmaps/make_module_bitmaps.py     # rewrite resources/bitmaps/mod*.bmp

resources/toolbar.rc names the files.
"""

import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from make_bitmaps import (BAR, BLACK, BLUE, BROWN, Canvas, DARK_GREY, GREEN, GREY, LIGHT_GREY,  # noqa: E402
                          NAVY, ORANGE, RED, SKIN, SKY, WHITE, YELLOW, bmp_bytes, calendar_page,
                          person, plus, printer)


def tile(colour):
    c = Canvas(BAR, BAR)
    c.rect(1, 1, 22, 22, colour, BLACK)
    return c


def chart():  # a tooth on a chart sheet
    c = Canvas(BAR, BAR)
    c.rect(3, 1, 20, 22, WHITE, BLACK)
    c.poly([(7, 6), (10, 4), (12, 6), (14, 4), (17, 6), (17, 11), (15, 18), (13, 18), (12, 13),
            (11, 13), (10, 18), (8, 18), (7, 11)], SKY, NAVY)
    return c


def family_file():  # two people in front of a folder
    c = Canvas(BAR, BAR)
    c.rect(1, 5, 22, 22, YELLOW, BROWN)
    c.rect(1, 3, 9, 5, YELLOW, BROWN)
    person(c, 8, 8, 0.9, shirt=BLUE)
    person(c, 16, 10, 0.8, shirt=RED)
    return c


def ledger():  # a book with a dollar line
    c = Canvas(BAR, BAR)
    c.rect(3, 2, 20, 21, GREEN, BLACK)
    c.rect(6, 4, 18, 19, WHITE, DARK_GREY)
    for y in (7, 10, 13, 16):
        c.hline(8, 16, y, LIGHT_GREY)
    c.vline(12, 5, 18, RED)
    return c


def office_manager():  # a building
    c = Canvas(BAR, BAR)
    c.rect(4, 3, 19, 22, LIGHT_GREY, BLACK)
    for y in (5, 9, 13):
        for x in (6, 11, 15):
            c.rect(x, y, x + 2, y + 2, SKY, NAVY)
    c.rect(10, 17, 13, 22, BROWN, BLACK)
    return c


def appointments():  # this module's own: a calendar leaf
    c = Canvas(BAR, BAR)
    calendar_page(c, 2, 4, 21, 21)
    return c


def quick_letters():  # an envelope
    c = Canvas(BAR, BAR)
    c.rect(1, 5, 22, 19, WHITE, BLACK)
    c.line(1, 5, 11, 13, BLACK)
    c.line(22, 5, 12, 13, BLACK)
    return c


def quick_labels():  # a stack of labels
    c = Canvas(BAR, BAR)
    for i, colour in enumerate((YELLOW, ORANGE, WHITE)):
        c.rect(2 + i * 3, 2 + i * 5, 17 + i * 2, 9 + i * 5, colour, BLACK)
    c.hline(9, 17, 15, BLUE)
    c.hline(9, 15, 17, BLUE)
    return c


def continuing_care():  # a calendar with a return arrow
    c = Canvas(BAR, BAR)
    calendar_page(c, 1, 3, 16, 17)
    c.stroke([(12, 21), (20, 21), (20, 12)], 2.2, GREEN)
    c.poly([(17, 13), (20, 9), (23, 13)], GREEN)
    return c


def send_message():  # an envelope with a flying arrow
    c = quick_letters()
    c.poly([(14, 14), (23, 14), (23, 11), (24, 17), (23, 23), (23, 20), (14, 20)], GREEN, BLACK)
    return c


def questionnaire():  # a form with a question mark
    c = Canvas(BAR, BAR)
    c.rect(4, 1, 19, 22, WHITE, BLACK)
    c.glyph([".###.", "#...#", "....#", "...#.", "..#..", "..#..", ".....", "..#.."], 9, 6, BLUE)
    return c


def prescriptions():  # a bottle with a cross
    c = Canvas(BAR, BAR)
    c.rect(8, 1, 15, 4, WHITE, BLACK)
    c.rect(5, 5, 18, 22, ORANGE, BLACK)
    c.rect(7, 9, 16, 18, WHITE)
    plus(c, 11, 13, 3, 2, RED)
    return c


def office_journal():  # an open book
    c = Canvas(BAR, BAR)
    c.poly([(1, 5), (11, 3), (11, 21), (1, 21)], WHITE, BLACK)
    c.poly([(12, 3), (22, 5), (22, 21), (12, 21)], WHITE, BLACK)
    for y in (8, 11, 14, 17):
        c.hline(3, 9, y, GREY)
        c.hline(14, 20, y, GREY)
    return c


def document_center():  # papers over a printer
    c = Canvas(BAR, BAR)
    printer(c, paper_lines=True)
    return c


def background():  # the toolbar's background pattern: faint diagonal lines
    c = Canvas(8, 8, (212, 208, 200))
    for i in range(8):
        c.set(i, 7 - i, (200, 196, 188))
    return c


PICTURES = [
    (12112, chart), (12113, family_file), (12114, ledger), (12115, appointments),
    (12117, office_manager), (12118, quick_letters), (12141, quick_labels),
    (12119, continuing_care), (12134, send_message), (12124, questionnaire),
    (12126, prescriptions), (12128, office_journal), (12142, document_center),
]


def main():
    root = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", ".."))
    out_dir = os.path.join(root, "resources", "bitmaps")
    for number, draw in PICTURES:
        with open(os.path.join(out_dir, "mod%d.bmp" % number), "wb") as f:
            f.write(bmp_bytes(draw()))
    with open(os.path.join(out_dir, "tbback.bmp"), "wb") as f:
        f.write(bmp_bytes(background()))


if __name__ == "__main__":
    main()
