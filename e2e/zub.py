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
