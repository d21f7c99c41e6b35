#!/usr/bin/env python3
"""Writes every picture of the client as SVG into res/.

All artwork is drawn here from plain shapes, so it can be regenerated and
reviewed as code. The output stays within what QtSvg renders (SVG Tiny 1.2):
shapes, paths, gradients, transforms and <text>; no filters, masks, clip paths
or CSS classes.

  python3 scripts/make-artwork.py          writes the files
  python3 scripts/make-artwork.py --check  fails if res/ differs from the drawing
"""

import math
import pathlib
import random
import sys
from xml.sax.saxutils import escape

RES = pathlib.Path(__file__).resolve().parent.parent / "res"
FONT = "DejaVu Sans"

# Suit colours: distinct for colour-blind players and dark enough for white.
SUITS = {
    "c": "#00795A",  # bluish green
    "d": "#2D4FE0",  # blue, apart from the green also for tritanopes
    "h": "#CC4400",  # vermillion
    "s": "#1a1a1a",  # near black
}
RANK_TEXT = {1: "A", 11: "J", 12: "Q", 13: "K"}


def fmt(v):
    """Numbers without trailing zeros keep the files short and stable."""
    return f"{v:.2f}".rstrip("0").rstrip(".")


def svg(width, height, body, defs=""):
    defs_block = f"<defs>{defs}</defs>\n" if defs else ""
    return (
        '<?xml version="1.0" encoding="UTF-8"?>\n'
        f'<svg xmlns="http://www.w3.org/2000/svg" version="1.2" baseProfile="tiny" '
        f'width="{width}" height="{height}" viewBox="0 0 {width} {height}">\n'
        f"{defs_block}{body}</svg>\n"
    )


def text(x, y, content, size, fill, weight="bold", anchor="middle", extra=""):
    return (
        f'<text x="{fmt(x)}" y="{fmt(y)}" font-family="{FONT}" font-size="{fmt(size)}" '
        f'font-weight="{weight}" text-anchor="{anchor}" fill="{fill}"{extra}>{escape(content)}</text>\n'
    )


# --- suit symbols, drawn in a unit box centred on the origin -----------------

SUIT_SHAPES = {
    "h": '<path d="M0,0.46 C-0.12,0.34 -0.5,0.1 -0.5,-0.17 C-0.5,-0.42 -0.18,-0.52 0,-0.27 '
         'C0.18,-0.52 0.5,-0.42 0.5,-0.17 C0.5,0.1 0.12,0.34 0,0.46 Z"/>',
    "d": '<path d="M0,-0.5 L0.38,0 L0,0.5 L-0.38,0 Z"/>',
    "s": '<path d="M0,-0.5 C0.12,-0.36 0.5,-0.14 0.5,0.1 C0.5,0.32 0.22,0.4 0.05,0.22 '
         'L0.14,0.5 L-0.14,0.5 L-0.05,0.22 C-0.22,0.4 -0.5,0.32 -0.5,0.1 '
         'C-0.5,-0.14 -0.12,-0.36 0,-0.5 Z"/>',
    "c": '<circle cx="0" cy="-0.24" r="0.22"/><circle cx="-0.25" cy="0.1" r="0.22"/>'
         '<circle cx="0.25" cy="0.1" r="0.22"/><path d="M-0.07,0 L0.07,0 L0.15,0.5 L-0.15,0.5 Z"/>',
}


def pip(suit, x, y, size, flip=False):
    rotate = " rotate(180)" if flip else ""
    return (
        f'<g fill="{SUITS[suit]}" transform="translate({fmt(x)},{fmt(y)}){rotate} '
        f'scale({fmt(size)})">{SUIT_SHAPES[suit]}</g>\n'
    )


# --- card faces ---------------------------------------------------------------

CARD_W, CARD_H = 70, 97
COLS = {"l": 24, "c": 35, "r": 46}
TOP, BOTTOM = 17, 80

# Pip places per rank: (column, fraction of the way from top to bottom row).
PIP_LAYOUTS = {
    2: [("c", 0), ("c", 1)],
    3: [("c", 0), ("c", 0.5), ("c", 1)],
    4: [("l", 0), ("r", 0), ("l", 1), ("r", 1)],
    5: [("l", 0), ("r", 0), ("c", 0.5), ("l", 1), ("r", 1)],
    6: [(c, f) for f in (0, 0.5, 1) for c in ("l", "r")],
    7: [(c, f) for f in (0, 0.5, 1) for c in ("l", "r")] + [("c", 0.25)],
    8: [(c, f) for f in (0, 0.5, 1) for c in ("l", "r")] + [("c", 0.25), ("c", 0.75)],
    9: [(c, f) for f in (0, 1 / 3, 2 / 3, 1) for c in ("l", "r")] + [("c", 0.5)],
    10: [(c, f) for f in (0, 1 / 3, 2 / 3, 1) for c in ("l", "r")] + [("c", 1 / 6), ("c", 5 / 6)],
}


