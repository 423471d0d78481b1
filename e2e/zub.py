"""Reads what end-to-end cases check in a Vell.zub: layer 0's pixels and
the pointers' box sizes (the file: version, layer count, width, height,
then each layer's mode and pixels, then each pointer's record)."""
import struct

ORANGE = (255, 180, 0)


class Zub:
    def __init__(self, path):
        self.data = open(path, "rb").read()
        self.count, self.w, self.h = struct.unpack_from("<iii", self.data, 4)

    def pixel(self, x, y):
        v = struct.unpack_from("<I", self.data, 20 + 4 * (y * self.w + x))[0]
        return (v >> 16 & 255, v >> 8 & 255, v & 255)

    def pen(self, x, y):
        return self.pixel(x, y) == ORANGE

    def first_box(self):
        """The box size stored with pointer 0's brush."""
        return struct.unpack_from("<ii", self.data, 16 + self.count * (4 + 4 * self.w * self.h))

    def layer(self, i):
        """Layer i's mode and the (x, y) of its pixels that are not its
        clear colour (black when opaque, the mask colour when see-through)."""
        at = 16 + i * (4 + 4 * self.w * self.h)
        mode = struct.unpack_from("<i", self.data, at)[0]
        clear = 0xFF00FF if mode else 0
        pixels = struct.unpack_from(f"<{self.w * self.h}I", self.data, at + 4)
        return mode, {(n % self.w, n // self.w) for n, v in enumerate(pixels) if v & 0xFFFFFF != clear}
