"""A small pixel canvas for the programs' pictures, written as 24-bit BMP or
as a Windows icon.

Magenta (255, 0, 255), KEY, is the transparent colour: a BMP keeps it for the
window to mask out; an icon makes those pixels transparent.
"""
import struct

KEY = (255, 0, 255)


class Canvas:
    def __init__(self, width, height):
        self.width, self.height = width, height
        self.pixels = [[KEY] * width for _ in range(height)]

    def put(self, x, y, colour):
        if 0 <= x < self.width and 0 <= y < self.height:
            self.pixels[y][x] = colour

    def rect(self, left, top, right, bottom, colour):
        """Fills left..right-1, top..bottom-1."""
        for y in range(top, bottom):
            for x in range(left, right):
                self.put(x, y, colour)

    def frame(self, left, top, right, bottom, colour):
        for x in range(left, right):
            self.put(x, top, colour)
            self.put(x, bottom - 1, colour)
        for y in range(top, bottom):
            self.put(left, y, colour)
            self.put(right - 1, y, colour)

    def disc(self, cx, cy, radius, colour):
        for y in range(self.height):
            for x in range(self.width):
                if (x + 0.5 - cx) ** 2 + (y + 0.5 - cy) ** 2 <= radius * radius:
                    self.put(x, y, colour)

    def triangle_right(self, left, top, height, colour):
        """A triangle pointing right, its upright side at `left`."""
        for row in range(height):
            half = min(row, height - 1 - row)
            for x in range(left, left + half + 1):
                self.put(x, top + row, colour)

    def paste(self, other, left, top):
        for y in range(other.height):
            for x in range(other.width):
                self.put(left + x, top + y, other.pixels[y][x])

    def save_bmp(self, path):
        row_size = (self.width * 3 + 3) & ~3
        data = bytearray()
        for y in reversed(range(self.height)):
            row = bytearray()
            for r, g, b in self.pixels[y]:
                row += bytes((b, g, r))
            row += b"\0" * (row_size - len(row))
            data += row
        header = struct.pack("<2sIHHI", b"BM", 54 + len(data), 0, 0, 54)
        info = struct.pack("<IiiHHIIiiII", 40, self.width, self.height, 1, 24, 0, len(data),
                           2835, 2835, 0, 0)
        with open(path, "wb") as out:
            out.write(header + info + data)


def save_ico(path, canvases):
    """One icon file holding each canvas as a 32-bit image, KEY transparent."""
    images = []
    for canvas in canvases:
        pixels = bytearray()
        mask_row_size = ((canvas.width + 31) // 32) * 4
        mask = bytearray()
        for y in reversed(range(canvas.height)):
            row_mask = bytearray(mask_row_size)
            for x, colour in enumerate(canvas.pixels[y]):
                r, g, b = colour
                transparent = colour == KEY
                pixels += bytes((0, 0, 0, 0)) if transparent else bytes((b, g, r, 255))
                if transparent:
                    row_mask[x // 8] |= 0x80 >> (x % 8)
            mask += row_mask
        # The height counts the colour image and the mask together.
        info = struct.pack("<IiiHHIIiiII", 40, canvas.width, canvas.height * 2, 1, 32, 0,
                           len(pixels) + len(mask), 0, 0, 0, 0)
        images.append((canvas, info + pixels + mask))
    directory = struct.pack("<HHH", 0, 1, len(images))
    offset = len(directory) + 16 * len(images)
    entries = bytearray()
    for canvas, data in images:
        entries += struct.pack("<BBBBHHII", canvas.width % 256, canvas.height % 256, 0, 0, 1, 32,
                               len(data), offset)
        offset += len(data)
    with open(path, "wb") as out:
        out.write(directory + entries + b"".join(data for _, data in images))