def card_blank():
    return ('<rect x="0.5" y="0.5" width="69" height="96" rx="5" ry="5" '
            'fill="#ffffff" stroke="#8c8c8c" stroke-width="1"/>\n')


def corner_index(suit, rank):
    """Rank and suit in the top-left corner, repeated upside down bottom-right."""
    label = RANK_TEXT.get(rank, str(rank))
    # "10" is two glyphs wide; squeeze it so it stays clear of the pips.
    squeeze = ' transform="translate(9,0) scale(0.66,1) translate(-9,0)"' if rank == 10 else ""
    index = text(9, 17, label, 17, SUITS[suit], extra=squeeze) + pip(suit, 9, 26.5, 11)
    return (f"<g>{index}</g>\n"
            f'<g transform="rotate(180 35 48.5)">{index}</g>\n')


def pip_face(suit, rank):
    size = 11 if rank >= 9 else 12.5
    out = ""
    for col, frac in PIP_LAYOUTS[rank]:
        y = TOP + (BOTTOM - TOP) * frac
        out += pip(suit, COLS[col], y, size, flip=y > CARD_H / 2 + 0.1)
    return out


def ace_face(suit):
    colour = SUITS[suit]
    return (f'<circle cx="35" cy="48.5" r="19" fill="none" stroke="{colour}" '
            f'stroke-width="0.8" stroke-opacity="0.5"/>\n' + pip(suit, 35, 48.5, 28))


# Headwear of the court figures, in a box centred on (0, 0), 20 wide.
HEADWEAR = {
    11: '<path d="M-8,2 L-6,-5 L6,-7 L9,-2 L8,2 Z" fill="{c}"/>'                 # cap
        '<path d="M6,-7 C9,-10 12,-8 15,-9" fill="none" stroke="{c}" stroke-width="1.4"/>',
    12: '<path d="M-8,2 L-8,-3 L-4,0 L0,-6 L4,0 L8,-3 L8,2 Z" fill="#E8B400" stroke="{c}" '
        'stroke-width="0.8"/><circle cx="0" cy="-6.5" r="1.6" fill="{c}"/>',    # tiara
    13: '<path d="M-9,2 L-9,-7 L-4.5,-2 L0,-9 L4.5,-2 L9,-7 L9,2 Z" fill="#E8B400" '
        'stroke="{c}" stroke-width="0.8"/>',                                       # crown
}


def court_face(suit, rank):
    """A framed bust with rank-specific headwear over a large rank letter."""
    colour = SUITS[suit]
    hat = HEADWEAR[rank].replace("{c}", colour)
    return (
        f'<rect x="16" y="8" width="38" height="81" rx="3" ry="3" fill="{colour}" '
        f'fill-opacity="0.12" stroke="{colour}" stroke-width="1.2"/>\n'
        # shoulders, head, face
        f'<path d="M21,47 C21,38 27,34 35,34 C43,34 49,38 49,47 Z" fill="{colour}"/>\n'
        '<circle cx="35" cy="27" r="7.5" fill="#F6D7B0" stroke="#5a4632" stroke-width="0.6"/>\n'
        '<circle cx="32.3" cy="26.5" r="0.9" fill="#1a1a1a"/><circle cx="37.7" cy="26.5" '
        'r="0.9" fill="#1a1a1a"/>\n'
        '<path d="M32.5,30 Q35,32 37.5,30" fill="none" stroke="#5a4632" stroke-width="0.7"/>\n'
        f'<g transform="translate(35,19)">{hat}</g>\n'
        + text(35, 82, RANK_TEXT[rank], 27, colour)
        + pip(suit, 35, 53, 8)
    )


def card(suit, rank):
    if rank == 1:
        centre = ace_face(suit)
    elif rank >= 11:
        centre = court_face(suit, rank)
    else:
        centre = pip_face(suit, rank)
    return svg(CARD_W, CARD_H, card_blank() + corner_index(suit, rank) + centre)


# --- card back (shared by the deck and the pictures that show backs) ----------

BACK_GRADIENT = ('<linearGradient id="back" x1="0" y1="0" x2="1" y2="1">'
                 '<stop offset="0" stop-color="#2B4C9B"/><stop offset="1" stop-color="#14285C"/>'
                 '</linearGradient>')


