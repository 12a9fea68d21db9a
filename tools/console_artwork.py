#!/usr/bin/env python3
"""Draws the console's pictures as 24-bit BMP files.

    console_artwork.py OUTPUT_DIR

state_pictures.bmp  five 55x64 state pictures side by side: a grey server
                    tower with a round badge at its lower right (0 running:
                    green triangle, 1 stopped: red square, 2 paused, 3 spare,
                    4 every other case: plain dark badges)
glyphs.bmp          six 20x20 button glyphs side by side: start, pause, stop,
                    each followed by its disabled (grey, embossed) form

Magenta (255, 0, 255) is the transparent colour: the window draws the
pictures over its own face colour. Edges are hard on purpose, since a soft
edge would blend with magenta and leave a pink fringe.
"""
import os
import sys

from artwork_canvas import KEY, Canvas

# Tower colours.
BODY = (176, 176, 176)
BODY_LIGHT = (216, 216, 216)
BODY_DARK = (112, 112, 112)
OUTLINE = (48, 48, 48)
BAY = (136, 136, 136)

BADGE_RIM = (32, 32, 32)
BADGE_LIGHT = (248, 248, 248)
GREEN = (0, 168, 0)
GREEN_DARK = (0, 96, 0)
RED = (216, 0, 0)
RED_DARK = (128, 0, 0)
# The plain badges: paused a dark slate, the rest dark grey, so that the two
# cases can still be told apart on screen.
BADGE_PAUSED = (40, 52, 96)
BADGE_OTHER = (64, 64, 64)


def tower():
    c = Canvas(55, 64)
    c.rect(9, 3, 39, 61, BODY)
    c.rect(9, 3, 11, 61, BODY_LIGHT)   # lit left edge
    c.rect(37, 3, 39, 61, BODY_DARK)   # shaded right edge
    c.frame(8, 2, 40, 62, OUTLINE)
    for top in (8, 16, 24):             # drive bays
        c.rect(13, top, 35, top + 5, BAY)
        c.frame(13, top, 35, top + 5, BODY_DARK)
        c.rect(30, top + 2, 33, top + 3, OUTLINE)
    c.rect(13, 33, 16, 36, GREEN)       # power light
    for y in range(40, 58, 3):          # vent slots
        c.rect(13, y, 29, y + 1, BODY_DARK)
    return c


def state_picture(index):
    c = tower()
    cx, cy = 41, 49
    c.disc(cx, cy, 13, BADGE_RIM)
    if index == 0:
        c.disc(cx, cy, 11, BADGE_LIGHT)
        c.triangle_right(cx - 4, cy - 8, 17, GREEN_DARK)
        c.triangle_right(cx - 3, cy - 6, 13, GREEN)
    elif index == 1:
        c.disc(cx, cy, 11, BADGE_LIGHT)
        c.rect(cx - 6, cy - 6, cx + 7, cy + 7, RED_DARK)
        c.rect(cx - 5, cy - 5, cx + 6, cy + 6, RED)
    else:
        c.disc(cx, cy, 11, BADGE_PAUSED if index == 2 else BADGE_OTHER)
    return c


def start_glyph(main, edge):
    c = Canvas(20, 20)
    c.triangle_right(5, 1, 19, edge)
    c.triangle_right(6, 3, 15, main)
    return c


def pause_glyph(main, edge):
    c = Canvas(20, 20)
    for left in (4, 11):
        c.rect(left, 3, left + 5, 17, edge)
        c.rect(left + 1, 4, left + 4, 16, main)
    return c


def stop_glyph(main, edge):
    c = Canvas(20, 20)
    c.rect(3, 3, 17, 17, edge)
    c.rect(4, 4, 16, 16, main)
    return c


def disabled(draw):
    """The classic embossed look: a white copy one pixel down and right
    under a grey copy of the shape."""
    shape = draw((0, 0, 0), (0, 0, 0))
    c = Canvas(20, 20)
    for y in range(20):
        for x in range(20):
            if shape.pixels[y][x] != KEY:
                c.put(x + 1, y + 1, (255, 255, 255))
    for y in range(20):
        for x in range(20):
            if shape.pixels[y][x] != KEY:
                c.put(x, y, (128, 128, 128))
    return c


def main():
    out_dir = sys.argv[1]
    os.makedirs(out_dir, exist_ok=True)

    pictures = Canvas(55 * 5, 64)
    for index in range(5):
        pictures.paste(state_picture(index), 55 * index, 0)
    pictures.save_bmp(os.path.join(out_dir, "state_pictures.bmp"))

    glyphs = Canvas(20 * 6, 20)
    shapes = [
        (start_glyph, GREEN, GREEN_DARK),
        (pause_glyph, (0, 0, 0), (0, 0, 0)),
        (stop_glyph, RED, RED_DARK),
    ]
    for index, (draw, main_colour, edge) in enumerate(shapes):
        glyphs.paste(draw(main_colour, edge), 40 * index, 0)
        glyphs.paste(disabled(draw), 40 * index + 20, 0)
    glyphs.save_bmp(os.path.join(out_dir, "glyphs.bmp"))


if __name__ == "__main__":
    main()
