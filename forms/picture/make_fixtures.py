#!/usr/bin/python3
"""Writes the picture test files of test_data. Run from anywhere:
/usr/bin/python3 make_fixtures.py (needs Debian's python3-pil).

The tests recompute what these files should show from the same rules, so keep the
rules below and the ones in picture_files.cpp in step."""
import os
from PIL import Image

DATA = os.path.join(os.path.dirname(os.path.abspath(__file__)), "test_data")


def out(name):
    return os.path.join(DATA, name)


def quadrants(w, h):
    # top-left red, top-right green, bottom-left blue, bottom-right white
    im = Image.new("RGB", (w, h))
    for y in range(h):
        for x in range(w):
            right, bottom = x >= w // 2, y >= h // 2
            im.putpixel((x, y), [(255, 0, 0), (0, 255, 0), (0, 0, 255), (255, 255, 255)][bottom * 2 + right])
    return im


def noise_indexes(w, h):
    # the same generator as noiseIndex() in picture_files.cpp
    s, out_ = 12345, []
    for _ in range(w * h):
        s = (s * 1103515245 + 12345) % (1 << 31)
        out_.append((s >> 16) & 0xFF)
    return out_


def noise_palette():
    # 256 distinct colours: (i, 255 - i, i * 3 mod 256) is distinct in its first byte
    flat = []
    for i in range(256):
        flat += [i, 255 - i, (i * 3) % 256]
    return flat


def noise(w, h):
    im = Image.new("P", (w, h))
    im.putpalette(noise_palette())
    im.putdata(noise_indexes(w, h))
    return im


def flat(colour, size, mode="RGB"):
    return Image.new(mode, size, colour)


def main():
    q = quadrants(32, 24)
    q.save(out("quadrants.jpg"), quality=95, subsampling=0)
    q.save(out("quadrants-progressive.jpg"), quality=95, subsampling=0, progressive=True)
    flat(128, (16, 8), "L").save(out("grey.jpg"), quality=95)
    # left half cyan, right half white; written the Adobe way, with inverted channels
    cmyk = flat((0, 0, 0, 0), (8, 4), "CMYK")
    for y in range(4):
        for x in range(4):
            cmyk.putpixel((x, y), (255, 0, 0, 0))
    cmyk.save(out("cmyk.jpg"), quality=95)

    noise(96, 64).save(out("noise.gif"), interlace=0, optimize=False)
    noise(96, 64).save(out("noise-interlaced.gif"), interlace=1, optimize=False)

    # Three frames of 12 x 6: red, then green, then blue with a transparent left half,
    # shown for 100, 200 and 300 ms, played three times.
    frames = []
    for colour in [(255, 0, 0), (0, 255, 0), (0, 0, 255)]:
        frames.append(flat(colour, (12, 6)).convert("P", palette=Image.Palette.ADAPTIVE))
    last = Image.new("RGBA", (12, 6), (0, 0, 255, 255))
    for y in range(6):
        for x in range(6):
            last.putpixel((x, y), (0, 0, 0, 0))
    frames[2] = last
    frames[0].save(out("anim.gif"), save_all=True, append_images=frames[1:], duration=[100, 200, 300],
                   loop=3, disposal=2, optimize=False)

    quadrants(5, 3).save(out("rgb24.bmp"))
    noise(7, 4).save(out("pal8.bmp"))
    mono = Image.new("1", (9, 2), 0)
    for x in range(0, 9, 2):
        mono.putpixel((x, 0), 1)
    mono.putpixel((8, 1), 1)
    mono.save(out("mono.bmp"))

    # 48, 32 and 16 pixels in blue, green and red, each with a transparent top-left pixel.
    sizes = {48: (0, 0, 255), 32: (0, 255, 0), 16: (255, 0, 0)}
    images = []
    for side, rgb in sizes.items():
        im = Image.new("RGBA", (side, side), rgb + (255,))
        im.putpixel((0, 0), (0, 0, 0, 0))
        images.append(im)
    images[0].save(out("three.ico"), bitmap_format="bmp", sizes=[(s, s) for s in sizes],
                   append_images=images[1:])
    images[2].save(out("png-only.ico"), sizes=[(16, 16)])


if __name__ == "__main__":
    main()