def card_back(w, h):
    """A card back in a w×h box at the origin: navy field, lattice, round emblem."""
    border = max(2.0, w * 0.06)
    inner_w, inner_h = w - 2 * border, h - 2 * border
    step = max(6.0, w / 9)
    lattice = []
    n = int((inner_w + inner_h) / step) + 2
    for i in range(-n, n + 1):
        # Diagonal lines clipped by hand to the inner field (no clip paths).
        for direction in (1, -1):
            pts = _diagonal_in_box(border, border, inner_w, inner_h, i * step, direction)
            if pts:
                (x1, y1), (x2, y2) = pts
                lattice.append(f"M{fmt(x1)},{fmt(y1)} L{fmt(x2)},{fmt(y2)}")
    r = min(inner_w, inner_h) * 0.28
    cx, cy = w / 2, h / 2
    return (
        f'<rect x="0.5" y="0.5" width="{fmt(w - 1)}" height="{fmt(h - 1)}" rx="{fmt(w * 0.07)}" '
        f'fill="#ffffff" stroke="#8c8c8c" stroke-width="1"/>\n'
        f'<rect x="{fmt(border)}" y="{fmt(border)}" width="{fmt(inner_w)}" height="{fmt(inner_h)}" '
        f'rx="{fmt(w * 0.04)}" fill="url(#back)"/>\n'
        f'<path d="{" ".join(lattice)}" stroke="#7E9BE0" stroke-opacity="0.45" '
        f'stroke-width="{fmt(max(0.6, w / 120))}" fill="none"/>\n'
        f'<circle cx="{fmt(cx)}" cy="{fmt(cy)}" r="{fmt(r)}" fill="#14285C" stroke="#F2C14E" '
        f'stroke-width="{fmt(max(1.0, w / 60))}"/>\n'
        f'<path d="M{fmt(cx)},{fmt(cy - r * 0.7)} L{fmt(cx + r * 0.5)},{fmt(cy)} '
        f'L{fmt(cx)},{fmt(cy + r * 0.7)} L{fmt(cx - r * 0.5)},{fmt(cy)} Z" fill="#F2C14E"/>\n'
        f'<circle cx="{fmt(cx)}" cy="{fmt(cy)}" r="{fmt(r * 0.18)}" fill="#14285C"/>\n'
    )


def _diagonal_in_box(x, y, w, h, offset, direction):
    """End points of one lattice line inside the box at (x, y) of size w×h.

    direction 1 takes the down-right family u - v = const, -1 the down-left
    family u + v = const; offset picks the line. None when it misses the box.
    """
    if direction == 1:
        # points where u - v = offset + x - y
        k = offset + x - y
        cands = [(x, x - k), (x + w, x + w - k), (y + k, y), (y + h + k, y + h)]
    else:
        # u + v = offset + x + y + h  (mirrored family)
        k = offset + x + y + h
        cands = [(x, k - x), (x + w, k - x - w), (k - y, y), (k - y - h, y + h)]
    inside = sorted({(round(u, 3), round(v, 3)) for u, v in cands
                     if x - 1e-6 <= u <= x + w + 1e-6 and y - 1e-6 <= v <= y + h + 1e-6})
    if len(inside) < 2:
        return None
    return inside[0], inside[-1]


def placed_back(w, h, x, y, angle=0.0):
    """A card back of w×h whose centre sits at (x, y), turned by angle degrees."""
    return (f'<g transform="translate({fmt(x)},{fmt(y)}) rotate({fmt(angle)}) '
            f'translate({fmt(-w / 2)},{fmt(-h / 2)})">\n{card_back(w, h)}</g>\n')


# --- avatars --------------------------------------------------------------------

AVATAR_NAMES = [
    "Rumor Junkie", "Gamer", "Beatnik", "ALL CAPS!!!", "Tech Support", "Post Padder",
    "Forum Flirt", "Robot", "Sozzled Surfer", "Windows Zealot", "Linux Zealot", "No Dissent",
    "Push My Button", "Ringmaster", "Ray of Sunshine", "Uptight", "Spks in Tungz",
    "Jekyll and Hyde", "The Referee",
]

FACE = "#F6D7B0"
INK = "#1a1a1a"


def face(cx=32, cy=34, r=15):
    return f'<circle cx="{cx}" cy="{cy}" r="{r}" fill="{FACE}" stroke="{INK}" stroke-width="1.2"/>'


