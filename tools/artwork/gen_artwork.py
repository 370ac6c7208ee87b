#!/usr/bin/env python3
"""Draws the bitmaps of one plug-in's editor at 1x and at 2x.

    gen_artwork.py eq|compressor OUTPUT_FOLDER

The layouts below place each control where the plug-in's controller attaches it (top-left
corner in 1x pixels); the bitmap sizes are chosen so that no two controls overlap and the
knob columns share their centres. The scale printed around each knob puts every mark where
that parameter's own mapping (range, break points, the frames its control uses) turns the
pointer for that value.
"""

import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import panel  # noqa: E402
from panel import (KnobGeometry, VUGeometry, clamped_strip_angle, param_position,  # noqa: E402
                   strip_angle)

EDITOR_W, EDITOR_H = 920, 315
EAR_W = 18
SCALES = (1, 2)


# ---- what both editors share -----------------------------------------------------------------


def full_travel(minimum, maximum, break_points=None):
    return lambda v: strip_angle(param_position(v, minimum, maximum, break_points))


def limited_travel(minimum, maximum, break_points, first, last):
    return lambda v: clamped_strip_angle(param_position(v, minimum, maximum, break_points),
                                         first, last)


def draw_plate(ctx, style, product, kind):
    panel.faceplate(ctx, EDITOR_W, EDITOR_H, style["plate_top"], style["plate_bottom"])
    panel.rack_ear(ctx, 0, EAR_W, EDITOR_H, style["ear"])
    panel.rack_ear(ctx, EDITOR_W - EAR_W, EAR_W, EDITOR_H, style["ear"])
    ink, accent = style["ink"], style["accent"]
    panel.engraved(ctx, 34, 33, "ORVANE", 22, ink, align="left", bold=True, spacing=2.0)
    panel.engraved(ctx, 160, 33, product, 22, accent, align="left", bold=True, spacing=2.0)
    panel.engraved(ctx, 160 + 14.5 * len(product) + 14, 32, kind, 9, ink, align="left",
                   spacing=1.5)
    panel.engraved(ctx, EDITOR_W - 34, 31, "QUENMARK", 12, ink, align="right", bold=True,
                   spacing=3.0)
    panel.groove(ctx, EAR_W + 6, 42, EDITOR_W - EAR_W - 8, 42)
    logo_badge(ctx, style)


def logo_badge(ctx, style):
    """The maker's badge where the version control sits (53, 53 to 100, 147); its bottom
    band stays plain so the version text that a click shows there is legible."""
    x, y, w, h = 53, 53, 47, 94
    panel.rounded_rect(ctx, x, y, w, h, 4)
    badge = panel.cairo.LinearGradient(x, y, x + w, y + h)
    badge.add_color_stop_rgb(0.0, 0.86, 0.86, 0.84)
    badge.add_color_stop_rgb(1.0, 0.62, 0.62, 0.60)
    ctx.set_source(badge)
    ctx.fill_preserve()
    ctx.set_source_rgba(0, 0, 0, 0.6)
    ctx.set_line_width(1.0)
    ctx.stroke()
    cx = x + w / 2.0
    ctx.set_source_rgba(*panel.rgb(style["badge"]))
    ctx.arc(cx, y + 30, 15, 0, 2 * panel.math.pi)
    ctx.fill()
    panel.text(ctx, cx, y + 37, "Q", 20, (0.95, 0.93, 0.88, 1.0), bold=True)
    panel.text(ctx, cx, y + 60, "ORVANE", 6.5, (0.15, 0.15, 0.15, 1.0), bold=True, spacing=0.8)
    panel.text(ctx, cx, y + 70, "AUDIO", 5.5, (0.25, 0.25, 0.25, 1.0), spacing=1.2)


def background_surface(scale):
    """The editor's background, drawn in editor units. The editor shows its background one
    device pixel above the top edge (bitmap row 1 on the first row), so the drawing goes one
    device pixel down: the scales then sit around the knobs drawn over them."""
    surface, ctx = panel.new_surface(EDITOR_W, EDITOR_H, scale)
    ctx.set_source_rgb(0, 0, 0)  # the row above the editor, never shown, stays opaque
    ctx.paint()
    ctx.translate(0, 1.0 / scale)
    return surface, ctx


