#!/usr/bin/env python3
"""Turns rendered art into the game's 8-bit bitmaps, and lays them out on a contact sheet.

  pictool.py bitmap INPUT.png OUTPUT.bmp [--keep RRGGBB]...
  pictool.py sheet OUTPUT.png INPUT.bmp...

The art is flat cartoon colour with anti-aliased edges, so the palette keeps every colour
that covers a real area exactly and spends the remaining entries on the edge blends. Pixels
go to their nearest entry without dithering, which keeps flat areas flat. Standard library
only, and deterministic: the same input always gives the same bytes.
"""

import struct
import sys
import zlib

PALETTE_SIZE = 256
BMP_HEADERS = 14 + 40


class PictureError(Exception):
    pass


# --- PNG in ---------------------------------------------------------------------------------


def _paeth(a, b, c):
    p = a + b - c
    pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
    if pa <= pb and pa <= pc:
        return a
    return b if pb <= pc else c


def read_png(path):
    """Returns (width, height, rows of RGBA bytes) for an 8-bit RGB or RGBA PNG."""
    with open(path, "rb") as f:
        data = f.read()
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise PictureError(f"{path}: not a PNG file")
    pos, header, idat = 8, None, []
    while pos + 8 <= len(data):
        length, kind = struct.unpack(">I4s", data[pos : pos + 8])
        body = data[pos + 8 : pos + 8 + length]
        if len(body) != length:
            raise PictureError(f"{path}: truncated chunk")
        if kind == b"IHDR":
            header = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            idat.append(body)
        elif kind == b"IEND":
            break
        pos += 12 + length
    if header is None:
        raise PictureError(f"{path}: no header")
    width, height, depth, colour, _, _, interlace = header
    if depth != 8 or colour not in (2, 6) or interlace != 0:
        raise PictureError(f"{path}: only 8-bit RGB or RGBA, not interlaced")
    channels = 4 if colour == 6 else 3
    raw = zlib.decompress(b"".join(idat))
    stride = width * channels
    if len(raw) < (stride + 1) * height:
        raise PictureError(f"{path}: too little image data")
    rows, previous = [], bytearray(stride)
    for y in range(height):
        start = y * (stride + 1)
        kind, line = raw[start], bytearray(raw[start + 1 : start + 1 + stride])
        if kind == 1:
            for i in range(channels, stride):
                line[i] = (line[i] + line[i - channels]) & 0xFF
        elif kind == 2:
            for i in range(stride):
                line[i] = (line[i] + previous[i]) & 0xFF
        elif kind == 3:
            for i in range(stride):
                left = line[i - channels] if i >= channels else 0
                line[i] = (line[i] + ((left + previous[i]) >> 1)) & 0xFF
        elif kind == 4:
            for i in range(stride):
                left = line[i - channels] if i >= channels else 0
                upper_left = previous[i - channels] if i >= channels else 0
                line[i] = (line[i] + _paeth(left, previous[i], upper_left)) & 0xFF
        elif kind != 0:
            raise PictureError(f"{path}: unknown filter {kind}")
        previous = line
        if channels == 3:
            rgba = bytearray(width * 4)
            rgba[0::4], rgba[1::4], rgba[2::4] = line[0::3], line[1::3], line[2::3]
            rgba[3::4] = b"\xff" * width
            line = rgba
        rows.append(bytes(line))
    return width, height, rows


def to_pixels(width, rows, behind):
    """Flattens RGBA rows to a list of (r, g, b), putting `behind` under anything see-through."""
    pixels = []
    for row in rows:
        for x in range(width):
            r, g, b, a = row[4 * x : 4 * x + 4]
            if a != 255:
                r, g, b = (
                    (c * a + k * (255 - a) + 127) // 255 for c, k in zip((r, g, b), behind)
                )
            pixels.append((r, g, b))
    return pixels


# --- Palette --------------------------------------------------------------------------------