def eyes(y=31, dx=5, cx=32):
    return (f'<circle cx="{cx - dx}" cy="{y}" r="1.8" fill="{INK}"/>'
            f'<circle cx="{cx + dx}" cy="{y}" r="1.8" fill="{INK}"/>')


def bubble(fill):
    return (f'<path d="M14,16 H50 Q54,16 54,20 V38 Q54,42 50,42 H28 L20,50 L22,42 H14 '
            f'Q10,42 10,38 V20 Q10,16 14,16 Z" fill="{fill}" stroke="{INK}" stroke-width="1.5"/>')


AVATAR_SYMBOLS = [
    # Rumor Junkie: a speech bubble full of whispers
    ("#7B4FB8", bubble("#ffffff") + "".join(
        f'<circle cx="{x}" cy="29" r="3" fill="#7B4FB8"/>' for x in (22, 32, 42))),
    # Gamer: a game pad
    ("#2F6FD6", '<path d="M14,26 Q14,20 22,20 H42 Q50,20 50,26 L54,42 Q55,48 49,47 L42,40 H22 '
                'L15,47 Q9,48 10,42 Z" fill="#333a44" stroke="#ffffff" stroke-width="1.5"/>'
                '<path d="M19,30 h8 M23,26 v8" stroke="#ffffff" stroke-width="2.6"/>'
                '<circle cx="41" cy="28" r="2.2" fill="#F2C14E"/>'
                '<circle cx="45" cy="32" r="2.2" fill="#E0533D"/>'),
    # Beatnik: beret, shades and a goatee
    ("#B07A3B", face() + '<path d="M15,26 Q17,14 34,14 Q50,15 49,24 Q33,19 15,26 Z" fill="' + INK + '"/>'
                '<circle cx="36" cy="13" r="2" fill="' + INK + '"/>'
                '<rect x="21" y="29" width="9" height="5" rx="2" fill="' + INK + '"/>'
                '<rect x="34" y="29" width="9" height="5" rx="2" fill="' + INK + '"/>'
                '<path d="M30,31 h4" stroke="' + INK + '" stroke-width="1.2"/>'
                '<path d="M29,45 L32,51 L35,45 Z" fill="' + INK + '"/>'),
    # ALL CAPS!!!: shouting letters
    ("#D7263D", text(32, 41, "A!!", 24, "#ffffff", extra=' stroke="#7a0f1c" stroke-width="0.8"')),
    # Tech Support: a face wearing a headset
    ("#1E8C93", face() + eyes() + '<path d="M26,39 Q32,43 38,39" fill="none" stroke="' + INK + '" '
                'stroke-width="1.4"/>'
                '<path d="M16,34 Q16,15 32,15 Q48,15 48,34" fill="none" stroke="#333a44" stroke-width="3"/>'
                '<rect x="12" y="30" width="6" height="10" rx="2" fill="#333a44"/>'
                '<rect x="46" y="30" width="6" height="10" rx="2" fill="#333a44"/>'
                '<path d="M15,40 Q17,47 27,46" fill="none" stroke="#333a44" stroke-width="2"/>'
                '<circle cx="28" cy="46" r="2" fill="#333a44"/>'),
    # Post Padder: a page with far too many lines
    ("#E39B17", '<path d="M19,12 H40 L47,19 V52 H19 Z" fill="#ffffff" stroke="' + INK + '" '
                'stroke-width="1.5"/><path d="M40,12 V19 H47" fill="none" stroke="' + INK + '" '
                'stroke-width="1.2"/>' + "".join(
                    f'<path d="M23,{y} H{43 if i % 3 else 37}" stroke="#9aa3ad" stroke-width="1.6"/>'
                    for i, y in enumerate(range(22, 50, 4)))),
    # Forum Flirt: a heart that winks
    ("#E76FA2", '<path d="M32,52 C28,48 12,39 12,26 C12,17 25,13 32,23 C39,13 52,17 52,26 '
                'C52,39 36,48 32,52 Z" fill="#ffffff" stroke="#A3164F" stroke-width="1.5"/>'
                '<circle cx="26" cy="29" r="2" fill="#A3164F"/>'
                '<path d="M35,29 h6" stroke="#A3164F" stroke-width="2"/>'
                '<path d="M26,36 Q32,42 38,36" fill="none" stroke="#A3164F" stroke-width="1.8"/>'),
    # Robot: a square head with an aerial
    ("#6C7A89", '<path d="M32,10 V17" stroke="#dfe6ee" stroke-width="2"/>'
                '<circle cx="32" cy="10" r="2.5" fill="#E0533D"/>'
                '<rect x="16" y="17" width="32" height="29" rx="4" fill="#dfe6ee" stroke="' + INK + '" '
                'stroke-width="1.5"/><circle cx="25" cy="28" r="4" fill="#2F6FD6"/>'
                '<circle cx="39" cy="28" r="4" fill="#2F6FD6"/>'
                '<rect x="23" y="37" width="18" height="4" fill="' + INK + '"/>'
                '<path d="M27,37 v4 M32,37 v4 M37,37 v4" stroke="#dfe6ee" stroke-width="1"/>'
                '<rect x="12" y="26" width="4" height="9" fill="#9aa3ad"/>'
                '<rect x="48" y="26" width="4" height="9" fill="#9aa3ad"/>'),
    # Sozzled Surfer: a tipsy glass riding a wave
    ("#2BA6C9", '<path d="M11,44 Q19,36 26,44 Q34,52 42,42 Q50,32 54,40 V48 Q32,60 11,48 Z" '
                'fill="#ffffff" fill-opacity="0.9"/>'
                '<g transform="rotate(-18 32 28)"><path d="M20,14 H44 L32,30 Z" fill="#F2C14E" '
                'stroke="' + INK + '" stroke-width="1.3"/><path d="M32,30 V42 M25,42 H39" '
                'stroke="' + INK + '" stroke-width="1.8"/><circle cx="38" cy="18" r="2.4" '
                'fill="#5EA33A"/></g>'),
    # Windows Zealot: a four-pane window
    ("#3A86FF", '<rect x="15" y="15" width="34" height="34" rx="2" fill="#BEE3FF" stroke="#ffffff" '
                'stroke-width="3"/><path d="M32,15 V49 M15,32 H49" stroke="#ffffff" stroke-width="3"/>'
                '<path d="M18,22 l6,-4 M35,22 l6,-4" stroke="#ffffff" stroke-width="1.5"/>'),
    # Linux Zealot: a round penguin
    ("#F2B134", '<ellipse cx="32" cy="35" rx="14" ry="18" fill="' + INK + '"/>'
                '<ellipse cx="32" cy="39" rx="9" ry="12" fill="#ffffff"/>'
                '<circle cx="28" cy="25" r="2.6" fill="#ffffff"/><circle cx="36" cy="25" r="2.6" '
                'fill="#ffffff"/><circle cx="28.5" cy="25.5" r="1.2" fill="' + INK + '"/>'
                '<circle cx="35.5" cy="25.5" r="1.2" fill="' + INK + '"/>'
                '<path d="M28,29 L36,29 L32,33 Z" fill="#F28C28"/>'
                '<ellipse cx="26" cy="53" rx="5" ry="2.5" fill="#F28C28"/>'
                '<ellipse cx="38" cy="53" rx="5" ry="2.5" fill="#F28C28"/>'),
    # No Dissent: a face with its mouth zipped shut
    ("#8E9AAF", face() + eyes() + '<path d="M23,40 H41" stroke="' + INK + '" stroke-width="2"/>'
                + "".join(f'<path d="M{x},37.5 v5" stroke="' + INK + '" stroke-width="1"/>'
                          for x in range(25, 41, 3))
                + '<rect x="40" y="38" width="4" height="6" rx="1" fill="#9aa3ad" stroke="' + INK + '" '
                'stroke-width="0.6"/>'),
    # Push My Button: a big red button on a plinth
    ("#F4D35E", '<rect x="12" y="38" width="40" height="10" rx="3" fill="#555f6b"/>'
                '<ellipse cx="32" cy="38" rx="20" ry="6" fill="#7b8794"/>'
                '<path d="M18,36 V28 A14,6 0 0 1 46,28 V36 A14,6 0 0 1 18,36 Z" fill="#B51F2E"/>'
                '<ellipse cx="32" cy="28" rx="14" ry="6" fill="#E0533D"/>'
                '<ellipse cx="28" cy="26.5" rx="5" ry="2" fill="#ffffff" fill-opacity="0.5"/>'),
    # Ringmaster: a top hat with a band
    ("#9B1D20", '<ellipse cx="32" cy="46" rx="22" ry="5" fill="' + INK + '"/>'
                '<path d="M20,46 V16 Q32,12 44,16 V46 Z" fill="' + INK + '"/>'
                '<rect x="20" y="36" width="24" height="6" fill="#F2C14E"/>'
                '<path d="M24,18 V34" stroke="#555" stroke-width="2"/>'),
    # Ray of Sunshine: a smiling sun
    ("#6EC1E4", "".join(
        f'<path d="M32,32 L{fmt(32 + 26 * math.cos(math.radians(a - 9)))},'
        f'{fmt(32 + 26 * math.sin(math.radians(a - 9)))} '
        f'L{fmt(32 + 26 * math.cos(math.radians(a + 9)))},'
        f'{fmt(32 + 26 * math.sin(math.radians(a + 9)))} Z" fill="#FFC83D"/>'
        for a in range(0, 360, 30))
     + '<circle cx="32" cy="32" r="13" fill="#FFD84D" stroke="#E39B17" stroke-width="1.5"/>'
     + eyes(y=30, dx=4) + '<path d="M26,35 Q32,41 38,35" fill="none" stroke="' + INK + '" '
     'stroke-width="1.5"/>'),
    # Uptight: a buttoned collar and a tight tie
    ("#4A5A6A", '<path d="M16,14 H48 V52 H16 Z" fill="#ffffff"/>'
                '<path d="M16,14 L32,26 L48,14" fill="none" stroke="' + INK + '" stroke-width="1.5"/>'
                '<path d="M28,23 H36 L34.5,29 H29.5 Z" fill="#B51F2E"/>'
                '<path d="M29.5,29 H34.5 L37,48 L32,53 L27,48 Z" fill="#B51F2E"/>'
                '<path d="M30,20 L32,26 L34,20" fill="none" stroke="' + INK + '" stroke-width="1"/>'),
    # Spks in Tungz: a bubble of foreign letters
    ("#2E9E6B", bubble("#ffffff") + text(32, 35, "Жω¿", 15, "#2E9E6B")),
    # Jekyll and Hyde: half kind, half wicked
    ("#5B3F7A", '<path d="M32,17 A17,17 0 0 0 32,51 Z" fill="' + FACE + '"/>'
                '<path d="M32,17 A17,17 0 0 1 32,51 Z" fill="#6E8B3D"/>'
                '<circle cx="32" cy="34" r="17" fill="none" stroke="' + INK + '" stroke-width="1.2"/>'
                '<circle cx="25" cy="30" r="2" fill="' + INK + '"/>'
                '<path d="M36,27 L42,30 L36,31 Z" fill="#E0533D"/>'
                '<path d="M22,38 Q26,43 31,40" fill="none" stroke="' + INK + '" stroke-width="1.5"/>'
                '<path d="M33,42 L36,39 L39,42 L42,39" fill="none" stroke="' + INK + '" '
                'stroke-width="1.5"/>'),
    # The Referee: a striped shirt and a whistle
    ("#2F2F2F", '<path d="M14,22 L24,14 H40 L50,22 L46,30 L42,27 V52 H22 V27 L18,30 Z" '
                'fill="#ffffff" stroke="#ffffff" stroke-width="1"/>'
                + "".join(f'<rect x="{x}" y="16" width="3.5" height="36" fill="' + INK + '"/>'
                          for x in (25, 31.5, 38))
                + '<path d="M28,14 Q32,20 36,14" fill="none" stroke="' + INK + '" stroke-width="1.5"/>'
                '<rect x="39" y="34" width="12" height="6" rx="3" fill="#C0C6CC" stroke="' + INK + '" '
                'stroke-width="0.8"/><circle cx="46" cy="37" r="1.4" fill="' + INK + '"/>'),
]


