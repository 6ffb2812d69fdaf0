#!/usr/bin/python3
"""Paints the pictures of the window templates and writes them next to the window
sources: navigator/windows/pictures/ and updater/windows/pictures/.

Run with Debian's python3 (python3-pil): /usr/bin/python3 tools/art/make_pictures.py
Kinds and sizes are fixed by the windows: JPEG backgrounds and banner, animated GIF
banners, 24-bit BMP button faces, ICO files with 32-bit BMP entries, and image-list
streams in the common controls' ImageList_Write layout (four images to a bitmap row).
"""
import io
import math
import os
import struct
import sys

from PIL import Image, ImageDraw, ImageFont

ROOT = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", ".."))
NAV = os.path.join(ROOT, "navigator", "windows", "pictures")
UPD = os.path.join(ROOT, "updater", "windows", "pictures")
CJK = "/usr/share/fonts/truetype/wqy/wqy-zenhei.ttc"

MAGENTA = (255, 0, 255)
BAR_GREEN = (0xC6, 0xE4, 0xB7)   # the bottom bar labels' bgColour 0xB7E4C6
FACE = (0xEC, 0xEC, 0xEC)
TEAL = (0, 128, 128)             # the slogan's textColour 0x808000


def font(size):
    return ImageFont.truetype(CJK, size)


def lerp(a, b, t):
    return tuple(int(round(x + (y - x) * t)) for x, y in zip(a, b))


def vgradient(draw, box, top, bottom):
    x0, y0, x1, y1 = box
    for y in range(y0, y1):
        t = (y - y0) / max(1, y1 - y0 - 1)
        draw.line([(x0, y), (x1 - 1, y)], fill=lerp(top, bottom, t))


def hgradient(draw, box, left, right):
    x0, y0, x1, y1 = box
    for x in range(x0, x1):
        t = (x - x0) / max(1, x1 - x0 - 1)
        draw.line([(x, y0), (x, y1 - 1)], fill=lerp(left, right, t))


def camera(draw, x, y, s, colour):
    """A small camera mark: body, lens and flash."""
    draw.rounded_rectangle([x, y + s * 0.25, x + s * 1.4, y + s * 1.1], radius=s * 0.15, outline=colour, width=2)
    draw.rectangle([x + s * 0.25, y + s * 0.05, x + s * 0.6, y + s * 0.25], fill=colour)
    c = (x + s * 0.7, y + s * 0.68)
    draw.ellipse([c[0] - s * 0.28, c[1] - s * 0.28, c[0] + s * 0.28, c[1] + s * 0.28], outline=colour, width=2)


def main_background():
    w, h = 800, 500
    img = Image.new("RGB", (w, h), FACE)
    d = ImageDraw.Draw(img)
    # Title strip 0..40: pale sky to white, a teal rule below.
    vgradient(d, (0, 0, w, 40), (0xD8, 0xEE, 0xF0), (0xFF, 0xFF, 0xFF))
    d.line([(0, 39), (w, 39)], fill=(0x5F, 0xA8, 0xA8))
    # Decorations between the slogan and the hint: film-strip frames fading to the right.
    for i in range(6):
        x = 376 + i * 34
        shade = lerp((0x9C, 0xCF, 0xD0), (0xE8, 0xF4, 0xF4), i / 5)
        d.rounded_rectangle([x, 10, x + 30, 32], radius=4, outline=shade, width=2)
        d.line([(x + 4, 27), (x + 12, 18), (x + 18, 24), (x + 22, 20), (x + 27, 27)], fill=shade, width=2)
    camera(d, 338, 8, 18, (0x5F, 0xA8, 0xA8))
    # Top-right corner behind the buttons and the F3 hint.
    d.rectangle([588, 0, w - 1, 20], fill=(0xE6, 0xF3, 0xF3))
    # Around the page control (8..792, 40..456): a light frame, white inside.
    d.rectangle([4, 42, w - 5, 460], fill=(0xF7, 0xFA, 0xFA), outline=(0xB8, 0xD4, 0xD4))
    d.rectangle([8, 100, w - 9, 456], fill=(0xFF, 0xFF, 0xFF))
    # Slogan area under the title, left of the home banner.
    f = font(14)
    d.text((84, 56), "收集精彩图片网站  一站浏览  方便快捷", font=f, fill=(0x7A, 0xA6, 0xA6))
    # Bottom bar 466..500 in the labels' green.
    vgradient(d, (0, 462, w, 466), (0xE0, 0xEE, 0xD8), BAR_GREEN)
    d.rectangle([0, 466, w - 1, h - 1], fill=BAR_GREEN)
    d.line([(0, 466), (w, 466)], fill=(0x8F, 0xC0, 0x7A))
    for x in (90, 144, 420, 680):
        d.line([(x, 472), (x, 494)], fill=(0xA8, 0xCC, 0x98))
    # A one-pixel frame around the whole window, since it has none of its own.
    d.rectangle([0, 0, w - 1, h - 1], outline=(0x4F, 0x8F, 0x8F))
    img.save(os.path.join(NAV, "main_background.jpg"), quality=88)