def section(ctx, x0, x1, y0, y1, title, style):
    panel.recessed_panel(ctx, x0, y0, x1 - x0, y1 - y0, 5.0, (0, 0, 0, 0.16))
    panel.engraved(ctx, (x0 + x1) / 2.0, y0 + 11, title, 8, style["accent"], bold=True,
                   spacing=1.4)


def knob_scales(ctx, knobs, sizes, style):
    for x, y, size_name, marks, angle_of, label in knobs:
        geometry = KnobGeometry(sizes[size_name])
        panel.knob_scale(ctx, x, y, geometry, marks, angle_of, style["ink"], label,
                         accent=style["travel"])


def render(out_dir, bitmaps, scale):
    suffix = "" if scale == 1 else "2x"
    for name, draw in bitmaps:
        surface = draw(scale)
        panel.write_png(surface, os.path.join(out_dir, f"{name}{suffix}.png"))


def marks(*pairs):
    """(value, numeral) pairs; a bare number is a tick without numeral."""
    out = []
    for p in pairs:
        out.append(p if isinstance(p, tuple) else (p, None))
    return out


# ---- the equaliser ----------------------------------------------------------------------------

EQ_STYLE = dict(plate_top="#46505c", plate_bottom="#262c34", ear="#5a5f66",
                ink=panel.rgb("#ece6d6"), accent=panel.rgb("#e9b44c"),
                travel=panel.rgb("#e9b44c", 0.55), badge="#23406b")
EQ_SIZES = dict(large=80, medium=76, small=64)
EQ_VU = (144, 96)
EQ_VU_AT = (750, 87)

GAIN16 = marks((-16, "-16"), -12, (-8, "-8"), -4, (0, "0"), 4, (8, "+8"), 12, (16, "+16"))


def eq_knobs():
    hp_bp = [(0, 20), (0.168478, 36), (0.543478, 105), (1, 330)]
    ls_bp = [(0, 33), (0.244565, 66), (0.744565, 130), (1, 270)]
    lm_bp = [(0, 40), (0.195652, 80), (0.402174, 150), (0.581522, 300), (0.798913, 600),
             (1, 1200)]
    hm_bp = [(0, 600), (0.195652, 1200), (0.402174, 2500), (0.581522, 5000),
             (0.798913, 10000), (1, 18000)]
    hs_bp = [(0, 3300), (0.246217, 5000), (0.746217, 10000), (1, 15000)]
    lp_bp = [(0, 3900), (0.429348, 8200), (0.809783, 16000), (1, 22000)]
    gain = full_travel(-16, 16)
    q = full_travel(0.667, 4)
    q_marks = marks((0.667, ".7"), 1, (1.5, "1.5"), 2, (2.5, "2.5"), 3, (4, "4"))
    return [
        (52, 177, "medium", marks((20, "20"), 30, (36, "36"), 50, 70, (105, "105"), 200,
                                  (330, "330")),
         limited_travel(20, 330, hp_bp, 16, 43), "HIGH PASS"),
        (175, 213, "medium", marks((33, "33"), 50, (66, "66"), 100, (130, "130"), 200,
                                   (270, "270")),
         full_travel(33, 270, ls_bp), "FREQ"),
        (173, 56, "large", GAIN16, gain, "GAIN"),
        (302, 213, "medium", marks((40, "40"), (80, "80"), (150, "150"), (300, "300"),
                                   (600, "600"), (1200, "1.2k")),
         full_travel(40, 1200, lm_bp), "FREQ"),
        (308, 146, "small", q_marks, q, "Q"),
        (300, 56, "large", GAIN16, gain, "GAIN"),
        (426, 213, "medium", marks((600, ".6k"), (1200, "1.2k"), (2500, "2.5k"), (5000, "5k"),
                                   (10000, "10k"), (18000, "18k")),
         full_travel(600, 18000, hm_bp), "FREQ"),
        (432, 146, "small", q_marks, q, "Q"),
        (424, 56, "large", GAIN16, gain, "GAIN"),
        (552, 213, "medium", marks((3300, "3.3k"), 4000, (5000, "5k"), 7500, (10000, "10k"),
                                   12500, (15000, "15k")),
         full_travel(3300, 15000, hs_bp), "FREQ"),
        (550, 56, "large", GAIN16, gain, "GAIN"),
        (668, 177, "medium", marks((3900, "3.9k"), 6000, (8200, "8.2k"), 12000,
                                   (16000, "16k"), (22000, "22k")),
         limited_travel(3900, 22000, lp_bp, 18, 46), "LOW PASS"),
        (811, 207, "large", marks((-18, "-18"), -12, (-6, "-6"), (0, "0"), (6, "+6"), 12,
                                  (18, "+18")),
         full_travel(-18, 18), "OUTPUT"),
    ]