def avatar(colour, symbol):
    gradient = ('<radialGradient id="shine" cx="0.35" cy="0.3" r="0.8">'
                '<stop offset="0" stop-color="#ffffff" stop-opacity="0.35"/>'
                '<stop offset="1" stop-color="#ffffff" stop-opacity="0"/></radialGradient>')
    body = (f'<circle cx="32" cy="32" r="30" fill="{colour}"/>\n'
            '<circle cx="32" cy="32" r="30" fill="url(#shine)"/>\n'
            f"{symbol}\n"
            '<circle cx="32" cy="32" r="30" fill="none" stroke="#ffffff" stroke-width="2.5"/>\n'
            '<circle cx="32" cy="32" r="31.4" fill="none" stroke="#333333" stroke-width="0.8"/>\n')
    return svg(64, 64, body, gradient)


# --- pictures -------------------------------------------------------------------

def background():
    w, h = 793, 465
    defs = ('<radialGradient id="felt" cx="0.5" cy="0.5" r="0.75">'
            '<stop offset="0" stop-color="#2F8F4E"/><stop offset="0.65" stop-color="#1E6B38"/>'
            '<stop offset="1" stop-color="#0B3A1C"/></radialGradient>')
    rng = random.Random(1965)  # fixed seed: the texture is the same on every run
    fibres = []
    for _ in range(900):
        x, y = rng.uniform(0, w), rng.uniform(0, h)
        a = rng.uniform(0, math.pi)
        length = rng.uniform(2, 6)
        fibres.append(f"M{fmt(x)},{fmt(y)} l{fmt(length * math.cos(a))},{fmt(length * math.sin(a))}")
    half = len(fibres) // 2
    body = (f'<rect width="{w}" height="{h}" fill="url(#felt)"/>\n'
            f'<path d="{" ".join(fibres[:half])}" stroke="#ffffff" stroke-opacity="0.05" '
            'stroke-width="1" fill="none"/>\n'
            f'<path d="{" ".join(fibres[half:])}" stroke="#000000" stroke-opacity="0.07" '
            'stroke-width="1" fill="none"/>\n')
    return svg(w, h, body, defs)


