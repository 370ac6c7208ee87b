#!/usr/bin/env python3
"""Checks that the artwork does not depend on the fonts a machine has besides the ones it names.

    check_same_bitmaps.py eq|compressor BUILT_FOLDER WORK_FOLDER

BUILT_FOLDER holds the bitmaps the build drew. They are drawn again under a fontconfig setup of
another machine, one whose preferred faces for the DejaVu family names are other fonts, and must
come out the same byte for byte. Then the generator is given other files under the names it asks
for, which must change the lettering (so the comparison sees the fonts at all), and a folder
lacking them, where it must stop and name each missing file and its package.
"""

import filecmp
import os
import shutil
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
GENERATOR = os.path.join(HERE, "gen_artwork.py")
DEJAVU = "/usr/share/fonts/truetype/dejavu"

# Serif and monospaced DejaVu faces posing as the sans faces the lettering is drawn with.
DECOYS = {
    "DecoySans.ttf": ("DejaVuSerif.ttf", "DejaVu Sans"),
    "DecoySans-Bold.ttf": ("DejaVuSerif-Bold.ttf", "DejaVu Sans"),
    "DecoyCondensed.ttf": ("DejaVuSansMono.ttf", "DejaVu Sans Condensed"),
}
NAMED = {"DejaVuSans.ttf": "DejaVuSerif.ttf", "DejaVuSans-Bold.ttf": "DejaVuSerif-Bold.ttf",
         "DejaVuSansCondensed.ttf": "DejaVuSansMono.ttf"}


def other_machine(work):
    """The environment of a machine where fontconfig prefers the decoys for the DejaVu names."""
    fonts = os.path.join(work, "decoy-fonts")
    os.makedirs(fonts)
    rules = []
    for name, (source, family) in DECOYS.items():
        shutil.copyfile(os.path.join(DEJAVU, source), os.path.join(fonts, name))
        rules.append('<match target="scan"><test name="file"><string>%s</string></test>'
                     '<edit name="family" mode="assign_replace"><string>%s</string></edit></match>'
                     % (os.path.join(fonts, name), family))
    config = os.path.join(work, "decoy-fonts.conf")
    with open(config, "w") as out:
        out.write('<?xml version="1.0"?>\n<!DOCTYPE fontconfig SYSTEM "urn:fontconfig:fonts.dtd">\n'
                  "<fontconfig><include ignore_missing=\"yes\">/etc/fonts/fonts.conf</include>"
                  "<dir>%s</dir><cachedir>%s</cachedir>%s"
                  "<alias binding=\"strong\"><family>DejaVu Sans</family><prefer><family>DejaVu Sans"
                  "</family></prefer></alias></fontconfig>\n"
                  % (fonts, os.path.join(work, "decoy-cache"), "".join(rules)))
    env = dict(os.environ, FONTCONFIG_FILE=config)
    env.pop("ORVANE_ARTWORK_FONTS", None)
    return env


def draw(plugin, out, env):
    return subprocess.run([sys.executable, GENERATOR, plugin, out], env=env,
                          capture_output=True, text=True)


def main(argv):
    plugin, built, work = argv[1:4]
    shutil.rmtree(work, ignore_errors=True)
    os.makedirs(work)
    names = sorted(f for f in os.listdir(built) if f.endswith(".png"))
    failures = []

    out = os.path.join(work, "other-machine")
    run = draw(plugin, out, other_machine(work))
    if run.returncode != 0:
        failures.append("drawing under other fonts failed: " + run.stderr)
    else:
        for name in names:
            if not filecmp.cmp(os.path.join(built, name), os.path.join(out, name), shallow=False):
                failures.append("%s differs under another machine's fonts" % name)

    swapped = os.path.join(work, "swapped-fonts")
    os.makedirs(swapped)
    for named, other in NAMED.items():
        shutil.copyfile(os.path.join(DEJAVU, other), os.path.join(swapped, named))
    out = os.path.join(work, "swapped")
    run = draw(plugin, out, dict(os.environ, ORVANE_ARTWORK_FONTS=swapped))
    if run.returncode != 0:
        failures.append("drawing with swapped files failed: " + run.stderr)
    elif filecmp.cmp(os.path.join(built, "background.png"), os.path.join(out, "background.png"),
                     shallow=False):
        failures.append("other files under the named ones left the lettering as it was")

    empty = os.path.join(work, "no-fonts")
    os.makedirs(empty)
    run = draw(plugin, os.path.join(work, "none"), dict(os.environ, ORVANE_ARTWORK_FONTS=empty))
    if run.returncode == 0:
        failures.append("the generator drew without its font files")
    for named, package in (("DejaVuSans.ttf", "fonts-dejavu-core"),
                           ("DejaVuSans-Bold.ttf", "fonts-dejavu-core"),
                           ("DejaVuSansCondensed.ttf", "fonts-dejavu-extra")):
        line = [ln for ln in run.stderr.splitlines() if os.path.join(empty, named) in ln]
        if not line or package not in line[0]:
            failures.append("no message names the missing %s and %s: %r" % (named, package,
                                                                           run.stderr))
    if os.path.exists(os.path.join(work, "none")) and os.listdir(os.path.join(work, "none")):
        failures.append("bitmaps were written without the font files")

    for f in failures:
        print("FAIL:", f)
    if not failures:
        print("the %s bitmaps depend only on their named font files" % plugin)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
