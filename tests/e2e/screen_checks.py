"""Colours of the program's window and pixel checks shared by the e2e tests."""

NODE = (74, 141, 247)  # pin fill
SELECTED = (44, 209, 118)  # selected pin fill
LIT = (3, 252, 15)  # lit lamp body
LIVE_WIRE = (52, 154, 250)  # wire carrying a 1
BLACK = (0, 0, 0)  # outlines, unlit lamp body, wire carrying a 0
# The cleared canvas reads as the OpenGL clear colour under Mesa, not black.
CANVAS = (194, 238, 242)


def assert_pin(test, img, corner, fill=NODE):
    """A pin is a black 16x16 outline around a 14x14 fill."""
    cx, cy = corner
    for x, y in ((cx, cy), (cx + 15, cy), (cx, cy + 15), (cx + 15, cy + 15), (cx + 7, cy)):
        test.assertEqual(img.pixel(x, y), BLACK, "outline of pin at %r, pixel %r" % (corner, (x, y)))
    test.assertEqual(img.count(fill, cx + 1, cy + 1, cx + 15, cy + 15), 14 * 14,
                     "fill of pin at %r should be all %r" % (corner, fill))


def centre(corner):
    return corner[0] + 8, corner[1] + 8