def deck():
    return svg(160, 223, card_back(160, 223), BACK_GRADIENT)


def boneyard():
    w, h = 406, 491
    defs = ('<linearGradient id="stone" x1="0" y1="0" x2="1" y2="0">'
            '<stop offset="0" stop-color="#9AA0A6"/><stop offset="0.5" stop-color="#C3C8CC"/>'
            '<stop offset="1" stop-color="#7D8389"/></linearGradient>')
    grass = " ".join(
        f"M{x},{h - 40} l{(x * 7) % 11 - 5},-{14 + (x * 13) % 17}" for x in range(12, w - 8, 9))
    body = (
        f'<path d="M40,{h - 40} L58,{h - 70} H348 L366,{h - 40} Z" fill="#6B7076"/>\n'
        f'<path d="M78,{h - 70} V170 A125,125 0 0 1 328,170 V{h - 70} Z" fill="url(#stone)" '
        'stroke="#4F555B" stroke-width="4"/>\n'
        '<path d="M96,170 A107,107 0 0 1 310,170" fill="none" stroke="#ffffff" stroke-opacity="0.35" '
        'stroke-width="3"/>\n'
        + text(203, 215, "R.I.P.", 64, "#4F555B")
        + '<rect x="128" y="238" width="150" height="4" fill="#4F555B"/>\n'
        + pip("s", 160, 290, 40) + pip("h", 246, 290, 40)
        + pip("c", 160, 355, 40) + pip("d", 246, 355, 40)
        + '<path d="M300,120 L286,150 L298,170 L280,205" fill="none" stroke="#4F555B" '
        'stroke-width="3"/>\n'
        f'<rect x="0" y="{h - 40}" width="{w}" height="40" fill="#3E7B32"/>\n'
        f'<path d="{grass}" stroke="#5EA33A" stroke-width="3" fill="none"/>\n'
    )
    return svg(w, h, body, defs)