def popup_mask(w, h):
    """Inside of the popup's outline, on the 8-pixel JPEG block grid so that every block
    outside stays pure magenta after compression: a chamfered panel with a tab at the
    top right (the close area)."""
    inside = [[False] * w for _ in range(h)]
    bx, by = (w + 7) // 8, (h + 7) // 8
    for j in range(by):
        for i in range(bx):
            x0, y0 = i * 8, j * 8
            # Panel body from y 16; the tab for the close area over x 192..232 above it.
            body = y0 >= 16 and x0 < 240
            tab = y0 < 16 and 192 <= x0 < 232
            # Chamfered corners, two blocks deep.
            corner = (y0 == 16 and (x0 == 0 or x0 == 232)) or (y0 == by * 8 - 8 and (x0 == 0 or x0 == 232))
            if (body or tab) and not corner:
                for y in range(y0, min(y0 + 8, h)):
                    for x in range(x0, min(x0 + 8, w)):
                        inside[y][x] = True
    return inside


def popup_background():
    w, h = 243, 164
    inside = popup_mask(w, h)
    art = Image.new("RGB", (w, h), (0xFF, 0xFF, 0xFF))
    d = ImageDraw.Draw(art)
    vgradient(d, (0, 16, w, 32), (0x4F, 0x9C, 0x9C), (0x2E, 0x7A, 0x7A))
    vgradient(d, (0, 32, w, h), (0xE4, 0xF2, 0xF2), (0xC8, 0xE4, 0xE4))
    d.rectangle([192, 0, 231, 16], fill=(0x2E, 0x7A, 0x7A))
    d.text((10, 17), "图片导航 · 今日推荐", font=font(12), fill=(0xFF, 0xFF, 0xFF))
    d.line([(200, 3), (209, 12)], fill=(0xFF, 0xFF, 0xFF), width=2)
    d.line([(209, 3), (200, 12)], fill=(0xFF, 0xFF, 0xFF), width=2)
    d.text((212, 1), "关", font=font(12), fill=(0xFF, 0xFF, 0xFF))
    d.text((186, 141), "详情»", font=font(12), fill=(0x1F, 0x5F, 0x5F))
    d.text((12, 141), "精彩图片 每日更新", font=font(12), fill=(0x3F, 0x6F, 0x6F))
    # Painted in YCbCr so that the outside can take values that every decoder clamps to
    # exactly 0xFF00FF; an RGB magenta would come back as (255, 0, 254).
    ycc = art.convert("YCbCr")
    px = ycc.load()
    for y in range(h):
        for x in range(w):
            if not inside[y][x]:
                px[x, y] = (105, 220, 240)
    path = os.path.join(NAV, "popup_background.jpg")
    ycc.save(path, quality=100, subsampling=0)
    # The outline must survive compression exactly: outside pure magenta, inside never.
    back = Image.open(path).convert("RGB").load()
    for y in range(h):
        for x in range(w):
            if (back[x, y] == MAGENTA) != (not inside[y][x]):
                sys.exit(f"popup outline lost at {x},{y}: {back[x, y]}")


