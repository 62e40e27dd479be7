#!/usr/bin/env python3
"""Draws the program's pictures with ImageMagick and writes them here.

Run from anywhere: python3 resources/pictures/make_pictures.py
Needs: python3, imagemagick (convert). The results are committed; run this
again only to change a picture.

  Zip2Files.gif, Zip2Exe.gif  100 x 100, animated: the page pictures of the
                              archive manager (extract / ZIP <-> EXE pages)
  ZipRun.gif                  32 x 32, animated: a backup is running
  ZipErr.gif                  32 x 32, still: a backup failed
  default.ico                 32 x 32, 16 colours: the default icon of a
                              self-extracting archive (exactly 766 bytes)
  ../icons/hicolor/NxN/apps/brx_explo.png  the program's icon, 16 to 256
"""

import os
import struct
import subprocess
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
ICONS = os.path.join(HERE, "..", "icons", "hicolor")
ICON_SIZES = (16, 22, 24, 32, 48, 64, 128, 256)

TEAL = "#008080"
ORANGE = "#ff8040"
NAVY = "#203070"


def convert(*args):
    subprocess.run(["convert", *args], check=True)


def draw(size, commands, out, background="none"):
    """One picture of size x size from ImageMagick draw primitives."""
    args = ["-size", f"{size}x{size}", f"xc:{background}"]
    for fill, stroke, width, primitive in commands:
        args += ["-fill", fill, "-stroke", stroke, "-strokewidth", str(width), "-draw", primitive]
    convert(*args, out)


def zip_box(x, y, s):
    """An archive: a teal box with a zipper down its middle, at (x, y), s wide."""
    h = s * 1.15
    cmds = [(TEAL, NAVY, max(1, s / 24), f"roundrectangle {x},{y} {x + s},{y + h} {s / 8},{s / 8}"),
            ("#e0f0f0", "none", 0, f"rectangle {x + s * 0.42},{y} {x + s * 0.58},{y + h * 0.72}")]
    teeth = 6
    for i in range(teeth):
        ty = y + h * 0.72 * i / teeth
        side = x + s * 0.42 if i % 2 == 0 else x + s * 0.5
        cmds.append((NAVY, "none", 0, f"rectangle {side},{ty} {side + s * 0.08},{ty + h * 0.06}"))
    cmds.append((ORANGE, NAVY, max(1, s / 32),
                 f"roundrectangle {x + s * 0.36},{y + h * 0.7} {x + s * 0.64},{y + h * 0.86} 2,2"))
    return cmds


def sheet(x, y, w, h):
    """A document page with a folded corner and a few lines of text."""
    fold = w * 0.3
    cmds = [("white", "#404040", 1,
             f"polygon {x},{y} {x + w - fold},{y} {x + w},{y + fold} {x + w},{y + h} {x},{y + h}"),
            ("#d0d0d0", "#404040", 1, f"polygon {x + w - fold},{y} {x + w - fold},{y + fold} {x + w},{y + fold}")]
    for i in range(3):
        ly = y + h * (0.45 + 0.15 * i)
        cmds.append(("none", "#808080", 1, f"line {x + 3},{ly} {x + w - 4},{ly}"))
    return cmds


def window_exe(x, y, w, h):
    """A program window: title bar and a gear-like disc."""
    return [("#f0f0f0", "#404040", 1, f"rectangle {x},{y} {x + w},{y + h}"),
            (NAVY, "none", 0, f"rectangle {x + 1},{y + 1} {x + w - 1},{y + 8}"),
            ("#c04040", "none", 0, f"rectangle {x + w - 7},{y + 2} {x + w - 2},{y + 7}"),
            (ORANGE, "#804020", 1, f"circle {x + w / 2},{y + h * 0.6} {x + w / 2 + h * 0.22},{y + h * 0.6}"),
            ("white", "none", 0, f"circle {x + w / 2},{y + h * 0.6} {x + w / 2 + 3},{y + h * 0.6}")]


def arrow(x, y, length, colour):
    return [(colour, "#402010", 1,
             f"polygon {x},{y - 4} {x + length - 9},{y - 4} {x + length - 9},{y - 10} "
             f"{x + length},{y} {x + length - 9},{y + 10} {x + length - 9},{y + 4} {x},{y + 4}")]


def animate(frames, out, delay):
    convert("-dispose", "background", "-delay", str(delay), "-loop", "0", *frames, out)


def page_picture(target, out, tmp):
    frames = []
    for step in range(4):
        cmds = zip_box(6, 28, 28)
        cmds += arrow(38 + step * 3, 50, 18, ORANGE if step % 2 == 0 else "#ffa060")
        cmds += target
        frame = os.path.join(tmp, f"{os.path.basename(out)}{step}.png")
        draw(100, cmds, frame, background="white")
        frames.append(frame)
    animate(frames, out, 35)


