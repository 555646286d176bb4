#!/usr/bin/python3
"""Draws the program icon (app/setup.ico): a blue rounded square with a white
download arrow. Run again only when the design changes; the .ico is committed."""
import sys
from PIL import Image, ImageDraw

BLUE = (37, 118, 238, 255)


def draw(size):
    scale = 8  # draw large, then shrink for smooth edges
    s = size * scale
    img = Image.new("RGBA", (s, s), (0, 0, 0, 0))
    d = ImageDraw.Draw(img)
    d.rounded_rectangle((0, 0, s - 1, s - 1), radius=s // 5, fill=BLUE)
    w = s // 10
    cx = s // 2
    d.rectangle((cx - w, s * 0.22, cx + w, s * 0.58), fill="white")
    d.polygon([(cx - s * 0.22, s * 0.5), (cx + s * 0.22, s * 0.5), (cx, s * 0.72)], fill="white")
    d.rounded_rectangle((s * 0.22, s * 0.76, s * 0.78, s * 0.76 + w * 1.2), radius=w // 2, fill="white")
    return img.resize((size, size), Image.LANCZOS)


def main(out):
    big = draw(256)
    big.save(out, sizes=[(16, 16), (24, 24), (32, 32), (48, 48), (64, 64), (128, 128), (256, 256)])


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "app/setup.ico")
