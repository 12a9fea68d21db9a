#!/usr/bin/env python3
"""Draws the uninstaller's icon.

    uninstaller_artwork.py OUTPUT_DIR

Sweepback.ico  32x32 and 16x16: an opened cardboard box, and above it a blue
               arrow that turns back to the left (what was put in is taken
               out again).
"""
import os
import sys

from artwork_canvas import Canvas, save_ico

BOX = (214, 168, 96)
BOX_LIGHT = (236, 204, 144)
BOX_DARK = (150, 106, 46)
OUTLINE = (72, 48, 16)
ARROW = (24, 88, 208)


def box(c, left, top, right, bottom, flap):
    """The box's front from top to bottom, and its two flaps folded open above it."""
    c.rect(left, top, right, bottom, BOX)
    c.rect(left + 1, top + 1, right - 1, top + 1 + max(1, flap // 2), BOX_DARK)  # the opening
    c.frame(left, top, right, bottom, OUTLINE)
    width = max(2, flap)
    for step in range(flap):
        row = top - 1 - step
        for offset in range(width):
            outer = offset == 0
            c.put(left - step + offset, row, OUTLINE if outer else BOX_LIGHT)
            c.put(right - 1 + step - offset, row, OUTLINE if outer else BOX_LIGHT)


def arrow(c, cx, cy, outer, inner, head):
    """Rises out of the box on the right, turns over the top, points left."""
    for y in range(c.height):
        for x in range(c.width):
            d = (x + 0.5 - cx) ** 2 + (y + 0.5 - cy) ** 2
            if inner * inner <= d <= outer * outer and y + 0.5 <= cy and x + 0.5 >= cx:
                c.put(x, y, ARROW)
    # The shaft runs left from the top of the turn; the head points left.
    shaft_top = int(cy - outer)
    shaft_bottom = int(cy - inner)
    tip = int(cx) - head * 2
    c.rect(tip + head, shaft_top, int(cx), shaft_bottom, ARROW)
    middle = (shaft_top + shaft_bottom) / 2
    for column in range(head + 1):
        for y in range(c.height):
            if abs(y + 0.5 - middle) <= column + 0.5:
                c.put(tip + column, y, ARROW)


def icon(size):
    c = Canvas(size, size)
    if size >= 32:
        box(c, 7, 17, 25, 30, 4)
        arrow(c, 16, 16, 10, 6, 5)
    else:
        box(c, 3, 9, 13, 15, 2)
        arrow(c, 8, 8, 6, 3, 3)
    return c


def main():
    out_dir = sys.argv[1]
    os.makedirs(out_dir, exist_ok=True)
    save_ico(os.path.join(out_dir, "Sweepback.ico"), [icon(32), icon(16)])


if __name__ == "__main__":
    main()
