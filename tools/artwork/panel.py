"""Drawing pieces shared by both editors' artwork: the brushed faceplate, rack screws, knob
strips, scales printed around a knob, VU faces and needle strips, lamp buttons and lettering.

Everything is drawn in 1x panel units on a cairo context that the caller has scaled, so one
drawing serves the 1x and the 2x bitmap and the 2x twin is sharp rather than upscaled.
"""

import atexit
import math
import os
import shutil
import sys
import tempfile

# The lettering is drawn with these font files and no others, whatever else a machine has
# installed: each is offered to cairo under a family name of its own through a fontconfig
# configuration that lists only them, so that no preference or substitution of the machine's
# fontconfig can put another face in. ORVANE_ARTWORK_FONTS names another folder to take them
# from. Each entry: the family cairo is asked for, bold or not, the file, the Debian package.
FONT = "Orvane Artwork Sans"
FONT_CONDENSED = "Orvane Artwork Sans Condensed"
FONT_DIR = os.environ.get("ORVANE_ARTWORK_FONTS", "/usr/share/fonts/truetype/dejavu")
FONT_FILES = [
    (FONT, False, "DejaVuSans.ttf", "fonts-dejavu-core"),
    (FONT, True, "DejaVuSans-Bold.ttf", "fonts-dejavu-core"),
    (FONT_CONDENSED, False, "DejaVuSansCondensed.ttf", "fonts-dejavu-extra"),
]


def _offer_only_the_named_fonts():
    missing = [(f, pkg) for _, _, f, pkg in FONT_FILES if not os.path.isfile(os.path.join(FONT_DIR, f))]
    if missing:
        for f, pkg in missing:
            sys.stderr.write("artwork: font file %s is missing (Debian package %s; tools/setup.sh "
                             "installs it)\n" % (os.path.join(FONT_DIR, f), pkg))
        sys.exit(1)
    work = tempfile.mkdtemp(prefix="orvane-artwork-fonts-")
    atexit.register(shutil.rmtree, work, True)
    fonts = os.path.join(work, "fonts")
    os.mkdir(fonts)
    rules = []
    for family, _, f, _ in FONT_FILES:
        os.symlink(os.path.join(os.path.abspath(FONT_DIR), f), os.path.join(fonts, f))
        rules.append('<match target="scan"><test name="file"><string>%s</string></test>'
                     '<edit name="family" mode="assign_replace"><string>%s</string></edit></match>'
                     % (os.path.join(fonts, f), family))
    config = os.path.join(work, "fonts.conf")
    with open(config, "w") as out:
        out.write('<?xml version="1.0"?>\n<!DOCTYPE fontconfig SYSTEM "urn:fontconfig:fonts.dtd">\n'
                  "<fontconfig><dir>%s</dir><cachedir>%s</cachedir>%s</fontconfig>\n"
                  % (fonts, os.path.join(work, "cache"), "".join(rules)))
    # fontconfig reads these when cairo first asks it for a font, which is after this.
    os.environ["FONTCONFIG_FILE"] = config
    os.environ.pop("FONTCONFIG_PATH", None)
    os.environ.pop("FONTCONFIG_SYSROOT", None)


_offer_only_the_named_fonts()

import cairo  # noqa: E402

# Knob travel: frame i of a 61-frame strip points at -135 + 270 * i / 60 degrees from straight
# up, clockwise, so that value 0 sits at seven o'clock and value 1 at five o'clock.
KNOB_FRAMES = 61
KNOB_START_DEG = -135.0
KNOB_SWEEP_DEG = 270.0

# VU travel: the needle swings 90 degrees about a pivot below the face.
VU_FRAMES = 61
VU_START_DEG = -45.0
VU_SWEEP_DEG = 90.0


def rgb(hex_colour, alpha=1.0):
    value = int(hex_colour.lstrip("#"), 16)
    return ((value >> 16) / 255.0, ((value >> 8) & 255) / 255.0, (value & 255) / 255.0, alpha)


