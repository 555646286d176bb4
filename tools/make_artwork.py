#!/usr/bin/python3
"""Draws the installer's artwork into assets/*.png.

One blue accent on white, soft shadows, rounded corners. Every shape is drawn
at four times its size and scaled down, which gives clean anti-aliased edges.

    tools/make_artwork.py [output folder]     (default: assets/ of the repo)
"""
import math
import os
import sys

from PIL import Image, ImageDraw, ImageFilter

SS = 4  # supersampling factor

BLUE = (47, 128, 237)
BLUE_HOVER = (74, 148, 245)
BLUE_PRESSED = (32, 104, 204)
BLUE_DEEP = (28, 92, 200)
GREY = (122, 122, 122)


def supersampled(size, draw_fn):
    """Calls draw_fn(draw, scale) on a 4x RGBA canvas, returns it scaled down."""
    w, h = size
    big = Image.new("RGBA", (w * SS, h * SS), (0, 0, 0, 0))
    draw_fn(ImageDraw.Draw(big), SS, big)
    return big.resize((w, h), Image.BOX)


def card(out):
    """440x540: white card over (30,30)-(409,509), a soft shadow in the band."""
    w, h = 440, 540
    radius = 11
    # Shadow: a blurred dark rounded rectangle, slightly lowered, its alpha
    # kept at or below 36/255 everywhere outside the card.
    shadow = Image.new("L", (w, h), 0)
    ImageDraw.Draw(shadow).rounded_rectangle((34, 38, 405, 511), radius=radius + 4, fill=120)
    shadow = shadow.filter(ImageFilter.GaussianBlur(10))
    shadow = shadow.point(lambda a: min(34, a * 34 // 80))
    img = Image.new("RGBA", (w, h), (0, 0, 0, 0))
    img.putalpha(shadow)
    # The card itself, anti-aliased, exactly over the tab control's area.
    mask = supersampled((w, h), lambda d, s, _: d.rounded_rectangle(
        (30 * s, 30 * s, 410 * s - 1, 510 * s - 1), radius=radius * s, fill=(255, 255, 255, 255)))
    # White card (alpha a) over the black shadow (alpha sa), straight alpha.
    px = img.load()
    mpx = mask.load()
    for y in range(h):
        for x in range(w):
            a = mpx[x, y][3]
            if a > 0:
                sa = shadow.getpixel((x, y))
                out_a = a + sa * (255 - a) // 255
                c = (255 * a) // max(out_a, 1)
                px[x, y] = (c, c, c, out_a)
    img.save(os.path.join(out, "card.png"))


def blue_button(out, name, size, radius):
    for state, colour in (("normal", BLUE), ("hover", BLUE_HOVER), ("pressed", BLUE_PRESSED)):
        w, h = size
        img = supersampled(size, lambda d, s, _: d.rounded_rectangle(
            (0, 0, w * s - 1, h * s - 1), radius=radius * s, fill=colour + (255,)))
        img.save(os.path.join(out, f"{name}_{state}.png"))


def close_cross(out):
    # The normal state sits on a faint white disc: invisible on the white
    # card, it keeps the cross readable over the blue banner.
    for state, bg, fg in (("normal", (255, 255, 255, 110), (140, 140, 140)),
                          ("hover", (236, 238, 242, 255), (80, 80, 80)),
                          ("pressed", (222, 225, 232, 255), (40, 40, 40))):
        def draw(d, s, _):
            d.ellipse((0, 0, 26 * s - 1, 26 * s - 1), fill=bg)
            lw = int(1.6 * s)
            a, b = 8.5 * s, 17.5 * s
            d.line((a, a, b, b), fill=fg + (255,), width=lw)
            d.line((a, b, b, a), fill=fg + (255,), width=lw)
        supersampled((26, 26), draw).save(os.path.join(out, f"close_{state}.png"))


def folder(out):
    for state, colour in (("normal", BLUE), ("hover", BLUE_PRESSED)):
        def draw(d, s, _):
            c = colour + (255,)
            # tab, then the body of the folder
            d.rounded_rectangle((3 * s, 5 * s, 12 * s, 10 * s), radius=1.5 * s, fill=c)
            d.rounded_rectangle((3 * s, 7 * s, 23 * s, 21 * s), radius=2 * s, fill=c)
            d.rectangle((4.5 * s, 10 * s, 21.5 * s, 11 * s), fill=(255, 255, 255, 200))
        supersampled((26, 26), draw).save(os.path.join(out, f"folder_{state}.png"))


def edit_field(out):
    for state, border in (("normal", (205, 222, 245)), ("hover", (120, 170, 240))):
        def draw(d, s, _):
            d.rounded_rectangle((0, 0, 230 * s - 1, 34 * s - 1), radius=5 * s,
                                fill=(241, 246, 253, 255), outline=border + (255,), width=s)
        supersampled((230, 34), draw).save(os.path.join(out, f"edit_{state}.png"))


def rings(out):
    size, width = 150, 10
    # The track is white at about 11% opacity; drawn over the white card it
    # would vanish, so it carries a faint blue-grey tint as well.
    def track_tinted(d, s, _):
        d.ellipse((s, s, (size - 1) * s, (size - 1) * s), outline=(120, 150, 200, 28), width=width * s)
    supersampled((size, size), track_tinted).save(os.path.join(out, "ring_track.png"))
    def ring(d, s, _):
        d.ellipse((s, s, (size - 1) * s, (size - 1) * s), outline=BLUE + (255,), width=width * s)
    supersampled((size, size), ring).save(os.path.join(out, "ring_progress.png"))


def banner(out):
    w, h, r = 380, 226, 11
    def draw(d, s, img):
        # a gentle vertical gradient in the accent colour
        for y in range(h * s):
            t = y / (h * s)
            c = tuple(int(BLUE[i] * (1 - t) + BLUE_DEEP[i] * t) for i in range(3))
            d.line((0, y, w * s, y), fill=c + (255,))
        mask = Image.new("L", img.size, 0)
        ImageDraw.Draw(mask).rounded_rectangle((0, 0, w * s - 1, (h + r) * s), radius=r * s, fill=255)
        img.putalpha(mask)
    supersampled((w, h), draw).save(os.path.join(out, "banner.png"))


def logo(out):
    n = 1600
    img = Image.new("RGBA", (n, n), (0, 0, 0, 0))
    # Rounded square with a diagonal blue gradient.
    grad = Image.new("RGBA", (n, n))
    gp = ImageDraw.Draw(grad)
    for y in range(n):
        t = y / n
        c = tuple(int(BLUE_HOVER[i] * (1 - t) + BLUE_DEEP[i] * t) for i in range(3))
        gp.line((0, y, n, y), fill=c + (255,))
    mask = Image.new("L", (n, n), 0)
    ImageDraw.Draw(mask).rounded_rectangle((40, 40, n - 41, n - 41), radius=360, fill=255)
    img.paste(grad, (0, 0), mask)
    d = ImageDraw.Draw(img)
    # A thin white rim so the logo stands out on the blue banner too.
    d.rounded_rectangle((40, 40, n - 41, n - 41), radius=360, outline=(255, 255, 255, 255), width=36)
    # A white "V" with a spark: the assistant's mark.
    white = (255, 255, 255, 255)
    d.line((470, 520, 800, 1130, 1130, 520), fill=white, width=170, joint="curve")
    for x, y in ((470, 520), (1130, 520), (800, 1130)):
        d.ellipse((x - 85, y - 85, x + 85, y + 85), fill=white)
    cx, cy, r = 1190, 390, 110
    star = []
    for k in range(8):
        ang = k * math.pi / 4
        rr = r if k % 2 == 0 else r * 0.32
        star.append((cx + rr * math.sin(ang), cy - rr * math.cos(ang)))
    d.polygon(star, fill=white)
    img.save(os.path.join(out, "logo.png"), optimize=True)


def tick(out):
    n = 264
    def draw(d, s, _):
        d.ellipse((4 * s, 4 * s, (n - 4) * s, (n - 4) * s), fill=BLUE + (255,))
        d.line((76 * s, 136 * s, 116 * s, 176 * s, 190 * s, 98 * s), fill=(255, 255, 255, 255),
               width=18 * s, joint="curve")
        for x, y in ((76, 136), (190, 98)):
            d.ellipse(((x - 9) * s, (y - 9) * s, (x + 9) * s, (y + 9) * s), fill=(255, 255, 255, 255))
    supersampled((n, n), draw).save(os.path.join(out, "tick.png"))


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "assets")
    os.makedirs(out, exist_ok=True)
    card(out)
    blue_button(out, "button_quick", (220, 50), 8)
    blue_button(out, "button_install", (230, 40), 6)
    blue_button(out, "button_run", (194, 40), 6)
    close_cross(out)
    folder(out)
    edit_field(out)
    rings(out)
    banner(out)
    logo(out)
    tick(out)


if __name__ == "__main__":
    main()