def run_picture(out, tmp):
    """A small archive with a ring of dots turning around it."""
    import math
    frames = []
    for step in range(8):
        cmds = zip_box(10, 9, 12)
        for i in range(8):
            angle = (i / 8) * 2 * math.pi
            cx, cy = 16 + 13 * math.cos(angle), 16 + 13 * math.sin(angle)
            lit = (i - step) % 8
            colour = ORANGE if lit == 0 else "#ffb080" if lit == 7 else "#a0c8c8"
            cmds.append((colour, "none", 0, f"circle {cx},{cy} {cx + 1.8},{cy}"))
        frame = os.path.join(tmp, f"run{step}.png")
        draw(32, cmds, frame, background="white")
        frames.append(frame)
    animate(frames, out, 12)


def error_picture(out):
    draw(32, [("#d02020", "#801010", 1, "circle 16,16 16,2"),
              ("none", "white", 4, "line 10,10 22,22"),
              ("none", "white", 4, "line 22,10 10,22")], out, background="white")


def program_icon(size):
    """The program's icon: an archive with an orange arrow going into it."""
    s = 256
    cmds = zip_box(s * 0.14, s * 0.1, s * 0.62)
    cmds += [(ORANGE, "#803010", s / 64,
              f"polygon {s * 0.55},{s * 0.62} {s * 0.8},{s * 0.62} {s * 0.8},{s * 0.52} "
              f"{s * 0.97},{s * 0.74} {s * 0.8},{s * 0.96} {s * 0.8},{s * 0.86} {s * 0.55},{s * 0.86}")]
    return cmds


def write_program_icons(tmp):
    big = os.path.join(tmp, "icon256.png")
    draw(256, program_icon(256), big)
    for size in ICON_SIZES:
        folder = os.path.join(ICONS, f"{size}x{size}", "apps")
        os.makedirs(folder, exist_ok=True)
        convert(big, "-filter", "Lanczos", "-resize", f"{size}x{size}", "-strip",
                os.path.join(folder, "brx_explo.png"))
    return big


# The 16 colours of the standard VGA palette, in the order 4-bit icons use.
PALETTE16 = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
             (0, 128, 128), (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0),
             (255, 255, 0), (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255)]


def nearest(rgb):
    return min(range(16), key=lambda i: sum((a - b) ** 2 for a, b in zip(rgb, PALETTE16[i])))


def write_ico16(source_png, out):
    """A 32 x 32, 4-bit icon: 6-byte directory, one 16-byte entry, then a
    40-byte BITMAPINFOHEADER, 64 bytes of palette, 512 bytes of colour rows
    and 128 bytes of mask rows, bottom-up (744 bytes of image, 766 in all)."""
    raw = subprocess.run(["convert", source_png, "-resize", "32x32!", "-depth", "8", "rgba:-"],
                         check=True, capture_output=True).stdout
    pixels = [raw[i:i + 4] for i in range(0, len(raw), 4)]
    xor_rows, and_rows = [], []
    for y in range(31, -1, -1):
        row = pixels[y * 32:(y + 1) * 32]
        indices = [nearest(p[:3]) if p[3] >= 128 else 0 for p in row]
        xor_rows.append(bytes((indices[x] << 4) | indices[x + 1] for x in range(0, 32, 2)))
        mask_bits = "".join("0" if p[3] >= 128 else "1" for p in row)
        and_rows.append(int(mask_bits, 2).to_bytes(4, "big"))
    image = struct.pack("<IiiHHIIiiII", 40, 32, 64, 1, 4, 0, 512 + 128, 0, 0, 16, 0)
    image += b"".join(bytes((b, g, r, 0)) for r, g, b in PALETTE16)
    image += b"".join(xor_rows) + b"".join(and_rows)
    assert len(image) == 744
    header = struct.pack("<HHH", 0, 1, 1) + struct.pack("<BBBBHHII", 32, 32, 16, 0, 1, 4, len(image), 22)
    with open(out, "wb") as f:
        f.write(header + image)


def main():
    with tempfile.TemporaryDirectory() as tmp:
        page_picture(sheet(64, 24, 20, 26) + sheet(72, 40, 20, 26) + sheet(58, 56, 20, 26),
                     os.path.join(HERE, "Zip2Files.gif"), tmp)
        page_picture(window_exe(60, 34, 34, 30), os.path.join(HERE, "Zip2Exe.gif"), tmp)
        run_picture(os.path.join(HERE, "ZipRun.gif"), tmp)
        error_picture(os.path.join(HERE, "ZipErr.gif"))
        big = write_program_icons(tmp)
        write_ico16(big, os.path.join(HERE, "default.ico"))


if __name__ == "__main__":
    main()