def knob_angle_for_frame(frame_index):
    """The pointer angle (degrees from straight up, clockwise) of 0-based frame frame_index."""
    return KNOB_START_DEG + KNOB_SWEEP_DEG * frame_index / (KNOB_FRAMES - 1)


def polar(cx, cy, radius, degrees):
    a = math.radians(degrees)
    return cx + radius * math.sin(a), cy - radius * math.cos(a)


def new_surface(width, height, scale):
    surface = cairo.ImageSurface(cairo.FORMAT_ARGB32, int(width * scale), int(height * scale))
    ctx = cairo.Context(surface)
    ctx.scale(scale, scale)
    options = cairo.FontOptions()
    options.set_antialias(cairo.ANTIALIAS_GRAY)
    options.set_hint_style(cairo.HINT_STYLE_NONE)
    options.set_hint_metrics(cairo.HINT_METRICS_OFF)
    ctx.set_font_options(options)
    return surface, ctx


# ---- lettering ---------------------------------------------------------------------------------


def text(ctx, x, y, string, size, colour, align="centre", bold=False, font=FONT, spacing=0.0):
    """Draws string with its baseline at y; x is its centre, left or right edge."""
    ctx.select_font_face(font, cairo.FONT_SLANT_NORMAL,
                         cairo.FONT_WEIGHT_BOLD if bold else cairo.FONT_WEIGHT_NORMAL)
    ctx.set_font_size(size)
    width = ctx.text_extents(string).x_advance + spacing * max(len(string) - 1, 0)
    if align == "centre":
        x -= width / 2.0
    elif align == "right":
        x -= width
    ctx.set_source_rgba(*colour)
    if spacing == 0.0:
        ctx.move_to(x, y)
        ctx.show_text(string)
        return
    for ch in string:
        ctx.move_to(x, y)
        ctx.show_text(ch)
        x += ctx.text_extents(ch).x_advance + spacing


def engraved(ctx, x, y, string, size, colour, align="centre", bold=False, font=FONT, spacing=0.0):
    """Lettering pressed into the plate: a faint dark shadow above, the ink below it."""
    text(ctx, x, y - 0.6, string, size, (0, 0, 0, 0.45), align, bold, font, spacing)
    text(ctx, x, y, string, size, colour, align, bold, font, spacing)


# ---- faceplate -----------------------------------------------------------------------------------


def faceplate(ctx, width, height, top, bottom):
    """A brushed metal plate, darker towards the bottom, with fine horizontal grain."""
    gradient = cairo.LinearGradient(0, 0, 0, height)
    gradient.add_color_stop_rgba(0.0, *rgb(top))
    gradient.add_color_stop_rgba(1.0, *rgb(bottom))
    ctx.set_source(gradient)
    ctx.rectangle(0, 0, width, height)
    ctx.fill()
    # Grain: thin lines whose brightness follows a fixed pseudo-random sequence (no RNG state,
    # so every run draws the same bytes).
    ctx.set_line_width(0.5)
    for row in range(0, height * 2):
        shade = ((row * 7919) % 23) / 23.0
        ctx.set_source_rgba(1, 1, 1, 0.012 + 0.02 * shade)
        y = row * 0.5 + 0.25
        ctx.move_to(0, y)
        ctx.line_to(width, y)
        ctx.stroke()
    # Bevel: light top edge, dark bottom edge.
    ctx.set_line_width(1.0)
    ctx.set_source_rgba(1, 1, 1, 0.25)
    ctx.move_to(0, 0.5)
    ctx.line_to(width, 0.5)
    ctx.stroke()
    ctx.set_source_rgba(0, 0, 0, 0.6)
    ctx.move_to(0, height - 0.5)
    ctx.line_to(width, height - 0.5)
    ctx.stroke()