def server():
    defs = ('<linearGradient id="case" x1="0" y1="0" x2="1" y2="0">'
            '<stop offset="0" stop-color="#4A5560"/><stop offset="1" stop-color="#2B333B"/>'
            '</linearGradient>')
    bays = ""
    for i, y in enumerate((22, 52, 82)):
        bays += (f'<rect x="30" y="{y}" width="68" height="24" rx="3" fill="#1C2228" '
                 'stroke="#6C7A89" stroke-width="1.5"/>\n'
                 f'<path d="M38,{y + 8} H72 M38,{y + 16} H72" stroke="#6C7A89" stroke-width="2"/>\n'
                 f'<circle cx="82" cy="{y + 12}" r="3.5" fill="{"#3DDC84" if i != 1 else "#F2C14E"}"/>\n'
                 f'<circle cx="91" cy="{y + 12}" r="2.5" fill="#2F6FD6"/>\n')
    body = ('<rect x="22" y="10" width="84" height="108" rx="8" fill="url(#case)" '
            'stroke="#1a1a1a" stroke-width="2"/>\n' + bays
            + '<rect x="34" y="118" width="12" height="6" fill="#1a1a1a"/>'
              '<rect x="82" y="118" width="12" height="6" fill="#1a1a1a"/>\n')
    return svg(128, 128, body, defs)


def pickup():
    w, h = 301, 193
    # Fanned around one pivot below the picture, as a hand holds them.
    pivot_x, pivot_y, radius = 150.5, 235, 140
    cards = "".join(
        placed_back(92, 128, pivot_x + radius * math.sin(math.radians(a)),
                    pivot_y - radius * math.cos(math.radians(a)), a)
        for a in range(-30, 31, 10))
    return svg(w, h, cards, BACK_GRADIENT)