def home_banner():
    w, h = 200, 60
    img = Image.new("RGB", (w, h))
    d = ImageDraw.Draw(img)
    hgradient(d, (0, 0, w, h), (0x2E, 0x7A, 0x7A), (0x7F, 0xC4, 0xC0))
    camera(d, 10, 12, 26, (0xFF, 0xFF, 0xFF))
    d.text((56, 8), "图片导航", font=font(22), fill=(0xFF, 0xFF, 0xFF))
    d.text((58, 36), "精彩图片 一网打尽", font=font(12), fill=(0xE8, 0xFF, 0xF8))
    d.rectangle([0, 0, w - 1, h - 1], outline=(0x1F, 0x5F, 0x5F))
    img.save(os.path.join(NAV, "home_banner.jpg"), quality=85)


def gif_banner(name, words, colours):
    w, h = 380, 60
    frames = []
    for k in range(2):
        img = Image.new("RGB", (w, h))
        d = ImageDraw.Draw(img)
        a, b = colours[k]
        hgradient(d, (0, 0, w, h), a, b)
        for i in range(7):
            x = 250 + i * 18 + (9 if k else 0)
            d.ellipse([x, 22 + (i % 2) * 8, x + 6, 28 + (i % 2) * 8], fill=(0xFF, 0xFF, 0xFF))
        d.text((16, 6), words[0], font=font(24), fill=(0xFF, 0xFF, 0xFF) if k == 0 else (0xFF, 0xF0, 0x80))
        d.text((18, 38), words[1], font=font(13), fill=(0xFF, 0xFF, 0xFF))
        d.rectangle([0, 0, w - 1, h - 1], outline=(0xFF, 0xFF, 0xFF) if k else b)
        frames.append(img.convert("P", palette=Image.ADAPTIVE, colors=64))
    frames[0].save(os.path.join(NAV, name), save_all=True, append_images=frames[1:], duration=200, loop=0)


def button_face(name, w, h, glyph, pressed):
    img = Image.new("RGB", (w, h))
    d = ImageDraw.Draw(img)
    top, bottom = ((0x3F, 0x8C, 0x8C), (0x2A, 0x6A, 0x6A)) if not pressed else ((0x24, 0x5E, 0x5E), (0x3A, 0x80, 0x80))
    if glyph == "close":
        top, bottom = ((0xE0, 0x5A, 0x4A), (0xB8, 0x30, 0x24)) if not pressed else ((0x98, 0x24, 0x1A), (0xC8, 0x48, 0x38))
    vgradient(d, (0, 0, w, h), top, bottom)
    d.rectangle([0, 0, w - 1, h - 1], outline=(0x1A, 0x40, 0x40))
    o = 1 if pressed else 0
    cx, cy = w // 2 + o, h // 2 + o
    white = (0xFF, 0xFF, 0xFF)
    if glyph == "close":
        d.line([(cx - 4, cy - 4), (cx + 4, cy + 4)], fill=white, width=2)
        d.line([(cx + 4, cy - 4), (cx - 4, cy + 4)], fill=white, width=2)
    else:
        d.rectangle([cx - 5, cy + 2, cx + 4, cy + 3], fill=white)
    img.save(os.path.join(NAV, name))  # RGB mode: a 24-bit BMP