def rack_ear(ctx, x, width, height, colour):
    """The rack mounting strip at one side, with two slotted screws."""
    gradient = cairo.LinearGradient(x, 0, x + width, 0)
    gradient.add_color_stop_rgba(0.0, *rgb(colour))
    gradient.add_color_stop_rgba(0.5, *rgb(colour, 1.0)[:3], 1.0)
    gradient.add_color_stop_rgba(1.0, *[c * 0.7 for c in rgb(colour)[:3]], 1.0)
    ctx.set_source(gradient)
    ctx.rectangle(x, 0, width, height)
    ctx.fill()
    ctx.set_source_rgba(0, 0, 0, 0.5)
    ctx.set_line_width(1.0)
    for edge in (x + 0.5, x + width - 0.5):
        ctx.move_to(edge, 0)
        ctx.line_to(edge, height)
        ctx.stroke()
    for y in (24, height - 24):
        screw(ctx, x + width / 2.0, y, 5.0)


def screw(ctx, cx, cy, radius):
    ctx.arc(cx, cy, radius + 1.0, 0, 2 * math.pi)
    ctx.set_source_rgba(0, 0, 0, 0.45)
    ctx.fill()
    head = cairo.RadialGradient(cx - radius * 0.4, cy - radius * 0.4, 0.5, cx, cy, radius)
    head.add_color_stop_rgb(0.0, 0.92, 0.92, 0.90)
    head.add_color_stop_rgb(1.0, 0.45, 0.45, 0.44)
    ctx.set_source(head)
    ctx.arc(cx, cy, radius, 0, 2 * math.pi)
    ctx.fill()
    ctx.set_line_width(1.2)
    ctx.set_source_rgba(0.15, 0.15, 0.15, 0.9)
    dx, dy = polar(0, 0, radius * 0.8, 30)
    ctx.move_to(cx - dx, cy - dy)
    ctx.line_to(cx + dx, cy + dy)
    ctx.stroke()


def groove(ctx, x0, y0, x1, y1):
    """A milled line in the plate: dark with a light edge below or to the right."""
    ctx.set_line_width(1.0)
    ctx.set_source_rgba(0, 0, 0, 0.55)
    ctx.move_to(x0 + 0.5, y0 + 0.5)
    ctx.line_to(x1 + 0.5, y1 + 0.5)
    ctx.stroke()
    ctx.set_source_rgba(1, 1, 1, 0.12)
    ctx.move_to(x0 + 1.5, y0 + 1.5)
    ctx.line_to(x1 + 1.5, y1 + 1.5)
    ctx.stroke()


def recessed_panel(ctx, x, y, w, h, radius, fill):
    """A sunken rounded area (behind a meter or a section)."""
    rounded_rect(ctx, x, y, w, h, radius)
    ctx.set_source_rgba(*fill)
    ctx.fill()
    rounded_rect(ctx, x + 0.5, y + 0.5, w - 1, h - 1, radius)
    ctx.set_line_width(1.0)
    ctx.set_source_rgba(0, 0, 0, 0.6)
    ctx.stroke()
    ctx.move_to(x + radius, y + h + 0.5)
    ctx.line_to(x + w - radius, y + h + 0.5)
    ctx.set_source_rgba(1, 1, 1, 0.15)
    ctx.stroke()


def rounded_rect(ctx, x, y, w, h, r):
    ctx.new_sub_path()
    ctx.arc(x + w - r, y + r, r, -math.pi / 2, 0)
    ctx.arc(x + w - r, y + h - r, r, 0, math.pi / 2)
    ctx.arc(x + r, y + h - r, r, math.pi / 2, math.pi)
    ctx.arc(x + r, y + r, r, math.pi, 1.5 * math.pi)
    ctx.close_path()


# ---- knobs ---------------------------------------------------------------------------------------