def _median_cut(colours, boxes_wanted):
    """Splits weighted colours into boxes and returns each box's weighted mean."""
    if boxes_wanted <= 0 or not colours:
        return []

    def spread(box):
        lows = [min(c[0][k] for c in box) for k in range(3)]
        highs = [max(c[0][k] for c in box) for k in range(3)]
        ranges = [h - l for h, l in zip(highs, lows)]
        axis = max(range(3), key=lambda k: (ranges[k], -k))
        return ranges[axis], axis

    boxes = [sorted(colours)]
    while len(boxes) < boxes_wanted:
        best, best_score = None, 0
        for i, box in enumerate(boxes):
            if len(box) < 2:
                continue
            width, _ = spread(box)
            score = width * sum(n for _, n in box)
            if score > best_score:
                best, best_score = i, score
        if best is None:
            break
        box = boxes.pop(best)
        _, axis = spread(box)
        box.sort(key=lambda c: (c[0][axis], c[0]))
        half, running, cut = sum(n for _, n in box) / 2, 0, 1
        for i, (_, n) in enumerate(box[:-1]):
            running += n
            cut = i + 1
            if running >= half:
                break
        boxes += [box[:cut], box[cut:]]
    means = []
    for box in boxes:
        total = sum(n for _, n in box)
        means.append(
            tuple((sum(c[k] * n for c, n in box) + total // 2) // total for k in range(3))
        )
    return means


def _distance(a, b):
    dr, dg, db = a[0] - b[0], a[1] - b[1], a[2] - b[2]
    return 3 * dr * dr + 4 * dg * dg + 2 * db * db


def build_palette(pixels, keep):
    """Returns up to 256 colours: `keep`, then every colour covering a real area, then blends."""
    counts = {}
    for p in pixels:
        counts[p] = counts.get(p, 0) + 1
    by_count = sorted(counts.items(), key=lambda item: (-item[1], item[0]))
    if len(by_count) + len(keep) <= PALETTE_SIZE:
        chosen = list(dict.fromkeys(list(keep) + [c for c, _ in by_count]))
        return chosen
    # A colour needs this many pixels to count as a flat area of the drawing rather than an
    # anti-aliased edge; half the palette at most goes to such areas.
    area = max(4, len(pixels) // 2000)
    chosen = list(dict.fromkeys(keep))
    for colour, n in by_count:
        if n < area or len(chosen) >= PALETTE_SIZE // 2:
            break
        if colour not in chosen:
            chosen.append(colour)
    exact = set(chosen)
    rest = [(c, n) for c, n in by_count if c not in exact]
    for colour in _median_cut(rest, PALETTE_SIZE - len(chosen)):
        if colour not in exact:
            exact.add(colour)
            chosen.append(colour)
    return chosen


def map_to_palette(pixels, palette):
    index_of = {colour: i for i, colour in enumerate(palette)}
    indices = bytearray(len(pixels))
    for i, p in enumerate(pixels):
        found = index_of.get(p)
        if found is None:
            found = min(range(len(palette)), key=lambda k: (_distance(p, palette[k]), k))
            index_of[p] = found
        indices[i] = found
    return indices


# --- BMP out and in -------------------------------------------------------------------------


def _stride(width):
    return (width + 3) & ~3


def write_bmp(path, width, height, palette, indices):
    """Writes an uncompressed 8-bit bottom-up bitmap with a full 256-entry colour table."""
    stride = _stride(width)
    offset = BMP_HEADERS + 4 * PALETTE_SIZE
    image_size = stride * height
    out = bytearray()
    out += struct.pack("<2sIHHI", b"BM", offset + image_size, 0, 0, offset)
    out += struct.pack(
        "<IiiHHIIiiII", 40, width, height, 1, 8, 0, image_size, 2835, 2835, PALETTE_SIZE, 0
    )
    for i in range(PALETTE_SIZE):
        r, g, b = palette[i] if i < len(palette) else (0, 0, 0)
        out += bytes((b, g, r, 0))
    padding = bytes(stride - width)
    for y in range(height - 1, -1, -1):
        out += indices[y * width : (y + 1) * width] + padding
    with open(path, "wb") as f:
        f.write(out)


def read_bmp(path):
    """Reads back what write_bmp writes; returns (width, height, rows of RGB bytes)."""
    with open(path, "rb") as f:
        data = f.read()
    if len(data) < BMP_HEADERS + 4 * PALETTE_SIZE or data[:2] != b"BM":
        raise PictureError(f"{path}: not a bitmap")
    (offset,) = struct.unpack_from("<I", data, 10)
    _, width, height, _, bits, compression = struct.unpack_from("<IiiHHI", data, 14)
    if bits != 8 or compression != 0 or width <= 0 or height <= 0:
        raise PictureError(f"{path}: not an uncompressed 8-bit bottom-up bitmap")
    stride = _stride(width)
    if len(data) < offset + stride * height:
        raise PictureError(f"{path}: truncated")
    table = data[BMP_HEADERS : BMP_HEADERS + 4 * PALETTE_SIZE]
    colours = [bytes((table[4 * i + 2], table[4 * i + 1], table[4 * i])) for i in range(256)]
    rows = []
    for y in range(height):
        start = offset + (height - 1 - y) * stride
        rows.append(b"".join(colours[i] for i in data[start : start + width]))
    return width, height, rows


# --- PNG out (contact sheet) ----------------------------------------------------------------


def write_png(path, width, height, rows):
    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))

    raw = b"".join(b"\x00" + row for row in rows)
    data = b"\x89PNG\r\n\x1a\n"
    data += chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
    data += chunk(b"IDAT", zlib.compress(raw, 9))
    data += chunk(b"IEND", b"")
    with open(path, "wb") as f:
        f.write(data)


def contact_sheet(out_path, bmp_paths, gap=8, backdrop=(64, 64, 72)):
    """All pictures side by side at 1x in the top row and at 2x (nearest-neighbour) below."""
    pictures = [read_bmp(p) for p in bmp_paths]
    scales = (1, 2)
    row_heights = [max(h for _, h, _ in pictures) * s for s in scales]
    widths = [sum(w * s for w, _, _ in pictures) + gap * (len(pictures) + 1) for s in scales]
    width = max(widths)
    height = sum(row_heights) + gap * (len(scales) + 1)
    canvas = [bytearray(bytes(backdrop) * width) for _ in range(height)]
    top = gap
    for scale, row_height in zip(scales, row_heights):
        left = gap
        for w, h, rows in pictures:
            for y in range(h * scale):
                source = rows[y // scale]
                line = source if scale == 1 else b"".join(
                    source[3 * x : 3 * x + 3] * scale for x in range(w)
                )
                canvas[top + y][3 * left : 3 * (left + w * scale)] = line
            left += w * scale + gap
        top += row_height + gap
    write_png(out_path, width, height, [bytes(r) for r in canvas])


# --- Command line ---------------------------------------------------------------------------


def _parse_colour(text):
    text = text.lstrip("#")
    if len(text) != 6:
        raise PictureError(f"colour {text!r} is not RRGGBB")
    return tuple(int(text[i : i + 2], 16) for i in (0, 2, 4))


def main(argv):
    if len(argv) >= 3 and argv[0] == "bitmap":
        source, target, rest = argv[1], argv[2], argv[3:]
        keep = []
        while rest:
            if rest[0] != "--keep" or len(rest) < 2:
                raise PictureError(f"unexpected argument {rest[0]!r}")
            keep.append(_parse_colour(rest[1]))
            rest = rest[2:]
        width, height, rows = read_png(source)
        pixels = to_pixels(width, rows, keep[0] if keep else (255, 255, 255))
        palette = build_palette(pixels, keep)
        write_bmp(target, width, height, palette, map_to_palette(pixels, palette))
        return 0
    if len(argv) >= 3 and argv[0] == "sheet":
        contact_sheet(argv[1], argv[2:])
        return 0
    sys.stderr.write(__doc__)
    return 2


if __name__ == "__main__":
    try:
        sys.exit(main(sys.argv[1:]))
    except (OSError, PictureError, zlib.error) as error:
        sys.stderr.write(f"pictool: {error}\n")
        sys.exit(1)
