#!/usr/bin/env python3
"""Pixel questions about a screenshot, for the end-to-end tests (no imaging
libraries needed: ImageMagick converts the picture to PPM).

  pixels.py find IMAGE R G B TOL          centroid "x y" of pixels within TOL
                                          of (R, G, B) on every channel, and
                                          their count; "none" when there are none
  pixels.py count IMAGE X Y W H CLASS     pixels of the rectangle whose colour
                                          is of CLASS: red, green, blue, yellow
  pixels.py at IMAGE X Y                  "R G B" of one pixel
"""
import subprocess
import sys


def load(path):
    data = subprocess.run(["convert", path, "ppm:-"], check=True, capture_output=True).stdout
    # P6 header: magic, width, height, maxval, each separated by whitespace.
    fields, pos = [], 0
    while len(fields) < 4:
        while data[pos:pos + 1].isspace():
            pos += 1
        start = pos
        while not data[pos:pos + 1].isspace():
            pos += 1
        fields.append(data[start:pos])
    width, height = int(fields[1]), int(fields[2])
    return width, height, data[pos + 1:]


def classify(r, g, b):
    if r > 120 and g > 120 and b < 80 and abs(r - g) < 70:
        return "yellow"
    if r > 120 and g < 80 and b < 80:
        return "red"
    if g > 100 and r < 90 and b < 90:
        return "green"
    if b > 120 and r < 80 and g < 90:
        return "blue"
    return ""


def main():
    what, path = sys.argv[1], sys.argv[2]
    width, height, px = load(path)
    if what == "find":
        r, g, b, tol = (int(v) for v in sys.argv[3:7])
        sx = sy = n = 0
        for y in range(height):
            row = y * width * 3
            for x in range(width):
                i = row + 3 * x
                if abs(px[i] - r) <= tol and abs(px[i + 1] - g) <= tol and abs(px[i + 2] - b) <= tol:
                    sx += x
                    sy += y
                    n += 1
        print(f"{sx // n} {sy // n} {n}" if n else "none")
    elif what == "count":
        x0, y0, w, h = (int(v) for v in sys.argv[3:7])
        wanted = sys.argv[7]
        n = 0
        for y in range(max(0, y0), min(height, y0 + h)):
            for x in range(max(0, x0), min(width, x0 + w)):
                i = (y * width + x) * 3
                n += classify(px[i], px[i + 1], px[i + 2]) == wanted
        print(n)
    elif what == "at":
        x, y = int(sys.argv[3]), int(sys.argv[4])
        i = (y * width + x) * 3
        print(px[i], px[i + 1], px[i + 2])


if __name__ == "__main__":
    main()