class KnobGeometry:
    """Where the knob sits inside its square frame of side size: the cap, the tick ring and
    numerals drawn on the plate around it, and the name below."""

    def __init__(self, size):
        self.size = size
        self.cx = size / 2.0
        self.cy = size * 0.45
        self.radius = size * 0.27
        self.tick_inner = self.radius + 2.0
        self.tick_outer = self.radius + 5.0
        self.numeral_radius = self.radius + 10.0
        self.numeral_size = 7.0 if size >= 70 else 6.5
        self.label_y = self.cy + self.radius + 12.5


def knob_strip(size, scale, cap_colour, pointer_colour):
    """A 61-frame vertical strip of a knob whose pointer turns with the frame. Only the cap is
    opaque; around it the plate (and the scale printed on it) shows through."""
    surface, ctx = new_surface(size, size * KNOB_FRAMES, scale)
    geometry = KnobGeometry(size)
    for frame in range(KNOB_FRAMES):
        ctx.save()
        ctx.translate(0, frame * size)
        knob_cap(ctx, geometry, knob_angle_for_frame(frame), cap_colour, pointer_colour)
        ctx.restore()
    return surface


def knob_cap(ctx, g, angle, cap_colour, pointer_colour):
    cx, cy, r = g.cx, g.cy, g.radius
    # Drop shadow on the plate.
    shadow = cairo.RadialGradient(cx, cy + 2.0, r * 0.8, cx, cy + 2.0, r + 3.0)
    shadow.add_color_stop_rgba(0.0, 0, 0, 0, 0.55)
    shadow.add_color_stop_rgba(1.0, 0, 0, 0, 0.0)
    ctx.set_source(shadow)
    ctx.arc(cx, cy + 2.0, r + 3.0, 0, 2 * math.pi)
    ctx.fill()
    # Knurled skirt: a dark ring with fine ridges (fixed, the light does not turn).
    skirt = cairo.LinearGradient(0, cy - r, 0, cy + r)
    skirt.add_color_stop_rgb(0.0, 0.30, 0.30, 0.31)
    skirt.add_color_stop_rgb(1.0, 0.06, 0.06, 0.07)
    ctx.set_source(skirt)
    ctx.arc(cx, cy, r, 0, 2 * math.pi)
    ctx.fill()
    ctx.set_line_width(0.6)
    for ridge in range(48):
        x0, y0 = polar(cx, cy, r * 0.86, ridge * 7.5)
        x1, y1 = polar(cx, cy, r - 0.3, ridge * 7.5)
        ctx.set_source_rgba(1, 1, 1, 0.07 if ridge % 2 else 0.0)
        ctx.move_to(x0, y0)
        ctx.line_to(x1, y1)
        ctx.stroke()
    # Top: a slightly domed cap in the knob's colour, lit from the upper left.
    top_r = r * 0.78
    base = rgb(cap_colour)
    dome = cairo.RadialGradient(cx - top_r * 0.35, cy - top_r * 0.45, top_r * 0.1, cx, cy, top_r)
    dome.add_color_stop_rgb(0.0, *[min(1.0, c * 1.6 + 0.15) for c in base[:3]])
    dome.add_color_stop_rgb(0.7, *base[:3])
    dome.add_color_stop_rgb(1.0, *[c * 0.55 for c in base[:3]])
    ctx.set_source(dome)
    ctx.arc(cx, cy, top_r, 0, 2 * math.pi)
    ctx.fill()
    ctx.set_line_width(0.8)
    ctx.set_source_rgba(0, 0, 0, 0.5)
    ctx.arc(cx, cy, top_r, 0, 2 * math.pi)
    ctx.stroke()
    # Brushed sheen: a soft light band across the top.
    sheen = cairo.LinearGradient(cx - top_r, cy - top_r, cx + top_r, cy + top_r)
    sheen.add_color_stop_rgba(0.0, 1, 1, 1, 0.18)
    sheen.add_color_stop_rgba(0.5, 1, 1, 1, 0.0)
    sheen.add_color_stop_rgba(1.0, 0, 0, 0, 0.15)
    ctx.set_source(sheen)
    ctx.arc(cx, cy, top_r, 0, 2 * math.pi)
    ctx.fill()
    # Pointer: an inlaid line from near the centre to the skirt's edge.
    ctx.set_line_cap(cairo.LINE_CAP_ROUND)
    x0, y0 = polar(cx, cy, r * 0.25, angle)
    x1, y1 = polar(cx, cy, r * 0.95, angle)
    ctx.set_line_width(max(1.6, r * 0.11))
    ctx.set_source_rgba(0, 0, 0, 0.5)
    ctx.move_to(x0 + 0.4, y0 + 0.6)
    ctx.line_to(x1 + 0.4, y1 + 0.6)
    ctx.stroke()
    ctx.set_source_rgba(*rgb(pointer_colour))
    ctx.move_to(x0, y0)
    ctx.line_to(x1, y1)
    ctx.stroke()
    ctx.set_line_cap(cairo.LINE_CAP_BUTT)