def vu_db_travel(span):
    """A meter whose value is dB / span + 1: frame i of 61 shows (i / 60 - 1) x span dB."""
    return lambda db: panel.VU_START_DEG + panel.VU_SWEEP_DEG * (db / span + 1.0)


LEVEL_MARKS = marks((-60, "60"), -50, (-40, "40"), -30, (-20, "20"), -15, (-10, "10"),
                    -6, -3, (0, "0"))


def eq_background(scale):
    surface, ctx = background_surface(scale)
    draw_plate(ctx, EQ_STYLE, "EQ", "SIX-BAND EQUALISER")
    section(ctx, 36, 146, 156, 305, "FILTER", EQ_STYLE)
    section(ctx, 163, 263, 44, 305, "LOW SHELF", EQ_STYLE)
    section(ctx, 290, 390, 44, 305, "LOW MID", EQ_STYLE)
    section(ctx, 414, 514, 44, 305, "HIGH MID", EQ_STYLE)
    section(ctx, 540, 640, 44, 305, "HIGH SHELF", EQ_STYLE)
    section(ctx, 656, 756, 156, 305, "FILTER", EQ_STYLE)
    knob_scales(ctx, eq_knobs(), EQ_SIZES, EQ_STYLE)
    g = VUGeometry(*EQ_VU)
    panel.vu_face(ctx, EQ_VU_AT[0], EQ_VU_AT[1], g, LEVEL_MARKS, vu_db_travel(60.0), "OUTPUT",
                  red_from=-6)
    panel.vu_pivot_cover(ctx, EQ_VU_AT[0], EQ_VU_AT[1], g)
    panel.engraved(ctx, EQ_VU_AT[0] + EQ_VU[0] / 2.0, 74, "LEVEL", 8, EQ_STYLE["accent"],
                   bold=True, spacing=1.4)
    return surface


def eq_bitmaps():
    cap, pointer = "#1d1e21", "#f4efe2"
    return [
        ("background", eq_background),
        ("vu", lambda s: panel.needle_strip(*EQ_VU, s, (0.1, 0.08, 0.06, 1.0))),
        ("knob_lrg", lambda s: panel.knob_strip(EQ_SIZES["large"], s, cap, pointer)),
        ("knob_med", lambda s: panel.knob_strip(EQ_SIZES["medium"], s, cap, pointer)),
        ("knob_sml", lambda s: panel.knob_strip(EQ_SIZES["small"], s, "#30333a", pointer)),
    ]


# ---- the compressor ---------------------------------------------------------------------------

COMP_STYLE = dict(plate_top="#4d4741", plate_bottom="#2a2622", ear="#615b55",
                  ink=panel.rgb("#f0e8d4"), accent=panel.rgb("#f08a3c"),
                  travel=panel.rgb("#f08a3c", 0.55), badge="#7a2320")
COMP_SIZES = dict(large=70, medium=64)
COMP_VU = (156, 100)
COMP_LEVEL_AT = (418, 92)
COMP_GR_AT = (626, 138)
BUTTON = (40, 24)