def kill():
    w, h = 250, 198
    defs = BACK_GRADIENT + (
        '<linearGradient id="blade" x1="0" y1="0" x2="0" y2="1">'
        '<stop offset="0" stop-color="#F4F6F8"/><stop offset="1" stop-color="#9AA3AD"/>'
        '</linearGradient>')
    body = (
        placed_back(110, 152, 112, 104, -8)
        # the cut: a dark gash across the back
        + '<path d="M60,80 L165,141 L162,146 L57,85 Z" fill="#111111"/>\n'
        + '<g transform="rotate(30 125 99)">'
          '<path d="M40,92 H170 L200,99 L170,106 H40 Z" fill="url(#blade)" stroke="#555f6b" '
          'stroke-width="1.5"/>'
          '<rect x="6" y="88" width="36" height="22" rx="6" fill="#6B3E1E" stroke="#3B2210" '
          'stroke-width="1.5"/>'
          '<circle cx="16" cy="99" r="2.5" fill="#C3C8CC"/><circle cx="31" cy="99" r="2.5" '
          'fill="#C3C8CC"/></g>\n'
    )
    return svg(w, h, body, defs)


def deal():
    w, h = 153, 140
    defs = BACK_GRADIENT + (
        '<radialGradient id="felt" cx="0.5" cy="0.5" r="0.7">'
        '<stop offset="0" stop-color="#2F8F4E"/><stop offset="1" stop-color="#14502A"/>'
        '</radialGradient>')
    body = (f'<rect x="1" y="1" width="{w - 2}" height="{h - 2}" rx="10" fill="url(#felt)" '
            'stroke="#6B3E1E" stroke-width="2"/>\n'
            + placed_back(30, 42, 40, 35, -6) + placed_back(30, 42, 76, 32, 0)
            + placed_back(30, 42, 112, 35, 6)
            + placed_back(30, 42, 30, 94, -10)
            + placed_back(30, 42, 123, 94, 10)
            # the dealt pair, face up in the middle
            + '<g transform="translate(58,76) scale(0.42)">' + card_blank()
            + corner_index("h", 1) + ace_face("h") + "</g>\n"
            + '<g transform="translate(78,80) rotate(8) scale(0.42)">' + card_blank()
            + corner_index("s", 13) + court_face("s", 13) + "</g>\n")
    return svg(w, h, body, defs)


def register():
    w, h = 404, 196
    defs = ('<linearGradient id="face" x1="0" y1="0" x2="0" y2="1">'
            '<stop offset="0" stop-color="#FFC15E"/><stop offset="0.55" stop-color="#F58A07"/>'
            '<stop offset="1" stop-color="#C65F00"/></linearGradient>')
    word = "Register"
    # Relief: a stack of darker copies below-right, a light rim above-left.
    layers = "".join(text(202 + d, 128 + d, word, 80, "#7A3A00") for d in range(6, 0, -1))
    layers += text(200, 126, word, 80, "#FFE3B0")
    layers += text(202, 128, word, 80, "url(#face)", extra=' stroke="#A04A00" stroke-width="1.5"')
    return svg(w, h, layers, defs)


def artwork():
    """Every generated file: relative path under res/ -> contents."""
    files = {}
    for suit in SUITS:
        for rank in range(1, 14):
            files[f"cards/{suit}{rank:02d}.svg"] = card(suit, rank)
    assert len(AVATAR_SYMBOLS) == len(AVATAR_NAMES)
    for i, (colour, symbol) in enumerate(AVATAR_SYMBOLS):
        files[f"avatars/avatar{i:02d}.svg"] = avatar(colour, symbol)
    files["avatars/names.txt"] = "".join(name + "\n" for name in AVATAR_NAMES)
    pictures = {"background": background, "deck": deck, "boneyard": boneyard, "server": server,
                "pickup": pickup, "kill": kill, "deal": deal, "register": register}
    for name, draw in pictures.items():
        files[f"pictures/{name}.svg"] = draw()
    return files


def main(argv):
    files = artwork()
    if argv[1:] == ["--check"]:
        stale = [rel for rel, content in files.items()
                 if not (RES / rel).is_file()
                 or (RES / rel).read_text(encoding="utf-8") != content]
        for rel in stale:
            print(f"res/{rel} differs from what scripts/make-artwork.py draws", file=sys.stderr)
        return 1 if stale else 0
    if argv[1:]:
        print("usage: make-artwork.py [--check]", file=sys.stderr)
        return 2
    for rel, content in files.items():
        path = RES / rel
        path.parent.mkdir(parents=True, exist_ok=True)
        path.write_text(content, encoding="utf-8")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