def knob_scale(ctx, x, y, g, marks, angle_of, ink, label, label_size=7.5, accent=None):
    """The scale printed on the plate around a knob whose frame has its top-left at (x, y).
    marks: (value, numeral or None); angle_of turns a value into the pointer angle the knob
    shows for it. A numeral-less mark gets a short tick."""
    cx, cy = x + g.cx, y + g.cy
    ctx.set_line_cap(cairo.LINE_CAP_ROUND)
    for value, numeral in marks:
        a = angle_of(value)
        outer = g.tick_outer if numeral is not None else g.tick_outer - 1.2
        x0, y0 = polar(cx, cy, g.tick_inner, a)
        x1, y1 = polar(cx, cy, outer, a)
        ctx.set_line_width(1.1 if numeral is not None else 0.8)
        ctx.set_source_rgba(*ink)
        ctx.move_to(x0, y0)
        ctx.line_to(x1, y1)
        ctx.stroke()
        if numeral is not None:
            nx, ny = polar(cx, cy, g.numeral_radius, a)
            text(ctx, nx, ny + g.numeral_size * 0.36, numeral, g.numeral_size, ink,
                 font=FONT_CONDENSED)
    ctx.set_line_cap(cairo.LINE_CAP_BUTT)
    if accent is not None:
        # The knob's travel as a thin arc just inside the ticks.
        a0, a1 = angle_of(marks[0][0]), angle_of(marks[-1][0])
        ctx.set_line_width(0.8)
        ctx.set_source_rgba(*accent)
        ctx.new_path()
        ctx.arc(cx, cy, g.tick_inner - 0.2, math.radians(a0 - 90), math.radians(a1 - 90))
        ctx.stroke()
    engraved(ctx, cx, y + g.label_y, label, label_size, ink, bold=True, spacing=0.6)


def param_position(value, minimum, maximum, break_points=None, shape=1.0):
    """The normalised position of a plain value under a parameter's mapping: linear between
    break points (position, value) when it has them, else the power shape over the range."""
    if break_points:
        points = sorted(break_points)
        if value <= points[0][1]:
            return points[0][0]
        for (p0, v0), (p1, v1) in zip(points, points[1:]):
            if value <= v1:
                return p0 + (value - v0) * (p1 - p0) / (v1 - v0) if v1 != v0 else p1
        return points[-1][0]
    return ((value - minimum) / (maximum - minimum)) ** (1.0 / shape)


def strip_angle(position):
    """The pointer angle a full-travel knob shows at normalised position: frame i of the strip
    is trunc(60 * position + 0.5), drawn at knob_angle_for_frame(i); the scale uses the exact
    angle so that marks sit between frames where their value does."""
    return KNOB_START_DEG + KNOB_SWEEP_DEG * position