def compressor_knobs():
    ratio_bp = [(0.0, 1.5), (0.2, 2.0), (0.4, 3.0), (0.6, 5.0), (0.8, 10.0), (1.0, 50.0)]
    return [
        (51, 180, "large", marks((-18, "-18"), -12, (-6, "-6"), (0, "0"), (6, "+6"), 12,
                                 (18, "+18")), full_travel(-18, 18), "INPUT"),
        (300, 68, "large", marks((-50, "-50"), (-40, "-40"), (-30, "-30"), (-20, "-20"),
                                 (-10, "-10")), full_travel(-50, -10), "THRESHOLD"),
        (173, 68, "large", marks((1.5, "1.5"), (2, "2"), (3, "3"), (5, "5"), (10, "10"),
                                 20, (50, "50")), full_travel(1.5, 50, ratio_bp), "RATIO"),
        (173, 180, "large", marks((0, "0"), 0.25, (0.5, ".5"), 0.75, (1, "1")),
         full_travel(0, 1), "ATTACK"),
        (300, 180, "large", marks((0.1, ".1"), (1, "1"), (2, "2"), (3, "3"), (4, "4")),
         full_travel(0.1, 4), "RELEASE"),
        (793, 68, "large", marks((0, "0"), (10, "10"), (20, "20"), (30, "30"), (40, "40")),
         full_travel(0, 40), "MAKE-UP"),
        (796, 186, "medium", marks((0, "0"), 25, (50, "50"), 75, (100, "100")),
         full_travel(0, 100), "BLEND"),
    ]


# The gain-reduction scale is linear in dB over its 20 dB, so single dB crowd near 0: numerals
# every 5 dB, plain ticks between.
GR_MARKS = marks((-20, "20"), (-15, "15"), (-10, "10"), -7, (-5, "5"), -3,
                 -2, -1, (0, "0"))


def compressor_background(scale):
    surface, ctx = background_surface(scale)
    draw_plate(ctx, COMP_STYLE, "COMPRESSOR", "")
    section(ctx, 36, 136, 156, 305, "INPUT", COMP_STYLE)
    section(ctx, 158, 385, 44, 305, "DYNAMICS", COMP_STYLE)
    section(ctx, 404, 790, 44, 305, "METERS", COMP_STYLE)
    panel.engraved(ctx, 828, 55, "OUTPUT", 8, COMP_STYLE["accent"], bold=True, spacing=1.4)
    knob_scales(ctx, compressor_knobs(), COMP_SIZES, COMP_STYLE)
    g = VUGeometry(*COMP_VU)
    for (x, y), title, marks_, travel, red in (
            (COMP_LEVEL_AT, "LEVEL", LEVEL_MARKS, vu_db_travel(60.0), -6),
            (COMP_GR_AT, "GAIN REDUCTION", GR_MARKS, vu_db_travel(20.0), None)):
        panel.vu_face(ctx, x, y, g, marks_, travel, title, red_from=red)
        panel.vu_pivot_cover(ctx, x, y, g)
    ink, accent = COMP_STYLE["ink"], COMP_STYLE["accent"]
    bx, by = 244, 131
    panel.engraved(ctx, bx + BUTTON[0] / 2.0, by + BUTTON[1] + 11, "AUTO", 7.5, ink, bold=True,
                   spacing=0.8)
    mx, my = 440, 199
    panel.engraved(ctx, mx + BUTTON[0] + 8, my + 10, "METER", 7.5, ink, align="left",
                   bold=True, spacing=0.8)
    panel.engraved(ctx, mx + BUTTON[0] + 8, my + 20, "OUTPUT", 7.5, accent, align="left",
                   bold=True, spacing=0.8)
    return surface


def compressor_bitmaps():
    cap, pointer = "#1d1e21", "#f4efe2"
    needle = (0.1, 0.08, 0.06, 1.0)
    return [
        ("background", compressor_background),
        ("vu", lambda s: panel.needle_strip(*COMP_VU, s, needle)),
        ("vu_rd", lambda s: panel.needle_strip(*COMP_VU, s, (0.82, 0.07, 0.05, 1.0))),
        ("knob_lrg", lambda s: panel.knob_strip(COMP_SIZES["large"], s, cap, pointer)),
        ("knob_med", lambda s: panel.knob_strip(COMP_SIZES["medium"], s, cap, pointer)),
        ("btn_rd", lambda s: panel.button_strip(*BUTTON, s, "#d4202a")),
        ("btn_yel", lambda s: panel.button_strip(*BUTTON, s, "#f5c518")),
    ]


PLUGINS = {"eq": eq_bitmaps, "compressor": compressor_bitmaps}


def main(argv):
    if len(argv) != 3 or argv[1] not in PLUGINS:
        sys.stderr.write(__doc__)
        return 2
    out_dir = argv[2]
    os.makedirs(out_dir, exist_ok=True)
    for scale in SCALES:
        render(out_dir, PLUGINS[argv[1]](), scale)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