def ico(path, images):
    """ICO with one 32-bit BMP entry (BGRA bottom-up plus an AND mask) per image."""
    entries, blobs = [], []
    offset = 6 + 16 * len(images)
    for img in images:
        w, h = img.size
        rgba = img.convert("RGBA")
        px = rgba.load()
        header = struct.pack("<IiiHHIIiiII", 40, w, h * 2, 1, 32, 0, 0, 0, 0, 0, 0)
        rows = bytearray()
        for y in range(h - 1, -1, -1):
            for x in range(w):
                r, g, b, a = px[x, y]
                rows += bytes((b, g, r, a))
        stride = ((w + 31) // 32) * 4
        mask = bytearray()
        for y in range(h - 1, -1, -1):
            line = bytearray(stride)
            for x in range(w):
                if px[x, y][3] == 0:
                    line[x // 8] |= 0x80 >> (x % 8)
            mask += line
        blob = header + rows + mask
        entries.append(struct.pack("<BBBBHHII", w % 256, h % 256, 0, 0, 1, 32, len(blob), offset))
        blobs.append(blob)
        offset += len(blob)
    with open(path, "wb") as f:
        f.write(struct.pack("<HHH", 0, 1, len(images)) + b"".join(entries) + b"".join(blobs))


def icon_image(size, colours, mark):
    """A rounded tile with a picture or arrow mark, drawn at 4x and scaled down."""
    s = size * 4
    img = Image.new("RGBA", (s, s), (0, 0, 0, 0))
    d = ImageDraw.Draw(img)
    r = s // 5
    top, bottom = colours
    grad = Image.new("RGBA", (s, s))
    gd = ImageDraw.Draw(grad)
    vgradient(gd, (0, 0, s, s), top + (255,), bottom + (255,))
    mask = Image.new("L", (s, s), 0)
    ImageDraw.Draw(mask).rounded_rectangle([s // 16, s // 16, s - s // 16, s - s // 16], radius=r, fill=255)
    img.paste(grad, (0, 0), mask)
    white = (255, 255, 255, 255)
    if mark == "picture":
        m = s // 4
        d.rounded_rectangle([m, m, s - m, s - m], radius=s // 24, outline=white, width=max(4, s // 24))
        d.polygon([(m + s // 20, s - m - s // 20), (s // 2 - s // 16, s // 2), (s // 2 + s // 16, s // 2 + s // 10),
                   (s // 2 + s // 6, s // 2 - s // 20), (s - m - s // 20, s - m - s // 20)], fill=white)
        d.ellipse([s // 2 + s // 12, m + s // 14, s // 2 + s // 6, m + s // 14 + s // 12], fill=white)
    else:
        c = s // 2
        d.polygon([(c, s // 5), (s - s // 4, c), (c + s // 10, c), (c + s // 10, s - s // 4),
                   (c - s // 10, s - s // 4), (c - s // 10, c), (s // 4, c)], fill=white)
    return img.resize((size, size), Image.LANCZOS)


def imagelist_stream(path, cx, cy, images):
    """An ImageList_Write stream: the 28-byte "IL" header (version 0x101), then the images
    as one 24-bit BMP file with four images to a row (no mask: ILC_COLOR24)."""
    count = len(images)
    cols = 4
    rows = (count + cols - 1) // cols
    sheet = Image.new("RGB", (cx * cols, cy * rows), (0, 0, 0))
    for i, img in enumerate(images):
        sheet.paste(img.convert("RGB"), ((i % cols) * cx, (i // cols) * cy))
    bmp = io.BytesIO()
    sheet.save(bmp, "BMP")
    ILC_COLOR24 = 0x18
    head = struct.pack("<HHHHHHHIHhhhh", 0x4C49, 0x0101, count, count, 4, cx, cy, 0xFFFFFFFF, ILC_COLOR24,
                       -1, -1, -1, -1)
    assert len(head) == 28
    with open(path, "wb") as f:
        f.write(head + bmp.getvalue())


def tab_image(size, label, colours, glyph):
    img = Image.new("RGB", (size, size), (0xFF, 0xFF, 0xFF))
    d = ImageDraw.Draw(img)
    vgradient(d, (2, 2, size - 2, size - 2), colours[0], colours[1])
    d.rounded_rectangle([2, 2, size - 3, size - 3], radius=8, outline=(0x2E, 0x7A, 0x7A), width=2)
    if glyph == "globe":
        c, r = size // 2, size // 5
        d.ellipse([c - r, 10, c + r, 10 + 2 * r], outline=(0xFF, 0xFF, 0xFF), width=2)
        d.line([(c - r, 10 + r), (c + r, 10 + r)], fill=(0xFF, 0xFF, 0xFF))
        d.ellipse([c - r // 2, 10, c + r // 2, 10 + 2 * r], outline=(0xFF, 0xFF, 0xFF))
    else:
        for k in range(3):
            d.line([(size // 2 - 12, 12 + k * 7), (size // 2 + 12, 12 + k * 7)], fill=(0xFF, 0xFF, 0xFF), width=3)
    f = font(12)
    tw = d.textlength(label, font=f)
    d.text(((size - tw) / 2, size - 22), label, font=f, fill=(0xFF, 0xFF, 0xFF))
    return img


def tab_lists():
    normal = ((0x4F, 0x9C, 0x9C), (0x2E, 0x7A, 0x7A))
    lit = ((0x6F, 0xC0, 0xB8), (0x3F, 0x9C, 0x94))
    images = [tab_image(60, "浏览", normal, "globe"), tab_image(60, "浏览", lit, "globe"),
              tab_image(60, "网址", normal, "list"), tab_image(60, "网址", lit, "list")]
    imagelist_stream(os.path.join(NAV, "tabs_60.il"), 60, 60, images)
    imagelist_stream(os.path.join(NAV, "tabs_70.il"), 70, 70, [tab_image(70, "导航", lit, "globe")])


def bar_lists():
    """The progress bar's four image lists: track, fill, thumb and fill end."""
    colour_pairs = [((0xE8, 0xE8, 0xE8), (0xD0, 0xD0, 0xD0)), ((0xF1, 0xAE, 0xA5), (0xD8, 0x78, 0x6C)),
             ((0xFF, 0xFF, 0xFF), (0xC0, 0xC0, 0xC0)), ((0xD8, 0x78, 0x6C), (0xB8, 0x50, 0x44))]
    for k, (a, b) in enumerate(colour_pairs, 1):
        img = Image.new("RGB", (12, 19))
        vgradient(ImageDraw.Draw(img), (0, 0, 12, 19), a, b)
        imagelist_stream(os.path.join(UPD, f"bar_{k}.il"), 12, 19, [img])


def main():
    os.makedirs(NAV, exist_ok=True)
    os.makedirs(UPD, exist_ok=True)
    main_background()
    popup_background()
    home_banner()
    gif_banner("banner_left.gif", ("美图推荐", "每日精选 高清图片 点击进入"),
               [((0xE0, 0x5A, 0x7A), (0xF4, 0xA8, 0xB8)), ((0xC8, 0x3A, 0x60), (0xE8, 0x80, 0x98))])
    gif_banner("banner_right.gif", ("网站收录", "优秀图片网站 免费申请收录"),
               [((0x2E, 0x7A, 0x7A), (0x7F, 0xC4, 0xC0)), ((0x1F, 0x5F, 0x8A), (0x6F, 0xA8, 0xD8))])
    button_face("close_button.bmp", 42, 17, "close", False)
    button_face("close_button_pressed.bmp", 42, 17, "close", True)
    button_face("minimize_button.bmp", 29, 17, "minimize", False)
    button_face("minimize_button_pressed.bmp", 29, 17, "minimize", True)
    nav_colours = ((0x4F, 0xB0, 0xB0), (0x1F, 0x6A, 0x6A))
    ico(os.path.join(NAV, "navigator.ico"), [icon_image(s, nav_colours, "picture") for s in (48, 32, 16)])
    upd_colours = ((0x6F, 0xB8, 0x4F), (0x2F, 0x7A, 0x2A))
    ico(os.path.join(UPD, "update.ico"),
        [icon_image(s, upd_colours, "arrow") for s in (16, 24, 32, 48, 64, 72, 96, 128)])
    tab_lists()
    bar_lists()


if __name__ == "__main__":
    main()