def clamped_strip_angle(position, first, last):
    """The pointer angle of a knob limited to frames first..last (1-based frames as the editor
    counts them: frame = first + trunc((last - 1 - first) * v + 0.5) + 1)."""
    frame_index = first + (last - 1 - first) * position  # 0-based strip index
    return KNOB_START_DEG + KNOB_SWEEP_DEG * frame_index / (KNOB_FRAMES - 1)


# ---- VU meters -----------------------------------------------------------------------------------


class VUGeometry:
    def __init__(self, width, height):
        self.width = width
        self.height = height
        self.pivot_x = width / 2.0
        self.pivot_y = height * 1.02
        self.scale_radius = height * 0.78
        self.needle_inner = height * 0.16
        self.needle_outer = self.scale_radius + 2.0


def vu_angle(frame_index):
    return VU_START_DEG + VU_SWEEP_DEG * frame_index / (VU_FRAMES - 1)


def vu_face(ctx, x, y, g, marks, angle_of, title, red_from=None):
    """The VU window on the plate: bezel, warm face, dB scale and title. marks: (value,
    numeral or None); angle_of turns a value into the needle angle; red_from colours the scale
    from that value up."""
    bezel = 3.0
    recessed_panel(ctx, x - bezel, y - bezel, g.width + 2 * bezel, g.height + 2 * bezel, 4.0,
                   (0.05, 0.05, 0.05, 1.0))
    face = cairo.LinearGradient(x, y, x, y + g.height)
    face.add_color_stop_rgb(0.0, 0.98, 0.93, 0.76)
    face.add_color_stop_rgb(1.0, 0.90, 0.82, 0.60)
    ctx.set_source(face)
    rounded_rect(ctx, x, y, g.width, g.height, 2.5)
    ctx.fill()
    px, py = x + g.pivot_x, y + g.pivot_y
    ink = (0.12, 0.10, 0.08, 1.0)
    red = (0.78, 0.08, 0.06, 1.0)
    # The scale arc, black then red.
    first, last = angle_of(marks[0][0]), angle_of(marks[-1][0])
    split = angle_of(red_from) if red_from is not None else last
    ctx.set_line_width(1.2)
    ctx.set_source_rgba(*ink)
    ctx.new_path()
    ctx.arc(px, py, g.scale_radius, math.radians(first - 90), math.radians(split - 90))
    ctx.stroke()
    if red_from is not None:
        ctx.set_line_width(3.0)
        ctx.set_source_rgba(*red)
        ctx.new_path()
        ctx.arc(px, py, g.scale_radius + 1.0, math.radians(split - 90), math.radians(last - 90))
        ctx.stroke()
    for value, numeral in marks:
        a = angle_of(value)
        colour = red if red_from is not None and value >= red_from else ink
        length = 6.0 if numeral is not None else 3.5
        x0, y0 = polar(px, py, g.scale_radius, a)
        x1, y1 = polar(px, py, g.scale_radius + length, a)
        ctx.set_line_width(1.0)
        ctx.set_source_rgba(*colour)
        ctx.move_to(x0, y0)
        ctx.line_to(x1, y1)
        ctx.stroke()
        if numeral is not None:
            nx, ny = polar(px, py, g.scale_radius + 12.0, a)
            text(ctx, nx, ny + 3.0, numeral, 7.5, colour, font=FONT_CONDENSED)
    text(ctx, px, y + g.height * 0.62, title, 8.0, ink, bold=True, spacing=0.8)
    text(ctx, px, y + g.height * 0.62 + 10.0, "dB", 7.0, ink)


def needle_strip(width, height, scale, colour, frames=VU_FRAMES):
    """The VU needle over a transparent face: frame i points at vu_angle(i)."""
    surface, ctx = new_surface(width, height * frames, scale)
    g = VUGeometry(width, height)
    for frame in range(frames):
        ctx.save()
        ctx.translate(0, frame * height)
        ctx.rectangle(0, 0, width, height)
        ctx.clip()
        a = vu_angle(frame)
        x0, y0 = polar(g.pivot_x, g.pivot_y, g.needle_inner, a)
        x1, y1 = polar(g.pivot_x, g.pivot_y, g.needle_outer, a)
        ctx.set_line_cap(cairo.LINE_CAP_ROUND)
        ctx.set_line_width(1.6)
        ctx.set_source_rgba(0, 0, 0, 0.18)
        ctx.move_to(x0 + 1.5, y0 + 1.0)
        ctx.line_to(x1 + 1.5, y1 + 1.0)
        ctx.stroke()
        ctx.set_line_width(1.3)
        ctx.set_source_rgba(*colour)
        ctx.move_to(x0, y0)
        ctx.line_to(x1, y1)
        ctx.stroke()
        ctx.restore()
    return surface


def vu_pivot_cover(ctx, x, y, g):
    """The dark cover over the needle's pivot at the face's bottom edge (printed on the plate
    below the window's lower edge)."""
    ctx.save()
    ctx.rectangle(x, y, g.width, g.height)
    ctx.clip()
    ctx.arc(x + g.pivot_x, y + g.pivot_y, g.height * 0.2, 0, 2 * math.pi)
    ctx.set_source_rgba(0.10, 0.09, 0.08, 1.0)
    ctx.fill()
    ctx.restore()


# ---- buttons -------------------------------------------------------------------------------------


def button_strip(width, height, scale, lamp_colour):
    """A two-frame push button with a lamp: frame 1 off (dim lens), frame 2 on (lit lens)."""
    surface, ctx = new_surface(width, height * 2, scale)
    base = rgb(lamp_colour)
    for frame, lit in enumerate((False, True)):
        ctx.save()
        ctx.translate(0, frame * height)
        # Bezel.
        rounded_rect(ctx, 0.5, 0.5, width - 1, height - 1, 4.0)
        bezel = cairo.LinearGradient(0, 0, 0, height)
        bezel.add_color_stop_rgb(0.0, 0.55, 0.55, 0.56)
        bezel.add_color_stop_rgb(1.0, 0.16, 0.16, 0.17)
        ctx.set_source(bezel)
        ctx.fill_preserve()
        ctx.set_source_rgba(0, 0, 0, 0.8)
        ctx.set_line_width(1.0)
        ctx.stroke()
        # Lens.
        inset = 3.5
        lw, lh = width - 2 * inset, height - 2 * inset
        rounded_rect(ctx, inset, inset, lw, lh, 2.5)
        lens = cairo.LinearGradient(0, inset, 0, inset + lh)
        if lit:
            lens.add_color_stop_rgb(0.0, *[min(1.0, c * 1.15 + 0.35) for c in base[:3]])
            lens.add_color_stop_rgb(0.55, *base[:3])
            lens.add_color_stop_rgb(1.0, *[c * 0.8 for c in base[:3]])
        else:
            lens.add_color_stop_rgb(0.0, *[c * 0.45 + 0.08 for c in base[:3]])
            lens.add_color_stop_rgb(1.0, *[c * 0.22 for c in base[:3]])
        ctx.set_source(lens)
        ctx.fill()
        if lit:
            glow = cairo.RadialGradient(width / 2.0, height / 2.0, 1.0, width / 2.0,
                                        height / 2.0, lw * 0.6)
            glow.add_color_stop_rgba(0.0, 1, 1, 0.9, 0.55)
            glow.add_color_stop_rgba(1.0, 1, 1, 0.9, 0.0)
            ctx.set_source(glow)
            rounded_rect(ctx, inset, inset, lw, lh, 2.5)
            ctx.fill()
        # Glass highlight.
        rounded_rect(ctx, inset + 1.5, inset + 1.0, lw - 3.0, lh * 0.35, 1.5)
        ctx.set_source_rgba(1, 1, 1, 0.28 if lit else 0.12)
        ctx.fill()
        ctx.restore()
    return surface


def write_png(surface, path):
    surface.flush()
    surface.write_to_png(path)
